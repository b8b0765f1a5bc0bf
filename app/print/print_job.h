// One print job of the results list: it lays out the report for a printer
// when it begins, draws any of its pages, and forgets the layout when it
// ends. Used for printing and for the preview alike; the arithmetic is in
// print_layout.h, this class measures the fonts and paints.
#ifndef VOCOR_APP_PRINT_PRINT_JOB_H_
#define VOCOR_APP_PRINT_PRINT_JOB_H_

#include <QFont>
#include <ctime>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/print/print_layout.h"
#include "app/shell/version_info.h"

class QPainter;
class QPrinter;

namespace vocor {

class CResultsPrintJob {
 public:
  // The words to print, as UTF-8 in list order. Called when the job begins
  // and again for every page, so a page shows the list as it is then.
  using WordSource = std::function<std::vector<std::string>()>;

  // `results_font` is the results list's font as shown on a screen with
  // `screen_dpi` vertical pixels per inch; the body text keeps that size
  // in points. `version` gives the subtitle.
  CResultsPrintJob(const QFont& results_font, int screen_dpi, WordSource words,
                   CVersionInfo version);
  ~CResultsPrintJob();

  // Begin printing: records the start time, creates the fonts and lays out
  // the pages for `printer` (borrowed; it must outlive End). Returns the
  // last page number, >= 1.
  int Begin(QPrinter* printer);
  // Draws page `page` (from 1) with `painter`, which paints on the printer
  // given to Begin. Only between Begin and End. Text is drawn without
  // ligatures, so that the words read back from a PDF as they were; a word
  // wider than the page is shrunk to the page's width.
  void PrintPage(QPainter* painter, int page);
  // End printing: drops the layout and its fonts.
  void End();

  // The whole loop on `printer`: Begin, the pages of the printer's page
  // range (every page when `all_pages` or no range is chosen), End. False
  // when the printer could not be started or a page could not be output.
  bool Print(QPrinter* printer, bool all_pages = false);

  // Only between Begin and End.
  const PrintGrid& grid() const;
  const QFont& bodyFont() const;
  // Time at which Begin was last called; tests may fix it.
  void SetStartedForTest(std::time_t started) { fixed_started_ = started; }

 private:
  struct Layout;

  QFont results_font_;
  int screen_dpi_;
  WordSource words_;
  CVersionInfo version_;
  std::time_t fixed_started_ = 0;
  std::unique_ptr<Layout> layout_;
};

}  // namespace vocor

#endif  // VOCOR_APP_PRINT_PRINT_JOB_H_
