// Command-line options shared by the benchmarks that read the compiled
// insane English list.
#ifndef VOCOR_BENCH_BENCH_OPTIONS_H_
#define VOCOR_BENCH_BENCH_OPTIONS_H_

#include <cstring>
#include <filesystem>
#include <string>

namespace vocor {

// The value that follows `flag` ("--dic PATH"), or `fallback` when the
// flag is not given.
inline std::string OptionValue(int argc, char** argv, const char* flag,
                               std::string fallback) {
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], flag) == 0) return argv[i + 1];
  }
  return fallback;
}

// The --dic option, by default the insane list that the build compiles
// beside the benchmark programs.
inline std::string InsaneDicOption(int argc, char** argv) {
  return OptionValue(argc, argv, "--dic",
                     (std::filesystem::path(argv[0]).parent_path() /
                      "american-english-insane.dic")
                         .string());
}

}  // namespace vocor

#endif  // VOCOR_BENCH_BENCH_OPTIONS_H_
