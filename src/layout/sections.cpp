// Sections: initialising a section and beginning its text.
#include "core/document.h"
#include "core/sequence.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInitSect(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return OpenSection(doc);
}

DOXEXPORT int32_t DOXAPI DoxBeginSectText(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return OpenSectionText(doc);
}

}  // extern "C"
