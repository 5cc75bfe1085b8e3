// Style words in reader-friendly mode. A style item's words are recorded when
// the item ends, split into paragraph and character words, and written again
// after "\sN" (its paragraph words, then "\plain" and its character words),
// "\csN" and "\plain" (the character words): readers keep the paragraph's and
// the text's own defaults over the style's. Heading styles ("heading 1" to
// "heading 9") also get "\outlinelevel", in the sheet and in the paragraphs.
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "core/document.h"
#include "core/reader_friendly.h"
#include "format/reader_format.h"

namespace dox {
namespace {

struct StyleRecord {
  int32_t id, isPara;
  int32_t paraOffset, paraLength;  // in Reader.Words
  int32_t charOffset, charLength;
};

// Words that set character properties; any other word is a paragraph word.
constexpr std::string_view kCharWords[] = {
    "f",    "fs",     "b",     "i",      "ul",   "uldb",  "ulnone",    "v",
    "strike", "klhlink", "protect", "up", "dn", "caps", "scaps", "cf",
    "highlight", "cb", "chcbpat", "super", "sub", "nosupersub"};
// Words that are not repeated: they would reset what the style sets.
constexpr std::string_view kSkippedWords[] = {"pard", "plain", "s", "cs", "intbl", "itap"};

bool Among(std::string_view name, const std::string_view *list, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (list[i] == name) return true;
  return false;
}

// Calls f(name, hasValue, value, whole word) for each control word of text,
// skipping groups, control symbols and anything else.
template <typename F>
void ForEachWord(std::string_view text, F f) {
  size_t i = 0;
  int depth = 0;
  while (i < text.size()) {
    char c = text[i];
    if (c == '{' || c == '}') {
      depth += c == '{' ? 1 : -1;
      ++i;
      continue;
    }
    if (c != '\\') {
      ++i;
      continue;
    }
    size_t start = i++;
    size_t nameStart = i;
    while (i < text.size() && ((text[i] >= 'a' && text[i] <= 'z') || (text[i] >= 'A' && text[i] <= 'Z')))
      ++i;
    if (i == nameStart) {  // a control symbol: "\'xx" or one character
      i += (i < text.size() && text[i] == '\'') ? 3 : 1;
      continue;
    }
    std::string_view name = text.substr(nameStart, i - nameStart);
    size_t valueStart = i;
    if (i < text.size() && text[i] == '-') ++i;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9') ++i;
    bool hasValue = i > valueStart && text[i - 1] != '-';
    int32_t value = hasValue ? static_cast<int32_t>(std::strtol(text.data() + valueStart, nullptr, 10)) : 0;
    std::string_view whole = text.substr(start, i - start);
    if (i < text.size() && text[i] == ' ') ++i;
    if (depth == 0) f(name, hasValue, value, whole);
  }
}

// "heading N" (any case) gives outline level N - 1; else -1.
int32_t OutlineLevel(const char *name) {
  static constexpr char kHeading[] = "heading ";
  for (int i = 0; i < 8; ++i)
    if (!name[i] || (name[i] | 0x20) != kHeading[i]) return -1;
  return name[8] >= '1' && name[8] <= '9' && !name[9] ? name[8] - '1' : -1;
}

const StyleRecord *FindStyle(const Document *doc, bool para, int32_t id) {
  const ReaderBuffer &b = doc->Reader.Styles;
  const auto *records = reinterpret_cast<const StyleRecord *>(b.Data);
  // The last item with this number wins.
  for (int32_t i = b.Length / static_cast<int32_t>(sizeof(StyleRecord)) - 1; i >= 0; --i)
    if (records[i].id == id && (records[i].isPara != 0) == para) return &records[i];
  return nullptr;
}

int32_t PutWords(Document *doc, int32_t offset, int32_t length) {
  // Nothing when the words were lost with a block that could not grow.
  if (length <= 0 || offset + length > doc->Reader.Words.Length) return 1;
  int32_t ok = 1;
  ForEachWord(std::string_view(doc->Reader.Words.Data + offset, static_cast<size_t>(length)),
              [&](std::string_view name, bool hasValue, int32_t value, std::string_view) {
                char word[40] = {};
                std::memcpy(word, name.data(), name.size() < 39 ? name.size() : 39);
                if (ok) ok = PutControlWord(doc, doc->Stream, word, hasValue ? 1 : 0, value);
              });
  return ok;
}

bool Repeating(const Document *doc) {
  return ReaderFriendly(doc) && !(doc->StateBits & STATE_STYLE_ITEM);
}

}  // namespace

void BeginStyleRecord(Document *doc, int32_t paraStyle, int32_t styleId) {
  if (!ReaderFriendly(doc)) return;
  ReaderState &r = doc->Reader;
  r.ItemStart = StreamPosition(doc);
  r.ItemIsPara = paraStyle != 0;
  r.ItemId = styleId;
}

int32_t EndStyleRecord(Document *doc, const char *name) {
  if (!ReaderFriendly(doc)) return 1;
  ReaderState &r = doc->Reader;
  const int32_t level = r.ItemIsPara ? OutlineLevel(name ? name : "") : -1;
  if (level >= 0 && !PutWordValue(doc, doc->Stream, "outlinelevel", level)) return 0;
  ReaderBuffer captured{};
  bool ok = CopyStreamSince(doc, r.ItemStart, captured);
  std::string_view text(captured.Data ? captured.Data : "", static_cast<size_t>(captured.Length));
  StyleRecord rec{r.ItemId, r.ItemIsPara, r.Words.Length, 0, 0, 0};
  // Paragraph words first, then the character words after them.
  for (int pass = 0; pass < 2 && ok; ++pass) {
    if (pass == 1) rec.charOffset = r.Words.Length;
    ForEachWord(text, [&](std::string_view word, bool, int32_t, std::string_view whole) {
      if (!ok || Among(word, kSkippedWords, std::size(kSkippedWords))) return;
      if (Among(word, kCharWords, std::size(kCharWords)) == (pass == 1))
        ok = BufferAppend(doc, r.Words, whole.data(), static_cast<int32_t>(whole.size()));
    });
    if (pass == 0) rec.paraLength = r.Words.Length - rec.paraOffset;
  }
  rec.charLength = r.Words.Length - rec.charOffset;
  if (captured.Handle) {
    plat::MemUnlock(captured.Handle);
    plat::MemFree(captured.Handle);
  }
  if (ok) BufferAppend(doc, r.Styles, &rec, sizeof rec);
  return 1;
}

int32_t RepeatParaStyle(Document *doc, int32_t styleId) {
  if (!Repeating(doc)) return 1;
  const StyleRecord *rec = FindStyle(doc, true, styleId);
  const ReaderBuffer &b = doc->Reader.Styles;
  doc->Reader.ParaStyle =
      rec ? static_cast<int32_t>(rec - reinterpret_cast<const StyleRecord *>(b.Data)) + 1 : 0;
  if (!rec) return 1;
  const StyleRecord copy = *rec;  // the blocks do not move while writing, but stay safe
  // The text of the styled paragraph starts from the style's character
  // formatting, not from what the text before it had.
  return PutWords(doc, copy.paraOffset, copy.paraLength) && PutWord(doc, doc->Stream, "plain") &&
         PutWords(doc, copy.charOffset, copy.charLength);
}

int32_t RepeatCharStyle(Document *doc, int32_t styleId) {
  if (!Repeating(doc)) return 1;
  const StyleRecord *rec = FindStyle(doc, false, styleId);
  return rec ? PutWords(doc, rec->charOffset, rec->charLength) : 1;
}

int32_t RepeatPlainStyle(Document *doc) {
  const int32_t count = doc->Reader.Styles.Length / static_cast<int32_t>(sizeof(StyleRecord));
  if (!Repeating(doc) || doc->Reader.ParaStyle <= 0 || doc->Reader.ParaStyle > count) return 1;
  const auto *records = reinterpret_cast<const StyleRecord *>(doc->Reader.Styles.Data);
  const StyleRecord &rec = records[doc->Reader.ParaStyle - 1];
  return PutWords(doc, rec.charOffset, rec.charLength);
}

}  // namespace dox
