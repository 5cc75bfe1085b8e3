// The interface that explains itself: the version the library reports, and
// the document handle the message sink receives with every report.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "dox.h"
#include "platform/platform.h"

namespace {

struct Seen {
  DOXDOC doc;
  int32_t code;
  std::string caption;
};

void DOXAPI Collect(DOXDOC doc, int32_t code, const char *, const char *caption, void *user) {
  static_cast<std::vector<Seen> *>(user)->push_back({doc, code, caption ? caption : ""});
}

TEST(Interface, VersionMatchesHeader) {
  char numbers[64];
  std::snprintf(numbers, sizeof numbers, "%d.%d.%d", DOX_VERSION_MAJOR, DOX_VERSION_MINOR,
                DOX_VERSION_PATCH);
  EXPECT_STREQ(DoxVersion(), DOX_VERSION_STRING);
  EXPECT_STREQ(DoxVersion(), numbers);
}

// Each report names the document it is about; 0 when there is none yet.
TEST(Interface, SinkReceivesTheDocument) {
  std::vector<Seen> seen;
  DoxSetMessageSink(Collect, &seen);
  DOXDOC a = DoxNewDoc(), b = DoxNewDoc();
  DoxBeginTableRow(a, 0, 0, 0, 0, 0);
  EXPECT_EQ(DoxEndCellText(b), 0);
  EXPECT_EQ(DoxBeginCellText(a), 0);
  dox::plat::MemFailNth(1);
  EXPECT_EQ(DoxNewDoc(), nullptr);
  dox::plat::MemFailNth(1);
  EXPECT_EQ(DoxNextCellInfo(a, 1000, 0, 0, CELL_NO_BGCOLOR, 0, 0, 0, 0, 0), 0);
  dox::plat::MemFailNth(0);
  DoxSetMessageSink(nullptr, nullptr);
  const std::vector<Seen> expected = {
      {b, DOX_ERR_NEEDS_CALL, "DoxEndCellText"},
      {a, DOX_ERR_NO_CELL_INFO, "DoxBeginCellText"},
      {nullptr, DOX_ERR_OUT_OF_MEMORY, "OurAlloc"},
      {a, DOX_ERR_OUT_OF_MEMORY, "OurAlloc"},
  };
  ASSERT_EQ(seen.size(), expected.size());
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].doc, expected[i].doc) << i;
    EXPECT_EQ(seen[i].code, expected[i].code) << i;
    EXPECT_EQ(seen[i].caption, expected[i].caption) << i;
  }
  DoxEndDoc(a);
  DoxEndDoc(b);
}

}  // namespace
