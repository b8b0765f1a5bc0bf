// The program's own cases (vocor_mkdic_test.cpp) cover the counts and the
// refusals; these are what only a caller of the library sees: progress,
// cancellation at every step, the statuses that tell failures apart, and
// the request's word choice and output kind.
#include "compiler/dictionary_compiler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {
namespace {

size_t CountEntries(const std::string& folder) {
  const std::filesystem::directory_iterator entries(folder);
  return static_cast<size_t>(std::distance(begin(entries), end(entries)));
}

// Distinct words of letters only: "w" and the number in base 26.
std::string ManyWords(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += 'w';
    int n = i;
    do {
      text += static_cast<char>('a' + n % 26);
      n /= 26;
    } while (n > 0);
    text += '\n';
  }
  return text;
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class CompilerTest : public ::testing::Test {
 protected:
  CompileRequest Request(std::vector<std::string> inputs) {
    CompileRequest request;
    request.inputs = std::move(inputs);
    request.output = dir_.path() + "/out.dic";
    request.info.name = "Test";
    return request;
  }
  testing::ScratchDir dir_;
};

TEST_F(CompilerTest, ProgressRisesToTheEndAndTheFileChecks) {
  const std::string a = dir_.Write("a.txt", ManyWords(40000));
  const std::string b = dir_.Write("b.txt", "zebra Zebra caf\xc3\xa9\n");
  std::vector<int> seen;
  const CompileOutcome outcome =
      CompileDictionary(Request({a, b}), [&](int permille) {
        seen.push_back(permille);
        return true;
      });
  ASSERT_EQ(outcome.status, CompileStatus::kDone) << outcome.error;
  EXPECT_EQ(outcome.counts.read, 40003);
  EXPECT_EQ(outcome.counts.duplicates, 1);
  EXPECT_EQ(outcome.counts.skipped.total(), 0);
  EXPECT_EQ(outcome.counts.file.words, 40002);
  // Several reports inside the big list, never going back, ending whole.
  EXPECT_GT(seen.size(), 8u);
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(seen.back(), 1000);
  VocorFileFacts facts;
  std::string error;
  EXPECT_TRUE(CheckVocorFile(Slurp(dir_.path() + "/out.dic"), &facts, &error))
      << error;
  EXPECT_EQ(facts.header.word_count, 40002);
}

// Stopping at each report in turn, the n-th: wherever the compile stops,
// the old output stays as it was and no temporary file is left.
TEST_F(CompilerTest, CancellingAtAnyStepLeavesTheOldOutput) {
  const std::string list = dir_.Write("list.txt", ManyWords(20000));
  int reports = 0;
  CompileDictionary(Request({list}), [&](int) { return ++reports > 0; });
  ASSERT_GT(reports, 4);
  dir_.Write("out.dic", "old");
  // The last report comes after the file is in place and cannot stop it.
  for (int stop_at = 1; stop_at < reports; ++stop_at) {
    int count = 0;
    const CompileOutcome outcome = CompileDictionary(
        Request({list}), [&](int) { return ++count < stop_at; });
    EXPECT_EQ(outcome.status, CompileStatus::kCancelled) << stop_at;
    EXPECT_EQ(CountEntries(dir_.path()), 2u);  // no temporary file
    EXPECT_EQ(Slurp(dir_.path() + "/out.dic"), "old") << stop_at;
  }
}

TEST_F(CompilerTest, FailuresAreToldApartAndWriteNothing) {
  const std::string good = dir_.Write("good.txt", "word\n");
  CompileOutcome outcome =
      CompileDictionary(Request({good, dir_.path() + "/missing.txt"}));
  EXPECT_EQ(outcome.status, CompileStatus::kUnreadable);
  EXPECT_NE(outcome.error.find("missing.txt"), std::string::npos);

  const std::string binary = dir_.Write("bin.txt", std::string("ab\0cd", 5));
  EXPECT_EQ(CompileDictionary(Request({binary})).status,
            CompileStatus::kUnreadable);

  // Digits, and a word with letters Windows-1252 does not have (łódź).
  const std::string none =
      dir_.Write("none.txt", "123 \xc5\x82\xc3\xb3" "d\xc5\xba\n");
  outcome = CompileDictionary(Request({none}));
  EXPECT_EQ(outcome.status, CompileStatus::kNoWords);
  EXPECT_EQ(outcome.counts.file.words, 0);

  CompileRequest request = Request({good});
  request.output = dir_.path() + "/no/such/folder/out.dic";
  outcome = CompileDictionary(request);
  EXPECT_EQ(outcome.status, CompileStatus::kUnwritable);
  EXPECT_NE(outcome.error.find("no/such/folder"), std::string::npos);

  request.output = dir_.path();  // a folder is never replaced
  EXPECT_EQ(CompileDictionary(request).status, CompileStatus::kUnwritable);
  EXPECT_EQ(CountEntries(dir_.path()), 3u);  // the three inputs
}

// The dialog and the program reach the filters and the text output only
// through the request, so its fields must be the ones that decide.
TEST_F(CompilerTest, TheRequestChoosesTheWordsAndTheOutputKind) {
  const std::string list =
      dir_.Write("list.txt", "Zebra caf\xc3\xa9 cat's NASA zebra Paris\n");
  CompileRequest request = Request({list});
  request.output = dir_.path() + "/out.txt";
  request.text_list = true;
  request.words.skip_possessives = true;
  request.words.skip_abbreviations = true;
  int last = 0;
  CompileOutcome outcome = CompileDictionary(request, [&](int permille) {
    last = permille;
    return true;
  });
  ASSERT_EQ(outcome.status, CompileStatus::kDone) << outcome.error;
  const std::string expected = "zebra\ncaf\xc3\xa9\nparis\n";
  EXPECT_EQ(Slurp(request.output), expected);
  EXPECT_EQ(last, 1000);
  EXPECT_EQ(outcome.counts.read, 6);
  EXPECT_EQ(outcome.counts.possessives, 1);
  EXPECT_EQ(outcome.counts.abbreviations, 1);
  EXPECT_EQ(outcome.counts.duplicates, 1);
  EXPECT_EQ(outcome.counts.skipped.total(), 0);
  EXPECT_EQ(outcome.counts.file.words, 3);
  EXPECT_EQ(outcome.counts.file.bytes, static_cast<int>(expected.size()));

  // Stopped before the write, a text list leaves the old one too.
  dir_.Write("out.txt", "old");
  int reports = 0;
  outcome = CompileDictionary(request, [&](int) { return ++reports < 2; });
  EXPECT_EQ(outcome.status, CompileStatus::kCancelled);
  EXPECT_EQ(Slurp(request.output), "old");

  // A binary dictionary keeps the accent too, unless folding is asked
  // for; a text list ignores the folding.
  request.text_list = false;
  request.output = dir_.path() + "/out.dic";
  for (bool fold : {false, true}) {
    request.words.fold_accents = fold;
    outcome = CompileDictionary(request);
    ASSERT_EQ(outcome.status, CompileStatus::kDone) << outcome.error;
    EXPECT_EQ(outcome.counts.file.words, 3);
    CDictionaryVocorFile dictionary;
    ASSERT_TRUE(dictionary.SetFileName(request.output.c_str()));
    ASSERT_TRUE(dictionary.Open());
    const EnumPtr words = dictionary.CreateEnumerator();
    EXPECT_EQ(words->Contains("caf\xe9"), !fold);
    EXPECT_EQ(words->Contains("cafe"), fold);
  }
  request.text_list = true;
  request.output = dir_.path() + "/folded.txt";
  ASSERT_EQ(CompileDictionary(request).status, CompileStatus::kDone);
  EXPECT_EQ(Slurp(request.output), expected);
}

// A spell checker's forms join the word lists as one more list: the word
// choice applies, the limit on words counts them all, and a pair that
// expands past it, or a damaged pair, writes nothing.
TEST_F(CompilerTest, SpellCheckerFormsAreReadAsAListAndNeverCutShort) {
  const std::string list = dir_.Write("list.txt", "bird cat\n");
  const HunspellPair pair{
      dir_.Write("t.aff", "SFX A Y 1\nSFX A 0 s .\n"),
      dir_.Write("t.dic", "3\ncat/A\nNASA\nEl\xc3\xa8ve/A\n")};
  CompileRequest request = Request({list});
  request.hunspell = {pair};
  request.words.skip_abbreviations = true;
  std::vector<int> seen;
  CompileOutcome outcome = CompileDictionary(request, [&](int permille) {
    seen.push_back(permille);
    return true;
  });
  ASSERT_EQ(outcome.status, CompileStatus::kDone) << outcome.error;
  EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
  EXPECT_EQ(outcome.counts.hunspell.stems, 3);
  EXPECT_EQ(outcome.counts.hunspell.forms, 5);
  EXPECT_EQ(outcome.counts.read, 7);
  EXPECT_EQ(outcome.counts.duplicates, 1);
  EXPECT_EQ(outcome.counts.abbreviations, 1);
  EXPECT_EQ(outcome.counts.file.words, 5);
  {
    CDictionaryVocorFile dictionary;
    ASSERT_TRUE(dictionary.SetFileName(request.output.c_str()));
    ASSERT_TRUE(dictionary.Open());
    const EnumPtr words = dictionary.CreateEnumerator();
    for (const char* word : {"bird", "cat", "cats", "el\xe8ve", "el\xe8ves"}) {
      EXPECT_TRUE(words->Contains(word)) << word;
    }
    EXPECT_FALSE(words->Contains("nasa"));
  }
  const std::string before = Slurp(request.output);

  // Five distinct words: a limit of four refuses the whole compile.
  request.expansion_word_limit = 4;
  outcome = CompileDictionary(request);
  EXPECT_EQ(outcome.status, CompileStatus::kRefused);
  EXPECT_NE(outcome.error.find("more than 4 distinct words"),
            std::string::npos)
      << outcome.error;
  EXPECT_NE(outcome.error.find("two suffixes"), std::string::npos);
  EXPECT_EQ(Slurp(request.output), before);
  request.expansion_word_limit = 5;
  EXPECT_EQ(CompileDictionary(request).status, CompileStatus::kDone);

  request.hunspell = {{pair.affix_file, dir_.Write("bad.dic", "cat/A\n")}};
  outcome = CompileDictionary(request);
  EXPECT_EQ(outcome.status, CompileStatus::kMalformed);
  EXPECT_NE(outcome.error.find("bad.dic:1:"), std::string::npos);
  EXPECT_EQ(Slurp(request.output), before);

  // Cancelled while expanding, nothing changes either.
  request.hunspell = {pair};
  outcome = CompileDictionary(request, [](int permille) {
    return permille < 300;
  });
  EXPECT_EQ(outcome.status, CompileStatus::kCancelled);
  EXPECT_EQ(Slurp(request.output), before);
}

TEST(MakeVocorFileInfoTest, ConvertsToEngineTextAndLimitsTheName) {
  VocorFileInfo info;
  std::string error;
  ASSERT_TRUE(MakeVocorFileInfo("Espa\xc3\xb1ol \xe2\x82\xac \xe2\x98\x83",
                                "e\xcc\x81", &info, &error));
  EXPECT_EQ(info.name, "Espa\xf1ol \x80 ?");
  EXPECT_EQ(info.notes, "\xe9");
  // 127 bytes of engine text, although the UTF-8 takes twice as many.
  std::string e_acute;
  for (int i = 0; i < 127; ++i) e_acute += "\xc3\xa9";
  EXPECT_TRUE(MakeVocorFileInfo(e_acute, "", &info, &error));
  EXPECT_FALSE(MakeVocorFileInfo(e_acute + "x", "", &info, &error));
  EXPECT_NE(error.find("127"), std::string::npos);
}

}  // namespace
}  // namespace vocor
