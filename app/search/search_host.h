// What the search view needs from the window around it. The main frame
// implements this; the view calls it while a search starts, runs and ends,
// and tests substitute a fake so that the view can be tested alone.
//
// Every call comes from the GUI thread. The view never stores the returned
// dictionary beyond one search request: the frame may change the active
// dictionary between searches (never while one runs: the Dictionaries menu
// is greyed then).
#ifndef VOCOR_APP_SEARCH_SEARCH_HOST_H_
#define VOCOR_APP_SEARCH_SEARCH_HOST_H_

#include <QString>

namespace vocor {

class CDictionary;

class SearchHost {
 public:
  virtual ~SearchHost() = default;

  // The dictionary a search runs over. Never null; owned by the frame's
  // DictionaryState and valid at least until the next event-loop return.
  virtual CDictionary* ActiveDictionary() = 0;

  // A search begins: put a progress bar of range 0..extent into the
  // status line's message pane. Followed by SetSearchStatus("Searching...").
  virtual void BeginSearchProgress(int extent) = 0;
  // Text of the message pane while the progress bar is shown; also after
  // a search that could find nothing, to say why (it stays until the next
  // search).
  virtual void SetSearchStatus(const QString& text) = 0;
  // Moves the progress bar; position stays within 0..extent.
  virtual void SetSearchProgress(int position) = 0;
  // The search has ended (finished, stopped or limited): remove the bar and
  // show the idle prompt again. Called exactly once per BeginSearchProgress.
  virtual void EndSearchProgress() = 0;

  // The count pane ("Found %s" with FormatCount). Called with 0 when a
  // search starts and with the final count when it ends, and at each
  // refresh point in between.
  virtual void SetFoundCount(int count) = 0;

  // Re-evaluates the enabled state of the frame's actions now (Search,
  // Stop, the edit commands, the Dictionaries menu): the view calls it when
  // a search starts or ends and when the active form or its text changes.
  virtual void UpdateCommandStates() = 0;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_SEARCH_HOST_H_
