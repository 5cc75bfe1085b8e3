// Copying bytes between a caller's buffers and memory blocks, whole or in
// chunks, and building multibyte strings. A null source or target buffer
// makes a call return 0 and do nothing.
#include <cstring>

#include "core/library_state.h"
#include "dox.h"
#include "platform/platform.h"

namespace dox {
namespace {

// Out of memory here is always shown, with the system's default caption.
void ShowOutOfMemory() {
  plat::ShowMessage(nullptr, DOX_ERR_OUT_OF_MEMORY, MessageText(DOX_ERR_OUT_OF_MEMORY), nullptr);
}

// The part of a chunk at `offset` that lies within `total` bytes.
int32_t ChunkLength(int32_t total, int32_t offset, int32_t chunk) {
  int64_t end = static_cast<int64_t>(offset) + chunk;
  if (end > total) return static_cast<int32_t>(static_cast<int64_t>(total) - offset);
  return chunk;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT DOXHMEM DOXAPI DoxStrToHandle(const void *source, int32_t size) {
  if (!source) return nullptr;
  if (size < 0) size = 0;
  plat::MemHandle h = plat::MemAlloc(static_cast<size_t>(size), false);
  void *p = h ? plat::MemLock(h) : nullptr;
  if (!p) {
    if (h) plat::MemFree(h);
    ShowOutOfMemory();
    return nullptr;
  }
  if (size > 0) std::memcpy(p, source, static_cast<size_t>(size));
  plat::MemUnlock(h);
  return h;
}

DOXEXPORT DOXHMEM DOXAPI DoxStrToHandleInChunks(const void *source, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize) {
  int32_t n = ChunkLength(totalSize, offset, chunkSize);
  if (n < 1 || offset < 0 || !source) return nullptr;
  if (offset == 0) {
    handle = plat::MemAlloc(static_cast<size_t>(totalSize), false);
    if (!handle) {
      ShowOutOfMemory();
      return nullptr;
    }
  }
  auto *p = static_cast<char *>(plat::MemLock(handle));
  if (!p) {
    ShowOutOfMemory();
    return nullptr;
  }
  // A block smaller than the caller says (not one of ours) is not written past.
  if (plat::MemSize(handle) >= static_cast<size_t>(offset) + static_cast<size_t>(n))
    std::memcpy(p + offset, source, static_cast<size_t>(n));
  plat::MemUnlock(handle);
  return handle;
}

DOXEXPORT int32_t DOXAPI DoxHandleToStr(void *target, int32_t size, DOXHMEM handle) {
  if (!target) return 0;
  auto *p = static_cast<const char *>(plat::MemLock(handle));
  if (!p) {
    ShowOutOfMemory();
    return 0;
  }
  size_t available = plat::MemSize(handle);
  size_t n = size > 0 ? static_cast<size_t>(size) : 0;
  std::memcpy(target, p, n < available ? n : available);
  plat::MemUnlock(handle);
  plat::MemFree(handle);
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxHandleToStrInChunks(void *target, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize) {
  if (!target) return 0;
  auto *p = static_cast<const char *>(plat::MemLock(handle));
  if (!p) {
    ShowOutOfMemory();
    return 0;
  }
  int32_t n = ChunkLength(totalSize, offset, chunkSize);
  if (n < 1 || offset < 0) {
    plat::MemUnlock(handle);
    return 0;
  }
  if (plat::MemSize(handle) >= static_cast<size_t>(offset) + static_cast<size_t>(n))
    std::memcpy(target, p + offset, static_cast<size_t>(n));
  plat::MemUnlock(handle);
  if (static_cast<int64_t>(offset) + n >= totalSize) plat::MemFree(handle);
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxMakeMbcs(char *target, const char *chars, const char *leadBytes,
                                     int32_t count) {
  if (count == 0 || !target || !chars) return 0;
  if (Lib().MbcsCodePage && leadBytes) {
    int32_t n = 0;
    for (int32_t i = 0; i < count; ++i) {
      if (leadBytes[i] != 0) target[n++] = leadBytes[i];
      target[n++] = chars[i];
    }
    target[n] = '\0';
    return n;
  }
  if (count > 0) std::memcpy(target, chars, static_cast<size_t>(count));
  target[count > 0 ? count : 0] = '\0';
  return count;
}

DOXEXPORT DOXHMEM DOXAPI DoxMemAlloc(uint32_t size) { return plat::MemAlloc(size, true); }
DOXEXPORT void *DOXAPI DoxMemLock(DOXHMEM handle) { return plat::MemLock(handle); }
DOXEXPORT int32_t DOXAPI DoxMemUnlock(DOXHMEM handle) { return plat::MemUnlock(handle) ? 1 : 0; }
DOXEXPORT uint32_t DOXAPI DoxMemSize(DOXHMEM handle) {
  return static_cast<uint32_t>(plat::MemSize(handle));
}
DOXEXPORT DOXHMEM DOXAPI DoxMemFree(DOXHMEM handle) { return plat::MemFree(handle); }

}  // extern "C"
