// Formatting calls in the places the call scripts cannot reach by themselves:
// table rows, frames and headers/footers (set up through the state bits),
// full tables and failed writes.
#include <algorithm>
#include <string>

#include "core/document.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

struct FormatTest : ::testing::Test {
  ReportCapture capture;
  DOXDOC doc = capture.New();
  dox::Document *d = dox::FromHandle(doc);
  dox::OutputStream *s = d->Stream;

  // Opens the section text and empties the stream, so a test sees only its
  // own output.
  void Start() {
    ASSERT_EQ(1, DoxBeginSectText(doc));
    s->BodyLength = 0;
    s->LineLength = 0;
    s->SpacePending = 0;
  }
};

TEST_F(FormatTest, ResetParaPropKeepsTheParagraphInItsTableCell) {
  Start();
  ASSERT_EQ(1, DoxResetParaProp(doc));  // outside tables
  d->StateBits |= dox::STATE_TABLE_ROW | dox::STATE_CELL_TEXT;
  for (int32_t level : {0, 1, 2}) {
    d->TableLevel = level;
    ASSERT_EQ(1, DoxResetParaProp(doc));
  }
  EXPECT_EQ("\\pard\\pard\\intbl\\pard\\intbl\\itap2\\pard\\intbl\\itap3", Body(doc));
}

TEST_F(FormatTest, BordersInsideAFrameEndWithTheBorderSpacing) {
  Start();
  d->StateBits |= dox::STATE_FRAME;
  ASSERT_EQ(1, DoxParaFlags(doc, PARA_BORDER_BOTTOM));
  d->BorderSpacing = -20;  // written as 0
  ASSERT_EQ(1, DoxParaFlags(doc, PARA_BORDER_BOX | PARA_BORDER_DOUBLE));
  d->BorderSpacing = 45;
  ASSERT_EQ(1, DoxParaFlags(doc, PARA_RIGHT | PARA_BORDER_LEFT));
  ASSERT_EQ(1, DoxParaFlags(doc, PARA_BORDER_WIDE));  // no side: no border, no spacing
  EXPECT_EQ("\\ql\\brdrb\\brdrs\\brsp0\\ql\\box\\brdrdb\\brsp0\\qr\\brdrl\\brdrs\\brsp45\\ql",
            Body(doc));
}

TEST_F(FormatTest, StyleSheetInsideAHeaderOrFooterIsRefusedWith46) {
  ASSERT_EQ(1, DoxBeginStyleSheet(doc));
  d->StateBits |= dox::STATE_HDR_FTR;  // even with the sheet open, 46 decides
  EXPECT_EQ(0, DoxBeginStyleSheet(doc));
  d->StateBits &= ~dox::STATE_STYLE_SHEET;
  EXPECT_EQ(0, DoxBeginStyleSheet(doc));
  const std::string text = "This function not allowed between DoxBeginHdrFtr()";
  EXPECT_EQ((std::vector<Report>{{46, text, "DoxBeginStyleSheet"}, {46, text, "DoxBeginStyleSheet"}}),
            capture.boxes);
}

TEST_F(FormatTest, FormattingInAHeaderOrCellOpensNoSection) {
  for (uint32_t place : {dox::STATE_HDR_FTR, dox::STATE_CELL_TEXT}) {
    d->StateBits = place;
    s->LineLength = 0;
    ASSERT_EQ(1, DoxTextFont(doc, nullptr, 9, CHAR_CAPS, 1));
    ASSERT_EQ(1, DoxParaTabStop(doc, TAB_CENTER, 99, TAB_LEADER_NONE));
    EXPECT_EQ(place, d->StateBits);
    EXPECT_EQ("\\fs18\\caps\\tqc\\tx99", std::string(s->Line, s->LineLength));
  }
}

TEST_F(FormatTest, LongStyleNamesAreCutTo300Characters) {
  ASSERT_EQ(1, DoxBeginStyleSheet(doc));
  ASSERT_EQ(1, DoxBeginStyleItem(doc, 1, 0, std::string(310, 'n').c_str()));
  EXPECT_EQ(std::string(300, 'n'), d->Style.PendingStyleName);
  ASSERT_EQ(1, DoxEndStyleItem(doc));
  const std::string body = Body(doc);
  EXPECT_EQ(300, std::count(body.begin() + body.find("{\\stylesheet"), body.end(), 'n'));
}

TEST(FormatNullDocument, EveryCallReturnsZeroWithoutAReport) {
  ReportCapture capture;
  EXPECT_EQ(0, DoxResetTextProp(nullptr) + DoxTextFont(nullptr, "Arial", 1, 0, 1) +
                   DoxTextFont2(nullptr, "Arial", 1, 0, 0, 1) + DoxCharStyleId(nullptr, 1) +
                   DoxTextColor(nullptr, 0, 1) + DoxBeginScriptStyle(nullptr, 1) +
                   DoxEndScriptStyle(nullptr) + DoxResetParaProp(nullptr) +
                   DoxParaFlags(nullptr, 0) + DoxParaIndent(nullptr, 0, 0, 0) +
                   DoxParaSpace(nullptr, 0, 0, 0) + DoxParaShadeColor(nullptr, 0, 0) +
                   DoxParaStyleId(nullptr, 1) + DoxParaTabStop(nullptr, 0, 0, 0) +
                   DoxParaBullet(nullptr, 1, 0, 0, 0, nullptr, nullptr, 0) +
                   DoxBeginStyleSheet(nullptr) + DoxBeginStyleItem(nullptr, 1, 1, "x") +
                   DoxEndStyleItem(nullptr) + DoxEndStyleSheet(nullptr));
  EXPECT_TRUE(capture.boxes.empty());
}

// When the font or colour table cannot grow, the index written is -1 (a font
// is then left out), and the rest of the call goes on.
TEST(FormatFullTables, IndexMinusOneWhenATableCannotGrow) {
  ReportCapture capture;
  // A document whose tables are full; its next new font or colour needs growth.
  auto full = [&] {
    DOXDOC doc = capture.New();
    for (int i = 0; i < 10; ++i) {
      DoxTextColor(doc, static_cast<uint32_t>(i), 1);
      DoxTextFont(doc, std::to_string(i).c_str(), 0, 0, 1);
    }
    dox::FromHandle(doc)->Stream->LineLength = 0;
    dox::FromHandle(doc)->Stream->BodyLength = 0;
    dox::plat::MemFailNth(1);
    return doc;
  };
  DOXDOC doc = full();
  EXPECT_EQ(1, DoxTextFont(doc, "Eleventh", 12, CHAR_BOLD, 1));
  EXPECT_EQ("\\fs24\\b", Body(doc));
  doc = full();
  EXPECT_EQ(1, DoxParaBullet(doc, 1, 2, 0, 0, nullptr, nullptr, 0));
  EXPECT_EQ("{\\pntext\\pard\\plain\\f1\\fs20 \\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnhang\\pnf-1{\\pntxtb \\'a7}}",
            Body(doc));
  doc = full();
  EXPECT_EQ(1, DoxParaShadeColor(doc, -1, 0xABCDEF));
  EXPECT_EQ("\\cbpat-1", Body(doc));
  doc = full();
  EXPECT_EQ(1, DoxTextColor(doc, 0x123456, 0));
  EXPECT_EQ("\\highlight-1", Body(doc));
  const std::string oom = "Ran Out of Memory";
  EXPECT_EQ((std::vector<Report>{{23, oom, "OurRealloc"},
                                 {23, oom, "AddToFontTable"},
                                 {23, oom, "OurRealloc"},
                                 {23, oom, "AddToFontTable"},
                                 {23, oom, "OurRealloc"},
                                 {23, oom, "AddToColorTable"},
                                 {23, oom, "OurRealloc"},
                                 {23, oom, "AddToColorTable"}}),
            capture.boxes);
}

// A write that fails (the body is lost) ends a call early; which results and
// brackets survive it.
TEST_F(FormatTest, FailedWrites) {
  Start();
  char *body = s->Body;
  s->Body = nullptr;  // every flush now fails
  auto fullLine = [&] { s->LineLength = dox::kMaxLineLength - 1; };  // no room for more
  fullLine();
  EXPECT_EQ(1, DoxTextFont(doc, nullptr, 12, CHAR_BOLD, 1));  // the font call succeeds anyway
  s->LineLength = 148;  // "\ql" fits; a backslash past column 150 needs a new line
  EXPECT_EQ(1, DoxParaFlags(doc, PARA_BORDER_TOP));
  fullLine();
  EXPECT_EQ(0, DoxParaIndent(doc, 1, -1, -1));
  fullLine();
  EXPECT_EQ(0, DoxBeginScriptStyle(doc, 1));
  EXPECT_TRUE(d->StateBits & dox::STATE_SCRIPT_STYLE);  // the bracket is open
  fullLine();
  EXPECT_EQ(1, DoxEndScriptStyle(doc));  // and closes even though its brace is lost
  EXPECT_FALSE(d->StateBits & dox::STATE_SCRIPT_STYLE);
  d->StateBits |= dox::STATE_STYLE_SHEET | dox::STATE_STYLE_ITEM;
  fullLine();
  EXPECT_EQ(0, DoxEndStyleItem(doc));
  EXPECT_TRUE(d->StateBits & dox::STATE_STYLE_ITEM);  // the item stays open
  s->Body = body;
  s->LineLength = 0;
  for (const Report &r : capture.boxes) EXPECT_EQ(Report({23, "Ran Out of Memory", "FlushRtfLine"}), r);
  EXPECT_EQ(6u, capture.boxes.size());
}

}  // namespace
