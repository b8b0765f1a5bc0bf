#include "app/dictionaries/build_dictionary_form.h"

#include <algorithm>
#include <climits>
#include <filesystem>

#include "app/dictionaries/dictionary_details.h"
#include "dictionary/dictionary.h"
#include "compiler/arguments.h"

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
  request->info.language = form.language;
  request->inputs = form.inputs;
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
         "\nSkipped: " + Count(counts.skipped) + LeftOutLines(counts) +
         "\nSize: " + FormatSize(counts.file.bytes);
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
             Count(outcome.counts.read) +
             "\nSkipped: " + Count(outcome.counts.skipped) +
             "\n\nWords are runs of letters, hyphens and apostrophes; "
             "letters that Windows-1252 does not have make no word.";
    case CompileStatus::kRefused:
      return "These words cannot be stored in a dictionary, so nothing was "
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
