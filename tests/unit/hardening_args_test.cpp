// Bad arguments at the interface: null documents and strings, strings longer
// than any buffer, extreme integers, and calls on a document after memory
// ran out. Each case shows the choice dox.h documents for it.
#include <algorithm>
#include <climits>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "../fuzz/checks.h"
#include "../fuzz/samples.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

Report Oom(const char *caption) { return {23, "Ran Out of Memory", caption}; }

// Every line of the body holds at most 300 characters.
bool LinesWithin300(DOXDOC doc) {
  std::string body = Body(doc);
  size_t start = 0, end;
  while ((end = body.find("\r\n", start)) != std::string::npos) {
    if (end - start > 300) return false;
    start = end + 2;
  }
  return body.size() - start <= 300;
}

TEST(BadArguments, NullDocumentReturnsZeroAndReportsNothing) {
  ReportCapture cap;
  char buffer[8];
  // Each call with a null document (or null buffer), as a number.
#define NUL(f, ...) [&] { return static_cast<int64_t>(f(nullptr __VA_OPT__(, ) __VA_ARGS__)); }
#define NULP(f, ...) [&] { return int64_t{f(nullptr __VA_OPT__(, ) __VA_ARGS__) != nullptr}; }
  // The formatting, section, object and field calls are checked with a null
  // document next to their kin (format_test, layout_test, objects_test,
  // fields_test).
  const std::vector<std::function<int64_t()>> calls = {
      NULP(DoxGetData, nullptr), NULP(DoxSaveFile, ""), NUL(DoxInsertRaw, "x"),
      NUL(DoxBeginGroup, "b", 1), NUL(DoxEndGroup), NUL(DoxInsertControl, "b", 0, 0),
      NUL(DoxInitSect), NUL(DoxBeginSectText), NUL(DoxInsertText, "x"),
      NUL(DoxInsertUText, reinterpret_cast<const uint16_t *>(u"x")),
      NUL(DoxBeginTableRow, 0, 0, 0, 0, 0), NUL(DoxBeginTableRow2, 0, 0, 0, 0, 0, 0, 0, 0),
      NUL(DoxNextCellInfo, 1, 0, 0, 0, 0, 0, 0, 0, 0),
      NUL(DoxNextCellInfo2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
      NUL(DoxNextCellInfo3, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0), NUL(DoxBeginCellText),
      NUL(DoxEndCellText), NUL(DoxEndTableRow),
      NUL(DoxInsertPictFile, "x.bmp", 0, 0, 1), NUL(DoxPastePicture, 8, nullptr, 0, 0),
      // The buffer utilities take no document; a null buffer does nothing.
      NULP(DoxStrToHandle, 4), NULP(DoxStrToHandleInChunks, 4, nullptr, 0, 4),
      NUL(DoxHandleToStrInChunks, 4, nullptr, 0, 4), NUL(DoxMakeMbcs, "ab", nullptr, 2),
      [&] { return static_cast<int64_t>(DoxMakeMbcs(buffer, nullptr, nullptr, 2)); },
  };
#undef NUL
#undef NULP
  const long live = dox::plat::MemLiveBlocks();
  for (size_t i = 0; i < calls.size(); ++i) EXPECT_EQ(0, calls[i]()) << "call " << i;
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(0, DoxGetLastMessage(nullptr, nullptr));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());
  EXPECT_EQ(1, DoxEndDoc(nullptr));
  // DoxSetFlags without a document sets the default flags.
  EXPECT_EQ(FLAG_ONE_MSG_BOX, DoxSetFlags(nullptr, 1, FLAG_ONE_MSG_BOX));
}

TEST(BadArguments, NullStringsCountAsEmpty) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  EXPECT_EQ(1, DoxInsertText(doc, nullptr));  // opens the section
  EXPECT_EQ(1, DoxInsertUText(doc, nullptr));
  EXPECT_EQ(1, DoxInsertBookmark(doc, nullptr, 1));
  EXPECT_EQ(1, DoxInsertFootnote(doc, nullptr, nullptr));
  EXPECT_EQ(0, DoxInsertMergeField(doc, nullptr, "x"));  // a name is required
  EXPECT_EQ(1, DoxTextFont(doc, nullptr, 0, 0, 1));
  // No word, no control word: a lone backslash would escape what follows.
  EXPECT_EQ(0, DoxInsertControl(doc, nullptr, 1, 5));
  EXPECT_EQ(0, DoxInsertControl(doc, "", 0, 0));
  EXPECT_EQ(1, DoxInsertRaw(doc, nullptr));  // ends the line only
  EXPECT_EQ(1, DoxBeginGroup(doc, nullptr, 1));
  EXPECT_EQ(1, DoxEndGroup(doc));
  EXPECT_EQ(1, DoxParaBullet(doc, 0, 0, 0, 1, nullptr, nullptr, 0));
  DoxInsertRaw(doc, nullptr);
  EXPECT_EQ(1, DoxInsertPictFile(doc, nullptr, 0, 0, 1));  // links the empty name
  DoxInsertRaw(doc, nullptr);
  EXPECT_EQ(0, DoxInsertPictFile(doc, nullptr, 0, 0, 0));  // no such file
  EXPECT_EQ("\\ansi\\ftnbj\\sectd{\\*\\bkmkstart}{{\\super\\chftn}{\\footnote{\\super\\chftn}}}\r\n"
            "{\\*}\r\n"
            "{\\*\\pn\\pnlvlbody\\pnstart1\\pndec\\pnhang}\r\n"
            "{\\field{\\fldinst INCLUDEPICTURE \"\" \\\\d}{\\fldrslt}}\r\n",
            Body(doc));
  EXPECT_EQ((std::vector<Report>{{20, "Can not Open the picture File", ""}}), cap.boxes);

  DOXDOC sheet = cap.New();
  DoxBeginStyleSheet(sheet);
  EXPECT_EQ(1, DoxBeginStyleItem(sheet, 1, 0, nullptr));
  DoxEndStyleItem(sheet);
  DoxEndStyleSheet(sheet);
  EXPECT_EQ("\\ansi\\ftnbj\r\n{\\stylesheet\r\n{;}\r\n}\r\n", Body(sheet));

  // The buffer utilities refuse null buffers and leave the block alone.
  const long live = dox::plat::MemLiveBlocks();
  DOXHMEM h = DoxStrToHandle("abc", 3);
  EXPECT_EQ(0, DoxHandleToStr(nullptr, 3, h));
  EXPECT_EQ(0, DoxHandleToStrInChunks(nullptr, 3, h, 0, 3));
  EXPECT_EQ(3u, DoxMemSize(h));
  char out[4] = {};
  EXPECT_EQ(1, DoxHandleToStr(out, 3, h));
  EXPECT_STREQ("abc", out);
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());
}

TEST(BadArguments, LongStrings) {
  ReportCapture cap;
  // A face name keeps its first 31 characters; the same long name finds that
  // entry again instead of adding one per call.
  DOXDOC fonts = cap.New();
  const std::string face = std::string(31, 'F') + "-and-more";
  DoxTextFont(fonts, face.c_str(), 0, 0, 1);
  DoxTextFont(fonts, face.c_str(), 0, 0, 1);
  EXPECT_EQ("{\\rtf1\\uc1 \\deff0 {\\fonttbl{\\f0 \\fcharset0 " + std::string(31, 'F') +
                ";}}\\ansi\\ftnbj\\sectd\\f0\\f0}",
            doxtest::Rtf(fonts));

  // A file name longer than any buffer: the silent report records the first
  // 99 characters as its caption; a message box shows it whole.
  const std::string missing =
      (std::filesystem::path(::testing::TempDir()) / std::string(3000, 'm')).string();
  DOXDOC pictures = cap.New();
  EXPECT_EQ(0, DoxInsertPictFile(pictures, missing.c_str(), 0, 0, 0));
  ASSERT_EQ(1u, cap.boxes.size());
  EXPECT_EQ(missing, cap.boxes[0].caption);
  DoxSetFlags(pictures, 1, FLAG_NO_MSG_BOX);
  EXPECT_EQ(0, DoxInsertPictFile(pictures, missing.c_str(), 0, 0, 0));
  char message[300], caption[100];
  EXPECT_EQ(20, DoxGetLastMessage(message, caption));
  EXPECT_EQ(missing.substr(0, 99), caption);

  // The longest composed message (four lines) fits its 300 bytes.
  DOXDOC refused = cap.New();
  DoxSetFlags(refused, 1, FLAG_NO_MSG_BOX);
  DoxBeginStyleSheet(refused);
  EXPECT_EQ(0, DoxParaFlags(refused, 0));
  EXPECT_EQ(48, DoxGetLastMessage(message, caption));
  EXPECT_EQ(261u, std::strlen(message));  // the heading and four lines
  EXPECT_STREQ("DoxParaFlags", caption);

  // A control word longer than a line is broken at the 300-character limit.
  DOXDOC words = cap.New();
  EXPECT_EQ(1, DoxInsertControl(words, std::string(700, 'w').c_str(), 1, 1));
  EXPECT_EQ(1, DoxInsertText(words, std::string(5000, 't').c_str()));
  EXPECT_TRUE(LinesWithin300(words));
}

TEST(BadArguments, ExtremeIntegersWrapIn32Bits) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  DoxTextFont(doc, nullptr, INT32_MIN, 0, 1);  // half-points: the magnitude, wrapped
  DoxTextFont(doc, nullptr, INT32_MAX, 0, 1);  // points doubled, wrapped
  DoxParaShadeColor(doc, INT32_MAX, 0);        // capped at 100 percent
  DoxParaShadeColor(doc, INT32_MIN, 0xFFFFFF);
  DoxParaIndent(doc, INT32_MIN, INT32_MAX, -1);
  EXPECT_EQ(0, DoxInsertBreak(doc, INT32_MIN));
  DoxInsertRaw(doc, "");
  EXPECT_EQ(1, DoxDrawLine(doc, 0, INT32_MIN, 0, INT32_MAX, 0, 0, 0, 0));
  EXPECT_EQ(1, DoxBeginTableRow(doc, INT32_MAX, 0, 0, 0, 0));
  EXPECT_EQ(1, DoxNextCellInfo(doc, 1, 0, 0, 0xFFFFFF, 0, 0, 0, 0, 0));
  const std::string body = Body(doc);
  EXPECT_EQ(0u, body.find("\\ansi\\ftnbj\\sectd\\fs-2147483648\\fs-2\\shading10000\\cbpat0"
                          "\\li-2147483648\\ri2147483647\r\n"));
  EXPECT_NE(std::string::npos, body.find("\\dpx-2147483648\\dpy0\\dpxsize-1\\dpysize0"));
  EXPECT_NE(std::string::npos, body.find("\\trleft2147483647\\clvertalt\\cellx-2147483648"));
  EXPECT_EQ(1, DoxBeginCellText(doc));
  EXPECT_EQ(1, DoxEndCellText(doc));
  EXPECT_EQ(1, DoxEndTableRow(doc));

  // Display sizes beyond 32 bits of scale: MulDiv gives -1.
  const doxfuzz::Bytes dib = doxfuzz::PackedDib(2, 2, 24);
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(dib.size()));
  std::memcpy(DoxMemLock(h), dib.data(), dib.size());
  DoxMemUnlock(h);
  EXPECT_EQ(1, DoxPastePicture(doc, PICT_FORMAT_DIB, h, INT32_MAX, INT32_MIN));
  EXPECT_NE(std::string::npos, Body(doc).find("\\picwgoal30\\pichgoal30\\picscalex-1\\picscaley-1"));
  std::string rtf = doxtest::Rtf(doc);
  EXPECT_TRUE(doxfuzz::OneBalancedGroup(rtf.c_str(), rtf.size()));

  // Offsets and sizes that reach past 32 bits copy nothing.
  char out[8] = "zzzzzzz";
  EXPECT_EQ(nullptr, DoxStrToHandleInChunks("x", 100, h, INT32_MAX, INT32_MAX));
  EXPECT_EQ(0, DoxHandleToStrInChunks(out, INT32_MIN, h, 0, INT32_MAX));
  EXPECT_EQ(0, DoxHandleToStrInChunks(out, INT32_MAX, h, INT32_MIN, 4));
  EXPECT_EQ(dib.size(), DoxMemSize(h));  // still the caller's
  EXPECT_EQ(INT32_MIN, DoxMakeMbcs(out, "ab", nullptr, INT32_MIN));
  EXPECT_EQ('\0', out[0]);
  DoxMemFree(h);
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(BadArguments, CallsAfterMemoryRanOut) {
  ReportCapture cap;
  const std::string path = (std::filesystem::path(::testing::TempDir()) / "dox_lost.rtf").string();
  std::filesystem::remove(path);
  const long live = dox::plat::MemLiveBlocks();

  // The body is lost: a call that must store a line reports it again, nothing
  // is delivered any more, and the document still ends cleanly.
  DOXDOC doc = DoxNewDoc();
  dox::plat::MemFailNth(1);
  EXPECT_EQ(0, DoxInsertText(doc, std::string(1200, 'a').c_str()));
  EXPECT_EQ((std::vector<Report>{Oom("OurRealloc"), Oom("FlushRtfLine")}), cap.boxes);
  cap.boxes.clear();
  EXPECT_EQ(0, DoxInsertText(doc, "more"));
  EXPECT_EQ(0, DoxEndGroup(doc));
  EXPECT_EQ(0, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  EXPECT_EQ((std::vector<Report>(3, Oom("FlushRtfLine"))), cap.boxes);
  cap.boxes.clear();
  EXPECT_EQ(nullptr, DoxGetData(doc, nullptr));
  EXPECT_EQ(nullptr, DoxSaveFile(doc, path.c_str()));
  EXPECT_FALSE(std::filesystem::exists(path));
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(1, DoxEndDoc(doc));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());

  // The font table is lost: later fonts get no "\f", the rest is written.
  // "OurRealloc" follows the library's flags and is not the document's one box.
  doc = DoxNewDoc();
  DoxSetFlags(doc, 1, FLAG_ONE_MSG_BOX);
  for (int i = 0; i < 10; ++i) DoxTextFont(doc, ("F" + std::to_string(i)).c_str(), 0, 0, 1);
  dox::plat::MemFailNth(1);
  EXPECT_EQ(1, DoxTextFont(doc, "Eleventh", 12, CHAR_BOLD, 1));
  EXPECT_EQ(1, DoxTextFont(doc, "F0", 0, CHAR_ITALIC, 1));
  EXPECT_EQ((std::vector<Report>{Oom("OurRealloc"), Oom("AddToFontTable")}), cap.boxes);
  EXPECT_NE(std::string::npos, Body(doc).find("\\f9\\fs24\\b\\i"));
  EXPECT_EQ(nullptr, DoxGetData(doc, nullptr));
  EXPECT_EQ(1, DoxEndDoc(doc));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());

  // The colour table is lost: colours are written with the index -1. The
  // document is silent, the library is not.
  cap.boxes.clear();
  doc = DoxNewDoc();
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  for (uint32_t i = 0; i < 10; ++i) DoxTextColor(doc, i, 1);
  dox::plat::MemFailNth(1);
  EXPECT_EQ(1, DoxTextColor(doc, 99, 1));
  EXPECT_EQ(1, DoxParaShadeColor(doc, -1, 3));
  EXPECT_EQ((std::vector<Report>{Oom("OurRealloc")}), cap.boxes);
  char caption[100];
  EXPECT_EQ(23, DoxGetLastMessage(nullptr, caption));
  EXPECT_STREQ("AddToColorTable", caption);
  EXPECT_NE(std::string::npos, Body(doc).find("\\cf9\\cf-1\\cbpat-1"));
  EXPECT_EQ(nullptr, DoxGetData(doc, nullptr));
  EXPECT_EQ(1, DoxEndDoc(doc));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());
}

}  // namespace
