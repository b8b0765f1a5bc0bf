#include "search/result_options.h"

#include "engine/ranked.h"

namespace vocor {

EnumPtr ApplyResultOptions(EnumPtr query, const ResultOptions& options) {
  if (query == nullptr) return query;
  query = query->MinScore(std::move(query), options.min_score);
  if (options.order != ResultOrder::kByScore || IsNone(query.get())) {
    return query;
  }
  return std::make_unique<CEnumResultsRanked>(std::move(query), options.keep);
}

}  // namespace vocor
