// A legacy Windows host of dox.dll: loads it with LoadLibraryA, binds the exports it uses by
// their plain names with GetProcAddress, and checks what depends on the real system: start-up
// and reloading, silent error records, the global memory handles of DoxGetData and
// DoxStrToHandle, DoxSaveFile, and pictures made with GDI, pasted from the real clipboard and
// from the host's own handles. (The bytes the library writes for pictures are checked by the
// golden scripts picture_*.dox, which also run under Wine.)
//   dox_host_test DLL WORKDIR     prints every failed check and "host: N passed, M failed"
//   dox_host_test --fonts EXPECTED ACTUAL OUT     see Fonts
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "dox.h"

namespace {

int g_passed = 0, g_failed = 0, g_boxes = 0;

bool Check(bool ok, const std::string &what, long got = 0) {
  ok ? ++g_passed : ++g_failed;
  if (!ok) std::printf("FAIL: %s (got %ld)\n", what.c_str(), got);
  return ok;
}

template <typename F>
F Bind(HMODULE dll, const char *name) {
  void *f = reinterpret_cast<void *>(GetProcAddress(dll, name));
  Check(f != nullptr, std::string("GetProcAddress ") + name);
  return reinterpret_cast<F>(f);
}
#define DOX_BIND(name) decltype(&::name) name = Bind<decltype(&::name)>(dll, #name)
struct Api {
  HMODULE dll;
  DOX_BIND(DoxNewDoc);
  DOX_BIND(DoxEndDoc);
  DOX_BIND(DoxSetFlags);
  DOX_BIND(DoxGetData);
  DOX_BIND(DoxSaveFile);
  DOX_BIND(DoxGetLastMessage);
  DOX_BIND(DoxResetLastMessage);
  DOX_BIND(DoxSetMessageSink);
  DOX_BIND(DoxStrToHandle);
  DOX_BIND(DoxHandleToStr);
  DOX_BIND(DoxMakeMbcs);
  DOX_BIND(DoxInsertText);
  DOX_BIND(DoxEndCellText);
  DOX_BIND(DoxPastePicture);
};
#undef DOX_BIND

// Every report here is silent: one reaching the sink would have been a message box.
void DOXAPI Sink(int32_t, const char *, const char *, void *) { ++g_boxes; }

struct Record {
  int32_t code;
  std::string message, caption;
};
Record Last(const Api &api) {
  char message[512] = {}, caption[128] = {};
  int32_t code = api.DoxGetLastMessage(message, caption);
  return {code, message, caption};
}

DOXDOC Silent(const Api &api) {
  DOXDOC doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  return doc;
}

// The document's text through DoxGetData's handle, which the host frees.
std::string Text(const Api &api, DOXDOC doc) {
  HGLOBAL h = static_cast<HGLOBAL>(api.DoxGetData(doc, nullptr));
  const char *p = static_cast<const char *>(GlobalLock(h));
  std::string text = p ? p : "(no data)";
  GlobalUnlock(h);
  GlobalFree(h);
  return text;
}

std::string Slurp(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

HGLOBAL GlobalCopy(const void *data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (h) std::memcpy(GlobalLock(h), data, size), GlobalUnlock(h);
  return h;
}

// The start-up filled the message table (a silent refusal records its text), and
// unloading and loading again clears the record and the library-wide flags.
void CheckStartAndReload(HMODULE &dll, const char *path) {
  {
    Api api{dll};
    api.DoxSetMessageSink(Sink, nullptr);
    Check(Last(api).code == 0 && Last(api).message == "No User Error", "record after loading");
    api.DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
    DOXDOC doc = api.DoxNewDoc();
    Check(api.DoxEndCellText(doc) == 0, "DoxEndCellText without a table is refused");
    Record m = Last(api);
    Check(m.code == 48 && m.caption == "DoxEndCellText" &&
              m.message.rfind("This function is valid only if one of the following", 0) == 0,
          "silent refusal recorded with its text and caption", m.code);
    api.DoxEndDoc(doc);
  }
  FreeLibrary(dll);
  dll = LoadLibraryA(path);
  if (!Check(dll != nullptr, "LoadLibraryA after FreeLibrary")) return;
  Api api{dll};
  Check(Last(api).code == 0, "after reloading: the record is cleared");
  Check(api.DoxSetFlags(nullptr, 1, 0) == 0, "after reloading: the library-wide flags are 0");
}

void CheckMemoryAndFiles(const Api &api, const std::string &dir) {
  DOXDOC doc = Silent(api);
  api.DoxInsertText(doc, "Hello\r\n");
  uint32_t size = 0;
  HGLOBAL h = static_cast<HGLOBAL>(api.DoxGetData(doc, &size));
  Check(h && (GlobalFlags(h) & GMEM_LOCKCOUNT) == 0, "DoxGetData returns an unlocked handle");
  const char *p = static_cast<const char *>(GlobalLock(h));
  Check(p && p != static_cast<void *>(h) && GlobalHandle(p) == h, "a movable block, locked");
  const char hello[] = "{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj\\sectd Hello\\par\r\n}";
  Check(p && size == sizeof hello && GlobalSize(h) >= size && std::memcmp(p, hello, size) == 0,
        "DoxGetData text and its NUL", size);
  GlobalUnlock(h);
  Check(GlobalFree(h) == nullptr, "GlobalFree of DoxGetData's handle");
  h = static_cast<HGLOBAL>(api.DoxStrToHandle("abc\0def", 8));
  Check(h && GlobalSize(h) >= 8 && std::memcmp(GlobalLock(h), "abc\0def", 8) == 0, "DoxStrToHandle");
  GlobalUnlock(h);
  GlobalFree(h);
  char out[8] = {};
  h = GlobalCopy("hello", 6);
  Check(api.DoxHandleToStr(out, 6, h) == 1 && std::strcmp(out, "hello") == 0, "DoxHandleToStr");
  GlobalFree(h);
  // The system's ANSI code page decides whether lead bytes are interleaved.
  CPINFO cp{};
  GetCPInfo(CP_ACP, &cp);
  int32_t n = api.DoxMakeMbcs(out, "a\xa0" "b", "\0\x82\0", 3);
  Check(cp.MaxCharSize > 1 ? n == 4 && std::memcmp(out, "a\x82\xa0" "b", 4) == 0
                           : n == 3 && std::memcmp(out, "a\xa0" "b", 3) == 0, "DoxMakeMbcs", n);

  // A longer document saved first: the shorter one replaces the file.
  std::string path = dir + "\\saved.rtf";
  Check(api.DoxSaveFile(doc, path.c_str()) == reinterpret_cast<DOXHMEM>(1), "DoxSaveFile returns 1");
  api.DoxEndDoc(doc);
  doc = Silent(api);
  api.DoxSaveFile(doc, path.c_str());
  Check(Slurp(path) == Text(api, doc), "the saved file holds DoxGetData's text");
  Check(!api.DoxSaveFile(doc, (dir + "\\no such folder\\x.rtf").c_str()) &&
            Last(api).code == 5 && Last(api).caption == "DoxSave",
        "DoxSaveFile into a missing folder: code 5", Last(api).code);
  api.DoxResetLastMessage();
  api.DoxEndDoc(doc);
  DeleteFileA(path.c_str());
}

bool Put(UINT format, HANDLE data) {
  bool ok = OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(format, data);
  CloseClipboard();
  return ok;
}

// Pastes into a new silent document: the result and the text.
std::string Paste(const Api &api, int32_t format, void *handle, int32_t &result) {
  DOXDOC doc = Silent(api);
  result = api.DoxPastePicture(doc, format, handle, 0, 0);
  std::string text = Text(api, doc);
  api.DoxEndDoc(doc);
  return text;
}

void CheckPaste(const Api &api, int32_t format, void *handle, const char *group) {
  int32_t r = 0;
  bool ok = Paste(api, format, handle, r).find(group) != std::string::npos && r == 1;
  Check(ok, std::string(handle ? "handle" : "clipboard") + " paste: " + group, r);
}

// Holds the clipboard open for a window of its own until told to let go.
struct Holder {
  HANDLE opened, release;
  bool ok;
};
DWORD WINAPI Hold(void *holder) {
  auto *h = static_cast<Holder *>(holder);
  HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  h->ok = w && OpenClipboard(w);
  SetEvent(h->opened);
  WaitForSingleObject(h->release, 10000);
  if (h->ok) CloseClipboard();
  DestroyWindow(w);
  return 0;
}

// A 5 x 3 bitmap drawn on a memory device context and read back as a 24-bit packed bitmap, a
// metafile and an enhanced metafile, pasted from the clipboard and from the host's handles.
void CheckPictures(const Api &api) {
  HDC screen = GetDC(nullptr), mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 5, 3);
  HGDIOBJ old = SelectObject(mem, bmp);
  SetPixel(mem, 1, 1, RGB(255, 0, 0));
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::string dib(sizeof bi + 16 * 3, '\0');  // rows of 15 bytes padded to 16
  std::memcpy(&dib[0], &bi, sizeof bi);
  Check(GetDIBits(mem, bmp, 0, 3, &dib[sizeof bi], reinterpret_cast<BITMAPINFO *>(&dib[0]),
                  DIB_RGB_COLORS) == 3, "GetDIBits");
  DeleteObject(bmp);
  DeleteDC(mem);
  HDC meta = CreateMetaFileA(nullptr);
  Ellipse(meta, 10, 10, 90, 40);
  HMETAFILE wmf = CloseMetaFile(meta);
  RECT frame{0, 0, 2540, 1270};
  HDC enh = CreateEnhMetaFileA(screen, nullptr, &frame, nullptr);
  Ellipse(enh, 8, 8, 88, 40);
  HENHMETAFILE emf = CloseEnhMetaFile(enh);
  ReleaseDC(nullptr, screen);
  auto pict = [](HMETAFILE h) {
    METAFILEPICT mfp{MM_ANISOTROPIC, 2540, 1270, h};
    return GlobalCopy(&mfp, sizeof mfp);
  };
  HGLOBAL ownDib = GlobalCopy(dib.data(), dib.size()), ownWmf = pict(wmf);
  const char *dibGroup = "{\\pict\\dibitmap0\\wbmbitpixels24\\wbmplanes1\\wbmwidthbytes16\\picw5\\pich3";
  struct {
    int32_t format;
    UINT clipFormat;
    HANDLE clipCopy, own;
    const char *group;
  } kinds[] = {{PICT_FORMAT_DIB, CF_DIB, GlobalCopy(dib.data(), dib.size()), ownDib, dibGroup},
               {PICT_FORMAT_METAFILEPICT, CF_METAFILEPICT, pict(CopyMetaFileA(wmf, nullptr)),
                ownWmf, "{\\pict\\wmetafile8\\picw"},
               {PICT_FORMAT_ENHMETAFILE, CF_ENHMETAFILE, CopyEnhMetaFileA(emf, nullptr), emf,
                "{\\*\\shppict{\\pict\\emfblip\\picw"}};
  for (const auto &k : kinds) {
    Check(Put(k.clipFormat, k.clipCopy), "SetClipboardData", k.clipFormat);
    CheckPaste(api, k.format, nullptr, k.group);
    CheckPaste(api, k.format, k.own, k.group);
  }
  Check(((GlobalFlags(ownDib) | GlobalFlags(ownWmf)) & GMEM_LOCKCOUNT) == 0,
        "the host's blocks are left unlocked");
  Check(GetMetaFileBitsEx(wmf, 0, nullptr) && GetEnhMetaFileBits(emf, 0, nullptr),
        "the host's metafiles are left alive");

  // A clipboard held open by another thread: only the paste that needs it fails.
  Holder holder{CreateEventA(nullptr, TRUE, FALSE, nullptr),
                CreateEventA(nullptr, TRUE, FALSE, nullptr), false};
  HANDLE thread = CreateThread(nullptr, 0, Hold, &holder, 0, nullptr);
  WaitForSingleObject(holder.opened, 10000);
  if (Check(holder.ok, "another thread holds the clipboard open")) {
    int32_t r = 0;
    Paste(api, PICT_FORMAT_DIB, nullptr, r);
    Record m = Last(api);
    Check(r == 0 && m.code == 55 && m.caption.empty(), "clipboard in use: code 55", m.code);
    api.DoxResetLastMessage();
    CheckPaste(api, PICT_FORMAT_DIB, ownDib, dibGroup);
  }
  SetEvent(holder.release);
  WaitForSingleObject(thread, 10000);
  if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
  GlobalFree(ownDib);
  GlobalFree(ownWmf);
  DeleteMetaFile(wmf);
  DeleteEnhMetaFile(emf);
}

int CALLBACK FirstFont(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM font) {
  *reinterpret_cast<LOGFONTA *>(font) = *lf;
  return 0;
}

// Writes EXPECTED (an RTF from the Linux build) as this system must write it: every font table
// entry with the family and character set that EnumFontsA reports first for its name (none and
// 0 for a name it does not know). A character set the caller asked for is written on every
// system: where ACTUAL's entry keeps the expected one, so does OUT.
int Fonts(const char *expectedPath, const char *actualPath, const char *out) {
  static const char *const kFamilies[] = {"", "\\froman ", "\\fswiss ", "\\fmodern ",
                                          "\\fscript ", "\\fdecor "};
  const std::regex entry(R"(\{\\f(\d+) (\\f[a-z]+ )?(\\fcharset\d+ )?([^;{}]*);\})");
  std::string expected = Slurp(expectedPath), actual = Slurp(actualPath), wanted;
  size_t from = expected.find("{\\fonttbl"), to = expected.find(";}}", from), at = 0;
  to = to == std::string::npos ? from = 0 : to + 2;
  std::sregex_iterator e(expected.begin() + from, expected.begin() + to, entry), none;
  std::sregex_iterator a(actual.begin(), actual.end(), entry);
  HDC dc = GetDC(nullptr);
  for (; e != none; ++e) {
    LOGFONTA lf{};
    std::string name = (*e)[4], charset = (*e)[3];
    if (!name.empty()) EnumFontsA(dc, name.c_str(), FirstFont, reinterpret_cast<LPARAM>(&lf));
    if (a == none || (*a)[3] != charset)
      charset = lf.lfCharSet == 1 ? "" : "\\fcharset" + std::to_string(lf.lfCharSet) + " ";
    wanted.append(expected, at, from + e->position() - at);
    wanted += "{\\f" + (*e)[1].str() + " " + kFamilies[(lf.lfPitchAndFamily >> 4) % 6] + charset +
              name + ";}";
    at = from + e->position() + e->length();
    if (a != none) ++a;
  }
  ReleaseDC(nullptr, dc);
  std::ofstream(out, std::ios::binary) << wanted << expected.substr(at);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 5 && std::strcmp(argv[1], "--fonts") == 0) return Fonts(argv[2], argv[3], argv[4]);
  if (argc != 3) return std::fprintf(stderr, "usage: dox_host_test DLL WORKDIR\n"), 2;
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!Check(dll != nullptr, "LoadLibraryA", GetLastError())) return 1;
  CheckStartAndReload(dll, argv[1]);
  if (!dll) return 1;
  Api api{dll};
  api.DoxSetMessageSink(Sink, nullptr);
  CheckMemoryAndFiles(api, argv[2]);
  CheckPictures(api);
  Check(g_boxes == 0, "no message box was due", g_boxes);
  FreeLibrary(dll);
  std::printf("host: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
