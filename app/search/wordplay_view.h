// The Wordplay tab: word equations and the cryptic helpers (hidden words,
// letter selections, spoonerisms) in one form. A drop-down list chooses
// the kind; each kind has a box of its own with its own history, and only
// the chosen kind's box (and, for hidden words, the minimum length and the
// Reversed check box) is shown, so the form keeps three rows like the
// others. The texts and the choices that need no widget are in
// wordplay_form.h.
#ifndef VOCOR_APP_SEARCH_WORDPLAY_VIEW_H_
#define VOCOR_APP_SEARCH_WORDPLAY_VIEW_H_

#include <vector>

#include "app/search/search_info_view.h"
#include "app/search/wordplay_form.h"

class QCheckBox;

namespace vocor {

class CSearchInfoWordplayView : public CSearchInfoView {
  Q_OBJECT
 public:
  CSearchInfoWordplayView(const LayoutUnits& units, QWidget* parent);

  int GetFormHeight() const override;
  int MinimumFormWidth() const override;
  // The chosen kind's box is not empty.
  bool CanSearch() const override;
  // The chosen kind's request; an equation's solutions read
  // "rainbow = rain + bow".
  SearchRequestResult BuildQuery(const CDictionary* dictionary) override;

  WordplayKind kind() const;
  // Chooses `kind` as the drop-down list does.
  void SetKind(WordplayKind kind);
  QComboBox* kindList() const { return kind_; }
  // The box `kind` reads first.
  CRecentTextCB* box(WordplayKind kind) const;
  CRecentTextCB* minimumBox() const { return min_length_; }
  QCheckBox* reversedBox() const { return reversed_; }

 protected:
  void LayOutRows() override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The rows laid out: the kind, the kind's box, the minimum and Reversed.
  static std::vector<int> Rows() { return {1, 1, 2}; }
  int SecondLabel() const;
  // Shows the chosen kind's controls and hides the others'.
  void ShowKindControls();
  QLabel* LabelOf(QWidget* box) const;

  QLabel* kind_label_;
  QComboBox* kind_;
  std::vector<CRecentTextCB*> kind_boxes_;  // by kind
  CRecentTextCB* min_length_;
  QCheckBox* reversed_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_WORDPLAY_VIEW_H_
