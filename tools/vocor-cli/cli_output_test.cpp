// End-to-end tests of how vocor-cli delivers its results: every write
// checked, results printed as they come and still sorted, damage and
// exhausted memory reported after the results found.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "dictionary/testing/dic_assembler.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "settings/scratch_home.h"

namespace vocor {
namespace {

struct Result {
  int code = -1;  // exit code, or -1 when killed by a signal
  std::string out, err;
};

class CliOutputTest : public ::testing::Test {
 protected:
  // Runs `sh -c` on `script`, where $CLI is the program; stdout goes to a
  // file unless the script redirects it itself.
  Result Shell(const std::string& script) {
    const std::string out = dir_.path() + "/out", err = dir_.path() + "/err";
    const std::string command = "CLI='" VOCOR_CLI_PATH "'; (" + script + ") >" +
                                out + " 2>" + err + " </dev/null";
    const int status = std::system(command.c_str());
    Result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = Read(out);
    r.err = Read(err);
    return r;
  }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  std::string Dic(const std::vector<std::string>& words) {
    return dir_.Write("words.dic", testing::CompileWords(words, "Words"));
  }

  ScratchHome home_;
  testing::ScratchDir dir_;
};

TEST_F(CliOutputTest, FailedWritesAreErrors) {
  const std::string dic = Dic({"cat", "cot", "cut"});
  // A full disk used to end with exit 0 and nothing written.
  Result r = Shell("$CLI --dict " + dic + " crossword 'c?t' >/dev/full");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("cannot write the output: No space left"),
            std::string::npos)
      << r.err;
  // So did a closed standard output.
  r = Shell("$CLI --dict " + dic + " crossword 'c?t' >&-");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("cannot write the output"), std::string::npos);
  r = Shell("$CLI --describe --dict " + dic + " crossword 'c?t' >/dev/full");
  EXPECT_EQ(r.code, 2);
  r = Shell("$CLI dictionaries list >/dev/full");
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("cannot write the output"), std::string::npos);
  // A reader that stops early is no failure, and nothing is said.
  r = Shell("$CLI --dict " + dic + " crossword '*' | head -n 1");
  EXPECT_EQ(r.out, "cat\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliOutputTest, ResultsComeSortedWhateverOrderTheWalkFindsThem) {
  // A '*' before letters walks the empty match first: "ing" is found
  // before "abating".
  const std::string dic = Dic({"abating", "ing", "sing", "singing", "zing"});
  Result r = Shell("$CLI --dict " + dic + " crossword '*ing'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "abating\ning\nsing\nsinging\nzing\n");
  r = Shell("$CLI --dict " + dic + " crossword '*?*?*?*' '*ing'");
  EXPECT_EQ(r.out, "abating\ning\nsing\nsinging\nzing\n");
  r = Shell("$CLI --dict " + dic + " crossword '*,3'");
  EXPECT_EQ(r.out, "abating ing\ning ing\nsing ing\nsinging ing\nzing ing\n");
}

TEST_F(CliOutputTest, DamageFoundDuringTheSearchIsReportedAfterItsResults) {
  testing::DicAssembler dic;
  const uint32_t leaf = dic.Node(true, {});
  // The c-child claims a word that is not there.
  const uint32_t liar = dic.RawNode(MakeNodeWord(0, false, 1), {});
  const std::string path = dir_.Write(
      "damaged.dic",
      dic.Finish(dic.Node(false, {{'a', leaf}, {'c', liar}, {'d', leaf}})));
  Result r = Shell("$CLI --dict " + path + " crossword '*'");
  EXPECT_EQ(r.code, 2);
  EXPECT_EQ(r.out, "a\n");
  EXPECT_NE(r.err.find("the dictionary file is damaged"), std::string::npos);
  EXPECT_NE(r.err.find(path), std::string::npos);
  // A search that never reaches the damage is complete.
  r = Shell("$CLI --dict " + path + " crossword 'd'");
  EXPECT_EQ(r.code, 0);
  EXPECT_EQ(r.out, "d\n");
}

TEST_F(CliOutputTest, DecomposedTextFindsComposedWordsAndBack) {
  // e + U+0301 in the list and in the typed pattern: the combining mark
  // used to make the list's word vanish and the pattern match nothing.
  const std::string composed = "caf\xc3\xa9", decomposed = "cafe\xcc\x81";
  for (const std::string& listed : {composed, decomposed}) {
    const std::string list = dir_.Write("list.txt", "cab\n" + listed + "\n");
    for (const std::string& typed : {composed, decomposed}) {
      Result r = Shell("$CLI --dict " + list + " crossword '" + typed + "'");
      EXPECT_EQ(r.out, composed + "\n") << listed << " / " << typed;
    }
  }
}

TEST_F(CliOutputTest, HugePhrasePatternsAreRefusedNotAborted) {
  const std::string dic = Dic({"a", "b"});
  std::string pieces = "a";
  for (int i = 0; i < 60000; ++i) pieces += " a";
  Result r = Shell("$CLI --dict " + dic + " palindrome '" + pieces + "'");
  EXPECT_EQ(r.code, 1);
  EXPECT_EQ(r.err, "No word can match this pattern.\n");
}

#if !defined(__SANITIZE_ADDRESS__)
// Address limits and the sanitizer's shadow memory do not mix.
class CliMemoryTest : public CliOutputTest {
 protected:
  // 17,576 words: phrases of three of them number 5 * 10^12.
  std::string ThreeLetterWordsWithX() {
    std::vector<std::string> words;
    for (char a = 'a'; a <= 'z'; ++a) {
      for (char b = 'a'; b <= 'z'; ++b) {
        for (char c = 'a'; c <= 'z'; ++c) words.push_back({a, b, c, 'x'});
      }
    }
    return Dic(words);
  }
};

TEST_F(CliMemoryTest, InOrderResultsAreWrittenAsTheyCome) {
  const std::string dic = ThreeLetterWordsWithX();
  // All results used to be held until the end: out of memory, and not
  // one of them printed.
  Result r = Shell("ulimit -v 200000; $CLI --dict " + dic +
                   " crossword '4,4,4' | head -n 2");
  EXPECT_EQ(r.out, "aaax aaax aaax\naaax aaax aabx\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(CliMemoryTest, RunningOutOfMemoryEndsWithTheResultsFound) {
  const std::string dic = ThreeLetterWordsWithX();
  // '*x' walks out of order, so every phrase is held to be sorted: 300
  // million of them cannot fit in 200 MB.
  Result r = Shell("ulimit -v 200000; $CLI --dict " + dic +
                   " crossword '*x,*x,*x' | tail -n 1");
  EXPECT_EQ(r.err,
            "vocor-cli: out of memory during the search: it stopped after "
            "the results above.\n");
  EXPECT_NE(r.out, "");
  r = Shell("ulimit -v 200000; $CLI --dict " + dic +
            " crossword '*x,*x,*x' >/dev/null; echo $?");
  EXPECT_EQ(r.out, "2\n");
}
#endif

}  // namespace
}  // namespace vocor
