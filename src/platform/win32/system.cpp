// Screen, code page, message boxes, fonts and the library entry point on Windows.
#include <windows.h>

#include <cstddef>

#include "core/library_state.h"
#include "platform/platform.h"
#include "platform/spin_lock.h"

namespace dox::plat {

static_assert(sizeof(LogFont) == sizeof(LOGFONTA) &&
              offsetof(LogFont, lfCharSet) == offsetof(LOGFONTA, lfCharSet) &&
              offsetof(LogFont, lfPitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily) &&
              offsetof(LogFont, lfFaceName) == offsetof(LOGFONTA, lfFaceName));

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
  if (sink) {
    sink(doc, code, text, caption, user);
    return;
  }
  MessageBoxA(nullptr, text, caption, MB_OK);
}

void SetMessageSink(MessageSink sink, void *user) {
  SpinGuard guard(g_sinkLock);
  g_sink = sink;
  g_sinkUser = sink ? user : nullptr;
}

void ScreenDpi(int32_t *x, int32_t *y) {
  HDC dc = GetDC(nullptr);
  *x = GetDeviceCaps(dc, LOGPIXELSX);
  *y = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
}

int32_t AnsiMaxCharSize() {
  CPINFO info;
  return GetCPInfo(CP_ACP, &info) ? static_cast<int32_t>(info.MaxCharSize) : 1;
}

// An empty name is no face: EnumFontsA would take it for "every face" and
// report the first font of the system.
void EnumFontFaces(const char *name, FontCallback callback, intptr_t user) {
  if (!name || !*name) return;
  HDC dc = GetDC(nullptr);
  EnumFontsA(dc, name, reinterpret_cast<FONTENUMPROCA>(reinterpret_cast<void *>(callback)),
             static_cast<LPARAM>(user));
  ReleaseDC(nullptr, dc);
}

}  // namespace dox::plat

// The DLL's entry point: the library start-up on process attach.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  return dox::LibraryEntry(reason) ? TRUE : FALSE;
}
