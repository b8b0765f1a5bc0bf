#include "app/dictionaries/dictionary_list_ctrl.h"

#include <QHeaderView>
#include <QIcon>
#include <string_view>
#include <vector>

#include "app/dictionaries/dictionary_menu.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"

namespace vocor {

CDictionaryListCtrl::CDictionaryListCtrl(QWidget* parent)
    : CListCtrl2<CDictionary*>(parent) {
  setIconSize(QSize(16, 16));
  header()->setSectionsClickable(true);
  header()->setSortIndicatorShown(false);
  connect(header(), &QHeaderView::sectionClicked, this,
          [this](int column) { SortByColumn(static_cast<uint32_t>(column)); });
}

QIcon CDictionaryListCtrl::IconOf(DictionaryImage image) {
  switch (image) {
    case DictionaryImage::kText:
      return QIcon(QStringLiteral(":/icons/dict_text.svg"));
    case DictionaryImage::kBinary:
      return QIcon(QStringLiteral(":/icons/dict_binary.svg"));
    case DictionaryImage::kSet:
      return QIcon(QStringLiteral(":/icons/dict_set.svg"));
    default:
      return QIcon(QStringLiteral(":/icons/dict_unknown.svg"));
  }
}

const QIcon& CDictionaryListCtrl::RowIcon(DictionaryImage image) {
  QIcon& icon = row_icons_[static_cast<int>(image)];
  if (icon.isNull()) icon = IconOf(image);
  return icon;
}

void CDictionaryListCtrl::SetupColumns(bool with_counts, int ave_char_width) {
  with_counts_ = with_counts;
  if (!with_counts) {
    setHeaderLabels({QStringLiteral("Name")});
    header()->setSectionResizeMode(0, QHeaderView::Stretch);
    return;
  }
  setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Words"),
                   QStringLiteral("Size")});
  header()->setStretchLastSection(false);
  header()->setSectionResizeMode(0, QHeaderView::Stretch);
  const int width = CountColumnWidth(ave_char_width);
  for (int column : {1, 2}) {
    header()->resizeSection(column, width);
    headerItem()->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
  }
}

int CDictionaryListCtrl::InsertItem(int /*index*/, CDictionary* dictionary) {
  if (dictionary == nullptr) return -1;
  std::vector<std::string_view> names;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    names.emplace_back(GetItemData(row)->GetName());
  }
  const int row = CListCtrl2::InsertItem(
      RowInsertPosition(names, dictionary->GetName()), dictionary);
  if (row < 0) return -1;
  QTreeWidgetItem* item = topLevelItem(row);
  item->setText(0, QString::fromStdString(DictionaryDisplayName(dictionary)));
  item->setIcon(0, RowIcon(ImageOfDictionary(*dictionary)));
  if (IsUnavailable(*dictionary)) {
    // Greyed, with the file that could not be opened at hand.
    item->setForeground(0, palette().brush(QPalette::Disabled, QPalette::Text));
    item->setToolTip(0,
                     QString::fromStdString(DictionaryFileName(*dictionary)));
  }
  if (with_counts_) {
    SetCounts(item, *dictionary);
    for (int column : {1, 2}) {
      item->setTextAlignment(column, Qt::AlignRight | Qt::AlignVCenter);
    }
  }
  return row;
}

void CDictionaryListCtrl::SetCounts(QTreeWidgetItem* item,
                                    const CDictionary& dictionary) {
  item->setText(1,
                QString::fromStdString(FormatCount(dictionary.GetWordCount())));
  item->setText(2, QString::fromStdString(FormatSize(dictionary.GetSize())));
}

void CDictionaryListCtrl::RefreshCounts() {
  if (!with_counts_) return;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    SetCounts(topLevelItem(row), *GetItemData(row));
  }
}

void CDictionaryListCtrl::SortByColumn(uint32_t column) {
  sort_state_ = NextSortState(sort_state_, column);
  std::vector<CDictionary*> rows;
  for (int row = 0; row < topLevelItemCount(); ++row) {
    rows.push_back(GetItemData(row));
  }
  SortRows(&rows, sort_state_);
  CDictionary* current =
      currentItem() != nullptr ? RowData(currentItem()) : nullptr;
  const bool selected = SelectedRow() >= 0;
  std::vector<QTreeWidgetItem*> items;
  while (topLevelItemCount() > 0) items.push_back(takeTopLevelItem(0));
  for (CDictionary* dictionary : rows) {
    for (auto& item : items) {
      if (item != nullptr && RowData(item) == dictionary) {
        addTopLevelItem(item);
        item = nullptr;
        break;
      }
    }
  }
  if (current != nullptr) {
    const int row = FindItemData(current);
    setCurrentItem(topLevelItem(row));
    if (!selected) clearSelection();
  }
}

}  // namespace vocor
