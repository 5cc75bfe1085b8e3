// Fuzz target: picture bytes through every reader, as a picture file
// (DoxInsertPictFile, DoxInsertImageFile), as bytes in memory
// (DoxInsertImageData, with the PNG and JPEG header readers on an exact-size
// copy) or as the data of a paste from a handle or the clipboard
// (DoxPastePicture); the same bytes as UTF-8 text and a link. The readers must
// stay within the bytes, report what they refuse and release every buffer; a
// refused content call writes nothing; the document stays one balanced group.
//
// Input: a selector byte (bits 0-1: format 3, 8, 14, or 0 for a file and the
// content calls; bit 2: through the clipboard), the display width and height
// (four bytes each, little-endian), then the content: the file's bytes; for
// format 3 the mapping mode and the two extents (four bytes each), then the
// metafile's bits; for 8 the packed bitmap; for 14 the enhanced metafile's bytes.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/document.h"
#include "pictures/image_readers.h"
#include "platform/platform.h"
#include "runner.h"

namespace {

int32_t Load32(const uint8_t *p, size_t n, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(at + i < n ? p[at + i] : 0) << (8 * i);
  return static_cast<int32_t>(v);
}

DOXHMEM Block(const void *bytes, size_t n) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(n));
  if (n) std::memcpy(DoxMemLock(h), bytes, n);
  DoxMemUnlock(h);
  return h;
}

void Require(bool ok) {
  if (!ok) std::abort();
}

void DOXAPI Quiet(DOXDOC, int32_t, const char *, const char *, void *) {}

// Runs one content call; a refusal (0) may not have written anything.
template <typename F>
void Call(DOXDOC doc, F call) {
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  const int64_t before = int64_t{s->BodyLength} + s->LineLength;
  if (!call()) Require(s->BodyLength + s->LineLength == before);
}

void ContentCalls(DOXDOC doc, const uint8_t *data, size_t n, int32_t width, int32_t height,
                  const char *file) {
  std::vector<uint8_t> exact(data, data + n);  // reads past the end are caught
  dox::ImageInfo info;
  for (auto reader : {dox::ReadPngInfo, dox::ReadJpegInfo})
    if (reader(exact.data(), n, &info))
      Require(info.width >= 1 && info.width <= dox::kMaxImageSide && info.height >= 1 &&
              info.height <= dox::kMaxImageSide && info.dpiX >= 0 && info.dpiY >= 0);
  const std::string text(reinterpret_cast<const char *>(data), n);  // cut at a NUL
  Call(doc, [&] { return DoxInsertImageData(doc, exact.data(), uint32_t(n), width, height); });
  Call(doc, [&] { return DoxInsertImageFile(doc, file, width, 0); });
  Call(doc, [&] { return DoxInsertUtf8Text(doc, text.c_str()); });
  Call(doc, [&] { return DoxInsertHyperlink(doc, text.c_str(), text.c_str(), n & 1); });
}

std::string g_file;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  DoxSetMessageSink(Quiet, nullptr);
  g_file = (std::filesystem::temp_directory_path() / "dox_fuzz_pict.bin").string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const int32_t kFormats[] = {0, PICT_FORMAT_METAFILEPICT, PICT_FORMAT_DIB,
                                     PICT_FORMAT_ENHMETAFILE};
  const uint8_t selector = size ? data[0] : 0;
  const int32_t format = kFormats[selector & 3];
  const bool clipboard = (selector & 4) != 0;
  const int32_t width = Load32(data, size, 1), height = Load32(data, size, 5);
  const uint8_t *content = data + (size < 9 ? size : 9);
  const size_t n = size < 9 ? 0 : size - 9;

  const long live = dox::plat::MemLiveBlocks();
  DOXDOC doc = DoxNewDoc();
  Require(doc != nullptr);
  void *handle = nullptr, *metafile = nullptr;
  if (format == 0) {
    FILE *f = std::fopen(g_file.c_str(), "wb");
    Require(f && std::fwrite(content, 1, n, f) == n && std::fclose(f) == 0);
    DoxInsertPictFile(doc, g_file.c_str(), width, height, 0);
    ContentCalls(doc, content, n, width, height, g_file.c_str());
  } else {
    if (format == PICT_FORMAT_METAFILEPICT) {
      const size_t head = n < 12 ? n : 12;
      metafile = DoxMetaFileFromBits(content + head, static_cast<uint32_t>(n - head));
      DoxMetaFilePict pict = {Load32(content, n, 0), Load32(content, n, 4), Load32(content, n, 8),
                              metafile};
      handle = Block(&pict, sizeof pict);
    } else if (format == PICT_FORMAT_ENHMETAFILE) {
      handle = DoxEnhMetaFileFromBits(content, static_cast<uint32_t>(n));
    } else {
      handle = Block(content, n);
    }
    if (clipboard && handle && DoxClipboardSetData(static_cast<uint32_t>(format), handle))
      handle = metafile = nullptr;  // the clipboard's now
    DoxPastePicture(doc, format, clipboard ? nullptr : handle, width, height);
  }
  std::string rtf;
  Require(doxrun::DocumentText(doc, rtf) && doxrun::OneBalancedGroup(rtf));
  DoxEndDoc(doc);
  if (format == PICT_FORMAT_ENHMETAFILE) {
    if (handle) DoxDeleteEnhMetaFile(handle);
  } else if (handle) {
    DoxMemFree(handle);
  }
  if (metafile) DoxDeleteMetaFile(metafile);
  DoxClipboardEmpty();
  Require(dox::plat::MemLiveBlocks() == live);
  return 0;
}
