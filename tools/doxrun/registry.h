// The exports doxrun can call, registered by the calls_*.cpp files, and the
// named constants scripts may use as arguments.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "dox.h"

namespace doxrun {

struct Arg {
  enum Kind { Int, Str, UStr, Bytes, Null } kind = Null;
  int64_t value = 0;
  std::string str;
  std::u16string ustr;

  int32_t i32() const { return static_cast<int32_t>(static_cast<uint32_t>(value)); }
  uint32_t u32() const { return static_cast<uint32_t>(value); }
  const char *s() const { return kind == Null ? nullptr : str.c_str(); }
  const uint16_t *u() const {
    return kind == Null ? nullptr : reinterpret_cast<const uint16_t *>(ustr.c_str());
  }
};
using Args = std::vector<Arg>;

struct CallContext {
  DOXDOC doc;
  std::ostream *trace;  // null unless tracing: extra lines a call prints
};

// Parameter kinds, one letter each: i int32, u uint32, s ANSI string or null,
// w UTF-16 string or null, b byte string (x"..."). An export's kinds come from
// its declaration in dox.h (the document parameter is implicit); the
// pseudo-calls give their own.
struct ExportDef {
  const char *name;
  const char *params;  // null for exports: taken from dox.h
  int64_t (*call)(CallContext &c, const Args &a);
  const char *signature = nullptr;  // the parameters as dox.h declares them
};

struct ConstantDef {
  const char *name;
  int64_t value;
};

void RegisterExports(const ExportDef *defs, size_t n);
void RegisterConstants(const ConstantDef *defs, size_t n);
const ExportDef *FindExport(std::string_view name);
// Up to three registered names close to a misspelt one, "" when none.
std::string SuggestExports(std::string_view name);
// Every export of dox.h with its parameters, and the pseudo-calls.
void PrintExports(std::ostream &out);
const ConstantDef *FindConstant(std::string_view name);

struct Registrar {
  template <size_t N>
  explicit Registrar(const ExportDef (&defs)[N]) {
    RegisterExports(defs, N);
  }
  template <size_t N>
  explicit Registrar(const ConstantDef (&defs)[N]) {
    RegisterConstants(defs, N);
  }
};

// A pointer-sized result as a number for the trace.
template <typename T>
int64_t Handle(T *p) {
  return static_cast<int64_t>(reinterpret_cast<intptr_t>(p));
}

}  // namespace doxrun

// One entry: the name, the parameter kinds of a pseudo-call, and the call
// made with the script's arguments `a` on the script's document `c.doc`.
#define DOXRUN_PSEUDO(name, params, ...)                                  \
  {                                                                       \
    #name, params, [](doxrun::CallContext &c, const doxrun::Args &a) -> int64_t { \
      (void)c;                                                            \
      (void)a;                                                            \
      return static_cast<int64_t>(__VA_ARGS__);                           \
    }                                                                     \
  }
#define DOXRUN_EXPORT(name, ...) DOXRUN_PSEUDO(name, nullptr, __VA_ARGS__)
