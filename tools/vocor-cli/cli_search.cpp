#include "tools/vocor-cli/cli_search.h"

#include <signal.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "dictionary/text_words.h"
#include "engine/charset.h"
#include "search/messages.h"
#include "search/search_request.h"
#include "search/search_run.h"
#include "tools/vocor-cli/progress_bar.h"

namespace vocor::cli {
namespace {

volatile sig_atomic_t g_interrupted = 0;

void OnInterrupt(int) { g_interrupted = 1; }

void CatchInterrupt() {
  struct sigaction action = {};
  action.sa_handler = OnInterrupt;
  sigemptyset(&action.sa_mask);
  ::sigaction(SIGINT, &action, nullptr);
}

int LoadFailed(const std::string& path) {
  std::fprintf(stderr, "Dictionary load failed.\n%s\n", path.c_str());
  return kExitFailure;
}

// The dictionaries one search reads. `owned` holds what was opened for
// this search alone (--dict files, shipped dictionaries).
struct SearchSource {
  CDictionarySet owned;
  const CDictionary* dictionary = nullptr;
};

// Opens every file as the window's installation would, into `source`.
// Returns 0 or the exit code of a failure.
int OpenFiles(const std::vector<std::string>& paths, SearchSource* source) {
  for (const auto& path : paths) {
    std::unique_ptr<CDictionary> d = OpenDictionaryFile(path.c_str());
    if (d == nullptr) return LoadFailed(path);
    source->owned.AdoptMember(std::move(d));
  }
  source->dictionary = source->owned.members().GetCount() == 1
                           ? source->owned.members().items().front()
                           : &source->owned;
  return 0;
}

int ChooseSource(const Options& options, DictionaryState* state,
                 SearchSource* source) {
  if (!options.dict_paths.empty()) return OpenFiles(options.dict_paths, source);
  if (const int failed = LoadInstalled(state)) return failed;
  if (state->all_dictionaries()->members().GetCount() > 0) {
    source->dictionary = state->active();
    return 0;
  }
  const std::string folder = DataFolder();
  const std::vector<std::string> shipped = ListDictionaryFiles(folder);
  if (shipped.empty()) {
    std::fprintf(stderr,
                 "No dictionary is installed, and there is none in %s.\n"
                 "Install one with: vocor-cli dictionaries install PATH\n",
                 folder.c_str());
    return kExitFailure;
  }
  std::fprintf(stderr,
               "No dictionary is installed: searching the dictionaries "
               "shipped in %s.\n",
               folder.c_str());
  return OpenFiles(shipped, source);
}

SearchRequestResult BuildRequest(const Options& o, const CDictionary* d) {
  InputHistory first, second, third;
  switch (o.command) {
    case Command::kCrossword:
      return BuildCrosswordRequest(o.text, o.text2, &first, &second, d);
    case Command::kAnagram:
      return BuildAnagramRequest(o.text, o.text2, &first, &second, d);
    case Command::kHidden:
      return BuildHiddenRequest(o.text, o.min_length, o.must_use, &first,
                                &second, &third, d);
    default:
      return BuildPalindromeRequest(o.mode, o.another_word, o.text, &first, d);
  }
}

class CliObserver : public SearchObserver {
 public:
  explicit CliObserver(ProgressBar* bar) : bar_(bar) {}
  void OnProgress(int position) override { bar_->Update(position); }
  void OnLimitReached() override { limit_reached = true; }
  bool limit_reached = false;

 private:
  ProgressBar* bar_;
};

void PrintResults(const std::vector<std::string_view>& results) {
  // Written in chunks: one system call per 64 KiB, without building the
  // whole text in memory.
  std::string chunk;
  chunk.reserve(1 << 16);
  for (std::string_view word : results) {
    chunk += word;
    chunk += '\n';
    if (chunk.size() >= (1 << 16) - kWordBufferSize * 2) {
      std::fwrite(chunk.data(), 1, chunk.size(), stdout);
      chunk.clear();
    }
  }
  std::fwrite(chunk.data(), 1, chunk.size(), stdout);
  std::fflush(stdout);
}

}  // namespace

std::string DataFolder() {
  std::error_code error;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error) return "Data";
  return (self.parent_path() / "Data").string();
}

int RunSearch(const Options& options, DictionaryState* state) {
  SearchSource source;
  if (const int failed = ChooseSource(options, state, &source)) return failed;
  SearchRequestResult request = BuildRequest(options, source.dictionary);
  if (request.refused()) {
    const char* text = request.message != 0 ? MessageText(request.message)
                                            : "No word can match this pattern.";
    std::fprintf(stderr, "%s\n", text);
    return kExitRefused;
  }
  if (options.describe) {
    const std::string tree = EngineToUtf8(request.query->Describe(0));
    std::fwrite(tree.data(), 1, tree.size(), stdout);
    return kExitOk;
  }

  CatchInterrupt();
  const int extent = request.query->GetExtent();
  ProgressBar bar(extent);
  CliObserver observer(&bar);
  CSearchRun run(std::move(request.query),
                 std::make_unique<CResultsSinkSorted>(), &observer,
                 options.limit);
  bool interrupted = false;
  while (run.Step()) {
    bar.Update(run.position());
    if (g_interrupted) {
      run.Stop();
      interrupted = true;
    }
  }
  bar.Erase();
  PrintResults(static_cast<CResultsSinkSorted*>(run.sink())->SortedViews());
  if (observer.limit_reached) {
    std::fprintf(stderr, "%s\n", MessageText(kMsgMatchLimit));
  }
  if (interrupted) {
    std::fprintf(stderr, "Search stopped.\n");
    return kExitInterrupted;
  }
  return kExitOk;
}

}  // namespace vocor::cli
