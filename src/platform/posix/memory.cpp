// Movable memory blocks for systems without Windows global memory.
//
// The library's own blocks are used through their descriptors directly: a
// handle points to a small descriptor whose data lives in its own heap block.
// A block handed to the host is known there by a handle of a table with
// generations, so that a handle the host made up, or one already freed, is
// refused instead of being followed.
#include <cstdlib>
#include <cstring>

#include "platform/handle_table.h"
#include "platform/platform.h"

namespace dox::plat {
namespace {

struct Block {
  unsigned char *data;
  size_t size;      // the size asked for
  size_t capacity;  // the bytes allocated: a block that grows takes twice what it needs
  int32_t locks;
  bool counted;  // counted in the live blocks of the test hooks
};

constinit HandleTable g_hostBlocks(kHandleMemory);

Block *Of(MemHandle h) { return static_cast<Block *>(h); }

// The largest block of 1 MB to 256 MB this thread freed, for its next
// growing block: its pages are in place, so the next document neither faults
// them in again nor copies its body as it grows. Each thread keeps its own,
// with no lock, until it ends.
struct SpareBlock {
  static constexpr size_t kMin = size_t{1} << 20;
  static constexpr size_t kMax = size_t{256} << 20;
  unsigned char *data = nullptr;
  size_t capacity = 0;
  ~SpareBlock() { std::free(data); }
};
thread_local SpareBlock t_spare;

// Keeps `data` as the thread's spare block when it is the largest; frees it
// (or the spare it replaces) otherwise.
void Release(unsigned char *data, size_t capacity) {
  if (capacity < SpareBlock::kMin || capacity > SpareBlock::kMax || capacity <= t_spare.capacity) {
    std::free(data);
    return;
  }
  std::free(t_spare.data);
  t_spare.data = data;
  t_spare.capacity = capacity;
}

// A descriptor for `data`; frees `data` when none can be made.
MemHandle Describe(unsigned char *data, size_t bytes, size_t capacity) {
  auto *b = static_cast<Block *>(std::malloc(sizeof(Block)));
  if (!b) {
    std::free(data);
    return nullptr;
  }
  b->data = data;
  b->size = bytes;
  b->capacity = capacity;
  b->locks = 0;
  b->counted = MemHooksOn();
  if (b->counted) CountLiveBlock(1);
  return b;
}

}  // namespace

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (AllocationRequestFails()) return nullptr;
  // At least one byte, so that a block of 0 bytes still has an address.
  const size_t capacity = bytes ? bytes : 1;
  auto *data = static_cast<unsigned char *>(zero ? std::calloc(1, capacity) : std::malloc(capacity));
  return data ? Describe(data, bytes, capacity) : nullptr;
}

MemHandle MemAllocGrowing(size_t bytes, bool zero) {
  if (!t_spare.data || t_spare.capacity < bytes) return MemAlloc(bytes, zero);
  if (AllocationRequestFails()) return nullptr;
  unsigned char *data = t_spare.data;
  const size_t capacity = t_spare.capacity;
  t_spare.data = nullptr;
  t_spare.capacity = 0;
  if (zero) std::memset(data, 0, bytes);
  return Describe(data, bytes, capacity);
}

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  Block *b = Of(h);
  if (!b || b->locks > 0) return nullptr;
  if (AllocationRequestFails()) return nullptr;
  // A block that grows step by step is copied a few times, not at every step;
  // one that shrinks to less than a quarter gives its memory back.
  if (bytes <= b->capacity && (bytes >= b->size || bytes >= b->capacity / 4)) {
    b->size = bytes;
    return b;
  }
  size_t capacity = bytes > b->size && bytes / 2 < b->capacity ? 2 * b->capacity : bytes;
  auto *p = static_cast<unsigned char *>(std::realloc(b->data, capacity ? capacity : 1));
  if (!p && capacity != bytes) {
    capacity = bytes;  // not the room to spare: just what was asked for
    p = static_cast<unsigned char *>(std::realloc(b->data, capacity ? capacity : 1));
  }
  if (!p) return nullptr;
  b->data = p;
  b->size = bytes;
  b->capacity = capacity ? capacity : 1;
  return b;
}

void *MemLock(MemHandle h) {
  Block *b = Of(h);
  if (!b) return nullptr;
  ++b->locks;
  return b->data;
}

bool MemUnlock(MemHandle h) {
  Block *b = Of(h);
  if (!b || b->locks == 0) return false;
  return --b->locks > 0;
}

size_t MemSize(MemHandle h) { return h ? Of(h)->size : 0; }

MemHandle MemFree(MemHandle h) {
  Block *b = Of(h);
  if (!b) return nullptr;
  if (b->counted) CountLiveBlock(-1);
  Release(b->data, b->capacity);
  std::free(b);
  return nullptr;
}

MemHandle HostFromMem(MemHandle block) { return block ? g_hostBlocks.Add(block) : nullptr; }
MemHandle MemFromHost(MemHandle host) { return g_hostBlocks.Find(host); }
MemHandle MemTakeFromHost(MemHandle host) { return g_hostBlocks.Remove(host); }

}  // namespace dox::plat
