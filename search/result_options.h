// How a search's results are chosen and ordered beyond what the form asks:
// a minimum score and the order. Both are the user's settings, kept apart
// from the search forms' inputs.
#ifndef VOCOR_SEARCH_RESULT_OPTIONS_H_
#define VOCOR_SEARCH_RESULT_OPTIONS_H_

#include "engine/enum_results.h"
#include "engine/score.h"
#include "search/result_order.h"

namespace vocor {

struct ResultOptions {
  ResultOrder order = ResultOrder::kAlphabetical;
  // Results (and phrases holding a word) scoring under this are left out.
  int min_score = kMinScore;
  // How many results the search keeps at most (its limit); 0 for all. In
  // score order the query then yields the best `keep` results first.
  int keep = 0;
};

// `query` restricted to the minimum score and, in score order, rewritten
// to yield its results best first. Consumes `query`.
EnumPtr ApplyResultOptions(EnumPtr query, const ResultOptions& options);

}  // namespace vocor

#endif  // VOCOR_SEARCH_RESULT_OPTIONS_H_
