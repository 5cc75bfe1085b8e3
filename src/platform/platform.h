// The platform layer: every operating-system service the library uses.
// win32/ implements it with the real Windows calls; posix/ with small
// implementations of our own that keep the values and effects the library
// relies on (movable memory blocks with handles, a 96 dpi screen, a
// single-byte ANSI code page, a built-in font list, plain files).
#pragma once

#include <cstddef>
#include <cstdint>

namespace dox::plat {

// ---- Global memory: movable blocks with handles --------------------------
using MemHandle = void *;

// A movable block of `bytes` bytes (zero-filled when `zero`). Null on failure.
MemHandle MemAlloc(size_t bytes, bool zero);
// Resizes an unlocked block; null on failure (the old block is untouched).
MemHandle MemReAlloc(MemHandle h, size_t bytes);
// Locks the block and returns its address; null for an invalid handle.
void *MemLock(MemHandle h);
// Unlocks once; false when the block is no longer locked.
bool MemUnlock(MemHandle h);
// Size in bytes; 0 for an invalid handle.
size_t MemSize(MemHandle h);
// Frees the block: null on success, the handle itself on failure.
MemHandle MemFree(MemHandle h);
// The handle of a locked block's address; null when the address is not one.
MemHandle MemHandleOf(const void *address);

// Test hook: make the Nth allocation or reallocation from now fail (1 = the
// next one); 0 turns failures off. Counts both kinds of request.
void MemFailNth(long n);
// Allocations and reallocations requested since the process started.
long MemRequestCount();
// Counts an allocation or reallocation request; true when the hook makes it fail.
bool AllocationRequestFails();
// Blocks currently allocated (for leak checks in tests).
long MemLiveBlocks();

// ---- User interface ------------------------------------------------------
// Shows a modal message box with only an OK button; caption may be null (the
// system's default caption). Goes to the installed sink when there is one.
void ShowMessage(int32_t code, const char *text, const char *caption);
using MessageSink = void(
#if defined(_WIN32) && !defined(_WIN64)
    __stdcall
#endif
        *)(int32_t code, const char *text, const char *caption, void *user);
void SetMessageSink(MessageSink sink, void *user);

// Pixels per logical inch of the screen.
void ScreenDpi(int32_t *x, int32_t *y);
// Largest number of bytes per character of the ANSI code page.
int32_t AnsiMaxCharSize();

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
// Reads up to `length` bytes; *done receives the count read.
bool FileRead(FileHandle f, void *data, uint32_t length, uint32_t *done);
// Moves to `offset` from the start (whence 0), the current position (1) or
// the end (2); returns the new position or -1.
int64_t FileSeek(FileHandle f, int64_t offset, int whence);
void FileClose(FileHandle f);

}  // namespace dox::plat
