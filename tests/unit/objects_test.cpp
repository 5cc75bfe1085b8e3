// Positioned objects when the stream fails: a begin call opens its bracket,
// and an end call closes it, only once everything was written. Also the
// null document, which the call scripts cannot pass.
#include <string>

#include "core/document.h"
#include "test_support.h"

using doxtest::ReportCapture;

namespace {

// Inserts text until the next line flush must grow the body.
void FillBody(DOXDOC doc) {
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  while (s->BodyLength + s->LineLength + 2 <= s->BodyCapacity)
    ASSERT_EQ(1, DoxInsertText(doc, "x"));
}

// Makes the body's next growth fail, runs `call` and checks it reported that.
template <typename Call>
void FailGrowth(Call call) {
  DoxResetLastMessage();
  dox::plat::MemFailNth(1);
  EXPECT_EQ(0, call());
  dox::plat::MemFailNth(0);
  char caption[128] = {0};
  EXPECT_EQ(23, DoxGetLastMessage(nullptr, caption));
  EXPECT_STREQ("FlushRtfLine", caption);
}

int32_t BeginBox(DOXDOC doc) {
  return DoxBeginTextBox2(doc, 1, 10, 20, 30, 40, 1, 0xFF, 0xFF00, 5, 0, 90);
}

TEST(Objects, FailedBeginsOpenNothing) {
  ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  DOXDOC frameDoc = cap.New(), boxDoc = cap.New();
  FillBody(frameDoc);
  FailGrowth([&] { return DoxBeginFrame(frameDoc, 1, 0, 0, 100, 100); });
  EXPECT_EQ(0u, dox::FromHandle(frameDoc)->StateBits & dox::STATE_FRAME);

  dox::Document *d = dox::FromHandle(boxDoc);
  FillBody(boxDoc);
  FailGrowth([&] { return BeginBox(boxDoc); });
  EXPECT_EQ(0u, d->StateBits & dox::STATE_TEXT_BOX);
  EXPECT_EQ(0, d->TextBox.TextBoxX);
  EXPECT_EQ(0, d->TextBox.TextBoxLineWidth);
  EXPECT_EQ(0u, d->TextBox.TextBoxLineColor);
}

TEST(Objects, FailedEndsLeaveTheBracketOpen) {
  ReportCapture cap;
  DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  DOXDOC frameDoc = cap.New(), boxDoc = cap.New();
  ASSERT_EQ(1, DoxBeginFrame(frameDoc, 1, 0, 0, 100, 100));
  FillBody(frameDoc);
  FailGrowth([&] { return DoxEndFrame(frameDoc); });
  EXPECT_NE(0u, dox::FromHandle(frameDoc)->StateBits & dox::STATE_FRAME);

  ASSERT_EQ(1, BeginBox(boxDoc));
  FillBody(boxDoc);
  FailGrowth([&] { return DoxEndTextBox(boxDoc); });
  EXPECT_NE(0u, dox::FromHandle(boxDoc)->StateBits & dox::STATE_TEXT_BOX);
}

TEST(Objects, NullDocumentIsRefusedSilently) {
  ReportCapture cap;
  EXPECT_EQ(0, DoxBeginFrame(nullptr, 1, 0, 0, 100, 100));
  EXPECT_EQ(0, DoxEndFrame(nullptr));
  EXPECT_EQ(0, DoxBeginTextBox(nullptr, 1, 0, 0, 100, 100, 0, 0, 0, 0, 0));
  EXPECT_EQ(0, BeginBox(nullptr));
  EXPECT_EQ(0, DoxEndTextBox(nullptr));
  EXPECT_EQ(0, DoxDrawRect(nullptr, 1, 0, 0, 100, 100, 0, 0, 0, 0, 0));
  EXPECT_EQ(0, DoxDrawLine(nullptr, 1, 0, 0, 100, 100, 0, 0, 0));
  EXPECT_TRUE(cap.boxes.empty());
  EXPECT_EQ(0, DoxGetLastMessage(nullptr, nullptr));
}

}  // namespace
