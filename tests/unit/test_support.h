// Helpers of the stream tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/document.h"
#include "dox.h"

namespace doxtest {

// The body lines and the current line, between the header and the braces.
inline std::string Body(DOXDOC doc) {
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  return std::string(s->Body, static_cast<size_t>(s->BodyLength)) +
         std::string(s->Line, static_cast<size_t>(s->LineLength));
}

// `text` with its NUL placed just before an unreadable page: one of two such
// places, an odd number of pages apart (a read is kept in its page by the
// page's address).
inline const char *AtPageEnd(const std::string &text, bool odd = false) {
  static const long page = sysconf(_SC_PAGESIZE);
  static char *const pages = [] {
    auto *m = static_cast<char *>(
        mmap(nullptr, 5 * page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    EXPECT_NE(MAP_FAILED, static_cast<void *>(m));
    EXPECT_EQ(0, mprotect(m + page, page, PROT_NONE) | mprotect(m + 4 * page, page, PROT_NONE));
    return m;
  }();
  char *end = pages + (odd ? 4 : 1) * page;
  return static_cast<char *>(std::memcpy(end - text.size() - 1, text.c_str(), text.size() + 1));
}

// Makes documents and ends them with itself; message boxes are counted.
class ReportCapture {
 public:
  ReportCapture() { DoxSetMessageSink(&Sink, this); }
  ~ReportCapture() {
    for (DOXDOC d : docs_) DoxEndDoc(d);
    DoxSetMessageSink(nullptr, nullptr);
  }
  DOXDOC New() { return docs_.emplace_back(DoxNewDoc()); }
  int boxes = 0;

 private:
  static void DOXAPI Sink(DOXDOC, int32_t, const char *, const char *, void *user) {
    ++static_cast<ReportCapture *>(user)->boxes;
  }
  std::vector<DOXDOC> docs_;
};

}  // namespace doxtest
