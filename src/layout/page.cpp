// Paper size, orientation and margins: document-wide control words before
// the first section is initialised, section control words between
// DoxInitSect and DoxBeginSectText.
#include <iterator>

#include "core/document.h"
#include "core/reader_sections.h"
#include "core/sequence.h"
#include "dox.h"

using namespace dox;

namespace {

// Refused while section text, the style sheet or a header/footer is open
// (codes 34, 38 and 46; the header/footer decides over the style sheet, the
// style sheet over the section text). Nothing is opened automatically.
constexpr uint32_t kPageLayoutForbidden = STATE_SECT_TEXT | STATE_STYLE_SHEET | STATE_HDR_FTR;

// The control words of one value: section form first, document form second.
struct PageWord {
  const char *section;
  const char *document;
};

constexpr PageWord kLandscape = {"lndscpsxn", "landscape"};
constexpr PageWord kWidth = {"pgwsxn", "paperw"};
constexpr PageWord kHeight = {"pghsxn", "paperh"};
// DoxMargin's values in the order of its parameters.
constexpr PageWord kMarginWords[] = {
    {"marglsxn", "margl"}, {"margrsxn", "margr"}, {"margtsxn", "margt"},
    {"margbsxn", "margb"}, {"headery", "headery"}, {"footery", "footery"},
};

const char *Form(const Document *doc, const PageWord &w) {
  return (doc->StateBits & STATE_SECT_INIT) ? w.section : w.document;
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxPaper(DOXDOC handle, int32_t width, int32_t height,
                                  int32_t landscape) {
  Document *doc = FromHandle(handle);
  if (!doc || !CheckCallSequence(doc, "DoxPaper", 0, 0, kPageLayoutForbidden)) return 0;
  OutputStream *s = doc->Stream;
  if (landscape && !PutWordNamed(doc, s, Form(doc, kLandscape))) return 0;
  if (width > 0 && !PutWordValue(doc, s, Form(doc, kWidth), width)) return 0;
  if (height > 0 && !PutWordValue(doc, s, Form(doc, kHeight), height)) return 0;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxMargin(DOXDOC handle, int32_t left, int32_t right, int32_t top,
                                   int32_t bottom, int32_t headerPos, int32_t footerPos) {
  Document *doc = FromHandle(handle);
  if (!doc || !CheckCallSequence(doc, "DoxMargin", 0, 0, kPageLayoutForbidden)) return 0;
  const int32_t values[] = {left, right, top, bottom, headerPos, footerPos};
  for (size_t i = 0; i < std::size(values); ++i) {
    // A negative value leaves that margin as it is.
    if (i >= 4 && values[i] >= 0) RememberPageDistance(doc, i == 4, values[i]);
    if (values[i] >= 0 && !PutWordValue(doc, doc->Stream, Form(doc, kMarginWords[i]), values[i]))
      return 0;
  }
  return 1;
}

}  // extern "C"
