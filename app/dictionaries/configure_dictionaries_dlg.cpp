#include "app/dictionaries/configure_dictionaries_dlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "app/dictionaries/dictionary_details_dlg.h"
#include "app/dictionaries/dictionary_list_ctrl.h"
#include "app/dictionaries/dictionary_menu.h"
#include "app/dictionaries/dictionary_working_copy.h"
#include "app/shell/command_texts.h"
#include "dictionary/shipped_folders.h"

namespace vocor {

namespace {

// Remembered for the run of the program, never stored.
int s_install_filter_index = 1;
QString s_install_folder;

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

QString InstallFolder() {
  if (s_install_folder.isEmpty()) {
    const std::string program = ProgramFolder();
    s_install_folder = Utf8(InstallStartFolder(
        program, FindShippedFolder(program, kDataFolderName)));
  }
  return s_install_folder;
}

QPushButton* Button(const char* text, const char* name) {
  auto* button = new QPushButton(QString::fromUtf8(text));
  button->setObjectName(QLatin1String(name));
  return button;
}

}  // namespace

CConfigureDictionariesDlg::CConfigureDictionariesDlg(DictionaryState* state,
                                                     int ave_char_width,
                                                     QWidget* parent)
    : QDialog(parent),
      state_(state),
      work_(std::make_unique<DictionaryWorkingCopy>(state)) {
  setWindowTitle(QString::fromUtf8(kConfigureDictionariesTitle));
  CreateControls(ave_char_width);
  FillList();
  UpdateButtons();
}

CConfigureDictionariesDlg::~CConfigureDictionariesDlg() {
  // The rows point into the working copies: empty the list first.
  list_->clear();
}

int CConfigureDictionariesDlg::InstallFilterIndex() {
  return s_install_filter_index;
}

void CConfigureDictionariesDlg::CreateControls(int ave_char_width) {
  list_ = new CDictionaryListCtrl;
  list_->setObjectName(QStringLiteral("dictionaries"));
  // Enter in the list shows the details rather than pressing Activate.
  list_->set_wants_enter(true, [this] { Details(); });
  list_->SetupColumns(true, ave_char_width);
  auto* label = new QLabel(QStringLiteral("&Dictionaries:"));
  label->setBuddy(list_);
  QPushButton* install = Button("&Install", "install");
  details_ = Button("Detai&ls", "details");
  uninstall_ = Button("&Uninstall", "uninstall");
  activate_ = Button("&Activate", "activate");
  activate_->setDefault(true);
  QPushButton* ok = Button("OK", "ok");
  QPushButton* cancel = Button("Cancel", "cancel");
  auto* buttons = new QVBoxLayout;
  for (QPushButton* button : {install, details_, uninstall_, activate_}) {
    buttons->addWidget(button);
  }
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* grid = new QGridLayout(this);
  grid->addWidget(label, 0, 0);
  grid->addWidget(list_, 1, 0);
  grid->addLayout(buttons, 1, 1);
  grid->setColumnStretch(0, 1);

  connect(install, &QPushButton::clicked, this, [this] { Install(); });
  connect(details_, &QPushButton::clicked, this, [this] { Details(); });
  connect(uninstall_, &QPushButton::clicked, this, [this] { Uninstall(); });
  connect(activate_, &QPushButton::clicked, this, [this] { Activate(); });
  connect(ok, &QPushButton::clicked, this, &CConfigureDictionariesDlg::accept);
  connect(cancel, &QPushButton::clicked, this,
          &CConfigureDictionariesDlg::reject);
  connect(list_, &QTreeWidget::itemSelectionChanged, this,
          [this] { UpdateButtons(); });
  connect(list_, &QAbstractItemView::doubleClicked, this,
          [this] { Details(); });
  list_->installEventFilter(this);

  const QFontMetrics metrics = fontMetrics();
  // 250 by 189 dialog units.
  resize(250 * metrics.averageCharWidth() / 4, 189 * metrics.height() / 8);
}

// Insert and Delete act only while the list has the focus, as the list's
// own key notifications did.
bool CConfigureDictionariesDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Insert) {
      Install();
      return true;
    }
    if (key->modifiers() == Qt::NoModifier && key->key() == Qt::Key_Delete) {
      Uninstall();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void CConfigureDictionariesDlg::FillList() {
  list_->clear();
  list_->InsertItems(0, work_->dictionaries());
  // The active dictionary may be "All Dictionaries" or a set, which have
  // no row.
  if (list_->SelectItemData(work_->WorkingCopyOf(state_->active())) < 0) {
    list_->SelectRow(0);
  }
  list_->setFocus();
}

void CConfigureDictionariesDlg::UpdateButtons() {
  const CDictionary* selected = SelectedDictionary();
  details_->setEnabled(selected != nullptr);
  uninstall_->setEnabled(selected != nullptr);
  // A dictionary whose file could not be opened cannot be searched.
  activate_->setEnabled(selected != nullptr && !IsUnavailable(*selected));
}

CDictionary* CConfigureDictionariesDlg::SelectedDictionary() const {
  const int row = list_->SelectedRow();
  return row >= 0 ? list_->GetItemData(row) : nullptr;
}

std::optional<std::string> CConfigureDictionariesDlg::ChooseInstallFile() {
  QFileDialog dialog(this, QString::fromUtf8(kInstallDictionaryTitle),
                     InstallFolder());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(QStringLiteral("dic"));
  QStringList filters;
  for (const std::string& filter : InstallFilters()) filters << Utf8(filter);
  dialog.setNameFilters(filters);
  dialog.selectNameFilter(filters.value(s_install_filter_index - 1));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  const int chosen = filters.indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) s_install_filter_index = chosen + 1;
  // The chosen file's folder, which differs from the folder shown when
  // the user typed a path.
  const QString chosen_file = dialog.selectedFiles().first();
  s_install_folder = QFileInfo(chosen_file).absolutePath();
  return QFile::encodeName(chosen_file).toStdString();
}

void CConfigureDictionariesDlg::Install() {
  const std::optional<std::string> path = ChooseInstallFile();
  if (!path) return;
  CDictionary* dictionary = work_->Install(*path);
  if (dictionary == nullptr) {
    QMessageBox::warning(this, QString::fromUtf8(kAppTitle),
                         QString::fromUtf8(kDictionaryLoadFailed));
    return;
  }
  const int row = list_->InsertItem(list_->topLevelItemCount(), dictionary);
  list_->DeselectAll();
  list_->SelectRow(row);
  UpdateButtons();
}

void CConfigureDictionariesDlg::Details() {
  if (CDictionary* dictionary = SelectedDictionary()) {
    ShowDictionaryDetails(*dictionary, this);
  }
}

void CConfigureDictionariesDlg::Uninstall() {
  CDictionary* dictionary = SelectedDictionary();
  if (dictionary == nullptr) return;
  const QString question =
      Utf8(RemoveQuestion(DictionaryDisplayName(dictionary)));
  if (QMessageBox::question(this, QString::fromUtf8(kAppTitle), question,
                            QMessageBox::Yes | QMessageBox::No) !=
      QMessageBox::Yes) {
    return;
  }
  const int focused = list_->indexOfTopLevelItem(list_->currentItem());
  delete list_->takeTopLevelItem(list_->FindItemData(dictionary));
  list_->SelectNear(focused);
  // Last: it may destroy the dictionary, whose row is gone by now.
  work_->Uninstall(dictionary);
  // A set listed among the dictionaries may have lost a member.
  list_->RefreshCounts();
  UpdateButtons();
}

void CConfigureDictionariesDlg::Activate() {
  CDictionary* dictionary = SelectedDictionary();
  if (dictionary == nullptr || !work_->Activate(dictionary)) return;
  accept();
}

void CConfigureDictionariesDlg::accept() {
  if (!work_->modified()) {
    reject();
    return;
  }
  list_->clear();
  store_result_ = work_->Commit();
  committed_ = true;
  QDialog::accept();
}

void CConfigureDictionariesDlg::reject() {
  list_->clear();
  work_->Discard();
  QDialog::reject();
}

bool ShowConfigureDictionaries(DictionaryState* state, int ave_char_width,
                               QWidget* parent) {
  CConfigureDictionariesDlg dialog(state, ave_char_width, parent);
  dialog.exec();
  const std::string problem = ListsNotStoredMessage(dialog.store_result());
  if (!problem.empty()) {
    QMessageBox::warning(parent, QString::fromUtf8(kAppTitle), Utf8(problem));
  }
  return dialog.committed();
}

}  // namespace vocor
