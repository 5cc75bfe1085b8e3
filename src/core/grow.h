// Growth of the blocks a document owns.
#pragma once

#include <cstddef>

#include "platform/platform.h"

namespace dox {

struct Document;

// Reallocates the locked block `handle` (locked at `address`) to `bytes`:
// unlock, reallocate, lock again. On a failed reallocation reports code 23
// under "OurRealloc" (library flags), frees the block, then reports code 23
// under `caption` (the document's flags); on a failed lock only the second
// report. On failure `handle` and `address` become null and false is returned.
bool GrowBlock(Document *doc, plat::MemHandle &handle, void *&address, size_t bytes,
               const char *caption);

}  // namespace dox
