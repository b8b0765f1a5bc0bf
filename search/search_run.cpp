#include "search/search_run.h"

#include "engine/score.h"

namespace vocor {

CSearchRun::CSearchRun(EnumPtr query, std::unique_ptr<CResultsSink> sink,
                       SearchObserver* observer, int limit)
    : query_(std::move(query)),
      sink_(std::move(sink)),
      observer_(observer),
      limit_(limit),
      extent_(query_ ? query_->GetExtent() : 1),
      uses_scores_(sink_->UsesScores()) {
  sink_->BeginResults();
}

CSearchRun::~CSearchRun() { End(); }

int CSearchRun::position() const { return query_ ? query_->GetPosition() : 0; }

bool CSearchRun::Step() {
  if (!running()) return false;
  int counter = kWorkPerStep;
  const char* word = query_->Next(&counter);
  if (word != nullptr) {
    sink_->AddResult(word, uses_scores_ ? query_->Score() : kDefaultScore);
    const int n = sink_->GetResultCount();
    const bool at_limit = limit_ > 0 && n >= limit_;
    if (n % kRefreshEvery == 0 || at_limit) {
      if (observer_) observer_->OnProgress(query_->GetPosition());
    }
    if (at_limit) {
      End();
      if (observer_) observer_->OnLimitReached();
    }
    return true;
  }
  if (counter <= 0) {  // the slice is used up; more to come
    if (observer_) observer_->OnProgress(query_->GetPosition());
    return true;
  }
  End();
  if (observer_) observer_->OnFinished();
  return false;
}

void CSearchRun::Stop() { End(); }

void CSearchRun::End() {
  query_.reset();
  if (!sink_ended_) {
    sink_ended_ = true;
    sink_->EndResults();
  }
}

}  // namespace vocor
