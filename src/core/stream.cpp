#include "core/stream.h"

#include <algorithm>
#include <array>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>
#endif

#include "core/document.h"
#include "core/errors.h"
#include "core/grow.h"
#include "core/library_state.h"

namespace dox {
namespace {

// How PutRtfText writes each byte.
enum ByteClass : uint8_t {
  kOrdinary,   // the byte itself
  kHex,        // "\'xx"
  kBackslash,  // "\\" (or "\" alone in raw mode)
  kEscaped,    // backslash and the byte: braces
  kNbsp,       // "\~"
  kNbHyphen,   // "\_"
  kParagraph,  // "\par", then the line ends
  kDropped,    // LF
  kTab,
  kPage,
  kColumn,
};

constexpr std::array<uint8_t, 256> kByteClass = [] {
  std::array<uint8_t, 256> t{};
  for (int i = 128; i < 256; ++i) t[i] = kHex;
  t['\\'] = kBackslash;
  t['{'] = kEscaped;
  t['}'] = kEscaped;
  t[14] = kNbsp;
  t[23] = kNbHyphen;
  t[13] = kParagraph;
  t[10] = kDropped;
  t[9] = kTab;
  t[12] = kPage;
  t[22] = kColumn;
  return t;
}();

// The number of leading bytes of p[0, n) that PutRtfText writes as
// themselves. A block of bytes holding no byte below 0x20, none from 0x80 and
// no backslash or brace is ordinary throughout; the bytes such a test flags
// are looked up one by one (bytes below 0x20 are mostly ordinary).
#if defined(__SSE2__)
// The bytes of p[0, 16) that may need escaping, one bit each: those outside
// 0x20-0x7A (the braces, and the rare "|", "~" and DEL with them) and the
// backslash. Shifted by 0x60, 0x20-0x7A are the signed bytes up to -38.
inline uint32_t FlaggedBytes(__m128i x) {
  const __m128i outside =
      _mm_cmpgt_epi8(_mm_add_epi8(x, _mm_set1_epi8(0x60)), _mm_set1_epi8(static_cast<char>(0xDA)));
  const __m128i flagged = _mm_or_si128(outside, _mm_cmpeq_epi8(x, _mm_set1_epi8('\\')));
  return static_cast<uint32_t>(_mm_movemask_epi8(flagged));
}
inline uint32_t FlaggedBytes(const char *p) {
  return FlaggedBytes(_mm_loadu_si128(reinterpret_cast<const __m128i *>(p)));
}

int32_t OrdinaryPrefix(const char *p, int32_t n) {
  int32_t i = 0;
  while (n - i > 0 && n >= 16) {
    uint32_t flagged;
    if (n - i >= 16) {
      flagged = FlaggedBytes(p + i);
      if (!flagged) {
        i += 16;
        continue;
      }
    } else {
      // The last sixteen bytes, the first of them already seen.
      flagged = FlaggedBytes(p + n - 16) >> (i - (n - 16));
      if (!flagged) return n;
    }
    i += __builtin_ctz(flagged);
    if (kByteClass[static_cast<uint8_t>(p[i])] != kOrdinary) return i;
    ++i;
  }
  for (; i < n; ++i)
    if (kByteClass[static_cast<uint8_t>(p[i])] != kOrdinary) return i;
  return n;
}
#else
int32_t OrdinaryPrefix(const char *p, int32_t n) {
  constexpr uint64_t kOnes = 0x0101010101010101ull;
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  auto hasZero = [](uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  auto special = [&](int32_t at) {
    uint64_t x;
    std::memcpy(&x, p + at, 8);
    return (((x - kOnes * 0x20) | x) & kHigh) | hasZero(x ^ (kOnes * '\\')) |
           hasZero(x ^ (kOnes * '{')) | hasZero(x ^ (kOnes * '}'));
  };
  int32_t i = 0;
  while (i < n) {
    if (n - i >= 8) {
      if (!special(i)) {
        i += 8;
        continue;
      }
    } else if (n >= 8 && !special(n - 8)) {
      return n;  // the last eight bytes, some already seen, are ordinary
    }
    int32_t end = n - i >= 8 ? i + 8 : n;
    for (; i < end; ++i)
      if (kByteClass[static_cast<uint8_t>(p[i])] != kOrdinary) return i;
  }
  return n;
}
#endif

#if defined(__SSE2__)
// Sixteen values 0-15 as lower-case hexadecimal digits.
inline __m128i HexDigits(__m128i n) {
  const __m128i letter = _mm_and_si128(_mm_cmpgt_epi8(n, _mm_set1_epi8(9)), _mm_set1_epi8('a' - '0' - 10));
  return _mm_add_epi8(_mm_add_epi8(n, _mm_set1_epi8('0')), letter);
}
#endif

// Each byte's two lower-case hexadecimal digits.
constexpr std::array<std::array<char, 2>, 256> kHexPairs = [] {
  std::array<std::array<char, 2>, 256> t{};
  const char *digits = "0123456789abcdef";
  for (int i = 0; i < 256; ++i) t[i] = {digits[i >> 4], digits[i & 15]};
  return t;
}();

constexpr int32_t kLongLine = 100;        // past this a line ends where it may

// A backslash, then `second` with no line break between the two.
int32_t PutEscape(Document *doc, OutputStream *s, char second) {
  if (!PutRtfChar(doc, s, '\\')) return 0;
  s->StreamFlags |= STREAM_IN_ESCAPE;
  int32_t ok = PutRtfChar(doc, s, second);
  s->StreamFlags &= ~STREAM_IN_ESCAPE;
  return ok;
}

// A run of bytes that PutRtfText writes as themselves. Equivalent to
// PutRtfChar for each byte, but copies whole stretches in which no rule can
// break the line.
int32_t PutOrdinaryRun(Document *doc, OutputStream *s, const char *p, int32_t n) {
  if (s->NoBreak || (s->StreamFlags & STREAM_IN_ESCAPE)) {  // no break: one at a time
    for (; n > 0; ++p, --n)
      if (!PutRtfChar(doc, s, *p)) return 0;
    return 1;
  }
  if (s->SpacePending) {  // the checks below then apply to the first byte
    s->Line[s->LineLength++] = ' ';
    s->SpacePending = 0;
  }
  char *line = s->Line;
  int32_t len = s->LineLength;
  while (n > 0) {
    if ((len >= kSoftBreakColumn && line[len - 1] == ' ') || len > kLongLine) {
      s->LineLength = len;
      if (!FlushRtfLine(doc, s)) return 0;
      line = s->Line;
      len = 0;
    }
    // Up to column 76 nothing can end the line; from there up to and
    // including the next blank, while the line stays within 101.
    int32_t k = len < kSoftBreakColumn ? std::min(n, kSoftBreakColumn - len) : 0;
    if (k < n && (k == 0 || p[k - 1] != ' ')) {
      int32_t m = std::min(n - k, kLongLine + 1 - len - k);
      const void *blank = std::memchr(p + k, ' ', static_cast<size_t>(m));
      k = blank ? static_cast<int32_t>(static_cast<const char *>(blank) - p) + 1 : k + m;
    }
    std::memcpy(line + len, p, static_cast<size_t>(k));
    len += k;
    p += k;
    n -= k;
  }
  s->LineLength = len;
  return 1;
}

}  // namespace

int32_t PutRtfChar(Document *doc, OutputStream *s, char ch) {
  if (s->SpacePending) {
    s->Line[s->LineLength++] = ' ';
    s->SpacePending = 0;
  }
  if (!s->NoBreak && !(s->StreamFlags & STREAM_IN_ESCAPE)) {
    if (s->LineLength >= kSoftBreakColumn && s->Line[s->LineLength - 1] == ' ' &&
        !FlushRtfLine(doc, s))
      return 0;
    if (s->LineLength > kLongLine && !FlushRtfLine(doc, s)) return 0;
  }
  if (ch == '\\' && !(s->StreamFlags & STREAM_RAW_TEXT) && s->LineLength > kBackslashBreak &&
      !FlushRtfLine(doc, s))
    return 0;
  if (s->LineLength + 2 > kMaxLineLength && !FlushRtfLine(doc, s)) return 0;
  s->Line[s->LineLength++] = ch;
  return 1;
}

namespace {

// A byte that is not written as itself: escaped, or the word it stands for.
__attribute__((noinline)) int32_t PutSpecialByte(Document *doc, OutputStream *s, uint8_t byte) {
  switch (kByteClass[byte]) {
    case kHex: return PutRtfHexByte(doc, s, byte);
    case kBackslash:
      return (s->StreamFlags & STREAM_RAW_TEXT) ? PutRtfChar(doc, s, '\\')
                                                : PutEscape(doc, s, '\\');
    case kEscaped: return PutEscape(doc, s, static_cast<char>(byte));
    case kNbsp: return PutEscape(doc, s, '~');
    case kNbHyphen: return PutEscape(doc, s, '_');
    case kParagraph: return PutWord(doc, s, "par") && FlushRtfLine(doc, s);
    case kTab: return PutWord(doc, s, "tab");
    case kPage: return PutWord(doc, s, "page");
    case kColumn: return PutWord(doc, s, "column");
    default: return 1;  // kDropped
  }
}

}  // namespace

int32_t PutRtfText(Document *doc, OutputStream *s, const char *text, int32_t length) {
  int32_t i = 0;
  while (i < length) {
    const int32_t j = i + OrdinaryPrefix(text + i, length - i);
    if (j > i) {
      if (!PutOrdinaryRun(doc, s, text + i, j - i)) return 0;
      if (j == length) return 1;
      i = j;
    }
    if (!PutSpecialByte(doc, s, static_cast<uint8_t>(text[i]))) return 0;
    ++i;
  }
  return 1;
}

#if defined(__SSE2__)
namespace {

// Text is copied into the line up to this column at a time (the bytes past a
// line's end are copied again to the next line); the line's room holds that
// and the 32 bytes a block may store past it.
constexpr int32_t kCopyEnd = 272;
static_assert(kCopyEnd + 32 <= kLineRoom && kLongLine + 32 <= kLineRoom);

}  // namespace

// The text writer for any x86-64 processor, and for those with AVX2.
namespace narrow {
namespace {
#define DOX_TEXT_BLOCK 16
#include "core/stream_text.inc"
#undef DOX_TEXT_BLOCK
}  // namespace
}  // namespace narrow
#if defined(__x86_64__) && defined(__GNUC__)
#define DOX_WIDE_TEXT 1
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC push_options
#pragma GCC target("avx2")
#endif
namespace wide {
namespace {
#define DOX_TEXT_BLOCK 32
#include "core/stream_text.inc"
#undef DOX_TEXT_BLOCK
}  // namespace
}  // namespace wide
#if defined(__clang__)
#pragma clang attribute pop
#else
#pragma GCC pop_options
#endif
#endif

// A short text of ordinary bytes that ends before column 76, where no rule
// can end the line (a table cell's text, say), goes in as one block. That is
// tried after a short text: texts tend to come in runs of one kind.
DOX_READS_PAST_NUL int32_t PutRtfTextToNul(Document *doc, OutputStream *s, const char *text) {
  if (s->ShortTexts && ReadStaysInPage(text, 16)) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text));
    // Texts of sixteen ordinary bytes or more go on at once.
    if (const uint32_t flagged = FlaggedBytes(x)) {
      const int32_t n = __builtin_ctz(flagged);
      const int32_t len = s->LineLength;
      const int32_t start = len + (s->SpacePending ? 1 : 0);  // after the blank due
      // (No line can end there, so NoBreak changes nothing.)
      if (text[n] == '\0' && start + n <= kSoftBreakColumn) {
        doc->AtParaStart = 0;
        if (n == 0) return 1;  // nothing to write, and no blank due is written
        char *line = s->Line;
        _mm_storeu_si128(reinterpret_cast<__m128i *>(line + start), x);
        if (start > len) {
          line[len] = ' ';
          s->SpacePending = 0;
        }
        s->LineLength = start + n;
        return 1;
      }
    }
    s->ShortTexts = 0;  // until the next short one
  }
#if defined(DOX_WIDE_TEXT)
  if (Lib().WideBlocks) return wide::PutLongerTextToNul(doc, s, text);
#endif
  return narrow::PutLongerTextToNul(doc, s, text);
}
#else
int32_t PutRtfTextToNul(Document *doc, OutputStream *s, const char *text) {
  const size_t n = std::strlen(text);
  doc->AtParaStart = n >= 2 && text[n - 2] == '\r' && text[n - 1] == '\n';
  return PutRtfText(doc, s, text, static_cast<int32_t>(n));
}
#endif

int32_t PutRtfHexByte(Document *doc, OutputStream *s, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (!PutRtfChar(doc, s, '\\')) return 0;
  if (s->LineLength + 4 <= kMaxLineLength) {  // the three characters fit: no rule applies
    char *out = s->Line + s->LineLength;
    out[0] = '\'';
    out[1] = kHexPairs[byte][0];
    out[2] = kHexPairs[byte][1];
    s->LineLength += 3;
    s->StreamFlags &= ~STREAM_IN_ESCAPE;
    return 1;
  }
  s->StreamFlags |= STREAM_IN_ESCAPE;
  int32_t ok = PutRtfChar(doc, s, '\'') && PutRtfChar(doc, s, kDigits[byte >> 4]);
  if (ok) {
    int32_t saved = s->NoBreak;
    s->NoBreak = 1;
    ok = PutRtfChar(doc, s, kDigits[byte & 15]);
    s->NoBreak = saved;
  }
  s->StreamFlags &= ~STREAM_IN_ESCAPE;
  return ok;
}

int32_t PutControlWord(Document *doc, OutputStream *s, const char *word, int32_t mode,
                       double value) {
  // Truncated toward zero to int32; values outside its range saturate.
  int32_t v = 0;
  if (value >= 2147483647.0)
    v = 2147483647;
  else if (value <= -2147483648.0)
    v = INT32_MIN;
  else if (!std::isnan(value))
    v = static_cast<int32_t>(value);
  return PutWordNumber(doc, s, word, mode == 1, v);
}

namespace {

// PutWordNumber for any word, character by character under the text rules.
__attribute__((noinline)) int32_t PutWordSlowly(Document *doc, OutputStream *s,
                                                const char *word, int32_t hasValue,
                                                int32_t value) {
  if (!PutRtfChar(doc, s, '\\') || !PutText(doc, s, word)) return 0;
  char digits[16];
  if (hasValue && !PutRtfText(doc, s, digits, FormatDecimal(digits, value))) return 0;
  s->SpacePending = 1;
  s->NoBreak = 0;
  return 1;
}

}  // namespace

int32_t PutWordNumber(Document *doc, OutputStream *s, const char *word, int32_t hasValue,
                      int32_t value) {
  constexpr int32_t kLongestQuickWord = 32;
  s->SpacePending = 0;
  s->NoBreak = 1;
  // With no break allowed inside the word only two rules remain: a break
  // before the backslash past column 150, and one before any character at the
  // hard limit. While the line holds at most 150 characters neither applies to
  // a word of up to 32 ordinary bytes and its number: these go straight into
  // the line.
  int32_t length = s->LineLength;
  if (length > kBackslashBreak && !(s->StreamFlags & STREAM_RAW_TEXT)) {
    // The line ends before the backslash, as PutRtfChar would end it.
    if (!FlushRtfLine(doc, s)) return 0;
    length = 0;
  }
  if (word && length <= kBackslashBreak && length + 2 + kLongestQuickWord + 11 <= kMaxLineLength) {
    char *out = s->Line + length;
    *out++ = '\\';
    int32_t i = 0;
    for (; i <= kLongestQuickWord; ++i) {
      auto c = static_cast<uint8_t>(word[i]);
      if (!c || kByteClass[c] != kOrdinary) break;
      out[i] = static_cast<char>(c);
    }
    if (i <= kLongestQuickWord && !word[i]) {
      out += i;
      if (hasValue) out += FormatDecimal(out, value);
      s->LineLength = static_cast<int32_t>(out - s->Line);
      s->SpacePending = 1;
      s->NoBreak = 0;
      return 1;
    }
  }
  return PutWordSlowly(doc, s, word, hasValue, value);
}

WordStarts MarkWordStarts(const char *words, int32_t length) {
  WordStarts starts{};
  for (int32_t i = 0; i < length && i < kLongestMarkedWords; ++i)
    starts.Bits[i >> 6] |= static_cast<uint64_t>(words[i] == '\\') << (i & 63);
  return starts;
}

int32_t PutWords(Document *doc, OutputStream *s, const char *words, int32_t length) {
  int32_t i = 0;
  while (i < length) {
    // Only two rules apply inside control words: a break before a backslash
    // past column 150 and, at 300, before any character.
    s->SpacePending = 0;  // as at the start of each word: no blank before it
    s->NoBreak = 1;
    int32_t len = s->LineLength;
    if (len > kBackslashBreak) {
      if (s->StreamFlags & STREAM_RAW_TEXT) break;  // no break before a backslash
      if (!FlushRtfLine(doc, s)) return 0;
      len = 0;
    }
    // The words that start within column 150 go in as they are: a word of at
    // most 32 letters and a number ends long before column 300.
    int32_t end = i + (kBackslashBreak - len) + 1;
    if (end >= length)
      end = length;
    else
      while (end < length && words[end] != '\\') ++end;  // the first word past 150
    std::memcpy(s->Line + len, words + i, static_cast<size_t>(end - i));
    s->LineLength = len + (end - i);
    s->SpacePending = 1;
    s->NoBreak = 0;
    i = end;
  }
  while (i < length) {  // raw text, where no line ends before a backslash: word by word
    int32_t end = i + 1;
    while (end < length && words[end] != '\\') ++end;
    char word[64];
    const auto n = static_cast<size_t>(std::min(end - i - 1, 63));
    std::memcpy(word, words + i + 1, n);
    word[n] = '\0';
    if (!PutWordNumber(doc, s, word, 0, 0)) return 0;
    i = end;
  }
  return 1;
}

int32_t PutHexDigits(Document *doc, OutputStream *s, const uint8_t *bytes, uint32_t count) {
  uint32_t i = 0;
  while (i < count) {
    if (s->SpacePending || s->NoBreak || (s->StreamFlags & STREAM_IN_ESCAPE) ||
        (s->LineLength >= kSoftBreakColumn && s->Line[s->LineLength - 1] == ' ')) {
      // One byte under the per-character rules.
      if (!PutRtfChar(doc, s, kHexPairs[bytes[i]][0])) return 0;
      int32_t saved = s->NoBreak;
      s->NoBreak = 1;
      int32_t ok = PutRtfChar(doc, s, kHexPairs[bytes[i]][1]);
      s->NoBreak = saved;
      if (!ok) return 0;
      ++i;
      continue;
    }
    if (s->LineLength > kLongLine && !FlushRtfLine(doc, s)) return 0;
    // A byte may start while the line holds at most 100 characters, so the
    // line ends after 101 or 102 of them.
    uint32_t fit = static_cast<uint32_t>((kLongLine - s->LineLength) / 2 + 1);
    uint32_t k = count - i < fit ? count - i : fit;
    char *out = s->Line + s->LineLength;
    const uint8_t *in = bytes + i;
    uint32_t j = 0;
#if defined(__SSE2__)
    // Sixteen bytes at a time while the input holds them, even past the
    // line's share: the digits past it land in the line's room and are
    // written over; the loops below then have nothing left to do.
    for (; j < k && count - i - j >= 16; j += 16, out += 32) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in + j));
      const __m128i nibble = _mm_set1_epi8(0x0F);
      const __m128i high = _mm_and_si128(_mm_srli_epi16(x, 4), nibble);
      const __m128i low = _mm_and_si128(x, nibble);
      _mm_storeu_si128(reinterpret_cast<__m128i *>(out), HexDigits(_mm_unpacklo_epi8(high, low)));
      _mm_storeu_si128(reinterpret_cast<__m128i *>(out + 16), HexDigits(_mm_unpackhi_epi8(high, low)));
    }
#endif
    for (; j + 4 <= k; j += 4, out += 8) {
      char eight[8];
      std::memcpy(eight, kHexPairs[in[j]].data(), 2);
      std::memcpy(eight + 2, kHexPairs[in[j + 1]].data(), 2);
      std::memcpy(eight + 4, kHexPairs[in[j + 2]].data(), 2);
      std::memcpy(eight + 6, kHexPairs[in[j + 3]].data(), 2);
      std::memcpy(out, eight, 8);
    }
    for (; j < k; ++j, out += 2) std::memcpy(out, kHexPairs[in[j]].data(), 2);
    s->LineLength += static_cast<int32_t>(2 * k);
    i += k;
  }
  return 1;
}

int32_t GrowBody(Document *doc, OutputStream *s, int64_t needed, const char *caption) {
  int64_t capacity = s->BodyCapacity + s->BodyCapacity / 4;
  if (needed > capacity) capacity = needed;
  if (capacity > INT32_MAX - 2) {
    ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurRealloc", doc);
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, caption);
    return 0;
  }
  s->BodyCapacity = static_cast<int32_t>(capacity);
  // The line, kept should the body be lost.
  if (s->Line != s->Spare) std::memcpy(s->Spare, s->Line, static_cast<size_t>(s->LineLength));
  void *p = s->Body;
  bool ok = GrowBlock(doc, s->BodyHandle, p,
                      kBodyRoomBefore + static_cast<size_t>(capacity) + 2 + kLineRoom, caption);
  s->Body = p ? static_cast<char *>(p) + s->Lead : nullptr;
  LineAfterBody(s);
  if (ok) AlignBodyToFrame(doc);  // the block may have moved
  return ok ? 1 : 0;
}

// FlushRtfLine when the body must grow first (or was lost).
int32_t FlushIntoGrownBody(Document *doc, OutputStream *s) {
  if (!s->Body) return ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "FlushRtfLine");  // lost earlier
  const int32_t len = s->LineLength;
  std::memcpy(s->Line + len, "\r\n", 2);
  s->LineLength = len + 2;
  if (!GrowBody(doc, s, static_cast<int64_t>(s->BodyLength) + len + 2, "FlushRtfLine")) {
    s->LineLength = len;
    return 0;
  }
  s->BodyLength += len + 2;  // the line is already in place
  s->Line += len + 2;
  s->LineLength = 0;
  s->SpacePending = 0;
  return 1;
}

}  // namespace dox
