// The condition of every building export that tests its position with
// EnsureTextPosition. Exports sharing a caption share a rule.
#pragma once

#include "core/sequence.h"

namespace dox::rules {

constexpr uint32_t kSectText = STATE_SECT_TEXT;
constexpr uint32_t kHdrFtr = STATE_HDR_FTR;
constexpr uint32_t kCellText = STATE_CELL_TEXT;
constexpr uint32_t kStyleItem = STATE_STYLE_ITEM;

// Formatting: section text, a style item, a header/footer or cell text.
constexpr uint32_t kFormatPlaces = kSectText | kStyleItem | kHdrFtr | kCellText;
// Text: section text, a header/footer or cell text.
constexpr uint32_t kTextPlaces = kSectText | kHdrFtr | kCellText;

constexpr SequenceRule Format(const char *caption) {
  return {caption, kFormatPlaces, 0, AutoOpen::SectionText, kFormatPlaces, nullptr};
}
constexpr SequenceRule FontOrScript(const char *caption) {
  return {caption, kFormatPlaces, STATE_SCRIPT_STYLE, AutoOpen::SectionText, kFormatPlaces,
          nullptr};
}
constexpr SequenceRule Text(const char *caption) {
  return {caption, kTextPlaces, 0, AutoOpen::SectionText, kTextPlaces, nullptr};
}
constexpr SequenceRule Positioned(const char *caption) {
  return {caption, kSectText | kHdrFtr, STATE_TABLE_ROW | STATE_FRAME | STATE_TEXT_BOX,
          AutoOpen::SectionText, kSectText | kHdrFtr, nullptr};
}
constexpr SequenceRule Closing(const char *caption, uint32_t bracket, uint32_t noneOf = 0) {
  return {caption, bracket, noneOf, AutoOpen::None, bracket, nullptr};
}

// Character and paragraph formatting, tabs, bullets, pictures.
inline constexpr SequenceRule ResetTextProp = Format("DoxResetTextProp");
inline constexpr SequenceRule ResetParaProp = Format("DoxResetParaProp");
inline constexpr SequenceRule CharStyleId = Format("DoxCharStyleId");
inline constexpr SequenceRule ParaFlags = Format("DoxParaFlags");
inline constexpr SequenceRule ParaIndent = Format("DoxParaIndent");
inline constexpr SequenceRule ParaSpace = Format("DoxParaSpace");
inline constexpr SequenceRule ParaShadeColor = Format("DoxParaShadeColor");
inline constexpr SequenceRule ParaBullet = Format("DoxParaBullet");
inline constexpr SequenceRule ParaTabStop = Format("DoxParaTabStop");
inline constexpr SequenceRule ParaStyleId = Format("DoxParaStyleId");
inline constexpr SequenceRule TextColor = Format("DoxTextColor");
inline constexpr SequenceRule InsertPictFile = Format("DoxInsertPictFile");
inline constexpr SequenceRule PastePicture = Format("DoxPastePicture");
inline constexpr SequenceRule TextFont = FontOrScript("DoxTextFont");
inline constexpr SequenceRule BeginScriptStyle = FontOrScript("DoxBeginScriptStyle");

// Text, bookmarks, footnotes, fields.
inline constexpr SequenceRule InsertText = Text("DoxInsertText");
inline constexpr SequenceRule InsertUText = Text("DoxInsertUText");
inline constexpr SequenceRule InsertBookmark = Text("DoxInsertBookmark");
inline constexpr SequenceRule InsertFootnote = Text("DoxInsertFootnote");
inline constexpr SequenceRule InsertPageField = Text("DoxInsertPageField");
inline constexpr SequenceRule InsertMergeField = Text("DoxInsertMergeField");
inline constexpr SequenceRule InsertTocField = Text("DoxInsertTocField");

// Positioned objects and tables.
inline constexpr SequenceRule BeginFrame = Positioned("DoxBeginFrame");
inline constexpr SequenceRule DrawRect = Positioned("DoxDrawRect");
inline constexpr SequenceRule DrawLine = Positioned("DoxDrawLine");
inline constexpr SequenceRule BeginTextBox = {"DoxBeginTextBox", kSectText | kHdrFtr,
                                               STATE_TABLE_ROW | STATE_TEXT_BOX,
                                               AutoOpen::SectionText, kSectText | kHdrFtr,
                                               nullptr};
inline constexpr SequenceRule BeginTableRow = {
    "DoxBeginTableRow", kSectText | STATE_FRAME | kHdrFtr, 0, AutoOpen::SectionText,
    kSectText | kHdrFtr | STATE_FRAME, nullptr};

// Sections and headers/footers.
inline constexpr SequenceRule InsertBreak = {"DoxInsertBreak", kSectText,
                                              STATE_TABLE_ROW | STATE_FRAME | STATE_TEXT_BOX,
                                              AutoOpen::SectionText, kSectText, nullptr};
inline constexpr SequenceRule SectInfo = {"DoxSectInfo", STATE_SECT_INIT, kHdrFtr,
                                           AutoOpen::Section, STATE_SECT_INIT, nullptr};
inline constexpr SequenceRule BeginHdrFtr = {"DoxBeginHdrFtr", STATE_SECT_INIT,
                                              kSectText | kHdrFtr, AutoOpen::Section,
                                              STATE_SECT_INIT, nullptr};

// Closing calls and calls inside an open bracket.
inline constexpr SequenceRule EndHdrFtr = Closing("DoxEndHdrFtr", kHdrFtr);
inline constexpr SequenceRule EndFrame =
    Closing("DoxEndFrame", STATE_FRAME, STATE_TABLE_ROW | STATE_TEXT_BOX);
inline constexpr SequenceRule EndTextBox = Closing("DoxEndTextBox", STATE_TEXT_BOX, STATE_TABLE_ROW);
inline constexpr SequenceRule BeginCellText =
    Closing("DoxBeginCellText", STATE_TABLE_ROW, kCellText);
inline constexpr SequenceRule EndTableRow = Closing("DoxEndTableRow", STATE_TABLE_ROW, kCellText);
inline constexpr SequenceRule EndCellText = Closing("DoxEndCellText", kCellText);
inline constexpr SequenceRule BeginStyleItem =
    Closing("DoxBeginStyleItem", STATE_STYLE_SHEET, kStyleItem);
inline constexpr SequenceRule EndStyleSheet =
    Closing("DoxEndStyleSheet", STATE_STYLE_SHEET, kStyleItem);
inline constexpr SequenceRule EndStyleItem = Closing("DoxEndStyleItem", kStyleItem);
inline constexpr SequenceRule EndScriptStyle = Closing("DoxEndScriptStyle", STATE_SCRIPT_STYLE);
// DoxNextCellInfo also needs that no cell text of the row has begun yet.
inline bool NoCellTextBegun(const Document *doc) { return doc->Tables.CellTextCount == 0; }
inline constexpr SequenceRule NextCellInfo = {"DoxNextCellInfo", STATE_TABLE_ROW, kCellText,
                                              AutoOpen::None, STATE_TABLE_ROW,
                                              &NoCellTextBegun};

}  // namespace dox::rules
