#include "tables/table_state.h"

#include "core/document.h"

namespace dox {

void ReleaseTableState(Document *) {}

}  // namespace dox
