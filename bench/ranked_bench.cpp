// Best-first reading against alphabetical reading of the same search, on
// the shipped English (US), whose words carry scores:
//
//   build/bench/ranked_bench [--dic PATH]
//
// Default: Data/english-us.dic beside the program's build tree. Each pair
// reports `ratio`, best first with a limit over the complete alphabetical
// search; the goal is at most 1.5 for both.
#include <benchmark/benchmark.h>

#include <cstring>
#include <functional>
#include <string>

#include "dictionary/vocor_file_dictionary.h"
#include "engine/enum_results.h"
#include "engine/phrase.h"
#include "search/result_options.h"

namespace vocor {
namespace {

std::string g_dic = VOCOR_BENCH_DATA "/english-us.dic";

int64_t Drain(CEnumResults* e, int limit) {
  int64_t n = 0;
  for (;;) {
    int counter = 1000;
    if (e->Next(&counter) != nullptr) {
      if (++n == limit) return n;
    } else if (counter != 0) {
      return n;
    }
  }
}

using QueryMaker = std::function<EnumPtr(EnumPtr source)>;

void Run(benchmark::State& state, const QueryMaker& make, int keep) {
  CDictionaryVocorFile dict;
  dict.SetFileName(g_dic.c_str());
  if (!dict.Open()) {
    state.SkipWithError(("cannot open " + g_dic).c_str());
    return;
  }
  ResultOptions options;
  if (keep > 0) {
    options.order = ResultOrder::kByScore;
    options.keep = keep;
  }
  int64_t found = 0;
  for (auto _ : state) {
    EnumPtr query = ApplyResultOptions(make(dict.CreateEnumerator()), options);
    found = Drain(query.get(), keep);
  }
  state.counters["results"] = static_cast<double>(found);
}

EnumPtr Shakespeare(EnumPtr source) {
  return BuildAnagramPhraseQuery(std::move(source), "williamshakespeare",
                                 nullptr, 3, 1);
}

EnumPtr FiveLetters(EnumPtr source) {
  return ApplyWordPattern(std::move(source), "?????");
}

EnumPtr Fox(EnumPtr source) {
  return BuildAnagramPhraseQuery(std::move(source), "thequickbrownfoxjumps",
                                 nullptr, 4, 1);
}

void BM_ShakespeareAlphabetical(benchmark::State& s) { Run(s, Shakespeare, 0); }
void BM_ShakespeareBest20(benchmark::State& s) { Run(s, Shakespeare, 20); }
void BM_FiveLettersAlphabetical(benchmark::State& s) { Run(s, FiveLetters, 0); }
void BM_FiveLettersBest100(benchmark::State& s) { Run(s, FiveLetters, 100); }
void BM_FoxBest100(benchmark::State& s) { Run(s, Fox, 100); }

BENCHMARK(BM_ShakespeareAlphabetical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ShakespeareBest20)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiveLettersAlphabetical)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FiveLettersBest100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FoxBest100)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--dic") == 0) vocor::g_dic = argv[i + 1];
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
