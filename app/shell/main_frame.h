// The main window: menus, accelerators, tool bar and status bar around the
// search view. It owns the commands (QActions keyed by their command ids)
// and forwards the search and edit commands to the view; the view reports
// a running search back through SearchHost, which puts a progress bar into
// the status line's message pane.
#ifndef VOCOR_APP_SHELL_MAIN_FRAME_H_
#define VOCOR_APP_SHELL_MAIN_FRAME_H_

#include <QMainWindow>
#include <QPointer>
#include <map>

#include "app/search/layout.h"
#include "app/search/search_host.h"

class QAction;
class QDockWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QProgressBar;
class QToolBar;

namespace vocor {

class CDefinitionsPane;
class CSearchView;
class DictionaryState;

class CMainFrame : public QMainWindow, public SearchHost {
  Q_OBJECT

 public:
  // The window's settings key and its values.
  static const char kRegistryKey[];    // "...\Vocor for Windows\Window"
  static const char kPositionValue[];  // "Position"
  static const char kBarStateKey[];    // "...\Window\ToolBar"

  // `state` is borrowed and must outlive the frame. The frame is created
  // hidden; the application restores its placement and shows it.
  CMainFrame(DictionaryState* state, const BaseTextMetrics& metrics,
             const LayoutUnits& units, QWidget* parent = nullptr);
  ~CMainFrame() override;

  // SearchHost.
  CDictionary* ActiveDictionary() override;
  void BeginSearchProgress(int extent) override;
  void SetSearchStatus(const QString& text) override;
  void SetSearchProgress(int position) override;
  void EndSearchProgress() override;
  void SetFoundCount(int count) override;
  void UpdateCommandStates() override;

  // Size and position when no placement is stored.
  void ApplyDefaultPlacement();

  // Tool bar and status bar visibility and position, and the definitions
  // pane's visibility, place and size, under kBarStateKey.
  void LoadBarState();
  void SaveBarState();
  // From now on closing stores neither the placement nor the bars: the
  // settings could not be read at start-up, and the ones stored must come
  // through this session unchanged.
  void KeepStoredSettings() { keep_stored_settings_ = true; }

  CSearchView* searchView() const { return view_; }
  // The action of a command id (command_texts.h), or null.
  QAction* action(unsigned command) const;
  QMenu* dictionariesMenu() const { return dictionaries_menu_; }
  QToolBar* toolBar() const { return tool_bar_; }
  // The pane beside the results that shows the selected word's meaning,
  // and the dock that holds it.
  CDefinitionsPane* definitionsPane() const { return definitions_; }
  QDockWidget* definitionsDock() const { return definitions_dock_; }
  // Only while a search runs; null otherwise.
  QProgressBar* progressBar() const { return progress_; }
  // The texts of the message pane and of panes 144 and 145. Pane 144
  // shows a long name cut short, and whole in its tool tip.
  QString messageText() const;
  QString activeDictionaryText() const;
  QString foundText() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QAction* AddAction(unsigned command, QMenu* menu);
  void CreateFileMenu();
  void CreateEditMenu();
  void CreateDictionariesMenu();
  void CreateViewMenu();
  void CreateHelpMenu();
  // Checks the View menu's entries: the bars shown and the results order.
  void CheckViewCommands();
  void CreateShortcuts();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateDefinitionsPane();
  void FitMinimumWidthToPane();
  void ConnectCommands();
  void RebuildDictionaryMenu();
  void ConfigureDictionaries();
  void BuildDictionary();
  void PlaceProgressBar();
  void ShowActiveDictionaryName();
  // The status line's "no dictionary is installed" no longer holds once
  // one is: the idle message takes its place.
  void ForgetStaleNoDictionaryStatus();
  void WatchFocusedBox(QWidget* focused);
  void ShowMessage(const char* text);

  DictionaryState* state_;
  BaseTextMetrics metrics_;
  CSearchView* view_ = nullptr;
  std::map<unsigned, QAction*> actions_;
  QMenu* dictionaries_menu_ = nullptr;
  QList<QAction*> dictionary_entries_;
  QToolBar* tool_bar_ = nullptr;
  QLabel* message_pane_ = nullptr;
  QLabel* dictionary_pane_ = nullptr;
  QLabel* found_pane_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QDockWidget* definitions_dock_ = nullptr;
  CDefinitionsPane* definitions_ = nullptr;
  // The narrowest width of the window without the pane beside the results.
  int narrowest_width_ = 0;
  // Held as a QObject: the focus moves while a box is being destroyed,
  // when it is no longer a QLineEdit.
  QPointer<QObject> watched_box_;
  bool keep_stored_settings_ = false;
};

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_MAIN_FRAME_H_
