// The file checker's look at the letter summaries: every summary
// recomputed from the tree.
#include <unordered_map>
#include <vector>

#include "dictionary/vocor_format.h"
#include "dictionary/vocor_letter_summaries.h"

namespace vocor {
namespace {

struct NodeFacts {
  uint32_t letters = 0;
  uint32_t all = 0;
};

// The letters below and the word count of every node reachable from
// `root`, in a tree already checked to be sound (inside the file, no
// cycles).
std::unordered_map<uint32_t, NodeFacts> FactsOfTree(const char* data,
                                                    uint32_t root) {
  std::unordered_map<uint32_t, NodeFacts> facts;
  struct Frame {
    uint32_t offset;
    int next;
    NodeFacts found;
  };
  std::vector<Frame> path = {{root, 0, {}}};
  while (!path.empty()) {
    Frame& top = path.back();
    const uint32_t word = LoadLE32(data + top.offset);
    if (top.next < NodeEntryCount(word)) {
      const uint32_t entry = LoadLE32(data + top.offset + kVocorNodeWordSize +
                                      kVocorEntrySize * top.next++);
      const uint32_t child = EntryChildOffset(entry);
      top.found.letters |= LetterSummaryBit(EntryLetter(entry));
      const auto known = facts.find(child);
      if (known == facts.end()) {
        path.push_back(Frame{child, 0, {}});
      } else {
        top.found.letters |= known->second.letters;
      }
      continue;
    }
    const Frame done = path.back();
    path.pop_back();
    NodeFacts node = done.found;
    node.all = NodeAllCount(word);
    facts[done.offset] = node;
    if (!path.empty()) path.back().found.letters |= node.letters;
  }
  return facts;
}

}  // namespace

bool CheckLetterSummaries(std::string_view bytes, uint32_t root,
                          uint32_t* offset, std::string* reason) {
  *offset = 0;
  const uint32_t field = LoadLE32(bytes.data() + kVocorSummaryOffsetOffset);
  if (field == 0) return true;
  std::unique_ptr<VocorLetterSummaries> summaries;
  switch (VocorLetterSummaries::Locate(bytes.data(), bytes.size(), &summaries,
                                       reason)) {
    case VocorLetterSummaries::Status::kAbsent:
      *reason = "the letter summaries offset " + std::to_string(field) +
                " does not lead to the marker " + kVocorSummaryMarker +
                " inside the file";
      return false;
    case VocorLetterSummaries::Status::kDamaged:
      return false;
    case VocorLetterSummaries::Status::kPresent:
      break;
  }
  const uint64_t first = summaries->first();
  const uint64_t end = first + 4 * uint64_t{summaries->slots()};
  uint32_t expected = 0;
  for (const auto& [node, facts] : FactsOfTree(bytes.data(), root)) {
    if (node < first || node >= end || (node - first) % 4 != 0) continue;
    const std::string where = "the letter summary of the node at offset " +
                              std::to_string(node);
    const bool wanted = facts.all >= summaries->threshold();
    if (summaries->HasSlot(static_cast<uint32_t>((node - first) / 4)) !=
        wanted) {
      *reason = where + (wanted ? " is missing" : " should not be there");
      return false;
    }
    if (!wanted) continue;
    ++expected;
    if (summaries->LettersBelow(node) != facts.letters) {
      *reason = where + " does not match the letters below it";
      return false;
    }
  }
  if (expected != summaries->count()) {
    *reason = "the letter summaries hold " +
              std::to_string(summaries->count()) + " summaries for " +
              std::to_string(expected) + " nodes";
    return false;
  }
  *offset = field;
  return true;
}

}  // namespace vocor
