// The test hooks of the memory blocks, shared by every platform: counting
// allocation requests, making the Nth one fail and counting live blocks. They
// cost one load of a flag while no test has turned them on; once on, they
// count with atomics, since tests build documents on several threads.
#include <atomic>

#include "platform/platform.h"

namespace dox::plat {
namespace {

std::atomic<long> g_requests{0};
std::atomic<long> g_failAt{0};
std::atomic<long> g_live{0};

}  // namespace

constinit std::atomic<bool> g_memHooksOn{false};
void MemHooksEnable() { g_memHooksOn.store(true, std::memory_order_relaxed); }

bool AllocationRequestFails() {
  if (!MemHooksOn()) return false;
  long n = ++g_requests;
  long at = g_failAt.load();
  if (at != 0 && n == at) {
    g_failAt = 0;
    return true;
  }
  return false;
}

void CountLiveBlock(long change) { g_live += change; }

void MemFailNth(long n) {
  MemHooksEnable();
  g_failAt = n > 0 ? g_requests.load() + n : 0;
}
long MemRequestCount() {
  MemHooksEnable();
  return g_requests.load();
}
long MemLiveBlocks() {
  MemHooksEnable();
  return g_live.load();
}

}  // namespace dox::plat
