// Frames: a group of positioned-paragraph properties around the paragraphs,
// tables and pictures written until the frame ends. Frames do not nest.
#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginFrame(DOXDOC handle, int32_t relativeToPage, int32_t x, int32_t y,
                                       int32_t width, int32_t height) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginFrame)) return 0;
  OutputStream *s = doc->Stream;
  // The frame starts a paragraph and a line of its own.
  if (!doc->AtParaStart) {
    if (!PutWord(doc, s, "par")) return 0;
    doc->AtParaStart = 1;
  }
  if (!FlushRtfLine(doc, s) || !OpenGroup(doc, s)) return 0;
  // Height comes before width; the frame keeps an eighth of an inch from the
  // text around it.
  const struct {
    const char *word;
    int32_t value;
  } place[] = {{"posx", x},       {"posy", y},       {"absh", height}, {"absw", width},
               {"dxfrtext", 180}, {"dfrmtxtx", 180}, {"dfrmtxty", 0}};
  if (!PutWordNamed(doc, s, relativeToPage ? "pvpg" : "pvpara") ||
      !PutWordNamed(doc, s, relativeToPage ? "phpg" : "phpara"))
    return 0;
  for (const auto &w : place)
    if (!PutWordValue(doc, s, w.word, w.value)) return 0;
  doc->StateBits |= STATE_FRAME;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxEndFrame(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndFrame)) return 0;
  OutputStream *s = doc->Stream;
  // The frame's last paragraph ends inside its group.
  if (!doc->AtParaStart) {
    if (!PutWord(doc, s, "par")) return 0;
    doc->AtParaStart = 1;
  }
  if (!CloseGroup(doc, s) || !FlushRtfLine(doc, s)) return 0;
  doc->StateBits &= ~STATE_FRAME;
  return 1;
}

}  // extern "C"
