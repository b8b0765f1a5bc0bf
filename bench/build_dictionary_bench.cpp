// Building a dictionary from the largest word list: the Build Dictionary
// dialog's path (form to file, on its worker thread) against vocor-mkdic
// run on the same input, and the longest stretch in which the dialog's
// event loop could not handle input while it built. The install question
// is answered No, so nothing is stored. Runs on the offscreen platform in
// a temporary home unless the caller names another platform.
//
// Usage: build_dictionary_bench [runs] [word list]
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/dictionaries/build_dictionary_dlg.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"

namespace {

struct DialogFigures {
  double build_ms = 0;
  double longest_gap_ms = 0;
  int status = -1;
};

DialogFigures BuildInDialog(vocor::DictionaryState* state, const QString& list,
                            const QString& out) {
  vocor::CBuildDictionaryDlg dialog(state);
  dialog.findChild<QListWidget*>("inputs")->addItem(list);
  dialog.findChild<QLineEdit*>("output")->setText(out);
  dialog.show();
  vocor::testing::MessageBoxAnswerer answerer({QMessageBox::No});
  QEventLoop loop;
  QElapsedTimer clock;
  DialogFigures figures;
  QObject::connect(&dialog, &vocor::CBuildDictionaryDlg::buildFinished,
                   [&](int status) {
                     figures.build_ms = clock.nsecsElapsed() / 1e6;
                     figures.status = status;
                     loop.quit();
                   });
  qint64 last_tick = 0;
  qint64 longest = 0;
  QTimer heartbeat;
  heartbeat.setInterval(1);
  QObject::connect(&heartbeat, &QTimer::timeout, [&] {
    const qint64 now = clock.nsecsElapsed();
    longest = std::max(longest, now - last_tick);
    last_tick = now;
  });
  heartbeat.start();
  clock.start();
  dialog.Build();
  if (dialog.IsBuilding()) loop.exec();
  heartbeat.stop();
  figures.longest_gap_ms = longest / 1e6;
  return figures;
}

double BuildWithMkdic(const QString& list, const QString& out) {
  QElapsedTimer clock;
  clock.start();
  QProcess mkdic;
  mkdic.setProcessChannelMode(QProcess::ForwardedErrorChannel);
  mkdic.setStandardOutputFile(QProcess::nullDevice());
  mkdic.start(VOCOR_MKDIC_PATH, {list, "-o", out});
  const bool ok = mkdic.waitForFinished(300000) &&
                  mkdic.exitStatus() == QProcess::NormalExit &&
                  mkdic.exitCode() == 0;
  return ok ? clock.nsecsElapsed() / 1e6 : -1;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  // Keep the user's settings store and folders out of the measurement.
  QTemporaryDir home;
  for (const char* variable :
       {"HOME", "XDG_CONFIG_HOME", "XDG_RUNTIME_DIR", "TMPDIR"}) {
    qputenv(variable, home.path().toLocal8Bit());
  }
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
  const QString list =
      argc > 2 ? argv[2] : "/usr/share/dict/american-english-insane";
  QTemporaryDir folder;
  if (!folder.isValid()) return 2;
  vocor::DictionaryState state;
  std::vector<double> dialog_ms, mkdic_ms;
  double worst_gap = 0;
  for (int run = 0; run < runs; ++run) {
    const DialogFigures dialog =
        BuildInDialog(&state, list, folder.filePath("dialog.dic"));
    const double mkdic = BuildWithMkdic(list, folder.filePath("mkdic.dic"));
    if (dialog.status != 0 || mkdic < 0) {
      std::fprintf(stderr, "run %d failed (dialog status %d)\n", run + 1,
                   dialog.status);
      return 1;
    }
    std::printf(
        "run %d: dialog %.0f ms (longest event-loop gap %.1f ms), "
        "vocor-mkdic %.0f ms\n",
        run + 1, dialog.build_ms, dialog.longest_gap_ms, mkdic);
    dialog_ms.push_back(dialog.build_ms);
    mkdic_ms.push_back(mkdic);
    worst_gap = std::max(worst_gap, dialog.longest_gap_ms);
  }
  std::printf(
      "median: dialog %.0f ms, vocor-mkdic %.0f ms; worst event-loop gap "
      "%.1f ms\n",
      Median(dialog_ms), Median(mkdic_ms), worst_gap);
  return 0;
}
