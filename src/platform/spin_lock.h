// A lock for the few short writes to process-wide state (making and ending
// handles, recording a report, the clipboard). It cannot fail or throw, and
// needs no initialisation beyond zero, so it works in static storage from
// the library's start-up on.
#pragma once

#include <atomic>

namespace dox::plat {

class SpinLock {
 public:
  void Lock() {
    while (busy_.test_and_set(std::memory_order_acquire)) {
      while (busy_.test(std::memory_order_relaxed)) {
      }
    }
  }
  // Takes the lock when it is free; never waits.
  bool TryLock() { return !busy_.test_and_set(std::memory_order_acquire); }
  void Unlock() { busy_.clear(std::memory_order_release); }

 private:
  std::atomic_flag busy_;  // clear at start
};

class SpinGuard {
 public:
  explicit SpinGuard(SpinLock &lock) : lock_(lock) { lock_.Lock(); }
  ~SpinGuard() { lock_.Unlock(); }
  SpinGuard(const SpinGuard &) = delete;
  SpinGuard &operator=(const SpinGuard &) = delete;

 private:
  SpinLock &lock_;
};

}  // namespace dox::plat
