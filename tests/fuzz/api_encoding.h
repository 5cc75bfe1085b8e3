// The byte language of the whole-interface fuzz target: a sequence of calls,
// each an operation byte followed by its arguments. Shared by the target
// (which decodes) and the seed generator (which encodes).
//
//   operation  one byte, taken modulo kOpCount
//   integer    one byte: below 0x80 an entry of kInts; 0x80-0xBF the small
//              number byte - 0xA0 (-32 to 31); from 0xC0 four bytes follow,
//              little-endian
//   string     one byte: 0 null, 1 empty, 2 a long text (a byte choosing its
//              length from kLongLengths and a byte to repeat), 3 a long text
//              of the characters RTF escapes (a length byte as before), from 4
//              on that many bytes minus 4 follow
//   UTF-16     one byte: 0 null, 1 empty, from 2 on that many units minus 2
//              follow (two bytes each, little-endian)
//   choice     one byte, taken modulo the number of choices
//
// A missing byte reads as 0, so every byte string is a valid call sequence.
#pragma once

#include <climits>
#include <cstdint>
#include <string>

namespace doxfuzz {

enum Op : uint8_t {
  // Documents and the library.
  kOpNewDoc, kOpSwitchDoc, kOpNullDocNext, kOpSetFlags, kOpGetData, kOpSaveFile,
  kOpGetLastMessage, kOpResetLastMessage, kOpWep, kOpSetMessageSink, kOpEnumFont,
  kOpFailAllocation,
  // Handles and strings.
  kOpStrToHandle, kOpStrToHandleInChunks, kOpHandleToStr, kOpHandleToStrInChunks,
  kOpMakeMbcs, kOpMemAlloc, kOpMemLock, kOpMemUnlock, kOpMemSize, kOpMemFree,
  // Raw RTF, sections and text.
  kOpInsertRaw, kOpBeginGroup, kOpEndGroup, kOpInsertControl, kOpInitSect,
  kOpBeginSectText, kOpPaper, kOpMargin, kOpSectInfo, kOpInsertBreak, kOpBeginHdrFtr,
  kOpEndHdrFtr, kOpInsertText, kOpInsertUText, kOpInsertBookmark, kOpInsertFootnote,
  kOpInsertPageField, kOpInsertMergeField, kOpInsertTocField,
  // Formatting.
  kOpResetTextProp, kOpTextFont, kOpTextFont2, kOpCharStyleId, kOpTextColor,
  kOpBeginScriptStyle, kOpEndScriptStyle, kOpResetParaProp, kOpParaFlags, kOpParaIndent,
  kOpParaSpace, kOpParaShadeColor, kOpParaStyleId, kOpParaTabStop, kOpParaBullet,
  kOpBeginStyleSheet, kOpBeginStyleItem, kOpEndStyleItem, kOpEndStyleSheet,
  // Tables.
  kOpBeginTableRow, kOpBeginTableRow2, kOpNextCellInfo, kOpNextCellInfo2, kOpNextCellInfo3,
  kOpBeginCellText, kOpEndCellText, kOpEndTableRow,
  // Objects.
  kOpBeginFrame, kOpEndFrame, kOpBeginTextBox, kOpBeginTextBox2, kOpEndTextBox,
  kOpDrawRect, kOpDrawLine,
  // Pictures.
  kOpInsertPictFile, kOpPastePicture, kOpClipboardSetData, kOpClipboardEmpty,
  kOpMetaFileFromBits, kOpDeleteMetaFile, kOpEnhMetaFileFromBits, kOpDeleteEnhMetaFile,
  kOpWritePictureFile,
  kOpCount
};

// The operations' names, for traces.
inline constexpr const char *kOpNames[] = {
    "NewDoc", "SwitchDoc", "NullDocNext", "SetFlags", "GetData", "SaveFile", "GetLastMessage",
    "ResetLastMessage", "Wep", "SetMessageSink", "EnumFont", "FailAllocation", "StrToHandle",
    "StrToHandleInChunks", "HandleToStr", "HandleToStrInChunks", "MakeMbcs", "MemAlloc",
    "MemLock", "MemUnlock", "MemSize", "MemFree", "InsertRaw", "BeginGroup", "EndGroup",
    "InsertControl", "InitSect", "BeginSectText", "Paper", "Margin", "SectInfo", "InsertBreak",
    "BeginHdrFtr", "EndHdrFtr", "InsertText", "InsertUText", "InsertBookmark", "InsertFootnote",
    "InsertPageField", "InsertMergeField", "InsertTocField", "ResetTextProp", "TextFont",
    "TextFont2", "CharStyleId", "TextColor", "BeginScriptStyle", "EndScriptStyle",
    "ResetParaProp", "ParaFlags", "ParaIndent", "ParaSpace", "ParaShadeColor", "ParaStyleId",
    "ParaTabStop", "ParaBullet", "BeginStyleSheet", "BeginStyleItem", "EndStyleItem",
    "EndStyleSheet", "BeginTableRow", "BeginTableRow2", "NextCellInfo", "NextCellInfo2",
    "NextCellInfo3", "BeginCellText", "EndCellText", "EndTableRow", "BeginFrame", "EndFrame",
    "BeginTextBox", "BeginTextBox2", "EndTextBox", "DrawRect", "DrawLine", "InsertPictFile",
    "PastePicture", "ClipboardSetData", "ClipboardEmpty", "MetaFileFromBits", "DeleteMetaFile",
    "EnhMetaFileFromBits", "DeleteEnhMetaFile", "WritePictureFile",
};
static_assert(sizeof kOpNames / sizeof kOpNames[0] == kOpCount);

// The integers one byte below 0x80 names: the limits and the values the
// library treats specially.
inline constexpr int32_t kInts[] = {
    0,      1,        -1,       2,       3,        4,        5,       6,        7,
    8,      9,        10,       12,      13,       14,       15,      16,       18,
    19,     20,       24,       32,      90,       100,      101,     180,      270,
    300,    360,      720,      1440,    2540,     32767,    32768,   65535,    65536,
    0xF0,   0xFFFFFF, 0x1000000, 0x4000, 0x10000,  0x20000,  0x3FFFF, -2,       -100,
    -1440,  -32768,   INT32_MAX, INT32_MIN, INT32_MAX - 1, INT32_MIN + 1, 0x7FFF0000, -0x7FFF0000,
    0x9AC6CDD7 - 0x100000000LL, 0x464D4520, 0x4D42,
};
inline constexpr int kIntCount = sizeof kInts / sizeof kInts[0];

// Lengths of the long texts: around the 99-character caption, the
// 128-character file name, the 264-byte scratch text, the 300-character line
// and style name, and beyond.
inline constexpr int32_t kLongLengths[] = {31,  32,  99,  100, 127, 128,  129, 263,
                                           264, 265, 299, 300, 301, 1000, 4100};
inline constexpr int kLongLengthCount = sizeof kLongLengths / sizeof kLongLengths[0];

// Builds byte strings of this language (for seeds and regression inputs).
class Encoder {
 public:
  Encoder &Call(Op op) {
    bytes_ += static_cast<char>(op);
    return *this;
  }
  Encoder &Int(int64_t v) {
    for (int i = 0; i < kIntCount; ++i)
      if (kInts[i] == v) return Byte(static_cast<uint8_t>(i));
    if (v >= -32 && v <= 31) return Byte(static_cast<uint8_t>(v + 0xA0));
    Byte(0xC0);
    for (int i = 0; i < 4; ++i) Byte(static_cast<uint8_t>(static_cast<uint64_t>(v) >> (8 * i)));
    return *this;
  }
  Encoder &Str(const std::string &s) {  // up to 251 bytes
    Byte(static_cast<uint8_t>(s.size() + 4));
    bytes_ += s;
    return *this;
  }
  Encoder &Null() { return Byte(0); }
  Encoder &Long(int lengthIndex, char fill) {
    Byte(2);
    Byte(static_cast<uint8_t>(lengthIndex));
    return Byte(static_cast<uint8_t>(fill));
  }
  Encoder &Wide(const std::u16string &s) {
    Byte(static_cast<uint8_t>(s.size() + 2));
    for (char16_t u : s) {
      Byte(static_cast<uint8_t>(u & 0xFF));
      Byte(static_cast<uint8_t>(u >> 8));
    }
    return *this;
  }
  Encoder &Choice(uint8_t c) { return Byte(c); }
  Encoder &Byte(uint8_t b) {
    bytes_ += static_cast<char>(b);
    return *this;
  }
  const std::string &bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

}  // namespace doxfuzz
