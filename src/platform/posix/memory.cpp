// Movable memory blocks for systems without Windows global memory.
//
// The library's own blocks are used through their descriptors directly: a
// handle points to a small descriptor whose data lives in its own heap block.
// A block handed to the host is known there by a handle of a table with
// generations, so that a handle the host made up, or one already freed, is
// refused instead of being followed.
#include <pthread.h>

#include <cstdlib>
#include <cstring>

#include "platform/handle_table.h"
#include "platform/platform.h"
#include "platform/spin_lock.h"

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

// Large blocks kept for the next documents: a document made after another
// one ended, on any thread, takes a block whose pages are already in place
// instead of faulting fresh memory in (about 10 us a page on some virtual
// machines) and copying its body as it grows; so does a large document
// delivered into memory after the host freed another one. Blocks go in and
// out only when a document is made, delivered or ended or the host frees a
// block, never on the other calls, under a lock that is only tried: when
// another thread holds it, the block is allocated or freed as any other.
class BlockPool {
 public:
  // A kept block of at least `bytes` bytes: the largest for a block that
  // grows, else the smallest; false when none.
  bool Take(size_t bytes, bool grows, unsigned char *&data, size_t &capacity) {
    if (!grows && bytes < kMin) return false;
    if (!lock_.TryLock()) return false;
    int best = -1;
    for (int i = 0; i < kSlots; ++i)
      if (slots_[i].data && slots_[i].capacity >= bytes &&
          (best < 0 || (slots_[i].capacity > slots_[best].capacity) == grows))
        best = i;
    if (best >= 0) {
      data = slots_[best].data;
      capacity = slots_[best].capacity;
      held_ -= capacity;
      slots_[best] = {};
    }
    lock_.Unlock();
    return best >= 0;
  }
  // Keeps the block when it is large and there is room (replacing a smaller
  // one); false when the caller is to free it.
  bool Give(unsigned char *data, size_t capacity) {
    if (capacity < kMin || capacity > kMax || !lock_.TryLock()) return false;
    int slot = 0;
    for (int i = 1; i < kSlots; ++i)
      if (slots_[i].capacity < slots_[slot].capacity) slot = i;
    unsigned char *dropped = nullptr;
    const bool keep = capacity > slots_[slot].capacity &&
                      held_ - slots_[slot].capacity + capacity <= kMaxHeld;
    if (keep) {
      dropped = slots_[slot].data;
      held_ += capacity - slots_[slot].capacity;
      slots_[slot] = {data, capacity};
    }
    lock_.Unlock();
    std::free(dropped);
    return keep;
  }
  // Frees every kept block; the bytes freed. Waits for the lock, which the
  // calls above hold only for a moment.
  size_t Release() {
    lock_.Lock();
    Slot kept[kSlots];
    std::memcpy(kept, slots_, sizeof kept);
    std::memset(slots_, 0, sizeof slots_);
    const size_t freed = held_;
    held_ = 0;
    lock_.Unlock();
    for (const Slot &k : kept) std::free(k.data);
    return freed;
  }

 private:
  static constexpr int kSlots = 4;
  static constexpr size_t kMin = size_t{1} << 20;
  static constexpr size_t kMax = size_t{256} << 20;
  static constexpr size_t kMaxHeld = size_t{512} << 20;
  struct Slot {
    unsigned char *data;
    size_t capacity;
  };
  SpinLock lock_;
  Slot slots_[kSlots] = {};
  size_t held_ = 0;
};

constinit BlockPool g_pool;

// Under AddressSanitizer every block is freed, so that a use after free is
// still caught.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepSmallBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kKeepSmallBlocks = false;
#else
constexpr bool kKeepSmallBlocks = true;
#endif
#else
constexpr bool kKeepSmallBlocks = true;
#endif

// Small blocks freed on a thread, kept for that thread's next small blocks: a
// table makes a block for each row's cell definitions and frees it at the
// next row. A kept block is asked for and counted as a new one, so the test
// hooks see the same requests and live blocks. The record itself is never
// destroyed (a host's own destructors may still free blocks at exit): the
// blocks are released when the thread ends, through a thread-specific key,
// and the record then keeps nothing more.
struct SmallBlocks {
  static constexpr int kSlots = 4;
  Block *kept[kSlots];
  int count;
  bool registered;  // with the key, to be released when the thread ends
  bool released;

  Block *Take(size_t bytes) {
    if (bytes > kMinCapacity || count == 0) return nullptr;
    return kept[--count];
  }
  bool Give(Block *b);
  static void Release(void *record) {
    auto *r = static_cast<SmallBlocks *>(record);
    for (int i = 0; i < r->count; ++i) {
      std::free(r->kept[i]->data);
      std::free(r->kept[i]);
    }
    r->count = 0;
    r->released = true;
  }

  // Every kept block holds at least kMinCapacity bytes, so any of them fits
  // any request it serves.
  static constexpr size_t kMinCapacity = 512;
  static constexpr size_t kMaxCapacity = 4096;
};

pthread_key_t g_smallBlocksKey;
pthread_once_t g_smallBlocksOnce = PTHREAD_ONCE_INIT;
bool g_smallBlocksKeyMade = false;

constinit thread_local SmallBlocks t_small = {};

bool SmallBlocks::Give(Block *b) {
  if (!kKeepSmallBlocks || b->capacity > kMaxCapacity || b->capacity < kMinCapacity || !b->data ||
      count == kSlots || released)
    return false;
  if (!registered) {  // once a thread
    pthread_once(&g_smallBlocksOnce, [] {
      g_smallBlocksKeyMade = pthread_key_create(&g_smallBlocksKey, &SmallBlocks::Release) == 0;
    });
    if (!g_smallBlocksKeyMade || pthread_setspecific(g_smallBlocksKey, this) != 0) return false;
    registered = true;
  }
  kept[count++] = b;
  return true;
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

// A new block; the caller has asked the test hooks whether it may be made.
MemHandle NewBlock(size_t bytes, bool zero) {
  // At least one byte, so that a block of 0 bytes still has an address.
  const size_t capacity = bytes ? bytes : 1;
  auto *data = static_cast<unsigned char *>(zero ? std::calloc(1, capacity) : std::malloc(capacity));
  return data ? Describe(data, bytes, capacity) : nullptr;
}

}  // namespace

MemHandle MemAlloc(size_t bytes, bool zero) {
  if (AllocationRequestFails()) return nullptr;
  if (Block *b = t_small.Take(bytes)) {
    if (zero) std::memset(b->data, 0, bytes);
    b->size = bytes;
    b->locks = 0;
    b->counted = MemHooksOn();
    if (b->counted) CountLiveBlock(1);
    return b;
  }
  return NewBlock(bytes, zero);
}

MemHandle MemAllocLarge(size_t bytes, bool zero, bool grows) {
  if (AllocationRequestFails()) return nullptr;
  unsigned char *data;
  size_t capacity;
  if (!g_pool.Take(bytes, grows, data, capacity)) return NewBlock(bytes, zero);
  if (zero) std::memset(data, 0, bytes);
  return Describe(data, bytes, capacity);
}

MemHandle MemReAlloc(MemHandle h, size_t bytes) {
  Block *b = Of(h);
  if (!b || b->locks > 0) return nullptr;
  if (AllocationRequestFails()) return nullptr;
  // A block that grows step by step is copied a few times, not at every step
  // (a small one goes to 512 bytes at once: a table row's cell definitions
  // grow 44 bytes a cell); one that shrinks to less than a quarter gives its
  // memory back.
  if (bytes <= b->capacity && (bytes >= b->size || bytes >= b->capacity / 4)) {
    b->size = bytes;
    return b;
  }
  constexpr size_t kSmallGrowth = 512;
  size_t capacity = bytes <= b->size               ? bytes
                    : bytes / 2 < b->capacity      ? 2 * b->capacity
                                                   : bytes;
  if (bytes > b->size && capacity < kSmallGrowth) capacity = kSmallGrowth;
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

namespace {

__attribute__((noinline)) void *ReAllocLockedSlowly(MemHandle &h, size_t bytes, bool &grown) {
  MemUnlock(h);
  const MemHandle g = MemReAlloc(h, bytes);
  grown = g != nullptr;
  if (g) h = g;
  return MemLock(h);
}

}  // namespace

void *MemReAllocLocked(MemHandle &h, size_t bytes, bool &grown) {
  // The common case, a block growing within its capacity (a row's cells),
  // decided here when no test counts the requests.
  Block *b = Of(h);
  if (!b || b->locks != 1 || bytes < b->size || bytes > b->capacity || MemHooksOn())
    return ReAllocLockedSlowly(h, bytes, grown);
  b->size = bytes;
  grown = true;
  return b->data;
}

size_t MemSize(MemHandle h) { return h ? Of(h)->size : 0; }

MemHandle MemFree(MemHandle h) {
  Block *b = Of(h);
  if (!b) return nullptr;
  if (b->counted) CountLiveBlock(-1);
  if (t_small.Give(b)) return nullptr;
  std::free(b->data);
  std::free(b);
  return nullptr;
}

MemHandle MemFreeLarge(MemHandle h) {
  Block *b = Of(h);
  if (b && g_pool.Give(b->data, b->capacity)) b->data = nullptr;  // free(nullptr) below
  return MemFree(h);
}

size_t ReleaseKeptBlocks() { return g_pool.Release(); }

MemHandle HostFromMem(MemHandle block) { return block ? g_hostBlocks.Add(block) : nullptr; }
MemHandle MemFromHost(MemHandle host) { return g_hostBlocks.Find(host); }
MemHandle MemTakeFromHost(MemHandle host) { return g_hostBlocks.Remove(host); }

}  // namespace dox::plat
