// Builds four real documents through dox.h, checks each output, and reports
// the speed of building and saving them against copying the same bytes to a
// file (memcpy + write), measured in the same run.
//
//   bench_docs                 all four documents: MB/s, % of the copy limit,
//                              1x vs 10x size, 1 vs 2 threads
//   bench_docs --doc N --once [--scale K]  builds and saves document N (1-4),
//                              K times its size (1-10), once, for
//                              valgrind --tool=callgrind --toggle-collect='*BuildAndSave*'
//   bench_docs --doc N --repeat K  builds and saves document N K times, for
//                              perf record (wall-clock profiles)
//   bench_docs --quick         fewer repetitions
//
// Columns: output bytes; MB/s building and saving; MB/s copying the same
// bytes; the first as a share of the second ("%limit", of the median runs,
// and "best%", of the best ones); the time of a document ten times the size
// over ten times the time of one (1.00: linear); and, for documents 1 and 2,
// MB/s of one thread and of two threads each building its own document at
// once and saving it, their ratio, and the same ratio with the documents
// taken into memory instead of saved; the processor time one document takes
// (best run, saving to a file) with two threads at once over that with one:
// 1.00 when the threads do not slow each other down, whatever share of the
// machine they are given; and the ratio of two threads to one copying the
// document's bytes and writing them to files of their own, the machine's own
// figure for saving from two threads. Times are medians of runs that
// alternate, each writing a file that does not exist yet: replacing a file
// written moments before waits on ext4 for its writeback to the disk (when a
// file is cut to nothing and written again, closing it starts the
// writeback), which made both the documents' and the copy's times swing
// between 1x and 3x, and the best of them the rare run that did not wait.
//
// Documents: (1) 20,000 paragraphs of 40 random words in five runs (plain,
// bold, plain, italic, plain), Arial 11 pt, left indent 360; (2) a table of
// 5,000 rows x 6 cells of 1440 twips with 10-twip borders, text r<i>c<j>;
// (3) a 1024 x 768 24-bit noise bitmap shown at 8640 x 6480 twips; (4) a
// 200-page letter-size report: header, footer "Page X of Y", per page a
// heading, paragraphs and a 4 x 4 table. Size `scale` multiplies each.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "dox.h"

namespace {

std::string g_dir;  // where the files go

uint64_t g_rng = 0x9E3779B97F4A7C15ull;
uint64_t Next() {
  g_rng ^= g_rng << 13;
  g_rng ^= g_rng >> 7;
  g_rng ^= g_rng << 17;
  return g_rng;
}

std::string Words(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) {
    int len = 2 + static_cast<int>(Next() % 9);
    for (int k = 0; k < len; ++k) s += static_cast<char>('a' + Next() % 26);
    if (i + 1 < n) s += ' ';
  }
  return s;
}

// Inputs made once, outside the timed part.
struct Inputs {
  std::vector<std::string> runs;   // (1): 5 runs per paragraph, 20,000 paragraphs
  std::vector<std::string> cells;  // (2): r<i>c<j> for 50,000 rows
  std::vector<std::string> prose;  // (4): paragraphs of a page
  std::string bitmap;              // (3): the bitmap file
};
Inputs g_in;

void MakeInputs() {
  for (int p = 0; p < 20000; ++p)
    for (int r = 0; r < 5; ++r) g_in.runs.push_back(Words(8) + (r < 4 ? " " : "\r\n"));
  for (int i = 0; i < 50000; ++i)
    for (int j = 0; j < 6; ++j)
      g_in.cells.push_back("r" + std::to_string(i) + "c" + std::to_string(j));
  for (int i = 0; i < 64; ++i) g_in.prose.push_back(Words(70) + ".\r\n");
  // A 24-bit bottom-up bitmap of noise, rows of 3072 bytes (no padding).
  const uint32_t w = 1024, h = 768, bits = w * h * 3, size = 54 + bits;
  std::string f(size, '\0');
  auto put = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) f[at + i] = static_cast<char>(v >> (8 * i));
  };
  f[0] = 'B', f[1] = 'M';
  put(2, size, 4), put(10, 54, 4), put(14, 40, 4), put(18, w, 4), put(22, h, 4);
  put(26, 1, 2), put(28, 24, 2), put(34, bits, 4);
  for (uint32_t i = 54; i < size; ++i) f[i] = static_cast<char>(Next() >> 24);
  g_in.bitmap = g_dir + "/dox_bench_noise.bmp";
  FILE *out = std::fopen(g_in.bitmap.c_str(), "wb");
  if (!out || std::fwrite(f.data(), 1, f.size(), out) != f.size() || std::fclose(out) != 0) {
    std::fprintf(stderr, "cannot write %s\n", g_in.bitmap.c_str());
    std::exit(2);
  }
}

// Each thread's own: a flag both threads wrote would bounce its cache line
// between the cores on every call.
thread_local bool g_ok = true;
void Ok(int32_t r) { g_ok = g_ok && r != 0; }

void Doc1(DOXDOC d, int scale) {
  Ok(DoxParaIndent(d, 360, -1, -1));
  Ok(DoxTextFont(d, "Arial", 11, 0, 1));
  const size_t n = g_in.runs.size();
  for (size_t p = 0; p < 20000u * scale; ++p) {
    const std::string *r = &g_in.runs[(p * 5) % n];
    Ok(DoxInsertText(d, r[0].c_str()));
    Ok(DoxTextFont(d, "Arial", 11, CHAR_BOLD, 1));
    Ok(DoxInsertText(d, r[1].c_str()));
    Ok(DoxTextFont(d, "Arial", 11, CHAR_BOLD, 0));
    Ok(DoxInsertText(d, r[2].c_str()));
    Ok(DoxTextFont(d, "Arial", 11, CHAR_ITALIC, 1));
    Ok(DoxInsertText(d, r[3].c_str()));
    Ok(DoxTextFont(d, "Arial", 11, CHAR_ITALIC, 0));
    Ok(DoxInsertText(d, r[4].c_str()));
  }
}

void Row(DOXDOC d, int cells, int width, const std::string *text) {
  Ok(DoxBeginTableRow(d, 0, 0, 0, 0, 0));
  for (int j = 0; j < cells; ++j)
    Ok(DoxNextCellInfo(d, width, CELL_VALIGN_TOP, 0, CELL_NO_BGCOLOR, 10, 10, 10, 10, 0));
  for (int j = 0; j < cells; ++j) {
    Ok(DoxBeginCellText(d));
    Ok(DoxInsertText(d, text[j].c_str()));
    Ok(DoxEndCellText(d));
  }
  Ok(DoxEndTableRow(d));
}

void Doc2(DOXDOC d, int scale) {
  for (int i = 0; i < 5000 * scale; ++i) Row(d, 6, 1440, &g_in.cells[6 * i]);
}

void Doc3(DOXDOC d, int scale) {
  for (int i = 0; i < scale; ++i) {
    Ok(DoxInsertPictFile(d, g_in.bitmap.c_str(), 8640, 6480, 0));
    Ok(DoxInsertText(d, "\r\n"));
  }
}

void Doc4(DOXDOC d, int scale) {
  Ok(DoxPaper(d, 12240, 15840, 0));
  Ok(DoxMargin(d, 1440, 1440, 1440, 1440, 720, 720));
  Ok(DoxBeginHdrFtr(d, HDRFTR_HEADER));
  Ok(DoxTextFont(d, "Arial", 9, CHAR_ITALIC, 1));
  Ok(DoxInsertText(d, "Annual report of the northern division"));
  Ok(DoxEndHdrFtr(d));
  Ok(DoxBeginHdrFtr(d, HDRFTR_FOOTER));
  Ok(DoxParaFlags(d, PARA_CENTER));
  Ok(DoxInsertText(d, "Page "));
  Ok(DoxInsertPageField(d, 1));
  Ok(DoxInsertText(d, " of "));
  Ok(DoxInsertPageField(d, 0));
  Ok(DoxEndHdrFtr(d));
  Ok(DoxBeginSectText(d));
  size_t prose = 0, cell = 0;
  for (int page = 0; page < 200 * scale; ++page) {
    if (page) Ok(DoxInsertBreak(d, BREAK_PAGE));
    Ok(DoxResetParaProp(d));
    Ok(DoxParaFlags(d, PARA_KEEP_NEXT));
    Ok(DoxParaSpace(d, 240, 120, -1));
    Ok(DoxTextFont(d, "Arial", 16, CHAR_BOLD, 1));
    Ok(DoxInsertText(d, ("Chapter " + std::to_string(page + 1) + "\r\n").c_str()));
    Ok(DoxTextFont(d, "Times New Roman", 11, CHAR_BOLD, 0));
    Ok(DoxResetParaProp(d));
    Ok(DoxParaFlags(d, PARA_JUSTIFY | PARA_WIDOW_CONTROL));
    Ok(DoxParaIndent(d, 0, 0, 360));
    for (int p = 0; p < 4; ++p)
      Ok(DoxInsertText(d, g_in.prose[prose++ % g_in.prose.size()].c_str()));
    Ok(DoxResetParaProp(d));
    for (int r = 0; r < 4; ++r, cell += 4) Row(d, 4, 2340, &g_in.cells[cell % g_in.cells.size()]);
    Ok(DoxInsertText(d, g_in.prose[prose++ % g_in.prose.size()].c_str()));
  }
}

using Builder = void (*)(DOXDOC, int);
constexpr Builder kBuilders[] = {Doc1, Doc2, Doc3, Doc4};
const char *const kNames[] = {"(1) text", "(2) table", "(3) bitmap", "(4) report"};

// Paragraphs and rows each document holds.
void Expected(int doc, int scale, long &pars, long &rows) {
  const long k[][2] = {{20000, 0}, {0, 5000}, {1, 0}, {200 * 6, 200 * 4}};
  pars = k[doc][0] * scale;
  rows = k[doc][1] * scale;
}

// Building and saving one document: the part callgrind counts. Without a
// file name the document is taken into memory (DoxGetData) instead.
__attribute__((noinline)) bool BuildAndSave(int doc, int scale, const char *file) {
  DOXDOC d = DoxNewDoc();
  if (!d) return false;
  DoxSetFlags(d, 1, FLAG_NO_MSG_BOX);
  kBuilders[doc](d, scale);
  bool saved = false;
  if (file) {
    saved = DoxSaveFile(d, file) != nullptr;
  } else if (DOXHMEM h = DoxGetData(d, nullptr)) {
    saved = DoxMemFree(h) == nullptr;
  }
  DoxEndDoc(d);
  return saved;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string FileName(int doc, int thread) {
  return g_dir + "/dox_bench_" + std::to_string(doc + 1) + "_" + std::to_string(thread) + ".rtf";
}

long Count(const std::string &s, const char *word) {
  long n = 0;
  size_t len = std::strlen(word);
  for (size_t at = s.find(word); at != std::string::npos; at = s.find(word, at + len)) {
    char next = at + len < s.size() ? s[at + len] : ' ';
    n += !((next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z'));
  }
  return n;
}

// Builds the document once and checks what it holds; returns the bytes.
std::string BuildChecked(int doc, int scale) {
  std::string file = FileName(doc, scale == 1 ? 0 : 3);
  g_ok = true;
  bool built = BuildAndSave(doc, scale, file.c_str());
  std::string s;
  if (FILE *f = std::fopen(file.c_str(), "rb")) {
    char buf[1 << 16];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) s.append(buf, n);
    std::fclose(f);
  }
  long pars, rows;
  Expected(doc, scale, pars, rows);
  long gotPars = Count(s, "\\par"), gotRows = Count(s, "\\row");
  const size_t minSize[] = {6000000, 4000000, 4718592, 900000};
  if (!built || !g_ok || s.size() < minSize[doc] * scale || s.compare(0, 6, "{\\rtf1") != 0 ||
      s.back() != '}' || gotPars != pars || gotRows != rows) {
    std::fprintf(stderr,
                 "%s x%d: output check failed (built %d, calls %d, %zu bytes, %ld \\par of %ld, "
                 "%ld \\row of %ld)\n",
                 kNames[doc], scale, built, g_ok, s.size(), gotPars, pars, gotRows, rows);
    std::exit(1);
  }
  return s;
}

uint64_t Fnv(const std::string &s) {
  uint64_t h = 1469598103934665603ull;
  for (unsigned char c : s) h = (h ^ c) * 1099511628211ull;
  return h;
}

double Seconds(const std::function<void()> &f) {
  double t0 = Now();
  f();
  return Now() - t0;
}

// The same bytes copied into a fresh buffer and written to a file.
std::string CopyFile(int k) { return g_dir + "/dox_bench_copy" + std::to_string(k) + ".rtf"; }
void CopyOnce(const std::string &bytes, int k = 0) {
  std::string file = CopyFile(k);
  char *p = static_cast<char *>(std::malloc(bytes.size()));
  std::memcpy(p, bytes.data(), bytes.size());
  int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  bool ok = fd >= 0 && ::write(fd, p, bytes.size()) == static_cast<ssize_t>(bytes.size());
  if (fd >= 0) ::close(fd);
  std::free(p);
  if (!ok) std::exit(2);
}

// `threads` threads each copying the bytes and writing them to a file of its own.
void CopyThreads(const std::string &bytes, int threads) {
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back([&bytes, t] { CopyOnce(bytes, t + 1); });
  for (auto &th : pool) th.join();
}

// `threads` threads each running a loop of independent register operations
// (no memory) about as long as building a document: the machine's own ratio
// for work that keeps a processor's units busy. On a virtual machine whose
// two processors share one core now and then, it falls with the documents'.
void BusyThreads(int threads) {
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([] {
      uint64_t a = 1, b = 2, c = 3, d = 4, e = 5, f = 6;
      for (uint64_t i = 0; i < 4000000; ++i) {
        a += b ^ i, b += c | i, c += d & i;
        d += e ^ a, e += f | b, f += a & c;
      }
      asm volatile("" ::"r"(a + b + c + d + e + f));
    });
  for (auto &th : pool) th.join();
}

// Removes the files the runs write, so that each run writes a new file (see
// above); and before each document, writes back what the system holds of the
// earlier ones (40-70 MB files at ten times the size).
void RemoveFiles() {
  for (int k = 0; k < 3; ++k) std::remove(CopyFile(k).c_str());
  for (int doc = 0; doc < 4; ++doc)
    for (int t = 0; t < 4; ++t) std::remove(FileName(doc, t).c_str());
}
void Settle() { ::sync(); }

// A file of its own for each size: truncating the file of a document ten
// times larger would be timed with the smaller one.
void BuildOnce(int doc, int scale) {
  if (!BuildAndSave(doc, scale, FileName(doc, scale == 1 ? 0 : 3).c_str())) std::exit(1);
}

// The processor time this thread has run, in seconds.
double ThreadSeconds() {
  timespec ts;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

// `threads` threads each building its own copy of the document at once and
// saving it to a file of its own, or taking it into memory. `cpu` gets the
// least processor time one of them took.
void ThreadsOnce(int doc, int threads, bool toFile, double *cpu = nullptr) {
  std::vector<std::thread> pool;
  std::vector<double> took(static_cast<size_t>(threads));
  for (int t = 0; t < threads; ++t)
    pool.emplace_back([doc, t, toFile, &took] {
      double t0 = ThreadSeconds();
      if (!BuildAndSave(doc, 1, toFile ? FileName(doc, t + 1).c_str() : nullptr)) std::exit(1);
      took[static_cast<size_t>(t)] = ThreadSeconds() - t0;
    });
  for (auto &th : pool) th.join();
  if (cpu) *cpu = std::min(*cpu, *std::min_element(took.begin(), took.end()));
}

// The times of each of `fs` over `reps` rounds; the runs alternate, so that a
// busy machine slows all of them alike.
std::vector<std::vector<double>> Times(int reps, const std::vector<std::function<void()>> &fs) {
  std::vector<std::vector<double>> t(fs.size());
  for (int r = 0; r < reps; ++r)
    for (size_t i = 0; i < fs.size(); ++i) {
      RemoveFiles();
      t[i].push_back(Seconds(fs[i]));
    }
  for (auto &v : t) std::sort(v.begin(), v.end());
  return t;
}

// The middle of sorted times (of two, the later).
double Median(const std::vector<double> &sorted) { return sorted[sorted.size() / 2]; }

}  // namespace

int main(int argc, char **argv) {
  int only = 0, scale = 1;
  int repeat = 0;
  bool once = false, quick = false;
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--doc") && i + 1 < argc)
      only = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--once"))
      once = true;
    else if (!std::strcmp(argv[i], "--scale") && i + 1 < argc)
      scale = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--repeat") && i + 1 < argc)
      once = true, repeat = std::atoi(argv[++i]);
    else if (!std::strcmp(argv[i], "--quick"))
      quick = true;
    else {
      std::fprintf(stderr, "usage: bench_docs [--doc 1-4] [--once [--scale N] | --repeat K] [--quick]\n");
      return 2;
    }
  }
  if (only < 0 || only > 4 || scale < 1 || scale > 10) return 2;
  const char *tmp = std::getenv("TMPDIR");
  g_dir = tmp && *tmp ? tmp : "/tmp";
  MakeInputs();
  if (once) {  // one build and save, for instruction counts
    int doc = only ? only - 1 : 0;
    std::string s = BuildChecked(doc, scale);
    for (int r = 1; r < repeat; ++r) {
      RemoveFiles();
      BuildOnce(doc, scale);
    }
    std::printf("%s: %zu bytes, fnv %016llx\n", kNames[doc], s.size(),
                static_cast<unsigned long long>(Fnv(s)));
    return 0;
  }
  const int reps = quick ? 5 : 30;
  std::printf("%-11s %9s %8s %8s %7s %6s %7s %9s %9s %8s %8s %7s %8s %8s\n", "document", "bytes",
              "MB/s", "copyMB/s", "%limit", "best%", "10x/1x", "1thrMB/s", "2thrMB/s", "2/1", "2/1mem",
              "cpu2/1", "copy2/1", "busy2/1");
  for (int doc = 0; doc < 4; ++doc) {
    if (only && doc != only - 1) continue;
    RemoveFiles();
    std::string bytes = BuildChecked(doc, 1);
    BuildChecked(doc, 10);
    Settle();
    std::vector<std::vector<double>> t =
        Times(reps, {[&] { BuildOnce(doc, 1); }, [&] { CopyOnce(bytes); }});
    // Ten times the size, in turn with the size itself (so that both meet the
    // machine in the same state).
    std::vector<std::vector<double>> t10 =
        Times(quick ? 1 : 6, {[&] { BuildOnce(doc, 10); }, [&] { BuildOnce(doc, 1); }});
    double mb = bytes.size() / 1e6;
    std::printf("%-11s %9zu %8.0f %8.0f %6.0f%% %5.0f%% %7.2f", kNames[doc], bytes.size(),
                mb / Median(t[0]), mb / Median(t[1]), 100 * Median(t[1]) / Median(t[0]),
                100 * t[1].front() / t[0].front(), Median(t10[0]) / (10 * Median(t10[1])));
    if (doc < 2) {
      double cpu1 = 1e30, cpu2 = 1e30;
      std::vector<std::vector<double>> th = Times(
          reps, {[&] { ThreadsOnce(doc, 1, true, &cpu1); }, [&] { ThreadsOnce(doc, 2, true, &cpu2); },
                 [&] { ThreadsOnce(doc, 1, false); }, [&] { ThreadsOnce(doc, 2, false); },
                 [&] { CopyThreads(bytes, 1); }, [&] { CopyThreads(bytes, 2); },
                 [&] { BusyThreads(1); }, [&] { BusyThreads(2); }});
      auto ratio = [&](size_t one, size_t two) { return 2 * Median(th[one]) / Median(th[two]); };
      std::printf(" %9.0f %9.0f %7.2fx %7.2fx %7.2f %7.2fx %7.2fx", mb / Median(th[0]),
                  2 * mb / Median(th[1]), ratio(0, 1), ratio(2, 3), cpu2 / cpu1, ratio(4, 5), ratio(6, 7));
    }
    std::printf("   fnv %016llx\n", static_cast<unsigned long long>(Fnv(bytes)));
    std::fflush(stdout);
  }
  std::remove(g_in.bitmap.c_str());
  RemoveFiles();
  return 0;
}
