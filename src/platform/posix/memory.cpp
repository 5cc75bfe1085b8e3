// Movable memory blocks for systems without Windows global memory.
//
// A handle points to a small descriptor; the data lives in its own heap block
// whose first bytes point back to the descriptor, so that the address of a
// locked block leads to its handle. Live descriptors are kept in a set, so an
// invalid handle is refused instead of being dereferenced. The set holds the
// descriptors' addresses masked, so that a leak checker scanning memory does
// not take a block as reachable through it.
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <unordered_set>

#include "platform/platform.h"

namespace dox::plat {
namespace {

struct Block {
  unsigned char *data;  // prefix + bytes
  size_t size;
  int32_t locks;
};

constexpr size_t kPrefix = 16;  // keeps the data 16-byte aligned

std::mutex g_mutex;
constexpr uintptr_t kMask = ~static_cast<uintptr_t>(0x5A5A);
uintptr_t Key(const Block *b) { return reinterpret_cast<uintptr_t>(b) ^ kMask; }

std::unordered_set<uintptr_t> &LiveSet() {
  static auto *set = new std::unordered_set<uintptr_t>();
  return *set;
}

Block *Find(MemHandle h) {
  auto *b = static_cast<Block *>(h);
  std::lock_guard<std::mutex> lock(g_mutex);
  return LiveSet().count(Key(b)) ? b : nullptr;
}

unsigned char *NewData(Block *owner, size_t bytes, bool zero) {
  auto *p = static_cast<unsigned char *>(zero ? std::calloc(1, kPrefix + bytes)
                                              : std::malloc(kPrefix + bytes));
  if (p) std::memcpy(p, &owner, sizeof owner);
  return p;
}

}  // namespace

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (AllocationRequestFails()) return nullptr;
  auto *b = static_cast<Block *>(std::malloc(sizeof(Block)));
  if (!b) return nullptr;
  b->data = NewData(b, bytes, zero);
  if (!b->data) {
    std::free(b);
    return nullptr;
  }
  b->size = bytes;
  b->locks = 0;
  std::lock_guard<std::mutex> lock(g_mutex);
  LiveSet().insert(Key(b));
  return b;
}

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  Block *b = Find(h);
  if (!b || b->locks > 0) return nullptr;
  if (AllocationRequestFails()) return nullptr;
  auto *p = static_cast<unsigned char *>(std::realloc(b->data, kPrefix + bytes));
  if (!p) return nullptr;
  b->data = p;
  b->size = bytes;
  return b;
}

void *MemLock(MemHandle h) {
  Block *b = Find(h);
  if (!b) return nullptr;
  ++b->locks;
  return b->data + kPrefix;
}

bool MemUnlock(MemHandle h) {
  Block *b = Find(h);
  if (!b || b->locks == 0) return false;
  return --b->locks > 0;
}

size_t MemSize(MemHandle h) {
  Block *b = Find(h);
  return b ? b->size : 0;
}

MemHandle MemFree(MemHandle h) {
  auto *b = static_cast<Block *>(h);
  {
    std::lock_guard<std::mutex> lock(g_mutex);
    if (!LiveSet().erase(Key(b))) return h;
  }
  std::free(b->data);
  std::free(b);
  return nullptr;
}

MemHandle MemHandleOf(const void *address) {
  if (!address) return nullptr;
  Block *owner;
  std::memcpy(&owner, static_cast<const unsigned char *>(address) - kPrefix, sizeof owner);
  Block *b = Find(owner);
  return (b && b->data + kPrefix == address) ? b : nullptr;
}

long MemLiveBlocks() {
  std::lock_guard<std::mutex> lock(g_mutex);
  return static_cast<long>(LiveSet().size());
}

}  // namespace dox::plat
