// Reader-friendly mode (FLAG_READER_FRIENDLY): the one test every writer of
// the mode's RTF asks. Off, the library writes exactly what it always wrote.
#pragma once

#include "core/document.h"
#include "dox.h"

namespace dox {

inline bool ReaderFriendly(const Document *doc) {
  return (doc->DocFlags & FLAG_READER_FRIENDLY) != 0;
}

}  // namespace dox
