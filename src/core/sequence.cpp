#include "core/sequence.h"

#include <cstring>

#include "core/errors.h"
#include "core/library_state.h"
#include "core/reader_sections.h"

namespace dox {
namespace {

bool Passes(uint32_t bits, uint32_t already, uint32_t required, uint32_t forbidden) {
  return (required == 0 || (bits & required)) && (bits & forbidden) == 0 &&
         (bits & already) == 0;
}

// One bracket's line in the text of code 48.
struct Bracket {
  uint32_t bit;
  const char *line;
};

constexpr Bracket kMessageOrder[] = {
    {STATE_SECT_TEXT, "DoxBeginSectText()     Begin Section Text,\n"},
    {STATE_SECT_INIT, "DoxInitSect()          Initialize Section,\n"},
    {STATE_HDR_FTR, "DoxBeginHdrFtr()       Begin Header/Footer,\n"},
    {STATE_STYLE_ITEM, "DoxBeginStyleItem()    Begin Stylesheet Item,\n"},
    {STATE_STYLE_SHEET, "DoxBeginStylesheet()   Begin Stylesheet Group,\n"},
    {STATE_TABLE_ROW, "DoxBeginTableRow()     Begin a Table Row,\n"},
    {STATE_FRAME, "DoxBeginFrame()        Begin Frame,\n"},
    {STATE_TEXT_BOX, "DoxBeginTextBox()      Begin Text Box,\n"},
    {STATE_CELL_TEXT, "DoxBeginCellText()    Begin Cell Text,\n"},
    {STATE_SCRIPT_STYLE, "DoxBeginScriptStyle()  Begin Script Style Text,\n"},
};

struct BracketCodes {
  uint32_t bit;
  int32_t notAllowed;  // the bracket is forbidden and open
  int32_t already;     // this call would open it and it is open
};

// In increasing precedence: a later match replaces an earlier one.
constexpr BracketCodes kCodeOrder[] = {
    {STATE_SECT_TEXT, DOX_ERR_IN_SECT_TEXT, DOX_ERR_SECT_TEXT_OPEN},
    {STATE_STYLE_ITEM, DOX_ERR_IN_STYLE_ITEM, DOX_ERR_STYLE_ITEM_OPEN},
    {STATE_STYLE_SHEET, DOX_ERR_IN_STYLE_SHEET, DOX_ERR_STYLE_SHEET_OPEN},
    {STATE_TABLE_ROW, DOX_ERR_IN_TABLE_ROW, DOX_ERR_TABLE_ROW_OPEN},
    {STATE_FRAME, DOX_ERR_IN_FRAME, DOX_ERR_FRAME_OPEN},
    {STATE_TEXT_BOX, DOX_ERR_IN_TEXT_BOX, DOX_ERR_TEXT_BOX_OPEN},
    {STATE_SECT_INIT, DOX_ERR_IN_SECT_INIT, DOX_ERR_SECT_INIT_OPEN},
    {STATE_HDR_FTR, DOX_ERR_IN_HDR_FTR, DOX_ERR_HDR_FTR_OPEN},
    {STATE_CELL_TEXT, DOX_ERR_IN_CELL_TEXT, DOX_ERR_CELL_TEXT_OPEN},
    {STATE_SCRIPT_STYLE, DOX_ERR_IN_SCRIPT_STYLE, DOX_ERR_SCRIPT_STYLE_OPEN},
};

int32_t RefusalCode(uint32_t bits, uint32_t already, uint32_t forbidden) {
  int32_t code = DOX_ERR_INVALID_SEQUENCE;
  for (const BracketCodes &b : kCodeOrder) {
    if (!(bits & b.bit)) continue;
    if (forbidden & b.bit) code = b.notAllowed;
    if (already & b.bit) {
      code = b.already;
      if (b.bit == STATE_SCRIPT_STYLE) break;
    }
  }
  return code;
}

int32_t ReportComposed(Document *doc, uint32_t brackets, const char *caption) {
  char text[kComposedMessageSize];
  ComposeSequenceMessage(brackets, text);
  return ReportComposedError(doc, text, caption);
}

}  // namespace

void ComposeSequenceMessage(uint32_t brackets) {
  char text[kComposedMessageSize];
  ComposeSequenceMessage(brackets, text);
  SetComposedMessage(text);
}

void ComposeSequenceMessage(uint32_t brackets, char *out) {
  std::strcpy(out,
              "This function is valid only if one of the following function(s) has been "
              "already called:\n\n");
  for (const Bracket &b : kMessageOrder)
    if (brackets & b.bit) std::strcat(out, b.line);
  size_t n = std::strlen(out);
  if (brackets) n -= 2;  // the last line's comma and line feed
  out[n] = '.';
  out[n + 1] = '\0';
}

int32_t CheckCallSequence(Document *doc, const char *caption, uint32_t alreadyMask,
                          uint32_t requiredMask, uint32_t forbiddenMask) {
  if (Passes(doc->StateBits, alreadyMask, requiredMask, forbiddenMask)) return 1;
  if (requiredMask & STATE_SECT_INIT) OpenSection(doc);
  if (requiredMask & STATE_SECT_TEXT) OpenSectionText(doc);
  if (Passes(doc->StateBits, alreadyMask, requiredMask, forbiddenMask)) return 1;
  if (requiredMask) return ReportComposed(doc, requiredMask, caption);
  return ReportError(doc, RefusalCode(doc->StateBits, alreadyMask, forbiddenMask), caption);
}

int32_t OpenSection(Document *doc) {
  if (!CheckCallSequence(doc, "DoxInitSect", STATE_SECT_INIT, 0,
                         STATE_SECT_TEXT | STATE_STYLE_SHEET))
    return 0;
  doc->StateBits |= STATE_SECT_INIT;
  return PutWord(doc, doc->Stream, "sectd") && RepeatPageDistances(doc);
}

int32_t OpenSectionText(Document *doc) {
  if (!CheckCallSequence(doc, "DoxBeginSectText", STATE_SECT_TEXT, STATE_SECT_INIT,
                         STATE_HDR_FTR))
    return 0;
  if (doc->StateBits & (STATE_STYLE_ITEM | STATE_STYLE_SHEET))
    return ReportError(doc, DOX_ERR_INVALID_SEQUENCE, "DoxBeginSectText");
  doc->StateBits = (doc->StateBits & ~STATE_SECT_INIT) | STATE_SECT_TEXT;
  return 1;
}

int32_t EnsureTextPositionSlowly(Document *doc, const SequenceRule &rule) {
  auto holds = [&] {
    return (doc->StateBits & rule.anyOf) && !(doc->StateBits & rule.noneOf) &&
           (!rule.extra || rule.extra(doc));
  };
  if (holds()) return 1;
  if (rule.opening == AutoOpen::SectionText)
    OpenSectionText(doc);
  else if (rule.opening == AutoOpen::Section)
    OpenSection(doc);
  if (holds()) return 1;
  return ReportComposed(doc, rule.listed, rule.caption);
}

}  // namespace dox
