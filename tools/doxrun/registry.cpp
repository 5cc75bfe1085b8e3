#include "registry.h"

#include <algorithm>
#include <cstdlib>
#include <deque>
#include <iostream>
#include <map>
#include <regex>

namespace doxrun {
namespace {

struct HeaderExport {
  const char *name, *result, *params;
};
constexpr HeaderExport kHeader[] = {
#include "header_exports.inc"
};

std::map<std::string, ExportDef, std::less<>> &Exports() {
  static std::map<std::string, ExportDef, std::less<>> m;
  return m;
}
std::map<std::string, const ConstantDef *, std::less<>> &Constants() {
  static std::map<std::string, const ConstantDef *, std::less<>> m;
  return m;
}

// Every numeric constant of dox.h, usable by name in scripts.
constexpr ConstantDef kHeaderConstants[] = {
#include "header_constants.inc"
};
const bool kConstantsRegistered = (RegisterConstants(kHeaderConstants, std::size(kHeaderConstants)), true);

const HeaderExport *InHeader(std::string_view name) {
  for (const HeaderExport &h : kHeader)
    if (name == h.name) return &h;
  return nullptr;
}

// The kind letters of a declaration's parameters; the document is implicit.
std::string Kinds(const char *declared) {
  static const std::pair<std::regex, char> kTypes[] = {
      {std::regex("^const char \\*"), 's'}, {std::regex("^const uint16_t \\*"), 'w'},
      {std::regex("^int32_t "), 'i'},       {std::regex("^uint32_t "), 'u'},
      {std::regex("^const void \\*"), 'b'}};
  std::string kinds, list = declared;
  size_t start = 0;
  while (start < list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string p = list.substr(start, end - start);
    p.erase(0, p.find_first_not_of(' '));
    start = end + 1;
    if (p == "void" || p.rfind("DOXDOC ", 0) == 0) continue;
    char kind = '?';
    for (const auto &[rx, k] : kTypes)
      if (std::regex_search(p, rx)) kind = k;
    kinds += kind;
  }
  return kinds;
}

size_t Distance(std::string_view a, std::string_view b) {
  std::vector<size_t> row(b.size() + 1);
  for (size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diag = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      size_t next = std::min({row[j] + 1, row[j - 1] + 1,
                              diag + (std::tolower(a[i - 1]) != std::tolower(b[j - 1]))});
      diag = row[j];
      row[j] = next;
    }
  }
  return row[b.size()];
}

}  // namespace

void RegisterExports(const ExportDef *defs, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    ExportDef def = defs[i];
    if (const HeaderExport *h = InHeader(def.name)) {
      def.signature = h->params;
      if (!def.params) {
        static std::deque<std::string> kinds;  // lives as long as the registry
        kinds.push_back(Kinds(h->params));
        def.params = kinds.back().c_str();
      }
    }
    if (!def.params) {
      std::cerr << "doxrun: " << def.name << " is not declared in dox.h\n";
      std::abort();
    }
    Exports()[def.name] = def;
  }
}

void RegisterConstants(const ConstantDef *defs, size_t n) {
  for (size_t i = 0; i < n; ++i) Constants()[defs[i].name] = &defs[i];
}

const ExportDef *FindExport(std::string_view name) {
  auto it = Exports().find(name);
  return it == Exports().end() ? nullptr : &it->second;
}

const ConstantDef *FindConstant(std::string_view name) {
  auto it = Constants().find(name);
  return it == Constants().end() ? nullptr : it->second;
}

std::string SuggestExports(std::string_view name) {
  std::vector<std::pair<size_t, std::string>> close;
  for (const auto &[known, def] : Exports()) {
    size_t d = Distance(name, known);
    if (d <= std::max<size_t>(2, known.size() / 4)) close.emplace_back(d, known);
  }
  std::sort(close.begin(), close.end());
  std::string out;
  for (size_t i = 0; i < close.size() && i < 3; ++i) out += (i ? ", " : "") + close[i].second;
  return out;
}

void PrintExports(std::ostream &out) {
  for (const HeaderExport &h : kHeader) {
    const ExportDef *def = FindExport(h.name);
    std::string_view result = h.result;
    out << result << (result.back() == '*' ? "" : " ") << h.name << "(" << h.params << ")"
        << (def ? "" : "  [not callable from scripts]") << "\n";
  }
  for (const auto &[name, def] : Exports())
    if (!def.signature) out << "pseudo-call " << name << " " << def.params << "\n";
}

}  // namespace doxrun
