// Section and header/footer brackets, the page-layout refusals that the call
// scripts cannot reach (the style sheet), and a section break whose word is
// lost to a memory failure.
#include <cstring>
#include <string>

#include "core/stream.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

constexpr uint32_t kInit = dox::STATE_SECT_INIT;
constexpr uint32_t kText = dox::STATE_SECT_TEXT;
constexpr uint32_t kHdr = dox::STATE_HDR_FTR;
constexpr uint32_t kSheet = dox::STATE_STYLE_SHEET;

// The open brackets, without the note that a message box was shown.
uint32_t Brackets(DOXDOC doc) { return dox::FromHandle(doc)->StateBits & ~dox::STATE_BOX_SHOWN; }

TEST(Sections, BracketsOpenAndCloseWithTheCalls) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  ASSERT_EQ(1, DoxBeginHdrFtr(doc, HDRFTR_FOOTER_LEFT));
  EXPECT_EQ(kInit | kHdr, d->StateBits);
  EXPECT_EQ(1, d->Stream->GroupDepth);
  // Text and fields inside the footer leave the section text closed.
  ASSERT_EQ(1, DoxInsertText(doc, "p. "));
  ASSERT_EQ(1, DoxInsertPageField(doc, 1));
  EXPECT_EQ(kInit | kHdr, d->StateBits);
  ASSERT_EQ(1, DoxEndHdrFtr(doc));
  EXPECT_EQ(kInit, d->StateBits);
  EXPECT_EQ(0, d->Stream->GroupDepth);
  ASSERT_EQ(1, DoxInsertBreak(doc, BREAK_PAGE));  // opens the section text
  ASSERT_EQ(1, DoxInsertBreak(doc, BREAK_COLUMN));
  EXPECT_EQ(kText, d->StateBits);
  ASSERT_EQ(1, DoxInsertBreak(doc, BREAK_SECTION));
  EXPECT_EQ(0u, d->StateBits);
  EXPECT_EQ("\\ansi\\ftnbj\\sectd\r\n\\facingp{\\footerl p. {\\field{\\fldinst PAGE}{\\fldrslt "
            "1}}}\r\n\\page\\column\\sect",
            Body(doc));
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(PageLayout, StyleSheetAndHeaderFooterDecideTheCode) {
  ReportCapture cap;
  struct Case {
    uint32_t bits;
    int32_t code;
  };
  // A header/footer wins over the style sheet, the style sheet over the
  // section text.
  const Case cases[] = {
      {kSheet, 38}, {kInit | kSheet, 38}, {kText | kSheet, 38}, {kSheet | kHdr, 46},
      {kInit | kSheet | kHdr, 46}, {kText | kHdr, 46},
  };
  auto text = [](int32_t code) -> std::string {
    return code == 38 ? "This function not allowed after calling DoxBeginStylesheet()"
                      : "This function not allowed between DoxBeginHdrFtr()";
  };
  for (const Case &c : cases) {
    DOXDOC doc = cap.New();
    dox::FromHandle(doc)->StateBits = c.bits;
    std::string before = Body(doc);
    cap.boxes.clear();
    EXPECT_EQ(0, DoxPaper(doc, 100, 200, 1));
    EXPECT_EQ(0, DoxMargin(doc, 1, 2, 3, 4, 5, 6));
    EXPECT_EQ((std::vector<Report>{{c.code, text(c.code), "DoxPaper"},
                                   {c.code, text(c.code), "DoxMargin"}}),
              cap.boxes)
        << c.bits;
    EXPECT_EQ(before, Body(doc));
    EXPECT_EQ(c.bits, Brackets(doc));
  }
}

TEST(Sections, SectionBreakEndsTheSectionWhenItsWordIsLost) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  ASSERT_EQ(1, DoxBeginSectText(doc));
  // A line beyond 150 characters is flushed before the next backslash; the
  // body is full, so the flush must grow it, and that growth fails.
  dox::OutputStream *s = d->Stream;
  std::memset(s->Line, 'a', 151);
  s->LineLength = 151;
  s->SpacePending = 0;
  s->BodyLength = s->BodyCapacity;
  dox::plat::MemFailNth(1);
  EXPECT_EQ(0, DoxInsertBreak(doc, BREAK_SECTION));
  EXPECT_EQ(0u, Brackets(doc));
  ASSERT_EQ(2u, cap.boxes.size());
  EXPECT_EQ("OurRealloc", cap.boxes[0].caption);
  EXPECT_EQ((Report{23, "Ran Out of Memory", "FlushRtfLine"}), cap.boxes[1]);
}

TEST(Sections, NullHandleIsRefusedSilently) {
  ReportCapture cap;
  EXPECT_EQ(0, DoxPaper(nullptr, 1, 1, 1));
  EXPECT_EQ(0, DoxMargin(nullptr, 1, 1, 1, 1, 1, 1));
  EXPECT_EQ(0, DoxSectInfo(nullptr, 2, 1, 1, 1));
  EXPECT_EQ(0, DoxInsertBreak(nullptr, BREAK_PAGE));
  EXPECT_EQ(0, DoxBeginHdrFtr(nullptr, HDRFTR_HEADER));
  EXPECT_EQ(0, DoxEndHdrFtr(nullptr));
  EXPECT_TRUE(cap.boxes.empty());
}

}  // namespace
