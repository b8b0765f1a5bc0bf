// End-to-end tests of how vocor-cli delivers its results: every write
// checked, results printed as they come and still sorted, damage and
// exhausted memory reported after the results found.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <sstream>

#include "dictionary/testing/dic_assembler.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "engine/charset.h"
#include "engine/testing/reference.h"
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

// Random words holding the letters of 0x80-0x9F (š, œ, ž, ƒ), which
// Windows-1252 places before é and ÿ but Unicode after them, searched in
// every kind of source: a binary file (walked in byte order), text lists
// sorted by bytes, sorted by code points and unsorted, and a set of two
// members; as words and as phrases. Every output must be strictly
// ascending by code points and hold exactly the reference's results.
class CliOrderTest : public CliOutputTest {
 protected:
  using Words = std::vector<std::string>;  // engine text

  static std::string Utf8Lines(const Words& words) {
    std::string text;
    for (const std::string& w : words) text += EngineToUtf8(w) + "\n";
    return text;
  }

  // The sources holding `words`, as --dict arguments.
  std::vector<std::string> Sources(Words words, std::mt19937& rng) {
    std::vector<std::string> sources;
    std::sort(words.begin(), words.end());  // by bytes
    sources.push_back(
        dir_.Write("words.dic", testing::CompileWords(words, "Words")));
    sources.push_back(dir_.Write("bytes.txt", Utf8Lines(words)));
    std::sort(words.begin(), words.end(), [](const auto& a, const auto& b) {
      return EngineToUtf8(a) < EngineToUtf8(b);
    });
    sources.push_back(dir_.Write("code-points.txt", Utf8Lines(words)));
    std::shuffle(words.begin(), words.end(), rng);
    sources.push_back(dir_.Write("shuffled.txt", Utf8Lines(words)));
    // Overlapping halves, so that the set has repeats to drop.
    const size_t half = words.size() / 2;
    const Words first(words.begin(), words.begin() + half + 1);
    const Words second(words.begin() + half, words.end());
    sources.push_back(
        dir_.Write("first.dic", testing::CompileWords(first, "First")) +
        " --dict " + dir_.Write("second.txt", Utf8Lines(second)));
    return sources;
  }

  // The output's lines, checked to be strictly ascending by code points
  // (the UTF-8 bytes).
  static std::vector<std::string> SortedLines(const Result& r,
                                              const std::string& what) {
    EXPECT_EQ(r.code, 0) << what << "\n" << r.err;
    std::vector<std::string> lines;
    std::istringstream in(r.out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    for (size_t i = 1; i < lines.size(); ++i) {
      EXPECT_LT(lines[i - 1], lines[i]) << what << " printed:\n" << r.out;
    }
    return lines;
  }

  // A phrase's words sorted, so that the same combination compares equal
  // whichever order the source gave its words.
  static std::string Combination(const std::string& phrase) {
    std::vector<std::string> words;
    std::istringstream in(phrase);
    for (std::string w; in >> w;) words.push_back(w);
    std::sort(words.begin(), words.end());
    std::string joined;
    for (const std::string& w : words)
      joined += (joined.empty() ? "" : " ") + w;
    return joined;
  }

  static std::string SortedLetters(std::string text) {
    std::erase(text, ' ');
    std::sort(text.begin(), text.end());
    return text;
  }

  // Words and two-word combinations of `words` using exactly `letters`.
  static std::set<std::string> RefPhrases(const std::set<std::string>& words,
                                          const std::string& letters) {
    std::set<std::string> phrases;
    const std::string want = SortedLetters(letters);
    for (const std::string& a : words) {
      if (SortedLetters(a) == want) phrases.insert(EngineToUtf8(a));
      for (const std::string& b : words) {
        if (SortedLetters(a + b) == want) {
          phrases.insert(Combination(EngineToUtf8(a) + " " + EngineToUtf8(b)));
        }
      }
    }
    return phrases;
  }
};

TEST_F(CliOrderTest, EveryOutputIsInCodePointOrder) {
  // é and ÿ (0xE9, 0xFF) against š, œ, ž, ƒ (0x9A, 0x9C, 0x9E, 0x83).
  const std::string alphabet = "acez\xe9\xff\x9a\x9c\x9e\x83";
  std::mt19937 rng(1968);
  for (int round = 0; round < 12; ++round) {
    Words words = testing::RandomWords(rng, alphabet, 8 + rng() % 30, 5);
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    const std::set<std::string> unique(words.begin(), words.end());
    const std::string& some = words[rng() % words.size()];
    const std::string first = some.substr(0, 1),
                      last = some.substr(some.size() - 1);
    const std::string letters = some + words[rng() % words.size()];
    struct Search {
      std::string args;
      std::function<bool(const std::string&)> fits;  // single words
    };
    const std::vector<Search> searches = {
        {"crossword '*'", [](const std::string&) { return true; }},
        {"crossword '" + EngineToUtf8(first) + "*'",
         [&](const std::string& w) { return w.starts_with(first); }},
        {"crossword '*" + EngineToUtf8(last) + "'",
         [&](const std::string& w) { return w.ends_with(last); }},
    };
    for (const std::string& source : Sources(words, rng)) {
      for (const Search& search : searches) {
        const std::string what = source + " " + search.args;
        std::set<std::string> expected;
        for (const std::string& w : unique) {
          if (search.fits(w)) expected.insert(EngineToUtf8(w));
        }
        const std::vector<std::string> lines =
            SortedLines(Shell("$CLI --dict " + what), what);
        EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()), expected)
            << what;
      }
      const std::string what =
          source + " anagram " + EngineToUtf8(letters) + " --max-words 2";
      std::set<std::string> combinations;
      for (const std::string& phrase :
           SortedLines(Shell("$CLI --dict " + what), what)) {
        EXPECT_TRUE(combinations.insert(Combination(phrase)).second)
            << what << ": " << phrase << " twice";
      }
      EXPECT_EQ(combinations, RefPhrases(unique, letters)) << what;
    }
  }
}

// On a terminal the progress bar shares the line with whatever comes
// next: results used to be written right after it ("[###...]  78%aaberg").
TEST_F(CliOutputTest, TheProgressBarIsErasedBeforeResultsAreWritten) {
  const std::string dic = ThreeLetterWordsWithX();
  // `script` gives the search a terminal for both outputs. The reader
  // pauses, so that the search stands blocked past the bar's delay; then
  // it reads on while the search streams its phrases, 64 KiB a write,
  // up to the limit.
  Result r = Shell("script -qc \"$CLI --dict " + dic +
                   " --limit 200000 crossword 4,4,4\" /dev/null | "
                   "(head -c 4096 >/dev/null; sleep 1; cat)");
  size_t bar = r.out.find("%");
  if (bar == std::string::npos) GTEST_SKIP() << "the bar was never drawn";
  for (; bar != std::string::npos; bar = r.out.find('%', bar + 1)) {
    if (bar + 1 == r.out.size()) break;  // the reader stopped here
    ASSERT_EQ(r.out[bar + 1], '\r')
        << "written after the bar: " << r.out.substr(bar - 50, 80);
  }
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
using CliMemoryTest = CliOutputTest;

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
