#include "dictionary/vocor_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_format.h"
#include "dictionary/vocor_word_endings.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ReadAll;

std::vector<std::string> ReadImage(const std::string& file) {
  CDictionaryVocorFile dict;
  if (!dict.OpenImage(FileImage::FromBytes(file))) return {"<not opened>"};
  EnumPtr all = dict.CreateEnumerator();
  return ReadAll(all.get());
}

// Checks every rule a reader relies on over the nodes reachable from the
// root, and returns how many distinct nodes there are.
int CheckTree(const std::string& file) {
  VocorHeader header;
  EXPECT_TRUE(ParseVocorHeader(file.data(), file.size(), &header));
  std::set<uint32_t> seen;
  std::vector<std::pair<uint32_t, int>> pending = {{header.root_offset, 0}};
  while (!pending.empty()) {
    const auto [offset, depth] = pending.back();
    pending.pop_back();
    EXPECT_LE(depth, kMaxWordLength);
    VocorNode node;
    EXPECT_TRUE(ReadVocorNode(file.data(), file.size(), offset, &node));
    EXPECT_LT(NodeBelowCount(node.word), kVocorCountLimit);
    seen.insert(offset);
    int previous_letter = 0;
    for (int i = 0; i < node.entry_count(); ++i) {
      const uint32_t entry = VocorEntry(file.data(), node, i);
      EXPECT_GT(EntryLetter(entry), previous_letter) << "ascending, distinct";
      previous_letter = EntryLetter(entry);
      pending.push_back({EntryChildOffset(entry), depth + 1});
    }
  }
  const uint32_t root_word = LoadLE32(file.data() + header.root_offset);
  EXPECT_EQ(static_cast<uint32_t>(header.word_count), NodeAllCount(root_word));
  EXPECT_EQ(header.size, static_cast<int32_t>(file.size()));
  return static_cast<int>(seen.size());
}

TEST(VocorFileWriterTest, TwoWordsGiveTheMinimalFileOfTheTable) {
  VocorFileInfo info;
  info.name = testing::kTwoWordName;
  std::string file, error;
  VocorFileStats stats;
  ASSERT_TRUE(BuildVocorFile({"at", "a"}, info, &file, &stats, &error));
  // Our layout puts each node before its children and the notes last, the
  // layout of the table, so the files agree to the byte.
  EXPECT_EQ(file, testing::TwoWordFileFromTable());
  EXPECT_EQ(stats.words, 2);
  EXPECT_EQ(stats.nodes, 3);
  EXPECT_EQ(stats.bytes, 309);
  EXPECT_EQ(ReadImage(file), (std::vector<std::string>{"a", "at"}));

  // Scored, the example of docs/dic-format.md: the section follows the
  // notes, and the header names it and counts it in the size.
  ASSERT_TRUE(
      BuildVocorFile({"at", "a"}, {40, 70}, info, &file, &stats, &error));
  std::string expected = testing::TwoWordFileFromTable();
  StoreLE32(expected.data() + 268, 319);
  StoreLE32(expected.data() + 280, 309);
  expected += std::string("\x53\x43\x4F\x52\x02\x00\x00\x00\x46\x28", 10);
  EXPECT_EQ(file, expected);
  EXPECT_EQ(stats.bytes, 319);
}

TEST(VocorFileWriterTest, HeaderFieldsAndUnreadBytes) {
  VocorFileInfo info;
  info.name = std::string(127, 'n');
  info.dictionary_version = 150;
  info.language = 0x0409;
  info.notes = "Compiled for tests.";
  std::string file, error;
  ASSERT_TRUE(
      BuildVocorFile({"one", "two", "three"}, info, &file, nullptr, &error));
  VocorHeader header;
  ASSERT_TRUE(ParseVocorHeader(file.data(), file.size(), &header));
  EXPECT_EQ(header.name, info.name);
  EXPECT_EQ(header.dictionary_version, 150);
  EXPECT_EQ(header.language, 0x0409u);
  EXPECT_EQ(header.notes, info.notes);
  EXPECT_EQ(header.word_count, 3);
  EXPECT_EQ(header.size, static_cast<int32_t>(file.size()));
  EXPECT_EQ(file.substr(22, 98), std::string(98, '\0'));
  EXPECT_EQ(file.substr(280, 4), std::string(4, '\0'));
  // The word endings come last, after the notes and the letter summaries.
  const uint32_t endings = LoadLE32(file.data() + kVocorEndingsOffsetOffset);
  EXPECT_GT(endings, LoadLE32(file.data() + kVocorNotesOffsetOffset));
  EXPECT_EQ(file.substr(endings, 4), "ENDS");
}

TEST(VocorFileWriterTest, SortsAndDropsDuplicates) {
  const std::string file =
      testing::CompileWords({"cats", "cat", "ca", "cat", "b", "a", "cats"});
  EXPECT_EQ(ReadImage(file),
            (std::vector<std::string>{"a", "b", "ca", "cat", "cats"}));
  VocorHeader header;
  ASSERT_TRUE(ParseVocorHeader(file.data(), file.size(), &header));
  EXPECT_EQ(header.word_count, 5);
}

TEST(VocorFileWriterTest, IdenticalSubtreesAreStoredOnce) {
  VocorFileStats stats;
  std::string file, error;
  ASSERT_TRUE(BuildVocorFile({"bat", "cat", "rat", "bats", "cats", "rats"},
                             VocorFileInfo(), &file, &stats, &error));
  // The root, then one node shared by b, c and r, its "a" child, the
  // terminal "t" node and the "s" leaf: five, where a plain trie has 13.
  EXPECT_EQ(stats.nodes, 5);
  EXPECT_EQ(CheckTree(file), 5);
  VocorHeader header;
  ASSERT_TRUE(ParseVocorHeader(file.data(), file.size(), &header));
  VocorNode root;
  ASSERT_TRUE(
      ReadVocorNode(file.data(), file.size(), header.root_offset, &root));
  ASSERT_EQ(root.entry_count(), 3);
  const uint32_t shared = EntryChildOffset(VocorEntry(file.data(), root, 0));
  EXPECT_EQ(EntryChildOffset(VocorEntry(file.data(), root, 1)), shared);
  EXPECT_EQ(EntryChildOffset(VocorEntry(file.data(), root, 2)), shared);
  EXPECT_EQ(ReadImage(file), (std::vector<std::string>{"bat", "bats", "cat",
                                                       "cats", "rat", "rats"}));
}

TEST(VocorFileWriterTest, SuffixesSharedOnlyWhenTheWholeSubtreeIsEqual) {
  // "ing" ends both, but under "sing" there is also "singer": the two
  // "ing" subtrees differ and must both be kept.
  const std::string file =
      testing::CompileWords({"sing", "singer", "ring", "bring"});
  EXPECT_EQ(ReadImage(file),
            (std::vector<std::string>{"bring", "ring", "sing", "singer"}));
  CheckTree(file);
}

TEST(VocorFileWriterTest, RandomListsReadBackSortedWithConsistentCounts) {
  std::mt19937 rng(77);
  for (int round = 0; round < 40; ++round) {
    auto words = testing::RandomWords(rng, "abcde", 1 + rng() % 200, 8);
    std::string file = testing::CompileWords(words);
    ASSERT_FALSE(file.empty());
    std::sort(words.begin(), words.end());
    words.erase(std::unique(words.begin(), words.end()), words.end());
    EXPECT_EQ(ReadImage(file), words);
    CheckTree(file);
  }
}

TEST(VocorFileWriterTest, EveryLetterAndTheLongestWord) {
  std::vector<std::string> words;
  // A node holds 127 entries at most, so the letters of the upper half
  // follow a "~" rather than standing beside the others at the root.
  for (int c = 1; c <= 126; ++c) words.emplace_back(1, static_cast<char>(c));
  for (int c = 128; c <= 255; ++c) {
    if (IsVocorLetter(c)) words.push_back("~" + std::string(1, char(c)));
  }
  const size_t letters = words.size();
  words.push_back(std::string(kMaxWordLength, 'z'));
  const std::string file = testing::CompileWords(words);
  ASSERT_FALSE(file.empty());
  // The root, the node after "~", one leaf shared by all the words' ends
  // and the 998 inner nodes of the chain of z.
  EXPECT_EQ(CheckTree(file), 1001);
  const auto read = ReadImage(file);
  ASSERT_EQ(read.size(), letters + 1);
  EXPECT_EQ(read.front(), "\x01");
  EXPECT_EQ(read.back(), "~\xff");  // ÿ, the last letter of the code page
  EXPECT_NE(std::find(read.begin(), read.end(), words.back()), read.end());
}

// One word for each of the first 128 letters a file may hold.
std::vector<std::string> EveryLetterAlone() {
  std::vector<std::string> words;
  for (int c = 1; c <= 255 && words.size() < 128; ++c) {
    if (IsVocorLetter(c)) words.emplace_back(1, static_cast<char>(c));
  }
  return words;
}

TEST(VocorFileWriterTest, RefusesWhatTheFormatCannotHold) {
  struct Case {
    std::vector<std::string> words;
    std::string name, notes;
  };
  const std::string long_word(kMaxWordLength + 1, 'a');
  const Case cases[] = {
      {{}, "", ""},
      {{"a", ""}, "", ""},
      {{"a", std::string("b\0c", 3)}, "", ""},
      {{"caf\xe9\xd7"}, "", ""},     // é is a letter, × is not
      {EveryLetterAlone(), "", ""},  // 128 entries in the root
      {{"del\x7f"}, "", ""},
      {{long_word}, "", ""},
      {{"a"}, std::string(128, 'n'), ""},
      {{"a"}, std::string("a\0b", 3), ""},
      {{"a"}, "", std::string("a\0b", 3)},
  };
  for (const Case& c : cases) {
    VocorFileInfo info;
    info.name = c.name;
    info.notes = c.notes;
    std::string file = "untouched", error;
    VocorFileStats stats;
    EXPECT_FALSE(BuildVocorFile(c.words, info, &file, &stats, &error));
    EXPECT_EQ(file, "untouched");
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

// A scored file is the unscored file of the same words with the section
// appended and two header fields set: an older reader, which reads
// neither field nor the bytes after the notes, sees the same dictionary.
TEST(VocorFileWriterTest, ScoresOnlyAppendTheSectionAndNameItInTheHeader) {
  std::mt19937 rng(5);
  for (int round = 0; round < 50; ++round) {
    const std::vector<std::string> words =
        testing::RandomWords(rng, "abcst", 1 + rng() % 40, 6);
    std::vector<uint8_t> scores;
    for (size_t i = 0; i < words.size(); ++i) {
      scores.push_back(static_cast<uint8_t>(1 + rng() % 100));
    }
    std::string plain, error;
    ASSERT_TRUE(BuildVocorFile(words,
                               VocorFileInfo{.name = "W", .notes = "notes"},
                               &plain, nullptr, &error));
    const std::string scored =
        testing::CompileScoredWords(words, scores, "W", "notes");
    VocorHeader header;
    ASSERT_TRUE(ParseVocorHeader(scored.data(), scored.size(), &header));
    const uint32_t section = LoadLE32(scored.data() + 280);
    ASSERT_EQ(section, plain.size());
    ASSERT_EQ(scored.size(), plain.size() + 8 + size_t(header.word_count));
    EXPECT_EQ(header.size, static_cast<int32_t>(scored.size()));
    EXPECT_EQ(scored.substr(section, 4), "SCOR");
    EXPECT_EQ(LoadLE32(scored.data() + section + 4),
              static_cast<uint32_t>(header.word_count));
    std::string as_before = scored.substr(0, plain.size());
    StoreLE32(as_before.data() + 268, static_cast<uint32_t>(plain.size()));
    StoreLE32(as_before.data() + 280, 0);
    ASSERT_EQ(as_before, plain);
    // The empty score list is the unscored overload.
    EXPECT_EQ(testing::CompileScoredWords(words, {}, "W", "notes"), plain);
  }
}

// Scores follow their words through sorting, and a repeated word keeps
// its highest score wherever it comes.
TEST(VocorFileWriterTest, ScoresAreStoredInWalkOrderWithTheHighestOfARepeat) {
  const std::string file = testing::CompileScoredWords(
      {"cats", "cat", "b", "cat", "a", "cats", "\xe9t\xe9", "z"},
      {10, 20, 30, 90, 40, 5, 70, 60});
  ASSERT_FALSE(file.empty());
  CDictionaryVocorFile dict;
  ASSERT_TRUE(dict.OpenImage(FileImage::FromBytes(file)));
  ASSERT_TRUE(dict.HasScores());
  EnumPtr all = dict.CreateEnumerator();
  std::vector<std::pair<std::string, int>> found;
  while (const char* word = all->Next(nullptr)) {
    found.emplace_back(word, all->Score());
  }
  // Bytes compare unsigned: \xe9 sorts after z.
  EXPECT_EQ(found,
            (std::vector<std::pair<std::string, int>>{{"a", 40},
                                                      {"b", 30},
                                                      {"cat", 90},
                                                      {"cats", 10},
                                                      {"z", 60},
                                                      {"\xe9t\xe9", 70}}));
  const uint32_t section = LoadLE32(file.data() + 280);
  EXPECT_EQ(file.substr(section + 8), std::string({40, 30, 90, 10, 60, 70}));
}

TEST(VocorFileWriterTest, RefusesScoresThatDoNotFitTheWords) {
  const std::vector<std::vector<uint8_t>> cases = {
      {50}, {50, 50, 50}, {50, 0}, {101, 50}, {50, 255}};
  for (const auto& scores : cases) {
    std::string file = "untouched", error;
    EXPECT_FALSE(
        BuildVocorFile({"a", "b"}, scores, {}, &file, nullptr, &error));
    EXPECT_EQ(file, "untouched");
    EXPECT_FALSE(error.empty());
  }
  std::string file, error;
  EXPECT_TRUE(BuildVocorFile({"a", "b"}, {kMinScore, kMaxScore}, {}, &file,
                             nullptr, &error))
      << error;
}

}  // namespace
}  // namespace vocor
