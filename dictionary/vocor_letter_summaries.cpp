#include "dictionary/vocor_letter_summaries.h"

#include <bit>
#include <cstring>

#include "dictionary/vocor_format.h"

namespace vocor {
namespace {

int CountBits(uint64_t x) {
  // Without a POPCNT instruction in the baseline, std::popcount becomes a
  // library call; this is the usual sum of bit fields.
  x = x - ((x >> 1) & 0x5555555555555555u);
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

uint64_t LoadLE64(const char* p) {
  return uint64_t{LoadLE32(p)} | uint64_t{LoadLE32(p + 4)} << 32;
}

void StoreLE64(char* p, uint64_t value) {
  StoreLE32(p, static_cast<uint32_t>(value));
  StoreLE32(p + 4, static_cast<uint32_t>(value >> 32));
}

uint64_t BlockCount(uint64_t slots) {
  return (slots + kVocorSummarySlotsPerBlock - 1) / kVocorSummarySlotsPerBlock;
}
uint64_t WordCount(uint64_t slots) { return (slots + 63) / 64; }

// The checksum of a section of `size` bytes at `section`: every byte but
// the checksum's own four.
uint32_t SummariesChecksum(const char* section, size_t size) {
  return SectionChecksum(section, size, 20);
}

}  // namespace

std::string EncodeLetterSummaries(const std::vector<SummarizedNode>& nodes,
                                  uint32_t first, uint32_t slots,
                                  uint32_t threshold) {
  const uint64_t blocks = BlockCount(slots);
  const uint64_t words = WordCount(slots);
  std::vector<uint64_t> bits(words);
  std::vector<uint32_t> kept;
  for (const SummarizedNode& node : nodes) {
    if (node.all_count < threshold) continue;
    const uint32_t slot = (node.offset - first) / 4;
    bits[slot / 64] |= uint64_t{1} << (slot % 64);
    kept.push_back(node.letters);
  }
  std::string section(
      kVocorSummaryHeadSize + 4 * blocks + 8 * words + 4 * kept.size(), '\0');
  char* at = section.data();
  std::memcpy(at, kVocorSummaryMarker, 4);
  StoreLE32(at + 4, threshold);
  StoreLE32(at + 8, first);
  StoreLE32(at + 12, slots);
  StoreLE32(at + 16, static_cast<uint32_t>(kept.size()));
  char* ranks = at + kVocorSummaryHeadSize;
  char* bit_words = ranks + 4 * blocks;
  uint32_t before = 0;
  for (uint64_t w = 0; w < words; ++w) {
    if (w % (kVocorSummarySlotsPerBlock / 64) == 0) {
      StoreLE32(ranks + 4 * (w / (kVocorSummarySlotsPerBlock / 64)), before);
    }
    StoreLE64(bit_words + 8 * w, bits[w]);
    before += static_cast<uint32_t>(CountBits(bits[w]));
  }
  char* summaries = bit_words + 8 * words;
  for (size_t i = 0; i < kept.size(); ++i) {
    StoreLE32(summaries + 4 * i, kept[i]);
  }
  StoreLE32(at + 20, SummariesChecksum(at, section.size()));
  return section;
}

VocorLetterSummaries::Status VocorLetterSummaries::Locate(
    const char* data, size_t size,
    std::unique_ptr<VocorLetterSummaries>* summaries, std::string* reason) {
  const uint64_t offset = LoadLE32(data + kVocorSummaryOffsetOffset);
  if (offset == 0) return Status::kAbsent;
  const auto damaged = [&](const std::string& why) {
    if (reason != nullptr) {
      *reason = "the letter summaries at offset " + std::to_string(offset) +
                " " + why;
    }
    return Status::kDamaged;
  };
  // The field lies in bytes other writers may have filled: without the
  // marker where it points, it is theirs, not a section.
  if (offset < kVocorHeaderSize || offset + kVocorSummaryHeadSize > size ||
      std::memcmp(data + offset, kVocorSummaryMarker, 4) != 0) {
    return Status::kAbsent;
  }
  const char* head = data + offset;
  auto found = std::unique_ptr<VocorLetterSummaries>(new VocorLetterSummaries);
  found->threshold_ = LoadLE32(head + 4);
  found->first_ = LoadLE32(head + 8);
  found->slots_ = LoadLE32(head + 12);
  found->count_ = LoadLE32(head + 16);
  const uint64_t blocks = BlockCount(found->slots_);
  const uint64_t words = WordCount(found->slots_);
  const uint64_t length = kVocorSummaryHeadSize + 4 * blocks + 8 * words +
                          4 * uint64_t{found->count_};
  if (length > size - offset) return damaged("run past the end of the file");
  if (SummariesChecksum(head, length) != LoadLE32(head + 20)) {
    return damaged("fail their checksum");
  }
  found->ranks_ = head + kVocorSummaryHeadSize;
  found->bits_ = found->ranks_ + 4 * blocks;
  found->summaries_ = found->bits_ + 8 * words;
  // The block counts must agree with the bits, or a look-up could index
  // past the summaries. The checksum makes a disagreement a writer's fault.
  uint64_t before = 0;
  for (uint64_t w = 0; w < words; ++w) {
    if (w % (kVocorSummarySlotsPerBlock / 64) == 0 &&
        LoadLE32(found->ranks_ + 4 * (w / (kVocorSummarySlotsPerBlock / 64))) !=
            before) {
      return damaged("count their blocks wrongly");
    }
    before += CountBits(LoadLE64(found->bits_ + 8 * w));
  }
  if (before != found->count_) {
    return damaged("mark " + std::to_string(before) + " nodes for " +
                   std::to_string(found->count_) + " summaries");
  }
  *summaries = std::move(found);
  return Status::kPresent;
}

bool VocorLetterSummaries::HasSlot(uint32_t slot) const {
  return (LoadLE64(bits_ + 8 * (slot / 64)) >> (slot % 64) & 1) != 0;
}

uint32_t VocorLetterSummaries::SummaryAt(uint32_t index) const {
  return LoadLE32(summaries_ + 4 * size_t{index});
}

uint32_t VocorLetterSummaries::LettersBelow(uint32_t offset) const {
  if (offset < first_ || (offset - first_) % 4 != 0) return kAllLetterBits;
  const uint32_t slot = (offset - first_) / 4;
  if (slot >= slots_ || !HasSlot(slot)) return kAllLetterBits;
  const uint32_t block = slot / kVocorSummarySlotsPerBlock;
  uint32_t index = LoadLE32(ranks_ + 4 * size_t{block});
  for (uint32_t w = block * (kVocorSummarySlotsPerBlock / 64); w < slot / 64;
       ++w) {
    index += static_cast<uint32_t>(CountBits(LoadLE64(bits_ + 8 * w)));
  }
  const uint64_t below = (uint64_t{1} << (slot % 64)) - 1;
  index += static_cast<uint32_t>(
      CountBits(LoadLE64(bits_ + 8 * (slot / 64)) & below));
  return SummaryAt(index);
}

}  // namespace vocor
