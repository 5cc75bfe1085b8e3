// Text box parameters kept in the document between the begin and the end of a
// text box.
#pragma once

#include <cstdint>

namespace dox {

struct TextBoxState {
  int32_t Unused;  // filled in by the text box calls
};

}  // namespace dox
