// The letter summaries of a .dic: for each larger node, which letters occur
// on the paths below it. A walk for a pattern that needs certain letters
// (*xz* needs an x and a z) passes over every node whose summary lacks one
// of them, so a search that grep answers with a quick scan of the text no
// longer has to visit the whole letter tree.
//
// The section is optional and only ever narrows a walk: a file without it
// (every file our writer made before) is read as before, and a reader that
// does not know it never reads its header field. Layout, all fields 32-bit
// little-endian, at the offset that header field 124 names:
//
//     0   4  marker "LTRS"
//     4   4  threshold: the nodes with at least this many words at and
//            below them carry a summary
//     8   4  first: the offset of the first 4-byte slot the bitmap covers
//    12   4  slots: how many 4-byte slots from `first` it covers
//    16   4  summaries: how many follow
//    20   4  CRC-32 (zlib's) of the section's other bytes: 0 to 19, then
//            24 to its end
//    24      a count per block of 512 slots: the summaries before the block
//            then one bit per slot, in 64-bit little-endian words: set when
//            a node with a summary starts at that slot
//            then the summaries, in the order of their nodes' offsets
//
// A summary has bit LetterSummaryBit(c) set for every letter c on an edge
// below its node. Nodes with few words are left out: a walk pays little for
// them, and the section stays a small part of the file (about 14% for a
// large English list).
#ifndef VOCOR_DICTIONARY_VOCOR_LETTER_SUMMARIES_H_
#define VOCOR_DICTIONARY_VOCOR_LETTER_SUMMARIES_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "engine/charset.h"

namespace vocor {

constexpr size_t kVocorSummaryOffsetOffset = 124;  // header field
constexpr char kVocorSummaryMarker[] = "LTRS";     // the NUL is not stored
constexpr size_t kVocorSummaryHeadSize = 24;
constexpr uint32_t kVocorSummaryThreshold = 4;  // what our writer uses
constexpr uint32_t kVocorSummarySlotsPerBlock = 64;
// Below this many words a walk reads a subtree faster than it looks up
// the subtree's summary.
constexpr uint32_t kSummaryWorthAsking = 4;
// A summary with every bit set claims nothing.
constexpr uint32_t kAllLetterBits = 0xffffffffu;

// The summary bit of a letter: a to z in either case have bits 0 to 25; all
// other bytes share bits 26 to 31. Shared bits only weaken what a summary
// rules out, never make it wrong.
inline uint32_t LetterSummaryBit(unsigned char letter) {
  const unsigned char lower = EngineToLower(letter);
  if (lower >= 'a' && lower <= 'z') return uint32_t{1} << (lower - 'a');
  return uint32_t{1} << (26 + lower % 6);
}

// A node as the writer lays it out, for EncodeLetterSummaries.
struct SummarizedNode {
  uint32_t offset;     // where the node starts
  uint32_t all_count;  // words at and below it
  uint32_t letters;    // its summary
};

// The section for the nodes of a file whose node slots run from `first`
// for `slots` 4-byte slots. `nodes` must be sorted by offset, each offset a
// multiple of 4 inside that range; those below `threshold` words are left
// out.
std::string EncodeLetterSummaries(const std::vector<SummarizedNode>& nodes,
                                   uint32_t first, uint32_t slots,
                                   uint32_t threshold);

class VocorLetterSummaries {
 public:
  enum class Status { kAbsent, kDamaged, kPresent };

  // Finds the section that header field 124 of the `size`-byte image at
  // `data` names (the image holds at least the header) and checks it whole:
  // marker, sizes inside the image, the counts of the blocks against the
  // bits, and the CRC. kAbsent when the field is 0 or does not lead to the
  // marker (bytes of another writer). On kDamaged *reason
  // says why. On kPresent *summaries is set; it reads the image in place,
  // which must outlive it.
  static Status Locate(const char* data, size_t size,
                       std::unique_ptr<VocorLetterSummaries>* summaries,
                       std::string* reason);

  // The summary of the node starting at `offset`, or kAllLetterBits when
  // it has none.
  uint32_t LettersBelow(uint32_t offset) const;

  uint32_t threshold() const { return threshold_; }
  uint32_t first() const { return first_; }
  uint32_t slots() const { return slots_; }
  uint32_t count() const { return count_; }
  // Whether a summary starts at slot `slot` (< slots()), and its index.
  bool HasSlot(uint32_t slot) const;
  uint32_t SummaryAt(uint32_t index) const;

 private:
  VocorLetterSummaries() = default;

  uint32_t threshold_ = 0;
  uint32_t first_ = 0;
  uint32_t slots_ = 0;
  uint32_t count_ = 0;
  const char* ranks_ = nullptr;
  const char* bits_ = nullptr;
  const char* summaries_ = nullptr;
};

// The file checker's part: when header field 124 of `bytes` (a whole file
// whose tree from `root` has passed its checks) names a section, checks it
// whole, and that its nodes are exactly the tree's nodes in the covered
// range with at least `threshold` words, each summarized by the letters
// below it. Sets *offset to the section's offset (0: none). Returns false
// with a one-line reason otherwise.
bool CheckLetterSummaries(std::string_view bytes, uint32_t root,
                          uint32_t* offset, std::string* reason);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_LETTER_SUMMARIES_H_
