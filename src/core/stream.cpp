#include "core/stream.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "core/document.h"
#include "core/errors.h"
#include "core/grow.h"

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

constexpr int32_t kSoftBreakColumn = 76;  // a line ends after a blank from here on
constexpr int32_t kLongLine = 100;        // past this a line ends where it may
constexpr int32_t kBackslashBreak = 150;  // past this a line ends before a backslash

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
  while (n > 0) {
    if (s->SpacePending || s->NoBreak || (s->StreamFlags & STREAM_IN_ESCAPE)) {
      if (!PutRtfChar(doc, s, *p)) return 0;
      ++p;
      --n;
      continue;
    }
    if ((s->LineLength >= kSoftBreakColumn && s->Line[s->LineLength - 1] == ' ') ||
        s->LineLength > kLongLine) {
      if (!FlushRtfLine(doc, s)) return 0;
    }
    int32_t k;
    if (s->LineLength < kSoftBreakColumn) {
      k = std::min(n, kSoftBreakColumn - s->LineLength);
    } else {
      // Up to and including the next blank, while the line stays within 101.
      k = std::min(n, kLongLine + 1 - s->LineLength);
      if (const void *blank = std::memchr(p, ' ', static_cast<size_t>(k)))
        k = static_cast<int32_t>(static_cast<const char *>(blank) - p) + 1;
    }
    std::memcpy(s->Line + s->LineLength, p, static_cast<size_t>(k));
    s->LineLength += k;
    p += k;
    n -= k;
  }
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

int32_t PutRtfText(Document *doc, OutputStream *s, const char *text, int32_t length) {
  int32_t i = 0;
  while (i < length) {
    auto byte = static_cast<uint8_t>(text[i]);
    uint8_t cls = kByteClass[byte];
    if (cls == kOrdinary) {
      int32_t j = i + 1;
      while (j < length && kByteClass[static_cast<uint8_t>(text[j])] == kOrdinary) ++j;
      if (!PutOrdinaryRun(doc, s, text + i, j - i)) return 0;
      i = j;
      continue;
    }
    int32_t ok = 1;
    switch (cls) {
      case kHex: ok = PutRtfHexByte(doc, s, byte); break;
      case kBackslash:
        ok = (s->StreamFlags & STREAM_RAW_TEXT) ? PutRtfChar(doc, s, '\\')
                                                : PutEscape(doc, s, '\\');
        break;
      case kEscaped: ok = PutEscape(doc, s, static_cast<char>(byte)); break;
      case kNbsp: ok = PutEscape(doc, s, '~'); break;
      case kNbHyphen: ok = PutEscape(doc, s, '_'); break;
      case kParagraph: ok = PutWord(doc, s, "par") && FlushRtfLine(doc, s); break;
      case kDropped: break;
      case kTab: ok = PutWord(doc, s, "tab"); break;
      case kPage: ok = PutWord(doc, s, "page"); break;
      case kColumn: ok = PutWord(doc, s, "column"); break;
    }
    if (!ok) return 0;
    ++i;
  }
  return 1;
}

int32_t PutRtfHexByte(Document *doc, OutputStream *s, uint8_t byte) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (!PutRtfChar(doc, s, '\\')) return 0;
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
  s->SpacePending = 0;
  s->NoBreak = 1;
  if (!PutRtfChar(doc, s, '\\') || !PutText(doc, s, word)) return 0;
  if (mode == 1) {
    // Truncated toward zero to int32; values outside its range saturate.
    int32_t v = 0;
    if (value >= 2147483647.0)
      v = 2147483647;
    else if (value <= -2147483648.0)
      v = INT32_MIN;
    else if (!std::isnan(value))
      v = static_cast<int32_t>(value);
    char digits[16];
    int n = std::snprintf(digits, sizeof digits, "%ld", static_cast<long>(v));
    if (!PutRtfText(doc, s, digits, n)) return 0;
  }
  s->SpacePending = 1;
  s->NoBreak = 0;
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
  void *p = s->Body;
  bool ok = GrowBlock(doc, s->BodyHandle, p, static_cast<size_t>(capacity) + 2, caption);
  s->Body = static_cast<char *>(p);
  return ok ? 1 : 0;
}

int32_t FlushRtfLine(Document *doc, OutputStream *s) {
  if (s->LineLength == 0) return 1;
  if (!s->Body) return ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "FlushRtfLine");  // lost earlier
  s->Line[s->LineLength++] = '\r';
  s->Line[s->LineLength++] = '\n';
  if (s->BodyLength + s->LineLength > s->BodyCapacity &&
      !GrowBody(doc, s, static_cast<int64_t>(s->BodyLength) + s->LineLength, "FlushRtfLine")) {
    s->LineLength -= 2;
    return 0;
  }
  std::memcpy(s->Body + s->BodyLength, s->Line, static_cast<size_t>(s->LineLength));
  s->BodyLength += s->LineLength;
  s->LineLength = 0;
  s->SpacePending = 0;
  return 1;
}

}  // namespace dox
