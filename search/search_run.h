// One running search, driven from the user-interface thread's idle time:
// each Step asks the query for one word with a budget of kWorkPerStep units,
// hands a word to the sink, and tells the observer when to refresh the
// display. The window drives it from its idle hook, the command-line
// searcher from a loop; both get exactly the same behaviour.
#ifndef VOCOR_SEARCH_SEARCH_RUN_H_
#define VOCOR_SEARCH_SEARCH_RUN_H_

#include <memory>

#include "engine/enum_results.h"
#include "search/results_sink.h"

namespace vocor {

// Callbacks of a search run. All are optional (the defaults do nothing)
// and are called on the thread that calls Step.
class SearchObserver {
 public:
  virtual ~SearchObserver() = default;
  // Move the progress display to `position` and repaint the results: after
  // every kRefreshEvery results and whenever a slice ends without a word.
  virtual void OnProgress(int position) { (void)position; }
  // The result limit was reached; the run has ended (message 1024).
  virtual void OnLimitReached() {}
  // The query is exhausted; the run has ended.
  virtual void OnFinished() {}
};

class CSearchRun {
 public:
  static constexpr int kWorkPerStep = 1000;
  static constexpr int kRefreshEvery = 20;
  static constexpr int kDefaultLimit = 10000;

  // Takes the query and the sink; calls the sink's BeginResults. The
  // observer is borrowed and must outlive the run (it may be null). A
  // limit of 0 or less means no limit.
  CSearchRun(EnumPtr query, std::unique_ptr<CResultsSink> sink,
             SearchObserver* observer, int limit = kDefaultLimit);
  // Ends the run if it is still going.
  ~CSearchRun();
  CSearchRun(const CSearchRun&) = delete;
  CSearchRun& operator=(const CSearchRun&) = delete;

  // The query's extent, read once at the start for the progress range.
  int extent() const { return extent_; }
  bool running() const { return query_ != nullptr; }
  // The sink; valid until the run is destroyed (it stays after End).
  CResultsSink* sink() const { return sink_.get(); }
  // The query's progress; 0 once the run has ended.
  int position() const;

  // One slice of work. Returns true while there is more to do.
  bool Step();
  // Stops a running search at once; the results found so far stay.
  void Stop();

 private:
  void End();

  EnumPtr query_;
  std::unique_ptr<CResultsSink> sink_;
  SearchObserver* observer_;
  int limit_;
  int extent_;
  bool uses_scores_;  // the sink's answer, asked once
  bool sink_ended_ = false;
};

}  // namespace vocor

#endif  // VOCOR_SEARCH_SEARCH_RUN_H_
