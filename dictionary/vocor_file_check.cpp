#include "dictionary/vocor_file_check.h"

#include <algorithm>
#include <bitset>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/text_words.h"
#include "dictionary/vocor_format.h"
#include "dictionary/vocor_letter_summaries.h"
#include "dictionary/vocor_word_endings.h"
#include "engine/score.h"

namespace vocor {
namespace {

uint32_t LoadU32(std::string_view bytes, size_t offset) {
  return LoadLE32(bytes.data() + offset);
}

int32_t LoadI32(std::string_view bytes, size_t offset) {
  return static_cast<int32_t>(LoadU32(bytes, offset));
}

bool PathTooLong(std::string* reason) {
  *reason = "a path from the root is longer than " +
            std::to_string(kMaxWordLength) + " letters";
  return false;
}

std::string NodeAt(uint64_t offset) {
  return "node at offset " + std::to_string(offset);
}

// Walks the tree depth first on an explicit stack, so that damaged files
// cannot exhaust the call stack, and proves each node once: a node reached
// again is taken from the proofs.
class TreeCheck {
 public:
  explicit TreeCheck(std::string_view bytes) : bytes_(bytes) {}

  // Checks the tree below `root`. On success *words is the number of
  // terminal nodes, counted through the per-node counts.
  bool Run(uint32_t root, int64_t* words, std::string* reason);

  int nodes() const { return static_cast<int>(proved_.size()); }
  int longest_path() const { return longest_path_; }

 private:
  struct Frame {
    uint32_t offset;
    int entries;
    bool terminal;
    uint32_t count;
    int next = 0;       // index of the next entry to follow
    int64_t below = 0;  // words found below so far
    int height = 0;     // longest path below so far
    std::bitset<256> letters{};
  };
  struct Proof {
    int height;   // -1 while the node is on the current path
    int64_t all;  // terminal flag plus count
  };

  bool Enter(uint32_t offset, std::string* reason);
  bool FollowNextEntry(std::string* reason);
  bool Leave(std::string* reason);
  // Adds a proved child to the top frame.
  bool Absorb(const Proof& child, std::string* reason);

  std::string_view bytes_;
  std::vector<Frame> path_;
  std::unordered_map<uint32_t, Proof> proved_;
  int longest_path_ = 0;
};

bool TreeCheck::Run(uint32_t root, int64_t* words, std::string* reason) {
  if (!Enter(root, reason)) return false;
  while (!path_.empty()) {
    const Frame& top = path_.back();
    const bool ok =
        top.next < top.entries ? FollowNextEntry(reason) : Leave(reason);
    if (!ok) return false;
  }
  *words = proved_.at(root).all;
  longest_path_ = proved_.at(root).height;
  return true;
}

bool TreeCheck::Enter(uint32_t offset, std::string* reason) {
  if (uint64_t{offset} + kVocorNodeWordSize > bytes_.size()) {
    *reason = NodeAt(offset) + " lies outside the file";
    return false;
  }
  const uint32_t word = LoadU32(bytes_, offset);
  Frame frame{.offset = offset,
              .entries = NodeEntryCount(word),
              .terminal = NodeIsTerminal(word),
              .count = NodeBelowCount(word)};
  if (uint64_t{offset} + kVocorNodeWordSize +
          kVocorEntrySize * uint64_t(frame.entries) >
      bytes_.size()) {
    *reason = NodeAt(offset) + " with " + std::to_string(frame.entries) +
              " entries runs past the end of the file";
    return false;
  }
  path_.push_back(frame);
  proved_[offset] = Proof{-1, 0};
  return true;
}

bool TreeCheck::FollowNextEntry(std::string* reason) {
  Frame& top = path_.back();
  const int index = top.next++;
  const uint32_t entry = LoadU32(bytes_, top.offset + kVocorNodeWordSize +
                                             kVocorEntrySize * size_t(index));
  const unsigned letter = EntryLetter(entry);
  const uint32_t child = EntryChildOffset(entry);
  const std::string where =
      NodeAt(top.offset) + ", entry " + std::to_string(index);
  if (!IsVocorLetter(letter)) {
    *reason = where + ": letter " + std::to_string(letter) +
              " is not a letter the format holds";
    return false;
  }
  if (top.letters[letter]) {
    *reason = where + ": letter " + std::to_string(letter) +
              " is on an earlier entry of the node too";
    return false;
  }
  top.letters[letter] = true;
  auto known = proved_.find(child);
  if (known == proved_.end()) {
    if (path_.size() > kMaxWordLength) return PathTooLong(reason);
    return Enter(child, reason);
  }
  if (known->second.height < 0) {
    *reason = where + " leads back to " + NodeAt(child) + " (a cycle)";
    return false;
  }
  return Absorb(known->second, reason);
}

bool TreeCheck::Leave(std::string* reason) {
  const Frame top = path_.back();
  if (top.count >= kVocorCountLimit) {
    *reason = NodeAt(top.offset) + ": count " + std::to_string(top.count) +
              " is not below " + std::to_string(kVocorCountLimit);
    return false;
  }
  if (top.count != top.below) {
    *reason = NodeAt(top.offset) + ": count " + std::to_string(top.count) +
              " but its children hold " + std::to_string(top.below) + " words";
    return false;
  }
  const Proof proof{top.height, (top.terminal ? 1 : 0) + int64_t{top.count}};
  proved_[top.offset] = proof;
  path_.pop_back();
  return path_.empty() || Absorb(proof, reason);
}

bool TreeCheck::Absorb(const Proof& child, std::string* reason) {
  // The top frame's node is path_.size() - 1 letters below the root.
  if (path_.size() + child.height > kMaxWordLength) return PathTooLong(reason);
  Frame& top = path_.back();
  top.below += child.all;
  top.height = std::max(top.height, child.height + 1);
  return true;
}

// Reads the NUL-terminated text at `offset`; false when it has no NUL
// before `limit`.
bool ReadText(std::string_view bytes, size_t offset, size_t limit,
              std::string* text) {
  const size_t nul = bytes.substr(0, limit).find('\0', offset);
  if (nul == std::string_view::npos) return false;
  text->assign(bytes.substr(offset, nul - offset));
  return true;
}

bool CheckHeader(std::string_view bytes, VocorFileFacts* facts,
                 std::string* reason) {
  VocorHeader* header = &facts->header;
  if (bytes.size() < kVocorHeaderSize) {
    *reason = "the file has " + std::to_string(bytes.size()) +
              " bytes, fewer than the " + std::to_string(kVocorHeaderSize) +
              "-byte header";
    return false;
  }
  if (bytes.substr(0, kVocorMagicSize) !=
      std::string_view(kVocorMagic, kVocorMagicSize)) {
    *reason = "the file does not start with the dictionary magic";
    return false;
  }
  header->format_version = LoadI32(bytes, kVocorFormatVersionOffset);
  if (header->format_version != kVocorFormatVersion) {
    *reason = "format version " + std::to_string(header->format_version) +
              " is not " + std::to_string(kVocorFormatVersion);
    return false;
  }
  if (!ReadText(bytes, kVocorNameOffset, kVocorNameOffset + kVocorNameFieldSize,
                &header->name)) {
    *reason = "the name has no NUL within its 128 bytes";
    return false;
  }
  header->dictionary_version = LoadI32(bytes, kVocorDictionaryVersionOffset);
  header->language = LoadU32(bytes, kVocorLanguageOffset);
  header->size = LoadI32(bytes, kVocorSizeOffset);
  if (header->size < 0 || size_t(header->size) != bytes.size()) {
    *reason = "the size field says " + std::to_string(header->size) +
              " bytes but the file has " + std::to_string(bytes.size());
    return false;
  }
  facts->notes_offset = LoadI32(bytes, kVocorNotesOffsetOffset);
  if (facts->notes_offset < 0 || !ReadText(bytes, size_t(facts->notes_offset),
                                           bytes.size(), &header->notes)) {
    *reason = "the notes at offset " + std::to_string(facts->notes_offset) +
              " do not end with a NUL inside the file";
    return false;
  }
  // The format's offsets are signed, though VocorHeader keeps the root's
  // as unsigned.
  const int32_t root_offset = LoadI32(bytes, kVocorRootOffsetOffset);
  if (root_offset < 0) {
    *reason = "the root offset " + std::to_string(root_offset) + " is negative";
    return false;
  }
  header->root_offset = static_cast<uint32_t>(root_offset);
  header->word_count = LoadI32(bytes, kVocorWordCountOffset);
  return true;
}

bool CheckScores(std::string_view bytes, VocorFileFacts* facts,
                 std::string* reason) {
  const uint32_t offset = LoadU32(bytes, kVocorScoresOffsetOffset);
  size_t first_score = 0;
  switch (LocateVocorScores(bytes.data(), bytes.size(), bytes.size(),
                            facts->header, &first_score, reason)) {
    case VocorScoreSection::kAbsent:
      return true;
    case VocorScoreSection::kForeign:
      *reason = "the score section offset " + std::to_string(offset) +
                " does not lead to the marker " + kVocorScoreMarker +
                " inside the file";
      return false;
    case VocorScoreSection::kDamaged:
      return false;
    case VocorScoreSection::kPresent:
      break;
  }
  const auto* first =
      reinterpret_cast<const unsigned char*>(bytes.data() + first_score);
  const auto* bad =
      std::find_if_not(first, first + facts->header.word_count,
                       [](unsigned char score) { return IsValidScore(score); });
  if (bad != first + facts->header.word_count) {
    *reason = "the score of word " + std::to_string(bad - first + 1) + " is " +
              std::to_string(*bad) + ", outside " + std::to_string(kMinScore) +
              ".." + std::to_string(kMaxScore);
    return false;
  }
  facts->scores_offset = offset;
  return true;
}

}  // namespace

bool CheckVocorFile(std::string_view bytes, VocorFileFacts* facts,
                    std::string* reason) {
  *facts = VocorFileFacts();
  if (!CheckHeader(bytes, facts, reason)) return false;
  TreeCheck tree(bytes);
  int64_t words = 0;
  const VocorHeader& header = facts->header;
  if (!tree.Run(header.root_offset, &words, reason)) return false;
  facts->nodes = tree.nodes();
  facts->longest_path = tree.longest_path();
  if (words != header.word_count) {
    *reason = "the header's word count is " +
              std::to_string(header.word_count) + " but the tree holds " +
              std::to_string(words) + " words";
    return false;
  }
  return CheckScores(bytes, facts, reason) &&
         CheckLetterSummaries(bytes, header.root_offset,
                              &facts->summaries_offset, reason) &&
         CheckWordEndings(bytes, header.root_offset, &facts->endings_offset,
                          reason);
}

}  // namespace vocor
