// Random scored word lists, with bad score lines, duplicates and nested
// --score lists, read by the text dictionary and by the compiler (into a
// text list and a binary dictionary, each read back), against a
// brute-force reference that knows each line's meaning from the way it
// was written rather than by parsing it.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <set>
#include <utility>

#include "compiler/dictionary_compiler.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/testing/reference.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using Scored = std::vector<std::pair<std::string, int>>;
using ScoreMap = std::map<std::string, int>;

constexpr int kPlain = 0;  // a line without ';'
constexpr int kBad = -1;   // a line whose score cannot be read

struct RefLine {
  std::vector<std::string> words;  // lower-cased, as the list yields them
  int score = kPlain;              // kPlain, kBad or the score given
};

struct RefList {
  std::string text;
  std::vector<RefLine> lines;
  int list_score = 0;  // 0: an ordinary input; else its --score N
};

// Every entry of an ordinary list in file order with its score, as the
// text dictionary yields them.
Scored Entries(const RefList& list) {
  Scored entries;
  for (const RefLine& line : list.lines) {
    if (line.score == kBad) continue;
    const int score = line.score == kPlain ? kDefaultScore : line.score;
    for (const std::string& word : line.words) {
      entries.emplace_back(word, score);
    }
  }
  return entries;
}

void KeepHighest(const Scored& entries, ScoreMap* best) {
  for (const auto& [word, score] : entries) {
    auto [at, added] = best->emplace(word, score);
    if (!added) at->second = std::max(at->second, score);
  }
}

// The compiler's scores: the highest score given to a word, by a line or
// as its --score list's N; a plain line of an ordinary list gives the
// default only to a word that no --score list holds.
ScoreMap CompiledScores(const std::vector<RefList>& lists) {
  ScoreMap given;
  std::set<std::string> plain, listed;
  for (const RefList& list : lists) {
    for (const RefLine& line : list.lines) {
      if (line.score == kBad) continue;
      for (const std::string& word : line.words) {
        int score = line.score;
        if (list.list_score != 0) {
          score = std::max(list.list_score, line.score);
          listed.insert(word);
        } else if (line.score == kPlain) {
          plain.insert(word);
        }
        given[word] = std::max(given[word], score);
      }
    }
  }
  for (const std::string& word : plain) {
    if (listed.count(word) == 0) {
      given[word] = std::max(given[word], kDefaultScore);
    }
  }
  return given;
}

int64_t EntryCount(const RefList& list) {
  int64_t count = 0;
  for (const RefLine& line : list.lines) {
    if (line.score != kBad) count += static_cast<int64_t>(line.words.size());
  }
  return count;
}

RefLine RandomLine(std::mt19937& rng) {
  RefLine line;
  const int words = rng() % 8 == 0 ? 0 : (rng() % 6 == 0 ? 2 : 1);
  line.words = testing::RandomWords(rng, "abcde", words, 3);
  const int kind = rng() % 20;
  if (kind < 8) {
    line.score = kPlain;
  } else if (kind < 16) {
    line.score = 1 + rng() % kMaxScore;
  } else {
    line.score = kBad;
  }
  return line;
}

// The text of a line: capitals here and there, the score in one of its
// accepted spellings, or a score that is no whole number from 1 to 100.
std::string LineText(const RefLine& line, std::mt19937& rng) {
  static const char* const kBadScores[] = {
      "",    "abc", "0",   "101",         "-5", "5;6", "12a",
      "1 2", "+7",  "5.0", "99999999999", "x",  " ; 3"};
  std::string text;
  for (size_t i = 0; i < line.words.size(); ++i) {
    if (i > 0) text += rng() % 2 ? " " : "\t";
    for (char c : line.words[i]) {
      text += rng() % 4 == 0 ? static_cast<char>(c - 'a' + 'A') : c;
    }
  }
  if (line.score == kPlain) return text;
  text += rng() % 4 == 0 ? " ;" : ";";
  if (line.score == kBad) {
    return text + kBadScores[rng() % std::size(kBadScores)];
  }
  const char* const kSpaces[] = {"", " ", "\t", "  "};
  return text + kSpaces[rng() % 4] + (rng() % 6 == 0 ? "0" : "") +
         std::to_string(line.score) + kSpaces[rng() % 4];
}

// Joins the lines with LF, CR LF or CR; a lone CR never stands before an
// empty line, where it would make one line end of CR LF.
std::string FileText(const std::vector<RefLine>& lines, std::mt19937& rng) {
  std::vector<std::string> texts;
  for (const RefLine& line : lines) texts.push_back(LineText(line, rng));
  std::string text;
  for (size_t i = 0; i < texts.size(); ++i) {
    text += texts[i];
    if (i + 1 == texts.size() && rng() % 3 == 0) break;  // no final line end
    const bool next_empty = i + 1 < texts.size() && texts[i + 1].empty();
    const int end = rng() % 3;
    text += end == 0 ? "\n" : end == 1 || next_empty ? "\r\n" : "\r";
  }
  return text;
}

RefList RandomList(std::mt19937& rng, std::vector<RefLine> lines,
                   int list_score) {
  const int more = rng() % 20;
  for (int i = 0; i < more; ++i) lines.push_back(RandomLine(rng));
  RefList list;
  list.lines = std::move(lines);
  list.list_score = list_score;
  list.text = FileText(list.lines, rng);
  return list;
}

std::vector<int64_t> BadLineNumbers(const RefList& list) {
  std::vector<int64_t> numbers;
  for (size_t i = 0; i < list.lines.size(); ++i) {
    if (list.lines[i].score == kBad) {
      numbers.push_back(static_cast<int64_t>(i) + 1);
    }
  }
  return numbers;
}

Scored ReadScored(CEnumResults* e, int slice) {
  return testing::ReadScoredInSlices(e, slice);
}

Scored AtLeast(const Scored& entries, int floor) {
  Scored kept;
  for (const auto& entry : entries) {
    if (entry.second >= floor) kept.push_back(entry);
  }
  return kept;
}

// What the text dictionary makes of one ordinary list.
void CheckTextDictionary(const RefList& list, const std::string& path,
                         std::mt19937& rng) {
  const Scored entries = Entries(list);
  CDictionaryTextFile dict;
  dict.SetFileName(path.c_str());
  ASSERT_TRUE(dict.Open());
  EXPECT_EQ(dict.GetWordCount(), static_cast<int>(entries.size()));
  EXPECT_EQ(dict.HasScores(),
            std::any_of(list.lines.begin(), list.lines.end(),
                        [](const RefLine& l) { return l.score > 0; }));
  EnumPtr all = dict.CreateEnumerator();
  ASSERT_EQ(ReadScored(all.get(), 1000), entries);
  // Contains ignores scores and bad lines hold no words.
  for (const auto& [word, score] : entries) {
    ASSERT_TRUE(all->Contains(word.c_str())) << word;
  }

  const int floor = 1 + rng() % (kMaxScore + 1);
  const Scored kept = AtLeast(entries, floor);
  EnumPtr e = dict.CreateEnumerator();
  e = e->MinScore(std::move(e), floor);
  ASSERT_EQ(IsNone(e.get()), kept.empty()) << "floor " << floor;
  ScoreCounts counts{};
  e->CountScores(&counts);
  ScoreCounts expected{};
  for (const auto& entry : kept) ++expected[entry.second];
  EXPECT_EQ(counts, expected);
  EnumPtr copy = e->Clone();
  ASSERT_EQ(ReadScored(e.get(), 1 + rng() % 3), kept) << "floor " << floor;
  ASSERT_EQ(ReadScored(copy.get(), 1000), kept) << "floor " << floor;
}

// The scored output the compiler wrote as a text list, read back.
ScoreMap ReadScoredTextList(const std::string& path, bool scored) {
  std::ifstream in(path, std::ios::binary);
  ScoreMap read;
  std::string line;
  while (std::getline(in, line)) {
    const size_t semicolon = line.find(';');
    EXPECT_EQ(semicolon != std::string::npos, scored) << line;
    if (semicolon == std::string::npos) {
      read[line] = kDefaultScore;
    } else {
      read[line.substr(0, semicolon)] = std::stoi(line.substr(semicolon + 1));
    }
  }
  return read;
}

TEST(ScoredListDifferentialTest, TextDictionaryAndCompilerAgreeWithReference) {
  testing::ScratchDir dir;
  std::mt19937 rng(2026);
  for (int round = 0; round < 200; ++round) {
    // Ordinary lists, then --score lists each holding the lines of the one
    // before it and more, the way word lists come in sizes.
    std::vector<RefList> lists;
    const int ordinary = rng() % 3;
    for (int i = 0; i < ordinary; ++i) lists.push_back(RandomList(rng, {}, 0));
    const int nested = rng() % 4;
    std::vector<RefLine> inner;
    for (int i = 0; i < nested; ++i) {
      lists.push_back(RandomList(rng, inner, 1 + rng() % kMaxScore));
      inner = lists.back().lines;
    }
    if (lists.empty()) continue;

    CompileRequest request;
    const ScoreMap expected = CompiledScores(lists);
    std::vector<BadScoreReport> bad_lines;
    int64_t entries = 0;
    bool scored = false;
    for (size_t i = 0; i < lists.size(); ++i) {
      const RefList& list = lists[i];
      const std::string path =
          dir.Write("list" + std::to_string(i) + ".txt", list.text);
      if (list.list_score == 0) {
        request.inputs.push_back(path);
        if (!list.text.empty()) {
          SCOPED_TRACE("list " + std::to_string(i) + ":\n" + list.text);
          CheckTextDictionary(list, path, rng);
        }
      } else {
        request.scored_inputs.push_back({path, list.list_score});
        scored = true;
      }
      entries += EntryCount(list);
      for (int64_t number : BadLineNumbers(list)) {
        bad_lines.push_back({path, number, ""});
      }
      for (const RefLine& line : list.lines) scored = scored || line.score > 0;
    }

    request.output = dir.path() + "/out.txt";
    request.text_list = true;
    const CompileOutcome outcome = CompileDictionary(request);
    const CompileCounts& counts = outcome.counts;
    EXPECT_EQ(counts.bad_score_lines, static_cast<int64_t>(bad_lines.size()));
    ASSERT_LE(counts.bad_scores.size(), bad_lines.size());
    for (size_t i = 0; i < counts.bad_scores.size(); ++i) {
      EXPECT_EQ(counts.bad_scores[i].file, bad_lines[i].file);
      EXPECT_EQ(counts.bad_scores[i].line, bad_lines[i].line);
    }
    if (expected.empty()) {
      EXPECT_EQ(outcome.status, CompileStatus::kNoWords);
      continue;
    }
    ASSERT_EQ(outcome.status, CompileStatus::kDone) << outcome.error;
    EXPECT_EQ(counts.read, entries);
    EXPECT_EQ(counts.duplicates,
              entries - static_cast<int64_t>(expected.size()));
    EXPECT_EQ(counts.scored, scored);
    ASSERT_EQ(ReadScoredTextList(request.output, scored), expected);

    // The written list reads back through the text dictionary alike.
    CDictionaryTextFile written;
    written.SetFileName(request.output.c_str());
    ASSERT_TRUE(written.Open());
    EnumPtr e = written.CreateEnumerator();
    ScoreMap read_back;
    KeepHighest(ReadScored(e.get(), 1000), &read_back);
    EXPECT_EQ(read_back, expected);

    // The binary dictionary holds the same words.
    request.output = dir.path() + "/out.dic";
    request.text_list = false;
    request.info.name = "Scored";
    ASSERT_EQ(CompileDictionary(request).status, CompileStatus::kDone);
    CDictionaryVocorFile binary;
    binary.SetFileName(request.output.c_str());
    ASSERT_TRUE(binary.Open());
    EnumPtr words = binary.CreateEnumerator();
    EXPECT_EQ(binary.HasScores(), scored);
    ScoreMap stored;
    for (const auto& [word, score] : ReadScored(words.get(), 1000)) {
      ASSERT_TRUE(stored.emplace(word, score).second) << word;
    }
    ASSERT_EQ(stored, expected);
  }
}

}  // namespace
}  // namespace vocor
