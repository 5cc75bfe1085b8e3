#include "core/reader_state.h"

#include <cstring>
#include <initializer_list>
#include <string_view>

#include "core/document.h"
#include "core/errors.h"
#include "core/grow.h"
#include "dox.h"

namespace dox {

bool BufferAppend(Document *doc, ReaderBuffer &b, const void *data, int32_t n) {
  if (n <= 0) return true;
  if (!b.Handle) {
    int32_t capacity = n < 256 ? 256 : n;
    b.Handle = plat::MemAlloc(static_cast<size_t>(capacity), true);
    b.Data = b.Handle ? static_cast<char *>(plat::MemLock(b.Handle)) : nullptr;
    if (!b.Data) {
      if (b.Handle) plat::MemFree(b.Handle);
      b = ReaderBuffer{};
      return ReportError(doc, DOX_ERR_OUT_OF_MEMORY, "ReaderFriendly") != 0;
    }
    b.Capacity = capacity;
  } else if (b.Length + n > b.Capacity) {
    int64_t grown = int64_t{b.Capacity} * 2 > b.Length + n ? int64_t{b.Capacity} * 2 : b.Length + n;
    void *p = b.Data;
    if (grown > INT32_MAX / 2 ||
        !GrowBlock(doc, b.Handle, p, static_cast<size_t>(grown), "ReaderFriendly")) {
      b = ReaderBuffer{};
      return false;
    }
    b.Data = static_cast<char *>(p);
    b.Capacity = static_cast<int32_t>(grown);
  }
  std::memcpy(b.Data + b.Length, data, static_cast<size_t>(n));
  b.Length += n;
  return true;
}

void ReleaseReaderState(Document *doc) {
  for (ReaderBuffer *b : {&doc->Reader.Styles, &doc->Reader.Words, &doc->Reader.Lists,
                          &doc->Reader.ListTables}) {
    if (b->Handle) {
      plat::MemUnlock(b->Handle);
      plat::MemFree(b->Handle);
    }
    *b = ReaderBuffer{};
  }
}

int32_t StreamPosition(const Document *doc) {
  return doc->Stream->BodyLength + doc->Stream->LineLength;
}

bool CopyStreamSince(Document *doc, int32_t from, ReaderBuffer &out) {
  const OutputStream *s = doc->Stream;
  if (!s->Body || from < 0) return false;
  if (from < s->BodyLength) {
    // Copied through a buffer of our own: the body may move while `out` grows.
    if (!BufferAppend(doc, out, s->Body + from, s->BodyLength - from)) return false;
    from = s->BodyLength;
  }
  int32_t inLine = from - s->BodyLength;
  return inLine >= s->LineLength ||
         BufferAppend(doc, out, s->Line + inLine, s->LineLength - inLine);
}

int32_t PutRawBytes(Document *doc, const char *data, int32_t n) {
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s) || !s->Body) return 0;
  bool ends = n >= 2 && data[n - 2] == '\r' && data[n - 1] == '\n';
  int64_t needed = int64_t{s->BodyLength} + n + (ends ? 0 : 2);
  if (needed > s->BodyCapacity && !GrowBody(doc, s, needed, "ReaderFriendly")) return 0;
  std::memcpy(s->Body + s->BodyLength, data, static_cast<size_t>(n));
  s->BodyLength += n;
  if (!ends) {
    std::memcpy(s->Body + s->BodyLength, "\r\n", 2);
    s->BodyLength += 2;
  }
  LineAfterBody(s);
  s->SpacePending = 0;
  return 1;
}

bool DocumentUntouched(const Document *doc) {
  static constexpr char kNewDoc[] = "\\ansi\\ftnbj";
  const OutputStream *s = doc->Stream;
  if ((doc->StateBits & ~STATE_BOX_SHOWN) || doc->FontCount || doc->ColorCount || !s ||
      s->BodyLength + s->LineLength != static_cast<int32_t>(sizeof kNewDoc - 1))
    return false;
  std::string_view written = std::string_view(s->Body ? s->Body : "", s->BodyLength);
  return written == std::string_view(kNewDoc, written.size()) &&
         std::string_view(s->Line, s->LineLength) ==
             std::string_view(kNewDoc + written.size(), s->LineLength);
}

uint32_t AdmitReaderFlag(Document *doc, int32_t set, uint32_t flags) {
  if (!(flags & FLAG_READER_FRIENDLY)) return flags;
  bool on = (doc->DocFlags & FLAG_READER_FRIENDLY) != 0;
  if (on == (set != 0) || DocumentUntouched(doc)) return flags;
  ReportError(doc, DOX_ERR_INVALID_SEQUENCE, "DoxSetFlags");
  return flags & ~FLAG_READER_FRIENDLY;
}

}  // namespace dox
