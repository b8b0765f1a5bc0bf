// A leaf enumerator over an in-memory word list, for tests of the algebra
// that need no dictionary file. Each word costs `cost` units of work, and
// the leaf suspends whenever it finds the counter at 0 before a word is
// complete, the way a dictionary reader with fine-grained work does.
#ifndef VOCOR_ENGINE_TESTING_VECTOR_ENUM_H_
#define VOCOR_ENGINE_TESTING_VECTOR_ENUM_H_

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/enum_results.h"

namespace vocor::testing {

class VectorEnum final : public CEnumResults {
 public:
  explicit VectorEnum(std::vector<std::string> words, int cost = 1,
                      std::string name = "words");

  // Word i scores scores[i]; without scores every word has the default.
  // Must be called before the first Next; `scores` has one per word.
  void SetScores(std::vector<int> scores);

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // Absorbed: words under the floor are skipped, each still costing work.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;
  int GetPosition() const override;
  int GetExtent() const override;
  int Score() const override;
  void CountScores(ScoreCounts* counts) const override;

  // Number of Next calls that returned a word, over the object's life.
  int words_read() const { return words_read_; }

 private:
  std::shared_ptr<const std::vector<std::string>> words_;
  std::shared_ptr<const std::vector<int>> scores_;  // null: all default
  int floor_ = kMinScore;
  int score_ = kDefaultScore;
  int cost_;
  std::string name_;
  size_t index_ = 0;
  int units_done_ = 0;
  int words_read_ = 0;
};

EnumPtr MakeVectorEnum(std::vector<std::string> words, int cost = 1,
                       std::string name = "words");

// A leaf over `words`, each with its score.
EnumPtr MakeScoredVectorEnum(
    const std::vector<std::pair<std::string, int>>& scored, int cost = 1,
    std::string name = "words");

// Reads `e` to exhaustion with no work limit.
std::vector<std::string> ReadAll(CEnumResults* e);

// Reads `e` to exhaustion in slices of `slice` units, refilling the counter
// after every suspension, and counts the suspensions in *suspensions.
std::vector<std::string> ReadAllInSlices(CEnumResults* e, int slice,
                                         int* suspensions = nullptr);

// The same, each result with its score.
std::vector<std::pair<std::string, int>> ReadScoredInSlices(CEnumResults* e,
                                                            int slice);

}  // namespace vocor::testing

#endif  // VOCOR_ENGINE_TESTING_VECTOR_ENUM_H_
