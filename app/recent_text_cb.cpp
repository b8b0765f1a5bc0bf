#include "app/recent_text_cb.h"

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

void CRecentTextCB::RefreshDropDown() {
  QLineEdit* edit = lineEdit();
  const QString text = edit->text();
  const int cursor = edit->cursorPosition();
  const bool modified = edit->isModified();
  {
    // Rebuilding the items moves the current index, which would copy an
    // entry into the edit field and tell listeners the text changed.
    const QSignalBlocker blocker(this);
    clear();
    for (const std::string& entry : history_.entries()) {
      addItem(QString::fromStdString(entry));
    }
    setCurrentIndex(-1);
  }
  // setText would discard the box's undo steps; only set it if it moved.
  if (edit->text() != text) edit->setText(text);
  edit->setCursorPosition(cursor);
  edit->setModified(modified);
}

std::string CRecentTextCB::Text() const { return currentText().toStdString(); }

}  // namespace vocor
