// The output stream's escaping and line-breaking rules at their thresholds.
#include <string>

#include "core/stream.h"
#include "test_support.h"

using doxtest::Body;
using doxtest::ReportCapture;

namespace {

struct StreamTest : ::testing::Test {
  ReportCapture capture;
  DOXDOC doc = capture.New();
  dox::Document *d = dox::FromHandle(doc);
  dox::OutputStream *s = d->Stream;

  // Empties the stream so a test sees only its own output.
  void Clear() {
    s->BodyLength = 0;
    s->LineLength = 0;
    s->SpacePending = 0;
  }
  void Text(const std::string &t) {
    ASSERT_EQ(1, dox::PutRtfText(d, s, t.data(), static_cast<int32_t>(t.size())));
  }
};

TEST_F(StreamTest, EscapesEveryReservedByte) {
  Clear();
  Text("a\\b{c}d\x0e" "e\x17" "f\tg\x0ch\x16i\xe9j\nk");
  EXPECT_EQ("a\\\\b\\{c\\}d\\~e\\_f\\tab g\\page h\\column i\\'e9jk", Body(doc));
  Clear();
  Text("x\r\ny");
  EXPECT_EQ("x\\par\r\ny", Body(doc));
}

TEST_F(StreamTest, ControlWordsStandWithoutBlanksBetweenThem) {
  Clear();
  dox::PutWord(d, s, "b");
  dox::PutWordValue(d, s, "fs", -4);
  Text("x");
  dox::PutControlWord(d, s, "li", 1, -12.9);  // truncated toward zero
  EXPECT_EQ("\\b\\fs-4 x\\li-12", Body(doc));
}

TEST_F(StreamTest, LongWordBreaksAfter101Characters) {
  Clear();
  Text(std::string(500, 'a'));
  std::string line(101, 'a');
  EXPECT_EQ(line + "\r\n" + line + "\r\n" + line + "\r\n" + line + "\r\n" + std::string(96, 'a'),
            Body(doc));
}

TEST_F(StreamTest, LineEndsAfterFirstBlankFromColumn76) {
  Clear();
  Text(std::string(75, 'a') + " b" + std::string(10, 'c') + " d");
  // Column 76 holds the blank after 75 letters: the break follows it.
  EXPECT_EQ(std::string(75, 'a') + " \r\nb" + std::string(10, 'c') + " d", Body(doc));
  Clear();
  Text(std::string(74, 'a') + " " + std::string(5, 'b') + " c");
  // A blank at column 75 is too early; the next one, at 81, ends the line.
  EXPECT_EQ(std::string(74, 'a') + " bbbbb \r\nc", Body(doc));
}

TEST_F(StreamTest, PendingBlankAfterControlWordCanEndTheLine) {
  Clear();
  Text(std::string(72, 'a'));
  dox::PutWord(d, s, "par");  // 76 characters, a blank pending
  Text("b");
  EXPECT_EQ(std::string(72, 'a') + "\\par \r\nb", Body(doc));
}

TEST_F(StreamTest, HexEscapesAndControlWordsAreNeverSplit) {
  Clear();
  Text(std::string(100, 'a') + "\xe9");
  // 100 characters may still grow; the escape's digits never move to a new line.
  EXPECT_EQ(std::string(100, 'a') + "\\'e9", Body(doc));
  Clear();
  Text(std::string(101, 'a') + "\xe9");
  EXPECT_EQ(std::string(101, 'a') + "\r\n\\'e9", Body(doc));
  Clear();
  s->NoBreak = 1;
  Text(std::string(160, 'a') + "\\b");
  s->NoBreak = 0;
  // Rule of 150: a long unbreakable line still breaks before a backslash.
  EXPECT_EQ(std::string(160, 'a') + "\r\n\\\\b", Body(doc));
}

TEST_F(StreamTest, RawTextBackslashIsWrittenOnceWithoutBreak) {
  Clear();
  s->NoBreak = 1;
  s->StreamFlags |= dox::STREAM_RAW_TEXT;
  Text(std::string(160, 'a') + "\\x");
  s->StreamFlags &= ~dox::STREAM_RAW_TEXT;
  s->NoBreak = 0;
  EXPECT_EQ(std::string(160, 'a') + "\\x", Body(doc));
}

TEST_F(StreamTest, HardLimitOf300Characters) {
  Clear();
  s->NoBreak = 1;
  Text(std::string(350, 'a'));
  s->NoBreak = 0;
  EXPECT_EQ(std::string(299, 'a') + "\r\n" + std::string(51, 'a'), Body(doc));
}

TEST_F(StreamTest, FlushOfEmptyLineWritesNothing) {
  Clear();
  EXPECT_EQ(1, dox::FlushRtfLine(d, s));
  EXPECT_EQ(0, s->BodyLength);
}

TEST_F(StreamTest, BodyGrowsByAQuarter) {
  Clear();
  Text(std::string(2000, 'x'));
  // 1000 -> 1250 -> 1562 -> 1952 -> 2440 as whole lines of 103 bytes arrive.
  EXPECT_EQ(2440, s->BodyCapacity);
  EXPECT_EQ(19 * 103, s->BodyLength);
}

}  // namespace
