#include "objects/shapes_modern.h"

#include <cstdio>
#include <initializer_list>

#include "core/document.h"
#include "dox.h"
#include "objects/drawing_object.h"

namespace dox {
namespace {

constexpr int32_t kEmuPerTwip = 635;
constexpr int32_t kTextMarginTwips = 40;  // as "\dptxbxmar40"

int32_t Wrapped(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}

// "{\sp{\sn name}{\sv value}}"
int32_t PutProperty(Document *doc, const char *name, int64_t value) {
  OutputStream *s = doc->Stream;
  char digits[24];
  int n = std::snprintf(digits, sizeof digits, "%lld", static_cast<long long>(value));
  return OpenGroup(doc, s) && PutWord(doc, s, "sp") && OpenGroup(doc, s) && PutWord(doc, s, "sn") &&
         PutText(doc, s, name) && CloseGroup(doc, s) && OpenGroup(doc, s) &&
         PutWord(doc, s, "sv") && PutRtfText(doc, s, digits, n) && CloseGroup(doc, s) &&
         CloseGroup(doc, s);
}

// "{\shp{\*\shpinst" with the position words and the properties; the
// instruction group stays open.
int32_t OpenShape(Document *doc, const ShapeSpec &p) {
  OutputStream *s = doc->Stream;
  const bool page = p.relativeToPage != 0;
  const struct {
    const char *word;
    int32_t value;
  } box[] = {{"shpleft", p.x}, {"shptop", p.y}, {"shpright", Wrapped(p.x, p.width)},
             {"shpbottom", Wrapped(p.y, p.height)}};
  if (!EndParagraphBeforeObject(doc) || !OpenGroup(doc, s) || !PutWord(doc, s, "shp") ||
      !OpenGroup(doc, s) || !PutWord(doc, s, "*") || !PutWord(doc, s, "shpinst"))
    return 0;
  for (const auto &w : box)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  if (!PutWordValue(doc, s, "shpfhdr", (doc->StateBits & STATE_HDR_FTR) ? 1 : 0) ||
      !PutWordNamed(doc, s, page ? "shpbxpage" : "shpbxmargin") ||
      !PutWordNamed(doc, s, page ? "shpbypage" : "shpbypara") ||
      !PutWordValue(doc, s, "shpwr", 3) ||
      !PutWordValue(doc, s, "shpwrk", 0) || !PutWordValue(doc, s, "shpfblwtxt", 0) ||
      !PutWordValue(doc, s, "shpz", p.zOrder > 0 ? p.zOrder : 0))
    return 0;
  const bool line = p.lineWidth > 0;
  if (!PutProperty(doc, "shapeType", p.type)) return 0;
  if (p.type != 20 && !(PutProperty(doc, "fillColor", p.fillColor & 0xFFFFFFu) &&
                        PutProperty(doc, "fFilled", p.filled ? 1 : 0)))
    return 0;
  if (!PutProperty(doc, "lineColor", p.lineColor & 0xFFFFFFu) ||
      (line && !PutProperty(doc, "lineWidth", int64_t{p.lineWidth} * kEmuPerTwip)) ||
      !PutProperty(doc, "fLine", line ? 1 : 0))
    return 0;
  if ((p.flipH && !PutProperty(doc, "fFlipH", 1)) || (p.flipV && !PutProperty(doc, "fFlipV", 1)))
    return 0;
  if (p.type == 202) {
    // 1: top to bottom, 2: bottom to top; the margins as the "\do" box has them.
    const int32_t flow = p.textDirection == TEXTBOX_TEXT_TBRL   ? 1
                         : p.textDirection == TEXTBOX_TEXT_BTLR ? 2
                                                                : 0;
    if (flow && !PutProperty(doc, "txflTextFlow", flow)) return 0;
    for (const char *margin : {"dxTextLeft", "dyTextTop", "dxTextRight", "dyTextBottom"})
      if (!PutProperty(doc, margin, kTextMarginTwips * kEmuPerTwip)) return 0;
  }
  return 1;
}

// The text again, as one balanced group whatever groups the caller opened or
// closed in it: an unclosed group of the caller would otherwise be open twice.
int32_t PutTextCopy(Document *doc, const char *text, int32_t n) {
  int32_t depth = 0, lowest = 0;
  for (int32_t i = 0; i < n; ++i) {
    if (text[i] == '\\') {
      ++i;  // an escaped brace or backslash
    } else if (text[i] == '{' || text[i] == '}') {
      depth += text[i] == '{' ? 1 : -1;
      if (depth < lowest) lowest = depth;
    }
  }
  OutputStream *s = doc->Stream;
  for (int32_t k = 0; k < -lowest; ++k)
    if (!PutRtfChar(doc, s, '{')) return 0;
  if (n > 0 && !PutRawBytes(doc, text, n)) return 0;
  for (int32_t k = 0; k < depth - lowest; ++k)
    if (!PutRtfChar(doc, s, '}')) return 0;
  return 1;
}

}  // namespace

int32_t BeginShapeResult(Document *doc, const ShapeSpec &shape) {
  OutputStream *s = doc->Stream;
  return OpenShape(doc, shape) && CloseGroup(doc, s) && OpenGroup(doc, s) &&
         PutWord(doc, s, "shprslt");
}

int32_t EndShapeResult(Document *doc) {
  OutputStream *s = doc->Stream;
  return CloseGroup(doc, s) && CloseGroup(doc, s) && FlushRtfLine(doc, s);
}

int32_t BeginShapeTextBox(Document *doc, const TextBoxState &b, int32_t relativeToPage,
                          int32_t zOrder, int32_t textDirection) {
  ShapeSpec shape{202,           relativeToPage, zOrder,          b.TextBoxX,
                 b.TextBoxY,    b.TextBoxWidth, b.TextBoxHeight, b.TextBoxFillColor,
                 !b.TextBoxTransparent, b.TextBoxLineColor, b.TextBoxLineWidth, textDirection,
                 0,             0};
  OutputStream *s = doc->Stream;
  if (!OpenShape(doc, shape) || !OpenGroup(doc, s) || !PutWord(doc, s, "shptxt")) return 0;
  ReaderState &r = doc->Reader;
  r.TextBoxPage = relativeToPage;
  r.TextBoxZ = zOrder;
  r.TextBoxDirection = textDirection;
  // The text is copied from here into the result at the end.
  if (!FlushRtfLine(doc, s)) return 0;
  r.TextBoxStart = StreamPosition(doc);
  return 1;
}

int32_t EndShapeTextBox(Document *doc) {
  OutputStream *s = doc->Stream;
  ReaderState &r = doc->Reader;
  ReaderBuffer text{};
  bool copied = CopyStreamSince(doc, r.TextBoxStart, text);
  // The result group starts a paragraph of its own whatever the text ended with.
  doc->AtParaStart = 1;
  int32_t ok = copied && CloseGroup(doc, s) && CloseGroup(doc, s) && OpenGroup(doc, s) &&
               PutWord(doc, s, "shprslt") &&
               WriteTextBoxOpening(doc, r.TextBoxPage, r.TextBoxZ, r.TextBoxDirection) &&
               PutTextCopy(doc, text.Data, text.Length) &&
               CloseGroup(doc, s) && WriteTextBoxProps(doc) && CloseGroup(doc, s) &&
               EndShapeResult(doc);
  if (text.Handle) {
    plat::MemUnlock(text.Handle);
    plat::MemFree(text.Handle);
  }
  return ok;
}

}  // namespace dox
