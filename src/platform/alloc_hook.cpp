// The allocation-failure test hook, shared by every platform's memory blocks.
#include <atomic>

#include "platform/platform.h"

namespace dox::plat {
namespace {

std::atomic<long> g_requests{0};
std::atomic<long> g_failAt{0};

}  // namespace

bool AllocationRequestFails() {
  long n = ++g_requests;
  long at = g_failAt.load();
  if (at != 0 && n == at) {
    g_failAt = 0;
    return true;
  }
  return false;
}

void MemFailNth(long n) { g_failAt = n > 0 ? g_requests.load() + n : 0; }
long MemRequestCount() { return g_requests.load(); }

}  // namespace dox::plat
