// Drawing objects in reader-friendly mode: each one a "\shp" shape that
// readers draw as asked (fill, line width in EMU, vertical text, no fill when
// transparent), with today's "\do" group as its "\shprslt" result for readers
// without shapes. Used only in the mode.
#pragma once

#include <cstdint>

#include "core/document_parts.h"

namespace dox {

struct Document;

struct ShapeSpec {
  int32_t type;  // 1 rectangle, 20 line, 202 text box
  int32_t relativeToPage, zOrder;
  int32_t x, y, width, height;  // twips
  uint32_t fillColor;
  int32_t filled;
  uint32_t lineColor;
  int32_t lineWidth;  // twips; 0 or less: no line
  int32_t textDirection;
  int32_t flipH, flipV;  // a line from right to left, from bottom to top
};

// Ends the paragraph and writes "{\shp{\*\shpinst ...}{\shprslt "; the caller
// then writes the "\do" group and EndShapeResult closes both groups.
int32_t BeginShapeResult(Document *doc, const ShapeSpec &shape);
int32_t EndShapeResult(Document *doc);

// DoxBeginTextBox2 and DoxEndTextBox: "{\shp{\*\shpinst ...{\shptxt " before
// the caller's text; at the end the text again in the "\do" result.
int32_t BeginShapeTextBox(Document *doc, const TextBoxState &b, int32_t relativeToPage,
                          int32_t zOrder, int32_t textDirection);
int32_t EndShapeTextBox(Document *doc);

}  // namespace dox
