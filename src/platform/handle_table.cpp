#include "platform/handle_table.h"

#include <cstdlib>

namespace dox::plat {

void *HandleTable::Add(void *object) {
  SpinGuard guard(lock_);
  uint32_t index = freeHead_;
  if (index != kNone) {
    freeHead_ = At(index).next;
    if (freeHead_ == kNone) freeTail_ = kNone;
  } else if (used_ < kPages * kPageSize) {
    index = used_;
    if (!pages_[index >> kPageBits].load(std::memory_order_relaxed)) {
      // Zero-filled: generation 0, not live. Pages stay for the process's life.
      auto *page = static_cast<Page *>(std::calloc(1, sizeof(Page)));
      if (!page) return nullptr;
      // Slot 0, never used, holds a handle of another kind: 0 is no handle.
      if (index == 1) page->slots[0].handle.store((kind_ ^ 1) << 30, std::memory_order_relaxed);
      pages_[index >> kPageBits].store(page, std::memory_order_release);
    }
    ++used_;
  } else {
    return nullptr;
  }
  Slot &s = At(index);
  uint32_t gen = ((s.handle.load(std::memory_order_relaxed) >> 16) + 1) & kGenMask;
  if (gen == 0) gen = 1;
  const uint32_t handle = (kind_ << 30) | (gen << 16) | index;
  s.object.store(reinterpret_cast<uintptr_t>(object) ^ kMask, std::memory_order_relaxed);
  s.handle.store(handle, std::memory_order_release);
  return reinterpret_cast<void *>(static_cast<uintptr_t>(handle));
}

void *HandleTable::Remove(const void *handle) {
  SpinGuard guard(lock_);
  void *object = Find(handle);
  if (object) {
    uint32_t index = reinterpret_cast<uintptr_t>(handle) & 0xFFFF;
    Slot &s = At(index);
    // The object stays (masked): a lookup racing with this one finds it or
    // nothing.
    s.handle.store(s.handle.load(std::memory_order_relaxed) ^ kEnded, std::memory_order_release);
    s.next = kNone;
    if (freeTail_ == kNone)
      freeHead_ = index;
    else
      At(freeTail_).next = index;
    freeTail_ = index;
  }
  return object;
}

}  // namespace dox::plat
