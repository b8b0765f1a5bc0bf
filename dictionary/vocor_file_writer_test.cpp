#include "dictionary/vocor_file_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "dictionary/testing/sample_dics.h"
#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_format.h"
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
  EXPECT_EQ(file.substr(22, 106), std::string(106, '\0'));
  EXPECT_EQ(file.substr(280, 4), std::string(4, '\0'));
  EXPECT_EQ(file.back(), '\0');
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
      {{"caf\xe9\xd7"}, "", ""},  // é is a letter, × is not
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

}  // namespace
}  // namespace vocor
