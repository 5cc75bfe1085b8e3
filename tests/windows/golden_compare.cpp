// Compares the RTF that doxrun.exe wrote on Windows with the expected file of
// a golden script, which the Linux build must match byte for byte.
//
//   dox_golden_compare EXPECTED ACTUAL
//   dox_golden_compare --empty-clipboard
//
// Everything but the font table must be identical. In the font table the
// number of entries, their order, indexes, names and line breaks must be
// identical too; only the family word and the character set of an entry come
// from the system's font enumeration, which differs between systems (Linux
// has a built-in list of the standard faces, a Windows system has its
// installed fonts). So each entry's family word must be what this system's
// EnumFontsA reports first for the name (none for a face it does not know),
// and its character set either the expected one (a character set the caller
// asked for is written on every system) or the one this system reports.
#include <windows.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

struct FontEntry {
  std::string lead;  // CR LF before the entry, or nothing
  std::string index;
  int family = 0;   // 0, 16, 32, 48, 64, 80
  int charset = 1;  // 1 when no "\fcharset" is written
  std::string name;
};

struct Parsed {
  bool ok = false;
  std::vector<FontEntry> fonts;
  std::string rest;  // everything after the font table
  std::string error;
};

const char kHeader[] = "{\\rtf1\\uc1 \\deff0 ";
const struct {
  const char *word;
  int family;
} kFamilies[] = {{"\\froman ", 16}, {"\\fswiss ", 32}, {"\\fmodern ", 48},
                 {"\\fscript ", 64}, {"\\fdecor ", 80}};

bool Take(const std::string &s, size_t &at, const std::string &what) {
  if (s.compare(at, what.size(), what) != 0) return false;
  at += what.size();
  return true;
}

std::string Digits(const std::string &s, size_t &at) {
  size_t from = at;
  while (at < s.size() && s[at] >= '0' && s[at] <= '9') ++at;
  return s.substr(from, at - from);
}

Parsed Parse(const std::string &s) {
  Parsed p;
  size_t at = 0;
  if (!Take(s, at, kHeader)) {
    p.error = "no document header";
    return p;
  }
  if (Take(s, at, "{\\fonttbl")) {
    while (!Take(s, at, "}")) {
      FontEntry e;
      if (Take(s, at, "\r\n")) e.lead = "\r\n";
      if (!Take(s, at, "{\\f") || (e.index = Digits(s, at)).empty() || !Take(s, at, " ")) {
        p.error = "bad font entry at byte " + std::to_string(at);
        return p;
      }
      for (const auto &f : kFamilies)
        if (Take(s, at, f.word)) e.family = f.family;
      if (Take(s, at, "\\fcharset")) {
        std::string n = Digits(s, at);
        if (n.empty() || !Take(s, at, " ")) {
          p.error = "bad character set at byte " + std::to_string(at);
          return p;
        }
        e.charset = std::stoi(n);
      }
      size_t end = s.find(";}", at);
      if (end == std::string::npos) {
        p.error = "unterminated font entry";
        return p;
      }
      e.name = s.substr(at, end - at);
      at = end + 2;
      p.fonts.push_back(e);
    }
  }
  p.rest = s.substr(at);
  p.ok = true;
  return p;
}

struct SystemFont {
  int family = 0;
  int charset = 0;
};

int CALLBACK FirstFont(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM user) {
  auto *f = reinterpret_cast<SystemFont *>(user);
  f->family = lf->lfPitchAndFamily & 0xF0;
  f->charset = lf->lfCharSet;
  return 0;
}

// What the library finds for a face name: the system's first report, or 0
// and 0 for a face it does not know (and for an empty name, which names none).
SystemFont Enumerate(const std::string &name) {
  SystemFont f;
  if (name.empty()) return f;
  HDC dc = GetDC(nullptr);
  EnumFontsA(dc, name.c_str(), FirstFont, reinterpret_cast<LPARAM>(&f));
  ReleaseDC(nullptr, dc);
  return f;
}

bool ReadAll(const char *path, std::string &text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return true;
}

int Compare(const char *expectedPath, const char *actualPath) {
  std::string expectedText, actualText;
  if (!ReadAll(expectedPath, expectedText) || !ReadAll(actualPath, actualText)) {
    std::printf("cannot read %s or %s\n", expectedPath, actualPath);
    return 2;
  }
  Parsed expected = Parse(expectedText), actual = Parse(actualText);
  if (!expected.ok || !actual.ok) {
    std::printf("cannot parse: %s%s\n", expected.error.c_str(), actual.error.c_str());
    return 1;
  }
  int failures = 0;
  if (expected.fonts.size() != actual.fonts.size()) {
    std::printf("font table: %u entries expected, %u written\n",
                static_cast<unsigned>(expected.fonts.size()),
                static_cast<unsigned>(actual.fonts.size()));
    ++failures;
  }
  for (size_t i = 0; i < expected.fonts.size() && i < actual.fonts.size(); ++i) {
    const FontEntry &e = expected.fonts[i], &a = actual.fonts[i];
    SystemFont sys = Enumerate(a.name);
    bool same = e.lead == a.lead && e.index == a.index && e.name == a.name &&
                a.family == sys.family && (a.charset == e.charset || a.charset == sys.charset);
    if (!same) {
      std::printf("font entry %u: expected \\f%s '%s' (family %d, charset %d; this system: "
                  "family %d, charset %d), written \\f%s '%s' (family %d, charset %d)%s\n",
                  static_cast<unsigned>(i), e.index.c_str(), e.name.c_str(), e.family,
                  e.charset, sys.family, sys.charset, a.index.c_str(), a.name.c_str(), a.family,
                  a.charset, e.lead == a.lead ? "" : ", line break differs");
      ++failures;
    }
  }
  if (expected.rest != actual.rest) {
    size_t at = 0;
    while (at < expected.rest.size() && at < actual.rest.size() &&
           expected.rest[at] == actual.rest[at])
      ++at;
    size_t from = at > 60 ? at - 60 : 0;
    std::printf("after the font table the text differs at byte %u:\n  expected ...%s\n"
                "  written  ...%s\n",
                static_cast<unsigned>(at), expected.rest.substr(from, 160).c_str(),
                actual.rest.substr(from, 160).c_str());
    ++failures;
  }
  return failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc == 2 && std::string(argv[1]) == "--empty-clipboard") {
    if (!OpenClipboard(nullptr)) return 1;
    bool ok = EmptyClipboard() != 0;
    CloseClipboard();
    return ok ? 0 : 1;
  }
  if (argc != 3) {
    std::fprintf(stderr, "usage: dox_golden_compare EXPECTED ACTUAL | --empty-clipboard\n");
    return 2;
  }
  return Compare(argv[1], argv[2]);
}
