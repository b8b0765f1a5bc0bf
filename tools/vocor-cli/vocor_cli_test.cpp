// End-to-end tests of the built vocor-cli, run as a user would run it, on
// small word lists made by the tests, with a private settings store.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "dictionary/dictionary_state.h"
#include "dictionary/testing/damaged_dic.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_writer.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

struct Outcome {
  int code = -1;
  std::string out, err;
};

std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg)
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Command(const std::vector<std::string>& args) {
  std::string command = Quote(VOCOR_CLI_PATH);
  for (const auto& a : args) command += " " + Quote(a);
  return command;
}

int ExitCode(int status) {
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class VocorCliTest : public ::testing::Test {
 protected:
  ~VocorCliTest() override { CloseSettingsStore(); }

  Outcome Run(const std::vector<std::string>& args) {
    const std::string out = files_.path() + "/out",
                      err = files_.path() + "/err";
    const std::string command =
        Command(args) + " >" + Quote(out) + " 2>" + Quote(err) + " </dev/null";
    Outcome o;
    o.code = ExitCode(std::system(command.c_str()));
    o.out = Slurp(out);
    o.err = Slurp(err);
    return o;
  }

  // The data rows of "dictionaries": the containers' members.
  int InstalledCount() {
    const std::string out = Run({"dictionaries"}).out;
    int rows = 0;
    for (char c : out) rows += c == '\n';
    return rows - 2;  // the heading and "All Dictionaries"
  }

  std::string List(const std::string& name, const std::string& words) {
    return files_.Write(name, words);
  }

  ScratchHome home_;
  testing::ScratchDir files_;
};

const char kWords[] =
    "cat\ncot\ncut\ncart\nlisten\nsilent\nenlist\ntinsel\nlevel\nstop\n"
    "pots\ngnat\nant\ntan\ntin\nels\ncaf\xc3\xa9\nnoon\n";

TEST_F(VocorCliTest, EachKindOfSearch) {
  const std::string dict = List("words.txt", kWords);
  Outcome o = Run({"crossword", "--dict", dict, "c?t"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out, "cat\ncot\ncut\n");
  EXPECT_EQ(Run({"--dict", dict, "crossword", "c?t", "*o*"}).out, "cot\n");
  EXPECT_EQ(Run({"crossword", "--dict", dict, "CAF*"}).out, "caf\xc3\xa9\n");
  EXPECT_EQ(Run({"anagram", "--dict", dict, "Listen"}).out,
            "enlist\nlisten\nsilent\ntinsel\n");
  o = Run({"anagram", "--dict", dict, "listen", "3,3"});
  EXPECT_NE(o.out.find("tin els\n"), std::string::npos);
  EXPECT_EQ(Run({"hidden", "--dict", dict, "gnat", "--min-length", "3"}).out,
            "ant\ngnat\ntan\n");
  EXPECT_EQ(Run({"hidden", "--dict", dict, "gnat", "--must-use", "g"}).out,
            "gnat\n");
  EXPECT_EQ(Run({"palindrome", "--dict", dict}).out, "level\nnoon\n");
  EXPECT_EQ(Run({"palindrome", "--dict", dict, "--result", "another", "4"}).out,
            "noon\npots\nstop\n");
  EXPECT_EQ(Run({"palindrome", "--dict", dict, "--transform", "rotate"}).out,
            "noon\n");
}

// The cryptic helpers as a user runs them: results sorted, the limit, the
// refusals and usage errors with the exit codes of the other searches.
TEST_F(VocorCliTest, CrypticHelpers) {
  const std::string dict =
      List("cryptic.txt", std::string(kWords) +
                              "ache\nrain\nbow\nbain\nrow\nblushing\n"
                              "crushing\ncrow\nblow\nevil\nlive\nvile\n");
  Outcome o = Run({"cryptic", "hidden", "--dict", dict, "The cat, ached!"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out, "ache\n");  // "cat" is the phrase's own
  o = Run({"cryptic", "hidden", "--dict", dict, "--reversed", "--min-length",
           "4", "Stop, silent: wor! bniar"});
  // Only backwards here: "rainbrowtnelispots" holds "rain" and "pots".
  EXPECT_EQ(o.out, "pots (reversed)\nrain (reversed)\n");
  EXPECT_EQ(Run({"cryptic", "letters", "--dict", dict, "vast ill love ease"})
                .out,
            "even letters atllves: not a word; no anagrams\n"
            "first letters vile: a word; anagrams evil, live\n"
            "last letters tlee: not a word; no anagrams\n"
            "odd letters vsiloeae: not a word; no anagrams\n");
  EXPECT_EQ(Run({"cryptic", "spoonerism", "--dict", dict, "Blushing crow"}).out,
            "blushing crow -> crushing blow\n");
  EXPECT_EQ(Run({"cryptic", "spoonerism", "--dict", dict, "rainbow"}).out,
            "rain bow -> bain row\n");
  EXPECT_EQ(Run({"cryptic", "spoonerism", "--dict", dict, "--limit", "1",
                 "rainbow"})
                .code,
            0);

  o = Run({"cryptic", "hidden", "--dict", dict, "!?"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("no letter"), std::string::npos);
  o = Run({"cryptic", "hidden", "--dict", dict, "abc", "--min-length", "0"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("minimum length"), std::string::npos);
  EXPECT_EQ(Run({"cryptic"}).code, 2);
  EXPECT_EQ(Run({"cryptic", "anagram", "abc"}).code, 2);
  EXPECT_EQ(Run({"cryptic", "letters"}).code, 2);
}

// Phrases of any lengths, on the text list and on the same words compiled
// to a binary dictionary: the same combinations, each listed once with its
// words in the order of the dictionary it came from.
TEST_F(VocorCliTest, PhraseAnagramsOfAnyLengths) {
  const std::string text = List("words.txt", kWords);
  std::string bytes, error;
  VocorFileInfo info;
  info.name = "Words";
  ASSERT_TRUE(BuildVocorFile({"cat", "cot", "cut", "cart", "listen", "silent",
                              "enlist", "tinsel", "ant", "tan", "tin", "els"},
                             info, &bytes, nullptr, &error));
  const std::string dic = files_.Write("words.dic", bytes);
  for (const std::string& dict : {text, dic}) {
    const bool sorted = dict == dic;
    EXPECT_EQ(Run({"anagram", "--dict", dict, "antels", "*,*"}).out,
              sorted ? "ant els\nels tan\n" : "ant els\ntan els\n");
    Outcome o =
        Run({"anagram", "--dict", dict, "catsilent", "--max-words", "3"});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, sorted ? "cat els tin\ncat enlist\ncat listen\n"
                              "cat silent\ncat tinsel\n"
                            : "cat enlist\ncat listen\ncat silent\n"
                              "cat tin els\ncat tinsel\n");
    o = Run({"anagram", "--dict", dict, "catsilent", "--max-words", "3",
             "--min-word-length", "4"});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, "");
  }
  Outcome o = Run({"anagram", "--dict", text, "antels", "--max-words", "x"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("number of words you have entered is invalid"),
            std::string::npos);
  o = Run({"anagram", "--dict", text, "ant", "--min-word-length", "4"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("minimum length"), std::string::npos);
}

// Scores from a scored list: best first (a phrase as good as its weakest
// word), a limit keeping the best, a minimum leaving out weak words and the
// phrases holding one, scores shown after a tab, and bad values refused.
TEST_F(VocorCliTest, ScoresOrderLimitAndFilterTheResults) {
  const std::string dict =
      List("scored.txt",
           "dior;20\ndirty;60\ndormitory;30\nmoid;25\nmorty;10\nroom;55\n"
           "rorty;15\n");
  const std::vector<std::string> search = {"--dict", dict, "anagram",
                                           "dormitory", "--max-words", "2"};
  auto with = [&search](std::vector<std::string> options) {
    options.insert(options.end(), search.begin(), search.end());
    return options;
  };
  Outcome o = Run(with({"--sort", "score", "--show-scores"}));
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out,
            "dirty room\t55\ndormitory\t30\nmoid rorty\t15\ndior morty\t10\n");
  EXPECT_EQ(Run(with({"--sort", "score", "--limit", "2"})).out,
            "dirty room\ndormitory\n");
  EXPECT_EQ(Run(with({})).out,
            "dior morty\ndirty room\ndormitory\nmoid rorty\n");
  EXPECT_EQ(Run(with({"--min-score", "20"})).out, "dirty room\ndormitory\n");
  EXPECT_EQ(Run(with({"--min-score", "20", "--show-scores"})).out,
            "dirty room\t55\ndormitory\t30\n");
  EXPECT_EQ(Run(with({"--min-score", "101"})).code, 2);
  EXPECT_EQ(Run(with({"--min-score", "0"})).code, 2);
  EXPECT_EQ(Run(with({"--sort", "best"})).code, 2);

  EXPECT_EQ(Run({"dictionaries", "install", dict}).code, 0);
  o = Run({"dictionaries", "list"});
  EXPECT_THAT(o.out, ::testing::HasSubstr("SCORES"));
  EXPECT_THAT(o.out, ::testing::ContainsRegex("yes +scored.txt"));
}

TEST_F(VocorCliTest, RefusalsAndUsageErrors) {
  const std::string dict = List("words.txt", kWords);
  Outcome o = Run({"crossword", "--dict", dict, "c?t", "??"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err,
            "Search criteria unsatisfiable:\nThe two patterns are mutually "
            "exclusive.\n");
  o = Run({"crossword", "--dict", dict, ",3"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "No word can match this pattern.\n");
  o = Run({"anagram", "--dict", dict, "abc", "4"});
  EXPECT_EQ(o.code, 1);
  EXPECT_NE(o.err.find("requires more letters"), std::string::npos);
  o = Run({"hidden", "--dict", dict, "abc", "--min-length", "0"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err,
            "The minimum length you have entered is invalid: --min-length "
            "takes a whole number from 1 to 999, not '0'.\n");
  // A phrase of more words than a pattern may have: no longer an empty
  // search that succeeds.
  std::string words = "*";
  for (int i = 1; i <= 500; ++i) words += ",*";
  o = Run({"anagram", "--dict", dict, "abc", words});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.err, "No word can match this pattern.\n");
  // A search that runs and finds nothing still succeeds.
  o = Run({"anagram", "--dict", dict, "xyz"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out, "");

  EXPECT_EQ(Run({"crossword"}).code, 2);
  EXPECT_EQ(Run({"frobnicate"}).code, 2);
  EXPECT_EQ(Run({"palindrome", "--transform", "sideways"}).code, 2);
  EXPECT_EQ(Run({"--help"}).code, 0);
  o = Run({"crossword", "--dict", files_.path() + "/missing.txt", "c?t"});
  EXPECT_EQ(o.code, 2);
  EXPECT_EQ(o.err,
            "Dictionary load failed.\n" + files_.path() + "/missing.txt\n");
}

// A malformed pattern ends the program with its problem and place, and
// nothing found; characters that used to match themselves still may,
// escaped.
TEST_F(VocorCliTest, MalformedPatternsAreRefused) {
  const std::string dict = List("words.txt", kWords);
  struct Case {
    std::vector<std::string> args;
    std::string start;  // of the message
    std::string position;
  };
  const Case cases[] = {
      {{"crossword", "ca[t"}, "The pattern is not understood:\n", "3"},
      {{"crossword", "c?t", "{ca\xc3\xa9"}, "The second pattern", "1"},
      {{"anagram", "listen", "??[st"}, "The pattern", "3"},
      {{"palindrome", "*{"}, "The pattern", "2"},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = c.args;
    args.insert(args.begin() + 1, {"--dict", dict});
    const Outcome o = Run(args);
    EXPECT_EQ(o.code, 1) << args.back();
    EXPECT_EQ(o.out, "");
    EXPECT_EQ(o.err.rfind(c.start, 0), 0u) << o.err;
    EXPECT_NE(o.err.find("position " + c.position), std::string::npos) << o.err;
    EXPECT_NE(o.err.find("put a \\ before it"), std::string::npos) << o.err;
  }
  // Escaped, they are characters no word of a list holds.
  const Outcome escaped = Run({"crossword", "--dict", dict, "c\\[a\\]t*"});
  EXPECT_EQ(escaped.code, 0);
  EXPECT_EQ(escaped.out, "");
}

// Letters every word contains and letters none contains, on a text list
// and on the same words compiled to a binary dictionary, whose reader
// takes the constraint in; --describe shows it.
TEST_F(VocorCliTest, WithAndWithoutLetters) {
  const std::vector<std::string> words = {"cat",    "cot",  "cut",  "cart",
                                          "listen", "stop", "pots", "level",
                                          "tin",    "els",  "noon"};
  std::string text_words, bytes, error;
  for (const std::string& word : words) text_words += word + "\n";
  VocorFileInfo info;
  info.name = "Words";
  ASSERT_TRUE(BuildVocorFile(words, info, &bytes, nullptr, &error));
  const std::string dic = files_.Write("words.dic", bytes);
  const std::string text = List("words.txt", text_words);
  for (const std::string& dict : {text, dic}) {
    EXPECT_EQ(Run({"crossword", "--dict", dict, "--with", "ts", "--without",
                   "E", "*"})
                  .out,
              "pots\nstop\n");
    EXPECT_EQ(Run({"crossword", "--dict", dict, "--without", "ae", "???"}).out,
              "cot\ncut\ntin\n");
    // With the new elements.
    EXPECT_EQ(Run({"crossword", "--dict", dict, "--without", "ae", "#@#"}).out,
              "cot\ncut\ntin\n");
    EXPECT_EQ(Run({"crossword", "--dict", dict, "--with", "s", "{?to}*"}).out,
              "pots\nstop\n");
    EXPECT_EQ(Run({"crossword", "--dict", dict, "--with", "ee", "*"}).out,
              "level\n");
    const Outcome o = Run(
        {"crossword", "--dict", dict, "--with", "x", "--without", "X", "*"});
    EXPECT_EQ(o.code, 1);
    EXPECT_EQ(o.err,
              "Search criteria unsatisfiable:\nA letter that the words must "
              "contain is also one they must not contain.\n");
    const std::string described =
        Run({"--describe", "crossword", "--dict", dict, "--with", "ts",
             "--without", "e", "c[ao]t"})
            .out;
    EXPECT_NE(described.find("c[ao]t"), std::string::npos) << described;
    EXPECT_NE(described.find("\"st\",\"* but ?Ee\")"), std::string::npos)
        << described;
  }
}

// Numbers used to be read like atoi: 1e3 was 1, 2abc 2 and 3.5 3.
TEST_F(VocorCliTest, NumbersAreWholeDecimalNumbersInRange) {
  const std::string dict = List("words.txt", kWords);
  struct Option {
    std::vector<std::string> search;  // the option last
    std::string too_large;
    int code;
    std::string message;  // before the typed text
  };
  const Option options[] = {
      {{"anagram", "antels", "--max-words"},
       "501",
       1,
       "The number of words you have entered is invalid: --max-words takes a "
       "whole number from 1 to 500, not '"},
      {{"anagram", "antels", "--min-word-length"},
       "1000",
       1,
       "The minimum length you have entered is invalid: --min-word-length "
       "takes a whole number from 1 to 999, not '"},
      {{"hidden", "gnat", "--min-length"},
       "1000",
       1,
       "The minimum length you have entered is invalid: --min-length takes a "
       "whole number from 1 to 999, not '"},
      {{"crossword", "*", "--limit"},
       "2147483648",
       2,
       "--limit: takes a whole number from 1 to 2147483647, not '"},
  };
  for (const Option& option : options) {
    for (const std::string& typed :
         {std::string("1e3"), std::string("2abc"), std::string("3.5"),
          std::string("+2"), std::string("-1"), std::string("0"),
          std::string(""), std::string("99999999999999999999"),
          option.too_large}) {
      std::vector<std::string> args = {"--dict", dict};
      args.insert(args.end(), option.search.begin(), option.search.end());
      args.push_back(typed);
      const Outcome o = Run(args);
      EXPECT_EQ(o.code, option.code) << option.search.back() << " " << typed;
      EXPECT_EQ(o.err.substr(0, o.err.find('\n')),
                option.message + typed + (option.code == 1 ? "'." : "'"))
          << typed;
    }
  }
  EXPECT_EQ(Run({"anagram", "--dict", dict, "antels", "--max-words", "500",
                 "--min-word-length", "003"})
                .out,
            "ant els\ntan els\n");
  EXPECT_EQ(
      Run({"crossword", "--dict", dict, "--limit", "2147483647", "c?t"}).out,
      "cat\ncot\ncut\n");
}

TEST_F(VocorCliTest, DescribeLimitAndSeveralDictionaries) {
  const std::string a = List("a.txt", "Zebra\ncat\nant\n");
  const std::string b = List("b.txt", "CAT\nbee\n");
  Outcome o = Run({"--describe", "crossword", "--dict", a, "--dict", b, "???"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out,
            "Merge\n\tPattern(\"???\")\n\t\tDictionaryTextFile(\"a.txt\")\n"
            "\tPattern(\"???\")\n\t\tDictionaryTextFile(\"b.txt\")\n");
  o = Run({"crossword", "--dict", a, "--dict", b, "*"});
  EXPECT_EQ(o.out, "ant\nbee\ncat\nzebra\n");
  o = Run({"crossword", "--dict", a, "--dict", b, "--limit", "2", "*"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.out, "cat\nzebra\n");  // the first two found, sorted
  EXPECT_EQ(o.err,
            "Stopping the search - The maximum number of matches has been "
            "reached.\n");
}

TEST_F(VocorCliTest, InstallActivateUninstall) {
  const std::string words = List("words.txt", kWords);
  std::string bytes, error;
  VocorFileInfo info;
  info.name = "Tiny";
  ASSERT_TRUE(BuildVocorFile({"zoo", "zip"}, info, &bytes, nullptr, &error));
  const std::string dic = files_.Write("tiny.dic", bytes);

  Outcome o = Run({"dictionaries", "install", words, dic});
  ASSERT_EQ(o.code, 0) << o.err;
  int words_id = 0, tiny_id = 0;
  ASSERT_EQ(
      std::sscanf(o.out.c_str(), "Installed %d words.txt\nInstalled %d Tiny",
                  &words_id, &tiny_id),
      2)
      << o.out;
  EXPECT_GE(words_id, 2);
  EXPECT_GT(tiny_id, words_id);
  const std::string words_ref = std::to_string(words_id);
  o = Run({"dictionaries"});
  EXPECT_NE(o.out.find("*     0  Set"), std::string::npos) << o.out;
  EXPECT_NE(o.out.find("VocorFile"), std::string::npos);
  // The union of everything installed is active.
  EXPECT_EQ(Run({"crossword", "z??"}).out, "zip\nzoo\n");

  EXPECT_EQ(Run({"dictionaries", "activate", words_ref}).code, 0);
  EXPECT_EQ(Run({"crossword", "z??"}).out, "");
  EXPECT_NE(
      Run({"dictionaries", "list"})
          .out.find("* " + std::string(5 - words_ref.size(), ' ') + words_ref),
      std::string::npos);

  o = Run({"dictionaries", "install", files_.Write("empty.txt", "")});
  EXPECT_EQ(o.code, 2);
  EXPECT_NE(o.err.find("Dictionary load failed."), std::string::npos);
  EXPECT_EQ(Run({"dictionaries", "uninstall", "42"}).code, 2);
  EXPECT_EQ(Run({"dictionaries", "activate", "42"}).code, 2);

  // Uninstalling the active dictionary makes "All Dictionaries" active.
  EXPECT_EQ(Run({"dictionaries", "uninstall", words_ref}).code, 0);
  o = Run({"dictionaries"});
  EXPECT_NE(o.out.find("*     0"), std::string::npos);
  EXPECT_EQ(o.out.find("words.txt"), std::string::npos);
  EXPECT_EQ(Run({"crossword", "z??"}).out, "zip\nzoo\n");
}

TEST_F(VocorCliTest, AStoreHeldByAnotherProcessIsLeftAsItWas) {
  ASSERT_EQ(Run({"dictionaries", "install", List("a.txt", "cat\n"),
                 List("b.txt", "dog\n")})
                .code,
            0);
  const std::string before = DumpStore();
  StoreLock lock;
  ASSERT_TRUE(lock.held());
  Outcome o = Run({"dictionaries", "install", List("c.txt", "eel\n")});
  EXPECT_EQ(o.code, 2);
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("could not be stored: another program held the "
                       "settings store too long"),
            std::string::npos)
      << o.err;
  EXPECT_NE(o.err.find("Nothing was changed."), std::string::npos);
  // Reading goes on meanwhile.
  EXPECT_EQ(Run({"crossword", "???"}).out, "cat\ndog\n");
  lock.Release();
  EXPECT_EQ(DumpStore(), before);
  EXPECT_EQ(InstalledCount(), 2);
}

TEST_F(VocorCliTest, InstallsRunAtOnceAllStay) {
  constexpr int kRuns = 10;
  // Every run waits at a FIFO until the first writer opens it, which
  // releases them all at the same moment.
  const std::string gate = files_.path() + "/gate";
  ASSERT_EQ(::mkfifo(gate.c_str(), 0600), 0);
  std::string script;
  for (int i = 0; i < kRuns; ++i) {
    const std::string file = List("w" + std::to_string(i) + ".txt", "w\n");
    script += "(cat " + Quote(gate) + " >/dev/null; " +
              Command({"dictionaries", "install", file}) + " >" +
              Quote(files_.path() + "/out" + std::to_string(i)) + " 2>&1) & ";
  }
  script += "sleep 0.3; echo >" + Quote(gate) + "; wait";
  ASSERT_EQ(std::system(script.c_str()), 0);
  std::set<int> ids;
  for (int i = 0; i < kRuns; ++i) {
    const std::string out = Slurp(files_.path() + "/out" + std::to_string(i));
    int id = -1;
    ASSERT_EQ(std::sscanf(out.c_str(), "Installed %d", &id), 1) << out;
    ids.insert(id);
  }
  EXPECT_EQ(ids.size(), size_t{kRuns});
  EXPECT_EQ(InstalledCount(), kRuns);
}

TEST_F(VocorCliTest, InstallChecksTheWholeBinaryFile) {
  const std::string path =
      files_.Write("damaged.dic", testing::RootCountOneTooHigh());
  Outcome o = Run({"dictionaries", "install", path});
  EXPECT_EQ(o.code, 2);
  EXPECT_EQ(o.err, "Dictionary load failed.\n" + path + "\n");
  EXPECT_EQ(InstalledCount(), 0);
}

// A folder renamed (a drive not mounted) while another dictionary is
// installed: the one whose file is away is reported, skipped by searches,
// refused as the active one, and stored again by the install, so that it
// is back once its folder is.
TEST_F(VocorCliTest, ADictionaryWhoseFileIsAwayStaysInstalled) {
  const std::string usb = files_.path() + "/usb";
  std::filesystem::create_directory(usb);
  const std::string mine = List("usb/mywords.txt", "cat\n");
  ASSERT_EQ(Run({"dictionaries", "install", mine}).code, 0);
  std::filesystem::rename(usb, usb + ".off");
  const std::string warning = "Warning: the installed dictionary " + mine +
                              " could not be opened; it stays installed but "
                              "is not searched.\n";
  Outcome o = Run({"dictionaries", "install", List("b.txt", "dog\n")});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.err, warning);
  o = Run({"dictionaries"});
  EXPECT_EQ(o.code, 0);
  EXPECT_EQ(o.err, warning);
  EXPECT_NE(o.out.find("mywords.txt  " + mine + " (unavailable)\n"),
            std::string::npos)
      << o.out;
  o = Run({"crossword", "???"});
  EXPECT_EQ(o.out, "dog\n");
  EXPECT_EQ(o.err, warning);
  int id = -1;
  ASSERT_EQ(std::sscanf(Run({"dictionaries"}).out.c_str(),
                        "%*[^\n]\n%*[^\n]\n %d", &id),
            1);
  o = Run({"dictionaries", "activate", std::to_string(id)});
  EXPECT_EQ(o.code, 2);
  EXPECT_NE(o.err.find("its file could not be opened"), std::string::npos)
      << o.err;

  std::filesystem::rename(usb + ".off", usb);
  o = Run({"crossword", "???"});
  EXPECT_EQ(o.out, "cat\ndog\n");
  EXPECT_EQ(o.err, "");
  EXPECT_EQ(InstalledCount(), 2);
}

// A text list is named by its file, whose name may hold letters that
// engine text cannot: install and list show it as it is.
TEST_F(VocorCliTest, ATextListIsShownByItsOwnFileName) {
  const std::string greek = List("\u03a9\u03bc\u03ad\u03b3\u03b1.txt", "cat\n");
  Outcome o = Run({"dictionaries", "install", greek});
  ASSERT_EQ(o.code, 0) << o.err;
  EXPECT_EQ(o.out.rfind("Installed ", 0), 0u) << o.out;
  EXPECT_NE(o.out.find(" \u03a9\u03bc\u03ad\u03b3\u03b1.txt\n"),
            std::string::npos)
      << o.out;
  o = Run({"dictionaries"});
  EXPECT_NE(o.out.find("  \u03a9\u03bc\u03ad\u03b3\u03b1.txt  " + greek + "\n"),
            std::string::npos)
      << o.out;
}

TEST_F(VocorCliTest, OnlyWhatCanBeSearchedIsActivated) {
  ASSERT_EQ(Run({"dictionaries", "install", List("a.txt", "cat\n")}).code, 0);
  Outcome o = Run({"dictionaries", "activate", "1"});
  EXPECT_EQ(o.code, 2);
  EXPECT_NE(o.err.find("cannot be searched"), std::string::npos) << o.err;
  EXPECT_EQ(Run({"crossword", "???"}).out, "cat\n");
  EXPECT_EQ(Run({"dictionaries", "activate", "0"}).code, 0);
}

TEST_F(VocorCliTest, NamesFromNonAsciiFileNamesReadAsTyped) {
  Outcome o =
      Run({"dictionaries", "install", List("sp ace \xc3\xa9.txt", "cat\n")});
  EXPECT_EQ(o.code, 0);
  EXPECT_NE(o.out.find(" sp ace \xc3\xa9.txt\n"), std::string::npos) << o.out;
}

TEST_F(VocorCliTest, IdsNearTheEndOfTheRangeNeverWrap) {
  const std::string item = std::string(kDictionariesKey) + "\\Item-0";
  ASSERT_TRUE(WriteRegString(kCurrentUser, item.c_str(), "Type", "TextFile"));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, item.c_str(), "ID", 2147483646u));
  ASSERT_TRUE(WriteRegString(kCurrentUser, item.c_str(), "FileName",
                             List("a.txt", "cat\n").c_str()));
  ASSERT_TRUE(CloseSettingsStore());
  for (const char* name : {"b.txt", "c.txt"}) {
    Outcome o = Run({"dictionaries", "install", List(name, "dog\n")});
    int id = -1;
    ASSERT_EQ(std::sscanf(o.out.c_str(), "Installed %d", &id), 1) << o.out;
    EXPECT_GE(id, 0);
    EXPECT_LT(id, 2147483647);
  }
  Outcome o = Run({"dictionaries"});
  EXPECT_NE(o.out.find("2147483646"), std::string::npos);
  EXPECT_EQ(InstalledCount(), 3) << o.out;
}

TEST_F(VocorCliTest, AStoreTheUserCannotWriteIsReadButNotChanged) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root writes read-only folders; the settings and "
                    "dictionary tests cover the read-only open by force";
  }
  ASSERT_EQ(Run({"dictionaries", "install", List("a.txt", "cat\n")}).code, 0);
  const std::string folder =
      std::filesystem::path(SettingsStorePath()).parent_path();
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  EXPECT_EQ(InstalledCount(), 1);
  Outcome o = Run({"dictionaries", "install", List("b.txt", "dog\n")});
  EXPECT_EQ(o.code, 2);
  EXPECT_NE(o.err.find("the settings store is read-only"), std::string::npos);
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(InstalledCount(), 1);
}

TEST_F(VocorCliTest, WithNothingInstalledTheShippedDictionariesAreSearched) {
  const auto data =
      std::filesystem::path(VOCOR_CLI_PATH).parent_path() / "Data";
  if (!std::filesystem::exists(data)) GTEST_SKIP() << "no shipped dictionaries";
  Outcome o = Run({"crossword", "c?t"});
  EXPECT_EQ(o.code, 0);
  EXPECT_NE(o.out.find("cat\n"), std::string::npos);
  EXPECT_NE(o.err.find("shipped"), std::string::npos);
  // Read only: still nothing installed.
  EXPECT_EQ(Run({"dictionaries"}).out.find(".dic"), std::string::npos);
}

// The lists the build ships: English without the possessives and the
// abbreviations that made "c?t" list crt and cst, other languages with
// their accents.
class ShippedListsTest : public VocorCliTest {
 protected:
  static std::filesystem::path ProgramDir() {
    return std::filesystem::path(VOCOR_CLI_PATH).parent_path();
  }
  std::vector<std::string> Lines(const std::string& dict,
                                 const std::string& clue) {
    const Outcome o = Run({"crossword", "--dict", dict, clue});
    EXPECT_EQ(o.code, 0) << dict << ": " << o.err;
    std::vector<std::string> lines;
    std::istringstream in(o.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
  bool Finds(const std::string& dict, const std::string& word) {
    const std::vector<std::string> found = Lines(dict, word);
    return found.size() == 1 && found[0] == word;
  }
};

TEST_F(ShippedListsTest, EnglishHasNamesButNoPossessivesOrAbbreviations) {
  for (const char* file : {"english-us.dic", "english-gb.dic"}) {
    const std::string dict = (ProgramDir() / "Data" / file).string();
    if (!std::filesystem::exists(dict)) {
      ADD_FAILURE() << dict << " was not built";
      continue;
    }
    EXPECT_THAT(Lines(dict, "c?t"),
                ::testing::IsSupersetOf({"cat", "cot", "cut"}));
    for (const char* left_out : {"crt", "cst", "cat's", "it's", "nasa"}) {
      EXPECT_FALSE(Finds(dict, left_out)) << file << ": " << left_out;
    }
    for (const char* name : {"paris", "london", "i"}) {
      EXPECT_TRUE(Finds(dict, name)) << file << ": " << name;
    }
    EXPECT_THAT(Lines(dict, "*'s"), ::testing::IsEmpty()) << file;
  }
}

TEST_F(ShippedListsTest, OtherLanguagesKeepTheirAccents) {
  const std::filesystem::path folder = ProgramDir() / "Languages";
  struct Sample {
    const char* file;
    const char* word;  // UTF-8, as the tool prints it
    const char* name;
  };
  int checked = 0;
  for (const Sample& sample :
       {Sample{"french.dic", "\xc3\xa9l\xc3\xa8ve", "French"},
        Sample{"german.dic", "gro\xc3\x9f", "German"},
        Sample{"spanish.dic", "ni\xc3\xb1o", "Spanish"},
        Sample{"danish.dic", "\xc3\xa5r", "Danish"},
        Sample{"swedish.dic", "sm\xc3\xb6rg\xc3\xa5s", "Swedish"},
        Sample{"norwegian-nb.dic", "\xc3\xb8l", "Norwegian (Bokm\xc3\xa5l)"}}) {
    const std::string dict = (folder / sample.file).string();
    // Each list is built only where its Debian package is installed.
    if (!std::filesystem::exists(dict)) continue;
    ++checked;
    EXPECT_TRUE(Finds(dict, sample.word)) << sample.file;
    const Outcome installed = Run({"dictionaries", "install", dict});
    EXPECT_THAT(installed.out,
                ::testing::EndsWith(std::string(" ") + sample.name + "\n"));
  }
  if (checked == 0) GTEST_SKIP() << "no word list in " << folder;
}

// Equations on a text list and on the same words compiled: the solutions
// in order, one a line, the words joined by ';'; the limit; a malformed
// equation refused with its position and exit code 1.
TEST_F(VocorCliTest, Equations) {
  const std::vector<std::string> words = {
      "bow", "evil", "live", "rain", "rainbow", "redder", "stab", "tabs"};
  std::string text_words, bytes, error;
  for (const std::string& w : words) text_words += w + "\n";
  const std::string text = List("equations.txt", text_words);
  VocorFileInfo info;
  info.name = "Equations";
  ASSERT_TRUE(BuildVocorFile(words, info, &bytes, nullptr, &error));
  const std::string dic = files_.Write("equations.dic", bytes);
  for (const std::string& dict : {text, dic}) {
    Outcome o = Run({"equation", "--dict", dict, "AB;A;B;|A|>=3"});
    EXPECT_EQ(o.code, 0);
    EXPECT_EQ(o.out, "rainbow;rain;bow\n");
    EXPECT_EQ(Run({"equation", "--dict", dict, "A;~A;A!=~A"}).code, 1);
    EXPECT_EQ(Run({"equation", "--dict", dict, "A;~A"}).out,
              "evil;live\nlive;evil\nredder;redder\n");
    EXPECT_EQ(Run({"equation", "--dict", dict, "A~A"}).out, "redder\n");
    EXPECT_EQ(Run({"equation", "--dict", dict, "AB;BA", "--limit", "1"})
                  .out.size(),
              std::string("stab;tabs\n").size());
  }
  Outcome o = Run({"equation", "--dict", text, "AB;[ab"});
  EXPECT_EQ(o.code, 1);
  EXPECT_EQ(o.out, "");
  EXPECT_NE(o.err.find("'[' at position 4 is not closed"), std::string::npos)
      << o.err;
  o = Run({"equation", "--help"});
  EXPECT_EQ(o.code, 0);
  EXPECT_NE(o.out.find("|A|>=3"), std::string::npos);
}

}  // namespace
}  // namespace vocor
