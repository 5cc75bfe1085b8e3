// Fuzz target: call scripts (the golden scripts are the seeds) run through
// doxrun's engine over the whole interface. After each script: no crash or
// overrun (the sanitizers), DoxEndDoc releases every block the run made, and
// a delivered text is NUL-terminated at its size with no NUL before.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform.h"
#include "runner.h"

namespace {

void DOXAPI Quiet(DOXDOC, int32_t, const char *, const char *, void *) {}

void Check(DOXDOC doc, void *) {
  uint32_t size = 0;
  DOXHMEM h = DoxGetData(doc, &size);
  if (!h) return;
  const char *p = static_cast<const char *>(DoxMemLock(h));
  if (size == 0 || p[size - 1] != '\0' || std::strlen(p) != size - 1) std::abort();
  DoxMemUnlock(h);
  DoxMemFree(h);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  std::vector<doxrun::Call> calls;
  std::string error;
  if (!doxrun::ParseScript(std::string(reinterpret_cast<const char *>(data), size), "fuzz",
                           calls, error))
    return 0;
  doxrun::RunOptions options;
  options.fileCalls = false;  // no files written, removed or put on the clipboard
  doxrun::RunResult result;
  const long live = dox::plat::MemLiveBlocks();
  doxrun::RunCalls(calls, options, result, Check, nullptr);
  DoxSetMessageSink(Quiet, nullptr);
  DoxSetFlags(nullptr, 0, ~0u);  // a script may have changed the library's flags
  DoxClipboardEmpty();
  if (dox::plat::MemLiveBlocks() != live) std::abort();
  return 0;
}
