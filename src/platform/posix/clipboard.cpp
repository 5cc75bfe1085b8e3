// A clipboard of this process for systems without Windows: empty at start,
// opened by one caller at a time, owning the data put on it.
#include <map>
#include <mutex>

#include "platform/platform.h"

namespace dox::plat {
namespace {

struct Clipboard {
  std::mutex mutex;
  bool open = false;
  std::map<uint32_t, void *> data;  // format -> block or enhanced-metafile handle
};

Clipboard &Board() {
  static auto *b = new Clipboard();
  return *b;
}

// Frees data the clipboard owns: an enhanced metafile, or a block (with the
// metafile of a metafile picture, when the block holds one).
void Release(uint32_t format, void *data) {
  if (format == kClipEnhMetafile) {
    EnhMetaDelete(data);
    return;
  }
  if (format == kClipMetafilePict && MemSize(data) >= sizeof(MetaFilePict)) {
    if (auto *pict = static_cast<MetaFilePict *>(MemLock(data))) {
      MetaDelete(pict->hMF);
      MemUnlock(data);
    }
  }
  MemFree(data);
}

}  // namespace

bool ClipOpen() {
  Clipboard &b = Board();
  std::lock_guard<std::mutex> lock(b.mutex);
  if (b.open) return false;
  b.open = true;
  return true;
}

bool ClipClose() {
  Clipboard &b = Board();
  std::lock_guard<std::mutex> lock(b.mutex);
  if (!b.open) return false;
  b.open = false;
  return true;
}

bool ClipFormatAvailable(uint32_t format) {
  Clipboard &b = Board();
  std::lock_guard<std::mutex> lock(b.mutex);
  return b.data.count(format) != 0;
}

void *ClipGetData(uint32_t format) {
  Clipboard &b = Board();
  std::lock_guard<std::mutex> lock(b.mutex);
  if (!b.open) return nullptr;
  auto it = b.data.find(format);
  return it == b.data.end() ? nullptr : it->second;
}

bool ClipSetData(uint32_t format, void *data) {
  Clipboard &b = Board();
  void *old = nullptr;
  {
    std::lock_guard<std::mutex> lock(b.mutex);
    if (!b.open || !data) return false;
    void *&slot = b.data[format];
    old = slot;
    slot = data;
  }
  if (old && old != data) Release(format, old);
  return true;
}

bool ClipEmpty() {
  Clipboard &b = Board();
  std::map<uint32_t, void *> old;
  {
    std::lock_guard<std::mutex> lock(b.mutex);
    if (!b.open) return false;
    old.swap(b.data);
  }
  for (auto &[format, data] : old) Release(format, data);
  return true;
}

}  // namespace dox::plat
