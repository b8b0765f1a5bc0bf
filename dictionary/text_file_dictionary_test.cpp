#include "dictionary/text_file_dictionary.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "dictionary/file_image.h"
#include "dictionary/testing/scratch_dir.h"
#include "engine/merge.h"
#include "engine/palindrome.h"
#include "engine/pattern.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ReadAll;
using testing::ReadAllInSlices;
using testing::ScratchDir;
using Words = std::vector<std::string>;

class TextFileTest : public ::testing::Test {
 protected:
  // Opens a dictionary over a file holding `bytes`; null if Open failed.
  std::unique_ptr<CDictionaryTextFile> OpenText(const std::string& bytes,
                                                const char* name = "list.txt") {
    auto dict = std::make_unique<CDictionaryTextFile>();
    dict->SetFileName(dir_.Write(name, bytes).c_str());
    if (!dict->Open()) return nullptr;
    return dict;
  }

  Words WordsOf(const std::string& bytes) {
    auto dict = OpenText(bytes);
    if (dict == nullptr) return {"<not opened>"};
    EnumPtr e = dict->CreateEnumerator();
    return ReadAll(e.get());
  }

  ScratchDir dir_;
};

TEST_F(TextFileTest, LinesCountsAndOrderNotes) {
  auto dict = OpenText("apple\r\nbanana\r\ncherry\r\n");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 3);
  EXPECT_EQ(dict->GetNotes(), "In alphabetic order.");
  EXPECT_EQ(dict->GetSize(), 23);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_EQ(ReadAll(e.get()), (Words{"apple", "banana", "cherry"}));
  EXPECT_EQ(e->Next(nullptr), nullptr);

  EXPECT_EQ(OpenText("Zebra\nant\n")->GetNotes(), "Not in alphabetic order.");
  EXPECT_EQ(WordsOf("Zebra\nant\n"), (Words{"zebra", "ant"}));
  EXPECT_EQ(OpenText("Apple\nbanana\n")->GetNotes(), "In alphabetic order.");
  EXPECT_EQ(OpenText("cat\ncats\n")->GetNotes(), "In alphabetic order.");
  EXPECT_EQ(OpenText("cats\ncat\n")->GetNotes(), "Not in alphabetic order.");
  EXPECT_EQ(OpenText("cat\ncat\nCAT\n")->GetNotes(), "In alphabetic order.");
}

// œ (U+0153) sorts after é (U+00E9) by code points, as `LC_ALL=C sort`
// puts a UTF-8 list, but before it by Windows-1252 bytes (0x9C, 0xE9).
// Either order is alphabetic; a mixture of the two is not.
TEST_F(TextFileTest, OrderByCodePointsOrByBytes) {
  const std::string e = "c\xc3\xa9", oe = "c\xc5\x93", z = "cz\n";
  EXPECT_EQ(OpenText(z + e + "\n" + oe + "\nd\n")->GetNotes(),
            "In alphabetic order.");
  EXPECT_EQ(OpenText(z + oe + "\n" + e + "\nd\n")->GetNotes(),
            "In alphabetic order.");
  EXPECT_EQ(
      OpenText(oe + "\n" + e + "\n" + oe + "ur\n" + e + "der\n")->GetNotes(),
      "Not in alphabetic order.");
  EXPECT_EQ(OpenText("c\x9c\nc\xe9\nd\n")->GetNotes(),  // Windows-1252
            "In alphabetic order.");
}

TEST_F(TextFileTest, WordSyntax) {
  EXPECT_EQ(WordsOf("\n\n   first second"), (Words{"first", "second"}));
  EXPECT_EQ(WordsOf("it's well-known -ness\n"),
            (Words{"it's", "well-known", "-ness"}));
  EXPECT_EQ(WordsOf("abc123def"), (Words{"abc", "def"}));
  // ';' separates too, but ends the line's words: what follows is a score.
  EXPECT_EQ(WordsOf("tab\tsep:colon,comma.dot"),
            (Words{"tab", "sep", "colon", "comma", "dot"}));
  EXPECT_EQ(OpenText("  \n\t 123 !\n")->GetWordCount(), 0);
  EXPECT_TRUE(WordsOf("  \n\t 123 !\n").empty());
}

// The score follows the first ';' of a line; a line whose score cannot be
// read gives no word at all, so neither its word nor the text after the
// ';' is ever taken for words.
TEST_F(TextFileTest, ScoresFromTheLines) {
  using ScoredWords = std::vector<std::pair<std::string, int>>;
  const auto scored = [this](const std::string& bytes) {
    auto dict = OpenText(bytes);
    ScoredWords read;
    if (dict == nullptr) return read;
    EnumPtr e = dict->CreateEnumerator();
    while (const char* word = e->Next(nullptr)) read.emplace_back(word, e->Score());
    return read;
  };
  EXPECT_EQ(scored("\xef\xbb\xbf"
                   "Cat;70\r\ndog\rEmu ;\t007 \nfour five;100\n;3\nlast;1"),
            (ScoredWords{{"cat", 70}, {"dog", 50}, {"emu", 7}, {"four", 100},
                         {"five", 100}, {"last", 1}}));
  for (const char* bad : {"word;abc", "word;", "word;0", "word;101",
                          "word;5;6", "word;-5", "word;1 2", "word;5x"}) {
    EXPECT_EQ(scored(std::string(bad) + "\nok\n"), (ScoredWords{{"ok", 50}}))
        << bad;
  }
  auto dict = OpenText("alpha;abc\nbeta;20\ngamma\n");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 2);
  EXPECT_TRUE(dict->HasScores());
  EXPECT_FALSE(OpenText("alpha\nbeta;abc\n")->HasScores());
  EXPECT_FALSE(OpenText("alpha beta\n")->HasScores());

  // The floor is absorbed by the leaf and shows in its description.
  EnumPtr e = dict->CreateEnumerator();
  e = e->MinScore(std::move(e), 30);
  EXPECT_EQ(e->Describe(1), "\tDictionaryTextFile(\"list.txt\") MinScore 30\n");
  EXPECT_EQ(ReadAll(e.get()), (Words{"gamma"}));
  e = e->MinScore(std::move(e), 51);
  EXPECT_TRUE(IsNone(e.get()));
  EnumPtr f = dict->CreateEnumerator();
  EXPECT_TRUE(IsNone(f->MinScore(std::move(f), kMaxScore + 1).get()));
  EnumPtr g = dict->CreateEnumerator();
  g = g->MinScore(std::move(g), kMinScore);
  EXPECT_EQ(g->Describe(0), "DictionaryTextFile(\"list.txt\")\n");
  ScoreCounts counts{};
  g->CountScores(&counts);
  EXPECT_EQ(counts[20], 1);
  EXPECT_EQ(counts[50], 1);
}

TEST_F(TextFileTest, EncodingsAndUnmappableWords) {
  // UTF-8 with a byte-order mark: decoded into the engine's code page.
  EXPECT_EQ(WordsOf("\xef\xbb\xbf"
                    "Caf\xc3\xa9 \xc3\x89t\xc3\xa9\n"),
            (Words{"caf\xe9", "\xe9t\xe9"}));
  // Not UTF-8: read as Windows-1252.
  EXPECT_EQ(WordsOf("Caf\xe9 \xc9t\xe9\n"), (Words{"caf\xe9", "\xe9t\xe9"}));
  // A letter Windows-1252 cannot hold makes the whole word disappear, and
  // it is not counted; punctuation outside the code page separates words.
  auto dict = OpenText(
      "\xc5\x82\xc3\xb3"
      "d\xc5\xba ok na\xc3\xafve\xe2\x86\x92yes\n");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 3);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_EQ(ReadAll(e.get()), (Words{"ok", "na\xefve", "yes"}));
  EXPECT_EQ(e->GetPosition(), dict->GetSize());  // bytes, not characters
}

TEST_F(TextFileTest, OneWindows1252LineLeavesTheUtf8LinesAlone) {
  // A UTF-8 list with one line in Windows-1252 (r\xe9sum\xe9) appended:
  // read whole as Windows-1252 it gave "caf\xe3" for "caf\xc3\xa9".
  EXPECT_EQ(
      WordsOf("caf\xc3\xa9\nna\xc3\xafve\r\nR\xe9sum\xe9\n\xc3\xa9t\xc3\xa9"),
      (Words{"caf\xe9", "na\xefve", "r\xe9sum\xe9", "\xe9t\xe9"}));
  // A line ending in a lone CR is a line too.
  EXPECT_EQ(WordsOf("\xe9t\xe9\r\xc3\xa9t\xc3\xa9\r"),
            (Words{"\xe9t\xe9", "\xe9t\xe9"}));
}

TEST_F(TextFileTest, DecomposedListsReadAsComposedOnes) {
  // e + U+0301, i + U+0308, and a capital: the same words as the
  // precomposed spelling, none lost to its combining mark.
  const std::string decomposed = "Cafe\u0301\nnai\u0308ve\nEtre\n";
  const std::string composed = "Caf\u00e9\nna\u00efve\nEtre\n";
  const Words expected{"caf\xe9", "na\xefve", "etre"};
  EXPECT_EQ(WordsOf(decomposed), expected);
  EXPECT_EQ(WordsOf(composed), expected);
  // A mark with no precomposed letter still leaves its word out.
  auto dict = OpenText(decomposed + "q\u0301 ok\n");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 4);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_TRUE(e->Contains("caf\xe9"));
  ReadAll(e.get());
  EXPECT_EQ(e->GetPosition(), e->GetExtent());
}

TEST_F(TextFileTest, OverlongRunsAreSkippedAndNotCounted) {
  const std::string longest(999, 'a'), too_long(1000, 'b');
  auto dict = OpenText("x " + too_long + " " + longest + "\ny");
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 3);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_EQ(ReadAll(e.get()), (Words{"x", longest, "y"}));
}

TEST_F(TextFileTest, FilesThatCannotBeOpened) {
  auto dict = std::make_unique<CDictionaryTextFile>();
  dict->SetFileName(dir_.Write("empty.txt", "").c_str());
  EXPECT_FALSE(dict->Open());
  EXPECT_FALSE(dict->IsOpen());
  dict->SetFileName((dir_.path() + "/missing.txt").c_str());
  EXPECT_FALSE(dict->Open());
  dict->SetFileName(dir_.path().c_str());  // a folder
  EXPECT_FALSE(dict->Open());
  // 2 GiB (sparse, so the test costs no disk) is refused before reading.
  const std::string huge = dir_.Write("huge.txt", "");
  ASSERT_EQ(::truncate(huge.c_str(), off_t{1} << 31), 0);
  dict->SetFileName(huge.c_str());
  EXPECT_FALSE(dict->Open());
  // Larger than any word list, though far below 2 GiB: refused unread.
  ASSERT_EQ(::truncate(huge.c_str(), off_t{1} << 30), 0);
  EXPECT_FALSE(dict->Open());
  // Binary data is no word list: NUL bytes at the start refuse it.
  std::string nul_led(kBinarySniffSize, '\0');
  nul_led += "word\n";
  dict->SetFileName(dir_.Write("zeros.txt", nul_led).c_str());
  EXPECT_FALSE(dict->Open());
  // A NUL far into a text file is only a separator.
  std::string late_nul(kBinarySniffSize, ' ');
  late_nul += std::string("one\0two\n", 8);
  EXPECT_EQ(WordsOf(late_nul), (Words{"one", "two"}));
  // A FIFO would block a reader forever; it is refused at once.
  const std::string fifo = dir_.path() + "/fifo.txt";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  dict->SetFileName(fifo.c_str());
  EXPECT_FALSE(dict->Open());
}

TEST_F(TextFileTest, NamesPathsAndDescribe) {
  auto dict = OpenText("word\n", "my words.txt");
  ASSERT_NE(dict, nullptr);
  EXPECT_STREQ(dict->GetName(), "my words.txt");
  EXPECT_STREQ(dict->GetTypeName(), "TextFile");
  EXPECT_FALSE(dict->SetFileName("/elsewhere"));
  EXPECT_EQ(std::string(dict->GetFileName()), dir_.path() + "/my words.txt");
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_EQ(e->Describe(2), "\t\tDictionaryTextFile(\"my words.txt\")\n");
  dict->Close();
  EXPECT_TRUE(dict->SetFileName(nullptr));
  EXPECT_STREQ(dict->GetName(), "");
  CDictionaryTextFile bare;
  bare.SetFileName("bare.txt");
  EXPECT_STREQ(bare.GetName(), "bare.txt");
}

TEST_F(TextFileTest, ProgressAndWorkCounter) {
  auto dict = OpenText("ab cd\nef");
  ASSERT_NE(dict, nullptr);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_EQ(e->GetPosition(), 0);
  EXPECT_EQ(e->GetExtent(), 8);
  int counter = 0;
  EXPECT_STREQ(e->Next(&counter), "ab");  // the list ignores the counter
  EXPECT_EQ(counter, -1);
  EXPECT_EQ(e->GetPosition(), 3);
  e->Next(nullptr);
  EXPECT_STREQ(e->Next(nullptr), "ef");
  EXPECT_EQ(e->GetPosition(), 8);
  e->Reset();
  EXPECT_EQ(e->GetPosition(), 0);
  EXPECT_EQ(ReadAll(e.get()).size(), 3u);
}

TEST_F(TextFileTest, ClonesShareTheListAndOutliveEachOthersClose) {
  auto dict = OpenText("one two three\n");
  ASSERT_NE(dict, nullptr);
  auto clone = dict->Clone();
  EXPECT_NE(clone->id(), dict->id());
  EXPECT_TRUE(clone->IsOpen());
  EnumPtr from_clone = clone->CreateEnumerator();
  EnumPtr from_dict = dict->CreateEnumerator();
  dict->Close();
  EXPECT_FALSE(dict->IsOpen());
  EXPECT_TRUE(clone->IsOpen());
  EXPECT_EQ(ReadAll(from_clone.get()), (Words{"one", "two", "three"}));
  clone.reset();
  EXPECT_EQ(ReadAll(from_dict.get()).size(), 3u);
  // An enumerator made while closed yields nothing.
  EnumPtr closed = dict->CreateEnumerator();
  EXPECT_EQ(closed->Next(nullptr), nullptr);
  EXPECT_FALSE(closed->Contains("one"));
}

TEST_F(TextFileTest, FileChangedOnDiskWhileOpen) {
  auto dict = OpenText("alpha beta gamma delta\n");
  ASSERT_NE(dict, nullptr);
  EnumPtr e = dict->CreateEnumerator();
  e->Next(nullptr);
  ASSERT_EQ(::truncate(dict->GetFileName(), 0), 0);
  dir_.Write("list.txt", "zzz");
  EXPECT_EQ(ReadAll(e.get()), (Words{"beta", "gamma", "delta"}));
}

TEST_F(TextFileTest, ContainsUsesTheIndexAndReadsWildcardsAsPatterns) {
  auto dict = OpenText("Cat dog it's\n");
  ASSERT_NE(dict, nullptr);
  EnumPtr e = dict->CreateEnumerator();
  EXPECT_TRUE(e->Contains("cat"));
  EXPECT_TRUE(e->Contains("it's"));
  EXPECT_FALSE(e->Contains("Cat"));
  EXPECT_FALSE(e->Contains("ca"));
  EXPECT_FALSE(e->Contains(""));
  EXPECT_TRUE(e->Contains("d?g"));
  EXPECT_TRUE(e->Contains("c*"));
  EXPECT_FALSE(e->Contains("x*"));
  EXPECT_STREQ(e->Next(nullptr), "cat");  // position untouched
}

TEST_F(TextFileTest, MillionIdenticalLinesOpenInLinearTime) {
  std::string bytes;
  for (int i = 0; i < 1000000; ++i) bytes += "same\n";
  auto dict = OpenText(bytes);
  ASSERT_NE(dict, nullptr);
  EXPECT_EQ(dict->GetWordCount(), 1000000);
  EXPECT_EQ(dict->GetNotes(), "In alphabetic order.");
}

TEST_F(TextFileTest, ExclusionAndAnotherWordAnswerFromTheIndex) {
  // Each Contains would rescan the list without the index; 20000 words
  // squared would not finish within the test's time.
  std::string bytes;
  for (int i = 0; i < 20000; ++i) {
    bytes += "w" + std::to_string(i * 7919 % 20000) + "x\n";
  }
  for (char& c : bytes) {
    if (c >= '0' && c <= '9') c = static_cast<char>('a' + (c - '0'));
  }
  auto dict = OpenText(bytes);
  ASSERT_NE(dict, nullptr);
  EnumPtr all = dict->CreateEnumerator();
  all = all->Demerge(std::move(all), dict->CreateEnumerator());
  EXPECT_TRUE(ReadAll(all.get()).empty());
}

// `n` spelled in the letters a to j, one per decimal digit.
std::string DigitsAsLetters(int n) {
  std::string text = std::to_string(n);
  for (char& c : text) c = static_cast<char>('a' + (c - '0'));
  return text;
}

// The another-word search asks the word index for every word it reads. On
// a large list the index is built in slices of the work counter, one unit
// per word of the file, so the search hands back to its caller (no word,
// counter used up) again and again before it reads its first word, even
// when that word opens the list.
TEST_F(TextFileTest, AnotherWordBuildsTheIndexInSlicesOfTheCounter) {
  constexpr int kFillers = 100000;
  constexpr int kWords = kFillers + 2;
  std::string bytes = "stop\npots\n";
  // w...x reads x...w backwards, which no word of the list is.
  for (int i = 0; i < kFillers; ++i) bytes += "w" + DigitsAsLetters(i) + "x\n";
  auto dict = OpenText(bytes);
  ASSERT_NE(dict, nullptr);
  ASSERT_EQ(dict->GetWordCount(), kWords);
  CEnumResultsPalindrome query(dict->CreateEnumerator(), kReverse,
                               kAnotherWord);
  int suspensions = 0;
  int charged = 0;
  const char* word = nullptr;
  while (word == nullptr) {
    int counter = 1000;
    word = query.Next(&counter);
    ASSERT_GE(counter, 0);
    charged += 1000 - counter;
    if (word != nullptr) break;
    ASSERT_EQ(counter, 0) << "ended before its first word";
    ++suspensions;
  }
  EXPECT_STREQ(word, "stop");
  EXPECT_EQ(suspensions, kWords / 1000);
  EXPECT_EQ(charged, kWords + 1);  // every word indexed, then stop read
  EXPECT_EQ(ReadAllInSlices(&query, 1000), Words{"pots"});

  // A Contains in the middle of the slices finishes the index itself; the
  // slices that follow have nothing left to do.
  auto other = OpenText(bytes, "other.txt");
  ASSERT_NE(other, nullptr);
  CEnumResultsPalindrome sliced(other->CreateEnumerator(), kReverse,
                                kAnotherWord);
  int counter = 1000;
  EXPECT_EQ(sliced.Next(&counter), nullptr);
  EXPECT_EQ(counter, 0);
  EXPECT_TRUE(other->CreateEnumerator()->Contains(
      ("w" + DigitsAsLetters(kFillers - 1) + "x").c_str()));
  EXPECT_FALSE(other->CreateEnumerator()->Contains("xw"));
  counter = 1000;
  EXPECT_STREQ(sliced.Next(&counter), "stop");
  EXPECT_EQ(counter, 999);
}

// An exclusion asks its second child for every word the first yields: a
// text list there builds its index in slices before the first word too.
TEST_F(TextFileTest, AnExclusionBuildsTheIndexInSlicesOfTheCounter) {
  constexpr int kWords = 100000;
  std::string bytes;
  for (int i = 0; i < kWords; ++i) bytes += "w" + DigitsAsLetters(i) + "x\n";
  auto excluded = OpenText(bytes);
  auto kept = OpenText(
      "cat\n" + bytes.substr(0, bytes.find('\n') + 1) + "dog\n", "kept.txt");
  ASSERT_NE(excluded, nullptr);
  ASSERT_NE(kept, nullptr);
  CEnumResultsDemerge query(kept->CreateEnumerator(),
                            excluded->CreateEnumerator());
  int suspensions = 0;
  for (;;) {
    int counter = 1000;
    if (query.Next(&counter) != nullptr) break;
    ASSERT_EQ(counter, 0) << "ended before its first word";
    ++suspensions;
  }
  EXPECT_EQ(suspensions, kWords / 1000);
  query.Reset();
  EXPECT_EQ(ReadAllInSlices(&query, 1000), (Words{"cat", "dog"}));
}

}  // namespace
}  // namespace vocor
