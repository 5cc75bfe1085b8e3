// The clipboard on Windows: the system's own, through user32.
#include <windows.h>

#include <cstddef>

#include "platform/platform.h"

namespace dox::plat {

static_assert(kClipMetafilePict == CF_METAFILEPICT && kClipDib == CF_DIB &&
              kClipEnhMetafile == CF_ENHMETAFILE);
static_assert(sizeof(MetaFilePict) == sizeof(METAFILEPICT) &&
              offsetof(MetaFilePict, mm) == offsetof(METAFILEPICT, mm) &&
              offsetof(MetaFilePict, xExt) == offsetof(METAFILEPICT, xExt) &&
              offsetof(MetaFilePict, yExt) == offsetof(METAFILEPICT, yExt) &&
              offsetof(MetaFilePict, hMF) == offsetof(METAFILEPICT, hMF));

bool ClipOpen() { return OpenClipboard(nullptr) != 0; }

bool ClipClose() { return CloseClipboard() != 0; }

bool ClipFormatAvailable(uint32_t format) { return IsClipboardFormatAvailable(format) != 0; }

void *ClipGetData(uint32_t format) { return GetClipboardData(format); }

bool ClipSetData(uint32_t format, void *data) {
  return data && SetClipboardData(format, static_cast<HANDLE>(data)) != nullptr;
}

bool ClipEmpty() { return EmptyClipboard() != 0; }

}  // namespace dox::plat
