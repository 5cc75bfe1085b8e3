#include "core/grow.h"

#include "core/errors.h"

namespace dox {

bool GrowBlock(Document *doc, plat::MemHandle &handle, void *&address, size_t bytes,
               const char *caption) {
  plat::MemUnlock(handle);
  address = nullptr;
  plat::MemHandle grown = plat::MemReAlloc(handle, bytes);
  if (!grown) {
    ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurRealloc", doc);
    plat::MemFree(handle);
    handle = nullptr;
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, caption);
    return false;
  }
  handle = grown;
  address = plat::MemLock(handle);
  if (!address) {
    ReportError(doc, DOX_ERR_OUT_OF_MEMORY, caption);
    plat::MemFree(handle);
    handle = nullptr;
    return false;
  }
  return true;
}

}  // namespace dox
