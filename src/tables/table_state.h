// State of the open table rows, one record per nesting level.
#pragma once

#include <cstdint>

namespace dox {

struct Document;

struct TableState {
  int32_t CellTextCount;
  int32_t CellDefCount;
  int32_t CellRightEdge;
};

// Frees what the open rows hold; called when the document ends.
void ReleaseTableState(Document *doc);

}  // namespace dox
