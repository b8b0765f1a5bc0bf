#include "dictionary/vocor_walk_states.h"

#include <cstdlib>

namespace vocor {

WalkDeadPairs::WalkDeadPairs(size_t image_size) : slots_(image_size / 4 + 1) {}

WalkDeadPairs::~WalkDeadPairs() = default;

void WalkDeadPairs::Insert(uint32_t offset, int state) {
  if (IsDense(offset, state)) {
    auto& bits = dense_[state];
    if (bits == nullptr) {
      bits.reset(static_cast<uint8_t*>(std::calloc(slots_ / 8 + 1, 1)));
    }
    if (bits != nullptr) {
      const uint32_t slot = offset / 4;
      bits.get()[slot >> 3] |= static_cast<uint8_t>(1u << (slot & 7));
      return;
    }
    // Out of memory for the array: the pair goes to the hash set.
  }
  if (2 * (used_ + 1) > table_.size()) Grow();
  const uint64_t key = Key(offset, state);
  uint64_t& slot = table_[Find(key)];
  if (slot == kEmpty) {
    slot = key;
    ++used_;
  }
}

size_t WalkDeadPairs::Find(uint64_t key) const {
  const size_t mask = table_.size() - 1;
  size_t i = static_cast<size_t>((key * 0x9E3779B97F4A7C15u) >> 20) & mask;
  while (table_[i] != kEmpty && table_[i] != key) i = (i + 1) & mask;
  return i;
}

void WalkDeadPairs::Grow() {
  std::vector<uint64_t> old = std::move(table_);
  table_.assign(old.empty() ? 1024 : 2 * old.size(), kEmpty);
  for (const uint64_t key : old) {
    if (key != kEmpty) table_[Find(key)] = key;
  }
}

}  // namespace vocor
