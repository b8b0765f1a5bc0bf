// Hand-made affix files, one kind of rule each, expanded and compared with
// the forms written out by hand; where libhunspell is installed, the spell
// checker itself confirms every expected form and rejects every form
// listed as absent, so that the expected sets say what the checker says.
#include "compiler/hunspell_expand.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "dictionary/testing/scratch_dir.h"
#include "engine/charset.h"

#ifdef VOCOR_HAVE_LIBHUNSPELL
#include <hunspell/hunspell.hxx>
#endif

namespace vocor {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// `utf8` in the one-byte `charset` (for the files of a case and the words
// asked of the checker).
std::string Encode(const std::string& utf8, const char* charset) {
  if (std::string(charset) == "UTF-8") return utf8;
  std::string out(utf8.size() + 16, '\0');
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      ucnv_convert(charset, "UTF-8", out.data(),
                   static_cast<int32_t>(out.size()), utf8.data(),
                   static_cast<int32_t>(utf8.size()), &status);
  out.resize(U_FAILURE(status) ? 0 : static_cast<size_t>(length));
  return out;
}

struct RuleCase {
  const char* name;
  const char* affix;       // UTF-8; written in `charset`
  const char* stems;       // the .dic, first line included
  std::set<std::string> forms;   // UTF-8, exactly what the expansion makes
  std::set<std::string> absent;  // UTF-8, forms the checker rejects
  const char* charset = "UTF-8";
  bool two_level = true;
};

struct Expansion {
  HunspellStatus status = HunspellStatus::kDone;
  std::set<std::string> forms;
  int64_t handed_on = 0;
  HunspellReport report;
  std::string error;
};

class HunspellExpandTest : public ::testing::Test {
 protected:
  Expansion Expand(const std::string& affix, const std::string& stems,
                   bool two_level = true) {
    return ExpandFiles(dir_.Write("t.aff", affix), dir_.Write("t.dic", stems),
                       two_level);
  }

  Expansion ExpandFiles(const std::string& affix_file,
                        const std::string& stem_file, bool two_level = true) {
    Expansion expansion;
    HunspellOptions options;
    options.two_level_suffixes = two_level;
    expansion.status = ExpandHunspell(
        {affix_file, stem_file}, options,
        [&](std::string_view form) {
          ++expansion.handed_on;
          expansion.forms.insert(EngineToUtf8(form));
          return true;
        },
        &expansion.report, &expansion.error);
    return expansion;
  }

  // Expands each case and compares; asks libhunspell where it is there.
  void Check(const std::vector<RuleCase>& cases) {
    for (const RuleCase& rule : cases) {
      SCOPED_TRACE(rule.name);
      const std::string affix_file =
          dir_.Write("t.aff", Encode(rule.affix, rule.charset));
      const std::string stem_file =
          dir_.Write("t.dic", Encode(rule.stems, rule.charset));
      const Expansion expansion =
          ExpandFiles(affix_file, stem_file, rule.two_level);
      ASSERT_EQ(expansion.status, HunspellStatus::kDone) << expansion.error;
      EXPECT_EQ(expansion.forms, rule.forms);
      for (const std::string& form : rule.absent) {
        EXPECT_FALSE(rule.forms.contains(form)) << "the case lists " << form;
      }
      AskSpellChecker(rule, affix_file, stem_file);
    }
  }

  void AskSpellChecker([[maybe_unused]] const RuleCase& rule,
                       [[maybe_unused]] const std::string& affix_file,
                       [[maybe_unused]] const std::string& stem_file) {
#ifdef VOCOR_HAVE_LIBHUNSPELL
    // The checker knows nothing of leaving out two-level suffixes.
    if (!rule.two_level) return;
    Hunspell checker(affix_file.c_str(), stem_file.c_str());
    for (const std::string& form : rule.forms) {
      EXPECT_TRUE(checker.spell(Encode(form, rule.charset)))
          << "libhunspell rejects " << form;
    }
    for (const std::string& form : rule.absent) {
      EXPECT_FALSE(checker.spell(Encode(form, rule.charset)))
          << "libhunspell accepts " << form;
    }
#endif
  }

  testing::ScratchDir dir_;
};

TEST_F(HunspellExpandTest, AffixesStripAddAndMeetTheirConditions) {
  Check({
      {"suffix conditions with classes, negation and any letter",
       "SFX A Y 4\n"
       "SFX A y ies [^aeiou]y\n"
       "SFX A 0 s [aeiou]y\n"
       "SFX A 0 s [^y]\n"
       "SFX A 0 'd .\n",
       "3\nfly/A\nday/A\ncat/A\n",
       {"fly", "flies", "fly'd", "day", "days", "day'd", "cat", "cats",
        "cat'd"},
       {"flys", "dayies", "caties"}},
      {"prefix conditions and strip; a condition longer than the stem",
       "PFX B Y 2\n"
       "PFX B 0 re [^r]\n"
       "PFX B e ex eq\n"
       "SFX C Y 1\n"
       "SFX C 0 er abcdefg\n",
       "3\ndo/B\nequal/BC\nrun/B\n",
       {"do", "redo", "equal", "reequal", "exqual", "run"},
       {"rerun", "exdo", "equaler"}},
      {"a rule may strip a whole stem only with FULLSTRIP",
       "FULLSTRIP\nSFX D Y 2\nSFX D go went go\nSFX D 0 es o\n",
       "1\ngo/D\n",
       {"go", "went", "goes"},
       {"gowent"}},
      {"without FULLSTRIP the whole stem stays",
       "SFX D Y 1\nSFX D go went go\n",
       "1\ngo/D\n",
       {"go"},
       {"went"}},
      {"in UTF-8, '.' after an ASCII letter steps over an accented one",
       "SET UTF-8\nSFX r N 1\nSFX r 0 er ...\nSFX s N 1\nSFX s 0 es .bc\n"
       "SFX t N 1\nSFX t 0 et é.\nSFX u N 1\nSFX u 0 eu ..\n",
       "4\nábc/rs\nábcd/r\nxéb/rtu\nbé/u\n",
       {"ábc", "ábces", "ábcd", "ábcder", "xéb", "xébeu", "bé", "béeu"},
       {"ábcer", "xébet"}},
      {"in ISO-8859-1, '.' is one letter",
       "SET ISO8859-1\nSFX r N 1\nSFX r 0 er ...\n",
       "1\nábc/r\n",
       {"ábc", "ábcer"},
       {},
       "ISO-8859-1"},
      {"IGNORE leaves characters out of stems and affixes",
       "IGNORE -\nSFX E Y 1\nSFX E 0 -s .\n",
       "1\nco-op/E\n",
       {"coop", "coops"},
       {}},
  });
}

TEST_F(HunspellExpandTest, CrossProductsAndContinuationClasses) {
  Check({
      {"prefix and suffix combine only when both allow it",
       "PFX U Y 1\nPFX U 0 un .\n"
       "PFX N N 1\nPFX N 0 non .\n"
       "SFX D Y 1\nSFX D 0 ed .\n"
       "SFX E N 1\nSFX E 0 er .\n",
       "1\ndo/UNDE\n",
       {"do", "undo", "nondo", "doed", "doer", "undoed"},
       {"undoer", "nondoed", "nondoer"}},
      {"the prefix condition reads the suffixed form",
       "PFX P Y 1\nPFX P 0 x abc\n"
       "SFX S Y 1\nSFX S 0 c .\n",
       "1\nab/PS\n",
       {"ab", "abc", "xabc"},
       {"xab"}},
      {"two-level suffixes",
       "SFX F Y 1\nSFX F 0 able/G .\n"
       "SFX G Y 2\nSFX G 0 ness .\nSFX G le ility le\n",
       "1\nread/F\n",
       {"read", "readable", "readableness", "readability"},
       {"readness"}},
      {"two-level suffixes left out by choice",
       "SFX F Y 1\nSFX F 0 able/G .\nSFX G Y 1\nSFX G 0 ness .\n",
       "1\nread/F\n",
       {"read", "readable"},
       {},
       "UTF-8",
       false},
      {"a prefix on two suffixes, and a prefix a suffix allows",
       "PFX U Y 1\nPFX U 0 un .\n"
       "PFX R Y 1\nPFX R 0 re .\n"
       "SFX F Y 1\nSFX F 0 able/GR .\n"
       "SFX G Y 1\nSFX G 0 ness .\n",
       "1\nread/UF\n",
       {"read", "unread", "readable", "readableness", "unreadable",
        "unreadableness", "rereadable", "rereadableness"},
       {"reread"}},
      {"a suffix a prefix allows",
       "PFX A Y 1\nPFX A 0 re/B .\n"
       "SFX B Y 1\nSFX B 0 ing .\n",
       "1\nwork/A\n",
       {"work", "rework", "reworking"},
       {"working"}},
      {"flag aliases on stems and affixes",
       "AF 3\nAF AB\nAF C\nAF B\n"
       "SFX A Y 1\nSFX A 0 s/3 .\n"
       "SFX B Y 1\nSFX B 0 y .\n"
       "SFX C Y 1\nSFX C 0 ing .\n",
       "2\nhat/1\nsing/2\n",
       {"hat", "hats", "hatsy", "haty", "sing", "singing"},
       {"singy"}},
  });
}

TEST_F(HunspellExpandTest, EachFlagSyntaxAndEncoding) {
  Check({
      {"long flags",
       "FLAG long\nSFX Aa Y 1\nSFX Aa 0 s/Bb .\nSFX Bb Y 1\nSFX Bb 0 y .\n"
       "SFX Ab Y 1\nSFX Ab 0 ed .\n",
       "1\nwalk/AaAb\n",
       {"walk", "walks", "walksy", "walked"},
       {"walky"}},
      {"number flags",
       "FLAG num\nSFX 101 Y 1\nSFX 101 0 s/7 .\nSFX 7 Y 1\nSFX 7 0 y .\n"
       "SFX 10 Y 1\nSFX 10 0 ed .\n",
       "1\nwalk/101,10\n",
       {"walk", "walks", "walksy", "walked"},
       {"walky"}},
      {"UTF-8 flags",
       "SET UTF-8\nFLAG UTF-8\nSFX é Y 1\nSFX é 0 s/ß .\n"
       "SFX ß Y 1\nSFX ß 0 y .\n",
       "1\nwalk/é\n",
       {"walk", "walks", "walksy"},
       {"walky"}},
      {"one-byte flags and letters of ISO-8859-1",
       "SET ISO8859-1\nSFX é Y 1\nSFX é 0 s .\nPFX à Y 1\nPFX à 0 ré .\n",
       "1\ncafé/éà\n",
       {"café", "cafés", "récafé", "récafés"},
       {"cafée"},
       "ISO-8859-1"},
      {"letters of ISO-8859-15 reach Windows-1252",
       "SET ISO8859-15\nSFX A Y 1\nSFX A 0 s .\n",
       "1\ncœur/A\n",
       {"cœur", "cœurs"},
       {},
       "ISO-8859-15"},
  });
}

TEST_F(HunspellExpandTest, FormsThatAreNoWordsOnTheirOwnAreLeftOut) {
  Check({
      {"NEEDAFFIX on a stem and on an affix",
       "NEEDAFFIX X\n"
       "SFX A Y 2\nSFX A 0 s .\nSFX A 0 ful/X .\n"
       "SFX B Y 1\nSFX B 0 ly .\n"
       "PFX P Y 1\nPFX P 0 un .\n",
       "2\nhelp/XA\nhope/AP\n",
       {"helps", "hope", "hopes", "unhope", "unhopes", "unhopeful"},
       {"help", "helpful", "hopeful"}},
      {"ONLYINCOMPOUND stems and affixes make no words",
       "ONLYINCOMPOUND C\nSFX A Y 2\nSFX A 0 s .\nSFX A 0 ing/C .\n",
       "2\nfoo/CA\nbar/A\n",
       {"bar", "bars"},
       {"foo", "foos", "baring"}},
      {"FORBIDDENWORD forbids a form another stem makes",
       "FORBIDDENWORD !\nSFX A Y 1\nSFX A 0 s .\n",
       "3\nfoo/A\nbar/A\nfoos/!\n",
       {"foo", "bar", "bars"},
       {"foos"}},
      {"CIRCUMFIX prefixes and suffixes come in pairs",
       "CIRCUMFIX X\n"
       "PFX A Y 1\nPFX A 0 leg/X .\n"
       "PFX B Y 1\nPFX B 0 legesleg/X .\n"
       "SFX C Y 3\nSFX C 0 obb .\nSFX C 0 obb/AX .\nSFX C 0 obb/BX .\n",
       "1\nnagy/C\n",
       {"nagy", "nagyobb", "legnagyobb", "legeslegnagyobb"},
       {"legnagy", "legeslegnagy"}},
      {"ICONV changes forms before the checker looks them up",
       "SET UTF-8\nICONV 2\nICONV ij ĳ\nICONV ’ '\nSFX A Y 1\nSFX A 0 s .\n",
       "3\nwoordensmederij/A\nrijk/A\nl'eau\n",
       {"l'eau"},
       {"woordensmederij", "rijks"}},
      {"KEEPCASE keeps the stem as written",
       "KEEPCASE K\n",
       "1\nMHz/K\n",
       {"MHz"},
       {}},
  });
}

TEST_F(HunspellExpandTest, TheReportCountsWhatWasSkippedAndLeftOut) {
  const Expansion expansion = Expand(
      "SET UTF-8\nNEEDAFFIX N\nCOMPOUNDFLAG Z\nCOMPOUNDMIN 3\n"
      "SFX A Y 2\nSFX A 0 s/B .\nSFX A 0 ŋa .\n"
      "SFX B Y 1\nSFX B 0 y .\n",
      // The count is a hint: five entries follow, one a comment line.
      "3\nkuŋa/A\nwalk/AZ\nrun/N\n\tcomment\nName \nad hoc\n",
      false);
  ASSERT_EQ(expansion.status, HunspellStatus::kDone) << expansion.error;
  EXPECT_EQ(expansion.forms,
            (std::set<std::string>{"walk", "walks", "ad hoc"}));
  const HunspellReport& report = expansion.report;
  EXPECT_EQ(report.announced_stems, 3);
  EXPECT_EQ(report.stems, 5);
  EXPECT_EQ(report.forms, expansion.handed_on);
  EXPECT_EQ(report.forms, 3);
  EXPECT_EQ(report.foreign_stems, 1);
  EXPECT_EQ(report.foreign_forms, 1);
  EXPECT_THAT(report.foreign_examples,
              ::testing::ElementsAre("kuŋa", "walkŋa"));
  EXPECT_EQ(report.blank_ended_stems, 1);
  EXPECT_EQ(report.not_words, 1);
  EXPECT_EQ(report.two_level_left_out, 1);
  EXPECT_EQ(report.compound_stems, 1);
  EXPECT_THAT(report.compound_directives,
              ::testing::ElementsAre("COMPOUNDFLAG", "COMPOUNDMIN"));
  const std::vector<std::string> lines = DescribeHunspellReport(report);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "stems read 5 (the stem list announces 3), forms made 3");
  EXPECT_EQ(lines[1],
            "skipped for letters outside Windows-1252: 1 stems, 1 forms "
            "(kuŋa, walkŋa)");
}

// A stem list's flag field that breaks the syntax is read as far as it
// goes, as the spell checker reads it: real lists hold such lines.
TEST_F(HunspellExpandTest, StemFlagsThatBreakTheSyntaxAreReadAsFarAsTheyGo) {
  const Expansion expansion =
      Expand("FLAG num\nSFX 1 Y 1\nSFX 1 0 s .\n",
             "3\ncat/1,x\n\"A/S\"\ndog/1\n");
  ASSERT_EQ(expansion.status, HunspellStatus::kDone) << expansion.error;
  EXPECT_EQ(expansion.forms,
            (std::set<std::string>{"cat", "cats", "\"A", "dog", "dogs"}));
  EXPECT_EQ(expansion.report.broken_flag_stems, 2);
  EXPECT_THAT(expansion.report.broken_flag_examples,
              ::testing::ElementsAre(dir_.path() + "/t.dic:2",
                                     dir_.path() + "/t.dic:3"));
}

// Each damaged pair is refused with its file, line and reason, and not a
// single form is handed on first.
TEST_F(HunspellExpandTest, DamagedFilesAreRefusedWithFileLineAndReason) {
  const char kGoodAffix[] = "SFX A Y 1\nSFX A 0 s .\n";
  const char kGoodStems[] = "1\ncat/A\n";
  struct Damage {
    const char* name;
    std::string affix;
    std::string stems;
    HunspellStatus status;
    std::string where;   // the file and line the error starts with
    std::string reason;  // part of the reason
  };
  const std::vector<Damage> damages = {
      {"truncated class", "SFX A Y 3\nSFX A 0 s .\nSFX A 0 es .\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:3:", "3 rules announced, 2 found"},
      {"rule of another class inside a class",
       "SFX A Y 2\nSFX A 0 s .\nSFX B 0 es .\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:3:", "2 rules announced, 1 found"},
      {"bad rule count", "SFX A Y many\nSFX A 0 s .\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:1:", "number of rules"},
      {"rule without what it adds", "SFX A Y 1\nSFX A 0\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:2:", "what it adds"},
      {"unclosed condition", "SFX A Y 1\nSFX A 0 s [^aei\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:2:", "has no ']'"},
      {"unknown flag syntax", "FLAG wide\n" + std::string(kGoodAffix),
       kGoodStems, HunspellStatus::kMalformed, "t.aff:1:",
       "none of long, num and UTF-8"},
      {"class named by no number", "FLAG num\nSFX x Y 1\nSFX x 0 s .\n",
       kGoodStems, HunspellStatus::kMalformed, "t.aff:2:",
       "the flag 'x' is no number"},
      {"continuation flags not in pairs",
       "FLAG long\nSFX Aa Y 1\nSFX Aa 0 s/Bbc .\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:3:", "not pairs"},
      {"alias that is not there", "AF 1\nAF A\n" + std::string(kGoodAffix),
       "1\ncat/2\n", HunspellStatus::kMalformed, "t.dic:2:",
       "no number from 1 to 1"},
      {"truncated alias table", "AF 2\nAF A\n", kGoodStems,
       HunspellStatus::kMalformed, "t.aff:2:", "2 aliases announced, 1 found"},
      {"stem list without its count", kGoodAffix, "cat/A\n",
       HunspellStatus::kMalformed, "t.dic:1:", "number of stems"},
      {"UTF-8 files declaring ISO-8859-1",
       "SET ISO8859-1\n" + std::string(kGoodAffix), "1\ncafé/A\n",
       HunspellStatus::kMalformed, "t.dic:2:",
       "UTF-8 text, but SET declares ISO8859-1"},
      {"bytes that are not the UTF-8 SET declares",
       "SET UTF-8\n" + std::string(kGoodAffix), "2\ncat/A\ncaf\xE9/A\n",
       HunspellStatus::kMalformed, "t.dic:3:", "not UTF-8"},
      {"unknown encoding", "SET KLINGON-8\n" + std::string(kGoodAffix),
       kGoodStems, HunspellStatus::kMalformed, "t.aff:1:",
       "'KLINGON-8' is unknown"},
  };
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.name);
    const Expansion expansion = Expand(damage.affix, damage.stems);
    EXPECT_EQ(expansion.status, damage.status);
    EXPECT_THAT(expansion.error, StartsWith(dir_.path() + "/" + damage.where));
    EXPECT_THAT(expansion.error, HasSubstr(damage.reason));
    EXPECT_EQ(expansion.handed_on, 0);
  }
  const Expansion missing =
      ExpandFiles(dir_.Write("ok.aff", kGoodAffix), dir_.path() + "/none.dic");
  EXPECT_EQ(missing.status, HunspellStatus::kUnreadable);
  EXPECT_THAT(missing.error, HasSubstr("none.dic"));
}

}  // namespace
}  // namespace vocor
