// The output stream's escaping and line-breaking rules at their thresholds.
#include <functional>
#include <string>

#include "core/stream.h"
#include "test_support.h"

namespace {

TEST(Stream, EscapingAndLineBreaksAtTheirThresholds) {
  doxtest::ReportCapture capture;
  DOXDOC doc = capture.New();
  dox::Document *d = dox::FromHandle(doc);
  dox::OutputStream *s = d->Stream;
  auto text = [&](const std::string &t) {
    ASSERT_EQ(1, dox::PutRtfText(d, s, t.data(), static_cast<int32_t>(t.size())));
  };
  auto unbroken = [&](uint32_t flags, const std::string &t) {  // NoBreak, and flags
    s->NoBreak = 1;
    s->StreamFlags |= flags;
    text(t);
    s->StreamFlags &= ~flags;
    s->NoBreak = 0;
  };
  const std::string a72(72, 'a'), a74(74, 'a'), a75(75, 'a'), a100(100, 'a'), a101(101, 'a');
  const struct {
    const char *what;
    std::function<void()> write;
    std::string expected;
  } cases[] = {
      {"every reserved byte", [&] { text("a\\b{c}d\x0e" "e\x17" "f\tg\x0ch\x16i\xe9j\nk"); },
       "a\\\\b\\{c\\}d\\~e\\_f\\tab g\\page h\\column i\\'e9jk"},
      {"CR ends the line after \\par", [&] { text("x\r\ny"); }, "x\\par\r\ny"},
      {"control words: no blank between, values truncated toward zero",
       [&] {
         dox::PutWord(d, s, "b");
         dox::PutWordValue(d, s, "fs", -4);
         text("x");
         dox::PutControlWord(d, s, "li", 1, -12.9);
       },
       "\\b\\fs-4 x\\li-12"},
      {"a long word breaks after 101 characters", [&] { text(std::string(303, 'a')); },
       a101 + "\r\n" + a101 + "\r\n" + a101},
      {"the line ends after the first blank from column 76",
       [&] { text(a75 + " b" + std::string(10, 'c') + " d"); },
       a75 + " \r\nb" + std::string(10, 'c') + " d"},
      {"a blank at column 75 is too early", [&] { text(a74 + " bbbbb c"); }, a74 + " bbbbb \r\nc"},
      {"a pending blank after a control word ends the line",
       [&] {
         text(a72);
         dox::PutWord(d, s, "par");
         text("b");
       },
       a72 + "\\par \r\nb"},
      {"an escape at column 101 stays whole", [&] { text(a100 + "\xe9"); }, a100 + "\\'e9"},
      {"an escape after 101 starts a line", [&] { text(a101 + "\xe9"); }, a101 + "\r\n\\'e9"},
      {"past 150 a line breaks before a backslash", [&] { unbroken(0, std::string(160, 'a') + "\\b"); },
       std::string(160, 'a') + "\r\n\\\\b"},
      {"raw text: the backslash once, no break",
       [&] { unbroken(dox::STREAM_RAW_TEXT, std::string(160, 'a') + "\\x"); },
       std::string(160, 'a') + "\\x"},
      {"the hard limit of 300", [&] { unbroken(0, std::string(350, 'a')); },
       std::string(299, 'a') + "\r\n" + std::string(51, 'a')},
      {"an empty line is not flushed", [&] { ASSERT_EQ(1, dox::FlushRtfLine(d, s)); }, ""},
  };
  for (const auto &c : cases) {
    s->BodyLength = s->LineLength = s->SpacePending = 0;
    c.write();
    EXPECT_EQ(c.expected, doxtest::Body(doc)) << c.what;
  }
  // The body grows by a quarter: 1000 -> 1250 -> 1562 -> 1952 -> 2440.
  s->BodyLength = s->LineLength = 0;
  text(std::string(2000, 'x'));
  EXPECT_EQ(2440, s->BodyCapacity);
  EXPECT_EQ(19 * 103, s->BodyLength);
}

}  // namespace
