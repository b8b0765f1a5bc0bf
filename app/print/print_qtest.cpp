// The printed report as a reader gets it: a known list printed to a PDF
// and read back with poppler's tools, and the frame's print commands and
// preview over a real search.
#include <QDir>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>
#include <QtTest>
#include <cstdio>
#include <functional>
#include <memory>

#include "app/print/print_commands.h"
#include "app/print/print_job.h"
#include "app/search/recent_text_cb.h"
#include "app/search/search_info_view.h"
#include "app/search/search_view.h"
#include "app/shell/command_texts.h"
#include "app/shell/main_frame.h"
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

// A main frame whose results list holds `count` known words from a
// dictionary written to the scratch TMPDIR.
struct SearchedFrame {
  explicit SearchedFrame(int count) : words(KnownWords(count)) {
    const std::string dic = std::string(getenv("TMPDIR")) + "/print.dic";
    if (!testing::WriteDicFile(dic, "print", words)) return;
    state.SetActive(state.Install(dic));
    frame = std::make_unique<CMainFrame>(&state, metrics,
                                         ComputeLayoutUnits(metrics));
    CSearchView* view = frame->searchView();
    view->resultsList()->setFont(ResultsFont());
    view->SelectTab(0);
    view->GetActiveForm()->boxes().front()->lineEdit()->setText(
        QStringLiteral("*"));
    view->StartSearch();
    while (view->SearchStep()) {
    }
  }
  ~SearchedFrame() {
    frame.reset();
    CloseSettingsStore();
  }

  ScratchHome home;
  struct ClosedStore {
    ClosedStore() { CloseSettingsStore(); }
  } closed_store;
  DictionaryState state;
  BaseTextMetrics metrics;
  std::vector<std::string> words;
  std::unique_ptr<CMainFrame> frame;
};

// Answers the modal dialogs that a command opens, as a person would: every
// 10 ms it looks at the dialog on top; a message box is noted and closed,
// any other dialog is handed to `answer`, which may be called again while
// that dialog stays open.
class ModalAnswers {
 public:
  explicit ModalAnswers(std::function<void(QWidget*)> answer)
      : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Look(); });
    timer_.start(10);
  }

  QStringList messages;

 private:
  void Look() {
    QWidget* top = QApplication::activeModalWidget();
    if (top == nullptr) return;
    if (auto* box = qobject_cast<QMessageBox*>(top)) {
      messages << box->text();
      box->close();
      return;
    }
    answer_(top);
  }

  std::function<void(QWidget*)> answer_;
  QTimer timer_;
};

// Fills in the print dialog as a person would: the output file and, when
// `from` > 0, the pages from `from` to `to`. Then accepts it.
void AnswerPrintDialog(QPrintDialog* dialog, const QString& pdf, int from,
                       int to) {
  dialog->findChild<QLineEdit*>(QStringLiteral("filename"))->setText(pdf);
  if (from > 0) {
    dialog->findChild<QRadioButton*>(QStringLiteral("printRange"))
        ->setChecked(true);
    dialog->findChild<QSpinBox*>(QStringLiteral("to"))->setValue(to);
    dialog->findChild<QSpinBox*>(QStringLiteral("from"))->setValue(from);
  }
  dialog->accept();
}

// File > Print to `pdf`; no message may come up.
void PrintFromDialog(CMainFrame* frame, const QString& pdf) {
  ModalAnswers answers([&pdf](QWidget* top) {
    if (auto* dialog = qobject_cast<QPrintDialog*>(top)) {
      AnswerPrintDialog(dialog, pdf, 0, 0);
    }
  });
  frame->action(kCmdPrint)->trigger();
  QVERIFY2(answers.messages.isEmpty(), qPrintable(answers.messages.join('\n')));
}

// An answer to Print Preview: once the preview has painted, its Print
// button, and in the print dialog that opens `pdf` with pages `from` to
// `to` (all when `from` is 0). `after_accept` runs when that dialog has
// been accepted, before the preview prints.
std::function<void(QWidget*)> PreviewPrinter(
    const QString& pdf, int from, int to, std::function<void()> after_accept) {
  auto pressed = std::make_shared<bool>(false);
  return [=](QWidget* top) {
    if (auto* dialog = qobject_cast<QPrintDialog*>(top)) {
      QObject::connect(dialog, &QDialog::accepted, dialog, after_accept);
      AnswerPrintDialog(dialog, pdf, from, to);
      return;
    }
    auto* preview = qobject_cast<QPrintPreviewDialog*>(top);
    auto* pages = preview != nullptr
                      ? preview->findChild<QPrintPreviewWidget*>()
                      : nullptr;
    if (*pressed || pages == nullptr || pages->pageCount() == 0) return;
    for (QAction* action : preview->findChildren<QAction*>()) {
      if (action->text() == QStringLiteral("Print")) {
        *pressed = true;
        // Queued: the print dialog it opens must not block this answer.
        QMetaObject::invokeMethod(action, &QAction::trigger,
                                  Qt::QueuedConnection);
      }
    }
  };
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

  void wordsReadBackAsTypedAndStayOnThePage() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("letters.pdf"));
    // Letter pairs that fonts like to join into ligatures, and a word about
    // twice as wide as the page.
    std::vector<std::string> words = {"afield", "baffle", "flow", "office",
                                      "waffling"};
    words.push_back("start" + std::string(150, 'w') + "finish");
    CResultsPrintJob job(
        ResultsFont(), 96, [&words] { return words; }, kVersion);
    QPrinter printer(QPrinter::HighResolution);
    UsePdf(&printer, pdf);
    QVERIFY(job.Print(&printer));

    const QString text = PdfPageText(pdf, 1);
    for (const std::string& word : words) {
      QVERIFY2(text.contains(QString::fromStdString(word)),
               qPrintable(QString::fromStdString(word) + " in:\n" + text));
    }
    // Every word lies between the side margins of the Letter page (8.5 in,
    // 3/4 in margins), in points; a point of slack for rounding.
    const QString boxes =
        Poppler(QStringLiteral("pdftotext"),
                {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    const QRegularExpression word(QStringLiteral(
        "xMin=\"([\\d.]+)\"[^>]*xMax=\"([\\d.]+)\"[^>]*>([^<]*)<"));
    int checked = 0;
    for (const QRegularExpressionMatch& match : word.globalMatch(boxes)) {
      QVERIFY2(match.captured(1).toDouble() >= 54 - 1,
               qPrintable(match.captured(0)));
      QVERIFY2(match.captured(2).toDouble() <= 612 - 54 + 1,
               qPrintable(match.captured(0)));
      ++checked;
    }
    QVERIFY(checked >= static_cast<int>(words.size()));
  }

  void frameCommandsPrintAndPreviewTheSearchResults() {
    SearchedFrame searched(400);
    CMainFrame* frame = searched.frame.get();
    const std::vector<std::string>& words = searched.words;
    QVERIFY(frame != nullptr);
    QCOMPARE(frame->searchView()->ResultWords().size(), words.size());

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
  }

  void failedPrintLeavesThePrinterReady() {
    SearchedFrame searched(400);
    CMainFrame* frame = searched.frame.get();
    QVERIFY(frame != nullptr);
    auto* printing = frame->findChild<CPrintCommands*>();
    QTemporaryDir dir;
    // No printer chosen: the tool bar's Print fails and says so.
    printing->printer()->setOutputFormat(QPrinter::PdfFormat);
    printing->printer()->setOutputFileName({});
    printing->printer()->setPageSize(QPageSize(QPageSize::A5));
    printing->printer()->setPageOrientation(QPageLayout::Landscape);
    {
      ModalAnswers answers([](QWidget*) {});
      frame->action(kCmdPrintDirect)->trigger();
      QCOMPARE(answers.messages.size(), 1);
      QVERIFY(answers.messages.front().contains(
          QStringLiteral("could not be printed")));
    }
    // The printer is ready again and keeps what was chosen.
    QCOMPARE(printing->printer()->printerState(), QPrinter::Idle);
    QCOMPARE(printing->printer()->pageLayout().pageSize().id(), QPageSize::A5);
    QCOMPARE(printing->printer()->pageLayout().orientation(),
             QPageLayout::Landscape);

    // File > Print to a file chosen in the print dialog.
    const QString pdf = dir.filePath(QStringLiteral("after-failure.pdf"));
    PrintFromDialog(frame, pdf);
    QVERIFY(PdfPageText(pdf, 1).contains(
        QString::fromStdString(searched.words.front())));

    // Printing from the preview fails when the file's folder has vanished
    // after its print dialog checked it: the failure is told, and the next
    // print works.
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    const QString lost = dir.filePath(QStringLiteral("gone/lost.pdf"));
    {
      ModalAnswers answers(PreviewPrinter(lost, 1, 0, [&dir] {
        QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively();
      }));
      frame->action(kCmdPrintPreview)->trigger();
      QCOMPARE(answers.messages.size(), 1);
      QVERIFY(answers.messages.front().contains(
          QStringLiteral("could not be printed")));
    }
    QCOMPARE(printing->printer()->outputFileName(), lost);
    const QString again = dir.filePath(QStringLiteral("again.pdf"));
    PrintFromDialog(frame, again);
    QVERIFY(PdfPages(again) >= 1);
  }

  void previewPrintsThePagesItsDialogChose() {
    SearchedFrame searched(3000);
    CMainFrame* frame = searched.frame.get();
    QVERIFY(frame != nullptr);
    auto* printing = frame->findChild<CPrintCommands*>();
    std::unique_ptr<CResultsPrintJob> job = printing->NewJob();
    const int last = job->Begin(printing->printer());
    job->End();
    QVERIFY2(last > 3, qPrintable(QString::number(last)));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("preview-range.pdf"));
    ModalAnswers answers(PreviewPrinter(pdf, 2, 3, [] {}));
    frame->action(kCmdPrintPreview)->trigger();
    QVERIFY(answers.messages.isEmpty());
    QCOMPARE(PdfPages(pdf), 2);
    QVERIFY(PdfPageText(pdf, 1).contains(QStringLiteral("Page 2")));
    QVERIFY(PdfPageText(pdf, 2).contains(QStringLiteral("Page 3")));

    // The next preview still shows every page.
    int shown = -1;
    QTimer::singleShot(0, [&shown] { WatchPreview(&shown); });
    frame->action(kCmdPrintPreview)->trigger();
    QCOMPARE(shown, last);
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
