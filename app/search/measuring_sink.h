// The sink a search of the window fills: every word goes to the results
// list, as CResultsSinkListCtrl does, and each word the list takes is
// measured in the results font, so that the list's columns can be as wide
// as its widest word without measuring every word again at each refresh.
#ifndef VOCOR_APP_SEARCH_MEASURING_SINK_H_
#define VOCOR_APP_SEARCH_MEASURING_SINK_H_

#include <QFontMetrics>

#include "app/search/results_list.h"

namespace vocor {

class MeasuringSink : public CResultsSinkListCtrl {
 public:
  // All three are borrowed and must outlive the sink. `*widest` is raised
  // to the width (in `*metrics`) of every word added to `list`; a word the
  // list already holds is not measured again. The caller resets it when
  // the list is cleared or the font changes.
  MeasuringSink(ResultsList* list, const QFontMetrics* metrics, int* widest);

  bool AddResult(const char* word, int score) override;

 private:
  ResultsList* list_;
  const QFontMetrics* metrics_;
  int* widest_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_MEASURING_SINK_H_
