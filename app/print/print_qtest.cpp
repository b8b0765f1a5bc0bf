// The printed report as a reader gets it: a known list printed to a PDF
// and read back with poppler's tools, and the frame's print commands and
// preview over a real search.
#include <QLineEdit>
#include <QListView>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <cstdio>
#include <memory>

#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
#include "app/print/print_commands.h"
#include "app/print/print_job.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/window_test_support.h"
#include "dictionary/dictionary_state.h"
#include "settings/scratch_home.h"
#include "settings/settings_store.h"

namespace vocor {
namespace {

const CVersionInfo kVersion{"Vocor", "2.6 (Build 127)", ""};

std::vector<std::string> KnownWords(int count) {
  std::vector<std::string> words;
  for (int i = 0; i < count; ++i) {
    char word[16];
    std::snprintf(word, sizeof word, "w%04dx", i);
    words.push_back(word);
  }
  return words;
}

QFont ResultsFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(16);
  return font;
}

// pdftotext or pdfinfo on `pdf`; a null string when the tool is missing.
QString Poppler(const QString& tool, QStringList arguments) {
  QProcess process;
  process.start(tool, arguments);
  if (!process.waitForFinished(30000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput());
}

int PdfPages(const QString& pdf) {
  const QString info = Poppler(QStringLiteral("pdfinfo"), {pdf});
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfPageText(const QString& pdf, int page) {
  const QString number = QString::number(page);
  return Poppler(QStringLiteral("pdftotext"),
                 {QStringLiteral("-f"), number, QStringLiteral("-l"), number,
                  pdf, QStringLiteral("-")});
}

void UsePdf(QPrinter* printer, const QString& path) {
  printer->setOutputFormat(QPrinter::PdfFormat);
  printer->setOutputFileName(path);
  printer->setPageSize(QPageSize(QPageSize::Letter));
}

class PrintTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    if (Poppler(QStringLiteral("pdfinfo"), {QStringLiteral("-v")}).isNull() &&
        QStandardPaths::findExecutable(QStringLiteral("pdfinfo")).isEmpty()) {
      QSKIP("poppler-utils are not installed (scripts/setup)");
    }
  }

  void knownListPrintsPageByPageToPdf() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("results.pdf"));
    const std::vector<std::string> words = KnownWords(700);
    CResultsPrintJob job(
        ResultsFont(), 96, [&words] { return words; }, kVersion);
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(&printer, pdf);
    const int last = job.Begin(&printer);
    const PrintGrid grid = job.grid();
    // The body keeps the on-screen size: 16 pixels at 96 per inch is 12
    // points, 240 twips.
    QCOMPARE(job.bodyFont().pixelSize(), 240);
    job.End();
    QVERIFY2(last >= 3, qPrintable(QString::number(last)));
    QVERIFY(grid.columns > 1);

    QVERIFY(job.Print(&printer));
    QCOMPARE(PdfPages(pdf), last);
    for (int page = 1; page <= last; ++page) {
      const QString text = PdfPageText(pdf, page);
      QVERIFY2(text.contains(QStringLiteral("Search Results")),
               qPrintable(text));
      QVERIFY(text.contains(QStringLiteral("Vocor 2.6 (Build 127)")));
      QVERIFY(text.contains(QStringLiteral("Page %1").arg(page)));
      const size_t first = FirstItemOfPage(grid, page);
      QVERIFY2(text.contains(QString::fromStdString(words[first])),
               qPrintable(QString::fromStdString(words[first])));
      // The word before it ended the previous page.
      if (first > 0) {
        QVERIFY(!text.contains(QString::fromStdString(words[first - 1])));
      }
    }
  }

  void emptyListPrintsOneTitledPage() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("empty.pdf"));
    CResultsPrintJob job(
        ResultsFont(), 96, [] { return std::vector<std::string>{}; }, kVersion);
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(&printer, pdf);
    QVERIFY(job.Print(&printer));
    QCOMPARE(PdfPages(pdf), 1);
    const QString text = PdfPageText(pdf, 1);
    QVERIFY(text.contains(QStringLiteral("Search Results")));
    QVERIFY(text.contains(QStringLiteral("Page 1")));
  }

  void chosenPageRangeAndUnwritableFile() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("range.pdf"));
    const std::vector<std::string> words = KnownWords(700);
    CResultsPrintJob job(
        ResultsFont(), 96, [&words] { return words; }, kVersion);
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(&printer, pdf);
    printer.setPrintRange(QPrinter::PageRange);
    printer.setFromTo(2, 99);
    const int last = job.Begin(&printer);
    job.End();
    QVERIFY(job.Print(&printer));
    QCOMPARE(PdfPages(pdf), last - 1);
    QVERIFY(PdfPageText(pdf, 1).contains(QStringLiteral("Page 2")));

    // A failure is reported, not passed off as a printed job.
    printer.setPrintRange(QPrinter::AllPages);
    printer.setOutputFileName(dir.filePath(QStringLiteral("none/x.pdf")));
    QVERIFY(!job.Print(&printer));
  }

  void frameCommandsPrintAndPreviewTheSearchResults() {
    ScratchHome home;
    CloseSettingsStore();
    DictionaryState state;
    const std::string dic = std::string(getenv("TMPDIR")) + "/print.dic";
    const std::vector<std::string> words = KnownWords(400);
    QVERIFY(testing::WriteDicFile(dic, "print", words));
    state.SetActive(state.Install(dic));
    BaseTextMetrics metrics;
    auto frame = std::make_unique<CMainFrame>(&state, metrics,
                                              ComputeLayoutUnits(metrics));
    CSearchView* view = frame->searchView();
    view->resultsList()->setFont(ResultsFont());
    view->SelectTab(0);
    view->GetActiveForm()->boxes().front()->lineEdit()->setText(
        QStringLiteral("*"));
    view->StartSearch();
    while (view->SearchStep()) {
    }
    QCOMPARE(view->ResultWords().size(), words.size());

    // The tool bar's button prints without a dialog.
    QAction* direct = frame->action(kCmdPrintDirect);
    QVERIFY(frame->toolBar()->actions().contains(direct));
    QCOMPARE(direct->toolTip(), QStringLiteral("Print"));
    QVERIFY(!frame->toolBar()->actions().contains(frame->action(kCmdPrint)));
    for (unsigned command : {kCmdPrint, kCmdPrintPreview, kCmdPrintSetup}) {
      QVERIFY(frame->action(command)->isEnabled());
    }
    auto* printing = frame->findChild<CPrintCommands*>();
    QVERIFY(printing != nullptr);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("frame.pdf"));
    UsePdf(printing->printer(), pdf);
    direct->trigger();
    const QString text = PdfPageText(pdf, 1);
    QVERIFY(text.contains(QString::fromStdString(words.front())));

    // The preview shows as many pages as the job lays out.
    std::unique_ptr<CResultsPrintJob> job = printing->NewJob();
    const int last = job->Begin(printing->printer());
    job->End();
    int shown = -1;
    QTimer::singleShot(0, [&shown] { WatchPreview(&shown); });
    frame->action(kCmdPrintPreview)->trigger();
    QCOMPARE(shown, last);
    CloseSettingsStore();
  }

 private:
  // Waits for the preview to open and paint, records its page count,
  // keeps a picture of it where VOCOR_PREVIEW_PNG says, and closes it.
  static void WatchPreview(int* shown) {
    auto* dialog =
        qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
    auto* preview =
        dialog != nullptr ? dialog->findChild<QPrintPreviewWidget*>() : nullptr;
    if (preview == nullptr || preview->pageCount() == 0) {
      QTimer::singleShot(10, [shown] { WatchPreview(shown); });
      return;
    }
    *shown = preview->pageCount();
    const QByteArray picture = qgetenv("VOCOR_PREVIEW_PNG");
    if (!picture.isEmpty()) {
      dialog->resize(900, 700);
      dialog->grab().save(QString::fromLocal8Bit(picture));
    }
    dialog->reject();
  }
};

}  // namespace
}  // namespace vocor

QTEST_MAIN(vocor::PrintTest)
#include "print_qtest.moc"
