// The instruction word of a field group. Reader-friendly mode stars it
// ("\*\fldinst"): readers that do not know fields then skip the instruction
// instead of printing it, and show the result.
#pragma once

#include "core/reader_friendly.h"

namespace dox {

inline int32_t PutFieldInstructionWord(Document *doc, OutputStream *s) {
  return (!ReaderFriendly(doc) || PutWord(doc, s, "*")) && PutWord(doc, s, "fldinst");
}

}  // namespace dox
