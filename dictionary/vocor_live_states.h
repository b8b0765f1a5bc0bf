// Internal to the binary dictionary reader: for a pattern with a star and an
// automaton of few states, the states in which a walk can still find a
// match below a node, worked out for a whole subtree in one pass.
//
// A pattern such as *xz* reaches almost every node of the letter tree in
// its first state, so a walk that asks the automaton at every node, and
// remembers the pairs that found nothing, still visits the whole tree one
// pair at a time. Here each node gets one byte, the set of states (at most
// seven) that lead to a match below it, computed from its children's sets
// through a table per letter class: the same tree in a fraction of the
// time, after which the walk enters only nodes that lead to a match.
#ifndef VOCOR_DICTIONARY_VOCOR_LIVE_STATES_H_
#define VOCOR_DICTIONARY_VOCOR_LIVE_STATES_H_

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "dictionary/file_image.h"

namespace vocor {

class PatternAutomaton;
class VocorFileContents;

class WalkLiveStates {
 public:
  static constexpr int kMaxStates = 7;

  // Explores `automaton` from its start over every byte. Null when more
  // than kMaxStates states other than the dead one are reachable. Both
  // arguments are borrowed and must outlive the result; the automaton's
  // state ids must stay what they are (they do for its lifetime).
  static std::unique_ptr<WalkLiveStates> Create(PatternAutomaton* automaton,
                                                const VocorFileContents* file);
  ~WalkLiveStates();
  WalkLiveStates(const WalkLiveStates&) = delete;
  WalkLiveStates& operator=(const WalkLiveStates&) = delete;

  // Whether a word at or below the node at `offset`, read from `state`,
  // can match. Computes the sets of the whole subtree on first use; later
  // questions about it are one look-up. Each node is read once, and only
  // as far as the letters and child offsets go (counts are the walk's
  // business): a node that lies outside the file, an odd offset, a cycle
  // or a path deeper than any word counts as leading to a match in every
  // state, so the walk enters it and meets the damage itself.
  bool Live(uint32_t offset, int state);

 private:
  using Mask = uint8_t;
  static constexpr Mask kAllLive = 0xff;

  WalkLiveStates(const VocorFileContents* file, size_t image_size);

  // The set of the node at `offset`, computed with its subtree if needed.
  Mask MaskOf(uint32_t offset);
  Mask ComputeSubtree(uint32_t offset);
  // The states whose step on a letter of class `group` leads to a state in
  // `below`.
  Mask Contribution(uint8_t group, Mask below) const {
    return contributions_[group][below];
  }

  const VocorFileContents* file_;
  size_t slots_;  // 4-byte-aligned offsets of the image
  // Per automaton state id: its index in a mask, or -1 for none.
  std::vector<int8_t> index_of_;
  Mask accepting_ = 0;
  // Bytes that step every state alike share a class.
  std::array<uint8_t, 256> group_of_ = {};
  std::vector<std::array<Mask, 256>> contributions_;
  // Per aligned offset: 0 not yet known, kInProgress while its subtree is
  // being worked out, else the set + 1. One byte per node keeps the array
  // a quarter of the image, mostly in cache. Allocated zeroed, so a walk
  // over a small part of a large file backs only the pages it touches.
  static constexpr uint8_t kInProgress = 0xff;
  std::unique_ptr<uint8_t, FreeDeleter> masks_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_LIVE_STATES_H_
