// Pictures: picture files, linked pictures and pasting.
//
// Besides the exports, one pseudo-call prepares the clipboard for a paste:
//
//   ClipboardPutFile FORMAT "file" MM XEXT YEXT
//
// puts the bytes of "file" on the clipboard as FORMAT: PICT_FORMAT_DIB takes
// the packed bitmap (a bitmap file's 14-byte file header is skipped),
// PICT_FORMAT_ENHMETAFILE an enhanced metafile made from the bytes, and
// PICT_FORMAT_METAFILEPICT a metafile made from the bytes (a placeable
// header is skipped) in a metafile picture with the mapping mode MM and the
// extents XEXT and YEXT; any other format gets the bytes as they are. MM,
// XEXT and YEXT are used only for metafile pictures. Returns 1, or 0 when the
// file cannot be read or the data cannot be made.
//
//   PasteFile FORMAT "file" MM XEXT YEXT WIDTH HEIGHT
//
// makes the same data and pastes it from its handle (DoxPastePicture), then
// frees it; returns what DoxPastePicture returned, or -1.
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "registry.h"

namespace {

using doxrun::ExportDef;

// A memory block holding `size` bytes from `bytes`.
DOXHMEM Block(const void *bytes, size_t size) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(size));
  if (!h) return nullptr;
  if (size) std::memcpy(DoxMemLock(h), bytes, size);
  DoxMemUnlock(h);
  return h;
}

bool StartsWith(const std::string &s, const char *prefix, size_t n) {
  return s.size() >= n && s.compare(0, n, prefix, n) == 0;
}

// The picture data of FORMAT made from a file's bytes (see above); null when
// the file cannot be read or the data cannot be made.
void *PictureData(uint32_t format, const char *file, int32_t mm, int32_t xExt, int32_t yExt) {
  if (!file) return nullptr;
  std::ifstream in(file, std::ios::binary);
  if (!in) return nullptr;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  void *data = nullptr;
  if (format == PICT_FORMAT_DIB) {
    size_t skip = StartsWith(bytes, "BM", 2) && bytes.size() >= 14 ? 14 : 0;
    data = Block(bytes.data() + skip, bytes.size() - skip);
  } else if (format == PICT_FORMAT_ENHMETAFILE) {
    data = DoxEnhMetaFileFromBits(bytes.data(), static_cast<uint32_t>(bytes.size()));
  } else if (format == PICT_FORMAT_METAFILEPICT) {
    size_t skip = StartsWith(bytes, "\xD7\xCD\xC6\x9A", 4) && bytes.size() >= 22 ? 22 : 0;
    DoxMetaFilePict pict = {mm, xExt, yExt,
                            DoxMetaFileFromBits(bytes.data() + skip,
                                                static_cast<uint32_t>(bytes.size() - skip))};
    if (!pict.hMF) return nullptr;
    data = Block(&pict, sizeof pict);
    if (!data) DoxDeleteMetaFile(pict.hMF);
  } else {
    data = Block(bytes.data(), bytes.size());
  }
  return data;
}

void FreePictureData(uint32_t format, void *data) {
  if (format == PICT_FORMAT_ENHMETAFILE) {
    DoxDeleteEnhMetaFile(data);
  } else {
    if (format == PICT_FORMAT_METAFILEPICT)
      DoxDeleteMetaFile(static_cast<DoxMetaFilePict *>(DoxMemLock(data))->hMF);
    DoxMemFree(data);
  }
}

int32_t ClipboardPutFile(uint32_t format, const char *file, int32_t mm, int32_t xExt,
                         int32_t yExt) {
  void *data = PictureData(format, file, mm, xExt, yExt);
  if (!data) return 0;
  if (DoxClipboardSetData(format, data)) return 1;
  FreePictureData(format, data);
  return 0;
}

// DoxPastePicture from a handle holding the picture data of a file; -1 when
// the data cannot be made.
int64_t PasteFile(DOXDOC doc, uint32_t format, const char *file, int32_t mm, int32_t xExt,
                  int32_t yExt, int32_t width, int32_t height) {
  void *data = PictureData(format, file, mm, xExt, yExt);
  if (!data) return -1;
  int32_t result = DoxPastePicture(doc, static_cast<int32_t>(format), data, width, height);
  FreePictureData(format, data);
  return result;
}

// The handle argument of DoxPastePicture is a number: 0 reads the clipboard.
void *HandleArg(const doxrun::Arg &a) {
  return reinterpret_cast<void *>(static_cast<intptr_t>(a.i32()));
}

const ExportDef kExports[] = {
    DOXRUN_EXPORT(DoxInsertPictFile,
                DoxInsertPictFile(c.doc, a[0].s(), a[1].i32(), a[2].i32(), a[3].i32())),
    DOXRUN_EXPORT(DoxPastePicture,
                DoxPastePicture(c.doc, a[0].i32(), HandleArg(a[1]), a[2].i32(), a[3].i32())),
    DOXRUN_EXPORT(DoxClipboardEmpty, DoxClipboardEmpty()),
    DOXRUN_PSEUDO(ClipboardPutFile, "usiii",
                ClipboardPutFile(a[0].u32(), a[1].s(), a[2].i32(), a[3].i32(), a[4].i32())),
    DOXRUN_PSEUDO(PasteFile, "usiiiii",
                  PasteFile(c.doc, a[0].u32(), a[1].s(), a[2].i32(), a[3].i32(), a[4].i32(),
                            a[5].i32(), a[6].i32())),
};


doxrun::Registrar exports(kExports);

}  // namespace
