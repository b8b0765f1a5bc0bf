// The search view against a fake frame: a search per form checked against
// the same request run outside the window, refusals, stopping, the match
// limit, damaged dictionaries, tab keys, the edit commands, Copy and the
// results font.
#include "app/search/search_view.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "app/search/idle_search_driver.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_host.h"
#include "app/search/search_info_view.h"
#include "app/shell/command_texts.h"
#include "app/shell/font_text.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/testing/damaged_dic.h"
#include "dictionary/testing/sample_dics.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "engine/palindrome.h"
#include "search/messages.h"
#include "search/search_request.h"
#include "search/search_run.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

class FakeHost : public SearchHost {
 public:
  CDictionary* ActiveDictionary() override { return dictionary; }
  void BeginSearchProgress(int extent) override {
    ++begun;
    bar_extent = extent;
  }
  void SetSearchStatus(const QString& text) override { status = text; }
  void SetSearchProgress(int position) override {
    ++progress_calls;
    if (on_progress) on_progress();
    QVERIFY(position >= 0 && position <= bar_extent);
  }
  void EndSearchProgress() override { ++ended; }
  void SetFoundCount(int count) override { found = count; }
  void UpdateCommandStates() override { ++command_updates; }

  CDictionary* dictionary = nullptr;
  int begun = 0;
  int ended = 0;
  int bar_extent = -1;
  int progress_calls = 0;
  int found = -1;
  int command_updates = 0;
  QString status;
  std::function<void()> on_progress;
};

// Calls `action` with the first modal widget that opens (polling, since
// the code under test opens it inside its own event loop). The poll ends
// with `owner` if nothing opened.
void WhenModal(QObject* owner, std::function<void(QWidget*)> action) {
  auto* poll = new QTimer(owner);
  poll->setInterval(10);
  QObject::connect(poll, &QTimer::timeout, [poll, action] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
    }
  });
  poll->start();
}

// Calls `seen` whenever `watched` receives an event of `type`, for as
// long as the watcher lives.
class EventWatcher : public QObject {
 public:
  EventWatcher(QObject* watched, QEvent::Type type, std::function<void()> seen)
      : watched_(watched), type_(type), seen_(std::move(seen)) {
    watched_->installEventFilter(this);
  }
  ~EventWatcher() override { watched_->removeEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == watched_ && event->type() == type_) seen_();
    return false;
  }

 private:
  QObject* watched_;
  QEvent::Type type_;
  std::function<void()> seen_;
};

std::vector<std::string> Sorted(std::vector<std::string> words) {
  std::sort(words.begin(), words.end());
  return words;
}

// What the command-line searcher prints for the same request: the same
// request function, run to its end outside the window.
std::vector<std::string> Reference(SearchRequestResult request) {
  if (request.refused()) return {};
  CSearchRun run(std::move(request.query),
                 std::make_unique<CResultsSinkSorted>(), nullptr, 0);
  while (run.Step()) {
  }
  return static_cast<CResultsSinkSorted*>(run.sink())->SortedResults();
}

std::vector<std::string> TestWords() {
  std::vector<std::string> words = testing::SampleWords();
  for (const char* w :
       {"level", "deed", "noon", "stats", "live", "evil", "pool",
        "loop",  "wow",  "mom",  "tide",  "edit", "ton",  "not",
        "toot",  "hoot", "ohm",  "mho",   "tab",  "tact"}) {
    words.push_back(w);
  }
  return words;
}

// Every three-letter word over 23 letters: 12167 words, more than the
// match limit.
std::vector<std::string> ManyWords() {
  std::vector<std::string> words;
  for (char a = 'a'; a < 'x'; ++a) {
    for (char b = 'a'; b < 'x'; ++b) {
      for (char c = 'a'; c < 'x'; ++c) words.push_back({a, b, c});
    }
  }
  return words;
}

}  // namespace

class SearchViewTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void searchPerForm_data();
  void searchPerForm();
  void historyMirrorsSearches();
  void searchesKeepTheBoxUndoSteps();
  void refusals_data();
  void refusals();
  void stopKeepsResults();
  void limitStopsAfterMessage();
  void damagedFileIsNamedOncePerSearch();
  void wordsShowWhileRunning();
  void listIsClearedBeforeTheFirstStep();
  void layoutFollowsWindowSize();
  void rowsHoldTheirBoxes();
  void anagramNumbersShareARow();
  void crosswordLetterBoxesAndMalformedPatterns();
  void enterSearchesFromEveryControl();
  void everyLabelHasItsAltKey();
  void noDictionaryIsExplained();
  void ctrlTabWraps();
  void selectTabFocusesForm();
  void editCommands();
  void copyResults();
  void fontSurvivesRecreation();
  void driverPausesForModalDialogs();
  void driverNeverReenters();

 private:
  CSearchInfoView* Form(int tab) {
    view_->SelectTab(tab);
    return view_->GetActiveForm();
  }
  void RunToEnd() { QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 10000); }

  LayoutUnits units_;
  testing::ScratchDir scratch_;
  std::unique_ptr<CDictionary> small_;
  std::unique_ptr<CDictionary> many_;
  FakeHost host_;
  std::unique_ptr<CSearchView> view_;
};

void SearchViewTest::initTestCase() {
  QApplication::setEffectEnabled(Qt::UI_AnimateCombo, false);
  units_ = ComputeLayoutUnits(BaseTextMetrics{});
  small_ = OpenDictionaryFile(
      scratch_.Write("small.dic", testing::CompileWords(TestWords())).c_str());
  many_ = OpenDictionaryFile(
      scratch_.Write("many.dic", testing::CompileWords(ManyWords())).c_str());
  QVERIFY(small_ != nullptr);
  QVERIFY(many_ != nullptr);
}

void SearchViewTest::init() {
  DeleteRegTree(kCurrentUser, CSearchView::WindowKey().c_str());
  host_ = FakeHost();
  host_.dictionary = small_.get();
  view_ = std::make_unique<CSearchView>(&host_, units_);
  view_->resize(640, 480);
  view_->show();
  view_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(view_.get()));
}

void SearchViewTest::cleanup() { view_.reset(); }

void SearchViewTest::searchPerForm_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QStringList>("inputs");
  QTest::addColumn<int>("mode");
  QTest::addColumn<int>("another");
  QTest::newRow("crossword") << 0 << QStringList{"?at*", ""} << 0 << 0;
  QTest::newRow("crossword and") << 0 << QStringList{"*s", "?at*"} << 0 << 0;
  QTest::newRow("crossword lengths") << 0 << QStringList{"4"} << 0 << 0;
  QTest::newRow("anagram") << 1 << QStringList{"tea"} << 0 << 0;
  QTest::newRow("anagram blank") << 1 << QStringList{"Ta?", ""} << 0 << 0;
  QTest::newRow("anagram phrase")
      << 1 << QStringList{"catdog", "3,3"} << 0 << 0;
  QTest::newRow("anagram any lengths")
      << 1 << QStringList{"catdog", "", "2", "3"} << 0 << 0;
  QTest::newRow("hidden") << 2 << QStringList{"stae", "3", "s"} << 0 << 0;
  QTest::newRow("palindrome") << 3 << QStringList{""} << 0 << 0;
  QTest::newRow("reversal") << 3 << QStringList{"????"} << 0 << 1;
  QTest::newRow("rotation") << 3 << QStringList{""} << 3 << 0;
}

// Enter in the first box starts the search; the words are those of the
// same request run outside the window, and the focus is back in the box.
void SearchViewTest::searchPerForm() {
  QFETCH(int, tab);
  QFETCH(QStringList, inputs);
  QFETCH(int, mode);
  QFETCH(int, another);
  CSearchInfoView* form = Form(tab);
  for (int i = 0; i < inputs.size(); ++i) {
    form->boxes()[i]->setEditText(inputs[i]);
  }
  SearchRequestResult expected_request;
  std::vector<std::string> in;
  for (int i = 0; i < 4; ++i) {
    in.push_back(i < inputs.size() ? inputs[i].toStdString() : "");
  }
  InputHistory h1, h2, h3;
  switch (tab) {
    case 0:
      expected_request =
          BuildCrosswordRequest(in[0], in[1], &h1, &h2, small_.get());
      break;
    case 1:
      expected_request =
          BuildAnagramRequest({in[0], in[1], in[2], in[3]}, {}, small_.get());
      break;
    case 2:
      expected_request =
          BuildHiddenRequest(in[0], in[1], in[2], &h1, &h2, &h3, small_.get());
      break;
    default: {
      auto* palindrome = static_cast<CSearchInfoPalindromeView*>(form);
      palindrome->transformation()->setCurrentIndex(mode);
      palindrome->result()->setCurrentIndex(another);
      expected_request =
          BuildPalindromeRequest(mode, another, in[0], &h1, small_.get());
    }
  }
  const std::vector<std::string> expected =
      Reference(std::move(expected_request));
  QVERIFY(!expected.empty());

  CRecentTextCB* box = form->boxes().front();
  box->setFocus();
  QTRY_VERIFY(box->hasFocus());
  QVERIFY(view_->CanStartSearch());
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  QVERIFY(view_->IsSearching());
  QCOMPARE(host_.status, QString("Searching..."));
  QVERIFY(!view_->searchButton()->isEnabled());
  QVERIFY(view_->stopButton()->isEnabled());
  RunToEnd();

  QCOMPARE(Sorted(view_->ResultWords()), expected);
  QCOMPARE(view_->resultsList()->model()->rowCount(),
           static_cast<int>(expected.size()));
  QCOMPARE(host_.found, static_cast<int>(expected.size()));
  QCOMPARE(host_.begun, 1);
  QCOMPARE(host_.ended, 1);
  QTRY_VERIFY(box->hasFocus());
  QVERIFY(view_->searchButton()->isEnabled());
  QVERIFY(!view_->stopButton()->isEnabled());
}

void SearchViewTest::historyMirrorsSearches() {
  CRecentTextCB* box = Form(0)->boxes().front();
  for (const char* text : {"cat", "dog", "ca"}) {
    box->setEditText(text);
    view_->StartSearch();
    RunToEnd();
  }
  QCOMPARE(box->count(), 2);
  QCOMPARE(box->itemText(0), QString("ca"));
  QCOMPARE(box->itemText(1), QString("dog"));
  // The history never replaces what the user typed.
  QCOMPARE(box->currentText(), QString("ca"));
  // An empty first box cannot search.
  box->setEditText("");
  QVERIFY(!view_->CanStartSearch());
  QVERIFY(!view_->searchButton()->isEnabled());
}

// Refreshing the drop-down after a search leaves the box's text, cursor
// and undo steps alone, whether the entry is new, moves up, falls off the
// end, or was picked from the drop-down.
void SearchViewTest::searchesKeepTheBoxUndoSteps() {
  CRecentTextCB* box = Form(0)->boxes().front();
  QLineEdit* edit = box->lineEdit();
  box->setFocus();
  QTRY_VERIFY(box->hasFocus());
  const auto type_and_search = [&](const char* keys) {
    QTest::keyClicks(QApplication::focusWidget(), keys);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    RunToEnd();
  };
  const auto undo = [&] {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z,
                    Qt::ControlModifier);
    return box->currentText();
  };
  const auto items = [&] {
    QStringList texts;
    for (int i = 0; i < box->count(); ++i) texts.append(box->itemText(i));
    return texts;
  };

  // Typing runs together into one undo step.
  type_and_search("cat");
  QCOMPARE(items(), QStringList{"cat"});
  QCOMPARE(edit->cursorPosition(), 3);
  QVERIFY(!edit->isRedoAvailable());
  QCOMPARE(undo(), QString(""));
  type_and_search("dog");
  QCOMPARE(items(), (QStringList{"dog", "cat"}));
  QCOMPARE(undo(), QString(""));

  // An entry searched again moves up.
  type_and_search("cat");
  QCOMPARE(items(), (QStringList{"cat", "dog"}));
  edit->setCursorPosition(1);
  QTest::keyClicks(QApplication::focusWidget(), "o");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  RunToEnd();
  QCOMPARE(items(), (QStringList{"coat", "cat", "dog"}));
  QCOMPARE(edit->cursorPosition(), 2);
  QCOMPARE(undo(), QString("cat"));

  // An entry picked from the drop-down, then typed on.
  box->setCurrentIndex(2);
  QCOMPARE(box->currentText(), QString("dog"));
  edit->end(false);
  type_and_search("?");
  QCOMPARE(items(), (QStringList{"dog?", "coat", "cat", "dog"}));
  QCOMPARE(undo(), QString("dog"));

  // The oldest entries fall off the end.
  for (char second = 'a'; second < 'a' + InputHistory::kMaxEntries; ++second) {
    edit->clear();
    type_and_search(std::string{'b', second}.c_str());
  }
  const QStringList expected = {"bp", "bo", "bn", "bm", "bl", "bk", "bj", "bi",
                                "bh", "bg", "bf", "be", "bd", "bc", "bb", "ba"};
  QCOMPARE(items(), expected);
  QCOMPARE(undo(), QString(""));
  QCOMPARE(undo(), QString("bo"));
}

void SearchViewTest::refusals_data() {
  QTest::addColumn<int>("tab");
  QTest::addColumn<QStringList>("inputs");
  QTest::addColumn<int>("message");
  QTest::newRow("anagram too few letters")
      << 1 << QStringList{"ab", "????"} << kMsgAnagramNeedsMoreLetters;
  QTest::newRow("anagram words too long")
      << 1 << QStringList{"ab", "", "", "3"} << kMsgMinWordLengthTooLong;
  QTest::newRow("exclusive patterns")
      << 0 << QStringList{"c??", "????"} << kMsgPatternsExclusive;
  QTest::newRow("minimum length")
      << 2 << QStringList{"abc", "x", ""} << kMsgInvalidMinLength;
  QTest::newRow("silent") << 0 << QStringList{",3", ""} << 0;
}

// A refused request shows its warning and leaves the previous results.
void SearchViewTest::refusals() {
  QFETCH(int, tab);
  QFETCH(QStringList, inputs);
  QFETCH(int, message);
  Form(0)->boxes().front()->setEditText("*at");
  view_->StartSearch();
  RunToEnd();
  const std::vector<std::string> before = view_->ResultWords();
  QVERIFY(!before.empty());

  CSearchInfoView* form = Form(tab);
  for (int i = 0; i < inputs.size(); ++i) {
    form->boxes()[i]->setEditText(inputs[i]);
  }
  QString shown_title;
  QString shown_text;
  QMessageBox::Icon shown_icon = QMessageBox::NoIcon;
  WhenModal(view_.get(), [&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box == nullptr) {
      modal->close();
      return;
    }
    shown_title = box->windowTitle();
    shown_text = box->text();
    shown_icon = box->icon();
    box->accept();
  });
  view_->StartSearch();
  QVERIFY(!view_->IsSearching());
  QCOMPARE(host_.begun, 1);
  QCOMPARE(view_->ResultWords(), before);
  if (message == 0) {
    QVERIFY(shown_text.isEmpty());
    return;
  }
  QCOMPARE(shown_title, QString("Vocor"));
  QCOMPARE(shown_text, QString(MessageText(message)));
  QCOMPARE(shown_icon, QMessageBox::Warning);
}

void SearchViewTest::stopKeepsResults() {
  host_.dictionary = many_.get();
  Form(0)->boxes().front()->setEditText("*");
  view_->StartSearch();
  // Steps by hand: the idle driver only runs once the loop is reached.
  for (int i = 0; i < 150; ++i) QVERIFY(view_->SearchStep());
  view_->StopSearch();
  QVERIFY(!view_->IsSearching());
  QCOMPARE(host_.ended, 1);
  const std::vector<std::string> kept = view_->ResultWords();
  QVERIFY(kept.size() > 0 && kept.size() < 12167);
  QCOMPARE(host_.found, static_cast<int>(kept.size()));
  QTest::qWait(50);
  QCOMPARE(view_->ResultWords(), kept);
  QVERIFY(!view_->SearchStep());
  // Stop without a search is harmless.
  view_->StopSearch();
  QCOMPARE(host_.ended, 1);
}

// At 10000 words the message appears while the search still counts as
// running, nothing moves while it is open, and the 10000 words stay.
void SearchViewTest::limitStopsAfterMessage() {
  host_.dictionary = many_.get();
  CRecentTextCB* box = Form(0)->boxes().front();
  box->setEditText("???");
  box->setFocus();
  QTRY_VERIFY(box->hasFocus());
  bool running_while_shown = false;
  int progress_at_open = -1;
  int progress_after_wait = -2;
  QString text;
  WhenModal(view_.get(), [&](QWidget* modal) {
    auto* message = qobject_cast<QMessageBox*>(modal);
    if (message == nullptr) {
      modal->close();
      return;
    }
    text = message->text();
    running_while_shown = view_->IsSearching();
    progress_at_open = host_.progress_calls;
    QTest::qWait(150);
    progress_after_wait = host_.progress_calls;
    message->accept();
  });
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(text, QString(MessageText(kMsgMatchLimit)));
  QVERIFY(running_while_shown);
  QCOMPARE(progress_after_wait, progress_at_open);
  QCOMPARE(view_->resultsList()->model()->rowCount(), 10000);
  QCOMPARE(host_.found, 10000);
  QCOMPARE(host_.ended, 1);
}

// Whichever way a search over a set with a damaged member ends, one
// warning names the file, after the words found are listed; they stay.
void SearchViewTest::damagedFileIsNamedOncePerSearch() {
  const std::string path =
      scratch_.Write("damaged.dic", testing::RootCountOneTooHigh());
  std::unique_ptr<CDictionary> damaged = OpenDictionaryFile(path.c_str());
  QVERIFY(damaged != nullptr);
  CDictionarySet with_small;
  with_small.members().AddTail(small_.get());
  with_small.members().AddTail(damaged.get());
  CDictionarySet with_many;
  with_many.members().AddTail(many_.get());
  with_many.members().AddTail(damaged.get());
  const QString warning = QString::fromStdString(
      "The dictionary file \"" + path +
      "\" is damaged.  The words found may be incomplete.");
  int listed_at_warning = -1;
  bool running_at_warning = true;
  testing::MessageBoxAnswerer answerer({QMessageBox::Ok});
  answerer.OnEachBox([&](QMessageBox* box) {
    if (box->text() != warning) return;
    QCOMPARE(box->windowTitle(), QString("Vocor"));
    QCOMPARE(box->icon(), QMessageBox::Warning);
    listed_at_warning = static_cast<int>(view_->ResultWords().size());
    running_at_warning = view_->IsSearching();
  });
  CRecentTextCB* box = Form(0)->boxes().front();

  // Exhausted.
  host_.dictionary = &with_small;
  box->setEditText("*");
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(answerer.texts(), QStringList{warning});
  QVERIFY(!running_at_warning);
  const int listed = static_cast<int>(view_->ResultWords().size());
  QVERIFY(listed >= static_cast<int>(TestWords().size()));
  QCOMPARE(listed_at_warning, listed);

  // At the match limit, after its own message.
  host_.dictionary = &with_many;
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(answerer.texts(),
           (QStringList{warning, MessageText(kMsgMatchLimit), warning}));
  QCOMPARE(listed_at_warning, 10000);

  // Stopped before it read a word: the file is known to be damaged.
  view_->StartSearch();
  view_->StopSearch();
  QCOMPARE(answerer.texts().size(), 4);
  QCOMPARE(answerer.texts().back(), warning);

  // Not over the damaged file: no warning.
  host_.dictionary = many_.get();
  box->setEditText("b*");
  view_->StartSearch();
  RunToEnd();
  view_->StartSearch();
  view_->StopSearch();
  QCOMPARE(answerer.texts().size(), 4);
}

// The list shows words while the search runs (not only at its end), and
// its columns are as wide as the widest word.
void SearchViewTest::wordsShowWhileRunning() {
  host_.dictionary = many_.get();
  Form(0)->boxes().front()->setEditText("*");
  QAbstractItemModel* model = view_->resultsList()->model();
  bool shown_while_running = false;
  connect(model, &QAbstractItemModel::modelReset, view_.get(), [&] {
    if (model->rowCount() > 0 && model->rowCount() < 10000) {
      shown_while_running = shown_while_running || view_->IsSearching();
    }
  });
  WhenModal(view_.get(), [](QWidget* modal) { modal->close(); });
  view_->StartSearch();
  RunToEnd();
  QVERIFY(shown_while_running);

  Form(0)->boxes().front()->setEditText("abracadabra");
  host_.dictionary = small_.get();
  view_->StartSearch();
  RunToEnd();
  QListView* list = view_->resultsList();
  QCOMPARE(model->rowCount(), 1);
  const int needed = list->fontMetrics().horizontalAdvance("abracadabra");
  QVERIFY(list->visualRect(model->index(0, 0)).width() > needed);
}

// A search may run many steps before its first word: the another-word
// search over a large text list first builds the list's word index. The
// words of the search before must be gone from the screen by then, not
// linger beside "Found 0".
void SearchViewTest::listIsClearedBeforeTheFirstStep() {
  Form(0)->boxes().front()->setEditText("*");
  view_->StartSearch();
  RunToEnd();
  QVERIFY(view_->resultsList()->model()->rowCount() > 0);
  QTest::qWait(20);

  std::string text = "stop\npots\n";
  for (int i = 0; i < 30000; ++i) {
    std::string digits = std::to_string(i);
    for (char& c : digits) c = static_cast<char>('a' + (c - '0'));
    text += "q" + digits + "z\n";
  }
  std::unique_ptr<CDictionary> large =
      OpenDictionaryFile(scratch_.Write("large.txt", text).c_str());
  QVERIFY(large != nullptr);
  host_.dictionary = large.get();
  auto* form = static_cast<CSearchInfoPalindromeView*>(Form(3));
  form->transformation()->setCurrentIndex(kReverse);
  form->result()->setCurrentIndex(kAnotherWord);
  form->boxes().front()->setEditText("");

  QAbstractItemModel* model = view_->resultsList()->model();
  bool painted_empty = false;
  EventWatcher paints(view_->resultsList()->viewport(), QEvent::Paint,
                      [&] { painted_empty |= model->rowCount() == 0; });
  int first_slice_ended = -1;
  host_.on_progress = [&] {
    if (first_slice_ended < 0) first_slice_ended = painted_empty ? 1 : 0;
  };
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(first_slice_ended, 1);
  QCOMPARE(view_->ResultWords(), (std::vector<std::string>{"pots", "stop"}));
}

// Narrow: labels keep 16 average widths, boxes at least 10, the buttons
// their width (pushed out rather than squeezed). Low: the list gets no
// height rather than the tabs moving.
void SearchViewTest::layoutFollowsWindowSize() {
  for (const QSize size : {QSize(640, 480), QSize(120, 480), QSize(640, 40)}) {
    view_->resize(size);
    CSearchInfoView* form = Form(0);
    QTRY_VERIFY(form->width() > 0);
    // A row's first label keeps 16 average widths; one beside a box its
    // 14, or its text's width when wider ("Must not contain:").
    for (QLabel* label : form->findChildren<QLabel*>()) {
      const bool first = label->x() == CSearchInfoView::kMargin;
      QCOMPARE(label->width(),
               first ? 16 * units_.w
                     : SecondLabelWidth(units_, label->sizeHint().width()));
    }
    for (CRecentTextCB* box : form->boxes()) {
      QVERIFY(box->width() >= 10 * units_.w);
      QVERIFY(box->y() + box->height() <= form->height());
    }
    // The font's button width, or what the buttons ask for if more.
    QCOMPARE(view_->searchButton()->width(),
             std::max({units_.bw, view_->searchButton()->sizeHint().width(),
                       view_->stopButton()->sizeHint().width()}));
    QListView* list = view_->resultsList();
    QVERIFY(list->y() >= view_->searchButton()->y());
    QCOMPARE(list->width(), size.width());
    if (size.height() < 100) QCOMPARE(list->height(), 0);
  }
}

// Every box and list is as high as its style wants, and the rows, the
// buttons and the tab pane keep them apart: nothing overlaps, nothing
// reaches the pane's border.
void SearchViewTest::rowsHoldTheirBoxes() {
  auto* tabs = view_->findChild<QTabWidget*>();
  for (int tab = 0; tab < 4; ++tab) {
    CSearchInfoView* form = Form(tab);
    QTRY_VERIFY(form->isVisible());
    const QList<QComboBox*> boxes = form->findChildren<QComboBox*>();
    for (QComboBox* box : boxes) {
      QCOMPARE(box->height(), box->sizeHint().height());
      // Inside the form, which leaves its margin to the pane's frame.
      QVERIFY(box->geometry().bottom() <
              form->height() - CSearchInfoView::kMargin);
      for (QComboBox* other : boxes) {
        QVERIFY2(other == box || !box->geometry().intersects(other->geometry()),
                 qPrintable(form->caption()));
      }
    }
    // A label's text is level with its box's.
    for (QLabel* label : form->findChildren<QLabel*>()) {
      const QRect box = label->buddy()->geometry();
      QVERIFY(std::abs(label->geometry().center().y() - box.center().y()) <= 1);
    }
    QVERIFY(form->geometry().bottom() < tabs->height());
  }
  const QRect search = view_->searchButton()->geometry();
  const QRect stop = view_->stopButton()->geometry();
  QVERIFY(!search.intersects(stop));
  QVERIFY(search.height() >= view_->searchButton()->sizeHint().height());
  QVERIFY(stop.bottom() < view_->resultsList()->y());
}

// The anagram form's two numbers share a row, so no form is taller than
// the hidden-word form's three rows and the pane is as low as it can be.
void SearchViewTest::anagramNumbersShareARow() {
  CSearchInfoView* anagram = Form(1);
  QTRY_VERIFY(anagram->isVisible());
  const std::vector<CRecentTextCB*>& boxes = anagram->boxes();
  QCOMPARE(boxes.size(), size_t{4});
  QCOMPARE(boxes[2]->y(), boxes[3]->y());
  QVERIFY(boxes[2]->geometry().right() < boxes[3]->x());
  QVERIFY(boxes[1]->geometry().bottom() < boxes[2]->y());
  const int hidden_height = Form(2)->GetFormHeight();
  QCOMPARE(anagram->GetFormHeight(), hidden_height);
  for (int tab = 0; tab < 4; ++tab) {
    QVERIFY(Form(tab)->GetFormHeight() <= hidden_height);
  }
}

// The crossword's letter boxes share a row, are reached by their Alt keys,
// keep histories of their own and shape the search; a malformed pattern
// brings a warning naming its fault, after which the faulty character is
// selected in its box and the earlier results stay.
void SearchViewTest::crosswordLetterBoxesAndMalformedPatterns() {
  // A word list: its filter runs the pattern language as the binary
  // reader does.
  std::string list;
  for (const std::string& word : TestWords()) list += word + "\n";
  CDictionaryTextFile words;
  words.SetFileName(scratch_.Write("words.txt", list).c_str());
  QVERIFY(words.Open());
  host_.dictionary = &words;
  CSearchInfoView* form = Form(0);
  QTRY_VERIFY(form->isVisible());
  const std::vector<CRecentTextCB*>& boxes = form->boxes();
  QCOMPARE(boxes.size(), size_t{4});
  QCOMPARE(boxes[2]->y(), boxes[3]->y());
  QVERIFY(boxes[1]->geometry().bottom() < boxes[2]->y());
  QCOMPARE(form->GetFormHeight(), Form(2)->GetFormHeight());
  form = Form(0);

  const auto press = [](const QKeySequence& keys) {
    QTest::keySequence(QApplication::focusWidget(), keys);
  };
  view_->resultsList()->setFocus();
  QTRY_VERIFY(view_->resultsList()->hasFocus());
  press(QKeySequence("Alt+N"));
  QTRY_COMPARE(QApplication::focusWidget(), boxes[3]);
  QTest::keyClicks(QApplication::focusWidget(), "A");
  press(QKeySequence("Alt+P"));
  QTRY_COMPARE(QApplication::focusWidget(), boxes[0]);
  QTest::keyClicks(QApplication::focusWidget(), "#@#");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  RunToEnd();
  const std::vector<std::string> found = Sorted(view_->ResultWords());
  InputHistory h1, h2, h3, h4;
  QCOMPARE(found, Reference(BuildCrosswordRequest(
                      CrosswordInputs{"#@#", "", "", "A"},
                      CrosswordHistories{&h1, &h2, &h3, &h4}, &words)));
  QVERIFY(std::find(found.begin(), found.end(), "ton") != found.end());
  for (const std::string& word : found) QVERIFY(word.find('a') == word.npos);
  QCOMPARE(boxes[3]->count(), 1);
  QCOMPARE(boxes[3]->itemText(0), QString("A"));
  QCOMPARE(boxes[2]->count(), 0);  // empty: not entered

  press(QKeySequence("Alt+C"));
  QTRY_COMPARE(QApplication::focusWidget(), boxes[2]);
  QTest::keyClicks(QApplication::focusWidget(), "m");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  RunToEnd();
  QCOMPARE(view_->ResultWords(), (std::vector<std::string>{"mom"}));
  QCOMPARE(boxes[2]->itemText(0), QString("m"));
  QCOMPARE(boxes[0]->count(), 1);  // the same pattern, entered once

  struct Malformed {
    int box;
    const char* text;
    int fault;  // 0-based, in characters
    const char* start;
  };
  const Malformed cases[] = {{0, "ab[cd", 2, "The pattern is not understood"},
                             {1, "\xc3\xa9{t", 1, "The second pattern"}};
  for (const Malformed& c : cases) {
    boxes[0]->setEditText("#@#");
    boxes[1]->setEditText("");
    boxes[c.box]->setEditText(QString::fromUtf8(c.text));
    boxes[2]->setFocus();
    QTRY_VERIFY(boxes[2]->hasFocus());
    QString shown;
    WhenModal(view_.get(), [&](QWidget* modal) {
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box != nullptr) shown = box->text();
      modal->close();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTRY_VERIFY(!shown.isEmpty());
    QVERIFY2(shown.startsWith(c.start), qPrintable(shown));
    QVERIFY2(shown.contains(QString("position %1").arg(c.fault + 1)),
             qPrintable(shown));
    QVERIFY(!view_->IsSearching());
    QCOMPARE(view_->ResultWords(), (std::vector<std::string>{"mom"}));
    // The offscreen platform leaves the window inactive once the box has
    // closed; activated again, it gives the focus to the box at fault.
    view_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(view_.get()));
    QTRY_COMPARE(QApplication::focusWidget(), boxes[c.box]);
    QCOMPARE(boxes[c.box]->lineEdit()->selectionStart(), c.fault);
    QCOMPARE(boxes[c.box]->lineEdit()->selectedText(),
             QString::fromUtf8(c.text).mid(c.fault, 1));
  }
}

// Enter in any box or list of any form starts the search.
void SearchViewTest::enterSearchesFromEveryControl() {
  Form(0)->boxes().front()->setEditText("c?t");
  Form(1)->boxes().front()->setEditText("tea");
  Form(2)->boxes().front()->setEditText("stae");
  int searches = 0;
  for (int tab = 0; tab < 4; ++tab) {
    CSearchInfoView* form = Form(tab);
    QList<QComboBox*> controls = form->findChildren<QComboBox*>();
    QVERIFY(!controls.isEmpty());
    for (QComboBox* control : controls) {
      control->setFocus();
      QTRY_VERIFY(control->hasFocus());
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
      QVERIFY2(host_.begun == ++searches, qPrintable(form->caption()));
      RunToEnd();
      QVERIFY(!control->view()->isVisible());
    }
  }
  // Enter in an open list picks the entry and searches nothing.
  auto* palindrome = static_cast<CSearchInfoPalindromeView*>(Form(3));
  palindrome->transformation()->setFocus();
  QTRY_VERIFY(palindrome->transformation()->hasFocus());
  palindrome->transformation()->showPopup();
  QTRY_VERIFY(palindrome->transformation()->view()->isVisible());
  QTest::keyClick(palindrome->transformation()->view(), Qt::Key_Down);
  QTest::keyClick(palindrome->transformation()->view(), Qt::Key_Return);
  QTRY_VERIFY(!palindrome->transformation()->view()->isVisible());
  QCOMPARE(palindrome->transformation()->currentIndex(), 1);
  QCOMPARE(host_.begun, searches);
}

// Every label of every form has an Alt key that moves the focus to its
// control; no two labels of a form share one, and a label that appears
// on several forms has the same key on each.
void SearchViewTest::everyLabelHasItsAltKey() {
  std::map<QString, QKeySequence> key_of_text;
  for (int tab = 0; tab < 4; ++tab) {
    CSearchInfoView* form = Form(tab);
    QTRY_VERIFY(form->isVisible());
    std::set<QString> keys;
    for (QLabel* label : form->findChildren<QLabel*>()) {
      const QKeySequence key = QKeySequence::mnemonic(label->text());
      QVERIFY2(!key.isEmpty(), qPrintable(label->text()));
      QVERIFY2(keys.insert(key.toString()).second, qPrintable(label->text()));
      QString text = label->text();
      text.remove('&');
      const auto known = key_of_text.emplace(text, key).first;
      QVERIFY2(known->second == key, qPrintable(label->text()));
      QVERIFY(label->buddy() != nullptr);
      view_->resultsList()->setFocus();
      QTRY_VERIFY(view_->resultsList()->hasFocus());
      QTest::keySequence(QApplication::focusWidget(), key);
      QTRY_COMPARE(QApplication::focusWidget(), label->buddy());
    }
  }
}

// Without any dictionary installed a search cannot find anything: the
// status line says so, whether the request is refused or runs.
void SearchViewTest::noDictionaryIsExplained() {
  CDictionarySet all;
  all.MarkAsContainer();
  host_.dictionary = &all;
  const QString explanation = QString::fromUtf8(kNoDictionaryStatus);
  Form(0)->boxes().front()->setEditText("c?t");
  view_->StartSearch();
  QVERIFY(!view_->IsSearching());
  QCOMPARE(host_.begun, 0);
  QCOMPARE(host_.status, explanation);

  host_.status.clear();
  Form(1)->boxes().front()->setEditText("tea");
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(host_.found, 0);
  QCOMPARE(host_.status, explanation);

  // An empty named set is no reason to send the user to the installer.
  CDictionarySet named;
  host_.dictionary = &named;
  host_.status.clear();
  view_->StartSearch();
  RunToEnd();
  QCOMPARE(host_.status, QString("Searching..."));
}

void SearchViewTest::ctrlTabWraps() {
  const int last = 4;  // Wordplay
  view_->SelectTab(last);
  QTRY_VERIFY(
      view_->GetActiveForm()->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                  Qt::ControlModifier);
  QCOMPARE(view_->CurrentTab(), 0);
  QTRY_VERIFY(
      view_->GetActiveForm()->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                  Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(view_->CurrentTab(), last);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab,
                  Qt::ControlModifier);
  QCOMPARE(view_->CurrentTab(), 0);
  // From the results list too.
  view_->resultsList()->setFocus();
  QTRY_VERIFY(view_->resultsList()->hasFocus());
  QTest::keyClick(view_->resultsList(), Qt::Key_Tab, Qt::ControlModifier);
  QCOMPARE(view_->CurrentTab(), 1);
}

// The tab commands put the focus into the form, on its first box unless
// another control of the form had it before; F6 alternates with the list.
void SearchViewTest::selectTabFocusesForm() {
  view_->SelectTab(2);
  CSearchInfoView* hidden = view_->GetActiveForm();
  QTRY_COMPARE(QApplication::focusWidget(), hidden->boxes()[0]);
  hidden->boxes()[1]->setFocus();
  view_->SelectTab(0);
  view_->SelectTab(2);
  QTRY_COMPARE(QApplication::focusWidget(), hidden->boxes()[1]);
  view_->FocusNextPane(false);
  QTRY_VERIFY(view_->resultsList()->hasFocus());
  view_->FocusNextPane(true);
  QTRY_COMPARE(QApplication::focusWidget(), hidden->boxes()[1]);
}

void SearchViewTest::editCommands() {
  CRecentTextCB* box = Form(0)->boxes().front();
  box->setFocus();
  QTRY_VERIFY(box->hasFocus());
  QTest::keyClicks(QApplication::focusWidget(), "c?t");
  QVERIFY(view_->CanUndo());
  QVERIFY(!view_->CanCut());
  QVERIFY(!view_->CanCopy());
  box->lineEdit()->selectAll();
  QVERIFY(view_->CanCut());
  QVERIFY(view_->CanCopy());
  view_->Cut();
  QCOMPARE(box->currentText(), QString());
  QCOMPARE(QApplication::clipboard()->text(), QString("c?t"));
  QVERIFY(view_->CanPaste());
  view_->Paste();
  view_->Paste();
  QCOMPARE(box->currentText(), QString("c?tc?t"));
  view_->Undo();
  QCOMPARE(box->currentText(), QString("c?t"));
  // Away from the boxes only Copy of the results list remains.
  view_->resultsList()->setFocus();
  QTRY_VERIFY(view_->resultsList()->hasFocus());
  QVERIFY(!view_->CanUndo());
  QVERIFY(!view_->CanCut());
  QVERIFY(!view_->CanPaste());
  QVERIFY(view_->CanCopy());
}

void SearchViewTest::copyResults() {
  Form(0)->boxes().front()->setEditText("?at*");
  view_->StartSearch();
  RunToEnd();
  const std::vector<std::string> words = view_->ResultWords();
  QVERIFY(words.size() >= 4);
  QListView* list = view_->resultsList();
  list->setFocus();
  QTRY_VERIFY(list->hasFocus());
  view_->Copy();
  std::string all;
  for (const std::string& word : words) all += word + "\n";
  QCOMPARE(QApplication::clipboard()->text().toStdString(), all);
  // Selected in reverse order, copied in list order.
  list->selectionModel()->select(list->model()->index(3, 0),
                                 QItemSelectionModel::Select);
  list->selectionModel()->select(list->model()->index(1, 0),
                                 QItemSelectionModel::Select);
  view_->Copy();
  QCOMPARE(QApplication::clipboard()->text().toStdString(),
           words[1] + "\n" + words[3] + "\n");
}

void SearchViewTest::fontSurvivesRecreation() {
  QCOMPARE(view_->resultsList()->font(),
           QFontDatabase::systemFont(QFontDatabase::GeneralFont));
  QFont chosen;
  WhenModal(view_.get(), [&](QWidget* modal) {
    auto* dialog = qobject_cast<QFontDialog*>(modal);
    if (dialog == nullptr) {
      modal->close();
      return;
    }
    QFont font = dialog->currentFont();
    font.setPixelSize(27);
    font.setBold(true);
    dialog->setCurrentFont(font);
    chosen = dialog->currentFont();
    dialog->accept();
  });
  view_->ChangeFont();
  QCOMPARE(QFontInfo(view_->resultsList()->font()).pixelSize(),
           QFontInfo(chosen).pixelSize());

  view_ = std::make_unique<CSearchView>(&host_, units_);
  const QFont restored = view_->resultsList()->font();
  QCOMPARE(restored.family(), chosen.family());
  QCOMPARE(restored.bold(), chosen.bold());
  QCOMPARE(QFontInfo(restored).pixelSize(), QFontInfo(chosen).pixelSize());

  // A cancelled chooser changes nothing.
  WhenModal(view_.get(), [](QWidget* modal) { modal->close(); });
  view_->ChangeFont();
  QCOMPARE(view_->resultsList()->font(), restored);
}

void SearchViewTest::driverPausesForModalDialogs() {
  int steps = 0;
  IdleSearchDriver driver([&] { return ++steps < 1000000; });
  driver.Start();
  QTRY_VERIFY(steps > 0);
  int at_open = -1;
  int at_close = -2;
  QDialog dialog;
  QTimer::singleShot(20, [&] {
    at_open = steps;
    QTest::qWait(100);
    at_close = steps;
    dialog.accept();
  });
  dialog.exec();
  QCOMPARE(at_close, at_open);
  const int after = steps;
  QTRY_VERIFY(steps > after);
  driver.Stop();
}

// A step that spins an event loop of its own (as a message box does) is not
// entered again from it.
void SearchViewTest::driverNeverReenters() {
  int depth = 0;
  int deepest = 0;
  int steps = 0;
  IdleSearchDriver driver([&] {
    ++depth;
    deepest = std::max(deepest, depth);
    if (++steps == 3) {
      // Not a modal dialog: the modal pause must not hide the guard.
      QEventLoop loop;
      QTimer::singleShot(100, &loop, &QEventLoop::quit);
      loop.exec();
    }
    --depth;
    return steps < 10;
  });
  driver.Start();
  QTRY_VERIFY(!driver.active());
  QCOMPARE(steps, 10);
  QCOMPARE(deepest, 1);
}

}  // namespace vocor

QTEST_MAIN(vocor::SearchViewTest)
#include "search_view_test.moc"
