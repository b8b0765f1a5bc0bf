// A window search over a large dictionary: the time from Search to the end
// of a search that stops at the 10000-word limit, and the longest stretch
// in which the event loop could not handle input while it ran. The word
// list is compiled to a binary dictionary with vocor-mkdic in a temporary
// folder first. Runs on the offscreen platform unless the caller names
// another one.
//
// Usage: search_bench [runs] [word list] [pattern]
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/search/recent_text_cb.h"
#include "app/search/search_host.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"

namespace {

class BenchHost : public vocor::SearchHost {
 public:
  explicit BenchHost(vocor::CDictionary* dictionary)
      : dictionary_(dictionary) {}
  vocor::CDictionary* ActiveDictionary() override { return dictionary_; }
  void BeginSearchProgress(int) override {}
  void SetSearchStatus(const QString&) override {}
  void SetSearchProgress(int) override {}
  void EndSearchProgress() override {}
  void SetFoundCount(int) override {}
  void UpdateCommandStates() override {}

 private:
  vocor::CDictionary* dictionary_;
};

// Notes when the limit message appears (the search has stopped) and
// dismisses it as a user would, from the event loop.
class MessageWatcher : public QObject {
 public:
  explicit MessageWatcher(const QElapsedTimer* clock) : clock_(clock) {}
  qint64 shown_at = -1;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* box = qobject_cast<QMessageBox*>(watched);
    if (box != nullptr && event->type() == QEvent::Show && shown_at < 0) {
      shown_at = clock_->nsecsElapsed();
      QTimer::singleShot(0, box, &QMessageBox::accept);
    }
    return false;
  }

 private:
  const QElapsedTimer* clock_;
};

struct Figures {
  double to_stop_ms = 0;
  double longest_gap_ms = 0;
  int words = 0;
};

Figures RunOnce(vocor::CSearchView* view, const QString& pattern) {
  QElapsedTimer clock;
  MessageWatcher watcher(&clock);
  qApp->installEventFilter(&watcher);
  // A zero-interval timer fires once per event-loop iteration: the gap
  // between two ticks is how long input would have waited.
  qint64 last_tick = 0;
  qint64 longest = 0;
  QTimer heartbeat;
  heartbeat.setInterval(0);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last_tick);
    last_tick = now;
  });
  view->SelectTab(0);
  view->GetActiveForm()->boxes().front()->setEditText(pattern);
  QEventLoop loop;
  QObject::connect(view, &vocor::CSearchView::searchStateChanged, &loop,
                   [&](bool running) {
                     if (!running) loop.quit();
                   });
  heartbeat.start();
  clock.start();
  view->StartSearch();
  const qint64 started = clock.nsecsElapsed();
  longest = std::max(longest, started);
  last_tick = started;
  if (view->IsSearching()) loop.exec();
  const qint64 ended = clock.nsecsElapsed();
  heartbeat.stop();
  qApp->removeEventFilter(&watcher);
  Figures figures;
  figures.to_stop_ms = (watcher.shown_at >= 0 ? watcher.shown_at : ended) / 1e6;
  figures.longest_gap_ms = longest / 1e6;
  figures.words = static_cast<int>(view->ResultWords().size());
  return figures;
}

bool CompileList(const QString& list, const QString& out) {
  QProcess mkdic;
  mkdic.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  mkdic.start(VOCOR_MKDIC_PATH, {list, "-o", out, "--name", "Bench"});
  return mkdic.waitForFinished(300000) &&
         mkdic.exitStatus() == QProcess::NormalExit && mkdic.exitCode() == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // The view reads its font from the settings store: keep the user's own
  // store out of a measurement.
  QTemporaryDir home;
  qputenv("XDG_CONFIG_HOME", home.path().toLocal8Bit());
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const QString list =
      argc > 2 ? argv[2] : "/usr/share/dict/american-english-insane";
  const QString pattern = argc > 3 ? argv[3] : "*";

  QTemporaryDir folder;
  const QString dic = folder.filePath("bench.dic");
  if (!folder.isValid() || !CompileList(list, dic)) {
    std::fprintf(stderr, "cannot compile %s\n", qPrintable(list));
    return 2;
  }
  std::unique_ptr<vocor::CDictionary> dictionary =
      vocor::OpenDictionaryFile(dic.toLocal8Bit().constData());
  if (dictionary == nullptr) {
    std::fprintf(stderr, "cannot open %s\n", qPrintable(dic));
    return 2;
  }
  std::printf("%d words in %s\n", dictionary->GetWordCount(), qPrintable(list));

  BenchHost host(dictionary.get());
  const vocor::LayoutUnits units =
      vocor::ComputeLayoutUnits(vocor::BaseTextMetrics{});
  vocor::CSearchView view(&host, units);
  view.resize(800, 600);
  view.show();
  while (view.windowHandle() == nullptr || !view.windowHandle()->isExposed()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
  }

  std::vector<Figures> all;
  for (int run = 0; run < runs; ++run) {
    const Figures f = RunOnce(&view, pattern);
    std::printf(
        "run %d: %d words, %.1f ms to the stop, longest event-loop "
        "gap %.1f ms\n",
        run + 1, f.words, f.to_stop_ms, f.longest_gap_ms);
    all.push_back(f);
  }
  std::sort(all.begin(), all.end(), [](const Figures& a, const Figures& b) {
    return a.to_stop_ms < b.to_stop_ms;
  });
  double worst_gap = 0;
  for (const Figures& f : all)
    worst_gap = std::max(worst_gap, f.longest_gap_ms);
  std::printf(
      "median %.1f ms to the stop (goal 300), worst gap %.1f ms "
      "(goal 30)\n",
      all[all.size() / 2].to_stop_ms, worst_gap);
  return 0;
}
