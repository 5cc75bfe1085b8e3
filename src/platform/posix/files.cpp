// Plain files for systems without Windows.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace dox::plat {

FileHandle FileCreate(const char *name) {
  if (!name || !*name) return kNoFile;
  int fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  return fd < 0 ? kNoFile : fd;
}

FileHandle FileOpenRead(const char *name) {
  if (!name || !*name) return kNoFile;
  int fd = ::open(name, O_RDONLY | O_CLOEXEC);
  if (fd < 0) return kNoFile;
  struct stat st;
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return kNoFile;
  }
  return fd;
}

bool FileWrite(FileHandle f, const void *data, uint32_t length) {
  const char *p = static_cast<const char *>(data);
  while (length > 0) {
    ssize_t n = ::write(static_cast<int>(f), p, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= static_cast<uint32_t>(n);
  }
  return true;
}

bool FileRead(FileHandle f, void *data, uint32_t length, uint32_t *done) {
  char *p = static_cast<char *>(data);
  uint32_t total = 0;
  while (total < length) {
    ssize_t n = ::read(static_cast<int>(f), p + total, length - total);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *done = total;
      return false;
    }
    if (n == 0) break;
    total += static_cast<uint32_t>(n);
  }
  *done = total;
  return true;
}

int64_t FileSeek(FileHandle f, int64_t offset, int whence) {
  int w = whence == 0 ? SEEK_SET : whence == 1 ? SEEK_CUR : SEEK_END;
  off_t r = ::lseek(static_cast<int>(f), static_cast<off_t>(offset), w);
  return r < 0 ? -1 : static_cast<int64_t>(r);
}

void FileClose(FileHandle f) {
  if (f != kNoFile) ::close(static_cast<int>(f));
}

}  // namespace dox::plat
