#include "objects/drawing_object.h"

#include "core/document.h"

namespace dox {

int32_t EndParagraphBeforeObject(Document *doc) {
  OutputStream *s = doc->Stream;
  if (!doc->AtParaStart) {
    if (!PutWord(doc, s, "par")) return 0;
    doc->AtParaStart = 1;
  }
  return FlushRtfLine(doc, s);
}

int32_t WriteDrawingObjectOpening(Document *doc, int32_t relativeToPage, int32_t zOrder) {
  OutputStream *s = doc->Stream;
  if (!EndParagraphBeforeObject(doc) || !OpenGroup(doc, s) || !PutWord(doc, s, "do")) return 0;
  // The vertical anchor comes first.
  if (!PutWordNamed(doc, s, relativeToPage ? "dobypage" : "dobypara") ||
      !PutWordNamed(doc, s, relativeToPage ? "dobxpage" : "dobxmargin"))
    return 0;
  if (zOrder > 0 && !PutWordValue(doc, s, "dodhgt", zOrder)) return 0;
  return 1;
}

int32_t WriteDrawingObjectProps(Document *doc, const DrawingProps &p) {
  OutputStream *s = doc->Stream;
  const struct {
    const char *word;
    int32_t value;
  } box[] = {{"dpx", p.x}, {"dpy", p.y}, {"dpxsize", p.width}, {"dpysize", p.height}},
    line[] = {{"dplinecor", RedOf(p.lineColor)},
              {"dplinecog", GreenOf(p.lineColor)},
              {"dplinecob", BlueOf(p.lineColor)},
              {"dplinew", p.lineWidth}},
    fill[] = {{"dpfillbgcr", p.fillRed},
              {"dpfillbgcg", p.fillGreen},
              {"dpfillbgcb", p.fillBlue},
              {"dpfillpat", p.fillPattern}};
  for (const auto &w : box)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  if (!PutWordNamed(doc, s, p.lineWidth > 0 ? "dplinesolid" : "dplinehollow")) return 0;
  for (const auto &w : line)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  for (const auto &w : fill)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  return 1;
}

}  // namespace dox
