// Letter multisets packed into one 64-bit key: a bit field per letter of a
// budget, each one bit wider than the budget's count needs. Whether a word
// fits what is left and what is left after it are then one subtraction
// each, and the letters a phrase's last word must use are a hash key.
#ifndef VOCOR_ENGINE_LETTER_KEY_H_
#define VOCOR_ENGINE_LETTER_KEY_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vocor {

class LetterKeyLayout {
 public:
  // A key no multiset within the limits has: the word needs more of some
  // letter than the budget holds.
  static constexpr uint64_t kNever = ~uint64_t{0};

  // One field per entry of `limits` (each 0 or more and finite), wide
  // enough for that count and a guard bit. False when the fields need
  // more than 64 bits; the layout must not be used then.
  bool Init(const std::vector<int>& limits);

  // Adds `count` of field `slot`'s letter to `key`; kNever when the sum
  // would exceed the field's limit. `key` is kNever already or within the
  // limits.
  uint64_t Add(uint64_t key, int slot, int count) const;

  // The key of the limits themselves: the whole budget.
  uint64_t full() const { return full_; }

  // Whether `word` (within the limits, not kNever) fits in `left`, a key
  // within the limits: no field of `word` is above the same field of
  // `left`. The guard bits of `left | guards` absorb every borrow.
  bool Fits(uint64_t word, uint64_t left) const {
    return (((left | guards_) - word) & guards_) == guards_;
  }

 private:
  std::vector<int> shift_;
  std::vector<int> limit_;
  uint64_t guards_ = 0;
  uint64_t full_ = 0;
};

// Words by letter key. Words are added in ascending order; the words of a
// key are chained in that order, so a lookup reads them ascending without
// sorting. Lookups allocate nothing.
class LetterKeyIndex {
 public:
  struct Range {
    int first = -1;  // -1: no word has the key
    int last = -1;
  };

  // `word` must be above every word added before.
  void Add(uint64_t key, int word);
  Range Find(uint64_t key) const;
  // The word after `word` with the same key, or -1.
  int NextOf(int word) const { return next_[word]; }

 private:
  struct Entry {
    uint64_t key;
    Range words;
  };
  static uint64_t HashOf(uint64_t key);
  size_t SlotOf(uint64_t key) const;
  void MarkKey(uint64_t key);
  void Grow();

  std::vector<Entry> table_;  // open addressing, a power of two in size
  size_t used_ = 0;
  // One bit per hash of the keys held: a clear bit proves a key absent.
  std::vector<uint64_t> present_;
  std::vector<int> next_;  // per word index
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_LETTER_KEY_H_
