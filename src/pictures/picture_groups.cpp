// Picture groups: the sizes, goals and scales of a picture and its bytes as
// lower-case hexadecimal text.
#include "pictures/picture_groups.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

#include "core/errors.h"
#include "core/muldiv.h"

namespace dox {
namespace {

constexpr int32_t kTwipsPerInch = 1440;

// Each byte as two digits, high nibble first (see PutHexDigits).
int32_t DumpHex(Document *doc, OutputStream *s, const uint8_t *bytes, uint32_t count) {
  return PutHexDigits(doc, s, bytes, count);
}

int32_t Words(Document *doc, OutputStream *s, std::initializer_list<const char *> words) {
  for (const char *w : words)
    if (!PutWordNamed(doc, s, w)) return 0;
  return 1;
}

// displaySize x 100 / goal in 32-bit arithmetic; 100 when the goal is 0.
int32_t TruncatedScale(int32_t displaySize, int32_t goal) {
  return goal == 0 ? 100 : Div32(Mul32(displaySize, 100), goal);
}

}  // namespace

int32_t WriteEmfPictGroup(Document *doc, OutputStream *s, int32_t pixelWidth,
                          int32_t pixelHeight, int32_t displayWidth, int32_t displayHeight,
                          const uint8_t *bytes, uint32_t byteCount) {
  if (!OpenGroup(doc, s) || !Words(doc, s, {"*", "shppict"}) || !OpenGroup(doc, s) ||
      !Words(doc, s, {"pict", "emfblip"}))
    return 0;
  int32_t goalWidth = MulDiv(pixelWidth, kTwipsPerInch, doc->ScreenDpiX);
  int32_t goalHeight = MulDiv(pixelHeight, kTwipsPerInch, doc->ScreenDpiY);
  if (!PutWordValue(doc, s, "picw", MulDiv(goalWidth, 2500, kTwipsPerInch)) ||
      !PutWordValue(doc, s, "pich", MulDiv(goalHeight, 2500, kTwipsPerInch)) ||
      !PutWordValue(doc, s, "picwgoal", goalWidth) ||
      !PutWordValue(doc, s, "pichgoal", goalHeight) ||
      !PutWordValue(doc, s, "picscalex", TruncatedScale(displayWidth, goalWidth)) ||
      !PutWordValue(doc, s, "picscaley", TruncatedScale(displayHeight, goalHeight)))
    return 0;
  int32_t dumped = DumpHex(doc, s, bytes, byteCount);
  if (!CloseGroup(doc, s) || !CloseGroup(doc, s)) return 0;
  return dumped;
}

int32_t WriteWmfPictGroup(Document *doc, OutputStream *s, int32_t pixelWidth,
                          int32_t pixelHeight, int32_t displayWidth, int32_t displayHeight,
                          const uint8_t *bytes, uint32_t byteCount) {
  int32_t naturalWidth = MulDiv(pixelWidth, kTwipsPerInch, doc->ScreenDpiX);
  int32_t naturalHeight = MulDiv(pixelHeight, kTwipsPerInch, doc->ScreenDpiY);
  if (displayWidth == 0 || displayHeight == 0) {
    displayWidth = naturalWidth;
    displayHeight = naturalHeight;
  }
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "pict") || !PutWordValue(doc, s, "wmetafile", 8) ||
      !PutWordValue(doc, s, "picw", Div32(Mul32(naturalWidth, 2540), kTwipsPerInch)) ||
      !PutWordValue(doc, s, "pich", Div32(Mul32(naturalHeight, 2540), kTwipsPerInch)))
    return 0;
  // The goal and scale of one axis: the natural size when there is one,
  // otherwise the display size at 100 percent.
  auto axis = [&](const char *goalWord, const char *scaleWord, int32_t natural,
                  int32_t display) {
    if (natural > 0)
      return PutWordValue(doc, s, goalWord, natural) &&
             PutWordValue(doc, s, scaleWord, Div32(Mul32(display, 100), natural));
    return PutWordValue(doc, s, goalWord, display) && PutWordValue(doc, s, scaleWord, 100);
  };
  if (!axis("picwgoal", "picscalex", naturalWidth, displayWidth) ||
      !axis("pichgoal", "picscaley", naturalHeight, displayHeight))
    return 0;
  int32_t dumped = DumpHex(doc, s, bytes, byteCount);
  if (!CloseGroup(doc, s)) return 0;
  return dumped;
}

int32_t WriteDibPictGroup(Document *doc, OutputStream *s, int32_t displayWidth,
                          int32_t displayHeight, const uint8_t *info, const uint8_t *bits,
                          uint32_t infoCount, uint32_t bitsCount) {
  int32_t width = LoadI32(info + 4);
  int32_t height = LoadI32(info + 8);
  uint16_t bitCount = Load16(info + 14);
  int32_t goalWidth = MulDiv(width, kTwipsPerInch, doc->ScreenDpiX);
  int32_t goalHeight = MulDiv(height, kTwipsPerInch, doc->ScreenDpiY);
  if (displayWidth == 0 || displayHeight == 0) {
    displayWidth = goalWidth;
    displayHeight = goalHeight;
  }
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "pict") || !PutWordValue(doc, s, "dibitmap", 0) ||
      !PutWordValue(doc, s, "wbmbitpixels", bitCount) || !PutWordValue(doc, s, "wbmplanes", 1) ||
      !PutControlWord(doc, s, "wbmwidthbytes", 1,
                      static_cast<double>(DibRowBytes(bitCount, width))) ||
      !PutWordValue(doc, s, "picw", width) || !PutWordValue(doc, s, "pich", height) ||
      !PutWordValue(doc, s, "picwgoal", goalWidth) ||
      !PutWordValue(doc, s, "pichgoal", goalHeight) ||
      !PutWordValue(doc, s, "picscalex", MulDiv(displayWidth, 100, goalWidth)) ||
      !PutWordValue(doc, s, "picscaley", MulDiv(displayHeight, 100, goalHeight)))
    return 0;
  if (DumpHex(doc, s, info, infoCount)) DumpHex(doc, s, bits, bitsCount);
  return CloseGroup(doc, s);
}

// ---- Shared helpers --------------------------------------------------------

bool PictBuffer::Allocate(uint64_t bytes, bool zero) {
  Release();
  if (bytes > 0x7FFFFFFFu) return false;  // more than a 32-bit process can have
  handle_ = plat::MemAlloc(static_cast<size_t>(bytes), zero);
  if (!handle_) return false;
  data_ = static_cast<uint8_t *>(plat::MemLock(handle_));
  return data_ != nullptr;
}

void PictBuffer::Release() {
  if (!handle_) return;
  if (data_) plat::MemUnlock(handle_);
  plat::MemFree(handle_);
  handle_ = nullptr;
  data_ = nullptr;
}

bool ConvertCoreHeader(Document *doc, const uint8_t *core, PictBuffer &out,
                       uint32_t *infoCount) {
  uint16_t bitCount = Load16(core + 10);
  uint32_t colors = CoreColorCount(bitCount);
  uint32_t count = kInfoHeaderSize + 4 * colors;
  if (!out.Allocate(count, true)) {
    out.Release();
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "hInfo");
    return false;
  }
  uint8_t *info = out.data();
  Store32(info, kInfoHeaderSize);
  Store32(info + 4, Load16(core + 4));  // width, unsigned
  Store32(info + 8, Load16(core + 6));  // height, unsigned
  Store16(info + 12, Load16(core + 8));
  Store16(info + 14, bitCount);
  const uint8_t *from = core + kCoreHeaderSize;
  uint8_t *to = info + kInfoHeaderSize;
  for (uint32_t i = 0; i < colors; ++i, from += 3, to += 4) std::memcpy(to, from, 3);
  *infoCount = count;
  return true;
}

void EnhMetaPixelSize(const Document *doc, const uint8_t *header, int32_t *pixelWidth,
                      int32_t *pixelHeight) {
  auto resolution = [](int32_t pixels, int32_t millimetres) -> int32_t {
    double dpi = pixels * 25.4 / millimetres;  // inf or NaN for 0 millimetres
    if (!std::isfinite(dpi) || dpi >= 2147483648.0 || dpi <= -2147483649.0) return 0;
    return static_cast<int32_t>(dpi);
  };
  auto extent = [](int32_t from, int32_t to) {
    return static_cast<int32_t>(static_cast<int64_t>(to) - from);
  };
  int32_t dpiX = resolution(LoadI32(header + 72), LoadI32(header + 80));
  int32_t dpiY = resolution(LoadI32(header + 76), LoadI32(header + 84));
  *pixelWidth = MulDiv(extent(LoadI32(header + 8), LoadI32(header + 16)), doc->ScreenDpiX, dpiX);
  *pixelHeight =
      MulDiv(extent(LoadI32(header + 12), LoadI32(header + 20)), doc->ScreenDpiY, dpiY);
}

int32_t WritePictHex(Document *doc, OutputStream *s, const uint8_t *bytes, uint32_t count) {
  return DumpHex(doc, s, bytes, count);
}

}  // namespace dox
