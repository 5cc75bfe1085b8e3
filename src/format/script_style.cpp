// Script styles: a group of superscript or subscript text. Closing the group
// brings back the character formatting that held before it.
#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginScriptStyle(DOXDOC handle, int32_t super) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginScriptStyle)) return 0;
  OutputStream *s = doc->Stream;
  doc->StateBits |= STATE_SCRIPT_STYLE;
  return OpenGroup(doc, s) && PutWordNamed(doc, s, super ? "super" : "sub");
}

DOXEXPORT int32_t DOXAPI DoxEndScriptStyle(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndScriptStyle)) return 0;
  CloseGroup(doc, doc->Stream);  // the bracket ends even when the brace is lost
  doc->StateBits &= ~STATE_SCRIPT_STYLE;
  return 1;
}

}  // extern "C"
