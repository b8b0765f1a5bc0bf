// vocor: the window program.
#include <QApplication>

#include "app/vocor_app.h"

int main(int argc, char** argv) {
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
