// Fuzz target: the bytes of a picture handle through DoxPastePicture, for
// each format, from the caller's handle or from the clipboard.
//
// Input: a selector byte (bits 0-1: format 3, 8, 14 or 0 for the first on the
// clipboard; bit 2: through the clipboard), the display width and height
// (four bytes each, little-endian), then the handle's content:
//   format 8   the packed bitmap, as the block holds it
//   format 3   the mapping mode and the two extents (four bytes each), then the
//              metafile's bits
//   format 14  the enhanced metafile's bytes
//   format 0   a packed bitmap put on the clipboard as format 8
// Bytes that make no metafile leave a handle that is none, which the paste
// must refuse as well.
#include <cstring>

#include "fuzz_support.h"
#include "platform/platform.h"

using namespace doxfuzz;

namespace {

int32_t Load32(const uint8_t *p, size_t n, size_t at) {
  uint32_t v = 0;
  for (size_t i = 0; i < 4; ++i) v |= static_cast<uint32_t>(at + i < n ? p[at + i] : 0) << (8 * i);
  return static_cast<int32_t>(v);
}

DOXHMEM Block(const void *bytes, size_t n) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(n));
  Require(h != nullptr, "a block can be made");
  if (n) std::memcpy(DoxMemLock(h), bytes, n);
  DoxMemUnlock(h);
  return h;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  QuietReports();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  static const int32_t kFormats[] = {PICT_FORMAT_METAFILEPICT, PICT_FORMAT_DIB,
                                     PICT_FORMAT_ENHMETAFILE, PICT_FORMAT_ANY};
  const uint8_t selector = size ? data[0] : 0;
  const int32_t format = kFormats[selector & 3];
  const bool clipboard = (selector & 4) != 0 || format == PICT_FORMAT_ANY;
  const int32_t width = Load32(data, size, 1), height = Load32(data, size, 5);
  const uint8_t *content = data + (size < 9 ? size : 9);
  const size_t n = size < 9 ? 0 : size - 9;

  const long baseline = dox::plat::MemLiveBlocks();
  void *handle = nullptr;     // the picture data
  void *metafile = nullptr;   // the metafile a metafile picture names
  if (format == PICT_FORMAT_METAFILEPICT) {
    const size_t bits = n < 12 ? n : 12;
    metafile = DoxMetaFileFromBits(content + bits, static_cast<uint32_t>(n - bits));
    DoxMetaFilePict pict = {Load32(content, n, 0), Load32(content, n, 4), Load32(content, n, 8),
                            metafile};
    handle = Block(&pict, sizeof pict);
  } else if (format == PICT_FORMAT_ENHMETAFILE) {
    handle = DoxEnhMetaFileFromBits(content, static_cast<uint32_t>(n));
  } else {
    handle = Block(content, n);
  }

  DOXDOC doc = DoxNewDoc();
  Require(doc != nullptr, "a document can be made");
  if (clipboard) {
    const uint32_t as = format == PICT_FORMAT_ANY ? PICT_FORMAT_DIB : static_cast<uint32_t>(format);
    if (handle && DoxClipboardSetData(as, handle)) {
      handle = metafile = nullptr;  // the clipboard's now
    }
    DoxPastePicture(doc, format, nullptr, width, height);
  } else {
    DoxPastePicture(doc, format, handle, width, height);
  }
  dox::Document *d = dox::FromHandle(doc);
  CheckDocument(d, true);
  CheckBodyLines(d);
  Require(d->Stream->GroupDepth == 0, "every picture group is closed");
  CheckDelivery(doc, true, true);
  EndDocument(doc);

  Require(DoxClipboardEmpty() == 1, "the clipboard is closed again");
  if (format == PICT_FORMAT_ENHMETAFILE) {
    if (handle) DoxDeleteEnhMetaFile(handle);
  } else if (handle) {
    Require(DoxMemFree(handle) == nullptr, "the caller's block is still the caller's");
  }
  if (metafile) Require(DoxDeleteMetaFile(metafile) == 1, "the caller's metafile is untouched");
  Require(dox::plat::MemLiveBlocks() == baseline, "nothing stays allocated");
  return 0;
}
