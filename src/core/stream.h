// The RTF output stream of a document: a current line of at most 300
// characters, broken where RTF allows it, and a growing body of finished
// lines that end in CR LF.
//
// Every routine returns 1 on success and 0 on failure (memory exhausted while
// the body grows; already reported). Callers pass a 0 up at once.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/platform.h"

namespace dox {

struct Document;

constexpr uint32_t STREAM_RAW_TEXT = 2;    // backslashes in text pass unescaped
constexpr uint32_t STREAM_IN_ESCAPE = 32;  // writing the characters after an escape's backslash
constexpr int32_t kMaxLineLength = 300;
constexpr int32_t kBackslashBreak = 150;  // past this a line ends before a backslash
constexpr int32_t kSoftBreakColumn = 76;  // a line ends after a blank from here on

// Room for the current line past the body's capacity.
constexpr int32_t kLineRoom = kMaxLineLength + 4;
// Room before the body in its block: the body starts `Lead` bytes into it,
// placed (AlignBodyToFrame) so that its bytes lie at the same place in their
// 64-byte lines of memory as in the file, after the frame (the header and
// tables). The kernel copies a file's bytes from memory about a fifth faster
// so placed; and the three times slower case, each byte landing 1-15 bytes
// past where it lies in the 4 KB page (see FileWrite), cannot arise.
constexpr int32_t kBodyRoomBefore = 64;

// The current line is written in place after the body's complete lines, so
// that ending it moves no bytes; the body's block holds kLineRoom bytes more
// than its capacity for it. Once the body is lost (it could not grow) the line
// lives on in Spare.
struct OutputStream {
  char *Body;  // complete lines; not NUL-terminated
  int32_t BodyCapacity;
  int32_t BodyLength;
  char *Line;  // Body + BodyLength, or Spare without a body
  int32_t LineLength;
  int32_t SpacePending;  // a blank is due before the next character
  int32_t NoBreak;       // no line break before the next character
  int32_t GroupDepth;    // groups opened minus groups closed
  uint32_t StreamFlags;
  int32_t ShortTexts;  // the last text ended its NUL within 16 bytes
  int32_t Lead;        // where the body starts in its block (below kBodyRoomBefore)
  plat::MemHandle BodyHandle;
  char Spare[kLineRoom];
};

// Places the body in its block (see kBodyRoomBefore) while it is small; called
// when the frame before it or the block changes.
void AlignBodyToFrame(Document *doc);
// After the body's length changed with the line empty: the line follows it.
inline void LineAfterBody(OutputStream *s) { s->Line = s->Body ? s->Body + s->BodyLength : s->Spare; }

// "00" to "99".
inline constexpr std::array<char, 200> kDigitPairs = [] {
  std::array<char, 200> t{};
  for (int i = 0; i < 100; ++i) {
    t[2 * i] = static_cast<char>('0' + i / 10);
    t[2 * i + 1] = static_cast<char>('0' + i % 10);
  }
  return t;
}();

// "%ld" of value at `out` (at most 11 characters); returns the number of characters.
inline int32_t FormatDecimal(char *out, int32_t value) {
  int32_t sign = value < 0;
  uint32_t u = sign ? 0u - static_cast<uint32_t>(value) : static_cast<uint32_t>(value);
  out[0] = '-';
  int32_t digits = u < 10 ? 1 : u < 100 ? 2 : u < 1000 ? 3 : u < 10000 ? 4 : 5;
  for (uint32_t t = u / 100000; t; t /= 10) ++digits;
  char *p = out + sign + digits;
  for (; u >= 100; u /= 100) {
    p -= 2;
    std::memcpy(p, &kDigitPairs[2 * (u % 100)], 2);
  }
  if (u >= 10)
    std::memcpy(p - 2, &kDigitPairs[2 * u], 2);
  else
    p[-1] = static_cast<char>('0' + u);
  return sign + digits;
}

// Appends one byte under the line-breaking rules.
int32_t PutRtfChar(Document *doc, OutputStream *s, char ch);
// Appends `length` bytes of text with RTF escaping; lengths below 1 write nothing.
int32_t PutRtfText(Document *doc, OutputStream *s, const char *text, int32_t length);
// Marks a function that reads a host's string in blocks, up to 127 bytes
// past its NUL but never into a page the string does not reach:
// such reads are safe, though not within the string, so the sanitizers that
// check each access leave the function alone.
#define DOX_READS_PAST_NUL __attribute__((no_sanitize("address", "thread")))
// Such a reader, small and on a hot path, inlined wherever no sanitizer
// keeps it apart.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define DOX_INLINE_READER
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define DOX_INLINE_READER
#endif
#endif
#ifndef DOX_INLINE_READER
#define DOX_INLINE_READER __attribute__((always_inline))
#endif
// The smallest page of the systems the library runs on; whether `n` bytes
// read from `p` stay in p's page.
constexpr uintptr_t kPageBytes = 4096;
inline bool ReadStaysInPage(const void *p, size_t n) {
  return (reinterpret_cast<uintptr_t>(p) & (kPageBytes - 1)) <= kPageBytes - n;
}

// PutRtfText of the text up to its first NUL, which records in the
// document's AtParaStart whether the text ends in CR LF (also after a failed
// write).
int32_t PutRtfTextToNul(Document *doc, OutputStream *s, const char *text);
// Appends "\'xx" with lowercase hexadecimal digits.
int32_t PutRtfHexByte(Document *doc, OutputStream *s, uint8_t byte);
// Appends "\word" and, with mode 1, the value (truncated toward zero) in decimal;
// a blank is then due before the next character.
int32_t PutControlWord(Document *doc, OutputStream *s, const char *word, int32_t mode,
                       double value);
// PutControlWord with an integer value, written when hasValue is non-zero.
int32_t PutWordNumber(Document *doc, OutputStream *s, const char *word, int32_t hasValue,
                      int32_t value);
// Appends control words composed by WordRun ("\f0\fs22\b"), each exactly
// as PutWordNumber would write it, the words that fit the line in one copy.
int32_t PutWords(Document *doc, OutputStream *s, const char *words, int32_t length);

// Copies N bytes in 16-byte blocks (the compiler may otherwise choose a
// string instruction, slow to start for so few bytes); N is a multiple of 16.
template <size_t N>
inline void CopyBlocks(char *to, const char *from) {
  static_assert(N % 16 == 0);
#if defined(__SSE2__)
  for (size_t i = 0; i < N; i += 16)
    _mm_storeu_si128(reinterpret_cast<__m128i *>(to + i),
                     _mm_loadu_si128(reinterpret_cast<const __m128i *>(from + i)));
#else
  std::memcpy(to, from, N);
#endif
}

// PutWords for words kept in a buffer of N bytes (`length` of them used): the
// whole buffer in one copy while the words start within column 150.
// PutKeptWordsInLine writes them only then (and returns false otherwise).
template <size_t N>
inline bool PutKeptWordsInLine(OutputStream *s, const char (&words)[N], int32_t length) {
  static_assert(N <= kLineRoom - kBackslashBreak - 1);  // room past the line's end
  const int32_t len = s->LineLength;
  if (len + length > kBackslashBreak + 1) return false;
  CopyBlocks<N>(s->Line + len, words);
  s->LineLength = len + length;
  s->SpacePending = 1;
  s->NoBreak = 0;
  return true;
}
template <size_t N>
inline int32_t PutKeptWords(Document *doc, OutputStream *s, const char (&words)[N], int32_t length) {
  return PutKeptWordsInLine(s, words, length) ? 1 : PutWords(doc, s, words, length);
}

// Control words composed in a buffer and written together by PutWords:
//   WordRun run(doc, s); run.Add("trowd"); run.Add("trleft", left); run.Put();
// A full buffer is written on the way; after a failed write the rest is
// dropped and Put returns 0.
class WordRun {
 public:
  WordRun(Document *doc, OutputStream *s) : doc_(doc), s_(s) {}
  // "\word": a constant of at most 32 letters, copied at a length known
  // when compiling...
  template <size_t N>
  void Add(const char (&word)[N]) {
    static_assert(N >= 2 && N <= 33);
    AddBytes(word, N - 1);
  }
  // ...or one chosen while running.
  void Add(std::string_view word) { AddBytes(word.data(), word.size() < 32 ? word.size() : 32); }
  // "\word" and the value in decimal.
  template <typename Word>
  void Add(const Word &word, int32_t value) {
    Add(word);
    end_ += FormatDecimal(end_, value);
  }
  // Words composed earlier (at most 200 bytes), as they are.
  void AddComposed(std::string_view words) {
    if (end_ + words.size() > buf_ + kRoom) PutOnTheWay();
    std::memcpy(end_, words.data(), words.size());
    end_ += words.size();
  }
  // The words composed so far; nothing once part of them were written on the
  // way (past 200 bytes).
  std::string_view Composed() const {
    return wrote_ ? std::string_view() : std::string_view(buf_, static_cast<size_t>(end_ - buf_));
  }
  // Writes what was composed; 1, or 0 once a write has failed.
  int32_t Put() {
    if (ok_) ok_ = PutWords(doc_, s_, buf_, static_cast<int32_t>(end_ - buf_));
    end_ = buf_;
    return ok_;
  }

 private:
  void PutOnTheWay() {
    wrote_ = true;
    Put();
  }
  void AddBytes(const char *word, size_t n) {
    if (end_ > buf_ + kRoom) PutOnTheWay();
    *end_ = '\\';
    std::memcpy(end_ + 1, word, n);
    end_ += 1 + n;
  }

  static constexpr int kRoom = 200;  // then at least 46 bytes for one more word
  Document *doc_;
  OutputStream *s_;
  int32_t ok_ = 1;
  bool wrote_ = false;  // a full buffer was written on the way
  char *end_ = buf_;
  char buf_[kRoom + 48];
};

// Appends each byte as two lower-case hexadecimal digits, high nibble first; a
// line never ends between the two digits of one byte. Stops at the first digit
// that cannot be written.
int32_t PutHexDigits(Document *doc, OutputStream *s, const uint8_t *bytes, uint32_t count);
// FlushRtfLine when the body must grow first (or was lost).
int32_t FlushIntoGrownBody(Document *doc, OutputStream *s);
// Moves the current line, with CR LF, into the body. Fields are read before
// the line's bytes are stored: read back after them, they would wait for
// those stores.
inline int32_t FlushRtfLine(Document *doc, OutputStream *s) {
  const int32_t len = s->LineLength;
  if (len == 0) return 1;
  const int64_t body = static_cast<int64_t>(s->BodyLength) + len + 2;
  char *line = s->Line;
  if (body > s->BodyCapacity || !s->Body) return FlushIntoGrownBody(doc, s);
  std::memcpy(line + len, "\r\n", 2);
  s->BodyLength = static_cast<int32_t>(body);  // the line is already in place
  s->Line = line + len + 2;
  s->LineLength = 0;
  s->SpacePending = 0;
  return 1;
}

// "\\word" and the end of its line (word first), or the end of the line and
// "\\word" on the next (line first), as PutWord and FlushRtfLine write them,
// when that needs no break before the word and no growth of the body; else
// nothing is written and false returned. Calls that write no more can then
// end without a call.
template <size_t N>
inline bool PutWordAndEndLineInRoom(OutputStream *s, const char (&word)[N], bool lineFirst) {
  static_assert(N >= 2 && N <= 33);
  const int32_t len = s->LineLength;
  const int32_t body = s->BodyLength;
  char *line = s->Line;
  const int32_t wordAt = lineFirst ? (len ? len + 2 : 0) : len;  // from `line`
  if ((!lineFirst && len > kBackslashBreak) ||
      static_cast<int64_t>(body) + wordAt + static_cast<int64_t>(N) + 2 > s->BodyCapacity || !s->Body)
    return false;
  char *out = line + wordAt;
  if (lineFirst && len) std::memcpy(line + len, "\r\n", 2);
  out[0] = '\\';
  std::memcpy(out + 1, word, N - 1);
  if (lineFirst) {
    s->BodyLength = body + wordAt;
    s->Line = out;
    s->LineLength = static_cast<int32_t>(N);
    s->SpacePending = 1;
  } else {
    std::memcpy(out + N, "\r\n", 2);
    s->BodyLength = body + wordAt + static_cast<int32_t>(N) + 2;
    s->Line = out + N + 2;
    s->LineLength = 0;
    s->SpacePending = 0;
  }
  s->NoBreak = 0;
  return true;
}

// Where the words of kept words start: bit i set for a backslash at byte i.
// Words of up to kLongestMarkedWords bytes can be marked.
struct WordStarts {
  uint64_t Bits[2];
};
constexpr int32_t kLongestMarkedWords = 128;
WordStarts MarkWordStarts(const char *words, int32_t length);

// PutWords for kept words whose starts are marked, in a buffer of N bytes
// (31 more than the longest marked words): copied in whole blocks, and where
// the line must end (before the first word that would start past column 150)
// found from the marks. Words this short end the line at most once.
template <size_t N>
inline int32_t PutMarkedWords(Document *doc, OutputStream *s, const char (&words)[N],
                              int32_t length, const WordStarts &starts) {
  constexpr int32_t kBlock = 32;
  static_assert(N >= kLongestMarkedWords + kBlock - 1 &&
                kBackslashBreak + kLongestMarkedWords <= kLineRoom);
  const int32_t len = s->LineLength;
  if (len > kBackslashBreak || (s->StreamFlags & STREAM_RAW_TEXT) || length > kLongestMarkedWords)
    return PutWords(doc, s, words, length);
  CopyBlocks<kLongestMarkedWords>(s->Line + len, words);
  const int32_t from = kBackslashBreak + 1 - len;  // the words from here on start past 150
  int32_t cut = length;
  if (from < length) {
    const uint64_t low = from < 64 ? starts.Bits[0] & (~0ull << from) : 0;
    const uint64_t high = from < 64 ? starts.Bits[1] : starts.Bits[1] & (~0ull << (from - 64));
    if (low)
      cut = __builtin_ctzll(low);
    else if (high)
      cut = 64 + __builtin_ctzll(high);
  }
  if (cut < length) {
    s->LineLength = len + cut;
    if (!FlushRtfLine(doc, s)) return 0;
    char *line = s->Line;
    for (int32_t i = 0; i < length - cut; i += kBlock) std::memcpy(line + i, words + cut + i, kBlock);
    s->LineLength = length - cut;
  } else {
    s->LineLength = len + length;
  }
  s->SpacePending = 1;
  s->NoBreak = 0;
  return 1;
}

// Grows the body to hold `needed` bytes: capacity grows by a quarter, or to
// `needed` when that is more. Reports under `caption` on failure.
int32_t GrowBody(Document *doc, OutputStream *s, int64_t needed, const char *caption);

// Conveniences built on the routines above.
// "\\word" for a word chosen while running...
inline int32_t PutWordNamed(Document *doc, OutputStream *s, const char *word) {
  return PutWordNumber(doc, s, word, 0, 0);
}
// ...and for a constant one of at most 32 letters: straight into the line
// while the line holds at most 150 characters, as PutWordNumber's quick path.
template <size_t N>
inline int32_t PutWord(Document *doc, OutputStream *s, const char (&word)[N]) {
  static_assert(N >= 2 && N <= 33);
  const int32_t len = s->LineLength;
  if (len > kBackslashBreak) return PutWordNumber(doc, s, word, 0, 0);
  char *out = s->Line + len;  // read once: a byte stored might have changed it
  out[0] = '\\';
  std::memcpy(out + 1, word, N - 1);
  s->LineLength = len + static_cast<int32_t>(N);
  s->SpacePending = 1;
  s->NoBreak = 0;
  return 1;
}
// ...and with a value: as PutWordNumber's quick path.
template <size_t N>
inline int32_t PutWord(Document *doc, OutputStream *s, const char (&word)[N], int32_t value) {
  static_assert(N >= 2 && N <= 33);
  const int32_t len = s->LineLength;
  if (len > kBackslashBreak) return PutWordNumber(doc, s, word, 1, value);
  char *out = s->Line + len;
  out[0] = '\\';
  std::memcpy(out + 1, word, N - 1);
  s->LineLength = len + static_cast<int32_t>(N) + FormatDecimal(out + N, value);
  s->SpacePending = 1;
  s->NoBreak = 0;
  return 1;
}
inline int32_t PutWordValue(Document *doc, OutputStream *s, const char *word, int32_t value) {
  return PutWordNumber(doc, s, word, 1, value);
}
inline int32_t PutText(Document *doc, OutputStream *s, const char *text) {
  return text ? PutRtfText(doc, s, text, static_cast<int32_t>(std::strlen(text))) : 1;
}
// A UTF-16 unit as "\uN" and the fallback "?" for readers without Unicode.
inline int32_t PutUnicodeUnit(Document *doc, OutputStream *s, uint32_t unit) {
  return PutWordValue(doc, s, "u", static_cast<int32_t>(unit)) && PutRtfText(doc, s, "?", 1);
}
// PutRtfChar for a brace with no blank due: before column 76 no rule can
// end the line, and the brace goes straight in.
inline int32_t PutBrace(Document *doc, OutputStream *s, char brace) {
  const int32_t len = s->LineLength;
  if (len >= kSoftBreakColumn) return PutRtfChar(doc, s, brace);
  s->Line[len] = brace;
  s->LineLength = len + 1;
  return 1;
}
// "{" counted in GroupDepth, with no blank before it.
inline int32_t OpenGroup(Document *doc, OutputStream *s) {
  ++s->GroupDepth;
  s->SpacePending = 0;
  return PutBrace(doc, s, '{');
}
// "}" counted in GroupDepth, with no blank before it.
inline int32_t CloseGroup(Document *doc, OutputStream *s) {
  --s->GroupDepth;
  s->SpacePending = 0;
  return PutBrace(doc, s, '}');
}

}  // namespace dox
