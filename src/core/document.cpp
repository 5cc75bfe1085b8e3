// Creating, ending and flagging documents.
#include "core/document.h"

#include "core/errors.h"
#include "core/library_state.h"
#include "dox.h"

namespace dox {

constinit plat::HandleTable g_documents(plat::kHandleDocument);

namespace {

constexpr int32_t kInitialBodyCapacity = 1000;

// A locked movable block of `bytes` bytes, zero-filled. Reports a failed
// allocation under "OurAlloc" following the library's flags; a failed lock
// is not reported.
void *AllocLocked(plat::MemHandle &handle, size_t bytes, bool grows = false) {
  handle = grows ? plat::MemAllocLarge(bytes, true, true) : plat::MemAlloc(bytes, true);
  if (!handle) {
    ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurAlloc");
    return nullptr;
  }
  void *p = plat::MemLock(handle);
  if (!p) {
    plat::MemFree(handle);
    handle = nullptr;
  }
  return p;
}

void FreeLocked(plat::MemHandle handle, bool reusable = false) {
  if (!handle) return;
  plat::MemUnlock(handle);
  if (reusable)
    plat::MemFreeLarge(handle);
  else
    plat::MemFree(handle);
}

void FreeDocument(Document *doc) {
  for (RowRecord &row : doc->Tables.Rows) FreeLocked(row.cellDefsHandle);  // the rows still open
  ReleaseReaderState(doc);
  if (doc->Fonts) FreeLocked(doc->FontsHandle);
  if (doc->Colors) FreeLocked(doc->ColorsHandle);
  if (doc->Stream) {
    if (doc->Stream->Body) FreeLocked(doc->Stream->BodyHandle, true);
    FreeLocked(doc->StreamHandle);
  }
  FreeLocked(doc->SelfHandle);
}

}  // namespace
}  // namespace dox

using namespace dox;

extern "C" {

DOXEXPORT DOXDOC DOXAPI DoxNewDoc(void) {
  plat::MemHandle self;
  auto *doc = static_cast<Document *>(AllocLocked(self, sizeof(Document) + 1));
  if (!doc) return nullptr;
  doc->SelfHandle = self;
  doc->Stream = static_cast<OutputStream *>(AllocLocked(doc->StreamHandle, sizeof(OutputStream) + 1));
  if (doc->Stream) {
    doc->ColorCapacity = kInitialTableCapacity;
    doc->FontCapacity = kInitialTableCapacity;
    doc->Colors = static_cast<ColorEntry *>(
        AllocLocked(doc->ColorsHandle, ColorTableBytes(doc->ColorCapacity)));
  }
  if (doc->Colors)
    doc->Fonts = static_cast<FontEntry *>(
        AllocLocked(doc->FontsHandle, FontTableBytes(doc->FontCapacity)));
  if (!doc->Fonts) {
    FreeDocument(doc);
    return nullptr;
  }
  plat::ScreenDpi(&doc->ScreenDpiX, &doc->ScreenDpiY);
  doc->AtParaStart = 1;
  doc->DocFlags = LibraryFlags();
  doc->TableLevel = -1;
  OutputStream *s = doc->Stream;
  s->BodyCapacity = kInitialBodyCapacity;
  s->Body = static_cast<char *>(
      AllocLocked(s->BodyHandle, kBodyRoomBefore + kInitialBodyCapacity + 1 + kLineRoom, true));
  LineAfterBody(s);
  if (!s->Body) {
    FreeDocument(doc);
    return nullptr;
  }
  PutWord(doc, s, "ansi");
  PutWord(doc, s, "ftnbj");
  AlignBodyToFrame(doc);
  // A full table of handles is memory run out too.
  void *handle = g_documents.Add(doc);
  if (!handle) {
    FreeDocument(doc);
    ReportLibraryError(DOX_ERR_OUT_OF_MEMORY, "OurAlloc");
    return nullptr;
  }
  doc->Handle = static_cast<DOXDOC>(handle);
  return doc->Handle;
}

// 1; 0 for a handle that is no live document (other than 0).
DOXEXPORT int32_t DOXAPI DoxEndDoc(DOXDOC handle) {
  if (!handle) return 1;
  auto *doc = static_cast<Document *>(g_documents.Remove(handle));
  if (!doc) return 0;
  FreeDocument(doc);
  return 1;
}

// With a handle that is no live document (other than 0): 0, nothing changed.
DOXEXPORT uint32_t DOXAPI DoxSetFlags(DOXDOC handle, int32_t set, uint32_t flags) {
  if (!handle) return SetLibraryFlags(set, flags);
  Document *doc = FromHandle(handle);
  if (!doc) return 0;
  flags = AdmitReaderFlag(doc, set, flags);
  if (set)
    doc->DocFlags |= flags;
  else
    doc->DocFlags &= ~flags;
  return doc->DocFlags;
}

}  // extern "C"
