// A compact hash set of words, for the many exact look-ups of an equation
// search: the words' bytes in one buffer and an open-addressing table of
// (hash tag, offset) slots, about 8 bytes per slot plus the words
// themselves. Exact: a tag match is confirmed by comparing the bytes.
// The table outgrows the processor's caches, so most look-ups of words
// that are absent (the common case in a search) are answered by a small
// filter first: two bits per word in one 64-bit cell, 8 bits per slot.
#ifndef VOCOR_ENGINE_WORD_HASH_SET_H_
#define VOCOR_ENGINE_WORD_HASH_SET_H_

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

class WordHashSet {
 public:
  // Adds `word` unless present. Words longer than 65535 bytes are not
  // stored: Add returns false for them, and the set is then incomplete.
  bool Add(std::string_view word);
  bool Contains(std::string_view word) const;
  // Makes room for `words` words without growing on the way.
  void Reserve(size_t words);

  // Bytes held by the buffer and the table.
  size_t bytes() const {
    return chars_.capacity() + slots_.capacity() * 8 + filter_.capacity() * 8;
  }
  size_t size() const { return count_; }

 private:
  struct Slot {
    uint32_t tag = 0;
    uint32_t offset = 0;  // into chars_, plus one; 0 for an empty slot
  };
  static uint64_t Hash(std::string_view word);
  std::string_view WordAt(uint32_t offset) const;
  // The slot holding `word`, or the empty slot where it would go.
  size_t Find(std::string_view word, uint64_t hash) const;
  void Grow();
  uint64_t& FilterCell(uint64_t hash) {
    return filter_[(hash >> 40) & (filter_.size() - 1)];
  }
  bool MayContain(uint64_t hash) const {
    const uint64_t bits = FilterBits(hash);
    return (filter_[(hash >> 40) & (filter_.size() - 1)] & bits) == bits;
  }
  static uint64_t FilterBits(uint64_t hash) {
    return uint64_t{1} << ((hash >> 26) & 63) | uint64_t{1}
                                                    << ((hash >> 20) & 63);
  }

  std::string chars_;  // each word: two length bytes, then its bytes
  std::vector<Slot> slots_;
  std::vector<uint64_t> filter_;  // slots_.size() / 8 cells
  size_t count_ = 0;
};

// Which runs may begin a word: one bit per prefix of every word added,
// found by an incremental hash. A run whose bit is clear begins no word
// (a search stops lengthening it); a set bit may be a collision.
class PrefixFilter {
 public:
  // Sizes the filter for about `words` words (16 bits a prefix-rich word).
  void Reset(size_t words);
  void AddWord(std::string_view word);
  bool MayBegin(std::string_view run) const;
  size_t bytes() const { return bits_.capacity() * 8; }

 private:
  static uint64_t Step(uint64_t hash, unsigned char c) {
    return (hash ^ c) * 0x100000001b3ULL;
  }
  size_t Bit(uint64_t hash) const {
    return static_cast<size_t>((hash * 0x9E3779B97F4A7C15ULL) >> shift_);
  }
  static constexpr uint64_t kSeed = 0xcbf29ce484222325ULL;
  std::vector<uint64_t> bits_;
  int shift_ = 64;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_WORD_HASH_SET_H_
