// The Windows DLL's entry point: the library start-up on process attach.
#if defined(_WIN32)
#include <windows.h>

#include "core/library_state.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  return dox::LibraryEntry(reason) ? TRUE : FALSE;
}
#endif
