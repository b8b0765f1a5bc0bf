#include "app/search/results_model.h"

namespace vocor {

CResultsModel::CResultsModel(QObject* parent) : QAbstractListModel(parent) {}

bool CResultsModel::Refresh() {
  if (list_.size() == list_.sorted_count()) return false;
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
  if (role != Qt::DisplayRole || index.parent().isValid() || index.row() < 0 ||
      index.row() >= list_.sorted_count()) {
    return {};
  }
  return QString::fromStdString(list_.at(index.row()));
}

}  // namespace vocor
