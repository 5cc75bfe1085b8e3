// Screen, code page, message boxes and fonts on Windows.
#include <windows.h>

#include <cstddef>

#include "platform/platform.h"

namespace dox::plat {

static_assert(sizeof(LogFont) == sizeof(LOGFONTA) &&
              offsetof(LogFont, lfCharSet) == offsetof(LOGFONTA, lfCharSet) &&
              offsetof(LogFont, lfPitchAndFamily) == offsetof(LOGFONTA, lfPitchAndFamily) &&
              offsetof(LogFont, lfFaceName) == offsetof(LOGFONTA, lfFaceName));

void ShowDefaultMessage(const char *text, const char *caption) {
  MessageBoxA(nullptr, text, caption, MB_OK);
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
