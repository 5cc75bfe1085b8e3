// Message boxes go to the installed sink when there is one, on every system;
// otherwise to the system's own box (ShowDefaultMessage).
#include "platform/platform.h"
#include "platform/spin_lock.h"

namespace dox::plat {
namespace {

// The sink and its argument, set and read together.
SpinLock g_sinkLock;
MessageSink g_sink = nullptr;
void *g_sinkUser = nullptr;

}  // namespace

void ShowMessage(DoxDocumentTag *doc, int32_t code, const char *text, const char *caption) {
  MessageSink sink;
  void *user;
  {
    SpinGuard guard(g_sinkLock);
    sink = g_sink;
    user = g_sinkUser;
  }
  if (sink)
    sink(doc, code, text, caption, user);
  else
    ShowDefaultMessage(text, caption);
}

void SetMessageSink(MessageSink sink, void *user) {
  SpinGuard guard(g_sinkLock);
  g_sink = sink;
  g_sinkUser = sink ? user : nullptr;
}

}  // namespace dox::plat
