#include "dictionary/vocor_file_dictionary.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "dictionary/testing/dic_assembler.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "engine/pattern.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

using testing::DicAssembler;
using testing::ReadAll;
using testing::ReadAllInSlices;
using Words = std::vector<std::string>;

class VocorFileTest : public ::testing::Test {
 protected:
  // Opens `image` in a dictionary that lives as long as the test.
  CDictionaryVocorFile& Open(const std::string& image) {
    dicts_.push_back(std::make_unique<CDictionaryVocorFile>());
    EXPECT_TRUE(dicts_.back()->OpenImage(FileImage::FromBytes(image)));
    return *dicts_.back();
  }

  // The a/at/cat dictionary the edge cases talk about.
  CDictionaryVocorFile& ACat() {
    return Open(testing::CompileWords({"a", "at", "cat"}, "Words"));
  }

  static bool Opens(const std::string& image) {
    CDictionaryVocorFile dict;
    return dict.OpenImage(FileImage::FromBytes(image));
  }

  static Words Query(const CDictionaryVocorFile& dict, const char* pattern,
                     const char* min_text = nullptr,
                     const char* max_text = nullptr) {
    EnumPtr q = dict.CreateEnumerator();
    q = q->Pattern(std::move(q), pattern);
    q = q->Letters(std::move(q), CLetterConstraint(min_text, max_text));
    return ReadAll(q.get());
  }

  testing::ScratchDir dir_;
  std::vector<std::unique_ptr<CDictionaryVocorFile>> dicts_;
};

// ---- Opening and the header ----

// (word, score) pairs of a whole walk.
std::vector<std::pair<std::string, int>> ScoredWalk(
    const CDictionaryVocorFile& dict) {
  std::vector<std::pair<std::string, int>> found;
  EnumPtr e = dict.CreateEnumerator();
  while (const char* word = e->Next(nullptr)) {
    found.emplace_back(word, e->Score());
  }
  return found;
}

// Scores at the end of a file too large to be read in one go stay on disk
// until a score is asked for: what the file holds then is what the walk
// reads. A file cut short by then keeps its words and loses its scores.
TEST_F(VocorFileTest, ScoresAtTheEndOfALargeFileAreReadOnFirstUse) {
  const Words words = {"a", "at", "cat", "cats", "dog"};
  const std::string notes(3 << 20, 'n');  // pushes the scores past 1 MiB
  const std::string file =
      testing::CompileScoredWords(words, {10, 20, 30, 40, 50}, "Big", notes);
  const std::string path = dir_.Write("big.dic", file);
  std::string rescored = file;
  for (int i = 1; i <= 5; ++i) rescored[file.size() - i] = char(90 + i);

  CDictionaryVocorFile dict;
  ASSERT_TRUE(dict.SetFileName(path.c_str()));
  ASSERT_TRUE(dict.Open());
  EXPECT_TRUE(dict.HasScores());
  EXPECT_EQ(dict.GetNotes(), notes);
  dir_.Write("big.dic", rescored);  // same size, other scores
  const std::vector<std::pair<std::string, int>> expected = {
      {"a", 95}, {"at", 94}, {"cat", 93}, {"cats", 92}, {"dog", 91}};
  EXPECT_EQ(ScoredWalk(dict), expected);
  EXPECT_FALSE(dict.DamageSeen());
  CDictionaryVocorFile whole;
  ASSERT_TRUE(whole.OpenImage(FileImage::FromBytes(rescored)));
  EXPECT_EQ(ScoredWalk(whole), expected);

  CDictionaryVocorFile cut;
  ASSERT_TRUE(cut.SetFileName(path.c_str()));
  ASSERT_TRUE(cut.Open());
  dir_.Write("big.dic", file.substr(0, file.size() - 1));
  ScoreCounts counts{};
  EnumPtr e = cut.CreateEnumerator();
  e->CountScores(&counts);
  EXPECT_EQ(counts[kDefaultScore], 5);
  EXPECT_EQ(ScoredWalk(cut),
            (std::vector<std::pair<std::string, int>>{
                {"a", 50}, {"at", 50}, {"cat", 50}, {"cats", 50}, {"dog", 50}}));
  EXPECT_TRUE(cut.DamageSeen());
  EXPECT_FALSE(cut.HasScores());
}

TEST_F(VocorFileTest, TwoWordFileFromTheTableOpensFromDisk) {
  const std::string path =
      dir_.Write("two.dic", testing::TwoWordFileFromTable());
  CDictionaryVocorFile dict;
  EXPECT_STREQ(dict.GetTypeName(), "VocorFile");
  ASSERT_TRUE(dict.SetFileName(path.c_str()));
  ASSERT_TRUE(dict.Open());
  EXPECT_TRUE(dict.IsOpen());
  EXPECT_STREQ(dict.GetFileName(), path.c_str());
  EXPECT_STREQ(dict.GetName(), testing::kTwoWordName);
  EXPECT_EQ(dict.GetWordCount(), 2);
  EXPECT_EQ(dict.GetSize(), 309);
  EXPECT_EQ(dict.GetLanguage(), 0u);
  EXPECT_EQ(dict.GetNotes(), "");
  EXPECT_EQ(dict.GetFormatVersion(), 201);
  EXPECT_EQ(dict.GetDictionaryVersion(), 100);
  EnumPtr all = dict.CreateEnumerator();
  EXPECT_EQ(ReadAll(all.get()), (Words{"a", "at"}));
  EXPECT_EQ(all->GetExtent(), 2);
}

TEST_F(VocorFileTest, HeaderChecks) {
  const std::string good = testing::TwoWordFileFromTable();
  auto with = [&good](size_t offset, const std::string& bytes) {
    std::string file = good;
    file.replace(offset, bytes.size(), bytes);
    return file;
  };
  auto with32 = [&good](size_t offset, uint32_t value) {
    std::string file = good;
    StoreLE32(file.data() + offset, value);
    return file;
  };
  EXPECT_TRUE(Opens(good));
  // Magic: compared whole, its NUL included.
  EXPECT_FALSE(Opens(with(21, " ")));
  EXPECT_FALSE(Opens(with(0, "v")));
  // Format version 201 only; the dictionary version is not checked.
  EXPECT_FALSE(Opens(with32(256, 200)));
  EXPECT_FALSE(Opens(with32(256, 202)));
  EXPECT_FALSE(Opens(with32(256, static_cast<uint32_t>(-201))));
  EXPECT_TRUE(Opens(with32(260, 0)));
  EXPECT_TRUE(Opens(with32(260, static_cast<uint32_t>(-1))));
  EXPECT_TRUE(Opens(with32(260, 123456)));
  // The name must end inside its 128 bytes.
  EXPECT_TRUE(Opens(with(128, std::string(127, 'n'))));
  EXPECT_FALSE(Opens(with(128, std::string(128, 'n'))));
  // Notes: inside the file and NUL-terminated before its end.
  EXPECT_TRUE(Opens(with32(272, 300)));  // lands on entry bytes with a NUL
  EXPECT_FALSE(Opens(with32(272, 309)));
  EXPECT_FALSE(Opens(with32(272, static_cast<uint32_t>(-1))));
  EXPECT_FALSE(Opens(with(308, "x")));
  // Root: its node word inside the file.
  EXPECT_FALSE(Opens(with32(276, 306)));
  EXPECT_FALSE(Opens(with32(276, 309)));
  EXPECT_FALSE(Opens(with32(276, static_cast<uint32_t>(-4))));
  EXPECT_FALSE(Opens(with32(276, 0x7fffffff)));
  // Shorter than the header.
  EXPECT_FALSE(Opens(""));
  EXPECT_FALSE(Opens(good.substr(0, 287)));
  EXPECT_FALSE(Opens(std::string(kVocorMagic, kVocorMagicSize)));
}

TEST_F(VocorFileTest, FilesThatCannotBeOpened) {
  CDictionaryVocorFile dict;
  EXPECT_FALSE(dict.Open());  // no path
  dict.SetFileName((dir_.path() + "/missing.dic").c_str());
  EXPECT_FALSE(dict.Open());
  dict.SetFileName(dir_.path().c_str());
  EXPECT_FALSE(dict.Open());
  dict.SetFileName(dir_.Write("list.txt", "a\nat\n").c_str());
  EXPECT_FALSE(dict.Open());
  EXPECT_FALSE(dict.IsOpen());
  EXPECT_FALSE(dict.OpenImage(nullptr));

  // 2 GiB: a sparse file, refused by its size before anything is read.
  const std::string huge =
      dir_.Write("huge.dic", testing::TwoWordFileFromTable());
  ASSERT_EQ(
      ::truncate(huge.c_str(), static_cast<off_t>(kMaxDictionaryFileSize)), 0);
  dict.SetFileName(huge.c_str());
  EXPECT_FALSE(dict.Open());
}

TEST_F(VocorFileTest, FileNameAndOpenState) {
  CDictionaryVocorFile dict;
  EXPECT_TRUE(dict.SetFileName(nullptr));
  EXPECT_STREQ(dict.GetFileName(), "");
  const std::string path =
      dir_.Write("two.dic", testing::TwoWordFileFromTable());
  EXPECT_TRUE(dict.SetFileName(path.c_str()));
  ASSERT_TRUE(dict.Open());
  EXPECT_TRUE(dict.Open());  // already open
  EXPECT_FALSE(dict.SetFileName("/elsewhere.dic"));
  EXPECT_FALSE(
      dict.OpenImage(FileImage::FromBytes(testing::TwoWordFileFromTable())));
  EXPECT_STREQ(dict.GetFileName(), path.c_str());
  dict.Close();
  EXPECT_FALSE(dict.IsOpen());
  EXPECT_STREQ(dict.GetName(), "");
  EXPECT_EQ(dict.GetWordCount(), 0);
  EXPECT_TRUE(dict.SetFileName("/elsewhere.dic"));
}

TEST_F(VocorFileTest, RegistryRoundTrip) {
  ScratchHome home;
  const char* key = "Software\\Vocor\\Test\\Dictionaries\\0";
  CDictionaryVocorFile saved;
  saved.SetFileName("/data/words.dic");
  ASSERT_TRUE(saved.SaveToRegistry(kCurrentUser, key));
  std::string type;
  ASSERT_TRUE(ReadRegString(kCurrentUser, key, "Type", &type));
  EXPECT_EQ(type, "VocorFile");
  const int saved_id = saved.id();
  {
    CDictionaryVocorFile loaded;
    // The id is held by `saved`, so `loaded` keeps its own.
    EXPECT_TRUE(loaded.LoadFromRegistry(kCurrentUser, key));
    EXPECT_STREQ(loaded.GetFileName(), "/data/words.dic");
    EXPECT_NE(loaded.id(), saved_id);
  }
  EXPECT_FALSE(CDictionaryVocorFile().LoadFromRegistry(
      kCurrentUser, "Software\\Vocor\\Test\\Missing"));
  CloseSettingsStore();
}

TEST_F(VocorFileTest, ClonesShareTheFileAndOutliveEachOthersClose) {
  const std::string path =
      dir_.Write("two.dic", testing::TwoWordFileFromTable());
  auto dict = std::make_unique<CDictionaryVocorFile>();
  dict->SetFileName(path.c_str());
  ASSERT_TRUE(dict->Open());
  std::unique_ptr<CDictionary> clone = dict->Clone();
  EXPECT_NE(clone->id(), dict->id());
  EnumPtr early = dict->CreateEnumerator();
  dict->Close();
  std::filesystem::remove(path);
  ASSERT_TRUE(clone->IsOpen());
  EXPECT_STREQ(clone->GetName(), testing::kTwoWordName);
  EnumPtr late = clone->CreateEnumerator();
  clone.reset();
  dict.reset();
  EXPECT_EQ(ReadAll(early.get()), (Words{"a", "at"}));
  EXPECT_EQ(ReadAll(late.get()), (Words{"a", "at"}));
}

TEST_F(VocorFileTest, ClosedDictionaryGivesAnEmptyReader) {
  CDictionaryVocorFile dict;
  EnumPtr e = dict.CreateEnumerator();
  EXPECT_EQ(e->Next(nullptr), nullptr);
  EXPECT_EQ(e->GetExtent(), 1);
  EXPECT_EQ(e->GetPosition(), 0);
  EXPECT_FALSE(e->Contains("a"));
  EXPECT_EQ(e->Describe(0),
            "DictionaryVocorFilePatternLetters(\"\",\"*\",\"<null>\","
            "\"<null>\")\n");
}

// ---- Walking ----

TEST_F(VocorFileTest, WalkOrderAndProgressWithoutConstraints) {
  EnumPtr e = ACat().CreateEnumerator();
  EXPECT_EQ(e->GetExtent(), 3);
  Words words;
  int last = 0;
  for (;;) {
    int counter = 1;
    const char* w = e->Next(&counter);
    EXPECT_GE(e->GetPosition(), last);
    EXPECT_LE(e->GetPosition(), 3);
    last = e->GetPosition();
    if (w != nullptr) words.push_back(w);
    if (w == nullptr && counter != 0) break;
  }
  EXPECT_EQ(words, (Words{"a", "at", "cat"}));
}

TEST_F(VocorFileTest, LiteralPatternEntersOneChildAndCountsTheRest) {
  EnumPtr e = ACat().CreateEnumerator();
  e = e->Pattern(std::move(e), "c?t");
  int counter = 1;
  EXPECT_EQ(e->Next(&counter), nullptr);
  EXPECT_EQ(counter, 0);
  EXPECT_EQ(e->GetPosition(), 2);  // a and at passed unvisited
  EXPECT_EQ(ReadAll(e.get()), (Words{"cat"}));
  EXPECT_EQ(e->GetPosition(), 3);
}

TEST_F(VocorFileTest, QuestionMarksCountShortWordsAsPassed) {
  EnumPtr e = ACat().CreateEnumerator();
  e = e->Pattern(std::move(e), "??");
  EXPECT_EQ(ReadAll(e.get()), (Words{"at"}));
  EXPECT_EQ(e->GetPosition(), 3);
}

TEST_F(VocorFileTest, LetterConstraintsSteerTheWalk) {
  const CDictionaryVocorFile& dict = ACat();
  EXPECT_EQ(Query(dict, "*", nullptr, "at"), (Words{"a", "at"}));
  EXPECT_EQ(Query(dict, "*", nullptr, "at?"), (Words{"a", "at", "cat"}));
  EXPECT_EQ(Query(dict, "*", "c"), (Words{"cat"}));
  // The last letter of a word counts toward the minimums.
  EXPECT_EQ(Query(dict, "c?t", "t"), (Words{"cat"}));
  EXPECT_EQ(Query(dict, "*", "?"), (Words{"a", "at", "cat"}));
  EXPECT_EQ(Query(dict, "*", "??"), (Words{"at", "cat"}));
  EXPECT_EQ(Query(dict, "*", "a?", "a?"), (Words{"at"}));
  EXPECT_EQ(Query(dict, "?*", "t", "tac"), (Words{"at", "cat"}));
}

TEST_F(VocorFileTest, PatternPushDownFollowsThePatternNodeRules) {
  const CDictionaryVocorFile& dict = ACat();
  EnumPtr e = dict.CreateEnumerator();
  CEnumResults* reader = e.get();
  e = e->Pattern(std::move(e), "*");
  EXPECT_EQ(e.get(), reader);
  e = e->Pattern(std::move(e), "***");
  EXPECT_EQ(e.get(), reader);
  e = e->Pattern(std::move(e), "c?t");
  EXPECT_EQ(e.get(), reader);
  e = e->Pattern(std::move(e), "???");
  EXPECT_EQ(e->Describe(0),
            "Pattern(\"???\")\n"
            "\tDictionaryVocorFilePatternLetters(\"Words\",\"c?t\",\"<null>\","
            "\"<null>\")\n");
  EXPECT_EQ(ReadAll(e.get()), (Words{"cat"}));

  EnumPtr f = dict.CreateEnumerator();
  f = f->Pattern(std::move(f), "???");
  f = f->Pattern(std::move(f), "c?t");  // more selective: replaces ???
  EXPECT_EQ(f->Describe(0),
            "Pattern(\"???\")\n"
            "\tDictionaryVocorFilePatternLetters(\"Words\",\"c?t\",\"<null>\","
            "\"<null>\")\n");

  EnumPtr g = dict.CreateEnumerator();
  g = g->Pattern(std::move(g), "c?t");
  g = g->Pattern(std::move(g), "?a??");
  EXPECT_TRUE(IsNone(g.get()));
  EnumPtr h = dict.CreateEnumerator();
  h = h->Pattern(std::move(h), "");
  EXPECT_TRUE(IsNone(h.get()));
}

TEST_F(VocorFileTest, LettersPushDownCombinesConstraints) {
  const CDictionaryVocorFile& dict = ACat();
  EnumPtr e = dict.CreateEnumerator();
  CEnumResults* reader = e.get();
  e = e->Letters(std::move(e), CLetterConstraint());
  EXPECT_EQ(e.get(), reader);
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, "act?"));
  e = e->Letters(std::move(e), CLetterConstraint("t", "acty"));
  EXPECT_EQ(e.get(), reader);
  EXPECT_EQ(e->Describe(1),
            "\tDictionaryVocorFilePatternLetters(\"Words\",\"*\",\"t\","
            "\"act\")\n");
  EXPECT_EQ(ReadAll(e.get()), (Words{"at", "cat"}));
  e = e->Letters(std::move(e), CLetterConstraint("tt", nullptr));
  EXPECT_TRUE(IsNone(e.get()));
}

TEST_F(VocorFileTest, DescribeOfAFreshReader) {
  EnumPtr e = ACat().CreateEnumerator();
  EXPECT_EQ(e->Describe(0),
            "DictionaryVocorFilePatternLetters(\"Words\",\"*\",\"<null>\","
            "\"<null>\")\n");
}

TEST_F(VocorFileTest, SuspendsAtCounterZeroAndResumes) {
  const CDictionaryVocorFile& dict =
      Open(testing::CompileWords(testing::SampleWords()));
  EnumPtr whole = dict.CreateEnumerator();
  const Words expected = ReadAll(whole.get());
  EnumPtr e = dict.CreateEnumerator();
  int zero = 0;
  EXPECT_EQ(e->Next(&zero), nullptr);
  EXPECT_EQ(zero, 0);
  int suspensions = 0;
  EXPECT_EQ(ReadAllInSlices(e.get(), 1, &suspensions), expected);
  EXPECT_GT(suspensions, static_cast<int>(expected.size()));
  int after = 5;
  EXPECT_EQ(e->Next(&after), nullptr);  // exhausted, not suspended
  EXPECT_GT(after, 0);
}

TEST_F(VocorFileTest, ResetMidWalkGivesBackTakenLetters) {
  const CDictionaryVocorFile& dict =
      Open(testing::CompileWords(testing::SampleWords()));
  EnumPtr e = dict.CreateEnumerator();
  e = e->Letters(std::move(e), CLetterConstraint("a", "aeilnorst?"));
  EnumPtr copy = e->Clone();
  const Words first = ReadAll(copy.get());
  ASSERT_GT(first.size(), 3u);
  for (int steps = 1; steps < 60; ++steps) {
    int counter = steps;
    while (e->Next(&counter) != nullptr) {
    }
    e->Reset();
    EXPECT_EQ(e->GetPosition(), 0);
    ASSERT_EQ(ReadAll(e.get()), first) << "reset after " << steps << " units";
    e->Reset();
  }
}

TEST_F(VocorFileTest, CloneAndContainsUseTheConstraintAsBuilt) {
  const CDictionaryVocorFile& dict = ACat();
  EnumPtr e = dict.CreateEnumerator();
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, "act"));
  // Take letters: stop deep inside the walk.
  int counter = 4;
  while (e->Next(&counter) != nullptr) {
  }
  EXPECT_TRUE(e->Contains("cat"));
  EXPECT_TRUE(e->Contains("at"));
  EnumPtr clone = e->Clone();
  EXPECT_EQ(clone->GetPosition(), 0);
  EXPECT_EQ(ReadAll(clone.get()), (Words{"a", "at", "cat"}));
}

TEST_F(VocorFileTest, ContainsLooksWordsUpLiterally) {
  const CDictionaryVocorFile& dict =
      Open(testing::CompileWords(testing::SampleWords()));
  EnumPtr e = dict.CreateEnumerator();
  for (const std::string& w : testing::SampleWords()) {
    EXPECT_TRUE(e->Contains(w.c_str())) << w;
  }
  EXPECT_FALSE(e->Contains(""));
  EXPECT_FALSE(e->Contains("ca"));     // prefix only
  EXPECT_FALSE(e->Contains("catss"));  // past a leaf
  EXPECT_FALSE(e->Contains("c?t"));    // no wildcards in a lookup
  EXPECT_FALSE(e->Contains("c*"));
  EXPECT_FALSE(e->Contains("Cat"));
  e = e->Pattern(std::move(e), "?at*");
  e = e->Letters(std::move(e), CLetterConstraint(nullptr, "abcrst"));
  EXPECT_TRUE(e->Contains("cats"));
  EXPECT_TRUE(e->Contains("bat"));
  EXPECT_FALSE(e->Contains("eat"));  // letters
  EXPECT_FALSE(e->Contains("at"));   // pattern
  EXPECT_FALSE(e->Contains("catalogue"));
}

// ---- Trees the writer does not make ----

TEST_F(VocorFileTest, WideLeafAndEmptyNodes) {
  DicAssembler wide;
  const uint32_t leaf = wide.Node(true, {});
  testing::DicEntries entries;
  for (int c = 1; c <= 127; ++c) entries.emplace_back(c, leaf);
  const CDictionaryVocorFile& dict =
      Open(wide.Finish(wide.Node(false, entries)));
  EnumPtr e = dict.CreateEnumerator();
  const Words words = ReadAll(e.get());
  ASSERT_EQ(words.size(), 127u);
  EXPECT_EQ(words.front(), "\x01");
  EXPECT_EQ(words.back(), "\x7f");
  EXPECT_EQ(e->GetPosition(), 127);
  EXPECT_EQ(Query(dict, "?").size(), 127u);
  EXPECT_EQ(Query(dict, "z"), (Words{"z"}));
  EXPECT_TRUE(e->Contains("\x7f"));

  // An empty node (no entries, not terminal) holds no word, as a child or
  // as the root.
  DicAssembler hollow;
  const uint32_t empty = hollow.Node(false, {});
  const uint32_t t = hollow.Node(true, {});
  const CDictionaryVocorFile& with_empty =
      Open(hollow.Finish(hollow.Node(false, {{'a', empty}, {'b', t}})));
  EXPECT_EQ(Query(with_empty, "*"), (Words{"b"}));
  EXPECT_EQ(Query(with_empty, "?"), (Words{"b"}));
  DicAssembler nothing;
  const CDictionaryVocorFile& no_words =
      Open(nothing.Finish(nothing.Node(false, {})));
  EnumPtr none = no_words.CreateEnumerator();
  EXPECT_EQ(none->Next(nullptr), nullptr);
  EXPECT_EQ(none->GetExtent(), 1);
}

TEST_F(VocorFileTest, SharedSubtreesAreWalkedOncePerPath) {
  DicAssembler dic("Shared");
  const uint32_t t = dic.Node(true, {});
  const uint32_t at = dic.Node(false, {{'t', t}});
  const uint32_t shared = dic.Node(false, {{'a', at}});
  const CDictionaryVocorFile& dict = Open(dic.Finish(
      dic.Node(false, {{'b', shared}, {'c', shared}, {'r', shared}})));
  EXPECT_EQ(Query(dict, "*"), (Words{"bat", "cat", "rat"}));
  EXPECT_EQ(Query(dict, "c*"), (Words{"cat"}));
  EXPECT_EQ(Query(dict, "?a?"), (Words{"bat", "cat", "rat"}));
  EXPECT_EQ(Query(dict, "*", "b"), (Words{"bat"}));
  EXPECT_EQ(Query(dict, "*", nullptr, "crat"), (Words{"cat", "rat"}));
  EnumPtr e = dict.CreateEnumerator();
  EXPECT_TRUE(e->Contains("rat"));
  ReadAll(e.get());
  EXPECT_EQ(e->GetPosition(), 3);
}

// Every node of a 20-level lattice leads to the next by both a and b: 2^20
// paths through 20 shared nodes, every string of a and b up to 20 letters
// long a word. Below a node reached in an automaton state already found
// to hold no match the walk never looks again, so a query without many
// matches costs a few units per (node, state) pair instead of one per path.
TEST_F(VocorFileTest, SharedSubtreesAreNotWalkedAgainInVain) {
  constexpr int kLevels = 20;
  DicAssembler dic("Lattice");
  uint32_t node = dic.Node(true, {});
  for (int level = 1; level < kLevels; ++level) {
    node = dic.Node(true, {{'a', node}, {'b', node}});
  }
  const CDictionaryVocorFile& dict =
      Open(dic.Finish(dic.Node(false, {{'a', node}, {'b', node}})));
  struct Case {
    const char* pattern;
    const char* max_text;
    Words expected;
  };
  const Case cases[] = {
      {"*x*", nullptr, {}},
      {"*a?x", nullptr, {}},
      {"*ba", "b*", {}},  // a constraint that keeps no count
      {"b?a", nullptr, {"baa", "bba"}},
      {"{ab}", nullptr, {"ab", "ba"}},
      {"[^ab]*", nullptr, {}},
  };
  for (const Case& c : cases) {
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), c.pattern);
    e = e->Letters(std::move(e), CLetterConstraint(nullptr, c.max_text));
    Words found;
    int units = 0;
    for (;;) {
      int counter = 1000;
      const char* word = e->Next(&counter);
      units += 1000 - counter;
      if (word != nullptr) {
        found.emplace_back(word);
      } else if (counter != 0 || units > 100'000) {
        break;
      }
    }
    EXPECT_EQ(found, c.expected) << c.pattern;
    EXPECT_LT(units, 2000) << c.pattern;
    EXPECT_EQ(e->GetPosition(), e->GetExtent()) << c.pattern;
  }
}

TEST_F(VocorFileTest, LetterZeroNeverMatches) {
  DicAssembler dic;
  const uint32_t leaf = dic.Node(true, {});
  const CDictionaryVocorFile& dict =
      Open(dic.Finish(dic.Node(false, {{0, leaf}, {'a', leaf}})));
  EXPECT_EQ(Query(dict, "*"), (Words{"a"}));
  EXPECT_EQ(Query(dict, "?"), (Words{"a"}));
}

// Appends a chain of `length` letters ending in a terminal node; returns
// the chain's first node.
uint32_t Chain(DicAssembler* dic, int length) {
  uint32_t node = dic->Node(true, {});
  for (int i = 0; i < length; ++i) node = dic->Node(false, {{'q', node}});
  return node;
}

TEST_F(VocorFileTest, PathsStopAtTheWordBuffer) {
  DicAssembler fits;
  const CDictionaryVocorFile& longest =
      Open(fits.Finish(Chain(&fits, kMaxWordLength)));
  EXPECT_EQ(Query(longest, "*"), (Words{std::string(kMaxWordLength, 'q')}));

  DicAssembler deep;
  const CDictionaryVocorFile& too_deep =
      Open(deep.Finish(Chain(&deep, kMaxWordLength + 1)));
  EnumPtr e = too_deep.CreateEnumerator();
  EXPECT_EQ(ReadAll(e.get()), Words{});
  EXPECT_EQ(Query(too_deep, "q*"), Words{});
}

TEST_F(VocorFileTest, CyclesEndTheWalk) {
  // Two nodes pointing at each other with counts that add up: the walk
  // goes round until the path is too long, then ends.
  DicAssembler dic;
  const uint32_t first = kVocorHeaderSize, second = first + 8;
  dic.RawNode(MakeNodeWord(1, false, 1), {{'x', second}});
  dic.RawNode(MakeNodeWord(1, false, 1), {{'y', first}});
  const CDictionaryVocorFile& dict = Open(dic.Finish(first));
  for (const char* pattern : {"*", "x*", "*y", "?*?", "*x*y*"}) {
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), pattern);
    int units = 0;
    int counter = 0;
    const char* word;
    do {
      counter = 1000;
      word = e->Next(&counter);
      units += 1000 - counter;
      ASSERT_EQ(word, nullptr);
    } while (counter == 0 && units < 10'000'000);
    EXPECT_LT(units, 10'000'000) << pattern;
  }
  EnumPtr e = dict.CreateEnumerator();
  EXPECT_FALSE(e->Contains(std::string(5000, 'x').c_str()));
  EXPECT_FALSE(e->Contains("xyxyxyxy"));
}

TEST_F(VocorFileTest, DamageEndsTheWalkAfterTheWordsBeforeIt) {
  DicAssembler dic;
  const uint32_t leaf = dic.Node(true, {});
  // The c-child's counts claim a word that is not there.
  const uint32_t liar = dic.RawNode(MakeNodeWord(0, false, 1), {});
  const uint32_t good = dic.Node(false, {{'t', leaf}});
  const CDictionaryVocorFile& dict = Open(
      dic.Finish(dic.Node(false, {{'a', good}, {'c', liar}, {'d', leaf}})));
  EXPECT_EQ(Query(dict, "d"), (Words{"d"}));  // never reaches the damage
  EXPECT_FALSE(dict.DamageSeen());
  EXPECT_EQ(Query(dict, "*"), (Words{"at"}));
  // The walk ended early, and the dictionary says why.
  EXPECT_TRUE(dict.DamageSeen());
}

TEST_F(VocorFileTest, DamageIsSeenByPatternWalksLookupsAndClones) {
  DicAssembler dic;
  const uint32_t leaf = dic.Node(true, {});
  const uint32_t liar = dic.RawNode(MakeNodeWord(0, false, 1), {});
  const std::string image =
      dic.Finish(dic.Node(false, {{'a', leaf}, {'c', liar}}));
  const CDictionaryVocorFile& walked = Open(image);
  std::unique_ptr<CDictionary> clone = walked.Clone();
  EXPECT_EQ(Query(walked, "?*"), (Words{"a"}));
  EXPECT_TRUE(static_cast<CDictionaryVocorFile*>(clone.get())->DamageSeen());

  // A lookup that meets a child outside the file.
  DicAssembler outside;
  const uint32_t end = outside.Node(true, {});
  const CDictionaryVocorFile& looked_up = Open(outside.Finish(outside.RawNode(
      MakeNodeWord(2, false, 2), {{'a', end}, {'c', 0xFFFF00}})));
  EXPECT_FALSE(looked_up.DamageSeen());
  EnumPtr e = looked_up.CreateEnumerator();
  EXPECT_FALSE(e->Contains("ct"));
  EXPECT_TRUE(looked_up.DamageSeen());
  EXPECT_FALSE(CDictionaryVocorFile().DamageSeen());  // closed
}

TEST_F(VocorFileTest, AlternatingStarsWalkEachWordOnce) {
  // Every way of placing the stars used to be walked, and each word came
  // out once per way: exponential in the number of stars.
  std::vector<std::string> words;
  for (int n = 1; n <= 12; ++n) {
    words.push_back(std::string(n, 'a'));
    words.push_back(std::string(n - 1, 'a') + "b");
  }
  const CDictionaryVocorFile& dict = Open(testing::CompileWords(words, "ab"));
  Words expected;
  for (const std::string& w : ReadAll(dict.CreateEnumerator().get())) {
    if (w.size() >= 5) expected.push_back(w);
  }
  EXPECT_EQ(Query(dict, "*?*?*?*?*?*"), expected);
  EXPECT_EQ(Query(dict, "?*?*?*?*?*"), expected);
  std::string long_run;
  for (int i = 0; i < 500; ++i) long_run += "?*";
  EXPECT_EQ(Query(dict, long_run.c_str()), Words{});
}

// ---- Progress ----

TEST_F(VocorFileTest, ProgressIsMonotonicAndClamped) {
  std::mt19937 rng(99);
  for (int round = 0; round < 30; ++round) {
    const Words words = testing::RandomWords(rng, "abcd", 1 + rng() % 60, 6);
    const CDictionaryVocorFile& dict = Open(testing::CompileWords(words));
    for (const char* pattern :
         {"*", "a*", "*b", "?*?", "**", "*a*b*", "??", "?b??", "c*d*"}) {
      EnumPtr e = dict.CreateEnumerator();
      e = e->Pattern(std::move(e), pattern);
      if (IsNone(e.get())) continue;
      int last = 0;
      for (;;) {
        int counter = 1;
        const char* w = e->Next(&counter);
        ASSERT_GE(e->GetPosition(), last) << pattern;
        ASSERT_LE(e->GetPosition(), e->GetExtent()) << pattern;
        last = e->GetPosition();
        if (w == nullptr && counter != 0) break;
      }
    }
  }
  // A header that claims fewer words than the tree holds.
  std::string lying = testing::CompileWords({"a", "b", "c", "d"});
  StoreLE32(lying.data() + kVocorWordCountOffset, 2);
  EnumPtr e = Open(lying).CreateEnumerator();
  EXPECT_EQ(ReadAll(e.get()).size(), 4u);
  EXPECT_EQ(e->GetPosition(), 2);
  StoreLE32(lying.data() + kVocorWordCountOffset, static_cast<uint32_t>(-7));
  EnumPtr f = Open(lying).CreateEnumerator();
  EXPECT_EQ(f->GetExtent(), 1);
  ReadAll(f.get());
  EXPECT_EQ(f->GetPosition(), 1);
}

TEST_F(VocorFileTest, ProgressReachesTheExtentWithoutStars) {
  const Words sample = testing::SampleWords();
  const CDictionaryVocorFile& dict = Open(testing::CompileWords(sample));
  for (const char* pattern :
       {"????", "c??", "?a?s", "zebras", "q", "o'?lock"}) {
    EnumPtr e = dict.CreateEnumerator();
    e = e->Pattern(std::move(e), pattern);
    ReadAll(e.get());
    EXPECT_EQ(e->GetPosition(), static_cast<int>(sample.size())) << pattern;
  }
}

}  // namespace
}  // namespace vocor
