// A C++ host: a small table built through dox.h, taken back as a memory block.
// Usage: cpp_host [output.rtf]  (default: cpp_host.rtf)
#include <cstdio>
#include <fstream>
#include <memory>
#include <string>

#include "dox.h"

namespace {

// Ends the document when it goes out of scope.
struct DocDeleter {
  void operator()(DoxDocumentTag *doc) const { DoxEndDoc(doc); }
};
using Document = std::unique_ptr<DoxDocumentTag, DocDeleter>;

// The RTF text of a document, from the memory block DoxGetData returns.
std::string Text(DOXDOC doc) {
  uint32_t size = 0;
  DOXHMEM block = DoxGetData(doc, &size);
  if (!block) return {};
  std::string text(static_cast<const char *>(DoxMemLock(block)), size - 1);
  DoxMemUnlock(block);
  DoxMemFree(block);
  return text;
}

}  // namespace

int main(int argc, char **argv) {
  const char *path = argc > 1 ? argv[1] : "cpp_host.rtf";
  Document doc(DoxNewDoc());
  if (!doc) return 1;
  DoxSetFlags(doc.get(), 1, FLAG_NO_MSG_BOX);

  DoxInsertText(doc.get(), "Quarterly figures\r\n");
  const char *cells[2][3] = {{"Region", "Q1", "Q2"}, {"North", "120", "135"}};
  for (auto &row : cells) {
    DoxBeginTableRow(doc.get(), 0, 0, 0, 0, 108);
    for (int c = 0; c < 3; ++c)
      DoxNextCellInfo(doc.get(), 2000, 0, 0, CELL_NO_BGCOLOR, 10, 10, 10, 10, 0);
    for (const char *text : row) {
      DoxBeginCellText(doc.get());
      DoxInsertText(doc.get(), text);
      DoxEndCellText(doc.get());
    }
    DoxEndTableRow(doc.get());
  }
  DoxInsertUText(doc.get(), reinterpret_cast<const uint16_t *>(u"Gr\u00fc\u00dfe, \u4f60\u597d\r\n"));

  std::string rtf = Text(doc.get());
  std::ofstream(path, std::ios::binary) << rtf;
  std::printf("wrote %s (%zu bytes)\n", path, rtf.size());
  return rtf.empty() ? 1 : 0;
}
