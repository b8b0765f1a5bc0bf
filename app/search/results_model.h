// The item model of the results list: the words of a ResultsList, each
// once, in the list's order (alphabetical or best first). Words reach the
// list through its sink while a search runs and stay pending; the view sees
// them only when Refresh is called, so the list repaints at the refresh
// points of a search and not for every word.
//
// Each item's tool tip gives its score ("Score: 42"); a word scoring under
// kWeakScoreBelow (result_settings.h) is drawn in the weak colour.
#ifndef VOCOR_APP_SEARCH_RESULTS_MODEL_H_
#define VOCOR_APP_SEARCH_RESULTS_MODEL_H_

#include <QAbstractListModel>
#include <QPointer>
#include <QWidget>
#include <string>
#include <vector>

#include "app/search/results_list.h"

namespace vocor {

class CResultsModel : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit CResultsModel(QObject* parent = nullptr);

  // The list a search sink fills; owned by the model. Words added to it
  // appear in the model at the next Refresh.
  ResultsList* list() { return &list_; }

  // Shows the pending words. Returns whether the model changed.
  bool Refresh();
  // Removes every word, shown or pending.
  void Clear();
  // Sorts the shown words into `order` (a reset of the model).
  void SetOrder(ResultOrder order);
  // Weak words take the placeholder-text colour of `widget`'s palette
  // (lighter than text in light and dark themes), read at each paint so
  // that it follows a change of theme. Borrowed; without it weak words
  // look like the others.
  void SetPaletteSource(const QWidget* widget);

  // The shown words, as UTF-8, in display order.
  std::vector<std::string> Words() const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index,
                int role = Qt::DisplayRole) const override;

 private:
  ResultsList list_;
  QPointer<const QWidget> palette_source_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_RESULTS_MODEL_H_
