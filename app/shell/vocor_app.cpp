#include "app/shell/vocor_app.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <clocale>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
#include "app/shell/window_placement_qt.h"
#include "dictionary/dictionary_state.h"
#include "dictionary/shipped_folders.h"
#include "settings/settings_store.h"

namespace vocor {

namespace {

constexpr char kResetArgument[] = "--reset-settings";

// Start-up questions come before the frame is shown, so they have no
// parent; each is answered Yes or No.
bool AskYesNo(const char* text, QMessageBox::StandardButton default_button) {
  return QMessageBox::question(nullptr, QString::fromUtf8(kAppTitle),
                               QString::fromUtf8(text),
                               QMessageBox::Yes | QMessageBox::No,
                               default_button) == QMessageBox::Yes;
}

bool ShiftAndControlHeld() {
  const Qt::KeyboardModifiers held = QGuiApplication::queryKeyboardModifiers();
  return held.testFlag(Qt::ShiftModifier) && held.testFlag(Qt::ControlModifier);
}

}  // namespace

CVocorApp::Options CVocorApp::OptionsFromArguments(
    const QStringList& arguments) {
  Options options;
  options.reset_settings =
      arguments.contains(QString::fromUtf8(kResetArgument));
  return options;
}

CVocorApp::CVocorApp(Options options)
    : options_(std::move(options)),
      state_(std::make_unique<DictionaryState>()) {}

CVocorApp::~CVocorApp() {
  if (running_) ExitInstance();
}

bool CVocorApp::InitInstance() {
  // The letter classification of text word lists follows the user's locale.
  std::setlocale(LC_ALL, "");
  if (options_.reset_settings) {
    AskToResetSettings(ResetRequest::kArgument);
  } else if (ShiftAndControlHeld()) {
    AskToResetSettings(ResetRequest::kShiftAndControl);
  }
  MeasureBaseFont();
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/vocor.svg")));
  frame_ = std::make_unique<CMainFrame>(state_.get(), metrics_, units_);
  if (!ReadVersionInfo(options_.version_resource)) {
    frame_.reset();
    return false;
  }
  LoadDictionaries();
  frame_->LoadBarState();
  if (!RestoreWindowPlacement(frame_.get(), kCurrentUser,
                              CMainFrame::kRegistryKey,
                              CMainFrame::kPositionValue)) {
    frame_->ApplyDefaultPlacement();
    frame_->show();
  }
  frame_->UpdateCommandStates();
  running_ = true;
  return true;
}

int CVocorApp::ExitInstance(int exit_code) {
  running_ = false;
  // The frame goes first: its view may still hold a search over the
  // dictionaries.
  frame_.reset();
  // Only a choice made in this window, and never over lists stored
  // elsewhere since (another window, vocor-cli).
  if (state_->loaded()) state_->SaveActiveIfChanged();
  state_.reset();
  CloseSettingsStore();
  return exit_code;
}

void CVocorApp::AskToResetSettings(ResetRequest request) {
  if (AskYesNo(ResetSettingsQuestion(request).c_str(), QMessageBox::No)) {
    DeleteRegTree(kCurrentUser, kProgramKey);
  }
}

void CVocorApp::MeasureBaseFont() {
  const QFontMetrics font_metrics(QApplication::font());
  metrics_.height = font_metrics.height();
  metrics_.ave_char_width = font_metrics.averageCharWidth();
  units_ = ComputeLayoutUnits(metrics_);
}

void CVocorApp::LoadDictionaries() {
  state_->LoadDictionaries();
  if (!state_->loaded()) {
    // The lists in memory are not the user's: say so once, do not offer
    // an installation that would overwrite them, and let the window store
    // nothing of this session over what could not be read.
    frame_->KeepStoredSettings();
    QMessageBox::warning(nullptr, QString::fromUtf8(kAppTitle),
                         QString::fromUtf8(kSettingsUnreadableMessage));
    return;
  }
  const std::string unopened =
      UnopenedDictionariesMessage(state_->unopened_files());
  if (!unopened.empty()) {
    QMessageBox::warning(nullptr, QString::fromUtf8(kAppTitle),
                         QString::fromStdString(unopened));
  }
  // Dictionaries that could not be opened are installed all the same: the
  // question is for a store with nothing installed.
  if (state_->all_dictionaries()->members().IsEmpty() &&
      AskYesNo(kNoDictionariesQuestion, QMessageBox::Yes)) {
    state_->InstallDataFolderDictionaries(DataFolder());
  }
}

std::string CVocorApp::DataFolder() const {
  if (!options_.data_folder.empty()) return options_.data_folder;
  return FindShippedFolder(ProgramFolder(), kDataFolderName);
}

}  // namespace vocor
