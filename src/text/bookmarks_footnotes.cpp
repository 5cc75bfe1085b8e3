// Bookmarks and footnotes: each call writes one self-contained group at the
// current text position.
#include <cstring>

#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

namespace {

// "{\super" and the mark, or "\chftn" for an automatic number, then "}".
// The writes of the mark's characters are not checked.
int32_t PutSuperMark(Document *doc, OutputStream *s, const char *mark, size_t length) {
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "super")) return 0;
  if (mark)
    PutRtfText(doc, s, mark, static_cast<int32_t>(length));
  else if (!PutWord(doc, s, "chftn"))
    return 0;
  return CloseGroup(doc, s);
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInsertBookmark(DOXDOC handle, const char *name, int32_t start) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::InsertBookmark)) return 0;
  OutputStream *s = doc->Stream;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "*") ||
      !PutWordNamed(doc, s, start ? "bkmkstart" : "bkmkend"))
    return 0;
  PutText(doc, s, name);
  return CloseGroup(doc, s);
}

DOXEXPORT int32_t DOXAPI DoxInsertFootnote(DOXDOC handle, const char *mark, const char *text) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  if (mark && !*mark) mark = nullptr;  // an empty mark numbers automatically
  if (!EnsureTextPosition(doc, rules::InsertFootnote)) return 0;
  OutputStream *s = doc->Stream;
  size_t markLength = mark ? std::strlen(mark) : 0;
  // The reference in the text shows the mark's first byte before the
  // footnote destination and the rest after it; the footnote itself begins
  // with the whole mark.
  if (!OpenGroup(doc, s) || !PutSuperMark(doc, s, mark, mark ? 1 : 0)) return 0;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "footnote") ||
      !PutSuperMark(doc, s, mark, markLength))
    return 0;
  PutText(doc, s, text);
  if (!CloseGroup(doc, s)) return 0;
  if (markLength > 1 && !PutSuperMark(doc, s, mark + 1, markLength - 1)) return 0;
  return CloseGroup(doc, s);
}

}  // extern "C"
