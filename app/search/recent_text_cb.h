// A text input of a search form: an editable combo box whose drop-down
// lists the texts searched with it, most recent first. The history itself
// is an InputHistory (search/input_history.h), filled by the search
// requests; the box only mirrors it. Qt never inserts typed text on its
// own (NoInsert), so the drop-down holds exactly the history.
#ifndef VOCOR_APP_SEARCH_RECENT_TEXT_CB_H_
#define VOCOR_APP_SEARCH_RECENT_TEXT_CB_H_

#include <QComboBox>
#include <string>

#include "search/input_history.h"

namespace vocor {

class CRecentTextCB : public QComboBox {
  Q_OBJECT

 public:
  explicit CRecentTextCB(QWidget* parent = nullptr);

  // The history the search requests write into; owned by the box. After
  // changing it, call RefreshDropDown.
  InputHistory* history() { return &history_; }
  // Enters `text` into the history and refreshes the drop-down.
  void AddToHistory(const std::string& text);
  // Makes the drop-down list the history's entries; the text being edited,
  // its cursor and selection, and its undo steps stay as they are. No
  // entry is current afterwards.
  void RefreshDropDown();

  // The edit text as UTF-8, exactly as typed.
  std::string Text() const;

 signals:
  // Enter was pressed in the box while its drop-down was closed.
  void enterPressed();

 private:
  void ForgetCurrentItem();

  InputHistory history_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_RECENT_TEXT_CB_H_
