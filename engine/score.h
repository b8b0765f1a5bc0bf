// Scores: how common a word is, from kMinScore (rare, doubtful fill) to
// kMaxScore (everyday). A phrase scores as its weakest word.
#ifndef VOCOR_ENGINE_SCORE_H_
#define VOCOR_ENGINE_SCORE_H_

#include <array>
#include <cstdint>

namespace vocor {

constexpr int kMinScore = 1;
constexpr int kMaxScore = 100;
// The score of every word of a list that gives none.
constexpr int kDefaultScore = 50;

// How many words carry each score, indexed by the score (entry 0 unused).
// Used to plan best-first reading, so leaves may approximate.
using ScoreCounts = std::array<int64_t, kMaxScore + 1>;

inline bool IsValidScore(int score) {
  return score >= kMinScore && score <= kMaxScore;
}

}  // namespace vocor

#endif  // VOCOR_ENGINE_SCORE_H_
