// Pictures from bytes: PNG and JPEG as blip groups, and the bitmaps and
// metafiles that DoxInsertPictFile reads from files, written the same way.
// Every picture is checked whole, and whatever it needs is allocated, before
// anything is written: a refused picture leaves the document as it was.
// DoxInsertImageFile reads the file into memory and goes the same way.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "core/errors.h"
#include "core/muldiv.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "pictures/image_readers.h"
#include "pictures/picture_groups.h"

namespace dox {
namespace {

constexpr int32_t kTwipsPerInch = 1440;
constexpr int32_t kDefaultDpi = 96;
constexpr uint32_t kPlaceableSize = 22;

enum class Kind { Png, Jpeg, Bitmap, Metafile, EnhMetafile };

// A checked picture: what to write and its natural size in twips.
struct Prepared {
  Kind kind = Kind::Png;
  const uint8_t *bytes = nullptr;  // the image, the rebuilt metafile or the bitmap's pixels
  uint32_t count = 0;
  const uint8_t *info = nullptr;  // a bitmap's information header
  uint32_t infoCount = 0;
  int32_t pixelWidth = 0, pixelHeight = 0;
  int32_t naturalWidth = 0, naturalHeight = 0;
  PictBuffer buffer;  // a converted bitmap header or a rebuilt metafile
};

bool SideOk(int64_t pixels) { return pixels >= 1 && pixels <= kMaxImageSide; }

int32_t TwipsAt(int32_t pixels, int32_t dpi) {
  if (dpi <= 0) dpi = kDefaultDpi;
  return std::max<int32_t>(1, static_cast<int32_t>((pixels * 1440ll + dpi / 2) / dpi));
}

// a x num / den, rounded, at least 1 and at most INT32_MAX (num, den >= 1).
int32_t Scaled(int32_t a, int32_t num, int32_t den) {
  int64_t v = (static_cast<int64_t>(a) * num + den / 2) / den;
  return static_cast<int32_t>(std::clamp<int64_t>(v, 1, INT32_MAX));
}

// The displayed size: false when both sides come from the picture.
bool FitSize(const Prepared &p, int32_t *w, int32_t *h) {
  if (*w <= 0 && *h <= 0) return false;
  int32_t nw = std::max(1, std::abs(p.naturalWidth)), nh = std::max(1, std::abs(p.naturalHeight));
  if (*w <= 0) *w = Scaled(*h, nw, nh);
  if (*h <= 0) *h = Scaled(*w, nh, nw);
  return true;
}

// Results of the Prepare functions.
enum Check { kBad, kReady, kReported };

Check PrepareBitmap(Document *doc, const uint8_t *b, uint32_t n, Prepared &p) {
  if (n < kFileHeaderSize + kCoreHeaderSize || Load16(b) != 0x4D42) return kBad;
  uint32_t offBits = Load32(b + 10);
  if (offBits < kFileHeaderSize + kCoreHeaderSize || offBits > n) return kBad;
  const uint8_t *info = b + kFileHeaderSize;
  uint32_t infoCount = offBits - kFileHeaderSize, headerSize = Load32(info);
  int64_t width, height;
  uint32_t bitCount;
  bool plain = true;  // uncompressed pixels, whose size is known
  if (headerSize == kCoreHeaderSize) {
    bitCount = Load16(info + 10);
    if (infoCount < kCoreHeaderSize + 3 * CoreColorCount(bitCount)) return kBad;
    width = Load16(info + 4);
    height = Load16(info + 6);
  } else if (headerSize >= kInfoHeaderSize && headerSize <= infoCount) {
    width = LoadI32(info + 4);
    height = LoadI32(info + 8);
    bitCount = Load16(info + 14);
    plain = Load32(info + 16) == 0 || Load32(info + 16) == 3;
  } else {
    return kBad;
  }
  int64_t rows = height < 0 ? -height : height;
  if (!SideOk(width) || !SideOk(rows)) return kBad;
  int64_t rowBytes = DibRowBytes(bitCount, static_cast<int32_t>(width));
  if (plain && (rowBytes == 0 || rowBytes * rows > n - offBits)) return kBad;  // cut
  if (headerSize == kCoreHeaderSize) {
    if (!ConvertCoreHeader(doc, info, p.buffer, &infoCount)) return kReported;
    info = p.buffer.data();
  }
  p.kind = Kind::Bitmap;
  p.info = info;
  p.infoCount = infoCount;
  p.bytes = b + offBits;
  p.count = n - offBits;
  p.naturalWidth = MulDiv(static_cast<int32_t>(width), kTwipsPerInch, doc->ScreenDpiX);
  p.naturalHeight = MulDiv(static_cast<int32_t>(rows), kTwipsPerInch, doc->ScreenDpiY);
  return kReady;
}

// A placeable metafile, rebuilt as DoxInsertPictFile does: the metafile
// header, a window origin and extent from the placeable header, the records.
Check PrepareMetafile(Document *doc, const uint8_t *b, uint32_t n, Prepared &p) {
  if (n < kPlaceableSize + kMetaHeaderSize || Load32(b) != kPlaceableKey) return kBad;
  int32_t left = LoadI16(b + 6), top = LoadI16(b + 8), right = LoadI16(b + 10),
          bottom = LoadI16(b + 12), unitsPerInch = LoadI16(b + 14);
  const uint8_t *meta = b + kPlaceableSize;
  uint32_t type = Load16(meta), words = Load32(meta + 6);
  if ((type != 1 && type != 2) || Load16(meta + 2) != 9 || words * 2ull > n - kPlaceableSize ||
      unitsPerInch <= 0 || right <= left || bottom <= top)
    return kBad;
  p.pixelWidth = MulDiv(right - left, doc->ScreenDpiX, unitsPerInch);
  p.pixelHeight = MulDiv(bottom - top, doc->ScreenDpiY, unitsPerInch);
  if (!SideOk(p.pixelWidth) || !SideOk(p.pixelHeight)) return kBad;
  p.count = n - kPlaceableSize + kWindowRecordsSize;
  if (!p.buffer.Allocate(p.count)) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "hImage");
    return kReported;
  }
  uint8_t *out = p.buffer.data();
  std::memcpy(out, meta, kMetaHeaderSize);
  Store32(out + 6, words + kWindowRecordsSize / 2);
  uint8_t *record = out + kMetaHeaderSize;
  StoreWindowRecords(record, left, top, right, bottom);
  std::memcpy(record + kWindowRecordsSize, meta + kMetaHeaderSize,
              n - kPlaceableSize - kMetaHeaderSize);
  p.kind = Kind::Metafile;
  p.bytes = out;
  p.naturalWidth = MulDiv(p.pixelWidth, kTwipsPerInch, doc->ScreenDpiX);
  p.naturalHeight = MulDiv(p.pixelHeight, kTwipsPerInch, doc->ScreenDpiY);
  return kReady;
}

Check PrepareEnhMetafile(Document *doc, const uint8_t *b, uint32_t n, Prepared &p) {
  if (n < kEnhHeaderSize || Load32(b) != 1 || Load32(b + 40) != kEnhSignature ||
      Load32(b + 48) > n)
    return kBad;
  EnhMetaPixelSize(doc, b, &p.pixelWidth, &p.pixelHeight);
  if (!SideOk(p.pixelWidth) || !SideOk(p.pixelHeight)) return kBad;
  p.kind = Kind::EnhMetafile;
  p.bytes = b;
  p.count = n;
  p.naturalWidth = MulDiv(p.pixelWidth, kTwipsPerInch, doc->ScreenDpiX);
  p.naturalHeight = MulDiv(p.pixelHeight, kTwipsPerInch, doc->ScreenDpiY);
  return kReady;
}

Check Prepare(Document *doc, const uint8_t *b, uint32_t n, Prepared &p) {
  if (!b || n < 2) return kBad;
  ImageInfo image;
  if (ReadPngInfo(b, n, &image) || ReadJpegInfo(b, n, &image)) {
    p.kind = image.kind == ImageKind::Png ? Kind::Png : Kind::Jpeg;
    p.bytes = b;
    p.count = n;
    p.pixelWidth = image.width;
    p.pixelHeight = image.height;
    p.naturalWidth = TwipsAt(image.width, image.dpiX);
    p.naturalHeight = TwipsAt(image.height, image.dpiY);
    return kReady;
  }
  if (Load16(b) == 0x4D42) return PrepareBitmap(doc, b, n, p);
  if (n >= 4 && Load32(b) == kPlaceableKey) return PrepareMetafile(doc, b, n, p);
  return PrepareEnhMetafile(doc, b, n, p);
}

// {\pict\pngblip\picw..\pich..\picwgoal..\pichgoal.. hex}
int32_t WriteBlipGroup(Document *doc, OutputStream *s, const Prepared &p, int32_t width,
                       int32_t height) {
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "pict") ||
      !PutWordNamed(doc, s, p.kind == Kind::Png ? "pngblip" : "jpegblip") ||
      !PutWordValue(doc, s, "picw", p.pixelWidth) ||
      !PutWordValue(doc, s, "pich", p.pixelHeight) || !PutWordValue(doc, s, "picwgoal", width) ||
      !PutWordValue(doc, s, "pichgoal", height))
    return 0;
  int32_t dumped = WritePictHex(doc, s, p.bytes, p.count);
  return CloseGroup(doc, s) && dumped;
}

int32_t InsertImage(Document *doc, const char *caption, const uint8_t *bytes, uint32_t count,
                    int32_t width, int32_t height) {
  Prepared p;
  Check check = Prepare(doc, bytes, count, p);
  if (check == kBad) return ReportError(doc, DOX_ERR_BAD_IMAGE, caption);
  if (check == kReported || !EnsureTextPosition(doc, rules::Text(caption))) return 0;
  OutputStream *s = doc->Stream;
  if (!FitSize(p, &width, &height)) {
    // Natural size: the blip's goal; the other writers take 0 for it.
    bool blip = p.kind == Kind::Png || p.kind == Kind::Jpeg;
    width = blip ? p.naturalWidth : 0;
    height = blip ? p.naturalHeight : 0;
  }
  switch (p.kind) {
    case Kind::Png:
    case Kind::Jpeg: return WriteBlipGroup(doc, s, p, width, height);
    case Kind::Bitmap:
      return WriteDibPictGroup(doc, s, width, height, p.info, p.bytes, p.infoCount, p.count);
    case Kind::Metafile:
      return WriteWmfPictGroup(doc, s, p.pixelWidth, p.pixelHeight, width, height, p.bytes,
                               p.count);
    case Kind::EnhMetafile:
      if (width == 0) width = p.naturalWidth;
      if (height == 0) height = p.naturalHeight;
      return WriteEmfPictGroup(doc, s, p.pixelWidth, p.pixelHeight, width, height, p.bytes,
                               p.count);
  }
  return 0;
}

// The whole file in `buffer`; reports and returns false when it cannot be had.
bool ReadWholeFile(Document *doc, const char *caption, const char *name, PictBuffer &buffer,
                   uint32_t *count) {
  plat::FileHandle f = plat::FileOpenRead(name);
  if (f == plat::kNoFile) return ReportError(doc, DOX_ERR_IMAGE_FILE, caption) != 0;
  int64_t length = plat::FileSeek(f, 0, 2);
  int32_t code = 0;
  uint32_t done = 0;
  if (length < 0 || plat::FileSeek(f, 0, 0) != 0)
    code = DOX_ERR_IMAGE_FILE;
  else if (length > 0x7FFFFFFF || !buffer.Allocate(std::max<int64_t>(length, 1)))
    code = DOX_ERR_OUT_OF_MEMORY;
  else if (length > 0 && (!plat::FileRead(f, buffer.data(), static_cast<uint32_t>(length), &done) ||
                          done != length))
    code = DOX_ERR_IMAGE_FILE;
  plat::FileClose(f);
  *count = static_cast<uint32_t>(done);
  return code == 0 || ReportError(doc, code, caption) != 0;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxInsertImageData(DOXDOC handle, const void *bytes, uint32_t size,
                                            int32_t width, int32_t height) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  return InsertImage(doc, "DoxInsertImageData", static_cast<const uint8_t *>(bytes), size,
                     width, height);
}

DOXEXPORT int32_t DOXAPI DoxInsertImageFile(DOXDOC handle, const char *fileName, int32_t width,
                                            int32_t height) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  const char *caption = "DoxInsertImageFile";
  PictBuffer buffer;
  uint32_t count = 0;
  if (!ReadWholeFile(doc, caption, fileName ? fileName : "", buffer, &count)) return 0;
  return InsertImage(doc, caption, buffer.data(), count, width, height);
}

}  // extern "C"
