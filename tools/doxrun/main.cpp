// doxrun: executes a call script on a new document and writes the RTF.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "dox.h"
#include "registry.h"
#include "runner.h"
#include "script.h"

namespace {

constexpr const char *kHelp = R"help(usage: doxrun [options] SCRIPT

Runs the calls of SCRIPT on a new document and writes the document's RTF.

options:
  -o FILE         write the RTF to FILE (with DoxSaveFile); default: standard output
  -t, --trace FILE
                  write each call's result, and every report a call makes, to
                  FILE ("-" for standard output)
  --stop          stop at the first refused call
  --reader-friendly
                  reader-friendly RTF: sets FLAG_READER_FRIENDLY as the
                  library's default before the document is created
  --list          list the exports a script can call, with their parameters
  -h, --help      show this text

The script holds one call a line: the name of an export and its arguments,
separated by blanks or commas, optionally in parentheses. The document
argument is implicit. Blank lines and comments (from '#' or '//' to the end of
the line) are allowed.

  DoxInsertText "Hello, world\r\n"
  DoxTextFont("Arial", 12, CHAR_BOLD | CHAR_ITALIC, 1)
  DoxInsertUText u"caf\u00e9 \u4e2d\u6587\r\n"

Arguments:
  numbers     decimal or hexadecimal (0x...), negative allowed; named
              constants (FLAG_NO_MSG_BOX, ...) and '|' between them
  "text"      an ANSI string with the escapes \r \n \t \\ \" and \xNN
  u"text"     a UTF-16 string: the same escapes plus \uXXXX; UTF-8 text in
              the script becomes UTF-16 units
  null        a null string
  x"42 4d"    bytes as hexadecimal pairs (for WriteFile)

Besides the exports, a script may call ClipboardPutFile FORMAT "file" MM XEXT
YEXT: it puts the bytes of "file" on the clipboard as PICT_FORMAT_DIB (a
bitmap file), PICT_FORMAT_ENHMETAFILE or PICT_FORMAT_METAFILEPICT (a metafile,
with the mapping mode and extents given), ready for DoxPastePicture. WriteFile "file" x"..." writes bytes to a file
(a script can carry its own small pictures) and DeleteFile "file" removes it.
Include "other.dox" runs the calls of another script (named relative to this
script's folder) at that point.

Refusals: a call that makes a report (a message box, or a newly recorded
silent report) is refused; each refusal prints one line on standard error,
"SCRIPT:LINE: DoxCall: message (caption)". The whole script runs and doxrun
exits with 1 when any call was refused (--stop: it stops at the first). With
--trace each call also prints "Name -> result" and then its message boxes as
"  report CODE CAPTION: MESSAGE" (line feeds as \n).

A script error (unknown export, wrong number or kind of arguments, bad escape)
stops doxrun with a message naming the line, exit status 2, and no output.
)help";

struct Output {
  std::string file;  // empty: standard output
  std::ostream *trace = nullptr;
  const doxrun::RunResult *result = nullptr;
  int status = 0;
};

void Deliver(DOXDOC doc, void *user) {
  auto *out = static_cast<Output *>(user);
  if (out->trace) *out->trace << out->result->trace;
  if (!out->file.empty()) {
    if (!DoxSaveFile(doc, out->file.c_str())) {
      std::cerr << "doxrun: cannot write '" << out->file << "'\n";
      out->status = 1;
    }
    return;
  }
  std::string text;
  if (!doxrun::DocumentText(doc, text)) {
    std::cerr << "doxrun: the document could not be assembled\n";
    out->status = 1;
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
}

}  // namespace

int main(int argc, char **argv) {
  std::string script, trace;
  bool readerFriendly = false;
  Output output;
  doxrun::RunOptions options;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::cout << kHelp;
      return 0;
    } else if (a == "--list") {
      doxrun::PrintExports(std::cout);
      return 0;
    } else if (a == "--reader-friendly") {
      readerFriendly = true;
    } else if (a == "--stop") {
      options.stopAtRefusal = true;
    } else if ((a == "-o" || a == "-t" || a == "--trace") && i + 1 < argc) {
      (a == "-o" ? output.file : trace) = argv[++i];
      if (a != "-o") options.trace = true;
    } else if (!a.empty() && a[0] == '-') {
      std::cerr << "doxrun: unknown option '" << a << "' (see --help)\n";
      return 2;
    } else if (script.empty()) {
      script = a;
    } else {
      std::cerr << "doxrun: more than one script given\n";
      return 2;
    }
  }
  if (script.empty()) {
    std::cerr << "doxrun: no script given (see --help)\n";
    return 2;
  }
  std::vector<doxrun::Call> calls;
  std::string error;
  if (!doxrun::LoadScript(script, calls, error)) {
    std::cerr << "doxrun: " << error << "\n";
    return 2;
  }
  std::ofstream traceFile;
  if (options.trace && trace != "-") {
    traceFile.open(trace, std::ios::binary);
    if (!traceFile) {
      std::cerr << "doxrun: cannot write '" << trace << "'\n";
      return 2;
    }
  }
  options.scriptName = script;
  if (readerFriendly) DoxSetFlags(nullptr, 1, FLAG_READER_FRIENDLY);
  doxrun::RunResult result;
  output.result = &result;
  if (options.trace) output.trace = trace == "-" ? &std::cout : &traceFile;
  doxrun::RunCalls(calls, options, result, Deliver, &output);
  DoxSetMessageSink(nullptr, nullptr);
  if (!result.madeDocument) {
    std::cerr << "doxrun: cannot create a document\n";
    return 1;
  }
  std::cerr << result.refusals;
  if (output.status) return output.status;
  return result.refusedCalls ? 1 : 0;
}
