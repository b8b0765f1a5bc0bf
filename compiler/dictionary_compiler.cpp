#include "compiler/dictionary_compiler.h"

#include <limits>
#include <utility>

#include "dictionary/file_image.h"
#include "dictionary/unicode_nfc.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_format.h"
#include "engine/charset.h"
#include "compiler/file_io.h"
#include "compiler/word_collector.h"

namespace vocor {
namespace {

// Thousandths of the whole compile at which each step begins. Reading and
// gathering the words takes about as long as building the tree.
constexpr int kGatherEnd = 450;
constexpr int kBuildEnd = 900;
constexpr int kCheckEnd = 960;

bool PlausibleWordList(std::string_view first, size_t, std::string* reason) {
  if (!LooksBinary(first.data(), first.size())) return true;
  *reason = "holds binary data (NUL bytes), not a word list";
  return false;
}

CompileOutcome Failed(CompileStatus status, std::string error) {
  CompileOutcome outcome;
  outcome.status = status;
  outcome.error = std::move(error);
  return outcome;
}

// The path of each list in the order the collector reads them.
std::vector<ScoredInput> ListsOf(const CompileRequest& request) {
  std::vector<ScoredInput> lists;
  for (const std::string& input : request.inputs) lists.push_back({input, 0});
  for (const HunspellPair& pair : request.hunspell) {
    lists.push_back({pair.dictionary_file, 0});
  }
  lists.insert(lists.end(), request.scored_inputs.begin(),
               request.scored_inputs.end());
  return lists;
}

void CopyCounts(const CompileRequest& request, const WordCollector& collector,
                CompileCounts* counts) {
  const std::vector<ScoredInput> lists = ListsOf(request);
  counts->bad_score_lines = collector.bad_score_lines();
  counts->bad_scores.clear();
  for (const BadScore& bad : collector.bad_scores()) {
    counts->bad_scores.push_back({lists[bad.list].path, bad.line, bad.text});
  }
  counts->scored = collector.has_scores();
  counts->read = collector.read();
  counts->skipped = collector.skipped();
  counts->windows1252_lines = collector.windows1252_lines();
  counts->duplicates = collector.duplicates();
  counts->possessives = collector.possessives();
  counts->abbreviations = collector.abbreviations();
}

std::string NoWordsReason(const WordCollector& collector) {
  return "no word to store: " + std::to_string(collector.read()) + " read, " +
         std::to_string(collector.skipped().total()) + " skipped" +
         SkipReasonsNote(collector.skipped()) + ". " + kAcceptedLettersNote;
}

// Reports progress and asks whether to go on; no reporter means go on.
class Progress {
 public:
  explicit Progress(const CompileProgress& report) : report_(report) {}
  bool At(int permille) const { return !report_ || report_(permille); }

 private:
  const CompileProgress& report_;
};

// The thousandths of the gathering step that the source `i` of `count`
// takes, from *begin to *end.
void GatherShare(size_t i, size_t count, int* begin, int* end) {
  *begin = static_cast<int>(kGatherEnd * i / count);
  *end = static_cast<int>(kGatherEnd * (i + 1) / count);
}

// Adds the words of one list to *collector; on failure sets the outcome
// to report.
bool GatherList(const ScoredInput& list, const Progress& progress, int begin,
                int end, WordCollector* collector, CompileOutcome* outcome) {
  std::string text;
  std::string error;
  if (list.score != 0 && !IsValidScore(list.score)) {
    *outcome = Failed(CompileStatus::kRefused,
                      "the score " + std::to_string(list.score) + " given to " +
                          list.path + " is not from " +
                          std::to_string(kMinScore) + " to " +
                          std::to_string(kMaxScore));
    return false;
  }
  if (ReadWholeFile(list.path, kMaxWordListFileSize, &text, &error,
                    PlausibleWordList) != ReadStatus::kRead) {
    *outcome = Failed(CompileStatus::kUnreadable, error);
    return false;
  }
  const auto scanned = [&](size_t at) {
    return progress.At(
        begin + static_cast<int>((end - begin) * (static_cast<double>(at) /
                                                  (text.size() + 1))));
  };
  if (!collector->AddList(text, scanned, list.score)) {
    *outcome = Failed(CompileStatus::kCancelled, "");
    return false;
  }
  return true;
}

// Hands the forms of a spell-checker dictionary to a collector as the
// lines of a UTF-8 word list, a chunk at a time, so that the text never
// holds more than a chunk. Forms reach the collector exactly as the words
// of a list do, the word choice included.
class FormFeeder {
 public:
  // `word_limit`: the most distinct words allowed (0: no limit).
  FormFeeder(WordCollector* collector, size_t word_limit)
      : collector_(collector), word_limit_(word_limit) {
    chunk_.reserve(kChunkBytes + 1024);
  }

  // Appends one form; returns false once the collector holds too many.
  bool Add(std::string_view form) {
    for (char ch : form) {
      const auto c = static_cast<unsigned char>(ch);
      if (c < 0x80) {
        // A ';' would start a score: in a form it only separates.
        chunk_ += ch == ';' ? '\n' : ch;
      } else {
        AppendUtf8(EngineToUnicode(c), &chunk_);
      }
    }
    chunk_ += '\n';
    return chunk_.size() < kChunkBytes || Flush();
  }

  // Hands the chunk to the collector; returns false once it holds too many.
  bool Flush() {
    // The chunks are parts of one list.
    if (chunks_++ == 0) {
      collector_->AddList(chunk_);
    } else {
      collector_->AddListPart(chunk_);
    }
    chunk_.clear();
    too_many_ = word_limit_ != 0 && collector_->words().size() > word_limit_;
    return !too_many_;
  }

  bool too_many() const { return too_many_; }

 private:
  static constexpr size_t kChunkBytes = size_t{4} << 20;

  WordCollector* collector_;
  size_t word_limit_;
  std::string chunk_;
  int chunks_ = 0;
  bool too_many_ = false;
};

CompileStatus StatusOf(HunspellStatus status) {
  switch (status) {
    case HunspellStatus::kDone:
      return CompileStatus::kDone;
    case HunspellStatus::kStopped:
      return CompileStatus::kCancelled;
    case HunspellStatus::kUnreadable:
      return CompileStatus::kUnreadable;
    case HunspellStatus::kMalformed:
      break;
  }
  return CompileStatus::kMalformed;
}

std::string TooManyFormsReason(const HunspellPair& pair,
                               const HunspellOptions& options, size_t limit) {
  std::string reason = pair.dictionary_file + ": the forms make more than " +
                       std::to_string(limit) +
                       " distinct words, more than the dictionary may hold; "
                       "nothing was built";
  if (options.two_level_suffixes || options.cross_products) {
    reason +=
        ". Leaving out the forms with two suffixes, or those with both a "
        "prefix and a suffix, builds a smaller complete subset";
  }
  return reason;
}

// Expands one spell-checker dictionary into *collector; on failure sets the
// outcome to report.
bool GatherHunspell(const CompileRequest& request, const HunspellPair& pair,
                    const Progress& progress, int begin, int end,
                    WordCollector* collector, HunspellReport* expanded_all,
                    CompileOutcome* outcome) {
  size_t limit = request.expansion_word_limit;
  if (limit == 0 && !request.text_list) limit = kVocorCountLimit - 1;
  FormFeeder feeder(collector, limit);
  bool cancelled = false;
  const auto expanded = [&](size_t done, size_t total) {
    cancelled = !progress.At(
        begin + static_cast<int>((end - begin) * (static_cast<double>(done) /
                                                  (total + 1))));
    return !cancelled;
  };
  HunspellReport report;
  std::string error;
  const HunspellStatus status = ExpandHunspell(
      pair, request.hunspell_options,
      [&](std::string_view form) { return feeder.Add(form); }, &report, &error,
      expanded);
  if (status == HunspellStatus::kDone) feeder.Flush();
  report.over_limit = feeder.too_many();
  expanded_all->Add(report);
  if (status == HunspellStatus::kStopped && !feeder.too_many() && cancelled) {
    *outcome = Failed(CompileStatus::kCancelled, "");
    return false;
  }
  if (feeder.too_many()) {
    *outcome = Failed(CompileStatus::kRefused,
                      TooManyFormsReason(pair, request.hunspell_options,
                                         limit));
    return false;
  }
  if (status != HunspellStatus::kDone) {
    *outcome = Failed(StatusOf(status), error);
    return false;
  }
  return true;
}

// Adds the words of every input to *collector; on failure sets the
// outcome to report.
bool GatherWords(const CompileRequest& request, const Progress& progress,
                 WordCollector* collector, HunspellReport* expanded,
                 CompileOutcome* outcome) {
  const size_t plain = request.inputs.size();
  const size_t count = plain + request.hunspell.size() +
                       request.scored_inputs.size();
  size_t i = 0;
  int begin = 0;
  int end = 0;
  const auto next = [&] {
    GatherShare(i++, count, &begin, &end);
    if (progress.At(begin)) return true;
    *outcome = Failed(CompileStatus::kCancelled, "");
    return false;
  };
  for (const std::string& input : request.inputs) {
    if (!next() ||
        !GatherList({input, 0}, progress, begin, end, collector, outcome)) {
      return false;
    }
  }
  for (const HunspellPair& pair : request.hunspell) {
    if (!next() || !GatherHunspell(request, pair, progress, begin, end,
                                   collector, expanded, outcome)) {
      return false;
    }
  }
  for (const ScoredInput& list : request.scored_inputs) {
    if (!next() ||
        !GatherList(list, progress, begin, end, collector, outcome)) {
      return false;
    }
  }
  collector->Finish();
  if (collector->words().empty()) {
    *outcome = Failed(CompileStatus::kNoWords, NoWordsReason(*collector));
    return false;
  }
  return true;
}

// The last chance to stop comes before the output is replaced: once the
// file is in place it stays.
CompileOutcome Write(const std::string& output, const std::string& file,
                     const Progress& progress, CompileOutcome outcome) {
  if (!progress.At(kCheckEnd)) return Failed(CompileStatus::kCancelled, "");
  if (!WriteFileAtomically(output, file, &outcome.error)) {
    return Failed(CompileStatus::kUnwritable, outcome.error);
  }
  progress.At(1000);
  return outcome;
}

CompileOutcome BuildAndWrite(const CompileRequest& request,
                             const WordCollector& collector,
                             const Progress& progress) {
  std::string file;
  CompileOutcome outcome;
  // Without any score given the file is exactly what it was before scores.
  static const std::vector<uint8_t> kNoScores;
  const std::vector<uint8_t>& scores =
      collector.has_scores() ? collector.scores() : kNoScores;
  if (!BuildVocorFile(collector.words(), scores, request.info, &file,
                      &outcome.counts.file, &outcome.error)) {
    return Failed(CompileStatus::kRefused, outcome.error);
  }
  if (!progress.At(kBuildEnd)) return Failed(CompileStatus::kCancelled, "");
  // Cheap next to compiling, and it keeps a writer fault from ever
  // reaching a user's disk.
  VocorFileFacts facts;
  if (!CheckVocorFile(file, &facts, &outcome.error)) {
    return Failed(CompileStatus::kRefused,
                  "the compiled file fails its check: " + outcome.error);
  }
  return Write(request.output, file, progress, std::move(outcome));
}

// One word a line in UTF-8, the form word lists take on Linux; text
// dictionaries read it back unambiguously, whatever letters it holds.
CompileOutcome WriteTextList(const CompileRequest& request,
                             const WordCollector& collector,
                             const Progress& progress) {
  std::string text;
  const std::vector<std::string>& words = collector.words();
  for (size_t i = 0; i < words.size(); ++i) {
    text += EngineToUtf8(words[i]);
    if (collector.has_scores()) {
      text += ';' + std::to_string(collector.scores()[i]);
    }
    text += '\n';
  }
  // The counts share the binary dictionary's, whose sizes are ints.
  if (text.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
    return Failed(CompileStatus::kRefused,
                  "the word list would take " + std::to_string(text.size()) +
                      " bytes, more than " +
                      std::to_string(std::numeric_limits<int>::max()));
  }
  CompileOutcome outcome;
  outcome.counts.file.words = static_cast<int>(collector.words().size());
  outcome.counts.file.bytes = static_cast<int>(text.size());
  return Write(request.output, text, progress, std::move(outcome));
}

}  // namespace

const char kAcceptedLettersNote[] =
    "Words are runs of letters, hyphens and apostrophes; the letters kept "
    "are a to z and the accented letters of Western European languages "
    "(such as \u00e9, \u00f1, \u00df, \u00e5, \u00f8, \u0153).";

std::vector<SkipReason> SkipReasons(const SkippedWords& skipped) {
  const SkipReason all[] = {
      {skipped.too_long,
       "longer than " + std::to_string(kMaxWordLength) + " letters"},
      {skipped.foreign_letters,
       "with letters outside the Western European alphabets"},
      {skipped.fragments, "beginning or ending with a hyphen or apostrophe"},
  };
  std::vector<SkipReason> reasons;
  for (const SkipReason& reason : all) {
    if (reason.count > 0) reasons.push_back(reason);
  }
  return reasons;
}

std::string SkipReasonsNote(const SkippedWords& skipped) {
  std::string note;
  for (const SkipReason& reason : SkipReasons(skipped)) {
    note += (note.empty() ? " (" : ", ") + std::to_string(reason.count) + " " +
            reason.phrase;
  }
  return note.empty() ? note : note + ")";
}

std::string DescribeBadScore(const BadScoreReport& bad) {
  // Enough of a long line to find it by.
  constexpr size_t kShown = 40;
  const size_t semicolon = bad.text.find(';');
  std::string score =
      semicolon == std::string::npos ? "" : bad.text.substr(semicolon + 1);
  if (score.size() > kShown) score = score.substr(0, kShown) + "...";
  return bad.file + ":" + std::to_string(bad.line) + ": the score '" + score +
         "' is not a whole number from " + std::to_string(kMinScore) + " to " +
         std::to_string(kMaxScore) + "; the line was skipped";
}

bool MakeVocorFileInfo(const std::string& name, const std::string& notes,
                       VocorFileInfo* info, std::string* error) {
  info->name = Utf8ToEngine(ComposedUtf8(name), '?');
  if (info->name.size() > kVocorMaxNameLength) {
    *error = "the name takes " + std::to_string(info->name.size()) +
             " bytes, more than " + std::to_string(kVocorMaxNameLength);
    return false;
  }
  info->notes = Utf8ToEngine(ComposedUtf8(notes), '?');
  return true;
}

CompileOutcome CompileDictionary(const CompileRequest& request,
                                 const CompileProgress& report) {
  const Progress progress(report);
  WordChoice choice = request.words;
  choice.keep_code_page = request.text_list;
  WordCollector collector(choice);
  CompileOutcome outcome;
  HunspellReport expanded;
  if (!GatherWords(request, progress, &collector, &expanded, &outcome)) {
    CopyCounts(request, collector, &outcome.counts);
    outcome.counts.hunspell = expanded;
    return outcome;
  }
  outcome = request.text_list ? WriteTextList(request, collector, progress)
                              : BuildAndWrite(request, collector, progress);
  CopyCounts(request, collector, &outcome.counts);
  outcome.counts.hunspell = expanded;
  return outcome;
}

}  // namespace vocor
