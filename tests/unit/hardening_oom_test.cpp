// Out-of-memory sweep: representative documents (text, styles, a nested
// table, objects, every picture kind) are built once to count their
// allocation requests, then again once per request with exactly that request
// failing. Each time the call that met the failure must make exactly its
// reports, nothing may crash, and DoxEndDoc must release every block.
//
// A request that fails is one of two kinds:
//  - a growth of the body, the font table or the colour table: the block is
//    lost ("OurRealloc" following the library flags, then the growing
//    routine's caption following the document's); further lines of that call
//    are refused again under "FlushRtfLine"; the document can no longer be
//    delivered;
//  - a block of the call's own (cell definitions, picture buffers, metafile
//    copies, the delivered text, the utilities' blocks): the call reports as
//    its description says and the document stays intact. These requests come
//    before the call writes anything, so the k-th request of a call is its
//    k-th own block unless a growth was lost.
// The calls after the failure go on (they must be safe); their reports are
// not checked.
#include <functional>
#include <string>
#include <vector>

#include "../fuzz/checks.h"
#include "../fuzz/samples.h"
#include "test_support.h"

using doxtest::Report;
using doxtest::ReportCapture;

namespace {

namespace fz = doxfuzz;

Report Oom(const char *caption) { return {23, "Ran Out of Memory", caption}; }

struct Call {
  const char *what;
  std::function<int64_t(DOXDOC)> run;
  // The reports when the call's k-th own block cannot be had, and its result then.
  std::vector<std::vector<Report>> own = {};
  int64_t resultWithoutOwn = 0;
  // The caption of a lost body: the routine that grew it.
  const char *bodyCaption = "FlushRtfLine";
};

// What a document has lost.
struct Lost {
  bool body, fonts, colors;
};
Lost LostOf(DOXDOC doc) {
  const dox::Document *d = dox::FromHandle(doc);
  return {!d->Stream->Body, !d->Fonts, !d->Colors};
}

struct Sweep : ::testing::Test {
  doxtest::TempFiles tmp{"dox_oom_"};
  std::vector<DOXHMEM> blocks;
  std::vector<void *> metafiles, enhMetafiles;

  ~Sweep() override {
    for (DOXHMEM h : blocks) DoxMemFree(h);
    for (void *m : metafiles) DoxDeleteMetaFile(m);
    for (void *e : enhMetafiles) DoxDeleteEnhMetaFile(e);
    DoxClipboardEmpty();
  }
  std::string File(const char *name, const fz::Bytes &b) { return tmp.File(name, b.data(), b.size()); }
  DOXHMEM Block(const fz::Bytes &b) { return blocks.emplace_back(doxtest::Block(b.data(), b.size())); }
  void *Metafile() {
    fz::Bytes m = fz::Metafile();
    return metafiles.emplace_back(DoxMetaFileFromBits(m.data(), static_cast<uint32_t>(m.size())));
  }
  DOXHMEM PictBlock(int32_t mm, int32_t x, int32_t y, void *metafile) {
    return blocks.emplace_back(doxtest::PictBlock(mm, x, y, metafile));
  }

  // Builds the document once without failures and returns the number of
  // allocation requests it makes (DoxNewDoc's included).
  long CleanRun(const std::vector<Call> &calls) {
    ReportCapture cap;
    const long live = dox::plat::MemLiveBlocks();
    const long start = dox::plat::MemRequestCount();
    DOXDOC doc = DoxNewDoc();
    for (const Call &c : calls) EXPECT_NE(0, c.run(doc)) << c.what;
    const long requests = dox::plat::MemRequestCount() - start;
    EXPECT_TRUE(cap.boxes.empty()) << "the clean document makes no report";
    EXPECT_TRUE(fz::OneBalancedGroup(doxtest::Rtf(doc).c_str(), doxtest::Rtf(doc).size()));
    DoxEndDoc(doc);
    EXPECT_EQ(live, dox::plat::MemLiveBlocks());
    return requests;
  }

  void Run(const std::vector<Call> &calls) {
    const long total = CleanRun(calls);
    ASSERT_GT(total, 5);
    RecordProperty("allocation_requests", static_cast<int>(total));
    for (long n = 1; n <= total; ++n) RunFailing(calls, n);
  }

  // Builds the document with its n-th allocation request failing.
  void RunFailing(const std::vector<Call> &calls, long n) {
    SCOPED_TRACE("allocation request " + std::to_string(n) + " fails");
    ReportCapture cap;
    const long live = dox::plat::MemLiveBlocks();
    const long failing = dox::plat::MemRequestCount() + n;
    dox::plat::MemFailNth(n);
    DOXDOC doc = DoxNewDoc();
    if (!doc) {  // one of its five blocks
      EXPECT_LE(n, 5);
      EXPECT_EQ((std::vector<Report>{Oom("OurAlloc")}), cap.boxes);
      EXPECT_EQ(live, dox::plat::MemLiveBlocks());
      return;
    }
    bool met = false;
    for (const Call &c : calls) {
      const size_t first = cap.boxes.size();
      const Lost before = LostOf(doc);
      const long r0 = dox::plat::MemRequestCount();
      const int64_t result = c.run(doc);
      if (met || failing <= r0 || failing > dox::plat::MemRequestCount()) continue;
      met = true;
      SCOPED_TRACE(c.what);
      const std::vector<Report> got(cap.boxes.begin() + static_cast<long>(first), cap.boxes.end());
      const Lost after = LostOf(doc);
      const char *caption = after.fonts && !before.fonts     ? "AddToFontTable"
                            : after.colors && !before.colors ? "AddToColorTable"
                            : after.body && !before.body     ? c.bodyCaption
                                                             : nullptr;
      if (caption) {
        ASSERT_GE(got.size(), 2u);
        EXPECT_EQ(Oom("OurRealloc"), got[0]);
        EXPECT_EQ(Oom(caption), got[1]);
        for (size_t i = 2; i < got.size(); ++i) EXPECT_EQ(Oom("FlushRtfLine"), got[i]);
      } else {
        const size_t k = static_cast<size_t>(failing - r0 - 1);
        ASSERT_LT(k, c.own.size()) << "a failure no block of this call explains";
        EXPECT_EQ(c.own[k], got);
        EXPECT_EQ(c.resultWithoutOwn, result);
      }
    }
    EXPECT_TRUE(met);
    const Lost lost = LostOf(doc);
    if (lost.body || lost.fonts || lost.colors) {
      const size_t reports = cap.boxes.size();
      EXPECT_EQ(nullptr, DoxGetData(doc, nullptr)) << "a lost block cannot be delivered";
      EXPECT_EQ(reports, cap.boxes.size());
    } else {
      std::string rtf = doxtest::Rtf(doc);
      EXPECT_TRUE(fz::OneBalancedGroup(rtf.c_str(), rtf.size()));
    }
    const long held = fz::DocumentBlocks(dox::FromHandle(doc));
    const long before = dox::plat::MemLiveBlocks();
    EXPECT_EQ(1, DoxEndDoc(doc));
    EXPECT_EQ(held, before - dox::plat::MemLiveBlocks()) << "DoxEndDoc releases its blocks";
    EXPECT_EQ(live, dox::plat::MemLiveBlocks()) << "nothing else is left";
  }
};

// ---- The documents ------------------------------------------------------------

// A call named after its function, with the document first.
#define CALL(f, ...) \
  Call { #f, [=](DOXDOC d) -> int64_t { return f(d __VA_OPT__(, ) __VA_ARGS__); } }

Call Text(const std::string &text) {
  return {"DoxInsertText", [text](DOXDOC d) { return DoxInsertText(d, text.c_str()); }};
}

const std::string kParagraph =
    "A paragraph long enough to fill a line of the body and then some more, with "
    "braces {like these}, a backslash \\ and caf\xe9.\r\n";

TEST_F(Sweep, TextFieldsRawRtfAndUtilities) {
  const std::string saved = (tmp.dir / "saved.rtf").string();
  std::vector<Call> calls = {
      CALL(DoxPaper, 12240, 15840, 0), CALL(DoxMargin, 1440, 1440, 720, 720, 360, 360),
      CALL(DoxSectInfo, 2, 720, 1, 1), CALL(DoxBeginHdrFtr, HDRFTR_HEADER), Text("Page "),
      CALL(DoxInsertPageField, 1), CALL(DoxEndHdrFtr), CALL(DoxBeginSectText)};
  calls.insert(calls.end(), 24, Text(kParagraph));
  calls.insert(calls.end(), {
      CALL(DoxInsertUText, reinterpret_cast<const uint16_t *>(u"Gr\u00fc\u00dfe\r\n")),
      CALL(DoxInsertBookmark, "Intro", 1), CALL(DoxInsertFootnote, "ab", "A note."),
      CALL(DoxInsertMergeField, "Name", "x"), CALL(DoxInsertTocField, 1, 3),
      CALL(DoxInsertBreak, BREAK_PAGE), CALL(DoxBeginGroup, "fldinst", 1),
      CALL(DoxInsertControl, "fs", 1, 24), CALL(DoxEndGroup),
      // The line is empty after DoxEndGroup: only the raw text grows the body.
      {"DoxInsertRaw", [](DOXDOC d) { return DoxInsertRaw(d, std::string(3000, 'r').c_str()); },
       {}, 0, "DoxInsertRaw"},
      CALL(DoxInsertBreak, BREAK_SECTION), Text(kParagraph),
      // The utilities always show their box, with no caption of their own.
      {"DoxStrToHandle",
       [](DOXDOC) {
         DOXHMEM h = DoxStrToHandle("abc", 3);
         char out[3];
         return h ? DoxHandleToStr(out, 3, h) : 0;
       },
       {{{23, "Ran Out of Memory", "(null)"}}}},
      {"DoxStrToHandleInChunks",
       [](DOXDOC) {
         DOXHMEM h = DoxStrToHandleInChunks("abcdef", 6, nullptr, 0, 3);
         char out[6];
         return h && DoxStrToHandleInChunks("def", 6, h, 3, 3) == h &&
                DoxHandleToStrInChunks(out, 6, h, 0, 6);
       },
       {{{23, "Ran Out of Memory", "(null)"}}}},
      {"DoxGetData",
       [](DOXDOC d) {
         DOXHMEM h = DoxGetData(d, nullptr);
         return h ? (DoxMemFree(h), 1) : 0;
       },
       {{Oom("DoxSave")}}},
      {"DoxSaveFile", [saved](DOXDOC d) { return DoxSaveFile(d, saved.c_str()) != nullptr; }}});
  Run(calls);
}

TEST_F(Sweep, StyleSheetFontsColoursBulletsAndTabs) {
  std::vector<Call> calls = {
      CALL(DoxBeginStyleSheet), CALL(DoxBeginStyleItem, 1, 1, "Heading"),
      CALL(DoxParaFlags, PARA_CENTER | PARA_BORDER_BOX), CALL(DoxTextFont, "Arial", 14, CHAR_BOLD, 1),
      CALL(DoxEndStyleItem), CALL(DoxEndStyleSheet)};
  // Fourteen fonts and colours: both tables grow twice (10, 13, 16).
  for (int i = 0; i < 14; ++i) {
    const std::string face = "Face " + std::to_string(i);
    calls.insert(calls.end(), {CALL(DoxTextFont2, face.c_str(), 10 + i, CHAR_ITALIC, i % 3, 1),
                               CALL(DoxTextColor, 0x010203u * static_cast<uint32_t>(i), i & 1),
                               Text(kParagraph)});
  }
  calls.insert(calls.end(), {
      CALL(DoxParaShadeColor, -1, 0x123456), CALL(DoxParaTabStop, TAB_DECIMAL, 2880, 1),
      CALL(DoxParaBullet, 1, 5, 0, 0, nullptr, nullptr, 0), CALL(DoxParaBullet, 0, 3, 2, 1, "(", ")", 0),
      CALL(DoxBeginScriptStyle, 1), Text("2"), CALL(DoxEndScriptStyle), CALL(DoxResetParaProp),
      CALL(DoxParaIndent, 720, 0, -360), CALL(DoxParaSpace, 120, 120, 240), Text(kParagraph)});
  Run(calls);
}

// A cell definition: its block is allocated with the row's first cell and
// grown by each later one.
Call Cell(int32_t width, uint32_t border, uint32_t background, bool first) {
  Call c = CALL(DoxNextCellInfo3, width, 1, 10, background, 10, 10, 10, 10, border, 0, 90);
  c.own = {{Oom(first ? "OurAlloc" : "OurRealloc")}};
  return c;
}
// A cell's text: `inner` between its beginning and end.
void CellText(std::vector<Call> &calls, std::initializer_list<Call> inner) {
  calls.push_back(CALL(DoxBeginCellText));
  calls.insert(calls.end(), inner);
  calls.push_back(CALL(DoxEndCellText));
}

TEST_F(Sweep, NestedTable) {
  std::vector<Call> calls = {Text("Before the table"), CALL(DoxBeginTableRow, 0, 0, 0, 0, 108)};
  for (int i = 0; i < 12; ++i)
    calls.push_back(Cell(800, 0x10000u * static_cast<uint32_t>(i + 1), 0x100u * static_cast<uint32_t>(i), i == 0));
  for (int i = 0; i < 12; ++i) {
    calls.push_back(CALL(DoxBeginCellText));
    if (i == 2) {
      calls.push_back(CALL(DoxBeginTableRow2, 0, 0, 0, 0, 108, 108, 20, 0));
      for (int j = 0; j < 3; ++j) calls.push_back(Cell(600, 0xABCDEF, 0xFFFFFF, j == 0));
      for (int j = 0; j < 3; ++j) {
        calls.push_back(CALL(DoxBeginCellText));
        if (j == 1) {
          calls.insert(calls.end(), {CALL(DoxBeginTableRow, 0, 0, 0, 0, 0), Cell(300, 0, 0x777777, true)});
          CellText(calls, {Text("deepest")});
          calls.push_back(CALL(DoxEndTableRow));
        }
        calls.insert(calls.end(), {Text("nested cell"), CALL(DoxEndCellText)});
      }
      calls.push_back(CALL(DoxEndTableRow));
    }
    calls.insert(calls.end(), {Text(kParagraph), CALL(DoxEndCellText)});
  }
  calls.insert(calls.end(), {CALL(DoxEndTableRow), Text(kParagraph)});
  Run(calls);
}

TEST_F(Sweep, FramesTextBoxesAndDrawingObjects) {
  std::vector<Call> calls = {
      Text("Around the frame"), CALL(DoxBeginFrame, 1, 1440, 720, 2880, 1440), Text(kParagraph),
      CALL(DoxParaFlags, PARA_BORDER_TOP | PARA_BORDER_WIDE), CALL(DoxBeginTableRow, 0, 0, 0, 0, 0),
      Cell(1440, 0x00FF00, 0xFFFFFF, true)};
  CellText(calls, {Text("in a framed cell")});
  calls.insert(calls.end(), {
      CALL(DoxEndTableRow), CALL(DoxBeginTextBox, 0, 100, 100, 2000, 1000, 2, 0x4080FF, 0, 0, 1),
      Text(kParagraph), CALL(DoxEndTextBox), CALL(DoxEndFrame),
      CALL(DoxBeginTextBox2, 1, 0, 0, 1440, 720, 0, 0xFFFFFF, 0xFF, 20, 0, TEXTBOX_TEXT_TBRL),
      Text(kParagraph), CALL(DoxEndTextBox), CALL(DoxDrawRect, 0, 0, 0, 500, 500, 3, 0xFF0000, 0, 15, 0),
      CALL(DoxDrawLine, 1, 900, 100, 300, 500, 0, 0xFF00, 0)});
  calls.insert(calls.end(), 8, Text(kParagraph));
  Run(calls);
}

TEST_F(Sweep, EveryPictureKind) {
  namespace f = doxfuzz;
  const f::Bytes dib24 = f::PackedDib(31, 9, 24), core8 = f::CorePackedDib(6, 3, 8);
  const f::Bytes dib4 = f::PackedDib(9, 4, 4, 0, 3);
  const std::string bmp = File("a.bmp", f::BmpFile(dib24, f::DibInfoBytes(dib24)));
  const std::string core = File("core.bmp", f::BmpFile(core8, f::DibInfoBytes(core8)));
  const std::string bmp4 = File("b.bmp", f::BmpFile(dib4, f::DibInfoBytes(dib4)));
  const std::string wmf = File("a.wmf", f::PlaceableWmf(0, 0, 2000, 1000, 1440, f::Metafile()));
  const std::string emf = File("a.emf", f::Emf(0, 0, 299, 149));
  DOXHMEM dibHandle = Block(dib4), coreHandle = Block(f::CorePackedDib(3, 2, 1));
  DOXHMEM pictAniso = PictBlock(PICT_MM_ANISOTROPIC, 2540, 1270, Metafile());
  DOXHMEM pictText = PictBlock(PICT_MM_TEXT, 80, 40, Metafile());
  const f::Bytes enhBytes = f::Emf(0, 0, 199, 99);
  void *enh = enhMetafiles.emplace_back(
      DoxEnhMetaFileFromBits(enhBytes.data(), static_cast<uint32_t>(enhBytes.size())));
  // On the clipboard: a metafile picture, a core bitmap and an enhanced
  // metafile, which the clipboard owns from now on.
  const f::Bytes clipMetafile = f::Metafile(), clipDib = f::CorePackedDib(4, 4, 4);
  const f::Bytes clipEmf = f::Emf(0, 0, 99, 99);
  DoxClipboardSetData(PICT_FORMAT_METAFILEPICT,
                      doxtest::PictBlock(8, 5080, 2540,
                                         DoxMetaFileFromBits(clipMetafile.data(),
                                                             static_cast<uint32_t>(clipMetafile.size()))));
  DoxClipboardSetData(PICT_FORMAT_DIB, doxtest::Block(clipDib.data(), clipDib.size()));
  DoxClipboardSetData(PICT_FORMAT_ENHMETAFILE,
                      DoxEnhMetaFileFromBits(clipEmf.data(), static_cast<uint32_t>(clipEmf.size())));

  const std::vector<Report> bitmapBuffers = {Oom("KelPictureFromDIB")};
  const std::vector<Report> coreHeader = {Oom("hInfo")};
  // Reports without a caption show the box's default title, "Error".
  const std::vector<Report> noCopy = {{15, "Error copying metafile", "Error"}};
  const std::vector<Report> noBits = {{13, "Error accessing meta file data", "Error"}};
  const std::vector<Report> noEnhCopy = {{15, "Error copying metafile", "DoxPasteEmf"}};
  const std::vector<Report> noEnhBits = {Oom("OurAlloc"),
                                         {13, "Error accessing meta file data", "DoxPasteEmf"}};
  auto insert = [](std::string path, int32_t w, int32_t h, int32_t link) {
    return [=](DOXDOC d) { return DoxInsertPictFile(d, path.c_str(), w, h, link); };
  };
  auto paste = [](int32_t format, void *handle) {
    return [=](DOXDOC d) { return DoxPastePicture(d, format, handle, 0, 0); };
  };
  std::vector<Call> calls = {
      {"24-bit bitmap file", insert(bmp, 0, 0, 0), {bitmapBuffers, bitmapBuffers}, 1},
      {"core-header bitmap file", insert(core, 720, 720, 0), {bitmapBuffers, bitmapBuffers, coreHeader}, 1},
      {"4-bit bitmap file", insert(bmp4, 0, 0, 0), {bitmapBuffers, bitmapBuffers}, 1},
      {"placeable metafile file", insert(wmf, 0, 0, 0), {{Oom("hImage")}}, 1},
      {"enhanced metafile file", insert(emf, 1440, 0, 0), {{Oom("hImage")}}, 1},
      {"linked picture", insert(bmp, 1440, 720, 1)},
      {"bitmap handle", paste(PICT_FORMAT_DIB, dibHandle)},
      {"core bitmap handle", paste(PICT_FORMAT_DIB, coreHandle), {coreHeader}, 1},
      {"anisotropic metafile picture", paste(PICT_FORMAT_METAFILEPICT, pictAniso), {noCopy, noBits}, 1},
      {"text-mode metafile picture", paste(PICT_FORMAT_METAFILEPICT, pictText), {noCopy, noBits}, 1},
      {"enhanced metafile handle", paste(PICT_FORMAT_ENHMETAFILE, enh), {noEnhCopy, noEnhBits}, 0},
      {"clipboard metafile picture", paste(PICT_FORMAT_METAFILEPICT, nullptr), {noCopy, noBits}, 1},
      {"clipboard bitmap", paste(PICT_FORMAT_DIB, nullptr), {coreHeader}, 1},
      {"clipboard enhanced metafile", paste(PICT_FORMAT_ENHMETAFILE, nullptr), {noEnhCopy, noEnhBits}, 0},
      {"clipboard, first format", paste(PICT_FORMAT_ANY, nullptr), {noCopy, noBits}, 1},
  };
  calls.insert(calls.end(), 4, Text(kParagraph));
  Run(calls);
}

}  // namespace
