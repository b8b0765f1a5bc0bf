// Runs the built vocor-mkdic as a user would and looks at its exit codes,
// its output and the files it leaves.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_check.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_file_writer.h"

extern char** environ;

namespace vocor {
namespace {

using ::testing::HasSubstr;
using testing::ScratchDir;
using ::testing::StartsWith;

struct Outcome {
  int exit_code = -1;
  std::string out;
  std::string err;
};

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

class MkdicTest : public ::testing::Test {
 protected:
  // Runs the program with `args`; its output goes through files in a
  // folder of its own, so that work_ holds only what the program wrote.
  Outcome Mkdic(std::vector<std::string> args) {
    args.insert(args.begin(), VOCOR_MKDIC_PATH);
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    const std::string out = logs_.path() + "/out";
    const std::string err = logs_.path() + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid;
    Outcome run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) ==
        0) {
      int status = 0;
      waitpid(pid, &status, 0);
      run.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = Slurp(out);
    run.err = Slurp(err);
    return run;
  }

  std::string In(const std::string& name, const std::string& text) {
    return work_.Write(name, text);
  }
  std::string Out(const std::string& name) { return work_.path() + "/" + name; }

  // Expects a refusal or failure with `code` and one line on stderr.
  void ExpectFailure(const std::vector<std::string>& args, int code,
                     const std::string& reason_part) {
    const Outcome run = Mkdic(args);
    EXPECT_EQ(run.exit_code, code) << run.err;
    EXPECT_THAT(run.err, HasSubstr(reason_part));
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.out, "");
  }

  ScratchDir work_;
  ScratchDir logs_;
};

TEST_F(MkdicTest, CompilesTheTwoWordDictionary) {
  const std::string output = Out("two.dic");
  const Outcome run = Mkdic({In("list.txt", "a\nat\n"), "-o", output});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, output +
                         ": words read 2, stored 2, skipped 0, duplicate 0; "
                         "nodes 3; bytes 309\n");
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(Slurp(output).size(), 309u);
  struct stat st;
  ASSERT_EQ(::stat(output.c_str(), &st), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);

  const Outcome check = Mkdic({"--check", output});
  EXPECT_EQ(check.exit_code, 0) << check.err;
  EXPECT_EQ(check.out,
            "name: two\nformat version: 2.01\ndictionary version: 1.00\n"
            "language: 0 (0x0000)\nsize: 309 bytes\nnotes offset: 308\n"
            "notes: \nroot offset: 288\nwords: 2\nnodes: 3\n"
            "longest word: 2 letters\n");
}

// --check reads a score section: its offset when sound, the reason when
// not.
TEST_F(MkdicTest, CheckValidatesTheScoreSection) {
  std::string file, error;
  ASSERT_TRUE(BuildVocorFile({"a", "at"}, {70, 40}, {}, &file, nullptr, &error))
      << error;
  const Outcome good = Mkdic({"--check", In("scored.dic", file)});
  EXPECT_EQ(good.exit_code, 0) << good.err;
  EXPECT_THAT(good.out, HasSubstr("words: 2\n"));
  EXPECT_THAT(good.out, HasSubstr("\nscores offset: 309\n"));
  file[309 + 8 + 1] = 0;
  ExpectFailure({"--check", In("bad-score.dic", file)}, 1,
                "the score of word 2 is 0, outside 1..100");
  file[309] = 'X';
  ExpectFailure({"--check", In("bad-marker.dic", file)}, 1,
                "the score section offset 309 does not lead to the marker");
}

TEST_F(MkdicTest, HeaderOptionsReachTheFile) {
  const std::string output = Out("es.dic");
  const Outcome run = Mkdic(
      {"--name", "Espa\xc3\xb1ol", "--version", "1.5", "--language", "0x0C0A",
       "--notes", "Notas: \xc3\xa9", In("list.txt", "hola"), "-o", output});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(Slurp(output), &facts, &reason)) << reason;
  EXPECT_EQ(facts.header.name,
            "Espa\xf1ol");  // stored in the engine's code page
  EXPECT_EQ(facts.header.dictionary_version, 150);
  EXPECT_EQ(facts.header.language, 0x0C0Au);
  EXPECT_EQ(facts.header.notes, "Notas: \xe9");
  const Outcome check = Mkdic({"--check", output});
  EXPECT_THAT(check.out, StartsWith("name: Espa\xc3\xb1ol\n"));
}

TEST_F(MkdicTest, DuplicatesAcrossInputsWithAndWithoutFolding) {
  const std::string first = In("1.txt", "Caf\xc3\xa9 cafe CAFE na\xc3\xafve");
  const std::string second = In("2.txt", "plain na\xefve Plain\n");
  Outcome run = Mkdic({first, second, "-o", Out("plain.dic")});
  EXPECT_THAT(run.out, HasSubstr(": words read 7, stored 4, skipped 0, "
                                 "duplicate 3; "));
  run = Mkdic({"--fold-accents", first, second, "-o", Out("folded.dic")});
  EXPECT_THAT(run.out, HasSubstr(": words read 7, stored 3, skipped 0, "
                                 "duplicate 4; "));
}

TEST_F(MkdicTest, FiltersAreCountedInTheReport) {
  const std::string list = In("en.txt", "cat cat's NASA Paris it's\n");
  Outcome run = Mkdic({list, "-o", Out("all.dic")});
  EXPECT_THAT(run.out, HasSubstr(": words read 5, stored 5, skipped 0, "
                                 "duplicate 0; nodes "));
  run = Mkdic({"--skip-possessives", list, "-o", Out("p.dic")});
  EXPECT_THAT(run.out, HasSubstr(": words read 5, stored 3, skipped 0, "
                                 "duplicate 0, possessive 2; nodes "));
  run = Mkdic({"--skip-possessives", "--skip-abbreviations", list, "-o",
               Out("pa.dic")});
  EXPECT_THAT(run.out, HasSubstr(": words read 5, stored 2, skipped 0, "
                                 "duplicate 0, possessive 2, abbreviation 1; "
                                 "nodes "));
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(Slurp(Out("pa.dic")), &facts, &reason)) << reason;
  EXPECT_EQ(facts.header.word_count, 2);
  // Leaving every word out is a refusal, as an empty list is.
  ExpectFailure({"--skip-abbreviations", In("caps.txt", "NASA CRT"), "-o",
                 Out("none.dic")},
                1, "no word");
}

TEST_F(MkdicTest, AStrayWindows1252LineCostsOnlyItsOwnLine) {
  // A UTF-8 list with one Windows-1252 line appended used to be read whole
  // as Windows-1252: "caf\xc3\xa9" stored as "caf\xc3\xa3", reported as
  // success.
  const std::string output = Out("fr.txt");
  const Outcome run = Mkdic({"--text",
                             In("fr1.txt",
                                "caf\xc3\xa9\nna\xc3\xafve\n\xc3\xa9t\xc3\xa9\n"
                                "r\xe9sum\xe9\n"),
                             "-o", output});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out,
            output +
                ": words read 4, stored 4, skipped 0, duplicate 0; "
                "lines read as Windows-1252 (not UTF-8) 1; bytes 28\n");
  EXPECT_EQ(
      Slurp(output),
      "caf\xc3\xa9\nna\xc3\xafve\n\xc3\xa9t\xc3\xa9\nr\xc3\xa9sum\xc3\xa9\n");
}

TEST_F(MkdicTest, EverySkippedEntryIsCountedWithItsReason) {
  // A line of five million letters used to vanish with "skipped 0".
  const std::string list = In("mixed.txt",
                              "ok ch.-l. c.-\xc3\xa0-d. \xc5\x82\xc3\xb3"
                              "d\xc5\xba\n" +
                                  std::string(5000000, 'x') + "\n");
  const Outcome run = Mkdic({list, "-o", Out("mixed.dic")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_THAT(run.out,
              HasSubstr(": words read 7, stored 3, skipped 4 (1 longer than "
                        "999 letters, 1 with letters outside the Western "
                        "European alphabets, 2 beginning or ending with a "
                        "hyphen or apostrophe), duplicate 0; nodes "));
  // The fragments of the cut abbreviations are not stored.
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(Slurp(Out("mixed.dic")), &facts, &reason));
  EXPECT_EQ(facts.header.word_count, 3);
  // With no word left, the refusal says which letters make words.
  ExpectFailure({In("pl.txt",
                    "\xc5\x82\xc3\xb3"
                    "d\xc5\xba -l\n"),
                 "-o", Out("pl.dic")},
                1,
                "no word to store: 2 read, 2 skipped (1 with letters outside "
                "the Western European alphabets, 1 beginning or ending with a "
                "hyphen or apostrophe). Words are runs of letters, hyphens and "
                "apostrophes; the letters kept are a to z and the accented "
                "letters of Western European languages");
}

TEST_F(MkdicTest, TextListsKeepAccentsAndAreWrittenInUtf8) {
  // Windows-1252 in, with a capital to lower and a word seen twice.
  const std::string output = Out("da.txt");
  const Outcome run =
      Mkdic({"--text", "--skip-abbreviations",
             In("da.txt.in", "s\xe6l \xd8l \xf8l EU\r\n\xe5r"), "-o", output});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.out, output +
                         ": words read 5, stored 3, skipped 0, duplicate 1, "
                         "abbreviation 1; lines read as Windows-1252 (not "
                         "UTF-8) 2; bytes 13\n");
  EXPECT_EQ(Slurp(output), "s\xc3\xa6l\n\xc3\xb8l\n\xc3\xa5r\n");
  // A text list has no header to hold a name or a language.
  ExpectFailure(
      {"--text", "--language", "1030", In("w.txt", "ord"), "-o", Out("x.txt")},
      2, "--language");
  ExpectFailure({"--text", "--check", output}, 2, "");
}

// Lists in three sizes, each inside the next, and a plain list beside
// them: a word scores the best list holding it, a line's own score wins
// where higher, and bad score lines are named with their line numbers and
// skipped, the rest of the list still compiled.
TEST_F(MkdicTest, ScoredListsNestAndBadScoreLinesAreNamed) {
  const std::string small = In("small.txt", "cat\ndog\n");
  const std::string medium = In("medium.txt", "cat\ndog\nemu;90\ngnu\n");
  const std::string large =
      In("large.txt",
         "cat\r\ndog\r\nemu\r\ngnu\r\nyak;abc\r\nzebu ; 0\r\nowl\r\n");
  const std::string plain = In("plain.txt", "ant\nowl\n");
  const std::string output = Out("sized.txt");
  const Outcome run =
      Mkdic({"--text", plain, "--score", large + "=20", "--score",
             medium + "=40", "--score", small + "=60", "-o", output});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  // "owl" is in a scored list: the plain list's default does not count.
  EXPECT_EQ(Slurp(output), "ant;50\nowl;20\ncat;60\ndog;60\nemu;90\ngnu;40\n");
  EXPECT_EQ(run.out, output +
                         ": words read 13, stored 6, skipped 0, duplicate 7, "
                         "lines with a bad score 2; bytes 42\n");
  EXPECT_EQ(run.err, "vocor-mkdic: " + large +
                         ":5: the score 'abc' is not a whole number from 1 "
                         "to 100; the line was skipped\n"
                         "vocor-mkdic: " + large +
                         ":6: the score ' 0' is not a whole number from 1 to "
                         "100; the line was skipped\n");
  // The same into a binary dictionary, from the scored lists alone.
  const Outcome binary = Mkdic({"--score", small + "=60", "--score",
                                large + "=20", "-o", Out("sized.dic")});
  ASSERT_EQ(binary.exit_code, 0) << binary.err;
  EXPECT_THAT(binary.out, HasSubstr("stored 5,"));
  EXPECT_THAT(binary.err, HasSubstr(large + ":6:"));
  CDictionaryVocorFile sized;
  sized.SetFileName(Out("sized.dic").c_str());
  ASSERT_TRUE(sized.Open());
  EnumPtr words = sized.CreateEnumerator();
  std::vector<std::pair<std::string, int>> scored;
  while (const char* word = words->Next(nullptr)) {
    scored.emplace_back(word, words->Score());
  }
  EXPECT_EQ(scored, (std::vector<std::pair<std::string, int>>{
                        {"cat", 60}, {"dog", 60}, {"emu", 20}, {"gnu", 20},
                        {"owl", 20}}));
  // Plain lists alone store no scores: the file is the one they always made.
  const Outcome unscored = Mkdic({small, "-o", Out("plain.dic")});
  ASSERT_EQ(unscored.exit_code, 0) << unscored.err;
  EXPECT_EQ(unscored.err, "");
  EXPECT_THAT(Mkdic({"--check", Out("plain.dic")}).out,
              ::testing::Not(HasSubstr("scores")));
  EXPECT_THAT(Mkdic({"--check", Out("sized.dic")}).out,
              HasSubstr("scores offset"));
  ASSERT_EQ(Mkdic({"--text", small, "-o", Out("plain.out")}).exit_code, 0);
  EXPECT_EQ(Slurp(Out("plain.out")), "cat\ndog\n");
}

// Past the first twenty, bad score lines are counted, not each named.
TEST_F(MkdicTest, ManyBadScoreLinesAreSummed) {
  std::string text;
  for (int i = 0; i < 25; ++i) text += "w" + std::string(1, 'a' + i) + ";x\n";
  text += "ok;7\n";
  const Outcome run =
      Mkdic({"--text", In("bad.txt", text), "-o", Out("bad.out")});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(Slurp(Out("bad.out")), "ok;7\n");
  EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 21) << run.err;
  EXPECT_THAT(run.err, HasSubstr("bad.txt:20: the score 'x'"));
  EXPECT_THAT(run.err, HasSubstr("vocor-mkdic: 5 more lines with a bad score "
                                 "were skipped\n"));
  EXPECT_THAT(run.out, HasSubstr("lines with a bad score 25"));
  // Nothing but bad lines: no word, refused, the lines still named.
  const Outcome none =
      Mkdic({In("none.txt", "a;b\nc;0\n"), "-o", Out("none.dic")});
  EXPECT_EQ(none.exit_code, 1);
  EXPECT_THAT(none.err, HasSubstr("none.txt:2:"));
  EXPECT_THAT(none.err, HasSubstr("no word"));
}

TEST_F(MkdicTest, BadScoreArgumentsAndUnreadableScoredListsExitWithTwo) {
  const std::string list = In("list.txt", "word");
  const std::string x = Out("x.dic");
  for (const char* bad : {"=0", "=101", "=-1", "=5x", "", "=", "=1.5"}) {
    ExpectFailure({"--score", list + bad, "-o", x}, 2,
                  "--score: expected FILE=N with N a whole number from 1 to "
                  "100, got '" + list + bad + "'");
  }
  ExpectFailure({"--score", "=50", "-o", x}, 2, "--score");
  ExpectFailure({"--score", Out("missing.txt") + "=50", list, "-o", x}, 2,
                "missing.txt");
  ExpectFailure({"--score", work_.path() + "=50", "-o", x}, 2, work_.path());
  ExpectFailure({"--check", x, "--score", list + "=50"}, 2, "");
  EXPECT_EQ(Entries(work_.path()), (std::vector<std::string>{"list.txt"}));
}

// The shipped English dictionaries are compiled from the complete lists, so
// that a word only the -insane list holds is there; abbreviations stay out,
// also where the complete list writes them small.
TEST(ShippedEnglishTest, HoldsTheCompleteListsScoredBySize) {
  const std::filesystem::path data =
      std::filesystem::path(VOCOR_MKDIC_PATH).parent_path() / "Data";
  for (const char* file : {"english-us.dic", "english-gb.dic"}) {
    CDictionaryVocorFile dict;
    dict.SetFileName((data / file).c_str());
    if (!dict.Open()) {
      ADD_FAILURE() << data / file << " was not built";
      continue;
    }
    EXPECT_GT(dict.GetWordCount(), 450000) << file;
    EXPECT_THAT(dict.GetNotes(), HasSubstr("scored by the smallest list"));
    const EnumPtr words = dict.CreateEnumerator();
    for (const char* word : {"bespurred", "herohead", "cat", "paris", "us"}) {
      EXPECT_TRUE(words->Contains(word)) << file << ": " << word;
    }
    for (const char* word : {"nasa", "crt", "ascii", "cat's"}) {
      EXPECT_FALSE(words->Contains(word)) << file << ": " << word;
    }
    // Each word scores by the smallest list holding it.
    EXPECT_TRUE(dict.HasScores()) << file;
    const std::pair<const char*, int> sized[] = {
        {"cat", 60}, {"viscount", 50}, {"replant", 40}, {"bleared", 30},
        {"bespurred", 20}};
    for (const auto& [word, score] : sized) {
      EnumPtr one = dict.CreateEnumerator();
      one = one->Pattern(std::move(one), word);
      ASSERT_NE(one->Next(nullptr), nullptr) << file << ": " << word;
      EXPECT_EQ(one->Score(), score) << file << ": " << word;
    }
  }
}

// A spell checker's pair in ISO-8859-1 beside a word list: the forms reach
// the dictionary, which a search then reads; the report goes to --report
// or stderr; a damaged pair exits with 3.
TEST_F(MkdicTest, HunspellPairsBuildADictionaryThatASearchReads) {
  const std::string affix = In(
      "t.aff",
      "SET ISO8859-1\nPFX U Y 1\nPFX U 0 un .\nSFX A Y 1\nSFX A 0 s .\n"
      "SFX F Y 1\nSFX F 0 able/G .\nSFX G Y 1\nSFX G 0 ness .\n");
  const std::string stems = In("t.dic", "3\ndo/UA\ncaf\xe9/A\nread/UF\n");
  const std::string output = Out("t-out.dic");
  const std::string report = Out("report.txt");
  const Outcome run = Mkdic({"--hunspell", affix, stems, In("list.txt", "bird\n"),
                             "-o", output, "--name", "Test", "--report",
                             report});
  ASSERT_EQ(run.exit_code, 0) << run.err;
  EXPECT_EQ(run.err, "");
  EXPECT_THAT(run.out, StartsWith(output + ": words read 13, stored 13,"));
  EXPECT_THAT(Slurp(report),
              StartsWith("stems read 3 (the stem list announces 3), forms "
                         "made 12\n"));
  CDictionaryVocorFile dict;
  dict.SetFileName(output.c_str());
  ASSERT_TRUE(dict.Open());
  EnumPtr found = dict.CreateEnumerator();
  found = found->Pattern(std::move(found), "un*");
  std::vector<std::string> words;
  while (const char* word = found->Next(nullptr)) words.push_back(word);
  EXPECT_THAT(words, ::testing::UnorderedElementsAre(
                         "undo", "undos", "unread", "unreadable",
                         "unreadableness"));
  EXPECT_TRUE(dict.CreateEnumerator()->Contains("caf\xe9s"));

  const Outcome subset = Mkdic({"--hunspell", affix, stems, "-o", output,
                                "--hunspell-no-two-level"});
  ASSERT_EQ(subset.exit_code, 0) << subset.err;
  EXPECT_THAT(subset.err,
              HasSubstr("vocor-mkdic: left out by choice, with a second "
                        "suffix: 1 forms\n"));
  EXPECT_THAT(subset.out, StartsWith(output + ": words read 10,"));

  const Outcome no_cross = Mkdic({"--hunspell", affix, stems, "-o", output,
                                  "--hunspell-no-cross-product"});
  ASSERT_EQ(no_cross.exit_code, 0) << no_cross.err;
  EXPECT_THAT(no_cross.err,
              HasSubstr("vocor-mkdic: left out by choice, with both a prefix "
                        "and a suffix: 3 forms\n"));
  EXPECT_THAT(no_cross.out, StartsWith(output + ": words read 9,"));

  ExpectFailure({"--hunspell", affix, In("bad.dic", "do/UA\n"), "-o", output},
                3, "bad.dic:1: the first line should give the number of stems");
  ExpectFailure({"--hunspell", affix, Out("none.dic"), "-o", output}, 2,
                "none.dic");
  ExpectFailure({"--hunspell", affix, "-o", output}, 2, "--hunspell");
}

TEST_F(MkdicTest, UsageAndInputOutputErrorsExitWithTwo) {
  const std::string list = In("list.txt", "word");
  const std::string x = Out("x.dic");
  ExpectFailure({}, 2, "");
  ExpectFailure({list}, 2, "-o");
  ExpectFailure({"-o", x}, 2, "");
  ExpectFailure({"--bogus", list, "-o", x}, 2, "bogus");
  ExpectFailure({"--version", "1.234", list, "-o", x}, 2, "--version");
  ExpectFailure({"--language", "en", list, "-o", x}, 2, "--language");
  ExpectFailure({Out("missing.txt"), "-o", x}, 2, "missing.txt");
  ExpectFailure({work_.path(), "-o", x}, 2, work_.path());
  ExpectFailure({list, "-o", Out("no/folder/x.dic")}, 2, "no/folder");
  ExpectFailure({"--check", Out("missing.dic")}, 2, "missing.dic");
  ExpectFailure({"--check", list, list}, 2, "--check");
  ExpectFailure({"--check", list, "-o", x}, 2, "");
  EXPECT_EQ(Entries(work_.path()), (std::vector<std::string>{"list.txt"}));

  const Outcome help = Mkdic({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_THAT(help.out, HasSubstr("--fold-accents"));
}

TEST_F(MkdicTest, RefusalsExitWithOne) {
  ExpectFailure({In("none.txt", "123 !!\n"), "-o", Out("x.dic")}, 1, "no word");
  ExpectFailure({In("foreign.txt", "\xc5\x82\xc3\xb3" "d\xc5\xba"), "-o", Out("x.dic")}, 1,
                "no word");
  ExpectFailure(
      {"--name", std::string(128, 'n'), In("ok.txt", "ok"), "-o", Out("x.dic")},
      1, "name");
  ExpectFailure({"--check", In("bad.dic", "VOCOR Dictionary File")}, 1,
                "invalid");
  EXPECT_EQ(Entries(work_.path()),
            (std::vector<std::string>{"bad.dic", "foreign.txt", "none.txt",
                                      "ok.txt"}));
}

TEST_F(MkdicTest, FailedRunsLeaveTheOldOutputAlone) {
  const std::string output = Out("keep.dic");
  ASSERT_EQ(Mkdic({In("a.txt", "old words"), "-o", output}).exit_code, 0);
  const std::string old = Slurp(output);
  ExpectFailure({In("none.txt", "42"), "-o", output}, 1, "no word");
  ExpectFailure({Out("missing.txt"), "-o", output}, 2, "missing");
  EXPECT_EQ(Slurp(output), old);
  // A folder in the way fails the final rename, after the new file was
  // written beside it.
  std::filesystem::create_directory(Out("taken"));
  ExpectFailure({Out("a.txt"), "-o", Out("taken")}, 2, "taken");
  EXPECT_EQ(
      Entries(work_.path()),
      (std::vector<std::string>{"a.txt", "keep.dic", "none.txt", "taken"}));
  EXPECT_TRUE(std::filesystem::is_empty(Out("taken")));
}

TEST_F(MkdicTest, OnlyRegularFilesAreReplacedAndLinksAreFollowed) {
  const std::string list = In("list.txt", "cat dog");
  // Devices, pipes and folders stay what they are. The devices are made
  // here, never the system's own: a program with this fault, run as root,
  // would replace /dev/null for the whole machine.
  ASSERT_EQ(::mkfifo(Out("pipe").c_str(), 0600), 0);
  ExpectFailure({list, "-o", Out("pipe")}, 2, "a pipe");
  EXPECT_TRUE(std::filesystem::is_fifo(Out("pipe")));
  std::filesystem::create_symlink("pipe", Out("to-pipe"));
  ExpectFailure({list, "-o", Out("to-pipe")}, 2, "pipe");
  EXPECT_TRUE(std::filesystem::is_fifo(Out("pipe")));
  if (::mknod(Out("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    ExpectFailure({list, "-o", Out("null")}, 2, "a character device");
    EXPECT_TRUE(std::filesystem::is_character_file(Out("null")));
  }
  std::filesystem::remove(Out("pipe"));
  std::filesystem::remove(Out("null"));
  std::filesystem::remove(Out("to-pipe"));
  // A link to a file (existing or not yet) has its target replaced; the
  // link stays.
  std::filesystem::create_directory(Out("real"));
  std::filesystem::create_symlink("real/words.dic", Out("link.dic"));
  ASSERT_EQ(Mkdic({list, "-o", Out("link.dic")}).exit_code, 0);
  EXPECT_TRUE(std::filesystem::is_symlink(Out("link.dic")));
  VocorFileFacts facts;
  std::string reason;
  EXPECT_TRUE(CheckVocorFile(Slurp(Out("real/words.dic")), &facts, &reason));
  ASSERT_EQ(
      Mkdic({In("more.txt", "cat dog emu"), "-o", Out("link.dic")}).exit_code,
      0);
  EXPECT_TRUE(std::filesystem::is_symlink(Out("link.dic")));
  ASSERT_TRUE(CheckVocorFile(Slurp(Out("real/words.dic")), &facts, &reason));
  EXPECT_EQ(facts.header.word_count, 3);
}

TEST_F(MkdicTest, InputsOfTheWrongKindAreRefusedBeforeTheyAreRead) {
  // /dev/zero used to be read for 2 GB before its refusal.
  ExpectFailure({"--check", "/dev/zero"}, 2, "not a regular file");
  ExpectFailure({"/dev/zero", "-o", Out("x.dic")}, 2, "not a regular file");
  // Sparse files: their size alone refuses them.
  const std::string big_list = In("big.txt", "");
  ASSERT_EQ(::truncate(big_list.c_str(), off_t{1} << 30), 0);
  ExpectFailure({big_list, "-o", Out("x.dic")}, 2, "larger than");
  const std::string zeros = In("zeros.txt", "");
  ASSERT_EQ(::truncate(zeros.c_str(), off_t{100} << 20), 0);
  ExpectFailure({zeros, "-o", Out("x.dic")}, 2, "binary data");
  // A dictionary's header says its size; a file that disagrees is not
  // read further.
  const std::string dic = Out("ok.dic");
  ASSERT_EQ(Mkdic({In("w.txt", "cat"), "-o", dic}).exit_code, 0);
  std::filesystem::resize_file(dic, off_t{1} << 30);
  ExpectFailure({"--check", dic}, 1, "the size field says");
}

TEST_F(MkdicTest, FailedOutputWritesAreErrors) {
  const std::string dic = Out("ok.dic");
  ASSERT_EQ(Mkdic({In("w.txt", "cat"), "-o", dic}).exit_code, 0);
  // The header listing to a full disk used to be reported as success.
  const std::string command = std::string("'") + VOCOR_MKDIC_PATH +
                              "' --check '" + dic + "' >/dev/full 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 2);
}

}  // namespace
}  // namespace vocor
