// Internal to the binary dictionary reader: the states of the frames of
// its walk, shared by the file that sets the walk up and the file that
// steps it.
#ifndef VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_
#define VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_

#include <cstddef>

namespace vocor {

// Frame states. Non-negative states are the index of the next entry to
// try (for a literal letter: the matching entry).
constexpr int kWalkUnvisited = -100;
constexpr int kWalkEmptyMatchTried = -99;
constexpr int kWalkNoSuchLetter = -1;

// Below this many nested '*' branches a word's weight in the progress is
// split among the branches; deeper, the position stands still until the
// walk comes back out, since the weights would be too small to matter.
constexpr int kWalkWeightedStarDepth = 10;

constexpr size_t kWalkReservedFrames = 1000;

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_WALK_STATES_H_
