// Well-formed picture bytes of every kind the library reads, for the seed
// corpora, the fuzz targets' picture files and the hardening tests.
#pragma once

#include <cstdint>
#include <string>

namespace doxfuzz {

using Bytes = std::string;

inline void Put16(Bytes &b, uint32_t v) {
  b += static_cast<char>(v & 0xFF);
  b += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(Bytes &b, uint32_t v) {
  Put16(b, v);
  Put16(b, v >> 16);
}

// Bytes of one bitmap row, padded to four bytes.
inline uint32_t RowBytes(uint32_t bitCount, uint32_t width) {
  return (bitCount * width + 31) / 32 * 4;
}
inline uint32_t TableColors(uint32_t bitCount) {
  return bitCount == 1 ? 2 : bitCount == 4 ? 16 : bitCount == 8 ? 256 : 0;
}
// `n` bytes of a repeating pattern.
inline Bytes Pattern(size_t n, uint32_t seed = 5) {
  Bytes b;
  for (size_t i = 0; i < n; ++i) b += static_cast<char>((i * 37 + seed) & 0xFF);
  return b;
}

// A packed bitmap with the 40-byte header: its colour table (or, with
// compression 3, three masks) and its bits. `sizeImage` false leaves
// biSizeImage 0; a negative height is a top-down bitmap.
inline Bytes PackedDib(int32_t width, int32_t height, uint16_t bitCount,
                       uint32_t compression = 0, uint32_t colorsUsed = 0,
                       bool sizeImage = true) {
  uint32_t rows = static_cast<uint32_t>(height < 0 ? -height : height);
  uint32_t bits = RowBytes(bitCount, static_cast<uint32_t>(width)) * rows;
  Bytes b;
  Put32(b, 40);
  Put32(b, static_cast<uint32_t>(width));
  Put32(b, static_cast<uint32_t>(height));
  Put16(b, 1);
  Put16(b, bitCount);
  for (uint32_t v : {compression, sizeImage ? bits : 0u, 3780u, 3780u, colorsUsed, 0u})
    Put32(b, v);
  if (compression == 3)
    for (uint32_t mask : {0xF800u, 0x07E0u, 0x001Fu}) Put32(b, mask);
  uint32_t colors = colorsUsed != 0 && bitCount < 24 ? colorsUsed : TableColors(bitCount);
  for (uint32_t i = 0; i < colors; ++i) Put32(b, 0x00010203u * (i & 0x3F));
  return b + Pattern(bits);
}

// A packed bitmap with the 12-byte core header and three-byte colour entries.
inline Bytes CorePackedDib(uint16_t width, uint16_t height, uint16_t bitCount) {
  Bytes b;
  Put32(b, 12);
  for (uint16_t v : {width, height, uint16_t{1}, bitCount}) Put16(b, v);
  for (uint32_t i = 0; i < TableColors(bitCount); ++i) b += Bytes{char(i), char(i * 2), char(255 - i)};
  return b + Pattern(RowBytes(bitCount, width) * height);
}

// A bitmap file: the 14-byte file header in front of a packed bitmap whose
// header and colour table take `infoBytes`.
inline Bytes BmpFile(const Bytes &packed, uint32_t infoBytes) {
  Bytes f = "BM";
  Put32(f, static_cast<uint32_t>(14 + packed.size()));
  Put32(f, 0);
  Put32(f, 14 + infoBytes);
  return f + packed;
}
// The size of the header and colour table of a PackedDib or CorePackedDib.
inline uint32_t DibInfoBytes(const Bytes &packed) {
  auto at = [&](size_t i) { return static_cast<uint8_t>(packed[i]); };
  uint32_t size = at(0) | at(1) << 8;
  if (size == 12) return 12 + 3 * TableColors(at(10) | at(11) << 8);
  uint32_t bitCount = at(14) | at(15) << 8, compression = at(16);
  uint32_t colorsUsed = at(32) | at(33) << 8 | at(34) << 16;
  uint32_t colors = colorsUsed != 0 && bitCount < 24 ? colorsUsed : TableColors(bitCount);
  return 40 + (compression == 3 ? 12 : 0) + 4 * colors;
}

// A Windows metafile: the 18-byte header, a SETBKMODE record, a rectangle
// and the end record.
inline Bytes Metafile() {
  Bytes records;
  Put32(records, 4);
  Put16(records, 0x0102);  // SETBKMODE
  Put16(records, 1);
  Put32(records, 7);
  Put16(records, 0x041B);  // RECTANGLE bottom, right, top, left
  for (uint32_t v : {90u, 120u, 10u, 10u}) Put16(records, v);
  Put32(records, 3);
  Put16(records, 0);  // end
  Bytes m;
  for (uint32_t v : {1u, 9u, 0x300u}) Put16(m, v);
  Put32(m, static_cast<uint32_t>((18 + records.size()) / 2));
  Put16(m, 0);
  Put32(m, 7);
  Put16(m, 0);
  return m + records;
}

// A placeable metafile: the 22-byte header (bounding box in units of `inch`
// per inch) in front of `metafile`.
inline Bytes PlaceableWmf(int16_t left, int16_t top, int16_t right, int16_t bottom,
                          uint16_t inch, const Bytes &metafile) {
  Bytes p;
  Put32(p, 0x9AC6CDD7u);
  for (int v : {0, int{left}, int{top}, int{right}, int{bottom}, int{inch}})
    Put16(p, static_cast<uint32_t>(v));
  Put32(p, 0);
  uint32_t sum = 0;
  for (size_t i = 0; i + 1 < p.size(); i += 2)
    sum ^= static_cast<uint8_t>(p[i]) | static_cast<uint8_t>(p[i + 1]) << 8;
  Put16(p, sum);
  return p + metafile;
}

// An enhanced metafile: the 108-byte header record (bounds in device pixels
// of a reference device of devX x devY pixels and mmX x mmY millimetres) and
// the end record.
inline Bytes Emf(int32_t left, int32_t top, int32_t right, int32_t bottom, int32_t devX = 1024,
                 int32_t devY = 768, int32_t mmX = 270, int32_t mmY = 203) {
  Bytes e;
  Put32(e, 1);
  Put32(e, 108);
  for (int32_t v : {left, top, right, bottom, 0, 0, 0, 0}) Put32(e, static_cast<uint32_t>(v));
  for (uint32_t v : {0x464D4520u, 0x10000u, 128u, 2u}) Put32(e, v);
  Put16(e, 1);
  Put16(e, 0);
  for (uint32_t v : {0u, 0u, 0u}) Put32(e, v);
  for (int32_t v : {devX, devY, mmX, mmY, 0, 0, 0, mmX * 1000, mmY * 1000})
    Put32(e, static_cast<uint32_t>(v));
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) Put32(e, v);
  return e;
}

}  // namespace doxfuzz
