// The question View > Minimum Score asks: a number from kMinScore to
// kMaxScore in a non-native dialog, starting at the current minimum.
#ifndef VOCOR_APP_SEARCH_MINIMUM_SCORE_DIALOG_H_
#define VOCOR_APP_SEARCH_MINIMUM_SCORE_DIALOG_H_

class QWidget;

namespace vocor {

// Shows the dialog over `parent` with *score as its value; on OK stores
// the chosen score in *score and returns true.
bool AskMinimumScore(QWidget* parent, int* score);

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_MINIMUM_SCORE_DIALOG_H_
