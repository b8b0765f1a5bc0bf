// The results list by score, against a fake frame, a scored word list and
// a scored dictionary file: the best-first order and its switch, the minimum
// score, the tool tips and the lighter colour of rare words, Copy in the
// order shown, a cut-off search run again for the new order, and both
// settings across a restart of the view.
#include <QApplication>
#include <QClipboard>
#include <QInputDialog>
#include <QListView>
#include <QSpinBox>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/search/recent_text_cb.h"
#include "app/search/result_settings.h"
#include "app/search/search_host.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/vocor_file_writer.h"
#include "search/result_options.h"
#include "search/search_request.h"
#include "search/search_run.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

using ScoredWords = std::vector<std::pair<std::string, int>>;

// A binary dictionary of `words`, each with its score, in `dir`.
std::unique_ptr<CDictionary> OpenScoredDic(const testing::ScratchDir& dir,
                                           const std::string& name,
                                           const ScoredWords& words) {
  std::vector<std::string> texts;
  std::vector<uint8_t> scores;
  for (const auto& [text, score] : words) {
    texts.push_back(text);
    scores.push_back(static_cast<uint8_t>(score));
  }
  VocorFileInfo info;
  info.name = name;
  std::string bytes, error;
  if (!BuildVocorFile(texts, scores, info, &bytes, nullptr, &error)) {
    return nullptr;
  }
  return OpenDictionaryFile(dir.Write(name + ".dic", bytes).c_str());
}

class FakeHost : public SearchHost {
 public:
  CDictionary* ActiveDictionary() override { return dictionary; }
  void BeginSearchProgress(int) override { ++begun; }
  void SetSearchStatus(const QString& text) override { status = text; }
  void SetSearchProgress(int) override {}
  void EndSearchProgress() override {}
  void SetFoundCount(int count) override { found = count; }
  void UpdateCommandStates() override {}

  CDictionary* dictionary = nullptr;
  int begun = 0;
  int found = -1;
  QString status;
};

// Three-letter words, ascending as a letter tree yields them.
ScoredWords SmallWords() {
  return {{"act", 95}, {"bat", 50}, {"cab", 29}, {"cat", 80},
          {"cob", 30}, {"cot", 20}, {"cut", 50}, {"tac", 5}};
}

// 12167 three-letter words, more than the match limit, with scores spread
// over 1..100 so that the best 10000 differ from the first 10000.
ScoredWords ManyWords() {
  ScoredWords words;
  int n = 0;
  for (char a = 'a'; a < 'x'; ++a) {
    for (char b = 'a'; b < 'x'; ++b) {
      for (char c = 'a'; c < 'x'; ++c) {
        words.push_back({{a, b, c}, 1 + (n++ * 37) % 100});
      }
    }
  }
  return words;
}

std::vector<std::string> Texts(const ScoredWords& words) {
  std::vector<std::string> texts;
  for (const auto& word : words) texts.push_back(word.first);
  return texts;
}

// What a search of `pattern` keeps with `options`, outside the window: the
// same request and options run by the command-line searcher's loop, in
// `order`.
std::vector<std::string> Reference(const CDictionary* dictionary,
                                   const std::string& pattern,
                                   const ResultOptions& options) {
  SearchRequestResult request =
      BuildCrosswordRequest(pattern, "", nullptr, nullptr, dictionary);
  CSearchRun run(ApplyResultOptions(std::move(request.query), options),
                 std::make_unique<CResultsSinkSorted>(), nullptr,
                 CSearchRun::kDefaultLimit);
  while (run.Step()) {
  }
  std::vector<std::string> words;
  auto* sink = static_cast<CResultsSinkSorted*>(run.sink());
  for (const ScoredView& view : sink->OrderedResults(options.order)) {
    words.emplace_back(view.text);
  }
  return words;
}

}  // namespace

class ScoredResultsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void orderScoresAndCopyFollowTheSettings();
  void minimumScoreRunsTheSearchAgainAndSurvivesRestart();
  void cutOffSearchRunsAgainForTheNewOrder();
  void runningSearchRunsAgainForTheNewOrder();

 private:
  void Search(const QString& pattern) {
    view_->SelectTab(0);
    view_->GetActiveForm()->boxes().front()->setEditText(pattern);
    view_->StartSearch();
    QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 20000);
  }
  void NewView() {
    view_ = std::make_unique<CSearchView>(&host_, units_);
    view_->resize(640, 480);
    view_->show();
  }
  QVariant Data(int row, int role) const {
    QAbstractItemModel* model = view_->resultsList()->model();
    return model->data(model->index(row, 0), role);
  }
  std::string CopiedText() {
    QListView* list = view_->resultsList();
    list->clearSelection();
    list->setFocus();
    if (!QTest::qWaitFor([list] { return list->hasFocus(); }, 5000)) return {};
    view_->Copy();
    return QApplication::clipboard()->text().toStdString();
  }

  LayoutUnits units_ = ComputeLayoutUnits(BaseTextMetrics{});
  testing::ScratchDir scratch_;
  std::unique_ptr<CDictionary> small_;
  std::unique_ptr<CDictionary> many_;
  FakeHost host_;
  std::unique_ptr<CSearchView> view_;
};

void ScoredResultsTest::initTestCase() {
  // The small one a word list with scores, out of order, one word with
  // two scores (the higher counts) and one without (the default).
  std::string list =
      "tac;5\nact;95\ncot;20\ncut;50\ncab;29\ncob;30\n"
      "cat;12\nbat\ncat;80\n";
  small_ = OpenDictionaryFile(scratch_.Write("small.txt", list).c_str());
  many_ = OpenScoredDic(scratch_, "many", ManyWords());
  QVERIFY(small_ != nullptr && small_->HasScores());
  QVERIFY(many_ != nullptr && many_->HasScores());
}

void ScoredResultsTest::init() {
  DeleteRegTree(kCurrentUser, CSearchView::WindowKey().c_str());
  host_ = FakeHost();
  host_.dictionary = small_.get();
  NewView();
  view_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(view_.get()));
}

void ScoredResultsTest::cleanup() { view_.reset(); }

// Alphabetical at first; Best First sorts the finished search again
// without running it; the tool tips give the scores, rare words are
// lighter, and Copy gives the words in the order shown.
void ScoredResultsTest::orderScoresAndCopyFollowTheSettings() {
  QCOMPARE(view_->resultOrder(), ResultOrder::kAlphabetical);
  QCOMPARE(view_->minimumScore(), kMinScore);
  Search("*");
  const std::vector<std::string> alphabetical = Texts(SmallWords());
  QCOMPARE(view_->ResultWords(), alphabetical);
  QCOMPARE(host_.begun, 1);

  view_->SetResultOrder(ResultOrder::kByScore);
  const std::vector<std::string> best_first = {"act", "cat", "bat", "cut",
                                               "cob", "cab", "cot", "tac"};
  QCOMPARE(view_->ResultWords(), best_first);
  QCOMPARE(host_.begun, 1);  // sorted, not searched again
  QCOMPARE(host_.found, 8);

  QCOMPARE(Data(0, Qt::ToolTipRole).toString(), QStringLiteral("Score: 95"));
  QCOMPARE(Data(7, Qt::ToolTipRole).toString(), QStringLiteral("Score: 5"));
  // "cob" scores 30, "cab" 29: the threshold.
  const QColor weak =
      view_->resultsList()->palette().color(QPalette::PlaceholderText);
  QVERIFY(!Data(4, Qt::ForegroundRole).isValid());
  QCOMPARE(Data(5, Qt::ForegroundRole).value<QBrush>().color(), weak);
  // A dark theme: weak words follow it and stay readable.
  QPalette dark = view_->resultsList()->palette();
  dark.setColor(QPalette::Base, QColor(30, 30, 30));
  dark.setColor(QPalette::Text, QColor(230, 230, 230));
  dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  view_->resultsList()->setPalette(dark);
  QCOMPARE(Data(5, Qt::ForegroundRole).value<QBrush>().color(),
           QColor(150, 150, 150));

  std::string expected;
  for (const std::string& word : best_first) expected += word + "\n";
  QCOMPARE(CopiedText(), expected);

  view_->SetResultOrder(ResultOrder::kAlphabetical);
  QCOMPARE(view_->ResultWords(), alphabetical);
  QCOMPARE(host_.begun, 1);
}

// The minimum score is asked for in a dialog; OK runs the search shown
// again without the weaker words. A new view (the window restarted) has
// both settings and searches with them.
void ScoredResultsTest::minimumScoreRunsTheSearchAgainAndSurvivesRestart() {
  Search("*");
  view_->SetResultOrder(ResultOrder::kByScore);
  QString label;
  QTimer::singleShot(0, [&] {
    auto* dialog =
        qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
    QVERIFY(dialog != nullptr);
    label = dialog->labelText();
    QCOMPARE(dialog->intValue(), kMinScore);
    dialog->findChild<QSpinBox*>()->setValue(30);
    dialog->accept();
  });
  view_->ChooseMinimumScore();
  QVERIFY(label.contains(QStringLiteral("scoring under")));
  QCOMPARE(view_->minimumScore(), 30);
  QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 20000);
  QCOMPARE(host_.begun, 2);
  const std::vector<std::string> kept = {"act", "cat", "bat", "cut", "cob"};
  QCOMPARE(view_->ResultWords(), kept);
  QCOMPARE(host_.found, 5);
  QCOMPARE(host_.status.toStdString(), MinimumScoreStatus(30));

  // A cancelled dialog changes nothing.
  QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
  view_->ChooseMinimumScore();
  QCOMPARE(view_->minimumScore(), 30);
  QCOMPARE(host_.begun, 2);

  NewView();
  QCOMPARE(view_->resultOrder(), ResultOrder::kByScore);
  QCOMPARE(view_->minimumScore(), 30);
  QVERIFY(view_->ResultWords().empty());
  Search("c*");
  QCOMPARE(view_->ResultWords(),
           (std::vector<std::string>{"cat", "cut", "cob"}));
  // Back to everything: the search shown runs again.
  view_->SetMinimumScore(kMinScore);
  QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 20000);
  QCOMPARE(view_->ResultWords(),
           (std::vector<std::string>{"cat", "cut", "cob", "cab", "cot"}));
  QVERIFY(!host_.status.contains(QStringLiteral("left out")));
}

// A search cut off at the match limit keeps the words its order chose:
// choosing the other order runs it again, and the window then lists what
// the same search keeps outside the window.
void ScoredResultsTest::cutOffSearchRunsAgainForTheNewOrder() {
  host_.dictionary = many_.get();
  testing::MessageBoxAnswerer answers({QMessageBox::Ok});
  Search("???");
  QCOMPARE(answers.texts().size(), 1);
  QCOMPARE(view_->ResultWords(),
           Reference(many_.get(), "???",
                     {ResultOrder::kAlphabetical, kMinScore,
                      CSearchRun::kDefaultLimit}));
  view_->SetResultOrder(ResultOrder::kByScore);
  QCOMPARE(host_.begun, 2);
  QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 20000);
  QCOMPARE(answers.texts().size(), 2);
  const std::vector<std::string> words = view_->ResultWords();
  QCOMPARE(static_cast<int>(words.size()), CSearchRun::kDefaultLimit);
  QCOMPARE(words, Reference(many_.get(), "???",
                            {ResultOrder::kByScore, kMinScore,
                             CSearchRun::kDefaultLimit}));
  // The best 10000 leave out the weakest sixth: no word under 15 stays,
  // whereas the first 10000 by the alphabet hold words of every score.
  QCOMPARE(Data(0, Qt::ToolTipRole).toString(), QStringLiteral("Score: 100"));
  QCOMPARE(Data(CSearchRun::kDefaultLimit - 1, Qt::ToolTipRole).toString(),
           QStringLiteral("Score: 18"));
}

void ScoredResultsTest::runningSearchRunsAgainForTheNewOrder() {
  host_.dictionary = many_.get();
  view_->SelectTab(0);
  view_->GetActiveForm()->boxes().front()->setEditText("a*");
  view_->StartSearch();
  for (int i = 0; i < 30; ++i) QVERIFY(view_->SearchStep());
  view_->SetResultOrder(ResultOrder::kByScore);
  QCOMPARE(host_.begun, 2);
  QVERIFY(view_->IsSearching());
  QTRY_VERIFY_WITH_TIMEOUT(!view_->IsSearching(), 20000);
  QCOMPARE(view_->ResultWords(), Reference(many_.get(), "a*",
                                           {ResultOrder::kByScore, kMinScore,
                                            CSearchRun::kDefaultLimit}));
  QCOMPARE(view_->ResultWords().size(), size_t{23 * 23});
}

}  // namespace vocor

QTEST_MAIN(vocor::ScoredResultsTest)
#include "scored_results_qtest.moc"
