#pragma once

#include <cstdint>

namespace dox {

// a * b / c with a 64-bit intermediate, rounded to the nearest integer with
// halves away from zero; -1 when c is 0 or the result is outside
// -2147483647..2147483647 (the Windows MulDiv).
int32_t MulDiv(int32_t a, int32_t b, int32_t c);

}  // namespace dox
