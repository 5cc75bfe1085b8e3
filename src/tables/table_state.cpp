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
  row.cellDefRoom = 0;
}

}  // namespace dox
