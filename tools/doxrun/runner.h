// Running a parsed call script on a new document: the engine behind doxrun,
// also used by the tests (every golden script under allocation failures and
// in threads) and the script fuzz target.
#pragma once

#include <string>
#include <vector>

#include "script.h"

namespace doxrun {

struct RunOptions {
  std::string scriptName;     // for the refusal lines: "NAME:LINE: ..."
  bool trace = false;         // record "Name -> result" and every report
  bool stopAtRefusal = false;  // stop after the first refused call
  bool fileCalls = true;       // the file pseudo-calls (WriteFile, ...) may run
  bool installSink = true;     // install the runner's message sink (process-wide) first
  bool keepText = false;       // deliver the document's text into the result
  // Tests: run on this handle instead of a new document (still ended at the
  // end), and call `around` before and after each export of dox.h.
  bool givenDocument = false;
  DOXDOC document = nullptr;
  void (*around)(bool before, const char *name) = nullptr;
};

struct RunResult {
  std::string trace;     // when tracing
  // When tracing, each call's trace on one line: "Name -> result" and its
  // report lines after " | ".
  std::vector<std::string> calls;
  bool delivered = false;  // with keepText: the text could be had
  std::string text;        // with keepText: the text DoxGetData delivered, without the NUL
  std::string refusals;  // one line per refused call: "NAME:LINE: DoxCall: message (caption)"
  int refusedCalls = 0;
  bool madeDocument = false;  // DoxNewDoc succeeded (the calls run with a null document if not)
};

// Runs `calls` on a new document, then hands it to `deliver` (which may be
// null) before ending it. A call is refused when it makes a report: a
// message box (caught by the runner's sink) or a new silently recorded one.
// Reports of any thread go to the runner of that thread.
using Deliver = void (*)(DOXDOC doc, void *user);
void RunCalls(const std::vector<Call> &calls, const RunOptions &options, RunResult &result,
              Deliver deliver = nullptr, void *user = nullptr);

// The document's text as DoxGetData delivers it, without the NUL; false when
// it cannot be had.
bool DocumentText(DOXDOC doc, std::string &text);

// RTF groups outside escapes (a backslash and the character after it): true
// when `text` is one group that closes only at its end.
bool OneBalancedGroup(const std::string &text);

}  // namespace doxrun
