// A legacy Windows host: loads dox.dll with LoadLibraryA, finds every export
// by its plain name with GetProcAddress, and checks what depends on the real
// system: library start-up, silent error records, global memory handles,
// files, the system's font enumeration, and pictures made with GDI and passed
// through the real clipboard or as handles.
//
//   dox_host_test DLL WORKDIR
//
// Nothing may show a message box: a sink is installed first, and a report
// that reaches it where no box was due fails the check. Prints every failed
// check and "host: N passed, M failed"; exits non-zero when a check failed.
#include <windows.h>

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "dox.h"

namespace {

// ---- Checks ---------------------------------------------------------------

int g_passed = 0;
int g_failed = 0;

bool Check(bool ok, const char *format, ...) {
  if (ok) {
    ++g_passed;
    return true;
  }
  ++g_failed;
  std::va_list args;
  va_start(args, format);
  std::printf("FAIL: ");
  std::vprintf(format, args);
  std::printf("\n");
  va_end(args);
  return false;
}

bool CheckText(const std::string &got, const std::string &expected, const char *what) {
  if (got == expected) return Check(true, "%s", what);
  size_t at = 0;
  while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
  size_t from = at > 40 ? at - 40 : 0;
  return Check(false, "%s: differs at byte %u\n  expected ...%s\n  got      ...%s", what,
               static_cast<unsigned>(at), expected.substr(from, 120).c_str(),
               got.substr(from, 120).c_str());
}

// ---- The library, as a legacy host binds it ----------------------------------

const char *const kExportNames[] = {
#include "export_names.inc"
};

template <typename F>
F Bind(HMODULE dll, const char *name) {
  return reinterpret_cast<F>(reinterpret_cast<void *>(GetProcAddress(dll, name)));
}

#define DOX_BIND(name) decltype(&::name) name = Bind<decltype(&::name)>(dll, #name)
struct Api {
  explicit Api(HMODULE dll) : dll(dll) {}
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
  DOX_BIND(DoxTextFont);
  DOX_BIND(DoxTextFont2);
  DOX_BIND(DoxInsertPictFile);
  DOX_BIND(DoxPastePicture);
};
#undef DOX_BIND

// Reports that reached the sink: each one a message box that was not shown.
struct Box {
  int32_t code;
  std::string caption;
};
std::vector<Box> g_boxes;

void DOXAPI Sink(DOXDOC, int32_t code, const char *, const char *caption, void *) {
  g_boxes.push_back({code, caption ? caption : "(none)"});
}

// Fails for every box reported since the last call, unless it is `expected`
// boxes with this code and caption.
void CheckBoxes(const char *where, size_t expected = 0, int32_t code = 0,
                const char *caption = "") {
  bool ok = g_boxes.size() == expected;
  for (const Box &b : g_boxes) ok = ok && b.code == code && b.caption == caption;
  if (!ok) {
    std::string seen;
    for (const Box &b : g_boxes) {
      char one[160];
      std::snprintf(one, sizeof one, " %d '%s'", b.code, b.caption.c_str());
      seen.append(one);
    }
    Check(false, "%s: %u message box(es) expected, reported:%s", where,
          static_cast<unsigned>(expected), seen.empty() ? " none" : seen.c_str());
  } else {
    Check(true, "%s", where);
  }
  g_boxes.clear();
}

struct LastMessage {
  int32_t code;
  std::string message;
  std::string caption;
};

LastMessage Last(const Api &api) {
  char message[512] = {}, caption[128] = {};
  int32_t code = api.DoxGetLastMessage(message, caption);
  return {code, message, caption};
}

// The whole RTF text of a document, through DoxGetData and the global memory API.
std::string Text(const Api &api, DOXDOC doc) {
  HGLOBAL h = static_cast<HGLOBAL>(api.DoxGetData(doc, nullptr));
  if (!h) return "(no data)";
  const char *p = static_cast<const char *>(GlobalLock(h));
  std::string text = p ? p : "(not lockable)";
  GlobalUnlock(h);
  GlobalFree(h);
  return text;
}

// The text without its line ends: what remains is independent of where the
// stream broke its lines.
std::string Joined(const std::string &text) {
  std::string out;
  for (char c : text)
    if (c != '\r' && c != '\n') out += c;
  return out;
}

std::string Hex(const void *data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  const auto *p = static_cast<const uint8_t *>(data);
  std::string out;
  for (size_t i = 0; i < size; ++i) {
    out += kDigits[p[i] >> 4];
    out += kDigits[p[i] & 15];
  }
  return out;
}

std::string Format(const char *format, ...) {
  char buffer[512];
  std::va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  return buffer;
}

uint32_t Load32(const uint8_t *p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

std::vector<uint8_t> ReadWholeFile(const std::string &path) {
  std::vector<uint8_t> bytes;
  HANDLE f = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return bytes;
  bytes.resize(GetFileSize(f, nullptr));
  DWORD read = 0;
  if (!bytes.empty() && !ReadFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
    read = 0;
  bytes.resize(read);
  CloseHandle(f);
  return bytes;
}

HGLOBAL GlobalCopy(const void *data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  if (!h) return nullptr;
  std::memcpy(GlobalLock(h), data, size);
  GlobalUnlock(h);
  return h;
}

int32_t ScreenDpi(int index) {
  HDC dc = GetDC(nullptr);
  int32_t dpi = GetDeviceCaps(dc, index);
  ReleaseDC(nullptr, dc);
  return dpi;
}

// The document text of a new document that received only `group` (the first
// text call opens the section: "\sectd", and a group follows it directly).
std::string OnlyGroup(const std::string &group) {
  return "{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj\\sectd" + group + "}";
}

// ---- Start-up and the export table ----------------------------------------------

void CheckStartUp(HMODULE dll, const Api &api) {
  for (const char *name : kExportNames)
    Check(GetProcAddress(dll, name) != nullptr, "export %s found by its plain name", name);
  LastMessage m = Last(api);
  Check(m.code == 0 && m.message == "No User Error" && m.caption.empty(),
        "after loading: no error recorded (got %d '%s' '%s')", m.code, m.message.c_str(),
        m.caption.c_str());
  // The library's start-up filled the message table: a silent report carries its text.
  DOXDOC doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  api.DoxPastePicture(doc, PICT_FORMAT_ENHMETAFILE, reinterpret_cast<void *>(16), 0, 0);
  m = Last(api);
  Check(m.code == 15 && m.message == "Error copying metafile" && m.caption == "DoxPasteEmf",
        "a handle that is no enhanced metafile: code 15 (got %d '%s' '%s')", m.code,
        m.message.c_str(), m.caption.c_str());
  api.DoxEndDoc(doc);
  CheckBoxes("start-up");

  // The ANSI code page as the system reports it decides DoxMakeMbcs.
  CPINFO cp{};
  GetCPInfo(CP_ACP, &cp);
  char target[16] = {};
  const char chars[] = {'a', '\xa0', 'b'}, leads[] = {0, '\x82', 0};
  int32_t n = api.DoxMakeMbcs(target, chars, leads, 3);
  if (cp.MaxCharSize > 1)
    Check(n == 4 && std::memcmp(target, "a\x82\xa0" "b", 5) == 0,
          "multibyte code page: lead bytes interleaved (got %d)", n);
  else
    Check(n == 3 && std::memcmp(target, "a\xa0" "b", 4) == 0,
          "single-byte code page: characters only (got %d)", n);
}

// Unloading and loading again runs the start-up again: the record and the
// library-wide flags are cleared.
HMODULE CheckReload(HMODULE dll, const char *path) {
  {
    Api api(dll);
    api.DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
    DOXDOC doc = api.DoxNewDoc();
    api.DoxEndCellText(doc);
    api.DoxEndDoc(doc);
    Check(Last(api).code == 48, "before unloading: a silent report is recorded");
  }
  FreeLibrary(dll);
  dll = LoadLibraryA(path);
  if (!Check(dll != nullptr, "LoadLibraryA after FreeLibrary")) return nullptr;
  Api api(dll);
  api.DoxSetMessageSink(Sink, nullptr);
  Check(Last(api).code == 0, "after reloading: the record is cleared");
  Check(api.DoxSetFlags(nullptr, 1, 0) == 0, "after reloading: the library-wide flags are 0");
  return dll;
}

// ---- Error reports -----------------------------------------------------------

void CheckReports(const Api &api) {
  DOXDOC doc = api.DoxNewDoc();
  Check(api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX) == FLAG_NO_MSG_BOX, "DoxSetFlags result");
  Check(api.DoxEndCellText(doc) == 0, "DoxEndCellText without a table is refused");
  LastMessage m = Last(api);
  Check(m.code == 48 && m.caption == "DoxEndCellText" &&
            m.message.rfind("This function is valid only if one of the following", 0) == 0,
        "silent refusal recorded (got %d '%s' '%s')", m.code, m.caption.c_str(),
        m.message.c_str());
  Check(api.DoxResetLastMessage() == 1 && Last(api).code == 0, "DoxResetLastMessage");
  CheckBoxes("silent document");
  api.DoxEndDoc(doc);

  // One box per document: the first report would show one, later ones are
  // dropped; neither is recorded.
  doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_ONE_MSG_BOX);
  api.DoxEndCellText(doc);
  api.DoxEndCellText(doc);
  CheckBoxes("FLAG_ONE_MSG_BOX", 1, 48, "DoxEndCellText");
  Check(Last(api).code == 0, "a message box is not recorded");
  api.DoxEndDoc(doc);

  // The library-wide default reaches documents created afterwards.
  api.DoxSetFlags(nullptr, 1, FLAG_NO_MSG_BOX);
  doc = api.DoxNewDoc();
  api.DoxSetFlags(nullptr, 0, FLAG_NO_MSG_BOX);
  api.DoxEndCellText(doc);
  Check(Last(api).code == 48, "a document created under FLAG_NO_MSG_BOX reports silently");
  CheckBoxes("library-wide FLAG_NO_MSG_BOX");
  api.DoxResetLastMessage();
  api.DoxEndDoc(doc);
}

// ---- Global memory and files -------------------------------------------------

void CheckMemory(const Api &api) {
  DOXDOC doc = api.DoxNewDoc();
  api.DoxInsertText(doc, "Hello\r\n");
  uint32_t size = 0;
  HGLOBAL h = static_cast<HGLOBAL>(api.DoxGetData(doc, &size));
  if (!Check(h != nullptr, "DoxGetData returns a handle")) {
    api.DoxEndDoc(doc);
    return;
  }
  Check((GlobalFlags(h) & GMEM_LOCKCOUNT) == 0, "the block is returned unlocked");
  const char *text = static_cast<const char *>(GlobalLock(h));
  if (Check(text != nullptr, "GlobalLock on the handle")) {
    Check(static_cast<const void *>(text) != static_cast<const void *>(h),
          "the block is movable (its handle is not its address)");
    Check(GlobalHandle(text) == h, "GlobalHandle leads back to the handle");
    Check((GlobalFlags(h) & GMEM_LOCKCOUNT) == 1, "locked once");
    Check(GlobalSize(h) >= size, "GlobalSize %u covers the %u bytes used",
          static_cast<unsigned>(GlobalSize(h)), size);
    std::string expected = "{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj\\sectd Hello\\par\r\n}";
    expected += '\0';
    CheckText(std::string(text, std::min<size_t>(size, GlobalSize(h))), expected,
              "DoxGetData text and NUL");
    GlobalUnlock(h);
  }
  Check(GlobalFree(h) == nullptr, "GlobalFree of the handle");
  api.DoxEndDoc(doc);

  const char bytes[] = "abc\0def";
  h = static_cast<HGLOBAL>(api.DoxStrToHandle(bytes, 8));
  if (Check(h != nullptr && GlobalSize(h) >= 8, "DoxStrToHandle makes a block of 8 bytes")) {
    Check(std::memcmp(GlobalLock(h), bytes, 8) == 0, "DoxStrToHandle copies the bytes");
    GlobalUnlock(h);
    GlobalFree(h);
  }
  h = GlobalCopy("hello", 6);
  char out[8] = {};
  Check(api.DoxHandleToStr(out, 6, h) == 1 && std::strcmp(out, "hello") == 0,
        "DoxHandleToStr reads a block the host allocated");
  CheckBoxes("memory");
}

void CheckFiles(const Api &api, const std::string &dir) {
  std::string path = dir + "\\saved.rtf";
  DOXDOC doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  api.DoxInsertText(doc, "A longer first document\r\n");
  Check(api.DoxSaveFile(doc, path.c_str()) == reinterpret_cast<DOXHMEM>(1), "DoxSaveFile returns 1");
  std::vector<uint8_t> saved = ReadWholeFile(path);
  CheckText(std::string(saved.begin(), saved.end()), Text(api, doc), "saved file = DoxGetData text");
  api.DoxEndDoc(doc);

  // The file is replaced, not overwritten in place.
  doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  api.DoxSaveFile(doc, path.c_str());
  saved = ReadWholeFile(path);
  CheckText(std::string(saved.begin(), saved.end()), "{\\rtf1\\uc1 \\deff0 \\ansi\\ftnbj}",
            "a shorter document replaces the file");

  HGLOBAL h = static_cast<HGLOBAL>(api.DoxSaveFile(doc, ""));
  Check(h != nullptr && h != reinterpret_cast<HGLOBAL>(1) && GlobalSize(h) > 0,
        "DoxSaveFile with an empty name returns a memory block");
  if (h && h != reinterpret_cast<HGLOBAL>(1)) GlobalFree(h);

  std::string bad = dir + "\\no such folder\\x.rtf";
  Check(api.DoxSaveFile(doc, bad.c_str()) == nullptr, "DoxSaveFile into a missing folder fails");
  LastMessage m = Last(api);
  Check(m.code == 5 && m.caption == "DoxSave", "code 5 under DoxSave (got %d '%s')", m.code,
        m.caption.c_str());
  api.DoxResetLastMessage();
  api.DoxEndDoc(doc);
  DeleteFileA(path.c_str());
  CheckBoxes("files");
}

// ---- Fonts -------------------------------------------------------------------

struct SystemFont {
  std::string name;
  int family;  // the family bits of the pitch-and-family byte
  int charset;
  bool found;
};

int CALLBACK CollectFace(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM user) {
  auto *faces = reinterpret_cast<std::vector<SystemFont> *>(user);
  faces->push_back({lf->lfFaceName, lf->lfPitchAndFamily & 0xF0, lf->lfCharSet, true});
  return 1;
}

int CALLBACK FirstFont(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM user) {
  auto *font = reinterpret_cast<SystemFont *>(user);
  font->family = lf->lfPitchAndFamily & 0xF0;
  font->charset = lf->lfCharSet;
  font->found = true;
  return 0;
}

// What the system reports first for a face name (0 and 0 when it knows none).
SystemFont Enumerate(const std::string &name) {
  SystemFont font{name, 0, 0, false};
  HDC dc = GetDC(nullptr);
  EnumFontsA(dc, name.c_str(), FirstFont, reinterpret_cast<LPARAM>(&font));
  ReleaseDC(nullptr, dc);
  return font;
}

std::string FontEntry(int index, int family, int charset, const std::string &name) {
  std::string entry = "{\\f" + std::to_string(index) + " ";
  switch (family) {
    case 16: entry += "\\froman "; break;
    case 32: entry += "\\fswiss "; break;
    case 48: entry += "\\fmodern "; break;
    case 64: entry += "\\fscript "; break;
    case 80: entry += "\\fdecor "; break;
    default: break;
  }
  if (charset != 1) entry += "\\fcharset" + std::to_string(charset) + " ";
  return entry + name + ";}";
}

// The font table takes family and character set from the system's
// enumeration: a face with a family, one with a character set other than 0
// when the system has one, and a face it does not know.
void CheckFonts(const Api &api) {
  std::vector<SystemFont> faces;
  HDC dc = GetDC(nullptr);
  EnumFontsA(dc, nullptr, CollectFace, reinterpret_cast<LPARAM>(&faces));
  ReleaseDC(nullptr, dc);
  Check(!faces.empty(), "the system enumerates fonts");
  std::vector<std::string> names;
  for (const SystemFont &f : faces)
    if (f.family != 0 && f.name[0] != '@' && f.name.size() < 32) {
      names.push_back(f.name);
      break;
    }
  Check(!names.empty(), "the system has a font with a family");
  for (const SystemFont &f : faces)
    if (f.name[0] != '@' && f.name.size() < 32 && Enumerate(f.name).charset != 0 &&
        (names.empty() || lstrcmpiA(f.name.c_str(), names[0].c_str()) != 0)) {
      names.push_back(f.name);
      break;
    }
  names.push_back("Dox No Such Face");

  DOXDOC doc = api.DoxNewDoc();
  std::vector<std::string> entries;
  for (const std::string &name : names) {
    api.DoxTextFont(doc, name.c_str(), 10, 0, 1);
    SystemFont f = Enumerate(name);
    std::printf("font %s: family %d, character set %d%s\n", name.c_str(), f.family, f.charset,
                f.found ? "" : " (unknown)");
    entries.push_back(FontEntry(static_cast<int>(entries.size()), f.family, f.charset, name));
  }
  // A character set the caller asks for replaces the system's.
  api.DoxTextFont2(doc, names[0].c_str(), 10, 0, 204, 1);
  entries.push_back(
      FontEntry(static_cast<int>(entries.size()), Enumerate(names[0]).family, 204, names[0]));
  std::string table = "{\\fonttbl";
  for (size_t i = 0; i < entries.size(); ++i) table += (i % 3 == 2 ? "\r\n" : "") + entries[i];
  table += "}";
  std::string text = Text(api, doc);
  CheckText(text.substr(0, std::min(text.size(), 18 + table.size())),
            "{\\rtf1\\uc1 \\deff0 " + table, "font table from the system's enumeration");
  api.DoxEndDoc(doc);
  CheckBoxes("fonts");
}

// ---- Pictures made with GDI ---------------------------------------------------

struct Pictures {
  std::vector<uint8_t> dib;  // a packed bitmap: information header and bits
  std::vector<uint8_t> wmf;  // the bits of a Windows metafile
  std::vector<uint8_t> emf;  // the bytes of an enhanced metafile
  ENHMETAHEADER emfHeader{};
  HMETAFILE hmf = nullptr;
  HENHMETAFILE hemf = nullptr;
};

// A 5 x 3 bitmap drawn on a memory device context, read back as a 24-bit
// packed bitmap; a metafile and an enhanced metafile with a few shapes.
bool MakePictures(Pictures &p) {
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, 5, 3);
  HGDIOBJ old = SelectObject(mem, bmp);
  RECT all{0, 0, 5, 3};
  FillRect(mem, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  SetPixel(mem, 1, 1, RGB(255, 0, 0));
  SetPixel(mem, 3, 2, RGB(0, 0, 255));
  SelectObject(mem, old);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = 5;
  bi.biHeight = 3;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  p.dib.assign(sizeof bi + 16 * 3, 0);  // rows of 15 bytes padded to 16
  std::memcpy(p.dib.data(), &bi, sizeof bi);
  int rows = GetDIBits(mem, bmp, 0, 3, p.dib.data() + sizeof bi,
                       reinterpret_cast<BITMAPINFO *>(p.dib.data()), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);

  HDC meta = CreateMetaFileA(nullptr);
  Rectangle(meta, 0, 0, 100, 50);
  Ellipse(meta, 10, 10, 90, 40);
  p.hmf = CloseMetaFile(meta);
  if (p.hmf) {
    p.wmf.resize(GetMetaFileBitsEx(p.hmf, 0, nullptr));
    GetMetaFileBitsEx(p.hmf, static_cast<UINT>(p.wmf.size()), p.wmf.data());
  }

  RECT frame{0, 0, 2540, 1270};  // hundredths of a millimetre
  HDC enh = CreateEnhMetaFileA(screen, nullptr, &frame, "dox\0host test\0");
  Rectangle(enh, 0, 0, 96, 48);
  Ellipse(enh, 8, 8, 88, 40);
  p.hemf = CloseEnhMetaFile(enh);
  if (p.hemf) {
    p.emf.resize(GetEnhMetaFileBits(p.hemf, 0, nullptr));
    GetEnhMetaFileBits(p.hemf, static_cast<UINT>(p.emf.size()), p.emf.data());
    GetEnhMetaFileHeader(p.hemf, sizeof p.emfHeader, &p.emfHeader);
  }
  ReleaseDC(nullptr, screen);
  return Check(rows == 3, "GetDIBits read the bitmap") &&
         Check(p.wmf.size() > 18, "a metafile with its bits") &&
         Check(p.emf.size() > 108, "an enhanced metafile with its bits");
}

// The groups the library must write for these pictures, worked out from the
// bytes GDI produced, the screen resolution and the display size asked for.
std::string DibGroup(const Pictures &p, int32_t width, int32_t height) {
  int32_t dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
  int32_t goalW = MulDiv(5, 1440, dpiX), goalH = MulDiv(3, 1440, dpiY);
  if (width == 0 || height == 0) {
    width = goalW;
    height = goalH;
  }
  return Format("{\\pict\\dibitmap0\\wbmbitpixels24\\wbmplanes1\\wbmwidthbytes16\\picw5\\pich3"
                "\\picwgoal%d\\pichgoal%d\\picscalex%d\\picscaley%d ",
                goalW, goalH, MulDiv(width, 100, goalW), MulDiv(height, 100, goalH)) +
         Hex(p.dib.data(), p.dib.size()) + "}";
}

// A metafile picture of mapping mode `mm` with extents xExt and yExt.
std::string WmfGroup(const Pictures &p, int32_t mm, int32_t xExt, int32_t yExt) {
  int32_t dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
  int32_t pixW = mm == MM_TEXT ? xExt : xExt * dpiX / 2540;
  int32_t pixH = mm == MM_TEXT ? yExt : yExt * dpiY / 2540;
  int32_t natW = MulDiv(pixW, 1440, dpiX), natH = MulDiv(pixH, 1440, dpiY);
  uint32_t bytes = 2 * Load32(p.wmf.data() + 6);
  return Format("{\\pict\\wmetafile8\\picw%d\\pich%d\\picwgoal%d\\picscalex100\\pichgoal%d"
                "\\picscaley100 ",
                natW * 2540 / 1440, natH * 2540 / 1440, natW, natH) +
         Hex(p.wmf.data(), bytes) + "}";
}

std::string EmfGroup(const Pictures &p, int32_t width, int32_t height) {
  int32_t dpiX = ScreenDpi(LOGPIXELSX), dpiY = ScreenDpi(LOGPIXELSY);
  const ENHMETAHEADER &h = p.emfHeader;
  auto refX = static_cast<int32_t>(h.szlDevice.cx * 25.4 / h.szlMillimeters.cx);
  auto refY = static_cast<int32_t>(h.szlDevice.cy * 25.4 / h.szlMillimeters.cy);
  int32_t pixW = MulDiv(h.rclBounds.right - h.rclBounds.left, dpiX, refX);
  int32_t pixH = MulDiv(h.rclBounds.bottom - h.rclBounds.top, dpiY, refY);
  int32_t goalW = MulDiv(pixW, 1440, dpiX), goalH = MulDiv(pixH, 1440, dpiY);
  if (width == 0) width = goalW;
  if (height == 0) height = goalH;
  return Format("{\\*\\shppict{\\pict\\emfblip\\picw%d\\pich%d\\picwgoal%d\\pichgoal%d"
                "\\picscalex%d\\picscaley%d ",
                MulDiv(goalW, 2500, 1440), MulDiv(goalH, 2500, 1440), goalW, goalH,
                width * 100 / goalW, height * 100 / goalH) +
         Hex(p.emf.data(), h.nBytes) + "}}";
}

HGLOBAL MetafilePict(HMETAFILE hmf, int32_t mm, int32_t xExt, int32_t yExt) {
  METAFILEPICT mfp{mm, xExt, yExt, hmf};
  return GlobalCopy(&mfp, sizeof mfp);
}

// Puts copies of the pictures on the clipboard, which owns them afterwards.
enum : unsigned { kClipDib = 1, kClipMetafilePict = 2, kClipEnh = 4 };
bool PutOnClipboard(const Pictures &p, unsigned which) {
  if (!OpenClipboard(nullptr)) return false;
  bool ok = EmptyClipboard() != 0;
  if (which & kClipDib) ok = ok && SetClipboardData(CF_DIB, GlobalCopy(p.dib.data(), p.dib.size()));
  if (which & kClipMetafilePict)
    ok = ok && SetClipboardData(CF_METAFILEPICT,
                                MetafilePict(CopyMetaFileA(p.hmf, nullptr), MM_ANISOTROPIC, 2540, 1270));
  if (which & kClipEnh) ok = ok && SetClipboardData(CF_ENHMETAFILE, CopyEnhMetaFileA(p.hemf, nullptr));
  CloseClipboard();
  return ok;
}

void EmptyTheClipboard() {
  if (OpenClipboard(nullptr)) {
    EmptyClipboard();
    CloseClipboard();
  }
}

// Pastes one picture into a new silent document; the document's whole text
// without line ends, or the failure.
std::string Paste(const Api &api, int32_t format, void *handle, int32_t width, int32_t height,
                  int32_t *result) {
  DOXDOC doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  *result = api.DoxPastePicture(doc, format, handle, width, height);
  std::string text = Joined(Text(api, doc));
  api.DoxEndDoc(doc);
  return text;
}

// Holds the clipboard open for a window of its own (opened without a window,
// the clipboard could be opened again by any thread without one) until told
// to let go.
struct Holder {
  HANDLE opened, release;
  bool ok;
};
DWORD WINAPI HoldClipboard(void *holder) {
  auto *h = static_cast<Holder *>(holder);
  HWND window = CreateWindowExA(0, "STATIC", "dox clipboard holder", 0, 0, 0, 0, 0,
                                HWND_MESSAGE, nullptr, nullptr, nullptr);
  h->ok = window && OpenClipboard(window);
  SetEvent(h->opened);
  WaitForSingleObject(h->release, 10000);
  if (h->ok) CloseClipboard();
  if (window) DestroyWindow(window);
  return 0;
}

void CheckPictures(const Api &api, const std::string &dir) {
  Pictures p;
  if (!MakePictures(p)) return;
  int32_t r = 0;

  // From the real clipboard.
  Check(PutOnClipboard(p, kClipDib), "a bitmap on the clipboard");
  CheckText(Paste(api, PICT_FORMAT_DIB, nullptr, 0, 0, &r), OnlyGroup(DibGroup(p, 0, 0)),
            "bitmap pasted from the clipboard");
  Check(r == 1, "bitmap paste returns 1");
  Check(PutOnClipboard(p, kClipEnh), "an enhanced metafile on the clipboard");
  CheckText(Paste(api, PICT_FORMAT_ENHMETAFILE, nullptr, 0, 0, &r), OnlyGroup(EmfGroup(p, 0, 0)),
            "enhanced metafile pasted from the clipboard");
  Check(r == 1, "enhanced metafile paste returns 1");
  Check(PutOnClipboard(p, kClipDib | kClipMetafilePict), "a metafile picture and a bitmap");
  CheckText(Paste(api, PICT_FORMAT_ANY, nullptr, 0, 0, &r),
            OnlyGroup(WmfGroup(p, MM_ANISOTROPIC, 2540, 1270)),
            "format 0 takes the metafile picture first");
  Check(r == 1, "metafile picture paste returns 1");

  // From the host's own handles, which stay the host's.
  HGLOBAL dib = GlobalCopy(p.dib.data(), p.dib.size());
  HGLOBAL mfp = MetafilePict(p.hmf, MM_TEXT, 96, 48);
  CheckText(Paste(api, PICT_FORMAT_DIB, dib, 1440, 720, &r), OnlyGroup(DibGroup(p, 1440, 720)),
            "bitmap pasted from a handle, scaled");
  // Scales rounded as the system's MulDiv rounds, negative ones too.
  CheckText(Paste(api, PICT_FORMAT_DIB, dib, -701, 333, &r), OnlyGroup(DibGroup(p, -701, 333)),
            "bitmap scales rounded like MulDiv");
  CheckText(Paste(api, PICT_FORMAT_METAFILEPICT, mfp, 0, 0, &r),
            OnlyGroup(WmfGroup(p, MM_TEXT, 96, 48)), "metafile picture from a handle");
  CheckText(Paste(api, PICT_FORMAT_ENHMETAFILE, p.hemf, 2880, 0, &r),
            OnlyGroup(EmfGroup(p, 2880, 0)), "enhanced metafile from a handle, wider");
  Check((GlobalFlags(dib) & GMEM_LOCKCOUNT) == 0 && (GlobalFlags(mfp) & GMEM_LOCKCOUNT) == 0,
        "the host's blocks are left unlocked");
  Check(GetEnhMetaFileBits(p.hemf, 0, nullptr) == p.emf.size() &&
            GetMetaFileBitsEx(p.hmf, 0, nullptr) == p.wmf.size(),
        "the host's metafiles are left alive");

  // A bitmap file written by the host, read through the library's file calls
  // while the host still holds it open for writing.
  std::string bmpPath = dir + "\\host.bmp";
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof(BITMAPINFOHEADER);
  fh.bfSize = static_cast<DWORD>(sizeof fh + p.dib.size());
  HANDLE f = CreateFileA(bmpPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                         nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0;
  WriteFile(f, &fh, sizeof fh, &written, nullptr);
  WriteFile(f, p.dib.data(), static_cast<DWORD>(p.dib.size()), &written, nullptr);
  DOXDOC doc = api.DoxNewDoc();
  api.DoxSetFlags(doc, 1, FLAG_NO_MSG_BOX);
  Check(api.DoxInsertPictFile(doc, bmpPath.c_str(), 0, 0, 0) == 1, "DoxInsertPictFile of a bitmap");
  CheckText(Joined(Text(api, doc)), OnlyGroup(DibGroup(p, 0, 0)), "bitmap file embedded");
  api.DoxEndDoc(doc);
  CloseHandle(f);
  DeleteFileA(bmpPath.c_str());

  // A clipboard held open by another thread: only the paste that needs it fails.
  Holder holder{CreateEventA(nullptr, TRUE, FALSE, nullptr),
                CreateEventA(nullptr, TRUE, FALSE, nullptr), false};
  HANDLE thread = CreateThread(nullptr, 0, HoldClipboard, &holder, 0, nullptr);
  WaitForSingleObject(holder.opened, 10000);
  if (Check(holder.ok, "another thread holds the clipboard open")) {
    api.DoxResetLastMessage();
    Paste(api, PICT_FORMAT_DIB, nullptr, 0, 0, &r);
    LastMessage m = Last(api);
    Check(r == 0 && m.code == 55 && m.caption.empty(),
          "clipboard in use: code 55 with an empty caption (got %d, %d '%s')", r, m.code,
          m.caption.c_str());
    api.DoxResetLastMessage();
    CheckText(Paste(api, PICT_FORMAT_DIB, dib, 0, 0, &r), OnlyGroup(DibGroup(p, 0, 0)),
              "a paste from a handle does not open the clipboard");
  }
  SetEvent(holder.release);
  WaitForSingleObject(thread, 10000);
  CloseHandle(thread);
  CloseHandle(holder.opened);
  CloseHandle(holder.release);

  // An empty clipboard: format 0 finds nothing and reports nothing; a given
  // format has no data.
  EmptyTheClipboard();
  api.DoxResetLastMessage();
  Check(Paste(api, PICT_FORMAT_ANY, nullptr, 0, 0, &r) == OnlyGroup("") && r == 0 &&
            Last(api).code == 0,
        "empty clipboard, format 0: nothing written, nothing reported");
  Paste(api, PICT_FORMAT_DIB, nullptr, 0, 0, &r);
  LastMessage m = Last(api);
  Check(r == 0 && m.code == 56 && m.caption.empty(), "empty clipboard, format 8: code 56 (got %d)",
        m.code);
  api.DoxResetLastMessage();

  GlobalFree(dib);
  GlobalFree(mfp);
  DeleteMetaFile(p.hmf);
  DeleteEnhMetaFile(p.hemf);
  CheckBoxes("pictures");
}

}  // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: dox_host_test DLL WORKDIR\n");
    return 2;
  }
  const char *path = argv[1];
  std::string dir = argv[2];
  HMODULE dll = LoadLibraryA(path);
  if (!dll) {
    std::printf("FAIL: LoadLibraryA(%s): error %lu\n", path, GetLastError());
    return 1;
  }
  {
    Api api(dll);
    api.DoxSetMessageSink(Sink, nullptr);
    CheckStartUp(dll, api);
  }
  dll = CheckReload(dll, path);
  if (dll) {
    Api api(dll);
    CheckReports(api);
    CheckMemory(api);
    CheckFiles(api, dir);
    CheckFonts(api);
    CheckPictures(api, dir);
    EmptyTheClipboard();
    FreeLibrary(dll);
  }
  std::printf("host: %d passed, %d failed\n", g_passed, g_failed);
  return g_failed == 0 ? 0 : 1;
}
