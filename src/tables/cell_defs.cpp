// Cell definitions: kept per row in a block that grows by one record per
// cell; written at once for a top-level row, at the row's end for a nested one.
#include <cstring>

#include "core/document.h"
#include "core/errors.h"
#include "core/sequence_rules.h"
#include "dox.h"
#include "tables/table_write.h"

namespace dox {
namespace {

// Whether the row's cell block has room for one more record without asking
// the platform (which the test hooks would count).
inline bool HasCellRoom(const RowRecord &row) {
  return row.cellDefCount < row.cellDefRoom && !plat::MemHooksOn();
}

// Makes room for one more record in the row's cell block. A failure is
// reported under "OurAlloc" or "OurRealloc" following the library's flags
// and leaves the definitions already stored in place. While the test hooks
// are off (they count each request) the block is made for eleven records at
// a time, first in 512 bytes: the small blocks the platform keeps for the
// next row.
__attribute__((noinline)) bool GrowCellBlock(Document *doc, RowRecord &row) {
  constexpr int32_t kRoomStep = 11;
  constexpr size_t kLeastBytes = 512;
  static_assert(CellBlockBytes(kRoomStep) <= kLeastBytes);
  const int32_t count = row.cellDefCount;
  const bool counted = plat::MemHooksOn();
  const int32_t room = count + (counted ? 1 : kRoomStep);
  if (!row.cellDefsHandle) {
    const size_t bytes = counted ? CellBlockBytes(room) : kLeastBytes;
    plat::MemHandle h = plat::MemAlloc(bytes, false);
    void *p = h ? plat::MemLock(h) : nullptr;
    if (!p) {
      if (h) plat::MemFree(h);
      ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurAlloc", doc);
      return false;
    }
    row.cellDefsHandle = h;
    row.cellDefs = static_cast<CellDef *>(p);
    row.cellDefRoom = room;
    return true;
  }
  bool grown;
  row.cellDefs = static_cast<CellDef *>(
      plat::MemReAllocLocked(row.cellDefsHandle, CellBlockBytes(room), grown));
  if (!grown || !row.cellDefs) {
    ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurRealloc", doc);
    if (!row.cellDefs) {  // the block is lost with its definitions
      FreeCellBlock(row);
      row.cellDefCount = 0;
    }
    return false;
  }
  row.cellDefRoom = room;
  return true;
}

// a * b + c in 32 bits, wrapping instead of overflowing.
int32_t Wrap(int32_t a, uint32_t b, int32_t c) {
  return static_cast<int32_t>(static_cast<uint32_t>(a) * b + static_cast<uint32_t>(c));
}

// One side's border: a single line of `width` twips, in the colour of the
// colour-table entry `colorIndex` unless that is -1. Nothing for no width.
void BorderSide(WordRun &run, const char (&side)[8], int32_t width, int32_t colorIndex) {
  if (width <= 0) return;
  run.Add(side);
  run.Add("brdrs");
  run.Add("brdrw", width);
  if (colorIndex != -1) run.Add("brdrcf", colorIndex);
}

}  // namespace

namespace {

// The words of the cell definition before "\\cellx". The background colour is
// looked up by `background` where its word goes.
template <typename Background>
void ComposeCell(WordRun &run, const CellDef &c, int32_t borderColor, Background background) {
  run.Add(c.valign == 1 ? "clvertalc" : c.valign == 2 ? "clvertalb" : "clvertalt");
  if (c.mergeFlags & 4)
    run.Add("clvmgf");
  else if (c.mergeFlags & 8)
    run.Add("clvmrg");
  if (c.mergeFlags & 1)
    run.Add("clmgf");
  else if (c.mergeFlags & 2)
    run.Add("clmrg");
  BorderSide(run, "clbrdrt", c.borderTop, borderColor);
  BorderSide(run, "clbrdrb", c.borderBottom, borderColor);
  BorderSide(run, "clbrdrl", c.borderLeft, borderColor);
  BorderSide(run, "clbrdrr", c.borderRight, borderColor);
  // Hundredths of a percent.
  if (c.shading > 0) run.Add("clshdng", Wrap(c.shading, 100, 0));
  if (c.bgColor != 0xFFFFFF) {
    // Without a colour table entry there is no index to name: no "\\clcbpat".
    const int32_t bg = background();
    if (bg != -1) run.Add("clcbpat", bg);
  }
  if (c.textFlow == 90) run.Add("cltxbtlr");
  if (c.textFlow == 270) run.Add("cltxtbrl");
}

}  // namespace

namespace {

// Composes the cell's words with "\\cellx" and writes them; keeps the words
// in `slot` when `keep` (and they fit). `background` is the background
// colour's index when looked up already (-2: not yet).
__attribute__((noinline)) int32_t ComposeCellWords(Document *doc, const CellDef &c,
                                                   ComposedCellWords &slot, bool keep,
                                                   int32_t borderColor, int32_t background) {
  WordRun run(doc, doc->Stream);
  if (background != -2) {
    ComposeCell(run, c, borderColor, [&] { return background; });
  } else {
    background = -1;
    ComposeCell(run, c, borderColor, [&] { return background = FindOrAddColor(doc, c.bgColor); });
  }
  const std::string_view words = run.Composed();
  if (keep && !words.empty() && words.size() <= sizeof slot.Words) {
    slot.Def = c;
    slot.Def.width = 0;
    slot.BorderColor = borderColor;
    slot.Background = background;
    slot.Length = static_cast<int32_t>(words.size());
    std::memcpy(slot.Words, words.data(), words.size());
    slot.Starts = MarkWordStarts(slot.Words, slot.Length);
  }
  doc->Tables.CellRightEdge = Wrap(doc->Tables.CellRightEdge, 1, c.width);
  run.Add("cellx", doc->Tables.CellRightEdge);
  return run.Put();
}

// Whether two definitions are alike but maybe for their width, field by
// field: a definition was just stored a field at a time, and a wider load of
// it would wait for those stores to reach the cache.
bool AlikeButWidth(const CellDef &a, const CellDef &b) {
  return a.valign == b.valign && a.shading == b.shading && a.bgColor == b.bgColor &&
         a.borderLeft == b.borderLeft && a.borderRight == b.borderRight &&
         a.borderTop == b.borderTop && a.borderBottom == b.borderBottom &&
         a.borderColor == b.borderColor && a.mergeFlags == b.mergeFlags && a.textFlow == b.textFlow;
}

}  // namespace

// Words kept from an earlier cell with the same definition are written as
// they are. Each colour is looked up once, in the order of composing: the
// border colour enters the colour table even when no border is drawn, and
// before the background colour.
int32_t WriteCellProps(Document *doc, const CellDef &c) {
  TableState &t = doc->Tables;
  const int32_t borderColor = c.borderColor != 0 ? FindOrAddColor(doc, c.borderColor) : -1;
  auto keeps = [&](const ComposedCellWords &slot) {
    return slot.Length && slot.BorderColor == borderColor && AlikeButWidth(slot.Def, c);
  };
  // The slot used last (a row's cells are often alike), else the one the
  // definition hashes to.
  if (!keeps(t.CellWords[t.LastCellWords])) {
    // Pairs of values mixed side by side, not one after the other.
    auto mix = [](auto a, auto b) { return static_cast<uint32_t>(a) * 31u + static_cast<uint32_t>(b); };
    const uint32_t hash = mix(borderColor, c.valign) * 0x9E3779B1u +
                          mix(c.shading, c.borderLeft) * 0x85EBCA77u +
                          mix(c.borderRight, c.borderTop) * 0xC2B2AE3Du +
                          mix(c.borderBottom, c.textFlow) * 0x27D4EB2Fu + mix(c.bgColor, c.mergeFlags);
    t.LastCellWords = static_cast<int32_t>(hash * 0x9E3779B1u >> (32 - kComposedCellBits));
    if (!keeps(t.CellWords[t.LastCellWords]))
      return ComposeCellWords(doc, c, t.CellWords[t.LastCellWords], true, borderColor, -2);
  }
  ComposedCellWords &slot = t.CellWords[t.LastCellWords];
  // Composing writes nothing before the background colour's lookup: the
  // kept words are shorter than a run's room.
  const int32_t background = c.bgColor != 0xFFFFFF ? FindOrAddColor(doc, c.bgColor) : -1;
  if (background != slot.Background) return ComposeCellWords(doc, c, slot, false, borderColor, background);
  // As the words and "\\cellx" written together.
  OutputStream *s = doc->Stream;
  t.CellRightEdge = Wrap(t.CellRightEdge, 1, c.width);
  return PutMarkedWords(doc, s, slot.Words, slot.Length, slot.Starts) &&
         PutWord(doc, s, "cellx", t.CellRightEdge);
}

}  // namespace dox

using namespace dox;

namespace {

// WriteCellProps for the cell at `index` of a top-level row: the bytes the
// same definition wrote in the row before are copied when they would come
// out the same. Only for a definition that names no colour (looking one up
// may add it to the table) and text that is not raw. Then the definition is
// counted; returns 1 (a definition that could not be written is reported).
// Composing goes out of line, so that copying saves no registers.
bool Replayable(const Document *doc, const CellDef &c, int32_t index) {
  const OutputStream *s = doc->Stream;
  return index < kWrittenCellDefs && c.borderColor == 0 && c.bgColor == 0xFFFFFF && s->Body &&
         !(s->StreamFlags & STREAM_RAW_TEXT);
}

// Composes the words; `keep` records where they went, for the next row.
__attribute__((noinline)) int32_t ComposeTopCellThenCount(Document *doc, const CellDef &c,
                                                          int32_t index, RowRecord &row, bool keep) {
  TableState &t = doc->Tables;
  OutputStream *s = doc->Stream;
  if (!keep) {
    WriteCellProps(doc, c);
  } else {
    const int64_t start = static_cast<int64_t>(s->BodyLength) + s->LineLength;
    const int32_t column = s->LineLength, edge = t.CellRightEdge;
    const int32_t ok = WriteCellProps(doc, c);
    t.Written[index] = {c,    ok && s->Body ? t.RowsBegun : 0, column, s->LineLength, edge, start,
                        static_cast<int64_t>(s->BodyLength) + s->LineLength};
  }
  row.cellDefCount = ++t.CellDefCount;
  return 1;
}

__attribute__((noinline)) int32_t WriteTopCellThenCount(Document *doc, const CellDef &c,
                                                        int32_t index, RowRecord &row) {
  TableState &t = doc->Tables;
  OutputStream *s = doc->Stream;
  if (index == 0 && ++t.RowsBegun == 0) t.RowsBegun = 1;
  if (!Replayable(doc, c, index)) return ComposeTopCellThenCount(doc, c, index, row, false);
  const uint32_t rowNumber = t.RowsBegun;
  WrittenCellDef &w = t.Written[index];
  const int64_t start = static_cast<int64_t>(s->BodyLength) + s->LineLength;
  const int32_t edge = t.CellRightEdge;
  if (!(w.Row != 0 && w.Row == rowNumber - 1 && w.Column == s->LineLength && w.Edge == edge &&
        w.ColumnAfter + 64 <= kLineRoom && w.Def.width == c.width && AlikeButWidth(w.Def, c)))
    return ComposeTopCellThenCount(doc, c, index, row, true);
  const int64_t bytes = w.End - w.Start;
  const int64_t body = start + bytes - w.ColumnAfter;  // the lines ended among them
  if (body > s->BodyCapacity) return ComposeTopCellThenCount(doc, c, index, row, true);
  // In blocks of 64: the bytes past the words lie within the body's block on
  // both sides (the line's room), and the words end before `start`.
  char *to = s->Body + start;
  const char *from = s->Body + w.Start;
  for (int64_t i = 0; i < bytes; i += 64) CopyBlocks<64>(to + i, from + i);
  s->BodyLength = static_cast<int32_t>(body);
  s->Line = s->Body + body;
  s->LineLength = w.ColumnAfter;
  s->SpacePending = 1;  // as after any word
  s->NoBreak = 0;
  t.CellRightEdge = Wrap(edge, 1, c.width);
  w.Row = rowNumber;
  w.Start = start;
  w.End = start + bytes;
  row.cellDefCount = ++t.CellDefCount;
  return 1;
}

// The exports' common body once the call may proceed (and, with kRoomKnown,
// the cell block has room); `fill` stores the definition. The usual case
// ends in a tail call, so that it saves no registers.
template <bool kRoomKnown, typename Fill>
inline int32_t NextCellInfoAllowed(Document *doc, const Fill &fill) {
  TableState &t = doc->Tables;
  RowRecord &row = t.Rows[doc->TableLevel];
  if (!kRoomKnown && !HasCellRoom(row) && !GrowCellBlock(doc, row)) {
    t.CellDefCount = row.cellDefCount;
    return 0;
  }
  const int32_t index = t.CellDefCount;
  CellDef &cell = row.cellDefs[index];
  fill(cell);
  if (doc->TableLevel == 0) return WriteTopCellThenCount(doc, cell, index, row);
  row.cellDefCount = ++t.CellDefCount;
  return 1;
}

// When the call-order check takes its slow path or the cell block must grow.
__attribute__((noinline)) int32_t NextCellInfoSlowly(Document *doc, const CellDef &def) {
  if (!EnsureTextPosition(doc, rules::NextCellInfo)) return 0;
  return NextCellInfoAllowed<false>(doc, [&def](CellDef &cell) { cell = def; });
}

// The three exports' common body, expanded in each: passing twelve
// arguments on from one export to another costs more than the call's work.
// The definition is stored field by field: a record read back in blocks
// right after its fields were stored would wait for those stores.
__attribute__((always_inline)) inline int32_t NextCellInfo(DOXDOC handle, int32_t width, int32_t valign,
                                                           int32_t shading, uint32_t bgColor,
                                                           int32_t borderLeft, int32_t borderRight,
                                                           int32_t borderTop, int32_t borderBottom,
                                                           uint32_t borderColor, uint32_t mergeFlags,
                                                           int32_t textFlow) {
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  if (!AllowedNow(doc, rules::NextCellInfo) || !HasCellRoom(doc->Tables.Rows[doc->TableLevel]))
    return NextCellInfoSlowly(doc, {width, valign, shading, bgColor, borderLeft, borderRight,
                                    borderTop, borderBottom, borderColor, mergeFlags, textFlow});
  return NextCellInfoAllowed<true>(doc, [&](CellDef &cell) {
    cell = {width, valign, shading, bgColor, borderLeft, borderRight,
            borderTop, borderBottom, borderColor, mergeFlags, textFlow};
  });
}

}  // namespace

extern "C" {

DOXEXPORT int32_t DOXAPI DoxNextCellInfo3(DOXDOC handle, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags, int32_t textFlow) {
  return NextCellInfo(handle, width, valign, shading, bgColor, borderLeft, borderRight, borderTop,
                      borderBottom, borderColor, mergeFlags, textFlow);
}

DOXEXPORT int32_t DOXAPI DoxNextCellInfo2(DOXDOC handle, int32_t width, int32_t valign,
                                          int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                          int32_t borderRight, int32_t borderTop,
                                          int32_t borderBottom, uint32_t borderColor,
                                          uint32_t mergeFlags) {
  return NextCellInfo(handle, width, valign, shading, bgColor, borderLeft, borderRight, borderTop,
                      borderBottom, borderColor, mergeFlags, 0);
}

DOXEXPORT int32_t DOXAPI DoxNextCellInfo(DOXDOC handle, int32_t width, int32_t valign,
                                         int32_t shading, uint32_t bgColor, int32_t borderLeft,
                                         int32_t borderRight, int32_t borderTop,
                                         int32_t borderBottom, uint32_t mergeFlags) {
  return NextCellInfo(handle, width, valign, shading, bgColor, borderLeft, borderRight, borderTop,
                      borderBottom, 0, mergeFlags, 0);
}

}  // extern "C"
