// The parts of the document record that the building calls keep from one
// call to the next: the style item being defined, the words of recent font
// calls, the text box being written, the picture calls' scratch room, the
// open table rows and the words of recent cell definitions. Plain data,
// zero-filled with the record; the calls that use each part live in their
// own folders (format, objects, pictures, tables).
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/stream.h"
#include "platform/platform.h"

namespace dox {

// ---- Style sheet: between the begin and the end of a style item ----------

// The longest style name an item keeps; longer names are cut to it.
constexpr int32_t kMaxStyleName = 300;

struct StyleState {
  char PendingStyleName[kMaxStyleName + 4];  // written when the item ends; NUL-terminated
};

// ---- Character formatting: the words the last font calls composed --------

// A font call's words ("\\f0\\fs22\\b") depend only on its font entry, size,
// style bits and on/off, and documents repeat a few of them over and over:
// the composed words are kept by size, style bits and on/off, with the font
// entry (and the character set it was looked up with).
struct ComposedCharWords {
  int32_t Font;     // font entry, or -1
  int32_t Charset;  // the character set the entry was looked up with
  int32_t Size;
  uint32_t Style;  // the style bits that have words
  int32_t On;      // 0 or 1
  int32_t Length;  // 0: nothing kept
  char Words[48];
};

constexpr int32_t kComposedCharBits = 3;
constexpr int32_t kComposedCharSlots = 1 << kComposedCharBits;

struct CharWordsState {
  ComposedCharWords Slots[kComposedCharSlots];
};

// ---- Text boxes: the begin call writes the box's opening, the end call its
// geometry, line and fill, which only then follow the box's text -----------

// Part of the zero-filled document record; meaningful only while
// STATE_TEXT_BOX is set.
struct TextBoxState {
  int32_t TextBoxX;  // left edge, twips
  int32_t TextBoxY;  // top edge, twips
  int32_t TextBoxWidth;
  int32_t TextBoxHeight;
  uint32_t TextBoxFillColor;   // as the caller gave it: 0x00BBGGRR, high byte ignored
  uint32_t TextBoxLineColor;   // as the caller gave it
  int32_t TextBoxLineWidth;    // twips; 0 or less: no line
  int32_t TextBoxTransparent;  // non-zero: no fill
};

// ---- Pictures: nothing here lives longer than one call --------------------

// Room for the 14-byte bitmap file header and for one piece of a linked
// picture's instruction text (longer instructions are written in pieces).
constexpr int kPictureScratchSize = 264;

struct PictureState {
  char PictureScratch[kPictureScratchSize];
};

// ---- Tables: the open rows, one record per nesting level -------------------

// Rows nest at most this deep, counting the top level (levels 0-18).
constexpr int32_t kMaxTableLevels = 19;

// One cell definition, as DoxNextCellInfo3 takes it.
struct CellDef {
  int32_t width;         // twips
  int32_t valign;        // 1 centre, 2 bottom, anything else top
  int32_t shading;       // percent; written when above 0
  uint32_t bgColor;      // 0xFFFFFF: none
  int32_t borderLeft;    // border widths in twips; none when 0 or less
  int32_t borderRight;
  int32_t borderTop;
  int32_t borderBottom;
  uint32_t borderColor;  // 0: the reader's default
  uint32_t mergeFlags;   // 1/2 horizontal first/continued, 4/8 vertical
  int32_t textFlow;      // 90 bottom to top, 270 top to bottom
};
static_assert(sizeof(CellDef) == 44);

// The cell block holds `n` records in 44 * n + 1 bytes.
constexpr size_t CellBlockBytes(int32_t records) {
  return sizeof(CellDef) * static_cast<size_t>(records) + 1;
}

// The open row at one nesting level. Cleared when its row begins.
struct RowRecord {
  int32_t left;    // twips; also where the cells' right edges start
  int32_t height;  // twips; 0 automatic, negative exact
  uint32_t flags;  // 1 centred, 2 right-aligned
  int32_t header;  // non-zero: repeated at the top of each page
  int32_t padLeft;  // or the half gap between cells
  int32_t padRight;
  int32_t padTop;
  int32_t padBottom;
  int32_t cellDefCount;        // mirrors CellDefCount while the row is current
  CellDef *cellDefs;           // locked cell block; null until the first definition
  int32_t cellDefRoom;         // records the block has room for (eleven more at a time
                               // while the test hooks are off, else one)
  int32_t savedCellTextCount;  // CellTextCount while a nested row is open
  plat::MemHandle cellDefsHandle;
};

// The words of a recent cell definition before its "\\cellx": rows repeat
// their cells' definitions, which only the colour-table indexes they name
// and the definition itself (but its width) decide.
struct ComposedCellWords {
  CellDef Def;          // the width left 0
  int32_t BorderColor;  // the colour-table indexes named, -1 for none
  int32_t Background;
  int32_t Length;  // 0: nothing kept
  char Words[160];      // room to copy in blocks past the words
  WordStarts Starts;  // where the kept words start
};

constexpr int32_t kComposedCellBits = 2;

// Where the definition of a top-level row's cell was written. The next row's
// definition at the same place in its row, alike and starting from the same
// column and right edge, writes the same bytes: it copies them from there.
struct WrittenCellDef {
  CellDef Def;
  uint32_t Row;         // TableState::RowsBegun of its row; 0 for none
  int32_t Column;       // the line's length before the words...
  int32_t ColumnAfter;  // ...and after them
  int32_t Edge;         // CellRightEdge before
  int64_t Start;        // the stream's position (body and line) before the words...
  int64_t End;          // ...and after them
};

constexpr int32_t kWrittenCellDefs = 16;

// The words of the last row definition composed, by its values.
struct ComposedRowWords {
  int32_t Left, Height;
  uint32_t Flags;
  int32_t Header, PadLeft, PadRight, PadTop, PadBottom;
  int32_t Length;  // 0: nothing kept
  char Words[64];
};

struct TableState {
  ComposedRowWords RowWords;
  ComposedCellWords CellWords[1 << kComposedCellBits];
  int32_t LastCellWords;  // the slot of CellWords used last
  WrittenCellDef Written[kWrittenCellDefs];  // the latest of each place in a row
  uint32_t RowsBegun;                        // top-level rows with a definition
  RowRecord Rows[kMaxTableLevels];
  int32_t CellTextCount;  // DoxBeginCellText calls of the current row
  int32_t CellDefCount;   // cell definitions of the current row
  int32_t CellRightEdge;  // right edge of the last cell definition written
};

}  // namespace dox
