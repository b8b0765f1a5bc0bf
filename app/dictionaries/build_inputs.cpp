#include "app/dictionaries/build_inputs.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace vocor {
namespace {

namespace fs = std::filesystem;

constexpr char kAffixExtension[] = ".aff";
constexpr char kStemExtension[] = ".dic";

// `extension` ("aff") in the case of `model` (".AFF" gives "AFF"); mixed
// case ("Aff") looks for the lower-case spelling.
std::string InCaseOf(const std::string& model, std::string extension) {
  const bool upper = !model.empty() &&
                     std::all_of(model.begin() + 1, model.end(),
                                 [](char c) { return c >= 'A' && c <= 'Z'; });
  if (upper) {
    for (char& c : extension) {
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return extension;
}

std::string AsciiLower(std::string text) {
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return text;
}

bool IsFile(const fs::path& path) {
  std::error_code ignored;
  return fs::is_regular_file(path, ignored);
}

// The same file, or the same path where one of them does not exist.
bool SamePair(const HunspellPair& a, const HunspellPair& b) {
  std::error_code ignored;
  return a.affix_file == b.affix_file ||
         fs::equivalent(a.affix_file, b.affix_file, ignored);
}

}  // namespace

InputKind ClassifyInput(const std::string& path, HunspellPair* pair) {
  const fs::path file(path);
  const std::string extension = file.extension().string();
  const std::string lower = AsciiLower(extension);
  if (lower == kAffixExtension) {
    fs::path stems = file;
    stems.replace_extension(InCaseOf(extension, kStemExtension));
    *pair = {path, stems.string()};
    return IsFile(stems) ? InputKind::kHunspellPair : InputKind::kAffixWithout;
  }
  if (lower == kStemExtension) {
    fs::path affixes = file;
    affixes.replace_extension(InCaseOf(extension, kAffixExtension));
    if (IsFile(affixes)) {
      *pair = {affixes.string(), path};
      return InputKind::kHunspellPair;
    }
  }
  return InputKind::kWordList;
}

bool SortBuildInputs(const std::vector<std::string>& paths,
                     BuildInputs* inputs, std::string* error) {
  *inputs = {};
  for (const std::string& path : paths) {
    HunspellPair pair;
    switch (ClassifyInput(path, &pair)) {
      case InputKind::kWordList:
        inputs->word_lists.push_back(path);
        break;
      case InputKind::kAffixWithout:
        *error = "The affix file " + path + " has no stem list " +
                 fs::path(pair.dictionary_file).filename().string() +
                 " beside it. A spell-checker dictionary is read from both "
                 "files: put them in one folder.";
        return false;
      case InputKind::kHunspellPair: {
        const auto same = [&pair](const HunspellPair& added) {
          return SamePair(added, pair);
        };
        if (std::none_of(inputs->hunspell.begin(), inputs->hunspell.end(),
                         same)) {
          inputs->hunspell.push_back(pair);
        }
        break;
      }
    }
  }
  return true;
}

std::vector<std::string> FilesRead(const BuildInputs& inputs) {
  std::vector<std::string> files = inputs.word_lists;
  for (const HunspellPair& pair : inputs.hunspell) {
    files.push_back(pair.affix_file);
    files.push_back(pair.dictionary_file);
  }
  return files;
}

std::string InputLabel(const std::string& path) {
  HunspellPair pair;
  if (ClassifyInput(path, &pair) != InputKind::kHunspellPair) return path;
  const bool affix_given = pair.affix_file == path;
  const std::string other = fs::path(affix_given ? pair.dictionary_file
                                                 : pair.affix_file)
                                .filename()
                                .string();
  return path + " (spell-checker dictionary with " + other + ")";
}

std::string HunspellReportLines(const HunspellReport& report) {
  if (report.stems == 0 && report.forms == 0) return "";
  std::string lines;
  for (const std::string& line : DescribeHunspellReport(report)) {
    lines += "\n" + line;
  }
  return "\n\nSpell-checker dictionaries:" + lines;
}

}  // namespace vocor
