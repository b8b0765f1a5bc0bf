// vocor: the window program.
#include <QApplication>
#include <cstdio>
#include <string_view>

#include "app/shell/vocor_app.h"
#include "vocor/program_version.h"

namespace {

// Answered before the application object exists, so that it needs no
// display.
bool AsksForVersion(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--version") return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (AsksForVersion(argc, argv)) {
    std::fputs(vocor::ProgramVersionText("vocor").c_str(), stdout);
    return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
  }
  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vocor"));
  // The application object holds the first dictionary objects of the
  // process, so "All Dictionaries" gets id 0.
  vocor::CVocorApp app(
      vocor::CVocorApp::OptionsFromArguments(QApplication::arguments()));
  if (!app.InitInstance()) return 1;
  const int code = QApplication::exec();
  return app.ExitInstance(code);
}
