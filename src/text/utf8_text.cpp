// UTF-8 text and DoxInsertUtf8Text.
#include "text/utf8_text.h"

#include <cstring>

#include "core/errors.h"
#include "core/sequence_rules.h"
#include "dox.h"

namespace dox {
namespace {

// Decodes the sequence at p (avail bytes left): its length, or 0 when it is
// malformed.
size_t DecodeOne(const uint8_t *p, size_t avail, uint32_t *cp) {
  uint8_t b = p[0];
  if (b < 0x80) {
    *cp = b;
    return 1;
  }
  size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 0;
  if (n == 0 || b > 0xF4 || n > avail) return 0;
  static constexpr uint32_t kSmallest[5] = {0, 0, 0x80, 0x800, 0x10000};
  uint32_t v = b & (0x7F >> n);
  for (size_t i = 1; i < n; ++i) {
    if ((p[i] & 0xC0) != 0x80) return 0;
    v = v << 6 | (p[i] & 0x3F);
  }
  if (v < kSmallest[n] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  *cp = v;
  return n;
}

}  // namespace

bool IsUtf8(const char *text, size_t length) {
  auto *p = reinterpret_cast<const uint8_t *>(text);
  uint32_t cp;
  for (size_t i = 0; i < length;) {
    size_t n = DecodeOne(p + i, length - i, &cp);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

int32_t PutUtf8Text(Document *doc, OutputStream *s, const char *text, size_t length,
                    Utf8Mode mode) {
  auto *p = reinterpret_cast<const uint8_t *>(text);
  bool field = mode == Utf8Mode::Instruction;
  size_t i = 0;
  while (i < length) {
    // A run of characters below 128 that are written as they are.
    size_t j = i;
    while (j < length && p[j] < 0x80 && p[j] != '\r' && p[j] != '\n' &&
           !(field && (p[j] < 0x20 || p[j] == '"' || p[j] == '\\')))
      ++j;
    if (j > i && !PutRtfText(doc, s, text + i, static_cast<int32_t>(j - i))) return 0;
    if (j == length) break;
    uint32_t cp = 0;
    size_t n = DecodeOne(p + j, length - j, &cp);
    if (n == 0) return 0;  // the caller checked the text
    i = j + n;
    int32_t ok = 1;
    if (field && cp < 0x20) {
      // left out
    } else if (field && cp < 0x80) {  // quote or backslash: escaped for the field
      const char escaped[2] = {'\\', static_cast<char>(cp)};
      ok = PutRtfText(doc, s, escaped, 2);
    } else if (cp == '\r' || cp == '\n') {
      if (cp == '\r' && i < length && p[i] == '\n') ++i;
      ok = PutRtfText(doc, s, "\r", 1);
    } else if (cp >= 0x10000) {
      ok = PutUnicodeUnit(doc, s, 0xD800 + ((cp - 0x10000) >> 10)) &&
           PutUnicodeUnit(doc, s, 0xDC00 + ((cp - 0x10000) & 0x3FF));
    } else {
      ok = PutUnicodeUnit(doc, s, cp);
    }
    if (!ok) return 0;
  }
  return 1;
}

}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInsertUtf8Text(DOXDOC handle, const char *text) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  size_t n = text ? std::strlen(text) : 0;
  if (!IsUtf8(text, n)) return ReportError(doc, DOX_ERR_BAD_UTF8, "DoxInsertUtf8Text");
  if (!EnsureTextPosition(doc, rules::Text("DoxInsertUtf8Text"))) return 0;
  doc->AtParaStart = n > 0 && (text[n - 1] == '\r' || text[n - 1] == '\n');
  return PutUtf8Text(doc, doc->Stream, text, n, Utf8Mode::Text);
}

}  // extern "C"
