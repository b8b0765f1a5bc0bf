// The frame's print commands: Print (the print dialog first), the tool
// bar's Print (the current printer and options, no dialog), Print Preview
// and Print Setup. They share one printer, so what Print Setup chooses
// holds for the rest of the run.
#ifndef VOCOR_APP_PRINT_PRINT_COMMANDS_H_
#define VOCOR_APP_PRINT_PRINT_COMMANDS_H_

#include <QObject>
#include <memory>

class QPrinter;
class QWidget;

namespace vocor {

class CResultsPrintJob;
class CSearchView;

class CPrintCommands : public QObject {
  Q_OBJECT

 public:
  // `view` is borrowed and must outlive this object; `window` parents the
  // dialogs and this object.
  CPrintCommands(CSearchView* view, QWidget* window);
  ~CPrintCommands() override;

  void Print();
  void PrintDirect();
  void PrintPreview();
  void PrintSetup();

  // The shared printer; owned here. A failed job replaces it, so do not
  // keep the pointer across commands.
  QPrinter* printer() const { return printer_.get(); }
  // A job over the view's results in its current font.
  std::unique_ptr<CResultsPrintJob> NewJob() const;

 private:
  void RunJob();
  // Tells the user that a job failed, and replaces the printer it left
  // unusable by one with the same settings.
  void ReportFailure();

  CSearchView* view_;
  QWidget* window_;
  std::unique_ptr<QPrinter> printer_;
};

}  // namespace vocor

#endif  // VOCOR_APP_PRINT_PRINT_COMMANDS_H_
