// Text boxes: a drawing object whose text group the caller fills with the
// ordinary text calls. The box's geometry, line and fill follow its text, so
// the begin call keeps them in the document until the end call.
#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "objects/drawing_object.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginTextBox2(DOXDOC handle, int32_t relativeToPage, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t zOrder,
                                          uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                          int32_t transparent, int32_t textDirection) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginTextBox)) return 0;
  OutputStream *s = doc->Stream;
  if (!WriteDrawingObjectOpening(doc, relativeToPage, zOrder) || !PutWord(doc, s, "dptxbx") ||
      !PutWordValue(doc, s, "dptxbxmar", 40))
    return 0;
  if (textDirection == TEXTBOX_TEXT_BTLR && !PutWord(doc, s, "dptxbtlr")) return 0;
  if (textDirection == TEXTBOX_TEXT_TBRL && !PutWord(doc, s, "dptxtbrl")) return 0;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "dptxbxtext")) return 0;
  doc->TextBox = TextBoxState{x, y, width, height, fillColor, lineColor, lineWidth, transparent};
  doc->StateBits |= STATE_TEXT_BOX;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxBeginTextBox(DOXDOC handle, int32_t relativeToPage, int32_t x,
                                         int32_t y, int32_t width, int32_t height, int32_t zOrder,
                                         uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                         int32_t transparent) {
  return DoxBeginTextBox2(handle, relativeToPage, x, y, width, height, zOrder, fillColor, lineColor,
                          lineWidth, transparent, 0);
}

DOXEXPORT int32_t DOXAPI DoxEndTextBox(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndTextBox)) return 0;
  OutputStream *s = doc->Stream;
  const TextBoxState &b = doc->TextBox;
  // The text ends as the caller left it: no paragraph mark is added.
  if (!CloseGroup(doc, s) ||
      !WriteDrawingObjectProps(
          doc, {b.TextBoxX, b.TextBoxY, b.TextBoxWidth, b.TextBoxHeight, b.TextBoxLineColor,
                b.TextBoxLineWidth, RedOf(b.TextBoxFillColor), GreenOf(b.TextBoxFillColor),
                BlueOf(b.TextBoxFillColor), b.TextBoxTransparent ? 0 : 1}) ||
      !CloseGroup(doc, s) || !FlushRtfLine(doc, s))
    return 0;
  doc->StateBits &= ~STATE_TEXT_BOX;
  doc->AtParaStart = 1;
  return 1;
}

}  // extern "C"
