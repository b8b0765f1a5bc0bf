#include "app/dictionaries/build_dictionary_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "dictionary/dictionary_state.h"
#include "dictionary/testing/scratch_dir.h"

namespace vocor {
namespace {

BuildForm ValidForm() {
  BuildForm form;
  form.version = "1.5";
  form.language = 2057;
  form.notes = "caf\xc3\xa9";
  form.fold_accents = true;
  form.skip_abbreviations = true;
  form.inputs = {"/lists/a.txt", "/lists/b.txt"};
  form.output = "/out/Espa\xc3\xb1ol.dic";
  return form;
}

TEST(BuildDictionaryFormTest, ValidFormsBecomeRequests) {
  CompileRequest request;
  std::string error;
  ASSERT_TRUE(MakeCompileRequest(ValidForm(), &request, &error)) << error;
  EXPECT_EQ(request.info.dictionary_version, 150);
  EXPECT_EQ(request.info.language, 2057u);
  // No name given: the output's base name, in engine text like the notes.
  EXPECT_EQ(request.info.name, "Espa\xf1ol");
  EXPECT_EQ(request.info.notes, "caf\xe9");
  EXPECT_TRUE(request.words.fold_accents);
  EXPECT_FALSE(request.words.skip_possessives);
  EXPECT_TRUE(request.words.skip_abbreviations);
  EXPECT_EQ(request.inputs.size(), 2u);
  EXPECT_EQ(request.output, "/out/Espa\xc3\xb1ol.dic");

  BuildForm named = ValidForm();
  named.name = "My Words";
  ASSERT_TRUE(MakeCompileRequest(named, &request, &error));
  EXPECT_EQ(request.info.name, "My Words");
}

TEST(BuildDictionaryFormTest, EachMistakeHasItsOwnMessage) {
  std::vector<std::string> messages;
  const auto refused = [&](BuildForm form) {
    CompileRequest request;
    std::string error;
    const bool made = MakeCompileRequest(form, &request, &error);
    messages.push_back(error);
    return !made && !error.empty();
  };
  BuildForm form = ValidForm();
  form.inputs.clear();
  EXPECT_TRUE(refused(form));
  form = ValidForm();
  form.output.clear();
  EXPECT_TRUE(refused(form));
  for (const char* version : {"", "1.005", "one", "-1", "99999999999"}) {
    form = ValidForm();
    form.version = version;
    EXPECT_TRUE(refused(form)) << version;
  }
  form = ValidForm();
  form.name = std::string(128, 'n');
  EXPECT_TRUE(refused(form));
  std::sort(messages.begin(), messages.end());
  // Four mistakes, four texts (the versions share theirs).
  EXPECT_EQ(std::unique(messages.begin(), messages.end()) - messages.begin(),
            4);
}

TEST(BuildDictionaryFormTest, LanguagesAreNamedAndUnknownComesFirst) {
  const std::vector<LanguageChoice> choices = LanguageChoices();
  ASSERT_GT(choices.size(), 20u);
  EXPECT_EQ(choices[0].lcid, 0u);
  EXPECT_EQ(choices[0].name, "Unknown");
  EXPECT_TRUE(std::is_sorted(
      choices.begin() + 1, choices.end(),
      [](const auto& a, const auto& b) { return a.name < b.name; }));
  const auto name_of = [&](uint32_t lcid) {
    for (const LanguageChoice& choice : choices) {
      if (choice.lcid == lcid) return choice.name;
    }
    return std::string("missing");
  };
  EXPECT_EQ(name_of(1033), "English (United States)");
  EXPECT_EQ(name_of(2057), "English (United Kingdom)");
  // ICU knows every id listed: none falls back to its hexadecimal number.
  for (const LanguageChoice& choice : choices) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "%x", choice.lcid);
    EXPECT_NE(choice.name, hex);
  }
}

TEST(BuildDictionaryFormTest, ReportsGiveTheCountsAndTheReason) {
  CompileCounts counts;
  counts.read = 1234567;
  counts.file.words = 1000;
  counts.duplicates = 12;
  counts.skipped.too_long = 3;
  counts.file.bytes = 2048;
  const std::string done = BuildDoneText(counts, "/out/words.dic");
  for (const char* part : {"/out/words.dic", "Words read: 1,234,567",
                           "Stored: 1,000", "Duplicates: 12", "Skipped: 3"}) {
    EXPECT_NE(done.find(part), std::string::npos) << part;
  }
  // The filters' lines appear only when a filter left something out.
  EXPECT_EQ(done.find("left out"), std::string::npos);
  counts.possessives = 36676;
  EXPECT_NE(BuildDoneText(counts, "/out/words.dic")
                .find("\nPossessives left out: 36,676\nSize: "),
            std::string::npos);
  CompileOutcome outcome;
  EXPECT_EQ(BuildFailureText(outcome), "");
  outcome.status = CompileStatus::kCancelled;
  EXPECT_EQ(BuildFailureText(outcome), "");
  outcome.error = "cannot open /lists/x.txt: No such file or directory";
  for (CompileStatus status :
       {CompileStatus::kUnreadable, CompileStatus::kRefused,
        CompileStatus::kUnwritable}) {
    outcome.status = status;
    EXPECT_NE(BuildFailureText(outcome).find(outcome.error), std::string::npos);
  }
  outcome.status = CompileStatus::kNoWords;
  outcome.counts.read = 5;
  outcome.counts.skipped.foreign_letters = 5;
  EXPECT_NE(BuildFailureText(outcome).find("Skipped: 5"), std::string::npos);
}

TEST(BuildDictionaryFormTest, SkippedWordsAndWindows1252LinesAreExplained) {
  CompileCounts counts;
  counts.read = 5002;
  counts.file.words = 1;
  counts.skipped.too_long = 1;
  counts.skipped.foreign_letters = 2;
  counts.skipped.fragments = 1998;
  counts.windows1252_lines = 1;
  const std::string done = BuildDoneText(counts, "/out/fr.dic");
  EXPECT_NE(done.find("\nSkipped: 2,001 (1 longer than 999 letters, 2 with "
                      "letters outside the Western European alphabets, 1,998 "
                      "beginning or ending with a hyphen or apostrophe)\n"),
            std::string::npos)
      << done;
  EXPECT_NE(done.find("\nLines read as Windows-1252 (not UTF-8): 1\n"),
            std::string::npos)
      << done;
  // A list of UTF-8 lines says nothing of encodings.
  counts.windows1252_lines = 0;
  EXPECT_EQ(BuildDoneText(counts, "/out/fr.dic").find("Windows-1252"),
            std::string::npos);

  // Without a word, the message says which letters make words, in terms a
  // user knows rather than by the name of a code page.
  CompileOutcome outcome;
  outcome.status = CompileStatus::kNoWords;
  outcome.counts.read = 2;
  outcome.counts.skipped.foreign_letters = 2;
  const std::string none = BuildFailureText(outcome);
  EXPECT_NE(none.find("the letters kept are a to z and the accented letters "
                      "of Western European languages"),
            std::string::npos)
      << none;
  EXPECT_EQ(none.find("1252"), std::string::npos) << none;
}

// Lines whose score could not be read are counted and the first named by
// file and line, so that they can be found; a list without them says
// nothing of scores.
TEST(BuildDictionaryFormTest, BadScoreLinesAreNamed) {
  CompileCounts counts;
  counts.read = 3;
  counts.file.words = 3;
  EXPECT_EQ(BuildDoneText(counts, "/out/x.dic").find("score"),
            std::string::npos);
  counts.bad_score_lines = 7;
  for (int line = 1; line <= 6; ++line) {
    counts.bad_scores.push_back({"/lists/words.txt", line * 10, "w;abc"});
  }
  const std::string done = BuildDoneText(counts, "/out/x.dic");
  EXPECT_NE(done.find("\nLines skipped for a bad score (not a whole number "
                      "from 1 to 100): 7\n    words.txt, line 10: w;abc\n"),
            std::string::npos)
      << done;
  EXPECT_NE(done.find("line 50: w;abc\n    and 2 more\nSize: "),
            std::string::npos)
      << done;
  EXPECT_EQ(done.find("line 60"), std::string::npos) << done;
  CompileOutcome outcome;
  outcome.status = CompileStatus::kNoWords;
  outcome.counts = counts;
  EXPECT_NE(BuildFailureText(outcome).find("words.txt, line 10"),
            std::string::npos);
}

// The output may be neither an input nor an installed dictionary's file,
// however the path is spelled.
TEST(BuildDictionaryFormTest, OutputsThatWouldDestroyAListAreRefused) {
  namespace fs = std::filesystem;
  testing::ScratchDir dir;
  const std::string input = dir.Write("words.txt", "cat\n");
  const std::string installed = dir.Write("installed.txt", "dog\n");
  fs::create_directory(dir.path() + "/sub");
  fs::create_symlink(input, dir.path() + "/link.txt");
  DictionaryState state;
  ASSERT_NE(state.Install(installed), nullptr);
  const std::vector<std::string> files = InstalledDictionaryFiles(state);
  ASSERT_EQ(files, std::vector<std::string>{installed});

  const std::vector<std::string> inputs = {input};
  for (const std::string& spelling :
       {input, dir.path() + "/sub/../words.txt", dir.path() + "//words.txt",
        dir.path() + "/link.txt"}) {
    EXPECT_NE(OutputRefusal(spelling, inputs, files).find("word lists"),
              std::string::npos)
        << spelling;
  }
  EXPECT_NE(OutputRefusal(dir.path() + "/./installed.txt", inputs, files)
                .find("installed dictionary"),
            std::string::npos);
  // An installed file that is missing now is still the installed one.
  const std::string gone = dir.path() + "/gone.dic";
  EXPECT_NE(OutputRefusal(gone, inputs, {gone}), "");
  for (const std::string& fine :
       {dir.path() + "/words.dic", dir.path() + "/sub/words.txt"}) {
    EXPECT_EQ(OutputRefusal(fine, inputs, files), "") << fine;
  }
  EXPECT_NE(ReplaceOutputQuestion("/out/w.dic").find("/out/w.dic"),
            std::string::npos);
}

}  // namespace
}  // namespace vocor
