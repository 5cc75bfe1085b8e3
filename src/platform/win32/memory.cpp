// Movable memory blocks: Windows global memory. The system checks the
// handles the host passes, so a host handle is the block's own.
#include <windows.h>

#include "platform/platform.h"

namespace dox::plat {

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (AllocationRequestFails()) return nullptr;
  // A movable block of 0 bytes would be discarded and could not be locked.
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | (zero ? GMEM_ZEROINIT : 0), bytes ? bytes : 1);
  if (h && MemHooksOn()) CountLiveBlock(1);
  return h;
}

MemHandle MemAllocLarge(size_t bytes, bool zero, bool) { return MemAlloc(bytes, zero); }

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  if (AllocationRequestFails()) return nullptr;
  return GlobalReAlloc(h, bytes ? bytes : 1, GMEM_MOVEABLE);
}

void *MemLock(MemHandle h) { return h ? GlobalLock(h) : nullptr; }

bool MemUnlock(MemHandle h) { return h && GlobalUnlock(h) != 0; }

void *MemReAllocLocked(MemHandle &h, size_t bytes, bool &grown) {
  MemUnlock(h);
  const MemHandle g = MemReAlloc(h, bytes);
  grown = g != nullptr;
  if (g) h = g;
  return MemLock(h);
}

size_t MemSize(MemHandle h) { return h ? GlobalSize(h) : 0; }

MemHandle MemFree(MemHandle h) {
  if (!h) return nullptr;
  HGLOBAL r = GlobalFree(h);
  if (!r && MemHooksOn()) CountLiveBlock(-1);
  return r;
}

MemHandle MemFreeLarge(MemHandle h) { return MemFree(h); }
size_t ReleaseKeptBlocks() { return 0; }

MemHandle HostFromMem(MemHandle block) { return block; }
MemHandle MemFromHost(MemHandle host) { return host; }
MemHandle MemTakeFromHost(MemHandle host) { return host; }

}  // namespace dox::plat
