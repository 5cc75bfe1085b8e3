// PNG and JPEG headers. Both formats store numbers big-endian.
#include "pictures/image_readers.h"

#include <cstring>

namespace dox {
namespace {

uint32_t Be16(const uint8_t *p) { return static_cast<uint32_t>(p[0] << 8 | p[1]); }
uint32_t Be32(const uint8_t *p) { return Be16(p) << 16 | Be16(p + 2); }

bool SideOk(uint32_t pixels) { return pixels >= 1 && pixels <= kMaxImageSide; }

// A resolution is used when it is at least 1 and at most 65,535 dots per inch.
int32_t UsableDpi(uint64_t dpi) { return dpi >= 1 && dpi <= 65535 ? static_cast<int32_t>(dpi) : 0; }

// Dots per inch, rounded, from dots per metre (PNG) or per centimetre (JFIF).
int32_t DpiFromMetre(uint32_t perMetre) { return UsableDpi((perMetre * 254ull + 5000) / 10000); }
int32_t DpiFromCentimetre(uint32_t perCm) { return UsableDpi((perCm * 254ull + 50) / 100); }

// The markers that start a frame: C0-CF except DHT (C4), JPG (C8) and DAC (CC).
bool IsFrameMarker(uint8_t m) { return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC; }
bool IsRestartMarker(uint8_t m) { return m >= 0xD0 && m <= 0xD7; }

}  // namespace

bool ReadPngInfo(const uint8_t *p, size_t size, ImageInfo *info) {
  static const uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  if (size < 8 || std::memcmp(p, kSignature, 8) != 0) return false;
  *info = {ImageKind::Png, 0, 0, 0, 0};
  for (size_t pos = 8;;) {
    if (size - pos < 12) return false;  // length, type and CRC of the next chunk
    uint32_t length = Be32(p + pos);
    const uint8_t *type = p + pos + 4, *data = p + pos + 8;
    if (length > size - pos - 12) return false;
    if (pos == 8) {  // IHDR comes first
      if (std::memcmp(type, "IHDR", 4) != 0 || length != 13 || !SideOk(Be32(data)) ||
          !SideOk(Be32(data + 4)))
        return false;
      info->width = static_cast<int32_t>(Be32(data));
      info->height = static_cast<int32_t>(Be32(data + 4));
    } else if (std::memcmp(type, "pHYs", 4) == 0 && length == 9 && data[8] == 1) {
      info->dpiX = DpiFromMetre(Be32(data));
      info->dpiY = DpiFromMetre(Be32(data + 4));
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      return true;
    }
    pos += 12 + length;
  }
}

bool ReadJpegInfo(const uint8_t *p, size_t size, ImageInfo *info) {
  if (size < 4 || p[0] != 0xFF || p[1] != 0xD8) return false;
  *info = {ImageKind::Jpeg, 0, 0, 0, 0};
  bool frame = false, scan = false;
  for (size_t pos = 2;;) {
    if (pos >= size || p[pos] != 0xFF) return false;
    while (pos < size && p[pos] == 0xFF) ++pos;  // fill bytes
    if (pos >= size) return false;
    uint8_t marker = p[pos++];
    if (marker == 0xD9) return frame && scan;  // end of image
    if (marker == 0x01 || IsRestartMarker(marker)) continue;  // no length
    if (marker == 0x00 || marker == 0xD8 || size - pos < 2) return false;
    size_t length = Be16(p + pos);
    if (length < 2 || length > size - pos) return false;
    const uint8_t *seg = p + pos + 2;
    size_t segLength = length - 2;
    if (IsFrameMarker(marker) && !frame) {
      // precision, height, width, components
      if (segLength < 6 || !SideOk(Be16(seg + 1)) || !SideOk(Be16(seg + 3))) return false;
      info->height = static_cast<int32_t>(Be16(seg + 1));
      info->width = static_cast<int32_t>(Be16(seg + 3));
      frame = true;
    } else if (marker == 0xE0 && segLength >= 12 && std::memcmp(seg, "JFIF", 5) == 0) {
      // version (2 bytes), units (1 dpi, 2 dots per cm), x and y density
      uint32_t x = Be16(seg + 8), y = Be16(seg + 10);
      if (seg[7] == 1) {
        info->dpiX = UsableDpi(x);
        info->dpiY = UsableDpi(y);
      } else if (seg[7] == 2) {
        info->dpiX = DpiFromCentimetre(x);
        info->dpiY = DpiFromCentimetre(y);
      }
    }
    pos += length;
    if (marker == 0xDA) {  // a scan: entropy-coded data up to the next marker
      if (!frame) return false;
      scan = true;
      while (pos + 1 < size &&
             !(p[pos] == 0xFF && p[pos + 1] != 0x00 && !IsRestartMarker(p[pos + 1])))
        ++pos;
      if (pos + 1 >= size) return false;
    }
  }
}

}  // namespace dox
