// How the results list orders and filters the words found, without any
// widget: the stored texts of the two settings, the tone and tool tip of a
// word by its score, and what a change of order does to the words shown.
//
// Both settings are kept under the window key (beside "Font"):
//   "ResultOrder"   "alpha" (the default) or "score" (best first)
//   "MinimumScore"  a decimal number 1..100; 1 (the default) leaves nothing
//                   out
// A missing or unreadable value gives its default; nothing is stored until
// the user changes a setting.
#ifndef VOCOR_APP_SEARCH_RESULT_SETTINGS_H_
#define VOCOR_APP_SEARCH_RESULT_SETTINGS_H_

#include <string>
#include <string_view>

#include "engine/score.h"
#include "search/result_order.h"

namespace vocor {

inline constexpr char kResultOrderValue[] = "ResultOrder";
inline constexpr char kMinimumScoreValue[] = "MinimumScore";

struct ResultSettings {
  ResultOrder order = ResultOrder::kAlphabetical;
  int min_score = kMinScore;
};

// The stored text of a minimum score: its decimal digits.
std::string FormatMinimumScore(int score);
// Accepts only decimal digits giving kMinScore..kMaxScore; false (and
// *score untouched) for anything else.
bool ParseMinimumScore(std::string_view text, int* score);

// The settings stored under `key`, each value that is missing or not
// understood at its default.
ResultSettings LoadResultSettings(const char* key);
// Stores both values under `key`; false when the store refused a write.
bool SaveResultSettings(const char* key, const ResultSettings& settings);

// Words scoring under this are drawn in a lighter colour: rare words that
// a puzzle is less likely to want.
inline constexpr int kWeakScoreBelow = 30;
bool IsWeakScore(int score);
// The tool tip of a listed word: "Score: 42".
std::string ScoreToolTip(int score);

// The status line after a search with a minimum score above kMinScore
// ("Words scoring under 40 are left out"); empty without one.
std::string MinimumScoreStatus(int min_score);

// Whether choosing another order runs the search shown again rather than
// sorting the words shown: when it is still running or stopped at the
// match limit, the words it keeps depend on the order. A search that ran
// to its end, or that the user stopped, keeps its words.
bool NewOrderRunsSearchAgain(bool searching, bool ended_at_limit);

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_RESULT_SETTINGS_H_
