// The caller's own RTF: groups, control words and raw text. No sequence
// check; the caller is responsible for the structure it writes. A null
// document writes nothing and returns 0.
#include <cstring>

#include "core/document.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginGroup(DOXDOC handle, const char *word, int32_t starred) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s) || !OpenGroup(doc, s)) return 0;
  if (starred && !PutWord(doc, s, "*")) return 0;
  if (word && *word && !PutWordNamed(doc, s, word)) return 0;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxEndGroup(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  OutputStream *s = doc->Stream;
  if (!CloseGroup(doc, s)) return 0;
  return FlushRtfLine(doc, s);
}

DOXEXPORT int32_t DOXAPI DoxInsertControl(DOXDOC handle, const char *word, int32_t hasValue,
                                          int32_t value) {
  Document *doc = FromHandle(handle);
  // Without a word nothing is written. An empty word writes the backslash
  // (and the value) as any word: alone it escapes whatever follows it.
  if (!doc || !word) return 0;
  return PutControlWord(doc, doc->Stream, word, hasValue ? 1 : 0, value);
}

DOXEXPORT int32_t DOXAPI DoxInsertRaw(DOXDOC handle, const char *text) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s)) return 0;
  size_t n = text ? std::strlen(text) : 0;
  if (n == 0) return 1;
  if (!s->Body) return 0;  // lost when it could not grow earlier
  int64_t needed = static_cast<int64_t>(s->BodyLength) + static_cast<int64_t>(n);
  if (needed > s->BodyCapacity && !GrowBody(doc, s, needed, "DoxInsertRaw")) return 0;
  std::memcpy(s->Body + s->BodyLength, text, n);
  s->BodyLength += static_cast<int32_t>(n);
  LineAfterBody(s);
  return 1;
}

}  // extern "C"
