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
      pages_[index >> kPageBits].store(page, std::memory_order_release);
    }
    ++used_;
  } else {
    return nullptr;
  }
  Slot &s = At(index);
  uint32_t gen = (s.gen.load(std::memory_order_relaxed) + 1) & kGenMask;
  if (gen == 0) gen = 1;  // so that no handle is 0
  s.object.store(reinterpret_cast<uintptr_t>(object) ^ kMask, std::memory_order_relaxed);
  s.gen.store(kLive | gen, std::memory_order_release);
  return reinterpret_cast<void *>(static_cast<uintptr_t>((kind_ << 30) | (gen << 16) | index));
}

void *HandleTable::Remove(const void *handle) {
  SpinGuard guard(lock_);
  void *object = Find(handle);
  if (object) {
    uint32_t index = reinterpret_cast<uintptr_t>(handle) & 0xFFFF;
    Slot &s = At(index);
    s.gen.store(s.gen.load(std::memory_order_relaxed) & kGenMask, std::memory_order_release);
    s.object.store(0, std::memory_order_relaxed);
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
