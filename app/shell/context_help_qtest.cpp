// Context help (Shift+F1) in the main frame: a command chosen from a menu,
// by mouse or by keys, a tool bar button and a command's key open the
// command's help topic instead of running it; Esc ends the mode.
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTextBrowser>
#include <QToolBar>
#include <QtTest>
#include <memory>

#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/shell/command_texts.h"
#include "app/shell/context_help_mode.h"
#include "app/shell/help_window.h"
#include "app/shell/main_frame.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

// Records and closes every modal dialog that opens while it lives: a
// command that ran instead of showing its help would open one.
class ModalDialogCatcher {
 public:
  ModalDialogCatcher() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (QWidget* modal = QApplication::activeModalWidget()) {
        titles_.append(modal->windowTitle());
        modal->close();
      }
    });
    timer_.start(5);
  }
  const QStringList& titles() const { return titles_; }

 private:
  QTimer timer_;
  QStringList titles_;
};

QString HelpPage() {
  QWidget* help = HelpWindowIfOpen();
  if (help == nullptr || !help->isVisible()) return QString();
  return help->findChild<QTextBrowser*>("helpBrowser")->source().fileName();
}

QMenu* MenuOf(CMainFrame* frame, unsigned command) {
  for (QAction* title : frame->menuBar()->actions()) {
    if (title->menu()->actions().contains(frame->action(command))) {
      return title->menu();
    }
  }
  return nullptr;
}

}  // namespace

class ContextHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    CloseSettingsStore();
    home_ = std::make_unique<ScratchHome>();
    state_ = std::make_unique<DictionaryState>();
    const std::string path = std::string(getenv("TMPDIR")) + "/cats.dic";
    QVERIFY(testing::WriteDicFile(path, "Cats", {"cat", "cot"}));
    QVERIFY(state_->Install(path) != nullptr);
    const QFontMetrics font(QApplication::font());
    BaseTextMetrics metrics{font.height(), font.averageCharWidth()};
    frame_ = std::make_unique<CMainFrame>(state_.get(), metrics,
                                          ComputeLayoutUnits(metrics));
    frame_->resize(800, 600);
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    // A clue in the Crossword form, so that Search is enabled.
    QComboBox* box = frame_->searchView()->GetActiveForm()->boxes().front();
    box->setFocus();
    box->lineEdit()->setText(QStringLiteral("c?t"));
    QTRY_VERIFY(box->lineEdit()->hasFocus());
  }

  void cleanup() {
    if (QWidget* help = HelpWindowIfOpen()) help->close();
    QTRY_VERIFY(HelpWindowIfOpen() == nullptr);
    frame_.reset();
    state_.reset();
    CloseSettingsStore();
    home_.reset();
  }

  void clickedMenuCommandOpensItsTopic() {
    ModalDialogCatcher catcher;
    frame_->action(kCmdContextHelp)->trigger();
    QVERIFY(InContextHelpMode());
    QMenu* menu = MenuOf(frame_.get(), kCmdAnagramSearch);
    menu->popup(frame_->mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    QAction* anagram = frame_->action(kCmdAnagramSearch);
    QTest::mouseClick(menu, Qt::LeftButton, {},
                      menu->actionGeometry(anagram).center());
    QCOMPARE(HelpPage(), QStringLiteral("anagram.html"));
    QVERIFY(!InContextHelpMode());
    QTRY_VERIFY(!menu->isVisible());
    // The command did not run.
    QCOMPARE(frame_->searchView()->CurrentTab(), 0);
    QVERIFY(catcher.titles().isEmpty());
  }

  // Shift+F1, Alt+D, C: the Dictionaries menu opened from the keyboard,
  // Configure Dictionaries chosen by its mnemonic.
  void menuCommandChosenByKeysOpensItsTopic() {
    ModalDialogCatcher catcher;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F1, Qt::ShiftModifier);
    QVERIFY(InContextHelpMode());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    QMenu* menu = frame_->dictionariesMenu();
    QTRY_VERIFY(menu->isVisible());
    QTest::keyClick(menu, Qt::Key_C);
    QCOMPARE(HelpPage(), QStringLiteral("dictionaries.html"));
    QVERIFY(!InContextHelpMode());
    QTRY_VERIFY(!menu->isVisible());
    QVERIFY(catcher.titles().isEmpty());
  }

  // The dictionary entries are commands too; Enter chooses the highlighted
  // one, which does not become active.
  void dictionaryEntryChosenWithEnterOpensItsTopic() {
    CDictionary* active = state_->active();
    frame_->action(kCmdContextHelp)->trigger();
    QMenu* menu = frame_->dictionariesMenu();
    menu->popup(frame_->mapToGlobal(QPoint(20, 20)));
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    menu->setActiveAction(menu->actions().back());  // "Cats"
    QTest::keyClick(menu, Qt::Key_Return);
    QCOMPARE(HelpPage(), QStringLiteral("dictionaries.html"));
    QCOMPARE(state_->active(), active);
  }

  void toolBarButtonOpensItsTopic() {
    frame_->action(kCmdContextHelp)->trigger();
    QWidget* button =
        frame_->toolBar()->widgetForAction(frame_->action(kCmdHiddenSearch));
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(HelpPage(), QStringLiteral("hidden.html"));
    QVERIFY(!InContextHelpMode());
    QCOMPARE(frame_->searchView()->CurrentTab(), 0);
  }

  // F3 is the Search command's key: its topic, and no search.
  void commandKeyOpensItsTopic() {
    QVERIFY(frame_->action(kCmdSearch)->isEnabled());
    frame_->action(kCmdContextHelp)->trigger();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    QCOMPARE(HelpPage(), QStringLiteral("patterns.html"));
    QVERIFY(!frame_->searchView()->IsSearching());
    QVERIFY(frame_->searchView()->ResultWords().empty());
  }

  void escEndsTheModeWithoutHelp() {
    frame_->action(kCmdContextHelp)->trigger();
    QVERIFY(InContextHelpMode());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!InContextHelpMode());
    QCOMPARE(HelpPage(), QString());
    // Out of the mode, commands run again.
    frame_->action(kCmdAnagramSearch)->trigger();
    QCOMPARE(frame_->searchView()->CurrentTab(), 1);
    QCOMPARE(HelpPage(), QString());
  }

 private:
  std::unique_ptr<ScratchHome> home_;
  std::unique_ptr<DictionaryState> state_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace vocor

QTEST_MAIN(vocor::ContextHelpTest)
#include "context_help_qtest.moc"
