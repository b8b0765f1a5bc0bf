// vocor-mkdic: compiles word lists into a binary dictionary (.dic) or a
// cleaned text word list, or checks a dictionary file against every rule
// of its format.
//
// Exit codes: 0 done (or the file is valid); 1 refused: the words would
// break a limit of the format or there is none (a spell-checker
// dictionary expanding into more words than a dictionary holds included),
// or the checked file is invalid; 2 usage and I/O errors (a --score that is
// not FILE=N with N from 1 to 100, a list that cannot be read); 3 a
// spell-checker dictionary (--hunspell) whose affix or stem file breaks its
// format. Every failure prints one line on stderr.
//
// With --hunspell, the expansion's report (stems, forms, what was skipped
// and left out, the time) goes to stderr, or with --report to a file. Lines skipped for a bad score are no failure: each of the first
// is named on stderr with its file and line number, and the summary counts
// them all.
#include <cinttypes>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "CLI/CLI.hpp"
#include "dictionary/file_image.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_format.h"
#include "engine/charset.h"
#include "engine/score.h"
#include "tools/common/checked_output.h"
#include "compiler/arguments.h"
#include "compiler/dictionary_compiler.h"
#include "compiler/file_io.h"
#include "vocor/program_version.h"

namespace vocor {
namespace {

enum ExitCode { kDone = 0, kRefused = 1, kUsageOrIo = 2, kMalformed = 3 };

// The header's size field is a signed 32-bit count.
constexpr size_t kMaxCheckedFileSize = std::numeric_limits<int32_t>::max();

struct Options {
  std::vector<std::string> inputs;
  std::vector<std::string> scored_lists;  // FILE=N
  std::vector<std::string> hunspell;      // AFF DIC pairs
  bool hunspell_no_two_level = false;
  bool hunspell_no_cross_product = false;
  std::string report;  // the expansion report's file; stderr without
  std::string output;
  std::string name;
  std::string version = "1.00";
  std::string language = "0";
  std::string notes;
  bool fold_accents = false;
  bool skip_possessives = false;
  bool skip_abbreviations = false;
  bool text = false;
  std::string check;
};

int Fail(int code, const std::string& reason) {
  std::fprintf(stderr, "vocor-mkdic: %s\n", reason.c_str());
  return code;
}

std::string FormatHundredths(int32_t value) {
  char text[32];
  const int64_t v = value;
  std::snprintf(text, sizeof text, "%s%" PRId64 ".%02" PRId64, v < 0 ? "-" : "",
                (v < 0 ? -v : v) / 100, (v < 0 ? -v : v) % 100);
  return text;
}

void PrintFacts(const VocorFileFacts& facts) {
  const VocorHeader& header = facts.header;
  std::printf(
      "name: %s\nformat version: %s\ndictionary version: %s\n"
      "language: %" PRIu32 " (0x%04" PRIX32 ")\nsize: %" PRId32
      " bytes\n"
      "notes offset: %" PRId32 "\nnotes: %s\nroot offset: %" PRIu32
      "\n"
      "words: %" PRId32 "\nnodes: %d\nlongest word: %d letters\n",
      EngineToUtf8(header.name).c_str(),
      FormatHundredths(header.format_version).c_str(),
      FormatHundredths(header.dictionary_version).c_str(), header.language,
      header.language, header.size, facts.notes_offset,
      EngineToUtf8(header.notes).c_str(), header.root_offset, header.word_count,
      facts.nodes, facts.longest_path);
  // Files without scores print as they always did.
  if (facts.scores_offset != 0) {
    std::printf("scores offset: %" PRIu32 "\n", facts.scores_offset);
  }
  if (facts.summaries_offset != 0) {
    std::printf("letter summaries offset: %" PRIu32 "\n",
                facts.summaries_offset);
  }
  if (facts.endings_offset != 0) {
    std::printf("word endings offset: %" PRIu32 "\n", facts.endings_offset);
  }
}

// A dictionary file says its own size in its header: one that does not
// is refused before the rest of it is read.
bool PlausibleDictionary(std::string_view first, size_t file_size,
                         std::string* reason) {
  if (first.size() < kVocorHeaderSize) return true;  // the check says why
  if (first.substr(0, kVocorMagicSize) !=
      std::string_view(kVocorMagic, kVocorMagicSize)) {
    *reason = "invalid: the file does not start with the dictionary magic";
    return false;
  }
  const auto claimed =
      static_cast<int32_t>(LoadLE32(first.data() + kVocorSizeOffset));
  if (claimed < 0 || static_cast<size_t>(claimed) != file_size) {
    *reason = "invalid: the size field says " + std::to_string(claimed) +
              " bytes but the file has " + std::to_string(file_size);
    return false;
  }
  return true;
}

int RunCheck(const std::string& path) {
  std::string bytes;
  std::string error;
  switch (ReadWholeFile(path, kMaxCheckedFileSize, &bytes, &error,
                        PlausibleDictionary)) {
    case ReadStatus::kRead:
      break;
    case ReadStatus::kRefused:
      return Fail(kRefused, error);
    case ReadStatus::kTooLarge:
      return Fail(kRefused, "invalid: " + error);
    case ReadStatus::kUnreadable:
      return Fail(kUsageOrIo, error);
  }
  VocorFileFacts facts;
  if (!CheckVocorFile(bytes, &facts, &error)) {
    return Fail(kRefused, path + ": invalid: " + error);
  }
  PrintFacts(facts);
  return kDone;
}

// Fills the header description from the options; returns an exit code
// other than kDone, having said why, when they do not make one.
int MakeInfo(const Options& options, VocorFileInfo* info) {
  if (!ParseDictionaryVersion(options.version, &info->dictionary_version)) {
    return Fail(kUsageOrIo,
                "--version: expected X.YY, got '" + options.version + "'");
  }
  if (!ParseLanguageId(options.language, &info->language)) {
    return Fail(kUsageOrIo,
                "--language: expected a decimal or 0x hexadecimal locale "
                "id, got '" +
                    options.language + "'");
  }
  const std::string name =
      options.name.empty()
          ? std::filesystem::path(options.output).stem().string()
          : options.name;
  std::string error;
  if (!MakeVocorFileInfo(name, options.notes, info, &error)) {
    return Fail(kRefused, error);
  }
  return kDone;
}

int ExitCodeOf(CompileStatus status) {
  switch (status) {
    case CompileStatus::kDone:
      return kDone;
    case CompileStatus::kNoWords:
    case CompileStatus::kRefused:
      return kRefused;
    case CompileStatus::kMalformed:
      return kMalformed;
    case CompileStatus::kCancelled:  // nothing here cancels
    case CompileStatus::kUnreadable:
    case CompileStatus::kUnwritable:
      break;
  }
  return kUsageOrIo;
}

WordChoice ChoiceOf(const Options& options) {
  WordChoice choice;
  choice.fold_accents = options.fold_accents;
  choice.skip_possessives = options.skip_possessives;
  choice.skip_abbreviations = options.skip_abbreviations;
  return choice;
}

// The counts of the report that every output shares; the left-out counts
// only for the filters asked for, and the lines read as Windows-1252 only
// when there were any, so the plain report stays as it was.
std::string CountsReport(const Options& options, const CompileCounts& counts) {
  std::string report = "words read " + std::to_string(counts.read) +
                       ", stored " + std::to_string(counts.file.words) + ", " +
                       "skipped " + std::to_string(counts.skipped.total()) +
                       SkipReasonsNote(counts.skipped) + ", duplicate " +
                       std::to_string(counts.duplicates);
  if (options.skip_possessives) {
    report += ", possessive " + std::to_string(counts.possessives);
  }
  if (options.skip_abbreviations) {
    report += ", abbreviation " + std::to_string(counts.abbreviations);
  }
  if (counts.bad_score_lines > 0) {
    report +=
        ", lines with a bad score " + std::to_string(counts.bad_score_lines);
  }
  if (counts.windows1252_lines > 0) {
    report += "; lines read as Windows-1252 (not UTF-8) " +
              std::to_string(counts.windows1252_lines);
  }
  return report;
}

// Names the skipped lines that the compiler kept, and how many more there
// were, on stderr: they are warnings, the output was written.
void WarnBadScores(const CompileCounts& counts) {
  for (const BadScoreReport& bad : counts.bad_scores) {
    std::fprintf(stderr, "vocor-mkdic: %s\n", DescribeBadScore(bad).c_str());
  }
  const int64_t more =
      counts.bad_score_lines - static_cast<int64_t>(counts.bad_scores.size());
  if (more > 0) {
    std::fprintf(stderr,
                 "vocor-mkdic: %" PRId64
                 " more lines with a bad score were skipped\n",
                 more);
  }
}

// Reads the --score arguments into *lists; returns an exit code other than
// kDone, having said why, for one that is not FILE=N.
int ParseScoredLists(const Options& options, std::vector<ScoredInput>* lists) {
  for (const std::string& argument : options.scored_lists) {
    ScoredInput list;
    if (!ParseScoredList(argument, &list.path, &list.score)) {
      return Fail(kUsageOrIo,
                  "--score: expected FILE=N with N a whole number from " +
                      std::to_string(kMinScore) + " to " +
                      std::to_string(kMaxScore) + ", got '" + argument + "'");
    }
    lists->push_back(std::move(list));
  }
  return kDone;
}

// The spell-checker dictionaries named by --hunspell, two paths each.
std::vector<HunspellPair> HunspellPairs(const Options& options) {
  std::vector<HunspellPair> pairs;
  for (size_t i = 0; i + 1 < options.hunspell.size(); i += 2) {
    pairs.push_back({options.hunspell[i], options.hunspell[i + 1]});
  }
  return pairs;
}

// Writes the expansion report to --report's file, or to stderr; returns
// false, having said why, when the file cannot be written.
bool WriteHunspellReport(const Options& options, const CompileCounts& counts) {
  const std::vector<std::string> lines =
      DescribeHunspellReport(counts.hunspell);
  if (options.report.empty()) {
    for (const std::string& line : lines) {
      std::fprintf(stderr, "vocor-mkdic: %s\n", line.c_str());
    }
    return true;
  }
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  std::string error;
  if (WriteFileAtomically(options.report, text, &error)) return true;
  Fail(kUsageOrIo, "--report: " + error);
  return false;
}

// The options that build a smaller complete subset of a language whose
// forms are too many, those not given yet: " (--hunspell-no-two-level)".
std::string SubsetHint(const Options& options) {
  std::string hint;
  if (!options.hunspell_no_two_level) hint = "--hunspell-no-two-level";
  if (!options.hunspell_no_cross_product) {
    hint += (hint.empty() ? "" : ", ") + std::string("--hunspell-no-cross-product");
  }
  return hint.empty() ? hint : " (" + hint + ")";
}

int RunCompile(const Options& options) {
  CompileRequest request;
  // Argument mistakes are reported before the lists are read.
  if (int code = ParseScoredLists(options, &request.scored_inputs);
      code != kDone) {
    return code;
  }
  if (!options.text) {
    if (int code = MakeInfo(options, &request.info); code != kDone) {
      return code;
    }
  }
  request.inputs = options.inputs;
  request.hunspell = HunspellPairs(options);
  request.hunspell_options.two_level_suffixes = !options.hunspell_no_two_level;
  request.hunspell_options.cross_products = !options.hunspell_no_cross_product;
  request.output = options.output;
  request.words = ChoiceOf(options);
  request.text_list = options.text;
  const CompileOutcome outcome = CompileDictionary(request);
  WarnBadScores(outcome.counts);
  // A pair that could not be read has nothing to report.
  const bool expanded = !request.hunspell.empty() &&
                        outcome.status != CompileStatus::kMalformed &&
                        outcome.status != CompileStatus::kUnreadable;
  const bool reported =
      !expanded || WriteHunspellReport(options, outcome.counts);
  if (outcome.status != CompileStatus::kDone) {
    std::string error = outcome.error;
    if (outcome.counts.hunspell.over_limit) error += SubsetHint(options);
    return Fail(ExitCodeOf(outcome.status), error);
  }
  if (!reported) return kUsageOrIo;
  const CompileCounts& counts = outcome.counts;
  if (options.text) {
    std::printf("%s: %s; bytes %d\n", options.output.c_str(),
                CountsReport(options, counts).c_str(), counts.file.bytes);
  } else {
    std::printf("%s: %s; nodes %d; bytes %d\n", options.output.c_str(),
                CountsReport(options, counts).c_str(), counts.file.nodes,
                counts.file.bytes);
  }
  return kDone;
}

void DefineOptions(CLI::App* app, Options* options) {
  app->add_option("inputs", options->inputs,
                  "word lists (UTF-8 or Windows-1252 text); a line "
                  "\"word;N\" scores its word N (1 to 100), a line with "
                  "a bad score is skipped, and other words score 50 unless "
                  "a --score list holds them")
      ->type_name("INPUT");
  CLI::Option* score =
      app->add_option("--score", options->scored_lists,
                      "read the word list FILE too, each of its words "
                      "scoring N (1 to 100), or its line's score where "
                      "higher; repeatable, and a word keeps the highest "
                      "score given to it")
          ->type_name("FILE=N")
          ->allow_extra_args(false);
  CLI::Option* output =
      app->add_option("-o,--output", options->output,
                      "the dictionary file (or with --text the list) to write")
          ->type_name("OUTPUT.dic");
  std::vector<CLI::Option*> header_options = {
      app->add_option("--name", options->name,
                      "display name (default: the output's base name)"),
      app->add_option("--version", options->version,
                      "dictionary version X.YY (default 1.00)"),
      app->add_option("--language", options->language,
                      "Windows locale id, decimal or 0x hexadecimal "
                      "(default 0, unknown)")
          ->type_name("LCID"),
      app->add_option("--notes", options->notes, "notes text"),
      app->add_flag("--fold-accents", options->fold_accents,
                    "spell accented letters in ASCII instead of storing "
                    "them as they are"),
  };
  CLI::Option* text = app->add_flag(
      "--text", options->text,
      "write a UTF-8 word list, one word a line, instead of a binary "
      "dictionary");
  for (CLI::Option* option : header_options) text->excludes(option);
  std::vector<CLI::Option*> compile_options = header_options;
  compile_options.push_back(output);
  compile_options.push_back(text);
  compile_options.push_back(score);
  CLI::Option* hunspell =
      app->add_option("--hunspell", options->hunspell,
                      "expand the spell-checker (Hunspell) dictionary "
                      "LANG.aff LANG.dic into its word forms and read them "
                      "as a word list; repeatable")
          ->type_name("AFF DIC")
          ->expected(2)
          ->allow_extra_args(false);
  compile_options.push_back(hunspell);
  compile_options.push_back(
      app->add_flag("--hunspell-no-two-level", options->hunspell_no_two_level,
                    "leave out the forms that take a second suffix on top "
                    "of the first, for languages whose forms are more than "
                    "a dictionary holds")
          ->needs(hunspell));
  compile_options.push_back(
      app->add_flag("--hunspell-no-cross-product",
                    options->hunspell_no_cross_product,
                    "leave out the forms that take both a prefix and a "
                    "suffix, for languages whose prefixes multiply every "
                    "form beyond what a dictionary holds")
          ->needs(hunspell));
  compile_options.push_back(
      app->add_option("--report", options->report,
                      "write the report of the --hunspell expansion to "
                      "FILE instead of stderr")
          ->type_name("FILE")
          ->needs(hunspell));
  compile_options.push_back(
      app->add_flag("--skip-possessives", options->skip_possessives,
                    "leave out entries ending in 's (cat's, it's)"));
  compile_options.push_back(app->add_flag(
      "--skip-abbreviations", options->skip_abbreviations,
      "leave out entries of two or more letters in capitals only (NASA); "
      "capitalised names stay"));
  CLI::Option* check =
      app->add_option("--check", options->check,
                      "check FILE.dic against the format and print its header");
  check->type_name("FILE.dic");
  for (CLI::Option* option : compile_options) check->excludes(option);
}

int Run(int argc, char** argv) {
  // "--version X.YY" sets the dictionary's version; alone, it has no value
  // to take and asks for the program's own, as with the other programs.
  if (argc == 2 && std::string_view(argv[1]) == "--version") {
    std::fputs(ProgramVersionText("vocor-mkdic").c_str(), stdout);
    return kDone;
  }
  CLI::App app("Compiles word lists into a binary dictionary, or checks one.",
               "vocor-mkdic");
  app.footer("Given alone, --version prints the program's version.");
  Options options;
  DefineOptions(&app, &options);
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    // Help is the one "error" that succeeds; CLI11 prints it.
    if (e.get_exit_code() == 0) return app.exit(e);
    return Fail(kUsageOrIo, std::string(e.what()) + "; see --help");
  }
  if (!options.check.empty()) {
    if (!options.inputs.empty()) {
      return Fail(kUsageOrIo, "--check takes no word lists");
    }
    return RunCheck(options.check);
  }
  if ((options.inputs.empty() && options.scored_lists.empty() &&
       options.hunspell.empty()) ||
      options.output.empty()) {
    return Fail(kUsageOrIo,
                "expected word lists (or --score FILE=N, or --hunspell AFF "
                "DIC) and -o OUTPUT, or --check FILE.dic; see --help");
  }
  return RunCompile(options);
}

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) {
  vocor::tools::ReserveStandardDescriptors();
  const int code = vocor::Run(argc, argv);
  // The header listing and the summary are only delivered once flushed.
  return vocor::tools::FinishOutput("vocor-mkdic", code, vocor::kUsageOrIo);
}
