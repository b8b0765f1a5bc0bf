// Look-ups in the installed dictionary-server databases (gcide by default):
// warm (the library open, the files in the page cache), cold (a new
// library each time, so the files are opened and their headers read by the
// look-up itself), and the resident memory that opening a database adds.
//
//   build/bench/definitions_bench [--database NAME] [--drop-caches]
//
// --drop-caches (root only) also empties the kernel's page cache before
// every cold look-up (sync; echo 3 > /proc/sys/vm/drop_caches), so that
// "cold" includes reading the blocks from the disk; without it, cold means
// first use of the files in a fresh library, with their blocks cached.
// Run the memory figure alone, so that nothing else has touched the
// library first: --benchmark_filter=Resident.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/bench_options.h"
#include "definitions/definitions.h"

namespace vocor {
namespace {

std::string g_database = "gcide";
bool g_drop_caches = false;

// Common, rare, absent and inflected words, spread over the alphabet.
const std::vector<std::string> kWords = {
    "yacht",    "chat",   "Zebra",      "quixotic",    "serendipity",
    "aardvark", "moon",   "nonesuchxq", "running",     "house",
    "Mars",     "lovely", "thermometer", "absquatulate", "kettle",
};

bool Ready(benchmark::State& state, DefinitionLibrary* library) {
  for (const DatabaseFiles& files : library->Databases()) {
    if (files.name == g_database) return true;
  }
  state.SkipWithError(("no database " + g_database +
                       " in /usr/share/dictd (package dict-" + g_database +
                       ")").c_str());
  return false;
}

void BM_LookupWarm(benchmark::State& state) {
  DefinitionLibrary library;
  if (!Ready(state, &library)) return;
  for (const std::string& word : kWords) library.Lookup(word, {g_database});
  size_t i = 0, entries = 0;
  for (auto _ : state) {
    const DefinitionLookup lookup =
        library.Lookup(kWords[i++ % kWords.size()], {g_database});
    entries += lookup.found.empty() ? 0 : lookup.found[0].entries.size();
  }
  state.counters["entries_per_lookup"] =
      static_cast<double>(entries) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_LookupWarm)->Unit(benchmark::kMicrosecond);

void DropCaches() {
  ::sync();
  std::ofstream("/proc/sys/vm/drop_caches") << "3\n";
}

void BM_LookupCold(benchmark::State& state) {
  size_t i = 0;
  for (auto _ : state) {
    if (g_drop_caches) {
      state.PauseTiming();
      DropCaches();
      state.ResumeTiming();
    }
    DefinitionLibrary library;
    if (i == 0 && !Ready(state, &library)) return;
    benchmark::DoNotOptimize(
        library.Lookup(kWords[i++ % kWords.size()], {g_database}));
  }
}
BENCHMARK(BM_LookupCold)->Unit(benchmark::kMillisecond)->Iterations(10);

// The resident set in KiB, from /proc/self/status.
double ResidentKib() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.starts_with("VmRSS:")) return std::stod(line.substr(6));
  }
  return 0;
}

size_t FileSize(const std::filesystem::path& path) {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  return error ? 0 : static_cast<size_t>(size);
}

void BM_ResidentMemoryOfOpening(benchmark::State& state) {
  for (auto _ : state) {
    DefinitionLibrary library;
    if (!Ready(state, &library)) return;
    const double before = ResidentKib();
    library.Lookup("yacht", {g_database});
    for (const std::string& word : kWords) library.Lookup(word, {g_database});
    state.counters["rss_before_kib"] = before;
    state.counters["rss_added_kib"] = ResidentKib() - before;
    for (const DatabaseFiles& files : library.Databases()) {
      if (files.name != g_database) continue;
      state.counters["index_file_kib"] = FileSize(files.index_path) / 1024.0;
      state.counters["data_file_kib"] = FileSize(files.data_path) / 1024.0;
    }
  }
}
BENCHMARK(BM_ResidentMemoryOfOpening)->Iterations(1);

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::g_database = vocor::OptionValue(argc, argv, "--database", "gcide");
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::strcmp(argv[i], "--database") == 0) {
      ++i;
    } else if (std::strcmp(argv[i], "--drop-caches") == 0) {
      vocor::g_drop_caches = true;
    } else {
      rest.push_back(argv[i]);
    }
  }
  int count = static_cast<int>(rest.size());
  benchmark::Initialize(&count, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
