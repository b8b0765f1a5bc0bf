// Internal to the binary dictionary reader: the marks of its walk's frames
// and the memo of (node, automaton state) pairs below which nothing
// matches, shared by the file that sets the walk up and the file that
// steps it.
#ifndef VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_
#define VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "dictionary/file_image.h"

namespace vocor {

// The entry index of a frame whose node's own word has not been looked at.
constexpr int kWalkUnvisited = -100;

constexpr size_t kWalkReservedFrames = 1000;

// Once a walk's automaton has this many states, each state entering a node
// is restricted to the places that can end within the longest word below.
constexpr int kWalkRestrictStates = 256;

// The (node offset, automaton state) pairs below which no word matches. A
// minimal letter tree shares subtrees between many paths, and a pattern that
// reaches a shared node in the same state on two paths finds the same words
// below it on both: remembering the pairs that found none, a walk enters
// no subtree in vain twice.
//
// The first kDenseStates states keep one bit per 4-byte-aligned offset of
// the image (where writers put nodes), each array allocated zeroed when its
// state first marks a pair: a state costs image size / 32 bytes at most,
// and calloc leaves the pages a walk never touches unbacked for large
// images. Later states, and odd offsets, go to an open-addressing hash set
// of 8 bytes per slot, kept at most half full.
class WalkDeadPairs {
 public:
  static constexpr int kDenseStates = 64;

  // For an image of `image_size` bytes.
  explicit WalkDeadPairs(size_t image_size);
  ~WalkDeadPairs();
  WalkDeadPairs(const WalkDeadPairs&) = delete;
  WalkDeadPairs& operator=(const WalkDeadPairs&) = delete;

  bool Contains(uint32_t offset, int state) const {
    if (IsDense(offset, state) && dense_[state] != nullptr) {
      const uint32_t slot = offset / 4;
      return ((dense_[state].get()[slot >> 3] >> (slot & 7)) & 1) != 0;
    }
    // A dense state whose array could not be allocated keeps its pairs
    // here too.
    return !table_.empty() && table_[Find(Key(offset, state))] != kEmpty;
  }
  void Insert(uint32_t offset, int state);

 private:
  static constexpr uint64_t kEmpty = ~uint64_t{0};

  bool IsDense(uint32_t offset, int state) const {
    return state < kDenseStates && offset % 4 == 0 && offset / 4 < slots_;
  }
  static uint64_t Key(uint32_t offset, int state) {
    return uint64_t{static_cast<uint32_t>(state)} << 32 | offset;
  }
  // The slot holding `key`, or the empty slot where it would go.
  size_t Find(uint64_t key) const;
  void Grow();

  size_t slots_;  // bits per dense array
  std::unique_ptr<uint8_t, FreeDeleter> dense_[kDenseStates];
  std::vector<uint64_t> table_;  // a power of two long, or empty
  size_t used_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_
