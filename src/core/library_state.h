// Process-wide state shared by all documents: the message table, the last
// silently recorded report, the default document flags and what start-up
// learns about the system. Unguarded by design; see the threading notes in
// the README.
#pragma once

#include <cstdint>

namespace dox {

constexpr int kMessageTableSize = 200;
constexpr int kComposedMessageSize = 640;  // room for every line; in use at most 4 (< 300)
constexpr int kLastMessageSize = 100;

struct LibraryState {
  const char *MessageTable[kMessageTableSize];
  int32_t LastErrorCode;
  char LastMessage[kLastMessageSize];
  uint32_t LibraryFlags;
  int32_t MbcsCodePage;
  int32_t EnhMetaAvailable;
  uint32_t EnhMetaClipFormat;
  char ComposedMessage[kComposedMessageSize];  // the text of code 48
};

LibraryState &Lib();

// The library entry point's work for `reason` (1 = process attach). Runs
// automatically when the library is loaded.
int32_t LibraryEntry(uint32_t reason);

// The text the message table holds for `code` (empty when none).
const char *MessageText(int32_t code);

}  // namespace dox
