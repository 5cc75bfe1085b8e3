#include "tables/table_state.h"

#include "core/document.h"
#include "tables/table_write.h"

namespace dox {

void FreeCellBlock(RowRecord &row) {
  if (row.cellDefsHandle) {
    plat::MemUnlock(row.cellDefsHandle);
    plat::MemFree(row.cellDefsHandle);
  }
  row.cellDefsHandle = nullptr;
  row.cellDefs = nullptr;
}

void ReleaseTableState(Document *doc) {
  for (RowRecord &row : doc->Tables.Rows) FreeCellBlock(row);
}

}  // namespace dox
