// Configure Dictionaries: the installed dictionaries, with Install,
// Details, Uninstall and Activate. Every change is made on working copies
// (DictionaryWorkingCopy); OK hands them to the application and stores
// them, Cancel leaves the application's lists and the store untouched.
#ifndef VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_DLG_H_
#define VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_DLG_H_

#include <QDialog>
#include <memory>
#include <optional>
#include <string>

#include "dictionary/dictionary_state.h"

class QPushButton;

namespace vocor {

class CDictionary;
class CDictionaryListCtrl;
class DictionaryWorkingCopy;

class CConfigureDictionariesDlg : public QDialog {
  Q_OBJECT

 public:
  // `state` is borrowed and must outlive the dialog; no search may run
  // while it is open, since OK destroys uninstalled dictionaries.
  CConfigureDictionariesDlg(DictionaryState* state, int ave_char_width,
                            QWidget* parent);
  ~CConfigureDictionariesDlg() override;

  // The commands of the buttons and keys.
  void Install();
  void Details();
  void Uninstall();
  void Activate();
  // OK: without a change the same as Cancel; else hands the working
  // copies over and stores them.
  void accept() override;
  // Cancel and Esc.
  void reject() override;

  // What OK's store reported; kOk when nothing was stored.
  ListsResult store_result() const { return store_result_; }
  // Whether OK handed changed lists to the application.
  bool committed() const { return committed_; }
  CDictionaryListCtrl* list() const { return list_; }

  // The Install file dialog's filter last chosen in this run, counting
  // from 1 (InstallFilters()).
  static int InstallFilterIndex();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls(int ave_char_width);
  void FillList();
  void UpdateButtons();
  CDictionary* SelectedDictionary() const;
  // Null when the user cancels the file dialog.
  std::optional<std::string> ChooseInstallFile();

  DictionaryState* state_;
  std::unique_ptr<DictionaryWorkingCopy> work_;
  CDictionaryListCtrl* list_ = nullptr;
  QPushButton* activate_ = nullptr;
  QPushButton* details_ = nullptr;
  QPushButton* uninstall_ = nullptr;
  ListsResult store_result_ = ListsResult::kOk;
  bool committed_ = false;
};

// Runs the dialog modally and, when OK could not store the lists, tells
// the user why. Returns whether the application's lists changed.
bool ShowConfigureDictionaries(DictionaryState* state, int ave_char_width,
                               QWidget* parent);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_CONFIGURE_DICTIONARIES_DLG_H_
