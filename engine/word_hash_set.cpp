#include "engine/word_hash_set.h"

#include <functional>

namespace vocor {

uint64_t WordHashSet::Hash(std::string_view word) {
  return std::hash<std::string_view>()(word);
}

std::string_view WordHashSet::WordAt(uint32_t offset) const {
  const char* at = chars_.data() + offset - 1;
  const size_t length = static_cast<unsigned char>(at[0]) |
                        static_cast<size_t>(static_cast<unsigned char>(at[1]))
                            << 8;
  return std::string_view(at + 2, length);
}

size_t WordHashSet::Find(std::string_view word, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  const auto tag = static_cast<uint32_t>(hash >> 32);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.offset == 0) return i;
    if (slot.tag == tag && WordAt(slot.offset) == word) return i;
  }
}

bool WordHashSet::Contains(std::string_view word) const {
  if (slots_.empty()) return false;
  const uint64_t hash = Hash(word);
  return MayContain(hash) && slots_[Find(word, hash)].offset != 0;
}

void WordHashSet::Reserve(size_t words) {
  size_t size = 1024;
  while (size < words * 2) size *= 2;
  while (slots_.size() < size) Grow();
}

void WordHashSet::Grow() {
  std::vector<Slot> old = std::move(slots_);
  slots_.assign(old.empty() ? 1024 : old.size() * 2, Slot());
  filter_.assign(slots_.size() / 8, 0);
  const size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.offset == 0) continue;
    const uint64_t hash = Hash(WordAt(slot.offset));
    size_t i = hash & mask;
    while (slots_[i].offset != 0) i = (i + 1) & mask;
    slots_[i] = slot;
    FilterCell(hash) |= FilterBits(hash);
  }
}

bool WordHashSet::Add(std::string_view word) {
  if (word.size() > 0xFFFF) return false;
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const uint64_t hash = Hash(word);
  const size_t i = Find(word, hash);
  if (slots_[i].offset != 0) return true;
  FilterCell(hash) |= FilterBits(hash);
  slots_[i].tag = static_cast<uint32_t>(hash >> 32);
  slots_[i].offset = static_cast<uint32_t>(chars_.size() + 1);
  chars_ += static_cast<char>(word.size() & 0xFF);
  chars_ += static_cast<char>(word.size() >> 8);
  chars_.append(word);
  ++count_;
  return true;
}

void PrefixFilter::Reset(size_t words) {
  int log2 = 16;
  while (log2 < 27 && (size_t{1} << log2) < words * 16) ++log2;
  bits_.assign((size_t{1} << log2) / 64, 0);
  shift_ = 64 - log2;
}

void PrefixFilter::AddWord(std::string_view word) {
  uint64_t hash = kSeed;
  for (const char c : word) {
    hash = Step(hash, static_cast<unsigned char>(c));
    const size_t bit = Bit(hash);
    bits_[bit >> 6] |= uint64_t{1} << (bit & 63);
  }
}

bool PrefixFilter::MayBegin(std::string_view run) const {
  if (bits_.empty()) return true;
  uint64_t hash = kSeed;
  for (const char c : run) hash = Step(hash, static_cast<unsigned char>(c));
  const size_t bit = Bit(hash);
  return (bits_[bit >> 6] >> (bit & 63)) & 1;
}

}  // namespace vocor
