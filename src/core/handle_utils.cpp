// Copying bytes between a caller's buffers and memory blocks, whole or in
// chunks, building multibyte strings, and giving back the memory kept for
// later documents. A null source or target buffer makes a call return 0 and
// do nothing.
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

// A new block of `bytes` bytes with its host handle; null (with the box
// shown) when memory runs out.
DOXHMEM NewHostBlock(size_t bytes) {
  plat::MemHandle block = plat::MemAlloc(bytes, false);
  DOXHMEM host = plat::HostFromMem(block);
  if (!host) {
    plat::MemFree(block);
    ShowOutOfMemory();
  }
  return host;
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT DOXHMEM DOXAPI DoxStrToHandle(const void *source, int32_t size) {
  if (!source) return nullptr;
  // A negative size asks for that many bytes as an unsigned count (4 GiB - 1
  // for -1), more than any block can hold: not even tried.
  if (size < 0) {
    ShowOutOfMemory();
    return nullptr;
  }
  DOXHMEM host = NewHostBlock(static_cast<size_t>(size));
  if (!host) return nullptr;
  plat::MemHandle block = plat::MemFromHost(host);
  void *p = plat::MemLock(block);
  if (!p) {
    plat::MemFree(plat::MemTakeFromHost(host));
    ShowOutOfMemory();
    return nullptr;
  }
  if (size > 0) std::memcpy(p, source, static_cast<size_t>(size));
  plat::MemUnlock(block);
  return host;
}

DOXEXPORT DOXHMEM DOXAPI DoxStrToHandleInChunks(const void *source, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize) {
  int32_t n = ChunkLength(totalSize, offset, chunkSize);
  if (n < 1 || offset < 0 || !source) return nullptr;
  if (offset == 0) {
    handle = NewHostBlock(static_cast<size_t>(totalSize));
    if (!handle) return nullptr;
  }
  plat::MemHandle block = plat::MemFromHost(handle);
  auto *p = static_cast<char *>(plat::MemLock(block));
  if (!p) {
    ShowOutOfMemory();
    return nullptr;
  }
  // A block smaller than the caller says (not one of ours) is not written past.
  if (plat::MemSize(block) >= static_cast<size_t>(offset) + static_cast<size_t>(n))
    std::memcpy(p + offset, source, static_cast<size_t>(n));
  plat::MemUnlock(block);
  return handle;
}

DOXEXPORT int32_t DOXAPI DoxHandleToStr(void *target, int32_t size, DOXHMEM handle) {
  if (!target) return 0;
  plat::MemHandle block = plat::MemFromHost(handle);
  auto *p = static_cast<const char *>(plat::MemLock(block));
  if (!p) {
    ShowOutOfMemory();
    return 0;
  }
  size_t available = plat::MemSize(block);
  size_t n = size > 0 ? static_cast<size_t>(size) : 0;
  std::memcpy(target, p, n < available ? n : available);
  plat::MemUnlock(block);
  plat::MemFree(plat::MemTakeFromHost(handle));
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxHandleToStrInChunks(void *target, int32_t totalSize,
                                                DOXHMEM handle, int32_t offset,
                                                int32_t chunkSize) {
  if (!target) return 0;
  plat::MemHandle block = plat::MemFromHost(handle);
  auto *p = static_cast<const char *>(plat::MemLock(block));
  if (!p) {
    ShowOutOfMemory();
    return 0;
  }
  int32_t n = ChunkLength(totalSize, offset, chunkSize);
  if (n < 1 || offset < 0) {
    plat::MemUnlock(block);
    return 0;
  }
  if (plat::MemSize(block) >= static_cast<size_t>(offset) + static_cast<size_t>(n))
    std::memcpy(target, p + offset, static_cast<size_t>(n));
  plat::MemUnlock(block);
  if (static_cast<int64_t>(offset) + n >= totalSize) plat::MemFree(plat::MemTakeFromHost(handle));
  return 1;
}

DOXEXPORT int32_t DOXAPI DoxMakeMbcs(char *target, const char *chars, const char *leadBytes,
                                     int32_t count) {
  // With a count of 0 or less `chars` is never read, so it may be null.
  if (count == 0 || !target || (!chars && count > 0)) return 0;
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

DOXEXPORT DOXHMEM DOXAPI DoxMemAlloc(uint32_t size) {
  plat::MemHandle block = plat::MemAlloc(size, true);
  DOXHMEM host = plat::HostFromMem(block);
  if (!host) plat::MemFree(block);
  return host;
}
DOXEXPORT void *DOXAPI DoxMemLock(DOXHMEM handle) {
  return plat::MemLock(plat::MemFromHost(handle));
}
DOXEXPORT int32_t DOXAPI DoxMemUnlock(DOXHMEM handle) {
  return plat::MemUnlock(plat::MemFromHost(handle)) ? 1 : 0;
}
DOXEXPORT uint32_t DOXAPI DoxMemSize(DOXHMEM handle) {
  return static_cast<uint32_t>(plat::MemSize(plat::MemFromHost(handle)));
}
// Null once freed; the handle itself when it is no live block.
DOXEXPORT DOXHMEM DOXAPI DoxMemFree(DOXHMEM handle) {
  plat::MemHandle block = plat::MemTakeFromHost(handle);
  if (!block) return handle;
  return plat::MemFreeLarge(block) ? handle : nullptr;
}

DOXEXPORT int32_t DOXAPI DoxTrimMemory(void) {
  return static_cast<int32_t>(dox::plat::ReleaseKeptBlocks());  // at most 512 MB
}

}  // extern "C"
