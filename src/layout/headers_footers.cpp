// Headers and footers: a destination group of the section's properties,
// opened by DoxBeginHdrFtr and closed by DoxEndHdrFtr. Text calls accept the
// open header/footer as their position.
#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

namespace {

struct HdrFtrKind {
  const char *destination;
  const char *before;  // the section word the kind needs, or null
};

// Indexed by kind - 1 (HDRFTR_HEADER ... HDRFTR_FOOTER_RIGHT).
constexpr HdrFtrKind kKinds[] = {
    {"header", nullptr},  {"headerf", "titlepg"}, {"headerl", "facingp"},
    {"headerr", "facingp"}, {"footer", nullptr},  {"footerf", "titlepg"},
    {"footerl", "facingp"}, {"footerr", "facingp"},
};

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginHdrFtr(DOXDOC handle, int32_t kind) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginHdrFtr)) return 0;
  if (kind < HDRFTR_HEADER || kind > HDRFTR_FOOTER_RIGHT) return 0;
  const HdrFtrKind &k = kKinds[kind - 1];
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s)) return 0;
  // "\titlepg" and "\facingp" are written each time such a kind begins.
  if (k.before && !PutWordNamed(doc, s, k.before)) return 0;
  if (!OpenGroup(doc, s) || !PutWordNamed(doc, s, k.destination)) return 0;
  doc->StateBits |= STATE_HDR_FTR;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxEndHdrFtr(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndHdrFtr)) return 0;
  OutputStream *s = doc->Stream;
  if (!CloseGroup(doc, s) || !FlushRtfLine(doc, s)) return 0;
  doc->StateBits &= ~STATE_HDR_FTR;
  return 1;
}

}  // extern "C"
