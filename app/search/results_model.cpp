#include "app/search/results_model.h"

#include <QBrush>
#include <QPalette>

#include "app/search/result_settings.h"

namespace vocor {

CResultsModel::CResultsModel(QObject* parent) : QAbstractListModel(parent) {}

bool CResultsModel::Refresh() {
  if (!list_.HasPending()) return false;
  // Pending words may sort anywhere among the shown ones; a reset costs
  // one pass over the rows, no more than telling the view each insertion.
  beginResetModel();
  list_.Flush();
  endResetModel();
  return true;
}

void CResultsModel::Clear() {
  beginResetModel();
  list_.Clear();
  endResetModel();
}

void CResultsModel::SetOrder(ResultOrder order) {
  beginResetModel();
  list_.SetOrder(order);
  endResetModel();
}

void CResultsModel::SetPaletteSource(const QWidget* widget) {
  palette_source_ = widget;
}

std::vector<std::string> CResultsModel::Words() const {
  std::vector<std::string> words;
  words.reserve(list_.sorted_count());
  for (int i = 0; i < list_.sorted_count(); ++i) words.push_back(list_.at(i));
  return words;
}

int CResultsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : list_.sorted_count();
}

QVariant CResultsModel::data(const QModelIndex& index, int role) const {
  if (index.parent().isValid() || index.row() < 0 ||
      index.row() >= list_.sorted_count()) {
    return {};
  }
  const int row = index.row();
  switch (role) {
    case Qt::DisplayRole:
      return QString::fromStdString(list_.at(row));
    case Qt::ToolTipRole:
      return QString::fromStdString(ScoreToolTip(list_.score_at(row)));
    case Qt::ForegroundRole:
      if (IsWeakScore(list_.score_at(row)) && palette_source_ != nullptr) {
        return QBrush(
            palette_source_->palette().color(QPalette::PlaceholderText));
      }
      return {};
    default:
      return {};
  }
}

}  // namespace vocor
