#include "tools/vocor-cli/cli_search.h"

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <functional>
#include <new>
#include <string>

#include "dictionary/dictionary_set.h"
#include "dictionary/shipped_folders.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/text_words.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"
#include "engine/pattern.h"
#include "engine/pattern_syntax.h"
#include "search/equation_request.h"
#include "search/messages.h"
#include "search/result_options.h"
#include "search/search_request.h"
#include "search/search_run.h"
#include "search/wordplay_request.h"
#include "tools/common/checked_output.h"
#include "tools/vocor-cli/progress_bar.h"
#include "tools/vocor-cli/results_printer.h"

namespace vocor::cli {
namespace {

using tools::OutputFailed;
using tools::WriteOutput;

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
      return BuildCrosswordRequest(
          CrosswordInputs{o.text, o.text2, o.with_letters, o.without_letters},
          CrosswordHistories{&first, &second, nullptr, nullptr}, d);
    case Command::kAnagram:
      return BuildAnagramRequest(
          AnagramInputs{o.text, o.text2, o.max_words, o.min_word_length},
          AnagramHistories{&first, &second, nullptr, nullptr}, d);
    case Command::kHidden:
      return BuildHiddenRequest(o.text, o.min_length, o.must_use, &first,
                                &second, &third, d);
    case Command::kCrypticHidden:
      return BuildHiddenWordsRequest(o.text, o.min_length, o.reversed, &first,
                                     &second, d);
    case Command::kCrypticLetters:
      return BuildLetterSelectionsRequest(o.text, &first, d);
    case Command::kCrypticSpoonerism:
      return BuildSpoonerismRequest(o.text, &first, d);
    case Command::kEquation:
      return BuildEquationRequest(o.text, &first, d);
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

// Whether a binary reader that absorbs `typed` (a pattern as typed) walks
// its matches in ascending order: a '*' followed by more of its word makes
// the walk try the star's empty match before the letters it could absorb
// (so *ing yields ing before abating); a '*' that ends its word does not.
// A '*' inside a class is no star: the pattern is read by elements.
bool PatternKeepsWalkOrder(const std::string& typed) {
  std::string converted;
  LengthSpecToPattern(typed.c_str(), converted);
  const std::string pattern = CollapseWildcardRuns(converted.c_str());
  const char* p = pattern.c_str();
  for (size_t i = 0, next = 0; p[i] != '\0'; i = next) {
    next = SkipPatternElement(p, i);
    if (p[i] == '*' && p[next] != '\0' && p[next] != ' ') return false;
  }
  return true;
}

// Whether the patterns the search pushes into binary readers keep their
// walks in order. Anagram letters and hidden-word inputs are no patterns.
bool PatternsKeepWalkOrder(const Options& o) {
  switch (o.command) {
    case Command::kCrossword:
      return PatternKeepsWalkOrder(o.text) && PatternKeepsWalkOrder(o.text2);
    case Command::kAnagram:
      return PatternKeepsWalkOrder(o.text2);
    case Command::kHidden:
      return true;
    default:
      return PatternKeepsWalkOrder(o.text);
  }
}

bool IsCryptic(Command command) {
  return command == Command::kCrypticHidden ||
         command == Command::kCrypticLetters ||
         command == Command::kCrypticSpoonerism;
}

// Whether the search yields its words in ascending order (of bytes or of
// code points, which ResultsPrinter both takes) with repeats only next to
// each other: over one binary dictionary (a letter tree walked in byte
// order) when its patterns keep the walk in order, or one text list found
// sorted when it was opened (filters keep its order). Sets of one member
// are that member.
bool YieldsInOrder(const Options& options, const CDictionary* dictionary) {
  if (IsCryptic(options.command)) return false;  // lines, not a walk's words
  while (const auto* set = dynamic_cast<const CDictionarySet*>(dictionary)) {
    if (set->members().GetCount() != 1) return false;
    dictionary = *set->members().begin();
  }
  // An equation over one binary file gives each solution once, so its
  // results may stream while they arrive in order (one out of order makes
  // the printer hold the rest); over a text list a word listed twice
  // repeats solutions far apart.
  const bool equation = options.command == Command::kEquation;
  if (dynamic_cast<const CDictionaryVocorFile*>(dictionary) != nullptr) {
    return equation || PatternsKeepWalkOrder(options);
  }
  if (equation) return false;
  const auto* text = dynamic_cast<const CDictionaryTextFile*>(dictionary);
  return text != nullptr && text->IsInAlphabeticOrder();
}

// The paths of the binary dictionary files under `dictionary` whose walks
// met damage.
void CollectDamaged(const CDictionary* dictionary,
                    std::vector<std::string>* paths) {
  if (const auto* set = dynamic_cast<const CDictionarySet*>(dictionary)) {
    for (const CDictionary* member : set->members()) {
      CollectDamaged(member, paths);
    }
  } else if (const auto* file =
                 dynamic_cast<const CDictionaryVocorFile*>(dictionary)) {
    if (file->DamageSeen()) paths->push_back(file->GetFileName());
  }
}

// Says which dictionary files are damaged; returns whether there was any.
bool ReportDamage(const CDictionary* dictionary) {
  std::vector<std::string> damaged;
  CollectDamaged(dictionary, &damaged);
  for (const std::string& path : damaged) {
    std::fprintf(stderr,
                 "vocor-cli: the dictionary file is damaged; the results "
                 "above may be incomplete: %s\n",
                 path.c_str());
  }
  return !damaged.empty();
}

// Results written to a file never reach the terminal, so the progress bar
// can stay while they are written; anything else (the terminal itself, a
// pipe to a pager or to head) may put them beside the bar.
bool OutputIsRegularFile() {
  struct stat st;
  return ::fstat(STDOUT_FILENO, &st) == 0 && S_ISREG(st.st_mode);
}

int OutOfMemory(const char* when) {
  std::fprintf(stderr, "vocor-cli: out of memory %s.\n", when);
  return kExitFailure;
}

// How a search run ended.
enum class RunEnd {
  kFinished,
  kInterrupted,
  kOutOfMemory,
  kOutOfMemoryUnprinted,  // not even the results held could be ordered
  kOutputFailed
};

RunEnd RunToEnd(CSearchRun* run, ProgressBar* bar) {
  try {
    while (run->Step()) {
      bar->Update(run->position());
      if (OutputFailed()) {
        run->Stop();
        return RunEnd::kOutputFailed;
      }
      if (g_interrupted) {
        run->Stop();
        return RunEnd::kInterrupted;
      }
    }
  } catch (const std::bad_alloc&) {
    // The query tree goes first: it holds what can be freed, and the
    // results kept so far still get printed.
    try {
      run->Stop();
    } catch (const std::bad_alloc&) {
      return RunEnd::kOutOfMemoryUnprinted;
    }
    return RunEnd::kOutOfMemory;
  }
  return RunEnd::kFinished;
}

}  // namespace

std::string DataFolder() {
  return FindShippedFolder(ProgramFolder(), kDataFolderName);
}

int RunSearch(const Options& options, DictionaryState* state) {
  SearchSource source;
  if (const int failed = ChooseSource(options, state, &source)) return failed;
  SearchRequestResult request;
  try {
    request = BuildRequest(options, source.dictionary);
  } catch (const std::bad_alloc&) {
    return OutOfMemory("while building the search");
  }
  if (request.refused()) {
    std::string text = request.RefusalText();
    if (text.empty()) text = "No word can match this pattern.";
    std::fprintf(stderr, "%s\n", text.c_str());
    return kExitRefused;
  }
  ResultOptions result_options;
  result_options.order = options.by_score ? ResultOrder::kByScore
                                          : ResultOrder::kAlphabetical;
  result_options.min_score = options.min_score;
  result_options.keep = options.limit;
  request.query =
      ApplyResultOptions(std::move(request.query), result_options);
  if (options.describe) {
    WriteOutput(EngineToUtf8(request.query->Describe(0)));
    return kExitOk;
  }

  CatchInterrupt();
  const int extent = request.query->GetExtent();
  ProgressBar bar(extent);
  CliObserver observer(&bar);
  std::function<void()> before_write;
  if (!OutputIsRegularFile()) before_write = [&bar] { bar.Hide(); };
  PrintFormat format;
  format.show_scores = options.show_scores;
  format.as_ranked = options.by_score;
  auto printer = std::make_unique<ResultsPrinter>(
      YieldsInOrder(options, source.dictionary), std::move(before_write),
      format);
  CSearchRun run(std::move(request.query), std::move(printer), &observer,
                 options.limit);
  const RunEnd end = RunToEnd(&run, &bar);
  bar.Erase();
  if (end == RunEnd::kOutOfMemory) {
    OutOfMemory("during the search: it stopped after the results above");
  } else if (end == RunEnd::kOutOfMemoryUnprinted) {
    OutOfMemory("during the search, and again while ordering its results");
  }
  const bool damaged = ReportDamage(source.dictionary);
  if (observer.limit_reached) {
    std::fprintf(stderr, "%s\n", MessageText(kMsgMatchLimit));
  }
  if (end == RunEnd::kInterrupted) {
    std::fprintf(stderr, "Search stopped.\n");
    return kExitInterrupted;
  }
  const bool out_of_memory = end == RunEnd::kOutOfMemory ||
                             end == RunEnd::kOutOfMemoryUnprinted;
  return out_of_memory || damaged ? kExitFailure : kExitOk;
}

}  // namespace vocor::cli
