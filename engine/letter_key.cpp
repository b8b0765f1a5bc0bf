#include "engine/letter_key.h"

#include <bit>

namespace vocor {

bool LetterKeyLayout::Init(const std::vector<int>& limits) {
  shift_.clear();
  limit_.clear();
  guards_ = 0;
  full_ = 0;
  int shift = 0;
  for (int limit : limits) {
    if (limit < 0) return false;
    const int value_bits = std::bit_width(static_cast<unsigned>(limit));
    if (shift + value_bits + 1 > 64) return false;
    shift_.push_back(shift);
    limit_.push_back(limit);
    full_ |= static_cast<uint64_t>(limit) << shift;
    guards_ |= uint64_t{1} << (shift + value_bits);
    shift += value_bits + 1;
  }
  return true;
}

uint64_t LetterKeyLayout::Add(uint64_t key, int slot, int count) const {
  if (key == kNever) return kNever;
  const int limit = limit_[slot];
  const uint64_t field_mask =
      (uint64_t{1} << std::bit_width(static_cast<unsigned>(limit))) - 1;
  const int have = static_cast<int>((key >> shift_[slot]) & field_mask);
  if (count < 0 || count > limit - have) return kNever;
  return key + (static_cast<uint64_t>(count) << shift_[slot]);
}

uint64_t LetterKeyIndex::HashOf(uint64_t key) {
  const uint64_t h = key * 0x9e3779b97f4a7c15ull;
  return h ^ (h >> 29);
}

void LetterKeyIndex::MarkKey(uint64_t key) {
  const uint64_t bit = (HashOf(key) >> 32) & (present_.size() * 64 - 1);
  present_[bit >> 6] |= uint64_t{1} << (bit & 63);
}

size_t LetterKeyIndex::SlotOf(uint64_t key) const {
  const uint64_t h = HashOf(key);
  const size_t mask = table_.size() - 1;
  for (size_t slot = h & mask;; slot = (slot + 1) & mask) {
    const Entry& entry = table_[slot];
    if (entry.words.first < 0 || entry.key == key) return slot;
  }
}

void LetterKeyIndex::Grow() {
  std::vector<Entry> old;
  old.swap(table_);
  table_.assign(old.empty() ? 64 : old.size() * 2, Entry{0, Range{}});
  // Four bits a slot: eight or more a key.
  present_.assign(table_.size() / 16, 0);
  for (const Entry& entry : old) {
    if (entry.words.first >= 0) {
      table_[SlotOf(entry.key)] = entry;
      MarkKey(entry.key);
    }
  }
}

void LetterKeyIndex::Add(uint64_t key, int word) {
  // At most half full, so that a miss (most lookups) ends within a probe
  // or two.
  if ((used_ + 1) * 2 > table_.size()) Grow();
  if (next_.size() <= static_cast<size_t>(word)) next_.resize(word + 1, -1);
  Entry& entry = table_[SlotOf(key)];
  if (entry.words.first < 0) {
    entry = Entry{key, Range{word, word}};
    MarkKey(key);
    ++used_;
    return;
  }
  next_[entry.words.last] = word;
  entry.words.last = word;
}

LetterKeyIndex::Range LetterKeyIndex::Find(uint64_t key) const {
  if (table_.empty()) return Range{};
  // Most keys asked about are no word's: the bits, small enough to stay
  // in the cache, answer most of those without the table.
  const uint64_t bit = (HashOf(key) >> 32) & (present_.size() * 64 - 1);
  if (!(present_[bit >> 6] & (uint64_t{1} << (bit & 63)))) return Range{};
  return table_[SlotOf(key)].words;
}

}  // namespace vocor
