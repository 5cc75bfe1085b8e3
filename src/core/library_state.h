// Process-wide state shared by all documents: the message table, the last
// silently recorded report, the default document flags and what start-up
// learns about the system. Reports from several threads may be made at once:
// the last one recorded wins, and a reader sees one whole code and caption.
// Recording takes a short lock; calls that report nothing take none.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/spin_lock.h"

namespace dox {

constexpr int kMessageTableSize = 200;
constexpr int kComposedMessageSize = 640;  // room for every line; in use at most 4 (< 300)
constexpr int kLastMessageSize = 100;

struct LibraryState {
  const char *MessageTable[kMessageTableSize];
  int32_t LastErrorCode;
  char LastMessage[kLastMessageSize];
  std::atomic<uint32_t> Flags;  // the library flags: LibraryFlags() reads them
  int32_t MbcsCodePage;
  int32_t EnhMetaAvailable;
  uint32_t EnhMetaClipFormat;
  char ComposedMessage[kComposedMessageSize];  // the text of code 48
  bool WideBlocks;  // text is tested 32 bytes at a time (AVX2); tests switch it
};

extern LibraryState g_lib;
inline LibraryState &Lib() { return g_lib; }

// Guards LastErrorCode, LastMessage, ComposedMessage and changes of the flags.
plat::SpinLock &ReportLock();

// The library flags, which new documents copy.
inline uint32_t LibraryFlags() { return Lib().Flags.load(std::memory_order_relaxed); }
// Sets (`set` non-zero) or clears `flags` in them; returns the result.
uint32_t SetLibraryFlags(int32_t set, uint32_t flags);

// The library entry point's work for `reason` (1 = process attach). Runs
// automatically when the library is loaded.
int32_t LibraryEntry(uint32_t reason);

// The text the message table holds for `code` (empty when none).
const char *MessageText(int32_t code);

}  // namespace dox
