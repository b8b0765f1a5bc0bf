#include "app/search/search_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <utility>

#include "app/shell/command_texts.h"
#include "app/shell/font_mapping.h"
#include "app/shell/font_text.h"
#include "app/search/idle_search_driver.h"
#include "app/search/measuring_sink.h"
#include "app/search/minimum_score_dialog.h"
#include "app/search/recent_text_cb.h"
#include "app/search/results_model.h"
#include "app/search/search_damage.h"
#include "app/search/search_host.h"
#include "app/search/search_info_view.h"
#include "app/search/tab_keys.h"
#include "app/search/wordplay_view.h"
#include "dictionary/dictionary_state.h"
#include "search/clipboard_text.h"
#include "search/messages.h"
#include "search/result_options.h"
#include "search/search_run.h"
#include "settings/settings_store.h"

namespace vocor {

// Hears the run's refresh points. The end of a run is only noted here:
// the run is still on the stack, so the view tears it down after Step.
class CSearchView::RunObserver : public SearchObserver {
 public:
  explicit RunObserver(CSearchView* view) : view_(view) {}
  void OnProgress(int position) override { view_->UpdateProgress(position); }
  void OnLimitReached() override { limit_reached = true; }
  void OnFinished() override { finished = true; }
  void Reset() { limit_reached = finished = false; }

  bool limit_reached = false;
  bool finished = false;

 private:
  CSearchView* view_;
};

CSearchView::CSearchView(SearchHost* host, const LayoutUnits& units,
                         QWidget* parent)
    : QWidget(parent),
      host_(host),
      units_(units),
      observer_(std::make_unique<RunObserver>(this)) {
  driver_ = new IdleSearchDriver([this] { return SearchStep(); },
                                 [this] { ShowPendingResults(); }, this);
  CreateControls();
  FitUnitsToControls();
  CreateForms();
  LoadResultsFont();
  result_settings_ = LoadResultSettings(WindowKey().c_str());
  model_->SetOrder(result_settings_.order);
  UpdateButtons();
  // Takes effect when the window is first shown.
  GetActiveForm()->FocusForm();
  // Ctrl+Tab changes the tab wherever the focus is in the window.
  new TabKeys(this, [this](bool backwards) { CycleTab(backwards); });
}

CSearchView::~CSearchView() {
  driver_->Stop();
  run_.reset();
}

std::string CSearchView::WindowKey() {
  return std::string(kProgramKey) + "\\Window";
}

void CSearchView::CreateControls() {
  separator_ = new QFrame(this);
  separator_->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  tabs_ = new QTabWidget(this);
  search_button_ = new QPushButton(tr("&Search"), this);
  stop_button_ = new QPushButton(tr("&Stop"), this);
  search_button_->setWhatsThis(
      tr("Starts a search with the clues of the "
         "form shown (F3, or Enter in the form)."));
  stop_button_->setWhatsThis(
      tr("Stops the running search (Esc). The words found so far stay."));
  connect(search_button_, &QPushButton::clicked, this,
          &CSearchView::StartSearch);
  connect(stop_button_, &QPushButton::clicked, this, &CSearchView::StopSearch);

  model_ = new CResultsModel(this);
  list_ = new QListView(this);
  list_->setModel(model_);
  list_->setViewMode(QListView::ListMode);
  list_->setFlow(QListView::TopToBottom);
  list_->setWrapping(true);
  list_->setResizeMode(QListView::Adjust);
  // 10000 words must lay out in a moment: with uniform sizes the view
  // measures one item instead of each.
  list_->setUniformItemSizes(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  model_->SetPaletteSource(list_);
  list_->setWhatsThis(
      tr("The words found, in alphabetical order or best first (View "
         "menu). A word's tool tip shows its score; rare words, scoring under "
         "30, are lighter. Copy puts the selected words on the clipboard, one "
         "per line, or all of them when none is selected."));
}

// The font-based units were made for a toolkit whose boxes and buttons
// are as high as 12h/10 and 14h/10; here the style decides, and a row or
// button that is smaller than its widget would cut it or let rows overlap.
void CSearchView::FitUnitsToControls() {
  CRecentTextCB box;
  QComboBox list;
  list.addItem(QStringLiteral("another word"));
  WidgetSizeHints hints;
  hints.box_height =
      std::max(box.sizeHint().height(), list.sizeHint().height());
  for (const QPushButton* button : {search_button_, stop_button_}) {
    hints.button_width =
        std::max(hints.button_width, button->sizeHint().width());
    hints.button_height =
        std::max(hints.button_height, button->sizeHint().height());
  }
  units_ = FitUnitsToWidgets(units_, hints);
}

void CSearchView::CreateForms() {
  const std::vector<CSearchInfoView*> forms = {
      new CSearchInfoCrosswordView(units_, tabs_),
      new CSearchInfoAnagramView(units_, tabs_),
      new CSearchInfoHiddenView(units_, tabs_),
      new CSearchInfoPalindromeView(units_, tabs_),
      new CSearchInfoWordplayView(units_, tabs_)};
  for (CSearchInfoView* form : forms) {
    tabs_->addTab(form, form->caption());
    connect(form, &CSearchInfoView::searchRequested, this,
            &CSearchView::StartSearch);
    connect(form, &CSearchInfoView::inputChanged, this,
            &CSearchView::OnInputChanged);
  }
  // Connected after the tabs exist: adding them selects tab 0, which must
  // not reach a host that is still building its own window.
  connect(tabs_, &QTabWidget::currentChanged, this, &CSearchView::OnTabChanged);
}

void CSearchView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutChildren();
}

int CSearchView::TabFrameWidth() const {
  return style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, tabs_);
}

// As wide as the row of tabs, and as the widest form at its minimum: the
// tabs never scroll and no form is cut off.
int CSearchView::TabMinimumWidth() const {
  int form_width = 12;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* form = static_cast<CSearchInfoView*>(tabs_->widget(i));
    form_width = std::max(form_width, form->MinimumFormWidth());
  }
  return std::max(tabs_->tabBar()->sizeHint().width(),
                  form_width + 2 * TabFrameWidth());
}

int CSearchView::MinimumWidth() const {
  return SearchViewMinimumWidth(units_, TabMinimumWidth());
}

QSize CSearchView::minimumSizeHint() const { return QSize(MinimumWidth(), 0); }

void CSearchView::LayOutChildren() {
  int form_height = 0;
  for (int i = 0; i < tabs_->count(); ++i) {
    auto* form = static_cast<CSearchInfoView*>(tabs_->widget(i));
    form_height = std::max(form_height, form->GetFormHeight());
  }
  // The size the tab control needs around a display area of
  // 12 x (form_height + 12): the tab row above, the pane's frame around.
  const int frame = TabFrameWidth();
  const QSize bar = tabs_->tabBar()->sizeHint();
  const int tab_height = bar.height() + form_height + 12 + 2 * frame;
  const SearchViewLayout layout = LayOutSearchView(
      units_, width(), height(), TabMinimumWidth(), tab_height);
  const auto place = [](QWidget* widget, const LayoutRect& r) {
    widget->setGeometry(r.x, r.y, r.width, r.height);
  };
  place(separator_, layout.separator);
  place(tabs_, layout.tabs);
  LayoutRect search;
  LayoutRect stop;
  PlaceSearchButtons(units_, layout, layout.tabs.y + bar.height() + frame,
                     &search, &stop);
  place(search_button_, search);
  place(stop_button_, stop);
  place(list_, layout.list);
}

bool CSearchView::IsSearching() const { return run_ != nullptr; }

bool CSearchView::CanStartSearch() const {
  return !IsSearching() && GetActiveForm()->CanSearch();
}

CSearchInfoView* CSearchView::GetActiveForm() const {
  return static_cast<CSearchInfoView*>(tabs_->currentWidget());
}

int CSearchView::CurrentTab() const { return tabs_->currentIndex(); }

QListView* CSearchView::resultsList() const { return list_; }

std::vector<std::string> CSearchView::ResultWords() const {
  return model_->Words();
}

void CSearchView::StartSearch() {
  if (CanStartSearch()) RunSearch(GetActiveForm());
}

void CSearchView::RunSearch(CSearchInfoView* form) {
  if (IsSearching() || !form->CanSearch()) return;
  QWidget* focus = QApplication::focusWidget();
  if (focus != search_button_ && isAncestorOf(focus)) {
    focus_before_search_ = focus;
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  SearchRequestResult request = form->BuildQuery(host_->ActiveDictionary());
  QApplication::restoreOverrideCursor();
  if (request.refused()) {
    const std::string text = request.RefusalText();
    if (!text.empty()) {
      ShowWarning(QString::fromStdString(text));
    } else {
      ExplainNoDictionary(host_->ActiveDictionary());
    }
    // The box at fault takes the focus once the warning is dismissed.
    form->ShowInputProblem(request.input, request.position);
    return;
  }
  // The list keeps the best results when the search stops at the limit.
  request.query = ApplyResultOptions(
      std::move(request.query),
      ResultOptions{result_settings_.order, result_settings_.min_score,
                    CSearchRun::kDefaultLimit});
  shown_form_ = form;
  ended_at_limit_ = false;
  model_->Clear();
  // Painted now, not at the first refresh: a search may run many steps
  // before its first word (an another-word search first indexes a list).
  list_->doItemsLayout();
  list_->viewport()->repaint();
  widest_ = 0;
  observer_->Reset();
  searched_ = host_->ActiveDictionary();
  run_ = std::make_unique<CSearchRun>(
      std::move(request.query),
      std::make_unique<MeasuringSink>(model_->list(), &metrics_, &widest_),
      observer_.get());
  host_->BeginSearchProgress(run_->extent());
  host_->SetSearchStatus(QString::fromUtf8(kSearchingStatus));
  host_->SetFoundCount(0);
  UpdateButtons();
  emit searchStateChanged(true);
  host_->UpdateCommandStates();
  driver_->Start();
}

bool CSearchView::SearchStep() {
  if (!IsSearching()) return false;
  run_->Step();
  if (observer_->limit_reached) {
    ended_at_limit_ = true;
    // The search ends only once the message is dismissed, and the focus
    // stays where the user had put it.
    ShowMessage(kMsgMatchLimit);
    EndSearch();
    return false;
  }
  if (observer_->finished) {
    EndSearch();
    RestoreFocus();
    return false;
  }
  return true;
}

// The count and the bar follow every refresh point; the list itself is
// shown once per tick of the idle driver (ShowPendingResults): merging and
// laying out 10000 words at every 20th would cost more than the search.
void CSearchView::UpdateProgress(int position) {
  host_->SetSearchProgress(position);
  host_->SetFoundCount(model_->list()->size());
}

void CSearchView::ShowPendingResults() {
  if (!model_->Refresh()) return;
  UpdateGrid();
  // A reset only schedules the layout on a timer, which the idle driver's
  // own timer would keep putting off while the search runs.
  list_->doItemsLayout();
  list_->viewport()->update();
}

void CSearchView::UpdateGrid() {
  // Every column is as wide as the widest word, as in a list control in
  // list mode; the words are never cut short.
  const int margin =
      style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, list_) + 1;
  const QSize grid(widest_ + 2 * margin + 2 * metrics_.averageCharWidth(),
                   metrics_.height() + 2);
  if (list_->gridSize() != grid) list_->setGridSize(grid);
}

void CSearchView::SetResultOrder(ResultOrder order) {
  if (order == result_settings_.order) return;
  result_settings_.order = order;
  StoreResultSettings();
  model_->SetOrder(order);
  if (NewOrderRunsSearchAgain(IsSearching(), ended_at_limit_)) {
    RunShownSearchAgain();
  } else {
    list_->doItemsLayout();
  }
}

void CSearchView::SetMinimumScore(int score) {
  score = std::clamp(score, kMinScore, kMaxScore);
  if (score == result_settings_.min_score) return;
  result_settings_.min_score = score;
  StoreResultSettings();
  RunShownSearchAgain();
}

void CSearchView::ChooseMinimumScore() {
  int score = result_settings_.min_score;
  if (AskMinimumScore(this, &score)) SetMinimumScore(score);
}

void CSearchView::StoreResultSettings() {
  SaveResultSettings(WindowKey().c_str(), result_settings_);
}

void CSearchView::RunShownSearchAgain() {
  if (shown_form_ == nullptr) return;
  if (IsSearching()) EndSearch();
  RunSearch(shown_form_);
}

void CSearchView::StopSearch() {
  if (!IsSearching()) return;
  EndSearch();
  GetActiveForm()->FocusForm();
}

void CSearchView::EndSearch() {
  driver_->Stop();
  host_->EndSearchProgress();
  run_.reset();
  ShowPendingResults();
  host_->SetFoundCount(model_->rowCount());
  // The count leaves out the weaker words; the status line says so.
  const std::string left_out = MinimumScoreStatus(result_settings_.min_score);
  if (!left_out.empty())
    host_->SetSearchStatus(QString::fromStdString(left_out));
  ExplainNoDictionary(searched_);
  UpdateButtons();
  emit searchStateChanged(false);
  host_->UpdateCommandStates();
  WarnOfDamage(std::exchange(searched_, nullptr));
}

// Without any dictionary every search finds nothing (or, for a crossword,
// is refused without a word): the status line says why.
void CSearchView::ExplainNoDictionary(const CDictionary* searched) {
  if (IsNothingInstalled(searched)) {
    host_->SetSearchStatus(QString::fromUtf8(kNoDictionaryStatus));
  }
}

// After the words found are listed: they stay, but a damaged file ended
// its walk early, so the user must not take them for all there are.
void CSearchView::WarnOfDamage(const CDictionary* searched) {
  const std::vector<std::string> files = DamagedDictionaryFiles(searched);
  if (!files.empty()) {
    ShowWarning(QString::fromStdString(DamagedDictionariesMessage(files)));
  }
}

void CSearchView::RestoreFocus() {
  CSearchInfoView* form = GetActiveForm();
  QWidget* target = focus_before_search_;
  // A box of a form that is no longer shown cannot take the focus back.
  if (target == nullptr || !target->isVisibleTo(this)) {
    target = form->RememberedFocus();
  }
  if (target != nullptr) target->setFocus(Qt::OtherFocusReason);
}

void CSearchView::ShowMessage(int id) {
  ShowWarning(QString::fromUtf8(MessageText(id)));
}

void CSearchView::ShowWarning(const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromUtf8(kAppTitle), text,
                  QMessageBox::Ok, this);
  box.exec();
}

void CSearchView::SelectTab(int index) {
  if (index < 0 || index >= tabs_->count()) return;
  tabs_->setCurrentIndex(index);
  GetActiveForm()->FocusForm();
}

void CSearchView::OnTabChanged() {
  GetActiveForm()->FocusForm();
  UpdateButtons();
  host_->UpdateCommandStates();
}

void CSearchView::OnInputChanged() {
  UpdateButtons();
  host_->UpdateCommandStates();
}

void CSearchView::UpdateButtons() {
  search_button_->setEnabled(CanStartSearch());
  stop_button_->setEnabled(IsSearching());
}

void CSearchView::CycleTab(bool backwards) {
  const int count = tabs_->count();
  const int step = backwards ? count - 1 : 1;
  SelectTab((tabs_->currentIndex() + step) % count);
}

void CSearchView::FocusNextPane(bool backwards) {
  // Two panes: either direction leads to the other one.
  (void)backwards;
  if (list_->hasFocus()) {
    GetActiveForm()->FocusForm();
  } else {
    list_->setFocus(Qt::OtherFocusReason);
  }
}

QLineEdit* CSearchView::FocusedEdit() const {
  QWidget* focus = QApplication::focusWidget();
  if (focus == nullptr || !isAncestorOf(focus)) return nullptr;
  if (auto* edit = qobject_cast<QLineEdit*>(focus)) return edit;
  auto* box = qobject_cast<QComboBox*>(focus);
  return box != nullptr ? box->lineEdit() : nullptr;
}

bool CSearchView::CanUndo() const {
  QLineEdit* edit = FocusedEdit();
  return edit != nullptr && edit->isUndoAvailable();
}

bool CSearchView::CanCut() const {
  QLineEdit* edit = FocusedEdit();
  return edit != nullptr && edit->hasSelectedText();
}

bool CSearchView::CanCopy() const {
  if (QLineEdit* edit = FocusedEdit()) return edit->hasSelectedText();
  return list_->hasFocus();
}

bool CSearchView::CanPaste() const {
  if (FocusedEdit() == nullptr) return false;
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  return data != nullptr && data->hasText();
}

void CSearchView::Undo() {
  if (QLineEdit* edit = FocusedEdit()) edit->undo();
}

void CSearchView::Cut() {
  if (QLineEdit* edit = FocusedEdit()) edit->cut();
}

void CSearchView::Copy() {
  if (QLineEdit* edit = FocusedEdit()) {
    edit->copy();
  } else if (list_->hasFocus()) {
    CopyResults();
  }
}

void CSearchView::Paste() {
  if (QLineEdit* edit = FocusedEdit()) edit->paste();
}

void CSearchView::CopyResults() {
  std::vector<int> selected;
  for (const QModelIndex& index : list_->selectionModel()->selectedIndexes()) {
    selected.push_back(index.row());
  }
  const std::string text = ClipboardText(model_->Words(), selected);
  QGuiApplication::clipboard()->setText(QString::fromStdString(text));
}

void CSearchView::LoadResultsFont() {
  LogFont stored;
  if (ReadRegFont(kCurrentUser, WindowKey().c_str(), "Font", &stored)) {
    SetResultsFont(FontFromLogFont(stored));
  } else {
    SetResultsFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  }
}

void CSearchView::SetResultsFont(const QFont& font) {
  list_->setFont(font);
  metrics_ = QFontMetrics(list_->font());
  widest_ = 0;
  for (const std::string& word : model_->Words()) {
    widest_ = std::max(
        widest_, metrics_.horizontalAdvance(QString::fromStdString(word)));
  }
  UpdateGrid();
  list_->doItemsLayout();
}

void CSearchView::ChangeFont() {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, list_->font(), this, tr("Font"),
                                          QFontDialog::DontUseNativeDialog);
  if (!ok) return;
  SetResultsFont(font);
  WriteRegFont(kCurrentUser, WindowKey().c_str(), "Font",
               LogFontFromFont(font));
}

}  // namespace vocor
