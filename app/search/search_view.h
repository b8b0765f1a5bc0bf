// The main frame's central widget: the four search forms on a tab control,
// the Search and Stop buttons, and the results list. The view runs the
// search itself, in the event loop's idle time (IdleSearchDriver), and
// reports its progress to the frame through SearchHost.
//
// The frame owns the commands (menus, tool bar, accelerators such as F3,
// Esc, F6) and calls the public functions here; the view's own Search and
// Stop buttons, the Enter key in a box, and Ctrl+Tab and Ctrl+Shift+Tab
// anywhere in the window (tab_keys.h) are the view's.
#ifndef VOCOR_APP_SEARCH_SEARCH_VIEW_H_
#define VOCOR_APP_SEARCH_SEARCH_VIEW_H_

#include <QFontMetrics>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "app/search/layout.h"
#include "app/search/result_settings.h"

class QFrame;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;

namespace vocor {

class CDictionary;
class CResultsModel;
class CSearchInfoView;
class CSearchRun;
class IdleSearchDriver;
class SearchHost;

class CSearchView : public QWidget {
  Q_OBJECT

 public:
  // `host` is borrowed and must outlive the view. `units` are the window's
  // length units (from the application font); the view raises the row and
  // button sizes to what this style's widgets need (FitUnitsToWidgets), and
  // keeps them for its life.
  CSearchView(SearchHost* host, const LayoutUnits& units,
              QWidget* parent = nullptr);
  // Ends a running search without calling the host: the frame may already
  // be half destroyed when its central widget goes.
  ~CSearchView() override;

  // Runs the active form's request over the host's active dictionary. A
  // refusal shows its message (a modal warning) and starts nothing. Does
  // nothing unless CanStartSearch().
  void StartSearch();
  // Ends a running search at once; the words found so far stay listed.
  // However a search ends (exhausted, stopped, at the match limit), a
  // modal warning then names the dictionary files under the searched
  // dictionary that are known to be damaged, if any.
  void StopSearch();
  // One slice of the running search; returns whether there is more to do.
  // Called by the idle driver; tests may call it directly.
  bool SearchStep();
  bool IsSearching() const;
  // No search runs and the active form can search.
  bool CanStartSearch() const;

  // The narrowest width at which the tabs, every form and the Search and
  // Stop buttons are shown whole; also the width of minimumSizeHint.
  int MinimumWidth() const;
  QSize minimumSizeHint() const override;

  // Makes tab `index` (0..3) current and puts the focus into its form.
  void SelectTab(int index);
  int CurrentTab() const;
  // The form on the current tab; never null.
  CSearchInfoView* GetActiveForm() const;
  // F6 / Shift+F6: moves the focus between the form and the results list.
  void FocusNextPane(bool backwards);

  // The edit commands act on the focused box; Copy on the results list when
  // it has the focus (the selected words, else all, one per line).
  bool CanUndo() const;
  bool CanCut() const;
  bool CanCopy() const;
  bool CanPaste() const;
  void Undo();
  void Cut();
  void Copy();
  void Paste();

  // Lets the user choose the results font (a non-native QFontDialog) and
  // stores it as the "Font" text under the window key.
  void ChangeFont();
  // The value "Font" under this key holds the results font.
  static std::string WindowKey();

  // The order of the results list and the minimum score of a search, kept
  // as "ResultOrder" and "MinimumScore" under the window key
  // (result_settings.h) and read when the view is created.
  ResultOrder resultOrder() const { return result_settings_.order; }
  int minimumScore() const { return result_settings_.min_score; }
  // Stores the order and shows the results in it: the words shown are
  // sorted again, or, when the search is running or stopped at the match
  // limit (the words it keeps depend on the order), it runs again.
  void SetResultOrder(ResultOrder order);
  // Stores the minimum score (clamped to kMinScore..kMaxScore) and runs
  // the search shown again with it (with the clues its form holds now).
  void SetMinimumScore(int score);
  // Asks for the minimum score in a non-native dialog; OK sets it.
  void ChooseMinimumScore();

  // The results list; owned by the view.
  QListView* resultsList() const;
  // The words of the results list in display order, as UTF-8.
  std::vector<std::string> ResultWords() const;
  // The view's own Search and Stop buttons.
  QPushButton* searchButton() const { return search_button_; }
  QPushButton* stopButton() const { return stop_button_; }

 signals:
  // A search started (true) or ended (false).
  void searchStateChanged(bool running);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  class RunObserver;

  void CreateControls();
  void FitUnitsToControls();
  void CreateForms();
  int TabFrameWidth() const;
  int TabMinimumWidth() const;
  void LayOutChildren();
  void ExplainNoDictionary(const CDictionary* searched);
  void ShowMessage(int id);
  void ShowWarning(const QString& text);
  void WarnOfDamage(const CDictionary* searched);
  void UpdateProgress(int position);
  void ShowPendingResults();
  void UpdateGrid();
  void SetResultsFont(const QFont& font);
  void EndSearch();
  void RestoreFocus();
  void OnTabChanged();
  void OnInputChanged();
  void UpdateButtons();
  void CycleTab(bool backwards);
  void CopyResults();
  void LoadResultsFont();
  // Runs `form`'s request; StartSearch for the active form.
  void RunSearch(CSearchInfoView* form);
  // The search shown runs again (a running one is ended first) with the
  // clues its form holds now.
  void RunShownSearchAgain();
  void StoreResultSettings();
  // The line edit of the focused box, or null when no box of the view has
  // the focus.
  QLineEdit* FocusedEdit() const;

  SearchHost* host_;
  LayoutUnits units_;
  QFrame* separator_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QPushButton* search_button_ = nullptr;
  QPushButton* stop_button_ = nullptr;
  QListView* list_ = nullptr;
  CResultsModel* model_ = nullptr;
  IdleSearchDriver* driver_ = nullptr;
  std::unique_ptr<RunObserver> observer_;
  std::unique_ptr<CSearchRun> run_;
  // The dictionary the running search reads; null between searches.
  const CDictionary* searched_ = nullptr;
  QPointer<QWidget> focus_before_search_;
  ResultSettings result_settings_;
  // The form whose search fills the list (null before the first one), and
  // whether that search ended at the match limit.
  CSearchInfoView* shown_form_ = nullptr;
  bool ended_at_limit_ = false;
  // The results font's metrics and the width of the widest word listed.
  QFontMetrics metrics_{QFont()};
  int widest_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_SEARCH_VIEW_H_
