// A list of rows that each carry one pointer of type T, over a Qt item
// view: typed insert, find and select, and a flag that keeps the Enter key
// in the list instead of letting it press the dialog's default button.
// The list never owns what the rows point to; the caller keeps every
// pointer alive while its row exists.
#ifndef VOCOR_APP_DICTIONARIES_LIST_CTRL2_H_
#define VOCOR_APP_DICTIONARIES_LIST_CTRL2_H_

#include <QKeyEvent>
#include <QTreeWidget>
#include <QVariant>
#include <algorithm>
#include <functional>
#include <type_traits>

namespace vocor {

template <typename T>
class CListCtrl2 : public QTreeWidget {
  static_assert(std::is_pointer_v<T>, "rows carry pointers");

 public:
  explicit CListCtrl2(QWidget* parent = nullptr) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSortingEnabled(false);
  }

  // While set, Enter in the list calls `on_enter` and goes no further: a
  // dialog sets it so that Enter opens the row instead of pressing its
  // default button. A double click is the view's doubleClicked() signal.
  void set_wants_enter(bool wants, std::function<void()> on_enter = {}) {
    wants_enter_ = wants;
    on_enter_ = std::move(on_enter);
  }
  bool wants_enter() const { return wants_enter_; }

  // Inserts a row at `index` (clamped to the rows there are) carrying
  // `item`, without text or image; returns the new row's index, or -1.
  virtual int InsertItem(int index, T item) {
    auto* row = new QTreeWidgetItem;
    SetRowData(row, item);
    index = std::clamp(index, 0, topLevelItemCount());
    insertTopLevelItem(index, row);
    return indexOfTopLevelItem(row);
  }

  // InsertItem for each element at index, index + 1, ..., advancing only
  // past a successful insertion; returns the number inserted.
  template <typename List>
  int InsertItems(int index, const List& items) {
    int inserted = 0;
    for (T item : items) {
      if (InsertItem(index + inserted, item) >= 0) ++inserted;
    }
    return inserted;
  }

  // Null for a row that does not exist.
  T GetItemData(int row) const {
    const QTreeWidgetItem* item = topLevelItem(row);
    return item != nullptr ? RowData(item) : nullptr;
  }

  // The first row carrying `item`, or -1.
  int FindItemData(T item) const {
    for (int row = 0; row < topLevelItemCount(); ++row) {
      if (RowData(topLevelItem(row)) == item) return row;
    }
    return -1;
  }

  // Selects and focuses the first row carrying `item`; its index, or -1.
  int SelectItemData(T item) {
    const int row = FindItemData(item);
    return row >= 0 ? SelectRow(row) : -1;
  }

  // Selects and focuses `row` and scrolls it into view; the row, or -1
  // when there is no such row.
  int SelectRow(int row) {
    QTreeWidgetItem* item = topLevelItem(row);
    if (item == nullptr) return -1;
    setCurrentItem(item);
    item->setSelected(true);
    scrollToItem(item);
    return row;
  }

  void DeselectAll() { clearSelection(); }

  // After a row was removed: `row`, else the row before it, else row 0;
  // the row selected, or -1 when the list is empty.
  int SelectNear(int row) {
    for (int candidate : {row, row - 1, 0}) {
      if (SelectRow(candidate) >= 0) return candidate;
    }
    return -1;
  }

  // The selected row, or -1.
  int SelectedRow() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    return selected.isEmpty() ? -1 : indexOfTopLevelItem(selected.first());
  }

 protected:
  static void SetRowData(QTreeWidgetItem* row, T item) {
    row->setData(0, Qt::UserRole,
                 QVariant::fromValue(reinterpret_cast<quintptr>(item)));
  }
  static T RowData(const QTreeWidgetItem* row) {
    return reinterpret_cast<T>(row->data(0, Qt::UserRole).value<quintptr>());
  }

  void keyPressEvent(QKeyEvent* event) override {
    const bool enter =
        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (wants_enter_ && enter &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      if (on_enter_) on_enter_();
      event->accept();
      return;
    }
    QTreeWidget::keyPressEvent(event);
  }

 private:
  bool wants_enter_ = false;
  std::function<void()> on_enter_;
};

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_LIST_CTRL2_H_
