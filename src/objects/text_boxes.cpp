// Text boxes: a drawing object whose text group the caller fills with the
// ordinary text calls. The box's geometry, line and fill follow its text, so
// the begin call keeps them in the document until the end call.
#include "core/document.h"
#include "core/reader_friendly.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "objects/drawing_object.h"
#include "objects/shapes_modern.h"

using namespace dox;

namespace dox {

int32_t WriteTextBoxOpening(Document *doc, int32_t relativeToPage, int32_t zOrder,
                            int32_t textDirection) {
  OutputStream *s = doc->Stream;
  if (!WriteDrawingObjectOpening(doc, relativeToPage, zOrder) || !PutWord(doc, s, "dptxbx") ||
      !PutWordValue(doc, s, "dptxbxmar", 40))
    return 0;
  if (textDirection == TEXTBOX_TEXT_BTLR && !PutWord(doc, s, "dptxbtlr")) return 0;
  if (textDirection == TEXTBOX_TEXT_TBRL && !PutWord(doc, s, "dptxtbrl")) return 0;
  return OpenGroup(doc, s) && PutWord(doc, s, "dptxbxtext");
}

int32_t WriteTextBoxProps(Document *doc) {
  const TextBoxState &b = doc->TextBox;
  return WriteDrawingObjectProps(
      doc, {b.TextBoxX, b.TextBoxY, b.TextBoxWidth, b.TextBoxHeight, b.TextBoxLineColor,
            b.TextBoxLineWidth, RedOf(b.TextBoxFillColor), GreenOf(b.TextBoxFillColor),
            BlueOf(b.TextBoxFillColor), b.TextBoxTransparent ? 0 : 1});
}

}  // namespace dox

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginTextBox2(DOXDOC handle, int32_t relativeToPage, int32_t x,
                                          int32_t y, int32_t width, int32_t height, int32_t zOrder,
                                          uint32_t fillColor, uint32_t lineColor, int32_t lineWidth,
                                          int32_t transparent, int32_t textDirection) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginTextBox)) return 0;
  const TextBoxState box{x, y, width, height, fillColor, lineColor, lineWidth, transparent};
  if (ReaderFriendly(doc)
          ? !BeginShapeTextBox(doc, box, relativeToPage, zOrder, textDirection)
          : !WriteTextBoxOpening(doc, relativeToPage, zOrder, textDirection))
    return 0;
  doc->TextBox = box;
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
  // The text ends as the caller left it: no paragraph mark is added.
  if (ReaderFriendly(doc) ? !EndShapeTextBox(doc)
                          : (!CloseGroup(doc, s) || !WriteTextBoxProps(doc) ||
                             !CloseGroup(doc, s) || !FlushRtfLine(doc, s)))
    return 0;
  doc->StateBits &= ~STATE_TEXT_BOX;
  doc->AtParaStart = 1;
  return 1;
}

}  // extern "C"
