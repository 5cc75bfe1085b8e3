// PNG and JPEG pictures and pictures from memory, UTF-8 text, hyperlinks.
// UTF-8 strings are plain "..." strings: UTF-8 in the script, or \xNN bytes.
//
// One pseudo-call hands a file's bytes to DoxInsertImageData:
//
//   InsertImageDataOf "file" WIDTH HEIGHT
//
// returns what DoxInsertImageData returns, or 0 when the file cannot be read.
#include <fstream>
#include <iterator>
#include <string>

#include "registry.h"

namespace {

int32_t InsertImageDataOf(DOXDOC doc, const char *file, int32_t width, int32_t height) {
  std::ifstream in(file ? file : "", std::ios::binary);
  if (!in) return 0;
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return DoxInsertImageData(doc, bytes.data(), static_cast<uint32_t>(bytes.size()), width,
                            height);
}

const doxrun::ExportDef kExports[] = {
    DOXRUN_PSEUDO(DoxInsertImageData, "bii",  // the size is the byte string's
                DoxInsertImageData(c.doc, a[0].str.data(), static_cast<uint32_t>(a[0].str.size()),
                                   a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxInsertImageFile,
                DoxInsertImageFile(c.doc, a[0].s(), a[1].i32(), a[2].i32())),
    DOXRUN_EXPORT(DoxInsertUtf8Text, DoxInsertUtf8Text(c.doc, a[0].s())),
    DOXRUN_EXPORT(DoxInsertHyperlink,
                DoxInsertHyperlink(c.doc, a[0].s(), a[1].s(), a[2].i32())),
    DOXRUN_PSEUDO(InsertImageDataOf, "sii",
                InsertImageDataOf(c.doc, a[0].s(), a[1].i32(), a[2].i32())),
};


doxrun::Registrar exports(kExports);

}  // namespace
