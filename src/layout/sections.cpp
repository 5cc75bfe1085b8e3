// Sections: initialising a section, its properties (break kind, page
// numbering, columns), beginning its text, and the breaks inside and between
// sections.
#include "core/document.h"
#include "core/reader_sections.h"
#include "core/sequence.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInitSect(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return OpenSection(doc);
}

DOXEXPORT int32_t DOXAPI DoxSectInfo(DOXDOC handle, int32_t columns, int32_t columnSpace,
                                     int32_t newPage, int32_t firstPage) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::SectInfo)) return 0;
  OutputStream *s = doc->Stream;
  if (!(newPage == 0 && OmitsContinuousBreak(doc)) &&
      !PutWordNamed(doc, s, newPage ? "sbkpage" : "sbknone"))
    return 0;
  if (firstPage > 0) {
    if (!PutWordValue(doc, s, "pgnstarts", firstPage) || !PutWord(doc, s, "pgnrestart"))
      return 0;
  } else if (!PutWord(doc, s, "pgncont")) {
    return 0;
  }
  // One column is the default: neither the count nor the spacing is written.
  if (columns > 1 &&
      (!PutWordValue(doc, s, "cols", columns) || !PutWordValue(doc, s, "colsx", columnSpace)))
    return 0;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxBeginSectText(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return OpenSectionText(doc);
}

DOXEXPORT int32_t DOXAPI DoxInsertBreak(DOXDOC handle, int32_t kind) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::InsertBreak)) return 0;
  OutputStream *s = doc->Stream;
  switch (kind) {
    case BREAK_SECTION: {
      int32_t ok = PutWord(doc, s, "sect");
      CountSectionEnd(doc);
      // The section is over even when the word could not be written: the
      // next one starts with its own initialisation.
      doc->StateBits &= ~(STATE_SECT_TEXT | STATE_SECT_INIT);
      return ok;
    }
    case BREAK_COLUMN: return PutWord(doc, s, "column");
    case BREAK_PAGE: return PutWord(doc, s, "page");
    default: return 0;
  }
}

}  // extern "C"
