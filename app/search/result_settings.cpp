#include "app/search/result_settings.h"

#include "settings/settings_store.h"

namespace vocor {

std::string FormatMinimumScore(int score) { return std::to_string(score); }

bool ParseMinimumScore(std::string_view text, int* score) {
  // Three digits hold every valid score; more could only overflow.
  if (text.empty() || text.size() > 3) return false;
  int value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  if (value < kMinScore || value > kMaxScore) return false;
  *score = value;
  return true;
}

ResultSettings LoadResultSettings(const char* key) {
  ResultSettings settings;
  std::string text;
  if (ReadRegString(kCurrentUser, key, kResultOrderValue, &text)) {
    ParseResultOrder(text, &settings.order);
  }
  if (ReadRegString(kCurrentUser, key, kMinimumScoreValue, &text)) {
    ParseMinimumScore(text, &settings.min_score);
  }
  return settings;
}

bool SaveResultSettings(const char* key, const ResultSettings& settings) {
  const bool order = WriteRegString(kCurrentUser, key, kResultOrderValue,
                                    ResultOrderName(settings.order));
  const bool min_score =
      WriteRegString(kCurrentUser, key, kMinimumScoreValue,
                     FormatMinimumScore(settings.min_score).c_str());
  return order && min_score;
}

bool IsWeakScore(int score) { return score < kWeakScoreBelow; }

std::string ScoreToolTip(int score) {
  return "Score: " + std::to_string(score);
}

std::string MinimumScoreStatus(int min_score) {
  if (min_score <= kMinScore) return {};
  return "Words scoring under " + std::to_string(min_score) +
         " are left out (View > Minimum Score)";
}

bool NewOrderRunsSearchAgain(bool searching, bool ended_at_limit) {
  return searching || ended_at_limit;
}

}  // namespace vocor
