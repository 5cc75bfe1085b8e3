// Helpers shared by the unit tests.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/document.h"
#include "core/library_state.h"
#include "dox.h"
#include "platform/platform.h"

namespace doxtest {

// The document's RTF as DoxGetData delivers it (without the NUL).
inline std::string Rtf(DOXDOC doc) {
  uint32_t size = 0;
  DOXHMEM h = DoxGetData(doc, &size);
  if (!h) return "<no data>";
  std::string s(static_cast<const char *>(DoxMemLock(h)), size - 1);
  DoxMemUnlock(h);
  DoxMemFree(h);
  return s;
}

// The body lines and the current line, between the header and the braces.
inline std::string Body(DOXDOC doc) {
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  return std::string(s->Body, static_cast<size_t>(s->BodyLength)) +
         std::string(s->Line, static_cast<size_t>(s->LineLength));
}

struct Report {
  int32_t code;
  std::string text;
  std::string caption;  // "(null)" for a null caption
  bool operator==(const Report &o) const {
    return code == o.code && text == o.text && caption == o.caption;
  }
};

inline void PrintTo(const Report &r, std::ostream *os) {
  *os << "{" << r.code << ", \"" << r.caption << "\", \"" << r.text << "\"}";
}

// Captures the message boxes shown while it lives; leaves every document it
// made (through New) ended and the library flags and last message reset.
class ReportCapture {
 public:
  ReportCapture() {
    DoxSetMessageSink(&Sink, this);
    DoxResetLastMessage();
    DoxSetFlags(nullptr, 0, 3);
  }
  ~ReportCapture() {
    for (DOXDOC d : docs_) DoxEndDoc(d);
    DoxSetMessageSink(nullptr, nullptr);
    DoxSetFlags(nullptr, 0, 3);
    DoxResetLastMessage();
    dox::plat::MemFailNth(0);
  }
  DOXDOC New() {
    DOXDOC d = DoxNewDoc();
    if (d) docs_.push_back(d);
    return d;
  }
  std::vector<Report> boxes;

 private:
  static void DOXAPI Sink(DOXDOC, int32_t code, const char *text, const char *caption,
                          void *user) {
    static_cast<ReportCapture *>(user)->boxes.push_back(
        {code, text ? text : "", caption ? caption : "(null)"});
  }
  std::vector<DOXDOC> docs_;
};

// A new memory block holding `n` bytes.
inline DOXHMEM Block(const void *bytes, size_t n) {
  DOXHMEM h = DoxMemAlloc(static_cast<uint32_t>(n));
  if (n) std::memcpy(DoxMemLock(h), bytes, n);
  DoxMemUnlock(h);
  return h;
}
// A memory block holding a metafile picture.
inline DOXHMEM PictBlock(int32_t mm, int32_t x, int32_t y, void *metafile) {
  DoxMetaFilePict p = {mm, x, y, metafile};
  return Block(&p, sizeof p);
}

// A directory of its own for the files a test writes, removed with it.
struct TempFiles {
  std::filesystem::path dir;
  explicit TempFiles(const std::string &prefix)
      : dir(std::filesystem::path(::testing::TempDir()) /
            (prefix + std::to_string(std::chrono::steady_clock::now().time_since_epoch().count()))) {
    std::filesystem::create_directories(dir);
  }
  ~TempFiles() { std::filesystem::remove_all(dir); }
  std::string File(const std::string &name, const void *bytes, size_t n) const {
    std::string path = (dir / name).string();
    std::ofstream(path, std::ios::binary).write(static_cast<const char *>(bytes),
                                                static_cast<std::streamsize>(n));
    return path;
  }
};

}  // namespace doxtest
