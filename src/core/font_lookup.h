// The text font lookup of the formatting calls, its common case inline: the
// font found last, asked for again.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/document.h"

namespace dox {

// The entry's name is byte for byte `name`: the common case, decided
// without the case-folding comparison. (A name longer than an entry keeps
// is never the same here: the entry's last byte is always NUL.) The first
// sixteen bytes are compared at once when the host's name has sixteen bytes
// before its page ends; `entry` is a whole entry name of 32 bytes.
DOX_READS_PAST_NUL DOX_INLINE_READER inline bool SameFontBytes(const char *entry, const char *name) {
  size_t start = 0;
#if defined(__SSE2__)
  static_assert(sizeof(FontEntry::Name) >= 16);
  if (ReadStaysInPage(name, 16)) {
    const __m128i e = _mm_loadu_si128(reinterpret_cast<const __m128i *>(entry));
    const __m128i n = _mm_loadu_si128(reinterpret_cast<const __m128i *>(name));
    const uint32_t differ = ~static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(e, n))) & 0xFFFF;
    const uint32_t ends =
        static_cast<uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(e, _mm_setzero_si128())));
    // Up to and including the entry's NUL, if it is among them.
    if (ends) return (differ & ((ends ^ (ends - 1)))) == 0;
    if (differ) return false;
    start = 16;
  }
#endif
  for (size_t i = start;; ++i) {
    const char c = entry[i];
    if (c != name[i]) return false;
    if (c == '\0') return true;
  }
}

// FindOrAddTextFont past its common case.
int32_t FindOrAddTextFontSlowly(Document *doc, const char *name, int32_t charset);

// A text font: the name ignoring case and, unless charset is -1, the
// character set; a new entry takes the requested character set.
inline int32_t FindOrAddTextFont(Document *doc, const char *name, int32_t charset) {
  if (!name) name = "";
  // The last entry found, asked for again: entries are only ever appended, so
  // no earlier one can match a name that matched none of them before.
  const int32_t last = doc->LastFont - 1;
  if (last >= 0 && doc->Fonts && last < doc->FontCount && charset == doc->LastFontCharset &&
      SameFontBytes(doc->Fonts[last].Name, name))
    return last;
  return FindOrAddTextFontSlowly(doc, name, charset);
}

}  // namespace dox
