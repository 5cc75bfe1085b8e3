// The picture groups every picture ends up as, and the little-endian field
// access and bitmap arithmetic the readers share.
#pragma once

#include <cstdint>

#include "core/document.h"
#include "platform/platform.h"

namespace dox {

// ---- Picture groups --------------------------------------------------------
// Each writer returns 1 when the whole group was written, 0 when a write into
// the stream failed (the stream has reported it). Sizes: pixels of the
// document's screen, display sizes in twips; the bytes are only read.

// {\*\shppict{\pict\emfblip ...}} for a whole enhanced metafile. A picture
// whose goal width or height is 0 (an empty bounds rectangle) is given the
// scale 100 on that axis instead of a division by zero.
int32_t WriteEmfPictGroup(Document *doc, OutputStream *s, int32_t pixelWidth,
                          int32_t pixelHeight, int32_t displayWidth, int32_t displayHeight,
                          const uint8_t *bytes, uint32_t byteCount);

// {\pict\wmetafile8 ...} for metafile bits that begin with the 18-byte
// metafile header. A display size with a 0 takes the natural size.
int32_t WriteWmfPictGroup(Document *doc, OutputStream *s, int32_t pixelWidth,
                          int32_t pixelHeight, int32_t displayWidth, int32_t displayHeight,
                          const uint8_t *bytes, uint32_t byteCount);

// {\pict\dibitmap0 ...} for a device-independent bitmap: `info` holds at least
// the 40-byte information header (plus whatever masks and colour table the
// caller counts into infoCount), `bits` the pixel data.
int32_t WriteDibPictGroup(Document *doc, OutputStream *s, int32_t displayWidth,
                          int32_t displayHeight, const uint8_t *info, const uint8_t *bits,
                          uint32_t infoCount, uint32_t bitsCount);

// The bytes of a picture as the groups above write them (lower-case
// hexadecimal, never a line break inside a byte), for the picture groups
// built elsewhere. 1 when every digit was written.
int32_t WritePictHex(Document *doc, OutputStream *s, const uint8_t *bytes, uint32_t count);

// ---- Shared helpers --------------------------------------------------------
inline uint16_t Load16(const uint8_t *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t Load32(const uint8_t *p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline int32_t LoadI32(const uint8_t *p) { return static_cast<int32_t>(Load32(p)); }
inline int16_t LoadI16(const uint8_t *p) { return static_cast<int16_t>(Load16(p)); }
inline void Store16(uint8_t *p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void Store32(uint8_t *p, uint32_t v) {
  Store16(p, v);
  Store16(p + 2, v >> 16);
}

// The two records a placeable metafile's bounding box becomes, inserted
// after the metafile header: window origin (y, x) and window extent
// (height, width); kWindowRecordsSize bytes at `record`.
constexpr uint32_t kWindowRecordsSize = 20;
inline void StoreWindowRecords(uint8_t *record, int32_t left, int32_t top, int32_t right,
                               int32_t bottom) {
  Store32(record, 5);
  Store16(record + 4, 0x020B);
  Store16(record + 6, static_cast<uint32_t>(top));
  Store16(record + 8, static_cast<uint32_t>(left));
  Store32(record + 10, 5);
  Store16(record + 14, 0x020C);
  Store16(record + 16, static_cast<uint32_t>(bottom - top));
  Store16(record + 18, static_cast<uint32_t>(right - left));
}

// Products and quotients in 32-bit signed arithmetic as the picture sizes are
// defined: wrapping on overflow, the quotient truncated toward zero. The
// callers never divide by 0.
inline int32_t Mul32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<int64_t>(a) * b);
}
inline int32_t Div32(int32_t a, int32_t b) {
  return static_cast<int32_t>(static_cast<int64_t>(a) / b);
}

// Bytes of one bitmap row: the whole bytes that bitCount x width bits occupy,
// rounded up to a multiple of 4.
inline int64_t DibRowBytes(uint32_t bitCount, int32_t width) {
  int64_t bits = static_cast<int64_t>(bitCount) * width;
  if (bits <= 0) return 0;
  return (bits + 31) / 32 * 4;
}

// Colours in the table of a core (12-byte) bitmap header.
inline uint32_t CoreColorCount(uint32_t bitCount) {
  return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}

constexpr uint32_t kFileHeaderSize = 14;    // BITMAPFILEHEADER
constexpr uint32_t kCoreHeaderSize = 12;    // BITMAPCOREHEADER
constexpr uint32_t kInfoHeaderSize = 40;    // BITMAPINFOHEADER
constexpr uint32_t kMetaHeaderSize = 18;    // METAHEADER
constexpr uint32_t kEnhHeaderSize = 108;    // the part of ENHMETAHEADER that is read
constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr uint32_t kEnhSignature = 0x464D4520;  // " EMF"

// A locked movable block that frees itself.
class PictBuffer {
 public:
  PictBuffer() = default;
  PictBuffer(const PictBuffer &) = delete;
  PictBuffer &operator=(const PictBuffer &) = delete;
  ~PictBuffer() { Release(); }
  // Allocates and locks `bytes` bytes (zero-filled when `zero`); false on
  // failure, with nothing held.
  bool Allocate(uint64_t bytes, bool zero = false);
  // Whether the allocation itself succeeded (a lock may still have failed).
  bool allocated() const { return handle_ != nullptr; }
  uint8_t *data() const { return data_; }
  void Release();

 private:
  plat::MemHandle handle_ = nullptr;
  uint8_t *data_ = nullptr;
};

// Builds the 40-byte information header with four-byte colour entries from a
// core header and its three-byte colour entries at `core` (the caller makes
// sure 12 + 3 x colours bytes are there). Reports code 23 under "hInfo" and
// returns false when the buffer cannot be had. *infoCount receives
// 40 + 4 x colours.
bool ConvertCoreHeader(Document *doc, const uint8_t *core, PictBuffer &out,
                       uint32_t *infoCount);

// Pixel size of an enhanced metafile from its header (at least 88 bytes): the
// bounds rectangle at the reference device's resolution, converted to the
// screen's. A resolution that cannot be computed (0 millimetres, or a result
// outside 32 bits) counts as 0, so the size becomes -1.
void EnhMetaPixelSize(const Document *doc, const uint8_t *header, int32_t *pixelWidth,
                      int32_t *pixelHeight);

}  // namespace dox
