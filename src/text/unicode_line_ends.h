// Reader-friendly mode: CR and LF given to DoxInsertUText are written as
// DoxInsertText writes them ("\par" and a new line for CR, nothing for LF).
// As "\u13 ?\u10 ?" readers show an extra empty line.
#pragma once

#include <cstdint>

#include "core/reader_friendly.h"

namespace dox {

inline bool UnicodeUnitAsAnsi(const Document *doc, uint16_t unit) {
  return (unit == 13 || unit == 10) && ReaderFriendly(doc);
}

}  // namespace dox
