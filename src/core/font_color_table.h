// The font and colour tables of a document. RTF refers to both by index.
#pragma once

#include <cstdint>

namespace dox {

struct Document;

struct FontEntry {
  uint32_t Family;  // 16 roman, 32 swiss, 48 modern, 64 script, 80 decorative; 0 unknown
  uint32_t Charset;
  char Name[32];
};
static_assert(sizeof(FontEntry) == 40);

using ColorEntry = uint32_t;  // 0x00BBGGRR

constexpr int32_t kInitialTableCapacity = 10;
constexpr int32_t FontTableBytes(int32_t capacity) { return 40 * capacity + 41; }
constexpr int32_t ColorTableBytes(int32_t capacity) { return 4 * capacity + 5; }

// Appends a font (family and character set from the system); -1 on failure.
int32_t AddToFontTable(Document *doc, const char *name);
// Appends a colour; -1 on failure.
int32_t AddToColorTable(Document *doc, uint32_t color);

// Lookups before adding (the text font's in core/font_lookup.h).
// A bullet font: the name alone, ignoring case.
int32_t FindOrAddBulletFont(Document *doc, const char *name);
// A colour: the exact value. Returns the index as written (from 1 in
// reader-friendly mode, after the empty first entry).
int32_t FindOrAddColor(Document *doc, uint32_t color);

}  // namespace dox
