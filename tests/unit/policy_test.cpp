// What call scripts cannot reach: the message-box policy and the library's
// flags, delivery into files and blocks, the handle utilities, MulDiv.
#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "core/document.h"
#include "core/errors.h"
#include "core/library_state.h"
#include "core/muldiv.h"
#include "core/sequence.h"
#include "dox.h"
#include "platform/platform.h"
#include "platform/platform.h"

namespace {

struct Boxes {
  std::vector<std::string> shown;  // "CODE CAPTION: MESSAGE"
  Boxes() {
    DoxSetMessageSink(&Sink, this);
    DoxResetLastMessage();
  }
  ~Boxes() {
    DoxSetMessageSink(nullptr, nullptr);
    DoxSetFlags(nullptr, 0, 3);
    DoxResetLastMessage();
  }
  static void DOXAPI Sink(DOXDOC, int32_t code, const char *text, const char *caption,
                          void *user) {
    static_cast<Boxes *>(user)->shown.push_back(std::to_string(code) + " " +
                                                (caption ? caption : "(null)") + ": " + text);
  }
};

std::string Last() {
  char message[700], caption[128];
  int32_t code = DoxGetLastMessage(message, caption);
  return std::to_string(code) + " " + caption + ": " + message;
}

std::string Text(DOXHMEM h, bool free = true) {
  std::string s = static_cast<const char *>(DoxMemLock(h));
  DoxMemUnlock(h);
  if (free) DoxMemFree(h);
  return s;
}

TEST(Reports, BoxesRecordsAndFlags) {
  Boxes b;
  DOXDOC one = DoxNewDoc(), other = DoxNewDoc();
  EXPECT_EQ(2u, DoxSetFlags(one, 1, FLAG_ONE_MSG_BOX));
  for (int i = 0; i < 3; ++i) DoxInitSect(one);  // the third is dropped
  DoxInitSect(other);
  DoxInitSect(other);
  EXPECT_EQ((std::vector<std::string>(2, "31 DoxInitSect: DoxInitSect() already called")), b.shown);
  EXPECT_EQ("0 : No User Error", Last());
  EXPECT_EQ(3u, DoxSetFlags(one, 1, FLAG_NO_MSG_BOX));  // both: recorded, never shown
  dox::ReportError(dox::FromHandle(one), 6, std::string(150, 'c').c_str());
  EXPECT_EQ("6 " + std::string(99, 'c') + ": File Read Error", Last());
  dox::ReportError(nullptr, 23, nullptr);  // library flags: shown, default caption
  EXPECT_EQ("23 Error: Ran Out of Memory", b.shown.back());
  EXPECT_EQ(1u, DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX));
  DOXDOC later = DoxNewDoc();
  EXPECT_EQ(1u, DoxSetFlags(later, 1, 0));
  EXPECT_EQ(0u, DoxSetFlags(other, 1, 0));
  dox::plat::MemFailNth(5);  // DoxNewDoc's last block: reported under the library flags
  EXPECT_EQ(nullptr, DoxNewDoc());
  EXPECT_EQ("23 OurAlloc: Ran Out of Memory", Last());
  dox::plat::MemFailNth(1);  // the utilities show their box whatever the flags
  EXPECT_EQ(nullptr, DoxStrToHandle("abc", 3));
  EXPECT_EQ("23 (null): Ran Out of Memory", b.shown.back());
  EXPECT_EQ(1, WEP(7));
  EXPECT_EQ(1, DoxResetLastMessage());
  for (DOXDOC d : {one, other, later}) EXPECT_EQ(1, DoxEndDoc(d));
}

// Several brackets open: the last one of the list decides the code; one whose
// "already" matches for the script style ends the choice at once. (Exports
// reach only some of these combinations.)
TEST(Reports, RefusalCodeOfSeveralBrackets) {
  Boxes b;
  DOXDOC doc = DoxNewDoc();
  dox::Document *d = dox::FromHandle(doc);
  using namespace dox;
  const uint32_t cases[][4] = {
      {STATE_STYLE_ITEM | STATE_TABLE_ROW, 0, STATE_STYLE_ITEM | STATE_TABLE_ROW, 40},
      {STATE_FRAME | STATE_TEXT_BOX, STATE_FRAME | STATE_TEXT_BOX, 0, 43},
      {STATE_SCRIPT_STYLE | STATE_CELL_TEXT, 0, STATE_SCRIPT_STYLE | STATE_CELL_TEXT, 59},
      {STATE_SCRIPT_STYLE, STATE_SCRIPT_STYLE, STATE_SCRIPT_STYLE, 58}};
  for (const auto &k : cases) {
    d->StateBits = k[0];
    EXPECT_EQ(0, CheckCallSequence(d, "Probe", k[1], 0, k[2]));
    EXPECT_EQ(std::to_string(k[3]), b.shown.back().substr(0, 2));
  }
  DoxEndDoc(doc);
}

TEST(Reports, VersionAndTheSinksDocument) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%d.%d.%d", DOX_VERSION_MAJOR, DOX_VERSION_MINOR,
                DOX_VERSION_PATCH);
  EXPECT_STREQ(DOX_VERSION_STRING, DoxVersion());
  EXPECT_STREQ(numbers, DoxVersion());
  // Each report names the document it is about; 0 when there is none (yet).
  std::vector<std::pair<DOXDOC, std::string>> seen;
  EXPECT_EQ(1, DoxSetMessageSink(
                   [](DOXDOC doc, int32_t code, const char *, const char *caption, void *user) {
                     static_cast<decltype(seen) *>(user)->emplace_back(
                         doc, std::to_string(code) + " " + caption);
                   },
                   &seen));
  DOXDOC a = DoxNewDoc(), b = DoxNewDoc();
  DoxBeginTableRow(a, 0, 0, 0, 0, 0);
  DoxEndCellText(b);
  DoxBeginCellText(a);
  dox::plat::MemFailNth(1);
  DoxNewDoc();
  dox::plat::MemFailNth(1);  // the cell block: reported under the library's flags, about a
  DoxNextCellInfo(a, 1000, 0, 0, CELL_NO_BGCOLOR, 0, 0, 0, 0, 0);
  DoxSetMessageSink(nullptr, nullptr);
  const decltype(seen) expected = {{b, "48 DoxEndCellText"}, {a, "51 DoxBeginCellText"},
                                   {nullptr, "23 OurAlloc"}, {a, "23 OurAlloc"}};
  EXPECT_EQ(expected, seen);
  DoxEndDoc(a);
  DoxEndDoc(b);
}

TEST(Delivery, FileAndBlockHoldTheSameText) {
  Boxes b;
  DOXDOC doc = DoxNewDoc();
  DoxInsertText(doc, "caf\xe9\r\n");
  std::string path = ::testing::TempDir() + "dox_delivery.rtf";
  EXPECT_EQ(reinterpret_cast<DOXHMEM>(1), DoxSaveFile(doc, path.c_str()));
  std::stringstream file;
  file << std::ifstream(path, std::ios::binary).rdbuf();
  std::remove(path.c_str());
  uint32_t size = 0;
  DOXHMEM data = DoxGetData(doc, &size);
  EXPECT_EQ(file.str().size() + 1, size);
  EXPECT_EQ(file.str(), Text(data));
  for (const char *name : {static_cast<const char *>(nullptr), ""}) {
    DOXHMEM h = DoxSaveFile(doc, name);
    EXPECT_EQ(42u + 31u, DoxMemSize(h));  // room for the header words and the body
    EXPECT_EQ(file.str(), Text(h));
  }
  EXPECT_EQ(nullptr, DoxSaveFile(doc, "/nonexistent-dir/x.rtf"));
  EXPECT_EQ((std::vector<std::string>{"5 DoxSave: Could Not Open the File."}), b.shown);
  DoxEndDoc(doc);
}

// A small body lies at the place in its 64-byte lines of memory where the
// file will have it, behind the header and the tables, as fonts and colours
// join the tables and the body grows into larger blocks; a large one stays
// where it is.
TEST(Delivery, BodyPlacedAsInTheFile) {
  Boxes b;
  DOXDOC doc = DoxNewDoc();
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  auto placed = [&] {
    const std::string text = Text(DoxGetData(doc, nullptr));
    const size_t frame = text.find("\\ansi");
    return (reinterpret_cast<uintptr_t>(s->Body) - frame) % 64 == 0;
  };
  EXPECT_TRUE(placed());
  const char *faces[] = {"Arial", "Courier New", "Times New Roman", "Symbol"};
  for (int i = 0; i < 4; ++i) {
    DoxTextFont(doc, faces[i], 10 + i, 0, 1);
    EXPECT_TRUE(placed()) << faces[i];
    DoxTextColor(doc, 0x10101u * static_cast<uint32_t>(i + 1), 1);
    EXPECT_TRUE(placed()) << i;
  }
  const std::string words(200, 'w');
  while (s->BodyLength < 40000) DoxInsertText(doc, words.c_str());  // grows past the first block
  EXPECT_TRUE(placed());
  while (s->BodyLength < 70000) DoxInsertText(doc, words.c_str());
  const char *body = s->Body;
  DoxTextFont(doc, "Georgia", 10, 0, 1);  // too large to move now
  EXPECT_EQ(body, s->Body);
  DoxEndDoc(doc);
}

// Large writes whose bytes would land 1-15 bytes past their source in the
// page go through a buffer; the same bytes, also when it cannot be had.
TEST(Delivery, LargeWritesPlacedCloseBehindTheirSource) {
  namespace plat = dox::plat;
  const std::string path = ::testing::TempDir() + "dox_staged.rtf";
  std::vector<char> source((3u << 20) + 8192);
  for (int run = 0; run < 4; ++run) {
    const uintptr_t ahead = run % 2 ? 16 : 5;
    plat::FileHandle f = plat::FileCreate(path.c_str());
    ASSERT_TRUE(plat::FileWrite(f, "{\\rtf1", 6));
    char *p = source.data() + ((6 - ahead - reinterpret_cast<uintptr_t>(source.data())) & 4095);
    std::string bytes(3u << 20, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) p[i] = bytes[i] = static_cast<char>('a' + i * 7 % 26);
    const long before = plat::MemRequestCount();
    plat::MemFailNth(run / 2);
    EXPECT_TRUE(plat::FileWrite(f, p, static_cast<uint32_t>(bytes.size())));
    plat::MemFailNth(0);
    EXPECT_EQ(ahead < 16 ? 1 : 0, plat::MemRequestCount() - before) << run;
    plat::FileClose(f);
    std::stringstream file;
    file << std::ifstream(path, std::ios::binary).rdbuf();
    EXPECT_TRUE(file.str() == "{\\rtf1" + bytes) << run;
  }
  std::remove(path.c_str());
}

TEST(Utilities, ChunksMbcsAndBadArguments) {
  std::string src(250, '\0');
  for (int i = 0; i < 250; ++i) src[i] = static_cast<char>(i);
  DOXHMEM h = DoxStrToHandleInChunks(src.data(), 250, nullptr, 0, 100);
  EXPECT_EQ(h, DoxStrToHandleInChunks(src.data() + 100, 250, h, 100, 100));
  EXPECT_EQ(h, DoxStrToHandleInChunks(src.data() + 200, 250, h, 200, 100));  // 50 fit
  EXPECT_EQ(nullptr, DoxStrToHandleInChunks(src.data(), 250, h, 250, 100));
  EXPECT_EQ(nullptr, DoxStrToHandleInChunks(src.data(), 250, h, 0, 0));
  EXPECT_EQ(250u, DoxMemSize(h));
  const long live = dox::plat::MemLiveBlocks();
  char out[250] = {};
  EXPECT_EQ(1, DoxHandleToStrInChunks(out, 250, h, 0, 100));
  EXPECT_EQ(1, DoxHandleToStrInChunks(out + 100, 250, h, 100, 100));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());  // freed only with the last chunk
  EXPECT_EQ(1, DoxHandleToStrInChunks(out + 200, 250, h, 200, 100));
  EXPECT_EQ(live - 1, dox::plat::MemLiveBlocks());
  EXPECT_EQ(src, std::string(out, 250));
  EXPECT_EQ(1, DoxHandleToStr(out, 3, DoxStrToHandle("abc", 3)));
  EXPECT_EQ("abc", std::string(out, 3));
  EXPECT_EQ(nullptr, DoxStrToHandle(nullptr, 3));
  // A negative size is the unsigned count it is for the allocator (4 GiB - 1
  // for -1), which no block can have: refused without trying.
  const long requests = dox::plat::MemRequestCount();
  EXPECT_EQ(nullptr, DoxStrToHandle("abc", -1));
  EXPECT_EQ(requests, dox::plat::MemRequestCount());
  EXPECT_EQ(0, DoxHandleToStr(nullptr, 3, h));

  const char chars[] = {'a', '\xa0', 'b'}, leads[] = {0, '\x82', 0};
  EXPECT_EQ(3, DoxMakeMbcs(out, chars, leads, 3));  // a single-byte code page
  EXPECT_EQ(std::string("a\xa0" "b", 4), std::string(out, 4));
  const int32_t saved = dox::Lib().MbcsCodePage;
  dox::Lib().MbcsCodePage = 1;
  EXPECT_EQ(4, DoxMakeMbcs(out, chars, leads, 3));
  EXPECT_EQ(std::string("a\x82\xa0" "b", 5), std::string(out, 5));
  EXPECT_EQ(3, DoxMakeMbcs(out, chars, nullptr, 3));
  out[0] = 'z';  // counts below 1 never read the characters
  EXPECT_EQ(0, DoxMakeMbcs(out, nullptr, leads, 0));
  EXPECT_EQ('z', out[0]);
  EXPECT_EQ(0, DoxMakeMbcs(out, nullptr, leads, -2));
  EXPECT_EQ('\0', out[0]);
  dox::Lib().MbcsCodePage = saved;
  EXPECT_EQ(-2, DoxMakeMbcs(out, nullptr, leads, -2));
  EXPECT_EQ(0, DoxMakeMbcs(nullptr, chars, leads, 3));
}

// Outside Windows the emulated enhanced metafile refuses a header record of
// fewer than 88 bytes (Windows itself decides there): 29 under "DoxPasteEmf".
TEST(Delivery, EnhancedMetafileWithoutItsHeader) {
  Boxes b;
  const uint8_t emf[] = {0x01, 0x00, 0x00, 0x00, 0x50, 0x00, 0x00, 0x00, 0x0a, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0xb2, 0x00, 0x00, 0x00, 0x74, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x20, 0x45, 0x4d, 0x46, 0x00, 0x00, 0x01, 0x00, 0x80, 0x00, 0x00, 0x00, 0x02, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe8, 0x03, 0x00, 0x00, 0xc0, 0x03, 0x00, 0x00, 0x2c, 0x01, 0x00, 0x00, 0xfe, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xe0, 0x93, 0x04, 0x00, 0x30, 0xe0, 0x03, 0x00, 0x0e, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x00, 0x00, 0x14, 0x00, 0x00, 0x00};
  void *h = DoxEnhMetaFileFromBits(emf, sizeof emf);
  DOXDOC doc = DoxNewDoc();
  EXPECT_EQ(0, DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, h, 0, 0));
  EXPECT_EQ((std::vector<std::string>{"29 DoxPasteEmf: Error accessing enhanced metafile header."}),
            b.shown);
  DoxEndDoc(doc);
  DoxDeleteEnhMetaFile(h);
}

TEST(MulDiv, RoundsHalvesAwayFromZeroAndFailsWithMinusOne) {
  const int32_t cases[][4] = {
      {96, 1440, 96, 1440}, {5, 1, 2, 3},     {-5, 1, 2, -3},   {5, -1, 2, -3},
      {-5, -1, -2, -3},     {3, 1, -2, -2},   {-1, 1, -2, 1},   {1, 1, 3, 0},
      {2, 1, 3, 1},         {-2, 1, 3, -1},   {60, 100, 45, 133}, {7, 0, 5, 0},
      {0, 0, 0, -1},        {-INT_MAX, 1, 1, -INT_MAX}, {INT_MIN, -1, 1, -1},
      {INT_MIN, INT_MIN, INT_MIN, -1}, {-1073741824, 1, INT_MIN, 1},
      {65536, 65536, 65536, 65536}, {INT_MAX, INT_MAX, INT_MAX, INT_MAX},
      {10, 5, -4, -13},     {49, 1, 4, 12},   {INT_MAX, 2, 1, -1}, {INT_MIN, 1, 1, -1}};
  for (const auto &k : cases)
    EXPECT_EQ(k[3], dox::MulDiv(k[0], k[1], k[2])) << k[0] << " " << k[1] << " " << k[2];
}

}  // namespace
