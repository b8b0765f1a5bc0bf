#include "app/print/print_job.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <algorithm>
#include <cmath>

#include "app/shell/font_mapping.h"

namespace vocor {

namespace {

// Heights of the header fonts, as character cell heights in twips.
constexpr int kTitleHeight = 320;
constexpr int kSubtitleHeight = 160;

// Fonts are sized in twips: the painter is scaled so that one of its
// units is a twip, which keeps every measurement in the layout's units.
QFont WithCellHeight(QFont font, int height, QPrinter* printer) {
  font.setPixelSize(height);
  const int measured = QFontMetrics(font, printer).height();
  if (measured > 0) font.setPixelSize(std::max(1, height * height / measured));
  return font;
}

// Latin text is drawn letter by letter, without ligatures: a PDF keeps a
// ligature as one character ("ﬁ"), so a word copied out of it would not be
// the word.
QFont WithoutLigatures(QFont font) {
  font.setStyleStrategy(
      QFont::StyleStrategy(font.styleStrategy() | QFont::PreferNoShaping));
  return font;
}

int PointsToTwips(double points) { return static_cast<int>(points * 20); }

// The printer's border on each side: where Qt lets a painter draw.
TwipsMargins PrinterBorder(const QPrinter& printer) {
  const QRectF paper = printer.paperRect(QPrinter::Point);
  const QRectF page = printer.pageRect(QPrinter::Point);
  return {PointsToTwips(page.left() - paper.left()),
          PointsToTwips(page.top() - paper.top()),
          PointsToTwips(paper.right() - page.right()),
          PointsToTwips(paper.bottom() - page.bottom())};
}

TwipsRect PageRectFor(const QPrinter& printer) {
  const QRectF paper = printer.paperRect(QPrinter::Point);
  const TwipsMargins border = PrinterBorder(printer);
  TwipsRect page = PrintPageRect(PointsToTwips(paper.width()),
                                 PointsToTwips(paper.height()), border);
  if (printer.fullPage()) {
    // The painter's origin is the paper's corner, not the printable area's.
    page.left += border.left;
    page.right += border.left;
    page.top -= border.top;
    page.bottom -= border.top;
  }
  return page;
}

// y up to the painter's y down.
QRect ToPainter(const TwipsRect& rect) {
  return QRect(rect.left, -rect.top, rect.width(), rect.height());
}

QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// Draws `word` in the painter's font at the top left of `cell`; a word
// wider than the cell's room is shrunk to it, so no letter is cut off at
// the page's edge, and keeps the baseline of the words beside it.
void DrawWord(QPainter* painter, const PrintCell& cell, const QString& word) {
  const QRect rect = ToPainter(cell.rect);
  const QFontMetricsF metrics(painter->font(), painter->device());
  const double scale = ShrinkToFit(
      static_cast<int>(std::ceil(metrics.horizontalAdvance(word))), cell.room);
  if (scale == 1.0) {
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignTop, word);
    return;
  }
  painter->save();
  painter->translate(rect.left(), rect.top() + metrics.ascent() * (1 - scale));
  painter->scale(scale, scale);
  painter->drawText(QRectF(0, 0, cell.room / scale, rect.height() / scale),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, word);
  painter->restore();
}

}  // namespace

struct CResultsPrintJob::Layout {
  std::time_t started = 0;
  QFont title;
  QFont subtitle;
  QFont footer;
  QFont body;
  PrintGrid grid;
  double twips_to_x = 1;
  double twips_to_y = 1;
};

CResultsPrintJob::CResultsPrintJob(const QFont& results_font, int screen_dpi,
                                   WordSource words, CVersionInfo version)
    : results_font_(results_font),
      screen_dpi_(screen_dpi),
      words_(std::move(words)),
      version_(std::move(version)) {}

CResultsPrintJob::~CResultsPrintJob() = default;

int CResultsPrintJob::Begin(QPrinter* printer) {
  layout_ = std::make_unique<Layout>();
  Layout& layout = *layout_;
  layout.started = fixed_started_ != 0 ? fixed_started_ : std::time(nullptr);
  layout.twips_to_x = printer->logicalDpiX() / double{kTwipsPerInch};
  layout.twips_to_y = printer->logicalDpiY() / double{kTwipsPerInch};
  layout.body = WithoutLigatures(results_font_);
  layout.body.setPixelSize(std::max(
      1, PixelsToTwips(-LogFontFromFont(results_font_).height, screen_dpi_)));
  QFont header = WithoutLigatures(results_font_);
  header.setWeight(QFont::Bold);
  layout.title = WithCellHeight(header, kTitleHeight, printer);
  header.setWeight(QFont::Normal);
  layout.subtitle = WithCellHeight(header, kSubtitleHeight, printer);
  layout.footer = layout.subtitle;

  const QFontMetrics body(layout.body, printer);
  int widest = 0;
  const std::vector<std::string> words = words_();
  for (const std::string& word : words) {
    widest = std::max(widest, body.horizontalAdvance(Utf8(word)));
  }
  layout.grid = ComputePrintGrid(PageRectFor(*printer), body.averageCharWidth(),
                                 body.height(), widest, words.size());
  return layout.grid.last_page;
}

void CResultsPrintJob::PrintPage(QPainter* painter, int page) {
  const Layout& layout = *layout_;
  painter->save();
  painter->scale(layout.twips_to_x, layout.twips_to_y);
  painter->setPen(Qt::black);
  const auto height = [painter](const QFont& font) {
    return QFontMetrics(font, painter->device()).height();
  };
  const FurnitureHeights heights{height(layout.title), height(layout.subtitle),
                                 height(layout.subtitle),
                                 height(layout.footer)};
  const PageFurniture furniture = PlacePageFurniture(layout.grid.page, heights);
  const auto centred = [painter](const QFont& font, const TwipsRect& rect,
                                 const std::string& text) {
    painter->setFont(font);
    painter->drawText(ToPainter(rect), Qt::AlignHCenter | Qt::AlignTop,
                      Utf8(text));
  };
  centred(layout.title, furniture.title, kPrintTitle);
  centred(layout.subtitle, furniture.subtitle,
          PrintSubtitle(version_.FileDescription, version_.FileVersion));
  painter->setFont(layout.subtitle);
  painter->drawText(ToPainter(furniture.started),
                    Qt::AlignHCenter | Qt::AlignTop,
                    QString::fromLocal8Bit(FormatPrintStarted(layout.started)));
  centred(layout.footer, furniture.footer, PrintPageFooter(page));

  painter->setFont(layout.body);
  const std::vector<std::string> words = words_();
  for (const PrintCell& cell : PageCells(layout.grid, page, words.size())) {
    DrawWord(painter, cell, Utf8(words[cell.item]));
  }
  painter->restore();
}

void CResultsPrintJob::End() { layout_.reset(); }

bool CResultsPrintJob::Print(QPrinter* printer, bool all_pages) {
  const int last = Begin(printer);
  int from = 1;
  int to = last;
  if (!all_pages && printer->printRange() == QPrinter::PageRange &&
      printer->fromPage() > 0) {
    from = printer->fromPage();
    to = std::min(last, printer->toPage() > 0 ? printer->toPage() : last);
  }
  bool ok = true;
  if (from <= to) {
    QPainter painter;
    ok = painter.begin(printer);
    for (int page = from; ok && page <= to; ++page) {
      if (page > from) ok = printer->newPage();
      if (ok) PrintPage(&painter, page);
    }
    if (painter.isActive()) ok = painter.end() && ok;
  }
  End();
  return ok;
}

const PrintGrid& CResultsPrintJob::grid() const { return layout_->grid; }

const QFont& CResultsPrintJob::bodyFont() const { return layout_->body; }

}  // namespace vocor
