// The dictionary list, Configure Dictionaries and the details dialog over
// a DictionaryState of their own, with the file dialog and the message
// boxes answered by timers, and the store checked after each change.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QtTest>
#include <filesystem>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>

#include "app/dictionaries/configure_dictionaries_dlg.h"
#include "app/dictionaries/dictionary_details_dlg.h"
#include "app/dictionaries/dictionary_list_ctrl.h"
#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/testing/member_names.h"
#include "settings/settings_store.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

using Names = std::vector<std::string>;

// Runs `handler` once on the first modal widget of type T that opens
// while this object lives. Polls, because the dialogs run their own loops.
template <typename T>
class OnModal {
 public:
  explicit OnModal(std::function<void(T*)> handler)
      : handler_(std::move(handler)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
      if (widget == nullptr || seen_ > 0) return;
      ++seen_;
      handler_(widget);
    });
    timer_.start(5);
  }
  int seen() const { return seen_; }

 private:
  std::function<void(T*)> handler_;
  QTimer timer_;
  int seen_ = 0;
};

uint32_t StoredActive() {
  uint32_t id = 0xDEADu;
  ReadRegDword(kCurrentUser, kSettingsKey, "ActiveDictionary", &id);
  return id;
}

class Fixture {
 public:
  Fixture() {
    CloseSettingsStore();
    // Each test starts from an empty store.
    std::filesystem::remove(SettingsStorePath());
    state_ = std::make_unique<DictionaryState>();
    state_->LoadDictionaries();
  }
  ~Fixture() {
    state_.reset();
    CloseSettingsStore();
  }

  std::string Dic(const std::string& name, std::vector<std::string> words) {
    const std::string path = Folder() + "/" + name + ".dic";
    testing::WriteDicFile(path, name, words);
    return path;
  }
  std::string Text(const std::string& name, const std::string& text) {
    const std::string path = Folder() + "/" + name;
    testing::WriteTextFile(path, text);
    return path;
  }
  // Installs and stores, as if from an earlier run.
  CDictionary* Installed(const std::string& name) {
    CDictionary* dictionary = state_->Install(Dic(name, {"cat", "dog"}));
    state_->Save();
    return dictionary;
  }
  // Installs "a" and "b" and stores a set "Both" of them in `container`
  // (with the sets, or among the dictionaries); returns a and b.
  std::pair<CDictionary*, CDictionary*> StoredSetOfTwo(
      CDictionarySet* container) {
    CDictionary* a = Installed("a");
    CDictionary* b = Installed("b");
    auto set = std::make_unique<CDictionarySet>();
    set->SetName("Both");
    set->members().AddTail(a);
    set->members().AddTail(b);
    container->AdoptMember(std::move(set));
    state_->Save();
    return {a, b};
  }
  CConfigureDictionariesDlg* NewDialog() {
    dialog_ =
        std::make_unique<CConfigureDictionariesDlg>(state_.get(), 7, nullptr);
    return dialog_.get();
  }
  DictionaryState* state() { return state_.get(); }
  Names Rows() const {
    Names names;
    for (int row = 0; row < dialog_->list()->topLevelItemCount(); ++row) {
      names.push_back(
          dialog_->list()->topLevelItem(row)->text(0).toStdString());
    }
    return names;
  }

 private:
  static std::string Folder() { return std::string(getenv("TMPDIR")); }

  std::unique_ptr<DictionaryState> state_;
  std::unique_ptr<CConfigureDictionariesDlg> dialog_;
};

// Picks `path` in the Install file dialog, after choosing `filter` when
// given; records the filter the dialog opened with.
class FileChooser {
 public:
  explicit FileChooser(const std::string& path, const QString& filter = {})
      : modal_([this, path, filter](QFileDialog* dialog) {
          opened_with_ = dialog->selectedNameFilter();
          title_ = dialog->windowTitle();
          native_ = !dialog->testOption(QFileDialog::DontUseNativeDialog);
          if (!filter.isEmpty()) dialog->selectNameFilter(filter);
          dialog->selectFile(QString::fromStdString(path));
          QMetaObject::invokeMethod(dialog, "accept");
        }) {}
  QString opened_with_, title_;
  bool native_ = true;

 private:
  OnModal<QFileDialog> modal_;
};

QPushButton* ButtonOf(QWidget* dialog, const char* name) {
  return dialog->findChild<QPushButton*>(QLatin1String(name));
}

QString LabelText(QWidget* dialog, const char* name) {
  auto* label = dialog->findChild<QLabel*>(QLatin1String(name));
  return label != nullptr ? label->text() : QStringLiteral("<none>");
}

class DictionaryDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void listSortsByHeaderClicksAndPlacesNewRowsByName() {
    Fixture fixture;
    CDictionary* big = fixture.state()->Install(
        fixture.Dic("beta", {"a", "b", "c", "d", "e"}));
    CDictionary* small = fixture.state()->Install(fixture.Dic("Alpha", {"a"}));
    CDictionary* mid =
        fixture.state()->Install(fixture.Text("gamma.txt", "x\ny\nz\n"));
    CDictionaryListCtrl list;
    list.SetupColumns(true, 7);
    QCOMPARE(list.header()->sectionSize(1), 84);
    QCOMPARE(list.InsertItems(0, std::vector<CDictionary*>{big, small, mid}),
             3);
    const auto order = [&list] {
      std::vector<CDictionary*> rows;
      for (int row = 0; row < list.topLevelItemCount(); ++row) {
        rows.push_back(list.GetItemData(row));
      }
      return rows;
    };
    // The list's own order ignores case.
    QVERIFY(order() == (std::vector<CDictionary*>{small, big, mid}));
    QCOMPARE(list.topLevelItem(1)->text(1), QStringLiteral("5"));
    QCOMPARE(list.topLevelItem(1)->textAlignment(1),
             int(Qt::AlignRight | Qt::AlignVCenter));
    QVERIFY(!list.topLevelItem(0)->icon(0).isNull());
    list.SelectItemData(mid);
    emit list.header()->sectionClicked(1);
    QVERIFY(order() == (std::vector<CDictionary*>{small, mid, big}));
    emit list.header()->sectionClicked(1);
    QVERIFY(order() == (std::vector<CDictionary*>{big, mid, small}));
    QCOMPARE(list.GetItemData(list.SelectedRow()), mid);  // kept selected
    emit list.header()->sectionClicked(0);
    // Case-sensitive: "Alpha" before "beta" before "gamma.txt".
    QVERIFY(order() == (std::vector<CDictionary*>{small, big, mid}));
    emit list.header()->sectionClicked(0);
    QVERIFY(order() == (std::vector<CDictionary*>{mid, big, small}));
    // A row inserted now is still placed by its name, ignoring case.
    CDictionary* also = fixture.state()->Install(fixture.Dic("ALSO", {"a"}));
    QCOMPARE(list.InsertItem(2, also), 0);  // before "gamma.txt"
  }

  void selectNearAfterARowIsRemoved() {
    Fixture fixture;
    CDictionaryListCtrl list;
    list.SetupColumns(false, 7);
    list.InsertItem(0, fixture.Installed("a"));
    list.InsertItem(1, fixture.Installed("b"));
    delete list.takeTopLevelItem(1);
    QCOMPARE(list.SelectNear(1), 0);
    QCOMPARE(list.SelectedRow(), 0);
    delete list.takeTopLevelItem(0);
    QCOMPARE(list.SelectNear(0), -1);
    QCOMPARE(list.SelectedRow(), -1);
  }

  void opensWithTheActiveRowOrTheFirstSelected() {
    Fixture fixture;
    fixture.Installed("a");
    CDictionary* b = fixture.Installed("b");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    QCOMPARE(dialog->list()->SelectedRow(), 0);
    QVERIFY(ButtonOf(dialog, "activate")->isDefault());
    fixture.state()->SetActive(b);
    dialog = fixture.NewDialog();
    QCOMPARE(dialog->list()->GetItemData(dialog->list()->SelectedRow()), b);
    QVERIFY(ButtonOf(dialog, "uninstall")->isEnabled());
  }

  void okWithoutChangesStoresNothing() {
    Fixture fixture;
    fixture.Installed("a");
    const std::string before = DumpStore();
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(!dialog->committed());
    QCOMPARE(DumpStore(), before);
  }

  void installThenCancelLeavesEverything() {
    Fixture fixture;
    fixture.Installed("a");
    const std::string before = DumpStore();
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    {
      FileChooser chooser(fixture.Dic("new", {"owl"}));
      dialog->Install();
      QCOMPARE(chooser.title_, QStringLiteral("Install Dictionary"));
      QVERIFY(!chooser.native_);
    }
    QCOMPARE(fixture.Rows(), (Names{"a", "new"}));
    QCOMPARE(dialog->list()->SelectedRow(), 1);
    CDictionary* installed = dialog->list()->GetItemData(1);
    const int id = installed->id();
    dialog->reject();
    QVERIFY(CDictionary::FindById(id) == nullptr);
    QCOMPARE(DumpStore(), before);
    QCOMPARE(fixture.state()->all_dictionaries()->members().GetCount(), 1);
  }

  void installUninstallThenOkStoresTheListWithoutIt() {
    Fixture fixture;
    fixture.Installed("a");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    {
      FileChooser chooser(fixture.Text("words.txt", "owl\nemu\n"));
      dialog->Install();
    }
    const int id = dialog->list()->GetItemData(1)->id();
    testing::MessageBoxAnswerer answers({QMessageBox::Yes});
    dialog->Uninstall();
    QCOMPARE(answers.texts(),
             QStringList{"Are you sure you wish to remove 'words.txt'?"});
    QVERIFY(CDictionary::FindById(id) == nullptr);
    // The row before the removed last row.
    QCOMPARE(dialog->list()->SelectedRow(), 0);
    dialog->accept();
    QVERIFY(dialog->committed());
    QCOMPARE(dialog->store_result(), ListsResult::kOk);
    DictionaryState stored;
    stored.LoadDictionaries();
    QCOMPARE(testing::MemberNames(*stored.all_dictionaries()), (Names{"a"}));
  }

  void answeringNoKeepsTheRow() {
    Fixture fixture;
    fixture.Installed("a");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    testing::MessageBoxAnswerer answers({QMessageBox::No});
    dialog->Uninstall();
    QCOMPARE(answers.texts().size(), 1);
    QCOMPARE(fixture.Rows(), (Names{"a"}));
    const std::string before = DumpStore();
    dialog->accept();
    QCOMPARE(DumpStore(), before);
  }

  void uninstallingTheActiveOneStoresAllDictionaries() {
    Fixture fixture;
    fixture.Installed("a");
    CDictionary* b = fixture.Installed("b");
    fixture.state()->SetActive(b);
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    testing::MessageBoxAnswerer answers({QMessageBox::Yes});
    dialog->Uninstall();
    // Uninstalling the only row left selects nothing.
    dialog->Uninstall();
    QCOMPARE(dialog->list()->SelectedRow(), -1);
    QVERIFY(!ButtonOf(dialog, "uninstall")->isEnabled());
    QVERIFY(!ButtonOf(dialog, "activate")->isEnabled());
    QCOMPARE(fixture.state()->active(), b);  // not before OK
    dialog->accept();
    QCOMPARE(fixture.state()->active(), fixture.state()->all_dictionaries());
    QCOMPARE(StoredActive(),
             uint32_t(fixture.state()->all_dictionaries()->id()));
    QVERIFY(fixture.state()->all_dictionaries()->members().IsEmpty());
  }

  void uninstallingASetMemberEmptiesItFromTheStoredSet() {
    Fixture fixture;
    CDictionary* a = fixture.StoredSetOfTwo(fixture.state()->all_sets()).first;
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    dialog->list()->SelectItemData(a);
    testing::MessageBoxAnswerer answers({QMessageBox::Yes});
    dialog->Uninstall();
    QCOMPARE(dialog->list()->SelectedRow(), 0);  // "b" moved up into it
    dialog->accept();
    DictionaryState stored;
    stored.LoadDictionaries();
    auto* stored_set = dynamic_cast<CDictionarySet*>(
        stored.all_sets()->members().items().front());
    QVERIFY(stored_set != nullptr);
    QCOMPARE(testing::MemberNames(*stored_set), (Names{"b"}));
  }

  void aFileOfNeitherFormatAndTheRememberedFilter() {
    Fixture fixture;
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    const std::string junk = fixture.Text("junk.txt", std::string("\0\1\2", 3));
    {
      testing::MessageBoxAnswerer answers({QMessageBox::Ok});
      FileChooser chooser(junk, QStringLiteral("Text files (*.txt)"));
      dialog->Install();
      QCOMPARE(chooser.opened_with_,
               QStringLiteral("All dictionary files (*.dic *.txt)"));
      QCOMPARE(answers.texts(), QStringList{"Dictionary load failed."});
    }
    QVERIFY(fixture.Rows().empty());
    QCOMPARE(CConfigureDictionariesDlg::InstallFilterIndex(), 3);
    FileChooser again(fixture.Text("ok.txt", "fine\n"));
    dialog->Install();
    QCOMPARE(again.opened_with_, QStringLiteral("Text files (*.txt)"));
    QCOMPARE(fixture.Rows(), (Names{"ok.txt"}));
  }

  void activateMakesTheRowActiveAndStores() {
    Fixture fixture;
    fixture.Installed("a");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    {
      FileChooser chooser(fixture.Dic("fresh", {"emu"}));
      dialog->Install();
    }
    CDictionary* fresh = dialog->list()->GetItemData(1);
    dialog->Activate();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(fixture.state()->active(), fresh);
    QCOMPARE(StoredActive(), uint32_t(fresh->id()));
  }

  void enterInTheListShowsDetailsInsteadOfActivating() {
    Fixture fixture;
    fixture.Installed("a");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
    dialog->list()->setFocus();
    QString caption;
    OnModal<CDictionaryDetailsDlg> details([&caption](QDialog* shown) {
      caption = shown->windowTitle();
      shown->reject();
    });
    QTest::keyClick(dialog->list(), Qt::Key_Return);
    QCOMPARE(caption, QStringLiteral("a Details"));
    QVERIFY(dialog->isVisible());
    QVERIFY(!dialog->committed());
    // Insert in the list installs.
    OnModal<QFileDialog> file([](QFileDialog* chooser) { chooser->reject(); });
    QTest::keyClick(dialog->list(), Qt::Key_Insert);
    QCOMPARE(file.seen(), 1);
    // Delete in the list asks before it uninstalls.
    testing::MessageBoxAnswerer answers({QMessageBox::No});
    QTest::keyClick(dialog->list(), Qt::Key_Delete);
    QCOMPARE(answers.texts().size(), 1);
    dialog->reject();
  }

  void detailsOfEachKind() {
    Fixture fixture;
    CDictionary* dic = fixture.Installed("Binary");
    CDictionary* text =
        fixture.state()->Install(fixture.Text("plain.txt", "one\ntwo\n"));
    CDictionaryDetailsDlg binary_details(*dic, nullptr);
    QCOMPARE(binary_details.windowTitle(), QStringLiteral("Binary Details"));
    QCOMPARE(LabelText(&binary_details, "name"),
             QStringLiteral("Binary\nVersion 1.00"));
    QCOMPARE(LabelText(&binary_details, "type"),
             QStringLiteral("Vocor File (2.01)"));
    QCOMPARE(LabelText(&binary_details, "words"), QStringLiteral("2 words"));
    QCOMPARE(LabelText(&binary_details, "language"), QStringLiteral("Unknown"));
    CDictionaryDetailsDlg text_details(*text, nullptr);
    QCOMPARE(LabelText(&text_details, "type"), QStringLiteral("Text File"));
    QCOMPARE(LabelText(&text_details, "name"), QStringLiteral("plain.txt"));
    QVERIFY(LabelText(&text_details, "filename").endsWith("/plain.txt"));
    CDictionarySet set;
    set.SetName("Empty");
    CDictionaryDetailsDlg set_details(set, nullptr);
    QCOMPARE(LabelText(&set_details, "type"), QStringLiteral("Unknown"));
    QCOMPARE(LabelText(&set_details, "filename"), QStringLiteral("<Unknown>"));
    QCOMPARE(LabelText(&set_details, "words"), QStringLiteral("0 words"));
  }

  // A set stored among the dictionaries shows a member's uninstall at
  // once, in its row and in its details.
  void aListedSetShowsTheUninstallOfAMember() {
    Fixture fixture;
    CDictionary* a =
        fixture.StoredSetOfTwo(fixture.state()->all_dictionaries()).first;
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    CDictionaryListCtrl* list = dialog->list();
    const auto both_row = [list] {
      for (int row = 0; row < list->topLevelItemCount(); ++row) {
        if (list->topLevelItem(row)->text(0) == "Both") {
          return list->topLevelItem(row);
        }
      }
      return static_cast<QTreeWidgetItem*>(nullptr);
    };
    QVERIFY(both_row() != nullptr);
    QCOMPARE(both_row()->text(1), QStringLiteral("4"));
    list->SelectItemData(a);
    {
      testing::MessageBoxAnswerer answers({QMessageBox::Yes});
      dialog->Uninstall();
    }
    QCOMPARE(both_row()->text(1), QStringLiteral("2"));
    QString words;
    OnModal<CDictionaryDetailsDlg> details([&words](QDialog* shown) {
      words = LabelText(shown, "words");
      shown->reject();
    });
    list->setCurrentItem(both_row());
    dialog->Details();
    QCOMPARE(words, QStringLiteral("2 words"));
    dialog->reject();
    // Cancel: the application's set is whole.
    auto* kept = dynamic_cast<CDictionarySet*>(
        fixture.state()->all_dictionaries()->members().items().back());
    QVERIFY(kept != nullptr);
    QCOMPARE(kept->GetWordCount(), 4);
  }

  // A dictionary whose file could not be opened when the lists were read
  // is listed as unavailable; it can be looked at and uninstalled, not
  // activated.
  void anUnavailableDictionaryCanOnlyBeUninstalled() {
    Fixture fixture;
    fixture.Installed("a");
    const std::string away = fixture.Text("away.txt", "owl\n");
    fixture.state()->Install(away);
    fixture.state()->Save();
    std::filesystem::rename(away, away + ".off");
    fixture.state()->LoadDictionaries();
    std::filesystem::rename(away + ".off", away);
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    QCOMPARE(fixture.Rows(), (Names{"a", "away.txt (unavailable)"}));
    QCOMPARE(dialog->list()->topLevelItem(1)->toolTip(0),
             QString::fromStdString(away));
    dialog->list()->SelectRow(1);
    QVERIFY(!ButtonOf(dialog, "activate")->isEnabled());
    QVERIFY(ButtonOf(dialog, "details")->isEnabled());
    QVERIFY(ButtonOf(dialog, "uninstall")->isEnabled());
    dialog->Activate();
    QVERIFY(!dialog->committed());
    QString type;
    OnModal<CDictionaryDetailsDlg> details([&type](QDialog* shown) {
      type = LabelText(shown, "type");
      shown->reject();
    });
    dialog->Details();
    QCOMPARE(type, QStringLiteral("Text File (unavailable)"));
    {
      testing::MessageBoxAnswerer answers({QMessageBox::Yes});
      dialog->Uninstall();
      QCOMPARE(answers.texts(),
               QStringList{"Are you sure you wish to remove 'away.txt "
                           "(unavailable)'?"});
    }
    dialog->accept();
    QCOMPARE(dialog->store_result(), ListsResult::kOk);
    DictionaryState stored;
    stored.LoadDictionaries();
    QCOMPARE(testing::MemberNames(*stored.all_dictionaries()), (Names{"a"}));
  }

  void longNotesScrollAboveTheCloseButton() {
    class NotedSet : public CDictionarySet {
     public:
      std::string GetNotes() const override {
        std::string notes;
        for (int i = 0; i < 200; ++i)
          notes += "line " + std::to_string(i) + "\n";
        return notes + "the end";
      }
    };
    NotedSet set;
    set.SetName("Noted");
    CDictionaryDetailsDlg details(set, nullptr);
    details.show();
    QVERIFY(QTest::qWaitForWindowExposed(&details));
    auto* area = details.findChild<QScrollArea*>(QStringLiteral("notesArea"));
    QVERIFY(area != nullptr);
    QVERIFY(LabelText(&details, "notes").endsWith("the end"));
    QVERIFY(area->verticalScrollBar()->maximum() > 0);
    QPushButton* close =
        details.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close);
    const QRect area_rect(area->mapTo(&details, QPoint(0, 0)), area->size());
    const QRect close_rect(close->mapTo(&details, QPoint(0, 0)), close->size());
    QVERIFY(area_rect.bottom() < close_rect.top());
    QVERIFY(close_rect.bottom() <= details.height());
    // Alt+T, then the keyboard scrolls the notes.
    QTest::keyClick(&details, Qt::Key_T, Qt::AltModifier);
    QCOMPARE(QApplication::focusWidget(), area);
    QTest::keyClick(area, Qt::Key_PageDown);
    QVERIFY(area->verticalScrollBar()->value() > 0);
  }

  // A path typed into the file name box, in another folder than the one
  // shown: the next Install opens in the typed file's folder.
  void installRemembersTheFolderOfTheChosenFile() {
    Fixture fixture;
    const std::string other = std::string(getenv("TMPDIR")) + "/elsewhere";
    std::filesystem::create_directories(other);
    const std::string typed = other + "/typed.txt";
    testing::WriteTextFile(typed, "owl\n");
    CConfigureDictionariesDlg* dialog = fixture.NewDialog();
    {
      OnModal<QFileDialog> chooser([&typed](QFileDialog* shown) {
        shown->setDirectory(QString::fromUtf8(getenv("TMPDIR")));
        auto* name =
            shown->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name != nullptr);
        name->setText(QString::fromStdString(typed));
        QMetaObject::invokeMethod(shown, "accept");
      });
      dialog->Install();
      QCOMPARE(chooser.seen(), 1);
    }
    QCOMPARE(fixture.Rows(), (Names{"typed.txt"}));
    QString opened_in;
    OnModal<QFileDialog> again([&opened_in](QFileDialog* shown) {
      opened_in = shown->directory().absolutePath();
      shown->reject();
    });
    dialog->Install();
    QCOMPARE(opened_in, QString::fromStdString(other));
    dialog->reject();
  }

  void theFrameCommandOpensTheDialogAndShowsTheNewActive() {
    Fixture fixture;
    fixture.Installed("a");
    BaseTextMetrics metrics;
    CMainFrame frame(fixture.state(), metrics, ComputeLayoutUnits(metrics));
    QAction* command = frame.action(kCmdConfigureDictionaries);
    QVERIFY(command->isEnabled());
    OnModal<CConfigureDictionariesDlg> activate(
        [](CConfigureDictionariesDlg* dialog) { dialog->Activate(); });
    command->trigger();
    QCOMPARE(activate.seen(), 1);
    QCOMPARE(frame.activeDictionaryText(), QStringLiteral("a"));
  }
};

}  // namespace
}  // namespace vocor

QTEST_MAIN(vocor::DictionaryDialogsTest)
#include "dictionary_dialogs_qtest.moc"
