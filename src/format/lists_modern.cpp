// Bullets and numbering in reader-friendly mode: Word 97 lists instead of the
// "\pn" groups, which readers handle poorly (one bullet for every style,
// decimal numbers for letters and Roman numerals, lost levels and texts).
//
// One list per bullet style; numbered paragraphs share a numbering list whose
// nine levels are defined by their first use (format, start, texts around the
// number); a paragraph whose level is already defined otherwise starts a new
// list. The paragraph gets "\lsN\ilvlN" and, for readers without lists, a
// "\listtext" group with the bullet in its own font or the number computed
// as a list reader would (a level restarts after a higher one). No "\pn"
// group is written: readers that know both prefer it. BULLET_CONTINUE writes
// "\ls0", no list: the paragraph keeps its indents and the numbering goes on
// after it.
#include <cstdio>
#include <cstring>
#include <string_view>

#include "core/document.h"
#include "core/reader_friendly.h"
#include "dox.h"
#include "format/bullet_glyphs.h"
#include "format/reader_format.h"

namespace dox {
namespace {

constexpr int kLevels = 9;
constexpr int32_t kBulletFormat = 23;

struct Level {
  int32_t defined;
  int32_t format;  // \levelnfc: 0 1 2 3 4 = decimal, I, i, A, a; 23 bullet
  int32_t start;
  int32_t font;    // bullet font row, or -1
  int32_t glyph;
  int32_t beforeOffset, beforeLength, afterOffset, afterLength;  // in Reader.Words
  int32_t counter, counting;  // the last number given, while counting
};

struct ListRecord {
  int32_t bulletStyle;  // 0-6, or -1 for numbering
  Level levels[kLevels];
};

int32_t NumberFormat(int32_t style) {
  switch (style) {
    case 1: return 3;
    case 2: return 4;
    case 3: return 1;
    case 4: return 2;
    default: return 0;
  }
}

ListRecord *Lists(Document *doc) { return reinterpret_cast<ListRecord *>(doc->Reader.Lists.Data); }
int32_t ListCount(const Document *doc) {
  return doc->Reader.Lists.Length / static_cast<int32_t>(sizeof(ListRecord));
}

std::string_view Text(const Document *doc, int32_t offset, int32_t length) {
  if (length <= 0 || offset + length > doc->Reader.Words.Length) return {};
  return std::string_view(doc->Reader.Words.Data + offset, static_cast<size_t>(length));
}

bool SameLevel(const Document *doc, const Level &l, const Level &d, std::string_view before,
               std::string_view after) {
  return l.format == d.format && l.start == d.start &&
         Text(doc, l.beforeOffset, l.beforeLength) == before &&
         Text(doc, l.afterOffset, l.afterLength) == after;
}

// The number as a list reader shows it.
void FormatNumber(int32_t format, int32_t n, char *out, size_t size) {
  if (format == 0 || n <= 0) {
    std::snprintf(out, size, "%ld", static_cast<long>(n));
  } else if (format == 3 || format == 4) {  // A..Z, AA..ZZ, ...
    char letter = static_cast<char>((format == 3 ? 'A' : 'a') + (n - 1) % 26);
    size_t count = static_cast<size_t>((n - 1) / 26 + 1);
    if (count > size - 1) count = size - 1;
    std::memset(out, letter, count);
    out[count] = '\0';
  } else {
    static constexpr struct {
      int32_t value;
      const char *upper, *lower;
    } kRoman[] = {{1000, "M", "m"}, {900, "CM", "cm"}, {500, "D", "d"}, {400, "CD", "cd"},
                  {100, "C", "c"},  {90, "XC", "xc"},  {50, "L", "l"},  {40, "XL", "xl"},
                  {10, "X", "x"},   {9, "IX", "ix"},   {5, "V", "v"},   {4, "IV", "iv"},
                  {1, "I", "i"}};
    size_t used = 0;
    out[0] = '\0';
    for (const auto &r : kRoman)
      while (n >= r.value && used + 3 < size) {
        const char *digits = format == 1 ? r.upper : r.lower;
        std::strcpy(out + used, digits);
        used += std::strlen(digits);
        n -= r.value;
      }
  }
}

bool Add(Document *doc, const char *text) {
  return BufferAppend(doc, doc->Reader.ListTables, text, static_cast<int32_t>(std::strlen(text)));
}

// A level's text characters as they stand in "\leveltext": hex escapes for
// anything but plain printable characters.
bool AddLevelChars(Document *doc, std::string_view text) {
  for (char c : text) {
    auto u = static_cast<unsigned char>(c);
    char buf[8] = {c, 0};
    if (u < 0x20 || u >= 0x7F || c == '\\' || c == '{' || c == '}' || c == ';')
      std::snprintf(buf, sizeof buf, "\\'%02x", u);
    if (!Add(doc, buf)) return false;
  }
  return true;
}

bool AddLevel(Document *doc, const Level &l, int index) {
  char buf[160];
  const Level d = l.defined ? l : Level{1, 0, 1, -1, 0, 0, 0, 0, 0, 0, 0};
  std::snprintf(buf, sizeof buf,
                "{\\listlevel\\levelnfc%d\\levelnfcn%d\\leveljc0\\leveljcn0\\levelfollow0"
                "\\levelstartat%d{\\leveltext",
                static_cast<int>(d.format), static_cast<int>(d.format), static_cast<int>(d.start));
  if (!Add(doc, buf)) return false;
  if (d.format == kBulletFormat) {
    std::snprintf(buf, sizeof buf, "\\'01\\'%02x;}{\\levelnumbers;}\\f%d", static_cast<unsigned>(d.glyph),
                  static_cast<int>(d.font));
    return Add(doc, buf) && Add(doc, "}");
  }
  std::string_view before = Text(doc, d.beforeOffset, d.beforeLength).substr(0, 120);
  std::string_view after = l.defined ? Text(doc, d.afterOffset, d.afterLength).substr(0, 120) : ".";
  std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(before.size() + after.size() + 1));
  if (!Add(doc, buf) || !AddLevelChars(doc, before)) return false;
  std::snprintf(buf, sizeof buf, "\\'%02x", static_cast<unsigned>(index));
  if (!Add(doc, buf) || !AddLevelChars(doc, after)) return false;
  std::snprintf(buf, sizeof buf, ";}{\\levelnumbers\\'%02x;}}", static_cast<unsigned>(before.size() + 1));
  return Add(doc, buf);
}

// Writes the list tables again from the records.
bool RebuildListTables(Document *doc) {
  doc->Reader.ListTables.Length = 0;
  char buf[96];
  if (!Add(doc, "{\\*\\listtable")) return false;
  for (int32_t i = 0; i < ListCount(doc); ++i) {
    std::snprintf(buf, sizeof buf, "\r\n{\\list\\listtemplateid%d", static_cast<int>(i + 1));
    if (!Add(doc, buf)) return false;
    const ListRecord &rec = Lists(doc)[i];
    for (int l = 0; l < kLevels; ++l)
      if (!AddLevel(doc, rec.bulletStyle >= 0 ? rec.levels[0] : rec.levels[l], l)) return false;
    std::snprintf(buf, sizeof buf, "{\\listname ;}\\listid%d}", static_cast<int>(i + 1));
    if (!Add(doc, buf)) return false;
  }
  if (!Add(doc, "}\r\n{\\*\\listoverridetable")) return false;
  for (int32_t i = 0; i < ListCount(doc); ++i) {
    std::snprintf(buf, sizeof buf, "{\\listoverride\\listid%d\\listoverridecount0\\ls%d}",
                  static_cast<int>(i + 1), static_cast<int>(i + 1));
    if (!Add(doc, buf)) return false;
  }
  return Add(doc, "}\r\n");
}

// The list and level of a paragraph, defining them as needed; -1 on failure.
int32_t FindOrDefine(Document *doc, int32_t bulletStyle, int level, const Level &def,
                     std::string_view before, std::string_view after) {
  ReaderState &r = doc->Reader;
  if (r.NumberList > ListCount(doc)) r.NumberList = 0;  // the lists were lost
  int32_t found = -1;
  if (bulletStyle >= 0) {
    for (int32_t i = 0; i < ListCount(doc) && found < 0; ++i)
      if (Lists(doc)[i].bulletStyle == bulletStyle) found = i;
  } else if (r.NumberList > 0) {
    const Level &l = Lists(doc)[r.NumberList - 1].levels[level];
    if (!l.defined || SameLevel(doc, l, def, before, after)) found = r.NumberList - 1;
  }
  if (found >= 0 && Lists(doc)[found].levels[level].defined) return found;
  Level stored = def;
  stored.beforeOffset = r.Words.Length;
  if (!BufferAppend(doc, r.Words, before.data(), static_cast<int32_t>(before.size()))) return -1;
  stored.beforeLength = static_cast<int32_t>(before.size());
  stored.afterOffset = r.Words.Length;
  stored.afterLength = static_cast<int32_t>(after.size());
  if (!BufferAppend(doc, r.Words, after.data(), static_cast<int32_t>(after.size()))) return -1;
  if (found < 0) {
    ListRecord rec{};
    rec.bulletStyle = bulletStyle;
    if (!BufferAppend(doc, r.Lists, &rec, sizeof rec)) return -1;
    found = ListCount(doc) - 1;
    if (bulletStyle < 0) r.NumberList = found + 1;
  }
  Lists(doc)[found].levels[level] = stored;
  return RebuildListTables(doc) ? found : -1;
}

// The number this paragraph shows at `level`; deeper levels restart.
int32_t NextNumber(Document *doc, int32_t list, int level) {
  Level *levels = Lists(doc)[list].levels;
  Level &l = levels[level];
  l.counter = l.counting ? l.counter + 1 : l.start;
  l.counting = 1;
  for (int deeper = level + 1; deeper < kLevels; ++deeper) levels[deeper].counting = 0;
  return l.counter;
}

}  // namespace

int32_t WriteListParagraph(Document *doc, int32_t kind, int32_t style, int32_t level,
                           int32_t start, const char *textBefore, const char *textAfter,
                           uint32_t flags) {
  if (flags & BULLET_CONTINUE) return PutWordValue(doc, doc->Stream, "ls", 0);
  OutputStream *s = doc->Stream;
  const bool bullet = kind != 0;
  const int index = bullet || level < 1 || level > kLevels ? 0 : level - 1;
  Level def{1, kBulletFormat, 1, -1, 0, 0, 0, 0, 0, 0, 0};
  int32_t bulletStyle = -1;
  if (bullet) {
    bulletStyle = style >= 1 && style <= 6 ? style : 0;
    const BulletGlyph &g = BulletGlyphOf(bulletStyle);
    def.font = FindOrAddBulletFont(doc, g.font);
    def.glyph = g.code;
  } else {
    def.format = NumberFormat(style);
    def.start = start;
  }
  std::string_view before = bullet || !textBefore ? "" : textBefore;
  std::string_view after = bullet || !textAfter ? "" : textAfter;
  int32_t list = FindOrDefine(doc, bulletStyle, index, def, before, after);
  if (list < 0) return 0;
  // The fallback text; none inside a style item, whose text is its name.
  if (!(doc->StateBits & STATE_STYLE_ITEM)) {
    if (!OpenGroup(doc, s) || !PutWord(doc, s, "listtext") || !PutWord(doc, s, "pard") ||
        !PutWord(doc, s, "plain"))
      return 0;
    if (bullet) {
      if (!PutWordValue(doc, s, "f", def.font) || !PutRtfHexByte(doc, s, static_cast<uint8_t>(def.glyph)))
        return 0;
    } else {
      char number[48];
      FormatNumber(def.format, NextNumber(doc, list, index), number, sizeof number);
      if (!PutText(doc, s, textBefore) || !PutText(doc, s, number) || !PutText(doc, s, textAfter))
        return 0;
    }
    if (!PutWord(doc, s, "tab") || !CloseGroup(doc, s)) return 0;
  }
  return PutWordValue(doc, s, "ls", list + 1) && PutWordValue(doc, s, "ilvl", index);
}

}  // namespace dox
