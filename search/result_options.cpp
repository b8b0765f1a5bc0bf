#include "search/result_options.h"

namespace vocor {

EnumPtr ApplyResultOptions(EnumPtr query, const ResultOptions& options) {
  if (query == nullptr) return query;
  query = query->MinScore(std::move(query), options.min_score);
  return query;
}

}  // namespace vocor
