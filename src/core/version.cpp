// The library's own version, as compiled from dox.h.
#include "dox.h"

extern "C" DOXEXPORT const char *DOXAPI DoxVersion(void) { return DOX_VERSION_STRING; }
