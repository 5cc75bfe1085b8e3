// Files on Windows.
#include <windows.h>

#include "platform/platform.h"

namespace dox::plat {

FileHandle FileCreate(const char *name) {
  if (!name || !*name) return kNoFile;
  HANDLE f = CreateFileA(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                         nullptr);
  return f == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(f);
}

FileHandle FileOpenRead(const char *name) {
  if (!name || !*name) return kNoFile;
  HANDLE f = CreateFileA(name, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return f == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(f);
}

bool FileWrite(FileHandle f, const void *data, uint32_t length) {
  DWORD written = 0;
  return WriteFile(reinterpret_cast<HANDLE>(f), data, length, &written, nullptr) &&
         written == length;
}

void FileReserve(FileHandle, uint64_t) {}

bool FileRead(FileHandle f, void *data, uint32_t length, uint32_t *done) {
  DWORD read = 0;
  BOOL ok = ReadFile(reinterpret_cast<HANDLE>(f), data, length, &read, nullptr);
  *done = read;
  return ok != 0;
}

int64_t FileSeek(FileHandle f, int64_t offset, int whence) {
  LONG high = static_cast<LONG>(offset >> 32);
  DWORD method = whence == 0 ? FILE_BEGIN : whence == 1 ? FILE_CURRENT : FILE_END;
  DWORD low = SetFilePointer(reinterpret_cast<HANDLE>(f), static_cast<LONG>(offset & 0xFFFFFFFF),
                             &high, method);
  if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
  return (static_cast<int64_t>(high) << 32) | low;
}

void FileClose(FileHandle f) {
  if (f != kNoFile) CloseHandle(reinterpret_cast<HANDLE>(f));
}

}  // namespace dox::plat
