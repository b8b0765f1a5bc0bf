#include "app/shell/context_help_mode.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QShortcutEvent>
#include <QToolButton>
#include <QWhatsThis>

#include "app/shell/help_command.h"
#include "app/shell/help_window.h"

namespace vocor {

namespace {

// The command id an action stands for; 0 for anything that is no command
// (a separator, a menu's own action, an action without an id).
unsigned CommandOf(const QAction* action) {
  if (action == nullptr || action->isSeparator() || action->menu() != nullptr) {
    return 0;
  }
  bool ok = false;
  const unsigned command = action->data().toUInt(&ok);
  return ok ? command : 0;
}

bool IsChooseKey(int key) {
  return key == Qt::Key_Return || key == Qt::Key_Enter ||
         key == Qt::Key_Select || key == Qt::Key_Space;
}

// The entry of `menu` whose mnemonic is `key`, when exactly one entry has
// it (with two, the menu itself only moves between them).
QAction* EntryWithMnemonic(const QMenu* menu, int key) {
  QAction* found = nullptr;
  for (QAction* entry : menu->actions()) {
    if (!entry->isVisible() || entry->isSeparator()) continue;
    const QKeySequence mnemonic = QKeySequence::mnemonic(entry->text());
    if (mnemonic.isEmpty() || mnemonic[0].key() != key) continue;
    if (found != nullptr) return nullptr;
    found = entry;
  }
  return found;
}

// Installed on the application after Qt's What's This filter, so it sees
// every event first. It takes only the choices of commands and lets Qt
// handle everything else; once What's This mode has ended, it goes.
class ContextHelpFilter : public QObject {
 public:
  explicit ContextHelpFilter(QWidget* window) : QObject(qApp), window_(window) {
    qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!QWhatsThis::inWhatsThisMode() || window_.isNull()) {
      End();
      return false;
    }
    switch (event->type()) {
      case QEvent::MouseButtonPress:
        return OnMousePress(watched);
      case QEvent::MouseButtonRelease:
        return OnMouseRelease(watched, static_cast<QMouseEvent*>(event));
      case QEvent::KeyPress:
        return OnMenuKey(watched, static_cast<QKeyEvent*>(event));
      case QEvent::Shortcut:
        return OnShortcut(watched, static_cast<QShortcutEvent*>(event));
      default:
        return false;
    }
  }

 private:
  // A tool bar button: its action's topic; the button is not pressed.
  bool OnMousePress(QObject* watched) {
    const auto* button = qobject_cast<QToolButton*>(watched);
    return button != nullptr && ShowTopic(CommandOf(button->defaultAction()));
  }

  // A menu entry is chosen when the button is released over it.
  bool OnMouseRelease(QObject* watched, const QMouseEvent* event) {
    const auto* menu = qobject_cast<QMenu*>(watched);
    return menu != nullptr &&
           ShowTopic(CommandOf(menu->actionAt(event->position().toPoint())));
  }

  // In an open menu: Enter on the highlighted entry, or an entry's
  // mnemonic.
  bool OnMenuKey(QObject* watched, const QKeyEvent* event) {
    const auto* menu = qobject_cast<QMenu*>(watched);
    if (menu == nullptr ||
        (event->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))) {
      return false;
    }
    const QAction* entry = IsChooseKey(event->key())
                               ? menu->activeAction()
                               : EntryWithMnemonic(menu, event->key());
    return ShowTopic(CommandOf(entry));
  }

  // A command's key (F3, Ctrl+P, ...) shows the command's topic. Esc is a
  // command's key too, but here it ends the mode, as it does in Qt's.
  bool OnShortcut(QObject* watched, const QShortcutEvent* event) {
    if (event->key().matches(QKeySequence::Cancel) ==
        QKeySequence::ExactMatch) {
      QWhatsThis::leaveWhatsThisMode();
      End();
      return true;
    }
    return ShowTopic(CommandOf(qobject_cast<QAction*>(watched)));
  }

  // Shows the topic of `command` and ends the mode; false, leaving the
  // event to Qt, when `command` is 0.
  bool ShowTopic(unsigned command) {
    if (command == 0) return false;
    // The menus close as after a choice; a bound keeps a popup that will
    // not close from holding the loop.
    for (int i = 0; i < 16 && QApplication::activePopupWidget(); ++i) {
      QApplication::activePopupWidget()->close();
    }
    QWhatsThis::leaveWhatsThisMode();
    ShowHelp(window_, kHelpContext, CommandHelpId(command));
    End();
    return true;
  }

  void End() {
    qApp->removeEventFilter(this);
    deleteLater();
  }

  QPointer<QWidget> window_;
};

QPointer<ContextHelpFilter>& TheFilter() {
  static QPointer<ContextHelpFilter> filter;
  return filter;
}

}  // namespace

void EnterContextHelpMode(QWidget* window) {
  // Installed again after Qt's own filter, which entering may create.
  delete TheFilter().data();
  QWhatsThis::enterWhatsThisMode();
  TheFilter() = new ContextHelpFilter(window);
}

bool InContextHelpMode() { return QWhatsThis::inWhatsThisMode(); }

}  // namespace vocor
