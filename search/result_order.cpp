#include "search/result_order.h"

#include <algorithm>

#include "search/results_sink.h"

namespace vocor {
namespace {

int WordCount(std::string_view text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), ' '));
}

}  // namespace

bool ComesFirstByScore(std::string_view a, int a_score, std::string_view b,
                       int b_score) {
  if (a_score != b_score) return a_score > b_score;
  const int a_words = WordCount(a), b_words = WordCount(b);
  if (a_words != b_words) return a_words < b_words;
  return a < b;
}

void SortScoredViews(ResultOrder order, std::vector<ScoredView>* results) {
  if (order == ResultOrder::kAlphabetical) {
    std::sort(results->begin(), results->end(),
              [](const ScoredView& a, const ScoredView& b) {
                return a.text < b.text;
              });
  } else {
    std::sort(results->begin(), results->end(),
              [](const ScoredView& a, const ScoredView& b) {
                return ComesFirstByScore(a.text, a.score, b.text, b.score);
              });
  }
}

const char* ResultOrderName(ResultOrder order) {
  return order == ResultOrder::kByScore ? "score" : "alpha";
}

bool ParseResultOrder(std::string_view text, ResultOrder* order) {
  if (text == "alpha") {
    *order = ResultOrder::kAlphabetical;
  } else if (text == "score") {
    *order = ResultOrder::kByScore;
  } else {
    return false;
  }
  return true;
}

}  // namespace vocor
