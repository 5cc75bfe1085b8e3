// Fuzz target: bytes as a PNG or JPEG (the header readers on an exact-size
// copy), as a picture from memory and from a file at the natural and a given
// size, and as UTF-8 text and a hyperlink. A refused input writes nothing;
// the document stays one balanced group and nothing stays allocated.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/document.h"
#include "pictures/image_readers.h"
#include "platform/platform.h"
#include "runner.h"

namespace {

void Require(bool ok) {
  if (!ok) std::abort();
}

// Runs one call; a refusal (0) may not have written anything.
template <typename F>
void Call(DOXDOC doc, F call) {
  const dox::OutputStream *s = dox::FromHandle(doc)->Stream;
  const int64_t before = int64_t{s->BodyLength} + s->LineLength;
  if (!call()) Require(s->BodyLength + s->LineLength == before);
}

void DOXAPI Sink(DOXDOC, int32_t code, const char *text, const char *, void *) {
  Require(code >= 0 && code <= DOX_ERR_BAD_UTF8 && text && *text);
}

std::string g_path;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
  DoxSetMessageSink(Sink, nullptr);
  g_path = (std::filesystem::temp_directory_path() / "dox_fuzz_image.img").string();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<uint8_t> exact(data, data + size);  // reads past the end are caught
  dox::ImageInfo info;
  for (auto reader : {dox::ReadPngInfo, dox::ReadJpegInfo})
    if (reader(exact.data(), size, &info))
      Require(info.width >= 1 && info.width <= dox::kMaxImageSide && info.height >= 1 &&
              info.height <= dox::kMaxImageSide && info.dpiX >= 0 && info.dpiY >= 0);
  FILE *f = std::fopen(g_path.c_str(), "wb");
  Require(f && std::fwrite(data, 1, size, f) == size && std::fclose(f) == 0);
  const std::string text(reinterpret_cast<const char *>(data), size);  // cut at a NUL
  const long live = dox::plat::MemLiveBlocks();
  DOXDOC doc = DoxNewDoc();
  Require(doc != nullptr);
  for (int32_t height : {0, 1440})
    Call(doc, [&] { return DoxInsertImageData(doc, exact.data(), uint32_t(size), 0, height); });
  Call(doc, [&] { return DoxInsertImageFile(doc, g_path.c_str(), 2880, -1); });
  Call(doc, [&] { return DoxInsertUtf8Text(doc, text.c_str()); });
  Call(doc, [&] { return DoxInsertHyperlink(doc, text.c_str(), text.c_str(), size & 1); });
  std::string rtf;
  Require(doxrun::DocumentText(doc, rtf) && doxrun::OneBalancedGroup(rtf));
  DoxEndDoc(doc);
  Require(dox::plat::MemLiveBlocks() == live);
  return 0;
}
