// A host the library cannot take down: its operator new throwing, handles it
// made up or already ended, and reports from several threads at once.
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "../fuzz/samples.h"
#include "test_support.h"

namespace {
// The memory hooks count from the start of the tests on.
const bool kHooksOn = (dox::plat::MemLiveBlocks(), true);
// While set, this thread's operator new counts the call and throws.
thread_local bool t_newThrows = false;
thread_local long t_newCalls = 0;
}  // namespace

// The replacements pair malloc with free, as the standard library's own do.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void *operator new(std::size_t n) {
  if (t_newThrows) {
    ++t_newCalls;
    throw std::bad_alloc();
  }
  if (void *p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

namespace fz = doxfuzz;
int g_oomBoxes = 0;

struct Inputs {
  std::string bmp = (std::filesystem::temp_directory_path() / "dox_safety.bmp").string();
  std::string rtf = (std::filesystem::temp_directory_path() / "dox_safety.rtf").string();
  fz::Bytes dib = fz::PackedDib(5, 3, 24), emf = fz::Emf(0, 0, 99, 49), wmf = fz::Metafile();
  Inputs() { std::ofstream(bmp, std::ios::binary) << fz::BmpFile(dib, fz::DibInfoBytes(dib)); }
};

// Every family of calls on `d`; the number of calls that succeed.
long Build(DOXDOC d, const Inputs &in, void *dib, void *emf, void *pict) {
  long ok = 0;
  auto c = [&](auto r) { ok += r ? 1 : 0; };
  c(DoxSetFlags(d, 1, 4));  // a bit without a meaning
  c(DoxBeginStyleSheet(d)), c(DoxBeginStyleItem(d, 1, 1, "Head")), c(DoxEndStyleItem(d));
  c(DoxEndStyleSheet(d)), c(DoxInitSect(d)), c(DoxPaper(d, 12240, 15840, 0));
  c(DoxMargin(d, 1, 2, 3, 4, 5, 6)), c(DoxSectInfo(d, 2, 720, 1, 0));
  c(DoxBeginHdrFtr(d, HDRFTR_FOOTER)), c(DoxInsertPageField(d, 1)), c(DoxEndHdrFtr(d));
  c(DoxBeginSectText(d)), c(DoxTextFont(d, "Arial", 12, 1, 1));
  c(DoxTextFont2(d, "Face", 10, 2, 2, 1)), c(DoxTextColor(d, 0xFF, 1)), c(DoxCharStyleId(d, 1));
  c(DoxResetTextProp(d)), c(DoxBeginScriptStyle(d, 1)), c(DoxInsertText(d, "2"));
  c(DoxEndScriptStyle(d)), c(DoxParaFlags(d, 1)), c(DoxParaIndent(d, 360, 0, 0));
  c(DoxParaSpace(d, 0, 120, 0)), c(DoxParaShadeColor(d, 10, 0xFF)), c(DoxParaStyleId(d, 1));
  c(DoxParaTabStop(d, 0, 720, 0)), c(DoxParaBullet(d, 1, 0, 0, 0, "(", ")", 0));
  c(DoxResetParaProp(d)), c(DoxInsertText(d, "Text {x}\r\n"));
  c(DoxInsertUText(d, reinterpret_cast<const uint16_t *>(u"Gr\u00fc\r\n")));
  c(DoxInsertBookmark(d, "b", 1)), c(DoxInsertBookmark(d, "b", 0));
  c(DoxInsertFootnote(d, nullptr, "n")), c(DoxInsertMergeField(d, "Name", "x"));
  c(DoxInsertTocField(d, 1, 3)), c(DoxInsertBreak(d, BREAK_PAGE)), c(DoxInsertRaw(d, "\\tab "));
  c(DoxBeginGroup(d, "v", 0)), c(DoxInsertControl(d, "b", 1, 0)), c(DoxEndGroup(d));
  c(DoxBeginTableRow2(d, 0, 0, 0, 0, 1, 2, 3, 4));
  c(DoxNextCellInfo3(d, 1440, 0, 0, 0, 10, 10, 10, 10, 0, 0, 1));
  c(DoxNextCellInfo2(d, 2880, 0, 10, 0xFF, 0, 0, 0, 0, 0, 0)), c(DoxBeginCellText(d));
  c(DoxBeginTableRow(d, 0, 0, 0, 0, 0)), c(DoxNextCellInfo(d, 720, 0, 0, 0, 0, 0, 0, 0, 0));
  c(DoxBeginCellText(d)), c(DoxEndCellText(d)), c(DoxEndTableRow(d)), c(DoxEndCellText(d));
  c(DoxBeginCellText(d)), c(DoxEndCellText(d)), c(DoxEndTableRow(d));
  c(DoxBeginFrame(d, 1, 0, 0, 1440, 720)), c(DoxInsertText(d, "f")), c(DoxEndFrame(d));
  c(DoxBeginTextBox(d, 0, 0, 0, 1440, 720, 1, 0xFF, 0, 10, 0)), c(DoxEndTextBox(d));
  c(DoxBeginTextBox2(d, 0, 0, 0, 1440, 720, 1, 0xFF, 0, 10, 0, 1)), c(DoxEndTextBox(d));
  c(DoxDrawRect(d, 1, 0, 0, 99, 99, 0, 0, 0, 5, 1)), c(DoxDrawLine(d, 1, 0, 0, 9, 9, 0, 0, 5));
  c(DoxInsertPictFile(d, in.bmp.c_str(), 0, 0, 0)), c(DoxInsertPictFile(d, in.bmp.c_str(), 9, 9, 1));
  c(DoxPastePicture(d, PICT_FORMAT_DIB, dib, 0, 0));
  c(DoxPastePicture(d, PICT_FORMAT_ENHMETAFILE, emf, 0, 0));
  c(DoxPastePicture(d, PICT_FORMAT_METAFILEPICT, pict, 0, 0));
  c(DoxPastePicture(d, PICT_FORMAT_ANY, nullptr, 0, 0)), c(DoxSaveFile(d, in.rtf.c_str()));
  DOXHMEM data = DoxGetData(d, nullptr);
  c(data), DoxMemFree(data);
  return ok;
}

DOXHMEM Block(const fz::Bytes &b) { return DoxStrToHandle(b.data(), static_cast<int32_t>(b.size())); }

// Out of memory is code 23, except in a metafile's copy (15) or its bits
// (13), which report as the system's copy would.
void DOXAPI CountOom(int32_t code, const char *, const char *, void *) {
  g_oomBoxes += code == 23 || code == 15 || code == 13;
}

// Building every kind of content with the Nth allocation failing, and the
// host's operator new throwing all along: no exception comes out, the
// library never calls operator new, every failed allocation is reported and
// nothing leaks.
TEST(Safety, ThrowingOperatorNewAndEveryAllocationFailing) {
  Inputs in;
  DoxSetMessageSink(&CountOom, nullptr);
  bool reached = true;
  for (long n = 1; reached; ++n) {
    const long live = dox::plat::MemLiveBlocks();
    g_oomBoxes = 0;
    t_newThrows = true, t_newCalls = 0;
    try {
      void *wmf = DoxMetaFileFromBits(in.wmf.data(), static_cast<uint32_t>(in.wmf.size()));
      DoxMetaFilePict mfp = {8, 2540, 1270, wmf};
      DOXHMEM dib = Block(in.dib), pict = DoxMemAlloc(sizeof mfp), clip = Block(in.dib);
      std::memcpy(DoxMemLock(pict), &mfp, sizeof mfp), DoxMemUnlock(pict);
      void *emf = DoxEnhMetaFileFromBits(in.emf.data(), static_cast<uint32_t>(in.emf.size()));
      if (!DoxClipboardSetData(PICT_FORMAT_DIB, clip)) DoxMemFree(clip);
      const long first = dox::plat::MemRequestCount();
      dox::plat::MemFailNth(n);
      if (DOXDOC d = DoxNewDoc()) Build(d, in, dib, emf, pict), DoxEndDoc(d);
      reached = dox::plat::MemRequestCount() >= first + n;
      dox::plat::MemFailNth(0);
      DoxClipboardEmpty(), DoxMemFree(dib), DoxMemFree(pict);
      DoxDeleteMetaFile(wmf), DoxDeleteEnhMetaFile(emf);
    } catch (...) {
      reached = false;
      ADD_FAILURE() << "an exception came out with allocation " << n << " failing";
    }
    t_newThrows = false;
    dox::plat::MemFailNth(0);
    EXPECT_EQ(0, t_newCalls) << "operator new called with allocation " << n << " failing";
    if (reached) {
      EXPECT_GT(g_oomBoxes, 0) << "allocation " << n << " failed without a report";
    }
    EXPECT_EQ(live, dox::plat::MemLiveBlocks()) << n;
  }
  DoxSetMessageSink(nullptr, nullptr);
}

// Handles the library did not make, or made and ended: every call refuses
// them without a report and without touching the documents that live.
TEST(Safety, BadHandlesAreRefused) {
  doxtest::ReportCapture cap;
  Inputs in;
  DOXDOC live = cap.New(), ended = DoxNewDoc();
  ASSERT_EQ(1, DoxEndDoc(ended));
  const std::string before = doxtest::Body(live);
  DOXHMEM block = DoxMemAlloc(16), freed = DoxMemAlloc(16);
  ASSERT_EQ(nullptr, DoxMemFree(freed));
  long local[64] = {};
  auto value = [](uintptr_t v) { return reinterpret_cast<void *>(v); };
  const uintptr_t liveBits = reinterpret_cast<uintptr_t>(live);
  void *const bad[] = {ended, freed, block, local, value(0x12345678), value(liveBits + 0x10000),
                       value(liveBits + 1), value(0xFFFFFFFF)};
  for (void *b : bad) {
    auto *doc = static_cast<DOXDOC>(b);
    EXPECT_EQ(0, Build(doc, in, b, b, b)) << b;
    EXPECT_EQ(0, DoxEndDoc(doc)) << b;
    EXPECT_EQ(0u, DoxSetFlags(doc, 1, 3)) << b;
    if (b == block) continue;
    char out[4];
    const dox::plat::LogFont font{};
    const int64_t results[] = {DoxEnumFont(&font, nullptr, 4, reinterpret_cast<intptr_t>(b)),
                               DoxMemLock(b) != nullptr, DoxMemUnlock(b), DoxMemSize(b),
                               DoxMemFree(b) != b,       DoxHandleToStr(out, 4, b),
                               DoxDeleteEnhMetaFile(b),  DoxDeleteMetaFile(b),
                               DoxClipboardSetData(PICT_FORMAT_DIB, b)};
    for (int64_t r : results) EXPECT_EQ(0, r) << b;
  }
  EXPECT_EQ(0u, DoxSetFlags(nullptr, 0, 0)) << "the library flags are untouched";
  EXPECT_EQ(before, doxtest::Body(live));
  EXPECT_EQ(0, DoxGetLastMessage(nullptr, nullptr));
  // The buffer utilities' one report: a lock that fails is memory run out.
  EXPECT_EQ(7u, cap.boxes.size());
  EXPECT_EQ(16u, DoxMemSize(block));
  EXPECT_EQ(nullptr, DoxMemFree(block));
}

// The buffer utilities on counts below 1: DoxMakeMbcs never reads `chars`
// then, so a null one is no error; DoxStrToHandle takes a negative size as
// the unsigned count it is for the allocator (4 GiB - 1 for -1), which no
// block can have: the out-of-memory box, whatever the flags, and 0.
TEST(Safety, UtilitiesOnNegativeCounts) {
  doxtest::ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  char out[4] = "zz";
  EXPECT_EQ(-2, DoxMakeMbcs(out, nullptr, nullptr, -2));
  EXPECT_EQ('\0', out[0]);
  out[0] = 'z';
  EXPECT_EQ(0, DoxMakeMbcs(out, nullptr, nullptr, 0));
  EXPECT_EQ('z', out[0]);
  const long live = dox::plat::MemLiveBlocks(), requests = dox::plat::MemRequestCount();
  EXPECT_EQ(nullptr, DoxStrToHandle("abc", -1));
  EXPECT_EQ(live, dox::plat::MemLiveBlocks());
  EXPECT_EQ(requests, dox::plat::MemRequestCount()) << "not even tried";
  EXPECT_EQ((std::vector<doxtest::Report>{{23, "Ran Out of Memory", "(null)"}}), cap.boxes);
  EXPECT_EQ(0, DoxGetLastMessage(nullptr, nullptr));
}

// Threads building documents of their own, each making refused calls that
// report silently, while another reads the last report: every read is one
// whole report of one of them (run under ThreadSanitizer by the tsan preset).
TEST(Safety, ConcurrentReportsStayWhole) {
  doxtest::ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  std::atomic<int> running{4};
  auto work = [&](int t) {
    for (int i = 0; i < 200; ++i) {
      DOXDOC d = DoxNewDoc();
      DoxInitSect(d), DoxInitSect(d);                       // 31 "DoxInitSect"
      DoxBeginSectText(d), DoxEndFrame(d);                  // 48 "DoxEndFrame"
      DoxEndDoc(d), DoxSetFlags(nullptr, t & 1, FLAG_ONE_MSG_BOX);
    }
    --running;
  };
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) threads.emplace_back(work, t);
  long reads = 0;
  for (bool done = false; !done;) {
    done = running == 0;  // one more read after the last report
    char text[700] = "", caption[100] = "";
    int32_t code = DoxGetLastMessage(text, caption);
    const std::string pair = std::to_string(code) + " " + caption;
    reads += code != 0;
    ASSERT_TRUE(!code || pair == "31 DoxInitSect" || pair == "48 DoxEndFrame") << pair;
    ASSERT_TRUE(code != 48 || std::strstr(text, "DoxBeginFrame()")) << text;
  }
  for (auto &t : threads) t.join();
  EXPECT_GT(reads, 0);
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(1u, DoxSetFlags(nullptr, 0, FLAG_ONE_MSG_BOX));
}

}  // namespace
