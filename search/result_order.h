// The two orders of a results list: alphabetical (the default), or best
// first by score.
#ifndef VOCOR_SEARCH_RESULT_ORDER_H_
#define VOCOR_SEARCH_RESULT_ORDER_H_

#include <string_view>
#include <vector>

namespace vocor {

struct ScoredView;

enum class ResultOrder {
  // Ascending bytes of the UTF-8 text, the order of `LC_ALL=C sort`.
  kAlphabetical,
  // Highest score first; among equal scores fewer words first, then
  // alphabetical.
  kByScore,
};

// Whether UTF-8 result `a` scoring `a_score` comes before `b` in score
// order.
bool ComesFirstByScore(std::string_view a, int a_score, std::string_view b,
                       int b_score);

// Sorts `results` into `order`.
void SortScoredViews(ResultOrder order, std::vector<ScoredView>* results);

// "alpha" and "score", as settings and vocor-cli's --sort store them.
const char* ResultOrderName(ResultOrder order);
// False (and *order untouched) for any other text.
bool ParseResultOrder(std::string_view text, ResultOrder* order);

}  // namespace vocor

#endif  // VOCOR_SEARCH_RESULT_ORDER_H_
