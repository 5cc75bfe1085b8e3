// Routines shared by the table calls: the row and cell definitions and the
// cell block of a row.
#pragma once

#include <cstdint>

#include "core/document_parts.h"

namespace dox {

// "\trowd" and the row properties of `row`. 1, or 0 when a write fails.
int32_t WriteRowProps(Document *doc, const RowRecord &row);

// One cell definition ending in "\cellx" with the advanced CellRightEdge.
// 1, or 0 when a write fails.
int32_t WriteCellProps(Document *doc, const CellDef &cell);

// Unlocks and frees the row's cell block, if any.
void FreeCellBlock(RowRecord &row);

}  // namespace dox
