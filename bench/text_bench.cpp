// Throughput of the output stream through the text calls.
#include <benchmark/benchmark.h>

#include <string>

#include "dox.h"

namespace {

std::string Prose(size_t bytes) {
  const std::string words = "The quick brown fox jumps over the lazy dog, again and again. ";
  std::string s;
  while (s.size() < bytes) s += words;
  s.resize(bytes);
  return s + "\r\n";
}

void InsertText(benchmark::State &state, const std::string &text) {
  for (auto _ : state) {
    DOXDOC doc = DoxNewDoc();
    for (int i = 0; i < 100; ++i) DoxInsertText(doc, text.c_str());
    uint32_t size = 0;
    DOXHMEM h = DoxGetData(doc, &size);
    benchmark::DoNotOptimize(size);
    DoxMemFree(h);
    DoxEndDoc(doc);
  }
  state.SetBytesProcessed(state.iterations() * 100 * static_cast<int64_t>(text.size()));
}

void BM_Prose(benchmark::State &state) { InsertText(state, Prose(10000)); }
void BM_LongWords(benchmark::State &state) { InsertText(state, std::string(10000, 'x')); }
void BM_Accented(benchmark::State &state) {
  std::string s;
  for (int i = 0; i < 2500; ++i) s += "caf\xe9";
  InsertText(state, s);
}
void BM_Unicode(benchmark::State &state) {
  std::u16string s(10000, u'\u4e2d');
  for (auto _ : state) {
    DOXDOC doc = DoxNewDoc();
    DoxInsertUText(doc, reinterpret_cast<const uint16_t *>(s.c_str()));
    DoxEndDoc(doc);
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(s.size()));
}

BENCHMARK(BM_Prose);
BENCHMARK(BM_LongWords);
BENCHMARK(BM_Accented);
BENCHMARK(BM_Unicode);

}  // namespace
