// Call scripts: one call a line, the export's name and its arguments.
#pragma once

#include <string>
#include <vector>

#include "registry.h"

namespace doxrun {

struct Call {
  int line = 0;
  const ExportDef *def = nullptr;
  Args args;
};

// Parses a whole script. On a script error returns false with a message
// naming the line in `error`.
bool ParseScript(const std::string &text, const std::string &fileName, std::vector<Call> &calls,
                 std::string &error);

}  // namespace doxrun
