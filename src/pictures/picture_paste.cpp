// Pictures from the clipboard or from a caller's handle: metafile pictures,
// packed device-independent bitmaps and enhanced metafiles. Nothing is read
// outside a handle's block; a handle that is no live block or metafile of its
// kind is refused as the platform's lock or copy refuses it.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/errors.h"
#include "core/library_state.h"
#include "core/muldiv.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "pictures/picture_groups.h"

namespace dox {
namespace {

constexpr int32_t kModeText = 1;         // extents in pixels
constexpr int32_t kModeAnisotropic = 8;  // extents in hundredths of a millimetre

// A caller's or the clipboard's block, locked while this lives.
class LockedData {
 public:
  explicit LockedData(void *host)
      : handle_(plat::MemFromHost(host)), data_(static_cast<const uint8_t *>(plat::MemLock(handle_))),
        size_(data_ ? plat::MemSize(handle_) : 0) {}
  ~LockedData() { Unlock(); }
  LockedData(const LockedData &) = delete;
  LockedData &operator=(const LockedData &) = delete;
  const uint8_t *data() const { return data_; }
  size_t size() const { return size_; }
  void Unlock() {
    if (data_) plat::MemUnlock(handle_);
    data_ = nullptr;
  }

 private:
  void *handle_;
  const uint8_t *data_;
  size_t size_;
};

static_assert(sizeof(DoxMetaFilePict) == sizeof(plat::MetaFilePict) &&
              offsetof(DoxMetaFilePict, hMF) == offsetof(plat::MetaFilePict, hMF));

uint64_t SaturatingProduct(uint64_t a, uint64_t b) {
  return a != 0 && b > UINT64_MAX / a ? UINT64_MAX : a * b;
}

int32_t ReportLock(Document *doc) {
  ReportError(doc, DOX_ERR_BUFFER_LOCK, "Clipboard");
  return -1;
}

// 1 written, 0 not written, -1 error reported. A block smaller than a
// METAFILEPICT is refused like one that cannot be locked (code 12 under
// "Clipboard"). The bits dumped are the size the metafile header states, cut
// to the bits fetched. The caller's block is unlocked and the copy deleted on
// every path.
int32_t PasteMetafilePict(Document *doc, void *data, int32_t width, int32_t height) {
  LockedData block(data);
  if (!block.data() || block.size() < sizeof(plat::MetaFilePict)) return ReportLock(doc);
  plat::MetaFilePict pict;
  std::memcpy(&pict, block.data(), sizeof pict);
  int32_t pixelWidth, pixelHeight;
  if (pict.mm == kModeText) {
    pixelWidth = pict.xExt;
    pixelHeight = pict.yExt;
  } else if (pict.mm == kModeAnisotropic) {
    pixelWidth = Div32(Mul32(pict.xExt, doc->ScreenDpiX), 2540);
    pixelHeight = Div32(Mul32(pict.yExt, doc->ScreenDpiY), 2540);
    if (pixelWidth == 0) pixelWidth = Mul32(3, doc->ScreenDpiX);  // three inches
    if (pixelHeight == 0) pixelHeight = Mul32(3, doc->ScreenDpiY);
  } else {
    return 0;
  }
  plat::MetaHandle copy = plat::MetaCopy(pict.hMF);
  block.Unlock();
  if (!copy) {
    ReportError(doc, DOX_ERR_COPY_METAFILE, nullptr);
    return -1;
  }
  uint32_t size = plat::MetaBits(copy, 0, nullptr);
  PictBuffer bits;
  bool fetched = size >= kMetaHeaderSize && bits.Allocate(size + 1ull) &&
                 plat::MetaBits(copy, size, bits.data()) == size;
  plat::MetaDelete(copy);
  if (!fetched) {
    ReportError(doc, DOX_ERR_METAFILE_DATA, nullptr);
    return -1;
  }
  if (width == 0) width = MulDiv(pixelWidth, 1440, doc->ScreenDpiX);
  if (height == 0) height = MulDiv(pixelHeight, 1440, doc->ScreenDpiY);
  uint64_t stated = 2ull * Load32(bits.data() + 6);  // the header's size in 16-bit words
  auto count = static_cast<uint32_t>(std::min<uint64_t>(stated, size));
  if (!WriteWmfPictGroup(doc, doc->Stream, pixelWidth, pixelHeight, width, height, bits.data(),
                         count))
    return 0;
  return 1;
}

// 1 written, 0 not written, -1 error reported. A block too small for its
// information header with its masks and colour table is refused like one that
// cannot be locked (code 12 under "Clipboard"); pixel bits that run short are
// cut to the bytes the block holds. With the 12-byte core header the bits
// start right behind the three-byte colour entries and have rowBytes x height
// bytes, as far as the block reaches. Without a stated image size an
// uncompressed bitmap stored top down (negative height) has rowBytes x -height
// bytes.
int32_t PasteDib(Document *doc, void *data, int32_t width, int32_t height) {
  LockedData block(data);
  const uint8_t *p = block.data();
  uint64_t size = block.size();
  if (!p || size < 4) return ReportLock(doc);
  const uint8_t *info = p;
  uint32_t infoCount;
  uint64_t bitsStart, bitsCount;
  PictBuffer built;
  if (Load32(p) == kCoreHeaderSize) {
    if (size < kCoreHeaderSize) return ReportLock(doc);
    uint16_t bitCount = Load16(p + 10);
    bitsStart = kCoreHeaderSize + 3ull * CoreColorCount(bitCount);
    if (size < bitsStart) return ReportLock(doc);
    if (!ConvertCoreHeader(doc, p, built, &infoCount)) return 1;
    info = built.data();
    bitsCount = SaturatingProduct(static_cast<uint64_t>(DibRowBytes(bitCount, Load16(p + 4))),
                                  Load16(p + 6));
  } else {
    if (size < kInfoHeaderSize) return ReportLock(doc);
    uint16_t bitCount = Load16(p + 14);
    uint32_t compression = Load32(p + 16);
    uint32_t colorsUsed = Load32(p + 32);
    uint64_t header = compression == 3 ? kInfoHeaderSize + 12 : kInfoHeaderSize;  // 3 masks
    uint64_t table = colorsUsed != 0 && bitCount < 24 ? 4ull * colorsUsed
                     : bitCount == 1                  ? 8
                     : bitCount == 4                  ? 64
                     : bitCount == 8                  ? 1024
                                                      : 0;
    bitsStart = header + table;
    if (size < bitsStart) return ReportLock(doc);
    infoCount = static_cast<uint32_t>(bitsStart);
    bitsCount = Load32(p + 20);  // biSizeImage
    if (bitsCount == 0 && compression == 0) {
      int64_t rows = LoadI32(p + 8);
      bitsCount = SaturatingProduct(static_cast<uint64_t>(DibRowBytes(bitCount, LoadI32(p + 4))),
                                    static_cast<uint64_t>(rows < 0 ? -rows : rows));
    }
  }
  bitsCount = std::min(bitsCount, size - bitsStart);
  if (!WriteDibPictGroup(doc, doc->Stream, width, height, info, p + bitsStart, infoCount,
                         static_cast<uint32_t>(bitsCount)))
    return 0;
  return 1;
}

// 1 written, 0 not written or error reported. The bytes dumped are the size
// the header states (nBytes), cut to the bits fetched; the copy is deleted on
// every path.
int32_t PasteEnhMetafile(Document *doc, void *data, int32_t width, int32_t height) {
  plat::EnhMetaHandle copy = plat::EnhMetaCopy(data);
  if (!copy) return ReportError(doc, DOX_ERR_COPY_METAFILE, "DoxPasteEmf");
  uint8_t header[kEnhHeaderSize] = {};
  if (plat::EnhMetaHeader(copy, kEnhHeaderSize, header) == 0) {
    plat::EnhMetaDelete(copy);
    return ReportError(doc, DOX_ERR_ENH_METAFILE_HEADER, "DoxPasteEmf");
  }
  int32_t pixelWidth, pixelHeight;
  EnhMetaPixelSize(doc, header, &pixelWidth, &pixelHeight);
  uint32_t size = plat::EnhMetaBits(copy, 0, nullptr);
  PictBuffer bits;
  bool fetched = false;
  if (size != 0) {
    if (bits.Allocate(size + 2ull))
      fetched = plat::EnhMetaBits(copy, size, bits.data()) == size;
    else if (!bits.allocated())
      ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurAlloc", doc);
  }
  plat::EnhMetaDelete(copy);
  if (!fetched) return ReportError(doc, DOX_ERR_METAFILE_DATA, "DoxPasteEmf");
  if (width == 0) width = MulDiv(pixelWidth, 1440, doc->ScreenDpiX);
  if (height == 0) height = MulDiv(pixelHeight, 1440, doc->ScreenDpiY);
  uint32_t count = std::min(Load32(header + 48), size);  // nBytes
  if (!WriteEmfPictGroup(doc, doc->Stream, pixelWidth, pixelHeight, width, height, bits.data(),
                         count))
    return 0;
  return 1;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxPastePicture(DOXDOC handle, int32_t format, void *data,
                                         int32_t width, int32_t height) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::PastePicture)) return 0;
  const LibraryState &lib = Lib();
  // The enhanced-metafile format counts only while the library provides it.
  auto isEnh = [&](uint32_t f) { return lib.EnhMetaAvailable && f == lib.EnhMetaClipFormat; };
  auto fmt = static_cast<uint32_t>(format);
  if (fmt == 0) {
    if (data) return 0;
    if (plat::ClipFormatAvailable(plat::kClipMetafilePict))
      fmt = plat::kClipMetafilePict;
    else if (plat::ClipFormatAvailable(plat::kClipDib))
      fmt = plat::kClipDib;
    else if (lib.EnhMetaAvailable && plat::ClipFormatAvailable(lib.EnhMetaClipFormat))
      fmt = lib.EnhMetaClipFormat;
    else
      return 0;
  }
  bool opened = false;
  if (!data) {
    if (!plat::ClipOpen()) return ReportError(doc, DOX_ERR_CLIPBOARD_IN_USE, "");
    opened = true;
  }
  int32_t result = 1;
  if (fmt == plat::kClipMetafilePict || fmt == plat::kClipDib || isEnh(fmt)) {
    void *picture = data ? data : plat::ClipGetData(fmt);
    if (!picture) {
      result = ReportError(doc, DOX_ERR_CLIPBOARD_DATA, "");
    } else if (fmt == plat::kClipMetafilePict) {
      PasteMetafilePict(doc, picture, width, height);
    } else if (fmt == plat::kClipDib) {
      PasteDib(doc, picture, width, height);
    } else if (!PasteEnhMetafile(doc, picture, width, height)) {
      result = 0;
    }
  }
  if (opened) plat::ClipClose();
  return result;
}

// ---- Host-side helpers -------------------------------------------------------

DOXEXPORT int32_t DOXAPI DoxClipboardSetData(uint32_t format, void *data) {
  if (!data || !plat::ClipOpen()) return 0;
  bool ok = plat::ClipSetData(format, data);
  plat::ClipClose();
  return ok ? 1 : 0;
}

DOXEXPORT int32_t DOXAPI DoxClipboardEmpty(void) {
  if (!plat::ClipOpen()) return 0;
  bool ok = plat::ClipEmpty();
  plat::ClipClose();
  return ok ? 1 : 0;
}

DOXEXPORT void *DOXAPI DoxMetaFileFromBits(const void *bits, uint32_t size) {
  return plat::MetaFromBits(bits, size);
}

DOXEXPORT int32_t DOXAPI DoxDeleteMetaFile(void *metafile) {
  return plat::MetaDelete(metafile) ? 1 : 0;
}

DOXEXPORT void *DOXAPI DoxEnhMetaFileFromBits(const void *bits, uint32_t size) {
  return plat::EnhMetaFromBits(bits, size);
}

DOXEXPORT int32_t DOXAPI DoxDeleteEnhMetaFile(void *enhMetafile) {
  return plat::EnhMetaDelete(enhMetafile) ? 1 : 0;
}

}  // extern "C"
