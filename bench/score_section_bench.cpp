// What a score section costs: the size of a scored file against the same
// words unscored, the time to open each, and searches that never ask for a
// score, which must not be slower on the scored file. Searches that do ask
// (Score() per word, a floor) are measured beside them for scale.
//
//   build/bench/score_section_bench [--dic PATH]
//
// PATH (default: american-english-insane.dic beside the program, which the
// build compiles when wamerican-insane is installed) gives the words; both
// files are rebuilt from them with BuildVocorFile in a temporary folder,
// the scored one with a deterministic spread of scores over 1..100. The
// sizes and their ratio are printed before the timings.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_file_writer.h"
#include "engine/letters.h"

namespace vocor {
namespace {

std::string g_dic;
std::string g_plain_path;
std::string g_scored_path;

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(out);
}

// Rebuilds the words of `source` with and without scores; false, having
// said why, when it cannot.
bool PrepareFiles(const std::string& source) {
  CDictionaryVocorFile dict;
  dict.SetFileName(source.c_str());
  if (!dict.Open()) {
    std::fprintf(stderr, "cannot open %s\n", source.c_str());
    return false;
  }
  std::vector<std::string> words;
  EnumPtr all = dict.CreateEnumerator();
  while (const char* word = all->Next(nullptr)) words.emplace_back(word);
  std::vector<uint8_t> scores(words.size());
  for (size_t i = 0; i < words.size(); ++i) {
    scores[i] = static_cast<uint8_t>(1 + (i * 2654435761u >> 7) % 100);
  }
  VocorFileInfo info;
  info.name = "Bench";
  std::string plain, scored, error;
  if (!BuildVocorFile(words, info, &plain, nullptr, &error) ||
      !BuildVocorFile(words, scores, info, &scored, nullptr, &error)) {
    std::fprintf(stderr, "cannot build: %s\n", error.c_str());
    return false;
  }
  const auto folder = std::filesystem::temp_directory_path();
  g_plain_path = (folder / "score_section_bench_plain.dic").string();
  g_scored_path = (folder / "score_section_bench_scored.dic").string();
  if (!WriteFile(g_plain_path, plain) || !WriteFile(g_scored_path, scored)) {
    std::fprintf(stderr, "cannot write to %s\n", folder.c_str());
    return false;
  }
  std::printf("words %zu: unscored %zu bytes, scored %zu bytes, ratio %.4f\n",
              words.size(), plain.size(), scored.size(),
              static_cast<double>(scored.size()) / plain.size());
  return true;
}

const std::string& PathOf(bool scored) {
  return scored ? g_scored_path : g_plain_path;
}

void BM_Open(benchmark::State& state, bool scored) {
  for (auto _ : state) {
    CDictionaryVocorFile dict;
    dict.SetFileName(PathOf(scored).c_str());
    if (!dict.Open()) {
      state.SkipWithError("cannot open");
      return;
    }
    benchmark::DoNotOptimize(dict.HasScores());
  }
}

struct Search {
  const char* name;
  const char* pattern;
  const char* max_letters;  // null: no letter constraint
};

constexpr Search kSearches[] = {
    {"all_words", "*", nullptr},
    {"crossword_c_t_", "c?t??", nullptr},
    {"literal_tail_ing", "*ing", nullptr},
    {"prefix_un", "un*", nullptr},
    {"hidden_aeilnrst", "???*", "aeilnrst"},
};

enum class ScoreUse { kNone, kRead, kFloor };

void BM_Search(benchmark::State& state, const Search& search, bool scored,
               ScoreUse use) {
  CDictionaryVocorFile dict;
  dict.SetFileName(PathOf(scored).c_str());
  if (!dict.Open()) {
    state.SkipWithError("cannot open");
    return;
  }
  int64_t found = 0;
  for (auto _ : state) {
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), search.pattern);
    if (search.max_letters != nullptr) {
      e = e->Letters(std::move(e),
                     CLetterConstraint(nullptr, search.max_letters));
    }
    if (use == ScoreUse::kFloor) e = e->MinScore(std::move(e), 60);
    int64_t n = 0, sum = 0;
    for (;;) {
      int counter = 1000;
      if (e->Next(&counter) != nullptr) {
        ++n;
        if (use != ScoreUse::kNone) sum += e->Score();
      } else if (counter != 0) {
        break;
      }
    }
    benchmark::DoNotOptimize(sum);
    found = n;
  }
  state.counters["found"] = static_cast<double>(found);
}

void Register() {
  for (bool scored : {false, true}) {
    const std::string file = scored ? "scored" : "unscored";
    benchmark::RegisterBenchmark(("BM_Open/" + file).c_str(), BM_Open, scored)
        ->Unit(benchmark::kMicrosecond);
  }
  const std::pair<ScoreUse, const char*> uses[] = {
      {ScoreUse::kNone, ""},
      {ScoreUse::kRead, "+score"},
      {ScoreUse::kFloor, "+floor60"}};
  for (const Search& search : kSearches) {
    for (const auto& [use, suffix] : uses) {
      for (bool scored : {false, true}) {
        if (use != ScoreUse::kNone && !scored) continue;
        const std::string name = std::string("BM_Search/") + search.name + "/" +
                                 (scored ? "scored" : "unscored") + suffix;
        benchmark::RegisterBenchmark(name.c_str(), BM_Search, search, scored,
                                     use)
            ->Unit(benchmark::kMillisecond);
      }
    }
  }
}

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::g_dic = vocor::InsaneDicOption(argc, argv);
  if (!vocor::PrepareFiles(vocor::g_dic)) return 1;
  vocor::Register();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(vocor::g_plain_path);
  std::filesystem::remove(vocor::g_scored_path);
  return 0;
}
