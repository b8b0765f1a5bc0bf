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
class VocorLetterSummaries;
class WalkRequiredLetters;

class WalkLiveStates {
 public:
  static constexpr int kMaxStates = 7;

  // Explores `automaton` from its start over every byte. Null when more
  // than kMaxStates states other than the dead one are reachable. With
  // `required` and `summaries` (both null, or both the walk's), a subtree
  // whose summary lacks what every state but those that take everything
  // needs is settled without being read. The arguments are borrowed and
  // must outlive the result; the automaton's state ids must stay what they
  // are (they do for its lifetime).
  static std::unique_ptr<WalkLiveStates> Create(
      PatternAutomaton* automaton, const VocorFileContents* file,
      const WalkRequiredLetters* required,
      const VocorLetterSummaries* summaries);
  ~WalkLiveStates();
  WalkLiveStates(const WalkLiveStates&) = delete;
  WalkLiveStates& operator=(const WalkLiveStates&) = delete;

  // Whether a word at or below the node at `offset`, read from `state`,
  // can match. Works out what it needs of the subtree on first use; later
  // questions are one look-up. Each node is read once, and only
  // as far as the letters and child offsets go (counts are the walk's
  // business): a node that lies outside the file, an odd offset, a cycle
  // or a path deeper than any word counts as leading to a match in every
  // state, so the walk enters it and meets the damage itself.
  bool Live(uint32_t offset, int state);

 private:
  using Mask = uint8_t;
  static constexpr Mask kAllLive = 0xff;

  // For nodes in the first `node_bytes` bytes of the image.
  WalkLiveStates(const VocorFileContents* file, size_t node_bytes);

  // Works out, for the node at `offset` and the states of `want` it does
  // not know yet, whether they lead to a match, with whatever of its
  // subtree that needs. Only the states a walk can be in at a node are
  // ever asked about there, so a walk that can only be in its first state
  // at most nodes works that state out alone.
  void Compute(uint32_t offset, Mask want);
  // For a child asked about in the states of `wanted`: settles those that
  // need no reading (states that take everything; states its summary rules
  // out) and returns the set known for it. When some still need its
  // subtree, sets *descend and returns them instead. Cycles and nodes
  // outside the file answer kAllLive.
  Mask Resolve(uint32_t child, Mask wanted, bool* descend);
  // The states of needs_reading_ that the summary of the node at `offset`,
  // with `all` words at and below it, leaves open: all of them when it
  // has none, or is too small to be worth asking.
  Mask StatesLeftOpen(uint32_t offset, uint32_t all) const;
  // The states whose step on a letter of class `group` leads to a state in
  // `below`.
  Mask Contribution(uint8_t group, Mask below) const {
    return contributions_[group][below];
  }

  const VocorFileContents* file_;
  size_t slots_;  // 4-byte-aligned offsets where nodes can lie
  // Per automaton state id: its index in a mask, or -1 for none.
  std::vector<int8_t> index_of_;
  size_t index_count_ = 0;
  Mask accepting_ = 0;
  Mask takes_everything_ = 0;
  Mask needs_reading_ = 0;  // the other states
  // Per mask index: the summary bits a match from that state needs.
  std::array<uint32_t, kMaxStates> required_ = {};
  const VocorLetterSummaries* summaries_ = nullptr;
  // Bytes that step every state alike share a class.
  std::array<uint8_t, 256> group_of_ = {};
  std::vector<std::array<Mask, 256>> contributions_;
  // Per mask index and letter class: the states a set of states steps to.
  std::vector<std::array<Mask, 128>> reached_;
  // Per aligned offset: the states worked out for the node there
  // (kInProgress while its subtree is being worked out), and of those the
  // ones that lead to a match. Two bytes per node keep the array half the
  // image; allocated zeroed, so a walk over a small part of a large file
  // backs only the pages it touches.
  static constexpr uint8_t kInProgress = 0x80;
  struct NodeSets {
    uint8_t known;
    uint8_t live;
  };
  std::unique_ptr<NodeSets, FreeDeleter> sets_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_LIVE_STATES_H_
