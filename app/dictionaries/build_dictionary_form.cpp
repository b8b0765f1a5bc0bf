#include "app/dictionaries/build_dictionary_form.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "app/dictionaries/build_inputs.h"
#include "app/dictionaries/dictionary_details.h"
#include "compiler/arguments.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {
namespace {

// The languages a word list is most likely to be in; a list rather than
// every id ICU knows, which would bury them among hundreds of variants.
constexpr uint32_t kCommonLanguages[] = {
    1025, 1026, 1027, 1028, 1029, 1030, 1031, 1032, 1033, 1035, 1036,
    1037, 1038, 1039, 1040, 1041, 1042, 1043, 1044, 1045, 1046, 1048,
    1049, 1050, 1051, 1052, 1053, 1054, 1055, 1057, 1058, 1060, 1061,
    1062, 1063, 1066, 1069, 1071, 1078, 1080, 1081, 1082, 1086, 1089,
    1106, 1110, 2052, 2055, 2057, 2058, 2060, 2064, 2067, 2068, 2070,
    2108, 3079, 3081, 3082, 3084, 4105, 4108, 5129, 6153, 7177,
};

// The counts are 64-bit, FormatCount takes an int; no list comes near.
std::string Count(int64_t n) {
  return FormatCount(static_cast<int>(std::min<int64_t>(n, INT_MAX)));
}

// "Skipped: 3 (2 longer than 999 letters, 1 ...)"
std::string SkippedLine(const SkippedWords& skipped) {
  std::string line = "\nSkipped: " + Count(skipped.total());
  const std::vector<SkipReason> reasons = SkipReasons(skipped);
  for (size_t i = 0; i < reasons.size(); ++i) {
    line += (i == 0 ? " (" : ", ") + Count(reasons[i].count) + " " +
            reasons[i].phrase;
  }
  return reasons.empty() ? line : line + ")";
}

std::string Windows1252Line(const CompileCounts& counts) {
  if (counts.windows1252_lines == 0) return "";
  return "\nLines read as Windows-1252 (not UTF-8): " +
         Count(counts.windows1252_lines);
}

// "Lines skipped for a bad score ...: 3" and the first few of them by
// file name and line number, so that they can be found and mended.
std::string BadScoreLines(const CompileCounts& counts) {
  constexpr size_t kNamed = 5;
  if (counts.bad_score_lines == 0) return "";
  std::string lines =
      "\nLines skipped for a bad score (not a whole number from 1 to 100): " +
      Count(counts.bad_score_lines);
  const size_t named = std::min(kNamed, counts.bad_scores.size());
  for (size_t i = 0; i < named; ++i) {
    const BadScoreReport& bad = counts.bad_scores[i];
    lines += "\n    " + std::filesystem::path(bad.file).filename().string() +
             ", line " + Count(bad.line) + ": " + bad.text;
  }
  if (counts.bad_score_lines > static_cast<int64_t>(named)) {
    lines += "\n    and " +
             Count(counts.bad_score_lines - static_cast<int64_t>(named)) +
             " more";
  }
  return lines;
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ignored;
  if (std::filesystem::equivalent(a, b, ignored)) return true;
  // One of them does not exist (yet): compare where the paths lead.
  std::error_code error_a, error_b;
  const auto path_a = std::filesystem::weakly_canonical(a, error_a);
  const auto path_b = std::filesystem::weakly_canonical(b, error_b);
  return !error_a && !error_b && path_a == path_b;
}

void AddFilesOf(const CDictionary* dictionary,
                std::vector<std::string>* files) {
  if (const auto* text = dynamic_cast<const CDictionaryTextFile*>(dictionary)) {
    files->push_back(text->GetFileName());
  } else if (const auto* binary =
                 dynamic_cast<const CDictionaryVocorFile*>(dictionary)) {
    files->push_back(binary->GetFileName());
  }
}

std::string LeftOutLines(const CompileCounts& counts) {
  std::string lines;
  if (counts.possessives > 0) {
    lines += "\nPossessives left out: " + Count(counts.possessives);
  }
  if (counts.abbreviations > 0) {
    lines += "\nAbbreviations left out: " + Count(counts.abbreviations);
  }
  return lines;
}

// A spell-checker dictionary read whole may have made more forms than a
// dictionary holds: the subsets without some of them are a check away.
std::string SubsetHint(const CompileCounts& counts) {
  const HunspellReport& report = counts.hunspell;
  if (report.forms == 0 ||
      (report.two_level_left_out > 0 && report.cross_products_left_out > 0)) {
    return "";
  }
  return "\n\nCheck \"Leave out forms with two suffixes\" or \"Leave out "
         "forms with both a prefix and a suffix\" and build again to build "
         "such a subset.";
}

}  // namespace

std::vector<LanguageChoice> LanguageChoices() {
  std::vector<LanguageChoice> choices;
  for (uint32_t lcid : kCommonLanguages) {
    choices.push_back({lcid, LanguageName(lcid)});
  }
  std::sort(choices.begin(), choices.end(),
            [](const LanguageChoice& a, const LanguageChoice& b) {
              return a.name < b.name;
            });
  choices.insert(choices.begin(), {0, LanguageName(0)});
  return choices;
}

std::vector<std::string> InstalledDictionaryFiles(
    const DictionaryState& state) {
  std::vector<std::string> files = state.unopened_files();
  for (const CDictionary* dictionary : state.all_dictionaries()->members()) {
    AddFilesOf(dictionary, &files);
  }
  return files;
}

std::string OutputRefusal(const std::string& output,
                          const std::vector<std::string>& inputs,
                          const std::vector<std::string>& installed) {
  for (const std::string& input : inputs) {
    if (SameFile(output, input)) {
      return "The output file " + output +
             " is one of the word lists to build from. Choose another file "
             "for the dictionary.";
    }
  }
  for (const std::string& file : installed) {
    if (SameFile(output, file)) {
      return "The output file " + output +
             " is an installed dictionary. Choose another file, or "
             "uninstall that dictionary first.";
    }
  }
  return "";
}

std::vector<std::string> FilesRead(const CompileRequest& request) {
  return FilesRead(BuildInputs{request.inputs, request.hunspell});
}

std::string ReplaceOutputQuestion(const std::string& output) {
  return "The file " + output + " already exists.\n\nReplace it?";
}

bool MakeCompileRequest(const BuildForm& form, CompileRequest* request,
                        std::string* error) {
  if (form.inputs.empty()) {
    *error = "Add at least one word list to build the dictionary from.";
    return false;
  }
  if (form.output.empty()) {
    *error = "Choose the dictionary file to write.";
    return false;
  }
  if (!ParseDictionaryVersion(form.version,
                              &request->info.dictionary_version)) {
    *error =
        "The version must be a number with at most two decimals, "
        "such as 1.00.";
    return false;
  }
  const std::string name =
      form.name.empty() ? std::filesystem::path(form.output).stem().string()
                        : form.name;
  std::string reason;
  if (!MakeVocorFileInfo(name, form.notes, &request->info, &reason)) {
    *error = "The name is too long: " + reason + ".";
    return false;
  }
  BuildInputs inputs;
  if (!SortBuildInputs(form.inputs, &inputs, error)) return false;
  request->info.language = form.language;
  request->inputs = inputs.word_lists;
  request->hunspell = inputs.hunspell;
  request->hunspell_options.two_level_suffixes = !form.skip_two_level_suffixes;
  request->hunspell_options.cross_products = !form.skip_cross_products;
  request->output = form.output;
  request->words.fold_accents = form.fold_accents;
  request->words.skip_possessives = form.skip_possessives;
  request->words.skip_abbreviations = form.skip_abbreviations;
  return true;
}

std::string BuildDoneText(const CompileCounts& counts,
                          const std::string& output) {
  return "The dictionary " + output +
         " was built.\n\nWords read: " + Count(counts.read) +
         "\nStored: " + Count(counts.file.words) +
         "\nDuplicates: " + Count(counts.duplicates) +
         SkippedLine(counts.skipped) + LeftOutLines(counts) +
         BadScoreLines(counts) + Windows1252Line(counts) +
         "\nSize: " + FormatSize(counts.file.bytes) +
         HunspellReportLines(counts.hunspell);
}

std::string BuildFailureText(const CompileOutcome& outcome) {
  switch (outcome.status) {
    case CompileStatus::kDone:
    case CompileStatus::kCancelled:
      return "";
    case CompileStatus::kUnreadable:
      return "A word list could not be read, so nothing was built.\n\n" +
             outcome.error;
    case CompileStatus::kNoWords:
      return "The word lists hold no word that a dictionary can store, so "
             "nothing was built.\n\nWords read: " +
             Count(outcome.counts.read) + SkippedLine(outcome.counts.skipped) +
             BadScoreLines(outcome.counts) + "\n\n" + kAcceptedLettersNote;
    case CompileStatus::kRefused:
      return "These words cannot be stored in a dictionary, so nothing was "
             "built.\n\n" +
             outcome.error + SubsetHint(outcome.counts);
    case CompileStatus::kMalformed:
      return "A spell-checker dictionary is damaged, so nothing was "
             "built.\n\n" +
             outcome.error;
    case CompileStatus::kUnwritable:
      return "The dictionary could not be written; no file was "
             "created.\n\n" +
             outcome.error;
  }
  return outcome.error;
}

}  // namespace vocor
