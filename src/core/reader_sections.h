// Reader-friendly mode and sections: "\sectd" resets the section to the
// document's defaults, and readers then lose the header and footer distances
// written before it; a continuous first section loses the page break that
// ends it. Each routine does nothing outside the mode.
#pragma once

#include <cstdint>

namespace dox {

struct Document;

// DoxMargin before the first section: remembers the header (isHeader) or
// footer distance to repeat after every "\sectd".
void RememberPageDistance(Document *doc, bool isHeader, int32_t twips);
// After "\sectd": the remembered "\headery" and "\footery". 0 when the stream fails.
int32_t RepeatPageDistances(Document *doc);
// After "\sect": one more section has ended.
void CountSectionEnd(Document *doc);
// DoxSectInfo: true when "\sbknone" is left out (the document's first section).
bool OmitsContinuousBreak(const Document *doc);

}  // namespace dox
