// Fuzz target: the bytes of a picture file through DoxInsertPictFile, at the
// picture's natural size and at a given one. The readers must stay within
// the file's bytes, report what they refuse, release every buffer and close
// the file; the document must stay one balanced group.
#include "fuzz_support.h"
#include "platform/platform.h"

using namespace doxfuzz;

namespace {

const std::string &PicturePath() {
  static const std::string path = WorkDir() + "/input.pic";
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  QuietReports();
  PicturePath();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  WriteFile(PicturePath(), Bytes(reinterpret_cast<const char *>(data), size));
  const long baseline = dox::plat::MemLiveBlocks();
  DOXDOC doc = DoxNewDoc();
  Require(doc != nullptr, "a document can be made");
  DoxInsertPictFile(doc, PicturePath().c_str(), 0, 0, 0);
  DoxInsertPictFile(doc, PicturePath().c_str(), 1440, -720, 0);
  dox::Document *d = dox::FromHandle(doc);
  CheckDocument(d, true);
  CheckBodyLines(d);
  Require(d->Stream->GroupDepth == 0, "every picture group is closed");
  CheckDelivery(doc, true, true);
  EndDocument(doc);
  Require(dox::plat::MemLiveBlocks() == baseline, "nothing stays allocated");
  return 0;
}
