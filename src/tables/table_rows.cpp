// Beginning a table row: the row record of its nesting level and, for a
// top-level row, its definition at once. A nested row writes its definition
// when it ends.
#include <cstring>

#include "core/document.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "tables/table_write.h"

namespace dox {

namespace {

// Composes the row's words, keeps them when they fit and writes them.
__attribute__((noinline)) int32_t ComposeRowWords(Document *doc, const RowRecord &row) {
  WordRun run(doc, doc->Stream);
  run.Add("trowd");
  if (row.flags & 1)
    run.Add("trqc");
  else if (row.flags & 2)
    run.Add("trqr");
  if (row.padLeft != row.padRight || row.padTop != 0 || row.padBottom != 0) {
    // Each padding with its units word; 3 means twips.
    const struct {
      std::string_view word, units;
      int32_t value;
    } pads[] = {{"trpaddl", "trpaddfl", row.padLeft},
                {"trpaddr", "trpaddfr", row.padRight},
                {"trpaddt", "trpaddft", row.padTop},
                {"trpaddb", "trpaddfb", row.padBottom}};
    for (const auto &p : pads) {
      run.Add(p.word, p.value);
      run.Add(p.units, 3);
    }
  } else {
    run.Add("trgaph", row.padLeft > 0 ? row.padLeft : 60);
  }
  run.Add("trleft", row.left);
  if (row.height != 0) run.Add("trrh", row.height);
  if (row.header != 0) run.Add("trhdr");
  const std::string_view words = run.Composed();
  ComposedRowWords &kept = doc->Tables.RowWords;
  if (!words.empty() && words.size() <= sizeof kept.Words) {
    kept = {row.left,    row.height,   row.flags,  row.header, row.padLeft,
            row.padRight, row.padTop, row.padBottom, static_cast<int32_t>(words.size()), {}};
    std::memcpy(kept.Words, words.data(), words.size());
  }
  return run.Put();
}

}  // namespace

// The words kept from the last row definition composed when its values are
// the same (a table's rows mostly are).
int32_t WriteRowProps(Document *doc, const RowRecord &row) {
  const ComposedRowWords &k = doc->Tables.RowWords;
  if (k.Length && k.Left == row.left && k.Height == row.height && k.Flags == row.flags &&
      k.Header == row.header && k.PadLeft == row.padLeft && k.PadRight == row.padRight &&
      k.PadTop == row.padTop && k.PadBottom == row.padBottom)
    return PutKeptWords(doc, doc->Stream, k.Words, k.Length);
  return ComposeRowWords(doc, row);
}

}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginTableRow2(DOXDOC handle, int32_t left, int32_t height,
                                           uint32_t flags, int32_t header, int32_t padLeft,
                                           int32_t padRight, int32_t padTop, int32_t padBottom) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::BeginTableRow)) return 0;
  TableState &t = doc->Tables;
  // A row deeper than the deepest level is refused silently; the rows open
  // stay as they are, so later calls act on the innermost of them.
  if (doc->TableLevel + 1 >= kMaxTableLevels) return 0;
  if (doc->TableLevel >= 0) t.Rows[doc->TableLevel].savedCellTextCount = t.CellTextCount;
  const int32_t level = ++doc->TableLevel;
  RowRecord &row = t.Rows[level];
  FreeCellBlock(row);
  row = RowRecord{left, height, flags, header, padLeft, padRight, padTop, padBottom,
                  0, nullptr, 0, 0, nullptr};
  // Inside the new row no cell text is open yet.
  doc->StateBits = (doc->StateBits | STATE_TABLE_ROW) & ~STATE_CELL_TEXT;
  t.CellRightEdge = left;
  t.CellTextCount = 0;
  t.CellDefCount = 0;

  // The row starts a paragraph and a line of its own. Only a top-level row
  // writes its definition now, in the group the row end closes.
  OutputStream *s = doc->Stream;
  if (!doc->AtParaStart) {
    if (!PutWord(doc, s, "par")) return 0;
    doc->AtParaStart = 1;
  }
  if (!FlushRtfLine(doc, s)) return 0;
  if (level == 0 && (!OpenGroup(doc, s) || !WriteRowProps(doc, row))) return 0;
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxBeginTableRow(DOXDOC handle, int32_t left, int32_t height,
                                          uint32_t flags, int32_t header, int32_t gap) {
  return DoxBeginTableRow2(handle, left, height, flags, header, gap, gap, 0, 0);
}

}  // extern "C"
