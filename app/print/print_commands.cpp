#include "app/print/print_commands.h"

#include <QListView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPaintEngine>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/print/print_job.h"
#include "app/search/search_view.h"
#include "app/shell/command_texts.h"
#include "app/shell/version_info.h"

namespace vocor {

namespace {

constexpr char kPrintFailedMessage[] = "The results could not be printed.";

// A new printer with the settings of `used`: the printer or file, the page
// layout, the range and the copies.
std::unique_ptr<QPrinter> PrinterLike(const QPrinter& used) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setOutputFormat(used.outputFormat());
  if (used.outputFormat() == QPrinter::NativeFormat) {
    printer->setPrinterName(used.printerName());
  }
  // An empty name would switch the printer back to its native format.
  if (!used.outputFileName().isEmpty()) {
    printer->setOutputFileName(used.outputFileName());
  }
  printer->setPageLayout(used.pageLayout());
  printer->setFullPage(used.fullPage());
  printer->setPrintRange(used.printRange());
  printer->setFromTo(used.fromPage(), used.toPage());
  printer->setCopyCount(used.copyCount());
  printer->setCollateCopies(used.collateCopies());
  printer->setPageOrder(used.pageOrder());
  printer->setColorMode(used.colorMode());
  printer->setDuplex(used.duplex());
  printer->setDocName(used.docName());
  return printer;
}

// Whether `printer` is painting the pages of a print preview rather than
// printing: the preview swaps in its own picture-recording engine.
bool IsPreviewing(QPrinter* printer) {
  const QPaintEngine* engine = printer->paintEngine();
  return engine != nullptr && engine->type() == QPaintEngine::Picture;
}

}  // namespace

CPrintCommands::CPrintCommands(CSearchView* view, QWidget* window)
    : QObject(window),
      view_(view),
      window_(window),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

CPrintCommands::~CPrintCommands() = default;

std::unique_ptr<CResultsPrintJob> CPrintCommands::NewJob() const {
  QListView* list = view_->resultsList();
  CSearchView* view = view_;
  return std::make_unique<CResultsPrintJob>(
      list->font(), list->logicalDpiY(), [view] { return view->ResultWords(); },
      VersionInfo());
}

void CPrintCommands::RunJob() {
  if (!NewJob()->Print(printer_.get())) ReportFailure();
}

void CPrintCommands::ReportFailure() {
  // A printer that could not start stays active and refuses every later
  // change, such as the file the next print dialog chooses: the next job
  // starts on a new printer with the same settings.
  printer_ = PrinterLike(*printer_);
  QMessageBox::warning(window_, QString::fromUtf8(kAppTitle),
                       QString::fromUtf8(kPrintFailedMessage));
}

void CPrintCommands::Print() {
  bool accepted = false;
  {
    QPrintDialog dialog(printer_.get(), window_);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    accepted = dialog.exec() == QDialog::Accepted;
  }
  // The dialog is gone before the job, which may replace the printer.
  if (accepted) RunJob();
}

void CPrintCommands::PrintDirect() { RunJob(); }

void CPrintCommands::PrintPreview() {
  bool failed = false;
  {
    QPrintPreviewDialog dialog(printer_.get(), window_);
    const std::unique_ptr<CResultsPrintJob> job = NewJob();
    // The preview shows every page, whatever range the last print chose;
    // its Print button prints the range that its print dialog chose.
    connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
            [&job, &failed](QPrinter* printer) {
              if (IsPreviewing(printer)) {
                job->Print(printer, true);
              } else {
                failed = !job->Print(printer);
              }
            });
    dialog.exec();
  }
  // The preview closes after printing; the failure is told once it has,
  // and its printer is no longer in use.
  if (failed) ReportFailure();
}

void CPrintCommands::PrintSetup() {
  QPageSetupDialog dialog(printer_.get(), window_);
  dialog.exec();
}

}  // namespace vocor
