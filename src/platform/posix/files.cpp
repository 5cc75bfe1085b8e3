// Plain files for systems without Windows.
#include <fcntl.h>
#include <sys/stat.h>
#if defined(__linux__)
#include <sys/vfs.h>
#endif
#include <unistd.h>

#include <cerrno>
#include <cstring>

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

namespace {

bool WriteAll(int fd, const char *p, uint32_t length) {
  while (length > 0) {
    ssize_t n = ::write(fd, p, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= static_cast<uint32_t>(n);
  }
  return true;
}

// The kernel copies a write into the file's pages with "rep movsb", which on
// some processors runs about three times slower when each destination byte
// lies 1-15 bytes past its source in the 4 KB page (a document body written
// after an 18-byte header from a block that starts 16 bytes into its page
// is such a case). Large writes placed so go through a buffer.
constexpr uint32_t kLeastStaged = 256 * 1024;
constexpr uint32_t kStagedStep = 1024 * 1024;  // within a core's second-level cache
constexpr uintptr_t kPage = 4096;

bool CloseBehind(int fd, const char *p, uint32_t length) {
  if (length < kLeastStaged) return false;
  const off_t at = ::lseek(fd, 0, SEEK_CUR);
  if (at < 0) return false;  // a pipe or a device: no pages of its own
  const uintptr_t ahead = (static_cast<uintptr_t>(at) - reinterpret_cast<uintptr_t>(p)) & (kPage - 1);
  return ahead >= 1 && ahead < 16;
}

// Staged a step at a time.
bool WriteStaged(int fd, const char *p, uint32_t length) {
  const uint32_t step = length < kStagedStep ? length : kStagedStep;
  MemHandle h = MemAlloc(step + kPage, false);
  char *buffer = h ? static_cast<char *>(MemLock(h)) : nullptr;
  if (!buffer) {
    if (h) MemFree(h);
    return WriteAll(fd, p, length);  // slower, not wrong
  }
  // Half a page from the source: the copy into the buffer (libc's memcpy
  // may use "rep movsb" too) and the kernel's copy out of it both run far
  // from that case.
  char *stage = buffer + ((reinterpret_cast<uintptr_t>(p) + kPage / 2 - reinterpret_cast<uintptr_t>(buffer)) & (kPage - 1));
  bool ok = true;
  while (ok && length > 0) {
    const uint32_t k = length < step ? length : step;
    std::memcpy(stage, p, k);
    ok = WriteAll(fd, stage, k);
    p += k;
    length -= k;
  }
  MemUnlock(h);
  MemFree(h);
  return ok;
}

}  // namespace

bool FileWrite(FileHandle f, const void *data, uint32_t length) {
  const int fd = static_cast<int>(f);
  const char *p = static_cast<const char *>(data);
  return CloseBehind(fd, p, length) ? WriteStaged(fd, p, length) : WriteAll(fd, p, length);
}

// On ext4 a new file of a few hundred kilobytes or more is written about a
// fifth faster when its blocks are allocated at once beforehand than when
// each page written reserves its block (delayed allocation). For smaller
// files the extra call costs more than it saves, and on tmpfs (pages, not
// blocks) reserving only adds work, so other file systems are left alone.
void FileReserve(FileHandle f, uint64_t bytes) {
#if defined(__linux__)
  constexpr uint64_t kLeastReserved = 256 * 1024;
  constexpr decltype(statfs::f_type) kExt4 = 0xEF53;  // also ext2 and ext3
  const int fd = static_cast<int>(f);
  struct statfs fs;
  if (bytes < kLeastReserved || bytes > INT64_MAX || ::fstatfs(fd, &fs) != 0 || fs.f_type != kExt4)
    return;
  // The file keeps its size: should a write fail, it holds what was written.
  (void)::fallocate(fd, FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
#else
  (void)f, (void)bytes;
#endif
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
