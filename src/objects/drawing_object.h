// The two pieces of RTF every drawing object of the library shares: the
// opening of its "\do" group and its geometry, line and fill properties.
// Text boxes, rectangles and lines are written with them.
#pragma once

#include <cstdint>

namespace dox {

struct Document;

// The red, green and blue bytes of a colour value (0x00BBGGRR).
constexpr int32_t RedOf(uint32_t color) { return static_cast<int32_t>(color & 0xFF); }
constexpr int32_t GreenOf(uint32_t color) { return static_cast<int32_t>((color >> 8) & 0xFF); }
constexpr int32_t BlueOf(uint32_t color) { return static_cast<int32_t>((color >> 16) & 0xFF); }

// Ends the open paragraph (a "\par" unless the output stands at a paragraph
// start), starts a new line and opens the group: "{\do", the vertical and the
// horizontal anchor (page, or paragraph and margin), and "\dodhgt" with
// zOrder when it is positive. Returns 1, or 0 when the stream fails.
int32_t WriteDrawingObjectOpening(Document *doc, int32_t relativeToPage, int32_t zOrder);
// Its first part: the "\par" unless at a paragraph start, and a new line.
int32_t EndParagraphBeforeObject(Document *doc);
// A text box's opening, from "{\do" to "{\dptxbxtext" (text_boxes.cpp).
int32_t WriteTextBoxOpening(Document *doc, int32_t relativeToPage, int32_t zOrder,
                            int32_t textDirection);
// The box, line and fill of the open text box, as DoxEndTextBox writes them.
int32_t WriteTextBoxProps(Document *doc);

struct DrawingProps {
  int32_t x, y, width, height;  // twips
  uint32_t lineColor;           // only the low three bytes are written
  int32_t lineWidth;            // 0 or less: a hollow line, its width still written
  int32_t fillRed, fillGreen, fillBlue;
  int32_t fillPattern;  // 1 solid, 0 none
};

// Writes the box, the line and the fill of a drawing object, without blanks.
// Returns 1, or 0 when the stream fails.
int32_t WriteDrawingObjectProps(Document *doc, const DrawingProps &p);

}  // namespace dox
