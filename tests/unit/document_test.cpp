// Font and colour tables, delivery, utilities, and every allocation failure
// of the document core.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/font_color_table.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;
using doxtest::Rtf;

namespace {

TEST(Tables, FontsAndColoursInTheHeader) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  struct {
    const char *face;
    int32_t charset, index;
  } fonts[] = {{"Arial", -1, 0}, {"ARIAL", -1, 0},  // case ignored
               {"Arial", 204, 1}, {"arial", 204, 1},  // other charset: new entry
               {"No Such Face", -1, 2}, {"Symbol", -1, 3},
               {"Courier New", 1, 4}};  // charset 1: no \fcharset
  for (const auto &f : fonts) EXPECT_EQ(f.index, dox::FindOrAddTextFont(d, f.face, f.charset)) << f.face;
  EXPECT_EQ(0, dox::FindOrAddBulletFont(d, "arial"));
  const uint32_t colors[] = {0x0000FF, 0x123456, 0x0000FF, 0xFF000000u, 0};
  const int32_t indexes[] = {0, 1, 0, 2, 3};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(indexes[i], dox::FindOrAddColor(d, colors[i])) << i;
  EXPECT_EQ(
      "{\\rtf1\\uc1 \\deff0 {\\fonttbl{\\f0 \\fswiss \\fcharset0 Arial;}{\\f1 \\fswiss "
      "\\fcharset204 Arial;}\r\n{\\f2 \\fcharset0 No Such Face;}{\\f3 \\froman \\fcharset2 "
      "Symbol;}{\\f4 \\fmodern Courier New;}}{\\colortbl\\red255\\green0\\blue0;"
      "\\red86\\green52\\blue18;\r\n\\red0\\green0\\blue0;\\red0\\green0\\blue0;}"
      "\\ansi\\ftnbj}",
      Rtf(doc));
}

TEST(Tables, GrowByAQuarterAndKeepIndexes) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  int capacities[40];
  for (int i = 0; i < 40; ++i) {
    ASSERT_EQ(i, dox::AddToColorTable(d, static_cast<uint32_t>(i)));
    ASSERT_EQ(i, dox::AddToFontTable(d, ("F" + std::to_string(i)).c_str()));
    capacities[i] = d->FontCapacity;
    EXPECT_EQ(d->FontCapacity, d->ColorCapacity);
  }
  EXPECT_EQ(13, capacities[10]);
  EXPECT_EQ(16, capacities[13]);
  EXPECT_EQ(20, capacities[16]);
  EXPECT_EQ(39, capacities[31]);
  EXPECT_STREQ("F39", d->Fonts[39].Name);
  EXPECT_EQ(39u, d->Colors[39]);
  EXPECT_EQ(49, d->FontCapacity);  // 39 -> 49 at the fortieth
  EXPECT_EQ(static_cast<size_t>(40 * 49 + 41), dox::plat::MemSize(d->FontsHandle));
}

TEST(Delivery, BracesSizeAndRepeatability) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  DoxBeginGroup(doc, nullptr, 0);
  DoxBeginGroup(doc, "fldinst", 1);
  DoxInsertText(doc, "x");
  uint32_t size = 0;
  DOXHMEM h = DoxGetData(doc, &size);
  ASSERT_NE(nullptr, h);
  const char *p = static_cast<const char *>(DoxMemLock(h));
  std::string text(p, size - 1);
  EXPECT_EQ('\0', p[size - 1]);
  DoxMemUnlock(h);
  DoxMemFree(h);
  EXPECT_EQ("{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj\r\n{\r\n{\\*\\fldinst\\sectd x}}}", text);
  EXPECT_EQ(text, Rtf(doc));  // delivery changes nothing
  DoxEndGroup(doc);
  DoxEndGroup(doc);
  DoxEndGroup(doc);  // depth -1: still one closing brace
  EXPECT_EQ("}\r\n}\r\n}\r\n}", Rtf(doc).substr(Rtf(doc).size() - 10));
  EXPECT_EQ(-1, dox::FromHandle(doc)->Stream->GroupDepth);
}

TEST(Delivery, SaveFileWritesTheSameTextOrReturnsAHandle) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  DoxInsertText(doc, "caf\xe9\r\n");
  std::string path = ::testing::TempDir() + "dox_save_test.rtf";
  EXPECT_EQ(reinterpret_cast<DOXHMEM>(1), DoxSaveFile(doc, path.c_str()));
  std::ifstream in(path, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  EXPECT_EQ(Rtf(doc), ss.str());
  std::remove(path.c_str());

  for (const char *name : {static_cast<const char *>(nullptr), ""}) {
    DOXHMEM h = DoxSaveFile(doc, name);
    ASSERT_NE(nullptr, h);
    ASSERT_NE(reinterpret_cast<DOXHMEM>(1), h);
    // The block has the computed size; the text is NUL-terminated inside it.
    EXPECT_EQ(42u + 31u, DoxMemSize(h));  // 42 + the body's 31 bytes
    EXPECT_EQ(Rtf(doc), static_cast<const char *>(DoxMemLock(h)));
    DoxMemUnlock(h);
    DoxMemFree(h);
  }
  EXPECT_EQ(nullptr, DoxSaveFile(doc, "/nonexistent-dir/x.rtf"));
  EXPECT_EQ((std::vector<Report>{{5, "Could Not Open the File.", "DoxSave"}}), cap.boxes);
}

TEST(Utilities, ChunksInAndOut) {
  ReportCapture cap;
  std::string src(250, '\0');
  for (int i = 0; i < 250; ++i) src[i] = static_cast<char>(i);
  DOXHMEM h = DoxStrToHandleInChunks(src.data(), 250, nullptr, 0, 100);
  ASSERT_NE(nullptr, h);
  EXPECT_EQ(h, DoxStrToHandleInChunks(src.data() + 100, 250, h, 100, 100));
  EXPECT_EQ(h, DoxStrToHandleInChunks(src.data() + 200, 250, h, 200, 100));  // 50 copied
  EXPECT_EQ(nullptr, DoxStrToHandleInChunks(src.data(), 250, h, 250, 100));
  EXPECT_EQ(250u, DoxMemSize(h));
  long live = dox::plat::MemLiveBlocks();
  char out[250] = {};
  EXPECT_EQ(1, DoxHandleToStrInChunks(out, 250, h, 0, 100));
  EXPECT_EQ(1, DoxHandleToStrInChunks(out + 100, 250, h, 100, 100));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());  // not freed before the last chunk
  EXPECT_EQ(1, DoxHandleToStrInChunks(out + 200, 250, h, 200, 100));
  EXPECT_EQ(live - 1, dox::plat::MemLiveBlocks());
  EXPECT_EQ(src, std::string(out, 250));

  DOXHMEM whole = DoxStrToHandle("abc", 3);
  char three[3];
  EXPECT_EQ(1, DoxHandleToStr(three, 3, whole));
  EXPECT_EQ("abc", std::string(three, 3));
  EXPECT_EQ(live - 1, dox::plat::MemLiveBlocks());
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(Utilities, MakeMbcs) {
  const char chars[] = {'a', '\xa0', 'b'};
  const char leads[] = {0, '\x82', 0};
  char out[8];
  EXPECT_EQ(3, DoxMakeMbcs(out, chars, leads, 3));  // single-byte code page here
  EXPECT_EQ(std::string("a\xa0" "b", 4), std::string(out, 4));
  int32_t saved = dox::Lib().MbcsCodePage;
  dox::Lib().MbcsCodePage = 1;
  EXPECT_EQ(4, DoxMakeMbcs(out, chars, leads, 3));
  EXPECT_EQ(std::string("a\x82\xa0" "b", 5), std::string(out, 5));
  EXPECT_EQ(3, DoxMakeMbcs(out, chars, nullptr, 3));
  out[0] = 'z';
  EXPECT_EQ(0, DoxMakeMbcs(out, chars, leads, 0));
  EXPECT_EQ('z', out[0]);
  EXPECT_EQ(0, DoxMakeMbcs(out, chars, leads, -2));
  EXPECT_EQ('\0', out[0]);
  dox::Lib().MbcsCodePage = saved;
  EXPECT_EQ(-2, DoxMakeMbcs(out, chars, leads, -2));
}

// The allocation sweep in hardening_oom_test fails each of DoxNewDoc's
// blocks in turn; here: its report follows the library's flags, and five
// blocks make a document. The utilities always show a box with no caption of
// their own, whatever the flags.
TEST(OutOfMemory, NewDocumentAndUtilitiesUnderSilentLibraryFlags) {
  ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  dox::plat::MemFailNth(5);
  EXPECT_EQ(nullptr, DoxNewDoc());
  char caption[100];
  EXPECT_EQ(23, DoxGetLastMessage(nullptr, caption));
  EXPECT_STREQ("OurAlloc", caption);
  DoxResetLastMessage();
  dox::plat::MemFailNth(6);
  EXPECT_NE(nullptr, cap.New());
  dox::plat::MemFailNth(1);
  EXPECT_EQ(nullptr, DoxStrToHandle("abc", 3));
  dox::plat::MemFailNth(1);
  EXPECT_EQ(nullptr, DoxStrToHandleInChunks("abc", 3, nullptr, 0, 3));
  EXPECT_EQ((std::vector<Report>(2, {23, "Ran Out of Memory", "(null)"})), cap.boxes);
  EXPECT_EQ(0, DoxGetLastMessage(nullptr, nullptr));
}

// Groups, control words and raw text as such are in the core_raw golden.
TEST(RawRtf, ControlWordBraceIsEscaped) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  DoxBeginGroup(doc, nullptr, 0);
  DoxEndGroup(doc);
  DoxInsertControl(doc, "x{y", 0, 99);
  EXPECT_EQ("\\ansi\\ftnbj\r\n{}\r\n\\x\\{y", Body(doc));
  EXPECT_EQ(0, dox::FromHandle(doc)->Stream->GroupDepth);
}

}  // namespace
