// Several threads, each building documents of its own at the same time, get
// the same bytes as one thread does. Built with ThreadSanitizer (the tsan
// preset) this also shows that they share no unguarded state. The documents
// are silent and make no report: the last-message record and the message
// sink are process-wide by design and not meant for concurrent use.
#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "../fuzz/samples.h"
#include "test_support.h"

namespace {

namespace fz = doxfuzz;

DOXHMEM Block(const fz::Bytes &b) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(b.size()));
  std::memcpy(DoxMemLock(h), b.data(), b.size());
  DoxMemUnlock(h);
  return h;
}

// One document of every kind of content; `variant` changes its numbers.
std::string Build(int variant, const std::string &bitmapFile) {
  DOXDOC doc = DoxNewDoc();
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  DoxBeginStyleSheet(doc);
  DoxBeginStyleItem(doc, 1, 1, "Heading");
  DoxTextFont(doc, "Arial", 14 + variant, CHAR_BOLD, 1);
  DoxEndStyleItem(doc);
  DoxEndStyleSheet(doc);
  DoxInitSect(doc);
  DoxBeginHdrFtr(doc, HDRFTR_FOOTER);
  DoxInsertPageField(doc, 1);
  DoxEndHdrFtr(doc);
  for (int i = 0; i < 12; ++i) {
    DoxTextFont2(doc, ("Face " + std::to_string(i + variant)).c_str(), 10, CHAR_ITALIC, i % 2, 1);
    DoxTextColor(doc, 0x030201u * static_cast<uint32_t>(i + variant), 1);
    DoxInsertText(doc, "Some text of a paragraph, {braced} and caf\xe9.\r\n");
  }
  DoxParaBullet(doc, 1, variant, 0, 0, nullptr, nullptr, 0);
  DoxInsertUText(doc, reinterpret_cast<const uint16_t *>(u"Gr\u00fc\u00dfe\r\n"));
  DoxBeginTableRow(doc, 0, 0, 0, 0, 108);
  for (int c = 0; c < 3; ++c) DoxNextCellInfo2(doc, 1440, c, 10, 0xFFFFFF, 10, 10, 10, 10, 0xFF00, 0);
  for (int c = 0; c < 3; ++c) {
    DoxBeginCellText(doc);
    if (c == 1) {
      DoxBeginTableRow(doc, 0, 0, 0, 0, 0);
      DoxNextCellInfo(doc, 720 + variant, 0, 0, 0x00FF00, 0, 0, 0, 0, 0);
      DoxBeginCellText(doc);
      DoxInsertText(doc, "nested");
      DoxEndCellText(doc);
      DoxEndTableRow(doc);
    }
    DoxInsertText(doc, "cell");
    DoxEndCellText(doc);
  }
  DoxEndTableRow(doc);
  DoxBeginFrame(doc, 1, 1440, 720 * variant, 2880, 1440);
  DoxInsertText(doc, "framed\r\n");
  DoxEndFrame(doc);
  DoxBeginTextBox(doc, 0, 0, 0, 1440, 720, 1, 0xFF, 0, 10, 0);
  DoxInsertText(doc, "boxed");
  DoxEndTextBox(doc);
  DoxDrawLine(doc, 1, 0, 0, 100 * variant, 50, 0, 0, 5);
  DoxInsertPictFile(doc, bitmapFile.c_str(), 0, 0, 0);
  DoxInsertPictFile(doc, bitmapFile.c_str(), 1440, 1440, 1);
  DOXHMEM dib = Block(fz::PackedDib(3 + variant, 2, 8));
  DoxPastePicture(doc, PICT_FORMAT_DIB, dib, 0, 0);
  DoxMemFree(dib);
  const fz::Bytes emf = fz::Emf(0, 0, 99 + variant, 49);
  void *enh = DoxEnhMetaFileFromBits(emf.data(), static_cast<uint32_t>(emf.size()));
  DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, enh, 0, 0);
  DoxDeleteEnhMetaFile(enh);
  std::string rtf = doxtest::Rtf(doc);
  DoxEndDoc(doc);
  return rtf;
}

TEST(Threads, EachBuildsTheSameBytesAsOneThread) {
  const std::filesystem::path dir =
      std::filesystem::path(::testing::TempDir()) /
      ("dox_threads_" + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::filesystem::create_directories(dir);
  const std::string bitmap = (dir / "a.bmp").string();
  const fz::Bytes file = fz::BmpFile(fz::PackedDib(5, 4, 24), 40);
  std::ofstream(bitmap, std::ios::binary).write(file.data(), static_cast<std::streamsize>(file.size()));
  DoxResetLastMessage();

  constexpr int kVariants = 3, kThreads = 4, kRounds = 20;
  std::vector<std::string> expected;
  for (int v = 0; v < kVariants; ++v) expected.push_back(Build(v, bitmap));
  ASSERT_NE(std::string::npos, expected[0].find("\\dibitmap0"));
  ASSERT_EQ(0, DoxGetLastMessage(nullptr, nullptr)) << "the documents make no report";

  std::atomic<int> mismatches{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int r = 0; r < kRounds; ++r) {
        const int v = (t + r) % kVariants;
        if (Build(v, bitmap) != expected[static_cast<size_t>(v)]) ++mismatches;
      }
    });
  for (std::thread &th : threads) th.join();
  EXPECT_EQ(0, mismatches.load());
  std::filesystem::remove_all(dir);
}

}  // namespace
