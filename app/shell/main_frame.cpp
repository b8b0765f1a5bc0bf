#include "app/shell/main_frame.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <string>

#include "app/definitions/definitions_pane.h"
#include "app/dictionaries/build_dictionary_dlg.h"
#include "app/dictionaries/configure_dictionaries_dlg.h"
#include "app/dictionaries/dictionary_menu.h"
#include "app/print/print_commands.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/shell/about_dialog.h"
#include "app/shell/command_texts.h"
#include "app/shell/context_help_mode.h"
#include "app/shell/help_command.h"
#include "app/shell/help_window.h"
#include "app/shell/window_placement_qt.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_state.h"
#include "search/search_request.h"
#include "settings/settings_store.h"

namespace vocor {

const char CMainFrame::kRegistryKey[] =
    "Software\\Vocor\\Vocor for Windows\\Window";
const char CMainFrame::kPositionValue[] = "Position";
const char CMainFrame::kBarStateKey[] =
    "Software\\Vocor\\Vocor for Windows\\Window\\ToolBar";

namespace {

constexpr char kToolBarStateValue[] = "State";
constexpr char kStatusBarValue[] = "StatusBar";
// Any version: saveState() records the tool bar and the definitions
// pane's dock, both by object name, and a state stored before the dock
// existed restores the tool bar alone.
constexpr int kBarStateVersion = 1;

QString Utf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString FoundText(int count) {
  std::string text = kFoundFormat;
  text.replace(text.find("%s"), 2, FormatCount(count));
  return QString::fromStdString(text);
}

// A status-line pane as wide as its prototype text, so that the panes do
// not move as their texts change.
QLabel* NewPane(const char* prototype, QWidget* parent) {
  auto* pane = new QLabel(parent);
  pane->setMargin(2);
  pane->setFixedWidth(
      pane->fontMetrics().horizontalAdvance(QString::fromUtf8(prototype)) +
      4 * pane->margin());
  return pane;
}

}  // namespace

CMainFrame::CMainFrame(DictionaryState* state, const BaseTextMetrics& metrics,
                       const LayoutUnits& units, QWidget* parent)
    : QMainWindow(parent), state_(state), metrics_(metrics) {
  setWindowTitle(QString::fromUtf8(kAppTitle));
  setMinimumSize(60 * metrics.ave_char_width, 20 * metrics.height);
  CreateFileMenu();
  CreateEditMenu();
  CreateDictionariesMenu();
  CreateViewMenu();
  CreateHelpMenu();
  CreateShortcuts();
  CreateToolBar();
  CreateStatusBar();
  view_ = new CSearchView(this, units, this);
  setCentralWidget(view_);
  // However narrow, the window shows the tabs, the forms and the Search
  // and Stop buttons whole.
  narrowest_width_ = std::max(minimumWidth(), view_->MinimumWidth());
  setMinimumWidth(narrowest_width_);
  CreateDefinitionsPane();
  // The window opens with the caret in the form, ready for a clue.
  view_->GetActiveForm()->FocusForm();
  ConnectCommands();
  CheckViewCommands();
  UpdateCommandStates();
}

CMainFrame::~CMainFrame() {
  // The view ends a running search as it goes and reports that to this
  // frame, which must still be whole then; with view_ already null the
  // reports leave the view alone.
  disconnect(qApp, nullptr, this, nullptr);
  // The pane's dock hides as the window's children go, after this frame
  // has stopped being a CMainFrame.
  if (definitions_dock_ != nullptr) {
    disconnect(definitions_dock_, nullptr, this, nullptr);
  }
  CSearchView* view = view_;
  view_ = nullptr;
  delete view;
}

QAction* CMainFrame::AddAction(unsigned command, QMenu* menu) {
  auto* action = new QAction(Utf8(CommandMenuText(command)), this);
  action->setData(command);
  action->setStatusTip(Utf8(CommandPrompt(command)));
  const std::string_view tool_tip = CommandToolTip(command);
  if (!tool_tip.empty()) action->setToolTip(Utf8(tool_tip));
  actions_[command] = action;
  if (menu != nullptr) {
    menu->addAction(action);
  } else {
    addAction(action);  // a key without a menu entry
  }
  return action;
}

QAction* CMainFrame::action(unsigned command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void CMainFrame::CreateFileMenu() {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(kMenuFile));
  AddAction(kCmdSearch, menu)->setShortcut(Qt::Key_F3);
  AddAction(kCmdStop, menu);
  menu->addSeparator();
  AddAction(kCmdCrosswordSearch, menu);
  AddAction(kCmdAnagramSearch, menu);
  AddAction(kCmdHiddenSearch, menu);
  menu->addSeparator();
  AddAction(kCmdPrint, menu)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
  AddAction(kCmdPrintPreview, menu);
  AddAction(kCmdPrintSetup, menu);
  menu->addSeparator();
  AddAction(kCmdExit, menu);
}

void CMainFrame::CreateEditMenu() {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(kMenuEdit));
  AddAction(kCmdUndo, menu)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Z),
                      QKeySequence(Qt::ALT | Qt::Key_Backspace)});
  menu->addSeparator();
  AddAction(kCmdCut, menu)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_X),
                      QKeySequence(Qt::SHIFT | Qt::Key_Delete)});
  AddAction(kCmdCopy, menu)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_C),
                      QKeySequence(Qt::CTRL | Qt::Key_Insert)});
  AddAction(kCmdPaste, menu)
      ->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V),
                      QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
  connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::CreateDictionariesMenu() {
  dictionaries_menu_ = menuBar()->addMenu(QString::fromUtf8(kMenuDictionaries));
  AddAction(kCmdConfigureDictionaries, dictionaries_menu_);
  dictionaries_menu_->addSeparator();
  AddAction(kCmdBuildDictionary, dictionaries_menu_);
  dictionaries_menu_->addSeparator();
  connect(dictionaries_menu_, &QMenu::aboutToShow, this,
          &CMainFrame::RebuildDictionaryMenu);
}

void CMainFrame::CreateViewMenu() {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(kMenuView));
  AddAction(kCmdChangeFont, menu);
  menu->addSeparator();
  auto* order = new QActionGroup(this);
  for (unsigned command : {kCmdOrderAlphabetical, kCmdOrderByScore}) {
    QAction* entry = AddAction(command, menu);
    entry->setCheckable(true);
    order->addAction(entry);
  }
  AddAction(kCmdMinimumScore, menu);
  menu->addSeparator();
  AddAction(kCmdViewToolBar, menu)->setCheckable(true);
  AddAction(kCmdViewStatusBar, menu)->setCheckable(true);
  AddAction(kCmdViewDefinitions, menu)->setCheckable(true);
  AddAction(kCmdDefinitionsFrom, menu);
  connect(menu, &QMenu::aboutToShow, this, &CMainFrame::CheckViewCommands);
}

void CMainFrame::CheckViewCommands() {
  action(kCmdViewToolBar)->setChecked(!tool_bar_->isHidden());
  action(kCmdViewStatusBar)->setChecked(!statusBar()->isHidden());
  action(kCmdViewDefinitions)
      ->setChecked(definitions_dock_ != nullptr &&
                   !definitions_dock_->isHidden());
  const bool by_score =
      view_ != nullptr && view_->resultOrder() == ResultOrder::kByScore;
  action(kCmdOrderByScore)->setChecked(by_score);
  action(kCmdOrderAlphabetical)->setChecked(!by_score);
}

void CMainFrame::CreateHelpMenu() {
  QMenu* menu = menuBar()->addMenu(QString::fromUtf8(kMenuHelp));
  AddAction(kCmdHelpTopics, menu);
  menu->addSeparator();
  AddAction(kCmdAbout, menu);
}

// Keys with no menu entry of their own.
void CMainFrame::CreateShortcuts() {
  AddAction(kCmdStopKey, nullptr)->setShortcut(Qt::Key_Escape);
  AddAction(kCmdHelp, nullptr)->setShortcut(Qt::Key_F1);
  AddAction(kCmdContextHelp, nullptr)
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F1));
  AddAction(kCmdNextPane, nullptr)->setShortcut(Qt::Key_F6);
  AddAction(kCmdPrevPane, nullptr)
      ->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F6));
  AddAction(kCmdPrintDirect, nullptr);
  // Menu entries answer their keys even while the menu bar is hidden.
  for (const auto& [command, entry] : actions_) addAction(entry);
}

void CMainFrame::CreateToolBar() {
  tool_bar_ = new QToolBar(QStringLiteral("Toolbar"), this);
  tool_bar_->setObjectName(QStringLiteral("ToolBar"));
  const int icon = std::max(16, metrics_.height);
  tool_bar_->setIconSize(QSize(icon, icon));
  struct Button {
    unsigned command;
    const char* icon;
  };
  const Button buttons[] = {
      {kCmdSearch, ":/icons/search.svg"},
      {kCmdStop, ":/icons/stop.svg"},
      {0, nullptr},
      {kCmdCopy, ":/icons/copy.svg"},
      {kCmdPrintDirect, ":/icons/print.svg"},
      {0, nullptr},
      {kCmdCrosswordSearch, ":/icons/crossword.svg"},
      {kCmdAnagramSearch, ":/icons/anagram.svg"},
      {kCmdHiddenSearch, ":/icons/hidden.svg"},
  };
  for (const Button& button : buttons) {
    if (button.icon == nullptr) {
      tool_bar_->addSeparator();
      continue;
    }
    QAction* entry = action(button.command);
    entry->setIcon(QIcon(QString::fromUtf8(button.icon)));
    tool_bar_->addAction(entry);
  }
  addToolBar(Qt::TopToolBarArea, tool_bar_);
  connect(tool_bar_, &QToolBar::visibilityChanged, action(kCmdViewToolBar),
          &QAction::setChecked);
}

void CMainFrame::CreateStatusBar() {
  QStatusBar* bar = statusBar();
  message_pane_ = new QLabel(QString::fromUtf8(kIdleMessage), bar);
  message_pane_->setObjectName(QStringLiteral("messagePane"));
  message_pane_->setMargin(2);
  message_pane_->setMinimumWidth(1);
  message_pane_->installEventFilter(this);
  bar->addWidget(message_pane_, 1);
  dictionary_pane_ = NewPane(kActiveDictionaryPrototype, bar);
  dictionary_pane_->setObjectName(QStringLiteral("dictionaryPane"));
  found_pane_ = NewPane(kFoundPrototype, bar);
  bar->addPermanentWidget(dictionary_pane_);
  bar->addPermanentWidget(found_pane_);
  SetFoundCount(0);
}

// Below the results, as wide as the window: the entries' lines keep their
// length. The dock can be moved beside them or closed.
void CMainFrame::CreateDefinitionsPane() {
  definitions_ = new CDefinitionsPane(
      [this] {
        const CDictionary* active = state_->active();
        return active != nullptr ? active->GetLanguage() : 0u;
      },
      this);
  definitions_->FollowResults(view_->resultsList());
  definitions_dock_ = new QDockWidget(tr("Definitions"), this);
  // saveState() finds the dock by this name.
  definitions_dock_->setObjectName(QStringLiteral("DefinitionsPane"));
  definitions_dock_->setFeatures(QDockWidget::DockWidgetClosable |
                                 QDockWidget::DockWidgetMovable);
  definitions_dock_->setWidget(definitions_);
  addDockWidget(Qt::BottomDockWidgetArea, definitions_dock_);
  connect(definitions_dock_, &QDockWidget::visibilityChanged,
          action(kCmdViewDefinitions), &QAction::setChecked);
  // Tab in the results list leads into the pane.
  setTabOrder(view_->resultsList(), definitions_->browser());
  connect(definitions_dock_, &QDockWidget::visibilityChanged, this,
          &CMainFrame::FitMinimumWidthToPane);
  connect(definitions_dock_, &QDockWidget::dockLocationChanged, this,
          &CMainFrame::FitMinimumWidthToPane);
  connect(definitions_dock_, &QDockWidget::topLevelChanged, this,
          &CMainFrame::FitMinimumWidthToPane);
}

// Moved beside the results, the pane makes the narrowest window wider by
// its own narrowest width and the separator's, so that the search view
// still shows everything whole.
void CMainFrame::FitMinimumWidthToPane() {
  const Qt::DockWidgetArea area = dockWidgetArea(definitions_dock_);
  const bool beside =
      !definitions_dock_->isHidden() && !definitions_dock_->isFloating() &&
      (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea);
  const int pane =
      beside ? definitions_dock_->minimumSizeHint().width() +
                   style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent,
                                        nullptr, this)
             : 0;
  setMinimumWidth(narrowest_width_ + pane);
}

void CMainFrame::ConnectCommands() {
  const auto on = [this](unsigned command, auto&& handler) {
    connect(action(command), &QAction::triggered, this, handler);
  };
  on(kCmdSearch, [this] { view_->StartSearch(); });
  on(kCmdStop, [this] { view_->StopSearch(); });
  on(kCmdStopKey, [this] { view_->StopSearch(); });
  on(kCmdCrosswordSearch, [this] { view_->SelectTab(0); });
  on(kCmdAnagramSearch, [this] { view_->SelectTab(1); });
  on(kCmdHiddenSearch, [this] { view_->SelectTab(2); });
  on(kCmdExit, [this] { close(); });
  on(kCmdUndo, [this] { view_->Undo(); });
  on(kCmdCut, [this] { view_->Cut(); });
  on(kCmdCopy, [this] { view_->Copy(); });
  on(kCmdPaste, [this] { view_->Paste(); });
  on(kCmdBuildDictionary, [this] { BuildDictionary(); });
  on(kCmdChangeFont, [this] { view_->ChangeFont(); });
  on(kCmdOrderAlphabetical,
     [this] { view_->SetResultOrder(ResultOrder::kAlphabetical); });
  on(kCmdOrderByScore,
     [this] { view_->SetResultOrder(ResultOrder::kByScore); });
  on(kCmdMinimumScore, [this] { view_->ChooseMinimumScore(); });
  on(kCmdViewToolBar, [this](bool shown) { tool_bar_->setVisible(shown); });
  on(kCmdViewStatusBar, [this](bool shown) { statusBar()->setVisible(shown); });
  on(kCmdViewDefinitions,
     [this](bool shown) { definitions_dock_->setVisible(shown); });
  on(kCmdDefinitionsFrom, [this] { definitions_->ChooseDatabases(); });
  on(kCmdHelpTopics, [this] { ShowHelp(this, kHelpFinder, 0); });
  on(kCmdHelp, [this] { ShowHelp(this, kHelpFinder, 0); });
  on(kCmdContextHelp, [this] { EnterContextHelpMode(this); });
  on(kCmdAbout, [this] { ShowAboutBox(this); });
  on(kCmdConfigureDictionaries, [this] { ConfigureDictionaries(); });
  on(kCmdNextPane, [this] { view_->FocusNextPane(false); });
  auto* printing = new CPrintCommands(view_, this);
  on(kCmdPrint, [printing] { printing->Print(); });
  on(kCmdPrintDirect, [printing] { printing->PrintDirect(); });
  on(kCmdPrintPreview, [printing] { printing->PrintPreview(); });
  on(kCmdPrintSetup, [printing] { printing->PrintSetup(); });
  on(kCmdPrevPane, [this] { view_->FocusNextPane(true); });
  connect(view_, &CSearchView::searchStateChanged, this,
          &CMainFrame::UpdateCommandStates);
  connect(qApp, &QApplication::focusChanged, this,
          [this](QWidget*, QWidget* now) { WatchFocusedBox(now); });
  connect(QGuiApplication::clipboard(), &QClipboard::dataChanged, this,
          &CMainFrame::UpdateCommandStates);
}

// The edit commands follow the focused box's selection and undo state:
// they are re-evaluated whenever the focus, the selection or the text
// changes.
void CMainFrame::WatchFocusedBox(QWidget* focused) {
  if (watched_box_ != nullptr) disconnect(watched_box_, nullptr, this, nullptr);
  // An editable combo box keeps the focus itself; its line edit holds the
  // selection and the undo state.
  auto* combo = qobject_cast<QComboBox*>(focused);
  QLineEdit* box =
      combo != nullptr ? combo->lineEdit() : qobject_cast<QLineEdit*>(focused);
  watched_box_ = box;
  if (box != nullptr) {
    connect(box, &QLineEdit::selectionChanged, this,
            &CMainFrame::UpdateCommandStates);
    connect(box, &QLineEdit::textChanged, this,
            &CMainFrame::UpdateCommandStates);
  }
  UpdateCommandStates();
}

void CMainFrame::UpdateCommandStates() {
  if (view_ == nullptr) return;  // the view reports while it is built
  const bool searching = view_->IsSearching();
  ForgetStaleNoDictionaryStatus();
  action(kCmdSearch)->setEnabled(view_->CanStartSearch());
  action(kCmdStop)->setEnabled(searching);
  action(kCmdUndo)->setEnabled(view_->CanUndo());
  action(kCmdCut)->setEnabled(view_->CanCut());
  action(kCmdCopy)->setEnabled(view_->CanCopy());
  action(kCmdPaste)->setEnabled(view_->CanPaste());
  // Installing the result changes the lists a search reads.
  action(kCmdBuildDictionary)->setEnabled(!searching);
  // The dialog may destroy dictionaries that a search reads.
  action(kCmdConfigureDictionaries)->setEnabled(!searching);
  // The dictionary entries are greyed while a search runs, also in a menu
  // that stays open while the search starts or ends.
  for (QAction* entry : dictionary_entries_) entry->setEnabled(!searching);
  ShowActiveDictionaryName();
}

// A name too long for its pane ends in an ellipsis and shows whole in the
// pane's tool tip.
void CMainFrame::ShowActiveDictionaryName() {
  const QString name =
      QString::fromStdString(DictionaryDisplayName(state_->active()));
  const int room =
      dictionary_pane_->contentsRect().width() - 2 * dictionary_pane_->margin();
  const QString shown =
      dictionary_pane_->fontMetrics().elidedText(name, Qt::ElideRight, room);
  dictionary_pane_->setText(shown);
  dictionary_pane_->setToolTip(shown == name ? QString() : name);
}

void CMainFrame::RebuildDictionaryMenu() {
  for (QAction* entry : dictionary_entries_) {
    dictionaries_menu_->removeAction(entry);
    delete entry;
  }
  dictionary_entries_.clear();
  const QIcon set_member(QStringLiteral(":/icons/set_member.svg"));
  for (const DictionaryMenuEntry& entry :
       BuildDictionaryMenu(state_->all_dictionaries(), state_->all_sets(),
                           state_->active(), view_->IsSearching())) {
    auto* item = new QAction(QString::fromStdString(entry.text), this);
    item->setSeparator(entry.dictionary == nullptr);
    item->setData(entry.command);
    item->setEnabled(entry.enabled);
    item->setStatusTip(Utf8(CommandPrompt(entry.command)));
    item->setCheckable(entry.mark == MenuMark::kActive);
    item->setChecked(entry.mark == MenuMark::kActive);
    // A member of the active set shows its own mark, not the check of the
    // active entry.
    if (entry.mark == MenuMark::kSetMember) item->setIcon(set_member);
    CDictionary* dictionary = entry.dictionary;
    connect(item, &QAction::triggered, this, [this, dictionary] {
      state_->SetActive(dictionary);
      UpdateCommandStates();
    });
    dictionaries_menu_->addAction(item);
    dictionary_entries_.append(item);
  }
}

void CMainFrame::BuildDictionary() {
  if (view_->IsSearching()) return;
  CBuildDictionaryDlg dialog(state_, this);
  dialog.exec();
  UpdateCommandStates();
}

void CMainFrame::ConfigureDictionaries() {
  // The shortcut and the menu are disabled while a search runs; a command
  // queued before the search started must not slip through either.
  if (view_->IsSearching()) return;
  ShowConfigureDictionaries(state_, metrics_.ave_char_width, this);
  UpdateCommandStates();
}

CDictionary* CMainFrame::ActiveDictionary() { return state_->active(); }

void CMainFrame::ForgetStaleNoDictionaryStatus() {
  if (message_pane_->text() == QString::fromUtf8(kNoDictionaryStatus) &&
      !IsNothingInstalled(state_->all_dictionaries())) {
    message_pane_->setText(QString::fromUtf8(kIdleMessage));
  }
}

void CMainFrame::BeginSearchProgress(int extent) {
  delete progress_;
  progress_ = new QProgressBar(statusBar());
  progress_->setTextVisible(false);
  progress_->setRange(0, std::max(0, extent));
  progress_->setValue(0);
  message_pane_->clear();
  PlaceProgressBar();
  progress_->show();
}

void CMainFrame::SetSearchStatus(const QString& text) {
  message_pane_->setText(text);
}

void CMainFrame::SetSearchProgress(int position) {
  if (progress_ != nullptr) progress_->setValue(position);
}

void CMainFrame::EndSearchProgress() {
  message_pane_->setText(QString::fromUtf8(kIdleMessage));
  delete progress_;
  progress_ = nullptr;
}

void CMainFrame::SetFoundCount(int count) {
  found_pane_->setText(FoundText(count));
}

// 30 average character widths into the message pane, or from its middle
// when the pane is narrow, to its right edge, over its full height.
void CMainFrame::PlaceProgressBar() {
  if (progress_ == nullptr) return;
  const QRect pane = message_pane_->geometry();
  const int right = pane.x() + pane.width();
  const int left = ProgressBarLeft(pane.x(), right, metrics_.ave_char_width);
  progress_->setGeometry(left, pane.y(), right - left, pane.height());
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == message_pane_ &&
      (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
    PlaceProgressBar();
  }
  return QMainWindow::eventFilter(watched, event);
}

QString CMainFrame::messageText() const {
  const QString prompt = statusBar()->currentMessage();
  return prompt.isEmpty() ? message_pane_->text() : prompt;
}

QString CMainFrame::activeDictionaryText() const {
  return dictionary_pane_->text();
}

QString CMainFrame::foundText() const { return found_pane_->text(); }

void CMainFrame::ShowMessage(const char* text) {
  QMessageBox::information(this, QString::fromUtf8(kAppTitle),
                           QString::fromUtf8(text));
}

// Without a stored placement: three quarters of the screen, a sixteenth of
// it in from its top left corner, so that a first start shows the whole
// window with the desktop around it.
void CMainFrame::ApplyDefaultPlacement() {
  const QRect screen = this->screen()->availableGeometry();
  resize(std::max(minimumWidth(), screen.width() * 3 / 4),
         std::max(minimumHeight(), screen.height() * 3 / 4));
  move(screen.topLeft() + QPoint(screen.width() / 16, screen.height() / 16));
}

void CMainFrame::LoadBarState() {
  std::string text;
  if (ReadRegString(kCurrentUser, kBarStateKey, kToolBarStateValue, &text)) {
    restoreState(QByteArray::fromBase64(QByteArray::fromStdString(text)),
                 kBarStateVersion);
  }
  if (ReadRegString(kCurrentUser, kBarStateKey, kStatusBarValue, &text)) {
    statusBar()->setVisible(text != "0");
  }
  CheckViewCommands();
}

void CMainFrame::SaveBarState() {
  WriteRegString(kCurrentUser, kBarStateKey, kToolBarStateValue,
                 saveState(kBarStateVersion).toBase64().constData());
  WriteRegString(kCurrentUser, kBarStateKey, kStatusBarValue,
                 statusBar()->isHidden() ? "0" : "1");
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!keep_stored_settings_) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    SaveWindowPlacement(this, kCurrentUser, kRegistryKey, kPositionValue);
    SaveBarState();
    QApplication::restoreOverrideCursor();
  }
  // The help window is a top-level window of its own; left open it would
  // keep the program running.
  if (QWidget* help = HelpWindowIfOpen()) help->close();
  QMainWindow::closeEvent(event);
}

}  // namespace vocor
