#include "runner.h"

#include <cstring>
#include <sstream>

namespace doxrun {
namespace {

// The message boxes of one call, kept without allocating (the sink runs
// inside the library's call) and formatted after it.
struct Capture {
  struct Box {
    int32_t code;
    bool hasCaption;
    char text[700], caption[128];
  } boxes[8];
  int count = 0;
  std::vector<std::string> lines;     // "  report CODE CAPTION: MESSAGE" for the trace
  std::vector<std::string> refusals;  // "MESSAGE (CAPTION)"
};
thread_local Capture *t_capture = nullptr;

std::string OneLine(const char *text) {
  std::string s;
  for (const char *p = text; p && *p; ++p) s += *p == '\n' ? std::string("\\n") : std::string(1, *p);
  return s;
}

void CopyOut(char *to, size_t n, const char *from) {
  std::strncpy(to, from ? from : "", n - 1);
  to[n - 1] = '\0';
}

void DOXAPI Sink(DOXDOC, int32_t code, const char *text, const char *caption, void *) {
  if (!t_capture || t_capture->count == 8) return;
  Capture::Box &b = t_capture->boxes[t_capture->count++];
  b.code = code;
  b.hasCaption = caption != nullptr;
  CopyOut(b.text, sizeof b.text, text);
  CopyOut(b.caption, sizeof b.caption, caption);
}

void Format(Capture &c) {
  for (int i = 0; i < c.count; ++i) {
    const Capture::Box &b = c.boxes[i];
    c.lines.push_back("  report " + std::to_string(b.code) + " " +
                      (b.hasCaption ? b.caption : "(none)") + ": " + OneLine(b.text));
    c.refusals.push_back(OneLine(b.text) + " (" + (b.hasCaption ? b.caption : "no caption") + ")");
  }
  c.count = 0;
}

struct Recorded {
  int32_t code;
  std::string message, caption;
  bool operator==(const Recorded &o) const {
    return code == o.code && message == o.message && caption == o.caption;
  }
};
Recorded LastRecorded() {
  char message[700] = {0}, caption[128] = {0};
  int32_t code = DoxGetLastMessage(message, caption);
  return {code, message, caption};
}

// The file pseudo-calls, refused where the caller does not allow files.
bool IsFileCall(const ExportDef *def) {
  static const char *const kFileCalls[] = {"WriteFile", "DeleteFile", "ClipboardPutFile", "PasteFile",
                                            "InsertImageDataOf"};
  for (const char *name : kFileCalls)
    if (std::strcmp(def->name, name) == 0) return true;
  return false;
}

}  // namespace

bool DocumentText(DOXDOC doc, std::string &text) {
  uint32_t size = 0;
  DOXHMEM h = DoxGetData(doc, &size);
  if (!h) return false;
  const char *p = static_cast<const char *>(DoxMemLock(h));
  text.assign(p ? p : "", p && size ? size - 1 : 0);
  DoxMemUnlock(h);
  DoxMemFree(h);
  return true;
}

bool OneBalancedGroup(const std::string &t) {
  long depth = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    if (t[i] == '\\') ++i;
    else if (t[i] == '{') ++depth;
    else if (t[i] == '}' && (--depth < 0 || (depth == 0 && i + 1 != t.size()))) return false;
  }
  return !t.empty() && t[0] == '{' && depth == 0;
}

void RunCalls(const std::vector<Call> &calls, const RunOptions &options, RunResult &result,
              Deliver deliver, void *user) {
  if (options.installSink) DoxSetMessageSink(Sink, nullptr);
  Capture capture;
  Capture *outer = t_capture;
  t_capture = &capture;
  DOXDOC doc = options.givenDocument ? options.document : DoxNewDoc();
  result.madeDocument = doc != nullptr;
  std::ostringstream trace, extra;
  CallContext ctx{doc, options.trace ? &extra : nullptr};
  for (const Call &call : calls) {
    capture.count = 0;
    capture.lines.clear();
    capture.refusals.clear();
    const Recorded before = LastRecorded();
    int64_t value = 0;
    const bool wrapped = options.around && call.def->signature;
    if (wrapped) options.around(true, call.def->name);
    if (options.fileCalls || !IsFileCall(call.def)) value = call.def->call(ctx, call.args);
    if (wrapped) options.around(false, call.def->name);
    Format(capture);
    const Recorded after = LastRecorded();
    if (after.code != 0 && !(after == before))
      capture.refusals.push_back(OneLine(after.message.c_str()) + " (" + after.caption + ")");
    if (options.trace) {
      std::string one = std::string(call.def->name) + " -> " + std::to_string(value);
      trace << one << "\n" << extra.str();
      std::istringstream lines(extra.str());
      for (std::string r; std::getline(lines, r);) one += " |" + r.substr(1);
      for (const std::string &r : capture.lines) {
        trace << r << "\n";
        one += " |" + r.substr(1);
      }
      result.calls.push_back(one);
      extra.str("");
    }
    if (!capture.refusals.empty()) {
      ++result.refusedCalls;
      for (const std::string &r : capture.refusals)
        result.refusals += options.scriptName + ":" + std::to_string(call.line) + ": " +
                           call.def->name + ": " + r + "\n";
      if (options.stopAtRefusal) break;
    }
  }
  result.trace += trace.str();
  if (options.keepText) result.delivered = DocumentText(doc, result.text);
  if (deliver) deliver(doc, user);
  DoxEndDoc(doc);
  t_capture = outer;
}

}  // namespace doxrun
