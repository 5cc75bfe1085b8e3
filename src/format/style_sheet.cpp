// The style sheet: a "\stylesheet" group of style items, each defined by the
// ordinary formatting calls made between its begin and its end. Every piece
// starts a line of its own.
#include "core/document.h"
#include "core/sequence_rules.h"
#include "format/reader_format.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginStyleSheet(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  // Refused once the section text has begun (34), while a sheet is open (37)
  // or inside a header/footer (46), the later one deciding.
  if (!CheckCallSequence(doc, "DoxBeginStyleSheet", STATE_STYLE_SHEET, 0,
                         STATE_SECT_TEXT | STATE_HDR_FTR))
    return 0;
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s)) return 0;
  int32_t ok = OpenGroup(doc, s) && PutWord(doc, s, "stylesheet");
  doc->StateBits |= STATE_STYLE_SHEET;
  return ok;
}

DOXEXPORT int32_t DOXAPI DoxBeginStyleItem(DOXDOC handle, int32_t paraStyle, int32_t styleId,
                                           const char *name) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginStyleItem)) return 0;
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s)) return 0;
  int32_t ok = OpenGroup(doc, s);
  if (ok && styleId != 0) ok = PutWordValue(doc, s, paraStyle ? "s" : "cs", styleId);
  BeginStyleRecord(doc, paraStyle, styleId);
  char *kept = doc->Style.PendingStyleName;
  int32_t n = 0;
  while (name && n < kMaxStyleName && name[n]) {
    kept[n] = name[n];
    ++n;
  }
  kept[n] = '\0';
  doc->StateBits |= STATE_STYLE_ITEM;
  return ok;
}

DOXEXPORT int32_t DOXAPI DoxEndStyleItem(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndStyleItem)) return 0;
  OutputStream *s = doc->Stream;
  if (!EndStyleRecord(doc, doc->Style.PendingStyleName) ||
      !PutText(doc, s, doc->Style.PendingStyleName) || !PutRtfChar(doc, s, ';') ||
      !CloseGroup(doc, s) || !FlushRtfLine(doc, s))
    return 0;
  doc->StateBits &= ~STATE_STYLE_ITEM;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxEndStyleSheet(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndStyleSheet)) return 0;
  OutputStream *s = doc->Stream;
  if (!CloseGroup(doc, s) || !FlushRtfLine(doc, s)) return 0;
  doc->StateBits &= ~STATE_STYLE_SHEET;
  return 1;
}

}  // extern "C"
