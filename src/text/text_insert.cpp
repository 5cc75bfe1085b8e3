// Running text: ANSI bytes through the stream's escaping, UTF-16 units as
// Unicode escapes with a one-character fallback.
#include <cstring>

#include "core/document.h"
#include "core/sequence_rules.h"
#include "text/unicode_line_ends.h"
#include "dox.h"

using namespace dox;

namespace {

int32_t InsertText(Document *doc, const char *text) {
  if (!text) {
    doc->AtParaStart = 0;
    return 1;
  }
  return PutRtfTextToNul(doc, doc->Stream, text);
}

// After the call-order check's slow path; out of line, so that the usual
// call goes on to the text in a tail call.
__attribute__((noinline)) int32_t InsertTextSlowly(Document *doc, const char *text) {
  return EnsureTextPositionSlowly(doc, rules::InsertText) ? InsertText(doc, text) : 0;
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInsertText(DOXDOC handle, const char *text) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return AllowedNow(doc, rules::InsertText) ? InsertText(doc, text) : InsertTextSlowly(doc, text);
}

DOXEXPORT int32_t DOXAPI DoxInsertUText(DOXDOC handle, const uint16_t *text) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::InsertUText)) return 0;
  size_t n = 0;
  if (text)
    while (text[n]) ++n;
  doc->AtParaStart = n >= 2 && text[n - 2] == 13 && text[n - 1] == 10;
  OutputStream *s = doc->Stream;
  for (size_t i = 0; i < n; ++i) {
    if (UnicodeUnitAsAnsi(doc, text[i])) {
      const char byte = static_cast<char>(text[i]);
      if (!PutRtfText(doc, s, &byte, 1)) return 0;
    } else if (!PutUnicodeUnit(doc, s, text[i])) {
      return 0;
    }
  }
  return 1;
}

}  // extern "C"
