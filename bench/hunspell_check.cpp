// The expansion of spell-checker dictionaries checked against the spell
// checker itself (libhunspell), and timed.
//
//   build/bench/hunspell_check [--languages FILE] [--max-forms N]
//                              [--sample N] [BASE[=PLAIN_LIST]]...
//
// For each language BASE (/usr/share/hunspell/BASE.aff and .dic):
//   - compiles it as vocor-mkdic --hunspell does, with the options the
//     languages file gives it, timing the expansion plus the compile and
//     measuring the dictionary it writes;
//   - expands it again and asks libhunspell about every form (about every
//     k-th when there are more than --max-forms, 20 million by default):
//     every form must be accepted; rejections are counted with examples,
//     and so are forms accepted only as compounds;
//   - with a plain word list of the language (PLAIN_LIST, or the languages
//     file's column), takes a sample of its words (--sample, 20000 by
//     default) and reports the share libhunspell accepts and the share
//     the expansion holds (compared lower-cased, as the dictionary stores
//     words).
// A language whose forms are more than a dictionary holds is listed as
// refused, then built and checked without two-level suffixes, without
// prefixes on suffixed forms, or without both, until a subset fits.
// Without BASE arguments it checks the languages of --languages, or else
// every affix file in /usr/share/hunspell that is not a link. Prints a
// table in Markdown; exits 1 when any form was rejected.
#include <hunspell/hunspell.hxx>
#include <unicode/ucnv.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "compiler/dictionary_compiler.h"
#include "compiler/hunspell_expand.h"
#include "dictionary/text_words.h"
#include "engine/charset.h"

namespace vocor {
namespace {

const char kHunspellFolder[] = "/usr/share/hunspell/";
constexpr size_t kExamples = 5;

struct Language {
  std::string base;
  std::string plain;  // "" for none
  WordChoice choice;
  bool two_level = true;
  bool cross_products = true;
};

struct Result {
  HunspellReport report;
  CompileStatus status = CompileStatus::kDone;
  std::string error;
  int64_t stored = 0;
  int64_t bytes = 0;
  double compile_seconds = 0;
  int64_t asked = 0;
  int64_t rejected = 0;
  int64_t compound_only = 0;
  std::vector<std::string> rejections;
  int64_t sample = 0;
  int64_t sample_accepted = 0;
  int64_t sample_expanded = 0;
  int64_t sample_both = 0;
};

// Converts UTF-8 words to the dictionary's encoding for libhunspell.
class Encoder {
 public:
  explicit Encoder(const std::string& encoding) {
    std::string name = encoding;
    if (name.starts_with("ISO8859-")) name = "ISO-8859-" + name.substr(8);
    utf8_ = name == "UTF-8";
    UErrorCode status = U_ZERO_ERROR;
    if (!utf8_) converter_ = ucnv_open(name.c_str(), &status);
  }
  ~Encoder() {
    if (converter_ != nullptr) ucnv_close(converter_);
  }
  std::string Encode(const std::string& utf8) {
    if (utf8_ || converter_ == nullptr) return utf8;
    UErrorCode status = U_ZERO_ERROR;
    char out[4 * kWordBufferSize];
    const int32_t length =
        ucnv_convert(ucnv_getName(converter_, &status), "UTF-8", out,
                     sizeof out, utf8.data(),
                     static_cast<int32_t>(utf8.size()), &status);
    return U_FAILURE(status) ? utf8 : std::string(out, length);
  }

 private:
  bool utf8_ = true;
  UConverter* converter_ = nullptr;
};

std::string Lower(std::string_view engine) {
  std::string lower(engine);
  for (char& c : lower) {
    c = static_cast<char>(EngineToLower(static_cast<unsigned char>(c)));
  }
  return lower;
}

// Every k-th line of a plain list, up to `count` words in engine text.
std::vector<std::string> PlainSample(const std::string& path, size_t count) {
  std::ifstream in(path);
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && IsValidUtf8(line)) lines.push_back(line);
  }
  std::vector<std::string> sample;
  const size_t step = std::max<size_t>(1, lines.size() / count);
  for (size_t i = 0; i < lines.size() && sample.size() < count; i += step) {
    sample.push_back(lines[i]);
  }
  return sample;
}

void Compile(const Language& language, const HunspellPair& pair,
             Result* result) {
  CompileRequest request;
  request.hunspell = {pair};
  request.hunspell_options.two_level_suffixes = language.two_level;
  request.hunspell_options.cross_products = language.cross_products;
  request.words = language.choice;
  request.output = (std::filesystem::temp_directory_path() /
                    ("hunspell_check_" + language.base + ".dic"))
                       .string();
  request.info.name = language.base;
  const auto start = std::chrono::steady_clock::now();
  const CompileOutcome outcome = CompileDictionary(request);
  result->compile_seconds = std::chrono::duration<double>(
                                std::chrono::steady_clock::now() - start)
                                .count();
  result->status = outcome.status;
  result->error = outcome.error;
  result->report = outcome.counts.hunspell;
  result->stored = outcome.counts.file.words;
  result->bytes = outcome.counts.file.bytes;
  std::filesystem::remove(request.output);
}

void Check(const Language& language, size_t max_forms, size_t sample_size,
           Result* result) {
  const HunspellPair pair{kHunspellFolder + language.base + ".aff",
                          kHunspellFolder + language.base + ".dic"};
  Compile(language, pair, result);
  // A dictionary refused for its size is listed, not checked.
  if (result->status != CompileStatus::kDone) return;
  Hunspell checker(pair.affix_file.c_str(), pair.dictionary_file.c_str());
  Encoder encoder(checker.get_dict_encoding());
  // The sample's words lower-cased, to be found among the forms.
  std::vector<std::string> sample;
  if (!language.plain.empty()) sample = PlainSample(language.plain, sample_size);
  std::unordered_set<std::string> wanted;
  for (const std::string& word : sample) {
    std::string engine;
    if (IsValidUtf8(word)) wanted.insert(Lower(Utf8ToEngine(word)));
  }
  std::unordered_set<std::string> found;
  const int64_t forms = result->report.forms;
  const int64_t step =
      std::max<int64_t>(1, forms / static_cast<int64_t>(max_forms) + 1);
  int64_t index = 0;
  HunspellReport report;
  std::string error;
  HunspellOptions options;
  options.two_level_suffixes = language.two_level;
  options.cross_products = language.cross_products;
  ExpandHunspell(
      pair, options,
      [&](std::string_view form) {
        if (!wanted.empty()) {
          const std::string lower = Lower(form);
          if (wanted.contains(lower)) found.insert(lower);
        }
        if (index++ % step != 0) return true;
        ++result->asked;
        int info = 0;
        const std::string word = EngineToUtf8(form);
        if (!checker.spell(encoder.Encode(word), &info)) {
          ++result->rejected;
          if (result->rejections.size() < kExamples) {
            result->rejections.push_back(word);
          }
        } else if (info & SPELL_COMPOUND) {
          ++result->compound_only;
        }
        return true;
      },
      &report, &error);
  result->sample = static_cast<int64_t>(sample.size());
  for (const std::string& word : sample) {
    const bool accepted = checker.spell(encoder.Encode(word));
    const bool expanded = found.contains(Lower(Utf8ToEngine(word)));
    result->sample_accepted += accepted;
    result->sample_expanded += expanded;
    result->sample_both += accepted && expanded;
  }
}

std::string Percent(int64_t part, int64_t whole) {
  if (whole == 0) return "-";
  char text[32];
  std::snprintf(text, sizeof text, "%.1f%%", 100.0 * part / whole);
  return text;
}

// How a row's forms were made, when not all of them.
std::string Subset(const Language& language) {
  if (!language.two_level && !language.cross_products) {
    return " (one suffix, no prefix with a suffix)";
  }
  if (!language.two_level) return " (one suffix)";
  if (!language.cross_products) return " (no prefix with a suffix)";
  return "";
}

void PrintRow(const Language& language, const Result& r) {
  const HunspellReport& report = r.report;
  std::string rejections = std::to_string(r.rejected) + " of " +
                           std::to_string(r.asked);
  for (const std::string& example : r.rejections) rejections += " " + example;
  std::string status = r.status == CompileStatus::kDone ? "" : r.error;
  std::printf(
      "| %s%s | %lld | %lld | %lld stems, %lld forms | %lld | %.2f | %.2f | "
      "%lld | %s | %lld | %s | %s | %s |\n",
      language.base.c_str(), Subset(language).c_str(),
      static_cast<long long>(report.stems),
      static_cast<long long>(report.forms),
      static_cast<long long>(report.foreign_stems),
      static_cast<long long>(report.foreign_forms),
      static_cast<long long>(r.stored), report.seconds, r.compile_seconds,
      static_cast<long long>(r.bytes), rejections.c_str(),
      static_cast<long long>(r.compound_only),
      Percent(r.sample_accepted, r.sample).c_str(),
      Percent(r.sample_both, r.sample_accepted).c_str(),
      status.empty() ? "built" : status.c_str());
  std::fflush(stdout);
}

std::vector<std::string> Split(const std::string& line,
                               const std::string& separator) {
  std::vector<std::string> fields;
  size_t at = 0;
  for (;;) {
    const size_t end = line.find(separator, at);
    fields.push_back(line.substr(at, end - at));
    if (end == std::string::npos) return fields;
    at = end + separator.size();
  }
}

// The languages file: "file | name | lcid | package | base | plain | use |
// options".
std::vector<Language> ReadLanguages(const std::string& path) {
  std::vector<Language> languages;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> fields = Split(line, " | ");
    if (fields.size() < 6) continue;
    Language language;
    language.base = fields[4];
    language.plain = fields[5] == "-" ? "" : fields[5];
    const std::string options = fields.size() > 7 ? fields[7] : "";
    language.choice.fold_accents = options.find("--fold-accents") != std::string::npos;
    language.choice.skip_possessives =
        options.find("--skip-possessives") != std::string::npos;
    language.choice.skip_abbreviations =
        options.find("--skip-abbreviations") != std::string::npos;
    language.two_level =
        options.find("--hunspell-no-two-level") == std::string::npos;
    language.cross_products =
        options.find("--hunspell-no-cross-product") == std::string::npos;
    languages.push_back(language);
  }
  return languages;
}

std::vector<Language> AllInstalled() {
  std::vector<Language> languages;
  for (const auto& entry :
       std::filesystem::directory_iterator(kHunspellFolder)) {
    if (entry.path().extension() != ".aff" || entry.is_symlink()) continue;
    languages.push_back({entry.path().stem().string(), "", {}, true, true});
  }
  std::sort(languages.begin(), languages.end(),
            [](const Language& a, const Language& b) { return a.base < b.base; });
  return languages;
}

int Run(int argc, char** argv) {
  size_t max_forms = 20'000'000;
  size_t sample = 20'000;
  std::vector<Language> languages;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--languages" && i + 1 < argc) {
      languages = ReadLanguages(argv[++i]);
    } else if (arg == "--max-forms" && i + 1 < argc) {
      max_forms = std::stoull(argv[++i]);
    } else if (arg == "--sample" && i + 1 < argc) {
      sample = std::stoull(argv[++i]);
    } else if (arg == "--no-two-level") {
      for (Language& language : languages) language.two_level = false;
    } else {
      const size_t equals = arg.find('=');
      languages.push_back({arg.substr(0, equals),
                           equals == std::string::npos ? ""
                                                       : arg.substr(equals + 1),
                           {}, true, true});
    }
  }
  if (languages.empty()) languages = AllInstalled();
  std::printf(
      "| language | stems | forms | skipped | stored | expansion s | "
      "expansion + compile s | .dic bytes | rejected by libhunspell | "
      "accepted only as compounds | plain sample accepted | of those "
      "expanded | outcome |\n|---|---|---|---|---|---|---|---|---|---|---|---"
      "|---|\n");
  int exit_code = 0;
  for (const Language& language : languages) {
    if (!std::filesystem::exists(kHunspellFolder + language.base + ".aff")) {
      continue;
    }
    std::fprintf(stderr, "checking %s\n", language.base.c_str());
    Result result;
    Check(language, max_forms, sample, &result);
    PrintRow(language, result);
    if (result.rejected > 0) exit_code = 1;
    // Too many forms: the subsets the options build, one after another,
    // until one fits.
    const std::pair<bool, bool> subsets[] = {
        {false, language.cross_products},
        {language.two_level, false},
        {false, false}};
    for (const auto& [two_level, cross_products] : subsets) {
      if (!result.report.over_limit) break;
      Language subset = language;
      subset.two_level = two_level;
      subset.cross_products = cross_products;
      if (two_level == language.two_level &&
          cross_products == language.cross_products) {
        continue;
      }
      result = Result();
      Check(subset, max_forms, sample, &result);
      PrintRow(subset, result);
      if (result.rejected > 0) exit_code = 1;
    }
  }
  return exit_code;
}

}  // namespace
}  // namespace vocor

int main(int argc, char** argv) { return vocor::Run(argc, argv); }
