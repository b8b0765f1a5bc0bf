// Ctrl+Tab and Ctrl+Shift+Tab anywhere in the main window: from every
// control of every form (history boxes, drop-down lists, the check box,
// each Wordplay kind's box), with a box's history or a drop-down list open,
// from the tab row, the Search button, the results list and the
// definitions pane, the keys show the next and the previous search form.
// Each key enters through the window the platform would give it to (an
// open list's own pop-up window), so that shortcuts, pop-ups and the
// widgets see it as they see a real key.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabBar>
#include <QTextBrowser>
#include <QtTest>
#include <functional>
#include <memory>

#include "app/definitions/definitions_pane.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/search/wordplay_view.h"
#include "app/shell/main_frame.h"
#include "dictionary/dictionary_state.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

constexpr int kTabCount = 5;
constexpr int kWordplayTab = 4;

// Where the platform delivers a key: to the open pop-up, else to the
// window that has the focus.
QWindow* KeyWindow() {
  QWidget* target = QApplication::activePopupWidget();
  if (target == nullptr) target = QApplication::focusWidget()->window();
  return target->windowHandle();
}

// A control's name: its label's text, or a button's own.
QString ControlName(const CSearchInfoView* form, const QWidget* control) {
  QString name = control->metaObject()->className();
  for (const QLabel* label : form->findChildren<QLabel*>()) {
    if (label->buddy() == control) name = label->text();
  }
  if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
    name = button->text();
  }
  return form->caption() + ": " + name;
}

}  // namespace

class TabKeysTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void cleanupTestCase();
  void keysSwitchTabsFromEveryControl();

 private:
  // Puts the focus with `focus`, which returns the widget that should
  // have it (or opens a pop-up and returns null), presses Ctrl+Tab and
  // checks that the next tab is shown with the focus in its form and no
  // pop-up is left open; then the same with Ctrl+Shift+Tab and the tab
  // before. A failure is noted under `where`.
  void CheckKeys(const QString& where, const std::function<QWidget*()>& focus);
  // Every shown control of the form on `tab` that can take the focus, and
  // for a drop-down list, the same with its list open.
  void CheckFormControls(int tab);
  void Note(const QString& where, const QString& what) {
    failures_.append(where + ": " + what);
  }
  CSearchView* view() const { return frame_->searchView(); }

  std::unique_ptr<ScratchHome> home_;
  std::unique_ptr<DictionaryState> state_;
  std::unique_ptr<CMainFrame> frame_;
  QStringList checked_;
  QStringList failures_;
};

void TabKeysTest::initTestCase() {
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
  home_ = std::make_unique<ScratchHome>();
  CloseSettingsStore();
  state_ = std::make_unique<DictionaryState>();
  BaseTextMetrics metrics;
  const QFontMetrics font(QApplication::font());
  metrics.height = font.height();
  metrics.ave_char_width = font.averageCharWidth();
  frame_ = std::make_unique<CMainFrame>(state_.get(), metrics,
                                        ComputeLayoutUnits(metrics));
  frame_->definitionsPane()->SetDatabaseFolders({});
  frame_->resize(800, 600);
  frame_->show();
  frame_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
}

void TabKeysTest::cleanupTestCase() {
  frame_.reset();
  state_.reset();
  CloseSettingsStore();
  home_.reset();
}

void TabKeysTest::CheckKeys(const QString& where,
                            const std::function<QWidget*()>& focus) {
  checked_.append(where);
  for (const bool backwards : {false, true}) {
    const int start = view()->CurrentTab();
    QWidget* target = focus();
    if (target == nullptr ? QApplication::activePopupWidget() == nullptr
                          : QApplication::focusWidget() != target) {
      Note(where, "the focus or the pop-up could not be put there");
      return;
    }
    if (backwards) {
      QTest::keyClick(KeyWindow(), Qt::Key_Backtab,
                      Qt::ControlModifier | Qt::ShiftModifier);
    } else {
      QTest::keyClick(KeyWindow(), Qt::Key_Tab, Qt::ControlModifier);
    }
    const int expected = (start + (backwards ? kTabCount - 1 : 1)) % kTabCount;
    const QString key = backwards ? "Ctrl+Shift+Tab" : "Ctrl+Tab";
    if (view()->CurrentTab() != expected) {
      Note(where, key + QString(" left tab %1 at %2")
                            .arg(start)
                            .arg(view()->CurrentTab()));
    }
    if (!view()->GetActiveForm()->isAncestorOf(QApplication::focusWidget())) {
      Note(where, key + " left the focus outside the form shown");
    }
    if (QApplication::activePopupWidget() != nullptr) {
      Note(where, key + " left a pop-up open");
      QApplication::activePopupWidget()->close();
    }
    view()->SelectTab(start);
  }
}

void TabKeysTest::CheckFormControls(int tab) {
  CSearchInfoView* form = view()->GetActiveForm();
  for (QWidget* control :
       form->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    if (!control->isVisibleTo(form) || control->focusPolicy() == Qt::NoFocus) {
      continue;
    }
    const QString name = ControlName(form, control);
    const auto focus = [this, tab, control] {
      view()->SelectTab(tab);
      control->setFocus(Qt::OtherFocusReason);
      return control;
    };
    CheckKeys(name, focus);
    auto* list = qobject_cast<QComboBox*>(control);
    if (list == nullptr) continue;
    CheckKeys(name + " (list open)", [focus, list]() -> QWidget* {
      focus();
      list->showPopup();
      return nullptr;
    });
  }
}

void TabKeysTest::keysSwitchTabsFromEveryControl() {
  // Every history box has an entry, so that its list can open.
  for (int tab = 0; tab < kTabCount; ++tab) {
    view()->SelectTab(tab);
    for (CRecentTextCB* box : view()->GetActiveForm()->boxes()) {
      box->AddToHistory("clue");
    }
  }
  for (int tab = 0; tab < kTabCount; ++tab) {
    view()->SelectTab(tab);
    if (tab != kWordplayTab) {
      CheckFormControls(tab);
      continue;
    }
    // Each kind of wordplay shows boxes of its own.
    auto* wordplay =
        static_cast<CSearchInfoWordplayView*>(view()->GetActiveForm());
    for (int kind = 0; kind < kWordplayKindCount; ++kind) {
      wordplay->SetKind(static_cast<WordplayKind>(kind));
      CheckFormControls(tab);
    }
  }

  // Outside the forms, on the second tab.
  view()->SelectTab(1);
  view()->GetActiveForm()->boxes().front()->setEditText("cat");
  const auto focusing = [](QWidget* widget) {
    return [widget] {
      widget->setFocus(Qt::OtherFocusReason);
      return widget;
    };
  };
  CheckKeys("tab row", focusing(view()->findChild<QTabBar*>()));
  CheckKeys("Search button", focusing(view()->searchButton()));
  CheckKeys("results list", focusing(view()->resultsList()));
  QTextBrowser* definitions = frame_->definitionsPane()->browser();
  CheckKeys("definitions pane", focusing(definitions));

  // A dialog of the window is a window of its own: the keys stay there.
  QDialog dialog(frame_.get());
  auto* edit = new QLineEdit(&dialog);
  dialog.show();
  // Waits for the dialog itself: a window counts as active while the one
  // it belongs to is.
  dialog.windowHandle()->requestActivate();
  QTRY_COMPARE(QGuiApplication::focusWindow(), dialog.windowHandle());
  edit->setFocus(Qt::OtherFocusReason);
  QCOMPARE(QApplication::focusWidget(), edit);
  QTest::keyClick(KeyWindow(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(view()->CurrentTab(), 1);
  dialog.close();

  // Each kind of control was among those checked.
  for (const char* place :
       {"Crossword: &Pattern:", "Wordplay: E&quation: (list open)",
        "Wordplay: &Reversed",
        "Palindromes etc.: Find &words which (list open)"}) {
    QVERIFY2(checked_.contains(place), place);
  }
  for (const QString& failure : failures_) qInfo().noquote() << failure;
  QVERIFY2(failures_.isEmpty(), "the keys failed where the lines above say");
}

}  // namespace vocor

QTEST_MAIN(vocor::TabKeysTest)
#include "tab_keys_qtest.moc"
