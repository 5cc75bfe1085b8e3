// Every golden call script, run in-process through doxrun's engine:
//  - with each of its allocation requests failing in turn, and the host's
//    operator new throwing during every call: nothing crashes, no exception
//    comes out, the library never calls operator new, DoxEndDoc releases
//    every block, a delivered text is still one balanced group, and what the
//    calls then return and report (where it differs from the clean run) is
//    exactly NAME.oom.trace beside the script;
//  - on handles that are no document (ended, made up, another kind): exactly
//    what the calls do with a null document;
//  - in two threads at once: each gets the bytes of NAME.rtf.
// DOX_REGEN=1 rewrites the .oom.trace files (review them with git diff).
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/platform.h"
#include "runner.h"

namespace fs = std::filesystem;

namespace {
// While set, this thread's operator new counts the call and throws.
thread_local bool t_newThrows = false;
thread_local long t_newCalls = 0;
// The memory hooks count from the start of the tests on.
const bool kHooksOn = (dox::plat::MemLiveBlocks(), true);
}  // namespace

// The replacements pair malloc with free, as the standard library's own do.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif
void *operator new(std::size_t n) {
  if (t_newThrows) {
    ++t_newCalls;
    throw std::bad_alloc();
  }
  if (void *p = std::malloc(n ? n : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }

namespace {

// Around each export (but the one whose trace lines the runner writes).
void ThrowingNew(bool before, const char *name) {
  t_newThrows = before && std::strcmp(name, "DoxGetLastMessage") != 0;
}

struct Script {
  std::string name;
  std::vector<doxrun::Call> calls;
  bool usesFiles = false;
};

std::string Slurp(const fs::path &p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

const std::vector<Script> &Scripts() {
  static std::vector<Script> all = [] {
    std::vector<Script> v;
    for (const auto &e : fs::directory_iterator(DOX_GOLDEN_DIR)) {
      if (e.path().extension() != ".dox") continue;
      Script s{e.path().stem().string(), {}};
      std::string error;
      EXPECT_TRUE(doxrun::LoadScript(e.path().string(), s.calls, error)) << error;
      for (const doxrun::Call &c : s.calls)
        s.usesFiles |= std::string(c.def->name).find("File") != std::string::npos;
      v.push_back(std::move(s));
    }
    std::sort(v.begin(), v.end(), [](auto &a, auto &b) { return a.name < b.name; });
    return v;
  }();
  return all;
}

TEST(Scripts, EveryAllocationFailure) {
  fs::path work = fs::temp_directory_path() / ("dox_oom_" + std::to_string(::getpid()));
  fs::create_directories(work);
  fs::current_path(work);
  const bool regen = std::getenv("DOX_REGEN") != nullptr;
  doxrun::RunOptions opt;
  opt.trace = opt.keepText = true;
  opt.around = ThrowingNew;
  for (const Script &s : Scripts()) {
    SCOPED_TRACE(s.name);
    doxrun::RunResult clean;
    DoxSetFlags(nullptr, 0, ~0u);
    const long live = dox::plat::MemLiveBlocks();
    const long start = dox::plat::MemRequestCount();
    doxrun::RunCalls(s.calls, opt, clean);
    const long requests = dox::plat::MemRequestCount() - start;
    ASSERT_EQ(live, dox::plat::MemLiveBlocks());
    std::ostringstream record;
    for (long n = 1; n <= requests; ++n) {
      doxrun::RunResult r;
      // A script run without its document sets the library's flags: start afresh.
      DoxSetFlags(nullptr, 0, ~0u);
      DoxResetLastMessage();
      dox::plat::MemFailNth(n);
      doxrun::RunCalls(s.calls, opt, r);
      dox::plat::MemFailNth(0);
      ASSERT_EQ(live, dox::plat::MemLiveBlocks()) << "request " << n;
      if (r.delivered && doxrun::OneBalancedGroup(clean.text)) {
        EXPECT_TRUE(doxrun::OneBalancedGroup(r.text)) << "request " << n;
      }
      // The calls whose result or reports changed, the first three in full.
      record << n << ":" << (r.madeDocument ? "" : " no document;")
             << (r.delivered ? " delivered" : " not delivered") << "\n";
      int changed = 0;
      for (size_t i = 0; i < r.calls.size(); ++i) {
        if (i < clean.calls.size() && r.calls[i] == clean.calls[i]) continue;
        if (++changed <= 3) record << "  " << s.calls[i].line << " " << r.calls[i] << "\n";
      }
      if (changed > 3) record << "  and " << changed - 3 << " more\n";
    }
    fs::path expected = fs::path(DOX_GOLDEN_DIR) / (s.name + ".oom.trace");
    if (regen) std::ofstream(expected, std::ios::binary) << record.str();
    EXPECT_EQ(Slurp(expected), record.str());
  }
  EXPECT_EQ(0, t_newCalls) << "the library called operator new";
  DoxSetFlags(nullptr, 0, ~0u);
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(work);
}

std::string Trace(const Script &s, DOXDOC doc) {
  doxrun::RunOptions opt;
  opt.trace = true;
  opt.givenDocument = true;
  opt.document = doc;
  doxrun::RunResult r;
  DoxSetFlags(nullptr, 0, ~0u);
  doxrun::RunCalls(s.calls, opt, r);
  std::string t;  // without DoxSetFlags, which sets the library's flags on a null document
  for (const std::string &call : r.calls)
    if (call.rfind("DoxSetFlags", 0) != 0) t += call + "\n";
  return t;
}

TEST(Scripts, HandlesThatAreNoDocumentActAsNull) {
  DOXDOC ended = DoxNewDoc();
  DoxEndDoc(ended);
  DOXHMEM block = DoxMemAlloc(64);
  long local[16] = {};
  const uintptr_t bits = reinterpret_cast<uintptr_t>(ended);
  const uintptr_t bad[] = {bits, bits + 1, bits + 0x10000, reinterpret_cast<uintptr_t>(block),
                           reinterpret_cast<uintptr_t>(local), 0x12345678u, 0xFFFFFFFFu};
  for (const Script &s : Scripts()) {
    const std::string null = Trace(s, nullptr);
    for (uintptr_t b : bad)
      EXPECT_EQ(null, Trace(s, reinterpret_cast<DOXDOC>(b))) << s.name << " " << b;
  }
  EXPECT_EQ(64u, DoxMemSize(block));
  DoxMemFree(block);
  DoxSetFlags(nullptr, 0, ~0u);
}

TEST(Threads, EveryGoldenScriptInTwoThreadsAtOnce) {
  doxrun::RunResult first;
  doxrun::RunCalls({}, {}, first);  // installs the runner's sink once, before the threads
  auto runAll = [](std::vector<std::string> *failed) {
    doxrun::RunOptions options;
    options.installSink = false;
    options.keepText = true;
    for (const Script &s : Scripts()) {
      if (s.usesFiles) continue;
      doxrun::RunResult r;
      doxrun::RunCalls(s.calls, options, r);
      if (r.text != Slurp(fs::path(DOX_GOLDEN_DIR) / (s.name + ".rtf")))
        failed->push_back(s.name);
    }
  };
  std::vector<std::string> a, b;
  std::thread t(runAll, &a);
  runAll(&b);
  t.join();
  EXPECT_EQ(std::vector<std::string>{}, a);
  EXPECT_EQ(std::vector<std::string>{}, b);
}

}  // namespace
