// The platform layer: every operating-system service the library uses.
// win32/ implements it with the real Windows calls; posix/ with small
// implementations of our own that keep the values and effects the library
// relies on (movable memory blocks with handles, a 96 dpi screen, a
// single-byte ANSI code page, a built-in font list, plain files).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

struct DoxDocumentTag;  // dox.h: the document handle

namespace dox::plat {

// ---- Global memory: movable blocks with handles --------------------------
// The library's own blocks. Their handles are trusted: only the library makes
// them, and it passes none it has not made.
using MemHandle = void *;

// A movable block of `bytes` bytes (zero-filled when `zero`). Null on failure.
MemHandle MemAlloc(size_t bytes, bool zero);
// MemAlloc for a block that may be large: one that `grows` step by step (a
// document's body) or a delivered document. It may reuse a block kept by
// MemFreeLarge, whose pages are in place. It tries a lock: call it only where
// a document is made or delivered.
MemHandle MemAllocLarge(size_t bytes, bool zero, bool grows);
// Resizes an unlocked block; null on failure (the old block is untouched).
MemHandle MemReAlloc(MemHandle h, size_t bytes);
// Locks the block and returns its address; null for a null handle.
void *MemLock(MemHandle h);
// Unlocks once; false when the block is no longer locked.
bool MemUnlock(MemHandle h);
// MemUnlock, MemReAlloc and MemLock in one call, for a block locked once:
// `h` becomes the reallocated block (it stays when the block could not
// grow) and `grown` says which; returns the address of `h` locked again.
void *MemReAllocLocked(MemHandle &h, size_t bytes, bool &grown);
// Size in bytes; 0 for a null handle.
size_t MemSize(MemHandle h);
// Frees the block: null on success, the handle itself on failure.
MemHandle MemFree(MemHandle h);
// MemFree keeping a large block for MemAllocLarge. It tries a lock: call it
// only where a document ends or the host frees a block.
MemHandle MemFreeLarge(MemHandle h);
// Frees the blocks MemFreeLarge kept; the bytes freed.
size_t ReleaseKeptBlocks();

// Blocks handed to the host or received from it are known there by host
// handles, which are checked: on Windows the block's own handle, which the
// system checks; elsewhere an entry of a table with generations, looked up
// without a lock.
// The host handle of `block`; null when none can be made (the block stays
// the caller's).
MemHandle HostFromMem(MemHandle block);
// The block of a live host handle; null for 0, a freed or a made-up handle.
MemHandle MemFromHost(MemHandle host);
// Ends a host handle and returns its block (for the caller to free); null
// when the handle is not a live one.
MemHandle MemTakeFromHost(MemHandle host);

// Test hooks, off until a test calls one of the three functions below; while
// off they cost the load of one flag.
// Makes the Nth allocation or reallocation from now fail (1 = the next one);
// 0 turns failures off. Counts both kinds of request.
void MemFailNth(long n);
// Allocations and reallocations requested while the hooks were on.
long MemRequestCount();
// Blocks allocated while the hooks were on and not freed yet (leak checks).
long MemLiveBlocks();
// For the memory layers: whether the hooks are on; counting a request (true
// when the hook makes it fail); counting a block made (+1) or freed (-1).
extern std::atomic<bool> g_memHooksOn;
inline bool MemHooksOn() { return g_memHooksOn.load(std::memory_order_relaxed); }
bool AllocationRequestFails();
void CountLiveBlock(long change);

// ---- User interface ------------------------------------------------------
// Shows a modal message box with only an OK button; caption may be null (the
// system's default caption). Goes to the installed sink when there is one,
// with doc, the handle of the document the report is about (null: none).
void ShowMessage(DoxDocumentTag *doc, int32_t code, const char *text, const char *caption);
using MessageSink = void(
#if defined(_WIN32) && !defined(_WIN64)
    __stdcall
#endif
        *)(DoxDocumentTag *doc, int32_t code, const char *text, const char *caption, void *user);
void SetMessageSink(MessageSink sink, void *user);
// The system's own message box (a line on standard error outside Windows).
void ShowDefaultMessage(const char *text, const char *caption);

// Pixels per logical inch of the screen.
void ScreenDpi(int32_t *x, int32_t *y);
// Largest number of bytes per character of the ANSI code page.
int32_t AnsiMaxCharSize();

// Whether the processor runs AVX2 instructions (known in x86-64 builds of
// GCC and Clang; elsewhere no).
inline bool CpuHasAvx2() {
#if defined(__x86_64__) && defined(__GNUC__)
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2") != 0;
#else
  return false;
#endif
}

// ---- Fonts ---------------------------------------------------------------
// The layout of the system's LOGFONTA, as handed to the enumeration callback.
struct LogFont {
  int32_t lfHeight, lfWidth, lfEscapement, lfOrientation, lfWeight;
  uint8_t lfItalic, lfUnderline, lfStrikeOut, lfCharSet;
  uint8_t lfOutPrecision, lfClipPrecision, lfQuality, lfPitchAndFamily;
  char lfFaceName[32];
};
using FontCallback = int32_t(
#if defined(_WIN32) && !defined(_WIN64)
    __stdcall
#endif
        *)(const void *logFont, const void *textMetric, uint32_t fontType, intptr_t user);
// Enumerates the fonts of face `name` on the screen, calling `callback` with
// `user` for each until it returns 0.
void EnumFontFaces(const char *name, FontCallback callback, intptr_t user);

// ---- Files ---------------------------------------------------------------
using FileHandle = intptr_t;
constexpr FileHandle kNoFile = -1;
// Created or replaced, for writing, not shared.
FileHandle FileCreate(const char *name);
// Opened for reading.
FileHandle FileOpenRead(const char *name);
bool FileWrite(FileHandle f, const void *data, uint32_t length);
// A hint before writing a new file whole: the file will hold `bytes`. Where
// reserving its room at once makes the writes cheaper, it is reserved
// (without changing the file's size); elsewhere nothing happens.
void FileReserve(FileHandle f, uint64_t bytes);
// Reads up to `length` bytes; *done receives the count read.
bool FileRead(FileHandle f, void *data, uint32_t length, uint32_t *done);
// Moves to `offset` from the start (whence 0), the current position (1) or
// the end (2); returns the new position or -1.
int64_t FileSeek(FileHandle f, int64_t offset, int whence);
void FileClose(FileHandle f);

// ---- Pictures: clipboard and metafiles ------------------------------------
// The clipboard (OpenClipboard, IsClipboardFormatAvailable, GetClipboardData,
// SetClipboardData, EmptyClipboard and CloseClipboard on Windows). Outside
// Windows it is a clipboard of this process, empty at start, that one caller
// at a time may hold open. Data put on it belongs to it until it is emptied
// or replaced by data of the same format: memory blocks (format 3 with the
// metafile its METAFILEPICT names, 8 and any other number) and
// enhanced-metafile handles (14).
constexpr uint32_t kClipMetafilePict = 3;  // CF_METAFILEPICT
constexpr uint32_t kClipDib = 8;           // CF_DIB
constexpr uint32_t kClipEnhMetafile = 14;  // CF_ENHMETAFILE

// The layout of METAFILEPICT: a block of format 3 holds one.
struct MetaFilePict {
  int32_t mm;    // mapping mode
  int32_t xExt;  // extents: pixels (mode 1) or hundredths of a millimetre (mode 8)
  int32_t yExt;
  void *hMF;  // the metafile (MetaHandle)
};

// Opens the clipboard for this caller; false when it is open already.
bool ClipOpen();
// Closes it; false when it was not open.
bool ClipClose();
// Whether data of `format` is on the clipboard (no opening needed).
bool ClipFormatAvailable(uint32_t format);
// The data of `format`, still the clipboard's; null when the clipboard is
// not open or holds no such data.
void *ClipGetData(uint32_t format);
// Puts `data` on the open clipboard, which then owns it, replacing (and
// freeing) data of the same format. False when the clipboard is not open or
// `data` is null.
bool ClipSetData(uint32_t format, void *data);
// Frees everything on the open clipboard; false when it is not open.
bool ClipEmpty();

// Windows metafiles (HMETAFILE) and enhanced metafiles (HENHMETAFILE).
// Outside Windows each is a memory block holding the metafile's bytes; a
// handle is valid from its creation until it is deleted, and every call
// refuses (returns 0, null or false) a handle that is not a live one of its
// kind. Copies are memory blocks too, so they fail when memory runs out.
using MetaHandle = void *;
using EnhMetaHandle = void *;

// A metafile from its bits (SetMetaFileBitsEx): the 18-byte header (type 1
// or 2, header size 9 words) and the records. Null when the bytes do not
// begin with such a header or memory runs out.
MetaHandle MetaFromBits(const void *bits, uint32_t size);
// A copy in memory (CopyMetaFileA with no file name); null on failure.
MetaHandle MetaCopy(MetaHandle h);
// GetMetaFileBitsEx: with a null buffer the size of the bits; otherwise
// copies them into `buffer` of `size` bytes and returns the count, 0 when
// the buffer is too small.
uint32_t MetaBits(MetaHandle h, uint32_t size, void *buffer);
bool MetaDelete(MetaHandle h);

// An enhanced metafile from its bytes (SetEnhMetaFileBits): they must begin
// with a header record (type 1, the signature " EMF" at offset 40, at least
// 88 bytes). Null otherwise or when memory runs out.
EnhMetaHandle EnhMetaFromBits(const void *bits, uint32_t size);
// A copy in memory (CopyEnhMetaFileA with no file name); null on failure.
EnhMetaHandle EnhMetaCopy(EnhMetaHandle h);
// GetEnhMetaFileHeader: with a null buffer the size of the header record;
// otherwise copies up to `size` bytes of it and returns the count. 0 when the
// header record's own size (offset 4) is below 88 or beyond the metafile.
uint32_t EnhMetaHeader(EnhMetaHandle h, uint32_t size, void *buffer);
// GetEnhMetaFileBits: as MetaBits, for the whole enhanced metafile.
uint32_t EnhMetaBits(EnhMetaHandle h, uint32_t size, void *buffer);
bool EnhMetaDelete(EnhMetaHandle h);

}  // namespace dox::plat
