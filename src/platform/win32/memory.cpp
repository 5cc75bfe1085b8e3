// Movable memory blocks: Windows global memory.
#include <windows.h>

#include <atomic>

#include "platform/platform.h"

namespace dox::plat {
namespace {

std::atomic<long> g_live{0};

}  // namespace

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (AllocationRequestFails()) return nullptr;
  // A movable block of 0 bytes would be discarded and could not be locked.
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | (zero ? GMEM_ZEROINIT : 0), bytes ? bytes : 1);
  if (h) ++g_live;
  return h;
}

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  if (AllocationRequestFails()) return nullptr;
  return GlobalReAlloc(h, bytes ? bytes : 1, GMEM_MOVEABLE);
}

void *MemLock(MemHandle h) { return h ? GlobalLock(h) : nullptr; }

bool MemUnlock(MemHandle h) { return h && GlobalUnlock(h) != 0; }

size_t MemSize(MemHandle h) { return h ? GlobalSize(h) : 0; }

MemHandle MemFree(MemHandle h) {
  if (!h) return nullptr;
  HGLOBAL r = GlobalFree(h);
  if (!r) --g_live;
  return r;
}

MemHandle MemHandleOf(const void *address) { return address ? GlobalHandle(address) : nullptr; }

long MemLiveBlocks() { return g_live.load(); }

}  // namespace dox::plat
