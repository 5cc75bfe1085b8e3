#include "core/font_color_table.h"

#include <strings.h>

#include <cstring>

#include "core/document.h"
#include "core/errors.h"
#include "core/font_lookup.h"
#include "core/grow.h"
#include "core/muldiv.h"
#include "core/reader_friendly.h"
#include "dox.h"

namespace dox {
namespace {

bool SameName(const char *a, const char *b) {
#if defined(_WIN32)
  return _stricmp(a, b) == 0;
#else
  return strcasecmp(a, b) == 0;
#endif
}

// Makes room for one more entry: capacity grows by a quarter, rounded.
template <typename T>
bool Reserve(Document *doc, T *&table, plat::MemHandle &handle, int32_t count,
             int32_t &capacity, int32_t (*bytes)(int32_t), const char *caption) {
  if (count < capacity) return true;
  int32_t grown = MulDiv(capacity, 5, 4);
  void *p = table;
  if (!GrowBlock(doc, handle, p, static_cast<size_t>(bytes(grown)), caption)) {
    table = nullptr;
    return false;
  }
  table = static_cast<T *>(p);
  capacity = grown;
  return true;
}

}  // namespace

int32_t AddToFontTable(Document *doc, const char *name) {
  if (!doc->Fonts ||
      !Reserve(doc, doc->Fonts, doc->FontsHandle, doc->FontCount, doc->FontCapacity,
               FontTableBytes, "AddToFontTable"))
    return -1;
  int32_t index = doc->FontCount++;
  FontEntry &e = doc->Fonts[index];
  std::memset(&e, 0, sizeof e);
  if (name) std::strncpy(e.Name, name, sizeof e.Name - 1);
  doc->EnumFontIndex = index;
  plat::EnumFontFaces(e.Name, DoxEnumFont, reinterpret_cast<intptr_t>(doc->Handle));
  return index;
}

int32_t AddToColorTable(Document *doc, uint32_t color) {
  if (!doc->Colors ||
      !Reserve(doc, doc->Colors, doc->ColorsHandle, doc->ColorCount, doc->ColorCapacity,
               ColorTableBytes, "AddToColorTable"))
    return -1;
  doc->Colors[doc->ColorCount] = color;
  const int32_t index = doc->ColorCount++;
  AlignBodyToFrame(doc);  // the frame before the body grew
  return index;
}

namespace {

// The first entry of `name` (and `charset`, unless -1), or a new one.
__attribute__((noinline)) int32_t FindOrAddFont(Document *doc, const char *name, int32_t charset) {
  // An entry keeps the first 31 characters of a name: a longer name matches
  // the entry it made instead of adding one more each time.
  char kept[sizeof(FontEntry::Name)];
  bool haveKept = false;
  for (int32_t i = 0; doc->Fonts && i < doc->FontCount; ++i) {
    const FontEntry &e = doc->Fonts[i];
    if (charset != -1 && e.Charset != static_cast<uint32_t>(charset)) continue;
    if (SameFontBytes(e.Name, name)) return i;
    if (!haveKept) {
      std::memset(kept, 0, sizeof kept);
      std::strncpy(kept, name, sizeof kept - 1);
      haveKept = true;
    }
    if (SameName(e.Name, kept)) return i;
  }
  int32_t index = AddToFontTable(doc, name);
  if (index >= 0 && charset != -1) doc->Fonts[index].Charset = static_cast<uint32_t>(charset);
  if (index >= 0) AlignBodyToFrame(doc);  // the frame before the body grew
  return index;
}

}  // namespace

int32_t FindOrAddTextFontSlowly(Document *doc, const char *name, int32_t charset) {
  // The entry found before the last one, asked for again (a heading's font
  // and the text's, say), is known as the last one is.
  const int32_t prev = doc->PrevFont - 1;
  const int32_t found = prev >= 0 && doc->Fonts && prev < doc->FontCount &&
                                charset == doc->PrevFontCharset &&
                                SameFontBytes(doc->Fonts[prev].Name, name)
                            ? prev
                            : FindOrAddFont(doc, name, charset);
  doc->PrevFont = doc->LastFont;
  doc->PrevFontCharset = doc->LastFontCharset;
  doc->LastFont = found + 1;
  doc->LastFontCharset = charset;
  return found;
}

int32_t FindOrAddBulletFont(Document *doc, const char *name) {
  return FindOrAddTextFont(doc, name, -1);
}

int32_t FindOrAddColor(Document *doc, uint32_t color) {
  // Reader-friendly mode writes an empty entry before the table's colours.
  const int32_t first = ReaderFriendly(doc) ? 1 : 0;
  for (int32_t i = 0; doc->Colors && i < doc->ColorCount; ++i)
    if (doc->Colors[i] == color) return i + first;
  int32_t index = AddToColorTable(doc, color);
  return index < 0 ? index : index + first;
}

}  // namespace dox

extern "C" DOXEXPORT int32_t DOXAPI DoxEnumFont(const void *logFont, const void *,
                                                uint32_t, intptr_t user) {
  // `user` is the document's handle, checked as any export checks it.
  dox::Document *doc = dox::FromHandle(reinterpret_cast<DoxDocumentTag *>(user));
  const auto *lf = static_cast<const dox::plat::LogFont *>(logFont);
  if (!doc || !lf || !doc->Fonts || doc->EnumFontIndex < 0 ||
      doc->EnumFontIndex >= doc->FontCount)
    return 0;
  dox::FontEntry &e = doc->Fonts[doc->EnumFontIndex];
  e.Family = lf->lfPitchAndFamily & 0xF0u;
  e.Charset = lf->lfCharSet;
  return 0;
}
