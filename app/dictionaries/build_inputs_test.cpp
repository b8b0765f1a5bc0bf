#include "app/dictionaries/build_inputs.h"

#include <gtest/gtest.h>

#include "app/dictionaries/build_dictionary_form.h"
#include "dictionary/testing/scratch_dir.h"

namespace vocor {

// Found by the assertions through the pair's namespace.
static bool operator==(const HunspellPair& a, const HunspellPair& b) {
  return a.affix_file == b.affix_file && a.dictionary_file == b.dictionary_file;
}

namespace {

// A folder with a pair (de), a pair in capitals (UP), an affix file alone,
// a .dic word list with no affix file and a plain list.
class BuildInputsTest : public ::testing::Test {
 protected:
  BuildInputsTest()
      : aff_(dir_.Write("de.aff", "SET UTF-8\n")),
        dic_(dir_.Write("de.dic", "1\nHaus\n")),
        upper_aff_(dir_.Write("UP.AFF", "SET UTF-8\n")),
        upper_dic_(dir_.Write("UP.DIC", "1\nx\n")),
        lone_aff_(dir_.Write("lone.aff", "SET UTF-8\n")),
        list_dic_(dir_.Write("words.dic", "cat\ndog\n")),
        list_(dir_.Write("words.txt", "emu\n")) {}

  testing::ScratchDir dir_;
  std::string aff_, dic_, upper_aff_, upper_dic_, lone_aff_, list_dic_, list_;
};

TEST_F(BuildInputsTest, EitherFileOfAPairAddsThePairOnce) {
  HunspellPair pair;
  const HunspellPair de{aff_, dic_};
  EXPECT_EQ(ClassifyInput(aff_, &pair), InputKind::kHunspellPair);
  EXPECT_EQ(pair, de);
  EXPECT_EQ(ClassifyInput(dic_, &pair), InputKind::kHunspellPair);
  EXPECT_EQ(pair, de);
  EXPECT_EQ(ClassifyInput(upper_dic_, &pair), InputKind::kHunspellPair);
  EXPECT_EQ(pair, (HunspellPair{upper_aff_, upper_dic_}));
  EXPECT_EQ(ClassifyInput(list_dic_, &pair), InputKind::kWordList);
  EXPECT_EQ(ClassifyInput(list_, &pair), InputKind::kWordList);
  EXPECT_EQ(ClassifyInput(lone_aff_, &pair), InputKind::kAffixWithout);
  EXPECT_EQ(pair.dictionary_file, dir_.path() + "/lone.dic");

  BuildInputs inputs;
  std::string error;
  ASSERT_TRUE(SortBuildInputs(
      {list_, dic_, upper_aff_, aff_, dir_.path() + "/./de.aff", list_dic_},
      &inputs, &error))
      << error;
  EXPECT_EQ(inputs.word_lists, (std::vector<std::string>{list_, list_dic_}));
  ASSERT_EQ(inputs.hunspell.size(), 2u);
  EXPECT_EQ(inputs.hunspell[0], de);
  EXPECT_EQ(inputs.hunspell[1], (HunspellPair{upper_aff_, upper_dic_}));
  // Every file read, so that none of them is chosen as the output.
  EXPECT_EQ(FilesRead(inputs),
            (std::vector<std::string>{list_, list_dic_, aff_, dic_, upper_aff_,
                                      upper_dic_}));

  EXPECT_FALSE(SortBuildInputs({list_, lone_aff_}, &inputs, &error));
  EXPECT_NE(error.find("lone.dic"), std::string::npos) << error;

  EXPECT_EQ(InputLabel(list_dic_), list_dic_);
  EXPECT_EQ(InputLabel(aff_),
            aff_ + " (spell-checker dictionary with de.dic)");
  EXPECT_EQ(InputLabel(dic_),
            dic_ + " (spell-checker dictionary with de.aff)");
}

// The form hands the pairs and the subset option to the compiler, and a
// stem list is as much an input as a word list when choosing the output.
TEST_F(BuildInputsTest, TheFormBuildsFromPairsAndGuardsTheirFiles) {
  BuildForm form;
  form.version = "1.00";
  form.inputs = {dic_, list_};
  form.output = dir_.path() + "/out.dic";
  form.skip_two_level_suffixes = true;
  CompileRequest request;
  std::string error;
  ASSERT_TRUE(MakeCompileRequest(form, &request, &error)) << error;
  EXPECT_EQ(request.inputs, std::vector<std::string>{list_});
  ASSERT_EQ(request.hunspell.size(), 1u);
  EXPECT_EQ(request.hunspell[0], (HunspellPair{aff_, dic_}));
  EXPECT_FALSE(request.hunspell_options.two_level_suffixes);
  EXPECT_TRUE(request.hunspell_options.cross_products);
  form.skip_two_level_suffixes = false;
  form.skip_cross_products = true;
  ASSERT_TRUE(MakeCompileRequest(form, &request, &error));
  EXPECT_TRUE(request.hunspell_options.two_level_suffixes);
  EXPECT_FALSE(request.hunspell_options.cross_products);

  EXPECT_NE(OutputRefusal(aff_, FilesRead(request), {}), "");
  EXPECT_NE(OutputRefusal(dic_, FilesRead(request), {}), "");

  form.inputs = {lone_aff_};
  EXPECT_FALSE(MakeCompileRequest(form, &request, &error));
  EXPECT_NE(error.find("lone.dic"), std::string::npos) << error;
}

// The report tells what an expansion did only when there was one, and a
// refusal for too many forms points at the subset.
TEST_F(BuildInputsTest, ReportsTellWhatTheExpansionDid) {
  CompileCounts counts;
  EXPECT_EQ(BuildDoneText(counts, "/o.dic").find("Spell-checker"),
            std::string::npos);
  counts.hunspell.stems = 12;
  counts.hunspell.forms = 40;
  const std::string done = BuildDoneText(counts, "/o.dic");
  EXPECT_NE(done.find("\n\nSpell-checker dictionaries:\n"), std::string::npos)
      << done;
  for (const std::string& line : DescribeHunspellReport(counts.hunspell)) {
    EXPECT_NE(done.find(line), std::string::npos) << line;
  }

  CompileOutcome outcome;
  outcome.status = CompileStatus::kRefused;
  outcome.counts = counts;
  EXPECT_NE(BuildFailureText(outcome).find("Leave out forms with two suffixes"),
            std::string::npos);
  // One subset tried, the other still offered; both tried, none.
  outcome.counts.hunspell.two_level_left_out = 5;
  EXPECT_NE(BuildFailureText(outcome).find("both a prefix and a suffix"),
            std::string::npos);
  outcome.counts.hunspell.cross_products_left_out = 5;
  EXPECT_EQ(BuildFailureText(outcome).find("Leave out forms with two suffixes"),
            std::string::npos);
  outcome.status = CompileStatus::kMalformed;
  outcome.error = "de.aff:3: SFX A: 2 rules announced, 1 found";
  EXPECT_NE(BuildFailureText(outcome).find("damaged"), std::string::npos);
  EXPECT_NE(BuildFailureText(outcome).find(outcome.error), std::string::npos);
}

}  // namespace
}  // namespace vocor
