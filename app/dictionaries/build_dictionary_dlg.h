// The Build Dictionary dialog: compiles word lists into a binary
// dictionary with the compiler vocor-mkdic uses, on a worker thread so
// that the window keeps answering, and offers to install the result.
//
// The worker touches nothing but its own copy of the request and the
// files named in it; the dialog polls its progress and may ask it to stop.
// Closing the dialog while it runs stops it and waits for it.
#ifndef VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_DLG_H_
#define VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_DLG_H_

#include <QDialog>
#include <QTimer>
#include <atomic>
#include <memory>

#include "compiler/dictionary_compiler.h"

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace vocor {

class CDictionary;
class DictionaryState;

class CBuildDictionaryDlg : public QDialog {
  Q_OBJECT

 public:
  // `state` is borrowed and must outlive the dialog; the result is
  // installed there.
  explicit CBuildDictionaryDlg(DictionaryState* state,
                               QWidget* parent = nullptr);
  ~CBuildDictionaryDlg() override;

  bool IsBuilding() const { return worker_ != nullptr; }

 public slots:
  // Checks the form and starts the compile; a form to correct is told in
  // a message box.
  void Build();
  void reject() override;

 signals:
  // A built dictionary was installed and the lists stored.
  void dictionaryInstalled(CDictionary* dictionary);
  // The compile ended, however; for tests and the benchmark.
  void buildFinished(int status);

 private:
  // Shared by the dialog and its worker thread.
  struct Job {
    CompileRequest request;
    std::atomic<int> permille{0};
    std::atomic<bool> cancel{false};
    CompileOutcome outcome;  // written by the worker before it ends
  };

  QWidget* CreateForm();
  QWidget* CreateInputs();
  QWidget* CreateOutput();
  void AddInputs();
  // Adds `path` to the word lists unless it is there; a spell checker's
  // file is labelled with what it is read as.
  void AddInput(const QString& path);
  void RemoveInputs();
  void BrowseOutput();
  // Whether the request's output may be written: refuses (telling why) a
  // file it reads or an installed dictionary's file, and asks before
  // replacing any other existing file.
  bool MayWrite(const CompileRequest& request);
  void SetBuilding(bool building);
  void ShowProgress();
  void Finish();
  void OfferInstall(const CompileOutcome& outcome, const std::string& path);
  void Install(const std::string& path);
  void StopWorker();

  DictionaryState* state_;
  QLineEdit* name_ = nullptr;
  QLineEdit* version_ = nullptr;
  QComboBox* language_ = nullptr;
  QPlainTextEdit* notes_ = nullptr;
  QCheckBox* fold_accents_ = nullptr;
  QCheckBox* skip_possessives_ = nullptr;
  QCheckBox* skip_abbreviations_ = nullptr;
  QCheckBox* skip_two_level_suffixes_ = nullptr;
  QCheckBox* skip_cross_products_ = nullptr;
  QListWidget* inputs_ = nullptr;
  QLineEdit* output_ = nullptr;
  QWidget* form_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* status_ = nullptr;
  QPushButton* build_ = nullptr;
  QPushButton* close_ = nullptr;
  QTimer poll_;
  std::shared_ptr<Job> job_;
  QThread* worker_ = nullptr;
};

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_DLG_H_
