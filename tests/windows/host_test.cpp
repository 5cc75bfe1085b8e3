// A legacy Windows host of dox.dll: loads it with LoadLibraryA, finds each export it calls by
// its plain name with GetProcAddress, and checks what depends on the real system: start-up and
// reloading, silent error records, global memory handles, DoxSaveFile, and pictures made with
// GDI, pasted from the real clipboard and from the host's own handles. (The bytes the library
// writes for pictures are checked by the golden scripts picture_*.dox, also under Wine.)
//   dox_host_test DLL WORKDIR     prints every failed check and "host: N passed, M failed"
//   dox_host_test --fonts EXPECTED ACTUAL OUT     see Fonts
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <regex>
#include <string>

#include "dox.h"

namespace {

int g_passed = 0, g_failed = 0, g_boxes = 0;
HMODULE g_dll;

bool Check(bool ok, const char *what, const std::string &got = "") {
  ok ? ++g_passed : ++g_failed;
  if (!ok) std::printf("FAIL: %s (got '%s')\n", what, got.c_str());
  return ok;
}

// An export of the loaded library, found by its plain name on every call.
template <typename F>
F Export(const char *name) {
  if (void *f = reinterpret_cast<void *>(GetProcAddress(g_dll, name))) return reinterpret_cast<F>(f);
  std::printf("FAIL: GetProcAddress %s\n", name);
  std::exit(1);
}
#define DOX(name) Export<decltype(&::name)>(#name)

// Every report here is silent: one reaching the sink would have been a message box.
void DOXAPI Sink(DOXDOC, int32_t, const char *, const char *, void *) { ++g_boxes; }

// Whether the record, "CODE CAPTION: MESSAGE" (kept in g_record), starts with `prefix`.
std::string g_record;
bool Recorded(const std::string &prefix) {
  char message[512] = {}, caption[128] = {};
  int32_t code = DOX(DoxGetLastMessage)(message, caption);
  g_record = std::to_string(code) + " " + caption + ": " + message;
  return g_record.rfind(prefix, 0) == 0;
}

// The document's text through DoxGetData's handle, which the host frees.
std::string Text(DOXDOC doc) {
  HGLOBAL h = static_cast<HGLOBAL>(DOX(DoxGetData)(doc, nullptr));
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

void CheckMemoryAndFiles(const std::string &dir) {
  DOXDOC doc = DOX(DoxNewDoc)();
  DOX(DoxInsertText)(doc, "Hello\r\n");
  uint32_t size = 0;
  HGLOBAL h = static_cast<HGLOBAL>(DOX(DoxGetData)(doc, &size));
  Check(h && (GlobalFlags(h) & GMEM_LOCKCOUNT) == 0, "DoxGetData returns an unlocked handle");
  const char *p = static_cast<const char *>(GlobalLock(h));
  const char hello[] = "{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj\\sectd Hello\\par\r\n}";
  Check(p && p != static_cast<void *>(h) && GlobalHandle(p) == h && GlobalSize(h) >= size &&
            size == sizeof hello && std::memcmp(p, hello, size) == 0,
        "a movable block holding the text and its NUL", p ? p : "");
  GlobalUnlock(h);
  GlobalFree(h);

  // A longer document saved first: the shorter one replaces the file.
  std::string path = dir + "\\saved.rtf";
  Check(DOX(DoxSaveFile)(doc, path.c_str()) == reinterpret_cast<DOXHMEM>(1), "DoxSaveFile: 1");
  DOX(DoxEndDoc)(doc);
  doc = DOX(DoxNewDoc)();
  DOX(DoxSaveFile)(doc, path.c_str());
  Check(Slurp(path) == Text(doc), "the saved file holds DoxGetData's text", Slurp(path));
  Check(!DOX(DoxSaveFile)(doc, (dir + "\\no such folder\\x.rtf").c_str()) && Recorded("5 DoxSave: "),
        "DoxSaveFile into a missing folder: code 5", g_record);
  DOX(DoxResetLastMessage)();
  DOX(DoxEndDoc)(doc);
  DeleteFileA(path.c_str());
}

// Pastes into a new document: whether the call returns 1 and writes `group` (the document's
// text goes to `text`).
bool Pasted(int32_t format, void *handle, const char *group, std::string &text) {
  DOXDOC doc = DOX(DoxNewDoc)();
  int32_t result = DOX(DoxPastePicture)(doc, format, handle, 0, 0);
  text = Text(doc);
  DOX(DoxEndDoc)(doc);
  return result == 1 && text.find(group) != std::string::npos;
}

HANDLE g_opened = CreateEventA(nullptr, TRUE, FALSE, nullptr);
HANDLE g_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);

// Holds the clipboard open for a window of its own until told to let go.
DWORD WINAPI HoldClipboard(void *) {
  HWND w = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  OpenClipboard(w);
  SetEvent(g_opened);
  WaitForSingleObject(g_release, 10000);
  CloseClipboard();
  return DestroyWindow(w);
}

// A 5 x 3 screen-compatible bitmap read back as a 24-bit packed bitmap, a metafile and an
// enhanced metafile, pasted from the clipboard and from the host's handles.
void CheckPictures() {
  HDC screen = GetDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 5, 3);
  BITMAPINFOHEADER bi{sizeof(BITMAPINFOHEADER), 5, 3, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
  std::string dib(sizeof bi + 16 * 3, '\0');  // rows of 15 bytes padded to 16
  std::memcpy(&dib[0], &bi, sizeof bi);
  GetDIBits(screen, bmp, 0, 3, &dib[sizeof bi], reinterpret_cast<BITMAPINFO *>(&dib[0]), DIB_RGB_COLORS);
  DeleteObject(bmp);
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
  struct Kind { int32_t format; UINT clipFormat; HANDLE clipCopy, own; const char *group; };
  const Kind kinds[] = {
      {PICT_FORMAT_DIB, CF_DIB, GlobalCopy(dib.data(), dib.size()), ownDib, dibGroup},
      {PICT_FORMAT_METAFILEPICT, CF_METAFILEPICT, pict(CopyMetaFileA(wmf, nullptr)), ownWmf,
       "{\\pict\\wmetafile8\\picw"},
      {PICT_FORMAT_ENHMETAFILE, CF_ENHMETAFILE, CopyEnhMetaFileA(emf, nullptr), emf,
       "{\\*\\shppict{\\pict\\emfblip\\picw"}};
  std::string text;
  for (const Kind &k : kinds) {
    Check(OpenClipboard(nullptr) && EmptyClipboard() && SetClipboardData(k.clipFormat, k.clipCopy),
          "SetClipboardData");
    CloseClipboard();
    Check(Pasted(k.format, nullptr, k.group, text), "a picture pasted from the clipboard", text);
    Check(Pasted(k.format, k.own, k.group, text), "a picture pasted from the host's handle", text);
  }
  Check(((GlobalFlags(ownDib) | GlobalFlags(ownWmf)) & GMEM_LOCKCOUNT) == 0,
        "the host's blocks are left unlocked");
  Check(GetMetaFileBitsEx(wmf, 0, nullptr) && GetEnhMetaFileBits(emf, 0, nullptr),
        "the host's metafiles are left alive");

  // The clipboard held open by another thread: only the paste that needs it fails.
  HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, nullptr, 0, nullptr);
  WaitForSingleObject(g_opened, 10000);
  Check(!Pasted(PICT_FORMAT_DIB, nullptr, dibGroup, text) && Recorded("55 : "),
        "clipboard in use: code 55, no caption", g_record);
  DOX(DoxResetLastMessage)();
  Check(Pasted(PICT_FORMAT_DIB, ownDib, dibGroup, text),
        "a paste from a handle does not open the clipboard", text);
  SetEvent(g_release);
  WaitForSingleObject(thread, 10000);
  if (OpenClipboard(nullptr)) EmptyClipboard(), CloseClipboard();
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
  const char *families[] = {"", "\\froman ", "\\fswiss ", "\\fmodern ", "\\fscript ", "\\fdecor "};
  const std::regex entry(R"(\{\\f(\d+) (\\f[a-z]+ )?(\\fcharset\d+ )?([^;{}]*);\})");
  std::string expected = Slurp(expectedPath), actual = Slurp(actualPath), wanted;
  size_t from = expected.find("{\\fonttbl"), to = expected.find(";}}", from), at = 0;
  to = to == std::string::npos ? from = 0 : to + 2;
  std::sregex_iterator e(expected.begin() + from, expected.begin() + to, entry), none;
  std::sregex_iterator a(actual.begin(), actual.end(), entry);
  // Reader-friendly mode's own default font, the last entry and \deff's, is
  // written as it is, without the system's enumeration.
  std::smatch deff;
  std::regex_search(expected, deff, std::regex(R"(\\deff(\d+) )"));
  const std::string readerRow = "{\\f" + deff[1].str() + " \\froman \\fcharset0 Times New Roman;}";
  for (HDC dc = GetDC(nullptr); e != none; ++e) {
    if (e->str() == readerRow && std::next(e) == none) break;
    LOGFONTA lf{};
    std::string name = (*e)[4], charset = (*e)[3];
    if (!name.empty()) EnumFontsA(dc, name.c_str(), FirstFont, reinterpret_cast<LPARAM>(&lf));
    if (a == none || (*a)[3] != charset)
      charset = lf.lfCharSet == 1 ? "" : "\\fcharset" + std::to_string(lf.lfCharSet) + " ";
    wanted.append(expected, at, from + e->position() - at);
    wanted += "{\\f" + (*e)[1].str() + " " + families[(lf.lfPitchAndFamily >> 4) % 6] + charset +
              name + ";}";
    at = from + e->position() + e->length();
    if (a != none) ++a;
  }
  std::ofstream(out, std::ios::binary) << wanted << expected.substr(at);
  return 0;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 5 && std::strcmp(argv[1], "--fonts") == 0) return Fonts(argv[2], argv[3], argv[4]);
  if (argc != 3) return std::fprintf(stderr, "usage: dox_host_test DLL WORKDIR\n"), 2;
  // The start-up fills the message table (a silent refusal records its text); loading the
  // library again after FreeLibrary clears the record and the library-wide flags.
  for (int load = 0; load < 2; ++load) {
    if (load) FreeLibrary(g_dll);
    if (!Check((g_dll = LoadLibraryA(argv[1])) != nullptr, "LoadLibraryA")) return 1;
    DOX(DoxSetMessageSink)(Sink, nullptr);
    Check(Recorded("0 : No User Error") && DOX(DoxSetFlags)(nullptr, 1, 0) == 0,
          "a new start: no record, no library-wide flags", g_record);
    DOX(DoxSetFlags)(nullptr, 1, FLAG_NO_MSG_BOX);
    DOXDOC doc = DOX(DoxNewDoc)();  // silent by the library-wide flag
    Check(!DOX(DoxEndCellText)(doc) && Recorded("48 DoxEndCellText: This function is valid only if"),
          "a silent refusal is recorded with its caption and text", g_record);
    DOX(DoxEndDoc)(doc);
  }
  DOX(DoxResetLastMessage)();  // documents stay silent by the library-wide flag
  CheckMemoryAndFiles(argv[2]);
  CheckPictures();
  Check(g_boxes == 0, "no message box was due", std::to_string(g_boxes));
  FreeLibrary(g_dll);
  std::printf("host: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
