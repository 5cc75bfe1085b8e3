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
#include "script.h"

namespace {

constexpr const char *kHelp = R"(usage: doxrun [options] SCRIPT

Runs the calls of SCRIPT on a new document and writes the document's RTF.

options:
  -o FILE         write the RTF to FILE (with DoxSaveFile); default: standard output
  -t, --trace FILE
                  write each call's result, and every report a call makes, to
                  FILE ("-" for standard output)
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

Reports: without --trace, a report that would show a message box prints one
line on standard error. With --trace each call prints "Name -> result" and
then its reports as "  report CODE CAPTION: MESSAGE" (line feeds as \n).

A script error (unknown export, wrong number or kind of arguments, bad escape)
stops doxrun with a message naming the line, exit status 2, and no output.
)";

struct TraceState {
  std::vector<std::string> reports;
};

void DOXAPI ReportSink(DOXDOC, int32_t code, const char *text, const char *caption, void *user) {
  auto *state = static_cast<TraceState *>(user);
  std::string line = "  report " + std::to_string(code) + " " + (caption ? caption : "(none)") + ": ";
  for (const char *p = text; p && *p; ++p) {
    if (*p == '\n')
      line += "\\n";
    else
      line += *p;
  }
  state->reports.push_back(line);
}

bool ReadFile(const std::string &name, std::string &text) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  text = ss.str();
  return true;
}

}  // namespace

int main(int argc, char **argv) {
  std::string script, output, trace;
  bool traceOn = false;
  for (int i = 1; i < argc; ++i) {
    std::string a = argv[i];
    if (a == "-h" || a == "--help") {
      std::cout << kHelp;
      return 0;
    } else if (a == "--list") {
      for (const doxrun::ExportDef *d : doxrun::AllExports())
        std::cout << d->name << " " << (*d->params ? d->params : "-") << "\n";
      return 0;
    } else if ((a == "-o" || a == "-t" || a == "--trace") && i + 1 < argc) {
      (a == "-o" ? output : trace) = argv[++i];
      if (a != "-o") traceOn = true;
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
  std::string text;
  if (!ReadFile(script, text)) {
    std::cerr << "doxrun: cannot read '" << script << "'\n";
    return 2;
  }
  std::vector<doxrun::Call> calls;
  std::string error;
  if (!doxrun::ParseScript(text, script, calls, error)) {
    std::cerr << "doxrun: " << error << "\n";
    return 2;
  }

  std::ofstream traceFile;
  std::ostream *traceOut = nullptr;
  if (traceOn) {
    if (trace == "-") {
      traceOut = &std::cout;
    } else {
      traceFile.open(trace, std::ios::binary);
      if (!traceFile) {
        std::cerr << "doxrun: cannot write '" << trace << "'\n";
        return 2;
      }
      traceOut = &traceFile;
    }
  }
  TraceState state;
  if (traceOut) DoxSetMessageSink(ReportSink, &state);

  DOXDOC doc = DoxNewDoc();
  if (!doc) {
    std::cerr << "doxrun: cannot create a document\n";
    return 1;
  }
  std::ostringstream extra;
  doxrun::CallContext ctx{doc, traceOut ? &extra : nullptr};
  for (const doxrun::Call &call : calls) {
    int64_t result = call.def->call(ctx, call.args);
    if (traceOut) {
      *traceOut << call.def->name << " -> " << result << "\n" << extra.str();
      for (const std::string &r : state.reports) *traceOut << r << "\n";
      extra.str("");
      state.reports.clear();
    }
  }

  int status = 0;
  if (!output.empty()) {
    if (!DoxSaveFile(doc, output.c_str())) {
      std::cerr << "doxrun: cannot write '" << output << "'\n";
      status = 1;
    }
  } else {
    uint32_t size = 0;
    DOXHMEM h = DoxGetData(doc, &size);
    if (!h) {
      std::cerr << "doxrun: the document could not be assembled\n";
      status = 1;
    } else {
      const char *p = static_cast<const char *>(DoxMemLock(h));
      std::fwrite(p, 1, size - 1, stdout);
      DoxMemUnlock(h);
      DoxMemFree(h);
    }
  }
  DoxEndDoc(doc);
  if (traceOut) DoxSetMessageSink(nullptr, nullptr);
  return status;
}
