// The Build Dictionary dialog over a DictionaryState of its own in a
// private home: a small list built and installed, a big one cancelled
// midway and the dialog closed while it builds, and every failure told
// with no file left behind.
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

#include "app/dictionaries/build_dictionary_dlg.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/vocor_file_check.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

namespace fs = std::filesystem;

std::string Slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Distinct words of letters only, "w" and the number in base 26.
std::string ManyWords(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += 'w';
    for (int n = i;; n /= 26) {
      text += static_cast<char>('a' + n % 26);
      if (n < 26) break;
    }
    text += '\n';
  }
  return text;
}

// The words of `dictionary`, sorted.
std::vector<std::string> WordsOf(const CDictionary* dictionary) {
  std::vector<std::string> words;
  EnumPtr all = dictionary->CreateEnumerator();
  while (const char* word = all->Next(nullptr)) words.emplace_back(word);
  std::sort(words.begin(), words.end());
  return words;
}

// A fresh folder under the test's TMPDIR.
class Folder {
 public:
  Folder() {
    std::string pattern = std::string(getenv("TMPDIR")) + "/build-XXXXXX";
    path_ = mkdtemp(pattern.data());
  }
  ~Folder() { fs::remove_all(path_); }
  std::string Write(const std::string& name, const std::string& text) const {
    testing::WriteTextFile(path_ + "/" + name, text);
    return path_ + "/" + name;
  }
  std::string operator/(const std::string& name) const {
    return path_ + "/" + name;
  }
  std::vector<std::string> Entries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(path_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::string path_;
};

// Writes a small spell checker's pair NAME.aff and NAME.dic: a suffix
// class, a prefix class combining with it, and two stems; returns the
// affix file.
std::string WriteSpellCheckerPair(const Folder& folder,
                                  const std::string& name) {
  folder.Write(name + ".dic", "2\nwalk/S\ntie/SU\n");
  return folder.Write(name + ".aff",
                      "SET UTF-8\n"
                      "SFX S Y 1\n"
                      "SFX S 0 s .\n"
                      "PFX U Y 1\n"
                      "PFX U 0 un .\n");
}

class Dialog {
 public:
  explicit Dialog(DictionaryState* state)
      : dialog_(std::make_unique<CBuildDictionaryDlg>(state)) {
    dialog_->show();
  }
  CBuildDictionaryDlg* get() { return dialog_.get(); }
  void Destroy() { dialog_.reset(); }
  template <typename T>
  T* Find(const char* name) {
    return dialog_->findChild<T*>(QString::fromUtf8(name));
  }
  void Fill(const std::vector<std::string>& inputs, const std::string& output) {
    for (const std::string& input : inputs) {
      Find<QListWidget>("inputs")->addItem(QString::fromStdString(input));
    }
    Find<QLineEdit>("output")->setText(QString::fromStdString(output));
  }
  // Chooses `path` with the Browse button's file dialog.
  void Browse(const std::string& path) {
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&chooser, path] {
      auto* files =
          qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (files == nullptr) return;
      chooser.stop();
      files->selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(files, "accept");
    });
    chooser.start(5);
    Find<QPushButton>("browseOutput")->click();
  }
  // Adds `path` with the Add button's file dialog, as a user picks it.
  void Add(const std::string& path) {
    QTimer chooser;
    QObject::connect(&chooser, &QTimer::timeout, [&chooser, path] {
      auto* files =
          qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (files == nullptr) return;
      chooser.stop();
      files->selectFile(QString::fromStdString(path));
      QMetaObject::invokeMethod(files, "accept");
    });
    chooser.start(5);
    Find<QPushButton>("addInputs")->click();
  }
  // Starts building a list too big to finish at once.
  void StartBigBuild(const Folder& folder) {
    Fill({folder.Write("big.txt", ManyWords(1500000))}, folder / "big.dic");
    dialog_->Build();
  }
  // Builds and waits for the end; returns the CompileStatus.
  int BuildToEnd() {
    QSignalSpy finished(dialog_.get(), &CBuildDictionaryDlg::buildFinished);
    dialog_->Build();
    if (!dialog_->IsBuilding()) return -1;
    if (!finished.wait(60000)) return -2;
    return finished.front().front().toInt();
  }

 private:
  std::unique_ptr<CBuildDictionaryDlg> dialog_;
};

}  // namespace

class BuildDictionaryTest : public QObject {
  Q_OBJECT

 private slots:
  // Each case starts with no store, as on a first run.
  void init() {
    CloseSettingsStore();
    home_ = std::make_unique<ScratchHome>();
  }
  void cleanup() {
    CloseSettingsStore();
    home_.reset();
  }

  void buildsASmallListAndInstallsIt() {
    Folder folder;
    DictionaryState state;
    const uint32_t generation = state.generation();
    const std::string list =
        folder.Write("list.txt", "Zebra apple zebra caf\xc3\xa9 12 it's\n");
    Dialog dialog(&state);
    dialog.Fill({list}, folder / "small.dic");
    dialog.Find<QLineEdit>("name")->setText(QStringLiteral("Small \u00e9"));
    dialog.Find<QLineEdit>("version")->setText(QStringLiteral("2.5"));
    QComboBox* language = dialog.Find<QComboBox>("language");
    language->setCurrentIndex(language->findData(2057u));
    QVERIFY(language->currentIndex() > 0);
    dialog.Find<QCheckBox>("foldAccents")->setChecked(true);
    dialog.Find<QCheckBox>("skipPossessives")->setChecked(true);
    QSignalSpy installed(dialog.get(),
                         &CBuildDictionaryDlg::dictionaryInstalled);
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QCOMPARE(answerer.texts().size(), 1);
    const QString report = answerer.texts().front();
    for (const char* part : {"Words read: 5", "Stored: 3", "Duplicates: 1",
                             "Skipped: 0", "Possessives left out: 1",
                             "Install it now?"}) {
      QVERIFY2(report.contains(QString::fromUtf8(part)), part);
    }
    VocorFileFacts facts;
    std::string error;
    QVERIFY(CheckVocorFile(Slurp(folder / "small.dic"), &facts, &error));
    QCOMPARE(facts.header.name, std::string("Small \xe9"));
    QCOMPARE(facts.header.dictionary_version, 250);
    QCOMPARE(facts.header.language, 2057u);
    QCOMPARE(facts.header.word_count, 3);
    QCOMPARE(installed.size(), 1);
    QCOMPARE(state.all_dictionaries()->members().GetCount(), 1);
    QVERIFY(state.generation() != generation);  // the lists were stored
    QCOMPARE(dialog.get()->result(), static_cast<int>(QDialog::Accepted));
  }

  // A scored list goes through the same compiler as any other: its scores
  // are never read as words, and the report names its bad score lines.
  void scoredListsNameTheirBadScoreLines() {
    Folder folder;
    DictionaryState state;
    const std::string list =
        folder.Write("scored.txt", "cat;70\ndog;abc\nemu\nyak;101\n");
    Dialog dialog(&state);
    dialog.Fill({list}, folder / "scored.dic");
    testing::MessageBoxAnswerer answerer({QMessageBox::No});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QCOMPARE(answerer.texts().size(), 1);
    const QString report = answerer.texts().front();
    for (const char* part :
         {"Words read: 2", "Stored: 2",
          "Lines skipped for a bad score (not a whole number from 1 to 100): "
          "2\n    scored.txt, line 2: dog;abc\n    scored.txt, line 4: "
          "yak;101\n"}) {
      QVERIFY2(report.contains(QString::fromUtf8(part)), qPrintable(report));
    }
    VocorFileFacts facts;
    std::string error;
    QVERIFY(CheckVocorFile(Slurp(folder / "scored.dic"), &facts, &error));
    QCOMPARE(facts.header.word_count, 2);
  }

  // Alt and a label's letter must land in the field that the label names,
  // also where the field shares its row with buttons.
  void everyLabelsMnemonicReachesItsField() {
    DictionaryState state;
    Dialog dialog(&state);
    dialog.get()->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    const auto labels = dialog.get()->findChildren<QLabel*>();
    int checked = 0;
    for (QLabel* label : labels) {
      const QString text = label->text();
      const qsizetype amp = text.indexOf(QLatin1Char('&'));
      if (amp < 0 || label->buddy() == nullptr) continue;
      const QChar letter = text.at(amp + 1).toUpper();
      QTest::keyClick(dialog.get(), static_cast<Qt::Key>(letter.unicode()),
                      Qt::AltModifier);
      QVERIFY2(label->buddy()->hasFocus(), qPrintable(text));
      ++checked;
    }
    QCOMPARE(checked, 6);
  }

  void declinedInstallKeepsTheFileOnly() {
    Folder folder;
    DictionaryState state;
    Dialog dialog(&state);
    dialog.Fill({folder.Write("list.txt", "one two\n")}, folder / "out.dic");
    testing::MessageBoxAnswerer answerer({QMessageBox::No});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QVERIFY(fs::exists(folder / "out.dic"));
    QVERIFY(state.all_dictionaries()->members().IsEmpty());
  }

  // The lists in memory are not the user's when the store could not be
  // read: installing would store them over the user's.
  void noInstallWhenTheListsWereNotRead() {
    Folder folder;
    DictionaryState state;
    QCOMPARE(state.Save(), ListsResult::kOk);  // the store exists
    QVERIFY(CloseSettingsStore());
    {
      StoreLock lock(StoreLock::Kind::kEverything);
      QVERIFY(lock.held());
      state.LoadDictionaries();
    }
    QVERIFY(!state.loaded());
    Dialog dialog(&state);
    dialog.Fill({folder.Write("list.txt", "one two\n")}, folder / "out.dic");
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QVERIFY(answerer.texts().front().contains(
        QStringLiteral("cannot be installed now")));
    QVERIFY(state.all_dictionaries()->members().IsEmpty());
  }

  // A dictionary installed in memory but not stored would vanish at the
  // next start and hide from other processes until then.
  void anInstallThatCannotBeStoredIsUndone() {
    Folder folder;
    DictionaryState state;
    QCOMPARE(state.Save(), ListsResult::kOk);
    StoreLock lock;
    QVERIFY(lock.held());
    Dialog dialog(&state);
    dialog.Fill({folder.Write("list.txt", "one two\n")}, folder / "out.dic");
    QSignalSpy installed(dialog.get(),
                         &CBuildDictionaryDlg::dictionaryInstalled);
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::Ok});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QTRY_COMPARE_WITH_TIMEOUT(answerer.texts().size(), 2, 20000);
    QVERIFY(
        answerer.texts()[1].contains(QStringLiteral("could not be stored")));
    QVERIFY(state.all_dictionaries()->members().IsEmpty());
    QVERIFY(installed.isEmpty());
    QVERIFY(fs::exists(folder / "out.dic"));
  }

  void cancellingMidwayLeavesNoFile() {
    Folder folder;
    DictionaryState state;
    Dialog dialog(&state);
    QSignalSpy finished(dialog.get(), &CBuildDictionaryDlg::buildFinished);
    dialog.StartBigBuild(folder);
    QVERIFY(dialog.get()->IsBuilding());
    QProgressBar* progress = dialog.Find<QProgressBar>("progress");
    QVERIFY(progress->isVisible());
    QTRY_VERIFY_WITH_TIMEOUT(progress->value() > 0, 30000);
    QPushButton* cancel = dialog.Find<QPushButton>("close");
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(!dialog.Find<QPushButton>("build")->isEnabled());
    cancel->click();
    QVERIFY(finished.wait(60000));
    QCOMPARE(finished.front().front().toInt(),
             static_cast<int>(CompileStatus::kCancelled));
    QCOMPARE(folder.Entries(), std::vector<std::string>{"big.txt"});
    // Still open, ready to build again.
    QVERIFY(dialog.get()->isVisible());
    QVERIFY(dialog.Find<QPushButton>("build")->isEnabled());
    QCOMPARE(cancel->text(), QStringLiteral("Close"));
  }

  void closingWhileBuildingStopsTheWorker() {
    Folder folder;
    DictionaryState state;
    Dialog dialog(&state);
    dialog.StartBigBuild(folder);
    QVERIFY(dialog.get()->IsBuilding());
    dialog.Destroy();
    QCOMPARE(folder.Entries(), std::vector<std::string>{"big.txt"});
  }

  // Writing over an input loses the list; over an installed list, the
  // installed dictionary. Typed or browsed, such outputs are refused.
  void outputsThatWouldDestroyAListAreRefused() {
    Folder folder;
    DictionaryState state;
    const std::string list = folder.Write("list.txt", "one two\n");
    const std::string installed = folder.Write("installed.txt", "three\n");
    QVERIFY(state.Install(installed) != nullptr);
    struct Case {
      std::string output;
      bool browsed;
      const char* message;
    };
    for (const Case& c : {Case{list, false, "one of the word lists"},
                          Case{installed, true, "an installed dictionary"}}) {
      Dialog dialog(&state);
      dialog.Fill({list}, c.browsed ? "" : c.output);
      if (c.browsed) {
        dialog.Browse(c.output);
        QCOMPARE(dialog.Find<QLineEdit>("output")->text().toStdString(),
                 c.output);
      }
      testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
      QCOMPARE(dialog.BuildToEnd(), -1);  // never started
      QCOMPARE(answerer.texts().size(), 1);
      QVERIFY2(answerer.texts().front().contains(QString::fromUtf8(c.message)),
               qPrintable(answerer.texts().front()));
      QVERIFY(dialog.get()->isVisible());  // to choose another file
    }
    QCOMPARE(Slurp(list), std::string("one two\n"));
    QCOMPARE(Slurp(installed), std::string("three\n"));
    QCOMPARE(state.all_dictionaries()->members().GetCount(), 1);
  }

  void anExistingFileIsReplacedOnlyWhenTheUserSaysSo() {
    Folder folder;
    DictionaryState state;
    const std::string list = folder.Write("list.txt", "one two\n");
    const std::string existing = folder.Write("old.dic", "someone's file");
    Dialog dialog(&state);
    dialog.Fill({list}, existing);
    {
      testing::MessageBoxAnswerer answerer({QMessageBox::No});
      QCOMPARE(dialog.BuildToEnd(), -1);
      QCOMPARE(answerer.texts().size(), 1);
      QVERIFY(answerer.texts().front().contains(QStringLiteral("Replace it?")));
      QCOMPARE(Slurp(existing), std::string("someone's file"));
    }
    // Yes replaces it; then the install offer is declined.
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes, QMessageBox::No});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    QCOMPARE(answerer.texts().size(), 2);
    QVERIFY(answerer.texts()[1].contains(QStringLiteral("Install it now?")));
    VocorFileFacts facts;
    std::string error;
    QVERIFY(CheckVocorFile(Slurp(existing), &facts, &error));
    QCOMPARE(facts.header.word_count, 2);
  }

  // A spell checker's pair, added by its affix file, is expanded into its
  // word forms: suffixes, prefixes and both together; the report tells
  // what the expansion did.
  void buildsFromASpellCheckersPair() {
    Folder folder;
    DictionaryState state;
    const std::string affixes = WriteSpellCheckerPair(folder, "en");
    Dialog dialog(&state);
    dialog.Add(affixes);
    QListWidget* inputs = dialog.Find<QListWidget>("inputs");
    QCOMPARE(inputs->count(), 1);
    QVERIFY2(inputs->item(0)->text().contains(
                 QStringLiteral("spell-checker dictionary with en.dic")),
             qPrintable(inputs->item(0)->text()));
    dialog.Add(folder / "en.dic");  // the same pair by its other file
    dialog.Find<QLineEdit>("output")->setText(
        QString::fromStdString(folder / "forms.dic"));
    QSignalSpy installed(dialog.get(),
                         &CBuildDictionaryDlg::dictionaryInstalled);
    testing::MessageBoxAnswerer answerer({QMessageBox::Yes});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kDone));
    const QString report = answerer.texts().front();
    for (const char* part : {"Stored: 6", "Spell-checker dictionaries:"}) {
      QVERIFY2(report.contains(QString::fromUtf8(part)), qPrintable(report));
    }
    QCOMPARE(installed.size(), 1);
    QCOMPARE(state.all_dictionaries()->members().GetCount(), 1);
    QCOMPARE(WordsOf(*state.all_dictionaries()->members().begin()),
             (std::vector<std::string>{"tie", "ties", "untie", "unties",
                                       "walk", "walks"}));
  }

  // The stem list is read like the word lists: never the output. A damaged
  // affix file is told with its line, and nothing is written.
  void aPairsFilesAreGuardedAndItsDamageTold() {
    Folder folder;
    DictionaryState state;
    const std::string affixes = WriteSpellCheckerPair(folder, "en");
    {
      Dialog dialog(&state);
      dialog.Fill({affixes}, folder / "en.dic");
      testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
      QCOMPARE(dialog.BuildToEnd(), -1);
      QVERIFY(answerer.texts().front().contains(
          QStringLiteral("one of the word lists")));
    }
    folder.Write("en.aff", "SET UTF-8\nSFX S Y 2\nSFX S 0 s .\n");
    Dialog dialog(&state);
    dialog.Fill({affixes}, folder / "out.dic");
    testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
    QCOMPARE(dialog.BuildToEnd(), static_cast<int>(CompileStatus::kMalformed));
    QTRY_COMPARE(answerer.texts().size(), 1);
    QVERIFY2(answerer.texts().front().contains(QStringLiteral("damaged")) &&
                 answerer.texts().front().contains(QStringLiteral("en.aff")),
             qPrintable(answerer.texts().front()));
    QCOMPARE(folder.Entries(), (std::vector<std::string>{"en.aff", "en.dic"}));
  }

  void failuresAreToldAndLeaveNoFile() {
    Folder folder;
    DictionaryState state;
    const std::string good = folder.Write("good.txt", "word\n");
    const std::string none = folder.Write("none.txt", "1 2 3\n");
    struct Case {
      std::vector<std::string> inputs;
      std::string output;
      const char* message;
    };
    const std::vector<Case> cases = {
        {{}, folder / "a.dic", "Add at least one word list"},
        {{good}, "", "Choose the dictionary file"},
        {{good, folder / "missing.txt"}, folder / "b.dic", "could not be read"},
        {{none}, folder / "c.dic", "no word that a dictionary can store"},
        {{good}, folder / "no/such/folder/d.dic", "could not be written"},
    };
    for (const Case& c : cases) {
      Dialog dialog(&state);
      dialog.Fill(c.inputs, c.output);
      testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
      dialog.BuildToEnd();
      QTRY_COMPARE(answerer.texts().size(), 1);
      QVERIFY2(answerer.texts().front().contains(QString::fromUtf8(c.message)),
               qPrintable(answerer.texts().front()));
      QCOMPARE(folder.Entries(),
               (std::vector<std::string>{"good.txt", "none.txt"}));
      QVERIFY(dialog.get()->isVisible());  // to correct the form
    }
    QVERIFY(state.all_dictionaries()->members().IsEmpty());
  }

 private:
  std::unique_ptr<ScratchHome> home_;
};

}  // namespace vocor

QTEST_MAIN(vocor::BuildDictionaryTest)
#include "build_dictionary_qtest.moc"
