#include "dictionary/vocor_file_writer.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <utility>

#include "dictionary/file_image.h"
#include "dictionary/vocor_format.h"
#include "dictionary/vocor_letter_summaries.h"
#include "dictionary/vocor_word_endings.h"
#include "engine/score.h"

namespace vocor {
namespace {

using Entries = std::vector<std::pair<unsigned char, uint32_t>>;

struct TreeNode {
  bool terminal = false;
  Entries entries;     // ascending letters; children are registered ids
  uint64_t below = 0;  // words strictly below
};

// Registers finished nodes so that equal subtrees share one id. Children
// are registered before their parents, so two nodes are equal exactly when
// their terminal flags and (letter, child id) lists are: comparing ids is
// comparing whole subtrees.
class NodeRegistry {
 public:
  uint32_t Register(TreeNode node) {
    std::string key(1, node.terminal ? '\1' : '\0');
    for (const auto& [letter, child] : node.entries) {
      key.push_back(static_cast<char>(letter));
      char id[4];
      StoreLE32(id, child);
      key.append(id, 4);
    }
    auto [it, inserted] =
        ids_.try_emplace(std::move(key), static_cast<uint32_t>(nodes_.size()));
    if (inserted) {
      for (const auto& entry : node.entries) {
        const TreeNode& child = nodes_[entry.second];
        node.below += child.below + (child.terminal ? 1 : 0);
      }
      nodes_.push_back(std::move(node));
    }
    return it->second;
  }

  const std::vector<TreeNode>& nodes() const { return nodes_; }

 private:
  std::vector<TreeNode> nodes_;
  std::unordered_map<std::string, uint32_t> ids_;
};

// Builds the minimized tree of sorted, distinct words in one pass. Only the
// path of the previous word is open; when the next word leaves it, the
// nodes below the shared prefix can no longer change and are registered.
class TreeBuilder {
 public:
  TreeBuilder() : path_(1) {}

  // Words must come in strictly ascending order.
  void Add(const std::string& word) {
    size_t common = 0;
    while (common < previous_.size() && common < word.size() &&
           previous_[common] == word[common]) {
      ++common;
    }
    CloseDownTo(common);
    path_.resize(word.size() + 1);
    path_.back().terminal = true;
    previous_ = word;
  }

  // Closes the whole path; returns the root's id.
  uint32_t Finish() {
    CloseDownTo(0);
    return registry_.Register(std::move(path_[0]));
  }

  const std::vector<TreeNode>& nodes() const { return registry_.nodes(); }

 private:
  void CloseDownTo(size_t depth) {
    while (path_.size() > depth + 1) {
      TreeNode node = std::move(path_.back());
      path_.pop_back();
      const uint32_t id = registry_.Register(std::move(node));
      const auto letter =
          static_cast<unsigned char>(previous_[path_.size() - 1]);
      path_.back().entries.emplace_back(letter, id);
    }
  }

  NodeRegistry registry_;
  std::vector<TreeNode> path_;  // path_[d]: the node after d letters
  std::string previous_;
};

bool Fail(std::string* error, std::string reason) {
  if (error != nullptr) *error = std::move(reason);
  return false;
}

// Why `word` cannot be stored, or the empty text.
std::string WordProblem(const std::string& word) {
  if (word.empty()) return "is empty";
  if (word.size() > static_cast<size_t>(kMaxWordLength)) {
    return "is longer than " + std::to_string(kMaxWordLength) + " letters";
  }
  for (char c : word) {
    const auto letter = static_cast<unsigned char>(c);
    if (!IsVocorLetter(letter)) {
      return "holds byte " + std::to_string(letter) + ", which is no letter";
    }
  }
  return "";
}

size_t NodeBytes(const TreeNode& node) {
  return kVocorNodeWordSize + kVocorEntrySize * node.entries.size();
}

// Places the nodes depth first, each before its children, a shared node
// where it is first reached. Returns the offset of each node id, and the
// first byte after the last node in *end.
std::vector<uint64_t> PlaceNodes(const std::vector<TreeNode>& nodes,
                                 uint32_t root, uint64_t* end) {
  constexpr uint64_t kUnplaced = ~uint64_t{0};
  std::vector<uint64_t> offsets(nodes.size(), kUnplaced);
  uint64_t cursor = kVocorHeaderSize;
  std::vector<uint32_t> pending = {root};
  while (!pending.empty()) {
    const uint32_t id = pending.back();
    pending.pop_back();
    if (offsets[id] != kUnplaced) continue;
    offsets[id] = cursor;
    cursor += NodeBytes(nodes[id]);
    const Entries& entries = nodes[id].entries;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
      if (offsets[it->second] == kUnplaced) pending.push_back(it->second);
    }
  }
  *end = cursor;
  return offsets;
}

// The letter summaries of the placed nodes (see vocor_letter_summaries.h),
// or nothing when no node has enough words to carry one: small files keep
// the layout they always had. Children are registered before their
// parents, so one pass in id order sees every child's summary before its
// parent needs it.
std::string SummarizeLetters(const std::vector<TreeNode>& nodes,
                             const std::vector<uint64_t>& offsets,
                             uint64_t nodes_end) {
  std::vector<uint32_t> letters(nodes.size(), 0);
  std::vector<SummarizedNode> placed;
  placed.reserve(nodes.size());
  bool any = false;
  for (size_t id = 0; id < nodes.size(); ++id) {
    for (const auto& [letter, child] : nodes[id].entries) {
      letters[id] |= LetterSummaryBit(letter) | letters[child];
    }
    placed.push_back(SummarizedNode{
        static_cast<uint32_t>(offsets[id]),
        static_cast<uint32_t>(nodes[id].below + (nodes[id].terminal ? 1 : 0)),
        letters[id]});
    any = any || placed.back().all_count >= kVocorSummaryThreshold;
  }
  if (!any) return {};
  std::sort(placed.begin(), placed.end(),
            [](const SummarizedNode& a, const SummarizedNode& b) {
              return a.offset < b.offset;
            });
  return EncodeLetterSummaries(
      placed, static_cast<uint32_t>(kVocorHeaderSize),
      static_cast<uint32_t>((nodes_end - kVocorHeaderSize) / 4),
      kVocorSummaryThreshold);
}

struct Placement {
  uint32_t notes_offset;
  uint32_t root_offset;
  uint32_t summary_offset;
  uint32_t endings_offset;
  uint32_t scores_offset;  // 0: no score section
  uint32_t word_count;
};

void WriteHeader(const VocorFileInfo& info, const Placement& at,
                 std::string* file) {
  char* data = file->data();
  std::memcpy(data, kVocorMagic, kVocorMagicSize);
  std::memcpy(data + kVocorNameOffset, info.name.data(), info.name.size());
  StoreLE32(data + kVocorFormatVersionOffset, kVocorFormatVersion);
  StoreLE32(data + kVocorDictionaryVersionOffset,
            static_cast<uint32_t>(info.dictionary_version));
  StoreLE32(data + kVocorLanguageOffset, info.language);
  StoreLE32(data + kVocorSizeOffset, static_cast<uint32_t>(file->size()));
  StoreLE32(data + kVocorNotesOffsetOffset, at.notes_offset);
  StoreLE32(data + kVocorRootOffsetOffset, at.root_offset);
  StoreLE32(data + kVocorScoresOffsetOffset, at.scores_offset);
  StoreLE32(data + kVocorWordCountOffset, at.word_count);
  StoreLE32(data + kVocorSummaryOffsetOffset, at.summary_offset);
  StoreLE32(data + kVocorEndingsOffsetOffset, at.endings_offset);
}

// The section after the notes: marker, count, one score per word.
void WriteScores(const std::vector<uint8_t>& scores, uint32_t offset,
                 std::string* file) {
  char* at = file->data() + offset;
  std::memcpy(at, kVocorScoreMarker, kVocorScoreMarkerSize);
  StoreLE32(at + kVocorScoreMarkerSize, static_cast<uint32_t>(scores.size()));
  std::memcpy(at + kVocorScoreHeaderSize, scores.data(), scores.size());
}

bool CheckInfo(const VocorFileInfo& info, std::string* error) {
  if (info.name.size() > kVocorMaxNameLength) {
    return Fail(error, "the name is longer than 127 bytes");
  }
  if (info.name.find('\0') != std::string::npos) {
    return Fail(error, "the name holds a NUL byte");
  }
  if (info.notes.find('\0') != std::string::npos) {
    return Fail(error, "the notes hold a NUL byte");
  }
  return true;
}

bool CheckWords(const std::vector<std::string>& words, std::string* error) {
  for (size_t i = 0; i < words.size(); ++i) {
    const std::string problem = WordProblem(words[i]);
    if (!problem.empty()) {
      return Fail(error, "word " + std::to_string(i + 1) + " " + problem);
    }
  }
  return true;
}

bool CheckScores(const std::vector<std::string>& words,
                 const std::vector<uint8_t>& scores, std::string* error) {
  if (scores.empty()) return true;
  if (scores.size() != words.size()) {
    return Fail(error, std::to_string(scores.size()) + " scores for " +
                           std::to_string(words.size()) + " words");
  }
  for (size_t i = 0; i < scores.size(); ++i) {
    if (!IsValidScore(scores[i])) {
      return Fail(error, "word " + std::to_string(i + 1) + " has score " +
                             std::to_string(scores[i]) + ", outside " +
                             std::to_string(kMinScore) + ".." +
                             std::to_string(kMaxScore));
    }
  }
  return true;
}

// The distinct words in ascending byte order (the order the file yields
// them), and with `scores` given, each one's highest score in the same
// order in *sorted_scores.
std::vector<std::string> SortedDistinct(const std::vector<std::string>& words,
                                        const std::vector<uint8_t>& scores,
                                        std::vector<uint8_t>* sorted_scores) {
  std::vector<size_t> order(words.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  // Equal words sort by descending score, so the first of a run has the
  // highest. std::string compares bytes as unsigned, like the entries.
  const auto score_of = [&scores](size_t i) {
    return scores.empty() ? 0 : scores[i];
  };
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    const int by_word = words[a].compare(words[b]);
    if (by_word != 0) return by_word < 0;
    return score_of(a) > score_of(b);
  });
  std::vector<std::string> sorted;
  sorted.reserve(order.size());
  for (size_t i : order) {
    if (!sorted.empty() && sorted.back() == words[i]) continue;
    sorted.push_back(words[i]);
    if (!scores.empty()) sorted_scores->push_back(scores[i]);
  }
  return sorted;
}

}  // namespace

bool BuildVocorFile(const std::vector<std::string>& words,
                    const VocorFileInfo& info, std::string* out,
                    VocorFileStats* stats, std::string* error) {
  return BuildVocorFile(words, {}, info, out, stats, error);
}

bool BuildVocorFile(const std::vector<std::string>& words,
                    const std::vector<uint8_t>& scores,
                    const VocorFileInfo& info, std::string* out,
                    VocorFileStats* stats, std::string* error) {
  if (!CheckInfo(info, error) || !CheckWords(words, error) ||
      !CheckScores(words, scores, error)) {
    return false;
  }
  std::vector<uint8_t> sorted_scores;
  const std::vector<std::string> sorted =
      SortedDistinct(words, scores, &sorted_scores);
  if (sorted.empty()) return Fail(error, "there are no words to store");
  if (sorted.size() >= kVocorCountLimit) {
    return Fail(error, std::to_string(sorted.size()) +
                           " words are too many; the format holds at most " +
                           std::to_string(kVocorCountLimit - 1));
  }

  TreeBuilder builder;
  for (const std::string& word : sorted) builder.Add(word);
  const uint32_t root = builder.Finish();
  const std::vector<TreeNode>& nodes = builder.nodes();

  // A node word counts its entries in 7 bits. Lists of one language never
  // come near it, but a list of every letter of the code page does.
  for (const TreeNode& node : nodes) {
    if (node.entries.size() > static_cast<size_t>(kVocorMaxEntries)) {
      return Fail(error, "a letter is followed by " +
                             std::to_string(node.entries.size()) +
                             " different letters; the format holds at most " +
                             std::to_string(kVocorMaxEntries));
    }
  }

  uint64_t nodes_end = 0;
  const std::vector<uint64_t> offsets = PlaceNodes(nodes, root, &nodes_end);
  // The node starting last is the one furthest out; every node must start
  // below the 24-bit limit of child offsets.
  if (*std::max_element(offsets.begin(), offsets.end()) >= kVocorNodeLimit) {
    return Fail(error, "the letter tree needs more than 16 MiB");
  }
  const uint64_t notes_end = nodes_end + info.notes.size() + 1;
  const std::string summaries = SummarizeLetters(nodes, offsets, nodes_end);
  const uint64_t summaries_end = notes_end + summaries.size();
  const std::string endings = EncodeWordEndings(sorted);
  const uint64_t endings_end = summaries_end + endings.size();
  const uint64_t file_size =
      endings_end + (sorted_scores.empty()
                         ? 0
                         : kVocorScoreHeaderSize + sorted_scores.size());
  if (file_size >= kMaxDictionaryFileSize) {
    return Fail(error, "the file would reach 2 GiB");
  }

  std::string file(file_size, '\0');
  for (size_t id = 0; id < nodes.size(); ++id) {
    const TreeNode& node = nodes[id];
    char* at = file.data() + offsets[id];
    StoreLE32(at,
              MakeNodeWord(static_cast<int>(node.entries.size()), node.terminal,
                           static_cast<uint32_t>(node.below)));
    for (size_t i = 0; i < node.entries.size(); ++i) {
      const auto& [letter, child] = node.entries[i];
      StoreLE32(at + kVocorNodeWordSize + kVocorEntrySize * i,
                MakeEntry(static_cast<uint32_t>(offsets[child]), letter));
    }
  }
  std::memcpy(file.data() + nodes_end, info.notes.data(), info.notes.size());
  std::memcpy(file.data() + notes_end, summaries.data(), summaries.size());
  std::memcpy(file.data() + summaries_end, endings.data(), endings.size());
  const Placement placement{
      .notes_offset = static_cast<uint32_t>(nodes_end),
      .root_offset = static_cast<uint32_t>(offsets[root]),
      .summary_offset =
          summaries.empty() ? 0 : static_cast<uint32_t>(notes_end),
      .endings_offset =
          endings.empty() ? 0 : static_cast<uint32_t>(summaries_end),
      .scores_offset =
          sorted_scores.empty() ? 0 : static_cast<uint32_t>(endings_end),
      .word_count = static_cast<uint32_t>(sorted.size())};
  if (!sorted_scores.empty()) {
    WriteScores(sorted_scores, placement.scores_offset, &file);
  }
  WriteHeader(info, placement, &file);

  if (stats != nullptr) {
    stats->words = static_cast<int>(sorted.size());
    stats->nodes = static_cast<int>(nodes.size());
    stats->bytes = static_cast<int>(file.size());
  }
  *out = std::move(file);
  return true;
}

}  // namespace vocor
