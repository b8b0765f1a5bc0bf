// Start-up time of the window program: from starting a process to its main
// window shown and painted, with the shipped dictionaries installed, on
// the offscreen platform. The process runs the program's own start-up
// (CVocorApp::InitInstance) in a child of this benchmark; the parent
// measures the wall time from launching the child to the child's report,
// so process creation and library loading count too.
//
// Usage: startup_bench [runs] [data folder]
// QT_QPA_PLATFORM=xcb (with DISPLAY) measures on an X server instead.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "app/shell/main_frame.h"
#include "app/shell/vocor_app.h"
#include "dictionary/dictionary_state.h"
#include "settings/settings_store.h"

namespace {

constexpr char kShownLine[] = "shown";

// The program's start-up, up to the first paint of its window.
int RunChild(int argc, char** argv, const QString& data) {
  QApplication application(argc, argv);
  vocor::CVocorApp::Options options;
  options.data_folder = data.toStdString();
  vocor::CVocorApp app(options);
  if (!app.InitInstance()) return 1;
  QWindow* window = app.main_frame()->windowHandle();
  while (window == nullptr || !window->isExposed()) {
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    window = app.main_frame()->windowHandle();
  }
  QApplication::processEvents();  // the first paint
  // The count shows that the shipped dictionaries were loaded.
  std::printf("%s %d\n", kShownLine,
              app.state()->all_dictionaries()->members().GetCount());
  std::fflush(stdout);
  return app.ExitInstance(0);
}

// Installs the data folder's dictionaries into the private home.
int Seed(const QString& data) {
  vocor::DictionaryState state;
  const int installed = state.InstallDataFolderDictionaries(data.toStdString());
  vocor::CloseSettingsStore();
  return installed > 0 ? 0 : 1;
}

double RunOnce(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment) {
  QProcess child;
  child.setProcessEnvironment(environment);
  QElapsedTimer timer;
  timer.start();
  child.start(program, arguments);
  while (!child.canReadLine()) {
    if (!child.waitForReadyRead(10000)) return -1;
  }
  const double ms = timer.nsecsElapsed() / 1e6;
  const QByteArray line = child.readLine().trimmed();
  if (!line.startsWith(kShownLine) || line.endsWith(" 0")) return -1;
  child.waitForFinished(10000);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  const QString mode = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
  if (mode == QLatin1String("--child")) {
    return RunChild(argc, argv, QString::fromLocal8Bit(argv[2]));
  }
  if (mode == QLatin1String("--seed")) {
    return Seed(QString::fromLocal8Bit(argv[2]));
  }
  QCoreApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 10;
  const QString data =
      argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString(VOCOR_BENCH_DATA);
  QTemporaryDir home;
  QDir(home.path()).mkpath(QStringLiteral("run"));
  QFile::setPermissions(home.path() + "/run", QFileDevice::ReadOwner |
                                                  QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner);
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("HOME", home.path());
  environment.insert("XDG_CONFIG_HOME", home.path() + "/.config");
  environment.insert("XDG_RUNTIME_DIR", home.path() + "/run");
  // Offscreen unless the caller names a platform (xcb on a real X server).
  if (!environment.contains("QT_QPA_PLATFORM")) {
    environment.insert("QT_QPA_PLATFORM", "offscreen");
  }
  const QString self = QCoreApplication::applicationFilePath();
  QProcess seed;
  seed.setProcessEnvironment(environment);
  seed.start(self, {"--seed", data});
  if (!seed.waitForFinished(60000) || seed.exitCode() != 0) {
    std::fprintf(stderr, "no dictionary could be installed from %s\n",
                 qPrintable(data));
    return 2;
  }
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    const double ms = RunOnce(self, {"--child", data}, environment);
    if (ms < 0) {
      std::fprintf(stderr, "run %d: the window was not shown\n", run);
      return 1;
    }
    times.push_back(ms);
  }
  std::sort(times.begin(), times.end());
  std::printf(
      "start to window shown (%s, %d runs, shipped dictionaries): "
      "median %.1f ms, min %.1f ms, max %.1f ms (goal <= 300 ms)\n",
      qPrintable(environment.value("QT_QPA_PLATFORM")), runs,
      times[times.size() / 2], times.front(), times.back());
  return 0;
}
