// The languages built from spell checkers' dictionaries, as the build
// ships them: every language of hunspell_languages.txt whose Hunspell files
// are installed is in Languages/, a valid dictionary named and marked with
// its locale id as the list says; it holds word forms that only the affix
// rules make; and built with a plain word list, that list's words too.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "compiler/word_collector.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"

namespace vocor {
namespace {

namespace fs = std::filesystem;

struct Language {
  std::string file, name, lcid, package, hunspell, plain, use, options;
};

std::vector<std::string> SplitFields(const std::string& line) {
  std::vector<std::string> fields;
  size_t start = 0;
  for (;;) {
    const size_t bar = line.find('|', start);
    std::string field = line.substr(start, bar - start);
    const size_t first = field.find_first_not_of(' ');
    const size_t last = field.find_last_not_of(' ');
    fields.push_back(first == std::string::npos
                         ? ""
                         : field.substr(first, last - first + 1));
    if (bar == std::string::npos) return fields;
    start = bar + 1;
  }
}

std::vector<Language> ReadLanguages() {
  std::ifstream in(VOCOR_HUNSPELL_LANGUAGES);
  std::vector<Language> languages;
  for (std::string line; std::getline(in, line);) {
    if (line.empty() || line[0] == '#') continue;
    const std::vector<std::string> f = SplitFields(line);
    EXPECT_EQ(f.size(), 8u) << line;
    if (f.size() != 8) continue;
    languages.push_back({f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7]});
  }
  return languages;
}

bool Installed(const Language& language) {
  const std::string base = "/usr/share/hunspell/" + language.hunspell;
  return fs::exists(base + ".aff") && fs::exists(base + ".dic");
}

// A form of each language that no stem list line holds as it is: found
// only when the affix rules were applied (UTF-8, lower case).
const std::map<std::string, std::string>& ExpandedForms() {
  static const auto* forms = new std::map<std::string, std::string>{
      {"galician.dic", "cantabamos"},
      {"basque.dic", "etxeak"},
      {"afrikaans.dic", "katte"},
      {"icelandic.dic", "hestar"},
      {"occitan.dic", "ostals"},
      {"aragonese.dic", "casetas"},
      {"indonesian.dic", "makanan"},
      {"swahili.dic", "alianguka"},
      {"scottish-gaelic.dic", "tuareigin"},
      {"german-at.dic", "h\xc3\xa4usern"},
      {"german-ch.dic", "gr\xc3\xbcsst"},
      {"english-au.dic", "colours"},
      {"english-ca.dic", "colours"},
      {"english-za.dic", "neighbours"},
      {"norwegian-nn.dic", "husa"},
      {"catalan-valencia.dic", "cant\xc3\xa0vem"},
      {"german.dic", "h\xc3\xa4usern"},
      {"french.dic", "mangeaient"},
      {"spanish.dic", "cant\xc3\xa1" "bamos"},
      {"italian.dic", "mangiavamo"},
      {"portuguese-pt.dic", "cant\xc3\xa1vamos"},
      {"portuguese-br.dic", "cant\xc3\xa1vamos"},
      {"dutch.dic", "waterbokken"},
      {"swedish.dic", "husen"},
      {"danish.dic", "husene"},
      {"norwegian-nb.dic", "husene"},
      {"catalan.dic", "cant\xc3\xa0vem"},
  };
  return *forms;
}

// Every 997th line of a plain list, as the compiler stores its words with
// the language's options.
std::vector<std::string> SampleOfList(const Language& language) {
  std::ifstream in(language.plain, std::ios::binary);
  std::string sample;
  int n = 0;
  for (std::string line; std::getline(in, line); ++n) {
    if (n % 997 == 0) sample += line + "\n";
  }
  WordChoice choice;
  choice.skip_abbreviations =
      language.options.find("--skip-abbreviations") != std::string::npos;
  choice.skip_possessives =
      language.options.find("--skip-possessives") != std::string::npos;
  WordCollector collector(choice);
  collector.AddList(sample);
  collector.Finish();
  return collector.words();
}

TEST(ShippedLanguagesTest, EachInstalledLanguageIsNamedAndHoldsItsForms) {
  const std::vector<Language> languages = ReadLanguages();
  ASSERT_GE(languages.size(), 20u);
  int checked = 0;
  for (const Language& language : languages) {
    SCOPED_TRACE(language.file);
    EXPECT_EQ(ExpandedForms().count(language.file), 1u)
        << "no expanded form to look for";
    if (!Installed(language)) continue;
    ++checked;
    const fs::path path = fs::path(VOCOR_LANGUAGES_DIR) / language.file;
    CDictionaryVocorFile dictionary;
    ASSERT_TRUE(dictionary.SetFileName(path.c_str()));
    ASSERT_TRUE(dictionary.Open()) << path << " was not built";
    EXPECT_EQ(EngineToUtf8(dictionary.GetName()), language.name);
    EXPECT_EQ(std::to_string(dictionary.GetLanguage()), language.lcid);
    EnumPtr words = dictionary.CreateEnumerator();
    const auto form = ExpandedForms().find(language.file);
    if (form != ExpandedForms().end() && language.use != "plain") {
      EXPECT_TRUE(words->Contains(Utf8ToEngine(form->second).c_str()))
          << form->second;
    }
    if (language.use == "hunspell" || !fs::exists(language.plain)) continue;
    const std::vector<std::string> sample = SampleOfList(language);
    EXPECT_GT(sample.size(), 50u);
    for (const std::string& word : sample) {
      EXPECT_TRUE(words->Contains(word.c_str())) << EngineToUtf8(word);
    }
  }
  if (checked == 0) GTEST_SKIP() << "no Hunspell dictionary is installed";
}

}  // namespace
}  // namespace vocor
