// The dictionary list of the dictionary dialogs: one row per dictionary
// with its kind's icon, its name, its word count and its size. A header
// click sorts by that column (again: descending, a third time: ascending);
// new rows are placed by their names, ignoring case, whatever sorted the
// list before.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_CTRL_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_CTRL_H_

#include <QIcon>
#include <cstdint>

#include "app/dictionaries/dictionary_list_order.h"
#include "app/dictionaries/list_ctrl2.h"

namespace vocor {

class CDictionary;

class CDictionaryListCtrl : public CListCtrl2<CDictionary*> {
 public:
  explicit CDictionaryListCtrl(QWidget* parent = nullptr);

  // "Name", and with counts "Words" and "Size" (right-aligned, 12 average
  // character widths each); the name takes the rest of the width.
  void SetupColumns(bool with_counts, int ave_char_width);

  // Places the row by its name (`index` is only a wish, as for a list
  // that keeps itself sorted) and fills its columns; returns the row.
  int InsertItem(int index, CDictionary* dictionary) override;

  // Fills the "Words" and "Size" columns of every row again from its
  // dictionary (a set's figures change when it loses a member).
  void RefreshCounts();

  // What a click on the header of `column` does.
  void SortByColumn(uint32_t column);
  uint32_t sort_state() const { return sort_state_; }

  // The icon of a kind of dictionary, shared by the rows and the details.
  static QIcon IconOf(DictionaryImage image);

 private:
  // One icon per kind for all rows: loading an image per row would cost
  // more than the rest of a row.
  const QIcon& RowIcon(DictionaryImage image);
  void SetCounts(QTreeWidgetItem* item, const CDictionary& dictionary);

  QIcon row_icons_[4];
  uint32_t sort_state_ = kUnsortedState;
  bool with_counts_ = false;
};

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_LIST_CTRL_H_
