// UTF-8 text: checked whole before any of it is written, then written as the
// ANSI and Unicode text calls write their characters.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/document.h"

namespace dox {

// Whether `length` bytes of text are well-formed UTF-8: no byte that starts
// no sequence, no cut sequence, no overlong form, no surrogate, nothing over
// U+10FFFF.
bool IsUtf8(const char *text, size_t length);

enum class Utf8Mode {
  Text,         // line ends (CR LF, CR, LF) become paragraph ends
  Instruction,  // a field argument: quotes and backslashes escaped, controls left out
};

// Writes well-formed UTF-8: characters below 128 through the stream's
// escaping, the others as "\uN ?" (a surrogate pair above U+FFFF).
int32_t PutUtf8Text(Document *doc, OutputStream *s, const char *text, size_t length,
                    Utf8Mode mode);

}  // namespace dox
