// Error reports: a code indexing the message table and a caption naming the
// export or routine that failed.
#pragma once

#include <cstdint>

#include "dox.h"  // the codes: DOX_ERR_*

namespace dox {

struct Document;

// Reports through the document's flags (or the library's without a document):
// a message box, or in silent mode the code and caption recorded for
// DoxGetLastMessage. Always returns 0.
int32_t ReportError(Document *doc, int32_t code, const char *caption);

// Reports code 48 with `text` (also kept as the text of code 48 from now on).
int32_t ReportComposedError(Document *doc, const char *text, const char *caption);
// Sets the text of code 48 without a report.
void SetComposedMessage(const char *text);

// Reports following the library-wide flags even when a document exists (the
// reports made before a document exists and those of the growth routines);
// about is the document the report concerns, if any, for the message sink.
int32_t ReportLibraryError(int32_t code, const char *caption, Document *about = nullptr);

}  // namespace dox
