// Rectangles and straight lines: one complete drawing-object group per call.
#include <cstdlib>

#include "core/document.h"
#include "core/reader_friendly.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "objects/drawing_object.h"
#include "objects/shapes_modern.h"

using namespace dox;

namespace {

// Closes the object's group on a line of its own; the text after it starts a
// new paragraph.
int32_t CloseDrawingObject(Document *doc) {
  if (!CloseGroup(doc, doc->Stream) || !FlushRtfLine(doc, doc->Stream)) return 0;
  doc->AtParaStart = 1;
  return 1;
}

// The extent between two coordinates, wrapping as 32-bit arithmetic does.
int32_t Extent(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(std::llabs(int64_t{b} - a)));
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxDrawRect(DOXDOC handle, int32_t relativeToPage, int32_t x, int32_t y,
                                     int32_t width, int32_t height, int32_t zOrder,
                                     uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                     int32_t transparent) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::DrawRect)) return 0;
  const bool shape = ReaderFriendly(doc);
  if (shape && !BeginShapeResult(doc, {1, relativeToPage, zOrder, x, y, width, height, fillColor,
                                       !transparent, lineColor, lineWidth, 0, 0, 0}))
    return 0;
  if (!WriteDrawingObjectOpening(doc, relativeToPage, zOrder) ||
      !PutWord(doc, doc->Stream, "dprect") ||
      !WriteDrawingObjectProps(doc, {x, y, width, height, lineColor, lineWidth, RedOf(fillColor),
                                     GreenOf(fillColor), BlueOf(fillColor), transparent ? 0 : 1}))
    return 0;
  return CloseDrawingObject(doc) && (!shape || EndShapeResult(doc));
}

DOXEXPORT int32_t DOXAPI DoxDrawLine(DOXDOC handle, int32_t relativeToPage, int32_t x1, int32_t y1,
                                     int32_t x2, int32_t y2, int32_t zOrder, uint32_t lineColor,
                                     int32_t lineWidth) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::DrawLine)) return 0;
  OutputStream *s = doc->Stream;
  const bool shape = ReaderFriendly(doc);
  if (shape && !BeginShapeResult(doc, {20, relativeToPage, zOrder, x1 < x2 ? x1 : x2,
                                       y1 < y2 ? y1 : y2, Extent(x1, x2), Extent(y1, y2), 0, 0,
                                       lineColor, lineWidth, 0, x2 < x1, y2 < y1}))
    return 0;
  if (!WriteDrawingObjectOpening(doc, relativeToPage, zOrder) || !PutWord(doc, s, "dpline"))
    return 0;
  // The end points as given; the box around them follows in the properties.
  const struct {
    const char *word;
    int32_t value;
  } points[] = {{"dpptx", x1}, {"dppty", y1}, {"dpptx", x2}, {"dppty", y2}};
  for (const auto &w : points)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  // A line is filled white, solid.
  if (!WriteDrawingObjectProps(doc, {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, Extent(x1, x2),
                                     Extent(y1, y2), lineColor, lineWidth, 255, 255, 255, 1}))
    return 0;
  return CloseDrawingObject(doc) && (!shape || EndShapeResult(doc));
}

}  // extern "C"
