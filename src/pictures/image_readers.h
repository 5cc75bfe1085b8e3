// The headers of PNG and JPEG images: what an image's own bytes say about its
// size and resolution, read without decoding it. Nothing is read outside the
// given bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dox {

enum class ImageKind : uint8_t { Png, Jpeg };

struct ImageInfo {
  ImageKind kind;
  int32_t width;   // pixels, 1 to kMaxImageSide
  int32_t height;  // pixels, 1 to kMaxImageSide
  int32_t dpiX;    // dots per inch from the image, 0 when it states none
  int32_t dpiY;
};

constexpr int32_t kMaxImageSide = 65535;

// Reads a whole PNG: the signature, an IHDR chunk first, every chunk complete
// up to IEND (pHYs in pixels per metre gives the resolution). False for
// anything else, a cut file or a side of 0 or over kMaxImageSide.
bool ReadPngInfo(const uint8_t *bytes, size_t size, ImageInfo *info);

// Reads a whole JPEG: start of image, segments up to a start-of-frame marker
// of any coding (baseline, extended, progressive, lossless, arithmetic),
// then the scans up to the end-of-image marker. The JFIF segment's density in
// dots per inch or per centimetre gives the resolution. False for anything
// else, a cut file or a side of 0 or over kMaxImageSide.
bool ReadJpegInfo(const uint8_t *bytes, size_t size, ImageInfo *info);

}  // namespace dox
