// Delivering a document: the RTF frame (header, font table, colour table)
// around the body, into a new memory block or a file. Reads the document and
// changes nothing in it.
#include <cstdio>
#include <cstring>

#include "core/document.h"
#include "core/errors.h"
#include "core/reader_friendly.h"
#include "dox.h"

namespace dox {
namespace {

constexpr const char *kCaption = "DoxSave";

// Where the pieces go: a block of a computed size, a file, or nowhere (only
// counted). Pieces for a file smaller than its buffer are gathered there, so
// that the frame around the body costs a write or two, not one per piece.
class Sink {
 public:
  Sink() = default;
  Sink(char *block, int64_t size) : block_(block), size_(size) {}
  explicit Sink(plat::FileHandle file) : file_(file) {}

  bool Put(const char *data, size_t n) {
    if (n == 0) return true;
    if (block_) {
      if (used_ + static_cast<int64_t>(n) > size_) return false;  // does not fit
      std::memcpy(block_ + used_, data, n);
    } else if (file_ != plat::kNoFile) {
      if (n > sizeof gathered_ - gatheredLength_ && !Flush()) return false;
      if (n < sizeof gathered_) {
        std::memcpy(gathered_ + gatheredLength_, data, n);
        gatheredLength_ += n;
      } else if (!plat::FileWrite(file_, data, static_cast<uint32_t>(n))) {
        return false;
      }
    }
    used_ += static_cast<int64_t>(n);
    return true;
  }
  bool Put(const char *text) { return Put(text, std::strlen(text)); }
  // Writes what is gathered.
  bool Flush() {
    const size_t n = gatheredLength_;
    gatheredLength_ = 0;
    return n == 0 || plat::FileWrite(file_, gathered_, static_cast<uint32_t>(n));
  }
  int64_t used() const { return used_; }

 private:
  char *block_ = nullptr;
  int64_t size_ = 0;
  int64_t used_ = 0;
  plat::FileHandle file_ = plat::kNoFile;
  size_t gatheredLength_ = 0;
  char gathered_[4096];
};

// CR LF before entries 2, 5, 8, ... of a table.
bool PutEntryBreak(Sink &out, int32_t i) { return i % 3 != 2 || out.Put("\r\n", 2); }

// Reader-friendly mode appends a neutral text font as the default font: the
// first registered font may be a symbol font, which "\deff0" would make the
// font of all plain text. Appending keeps every other font number.
constexpr const char *kReaderDefaultFont = "\\froman \\fcharset0 Times New Roman;}";

bool PutFontTable(Sink &out, const Document *doc) {
  const bool reader = ReaderFriendly(doc);
  if (doc->FontCount <= 0 && !reader) return true;
  if (!out.Put("{\\fonttbl")) return false;
  char buf[64];
  for (int32_t i = 0; i < doc->FontCount; ++i) {
    const FontEntry &f = doc->Fonts[i];
    if (!PutEntryBreak(out, i)) return false;
    std::snprintf(buf, sizeof buf, "{\\f%d ", static_cast<int>(i));
    if (!out.Put(buf)) return false;
    const char *family = f.Family == 16   ? "\\froman "
                         : f.Family == 32 ? "\\fswiss "
                         : f.Family == 48 ? "\\fmodern "
                         : f.Family == 64 ? "\\fscript "
                         : f.Family == 80 ? "\\fdecor "
                                          : "";
    if (!out.Put(family)) return false;
    if (f.Charset != 1) {
      std::snprintf(buf, sizeof buf, "\\fcharset%d ", static_cast<int>(f.Charset));
      if (!out.Put(buf)) return false;
    }
    if (!out.Put(f.Name, strnlen(f.Name, sizeof f.Name)) || !out.Put(";}", 2)) return false;
  }
  if (reader) {
    std::snprintf(buf, sizeof buf, "{\\f%d ", static_cast<int>(doc->FontCount));
    if (!PutEntryBreak(out, doc->FontCount) || !out.Put(buf) || !out.Put(kReaderDefaultFont))
      return false;
  }
  return out.Put("}", 1);
}

bool PutColorTable(Sink &out, const Document *doc) {
  if (doc->ColorCount <= 0) return true;
  // Reader-friendly mode: an empty first entry, as readers take index 0 for
  // "no colour"; FindOrAddColor then numbers the colours from 1.
  if (!out.Put("{\\colortbl") || (ReaderFriendly(doc) && !out.Put(";", 1))) return false;
  char buf[64];
  for (int32_t i = 0; i < doc->ColorCount; ++i) {
    uint32_t c = doc->Colors[i];
    if (!PutEntryBreak(out, i)) return false;
    std::snprintf(buf, sizeof buf, "\\red%u\\green%u\\blue%u;", c & 0xFFu, (c >> 8) & 0xFFu,
                  (c >> 16) & 0xFFu);
    if (!out.Put(buf)) return false;
  }
  return out.Put("}", 1);
}

// What comes before the body: the header, the tables.
bool PutFrame(Sink &out, const Document *doc) {
  char deff[32] = "\\deff0 ";
  if (ReaderFriendly(doc)) std::snprintf(deff, sizeof deff, "\\deff%d ", static_cast<int>(doc->FontCount));
  return out.Put("{\\rtf1\\uc1 ") && out.Put(deff) && PutFontTable(out, doc) &&
         PutColorTable(out, doc) &&
         out.Put(doc->Reader.ListTables.Data, static_cast<size_t>(doc->Reader.ListTables.Length));
}

bool PutDocument(Sink &out, const Document *doc) {
  const OutputStream *s = doc->Stream;
  if (!PutFrame(out, doc) || !out.Put(s->Body, static_cast<size_t>(s->BodyLength)) ||
      !out.Put(s->Line, static_cast<size_t>(s->LineLength)))
    return false;
  char braces[64];
  int32_t n = s->GroupDepth > 0 ? s->GroupDepth + 1 : 1;
  while (n > 0) {
    int32_t k = n < 64 ? n : 64;
    std::memset(braces, '}', static_cast<size_t>(k));
    if (!out.Put(braces, static_cast<size_t>(k))) return false;
    n -= k;
  }
  return true;
}

// A document whose body or tables were lost when they could not grow cannot
// be delivered.
bool Intact(const Document *doc) {
  return doc->Stream->Body && (doc->FontCount == 0 || doc->Fonts) &&
         (doc->ColorCount == 0 || doc->Colors);
}

// The body is placed while it is small: moving a large one would cost more
// than its faster save gains.
constexpr int64_t kPlacedBodyLimit = 64 * 1024;

}  // namespace

void AlignBodyToFrame(Document *doc) {
  OutputStream *s = doc->Stream;
  const int64_t bytes = static_cast<int64_t>(s->BodyLength) + s->LineLength;
  if (!Intact(doc) || bytes > kPlacedBodyLimit) return;
  Sink count;
  PutFrame(count, doc);
  char *block = s->Body - s->Lead;
  const auto lead = static_cast<int32_t>(
      (static_cast<uint64_t>(count.used()) - reinterpret_cast<uintptr_t>(block)) & (kBodyRoomBefore - 1));
  if (lead == s->Lead) return;
  std::memmove(block + lead, s->Body, static_cast<size_t>(bytes));
  s->Lead = lead;
  s->Body = block + lead;
  LineAfterBody(s);
}

namespace {

DOXHMEM AssembleToMemory(Document *doc, uint32_t *sizeOut) {
  const OutputStream *s = doc->Stream;
  // A caller who closed more groups than it opened (GroupDepth below 0) still
  // gets its text with the one closing brace: the depth adds no room then.
  int64_t size = 42 + (ReaderFriendly(doc) ? 100 + doc->Reader.ListTables.Length : 0) + 80 * static_cast<int64_t>(doc->FontCount) +
                 30 * static_cast<int64_t>(doc->ColorCount) + s->BodyLength + s->LineLength +
                 (s->GroupDepth > 0 ? s->GroupDepth : 0);
  if (size < 1 || size > UINT32_MAX || !Intact(doc)) return nullptr;
  plat::MemHandle h = plat::MemAllocLarge(static_cast<size_t>(size), false, false);
  char *block = h ? static_cast<char *>(plat::MemLock(h)) : nullptr;
  if (!block) {
    if (h) plat::MemFree(h);
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, kCaption);
    return nullptr;
  }
  Sink out(block, size);
  if (!PutDocument(out, doc) || !out.Put("", 1)) {
    plat::MemUnlock(h);
    plat::MemFree(h);
    return nullptr;
  }
  // A reused block still holds an earlier document past this one's end.
  std::memset(block + out.used(), 0, static_cast<size_t>(size - out.used()));
  plat::MemUnlock(h);
  DOXHMEM host = plat::HostFromMem(h);
  if (!host) {
    plat::MemFree(h);
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, kCaption);
    return nullptr;
  }
  if (sizeOut) *sizeOut = static_cast<uint32_t>(out.used());
  return host;
}

DOXHMEM AssembleDocument(Document *doc, const char *fileName, uint32_t *sizeOut) {
  if (!doc) return nullptr;  // no document, nothing to deliver
  if (!fileName || !*fileName) return AssembleToMemory(doc, sizeOut);
  if (!Intact(doc)) return nullptr;
  plat::FileHandle f = plat::FileCreate(fileName);
  if (f == plat::kNoFile) {
    ReportError(doc, DOX_ERR_OPEN_FILE, kCaption);
    return nullptr;
  }
  Sink count;
  if (PutDocument(count, doc)) plat::FileReserve(f, static_cast<uint64_t>(count.used()));
  Sink out(f);
  bool ok = PutDocument(out, doc) && out.Flush();
  plat::FileClose(f);
  return ok ? reinterpret_cast<DOXHMEM>(1) : nullptr;
}

}  // namespace
}  // namespace dox

extern "C" {

DOXEXPORT DOXHMEM DOXAPI DoxGetData(DOXDOC doc, uint32_t *sizeOut) {
  return dox::AssembleDocument(dox::FromHandle(doc), nullptr, sizeOut);
}

DOXEXPORT DOXHMEM DOXAPI DoxSaveFile(DOXDOC doc, const char *fileName) {
  return dox::AssembleDocument(dox::FromHandle(doc), fileName, nullptr);
}

}  // extern "C"
