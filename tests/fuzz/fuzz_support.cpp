#include "fuzz_support.h"

#include <strings.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/platform.h"

namespace doxfuzz {
namespace {

constexpr uint32_t kKnownStateBits = dox::STATE_SECT_TEXT | dox::STATE_STYLE_ITEM |
                                     dox::STATE_STYLE_SHEET | dox::STATE_TABLE_ROW |
                                     dox::STATE_FRAME | dox::STATE_SECT_INIT |
                                     dox::STATE_TEXT_BOX | dox::STATE_HDR_FTR |
                                     dox::STATE_CELL_TEXT | dox::STATE_BOX_SHOWN |
                                     dox::STATE_SCRIPT_STYLE;

void DOXAPI Sink(DOXDOC, int32_t code, const char *text, const char *, void *) {
  Require(text != nullptr, "a report has its message text");
  Require(code >= 0 && code < 60, "a report's code is in the message table");
}

}  // namespace

void Require(bool ok, const char *what) {
  if (ok) return;
  std::fprintf(stderr, "dox fuzz check failed: %s\n", what);
  std::abort();
}

const std::string &WorkDir() {
  // Never destroyed: the exit handler that removes the directory needs it.
  static const std::string *dir = [] {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    auto *dir = new std::string((base / ("dox-fuzz-" + std::to_string(::getpid()))).string());
    std::filesystem::create_directories(*dir);
    std::atexit([] {
      std::error_code ec;
      std::filesystem::remove_all(WorkDir(), ec);
    });
    return dir;
  }();
  return *dir;
}

void WriteFile(const std::string &path, const Bytes &bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  Require(out.good(), "a work file can be written");
}

DoxMessageSink QuietSink() { return &Sink; }
void QuietReports() { DoxSetMessageSink(&Sink, nullptr); }

void CheckDocument(const dox::Document *doc, bool intact) {
  const dox::OutputStream *s = doc->Stream;
  Require(s != nullptr, "the document has its stream");
  Require(s->LineLength >= 0 && s->LineLength <= dox::kMaxLineLength,
          "the current line holds at most 300 characters");
  Require(!s->Body || (s->BodyLength >= 0 && s->BodyLength <= s->BodyCapacity),
          "the body stays within its capacity");
  Require((s->StreamFlags & (dox::STREAM_RAW_TEXT | dox::STREAM_IN_ESCAPE)) == 0,
          "no stream mode outlives a call");
  Require(!intact || (s->NoBreak == 0 && s->Body),
          "an intact stream allows line breaks between calls");
  const uint32_t bits = doc->StateBits;
  Require((bits & ~kKnownStateBits) == 0, "only known state bits are set");
  Require((bits & (dox::STATE_SECT_INIT | dox::STATE_SECT_TEXT)) !=
              (dox::STATE_SECT_INIT | dox::STATE_SECT_TEXT),
          "a section is initialised or has begun its text, not both");
  Require(!(bits & dox::STATE_STYLE_ITEM) || (bits & dox::STATE_STYLE_SHEET),
          "a style item is open only inside the style sheet");
  Require(!(bits & dox::STATE_CELL_TEXT) || (bits & dox::STATE_TABLE_ROW),
          "cell text is open only inside a row");
  Require(doc->TableLevel >= -1 && doc->TableLevel < dox::kMaxTableLevels,
          "the table level is -1 or a row level");
  Require(((bits & dox::STATE_TABLE_ROW) != 0) == (doc->TableLevel >= 0),
          "a row is open exactly while the table level names one");
  if (doc->TableLevel >= 0) {
    const dox::TableState &t = doc->Tables;
    const dox::RowRecord &row = t.Rows[doc->TableLevel];
    Require(t.CellTextCount >= 0 && t.CellTextCount <= t.CellDefCount,
            "a row has no more cell texts than cell definitions");
    Require(row.cellDefCount == t.CellDefCount, "the row record mirrors its cell count");
    Require(row.cellDefCount == 0 || row.cellDefs, "stored cells have their block");
  }
  Require(!doc->Fonts || (doc->FontCount >= 0 && doc->FontCount <= doc->FontCapacity),
          "the font table stays within its capacity");
  Require(!doc->Colors || (doc->ColorCount >= 0 && doc->ColorCount <= doc->ColorCapacity),
          "the colour table stays within its capacity");
  for (int32_t i = 0; doc->Fonts && i < doc->FontCount; ++i) {
    const dox::FontEntry &f = doc->Fonts[i];
    Require(std::memchr(f.Name, 0, sizeof f.Name) != nullptr, "a font name ends within its entry");
    for (int32_t j = 0; j < i; ++j)
      Require(strcasecmp(doc->Fonts[j].Name, f.Name) != 0 || doc->Fonts[j].Charset != f.Charset,
              "a font is registered once for each character set");
  }
  Require(std::memchr(doc->Style.PendingStyleName, 0, sizeof doc->Style.PendingStyleName),
          "the pending style name ends within its buffer");
}

void CheckBodyLines(const dox::Document *doc) {
  const dox::OutputStream *s = doc->Stream;
  if (!s->Body) return;
  int32_t lineStart = 0;
  for (int32_t i = 0; i < s->BodyLength; ++i) {
    char c = s->Body[i];
    if (c == '\r') {
      Require(i + 1 < s->BodyLength && s->Body[i + 1] == '\n', "CR only before LF");
      Require(i - lineStart <= dox::kMaxLineLength, "a body line holds at most 300 characters");
      lineStart = i + 2;
      ++i;
    } else {
      Require(c != '\n', "LF only after CR");
    }
  }
  Require(lineStart == s->BodyLength, "the body holds whole lines");
  Require(std::memchr(s->Line, '\r', static_cast<size_t>(s->LineLength)) == nullptr &&
              std::memchr(s->Line, '\n', static_cast<size_t>(s->LineLength)) == nullptr,
          "the current line holds no line end");
}

void CheckDelivery(DOXDOC doc, bool balanced, bool mustDeliver) {
  uint32_t size = 0;
  DOXHMEM h = DoxGetData(doc, &size);
  if (!h) {
    Require(!mustDeliver, "an intact document can be delivered");
    return;
  }
  const char *text = static_cast<const char *>(DoxMemLock(h));
  Require(text && size >= 1 && size <= DoxMemSize(h), "the size fits the block");
  Require(text[size - 1] == '\0' && std::strlen(text) == size - 1,
          "the text ends in its only NUL");
  if (balanced) Require(OneBalancedGroup(text, size - 1), "the text is one balanced group");
  DoxMemUnlock(h);
  Require(DoxMemFree(h) == nullptr, "the delivered block can be freed");
}

void EndDocument(DOXDOC doc) {
  long held = DocumentBlocks(dox::FromHandle(doc));
  long before = dox::plat::MemLiveBlocks();
  Require(DoxEndDoc(doc) == 1, "DoxEndDoc returns 1");
  Require(before - dox::plat::MemLiveBlocks() == held, "DoxEndDoc releases exactly its blocks");
}

}  // namespace doxfuzz
