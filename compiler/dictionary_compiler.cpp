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

// Adds the words of every input to *collector; on failure returns the
// outcome to report.
bool GatherWords(const CompileRequest& request, const Progress& progress,
                 WordCollector* collector, CompileOutcome* outcome) {
  const std::vector<ScoredInput> lists = ListsOf(request);
  const size_t count = lists.size();
  for (size_t i = 0; i < count; ++i) {
    const int begin = static_cast<int>(kGatherEnd * i / count);
    const int end = static_cast<int>(kGatherEnd * (i + 1) / count);
    if (!progress.At(begin)) {
      *outcome = Failed(CompileStatus::kCancelled, "");
      return false;
    }
    std::string text;
    std::string error;
    if (lists[i].score != 0 && !IsValidScore(lists[i].score)) {
      *outcome = Failed(CompileStatus::kRefused,
                        "the score " + std::to_string(lists[i].score) +
                            " given to " + lists[i].path + " is not from " +
                            std::to_string(kMinScore) + " to " +
                            std::to_string(kMaxScore));
      return false;
    }
    if (ReadWholeFile(lists[i].path, kMaxWordListFileSize, &text, &error,
                      PlausibleWordList) != ReadStatus::kRead) {
      *outcome = Failed(CompileStatus::kUnreadable, error);
      return false;
    }
    const auto scanned = [&](size_t at) {
      return progress.At(
          begin + static_cast<int>((end - begin) * (static_cast<double>(at) /
                                                    (text.size() + 1))));
    };
    if (!collector->AddList(text, scanned, lists[i].score)) {
      *outcome = Failed(CompileStatus::kCancelled, "");
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
         "' is not a whole number from " + std::to_string(kMinScore) +
         " to " + std::to_string(kMaxScore) + "; the line was skipped";
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
  if (!GatherWords(request, progress, &collector, &outcome)) {
    CopyCounts(request, collector, &outcome.counts);
    return outcome;
  }
  outcome = request.text_list ? WriteTextList(request, collector, progress)
                              : BuildAndWrite(request, collector, progress);
  CopyCounts(request, collector, &outcome.counts);
  return outcome;
}

}  // namespace vocor
