// Time to lay out and print the results report to a PDF file: the layout
// alone (measuring every word in the body font) and the whole job (layout,
// every page drawn, the file written), over 10000 words by default.
//
// Usage: print_bench [runs] [words] [word list] [PDF file to keep]
// The words are the first ones of the word list (default the system's
// American English list), or made up when it cannot be read. Runs on the
// offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPrinter>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "app/print/print_job.h"

namespace {

std::vector<std::string> LoadWords(size_t count, const char* path) {
  std::vector<std::string> words;
  std::ifstream in(path);
  std::string word;
  while (words.size() < count && std::getline(in, word)) {
    if (!word.empty()) words.push_back(word);
  }
  for (size_t i = words.size(); i < count; ++i) {
    words.push_back("word" + std::to_string(i));
  }
  std::sort(words.begin(), words.end());
  return words;
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
  QApplication application(argc, argv);
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  const size_t count = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 10000;
  const char* list = argc > 3 ? argv[3] : "/usr/share/dict/american-english";
  const std::vector<std::string> words = LoadWords(count, list);

  QTemporaryDir dir;
  if (!dir.isValid()) return 2;
  const QString pdf = argc > 4 ? QString::fromLocal8Bit(argv[4])
                               : dir.filePath(QStringLiteral("results.pdf"));
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(16);
  vocor::CResultsPrintJob job(font, 96, [&words] { return words; },
                              {"Vocor", "bench", ""});
  std::vector<double> layout_ms;
  std::vector<double> print_ms;
  int pages = 0;
  for (int run = 0; run < runs; ++run) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    QElapsedTimer timer;
    timer.start();
    pages = job.Begin(&printer);
    layout_ms.push_back(timer.nsecsElapsed() / 1e6);
    job.End();
    timer.restart();
    if (!job.Print(&printer)) return 1;
    print_ms.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::printf(
      "%zu words, %d pages, %lld bytes of PDF; median of %d runs:\n"
      "  layout %.1f ms, layout and print %.1f ms\n",
      words.size(), pages, static_cast<long long>(QFileInfo(pdf).size()), runs,
      Median(layout_ms), Median(print_ms));
  return 0;
}
