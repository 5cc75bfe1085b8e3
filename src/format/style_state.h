// Style-sheet state kept in the document between the begin and the end of a
// style item.
#pragma once

#include <cstdint>

namespace dox {

// The longest style name an item keeps; longer names are cut to it.
constexpr int32_t kMaxStyleName = 300;

struct StyleState {
  char PendingStyleName[kMaxStyleName + 4];  // written when the item ends; NUL-terminated
};

}  // namespace dox
