// Metafiles and enhanced metafiles for systems without Windows graphics: each
// handle is a memory block holding the metafile's bytes, known to the host by
// a handle of a table of its kind, so a handle of the wrong kind, a deleted
// one or one that was never made is refused without being followed.
#include <cstring>

#include "platform/handle_table.h"
#include "platform/platform.h"

namespace dox::plat {
namespace {

constexpr uint32_t kMetaHeaderSize = 18;    // METAHEADER
constexpr uint32_t kEnhMinHeaderSize = 88;  // ENHMETAHEADER without its later fields
constexpr uint32_t kEnhSignature = 0x464D4520;  // " EMF"

uint32_t Load32(const unsigned char *p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
uint16_t Load16(const unsigned char *p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

class Registry {
 public:
  explicit constexpr Registry(uint32_t kind) : handles_(kind) {}
  // A new metafile holding a copy of `bytes`; null when memory runs out.
  void *Make(const void *bytes, size_t size) {
    MemHandle h = MemAlloc(size, false);
    if (!h) return nullptr;
    void *p = MemLock(h);
    if (size) std::memcpy(p, bytes, size);
    MemUnlock(h);
    void *handle = handles_.Add(h);
    if (!handle) MemFree(h);
    return handle;
  }
  bool Delete(void *h) {
    MemHandle block = handles_.Remove(h);
    if (!block) return false;
    MemFree(block);
    return true;
  }
  // The result of `use(bytes, size)` on a live handle's bytes; 0 for any other handle.
  template <typename F>
  uint32_t With(void *h, F use) {
    MemHandle block = handles_.Find(h);
    if (!block) return 0;
    auto *p = static_cast<const unsigned char *>(MemLock(block));
    uint32_t r = use(p, static_cast<uint32_t>(MemSize(block)));
    MemUnlock(block);
    return r;
  }
  void *Copy(void *h) {
    void *copy = nullptr;
    With(h, [&](const unsigned char *p, uint32_t size) {
      copy = Make(p, size);
      return 1u;
    });
    return copy;
  }

 private:
  HandleTable handles_;
};

constinit Registry g_metafiles(kHandleMetafile);
constinit Registry g_enhMetafiles(kHandleEnhMetafile);
Registry &Metafiles() { return g_metafiles; }
Registry &EnhMetafiles() { return g_enhMetafiles; }

// Copies all `size` bytes at `p` into `buffer` when it has room for them.
uint32_t CopyOut(const unsigned char *p, uint32_t size, uint32_t room, void *buffer) {
  if (!buffer) return size;
  if (room < size) return 0;
  if (size) std::memcpy(buffer, p, size);
  return size;
}

}  // namespace

MetaHandle MetaFromBits(const void *bits, uint32_t size) {
  auto *p = static_cast<const unsigned char *>(bits);
  if (!p || size < kMetaHeaderSize) return nullptr;
  uint16_t type = Load16(p), headerWords = Load16(p + 2);
  if ((type != 1 && type != 2) || headerWords != kMetaHeaderSize / 2) return nullptr;
  return Metafiles().Make(p, size);
}

MetaHandle MetaCopy(MetaHandle h) { return Metafiles().Copy(h); }

uint32_t MetaBits(MetaHandle h, uint32_t size, void *buffer) {
  return Metafiles().With(h, [&](const unsigned char *p, uint32_t n) {
    return CopyOut(p, n, size, buffer);
  });
}

bool MetaDelete(MetaHandle h) { return Metafiles().Delete(h); }

EnhMetaHandle EnhMetaFromBits(const void *bits, uint32_t size) {
  auto *p = static_cast<const unsigned char *>(bits);
  if (!p || size < kEnhMinHeaderSize || Load32(p) != 1 || Load32(p + 40) != kEnhSignature)
    return nullptr;
  return EnhMetafiles().Make(p, size);
}

EnhMetaHandle EnhMetaCopy(EnhMetaHandle h) { return EnhMetafiles().Copy(h); }

uint32_t EnhMetaHeader(EnhMetaHandle h, uint32_t size, void *buffer) {
  return EnhMetafiles().With(h, [&](const unsigned char *p, uint32_t n) -> uint32_t {
    uint32_t headerSize = Load32(p + 4);
    if (headerSize < kEnhMinHeaderSize || headerSize > n) return 0;
    if (!buffer) return headerSize;
    uint32_t count = size < headerSize ? size : headerSize;
    if (count) std::memcpy(buffer, p, count);
    return count;
  });
}

uint32_t EnhMetaBits(EnhMetaHandle h, uint32_t size, void *buffer) {
  return EnhMetafiles().With(h, [&](const unsigned char *p, uint32_t n) {
    return CopyOut(p, n, size, buffer);
  });
}

bool EnhMetaDelete(EnhMetaHandle h) { return EnhMetafiles().Delete(h); }

}  // namespace dox::plat
