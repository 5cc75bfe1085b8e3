// Pictures: the picture groups with their sizes and hexadecimal dumps, picture
// files (generated here: bitmaps of 1, 4, 8 and 24 bits, a core-header
// bitmap, a placeable metafile, an enhanced metafile, and broken variants),
// linked pictures, pasting from handles and from the clipboard, and MulDiv.
#include <chrono>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <vector>

#include "core/muldiv.h"
#include "pictures/picture_groups.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

// ---- Fixture builders -------------------------------------------------------
using Bytes = std::vector<uint8_t>;

void Put16(Bytes &b, uint32_t v) {
  b.push_back(static_cast<uint8_t>(v));
  b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(Bytes &b, uint32_t v) {
  Put16(b, v);
  Put16(b, v >> 16);
}
Bytes operator+(Bytes a, const Bytes &b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

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
    for (int v : {i * 7 + 1, i * 3 + 2, 255 - i}) b.push_back(static_cast<uint8_t>(v));
    if (entrySize == 4) b.push_back(0);
  }
  return b;
}
Bytes Pixels(size_t n) {
  Bytes b;
  for (size_t i = 0; i < n; ++i) b.push_back(static_cast<uint8_t>(i * 37 + 5));
  return b;
}
Bytes BmpFile(const Bytes &info, const Bytes &bits, uint32_t offBits = 0) {
  Bytes f = {'B', 'M'};
  Put32(f, static_cast<uint32_t>(14 + info.size() + bits.size()));
  Put32(f, 0);
  Put32(f, offBits ? offBits : static_cast<uint32_t>(14 + info.size()));
  return f + info + bits;
}
// A metafile: its header, one SETBKMODE record and the end record.
Bytes Metafile() {
  Bytes m;
  for (uint16_t v : {1, 9, 0x300}) Put16(m, v);
  Put32(m, 16);  // words: 18 + 8 + 6 bytes
  Put16(m, 0);
  Put32(m, 4);
  Put16(m, 0);
  return m + Bytes{4, 0, 0, 0, 0x02, 0x01, 0x01, 0x00} + Bytes{3, 0, 0, 0, 0, 0};
}
Bytes Placeable(int16_t l, int16_t t, int16_t r, int16_t b, uint16_t inch, const Bytes &mf) {
  Bytes p;
  Put32(p, 0x9AC6CDD7);
  for (int v : {0, int{l}, int{t}, int{r}, int{b}, int{inch}}) Put16(p, static_cast<uint32_t>(v));
  Put32(p, 0);
  Put16(p, 0);
  return p + mf;
}
// An enhanced metafile: a 108-byte header and the end record (128 bytes).
Bytes Emf(int32_t l, int32_t t, int32_t r, int32_t b, int32_t devX, int32_t devY, int32_t mmX,
          int32_t mmY, uint32_t nBytes = 128, uint32_t headerSize = 108) {
  Bytes e;
  for (uint32_t v : {1u, headerSize}) Put32(e, v);
  for (int32_t v : {l, t, r, b, 0, 0, 0, 0}) Put32(e, static_cast<uint32_t>(v));
  for (uint32_t v : {0x464D4520u, 0x10000u, nBytes, 2u}) Put32(e, v);
  Put16(e, 1);
  Put16(e, 0);
  for (uint32_t v : {0u, 0u, 0u}) Put32(e, v);
  for (int32_t v : {devX, devY, mmX, mmY, 0, 0, 0, mmX * 1000, mmY * 1000})
    Put32(e, static_cast<uint32_t>(v));
  for (uint32_t v : {14u, 20u, 0u, 16u, 20u}) Put32(e, v);
  return e;
}
// The enhanced metafile used below: bounds 168 x 96 device pixels on a
// device of 1000 x 960 pixels and 300 x 254 mm, so 84 (84.67 truncated) and
// 96 dpi: 192 x 96 screen pixels, 2880 x 1440 twips.
Bytes TestEmf(uint32_t nBytes = 128, uint32_t headerSize = 108) {
  return Emf(10, 20, 178, 116, 1000, 960, 300, 254, nBytes, headerSize);
}

DOXHMEM Block(const Bytes &b) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(b.size()));
  if (!b.empty()) std::memcpy(DoxMemLock(h), b.data(), b.size());
  DoxMemUnlock(h);
  return h;
}
DOXHMEM PictBlock(int32_t mm, int32_t x, int32_t y, DOXHMETAFILE mf) {
  DoxMetaFilePict p = {mm, x, y, mf};
  DOXHMEM h = DoxMemAlloc(sizeof p);
  std::memcpy(DoxMemLock(h), &p, sizeof p);
  DoxMemUnlock(h);
  return h;
}

// ---- Expected text ------------------------------------------------------------
std::string Hex(const Bytes &b) {
  static const char digits[] = "0123456789abcdef";
  std::string s;
  for (uint8_t v : b) s += {digits[v >> 4], digits[v & 15]};
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
  std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) /
      ("dox_pictures_" +
       std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  long blocks = dox::plat::MemLiveBlocks();

  Pictures() { std::filesystem::create_directories(dir); }
  ~Pictures() override {
    std::filesystem::remove_all(dir);
    DoxClipboardEmpty();
  }
  std::string File(const std::string &name, const Bytes &b) {
    std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char *>(b.data()),
                                                static_cast<std::streamsize>(b.size()));
    return path;
  }
  int32_t Insert(const Bytes &b, int32_t w = 0, int32_t h = 0, const char *name = "pic.bin") {
    return DoxInsertPictFile(doc, File(name, b).c_str(), w, h, 0);
  }
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
  };
  for (const Case &k : cases)
    EXPECT_EQ(k.expected, dox::MulDiv(k.a, k.b, k.c)) << k.a << " " << k.b << " " << k.c;
}

// ---- Picture groups -------------------------------------------------------------

TEST_F(Pictures, WritersStateSizesGoalsAndScales) {
  dox::OutputStream *s = d->Stream;
  const uint8_t bytes[] = {0x0A, 0xFF};
  auto write = [&](auto writer) {
    s->BodyLength = s->LineLength = 0;
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
            write([&] { return dox::WriteDibPictGroup(d, s, 0, 0, empty.data(), bytes, 0, 0); }));
}

TEST_F(Pictures, BitmapRowBytes) {
  struct Case {
    int32_t width;
    uint16_t bits;
    const char *word;
  } cases[] = {{10, 24, "\\wbmwidthbytes32"}, {10, 1, "\\wbmwidthbytes4"},
               {33, 1, "\\wbmwidthbytes8"},   {32, 1, "\\wbmwidthbytes4"},
               {3, 4, "\\wbmwidthbytes4"},    {9, 4, "\\wbmwidthbytes8"},
               {4, 8, "\\wbmwidthbytes4"},    {5, 8, "\\wbmwidthbytes8"},
               {3, 32, "\\wbmwidthbytes12"}};
  for (const Case &k : cases) {
    Bytes info = InfoHeader(k.width, 1, k.bits);
    d->Stream->BodyLength = d->Stream->LineLength = 0;
    dox::WriteDibPictGroup(d, d->Stream, 0, 0, info.data(), nullptr, 16, 0);
    EXPECT_NE(std::string::npos, Body(doc).find(std::string(k.word) + "\\picw"))
        << k.width << "x" << k.bits << ": " << Body(doc);
  }
}

TEST_F(Pictures, DumpLinesHold102DigitsAndNeverSplitAByte) {
  Bytes bytes = Pixels(200);
  dox::WriteWmfPictGroup(d, d->Stream, 96, 96, 0, 0, bytes.data(), 200);
  std::string body = Body(doc), hex = Hex(bytes);
  size_t first = body.find(" \r\n") + 3;
  EXPECT_EQ(hex.substr(0, 102) + "\r\n" + hex.substr(102, 102) + "\r\n" + hex.substr(204, 102) +
                "\r\n" + hex.substr(306) + "}",
            body.substr(first));
}

// ---- Picture files -------------------------------------------------------------

TEST_F(Pictures, BitmapFilesOfEveryDepth) {
  struct Case {
    Bytes info, bits;
    int32_t w, h;
    const char *words;
  } cases[] = {
      {InfoHeader(2, 2, 1) + Colors(2, 4), Pixels(8), 0, 0,
       "\\wbmbitpixels1\\wbmplanes1\\wbmwidthbytes4\\picw2\\pich2\\picwgoal30\\pichgoal30"
       "\\picscalex100\\picscaley100"},
      {InfoHeader(3, 2, 4) + Colors(16, 4), Pixels(8), 60, 90,
       "\\wbmbitpixels4\\wbmplanes1\\wbmwidthbytes4\\picw3\\pich2\\picwgoal45\\pichgoal30"
       "\\picscalex133\\picscaley300"},
      {InfoHeader(5, 1, 8, 0, 0, 4) + Colors(4, 4), Pixels(8), 60, 0,
       "\\wbmbitpixels8\\wbmplanes1\\wbmwidthbytes8\\picw5\\pich1\\picwgoal75\\pichgoal15"
       "\\picscalex100\\picscaley100"},
      {InfoHeader(10, 1, 24), Pixels(32), 0, 0,
       "\\wbmbitpixels24\\wbmplanes1\\wbmwidthbytes32\\picw10\\pich1\\picwgoal150\\pichgoal15"
       "\\picscalex100\\picscaley100"},
  };
  DoxBeginSectText(doc);
  for (const Case &k : cases) {
    d->Stream->BodyLength = d->Stream->LineLength = 0;
    EXPECT_EQ(1, Insert(BmpFile(k.info, k.bits), k.w, k.h));
    EXPECT_EQ(Group("{\\pict\\dibitmap0" + std::string(k.words), k.info + k.bits, "}"),
              Body(doc));
  }
  EXPECT_TRUE(cap.boxes.empty());
  ExpectNoLeak();
}

TEST_F(Pictures, CoreHeaderBitmapBecomesTheLongForm) {
  // Three-byte colours widened to four, the 40-byte header built; the bytes
  // between the colour table and the pixels are not part of the picture.
  Bytes core = CoreHeader(2, 2, 8) + Colors(256, 3) + Bytes{0xEE, 0xEE};
  EXPECT_EQ(1, Insert(BmpFile(core, Pixels(8)), 0, 0, "core.wmf"));
  EXPECT_EQ(Group(kStart + "{\\pict\\dibitmap0\\wbmbitpixels8\\wbmplanes1\\wbmwidthbytes4\\picw2"
                           "\\pich2\\picwgoal30\\pichgoal30\\picscalex100\\picscaley100",
                  InfoHeader(2, 2, 8) + Colors(256, 4) + Pixels(8), "}"),
            Body(doc));
  ExpectNoLeak();
}

TEST_F(Pictures, PlaceableMetafileGetsItsWindowRecords) {
  EXPECT_EQ(1, Insert(Placeable(100, 50, 1540, 770, 1440, Metafile()), 0, 0, "x.bmp"));
  // The header's size grows by the two inserted records (16 + 10 words).
  Bytes m = Metafile();
  Bytes expected(m.begin(), m.begin() + 18);
  expected[6] = 26;
  expected = expected + Bytes{5, 0, 0, 0, 0x0B, 0x02, 50, 0, 100, 0,            // origin y, x
                              5, 0, 0, 0, 0x0C, 0x02, 0xD0, 0x02, 0xA0, 0x05} +  // 720, 1440
             Bytes(m.begin() + 18, m.end());
  EXPECT_EQ(Group(kStart + "{\\pict\\wmetafile8\\picw2540\\pich1270\\picwgoal1440\\picscalex100"
                           "\\pichgoal720\\picscaley100",
                  expected, "}"),
            Body(doc));
  ExpectNoLeak();
}

TEST_F(Pictures, EnhancedMetafileAtItsNaturalWidth) {
  EXPECT_EQ(1, Insert(TestEmf(), 0, 720));
  EXPECT_EQ(Group(kStart + "{\\*\\shppict{\\pict\\emfblip\\picw5000\\pich2500\\picwgoal2880"
                           "\\pichgoal1440\\picscalex100\\picscaley50",
                  TestEmf(), "}}"),
            Body(doc));
  ExpectNoLeak();
}

TEST_F(Pictures, FileFailuresReportAsTheTableSays) {
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  auto last = [] {
    char message[512], caption[128];
    int32_t code = DoxGetLastMessage(message, caption);
    DoxResetLastMessage();
    return std::to_string(code) + " " + caption;
  };
  std::string missing = (dir / "missing.bmp").string();
  Bytes plain = Metafile() + Bytes(100, 0);  // no placeable header
  Bytes bmp = BmpFile(InfoHeader(2, 2, 1) + Colors(2, 4), Pixels(8));
  Bytes badOffset = BmpFile(InfoHeader(2, 2, 1), Pixels(8), 10);
  Bytes pastEnd = BmpFile(InfoHeader(2, 2, 1), Pixels(8), 1000);
  Bytes shortCore = BmpFile(CoreHeader(2, 2, 8) + Colors(100, 3), Pixels(8));
  Bytes oddHeader = BmpFile(Bytes{20, 0, 0, 0} + Pixels(36), Pixels(8));
  struct Case {
    std::function<int32_t()> call;
    int32_t result;
    std::string report;
  } cases[] = {
      {[&] { return DoxInsertPictFile(doc, missing.c_str(), 0, 0, 0); }, 0, "20 " + missing},
      {[&] { return DoxInsertPictFile(doc, nullptr, 0, 0, 0); }, 0, "20 "},
      {[&] { return Insert(Pixels(13)); }, 0, "21 "},
      {[&] { return Insert(Pixels(20)); }, 0, "17 "},
      {[&] { return Insert(Placeable(0, 0, 1, 1, 1, {})); }, 0, "17 "},
      {[&] { return Insert(plain); }, 0, "0 "},
      {[&] { return Insert(badOffset); }, 0, "1 "},
      {[&] { return Insert(pastEnd); }, 0, "1 "},
      {[&] { return Insert(shortCore); }, 0, "1 "},
      {[&] { return Insert(oddHeader); }, 0, "1 "},
      {[&] { return Insert(Placeable(0, 0, 1, 1, 1, Pixels(8))); }, 1, "17 "},
      {[&] { dox::plat::MemFailNth(1); return Insert(bmp); }, 1, "23 KelPictureFromDIB"},
      {[&] { dox::plat::MemFailNth(2); return Insert(bmp); }, 1, "23 KelPictureFromDIB"},
      {[&] { dox::plat::MemFailNth(3); return Insert(BmpFile(CoreHeader(1, 1, 1) + Colors(2, 3),
                                                            Pixels(4))); },
       1, "23 hInfo"},
      {[&] { dox::plat::MemFailNth(1); return Insert(Placeable(0, 0, 9, 9, 9, Metafile())); }, 1,
       "23 hImage"},
      {[&] { dox::plat::MemFailNth(1); return Insert(TestEmf()); }, 1, "23 hImage"},
  };
  for (const Case &k : cases) {
    EXPECT_EQ(k.result, k.call()) << k.report;
    EXPECT_EQ(k.report, last());
  }
  // Nothing written by any of them but the section's opening.
  EXPECT_EQ(kStart, Body(doc));
  ExpectNoLeak();
  // The error's caption keeps 99 characters of a long name; the name is
  // used whole.
  std::string longName = (dir / std::string(300, 'n')).string();
  EXPECT_EQ(0, DoxInsertPictFile(doc, longName.c_str(), 0, 0, 0));
  EXPECT_EQ("20 " + longName.substr(0, 99), last());
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

TEST_F(Pictures, PastedBitmapsFromHandles) {
  struct Case {
    Bytes packed;
    const char *words;
    Bytes dumped;
  } cases[] = {
      // The same picture as the 1-bit bitmap file.
      {InfoHeader(2, 2, 1) + Colors(2, 4) + Pixels(8),
       "\\wbmbitpixels1\\wbmplanes1\\wbmwidthbytes4\\picw2\\pich2\\picwgoal30\\pichgoal30",
       InfoHeader(2, 2, 1) + Colors(2, 4) + Pixels(8)},
      // Colour masks: 52 header bytes; the stated image size; the closing
      // brace moves to a line of its own behind two full lines.
      {InfoHeader(2, 1, 16, 3, 50) + Pixels(12) + Pixels(50),
       "\\wbmbitpixels16\\wbmplanes1\\wbmwidthbytes4\\picw2\\pich1\\picwgoal30\\pichgoal15",
       InfoHeader(2, 1, 16, 3, 50) + Pixels(12) + Pixels(50)},
      // biClrUsed colours; no image size: rows x height, the rest not dumped.
      {InfoHeader(5, 2, 8, 0, 0, 2) + Colors(2, 4) + Pixels(20),
       "\\wbmbitpixels8\\wbmplanes1\\wbmwidthbytes8\\picw5\\pich2\\picwgoal75\\pichgoal30",
       InfoHeader(5, 2, 8, 0, 0, 2) + Colors(2, 4) + Pixels(16)},
      // Top-down, stated size beyond the block: cut to the block.
      {InfoHeader(2, -2, 24, 0, 900) + Pixels(12),
       "\\wbmbitpixels24\\wbmplanes1\\wbmwidthbytes8\\picw2\\pich-2\\picwgoal30\\pichgoal-30",
       InfoHeader(2, -2, 24, 0, 900) + Pixels(12)},
      // Core header: bits behind the three-byte colours, short ones cut.
      {CoreHeader(9, 3, 4) + Colors(16, 3) + Pixels(10),
       "\\wbmbitpixels4\\wbmplanes1\\wbmwidthbytes8\\picw9\\pich3\\picwgoal135\\pichgoal45",
       InfoHeader(9, 3, 4) + Colors(16, 4) + Pixels(10)},
  };
  DoxBeginSectText(doc);
  for (const Case &k : cases) {
    d->Stream->BodyLength = d->Stream->LineLength = 0;
    DOXHMEM h = Block(k.packed);
    EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_DIB, h, 0, 0));
    EXPECT_EQ(Group("{\\pict\\dibitmap0" + std::string(k.words) + "\\picscalex100\\picscaley100",
                    k.dumped, "}"),
              Body(doc));
    DoxMemFree(h);
  }
  EXPECT_TRUE(cap.boxes.empty());
  ExpectNoLeak();
}

TEST_F(Pictures, PastedMetafilePictures) {
  DOXHMETAFILE mf = DoxMetaFileFromBits(Metafile().data(), 32);
  ASSERT_NE(nullptr, mf);
  struct Case {
    int32_t mm, x, y, w, h;
    const char *words;
  } cases[] = {
      // 2540 x 1270 hundredths of a millimetre: 96 x 48 pixels.
      {PICT_MM_ANISOTROPIC, 2540, 1270, 0, 0,
       "\\picw2540\\pich1270\\picwgoal1440\\picscalex100\\pichgoal720\\picscaley100"},
      // No extents: three inches square.
      {PICT_MM_ANISOTROPIC, 0, 0, 0, 0,
       "\\picw7620\\pich7620\\picwgoal4320\\picscalex100\\pichgoal4320\\picscaley100"},
      // Pixels; the width given, the height natural.
      {PICT_MM_TEXT, 96, 48, 720, 0,
       "\\picw2540\\pich1270\\picwgoal1440\\picscalex50\\pichgoal720\\picscaley100"},
  };
  DoxBeginSectText(doc);
  for (const Case &k : cases) {
    d->Stream->BodyLength = d->Stream->LineLength = 0;
    DOXHMEM h = PictBlock(k.mm, k.x, k.y, mf);
    EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_METAFILEPICT, h, k.w, k.h));
    EXPECT_EQ(Group("{\\pict\\wmetafile8" + std::string(k.words), Metafile(), "}"), Body(doc));
    DoxMemFree(h);
  }
  // Another mapping mode: nothing written, no report, success.
  d->Stream->BodyLength = d->Stream->LineLength = 0;
  DOXHMEM h = PictBlock(2, 10, 10, mf);
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_METAFILEPICT, h, 0, 0));
  EXPECT_EQ("", Body(doc));
  DoxMemFree(h);
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(1, DoxDeleteMetaFile(mf));
  EXPECT_EQ(0, DoxDeleteMetaFile(mf));
  ExpectNoLeak();
}

TEST_F(Pictures, PastedEnhancedMetafile) {
  Bytes emf = TestEmf(1000);  // a stated size beyond the bytes: cut to them
  DOXHENHMETAFILE h = DoxEnhMetaFileFromBits(emf.data(), static_cast<uint32_t>(emf.size()));
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, h, 0, 0));
  EXPECT_EQ(Group(kStart + "{\\*\\shppict{\\pict\\emfblip\\picw5000\\pich2500\\picwgoal2880"
                           "\\pichgoal1440\\picscalex100\\picscaley100",
                  emf, "}}"),
            Body(doc));
  d->Stream->BodyLength = d->Stream->LineLength = 0;
  Bytes shorter = TestEmf(108);
  DOXHENHMETAFILE h2 = DoxEnhMetaFileFromBits(shorter.data(), 128);
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, h2, 5760, 1440));
  EXPECT_EQ(Group("{\\*\\shppict{\\pict\\emfblip\\picw5000\\pich2500\\picwgoal2880"
                  "\\pichgoal1440\\picscalex200\\picscaley100",
                  Bytes(shorter.begin(), shorter.begin() + 108), "}}"),
            Body(doc));
  EXPECT_EQ(1, DoxDeleteEnhMetaFile(h));
  EXPECT_EQ(1, DoxDeleteEnhMetaFile(h2));
  EXPECT_TRUE(cap.boxes.empty());
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

TEST_F(Pictures, PasteFailuresReportAsTheTableSays) {
  DOXHMETAFILE mf = DoxMetaFileFromBits(Metafile().data(), 32);
  Bytes emf = TestEmf();
  DOXHENHMETAFILE good = DoxEnhMetaFileFromBits(emf.data(), 128);
  Bytes badHeader = TestEmf(128, 20);
  DOXHENHMETAFILE bad = DoxEnhMetaFileFromBits(badHeader.data(), 128);
  DOXHMEM pict = PictBlock(PICT_MM_TEXT, 9, 9, mf);
  DOXHMEM dangling = PictBlock(PICT_MM_TEXT, 9, 9, reinterpret_cast<DOXHMETAFILE>(pict));
  DOXHMEM tiny = Block({40, 0, 0});
  DOXHMEM shortTable = Block(InfoHeader(2, 2, 8));  // 1024 colour bytes missing
  DOXHMEM shortCore = Block(CoreHeader(2, 2, 4) + Colors(15, 3));
  DOXHMEM core = Block(CoreHeader(2, 2, 1) + Colors(2, 3) + Pixels(8));
  int dummy = 0;
  struct Case {
    int32_t format;
    void *handle;
    long failAt;
    int32_t result;
    std::vector<Report> reports;
  } cases[] = {
      {8, &dummy, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {3, &dummy, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {3, tiny, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {8, tiny, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {8, shortTable, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {8, shortCore, 0, 1, {{12, "Could Not Obtain Buffer Lock.", "Clipboard"}}},
      {8, core, 1, 1, {{23, "Ran Out of Memory", "hInfo"}}},
      {3, dangling, 0, 1, {{15, "Error copying metafile", "Error"}}},
      {3, pict, 1, 1, {{15, "Error copying metafile", "Error"}}},
      {3, pict, 2, 1, {{13, "Error accessing meta file data", "Error"}}},
      {14, &dummy, 0, 0, {{15, "Error copying metafile", "DoxPasteEmf"}}},
      {14, mf, 0, 0, {{15, "Error copying metafile", "DoxPasteEmf"}}},
      {14, good, 1, 0, {{15, "Error copying metafile", "DoxPasteEmf"}}},
      {14, bad, 0, 0, {{29, "Error accessing enhanced metafile header.", "DoxPasteEmf"}}},
      {14, good, 2, 0,
       {{23, "Ran Out of Memory", "OurAlloc"},
        {13, "Error accessing meta file data", "DoxPasteEmf"}}},
  };
  long live = dox::plat::MemLiveBlocks();
  for (const Case &k : cases) {
    cap.boxes.clear();
    dox::plat::MemFailNth(k.failAt);
    EXPECT_EQ(k.result, DoxPastePicture(doc, k.format, k.handle, 0, 0)) << k.format;
    EXPECT_EQ(k.reports, cap.boxes) << k.format;
    EXPECT_EQ(live, dox::plat::MemLiveBlocks());
  }
  dox::plat::MemFailNth(0);
  EXPECT_EQ(kStart, Body(doc));
  for (DOXHMEM h : {pict, dangling, tiny, shortTable, shortCore, core}) DoxMemFree(h);
  DoxDeleteMetaFile(mf);
  DoxDeleteEnhMetaFile(good);
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
      Bytes b = bmp;
      for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
      files.push_back(b);
    }
    for (size_t at : {4u, 8u, 16u, 48u, 72u, 80u, 84u}) {  // nSize, bounds, nBytes, device
      Bytes e = emf;
      for (int i = 0; i < 4; ++i) e[at + i] = static_cast<uint8_t>(v >> (8 * i));
      files.push_back(e);
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
