// Pseudo-calls that let a script carry the small files it needs (pictures):
//
//   WriteFile "name" x"42 4d ..."   writes the bytes to the file; returns 1, or 0
//   DeleteFile "name"               removes the file; returns 1, or 0
#include <cstdio>
#include <fstream>

#include "registry.h"

namespace {

int32_t WriteBytes(const char *name, const std::string &bytes) {
  if (!name) return 0;
  std::ofstream out(name, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return out ? 1 : 0;
}

const doxrun::ExportDef kCalls[] = {
    DOXRUN_PSEUDO(WriteFile, "sb", WriteBytes(a[0].s(), a[1].str)),
    DOXRUN_PSEUDO(DeleteFile, "s", a[0].s() && std::remove(a[0].s()) == 0 ? 1 : 0),
};

doxrun::Registrar calls(kCalls);

}  // namespace
