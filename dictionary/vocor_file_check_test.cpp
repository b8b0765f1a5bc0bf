#include "dictionary/vocor_file_check.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <utility>
#include <vector>

#include "dictionary/vocor_file_writer.h"

namespace vocor {
namespace {

using ::testing::HasSubstr;

// A node of a hand-made tree; entries name their child by its index in the
// node list, so that damaged shapes (cycles, repeated letters) can be made.
struct Node {
  bool terminal = false;
  uint32_t count = 0;
  std::vector<std::pair<int, int>> entries;  // child index, letter
};

std::string Patched(std::string file, size_t offset, uint32_t value) {
  for (int i = 0; i < 4; ++i) file[offset + i] = char(value >> (8 * i));
  return file;
}

// Lays the nodes out in order from offset 288 (node 0 is the root), then
// the notes, under a header that claims `word_count` words.
std::string Layout(const std::vector<Node>& nodes, int32_t word_count,
                   const std::string& notes = "") {
  std::vector<uint32_t> at;
  uint32_t end = 288;
  for (const Node& node : nodes) {
    at.push_back(end);
    end += 4 + 4 * uint32_t(node.entries.size());
  }
  std::string file(end + notes.size() + 1, '\0');
  file.replace(0, 21, "VOCOR Dictionary File");
  file.replace(128, 5, "Words");
  file.replace(end, notes.size(), notes);
  const std::pair<size_t, uint32_t> fields[] = {{256, 201},
                                                {260, 150},
                                                {264, 1033},
                                                {268, uint32_t(file.size())},
                                                {272, end},
                                                {276, 288},
                                                {284, uint32_t(word_count)}};
  for (auto [offset, value] : fields) file = Patched(file, offset, value);
  for (size_t i = 0; i < nodes.size(); ++i) {
    const Node& n = nodes[i];
    file = Patched(
        file, at[i],
        uint32_t(n.entries.size()) | (n.terminal ? 0x80 : 0) | n.count << 8);
    for (size_t e = 0; e < n.entries.size(); ++e) {
      const auto [child, letter] = n.entries[e];
      file = Patched(file, at[i] + 4 + 4 * e,
                     at[size_t(child)] | uint32_t(letter) << 24);
    }
  }
  return file;
}

// The words a and at.
std::vector<Node> TwoWords() {
  return {{false, 2, {{1, 'a'}}}, {true, 1, {{2, 't'}}}, {true, 0, {}}};
}

// `letters` a-edges from the root down to one terminal node.
std::vector<Node> Chain(int letters) {
  std::vector<Node> nodes;
  for (int i = 0; i < letters; ++i) nodes.push_back({false, 1, {{i + 1, 'a'}}});
  nodes.push_back({true, 0, {}});
  return nodes;
}

// Node i has two entries to node i+1, so the root stands for 2^levels
// words in levels + 1 nodes: a check that walked paths would never end.
std::vector<Node> Doubling(int levels) {
  std::vector<Node> nodes;
  for (int i = 0; i < levels; ++i) {
    nodes.push_back({false, 1u << (levels - i), {{i + 1, 'a'}, {i + 1, 'b'}}});
  }
  nodes.push_back({true, 0, {}});
  return nodes;
}

// Empty when the file is valid, else the checker's reason.
std::string ReasonFor(const std::string& file) {
  VocorFileFacts facts;
  std::string reason;
  if (CheckVocorFile(file, &facts, &reason)) return "";
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(reason.find('\n'), std::string::npos);
  return reason;
}

TEST(VocorFileCheckTest, MinimalFileByteForByte) {
  const std::string file = Layout(TwoWords(), 2);
  EXPECT_EQ(file.substr(288), std::string("\x01\x02\x00\x00\x28\x01\x00\x61"
                                          "\x81\x01\x00\x00\x30\x01\x00\x74"
                                          "\x80\x00\x00\x00\x00",
                                          21));
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(file, &facts, &reason)) << reason;
  EXPECT_EQ(facts.header.name, "Words");
  EXPECT_EQ(facts.header.format_version, 201);
  EXPECT_EQ(facts.header.dictionary_version, 150);
  EXPECT_EQ(facts.header.language, 1033u);
  EXPECT_EQ(facts.header.size, 309);
  EXPECT_EQ(facts.notes_offset, 308);
  EXPECT_EQ(facts.header.root_offset, 288);
  EXPECT_EQ(facts.header.word_count, 2);
  EXPECT_EQ(facts.nodes, 3);
  EXPECT_EQ(facts.longest_path, 2);
}

TEST(VocorFileCheckTest, AcceptsUnusualButLegalFiles) {
  const std::string good = Layout(TwoWords(), 2);
  std::string long_name = good;
  long_name.replace(128, 127, std::string(127, 'n'));
  const std::string files[] = {
      Layout({{true, 1, {{1, 'x'}}}, {true, 0, {}}}, 2),  // the empty word
      Layout({{false, 0, {}}}, 0),                        // no word at all
      Layout({{false, 2, {{1, 'a'}, {1, 'b'}}}, {true, 0, {}}}, 2),
      Layout({{false, 2, {{1, 126}, {1, 1}}}, {true, 0, {}}}, 2),
      // Windows-1252 letters of the upper half: é, ÿ, š
      Layout({{false, 3, {{1, 0xE9}, {1, 0xFF}, {1, 0x9A}}}, {true, 0, {}}},
             3),
      Layout(TwoWords(), 2, "Some notes"),
      Layout(Chain(999), 1),
      Patched(good, 260, 0xFFFFFFFF),  // any dictionary version
      Patched(good, 272, 30),          // notes among the unused bytes
      long_name,
  };
  for (const std::string& file : files) EXPECT_EQ(ReasonFor(file), "");
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(Layout(Doubling(22), 1 << 22), &facts, &reason));
  EXPECT_EQ(facts.nodes, 23);
}

TEST(VocorFileCheckTest, RejectsEachBrokenRule) {
  const std::string good = Layout(TwoWords(), 2);
  std::string no_nul = good;
  no_nul[21] = ' ';
  std::string long_name = good;
  long_name.replace(128, 128, std::string(128, 'n'));
  std::string open_notes = Layout(TwoWords(), 2, "n");
  open_notes.back() = 'x';
  auto tree = [](auto change) {
    std::vector<Node> nodes = TwoWords();
    change(nodes);
    return Layout(nodes, 2);
  };
  // The root reaches a 999-letter chain directly and, one letter deeper,
  // through a detour that meets the chain after it was proved.
  std::vector<Node> detour = Chain(999);
  detour[0] = {false, 2, {{1, 'a'}, {1000, 'b'}}};
  detour.push_back({false, 1, {{1, 'a'}}});

  const std::pair<std::string, const char*> cases[] = {
      {"", "header"},
      {good.substr(0, 287), "header"},
      {no_nul, "magic"},
      {Patched(good, 0, 0x434F5676), "magic"},
      {Patched(good, 256, 200), "format version"},
      {Patched(good, 256, 202), "format version"},
      {long_name, "name"},
      {Patched(good, 268, 308), "size field"},
      {Patched(good, 268, 0xFFFFFFFF), "size field"},
      {open_notes, "notes"},
      {Patched(good, 272, 309), "notes"},
      {Patched(good, 272, 0xFFFFFFFF), "notes"},
      {Patched(good, 276, 306), "outside the file"},
      {Patched(good, 276, 0x80000000), "root"},
      {Patched(good, 304, 0x81), "past the end"},
      {Patched(good, 300, 0x74FFFFFF), "outside the file"},
      {tree([](auto& n) { n[1].entries[0].second = 0; }), "letter 0"},
      {tree([](auto& n) { n[1].entries[0].second = 127; }), "letter 127"},
      {tree([](auto& n) { n[1].entries[0].second = 215; }), "letter 215"},
      {Layout({{false, 2, {{1, 'a'}, {2, 'b'}, {1, 'a'}}},
               {true, 0, {}},
               {false, 0, {}}},
              2),
       "earlier entry"},
      {tree([](auto& n) { n[1].count = 0; }), "count"},
      {tree([](auto& n) { n[2].terminal = false; }), "count"},
      {Layout(TwoWords(), 3), "header's word count"},
      {Layout(TwoWords(), -1), "header's word count"},
      {Layout(Doubling(23), 1 << 23), "not below 8388608"},
      {Layout(Chain(1000), 1), "longer than 999"},
      {Layout(detour, 2), "longer than 999"},
      {Layout({{false, 1, {{1, 'a'}}}, {true, 0, {{1, 'b'}}}}, 1), "cycle"},
      {Layout({{false, 1, {{1, 'a'}}}, {true, 0, {{0, 'b'}}}}, 1), "cycle"},
  };
  for (const auto& [file, reason] : cases) {
    EXPECT_THAT(ReasonFor(file), HasSubstr(reason));
  }
}

std::string Build(const std::vector<std::string>& words) {
  std::string file;
  VocorFileStats stats;
  std::string error;
  VocorFileInfo info;
  info.name = "Test";
  EXPECT_TRUE(BuildVocorFile(words, info, &file, &stats, &error)) << error;
  return file;
}

TEST(VocorFileCheckTest, AcceptsTheWritersOutput) {
  EXPECT_EQ(ReasonFor(Build({"cats", "bats", "cat", "bat"})), "");
  EXPECT_EQ(ReasonFor(Build({std::string(999, 'z'), "\x01", "~"})), "");
  std::mt19937 random(7);
  for (int round = 0; round < 20; ++round) {
    std::set<std::string> distinct;
    std::vector<std::string> words(1 + random() % 300);
    for (std::string& word : words) {
      word.resize(1 + random() % 8);
      for (char& c : word) c = char('a' + random() % 4);
      distinct.insert(word);
    }
    VocorFileFacts facts;
    std::string reason;
    ASSERT_TRUE(CheckVocorFile(Build(words), &facts, &reason)) << reason;
    EXPECT_EQ(facts.header.word_count, int(distinct.size()));
  }
}

// Under the sanitizers this proves that no damage makes the check read
// outside the file.
TEST(VocorFileCheckTest, SurvivesEveryByteChange) {
  const std::string good = Build({"a", "at", "cat", "cats", "dog"});
  for (size_t i = 0; i < good.size(); ++i) {
    for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::string file = good;
      file[i] = char(value);
      ReasonFor(file);
    }
  }
}

// The words a, at and cat scored 10, 20, 30; the section after the notes.
std::string Scored() {
  std::string file;
  std::string error;
  EXPECT_TRUE(BuildVocorFile({"cat", "a", "at"}, {30, 10, 20}, {}, &file,
                             nullptr, &error))
      << error;
  return file;
}

TEST(VocorFileCheckTest, ScoreSectionsAreCheckedWithTheirReasons) {
  const std::string good = Scored();
  const uint32_t section = LoadLE32(good.data() + 280);
  const size_t first = section + 8;
  VocorFileFacts facts;
  std::string reason;
  ASSERT_TRUE(CheckVocorFile(good, &facts, &reason)) << reason;
  EXPECT_EQ(facts.scores_offset, section);
  EXPECT_EQ(good.size(), first + 3);
  // A shorter file says so in its size field, so that only the section
  // check can object to it.
  auto cut = [&good](size_t length) {
    return Patched(good.substr(0, length), 268, uint32_t(length));
  };
  auto score = [&good, first](size_t i, char value) {
    std::string file = good;
    file[first + i] = value;
    return file;
  };
  const std::pair<std::string, const char*> cases[] = {
      {Patched(good, 280, uint32_t(good.size())), "cut off by the end"},
      {Patched(good, 280, uint32_t(good.size() + 1)),
       "does not lead to the marker SCOR"},
      {Patched(good, 280, 0xFFFFFFFF), "does not lead to the marker SCOR"},
      {Patched(good, 280, 100), "does not lead to the marker SCOR"},
      {Patched(good, 280, section + 1), "does not lead to the marker SCOR"},
      {Patched(good, section, 0x524F4353 ^ 1), "marker SCOR"},
      {cut(section + 6), "cut off by the end of the file"},
      {cut(section + 8), "runs past the end of the file"},
      {cut(first + 2), "runs past the end of the file"},
      {Patched(good, section + 4, 2), "holds 2 scores but the header says 3"},
      {Patched(good, section + 4, 4), "holds 4 scores but the header says 3"},
      {score(0, 0), "the score of word 1 is 0, outside 1..100"},
      {score(2, 101), "the score of word 3 is 101, outside 1..100"},
      {score(1, char(0xFF)), "the score of word 2 is 255"},
  };
  for (const auto& [file, expected] : cases) {
    EXPECT_THAT(ReasonFor(file), HasSubstr(expected));
  }
  EXPECT_EQ(ReasonFor(score(0, 1)), "");
  EXPECT_EQ(ReasonFor(score(0, 100)), "");
}

}  // namespace
}  // namespace vocor
