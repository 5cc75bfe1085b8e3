// Text box parameters kept in the document between the begin and the end of a
// text box: the begin call writes the box's opening, the end call its
// geometry, line and fill, which only then follow the box's text.
#pragma once

#include <cstdint>

namespace dox {

// Part of the zero-filled document record; meaningful only while
// STATE_TEXT_BOX is set.
struct TextBoxState {
  int32_t TextBoxX;  // left edge, twips
  int32_t TextBoxY;  // top edge, twips
  int32_t TextBoxWidth;
  int32_t TextBoxHeight;
  uint32_t TextBoxFillColor;   // as the caller gave it: 0x00BBGGRR, high byte ignored
  uint32_t TextBoxLineColor;   // as the caller gave it
  int32_t TextBoxLineWidth;    // twips; 0 or less: no line
  int32_t TextBoxTransparent;  // non-zero: no fill
};

}  // namespace dox
