// The main frame over a DictionaryState of its own: the Dictionaries menu,
// the command states during a search, the keys, the status line, and the
// settings that survive a restart (placement, bars, results font, order
// and minimum score).
#include "app/shell/main_frame.h"

#include <QClipboard>
#include <QComboBox>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTabBar>
#include <QToolBar>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/definitions/definitions_pane.h"
#include "app/dictionaries/build_dictionary_dlg.h"
#include "app/shell/command_texts.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/shell/window_placement_qt.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

// A private home, installed dictionaries and a frame over them.
class FrameFixture {
 public:
  FrameFixture() { CloseSettingsStore(); }
  ~FrameFixture() {
    frame_.reset();
    CloseSettingsStore();
  }

  // Installs a dictionary named `name` holding `words`.
  CDictionary* Install(const std::string& name,
                       const std::vector<std::string>& words) {
    const std::string path =
        std::string(getenv("TMPDIR")) + "/" + std::to_string(++files_) + ".dic";
    if (!testing::WriteDicFile(path, name, words)) return nullptr;
    return state_.Install(path);
  }

  CMainFrame* NewFrame() {
    frame_.reset();
    const QFontMetrics font(QApplication::font());
    metrics_.height = font.height();
    metrics_.ave_char_width = font.averageCharWidth();
    frame_ = std::make_unique<CMainFrame>(&state_, metrics_,
                                          ComputeLayoutUnits(metrics_));
    // A word selected here looks up no database of the machine's.
    frame_->definitionsPane()->SetDatabaseFolders({});
    return frame_.get();
  }
  // Shows the frame and waits until it has the focus, as keys need.
  bool ShowActive(int width = 800, int height = 600) {
    frame_->resize(width, height);
    frame_->show();
    frame_->activateWindow();
    return QTest::qWaitForWindowActive(frame_.get());
  }

  void TypePattern(const QString& text) {
    frame_->searchView()->SelectTab(0);
    QComboBox* box = frame_->searchView()->GetActiveForm()->boxes().front();
    box->setFocus();
    box->lineEdit()->setText(text);
  }
  void RunSearchToEnd() {
    CSearchView* view = frame_->searchView();
    view->StartSearch();
    while (view->SearchStep()) {
    }
  }

  DictionaryState* state() { return &state_; }
  CMainFrame* frame() { return frame_.get(); }
  const BaseTextMetrics& metrics() const { return metrics_; }

 private:
  ScratchHome home_;
  DictionaryState state_;
  std::unique_ptr<CMainFrame> frame_;
  BaseTextMetrics metrics_;
  int files_ = 0;
};

// The dictionary entries of the menu, rebuilt as when it opens.
QList<QAction*> OpenDictionaryMenu(CMainFrame* frame) {
  QMenu* menu = frame->dictionariesMenu();
  emit menu->aboutToShow();
  QList<QAction*> entries = menu->actions();
  const int build = entries.indexOf(frame->action(kCmdBuildDictionary));
  return entries.mid(build + 2);  // after "Build Dictionary" and a separator
}

QStringList Texts(const QList<QAction*>& entries) {
  QStringList texts;
  for (QAction* entry : entries) {
    texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
  }
  return texts;
}

QString Name(int index) {
  return QStringLiteral("Dict %1").arg(index, 2, 10, QLatin1Char('0'));
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

 private slots:
  void menuWithFortyDictionariesNumbersThirtyOne() {
    FrameFixture fixture;
    // Installed in reverse: the menu sorts them.
    for (int i = 39; i >= 0; --i) {
      QVERIFY(fixture.Install(Name(i).toStdString(), {"word"}) != nullptr);
    }
    CMainFrame* frame = fixture.NewFrame();
    const QList<QAction*> entries = OpenDictionaryMenu(frame);
    QStringList expected{"&1 All Dictionaries", "-"};
    for (int n = 2; n <= 31; ++n) {
      const QString number =
          n < 10 ? QStringLiteral("&%1").arg(n)
                 : QStringLiteral("%1&%2").arg(n / 10).arg(n % 10);
      expected.append(number + " " + Name(n - 2));
    }
    QCOMPARE(Texts(entries), expected);
    QVERIFY(entries.front()->isChecked());
    QVERIFY(entries.front()->icon().isNull());
    // "All Dictionaries" is the active set: every dictionary is its member.
    for (QAction* entry : entries.mid(2)) {
      QVERIFY(entry->isEnabled());
      QVERIFY(!entry->isChecked());
      QVERIFY(!entry->icon().isNull());
    }
    // Opening it again rebuilds, never appends.
    QCOMPARE(OpenDictionaryMenu(frame).size(), expected.size());
  }

  void searchGreysTheDictionariesAndConfigure() {
    FrameFixture fixture;
    for (int i = 0; i < 3; ++i) {
      fixture.Install(Name(i).toStdString(), {"cat", "cot", "dog"});
    }
    CMainFrame* frame = fixture.NewFrame();
    fixture.TypePattern(QStringLiteral("*"));
    QVERIFY(frame->action(kCmdSearch)->isEnabled());
    QVERIFY(!frame->action(kCmdStop)->isEnabled());
    frame->searchView()->StartSearch();
    QVERIFY(frame->searchView()->IsSearching());
    for (QAction* entry : OpenDictionaryMenu(frame)) {
      QVERIFY2(!entry->isEnabled(), qPrintable(entry->text()));
    }
    QVERIFY(!frame->action(kCmdConfigureDictionaries)->isEnabled());
    QVERIFY(!frame->action(kCmdBuildDictionary)->isEnabled());
    QVERIFY(!frame->action(kCmdSearch)->isEnabled());
    QVERIFY(frame->action(kCmdStop)->isEnabled());
    QCOMPARE(frame->messageText(), QString::fromUtf8(kSearchingStatus));
    QVERIFY(frame->progressBar() != nullptr);

    frame->searchView()->StopSearch();
    QVERIFY(frame->progressBar() == nullptr);
    QCOMPARE(frame->messageText(), QString::fromUtf8(kIdleMessage));
    QVERIFY(frame->action(kCmdSearch)->isEnabled());
    for (QAction* entry : OpenDictionaryMenu(frame)) {
      if (!entry->isSeparator()) QVERIFY(entry->isEnabled());
    }
  }

  // The entries of a menu left open follow the search as it starts and
  // ends.
  void openMenuFollowsTheSearch() {
    FrameFixture fixture;
    fixture.Install("Cats", {"cat", "cot", "dog"});
    CMainFrame* frame = fixture.NewFrame();
    fixture.TypePattern(QStringLiteral("*"));
    const QList<QAction*> entries = OpenDictionaryMenu(frame);
    frame->searchView()->StartSearch();
    for (QAction* entry : entries) QVERIFY(!entry->isEnabled());
    fixture.RunSearchToEnd();
    QVERIFY(!frame->searchView()->IsSearching());
    for (QAction* entry : entries) {
      if (!entry->isSeparator()) QVERIFY(entry->isEnabled());
    }
  }

  // Highlighting an entry puts its prompt into the status line.
  void entriesShowTheirPrompt() {
    FrameFixture fixture;
    fixture.Install("Cats", {"cat"});
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    QMenu* menu = frame->dictionariesMenu();
    menu->popup(frame->mapToGlobal(QPoint(10, 10)));  // rebuilds the entries
    QVERIFY(QTest::qWaitForWindowExposed(menu));
    const QList<QAction*> entries = menu->actions().mid(
        menu->actions().indexOf(frame->action(kCmdBuildDictionary)) + 2);
    const std::string_view prompt = CommandPrompt(kCmdLoadedDictionary);
    for (QAction* entry : {entries.front(), entries.back()}) {
      menu->setActiveAction(entry);
      QCOMPARE(frame->messageText(),
               QString::fromUtf8(prompt.data(),
                                 static_cast<qsizetype>(prompt.size())));
    }
    menu->close();
  }

  // A name wider than its pane ends in an ellipsis there and shows whole in
  // the pane's tool tip; a short one has no tool tip.
  void longActiveNameGetsAToolTip() {
    FrameFixture fixture;
    const std::string long_name(
        "English words of the nineteenth century, with all their spellings");
    CDictionary* long_one = fixture.Install(long_name, {"cat"});
    CDictionary* short_one = fixture.Install("Cats", {"cat"});
    CMainFrame* frame = fixture.NewFrame();
    fixture.state()->SetActive(long_one);
    frame->UpdateCommandStates();
    const QString shown = frame->activeDictionaryText();
    QVERIFY(shown.endsWith(QChar(0x2026)));
    QVERIFY(QString::fromStdString(long_name).startsWith(shown.chopped(1)));
    auto* dictionary_pane = frame->statusBar()->findChild<QLabel*>(
        QStringLiteral("dictionaryPane"));
    QCOMPARE(dictionary_pane->toolTip(), QString::fromStdString(long_name));
    QVERIFY(dictionary_pane->fontMetrics().horizontalAdvance(shown) <=
            dictionary_pane->contentsRect().width());
    fixture.state()->SetActive(short_one);
    frame->UpdateCommandStates();
    QCOMPARE(dictionary_pane->text(), QStringLiteral("Cats"));
    QVERIFY(dictionary_pane->toolTip().isEmpty());
  }

  void choosingAnEntryOnlyMakesItActive() {
    FrameFixture fixture;
    fixture.Install("Cats & Dogs", {"cat"});
    fixture.Install("Birds", {"wren"});
    CMainFrame* frame = fixture.NewFrame();
    QCOMPARE(frame->activeDictionaryText(), QStringLiteral("All Dictionaries"));
    const QList<QAction*> entries = OpenDictionaryMenu(frame);
    // A name's ampersand is shown, not taken as a mnemonic.
    QCOMPARE(Texts(entries), (QStringList{"&1 All Dictionaries", "-",
                                          "&2 Birds", "&3 Cats && Dogs"}));
    entries[3]->trigger();
    QCOMPARE(QString::fromUtf8(fixture.state()->active()->GetName()),
             QStringLiteral("Cats & Dogs"));
    QCOMPARE(frame->activeDictionaryText(), QStringLiteral("Cats & Dogs"));
    QVERIFY(!frame->searchView()->IsSearching());
    uint32_t stored = 0;
    QVERIFY(
        !ReadRegDword(kCurrentUser, kSettingsKey, "ActiveDictionary", &stored));
    QVERIFY(OpenDictionaryMenu(frame)[3]->isChecked());
  }

  void activeSetMarksItsMembers() {
    FrameFixture fixture;
    CDictionary* birds = fixture.Install("Birds", {"wren"});
    fixture.Install("Cats", {"lion"});
    CDictionary* fish = fixture.Install("Fish", {"carp"});
    auto set = std::make_unique<CDictionarySet>();
    set->SetName("Pets");
    set->members().AddTail(birds);
    set->members().AddTail(fish);
    CDictionary* pets = set.get();
    fixture.state()->all_sets()->AdoptMember(std::move(set));
    fixture.state()->SetActive(pets);
    const QList<QAction*> entries = OpenDictionaryMenu(fixture.NewFrame());
    QCOMPARE(Texts(entries), (QStringList{"&1 All Dictionaries", "&2 Pets", "-",
                                          "&3 Birds", "&4 Cats", "&5 Fish"}));
    QVERIFY(!entries[0]->isChecked());
    QVERIFY(entries[1]->isChecked());  // the set: the standard check
    QVERIFY(entries[1]->icon().isNull());
    for (int member : {3, 5}) {  // its members: the set-member mark
      QVERIFY(!entries[member]->icon().isNull());
      QVERIFY(!entries[member]->isChecked());
    }
    QVERIFY(entries[4]->icon().isNull());
  }

  void progressBarSitsInTheMessagePane_data() {
    QTest::addColumn<int>("width");
    QTest::newRow("wide window: 30 characters in") << 900;
    QTest::newRow("narrow window: from the middle") << 0;
  }
  void progressBarSitsInTheMessagePane() {
    QFETCH(int, width);
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->resize(width, 400);  // 0: the minimum size
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    frame->BeginSearchProgress(500);
    frame->SetSearchStatus(QString::fromUtf8(kSearchingStatus));
    frame->SetSearchProgress(250);
    QProgressBar* bar = frame->progressBar();
    QVERIFY(bar != nullptr);
    QCOMPARE(bar->maximum(), 500);
    QCOMPARE(bar->value(), 250);
    // The message pane is what the status bar's permanent panes leave.
    QStatusBar* status = frame->statusBar();
    const QRect pane =
        status->findChild<QLabel*>(QStringLiteral("messagePane"))->geometry();
    const int from_30 = pane.left() + 30 * fixture.metrics().ave_char_width;
    const int middle = (pane.left() + pane.left() + pane.width()) / 2;
    QCOMPARE(bar->geometry().left(), width > 0 ? from_30 : middle);
    QCOMPARE(bar->geometry().right(), pane.right());
    QCOMPARE(bar->height(), pane.height());
    frame->EndSearchProgress();
    QVERIFY(frame->progressBar() == nullptr);
  }

  void placementSurvivesARestart_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("stored_prefix");
    QTest::newRow("maximized") << int(Qt::WindowMaximized) << "2,3,";
    QTest::newRow("minimized") << int(Qt::WindowMinimized) << "0,2,";
    QTest::newRow("normal") << int(Qt::WindowNoState) << "0,1,";
  }
  void placementSurvivesARestart() {
    QFETCH(int, state);
    QFETCH(QString, stored_prefix);
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->setGeometry(40, 50, 700, 450);
    frame->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame));
    frame->setWindowState(Qt::WindowStates(state));
    frame->close();
    std::string text;
    QVERIFY(ReadRegString(kCurrentUser, CMainFrame::kRegistryKey, "Position",
                          &text));
    QVERIFY2(QString::fromStdString(text).startsWith(stored_prefix),
             text.c_str());

    frame = fixture.NewFrame();
    QVERIFY(RestoreWindowPlacement(frame, kCurrentUser,
                                   CMainFrame::kRegistryKey,
                                   CMainFrame::kPositionValue));
    QVERIFY(frame->isVisible());
    QVERIFY(!frame->isMinimized());  // never restored minimized
    QCOMPARE(frame->isMaximized(), state == Qt::WindowMaximized);
    QCOMPARE(frame->normalGeometry().size(), QSize(700, 450));
  }

  void barsSurviveARestart() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->show();
    frame->action(kCmdViewToolBar)->trigger();
    frame->action(kCmdViewStatusBar)->trigger();
    QVERIFY(frame->toolBar()->isHidden());
    QVERIFY(frame->statusBar()->isHidden());
    frame->close();

    frame = fixture.NewFrame();
    QVERIFY(!frame->toolBar()->isHidden());
    frame->LoadBarState();
    frame->show();
    QVERIFY(frame->toolBar()->isHidden());
    QVERIFY(frame->statusBar()->isHidden());
    frame->action(kCmdViewToolBar)->trigger();
    QVERIFY(frame->toolBar()->isVisible());
  }

  void resultsFontSurvivesARestart() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->show();
    QFont chosen(QStringLiteral("DejaVu Serif"));
    chosen.setPixelSize(23);
    chosen.setBold(true);
    QTimer::singleShot(0, [&chosen] {
      auto* dialog =
          qobject_cast<QFontDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->setCurrentFont(chosen);
      dialog->accept();
    });
    frame->action(kCmdChangeFont)->trigger();
    const QFontInfo before(frame->searchView()->resultsList()->font());
    QCOMPARE(before.pixelSize(), 23);

    frame = fixture.NewFrame();
    const QFontInfo after(frame->searchView()->resultsList()->font());
    QCOMPARE(after.family(), before.family());
    QCOMPARE(after.pixelSize(), 23);
    QVERIFY(after.bold());
  }

  // View holds the two orders as a radio pair after Change Font, then
  // Minimum Score; the choices reach the view and survive a restart.
  void resultOrderAndMinimumScoreSurviveARestart() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->show();
    QAction* alphabetical = frame->action(kCmdOrderAlphabetical);
    QAction* best_first = frame->action(kCmdOrderByScore);
    QMenu* view_menu = qobject_cast<QMenu*>(
        frame->action(kCmdChangeFont)->associatedObjects().value(0));
    QVERIFY(view_menu != nullptr);
    QStringList texts;
    for (QAction* entry : view_menu->actions()) {
      texts.append(entry->isSeparator() ? QStringLiteral("-") : entry->text());
    }
    QCOMPARE(texts, (QStringList{"&Change Font...", "-", "&Alphabetical",
                                 "&Best First", "&Minimum Score...", "-",
                                 "&Toolbar", "&Status Bar", "&Definitions",
                                 "Definitions &From..."}));
    QVERIFY(alphabetical->isChecked());
    QVERIFY(!best_first->isChecked());
    best_first->trigger();
    QVERIFY(!alphabetical->isChecked());
    QCOMPARE(frame->searchView()->resultOrder(), ResultOrder::kByScore);
    QTimer::singleShot(0, [] {
      auto* dialog =
          qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->setIntValue(45);
      dialog->accept();
    });
    frame->action(kCmdMinimumScore)->trigger();
    QCOMPARE(frame->searchView()->minimumScore(), 45);
    frame->close();

    frame = fixture.NewFrame();
    QVERIFY(frame->action(kCmdOrderByScore)->isChecked());
    QVERIFY(!frame->action(kCmdOrderAlphabetical)->isChecked());
    QCOMPARE(frame->searchView()->resultOrder(), ResultOrder::kByScore);
    QCOMPARE(frame->searchView()->minimumScore(), 45);
    frame->action(kCmdOrderAlphabetical)->trigger();
    frame = fixture.NewFrame();
    QVERIFY(frame->action(kCmdOrderAlphabetical)->isChecked());
    QCOMPARE(frame->searchView()->minimumScore(), 45);
  }

  void editCommandsFollowTheFocus() {
    FrameFixture fixture;
    fixture.Install("Cats", {"cat", "cot"});
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    fixture.TypePattern(QStringLiteral("c?t"));
    QLineEdit* edit =
        frame->searchView()->GetActiveForm()->boxes().front()->lineEdit();
    QTRY_VERIFY(edit->hasFocus());
    QVERIFY(!frame->action(kCmdUndo)->isEnabled());
    QTest::keyClicks(edit, QStringLiteral("x"));
    QVERIFY(frame->action(kCmdUndo)->isEnabled());
    edit->deselect();
    QVERIFY(!frame->action(kCmdCut)->isEnabled());
    QVERIFY(!frame->action(kCmdCopy)->isEnabled());
    edit->selectAll();
    QVERIFY(frame->action(kCmdCut)->isEnabled());
    QVERIFY(frame->action(kCmdCopy)->isEnabled());

    frame->action(kCmdNextPane)->trigger();  // F6: to the results list
    QTRY_VERIFY(frame->searchView()->resultsList()->hasFocus());
    QVERIFY(frame->action(kCmdCopy)->isEnabled());
    QVERIFY(!frame->action(kCmdCut)->isEnabled());
    QVERIFY(!frame->action(kCmdPaste)->isEnabled());
    frame->action(kCmdPrevPane)->trigger();  // Shift+F6: back to the form
    QTRY_VERIFY(edit->hasFocus());
  }

  void copyTakesTheSelectionElseEverything() {
    FrameFixture fixture;
    fixture.Install("Cats", {"cut", "cat", "dog", "cot"});
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    fixture.TypePattern(QStringLiteral("c?t"));
    fixture.RunSearchToEnd();
    QCOMPARE(frame->foundText(), QStringLiteral("Found 3"));
    frame->action(kCmdNextPane)->trigger();
    QListView* list = frame->searchView()->resultsList();
    QTRY_VERIFY(list->hasFocus());
    list->clearSelection();
    frame->action(kCmdCopy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("cat\ncot\ncut\n"));
    list->selectionModel()->select(list->model()->index(0, 0),
                                   QItemSelectionModel::Select);
    list->selectionModel()->select(list->model()->index(2, 0),
                                   QItemSelectionModel::Select);
    frame->action(kCmdCopy)->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(),
             QStringLiteral("cat\ncut\n"));
  }

  // The narrowest window shows the Search and Stop buttons and every
  // control of every form whole.
  void narrowestWindowShowsEverything() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive(1, 400));
    CSearchView* view = frame->searchView();
    QTRY_COMPARE(frame->width(), frame->minimumWidth());
    QTRY_COMPARE(view->width(), frame->width());
    QCOMPARE(view->minimumSizeHint().width(), view->MinimumWidth());
    for (QPushButton* button : {view->searchButton(), view->stopButton()}) {
      QVERIFY(button->geometry().right() < view->width());
      QVERIFY(button->width() >= button->sizeHint().width());
    }
    // Every tab shows whole: the tab row does not scroll.
    QTabBar* bar = view->findChild<QTabBar*>();
    QVERIFY(bar->tabRect(bar->count() - 1).right() < bar->width());
    for (int tab = 0; tab < 5; ++tab) {
      view->SelectTab(tab);
      CSearchInfoView* form = view->GetActiveForm();
      QTRY_VERIFY(form->isVisible());
      for (QWidget* control : form->findChildren<QWidget*>(
               QString(), Qt::FindDirectChildrenOnly)) {
        QVERIFY2(form->rect().contains(control->geometry()),
                 qPrintable(form->caption()));
      }
    }
  }

  // With no dictionary installed a search finds nothing, and the status
  // line says why: a crossword is refused, the other kinds run.
  void searchWithoutDictionarySaysWhy() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    const QString why = QString::fromUtf8(kNoDictionaryStatus);
    fixture.TypePattern(QStringLiteral("c?t"));
    frame->searchView()->StartSearch();
    QCOMPARE(frame->messageText(), why);
    frame->searchView()->SelectTab(3);
    fixture.RunSearchToEnd();
    QCOMPARE(frame->messageText(), why);
    QCOMPARE(frame->foundText(), QString("Found 0"));
    // Once a dictionary is installed the reason is gone from the line.
    QVERIFY(fixture.Install("cat.dic", {"cat"}) != nullptr);
    frame->UpdateCommandStates();
    QCOMPARE(frame->messageText(), QString::fromUtf8(kIdleMessage));
  }

  void f3SearchesAndEscStops() {
    FrameFixture fixture;
    std::vector<std::string> words;
    for (int i = 0; i < 3000; ++i) words.push_back("w" + std::to_string(i));
    fixture.Install("Many", words);
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    fixture.TypePattern(QStringLiteral("*"));
    CSearchView* view = frame->searchView();
    QTRY_VERIFY(view->GetActiveForm()->boxes().front()->lineEdit()->hasFocus());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_F3);
    QVERIFY(view->IsSearching());
    for (int step = 0; step < 50; ++step) view->SearchStep();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!view->IsSearching());
    const int found = view->ResultWords().size();
    QVERIFY(found > 0 && found < 3000);
    QCOMPARE(frame->messageText(), QString::fromUtf8(kIdleMessage));
  }

  void closingDuringASearchEndsIt() {
    FrameFixture fixture;
    fixture.Install("Cats", {"cat", "cot", "cut"});
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    fixture.TypePattern(QStringLiteral("*"));
    frame->searchView()->StartSearch();
    QVERIFY(frame->searchView()->IsSearching());
    frame->close();
    fixture.NewFrame();  // the old frame and its running search go
    std::string text;
    QVERIFY(ReadRegString(kCurrentUser, CMainFrame::kRegistryKey, "Position",
                          &text));
  }

  void buildDictionaryOpensItsDialog() {
    FrameFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    frame->show();
    QString title;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] {
      auto* dialog =
          qobject_cast<CBuildDictionaryDlg*>(QApplication::activeModalWidget());
      if (dialog == nullptr) return;
      title = dialog->windowTitle();
      dialog->reject();
    });
    poll.start(5);
    frame->action(kCmdBuildDictionary)->trigger();
    QCOMPARE(title, QStringLiteral("Build Dictionary"));
    QVERIFY(fixture.state()->all_dictionaries()->members().IsEmpty());
  }
};

}  // namespace vocor

QTEST_MAIN(vocor::MainFrameTest)
#include "main_frame_test.moc"
