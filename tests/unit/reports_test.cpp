// The message-box policy, the recorded last message and the call-sequence
// refusals with their exact reports.
#include "core/errors.h"
#include "core/sequence.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

std::string LastMessage(int32_t *code = nullptr) {
  char message[512], caption[128];
  int32_t c = DoxGetLastMessage(message, caption);
  if (code) *code = c;
  return std::to_string(c) + " " + caption + ": " + message;
}

const std::string kHeading =
    "This function is valid only if one of the following function(s) has been already "
    "called:\n\n";

TEST(Reports, SilentDocumentRecordsCodeAndCaption) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  EXPECT_EQ(1u, DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX));
  EXPECT_EQ(1, DoxInitSect(doc));
  EXPECT_EQ(0, DoxInitSect(doc));
  EXPECT_EQ("31 DoxInitSect: DoxInitSect() already called", LastMessage());
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(1, DoxResetLastMessage());
  EXPECT_EQ("0 : No User Error", LastMessage());
}

TEST(Reports, OneMessageBoxPerDocument) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  DOXDOC other = cap.New();
  EXPECT_EQ(2u, DoxSetFlags(doc, 1, FLAG_ONE_MSG_BOX));
  DoxInitSect(doc);
  DoxInitSect(doc);
  DoxInitSect(doc);  // dropped: neither shown nor recorded
  DoxInitSect(other);
  DoxInitSect(other);
  EXPECT_EQ((std::vector<Report>{{31, "DoxInitSect() already called", "DoxInitSect"},
                                 {31, "DoxInitSect() already called", "DoxInitSect"}}),
            cap.boxes);
  EXPECT_EQ("0 : No User Error", LastMessage());
  // Both flags: every report is recorded, none shown.
  EXPECT_EQ(3u, DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX));
  dox::ReportError(dox::FromHandle(doc), 5, "First");
  dox::ReportError(dox::FromHandle(doc), 6, "Second");
  EXPECT_EQ("6 Second: File Read Error", LastMessage());
  EXPECT_EQ(2u, cap.boxes.size());
  EXPECT_EQ(0u, DoxSetFlags(doc, 0, 3));
}

TEST(Reports, NullCaptionAndLibraryFlags) {
  ReportCapture cap;
  dox::ReportError(nullptr, 23, nullptr);
  ASSERT_EQ(1u, cap.boxes.size());
  EXPECT_EQ("Error", cap.boxes[0].caption);
  // Library flags govern reports without a document and new documents only.
  DOXDOC before = cap.New();
  EXPECT_EQ(1u, DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX));
  dox::ReportError(nullptr, 23, nullptr);
  EXPECT_EQ("23 : Ran Out of Memory", LastMessage());
  DOXDOC after = cap.New();
  EXPECT_EQ(1u, dox::FromHandle(after)->DocFlags);
  EXPECT_EQ(0u, dox::FromHandle(before)->DocFlags);
  // A long caption is recorded cut to 99 characters.
  dox::ReportError(dox::FromHandle(after), 5, std::string(150, 'c').c_str());
  char caption[200];
  DoxGetLastMessage(nullptr, caption);
  EXPECT_EQ(std::string(99, 'c'), caption);
  EXPECT_EQ(1, WEP(7));
}

TEST(Sequence, TextOpensSectionAndItsText) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  EXPECT_EQ(1, DoxInsertText(doc, "Hello\r\n"));
  EXPECT_EQ(dox::STATE_SECT_TEXT, dox::FromHandle(doc)->StateBits);
  EXPECT_EQ(1, dox::FromHandle(doc)->AtParaStart);
  EXPECT_EQ("\\ansi\\ftnbj\\sectd Hello\\par\r\n", Body(doc));
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(Sequence, StyleSheetBlocksAutomaticOpening) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  // After DoxInitSect, a style sheet with an item open.
  DoxInitSect(doc);
  d->StateBits |= dox::STATE_STYLE_SHEET | dox::STATE_STYLE_ITEM;
  std::string before = Body(doc);
  EXPECT_EQ(0, DoxInsertText(doc, "x"));
  EXPECT_EQ(before, Body(doc));
  EXPECT_EQ((std::vector<Report>{
                {47, "Invalid Function Sequence!", "DoxBeginSectText"},
                {48,
                 kHeading + "DoxBeginSectText()     Begin Section Text,\n"
                            "DoxBeginHdrFtr()       Begin Header/Footer,\n"
                            "DoxBeginCellText()    Begin Cell Text.",
                 "DoxInsertText"}}),
            cap.boxes);

  // A style item before any section: three reports.
  cap.boxes.clear();
  DOXDOC fresh = cap.New();
  dox::FromHandle(fresh)->StateBits |= dox::STATE_STYLE_SHEET | dox::STATE_STYLE_ITEM;
  const uint16_t x[] = {'x', 0};
  EXPECT_EQ(0, DoxInsertUText(fresh, x));
  ASSERT_EQ(3u, cap.boxes.size());
  EXPECT_EQ((Report{38, "This function not allowed after calling DoxBeginStylesheet()", "DoxInitSect"}),
            cap.boxes[0]);
  EXPECT_EQ((Report{48, kHeading + "DoxInitSect()          Initialize Section.", "DoxBeginSectText"}),
            cap.boxes[1]);
  EXPECT_EQ("DoxInsertUText", cap.boxes[2].caption);
}

TEST(Sequence, RefusalCodePrecedence) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  dox::Document *d = dox::FromHandle(doc);
  struct Case {
    uint32_t bits, already, forbidden;
    int32_t code;
  } cases[] = {
      {0, 0, 0, 47},  // nothing matched (cannot fail, but the code is defined)
      {dox::STATE_SECT_TEXT, 0, dox::STATE_SECT_TEXT, 34},
      {dox::STATE_SECT_TEXT, dox::STATE_SECT_TEXT, dox::STATE_SECT_TEXT, 33},
      // A later bracket in the list decides.
      {dox::STATE_SECT_TEXT | dox::STATE_HDR_FTR, 0, dox::STATE_SECT_TEXT | dox::STATE_HDR_FTR, 46},
      {dox::STATE_STYLE_SHEET | dox::STATE_HDR_FTR, 0,
       dox::STATE_STYLE_SHEET | dox::STATE_HDR_FTR | dox::STATE_SECT_TEXT, 46},
      {dox::STATE_CELL_TEXT | dox::STATE_SECT_INIT, dox::STATE_SECT_INIT, dox::STATE_CELL_TEXT, 50},
      // "Already" of the script style ends the choice at once.
      {dox::STATE_SCRIPT_STYLE, dox::STATE_SCRIPT_STYLE, dox::STATE_SCRIPT_STYLE, 58},
      {dox::STATE_SCRIPT_STYLE | dox::STATE_CELL_TEXT, 0,
       dox::STATE_SCRIPT_STYLE | dox::STATE_CELL_TEXT, 59},
  };
  for (const Case &c : cases) {
    cap.boxes.clear();
    d->StateBits = c.bits;
    int32_t r = dox::CheckCallSequence(d, "Probe", c.already, 0, c.forbidden);
    if (c.bits == 0) {
      EXPECT_EQ(1, r);
      continue;
    }
    EXPECT_EQ(0, r);
    ASSERT_EQ(1u, cap.boxes.size()) << c.code;
    EXPECT_EQ(c.code, cap.boxes[0].code);
  }
}

TEST(Sequence, ComposedMessageForSingleAndAllBrackets) {
  dox::ComposeSequenceMessage(dox::STATE_HDR_FTR);
  EXPECT_EQ(kHeading + "DoxBeginHdrFtr()       Begin Header/Footer.",
            dox::MessageText(48));
  // The longest list the exports use stays within the 300 characters hosts allow.
  dox::ComposeSequenceMessage(dox::STATE_SECT_TEXT | dox::STATE_STYLE_ITEM | dox::STATE_HDR_FTR |
                              dox::STATE_CELL_TEXT);
  EXPECT_LT(std::string(dox::MessageText(48)).size(), 300u);
  dox::ComposeSequenceMessage(0xFFFFu);
  std::string all = dox::MessageText(48);
  EXPECT_EQ("DoxBeginScriptStyle()  Begin Script Style Text.", all.substr(all.rfind('\n') + 1));
}

TEST(Sequence, SectionCallsTwice) {
  ReportCapture cap;
  DOXDOC doc = cap.New();
  EXPECT_EQ(1, DoxBeginSectText(doc));
  EXPECT_EQ(0, DoxBeginSectText(doc));
  EXPECT_EQ((std::vector<Report>{
                {34, "This function not allowed after calling DoxBeginSectText()", "DoxInitSect"},
                {48, kHeading + "DoxInitSect()          Initialize Section.", "DoxBeginSectText"}}),
            cap.boxes);
  EXPECT_EQ(0, DoxBeginSectText(nullptr));
  EXPECT_EQ(0, DoxInitSect(nullptr));
}

}  // namespace
