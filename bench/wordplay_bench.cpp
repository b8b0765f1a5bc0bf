// The cryptic helpers over the binary dictionary compiled from the largest
// Debian list: hidden words in a phrase of 200 letters (forwards, and both
// ways), and the letter selections and spoonerisms of the same phrase, each
// search built as the window builds it and read to its end.
//
//   build/bench/wordplay_bench [--dic PATH]
//
// Default: american-english-insane.dic beside the program (the build
// compiles it when wamerican-insane is installed). Hidden words in the
// phrase must take at most 20 ms.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_options.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/wordplay.h"
#include "search/wordplay_request.h"

namespace vocor {
namespace {

std::string g_dic;

// 200 letters of ordinary prose, with its spaces and punctuation.
const char kPhrase[] =
    "It was the best of times, it was the worst of times, it was the age of "
    "wisdom, it was the age of foolishness, it was the epoch of belief, it "
    "was the epoch of incredulity, it was the season of Light, it was the "
    "season of Darkness, it was the spring of hope, it was a";

template <typename Build>
void RunRequest(benchmark::State& state, const Build& build) {
  CDictionaryVocorFile dict;
  dict.SetFileName(g_dic.c_str());
  if (!dict.Open()) {
    state.SkipWithError(("cannot open " + g_dic).c_str());
    return;
  }
  int64_t found = 0;
  for (auto _ : state) {
    SearchRequestResult request = build(&dict);
    found = 0;
    for (;;) {
      int counter = 1000;
      if (request.query->Next(&counter) != nullptr) {
        ++found;
      } else if (counter != 0) {
        break;
      }
    }
  }
  state.counters["results"] = static_cast<double>(found);
  state.counters["letters"] =
      static_cast<double>(PhraseLetters(kPhrase).size());
}

void BM_HiddenWords(benchmark::State& state) {
  RunRequest(state, [](const CDictionary* d) {
    return BuildHiddenWordsRequest(kPhrase, "", false, nullptr, nullptr, d);
  });
}
BENCHMARK(BM_HiddenWords)->Unit(benchmark::kMillisecond);

void BM_HiddenWordsBothWays(benchmark::State& state) {
  RunRequest(state, [](const CDictionary* d) {
    return BuildHiddenWordsRequest(kPhrase, "", true, nullptr, nullptr, d);
  });
}
BENCHMARK(BM_HiddenWordsBothWays)->Unit(benchmark::kMillisecond);

void BM_LetterSelections(benchmark::State& state) {
  RunRequest(state, [](const CDictionary* d) {
    return BuildLetterSelectionsRequest(kPhrase, nullptr, d);
  });
}
BENCHMARK(BM_LetterSelections)->Unit(benchmark::kMillisecond);

void BM_Spoonerisms(benchmark::State& state) {
  RunRequest(state, [](const CDictionary* d) {
    return BuildSpoonerismRequest(kPhrase, nullptr, d);
  });
}
BENCHMARK(BM_Spoonerisms)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::g_dic = vocor::InsaneDicOption(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
