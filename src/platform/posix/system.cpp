// Screen, code page, message boxes and fonts for systems without Windows.
#include <cstdio>
#include <cstring>
#include <strings.h>

#include "platform/platform.h"

namespace dox::plat {
namespace {

struct KnownFont {
  const char *name;
  uint8_t family;  // the family bits of the pitch-and-family byte
  uint8_t charset;
};

// The standard faces, with the family and character set Windows reports.
constexpr KnownFont kKnownFonts[] = {
    {"Arial", 32, 0},           {"Arial Black", 32, 0},    {"Calibri", 32, 0},
    {"Cambria", 16, 0},         {"Comic Sans MS", 64, 0},  {"Consolas", 48, 0},
    {"Courier", 48, 0},         {"Courier New", 48, 0},    {"Garamond", 16, 0},
    {"Georgia", 16, 0},         {"Lucida Console", 48, 0}, {"MS Sans Serif", 32, 0},
    {"Segoe UI", 32, 0},        {"Symbol", 16, 2},         {"Tahoma", 32, 0},
    {"Times New Roman", 16, 0}, {"Trebuchet MS", 32, 0},   {"Verdana", 32, 0},
    {"Webdings", 0, 2},         {"Wingdings", 0, 2},
};

}  // namespace

void ShowDefaultMessage(const char *text, const char *caption) {
  std::fprintf(stderr, "%s: %s\n", caption ? caption : "Error", text ? text : "");
}

void ScreenDpi(int32_t *x, int32_t *y) {
  *x = 96;
  *y = 96;
}

int32_t AnsiMaxCharSize() { return 1; }

void EnumFontFaces(const char *name, FontCallback callback, intptr_t user) {
  if (!name) return;
  for (const KnownFont &f : kKnownFonts) {
    if (strcasecmp(f.name, name) != 0) continue;
    LogFont lf{};
    lf.lfCharSet = f.charset;
    lf.lfPitchAndFamily = static_cast<uint8_t>(f.family | 2);  // variable pitch
    std::strncpy(lf.lfFaceName, f.name, sizeof lf.lfFaceName - 1);
    callback(&lf, nullptr, 4 /* TRUETYPE_FONTTYPE */, user);
    return;
  }
}

}  // namespace dox::plat
