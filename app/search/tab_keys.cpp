#include "app/search/tab_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <utility>

namespace vocor {

namespace {

// Ctrl+Tab is Tab with Control; Ctrl+Shift+Tab arrives as Backtab, or on
// some platforms as Tab with Shift.
bool IsTabCycleKey(const QKeyEvent& key) {
  return (key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab) &&
         (key.modifiers() & Qt::ControlModifier);
}

bool IsBackwards(const QKeyEvent& key) {
  return key.key() == Qt::Key_Backtab || (key.modifiers() & Qt::ShiftModifier);
}

// Closes the open pop-ups, the innermost first, so that the focus goes
// back to the widget that opened them.
void ClosePopups() {
  while (QWidget* popup = QApplication::activePopupWidget()) {
    popup->close();
    if (QApplication::activePopupWidget() == popup) break;
  }
}

}  // namespace

bool IsPartOfWindow(const QWidget* widget, const QWidget* window) {
  while (widget != nullptr) {
    const QWidget* top = widget->window();
    if (top == window) return true;
    // A pop-up belongs to the widget that opened it.
    if (top->windowType() != Qt::Popup) return false;
    widget = top->parentWidget();
  }
  return false;
}

TabKeys::TabKeys(QWidget* anchor, std::function<void(bool backwards)> cycle)
    : QObject(anchor), anchor_(anchor), cycle_(std::move(cycle)) {
  qApp->installEventFilter(this);
}

TabKeys::~TabKeys() { qApp->removeEventFilter(this); }

bool TabKeys::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
    return QObject::eventFilter(watched, event);
  }
  const auto& key = *static_cast<QKeyEvent*>(event);
  if (!IsTabCycleKey(key) ||
      !IsPartOfWindow(static_cast<QWidget*>(watched), anchor_->window())) {
    return QObject::eventFilter(watched, event);
  }
  ClosePopups();
  cycle_(IsBackwards(key));
  return true;
}

}  // namespace vocor
