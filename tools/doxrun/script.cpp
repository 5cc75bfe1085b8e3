#include "script.h"

#include <cctype>
#include <cstring>
#include <fstream>
#include <sstream>
#include <limits>
#include <stdexcept>

namespace doxrun {
namespace {

struct ScriptError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

bool IsIdentStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdent(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

class LineParser {
 public:
  explicit LineParser(const std::string &line) : s_(line) {}

  // Returns false for a blank or comment line.
  bool Parse(Call &call) {
    SkipSpace();
    if (AtEnd()) return false;
    if (!IsIdentStart(Peek())) throw ScriptError("expected the name of an export");
    std::string name = Identifier();
    call.def = FindExport(name);
    if (!call.def) {
      std::string close = SuggestExports(name);
      throw ScriptError("unknown export '" + name + "'" +
                        (close.empty() ? "" : " (did you mean " + close + "?)"));
    }
    SkipSpace();
    bool paren = Accept('(');
    bool first = true;
    for (;;) {
      SkipSpace();
      if (paren && Accept(')')) {
        SkipSpace();
        if (!AtEnd()) throw ScriptError("unexpected text after ')'");
        break;
      }
      if (!paren && AtEnd()) break;
      if (paren && AtEnd()) throw ScriptError("missing ')'");
      if (!first && Accept(',')) SkipSpace();
      const char *params = call.def->params;
      size_t at = call.args.size();
      call.args.push_back(Argument(at < std::strlen(params) ? params[at] : 'i'));
      first = false;
    }
    CheckArguments(call);
    return true;
  }

 private:
  bool AtEnd() const {
    return pos_ >= s_.size() || s_[pos_] == '#' || s_.compare(pos_, 2, "//") == 0;
  }
  char Peek() const { return pos_ < s_.size() ? s_[pos_] : '\0'; }
  bool Accept(char c) {
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }
  void SkipSpace() {
    while (pos_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[pos_]))) ++pos_;
  }
  // The identifier at the current position, without moving past it.
  std::string Word() const {
    size_t end = pos_;
    while (end < s_.size() && IsIdent(s_[end])) ++end;
    return s_.substr(pos_, end - pos_);
  }
  std::string Identifier() {
    size_t start = pos_;
    while (pos_ < s_.size() && IsIdent(s_[pos_])) ++pos_;
    return s_.substr(start, pos_ - start);
  }

  // `kind`: the kind of parameter expected here.
  Arg Argument(char kind) {
    Arg a;
    if (Peek() == '"') {
      a.kind = Arg::Str;
      a.str = Quoted(false, nullptr);
    } else if (Peek() == 'u' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') {
      ++pos_;
      a.kind = Arg::UStr;
      Quoted(true, &a.ustr);
    } else if (Peek() == 'x' && pos_ + 1 < s_.size() && s_[pos_ + 1] == '"') {
      ++pos_;
      a.kind = Arg::Bytes;
      a.str = HexBytes();
    } else if (s_.compare(pos_, 4, "null") == 0 && !IsIdent(pos_ + 4 < s_.size() ? s_[pos_ + 4] : ' ')) {
      pos_ += 4;
      a.kind = Arg::Null;
    } else if ((kind == 's' || kind == 'w') && IsIdentStart(Peek()) &&
               !FindConstant(Word())) {
      throw ScriptError("'" + Word() + "' is not a string: strings are quoted, as in \"" +
                        Word() + "\"");
    } else {
      a.kind = Arg::Int;
      a.value = Expression();
    }
    return a;
  }

  // term ('|' term)*
  int64_t Expression() {
    int64_t v = Term();
    for (;;) {
      SkipSpace();
      if (!Accept('|')) return v;
      SkipSpace();
      v |= Term();
    }
  }

  int64_t Term() {
    bool negative = Accept('-');
    if (IsIdentStart(Peek())) {
      std::string name = Identifier();
      const ConstantDef *c = FindConstant(name);
      if (!c) throw ScriptError("unknown constant '" + name + "'");
      return negative ? -c->value : c->value;
    }
    if (!std::isdigit(static_cast<unsigned char>(Peek())))
      throw ScriptError("expected an argument");
    uint64_t v = 0;
    int base = 10;
    if (Peek() == '0' && pos_ + 1 < s_.size() && (s_[pos_ + 1] == 'x' || s_[pos_ + 1] == 'X')) {
      base = 16;
      pos_ += 2;
      if (HexValue(Peek()) < 0) throw ScriptError("bad hexadecimal number");
    }
    while (pos_ < s_.size()) {
      int d = base == 16 ? HexValue(s_[pos_])
                         : (std::isdigit(static_cast<unsigned char>(s_[pos_])) ? s_[pos_] - '0' : -1);
      if (d < 0) break;
      v = v * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
      if (v > 0xFFFFFFFFull) throw ScriptError("number out of range");
      ++pos_;
    }
    if (IsIdent(Peek())) throw ScriptError("bad number");
    return negative ? -static_cast<int64_t>(v) : static_cast<int64_t>(v);
  }

  // A double-quoted string with C escapes. For UTF-16 strings, \uXXXX and
  // UTF-8 text give code units.
  std::string Quoted(bool wide, std::u16string *units) {
    ++pos_;  // the opening quote
    std::string bytes;
    auto put = [&](uint32_t unit) {
      if (wide)
        units->push_back(static_cast<char16_t>(unit));
      else
        bytes.push_back(static_cast<char>(unit));
    };
    for (;;) {
      if (pos_ >= s_.size()) throw ScriptError("unterminated string");
      char c = s_[pos_++];
      if (c == '"') break;
      if (c != '\\') {
        if (wide && static_cast<unsigned char>(c) >= 0x80) {
          --pos_;
          uint32_t cp = Utf8();
          if (cp >= 0x10000) {
            cp -= 0x10000;
            put(0xD800 + (cp >> 10));
            put(0xDC00 + (cp & 0x3FF));
          } else {
            put(cp);
          }
        } else {
          put(static_cast<unsigned char>(c));
        }
        continue;
      }
      if (pos_ >= s_.size()) throw ScriptError("unterminated string");
      char e = s_[pos_++];
      switch (e) {
        case 'r': put('\r'); break;
        case 'n': put('\n'); break;
        case 't': put('\t'); break;
        case '\\': put('\\'); break;
        case '"': put('"'); break;
        case 'x': put(Hex(2)); break;
        case 'u':
          if (!wide) throw ScriptError("bad escape '\\u' (only in u\"...\" strings)");
          put(Hex(4));
          break;
        default: throw ScriptError(std::string("bad escape '\\") + e + "'");
      }
    }
    return bytes;
  }

  // x"4d 42 ..": bytes as pairs of hexadecimal digits, blanks allowed between pairs.
  std::string HexBytes() {
    ++pos_;  // the opening quote
    std::string bytes;
    for (;;) {
      if (pos_ >= s_.size()) throw ScriptError("unterminated byte string");
      char c = s_[pos_];
      if (c == '"') {
        ++pos_;
        return bytes;
      }
      if (c == ' ') {
        ++pos_;
        continue;
      }
      int hi = HexValue(c);
      int lo = pos_ + 1 < s_.size() ? HexValue(s_[pos_ + 1]) : -1;
      if (hi < 0 || lo < 0) throw ScriptError("bad byte string: expected pairs of hex digits");
      bytes.push_back(static_cast<char>(hi * 16 + lo));
      pos_ += 2;
    }
  }

  uint32_t Hex(int digits) {
    uint32_t v = 0;
    for (int i = 0; i < digits; ++i) {
      int d = pos_ < s_.size() ? HexValue(s_[pos_]) : -1;
      if (d < 0) throw ScriptError("bad escape: expected " + std::to_string(digits) + " hex digits");
      v = v * 16 + static_cast<uint32_t>(d);
      ++pos_;
    }
    if (v == 0) throw ScriptError("a string cannot hold a NUL");
    return v;
  }

  uint32_t Utf8() {
    auto b = static_cast<unsigned char>(s_[pos_++]);
    int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : -1;
    if (extra < 0) throw ScriptError("bad UTF-8 in string");
    uint32_t cp = b & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
      if (pos_ >= s_.size() || (static_cast<unsigned char>(s_[pos_]) & 0xC0) != 0x80)
        throw ScriptError("bad UTF-8 in string");
      cp = (cp << 6) | (static_cast<unsigned char>(s_[pos_++]) & 0x3F);
    }
    return cp;
  }

  static void CheckArguments(const Call &call) {
    const char *params = call.def->params;
    size_t want = std::strlen(params);
    if (call.args.size() != want)
      throw ScriptError(std::string(call.def->name) + " takes " + std::to_string(want) +
                        " argument(s), got " + std::to_string(call.args.size()));
    for (size_t i = 0; i < want; ++i) {
      const Arg &a = call.args[i];
      std::string where = "argument " + std::to_string(i + 1) + " of " + call.def->name;
      switch (params[i]) {
        case 'i':
        case 'u':
          if (a.kind != Arg::Int) throw ScriptError(where + " must be a number");
          if (a.value < std::numeric_limits<int32_t>::min() || a.value > 0xFFFFFFFFll)
            throw ScriptError(where + " is out of range");
          break;
        case 's':
          if (a.kind != Arg::Str && a.kind != Arg::Null)
            throw ScriptError(where + " must be a string or null");
          break;
        case 'w':
          if (a.kind != Arg::UStr && a.kind != Arg::Null)
            throw ScriptError(where + " must be a u\"...\" string or null");
          break;
        case 'b':
          if (a.kind != Arg::Bytes) throw ScriptError(where + " must be a x\"...\" byte string");
          break;
      }
    }
  }

  const std::string &s_;
  size_t pos_ = 0;
};

}  // namespace

bool ParseScript(const std::string &text, const std::string &fileName, std::vector<Call> &calls,
                 std::string &error) {
  size_t start = 0;
  int lineNo = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++lineNo;
    Call call;
    call.line = lineNo;
    try {
      if (LineParser(line).Parse(call)) calls.push_back(std::move(call));
    } catch (const ScriptError &e) {
      error = fileName + ":" + std::to_string(lineNo) + ": " + e.what();
      return false;
    }
    start = end + 1;
  }
  return true;
}

namespace {

bool ReadFile(const std::string &name, std::string &text) {
  std::ifstream in(name, std::ios::binary);
  if (!in) return false;
  std::ostringstream ss;
  ss << in.rdbuf();
  text = ss.str();
  return true;
}

// The name in a line 'Include "NAME"' (blanks and a comment around it allowed).
bool IncludeLine(const std::string &line, std::string &name) {
  size_t p = line.find_first_not_of(" \t");
  if (p == std::string::npos || line.compare(p, 8, "Include ") != 0) return false;
  size_t open = line.find('"', p + 8), close = line.find('"', open + 1);
  if (open == std::string::npos || close == std::string::npos) return false;
  name = line.substr(open + 1, close - open - 1);
  return true;
}

bool Load(const std::string &path, std::vector<Call> &calls, std::string &error, int depth) {
  std::string text;
  if (depth > 8 || !ReadFile(path, text)) {
    error = "cannot read '" + path + "'" + (depth > 8 ? " (Include nested too deeply)" : "");
    return false;
  }
  // Include lines become blank lines, so that line numbers stay right.
  std::vector<std::pair<int, std::string>> includes;
  std::string own, line, name;
  std::istringstream in(text);
  for (int no = 1; std::getline(in, line); ++no) {
    if (IncludeLine(line, name)) {
      includes.emplace_back(no, name);
      line.clear();
    }
    own += line + "\n";
  }
  std::vector<Call> ownCalls;
  if (!ParseScript(own, path, ownCalls, error)) return false;
  const std::string folder = path.substr(0, path.find_last_of("/\\") + 1);
  size_t next = 0;
  for (const auto &[no, included] : includes) {
    while (next < ownCalls.size() && ownCalls[next].line < no) calls.push_back(ownCalls[next++]);
    if (!Load(folder + included, calls, error, depth + 1)) return false;
  }
  calls.insert(calls.end(), ownCalls.begin() + static_cast<long>(next), ownCalls.end());
  return true;
}

}  // namespace

bool LoadScript(const std::string &path, std::vector<Call> &calls, std::string &error) {
  return Load(path, calls, error, 0);
}

}  // namespace doxrun
