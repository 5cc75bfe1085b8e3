// A clipboard of this process for systems without Windows: empty at start,
// opened by one caller at a time, owning the data put on it (up to
// kFormats formats at once) until it is emptied, at the latest when the
// process ends.
#include <cstdlib>

#include "platform/spin_lock.h"

#include "platform/platform.h"

namespace dox::plat {
namespace {

constexpr int kFormats = 32;

struct Entry {
  uint32_t format;
  void *data;  // a host memory handle or enhanced-metafile handle; null when free
};

struct Clipboard {
  SpinLock busy;  // guards the fields below
  bool open;
  Entry entries[kFormats];
};

constinit Clipboard g_board{};

class Guard : public SpinGuard {
 public:
  Guard() : SpinGuard(g_board.busy) {}
};

Entry *Find(uint32_t format) {
  for (Entry &e : g_board.entries)
    if (e.data && e.format == format) return &e;
  return nullptr;
}

// Whether `data` is a live handle of the kind the format holds.
bool Valid(uint32_t format, void *data) {
  if (format == kClipEnhMetafile) return EnhMetaBits(data, 0, nullptr) != 0;
  return MemFromHost(data) != nullptr;
}

// Frees data the clipboard owns: an enhanced metafile, or a block (with the
// metafile of a metafile picture, when the block holds one).
void Release(uint32_t format, void *data) {
  if (format == kClipEnhMetafile) {
    EnhMetaDelete(data);
    return;
  }
  MemHandle block = MemTakeFromHost(data);
  if (!block) return;
  if (format == kClipMetafilePict && MemSize(block) >= sizeof(MetaFilePict)) {
    MetaDelete(static_cast<MetaFilePict *>(MemLock(block))->hMF);
    MemUnlock(block);
  }
  MemFree(block);
}

// Moves everything on the clipboard to `old`. Under the guard.
void TakeAll(Entry *old) {
  for (int i = 0; i < kFormats; ++i) {
    old[i] = g_board.entries[i];
    g_board.entries[i].data = nullptr;
  }
}

void ReleaseTaken(Entry *old) {
  for (int i = 0; i < kFormats; ++i)
    if (old[i].data) Release(old[i].format, old[i].data);
}

// Frees what is left on the clipboard when the process ends.
void ReleaseAll() {
  Entry old[kFormats];
  {
    Guard g;
    TakeAll(old);
  }
  ReleaseTaken(old);
}

__attribute__((constructor)) void ReleaseAtExit() { std::atexit(ReleaseAll); }

}  // namespace

bool ClipOpen() {
  Guard g;
  if (g_board.open) return false;
  g_board.open = true;
  return true;
}

bool ClipClose() {
  Guard g;
  if (!g_board.open) return false;
  g_board.open = false;
  return true;
}

bool ClipFormatAvailable(uint32_t format) {
  Guard g;
  return Find(format) != nullptr;
}

void *ClipGetData(uint32_t format) {
  Guard g;
  if (!g_board.open) return nullptr;
  Entry *e = Find(format);
  return e ? e->data : nullptr;
}

bool ClipSetData(uint32_t format, void *data) {
  if (!data || !Valid(format, data)) return false;
  void *old = nullptr;
  {
    Guard g;
    if (!g_board.open) return false;
    Entry *e = Find(format);
    for (Entry &unused : g_board.entries)
      if (!e && !unused.data) e = &unused;
    if (!e) return false;  // no room for another format
    old = e->data;
    e->format = format;
    e->data = data;
  }
  if (old && old != data) Release(format, old);
  return true;
}

bool ClipEmpty() {
  Entry old[kFormats];
  {
    Guard g;
    if (!g_board.open) return false;
    TakeAll(old);
  }
  ReleaseTaken(old);
  return true;
}

}  // namespace dox::plat
