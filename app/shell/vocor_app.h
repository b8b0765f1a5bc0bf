// The application object: start-up and shutdown of the window program. It
// owns the installed dictionaries (DictionaryState) and the main frame, and
// runs the start-up sequence in its fixed order: locale, optional reset of
// all settings, base metrics, frame, version block, dictionaries, first-run
// installation, placement, show.
//
// Needs a QApplication that outlives it. Construct it before any other
// dictionary object of the process, so that "All Dictionaries" gets id 0
// and a stored active id of 0 finds it again.
#ifndef VOCOR_APP_SHELL_VOCOR_APP_H_
#define VOCOR_APP_SHELL_VOCOR_APP_H_

#include <QStringList>
#include <memory>
#include <string>

#include "app/search/layout.h"
#include "app/shell/version_info.h"

namespace vocor {

class CMainFrame;
class DictionaryState;
enum class ResetRequest;

class CVocorApp {
 public:
  struct Options {
    // The folder whose "*.dic" files the first-run question offers; empty:
    // the shipped "Data" folder, beside the program or installed.
    std::string data_folder;
    // Ask the reset question whatever keys are held: a launcher cannot
    // hold Shift and Control for the user.
    bool reset_settings = false;
    // The version block to read; a test names a missing one.
    const char* version_resource = kVersionResource;
  };

  // The options the program's arguments ask for ("--reset-settings").
  static Options OptionsFromArguments(const QStringList& arguments);

  explicit CVocorApp(Options options);
  // Runs ExitInstance when InitInstance succeeded and it has not run yet.
  ~CVocorApp();
  CVocorApp(const CVocorApp&) = delete;
  CVocorApp& operator=(const CVocorApp&) = delete;

  // The start-up sequence. False ends the program at once with status 1
  // and without a message (no version block); the frame is gone then.
  bool InitInstance();
  // Stores the active dictionary if it changed in this session (and no
  // other program stored the lists since), destroys the frame and the
  // dictionaries and closes the settings store. Returns `exit_code`.
  int ExitInstance(int exit_code = 0);

  // Both valid from construction to ExitInstance; the frame only after a
  // successful InitInstance.
  DictionaryState* state() const { return state_.get(); }
  CMainFrame* main_frame() const { return frame_.get(); }
  const BaseTextMetrics& metrics() const { return metrics_; }

 private:
  void AskToResetSettings(ResetRequest request);
  void MeasureBaseFont();
  void LoadDictionaries();
  std::string DataFolder() const;

  Options options_;
  BaseTextMetrics metrics_;
  LayoutUnits units_;
  // Declared first so that it is destroyed last: the frame's view borrows
  // dictionaries while a search runs.
  std::unique_ptr<DictionaryState> state_;
  std::unique_ptr<CMainFrame> frame_;
  bool running_ = false;
};

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_VOCOR_APP_H_
