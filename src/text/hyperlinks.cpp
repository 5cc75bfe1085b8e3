// Hyperlinks: a HYPERLINK field to a URL or to a bookmark of the document,
// whose result shows the link's text in the current character formatting.
#include <cstring>

#include "core/errors.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "text/utf8_text.h"

using namespace dox;

extern "C" {

// {\field{\*\fldinst HYPERLINK "target"}{\fldrslt text}}, with "\\l " before
// the quoted target of a bookmark (the field switch \l, its backslash escaped).
DOXEXPORT int32_t DOXAPI DoxInsertHyperlink(DOXDOC handle, const char *target, const char *text,
                                            int32_t toBookmark) {
  Document *doc = FromHandle(handle);
  if (!doc || !target || !*target) return 0;
  const char *caption = "DoxInsertHyperlink";
  if (!text || !*text) text = target;
  size_t targetLength = std::strlen(target), textLength = std::strlen(text);
  if (!IsUtf8(target, targetLength) || !IsUtf8(text, textLength))
    return ReportError(doc, DOX_ERR_BAD_UTF8, caption);
  if (!EnsureTextPosition(doc, rules::Text(caption))) return 0;
  OutputStream *s = doc->Stream;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "field") || !OpenGroup(doc, s) ||
      !PutWord(doc, s, "*") || !PutWord(doc, s, "fldinst") ||
      !PutText(doc, s, toBookmark ? "HYPERLINK \\l \"" : "HYPERLINK \"") ||
      !PutUtf8Text(doc, s, target, targetLength, Utf8Mode::Instruction) ||
      !PutText(doc, s, "\"") || !CloseGroup(doc, s) || !OpenGroup(doc, s) ||
      !PutWord(doc, s, "fldrslt") || !PutUtf8Text(doc, s, text, textLength, Utf8Mode::Text))
    return 0;
  doc->AtParaStart = 0;
  return CloseGroup(doc, s) && CloseGroup(doc, s);
}

}  // extern "C"
