// Internal to the binary dictionary reader: for each state of a pattern's
// automaton, the letters that every match from that state must still
// contain, as summary bits (vocor_letter_summaries.h). A walk in a state
// that needs an x passes over every node whose summary has no x.
#ifndef VOCOR_DICTIONARY_VOCOR_REQUIRED_LETTERS_H_
#define VOCOR_DICTIONARY_VOCOR_REQUIRED_LETTERS_H_

#include <cstddef>
#include <cstdint>
#include <vector>

namespace vocor {

class PatternAutomaton;

class WalkRequiredLetters {
 public:
  // Patterns whose automaton reaches more states from its start are left
  // without claims: working them out would cost more than most walks.
  static constexpr int kMaxStates = 64;

  // Explores `automaton`, which is borrowed and must outlive this object,
  // from its start over every byte.
  explicit WalkRequiredLetters(PatternAutomaton* automaton);

  // The summary bits of which every continuation that `state` accepts has
  // a letter; 0 (no claim) for accepting states and for states the
  // exploration did not meet.
  uint32_t Of(int state) const {
    return state >= 0 && static_cast<size_t>(state) < required_.size()
               ? required_[state]
               : 0;
  }

  // Whether any state a letter leads to needs a letter: the walk asks
  // only about those.
  bool any() const { return any_; }

 private:
  std::vector<uint32_t> required_;  // per automaton state id
  bool any_ = false;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_REQUIRED_LETTERS_H_
