// Pictures from files: bitmaps, placeable metafiles and enhanced metafiles,
// told apart by their first bytes and embedded as picture groups; and linked
// pictures, which refer to the file by name through an INCLUDEPICTURE field.
// Nothing is ever read outside a file's bytes; a file too large to be held in
// memory (2 GB and more) counts as memory that cannot be had (code 23).
#include <cstring>

#include "core/errors.h"
#include "core/field_instruction.h"
#include "core/muldiv.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "pictures/picture_groups.h"

namespace dox {
namespace {

// What the first bytes of a file say it is.
enum PictFileKind : int32_t {
  kFileUnknown = 0,
  kFileBitmap = 1,
  kFileMetafile = 2,
  kFileEnhMetafile = 5,
  kFileError = 6,  // already reported
};

constexpr uint32_t kPlaceableHeaderSize = 22;

// A picture file opened for reading, closed when it goes out of scope.
class PictFile {
 public:
  explicit PictFile(const char *name) : f_(plat::FileOpenRead(name)) {}
  ~PictFile() { plat::FileClose(f_); }
  PictFile(const PictFile &) = delete;
  PictFile &operator=(const PictFile &) = delete;

  bool ok() const { return f_ != plat::kNoFile; }
  // The file's length; 0 when it cannot be taken.
  uint64_t Length() {
    int64_t n = plat::FileSeek(f_, 0, 2);
    return n < 0 ? 0 : static_cast<uint64_t>(n);
  }
  // Reads up to `n` bytes from the start of the file; returns the count read.
  uint64_t ReadFromStart(void *buffer, uint64_t n) {
    if (plat::FileSeek(f_, 0, 0) != 0) return 0;
    return Read(buffer, n);
  }
  // Reads up to `n` bytes from the current position.
  // (The callers' buffers are below 2 GB.)
  uint64_t Read(void *buffer, uint64_t n) {
    uint32_t done = 0;
    if (n > 0 && n <= 0xFFFFFFFFu) plat::FileRead(f_, buffer, static_cast<uint32_t>(n), &done);
    return done;
  }

 private:
  plat::FileHandle f_;
};

int32_t DetectPictureFileType(Document *doc, const char *fileName) {
  PictFile f(fileName);
  if (!f.ok()) {
    ReportError(doc, DOX_ERR_OPEN_PICTURE, fileName);
    return kFileError;
  }
  uint8_t head[kEnhHeaderSize];
  if (f.ReadFromStart(head, kFileHeaderSize) < kFileHeaderSize) {
    ReportError(doc, DOX_ERR_READ_PICTURE, nullptr);
    return kFileError;
  }
  if (Load16(head) == 0x4D42) return kFileBitmap;  // "BM"
  if (f.ReadFromStart(head, 24) < 24) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return kFileError;
  }
  if (Load32(head) == kPlaceableKey) return kFileMetafile;
  if (f.ReadFromStart(head, kEnhHeaderSize) < kEnhHeaderSize) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return kFileError;
  }
  return Load32(head + 40) == kEnhSignature ? kFileEnhMetafile : kFileUnknown;
}

// The information header of a bitmap file can be read: the core form (size
// field 12) with its 12 bytes and its whole three-byte colour table, or any
// other with the 40 bytes of the information header within `infoCount`,
// whatever its size field says.
bool UsableInfoHeader(const uint8_t *info, uint64_t infoCount) {
  if (infoCount < 4) return false;
  if (Load32(info) == kCoreHeaderSize)
    return infoCount >= kCoreHeaderSize &&
           infoCount >= kCoreHeaderSize + 3ull * CoreColorCount(Load16(info + 10));
  return infoCount >= kInfoHeaderSize;
}

// A bitmap file. A pixel offset before the end of the file header or beyond
// the end of the file asks for a buffer of a negative size: memory run out
// (code 23, "KelPictureFromDIB"), result 1. An information header that cannot
// be read (see UsableInfoHeader) is refused with code 1 ("Invalid Bitmap
// File") and the result 0.
int32_t ReadBmpFile(Document *doc, const char *fileName, int32_t width, int32_t height) {
  PictFile f(fileName);
  if (!f.ok()) return 0;
  uint64_t length = f.Length();
  auto *fileHeader = reinterpret_cast<uint8_t *>(doc->Picture.PictureScratch);
  if (f.ReadFromStart(fileHeader, kFileHeaderSize) < kFileHeaderSize) {
    ReportError(doc, DOX_ERR_READ_PICTURE, nullptr);
    return 0;
  }
  uint32_t offBits = Load32(fileHeader + 10);
  if (Load16(fileHeader) != 0x4D42) {
    ReportError(doc, DOX_ERR_INVALID_BITMAP, nullptr);
    return 0;
  }
  bool negative = offBits < kFileHeaderSize || offBits > length;
  uint64_t infoCount = negative ? 0 : offBits - kFileHeaderSize;
  uint64_t bitsCount = negative ? 0 : length - offBits;
  PictBuffer bits, info;
  if (negative || !bits.Allocate(bitsCount) || !info.Allocate(infoCount)) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "KelPictureFromDIB");
    return 1;
  }
  if (f.Read(info.data(), infoCount) < infoCount || f.Read(bits.data(), bitsCount) < bitsCount) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, nullptr);
    return 1;
  }
  if (!UsableInfoHeader(info.data(), infoCount)) {
    ReportError(doc, DOX_ERR_INVALID_BITMAP, nullptr);
    return 0;
  }
  PictBuffer converted;
  const uint8_t *header = info.data();
  uint32_t headerCount = static_cast<uint32_t>(infoCount);
  if (Load32(header) == kCoreHeaderSize) {
    if (!ConvertCoreHeader(doc, header, converted, &headerCount)) return 1;
    info.Release();
    header = converted.data();
  }
  if (!WriteDibPictGroup(doc, doc->Stream, width, height, header, bits.data(), headerCount,
                         static_cast<uint32_t>(bitsCount)))
    return 0;
  return 1;
}

// A placeable metafile. A file too short for the 18-byte metafile header
// behind the placeable header reports the short read (code 17) and returns 1,
// as the other late failures do, before any buffer is allocated.
int32_t ReadWmfFile(Document *doc, const char *fileName, int32_t width, int32_t height) {
  PictFile f(fileName);
  if (!f.ok()) return 0;
  uint64_t length = f.Length();
  uint8_t placeable[kPlaceableHeaderSize];
  if (f.ReadFromStart(placeable, kPlaceableHeaderSize) < kPlaceableHeaderSize) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return 0;
  }
  if (Load32(placeable) != kPlaceableKey) {
    ReportError(doc, DOX_ERR_INVALID_METAFILE, nullptr);
    return 0;
  }
  int32_t left = LoadI16(placeable + 6), top = LoadI16(placeable + 8);
  int32_t right = LoadI16(placeable + 10), bottom = LoadI16(placeable + 12);
  int32_t unitsPerInch = LoadI16(placeable + 14);
  if (length < kPlaceableHeaderSize + kMetaHeaderSize) {  // the metafile header is missing
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return 1;
  }
  uint64_t size = length - kPlaceableHeaderSize + kWindowRecordsSize;
  PictBuffer buffer;
  if (!buffer.Allocate(size)) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "hImage");
    return 1;
  }
  uint8_t *b = buffer.data();
  if (f.Read(b, kMetaHeaderSize) < kMetaHeaderSize) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return 1;
  }
  Store32(b + 6, Load32(b + 6) + kWindowRecordsSize / 2);
  uint8_t *record = b + kMetaHeaderSize;
  StoreWindowRecords(record, left, top, right, bottom);
  uint64_t rest = length - kPlaceableHeaderSize - kMetaHeaderSize;
  if (f.Read(record + kWindowRecordsSize, rest) < rest) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return 1;
  }
  int32_t pixelWidth = MulDiv(right - left, doc->ScreenDpiX, unitsPerInch);
  int32_t pixelHeight = MulDiv(bottom - top, doc->ScreenDpiY, unitsPerInch);
  if (!WriteWmfPictGroup(doc, doc->Stream, pixelWidth, pixelHeight, width, height, b,
                         static_cast<uint32_t>(size)))
    return 0;
  return 1;
}

// An enhanced metafile, written whole. A device resolution that cannot be
// computed from the header counts as 0 (see EnhMetaPixelSize).
int32_t ReadEmfFile(Document *doc, const char *fileName, int32_t width, int32_t height) {
  PictFile f(fileName);
  if (!f.ok()) return 0;
  uint64_t length = f.Length();
  uint8_t header[kEnhHeaderSize];
  if (f.ReadFromStart(header, kEnhHeaderSize) < kEnhHeaderSize) return 0;
  int32_t pixelWidth, pixelHeight;
  EnhMetaPixelSize(doc, header, &pixelWidth, &pixelHeight);
  if (width == 0) width = MulDiv(pixelWidth, 1440, doc->ScreenDpiX);
  if (height == 0) height = MulDiv(pixelHeight, 1440, doc->ScreenDpiY);
  PictBuffer buffer;
  if (!buffer.Allocate(length)) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "hImage");
    return 1;
  }
  if (length < kEnhHeaderSize || f.ReadFromStart(buffer.data(), length) < length) {
    ReportError(doc, DOX_ERR_READ_METAFILE, nullptr);
    return 1;
  }
  if (!WriteEmfPictGroup(doc, doc->Stream, pixelWidth, pixelHeight, width, height,
                         buffer.data(), static_cast<uint32_t>(length)))
    return 0;
  return 1;
}

// The instruction text: the quoted name with every backslash written as four,
// and the switch \d (RTF then holds each backslash doubled). Composed in
// PictureScratch a piece at a time, so names of any length fit.
int32_t WriteLinkInstruction(Document *doc, OutputStream *s, const char *fileName) {
  char *scratch = doc->Picture.PictureScratch;
  int32_t n = 0;
  auto put = [&](const char *text) {
    for (; *text; ++text) {
      if (n == kPictureScratchSize) {
        if (!PutRtfText(doc, s, scratch, n)) return false;
        n = 0;
      }
      scratch[n++] = *text;
    }
    return true;
  };
  if (!put("\"")) return 0;
  for (const char *p = fileName; *p; ++p) {
    const char one[2] = {*p, '\0'};
    if (!put(*p == '\\' ? "\\\\\\\\" : one)) return 0;
  }
  if (!put("\" \\\\d")) return 0;
  return PutRtfText(doc, s, scratch, n);
}

// {\kllinkpictw..\kllinkpicth..{\field{\fldinst INCLUDEPICTURE "name" \\d}{\fldrslt}}}, the
// size group only when both sizes are positive. Names of any length.
int32_t WriteLinkedPicture(Document *doc, OutputStream *s, const char *fileName, int32_t width,
                           int32_t height) {
  bool sized = width > 0 && height > 0;
  if (sized && (!OpenGroup(doc, s) || !PutWordValue(doc, s, "kllinkpictw", width) ||
                !PutWordValue(doc, s, "kllinkpicth", height)))
    return 0;
  if (!OpenGroup(doc, s) || !PutWord(doc, s, "field") || !OpenGroup(doc, s) ||
      !PutFieldInstructionWord(doc, s) || !PutText(doc, s, "INCLUDEPICTURE "))
    return 0;
  s->StreamFlags |= STREAM_RAW_TEXT;
  int32_t ok = WriteLinkInstruction(doc, s, fileName);
  s->StreamFlags &= ~STREAM_RAW_TEXT;
  if (!ok || !CloseGroup(doc, s) || !OpenGroup(doc, s) || !PutWord(doc, s, "fldrslt") ||
      !CloseGroup(doc, s) || !CloseGroup(doc, s))
    return 0;
  if (sized && !CloseGroup(doc, s)) return 0;
  return 1;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

// File names: any length, used whole (no 128-character copy is made). A
// linked picture's instruction is composed a piece at a time in
// PictureScratch, so it is never cut; a name the system cannot open (too long
// for it, say) reports code 20 with the name as caption, which a silent
// report records cut to its first 99 characters. A null name is the empty
// name.
DOXEXPORT int32_t DOXAPI DoxInsertPictFile(DOXDOC handle, const char *fileName, int32_t width,
                                           int32_t height, int32_t link) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::InsertPictFile)) return 0;
  if (!fileName) fileName = "";
  if (link) return WriteLinkedPicture(doc, doc->Stream, fileName, width, height);
  switch (DetectPictureFileType(doc, fileName)) {
    case kFileBitmap: return ReadBmpFile(doc, fileName, width, height);
    case kFileMetafile: return ReadWmfFile(doc, fileName, width, height);
    case kFileEnhMetafile: return ReadEmfFile(doc, fileName, width, height);
    default: return 0;
  }
}

}  // extern "C"
