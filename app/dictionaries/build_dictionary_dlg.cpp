#include "app/dictionaries/build_dictionary_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>
#include <filesystem>

#include "app/dictionaries/build_dictionary_form.h"
#include "app/dictionaries/build_inputs.h"
#include "dictionary/dictionary_state.h"

namespace vocor {
namespace {

const char kCaption[] = "Build Dictionary";
// A spell checker's dictionary is added by either of its files.
const char kWordListFilter[] =
    "Word Lists and Spell-Checker Dictionaries (*.txt *.lst *.dic *.wordlist "
    "*.aff);;Spell-Checker Dictionaries (*.aff);;All Files (*)";
// The path of an entry of the word lists, beside its label.
constexpr int kPathRole = Qt::UserRole;
const char kDictionaryFilter[] = "Vocor Dictionaries (*.dic)";
constexpr int kPollMilliseconds = 50;

// A row whose field is a box of several widgets: the label's mnemonic
// must focus `focused`, since a label focuses only a buddy that itself
// takes focus.
void AddRowFocusing(QFormLayout* layout, const char* label, QWidget* field,
                    QWidget* focused) {
  layout->addRow(QString::fromUtf8(label), field);
  static_cast<QLabel*>(layout->labelForField(field))->setBuddy(focused);
}

QString FromUtf8(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

QPushButton* NewButton(const char* text, const char* object_name,
                       QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(object_name));
  button->setAutoDefault(false);
  return button;
}

}  // namespace

CBuildDictionaryDlg::CBuildDictionaryDlg(DictionaryState* state,
                                         QWidget* parent)
    : QDialog(parent), state_(state) {
  setWindowTitle(QString::fromUtf8(kCaption));
  auto* layout = new QVBoxLayout(this);
  form_ = CreateForm();
  layout->addWidget(form_);
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("progress"));
  progress_->setRange(0, 1000);
  progress_->setTextVisible(false);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("status"));
  layout->addWidget(progress_);
  layout->addWidget(status_);
  auto* buttons = new QDialogButtonBox(this);
  build_ = NewButton("&Build", "build", this);
  build_->setDefault(true);
  close_ = NewButton("Close", "close", this);
  buttons->addButton(build_, QDialogButtonBox::ActionRole);
  buttons->addButton(close_, QDialogButtonBox::RejectRole);
  layout->addWidget(buttons);
  connect(build_, &QPushButton::clicked, this, &CBuildDictionaryDlg::Build);
  connect(close_, &QPushButton::clicked, this, &CBuildDictionaryDlg::reject);
  poll_.setInterval(kPollMilliseconds);
  connect(&poll_, &QTimer::timeout, this, &CBuildDictionaryDlg::ShowProgress);
  SetBuilding(false);
}

CBuildDictionaryDlg::~CBuildDictionaryDlg() { StopWorker(); }

QWidget* CBuildDictionaryDlg::CreateForm() {
  auto* form = new QWidget(this);
  auto* layout = new QFormLayout(form);
  layout->setContentsMargins(0, 0, 0, 0);
  name_ = new QLineEdit(form);
  name_->setObjectName(QStringLiteral("name"));
  name_->setPlaceholderText(QStringLiteral("The output file's name"));
  version_ = new QLineEdit(QStringLiteral("1.00"), form);
  version_->setObjectName(QStringLiteral("version"));
  language_ = new QComboBox(form);
  language_->setObjectName(QStringLiteral("language"));
  for (const LanguageChoice& choice : LanguageChoices()) {
    language_->addItem(FromUtf8(choice.name), choice.lcid);
  }
  notes_ = new QPlainTextEdit(form);
  notes_->setObjectName(QStringLiteral("notes"));
  notes_->setTabChangesFocus(true);
  fold_accents_ = new QCheckBox(
      QStringLiteral("Spell &accented letters in ASCII (caf\u00e9 as cafe)"),
      form);
  fold_accents_->setObjectName(QStringLiteral("foldAccents"));
  skip_possessives_ =
      new QCheckBox(QStringLiteral("Leave out &possessives (cat's)"), form);
  skip_possessives_->setObjectName(QStringLiteral("skipPossessives"));
  skip_abbreviations_ = new QCheckBox(
      QStringLiteral("Leave out abbrevia&tions in capitals (NASA)"), form);
  skip_abbreviations_->setObjectName(QStringLiteral("skipAbbreviations"));
  skip_two_level_suffixes_ = new QCheckBox(
      QStringLiteral("Leave out forms with two suffi&xes (spell-checker "
                     "dictionaries too large otherwise)"),
      form);
  skip_two_level_suffixes_->setObjectName(
      QStringLiteral("skipTwoLevelSuffixes"));
  skip_cross_products_ = new QCheckBox(
      QStringLiteral("Leave out forms with both a pre&fix and a suffix "
                     "(Italian dell')"),
      form);
  skip_cross_products_->setObjectName(QStringLiteral("skipCrossProducts"));
  layout->addRow(QStringLiteral("&Name:"), name_);
  layout->addRow(QStringLiteral("&Version:"), version_);
  layout->addRow(QStringLiteral("&Language:"), language_);
  layout->addRow(QStringLiteral("N&otes:"), notes_);
  layout->addRow(fold_accents_);
  layout->addRow(skip_possessives_);
  layout->addRow(skip_abbreviations_);
  layout->addRow(skip_two_level_suffixes_);
  layout->addRow(skip_cross_products_);
  // Each box is made before its field is named: the field is one of its
  // widgets.
  QWidget* inputs = CreateInputs();
  AddRowFocusing(layout, "&Word lists:", inputs, inputs_);
  QWidget* output = CreateOutput();
  AddRowFocusing(layout, "O&utput file:", output, output_);
  return form;
}

QWidget* CBuildDictionaryDlg::CreateInputs() {
  auto* box = new QWidget(this);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  inputs_ = new QListWidget(box);
  inputs_->setObjectName(QStringLiteral("inputs"));
  inputs_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  auto* buttons = new QVBoxLayout;
  QPushButton* add = NewButton("A&dd...", "addInputs", box);
  QPushButton* remove = NewButton("&Remove", "removeInputs", box);
  buttons->addWidget(add);
  buttons->addWidget(remove);
  buttons->addStretch();
  layout->addWidget(inputs_, 1);
  layout->addLayout(buttons);
  connect(add, &QPushButton::clicked, this, &CBuildDictionaryDlg::AddInputs);
  connect(remove, &QPushButton::clicked, this,
          &CBuildDictionaryDlg::RemoveInputs);
  return box;
}

QWidget* CBuildDictionaryDlg::CreateOutput() {
  auto* box = new QWidget(this);
  auto* layout = new QHBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);
  output_ = new QLineEdit(box);
  output_->setObjectName(QStringLiteral("output"));
  QPushButton* browse = NewButton("Brow&se...", "browseOutput", box);
  layout->addWidget(output_, 1);
  layout->addWidget(browse);
  connect(browse, &QPushButton::clicked, this,
          &CBuildDictionaryDlg::BrowseOutput);
  return box;
}

void CBuildDictionaryDlg::AddInputs() {
  const QStringList files = QFileDialog::getOpenFileNames(
      this, QStringLiteral("Add Word Lists"), QString(),
      QString::fromUtf8(kWordListFilter), nullptr,
      QFileDialog::DontUseNativeDialog);
  for (const QString& file : files) AddInput(file);
}

void CBuildDictionaryDlg::AddInput(const QString& path) {
  for (int row = 0; row < inputs_->count(); ++row) {
    if (inputs_->item(row)->data(kPathRole).toString() == path) return;
  }
  const QString label = FromUtf8(InputLabel(ToUtf8(path)));
  auto* item = new QListWidgetItem(label);
  item->setToolTip(label);  // a long path is cut in the list
  item->setData(kPathRole, path);
  inputs_->addItem(item);
}

void CBuildDictionaryDlg::RemoveInputs() {
  qDeleteAll(inputs_->selectedItems());
}

void CBuildDictionaryDlg::BrowseOutput() {
  QFileDialog dialog(this, QStringLiteral("Dictionary File"), output_->text(),
                     QString::fromUtf8(kDictionaryFilter));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(QStringLiteral("dic"));
  // Build asks before it replaces a file, whether browsed or typed.
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
    output_->setText(dialog.selectedFiles().first());
  }
}

void CBuildDictionaryDlg::Build() {
  if (IsBuilding()) return;
  BuildForm form;
  form.name = ToUtf8(name_->text().trimmed());
  form.version = ToUtf8(version_->text().trimmed());
  form.language = language_->currentData().toUInt();
  form.notes = ToUtf8(notes_->toPlainText());
  form.fold_accents = fold_accents_->isChecked();
  form.skip_possessives = skip_possessives_->isChecked();
  form.skip_abbreviations = skip_abbreviations_->isChecked();
  form.skip_two_level_suffixes = skip_two_level_suffixes_->isChecked();
  form.skip_cross_products = skip_cross_products_->isChecked();
  for (int row = 0; row < inputs_->count(); ++row) {
    // An entry added without a path of its own is its text.
    const QListWidgetItem* item = inputs_->item(row);
    const QVariant path = item->data(kPathRole);
    form.inputs.push_back(
        ToUtf8(path.isValid() ? path.toString() : item->text()));
  }
  // Installed dictionaries are found again by their full path.
  const QString output = output_->text().trimmed();
  if (!output.isEmpty())
    form.output = ToUtf8(QFileInfo(output).absoluteFilePath());
  auto job = std::make_shared<Job>();
  std::string error;
  if (!MakeCompileRequest(form, &job->request, &error) ||
      !MayWrite(job->request)) {
    if (!error.empty()) {
      QMessageBox::warning(this, QString::fromUtf8(kCaption), FromUtf8(error));
    }
    return;
  }
  job_ = job;
  worker_ = QThread::create([job] {
    Job* shared = job.get();
    shared->outcome = CompileDictionary(shared->request, [shared](int at) {
      shared->permille.store(at, std::memory_order_relaxed);
      return !shared->cancel.load(std::memory_order_relaxed);
    });
  });
  connect(worker_, &QThread::finished, this, &CBuildDictionaryDlg::Finish);
  SetBuilding(true);
  worker_->start();
}

bool CBuildDictionaryDlg::MayWrite(const CompileRequest& request) {
  const std::string refusal = OutputRefusal(request.output, FilesRead(request),
                                            InstalledDictionaryFiles(*state_));
  if (!refusal.empty()) {
    QMessageBox::warning(this, QString::fromUtf8(kCaption), FromUtf8(refusal));
    return false;
  }
  std::error_code ignored;
  if (!std::filesystem::is_regular_file(request.output, ignored)) return true;
  return QMessageBox::question(this, QString::fromUtf8(kCaption),
                               FromUtf8(ReplaceOutputQuestion(request.output)),
                               QMessageBox::Yes | QMessageBox::No,
                               QMessageBox::No) == QMessageBox::Yes;
}

void CBuildDictionaryDlg::SetBuilding(bool building) {
  form_->setEnabled(!building);
  build_->setEnabled(!building);
  close_->setEnabled(true);
  close_->setText(building ? QStringLiteral("Cancel")
                           : QStringLiteral("Close"));
  progress_->setVisible(building);
  progress_->setValue(0);
  if (building) {
    status_->setText(QStringLiteral("Building the dictionary..."));
    poll_.start();
  } else {
    poll_.stop();
  }
}

void CBuildDictionaryDlg::ShowProgress() {
  if (job_ != nullptr) progress_->setValue(job_->permille.load());
}

void CBuildDictionaryDlg::reject() {
  if (!IsBuilding()) {
    QDialog::reject();
    return;
  }
  // The worker stops at its next report; the dialog stays open, so that
  // the form can be changed and built again.
  job_->cancel = true;
  close_->setEnabled(false);
  status_->setText(QStringLiteral("Cancelling..."));
}

void CBuildDictionaryDlg::Finish() {
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
  const std::shared_ptr<Job> job = std::move(job_);
  SetBuilding(false);
  status_->clear();
  const CompileOutcome& outcome = job->outcome;
  emit buildFinished(static_cast<int>(outcome.status));
  switch (outcome.status) {
    case CompileStatus::kCancelled:
      status_->setText(QStringLiteral("Cancelled; no file was written."));
      return;
    case CompileStatus::kDone:
      OfferInstall(outcome, job->request.output);
      accept();
      return;
    default:
      QMessageBox::warning(this, QString::fromUtf8(kCaption),
                           FromUtf8(BuildFailureText(outcome)));
  }
}

void CBuildDictionaryDlg::OfferInstall(const CompileOutcome& outcome,
                                       const std::string& path) {
  const QString done = FromUtf8(BuildDoneText(outcome.counts, path));
  // Installing stores the lists; lists that were never read whole would
  // overwrite the user's.
  if (!state_->loaded()) {
    QMessageBox::information(
        this, QString::fromUtf8(kCaption),
        done + QStringLiteral("\n\nThe installed dictionaries could not be "
                              "read, so it cannot be installed now."));
    return;
  }
  if (QMessageBox::question(this, QString::fromUtf8(kCaption),
                            done + QStringLiteral("\n\nInstall it now?")) ==
      QMessageBox::Yes) {
    Install(path);
  }
}

void CBuildDictionaryDlg::Install(const std::string& path) {
  CDictionary* dictionary = state_->Install(path);
  if (dictionary == nullptr) {
    QMessageBox::warning(this, QString::fromUtf8(kCaption),
                         QStringLiteral("The dictionary was built but could "
                                        "not be opened to install it."));
    return;
  }
  if (state_->Save() != ListsResult::kOk) {
    // What is installed in memory must match what is stored.
    state_->Uninstall(dictionary);
    QMessageBox::warning(
        this, QString::fromUtf8(kCaption),
        QStringLiteral("The dictionary was built, but the list of installed "
                       "dictionaries could not be stored, so it was not "
                       "installed. Install it later with Configure "
                       "Dictionaries."));
    return;
  }
  emit dictionaryInstalled(dictionary);
}

void CBuildDictionaryDlg::StopWorker() {
  if (worker_ == nullptr) return;
  disconnect(worker_, nullptr, this, nullptr);
  job_->cancel = true;
  worker_->wait();
  delete worker_;
  worker_ = nullptr;
}

}  // namespace vocor
