// Random patterns of the whole language (classes, negated classes,
// vowels, consonants, pieces, stars, length ranges), from a few characters
// up to 1,000, over the binary dictionary compiled from the largest Debian
// list (663k words). Each benchmark searches a batch of fresh patterns per
// iteration and reports the slowest single search of all its trials
// (slowest_s), with the pattern that took it on the error stream; the
// goal is that none takes more than 0.3 s. One family stresses long
// pieces after stars, whose automaton has a state for every set of
// places a piece may have begun.
//
//   build/bench/pattern_random_bench [--dic PATH] [--seed N]
//
// Default: american-english-insane.dic beside the program (the build
// compiles it when wamerican-insane is installed).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "bench/bench_options.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/enum_results.h"

namespace vocor {
namespace {

std::string g_dic;
unsigned g_seed = 1;
constexpr int kPatternsPerIteration = 20;

char RandomLetter(std::mt19937& rng) {
  // English letter frequencies, roughly: common letters come often, so
  // that long patterns still meet words.
  static const char kLetters[] = "eeeeaaaiiiooonnnrrrsssttllcdugpmhbyfvkwzxqj";
  return kLetters[rng() % (sizeof kLetters - 1)];
}

std::string RandomClass(std::mt19937& rng) {
  std::string text = "[";
  if (rng() % 3 == 0) text += rng() % 2 ? '^' : '!';
  for (int n = 1 + rng() % 4; n > 0; --n) {
    char lo = RandomLetter(rng);
    if (rng() % 3 == 0) {
      char hi = RandomLetter(rng);
      if (lo > hi) std::swap(lo, hi);
      text += std::string(1, lo) + "-" + hi;
    } else {
      text += lo;
    }
  }
  return text + "]";
}

// What the patterns of one benchmark look like.
struct Family {
  const char* name;
  int max_length;  // characters, about
  int star_share;  // stars among 10 elements
  int max_piece;   // letters of a piece, at most
};

std::string RandomPiece(std::mt19937& rng, int max_piece) {
  std::string text = "{";
  for (int n = 1 + rng() % max_piece; n > 0; --n) {
    text += rng() % 5 == 0 ? '?' : RandomLetter(rng);
  }
  return text + "}";
}

// A pattern of about `length` characters of the family's make.
std::string RandomPattern(std::mt19937& rng, const Family& family, int length) {
  std::string pattern;
  if (rng() % 4 == 0) {
    const int low = 1 + static_cast<int>(rng() % 12);
    pattern =
        std::to_string(low) + "-" + std::to_string(low + rng() % 10) + ":";
  }
  while (static_cast<int>(pattern.size()) < length) {
    if (static_cast<int>(rng() % 10) < family.star_share) {
      pattern += '*';
      continue;
    }
    switch (rng() % 8) {
      case 0:
        pattern += '?';
        break;
      case 1:
        pattern += '@';
        break;
      case 2:
        pattern += '#';
        break;
      case 3:
        pattern += RandomClass(rng);
        break;
      case 4:
        pattern += RandomPiece(rng, family.max_piece);
        break;
      default:
        pattern += RandomLetter(rng);
    }
  }
  return pattern;
}

// Reads a whole search; returns the words found.
int64_t Drain(CEnumResults* e) {
  int64_t found = 0;
  for (;;) {
    int counter = 1000;
    if (e->Next(&counter) != nullptr) {
      ++found;
    } else if (counter != 0) {
      return found;
    }
  }
}

// The pattern as a line of the report: long ones cut, with their length.
std::string Shown(const std::string& pattern) {
  if (pattern.size() <= 100) return pattern;
  return pattern.substr(0, 100) + "... (" + std::to_string(pattern.size()) +
         " characters)";
}

void RunRandomPatterns(benchmark::State& state, const Family& family) {
  CDictionaryVocorFile dict;
  dict.SetFileName(g_dic.c_str());
  if (!dict.Open()) {
    state.SkipWithError(("cannot open " + g_dic).c_str());
    return;
  }
  std::mt19937 rng(g_seed + family.max_length * 7 + family.star_share +
                   family.max_piece * 131);
  double slowest = 0;
  std::string slowest_pattern;
  int64_t found = 0;
  for (auto _ : state) {
    for (int i = 0; i < kPatternsPerIteration; ++i) {
      const std::string pattern =
          RandomPattern(rng, family, 1 + rng() % family.max_length);
      const auto start = std::chrono::steady_clock::now();
      EnumPtr e = dict.CreateEnumerator();
      e = e->Pattern(std::move(e), pattern.c_str());
      found += Drain(e.get());
      const std::chrono::duration<double> took =
          std::chrono::steady_clock::now() - start;
      if (took.count() > slowest) {
        slowest = took.count();
        slowest_pattern = pattern;
      }
    }
  }
  state.counters["slowest_s"] = slowest;
  state.counters["found_per_pattern"] = benchmark::Counter(
      static_cast<double>(found) /
      (static_cast<double>(state.iterations()) * kPatternsPerIteration));
  std::fprintf(stderr, "%s: slowest %.3f s for %s\n", family.name, slowest,
               Shown(slowest_pattern).c_str());
}

void RegisterAll() {
  static const Family kFamilies[] = {
      {"BM_Random/up_to_12", 12, 2, 8},
      {"BM_Random/up_to_40", 40, 2, 8},
      {"BM_Random/up_to_1000", 1000, 2, 8},
      {"BM_Random/up_to_40_star_heavy", 40, 5, 8},
      {"BM_Random/up_to_1000_star_heavy", 1000, 5, 8},
      // Pieces of up to 30 letters after stars: every place a piece may
      // start is its own set of letters still to read.
      {"BM_Random/long_pieces", 60, 3, 30},
  };
  for (const Family& family : kFamilies) {
    benchmark::RegisterBenchmark(
        family.name,
        [&family](benchmark::State& s) { RunRandomPatterns(s, family); })
        ->Unit(benchmark::kMillisecond)
        ->MinTime(2.0);
  }
}

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::g_dic = vocor::InsaneDicOption(argc, argv);
  vocor::g_seed = static_cast<unsigned>(std::strtoul(
      vocor::OptionValue(argc, argv, "--seed", "1").c_str(), nullptr, 10));
  vocor::RegisterAll();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
