#include "core/grow.h"

#include "core/errors.h"

namespace dox {

bool GrowBlock(Document *doc, plat::MemHandle &handle, void *&address, size_t bytes,
               const char *caption) {
  plat::MemUnlock(handle);
  address = nullptr;
  plat::MemHandle grown = plat::MemReAlloc(handle, bytes);
  if (!grown) {
    ReportLibraryError(kErrOutOfMemory, "OurRealloc");
    plat::MemFree(handle);
    handle = nullptr;
    ReportError(doc, kErrOutOfMemory, caption);
    return false;
  }
  handle = grown;
  address = plat::MemLock(handle);
  if (!address) {
    ReportError(doc, kErrOutOfMemory, caption);
    plat::MemFree(handle);
    handle = nullptr;
    return false;
  }
  return true;
}

}  // namespace dox
