#include "core/reader_sections.h"

#include "core/reader_friendly.h"

namespace dox {

void RememberPageDistance(Document *doc, bool isHeader, int32_t twips) {
  if (!ReaderFriendly(doc) || (doc->StateBits & STATE_SECT_INIT)) return;
  ReaderState &r = doc->Reader;
  (isHeader ? r.HeaderY : r.FooterY) = twips;
  (isHeader ? r.HasHeaderY : r.HasFooterY) = 1;
}

int32_t RepeatPageDistances(Document *doc) {
  if (!ReaderFriendly(doc)) return 1;
  const ReaderState &r = doc->Reader;
  OutputStream *s = doc->Stream;
  return (!r.HasHeaderY || PutWordValue(doc, s, "headery", r.HeaderY)) &&
         (!r.HasFooterY || PutWordValue(doc, s, "footery", r.FooterY));
}

void CountSectionEnd(Document *doc) {
  if (ReaderFriendly(doc)) ++doc->Reader.SectionsEnded;
}

// Word-processor readers start the following section on the same page when
// the first one is continuous, losing a page break the caller put there.
bool OmitsContinuousBreak(const Document *doc) {
  return ReaderFriendly(doc) && doc->Reader.SectionsEnded == 0;
}

}  // namespace dox
