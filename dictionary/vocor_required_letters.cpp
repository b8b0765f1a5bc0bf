#include "dictionary/vocor_required_letters.h"

#include <algorithm>
#include <array>
#include <bit>

#include "dictionary/vocor_letter_summaries.h"
#include "engine/pattern_automaton.h"

namespace vocor {
namespace {

constexpr int kBits = 32;
using StateSet = uint64_t;  // one bit per explored state
static_assert(WalkRequiredLetters::kMaxStates <= 64);

// The states reachable from the start, and for each the states one letter
// of each summary bit leads to. Empty when there are too many states.
struct Exploration {
  std::vector<int> states;
  std::vector<std::array<StateSet, kBits>> next;
};

Exploration Explore(PatternAutomaton* automaton) {
  Exploration found;
  std::vector<int> index_of;
  const auto index = [&](int state) {
    if (static_cast<size_t>(state) >= index_of.size()) {
      index_of.resize(state + 1, -1);
    }
    if (index_of[state] < 0) {
      index_of[state] = static_cast<int>(found.states.size());
      found.states.push_back(state);
      found.next.emplace_back();
      found.next.back().fill(0);
    }
    return index_of[state];
  };
  index(automaton->start());
  for (size_t i = 0; i < found.states.size(); ++i) {
    for (int c = 1; c < 256; ++c) {
      const int to = automaton->Step(found.states[i], static_cast<unsigned char>(c));
      if (to == PatternAutomaton::kDead) continue;
      const int j = index(to);
      if (found.states.size() > WalkRequiredLetters::kMaxStates) return {};
      const uint32_t bit = LetterSummaryBit(static_cast<unsigned char>(c));
      found.next[i][std::countr_zero(bit)] |= StateSet{1} << j;
    }
  }
  return found;
}

}  // namespace

WalkRequiredLetters::WalkRequiredLetters(PatternAutomaton* automaton) {
  if (automaton->start() == PatternAutomaton::kDead) return;
  const Exploration found = Explore(automaton);
  const size_t n = found.states.size();
  if (n == 0) return;
  StateSet accepting = 0;
  for (size_t i = 0; i < n; ++i) {
    if (automaton->IsAccepting(found.states[i])) accepting |= StateSet{1} << i;
  }
  std::vector<uint32_t> required(n, 0);
  for (int bit = 0; bit < kBits; ++bit) {
    // The states that can still accept without a letter of this bit.
    StateSet can = accepting;
    for (bool grew = true; grew;) {
      grew = false;
      for (size_t i = 0; i < n; ++i) {
        if ((can >> i & 1) != 0) continue;
        StateSet reach = 0;
        for (int other = 0; other < kBits; ++other) {
          if (other != bit) reach |= found.next[i][other];
        }
        if ((reach & can) != 0) {
          can |= StateSet{1} << i;
          grew = true;
        }
      }
    }
    for (size_t i = 0; i < n; ++i) {
      if ((can >> i & 1) == 0) required[i] |= uint32_t{1} << bit;
    }
  }
  int max_id = 0;
  for (int state : found.states) max_id = std::max(max_id, state);
  required_.assign(static_cast<size_t>(max_id) + 1, 0);
  // A walk asks about the state a letter leads to; what the start alone
  // needs (the s of s*) the walk's first step settles without a summary.
  StateSet targets = 0;
  for (const auto& by_bit : found.next) {
    for (StateSet to : by_bit) targets |= to;
  }
  for (size_t i = 0; i < n; ++i) {
    required_[found.states[i]] = required[i];
    any_ = any_ || (required[i] != 0 && (targets >> i & 1) != 0);
  }
}

}  // namespace vocor
