// The record behind a document handle.
#pragma once

#include <cstdint>

#include "core/document_parts.h"
#include "core/font_color_table.h"
#include "core/reader_state.h"
#include "core/stream.h"
#include "platform/handle_table.h"
#include "platform/platform.h"

struct DoxDocumentTag;

namespace dox {

// StateBits: the open begin/end brackets of a document.
constexpr uint32_t STATE_SECT_TEXT = 1;
constexpr uint32_t STATE_STYLE_ITEM = 2;
constexpr uint32_t STATE_STYLE_SHEET = 4;
constexpr uint32_t STATE_TABLE_ROW = 8;
constexpr uint32_t STATE_FRAME = 16;
constexpr uint32_t STATE_SECT_INIT = 32;
constexpr uint32_t STATE_TEXT_BOX = 64;
constexpr uint32_t STATE_HDR_FTR = 128;
constexpr uint32_t STATE_CELL_TEXT = 0x100;
constexpr uint32_t STATE_BOX_SHOWN = 0x200;  // a message box was shown for the document
constexpr uint32_t STATE_SCRIPT_STYLE = 0x800;

// Lives in one locked movable block, zero-filled at creation, so every member
// must be valid when all its bytes are zero.
struct Document {
  ColorEntry *Colors;
  int32_t ColorCount;
  int32_t ColorCapacity;
  FontEntry *Fonts;
  int32_t FontCount;
  int32_t FontCapacity;
  OutputStream *Stream;
  int32_t BorderSpacing;  // twips between a paragraph border and the text in frames
  TextBoxState TextBox;
  int32_t TableLevel;  // innermost open table row, -1 when none
  TableState Tables;
  int32_t EnumFontIndex;  // the font entry the enumeration callback fills
  int32_t LastFont;         // 1 + the entry the last font lookup found (0: none)
  int32_t LastFontCharset;  // the character set that lookup asked for
  int32_t PrevFont;         // the same for the entry found before it (fonts alternate)
  int32_t PrevFontCharset;
  PictureState Picture;
  uint32_t DocFlags;
  uint32_t StateBits;
  int32_t ScreenDpiX;
  int32_t ScreenDpiY;
  int32_t AtParaStart;  // 1 while the output stands at the start of a paragraph
  StyleState Style;
  CharWordsState CharWords;
  ReaderState Reader;  // reader-friendly mode only

  // The blocks the document owns.
  plat::MemHandle SelfHandle;
  plat::MemHandle StreamHandle;
  plat::MemHandle ColorsHandle;
  plat::MemHandle FontsHandle;

  DoxDocumentTag *Handle;  // the caller's handle of the document
};

// The handles of the documents made by DoxNewDoc and not ended yet.
extern constinit plat::HandleTable g_documents;

// The document of a handle; null for 0, a handle already ended and any value
// DoxNewDoc did not return. Takes no lock.
inline Document *FromHandle(DoxDocumentTag *h) {
  return static_cast<Document *>(g_documents.Find<plat::kHandleDocument>(h));
}
inline DoxDocumentTag *ToHandle(const Document *d) { return d->Handle; }

}  // namespace dox
