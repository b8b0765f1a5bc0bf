// Word equations over a compiled word list: the time to the complete
// answer, the query alone (no results sink), median of several runs.
//
//   equation_bench [--dic PATH] [--runs N] [EQUATION...]
//
// Without equations, the ones the figures are kept for.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "dictionary/dictionary_set.h"
#include "search/equation_request.h"

namespace {

struct Timing {
  double seconds;
  long solutions;
};

Timing RunOnce(const std::string& equation, const vocor::CDictionary* d) {
  const auto start = std::chrono::steady_clock::now();
  vocor::SearchRequestResult request =
      vocor::BuildEquationRequest(equation, nullptr, d);
  long solutions = 0;
  if (!request.refused()) {
    // The counter the window's search steps use: suspensions included.
    for (;;) {
      int counter = 10000;
      if (request.query->Next(&counter) != nullptr) {
        ++solutions;
      } else if (counter != 0) {
        break;
      }
    }
  }
  const std::chrono::duration<double> took =
      std::chrono::steady_clock::now() - start;
  return {took.count(), solutions};
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dic = vocor::InsaneDicOption(argc, argv);
  const int runs = std::stoi(vocor::OptionValue(argc, argv, "--runs", "5"));
  std::vector<std::string> equations;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--dic" || arg == "--runs") {
      ++i;
    } else {
      equations.push_back(arg);
    }
  }
  if (equations.empty()) {
    equations = {"AB;A;B;|A|>=3;|B|>=3", "A~A", "AxB;AB",
                 "ABC;AC;B;|B|>=3"};
  }
  std::unique_ptr<vocor::CDictionary> d =
      vocor::OpenDictionaryFile(dic.c_str());
  if (d == nullptr) {
    std::fprintf(stderr, "cannot open %s\n", dic.c_str());
    return 2;
  }
  for (const std::string& equation : equations) {
    std::vector<double> times;
    long solutions = 0;
    for (int r = 0; r < runs; ++r) {
      const Timing t = RunOnce(equation, d.get());
      times.push_back(t.seconds);
      solutions = t.solutions;
    }
    std::sort(times.begin(), times.end());
    std::printf("%-24s %9ld solutions  median %.3f s  (min %.3f, max %.3f)\n",
                equation.c_str(), solutions, times[times.size() / 2],
                times.front(), times.back());
  }
  return 0;
}
