// Paragraph formatting: reset, alignment and flags with borders, indents,
// spacing, shading and paragraph styles. Every call writes its control words
// at once; the reader applies them to the paragraph the following text is in.
#include "core/document.h"
#include "core/reader_friendly.h"
#include "core/sequence_rules.h"
#include "format/reader_format.h"
#include "dox.h"

using namespace dox;

namespace dox {
namespace {

constexpr uint32_t kBorderSides = PARA_BORDER_BOX;

// The width and line style that follow every border word.
int32_t WriteBorderStyle(Document *doc, OutputStream *s, uint32_t flags) {
  if ((flags & PARA_BORDER_WIDE) && !PutWordValue(doc, s, "brdrw", 30)) return 0;
  return PutWordNamed(doc, s, (flags & PARA_BORDER_DOUBLE) ? "brdrdb" : "brdrs");
}

// The border words of the side bits in `flags`: "\box" for all four sides,
// else one word per side; inside a frame, the border spacing.
int32_t WriteParaBorder(Document *doc, uint32_t flags) {
  OutputStream *s = doc->Stream;
  if ((flags & kBorderSides) == kBorderSides) {
    if (!PutWord(doc, s, "box") || !WriteBorderStyle(doc, s, flags)) return 0;
  } else {
    static constexpr struct {
      uint32_t bit;
      const char *word;
    } kSides[] = {{PARA_BORDER_TOP, "brdrt"},
                  {PARA_BORDER_BOTTOM, "brdrb"},
                  {PARA_BORDER_LEFT, "brdrl"},
                  {PARA_BORDER_RIGHT, "brdrr"}};
    for (const auto &side : kSides)
      if ((flags & side.bit) &&
          (!PutWordNamed(doc, s, side.word) || !WriteBorderStyle(doc, s, flags)))
        return 0;
  }
  if (doc->StateBits & STATE_FRAME)
    return PutWordValue(doc, s, "brsp", doc->BorderSpacing < 0 ? 0 : doc->BorderSpacing);
  return 1;
}

}  // namespace
}  // namespace dox

extern "C" {

DOXEXPORT int32_t DOXAPI DoxResetParaProp(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ResetParaProp)) return 0;
  OutputStream *s = doc->Stream;
  if (!PutWord(doc, s, "pard")) return 0;
  if (ReaderFriendly(doc)) ResetReaderParagraph(doc);
  // Inside a table row the paragraph stays in its cell; a nested table also
  // names its depth, counted from 1.
  if (doc->StateBits & STATE_TABLE_ROW) {
    if (!PutWord(doc, s, "intbl")) return 0;
    if (doc->TableLevel >= 1 && !PutWordValue(doc, s, "itap", doc->TableLevel + 1)) return 0;
  }
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxParaFlags(DOXDOC handle, uint32_t flags) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaFlags)) return 0;
  OutputStream *s = doc->Stream;
  // Exactly one alignment word: right wins over centre, centre over justify.
  if (!((flags & PARA_RIGHT)     ? PutWord(doc, s, "qr")
         : (flags & PARA_CENTER)  ? PutWord(doc, s, "qc")
         : (flags & PARA_JUSTIFY) ? PutWord(doc, s, "qj")
                                  : PutWord(doc, s, "ql")))
    return 0;
  if ((flags & PARA_DOUBLE_SPACE) &&
      (!PutWordValue(doc, s, "sl", 480) || !PutWordValue(doc, s, "slmult", 1)))
    return 0;
  if ((flags & PARA_KEEP) && !PutWord(doc, s, "keep")) return 0;
  if ((flags & PARA_KEEP_NEXT) && !PutWord(doc, s, "keepn")) return 0;
  if ((flags & PARA_WIDOW_CONTROL) && !PutWord(doc, s, "widctlpar")) return 0;
  if (flags & kBorderSides) WriteParaBorder(doc, flags);  // the flags are set either way
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxParaIndent(DOXDOC handle, int32_t left, int32_t right,
                                       int32_t firstLine) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaIndent)) return 0;
  OutputStream *s = doc->Stream;
  return (left == -1 || PutWord(doc, s, "li", left)) && (right == -1 || PutWord(doc, s, "ri", right)) &&
         (firstLine == -1 || PutWord(doc, s, "fi", firstLine));
}

DOXEXPORT int32_t DOXAPI DoxParaSpace(DOXDOC handle, int32_t before, int32_t after,
                                      int32_t lineSpacing) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaSpace)) return 0;
  OutputStream *s = doc->Stream;
  return (before == -1 || PutWord(doc, s, "sb", before)) &&
         (after == -1 || PutWord(doc, s, "sa", after)) &&
         (lineSpacing == -1 || PutWord(doc, s, "sl", lineSpacing));
}

DOXEXPORT int32_t DOXAPI DoxParaShadeColor(DOXDOC handle, int32_t percent, uint32_t color) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaShadeColor)) return 0;
  if (percent > 100) percent = 100;
  if (ReaderFriendly(doc)) return WriteMixedShading(doc, percent, color);
  if (percent >= 0) return PutWordValue(doc, doc->Stream, "shading", percent * 100);
  return PutWordValue(doc, doc->Stream, "cbpat", FindOrAddColor(doc, color));
}

DOXEXPORT int32_t DOXAPI DoxParaStyleId(DOXDOC handle, int32_t styleId) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaStyleId)) return 0;
  return PutWordValue(doc, doc->Stream, "s", styleId) && RepeatParaStyle(doc, styleId);
}

}  // extern "C"
