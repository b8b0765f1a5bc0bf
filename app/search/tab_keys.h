// Ctrl+Tab and Ctrl+Shift+Tab show the next and the previous tab of a
// window's tab control wherever the focus is in the window, as in other
// tabbed programs. Left to the widgets, a text browser ignores the keys,
// and an open drop-down list or menu, a pop-up window of its own, takes
// them for itself; so the keys are caught by an application event filter
// before any widget sees them.
#ifndef VOCOR_APP_SEARCH_TAB_KEYS_H_
#define VOCOR_APP_SEARCH_TAB_KEYS_H_

#include <QObject>
#include <functional>

class QWidget;

namespace vocor {

// Whether `widget` is part of the window `window`: one of its widgets, or a
// widget of a pop-up (an open drop-down list, a menu) opened from one. A
// dialog, even one the window owns, is not part of it.
bool IsPartOfWindow(const QWidget* widget, const QWidget* window);

class TabKeys : public QObject {
  Q_OBJECT

 public:
  // From now on, until this object (a child of `anchor`) is destroyed,
  // Ctrl+Tab pressed in any part of `anchor`'s window (IsPartOfWindow;
  // the window is looked up at each key, so `anchor` may be put into
  // another window later) closes the open pop-ups and calls
  // `cycle(false)`; Ctrl+Shift+Tab does the same with `cycle(true)`. The
  // keys go no further.
  TabKeys(QWidget* anchor, std::function<void(bool backwards)> cycle);
  ~TabKeys() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* anchor_;
  std::function<void(bool backwards)> cycle_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_TAB_KEYS_H_
