// Bookmarks, footnotes and fields: what they leave behind (paragraph start,
// group depth) and their refusal when no text position can be opened.
#include <functional>
#include <string>

#include "test_support.h"

using doxtest::Body;
using doxtest::Report;
using doxtest::ReportCapture;

namespace {

struct TextCall {
  const char *caption;
  std::function<int32_t(DOXDOC)> call;
};

const TextCall kTextCalls[] = {
    {"DoxInsertBookmark", [](DOXDOC d) { return DoxInsertBookmark(d, "B", 1); }},
    {"DoxInsertFootnote", [](DOXDOC d) { return DoxInsertFootnote(d, nullptr, "Note\r\n"); }},
    {"DoxInsertPageField", [](DOXDOC d) { return DoxInsertPageField(d, 0); }},
    {"DoxInsertMergeField", [](DOXDOC d) { return DoxInsertMergeField(d, "Name", "x"); }},
    {"DoxInsertTocField", [](DOXDOC d) { return DoxInsertTocField(d, 1, 3); }},
};

TEST(TextCalls, OnlyTheTocFieldStartsAParagraphAndGroupsAreBalanced) {
  ReportCapture cap;
  for (int32_t before : {0, 1}) {
    for (const TextCall &c : kTextCalls) {
      DOXDOC doc = cap.New();
      dox::Document *d = dox::FromHandle(doc);
      ASSERT_EQ(1, DoxInsertText(doc, before ? "x\r\n" : "x"));
      ASSERT_EQ(1, c.call(doc)) << c.caption;
      bool toc = std::string(c.caption) == "DoxInsertTocField";
      EXPECT_EQ(toc ? 1 : before, d->AtParaStart) << c.caption;
      EXPECT_EQ(0, d->Stream->GroupDepth) << c.caption;
      EXPECT_EQ(dox::STATE_SECT_TEXT, d->StateBits) << c.caption;
    }
  }
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(TextCalls, RefusedWhileTheStyleSheetIsOpen) {
  ReportCapture cap;
  const std::string listed =
      "This function is valid only if one of the following function(s) has been already "
      "called:\n\nDoxBeginSectText()     Begin Section Text,\nDoxBeginHdrFtr()       Begin "
      "Header/Footer,\nDoxBeginCellText()    Begin Cell Text.";
  for (const TextCall &c : kTextCalls) {
    DOXDOC doc = cap.New();
    ASSERT_EQ(1, DoxInitSect(doc));
    dox::FromHandle(doc)->StateBits |= dox::STATE_STYLE_SHEET;
    std::string before = Body(doc);
    cap.boxes.clear();
    EXPECT_EQ(0, c.call(doc));
    EXPECT_EQ((std::vector<Report>{{47, "Invalid Function Sequence!", "DoxBeginSectText"},
                                   {48, listed, c.caption}}),
              cap.boxes);
    EXPECT_EQ(before, Body(doc));
  }
  // A merge field without a name is dropped before the position is tested.
  DOXDOC doc = cap.New();
  dox::FromHandle(doc)->StateBits = dox::STATE_STYLE_SHEET;
  cap.boxes.clear();
  EXPECT_EQ(0, DoxInsertMergeField(doc, "", "x"));
  EXPECT_EQ(0, DoxInsertMergeField(doc, nullptr, nullptr));
  EXPECT_TRUE(cap.boxes.empty());
}

TEST(TextCalls, NullHandleIsRefusedSilently) {
  ReportCapture cap;
  for (const TextCall &c : kTextCalls) EXPECT_EQ(0, c.call(nullptr)) << c.caption;
  EXPECT_TRUE(cap.boxes.empty());
}

}  // namespace
