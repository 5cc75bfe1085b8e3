// Windows metafiles and enhanced metafiles: the system's own, through gdi32.
#include <windows.h>

#include "platform/platform.h"

namespace dox::plat {
namespace {

HMETAFILE Meta(MetaHandle h) { return static_cast<HMETAFILE>(h); }
HENHMETAFILE EnhMeta(EnhMetaHandle h) { return static_cast<HENHMETAFILE>(h); }

}  // namespace

MetaHandle MetaFromBits(const void *bits, uint32_t size) {
  if (!bits) return nullptr;
  return SetMetaFileBitsEx(size, static_cast<const BYTE *>(bits));
}

MetaHandle MetaCopy(MetaHandle h) { return h ? CopyMetaFileA(Meta(h), nullptr) : nullptr; }

uint32_t MetaBits(MetaHandle h, uint32_t size, void *buffer) {
  if (!h) return 0;
  if (buffer && size < GetMetaFileBitsEx(Meta(h), 0, nullptr)) return 0;
  return GetMetaFileBitsEx(Meta(h), size, buffer);
}

bool MetaDelete(MetaHandle h) { return h && DeleteMetaFile(Meta(h)) != 0; }

EnhMetaHandle EnhMetaFromBits(const void *bits, uint32_t size) {
  if (!bits) return nullptr;
  return SetEnhMetaFileBits(size, static_cast<const BYTE *>(bits));
}

EnhMetaHandle EnhMetaCopy(EnhMetaHandle h) {
  return h ? CopyEnhMetaFileA(EnhMeta(h), nullptr) : nullptr;
}

uint32_t EnhMetaHeader(EnhMetaHandle h, uint32_t size, void *buffer) {
  if (!h) return 0;
  return GetEnhMetaFileHeader(EnhMeta(h), size, static_cast<ENHMETAHEADER *>(buffer));
}

uint32_t EnhMetaBits(EnhMetaHandle h, uint32_t size, void *buffer) {
  if (!h) return 0;
  if (buffer && size < GetEnhMetaFileBits(EnhMeta(h), 0, nullptr)) return 0;
  return GetEnhMetaFileBits(EnhMeta(h), size, static_cast<BYTE *>(buffer));
}

bool EnhMetaDelete(EnhMetaHandle h) { return h && DeleteEnhMetaFile(EnhMeta(h)) != 0; }

}  // namespace dox::plat
