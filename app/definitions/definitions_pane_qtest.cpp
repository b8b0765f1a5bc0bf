// The definitions pane in the main window, over databases the test makes
// in its own folder (never the system's): selecting a result shows its
// entries, a cross-reference leads to its word and back, a search fills
// the list without looking anything up, no database gives the advice, the
// databases chosen and the pane's place survive a restart.
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QStringListModel>
#include <QTextBrowser>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "app/definitions/definitions_pane.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
#include "app/window_test_support.h"
#include "definitions/testing/dict_writer.h"
#include "dictionary/dictionary_state.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

constexpr uint32_t kFrench = 0x040c;

// Writes database `name` of `entries` (sorted here) into `folder`, with a
// short name that the pane shows above its entries.
void WriteDatabase(const std::filesystem::path& folder, const std::string& name,
                   const std::string& title,
                   std::vector<testing::MadeEntry> entries) {
  entries.push_back({"00-database-short", "00-database-short\n     " + title});
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return a.headword < b.headword;
  });
  testing::WriteDatabase(folder, name, testing::MakeDatabase(entries), 64);
}

// A private home, a dictionary, databases in a folder of their own and a
// frame whose pane looks there.
class PaneFixture {
 public:
  PaneFixture() : folder_(std::string(getenv("TMPDIR")) + "/dictd") {
    CloseSettingsStore();
    std::filesystem::create_directories(folder_);
  }
  ~PaneFixture() {
    frame_.reset();
    CloseSettingsStore();
  }

  void WriteEnglishDatabases() {
    WriteDatabase(
        folder_, "gcide", "Test Collaborative Dictionary",
        {{"yacht",
          "Yacht \\Yacht\\, n.\n   A light pleasure boat; "
          "a {sloop}.\n"},
         {"sloop", "Sloop \\Sloop\\, n.\n   A vessel with one mast.\n"},
         {"ice", "Ice \\Ice\\, n.\n   Frozen water.\n"}});
    WriteDatabase(folder_, "wn", "Test WordNet",
                  {{"yacht", "yacht\n    n 1: an expensive vessel\n"}});
  }
  void WriteFrenchDatabase() {
    WriteDatabase(folder_, "freedict-fra-eng", "French-English",
                  {{"bateau", "bateau /bato/\n   boat\n"}});
  }

  void Install(const std::vector<std::string>& words) {
    const std::string path = std::string(getenv("TMPDIR")) + "/words.dic";
    QVERIFY(testing::WriteDicFile(path, "Words", words));
    QVERIFY(state_.Install(path) != nullptr);
  }

  CMainFrame* NewFrame() {
    frame_.reset();
    BaseTextMetrics metrics;
    const QFontMetrics font(QApplication::font());
    metrics.height = font.height();
    metrics.ave_char_width = font.averageCharWidth();
    frame_ = std::make_unique<CMainFrame>(&state_, metrics,
                                          ComputeLayoutUnits(metrics));
    frame_->definitionsPane()->SetDatabaseFolders({folder_});
    frame_->LoadBarState();
    frame_->resize(800, 600);
    return frame_.get();
  }
  bool ShowActive() {
    frame_->show();
    frame_->activateWindow();
    return QTest::qWaitForWindowActive(frame_.get());
  }

  void Search(const QString& pattern) {
    CSearchView* view = frame_->searchView();
    view->SelectTab(0);
    view->GetActiveForm()->boxes().front()->lineEdit()->setText(pattern);
    view->StartSearch();
    while (view->SearchStep()) {
    }
  }
  // Moves the results list's current word to `word`, as the arrow keys do.
  void Select(const std::string& word) {
    QListView* list = frame_->searchView()->resultsList();
    const std::vector<std::string> words = frame_->searchView()->ResultWords();
    const auto at = std::find(words.begin(), words.end(), word);
    QVERIFY(at != words.end());
    list->setFocus();
    list->setCurrentIndex(list->model()->index(int(at - words.begin()), 0));
  }

  QString PageText() const {
    return frame_->definitionsPane()->browser()->toPlainText();
  }

  const std::filesystem::path& folder() const { return folder_; }

 private:
  ScratchHome home_;
  std::filesystem::path folder_;
  DictionaryState state_;
  std::unique_ptr<CMainFrame> frame_;
};

class DefinitionsPaneTest : public QObject {
  Q_OBJECT

 private slots:
  // The whole road from a search to a cross-reference and back, by keys.
  void selectedWordShowsItsEntriesAndReferencesLeadOn() {
    PaneFixture fixture;
    fixture.Install({"yacht", "sloop", "ketch"});
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    QTextBrowser* browser = frame->definitionsPane()->browser();
    QVERIFY(browser->isVisible());

    // Filling the list looks nothing up, nor does moving into it (F6),
    // which marks its first word without selecting it.
    fixture.Search(QStringLiteral("?????"));
    frame->action(kCmdNextPane)->trigger();
    QTRY_VERIFY(frame->searchView()->resultsList()->hasFocus());
    QVERIFY(frame->searchView()->resultsList()->currentIndex().isValid());
    QCOMPARE(frame->definitionsPane()->shownWord(), QString());

    // The databases are listed at the first look-up, not before: made only
    // now, they are found.
    fixture.WriteEnglishDatabases();
    fixture.Select("yacht");
    QString text = fixture.PageText();
    QVERIFY2(text.contains("A light pleasure boat; a sloop."),
             qPrintable(text));
    QVERIFY(text.contains("an expensive vessel"));
    // Each database's title stands above its own entries.
    QVERIFY(text.indexOf("Test Collaborative Dictionary") <
            text.indexOf("pleasure boat"));
    QVERIFY(text.indexOf("pleasure boat") < text.indexOf("Test WordNet"));
    QVERIFY(text.indexOf("Test WordNet") < text.indexOf("expensive vessel"));

    // Tab from the results reaches the pane; Tab there picks the
    // reference and Enter follows it; Alt+Left comes back.
    QListView* list = frame->searchView()->resultsList();
    QVERIFY(list->hasFocus());
    QTest::keyClick(list, Qt::Key_Tab);
    QTRY_VERIFY(browser->hasFocus());
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    QTRY_COMPARE(frame->definitionsPane()->shownWord(),
                 QStringLiteral("sloop"));
    QVERIFY(fixture.PageText().contains("A vessel with one mast."));
    QTest::keyClick(browser, Qt::Key_Left, Qt::AltModifier);
    QTRY_COMPARE(frame->definitionsPane()->shownWord(),
                 QStringLiteral("yacht"));

    // A word without an entry says where it was looked for.
    fixture.Select("ketch");
    text = fixture.PageText();
    QVERIFY2(text.contains("No entry for") && text.contains("gcide and wn"),
             qPrintable(text));

    // A phrase without an entry of its own shows its words'.
    frame->definitionsPane()->ShowResult(QStringLiteral("ice yacht"));
    text = fixture.PageText();
    QVERIFY(text.contains("its words"));
    QVERIFY(text.contains("Frozen water.") && text.contains("pleasure boat"));

    // A hidden pane looks nothing up until it is shown again.
    frame->action(kCmdViewDefinitions)->trigger();
    QVERIFY(!frame->definitionsDock()->isVisible());
    fixture.Select("sloop");
    QVERIFY(!fixture.PageText().contains("one mast"));
    frame->action(kCmdViewDefinitions)->trigger();
    QTRY_VERIFY(fixture.PageText().contains("one mast"));
  }

  // Without databases the pane names the packages for the dictionary's
  // language; with only English ones, a French dictionary is told its own.
  void withoutDatabasesThePaneNamesThePackages() {
    PaneFixture fixture;
    uint32_t language = 0;
    CDefinitionsPane pane([&language] { return language; });
    pane.SetDatabaseFolders({fixture.folder()});
    pane.show();
    QVERIFY(pane.browser()->toPlainText().contains("Select a word"));
    pane.ShowResult(QStringLiteral("yacht"));
    QString text = pane.browser()->toPlainText();
    QVERIFY2(text.contains("sudo apt install dict-gcide dict-wn"),
             qPrintable(text));
    QVERIFY(!text.contains("freedict"));

    fixture.WriteEnglishDatabases();
    language = kFrench;
    pane.SetDatabaseFolders({fixture.folder()});
    pane.ShowResult(QStringLiteral("bateau"));
    text = pane.browser()->toPlainText();
    QVERIFY2(text.contains("dict-freedict-fra-eng"), qPrintable(text));

    fixture.WriteFrenchDatabase();
    pane.SetDatabaseFolders({fixture.folder()});
    pane.ShowResult(QStringLiteral("Bateau"));
    QVERIFY(pane.browser()->toPlainText().contains("boat"));

    // The same word selected again in a new search of another language's
    // dictionary is looked up again, in that language's databases.
    QStringListModel words({QStringLiteral("bateau")});
    QListView list;
    list.setModel(&words);
    pane.FollowResults(&list);
    language = 0x0409;
    list.setCurrentIndex(words.index(0));
    QVERIFY(pane.browser()->toPlainText().contains("No entry"));
    language = kFrench;
    words.setStringList({QStringLiteral("bateau")});
    list.setCurrentIndex(words.index(0));
    QVERIFY(pane.browser()->toPlainText().contains("boat"));
  }

  // Definitions From lists the installed databases, checked as they
  // answer now; the choice holds for the language, across a restart, and
  // leaves other languages at their default.
  void chosenDatabasesAnswerForTheirLanguage() {
    PaneFixture fixture;
    fixture.WriteEnglishDatabases();
    fixture.WriteFrenchDatabase();
    uint32_t language = 0x0409;
    auto pane = std::make_unique<CDefinitionsPane>([&] { return language; });
    pane->SetDatabaseFolders({fixture.folder()});
    pane->show();
    pane->ShowResult(QStringLiteral("yacht"));
    QVERIFY(pane->browser()->toPlainText().contains("pleasure boat"));

    QStringList listed;
    QTimer::singleShot(0, [&listed] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      auto* list = dialog->findChild<QListWidget*>(QStringLiteral("databases"));
      for (int row = 0; row < list->count(); ++row) {
        QListWidgetItem* item = list->item(row);
        listed << item->text() + (item->checkState() == Qt::Checked ? "+" : "");
        if (item->text().contains("(gcide)"))
          item->setCheckState(Qt::Unchecked);
      }
      dialog->accept();
    });
    pane->ChooseDatabases();
    QCOMPARE(listed, (QStringList{"French-English (freedict-fra-eng)",
                                  "Test Collaborative Dictionary (gcide)+",
                                  "Test WordNet (wn)+"}));
    // The page shown is looked up again with the new choice.
    QString text = pane->browser()->toPlainText();
    QVERIFY2(!text.contains("pleasure boat") && text.contains("expensive"),
             qPrintable(text));

    CloseSettingsStore();
    pane = std::make_unique<CDefinitionsPane>([&] { return language; });
    pane->SetDatabaseFolders({fixture.folder()});
    language = 0x0809;  // English too: the same choice
    pane->ShowResult(QStringLiteral("yacht"));
    QVERIFY(!pane->browser()->toPlainText().contains("pleasure boat"));
    language = kFrench;
    pane->ShowResult(QStringLiteral("bateau"));
    QVERIFY(pane->browser()->toPlainText().contains("boat"));
  }

  // Beside the results the pane widens the narrowest window: the search
  // view keeps its own narrowest width. Below them, or hidden, it does not.
  void paneBesideTheResultsWidensTheNarrowestWindow() {
    PaneFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    CSearchView* view = frame->searchView();
    const int narrowest = frame->minimumWidth();
    frame->addDockWidget(Qt::RightDockWidgetArea, frame->definitionsDock());
    QTRY_VERIFY(frame->minimumWidth() > narrowest);
    frame->resize(1, 600);
    QTRY_COMPARE(frame->width(), frame->minimumWidth());
    QTRY_VERIFY(view->width() >= view->MinimumWidth());
    QVERIFY(frame->definitionsDock()->width() > 0);
    frame->action(kCmdViewDefinitions)->trigger();
    QTRY_COMPARE(frame->minimumWidth(), narrowest);
    frame->action(kCmdViewDefinitions)->trigger();
    frame->addDockWidget(Qt::BottomDockWidgetArea, frame->definitionsDock());
    QTRY_COMPARE(frame->minimumWidth(), narrowest);
  }

  // View > Definitions and Definitions From have letters of their own;
  // the pane's visibility and height survive a restart of the window.
  void paneVisibilityAndSizeSurviveARestart() {
    PaneFixture fixture;
    CMainFrame* frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    QAction* toggle = frame->action(kCmdViewDefinitions);
    QVERIFY(toggle->isChecked());
    // Alt+V then D or F: no other entry of View has those letters.
    auto* view_menu =
        qobject_cast<QMenu*>(toggle->associatedObjects().value(0));
    QVERIFY(view_menu != nullptr);
    QStringList mnemonics;
    for (QAction* entry : view_menu->actions()) {
      if (entry->isSeparator()) continue;
      const QString key = QKeySequence::mnemonic(entry->text()).toString();
      QVERIFY2(!key.isEmpty() && !mnemonics.contains(key),
               qPrintable(entry->text()));
      mnemonics << key;
    }
    QVERIFY(mnemonics.contains(QStringLiteral("Alt+D")));
    QVERIFY(mnemonics.contains(QStringLiteral("Alt+F")));
    QVERIFY(frame->definitionsDock()->isVisible());
    frame->resizeDocks({frame->definitionsDock()}, {170}, Qt::Vertical);
    QTRY_COMPARE(frame->definitionsDock()->height(), 170);
    frame->close();

    frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    QTRY_COMPARE(frame->definitionsDock()->height(), 170);
    toggle = frame->action(kCmdViewDefinitions);
    toggle->trigger();
    QVERIFY(frame->definitionsDock()->isHidden());
    frame->close();

    frame = fixture.NewFrame();
    QVERIFY(fixture.ShowActive());
    QVERIFY(frame->definitionsDock()->isHidden());
    QVERIFY(!frame->action(kCmdViewDefinitions)->isChecked());
    frame->action(kCmdViewDefinitions)->trigger();
    QVERIFY(frame->definitionsDock()->isVisible());
  }
};

}  // namespace
}  // namespace vocor

QTEST_MAIN(vocor::DefinitionsPaneTest)
#include "definitions_pane_qtest.moc"
