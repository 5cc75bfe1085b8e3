// What a host can hand the library besides its documents (those are in
// Scripts.HandlesThatAreNoDocumentActAsNull): memory blocks, metafiles and
// font callbacks it made up or already freed; reports from several threads
// at once; large documents on kept memory.
#include <atomic>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "test_support.h"

namespace {

TEST(Safety, HandlesTheLibraryDidNotMakeAreRefused) {
  doxtest::ReportCapture cap;
  DOXDOC ended = DoxNewDoc();
  DoxEndDoc(ended);
  DOXHMEM freed = DoxMemAlloc(16);
  ASSERT_EQ(nullptr, DoxMemFree(freed));
  long local[64] = {};
  auto value = [](uintptr_t v) { return reinterpret_cast<void *>(v); };
  for (void *b : {static_cast<void *>(ended), freed, static_cast<void *>(local),
                  value(0x12345678), value(0xFFFFFFFF)}) {
    char out[4];
    const dox::plat::LogFont font{};
    const int64_t results[] = {DoxSetFlags(static_cast<DOXDOC>(b), 1, 3),
                               DoxEnumFont(&font, nullptr, 4, reinterpret_cast<intptr_t>(b)),
                               DoxMemLock(b) != nullptr, DoxMemUnlock(b), DoxMemSize(b),
                               DoxMemFree(b) != b,       DoxHandleToStr(out, 4, b),
                               DoxDeleteEnhMetaFile(b),  DoxDeleteMetaFile(b),
                               DoxClipboardSetData(PICT_FORMAT_DIB, b)};
    for (int64_t r : results) EXPECT_EQ(0, r) << b;
  }
  // The buffer utilities' one report each: a lock that fails is memory run out.
  EXPECT_EQ(5, cap.boxes);
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
      DoxInitSect(d), DoxInitSect(d);       // 31 "DoxInitSect"
      DoxBeginSectText(d), DoxEndFrame(d);  // 48 "DoxEndFrame"
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
  EXPECT_EQ(0, cap.boxes);
  DoxSetFlags(nullptr, 0, FLAG_NO_MSG_BOX | FLAG_ONE_MSG_BOX);
}

// Font names are compared sixteen bytes at a time where that cannot pass the
// page: names that end just before an unreadable page, names alike but for
// one byte and names alike in their first sixteen bytes make the same fonts
// as copies elsewhere.
TEST(Safety, FontNamesAtThePageEnd) {
  const char *names[] = {"Arial",         "Times New Roman",   "Sixteen letters!",
                         "Brial",         "Sixteen letters!1", "Sixteen letters!2",
                         "Arial",         "Sixteen letters!1", "Arial Black"};
  auto build = [&](int place) {  // 0: where they are; 1, 2: at a page's end
    DOXDOC d = DoxNewDoc();
    for (const char *name : names) {
      DoxTextFont(d, place ? doxtest::AtPageEnd(name, place == 2) : name, 10, 0, 1);
      DoxInsertText(d, "x");
    }
    std::string body = doxtest::Body(d);
    DoxEndDoc(d);
    return body;
  };
  const std::string elsewhere = build(0);
  EXPECT_EQ(elsewhere, build(1));
  EXPECT_EQ(elsewhere, build(2));
  EXPECT_EQ("\\ansi\\ftnbj\\sectd\\f0\\fs20 x\\f1\\fs20 x\\f2\\fs20 x\\f3\\fs20 x\\f4\\fs20 x\\f5\\fs20 \r\n"
            "x\\f0\\fs20 x\\f4\\fs20 x\\f6\\fs20 x",
            elsewhere);
}

// An ended document's large body is kept for the next documents made, on
// any thread: two threads building large documents at once, in opposite
// orders (so that each grows past the kept block it took, or does not), get
// the bytes of the same documents built one after another.
TEST(Safety, LargeDocumentsOnKeptBodies) {
  auto build = [](int paragraphs) {
    DOXDOC d = DoxNewDoc();
    for (int i = 0; i < paragraphs; ++i) DoxInsertText(d, "Text of a large document: enough of it.\r\n");
    uint32_t size = 0;
    DOXHMEM h = DoxGetData(d, &size);
    const char *p = static_cast<const char *>(DoxMemLock(h));
    std::string rtf(p, size);
    // Past the text only zeros, also in a block an earlier document had.
    EXPECT_EQ(std::string(DoxMemSize(h) - size, '\0'), std::string(p + size, DoxMemSize(h) - size));
    DoxMemUnlock(h), DoxMemFree(h), DoxEndDoc(d);
    return rtf;
  };
  const int sizes[] = {40000, 20000, 100000, 10};
  std::string first[4], again[2][4];
  for (int i = 0; i < 4; ++i) first[i] = build(sizes[i]);
  std::thread other([&] {
    for (int i = 0; i < 4; ++i) again[1][i] = build(sizes[i]);
  });
  for (int i = 3; i >= 0; --i) again[0][i] = build(sizes[i]);
  other.join();
  for (int i = 0; i < 8; ++i)
    EXPECT_TRUE(first[i % 4] == again[i / 4][i % 4]) << sizes[i % 4] << " paragraphs";
  EXPECT_GT(first[2].size(), size_t{4} << 20);
  {  // saved to a file, the same bytes as taken into memory
    DOXDOC d = DoxNewDoc();
    for (int i = 0; i < sizes[2]; ++i) DoxInsertText(d, "Text of a large document: enough of it.\r\n");
    const std::string file = ::testing::TempDir() + "dox_large_document.rtf";
    ASSERT_NE(nullptr, DoxSaveFile(d, file.c_str()));
    DoxEndDoc(d);
    std::ifstream in(file, std::ios::binary);
    const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_TRUE(saved + '\0' == first[2]);  // (the block ends in a NUL)
    std::remove(file.c_str());
  }
  // Six large documents ended together: the largest bodies are kept, the
  // others freed (a leak checker sees any that are lost).
  std::vector<DOXDOC> open;
  for (int k = 1; k <= 6; ++k) {
    open.push_back(DoxNewDoc());
    for (int i = 0; i < 25000 * k; ++i) DoxInsertText(open.back(), "Text to end together.\r\n");
  }
  for (DOXDOC d : open) EXPECT_EQ(1, DoxEndDoc(d));
  EXPECT_TRUE(build(sizes[2]) == first[2]);
  // Given back: the kept bodies (four of several MB), then none.
  EXPECT_GT(DoxTrimMemory(), 4 << 20);
  EXPECT_EQ(0, DoxTrimMemory());
  EXPECT_TRUE(build(sizes[2]) == first[2]);
}

}  // namespace
