// Paragraph shading in reader-friendly mode. Readers ignore "\shadingN", the
// percentage of the pattern colour (black) over the background colour; the
// mode writes the colour that mix gives as the background instead.
#include "core/document.h"
#include "core/reader_friendly.h"
#include "format/reader_format.h"

namespace dox {

void ResetReaderParagraph(Document *doc) {
  ReaderState &r = doc->Reader;
  r.ShadePercent = 0;
  r.HasShadeColor = 0;
  r.ParaStyle = 0;
}

int32_t WriteMixedShading(Document *doc, int32_t percent, uint32_t color) {
  ReaderState &r = doc->Reader;
  if (percent >= 0) {
    r.ShadePercent = percent;
  } else {
    r.ShadeColor = color & 0xFFFFFFu;
    r.HasShadeColor = 1;
  }
  const uint32_t background = r.HasShadeColor ? r.ShadeColor : 0xFFFFFFu;
  uint32_t mixed = 0;
  for (int shift = 0; shift < 24; shift += 8) {
    uint32_t channel = (background >> shift) & 0xFFu;
    mixed |= (channel * static_cast<uint32_t>(100 - r.ShadePercent) / 100u) << shift;
  }
  return PutWordValue(doc, doc->Stream, "cbpat", FindOrAddColor(doc, mixed));
}

}  // namespace dox
