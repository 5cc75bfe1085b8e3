// Cell text and the end of a row. A nested row writes its definition when it
// ends, inside "\nesttableprops", and returns to the enclosing cell's text.
#include "core/document.h"
#include "core/errors.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "tables/table_write.h"

namespace dox {
namespace {

// The group that keeps readers without nested tables from seeing a paragraph
// mark of their own: a new line, "{\nonesttables\par}".
int32_t NoNestTablesPar(Document *doc) {
  OutputStream *s = doc->Stream;
  if (!DoxBeginGroup(ToHandle(doc), "nonesttables", 0) || !PutWord(doc, s, "par")) return 0;
  doc->AtParaStart = 1;
  return CloseGroup(doc, s);
}

// The end of a nested row: its definition, written from the stored records.
int32_t EndNestedRow(Document *doc, const RowRecord &row) {
  OutputStream *s = doc->Stream;
  if (!OpenGroup(doc, s) || !DoxBeginGroup(ToHandle(doc), "nesttableprops", 1)) return 0;
  WriteRowProps(doc, row);
  doc->Tables.CellRightEdge = row.left;
  for (int32_t i = 0; i < row.cellDefCount; ++i) WriteCellProps(doc, row.cellDefs[i]);
  if (!PutWord(doc, s, "nestrow") || !CloseGroup(doc, s)) return 0;
  return NoNestTablesPar(doc) && CloseGroup(doc, s);
}

// The exports' bodies, for every case.
__attribute__((noinline)) int32_t BeginCellText(Document *doc) {
  if (!EnsureTextPosition(doc, rules::BeginCellText)) return 0;
  TableState &t = doc->Tables;
  if (t.CellDefCount == 0) return ReportError(doc, DOX_ERR_NO_CELL_INFO, "DoxBeginCellText");
  if (t.CellTextCount >= t.CellDefCount)
    return ReportError(doc, DOX_ERR_NO_CELL_LEFT, "DoxBeginCellText");
  // No "\pard": the paragraph properties in force continue into the cell.
  OutputStream *s = doc->Stream;
  if (!FlushRtfLine(doc, s) || !PutWord(doc, s, "intbl")) return 0;
  if (doc->TableLevel > 0 && !PutWordValue(doc, s, "itap", doc->TableLevel + 1)) return 0;
  ++t.CellTextCount;
  doc->StateBits |= STATE_CELL_TEXT;
  return 1;
}

__attribute__((noinline)) int32_t EndCellText(Document *doc) {
  if (!EnsureTextPosition(doc, rules::EndCellText)) return 0;
  OutputStream *s = doc->Stream;
  s->SpacePending = 0;
  if (doc->TableLevel == 0) {
    if (!PutWord(doc, s, "cell")) return 0;
  } else if (!PutWord(doc, s, "nestcell") || !NoNestTablesPar(doc)) {
    return 0;
  }
  if (!FlushRtfLine(doc, s)) return 0;
  doc->StateBits &= ~STATE_CELL_TEXT;
  return 1;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT int32_t DOXAPI DoxBeginCellText(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  TableState &t = doc->Tables;
  // The usual call, in a top-level row, decided without a call.
  if (AllowedNow(doc, rules::BeginCellText) && doc->TableLevel == 0 && t.CellDefCount != 0 &&
      t.CellTextCount < t.CellDefCount && PutWordAndEndLineInRoom(doc->Stream, "intbl", true)) {
    ++t.CellTextCount;
    doc->StateBits |= STATE_CELL_TEXT;
    return 1;
  }
  return BeginCellText(doc);
}

DOXEXPORT int32_t DOXAPI DoxEndCellText(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  if (AllowedNow(doc, rules::EndCellText) && doc->TableLevel == 0 &&
      PutWordAndEndLineInRoom(doc->Stream, "cell", false)) {
    doc->StateBits &= ~STATE_CELL_TEXT;
    return 1;
  }
  return EndCellText(doc);
}

DOXEXPORT int32_t DOXAPI DoxEndTableRow(DOXDOC handle) {
  Document *doc = FromHandle(handle);
  if (!doc || !EnsureTextPosition(doc, rules::EndTableRow)) return 0;
  TableState &t = doc->Tables;
  if (t.CellTextCount == 0) return ReportError(doc, DOX_ERR_EMPTY_ROW, "DoxEndTableRow");
  if (t.CellTextCount < t.CellDefCount)
    return ReportError(doc, DOX_ERR_CELL_TEXT_MISSING, "DoxEndTableRow");
  OutputStream *s = doc->Stream;
  s->SpacePending = 0;
  RowRecord &row = t.Rows[doc->TableLevel];
  if (doc->TableLevel == 0) {
    if (!PutWord(doc, s, "row") || !CloseGroup(doc, s)) return 0;
    doc->StateBits &= ~STATE_TABLE_ROW;
  } else if (!EndNestedRow(doc, row)) {
    return 0;
  }
  FreeCellBlock(row);
  row.cellDefCount = 0;

  if (--doc->TableLevel >= 0) {
    // Back in the enclosing cell's text, with that row's counters.
    const RowRecord &outer = t.Rows[doc->TableLevel];
    t.CellTextCount = outer.savedCellTextCount;
    t.CellDefCount = outer.cellDefCount;
    doc->StateBits |= STATE_TABLE_ROW | STATE_CELL_TEXT;
    if (!DoxResetParaProp(handle)) return 0;
  }
  if (!FlushRtfLine(doc, s)) return 0;
  doc->AtParaStart = 1;
  return 1;
}

}  // extern "C"
