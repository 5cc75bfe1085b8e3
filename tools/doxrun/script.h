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

// Reads and parses the script file `path`; a line 'Include "NAME"' runs the
// calls of the script NAME (relative to this one's folder) at that point.
bool LoadScript(const std::string &path, std::vector<Call> &calls, std::string &error);

}  // namespace doxrun
