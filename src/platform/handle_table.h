// Handles the library gives to its host: a slot index with a generation
// number, so that a handle that was never made, was already ended or is
// garbage is refused without following any pointer. Looking a handle up
// takes no lock and does no search; only making and ending one takes the
// table's short lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/spin_lock.h"

namespace dox::plat {

class HandleTable {
 public:
  // `kind` (0-3) is part of every handle, so a handle of one table is never
  // taken for one of another.
  explicit constexpr HandleTable(uint32_t kind) : kind_(kind) {}

  // A new handle for `object` (not null); null when the table is full or its
  // next page of slots cannot be allocated.
  void *Add(void *object);
  // The object of a live handle; null for 0, garbage, ended or foreign ones.
  // A slot holds its live handle's value, so one comparison decides. (A
  // handle ended while another thread is still using it is the host's
  // race: such a lookup finds the object or nothing, never a wild pointer.)
  void *Find(const void *handle) const { return FindOf(handle, kind_); }
  // Find for a table whose kind the caller knows while compiling.
  template <uint32_t Kind>
  void *Find(const void *handle) const {
    return FindOf(handle, Kind);
  }
  // Ends a live handle and returns its object; null when it is not one.
  void *Remove(const void *handle);

 private:
  static constexpr uint32_t kPageBits = 10;
  static constexpr uint32_t kPageSize = 1u << kPageBits;
  static constexpr uint32_t kPages = 65536 / kPageSize;
  static constexpr uint32_t kGenMask = 0x3FFF;
  static constexpr uint32_t kEnded = 0x80000000u;  // flips the kind: matches no handle
  static constexpr uint32_t kNone = 0xFFFFFFFFu;
  // Objects are kept masked, so that a leak checker scanning memory does not
  // take an object as reachable through the table.
  static constexpr uintptr_t kMask = ~static_cast<uintptr_t>(0x5A5A);

  struct Slot {
    // The live handle; once ended, its value with kEnded flipped (the
    // generation stays readable); 0 in a slot never used (matching no
    // handle, whose generation is never 0). Slot 0 is never used.
    std::atomic<uint32_t> handle;
    uint32_t next;  // the next free slot, under the lock
    std::atomic<uintptr_t> object;
  };
  struct Page {
    Slot slots[kPageSize];
  };

  void *FindOf(const void *handle, uint32_t kind) const {
    const uintptr_t v = reinterpret_cast<uintptr_t>(handle);
    // Also refuses every value from 2^32 on: kinds are below 4.
    if ((v >> 30) != kind) return nullptr;
    const Page *page = pages_[(v >> kPageBits) & (kPages - 1)].load(std::memory_order_acquire);
    if (!page) return nullptr;
    const Slot &s = page->slots[v & (kPageSize - 1)];
    if (s.handle.load(std::memory_order_acquire) != static_cast<uint32_t>(v)) return nullptr;
    const uintptr_t object = s.object.load(std::memory_order_relaxed) ^ kMask;
    if (object == 0) __builtin_unreachable();  // a live slot holds an object
    return reinterpret_cast<void *>(object);
  }

  Slot &At(uint32_t index) {
    return pages_[index >> kPageBits].load(std::memory_order_relaxed)->slots[index & (kPageSize - 1)];
  }

  const uint32_t kind_;
  SpinLock lock_;
  std::atomic<Page *> pages_[kPages] = {};
  uint32_t used_ = 1;          // slots ever handed out, and slot 0
  uint32_t freeHead_ = kNone;  // the oldest ended slot: reused first...
  uint32_t freeTail_ = kNone;  // ...the newest last, so generations last long
};

// The tables' kinds.
constexpr uint32_t kHandleDocument = 0;
constexpr uint32_t kHandleMemory = 1;
constexpr uint32_t kHandleMetafile = 2;
constexpr uint32_t kHandleEnhMetafile = 3;

}  // namespace dox::plat
