// Pictures: the picture groups with their sizes and hexadecimal dumps, picture
// files (generated here: bitmaps of 1, 4, 8 and 24 bits, a core-header
// bitmap, a placeable metafile, an enhanced metafile, and broken variants),
// linked pictures, pasting from handles and from the clipboard, and MulDiv.
#include <climits>
#include <cstring>
#include <string>
#include <vector>

#include "core/muldiv.h"
#include "pictures/picture_groups.h"
#include "../fuzz/samples.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

// ---- Fixture builders -------------------------------------------------------
using Bytes = doxfuzz::Bytes;
using doxfuzz::Put16;
using doxfuzz::Put32;

// BITMAPINFOHEADER.
Bytes InfoHeader(int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0,
                 uint32_t sizeImage = 0, uint32_t colorsUsed = 0) {
  Bytes b;
  for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) Put32(b, v);
  Put16(b, 1);
  Put16(b, bits);
  for (uint32_t v : {compression, sizeImage, 0u, 0u, colorsUsed, 0u}) Put32(b, v);
  return b;
}
// BITMAPCOREHEADER.
Bytes CoreHeader(uint16_t w, uint16_t h, uint16_t bits) {
  Bytes b;
  Put32(b, 12);
  for (uint16_t v : {w, h, uint16_t{1}, bits}) Put16(b, v);
  return b;
}
// `n` distinct colours of three (blue, green, red) or four bytes.
Bytes Colors(int n, int entrySize) {
  Bytes b;
  for (int i = 0; i < n; ++i) {
    for (int v : {i * 7 + 1, i * 3 + 2, 255 - i}) b += static_cast<char>(v);
    if (entrySize == 4) b += '\0';
  }
  return b;
}
Bytes Pixels(size_t n) { return doxfuzz::Pattern(n); }
Bytes BmpFile(const Bytes &info, const Bytes &bits, uint32_t offBits = 0) {
  Bytes f = "BM";
  Put32(f, static_cast<uint32_t>(14 + info.size() + bits.size()));
  Put32(f, 0);
  Put32(f, offBits ? offBits : static_cast<uint32_t>(14 + info.size()));
  return f + info + bits;
}
// A metafile of 16 words: its header, one SETBKMODE record and the end record.
Bytes Metafile() {
  return Bytes("\x01\x00\x09\x00\x00\x03\x10\x00\x00\x00\x00\x00\x04\x00\x00\x00\x00\x00"
               "\x04\x00\x00\x00\x02\x01\x01\x00\x03\x00\x00\x00\x00\x00", 32);
}
Bytes Placeable(int16_t l, int16_t t, int16_t r, int16_t b, uint16_t inch, const Bytes &mf) {
  return doxfuzz::PlaceableWmf(l, t, r, b, inch, mf);
}
void Set32(Bytes &b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>(v >> (8 * i));
}
// The enhanced metafile used below (108-byte header, end record: 128 bytes):
// bounds 168 x 96 device pixels on a device of 1000 x 960 pixels and
// 300 x 254 mm, so 84 (84.67 truncated) and 96 dpi: 192 x 96 screen pixels,
// 2880 x 1440 twips.
Bytes TestEmf(uint32_t nBytes = 128, uint32_t headerSize = 108) {
  Bytes e = doxfuzz::Emf(10, 20, 178, 116, 1000, 960, 300, 254);
  Set32(e, 4, headerSize);
  Set32(e, 48, nBytes);
  return e;
}
const uint8_t *U8(const Bytes &b) { return reinterpret_cast<const uint8_t *>(b.data()); }

// The opening of a bitmap's picture group, through its scales.
std::string DibWords(int bits, int rowBytes, int w, int h, int gw, int gh, int sx = 100,
                     int sy = 100) {
  std::string s = "{\\pict\\dibitmap0";
  for (auto [word, v] : {std::pair{"wbmbitpixels", bits}, {"wbmplanes", 1}, {"wbmwidthbytes", rowBytes},
                         {"picw", w}, {"pich", h}, {"picwgoal", gw}, {"pichgoal", gh},
                         {"picscalex", sx}, {"picscaley", sy}})
    s += "\\" + std::string(word) + std::to_string(v);
  return s;
}

DOXHMEM Block(const Bytes &b) { return doxtest::Block(b.data(), b.size()); }
using doxtest::PictBlock;

// ---- Expected text ------------------------------------------------------------
std::string Hex(const Bytes &b) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (char c : b) s += {digits[static_cast<uint8_t>(c) >> 4], digits[c & 15]};
  return s;
}

// A picture group on a line of its own control words (long enough for the
// blank before the first digit to end the line): then lines of 102 digits;
// the closing braces follow the last digits unless that line already holds
// more than 100 characters.
std::string Group(const std::string &words, const Bytes &bytes, const std::string &close) {
  std::string hex = Hex(bytes), out = words + " \r\n";
  for (size_t i = 0; i < hex.size(); i += 102) out += (i ? "\r\n" : "") + hex.substr(i, 102);
  if (hex.size() % 102 == 0) out += "\r\n";
  return out + close;
}

const std::string kStart = "\\ansi\\ftnbj\\sectd";
const std::string kHeading =
    "This function is valid only if one of the following function(s) has been already "
    "called:\n\n";

struct Pictures : ::testing::Test {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  doxtest::TempFiles tmp{"dox_pictures_"};
  long blocks = dox::plat::MemLiveBlocks();

  ~Pictures() override { DoxClipboardEmpty(); }
  int32_t Insert(const Bytes &b, int32_t w = 0, int32_t h = 0, const char *name = "pic.bin") {
    return DoxInsertPictFile(doc, tmp.File(name, b.data(), b.size()).c_str(), w, h, 0);
  }
  void Reset() { d->Stream->BodyLength = d->Stream->LineLength = 0; }
  // Nothing the call allocated is still held.
  void ExpectNoLeak() { EXPECT_EQ(blocks, dox::plat::MemLiveBlocks()); }
};

// ---- MulDiv -------------------------------------------------------------------

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
  struct Case {
    int32_t a, b, c, expected;
  } cases[] = {
      {96, 1440, 96, 1440},   {5, 1, 2, 3},           {-5, 1, 2, -3},
      {5, -1, 2, -3},         {-5, -1, -2, -3},       {3, 1, -2, -2},
      {-1, 1, -2, 1},         {1, 1, 3, 0},           {2, 1, 3, 1},
      {-2, 1, 3, -1},         {60, 100, 45, 133},     {7, 0, 5, 0},
      {0, 0, 0, -1},          {-INT_MAX, 1, 1, -INT_MAX},
      {INT_MIN, -1, 1, -1},   {INT_MIN, INT_MIN, INT_MIN, -1}, {-1073741824, 1, INT_MIN, 1},
      {65536, 65536, 65536, 65536}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {10, 5, 4, 13},         {-10, 5, 4, -13},       {10, 5, -4, -13},
      {49, 1, 4, 12},         {1, 1, 0, -1},          {INT_MAX, 2, 1, -1},
      {INT_MAX, 2, 2, INT_MAX}, {INT_MIN, 1, 1, -1},
  };
  for (const Case &k : cases)
    EXPECT_EQ(k.expected, dox::MulDiv(k.a, k.b, k.c)) << k.a << " " << k.b << " " << k.c;
}

// ---- Picture groups -------------------------------------------------------------

TEST_F(Pictures, WritersStateSizesGoalsAndScales) {
  dox::OutputStream *s = d->Stream;
  const uint8_t bytes[] = {0x0A, 0xFF};
  auto write = [&](auto writer) {
    Reset();
    EXPECT_EQ(1, writer());
    return Body(doc);
  };
  // 96 x 96 pixels at 96 dpi: one inch.
  EXPECT_EQ("{\\pict\\wmetafile8\\picw2540\\pich2540\\picwgoal1440\\picscalex100"
            "\\pichgoal1440\\picscaley100 \r\n0aff}",
            write([&] { return dox::WriteWmfPictGroup(d, s, 96, 96, 0, 0, bytes, 2); }));
  // Only one display size given: both natural. No bytes: no blank.
  EXPECT_EQ("{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\picscalex100"
            "\\pichgoal720\\picscaley100}",
            write([&] { return dox::WriteWmfPictGroup(d, s, 96, 48, 2880, 0, bytes, 0); }));
  // No natural width: the display width at 100 percent; scales truncate.
  EXPECT_EQ("{\\pict\\wmetafile8\\picw0\\pich2540\\picwgoal500\\picscalex100"
            "\\pichgoal1440\\picscaley66}",
            write([&] { return dox::WriteWmfPictGroup(d, s, 0, 96, 500, 959, bytes, 0); }));
  EXPECT_EQ("{\\*\\shppict{\\pict\\emfblip\\picw2500\\pich2500\\picwgoal1440\\pichgoal1440"
            "\\picscalex100\\picscaley100}}",
            write([&] { return dox::WriteEmfPictGroup(d, s, 96, 96, 1440, 1440, bytes, 0); }));
  // An empty bounds rectangle: scale 100 on that axis, no division by zero.
  EXPECT_EQ("{\\*\\shppict{\\pict\\emfblip\\picw0\\pich2500\\picwgoal0\\pichgoal1440"
            "\\picscalex100\\picscaley49 \r\n0aff}}",
            write([&] { return dox::WriteEmfPictGroup(d, s, 0, 96, 700, 719, bytes, 2); }));
  // A zero-sized bitmap: MulDiv's -1 as scale.
  Bytes empty = InfoHeader(0, 0, 1);
  EXPECT_EQ("{\\pict\\dibitmap0\\wbmbitpixels1\\wbmplanes1\\wbmwidthbytes0\\picw0\\pich0"
            "\\picwgoal0\\pichgoal0\\picscalex-1\\picscaley-1\r\n}",
            write([&] { return dox::WriteDibPictGroup(d, s, 0, 0, U8(empty), bytes, 0, 0); }));
}

// More row sizes are in the bitmap files and pastes below.
TEST_F(Pictures, BitmapRowBytes) {
  struct Case {
    int32_t width;
    uint16_t bits;
    const char *word;
  } cases[] = {{10, 1, "\\wbmwidthbytes4"}, {33, 1, "\\wbmwidthbytes8"}, {32, 1, "\\wbmwidthbytes4"},
               {4, 8, "\\wbmwidthbytes4"}, {3, 32, "\\wbmwidthbytes12"}};
  for (const Case &k : cases) {
    Bytes info = InfoHeader(k.width, 1, k.bits);
    Reset();
    dox::WriteDibPictGroup(d, d->Stream, 0, 0, U8(info), nullptr, 16, 0);
    EXPECT_NE(std::string::npos, Body(doc).find(std::string(k.word) + "\\picw"))
        << k.width << "x" << k.bits << ": " << Body(doc);
  }
}

// ---- Picture files -------------------------------------------------------------

TEST_F(Pictures, PictureFilesOfEveryKind) {
  const Bytes info1 = InfoHeader(2, 2, 1) + Colors(2, 4), info4 = InfoHeader(3, 2, 4) + Colors(16, 4);
  const Bytes info8 = InfoHeader(5, 1, 8, 0, 0, 4) + Colors(4, 4), info24 = InfoHeader(10, 1, 24);
  // The placeable metafile gets its window records (origin y, x; extents
  // 720, 1440); the header's size grows by them (16 + 10 words).
  const Bytes m = Metafile();
  Bytes windowed(m.begin(), m.begin() + 18);
  windowed[6] = 26;
  windowed += Bytes("\x05\x00\x00\x00\x0B\x02\x32\x00\x64\x00"
                    "\x05\x00\x00\x00\x0C\x02\xD0\x02\xA0\x05", 20) + m.substr(18);
  const std::string emf = "{\\*\\shppict{\\pict\\emfblip";
  struct Case {
    Bytes file;
    int32_t w, h;
    const char *name;  // the contents decide, not the extension
    std::string words;
    Bytes dumped;
    const char *close;
  } cases[] = {
      {BmpFile(info1, Pixels(8)), 0, 0, "pic.bin", DibWords(1, 4, 2, 2, 30, 30),
       info1 + Pixels(8), "}"},
      {BmpFile(info4, Pixels(8)), 60, 90, "pic.bin", DibWords(4, 4, 3, 2, 45, 30, 133, 300),
       info4 + Pixels(8), "}"},
      {BmpFile(info8, Pixels(8)), 60, 0, "pic.bin", DibWords(8, 8, 5, 1, 75, 15),
       info8 + Pixels(8), "}"},
      {BmpFile(info24, Pixels(32)), 0, 0, "pic.bin", DibWords(24, 32, 10, 1, 150, 15),
       info24 + Pixels(32), "}"},
      // A core header: three-byte colours widened to four, the 40-byte header
      // built; the bytes between the colour table and the pixels are dropped.
      {BmpFile(CoreHeader(2, 2, 8) + Colors(256, 3) + Bytes("\xEE\xEE"), Pixels(8)), 0, 0,
       "core.wmf", DibWords(8, 4, 2, 2, 30, 30), InfoHeader(2, 2, 8) + Colors(256, 4) + Pixels(8), "}"},
      {Placeable(100, 50, 1540, 770, 1440, m), 0, 0, "x.bmp",
       "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\picscalex100\\pichgoal720"
       "\\picscaley100",
       windowed, "}"},
      // Only the height given: the natural width.
      {TestEmf(), 0, 720, "pic.bin",
       emf + "\\picw5000\\pich2500\\picwgoal2880\\pichgoal1440\\picscalex100\\picscaley50",
       TestEmf(), "}}"},
  };
  for (const Case &k : cases) {
    if (&k != cases) Reset();
    EXPECT_EQ(1, Insert(k.file, k.w, k.h, k.name)) << k.words;
    // The first picture opens the section.
    EXPECT_EQ((&k == cases ? kStart : "") + Group(k.words, k.dumped, k.close), Body(doc));
  }
  EXPECT_TRUE(cap.boxes.empty());
  ExpectNoLeak();
}

// Missing files are in the picture_paste_errors golden, a long missing name
// in hardening_args_test, failing buffers in the allocation sweep.
TEST_F(Pictures, FileFailuresReportAsTheTableSays) {
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  struct Case {
    Bytes file;
    int32_t result, code;
  } cases[] = {
      {Pixels(13), 0, 21},
      {Pixels(20), 0, 17},
      {Placeable(0, 0, 1, 1, 1, {}), 0, 17},
      {Metafile() + Bytes(100, '\0'), 0, 0},                     // no placeable header
      {BmpFile(InfoHeader(2, 2, 1), Pixels(8), 10), 0, 1},    // bits inside the header
      {BmpFile(InfoHeader(2, 2, 1), Pixels(8), 1000), 0, 1},  // bits past the end
      {BmpFile(CoreHeader(2, 2, 8) + Colors(100, 3), Pixels(8)), 0, 1},
      {BmpFile(Bytes{20, 0, 0, 0} + Pixels(36), Pixels(8)), 0, 1},
      {Placeable(0, 0, 1, 1, 1, Pixels(8)), 1, 17},
  };
  for (const Case &k : cases) {
    EXPECT_EQ(k.result, Insert(k.file)) << k.code;
    char message[512], caption[128];
    EXPECT_EQ(k.code, DoxGetLastMessage(message, caption));
    EXPECT_STREQ("", caption);
    DoxResetLastMessage();
  }
  // Nothing written by any of them but the section's opening.
  EXPECT_EQ(kStart, Body(doc));
  ExpectNoLeak();
}

TEST_F(Pictures, GroupThatCannotBeWrittenReturnsZeroAndReleasesItsBuffers) {
  Bytes big = BmpFile(InfoHeader(64, 64, 8), Pixels(64 * 64));
  dox::plat::MemFailNth(3);  // bits, information, then the body's growth
  EXPECT_EQ(0, Insert(big));
  // The closing brace tries the lost body once more.
  EXPECT_EQ((std::vector<Report>{{23, "Ran Out of Memory", "OurRealloc"},
                                 {23, "Ran Out of Memory", "FlushRtfLine"},
                                 {23, "Ran Out of Memory", "FlushRtfLine"}}),
            cap.boxes);
  EXPECT_EQ(blocks - 1, dox::plat::MemLiveBlocks());  // the body is lost, nothing leaks
}

TEST_F(Pictures, RefusedOutsideAnyTextPlace) {
  d->StateBits = dox::STATE_STYLE_SHEET;
  EXPECT_EQ(0, DoxInsertPictFile(doc, "C:\\a.bmp", 0, 0, 1));
  EXPECT_EQ(0, DoxPastePicture(doc, 8, nullptr, 0, 0));
  ASSERT_EQ(6u, cap.boxes.size());
  std::string listed = kHeading +
                       "DoxBeginSectText()     Begin Section Text,\n"
                       "DoxBeginHdrFtr()       Begin Header/Footer,\n"
                       "DoxBeginStyleItem()    Begin Stylesheet Item,\n"
                       "DoxBeginCellText()    Begin Cell Text.";
  EXPECT_EQ((Report{38, "This function not allowed after calling DoxBeginStylesheet()",
                    "DoxInitSect"}),
            cap.boxes[0]);
  EXPECT_EQ((Report{48, listed, "DoxInsertPictFile"}), cap.boxes[2]);
  EXPECT_EQ((Report{48, listed, "DoxPastePicture"}), cap.boxes[5]);
  EXPECT_EQ("\\ansi\\ftnbj", Body(doc));
}

TEST_F(Pictures, LinkedPictureWithALongNameIsWrittenWhole) {
  std::string name;
  for (int i = 0; i < 150; ++i) name += "d\\";
  name += "p.bmp";
  EXPECT_EQ(1, DoxInsertPictFile(doc, name.c_str(), 0, 0, 1));
  std::string expected;
  for (int i = 0; i < 150; ++i) expected += "d\\\\\\\\";
  expected = "{\\field{\\fldinst INCLUDEPICTURE \"" + expected + "p.bmp\" \\\\d}{\\fldrslt}}";
  std::string body = Body(doc), joined = body;
  std::erase(joined, '\r');
  std::erase(joined, '\n');
  EXPECT_EQ(kStart + expected, joined);
  EXPECT_LT(12u, body.size() - joined.size());  // broken into many lines
}

// ---- Pasting ---------------------------------------------------------------------

TEST_F(Pictures, PastedFromHandles) {
  DOXHMETAFILE mf = DoxMetaFileFromBits(Metafile().data(), 32);
  ASSERT_NE(nullptr, mf);
  // Stated sizes beyond the bytes (cut to them) and short of them.
  const Bytes emf = TestEmf(1000), shorter = TestEmf(108);
  DOXHENHMETAFILE enh = DoxEnhMetaFileFromBits(emf.data(), static_cast<uint32_t>(emf.size()));
  DOXHENHMETAFILE enhShort = DoxEnhMetaFileFromBits(shorter.data(), 128);
  std::vector<DOXHMEM> owned;
  auto own = [&](DOXHMEM h) { return owned.emplace_back(h); };
  const Bytes dib1 = InfoHeader(2, 2, 1) + Colors(2, 4) + Pixels(8);
  const Bytes masks = InfoHeader(2, 1, 16, 3, 50) + Pixels(12) + Pixels(50);
  const Bytes topDown = InfoHeader(2, -2, 24, 0, 900) + Pixels(12);
  const std::string s100 = "\\picscalex100\\picscaley100";
  const std::string emfWords = "{\\*\\shppict{\\pict\\emfblip\\picw5000\\pich2500\\picwgoal2880\\pichgoal1440";
  struct Case {
    int32_t format;
    void *handle;
    int32_t w, h;
    std::string expected;
  } cases[] = {
      {PICT_FORMAT_ENHMETAFILE, enh, 0, 0, Group(emfWords + s100, emf, "}}")},
      {PICT_FORMAT_ENHMETAFILE, enhShort, 5760, 1440,
       Group(emfWords + "\\picscalex200\\picscaley100", shorter.substr(0, 108), "}}")},
      // The same picture as the 1-bit bitmap file.
      {PICT_FORMAT_DIB, own(Block(dib1)), 0, 0, Group(DibWords(1, 4, 2, 2, 30, 30), dib1, "}")},
      // Colour masks: 52 header bytes; the stated image size; the closing
      // brace moves to a line of its own behind two full lines.
      {PICT_FORMAT_DIB, own(Block(masks)), 0, 0, Group(DibWords(16, 4, 2, 1, 30, 15), masks, "}")},
      // biClrUsed colours; no image size: rows x height, the rest not dumped.
      {PICT_FORMAT_DIB, own(Block(InfoHeader(5, 2, 8, 0, 0, 2) + Colors(2, 4) + Pixels(20))), 0, 0,
       Group(DibWords(8, 8, 5, 2, 75, 30),
             InfoHeader(5, 2, 8, 0, 0, 2) + Colors(2, 4) + Pixels(16), "}")},
      // Top-down, stated size beyond the block: cut to the block.
      {PICT_FORMAT_DIB, own(Block(topDown)), 0, 0, Group(DibWords(24, 8, 2, -2, 30, -30), topDown, "}")},
      // Core header: bits behind the three-byte colours, short ones cut.
      {PICT_FORMAT_DIB, own(Block(CoreHeader(9, 3, 4) + Colors(16, 3) + Pixels(10))), 0, 0,
       Group(DibWords(4, 8, 9, 3, 135, 45),
             InfoHeader(9, 3, 4) + Colors(16, 4) + Pixels(10), "}")},
      // 2540 x 1270 hundredths of a millimetre: 96 x 48 pixels.
      {PICT_FORMAT_METAFILEPICT, own(PictBlock(PICT_MM_ANISOTROPIC, 2540, 1270, mf)), 0, 0,
       Group("{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\picscalex100\\pichgoal720"
             "\\picscaley100", Metafile(), "}")},
      // No extents: three inches square.
      {PICT_FORMAT_METAFILEPICT, own(PictBlock(PICT_MM_ANISOTROPIC, 0, 0, mf)), 0, 0,
       Group("{\\pict\\wmetafile8\\picw7620\\pich7620\\picwgoal4320\\picscalex100\\pichgoal4320"
             "\\picscaley100", Metafile(), "}")},
      // Pixels; the width given, the height natural.
      {PICT_FORMAT_METAFILEPICT, own(PictBlock(PICT_MM_TEXT, 96, 48, mf)), 720, 0,
       Group("{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\picscalex50\\pichgoal720"
             "\\picscaley100", Metafile(), "}")},
      // Another mapping mode: nothing written, no report, success.
      {PICT_FORMAT_METAFILEPICT, own(PictBlock(2, 10, 10, mf)), 0, 0, ""},
  };
  for (const Case &k : cases) {
    if (&k != cases) Reset();
    EXPECT_EQ(1, DoxPastePicture(doc, k.format, k.handle, k.w, k.h)) << k.expected;
    // The first picture opens the section.
    EXPECT_EQ((&k == cases ? kStart : "") + k.expected, Body(doc));
  }
  EXPECT_TRUE(cap.boxes.empty());
  for (DOXHMEM h : owned) DoxMemFree(h);
  EXPECT_EQ(1, DoxDeleteMetaFile(mf));
  EXPECT_EQ(0, DoxDeleteMetaFile(mf));
  EXPECT_EQ(1, DoxDeleteEnhMetaFile(enh));
  EXPECT_EQ(1, DoxDeleteEnhMetaFile(enhShort));
  ExpectNoLeak();
}

TEST_F(Pictures, ClipboardIsOpenedOnlyWithoutAHandleAndAlwaysClosed) {
  DOXHMETAFILE mf = DoxMetaFileFromBits(Metafile().data(), 32);
  Bytes dib = InfoHeader(2, 2, 1) + Colors(2, 4) + Pixels(8);
  ASSERT_EQ(1, DoxClipboardSetData(PICT_FORMAT_DIB, Block(dib)));
  ASSERT_EQ(1, DoxClipboardSetData(PICT_FORMAT_METAFILEPICT,
                                   PictBlock(PICT_MM_TEXT, 96, 48, mf)));
  // Format 0 takes the metafile picture first.
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_ANY, nullptr, 0, 0));
  EXPECT_NE(std::string::npos, Body(doc).find("{\\pict\\wmetafile8"));
  EXPECT_EQ(std::string::npos, Body(doc).find("dibitmap"));
  // Format 0 with a handle: nothing.
  DOXHMEM own = Block(dib);
  std::string before = Body(doc);
  EXPECT_EQ(0, DoxPastePicture(doc, PICT_FORMAT_ANY, own, 0, 0));
  EXPECT_EQ(before, Body(doc));
  // Held open by someone else: a caller's handle still works, the clipboard
  // is not needed and stays theirs; without a handle it is "in use".
  ASSERT_TRUE(dox::plat::ClipOpen());
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_DIB, own, 0, 0));
  EXPECT_EQ(0, DoxPastePicture(doc, PICT_FORMAT_DIB, nullptr, 0, 0));
  EXPECT_TRUE(dox::plat::ClipClose());
  EXPECT_EQ((std::vector<Report>{{55, "Clipboard in use by another application", ""}}),
            cap.boxes);
  cap.boxes.clear();
  // From the clipboard: every path closes it again.
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_DIB, nullptr, 0, 0));
  std::string pasted = Body(doc);
  EXPECT_EQ(1, DoxPastePicture(doc, 2, nullptr, 0, 0));  // unknown: nothing written
  ASSERT_EQ(1, DoxClipboardEmpty());
  EXPECT_EQ(0, DoxPastePicture(doc, PICT_FORMAT_ANY, nullptr, 0, 0));
  EXPECT_EQ(0, DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, nullptr, 0, 0));
  EXPECT_TRUE(dox::plat::ClipOpen());
  EXPECT_TRUE(dox::plat::ClipClose());
  EXPECT_EQ((std::vector<Report>{{56, "Error retrieving the clipboard data", ""}}), cap.boxes);
  EXPECT_EQ(pasted, Body(doc));
  // The caller's bitmap and the clipboard's, one after the other.
  std::string dibGroup = "{\\pict\\dibitmap0\\wbmbitpixels1";
  size_t first = pasted.find(dibGroup, before.size());
  ASSERT_NE(std::string::npos, first);
  EXPECT_NE(std::string::npos, pasted.find(dibGroup, first + 1));
  DoxMemFree(own);
  ExpectNoLeak();  // emptying freed the blocks and the metafile the clipboard owned
}

// Handles that are not memory blocks are in the picture_paste_errors golden,
// failing buffers in the allocation sweep.
TEST_F(Pictures, PasteFailuresReportAsTheTableSays) {
  DOXHMETAFILE mf = DoxMetaFileFromBits(Metafile().data(), 32);
  Bytes badHeader = TestEmf(128, 20);
  DOXHENHMETAFILE bad = DoxEnhMetaFileFromBits(badHeader.data(), 128);
  DOXHMEM tiny = Block({40, 0, 0});
  DOXHMEM dangling = PictBlock(PICT_MM_TEXT, 9, 9, tiny);  // a block, not a metafile
  DOXHMEM shortTable = Block(InfoHeader(2, 2, 8));  // 1024 colour bytes missing
  DOXHMEM shortCore = Block(CoreHeader(2, 2, 4) + Colors(15, 3));
  const Report lock = {12, "Could Not Obtain Buffer Lock.", "Clipboard"};
  struct Case {
    int32_t format;
    void *handle;
    int32_t result;
    Report report;
  } cases[] = {
      {3, tiny, 1, lock},
      {8, tiny, 1, lock},
      {8, shortTable, 1, lock},
      {8, shortCore, 1, lock},
      {3, dangling, 1, {15, "Error copying metafile", "Error"}},
      {14, mf, 0, {15, "Error copying metafile", "DoxPasteEmf"}},
      {14, bad, 0, {29, "Error accessing enhanced metafile header.", "DoxPasteEmf"}},
  };
  long live = dox::plat::MemLiveBlocks();
  for (const Case &k : cases) {
    cap.boxes.clear();
    EXPECT_EQ(k.result, DoxPastePicture(doc, k.format, k.handle, 0, 0)) << k.format;
    EXPECT_EQ(std::vector<Report>{k.report}, cap.boxes) << k.format;
    EXPECT_EQ(live, dox::plat::MemLiveBlocks());
  }
  EXPECT_EQ(kStart, Body(doc));
  for (DOXHMEM h : {dangling, tiny, shortTable, shortCore}) DoxMemFree(h);
  DoxDeleteMetaFile(mf);
  DoxDeleteEnhMetaFile(bad);
  ExpectNoLeak();
}

TEST_F(Pictures, TruncatedAndCorruptInputsNeverReadOutsideTheirBytes) {
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  Bytes bmp = BmpFile(InfoHeader(3, 2, 4) + Colors(16, 4), Pixels(8));
  Bytes core = BmpFile(CoreHeader(9, 3, 4) + Colors(16, 3), Pixels(24));
  Bytes wmf = Placeable(0, 0, 100, 100, 96, Metafile());
  Bytes emf = TestEmf();
  std::vector<Bytes> files = {bmp, core, wmf, emf};
  // Absurd sizes and offsets in otherwise intact pictures.
  for (uint32_t v : {0u, 1u, 13u, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu}) {
    for (size_t at : {10u, 14u, 18u, 22u, 28u, 34u, 46u}) {  // bfOffBits, biSize, widths...
      Set32(files.emplace_back(bmp), at, v);
    }
    for (size_t at : {4u, 8u, 16u, 48u, 72u, 80u, 84u}) {  // nSize, bounds, nBytes, device
      Set32(files.emplace_back(emf), at, v);
    }
  }
  for (size_t f = 0; f < files.size(); ++f) {
    const Bytes &whole = files[f];
    // The intact fixtures cut at every length, the corrupt ones whole.
    for (size_t n = f < 4 ? 0 : whole.size(); n <= whole.size(); ++n) {
      Bytes part(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(n));
      int32_t r = Insert(part);
      EXPECT_TRUE(r == 0 || r == 1);
      // The same bytes as a packed bitmap (without the file header) and as
      // an enhanced metafile's bytes.
      Bytes packed(part.begin() + static_cast<std::ptrdiff_t>(std::min<size_t>(n, 14)), part.end());
      DOXHMEM h = Block(packed);
      EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_DIB, h, 0, 0));
      DoxMemFree(h);
      if (DOXHENHMETAFILE e = DoxEnhMetaFileFromBits(part.data(), static_cast<uint32_t>(n))) {
        DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, e, 0, 0);
        DoxDeleteEnhMetaFile(e);
      }
    }
  }
  ExpectNoLeak();
}

TEST(PictureHandles, MadeOnlyFromWellFormedBytes) {
  Bytes m = Metafile(), e = TestEmf(), badM = m, badE = e;
  badM[2] = 8;    // header size
  badE[40] = 'X';  // signature
  EXPECT_EQ(nullptr, DoxMetaFileFromBits(m.data(), 17));
  EXPECT_EQ(nullptr, DoxMetaFileFromBits(badM.data(), 32));
  EXPECT_EQ(nullptr, DoxEnhMetaFileFromBits(e.data(), 87));
  EXPECT_EQ(nullptr, DoxEnhMetaFileFromBits(badE.data(), 128));
  // Kinds are not mixed up.
  DOXHMETAFILE mf = DoxMetaFileFromBits(m.data(), 32);
  EXPECT_EQ(0, DoxDeleteEnhMetaFile(mf));
  EXPECT_EQ(1, DoxDeleteMetaFile(mf));
  EXPECT_EQ(0, DoxClipboardSetData(PICT_FORMAT_DIB, nullptr));
}

}  // namespace
