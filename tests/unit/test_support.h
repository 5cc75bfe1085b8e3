// Helpers of the stream tests.
#pragma once

#include <gtest/gtest.h>

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
