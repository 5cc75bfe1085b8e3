// The stream's run-at-a-time writers against PutRtfChar, one character at a
// time, on random mixes of text, control words (alone, and several of one
// call written together) and picture bytes that cross every line threshold
// (76, 100, 150, 300), with and without raw text; the text holds now and
// then a byte that is escaped or stands for a word. Text that ends at its
// NUL is also read from just before an unreadable page. The usual short run
// is tried from every column.
#include <cstring>
#include <random>
#include <string>

#include "core/document.h"
#include "core/library_state.h"
#include "core/stream.h"
#include "test_support.h"

namespace {

using dox::OutputStream;

// Whether a text ends a paragraph, as the writer of text to its NUL records.
int32_t EndsParagraph(const std::string &t) {
  return t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0;
}

struct Writer {
  dox::Document *d;
  OutputStream *s;
  // The per-character writers, as the stream applied its rules before runs.
  void Chars(const std::string &t) {
    for (char c : t) ASSERT_EQ(1, dox::PutRtfChar(d, s, c));
  }
  void Word(const std::string &w, bool hasValue, int32_t v) {
    s->SpacePending = 0;
    s->NoBreak = 1;
    Chars("\\" + w + (hasValue ? std::to_string(v) : ""));
    s->SpacePending = 1;
    s->NoBreak = 0;
  }
  // Each byte's digits, or with `escape` "\'" and one byte's, none split.
  void Hex(const std::string &bytes, bool escape = false) {
    static const char *digits = "0123456789abcdef";
    for (unsigned char b : bytes) {
      if (escape) Chars("\\"), s->StreamFlags |= dox::STREAM_IN_ESCAPE, Chars("'");
      Chars(std::string(1, digits[b >> 4]));
      int32_t saved = s->NoBreak;
      s->NoBreak = 1;
      Chars(std::string(1, digits[b & 15]));
      s->NoBreak = saved;
      s->StreamFlags &= ~dox::STREAM_IN_ESCAPE;
    }
  }
  // Text: each byte itself, or escaped, or as the word that stands for it.
  void Text(const std::string &t) {
    for (char c : t) {
      if (c == '{' || c == '}' || c == '\x0e' || (c == '\\' && !(s->StreamFlags & dox::STREAM_RAW_TEXT))) {
        Chars("\\"), s->StreamFlags |= dox::STREAM_IN_ESCAPE;
        Chars(std::string(1, c == '\x0e' ? '~' : c)), s->StreamFlags &= ~dox::STREAM_IN_ESCAPE;
      } else if (static_cast<unsigned char>(c) >= 0x80) {
        Hex(std::string(1, c), true);
      } else if (c == '\t') {
        Word("tab", false, 0);
      } else if (c == '\r') {
        Word("par", false, 0);
        ASSERT_EQ(1, dox::FlushRtfLine(d, s));
      } else if (c != '\n') {
        Chars(std::string(1, c));
      }
    }
  }
};

TEST(StreamRuns, SameBytesAsOneCharacterAtATime) {
  doxtest::ReportCapture capture;
  std::mt19937 rng(14);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
  const std::string plain = "abcdefghij      xyz.,;\x01\x1f|~\x7f";
  const std::string special = "{}\\\x0e\xe9\r\n\t";
  // Text tested 32 bytes at a time where the processor can, and 16.
  const bool wide = dox::Lib().WideBlocks;
  struct Restore {
    bool wide;
    ~Restore() { dox::Lib().WideBlocks = wide; }
  } restore{wide};
  for (int round = 0; round < 300; ++round) {
    dox::Lib().WideBlocks = wide && round / 2 % 2 == 0;
    DOXDOC a = capture.New(), b = capture.New();
    Writer fast{dox::FromHandle(a), dox::FromHandle(a)->Stream};
    Writer slow{dox::FromHandle(b), dox::FromHandle(b)->Stream};
    uint32_t raw = round % 3 == 0 ? dox::STREAM_RAW_TEXT : 0;
    fast.s->StreamFlags |= raw;
    slow.s->StreamFlags |= raw;
    for (int op = 0; op < 60; ++op) {
      std::string t(static_cast<size_t>(pick(3) == 0 ? pick(320) : pick(5) == 0 ? 0 : pick(40)), ' ');
      const int specials = pick(4) ? 30 : 1 << 30;  // now and then long ordinary stretches
      for (char &c : t)
        c = pick(specials) ? plain[static_cast<size_t>(pick(static_cast<int>(plain.size())))]
                           : special[static_cast<size_t>(pick(static_cast<int>(special.size())))];
      // Odd rounds write mostly control words, whose runs reach columns 150 and 300.
      int kind = round % 2 && pick(20) ? 1 + 2 * pick(2) : pick(4);
      if (kind == 0) {  // text, whole (with its length, or to its NUL) and by the character
        if (pick(12) == 0) fast.s->NoBreak = slow.s->NoBreak = 1;  // as after some writers
        if (pick(2)) {
          ASSERT_EQ(1, dox::PutRtfText(fast.d, fast.s, t.data(), static_cast<int32_t>(t.size())));
        } else {
          const char *z = pick(2) ? t.c_str() : doxtest::AtPageEnd(t, pick(2));
          fast.d->AtParaStart = 2;
          ASSERT_EQ(1, dox::PutRtfTextToNul(fast.d, fast.s, z));
          ASSERT_EQ(EndsParagraph(t), fast.d->AtParaStart);
        }
        slow.Text(t);
      } else if (kind == 1) {  // a control word, sometimes longer than the quick path takes
        std::string w = t.substr(0, 1 + t.size() % 37);
        for (char &c : w) c = static_cast<char>('a' + static_cast<unsigned char>(c) % 26);
        int32_t v = static_cast<int32_t>(rng()) >> pick(32);
        bool hasValue = pick(2);
        const bool constant = pick(4) == 0;
        if (constant) w = "intbl", hasValue = false;
        ASSERT_EQ(1, constant ? dox::PutWord(fast.d, fast.s, "intbl")
                              : dox::PutWordNumber(fast.d, fast.s, w.c_str(), hasValue, v));
        slow.Word(w, hasValue, v);
      } else if (kind == 2) {  // picture bytes
        ASSERT_EQ(1, dox::PutHexDigits(fast.d, fast.s, reinterpret_cast<const uint8_t *>(t.data()),
                                       static_cast<uint32_t>(t.size())));
        slow.Hex(t);
      } else {  // the words of one call, composed and written together
        dox::WordRun run(fast.d, fast.s);
        for (int w = 1 + pick(32); w > 0; --w) {
          std::string_view word = "abcdefghijklmnopqrstuvwxyz";
          word = word.substr(static_cast<size_t>(pick(20)), static_cast<size_t>(1 + pick(7)));
          int32_t v = static_cast<int32_t>(rng()) >> pick(32);
          bool hasValue = pick(2);
          hasValue ? run.Add(word, v) : run.Add(word);
          slow.Word(std::string(word), hasValue, v);
        }
        ASSERT_EQ(1, run.Put());
      }
      ASSERT_EQ(doxtest::Body(b), doxtest::Body(a)) << "round " << round << " op " << op;
    }
  }
}

// Runs from every column up to 150, after a blank due or not, on a line that
// ends in a blank or not. Runs of up to 80 bytes have blanks every 7 bytes,
// at one place or nowhere, end at the NUL or in CR LF, and are read in place
// or starting 84-207 bytes before an unreadable page. Runs of 160-300 bytes
// (from every third column up to 100), blanks every 11, end just before an
// unreadable page: the last blocks read come closest to the page's end.
TEST(StreamRuns, RunsFromEveryColumn) {
  doxtest::ReportCapture capture;
  const bool wide = dox::Lib().WideBlocks;
  struct Restore {
    bool wide;
    ~Restore() { dox::Lib().WideBlocks = wide; }
  } restore{wide};
  int k = 0;
  for (bool useWide : {true, false}) {
    dox::Lib().WideBlocks = wide && useWide;
    for (int column = 0; column <= 150; ++column) {
      DOXDOC a = capture.New(), b = capture.New();
      Writer fast{dox::FromHandle(a), dox::FromHandle(a)->Stream};
      Writer slow{dox::FromHandle(b), dox::FromHandle(b)->Stream};
      const int longest = column % 3 == 0 && column <= 100 ? 300 : 80;
      for (int length = 1; length <= longest; length += length == 80 ? 80 : 1, ++k) {
        const bool isLong = length > 80;
        const int pending = column > 0 && k % 2 && !isLong;
        std::string lead(static_cast<size_t>(column - pending), 'k');
        if (k / 2 % 2 && !lead.empty() && !isLong) lead.back() = ' ';
        std::string t(static_cast<size_t>(length), 'a');
        const int every = isLong ? 11 : 7;
        for (int i = k / 4 % 3 == 0 || isLong ? every - 1 : length; i < length; i += every)
          t[static_cast<size_t>(i)] = ' ';
        if (k / 4 % 3 == 1 && !isLong) t[static_cast<size_t>(k % length)] = ' ';
        if (k / 12 % 2 && !isLong) t += "\r\n";
        for (Writer *w : {&fast, &slow}) {
          ASSERT_EQ(1, dox::FlushRtfLine(w->d, w->s));
          std::memcpy(w->s->Line, lead.data(), lead.size());
          w->s->LineLength = static_cast<int32_t>(lead.size());
          w->s->SpacePending = pending;
        }
        const int room = isLong ? length + 1 : column < 11 ? 96 : 84 + k / 3 % 124;  // long runs from there read furthest
        const std::string padded = t + std::string(static_cast<size_t>(room) - t.size() - 1, '\0');
        const bool atPageEnd = isLong || k % 3 == 0;
        fast.d->AtParaStart = 2;
        ASSERT_EQ(1, dox::PutRtfTextToNul(fast.d, fast.s, atPageEnd ? doxtest::AtPageEnd(padded, k % 2) : t.c_str()));
        ASSERT_EQ(EndsParagraph(t), fast.d->AtParaStart);
        slow.Text(t);
      }
      ASSERT_EQ(doxtest::Body(b), doxtest::Body(a)) << "column " << column << (useWide ? " wide" : "");
    }
  }
}

// Font calls, cell and row definitions whose words were kept from an earlier
// call write what composing them anew writes: the second document forgets
// the kept words, and the fonts found last, before each call. Each call
// differs from the one before of its kind in one value, so that it often
// finds that one's words where it looks for its own (or its face among the
// last two found). Every other row repeats the row before from the same
// column, so that its definitions are copied from there (the second document
// forgets where they were written), now and then with one cell's width or
// the row's left edge changed by as many digits, or its cells moved along the
// line.
TEST(StreamRuns, KeptWordsAsComposedAnew) {
  doxtest::ReportCapture capture;
  std::mt19937 rng(7);
  DOXDOC kept = capture.New(), anew = capture.New();
  dox::Document *forgets = dox::FromHandle(anew);
  ASSERT_NE(nullptr, forgets);
  auto both = [&](auto call) {
    std::memset(&forgets->CharWords, 0, sizeof forgets->CharWords);
    std::memset(&forgets->Tables.CellWords, 0, sizeof forgets->Tables.CellWords);
    std::memset(&forgets->Tables.Written, 0, sizeof forgets->Tables.Written);
    std::memset(&forgets->Tables.RowWords, 0, sizeof forgets->Tables.RowWords);
    forgets->LastFont = forgets->PrevFont = 0;  // every face looked up in the whole table
    for (DOXDOC d : {kept, anew}) ASSERT_TRUE(call(d));
  };
  const char *faces[] = {"Arial", "Courier New", "", "Symbol", "Georgia",
                         "Tahoma", "Verdana", "Wingdings", "Calibri", "Cambria"};
  const uint32_t styles[] = {0, CHAR_BOLD, CHAR_ITALIC, CHAR_BOLD | CHAR_UNDERLINE, CHAR_SUBSCRIPT,
                             CHAR_SMALL_CAPS | CHAR_HIDDEN | 0x80000000u};
  // Face, size + 1 (half-points, none, points), style, on (2: any other
  // non-zero) and character set (-1: any).
  int32_t f[5] = {0, 1, 0, 1, 0};
  const uint32_t fontChoices[5] = {10, 5, 6, 3, 3};
  const int32_t charsets[3] = {-1, 0, 2};
  // DoxNextCellInfo3's values, colours among them.
  int32_t v[11] = {1440, 0, 0, 0xFFFFFF, 10, 10, 10, 10, 0, 0, 0};
  const int32_t cellChoices[11][4] = {
      {1440, 700, 2880, 99}, {0, 1, 2, 3},    {0, 5, 20, -1}, {0xFFFFFF, 0, 0xFF, 0x10203},
      {10, 0, 25, -3},    {10, 0, 15, 1},  {10, 0, 30, 2}, {10, 0, 5, 7},
      {0, 0xFF, 0xFF00, 0x123},            {0, 1, 4, 10},  {0, 90, 270, 1}};
  int32_t rowValues[4][11];
  int32_t rowOther[8] = {0, 0, 0, 108, 108, 0, 0, 0};
  const int32_t rowChoices[8][3] = {{0, 300, -400}, {0, 1, 2},    {0, 1, 1},  {108, 50, 108},
                                    {108, 108, 7},  {0, 0, 30}, {0, 0, 40}, {0, 0, 0}};
  for (int row = 0; row < 300; ++row) {
    const bool again = row % 2 == 1;
    for (int call = 0; call < (again ? 0 : 7); ++call) {
      const uint32_t field = rng() % 5;
      f[field] = static_cast<int32_t>(rng() % fontChoices[field]);
      both([&](DOXDOC d) {
        return DoxTextFont2(d, faces[f[0]], f[1] - 1, styles[f[2]], charsets[f[4]], f[3]) &&
               DoxInsertText(d, "x");
      });
    }
    const int32_t left = again && rng() % 3 == 0 ? 20 : 10;
    const int changed = again && rng() % 2 ? static_cast<int>(rng() % 4) : 4;  // the cell with another width
    // The row's other values: height, alignment, header, paddings (or the gap).
    if (!again) {
      const uint32_t field = rng() % 2 ? rng() % 3 : rng() % 8;  // mostly short definitions
      rowOther[field] = rowChoices[field][rng() % 3];
    } else if (rng() % 4 == 0) {
      rowOther[2] = !rowOther[2];  // "\trhdr" or not: the cells start at other columns
    }
    both([&](DOXDOC d) {
      return DoxBeginTableRow2(d, left, rowOther[0], static_cast<uint32_t>(rowOther[1]), rowOther[2],
                               rowOther[3], rowOther[4], rowOther[5], rowOther[6]);
    });
    for (int cell = 0; cell < 4; ++cell) {
      if (again) {
        std::memcpy(v, rowValues[cell], sizeof v);
        if (cell == changed) v[0] += v[0] % 2 ? -1 : 1;  // as many digits
      } else {
        const uint32_t field = rng() % 11;
        v[field] = cellChoices[field][rng() % 4];
        std::memcpy(rowValues[cell], v, sizeof v);
      }
      both([&](DOXDOC d) {
        return DoxNextCellInfo3(d, v[0], v[1], v[2], static_cast<uint32_t>(v[3]), v[4], v[5], v[6],
                                v[7], static_cast<uint32_t>(v[8]), static_cast<uint32_t>(v[9]), v[10]);
      });
    }
    for (DOXDOC d : {kept, anew}) {
      for (int cell = 0; cell < 4; ++cell)
        ASSERT_TRUE(DoxBeginCellText(d) && DoxInsertText(d, "c") && DoxEndCellText(d));
      ASSERT_EQ(1, DoxEndTableRow(d));
    }
  }
  ASSERT_EQ(doxtest::Body(anew), doxtest::Body(kept));
}

}  // namespace
