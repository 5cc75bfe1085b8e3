// Movable memory blocks: Windows global memory.
#include <windows.h>

#include <atomic>

#include "platform/platform.h"

namespace dox::plat {
namespace {

std::atomic<long> g_requests{0};
std::atomic<long> g_failAt{0};
std::atomic<long> g_live{0};

bool RequestFails() {
  long n = ++g_requests;
  long at = g_failAt.load();
  if (at != 0 && n == at) {
    g_failAt = 0;
    return true;
  }
  return false;
}

}  // namespace

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (RequestFails()) return nullptr;
  // A movable block of 0 bytes would be discarded and could not be locked.
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE | (zero ? GMEM_ZEROINIT : 0), bytes ? bytes : 1);
  if (h) ++g_live;
  return h;
}

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  if (RequestFails()) return nullptr;
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

void MemFailNth(long n) { g_failAt = n > 0 ? g_requests.load() + n : 0; }
long MemRequestCount() { return g_requests.load(); }
long MemLiveBlocks() { return g_live.load(); }

}  // namespace dox::plat
