// Table state across calls: the cell block under allocation failures, the
// blocks released with the rows and the document, the state after a row
// ends, and refusals the call scripts cannot reach or observe.
#include <string>

#include "core/document.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

const std::string kHeading =
    "This function is valid only if one of the following function(s) has been already "
    "called:\n\n";

int32_t Cell(DOXDOC doc, int32_t width) {
  return DoxNextCellInfo(doc, width, 0, 0, CELL_NO_BGCOLOR, 0, 0, 0, 0, 0);
}

// Begins a one-cell row one level deeper and the text of its cell.
void OpenCell(DOXDOC doc) {
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  ASSERT_EQ(1, Cell(doc, 500));
  ASSERT_EQ(1, DoxBeginCellText(doc));
}

TEST(TableCells, FailedFirstAllocationStoresNothing) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);  // the report follows the library's flags
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  const std::string before = Body(doc);
  dox::plat::MemFailNth(1);
  EXPECT_EQ(0, Cell(doc, 1000));
  EXPECT_EQ((std::vector<Report>{{23, "Ran Out of Memory", "OurAlloc"}}), cap.boxes);
  EXPECT_EQ(before, Body(doc));
  EXPECT_EQ(0, d->Tables.CellDefCount);
  EXPECT_EQ(nullptr, d->Tables.Rows[0].cellDefs);
  // Nothing was counted: the next cell is the first, and the row needs one text.
  EXPECT_EQ(1, Cell(doc, 1000));
  EXPECT_EQ(before + "\\clvertalt\\cellx1000", Body(doc));
  EXPECT_EQ(1, DoxBeginCellText(doc));
  EXPECT_EQ(1, DoxEndCellText(doc));
  EXPECT_EQ(1, DoxEndTableRow(doc));
}

TEST(TableCells, FailedGrowthKeepsEarlierCells) {
  ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  // In a nested row nothing is written until the row ends, so its stored
  // definitions show what the failure left.
  OpenCell(doc);
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  ASSERT_EQ(1, Cell(doc, 1000));
  dox::plat::MemFailNth(1);
  EXPECT_EQ(0, Cell(doc, 2000));
  char caption[128];
  EXPECT_EQ(23, DoxGetLastMessage(nullptr, caption));
  EXPECT_STREQ("OurRealloc", caption);
  EXPECT_EQ(1, d->Tables.CellDefCount);
  EXPECT_EQ(1, d->Tables.Rows[1].cellDefCount);
  ASSERT_EQ(1, Cell(doc, 3000));
  EXPECT_EQ(dox::CellBlockBytes(2), dox::plat::MemSize(d->Tables.Rows[1].cellDefsHandle));
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(1, DoxBeginCellText(doc));
    ASSERT_EQ(1, DoxEndCellText(doc));
  }
  ASSERT_EQ(1, DoxEndTableRow(doc));
  EXPECT_NE(std::string::npos,
            Body(doc).find("\\trleft0\\clvertalt\\cellx1000\\clvertalt\\cellx4000\\nestrow"));
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(TableCells, BlocksAreFreedWithTheirRowsAndWithTheDocument) {
  ReportCapture cap;
  const long baseline = dox::plat::MemLiveBlocks();
  DOXDOC doc = DoxNewDoc();
  ASSERT_NE(nullptr, doc);
  const long empty = dox::plat::MemLiveBlocks();
  OpenCell(doc);
  OpenCell(doc);
  EXPECT_EQ(empty + 2, dox::plat::MemLiveBlocks());
  ASSERT_EQ(1, DoxEndCellText(doc));
  ASSERT_EQ(1, DoxEndTableRow(doc));  // the nested row's block goes with it
  EXPECT_EQ(empty + 1, dox::plat::MemLiveBlocks());
  // Rows open at five levels, the innermost without cells, when the document ends.
  OpenCell(doc);
  OpenCell(doc);
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  ASSERT_EQ(1, Cell(doc, 100));
  ASSERT_EQ(1, Cell(doc, 100));
  ASSERT_EQ(1, DoxBeginCellText(doc));
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  EXPECT_EQ(empty + 4, dox::plat::MemLiveBlocks());
  EXPECT_EQ(1, DoxEndDoc(doc));
  EXPECT_EQ(baseline, dox::plat::MemLiveBlocks());
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(TableRows, EndingTheTopLevelRowClosesItsGroup) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  ASSERT_EQ(1, DoxBeginSectText(doc));
  const uint32_t outside = d->StateBits;
  const int32_t depth = d->Stream->GroupDepth;
  OpenCell(doc);
  OpenCell(doc);  // a nested row, ended inside the cell
  ASSERT_EQ(1, DoxEndCellText(doc));
  ASSERT_EQ(1, DoxEndTableRow(doc));
  EXPECT_EQ(dox::STATE_TABLE_ROW | dox::STATE_CELL_TEXT, d->StateBits & ~outside);
  EXPECT_EQ(depth + 1, d->Stream->GroupDepth);
  ASSERT_EQ(1, DoxEndCellText(doc));
  ASSERT_EQ(1, DoxEndTableRow(doc));
  EXPECT_EQ(-1, d->TableLevel);
  EXPECT_EQ(outside, d->StateBits);
  EXPECT_EQ(depth, d->Stream->GroupDepth);
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(TableRefusals, RowNeedsAPlaceForText) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  d->StateBits |= dox::STATE_STYLE_SHEET;  // neither the section nor its text can open
  const std::string body = Body(doc);
  EXPECT_EQ(0, DoxBeginTableRow2(doc, 0, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ((std::vector<Report>{
                {38, "This function not allowed after calling DoxBeginStylesheet()",
                 "DoxInitSect"},
                {48, kHeading + "DoxInitSect()          Initialize Section.", "DoxBeginSectText"},
                {48,
                 kHeading + "DoxBeginSectText()     Begin Section Text,\n"
                            "DoxBeginHdrFtr()       Begin Header/Footer,\n"
                            "DoxBeginFrame()        Begin Frame.",
                 "DoxBeginTableRow"}}),
            cap.boxes);
  EXPECT_EQ(body, Body(doc));
  EXPECT_EQ(-1, d->TableLevel);
}

TEST(TableRefusals, CellDefinitionLeavesStateBitsAsTheyWere) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);  // a shown box would set a state bit
  ASSERT_EQ(1, DoxBeginTableRow(doc, 0, 0, 0, 0, 0));
  ASSERT_EQ(1, Cell(doc, 100));
  ASSERT_EQ(1, DoxBeginCellText(doc));
  ASSERT_EQ(1, DoxEndCellText(doc));
  const uint32_t bits = d->StateBits;
  EXPECT_EQ(0, DoxNextCellInfo3(doc, 100, 0, 0, CELL_NO_BGCOLOR, 0, 0, 0, 0, 0, 0, 0));
  EXPECT_EQ(bits, d->StateBits);
  EXPECT_EQ(1, d->Tables.CellDefCount);
  char message[512], caption[128];
  EXPECT_EQ(48, DoxGetLastMessage(message, caption));
  EXPECT_EQ(kHeading + "DoxBeginTableRow()     Begin a Table Row.", message);
  EXPECT_STREQ("DoxNextCellInfo", caption);
}

}  // namespace
