#include "registry.h"

#include <algorithm>
#include <map>

namespace doxrun {
namespace {

std::map<std::string, const ExportDef *, std::less<>> &Exports() {
  static std::map<std::string, const ExportDef *, std::less<>> m;
  return m;
}
std::map<std::string, const ConstantDef *, std::less<>> &Constants() {
  static std::map<std::string, const ConstantDef *, std::less<>> m;
  return m;
}

}  // namespace

void RegisterExports(const ExportDef *defs, size_t n) {
  for (size_t i = 0; i < n; ++i) Exports()[defs[i].name] = &defs[i];
}

void RegisterConstants(const ConstantDef *defs, size_t n) {
  for (size_t i = 0; i < n; ++i) Constants()[defs[i].name] = &defs[i];
}

const ExportDef *FindExport(std::string_view name) {
  auto it = Exports().find(name);
  return it == Exports().end() ? nullptr : it->second;
}

const ConstantDef *FindConstant(std::string_view name) {
  auto it = Constants().find(name);
  return it == Constants().end() ? nullptr : it->second;
}

const std::vector<const ExportDef *> &AllExports() {
  static std::vector<const ExportDef *> all;
  all.clear();
  for (auto &[name, def] : Exports()) all.push_back(def);
  return all;
}

}  // namespace doxrun
