// Start-up and shutdown of the window program against private settings
// stores: the first-run question, the stored active dictionary, the reset
// question, a store that cannot be read and a missing version block.
#include "app/shell/vocor_app.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/testing/install_elsewhere.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

constexpr char kActiveValue[] = "ActiveDictionary";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// A private home with a data folder holding two good dictionaries, one
// file that is no dictionary and a folder whose name ends in .dic.
class StartupFixture {
 public:
  StartupFixture() : data_(std::string(getenv("TMPDIR")) + "/Data") {
    CloseSettingsStore();  // the next call opens this home's store
    std::filesystem::create_directories(data_ + "/folder.dic");
    QVERIFY(testing::WriteDicFile(data_ + "/birds.dic", "Birds",
                                  {"crow", "wren", "robin"}));
    QVERIFY(
        testing::WriteDicFile(data_ + "/cats.dic", "Cats", {"lion", "puma"}));
    // A damaged binary dictionary: neither format.
    testing::WriteTextFile(data_ + "/junk.dic",
                           ReadFile(data_ + "/cats.dic").substr(0, 24));
  }
  ~StartupFixture() { CloseSettingsStore(); }

  std::unique_ptr<CVocorApp> Start(bool reset = false) {
    CVocorApp::Options options;
    options.data_folder = data_;
    options.reset_settings = reset;
    auto app = std::make_unique<CVocorApp>(options);
    started_ = app->InitInstance();
    return app;
  }
  bool started() const { return started_; }

  // Runs a whole first start that installs the data folder.
  void Install() {
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    Start()->ExitInstance();
  }

 private:
  ScratchHome home_;
  std::string data_;
  bool started_ = false;
};

QStringList MemberNames(const CDictionarySet* set) {
  QStringList names;
  for (const CDictionary* member : set->members()) {
    names.append(QString::fromUtf8(member->GetName()));
  }
  return names;
}

// The dictionary entries of the Dictionaries menu, rebuilt as when it
// opens: those after "Build Dictionary" and its separator.
QList<QAction*> DictionaryEntries(CMainFrame* frame) {
  QMenu* menu = frame->dictionariesMenu();
  emit menu->aboutToShow();
  const QList<QAction*> entries = menu->actions();
  return entries.mid(entries.indexOf(frame->action(kCmdBuildDictionary)) + 2);
}

// A whole session as the user ends it: the window closed, then shutdown.
void CloseAndExit(CVocorApp* app) {
  app->main_frame()->close();
  app->ExitInstance();
}

int StoredDictionaryCount() {
  DictionaryState stored;
  stored.LoadDictionaries();
  return stored.all_dictionaries()->members().GetCount();
}

}  // namespace

class VocorAppTest : public QObject {
  Q_OBJECT

 private slots:
  // Runs first: only the first dictionary objects of the process have the
  // ids a stored 0 names.
  void storedZeroSelectsAllDictionariesWithIdZero() {
    StartupFixture fixture;
    WriteRegDword(kCurrentUser, kSettingsKey, kActiveValue, 0);
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    auto app = fixture.Start();
    QVERIFY(fixture.started());
    QCOMPARE(app->state()->all_dictionaries()->id(), 0);
    QCOMPARE(app->state()->active(), app->state()->all_dictionaries());
  }

  void firstRunYesInstallsTheDataFolderOnce() {
    StartupFixture fixture;
    {
      testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
      auto app = fixture.Start();
      QVERIFY(fixture.started());
      QCOMPARE(answerer.texts(),
               QStringList{QString::fromUtf8(kNoDictionariesQuestion)});
      // The junk file and the folder are skipped without a word.
      QCOMPARE(MemberNames(app->state()->all_dictionaries()),
               (QStringList{"Birds", "Cats"}));
      QVERIFY(app->main_frame()->isVisible());
      app->ExitInstance();
    }
    QCOMPARE(StoredDictionaryCount(), 2);
    testing::MessageBoxAnswerer answerer;
    auto app = fixture.Start();
    QVERIFY(answerer.texts().isEmpty());
    QCOMPARE(app->state()->all_dictionaries()->members().GetCount(), 2);
  }

  void firstRunNoInstallsNothingAndAsksAgain() {
    StartupFixture fixture;
    for (int start = 0; start < 2; ++start) {
      testing::MessageBoxAnswerer answerer({QMessageBox::No});
      auto app = fixture.Start();
      QVERIFY(fixture.started());
      QCOMPARE(answerer.texts().size(), 1);
      QVERIFY(app->state()->all_dictionaries()->members().IsEmpty());
      QCOMPARE(app->state()->active(), app->state()->all_dictionaries());
    }
    QCOMPARE(StoredDictionaryCount(), 0);
  }

  void storedActiveId_data() {
    QTest::addColumn<int>("stored");  // -2: the id of "Cats"
    QTest::addColumn<QString>("active");
    QTest::newRow("installed dictionary") << -2 << "Cats";
    QTest::newRow("none (-1)") << -1 << "All Dictionaries";
    QTest::newRow("unknown id") << 424242 << "All Dictionaries";
  }
  void storedActiveId() {
    QFETCH(int, stored);
    QFETCH(QString, active);
    StartupFixture fixture;
    fixture.Install();
    if (stored == -2) {
      DictionaryState state;
      state.LoadDictionaries();
      stored = state.all_dictionaries()->members().items().back()->id();
    }
    WriteRegDword(kCurrentUser, kSettingsKey, kActiveValue,
                  static_cast<uint32_t>(stored));
    testing::MessageBoxAnswerer answerer;
    auto app = fixture.Start();
    QVERIFY(answerer.texts().isEmpty());
    QCOMPARE(QString::fromUtf8(app->state()->active()->GetName()), active);
    QCOMPARE(app->main_frame()->activeDictionaryText(), active);
  }

  void exitStoresTheActiveDictionary() {
    StartupFixture fixture;
    fixture.Install();
    int cats_id = -1;
    {
      auto app = fixture.Start();
      CDictionary* cats =
          app->state()->all_dictionaries()->members().items().back();
      cats_id = cats->id();
      app->state()->SetActive(cats);
    }  // the destructor runs ExitInstance
    uint32_t stored = 0;
    QVERIFY(ReadRegDword(kCurrentUser, kSettingsKey, kActiveValue, &stored));
    QCOMPARE(static_cast<int>(stored), cats_id);
  }

  // A session that only looked must not undo an activation made
  // elsewhere meanwhile (vocor-cli, another window); one that changed the
  // active dictionary must not store it over lists stored elsewhere since.
  void exitKeepsAnActivationMadeElsewhere() {
    StartupFixture fixture;
    fixture.Install();
    const auto activate_elsewhere = [](CVocorApp* app, const char* name) {
      return testing::ChangeInAnotherProcess(
          [name](DictionaryState* other) {
            for (CDictionary* d : other->all_dictionaries()->members()) {
              if (std::string(d->GetName()) == name) return other->SetActive(d);
            }
            return false;
          },
          // The window's objects hold the stored ids; another program's
          // would not.
          [app] {
            app->state()->all_sets()->DeleteAll();
            app->state()->all_dictionaries()->DeleteAll();
          });
    };
    const auto stored_active = [] {
      DictionaryState stored;
      stored.LoadDictionaries();
      return QString::fromUtf8(stored.active()->GetName());
    };
    {
      auto app = fixture.Start();
      QVERIFY(activate_elsewhere(app.get(), "Cats"));
      CloseAndExit(app.get());
    }
    QCOMPARE(stored_active(), QStringLiteral("Cats"));
    {
      auto app = fixture.Start();
      app->state()->SetActive(
          app->state()->all_dictionaries()->members().items().front());
      QVERIFY(activate_elsewhere(app.get(), "Cats"));
      CloseAndExit(app.get());
    }
    QCOMPARE(stored_active(), QStringLiteral("Cats"));
  }

  // The dictionary's folder is away (renamed, a drive not mounted) for
  // one start: the user is told which file, is not offered the first-run
  // installation, and the dictionary is there again once its folder is.
  void aDictionaryWhoseFileIsAwayIsReportedAndKept() {
    StartupFixture fixture;
    const std::string usb = std::string(getenv("TMPDIR")) + "/usb";
    std::filesystem::create_directories(usb);
    const std::string mine = usb + "/mywords.txt";
    testing::WriteTextFile(mine, "owl\nemu\n");
    {
      DictionaryState state;
      state.LoadDictionaries();
      QVERIFY(state.Install(mine) != nullptr);
      QCOMPARE(state.Save(), ListsResult::kOk);
    }
    std::filesystem::rename(usb, usb + ".off");
    {
      testing::MessageBoxAnswerer answerer({QMessageBox::Ok, QMessageBox::Yes});
      auto app = fixture.Start();
      QVERIFY(fixture.started());
      QCOMPARE(answerer.texts(), QStringList{QString::fromStdString(
                                     UnopenedDictionariesMessage({mine}))});
      QCOMPARE(app->state()->all_dictionaries()->members().GetCount(), 1);
      // "All Dictionaries" alone: the menu does not offer it.
      QCOMPARE(DictionaryEntries(app->main_frame()).size(), 1);
      CloseAndExit(app.get());
    }
    std::filesystem::rename(usb + ".off", usb);
    testing::MessageBoxAnswerer answerer;
    auto app = fixture.Start();
    QVERIFY(answerer.texts().isEmpty());
    QCOMPARE(MemberNames(app->state()->all_dictionaries()),
             QStringList{"mywords.txt"});
    QCOMPARE(app->state()->all_dictionaries()->GetWordCount(), 2);
  }

  // Another process held the whole store while the lists were read. The
  // lists in memory are then not the user's: the user hears so once, is
  // not offered the first-run installation, and neither the session nor
  // its shutdown stores anything, although the store is free again by
  // then and would take every write.
  void unreadableSettingsAreLeftAsStored() {
    StartupFixture fixture;
    fixture.Install();
    {
      auto app = fixture.Start();
      app->state()->SetActive(
          app->state()->all_dictionaries()->members().items().back());
      CloseAndExit(app.get());
    }
    QVERIFY(CloseSettingsStore());
    const std::string path = SettingsStorePath();
    const std::string stored_bytes = ReadFile(path);
    const std::string stored = DumpStore();
    QVERIFY(stored.find(kActiveValue) != std::string::npos);

    auto lock = std::make_unique<StoreLock>(StoreLock::Kind::kEverything);
    QVERIFY(lock->held());
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    answerer.OnEachBox([&](QMessageBox*) { lock->Release(); });
    auto app = fixture.Start();
    QVERIFY(fixture.started());
    QCOMPARE(answerer.texts(),
             QStringList{QString::fromUtf8(kSettingsUnreadableMessage)});
    QVERIFY(!app->state()->loaded());

    // What the user can change in the session: the dictionary, the bars,
    // the window's size.
    CMainFrame* frame = app->main_frame();
    const QList<QAction*> entries = DictionaryEntries(frame);
    QVERIFY(!entries.isEmpty());
    entries.back()->trigger();
    frame->action(kCmdViewStatusBar)->trigger();
    frame->resize(frame->size() + QSize(37, 23));
    CloseAndExit(app.get());
    QCOMPARE(answerer.texts().size(), 1);
    QVERIFY(CloseSettingsStore());
    QCOMPARE(DumpStore(), stored);
    QVERIFY(ReadFile(path) == stored_bytes);
  }

  void resetQuestion_data() {
    QTest::addColumn<bool>("yes");
    QTest::newRow("yes deletes the program key") << true;
    QTest::newRow("no keeps every setting") << false;
  }
  void resetQuestion() {
    QFETCH(bool, yes);
    StartupFixture fixture;
    fixture.Install();
    WriteRegString(kCurrentUser, CMainFrame::kRegistryKey, "Font", "x");
    testing::MessageBoxAnswerer answerer(
        {yes ? QMessageBox::Yes : QMessageBox::No, QMessageBox::No});
    auto app = fixture.Start(/*reset=*/true);
    QVERIFY(fixture.started());
    // Asked by the argument, the question says so and does not speak of
    // keys held.
    const QString question = answerer.texts().value(0);
    QCOMPARE(question, QString::fromStdString(
                           ResetSettingsQuestion(ResetRequest::kArgument)));
    QVERIFY(question.contains(QStringLiteral("--reset-settings")));
    QVERIFY(!question.contains(QStringLiteral("Shift"), Qt::CaseInsensitive));
    // After a reset the program starts as on its first run.
    QCOMPARE(answerer.texts().size(), yes ? 2 : 1);
    QCOMPARE(app->state()->all_dictionaries()->members().GetCount(),
             yes ? 0 : 2);
    std::string font;
    QCOMPARE(
        ReadRegString(kCurrentUser, CMainFrame::kRegistryKey, "Font", &font),
        !yes);
  }

  void resetQuestionDefaultsToNo() {
    StartupFixture fixture;
    fixture.Install();
    QMessageBox::StandardButton default_button = QMessageBox::NoButton;
    QTimer::singleShot(0, [&] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      QVERIFY(box != nullptr);
      default_button = box->standardButton(box->defaultButton());
      box->defaultButton()->click();
    });
    auto app = fixture.Start(/*reset=*/true);
    QCOMPARE(default_button, QMessageBox::No);
    QCOMPARE(app->state()->all_dictionaries()->members().GetCount(), 2);
  }

  void missingVersionBlockEndsSilently() {
    StartupFixture fixture;
    testing::MessageBoxAnswerer answerer;
    CVocorApp::Options options;
    options.version_resource = ":/version/missing.txt";
    CVocorApp app(options);
    QVERIFY(!app.InitInstance());
    QVERIFY(app.main_frame() == nullptr);
    QVERIFY(answerer.texts().isEmpty());
    // Nothing was installed or stored on the way out.
    QCOMPARE(StoredDictionaryCount(), 0);
  }

  void optionsFromArguments() {
    QVERIFY(CVocorApp::OptionsFromArguments({"vocor", "--reset-settings"})
                .reset_settings);
    QVERIFY(!CVocorApp::OptionsFromArguments({"vocor"}).reset_settings);
  }
};

}  // namespace vocor

QTEST_MAIN(vocor::VocorAppTest)
#include "vocor_app_test.moc"
