#include "app/search/recent_text_cb.h"

#include <QLineEdit>
#include <QSignalBlocker>

namespace vocor {

CRecentTextCB::CRecentTextCB(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setMaxCount(InputHistory::kMaxEntries);
  // Inline completion would change what the user types into an older
  // clue ("ca" becoming "cat"); a clue is a pattern, not a choice.
  setCompleter(nullptr);
  setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
  setMinimumContentsLength(1);
  connect(lineEdit(), &QLineEdit::returnPressed, this,
          &CRecentTextCB::enterPressed);
}

void CRecentTextCB::AddToHistory(const std::string& text) {
  history_.AddToHistory(text);
  RefreshDropDown();
}

// Item by item, never clear(): Qt puts the current item's text into the
// edit whenever the current item changes (and an emptied index empties the
// edit), and setting the edit's text drops its undo steps. So the current
// index is made -1 first, after which inserting and removing items leaves
// the edit alone.
void CRecentTextCB::RefreshDropDown() {
  const QSignalBlocker blocker(this);
  const std::vector<std::string>& entries = history_.entries();
  // The first item of an empty box becomes current: give it the edit's own
  // text, so that nothing is copied in; the sync below replaces it.
  if (count() == 0 && !entries.empty()) addItem(lineEdit()->text());
  ForgetCurrentItem();
  const int wanted = static_cast<int>(entries.size());
  for (int row = 0; row < wanted; ++row) {
    const QString entry = QString::fromStdString(entries[row]);
    if (row < count() && itemText(row) == entry) continue;
    for (int later = row + 1; later < count(); ++later) {
      if (itemText(later) == entry) {
        removeItem(later);  // the entry moves up
        break;
      }
    }
    insertItem(row, entry);
  }
  while (count() > wanted) removeItem(count() - 1);
}

// Clearing the index copies "" into a non-empty edit, so the edit is
// emptied through its own undo steps and brought back through the same
// redo steps. Text that did not start empty (an entry picked from the
// drop-down, which Qt sets without undo steps) is cleared and restored by
// one undo step, which leaves that clearing to redo.
void CRecentTextCB::ForgetCurrentItem() {
  if (currentIndex() == -1) return;
  QLineEdit* edit = lineEdit();
  const int cursor = edit->cursorPosition();
  const int selection_start = edit->selectionStart();
  const int selection_length = edit->selectionLength();
  const bool modified = edit->isModified();
  int undone = 0;
  for (; !edit->text().isEmpty() && edit->isUndoAvailable(); ++undone) {
    edit->undo();
  }
  if (edit->text().isEmpty()) {
    setCurrentIndex(-1);
    for (; undone > 0; --undone) edit->redo();
  } else {
    for (; undone > 0; --undone) edit->redo();
    edit->clear();
    setCurrentIndex(-1);
    edit->undo();
  }
  if (selection_start >= 0) {
    // A selection made backwards keeps its cursor at its start.
    const bool backwards = cursor == selection_start;
    edit->setSelection(backwards ? cursor + selection_length : selection_start,
                       backwards ? -selection_length : selection_length);
  } else {
    edit->setCursorPosition(cursor);
  }
  edit->setModified(modified);
}

std::string CRecentTextCB::Text() const { return currentText().toStdString(); }

}  // namespace vocor
