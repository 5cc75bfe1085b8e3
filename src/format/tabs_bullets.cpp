// Tab stops and bullets or numbering of the current paragraph.
#include <cstdint>

#include "core/document.h"
#include "core/reader_friendly.h"
#include "core/sequence_rules.h"
#include "format/bullet_glyphs.h"
#include "format/reader_format.h"
#include "dox.h"

using namespace dox;

namespace dox {
namespace {

// The words of one tab stop: kind, leader, position.
int32_t WriteTabStops(Document *doc, int32_t kind, int32_t position, int32_t leader) {
  OutputStream *s = doc->Stream;
  const char *kindWord = kind == TAB_RIGHT     ? "tqr"
                         : kind == TAB_DECIMAL ? "tqdec"
                         : kind == TAB_CENTER  ? "tqc"
                                               : nullptr;
  const char *leaderWord = leader == TAB_LEADER_DOT         ? "tldot"
                           : leader == TAB_LEADER_HYPHEN    ? "tlhyph"
                           : leader == TAB_LEADER_UNDERLINE ? "tlul"
                                                            : nullptr;
  if (kindWord && !PutWordNamed(doc, s, kindWord)) return 0;
  if (leaderWord && !PutWordNamed(doc, s, leaderWord)) return 0;
  return PutWordValue(doc, s, "tx", position);
}

constexpr const char *NumberingWord(int32_t style) {
  switch (style) {
    case 1: return "pnucltr";
    case 2: return "pnlcltr";
    case 3: return "pnucrm";
    case 4: return "pnlcrm";
    default: return "pndec";
  }
}

// "{\<word> <text>}" for a non-empty text around the number.
int32_t WriteNumberText(Document *doc, OutputStream *s, const char *word, const char *text) {
  if (!text || !*text) return 1;
  return OpenGroup(doc, s) && PutWordNamed(doc, s, word) && PutText(doc, s, text) &&
         CloseGroup(doc, s);
}

int32_t WriteBullet(Document *doc, int32_t kind, int32_t style, int32_t level, int32_t start,
                    const char *textBefore, const char *textAfter, uint32_t flags) {
  OutputStream *s = doc->Stream;
  const bool bullet = kind != 0;
  const bool continues = (flags & BULLET_CONTINUE) != 0;
  // For readers that do not build bullets: a ready-made round bullet in font
  // number 1, whatever that row of the font table holds, and a tab.
  if (bullet && !(OpenGroup(doc, s) && PutWord(doc, s, "pntext") && PutWord(doc, s, "pard") &&
                  PutWord(doc, s, "plain") && PutWordValue(doc, s, "f", 1) &&
                  PutWordValue(doc, s, "fs", 20) && PutRtfHexByte(doc, s, 0xB7) &&
                  PutWord(doc, s, "tab") && CloseGroup(doc, s)))
    return 0;
  if (!(OpenGroup(doc, s) && PutWord(doc, s, "*") && PutWord(doc, s, "pn"))) return 0;
  if (continues) {
    if (!PutWord(doc, s, "pnlvlcont")) return 0;
  } else if (bullet) {
    if (!PutWord(doc, s, "pnlvlblt")) return 0;
  } else if (level == 0 || level == 10) {
    if (!PutWord(doc, s, "pnlvlbody")) return 0;
  } else if (!PutWordValue(doc, s, "pnlvl", level)) {
    return 0;
  }
  if (!bullet &&
      !(PutWordValue(doc, s, "pnstart", start) && PutWordNamed(doc, s, NumberingWord(style))))
    return 0;
  if (!PutWord(doc, s, "pnhang")) return 0;
  if (bullet) {
    const BulletGlyph &g = BulletGlyphOf(style);
    if (!(PutWordValue(doc, s, "pnf", FindOrAddBulletFont(doc, g.font)) && OpenGroup(doc, s) &&
          PutWord(doc, s, "pntxtb") && PutRtfHexByte(doc, s, g.code) && CloseGroup(doc, s)))
      return 0;
  } else if (!(WriteNumberText(doc, s, "pntxtb", textBefore) &&
               WriteNumberText(doc, s, "pntxta", textAfter))) {
    return 0;
  }
  return CloseGroup(doc, s);
}

}  // namespace
}  // namespace dox

extern "C" {

DOXEXPORT int32_t DOXAPI DoxParaTabStop(DOXDOC handle, int32_t kind, int32_t position,
                                        int32_t leader) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaTabStop)) return 0;
  return WriteTabStops(doc, kind, position, leader);
}

DOXEXPORT int32_t DOXAPI DoxParaBullet(DOXDOC handle, int32_t kind, int32_t style, int32_t level,
                                       int32_t start, const char *textBefore,
                                       const char *textAfter, uint32_t flags) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::ParaBullet)) return 0;
  if (ReaderFriendly(doc))
    return WriteListParagraph(doc, kind, style, level, start, textBefore, textAfter, flags);
  return WriteBullet(doc, kind, style, level, start, textBefore, textAfter, flags);
}

}  // extern "C"
