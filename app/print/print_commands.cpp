#include "app/print/print_commands.h"

#include <QListView>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "app/shell/command_texts.h"
#include "app/print/print_job.h"
#include "app/search/search_view.h"
#include "app/shell/version_info.h"

namespace vocor {

namespace {
constexpr char kPrintFailedMessage[] = "The results could not be printed.";
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
  if (NewJob()->Print(printer_.get())) return;
  QMessageBox::warning(window_, QString::fromUtf8(kAppTitle),
                       QString::fromUtf8(kPrintFailedMessage));
}

void CPrintCommands::Print() {
  QPrintDialog dialog(printer_.get(), window_);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() == QDialog::Accepted) RunJob();
}

void CPrintCommands::PrintDirect() { RunJob(); }

void CPrintCommands::PrintPreview() {
  QPrintPreviewDialog dialog(printer_.get(), window_);
  const std::unique_ptr<CResultsPrintJob> job = NewJob();
  // The preview shows every page, whatever range the last print chose.
  connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
          [&job](QPrinter* printer) { job->Print(printer, true); });
  dialog.exec();
}

void CPrintCommands::PrintSetup() {
  QPageSetupDialog dialog(printer_.get(), window_);
  dialog.exec();
}

}  // namespace vocor
