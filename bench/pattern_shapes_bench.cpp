// The pattern shapes whose cost once grew exponentially or quadratically
// with their length, and shapes with runs, classes and ranges inside the
// word, over the binary dictionary compiled from the largest Debian list,
// and over the same list as text:
//
//   build/bench/pattern_shapes_bench [--dic PATH] [--list PATH]
//
// Defaults: american-english-insane.dic beside the program (the build
// compiles it when wamerican-insane is installed) and
// /usr/share/dict/american-english-insane. Every shape must stay well
// under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/bench_options.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/enum_results.h"
#include "engine/letters.h"

namespace vocor {
namespace {

std::string g_dic;
std::string g_list = "/usr/share/dict/american-english-insane";

std::string Repeat(const std::string& piece, int times,
                   const std::string& tail = "") {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out + tail;
}

// `count` pieces of the length notation joined by `separator`.
std::string Joined(const std::string& piece, int count, char separator) {
  std::string out = piece;
  for (int i = 1; i < count; ++i) out += separator + piece;
  return out;
}

int64_t Drain(CEnumResults* e) {
  int64_t n = 0;
  for (;;) {
    int counter = 1000;
    if (e->Next(&counter) != nullptr) {
      ++n;
    } else if (counter != 0) {
      return n;
    }
  }
}

// The letter constraint that leaves out the letters of `without`: every
// other letter of the alphabet, the apostrophe and the hyphen unlimited.
CLetterConstraint Without(const std::string& without) {
  std::string allowed;
  for (char c : std::string("abcdefghijklmnopqrstuvwxyz'-")) {
    if (without.find(c) == std::string::npos) {
      allowed += std::string(1, c) + "*";
    }
  }
  return CLetterConstraint(nullptr, allowed.c_str());
}

template <typename Dictionary>
void RunShape(benchmark::State& state, const std::string& path,
              const std::string& first, const std::string& second,
              const std::string& without) {
  Dictionary dict;
  dict.SetFileName(path.c_str());
  if (!dict.Open()) {
    state.SkipWithError(("cannot open " + path).c_str());
    return;
  }
  int64_t found = 0;
  for (auto _ : state) {
    // As a crossword search builds its query: the length notation is
    // converted, pieces become a phrase, the second pattern is merged in.
    EnumPtr e = ApplyWordPattern(dict.CreateEnumerator(), first.c_str());
    if (!second.empty()) e = ApplyWordPattern(std::move(e), second.c_str());
    if (!without.empty()) e = e->Letters(std::move(e), Without(without));
    found = Drain(e.get());
  }
  state.counters["found"] = static_cast<double>(found);
}

struct Shape {
  const char* name;
  std::string first, second;
  std::string without = "";  // letters left out, as --without gives
};

std::vector<Shape> Shapes() {
  const std::string long_run = Joined("999", 75, '.');  // 299 characters
  return {
      {"star_question_x10", Repeat("*?", 10, "*"), ""},
      {"question_star_x5", Repeat("?*", 5), ""},
      {"question_star_x500", Repeat("?*", 500), ""},
      {"star_letter_x500", Repeat("*e", 500), ""},
      {"star_letter_question_x333", Repeat("*e?", 333), ""},
      {"six_questions_star", "??????*", ""},
      {"two_long_length_notations", long_run + "*", long_run + "*"},
      {"stars_between_nines", Joined("9", 150, '*') + "*",
       "*" + Joined("9", 150, '*') + "*"},
      // Runs inside the word, classes and ranges: the walk meets every
      // shared subtree in few automaton states.
      {"star_xz_star", "*xz*", ""},
      {"star_piece_xz_star", "*{xz}*", ""},
      {"s_star_ing", "s*ing", ""},
      {"seven_questions", "???????", ""},
      {"classes_then_s", "[aeiou]?[^aeiou]??s", ""},
      {"consonant_vowel_x7", "#@#@#@#", ""},
      {"length_range_s_star", "5-7:s*", ""},
      {"five_without_e", "?????", "", "e"},
  };
}

void RegisterShapes() {
  for (const Shape& shape : Shapes()) {
    benchmark::RegisterBenchmark((std::string("BM_Dic/") + shape.name).c_str(),
                                 [shape](benchmark::State& state) {
                                   RunShape<CDictionaryVocorFile>(
                                       state, g_dic, shape.first, shape.second,
                                       shape.without);
                                 })
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("BM_Text/") + shape.name).c_str(),
                                 [shape](benchmark::State& state) {
                                   RunShape<CDictionaryTextFile>(
                                       state, g_list, shape.first, shape.second,
                                       shape.without);
                                 })
        ->Unit(benchmark::kMillisecond);
  }
}

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::g_dic = vocor::InsaneDicOption(argc, argv);
  vocor::g_list = vocor::OptionValue(argc, argv, "--list", vocor::g_list);
  vocor::RegisterShapes();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
