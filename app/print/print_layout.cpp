#include "app/print/print_layout.h"

#include <algorithm>
#include <cstdint>

namespace vocor {

const char kPrintTitle[] = "Search Results";

namespace {

// Spacing between lines, and between a title line and the next.
constexpr int kLineGap = 40;
// Room left under the last word line above the footer.
constexpr int kBodyBottomOffset = 720;
constexpr int kFooterLift = 20;
constexpr int kMinColumnChars = 12;
constexpr int kColumnGapChars = 5;
constexpr size_t kMaxTimeText = 128;

int64_t WordsPerPage(const PrintGrid& grid) {
  return static_cast<int64_t>(grid.rows) * grid.columns;
}

}  // namespace

int PixelsToTwips(int pixels, int pixels_per_inch) {
  if (pixels_per_inch <= 0) return 0;
  return static_cast<int>(static_cast<int64_t>(pixels) * kTwipsPerInch /
                          pixels_per_inch);
}

TwipsRect PrintPageRect(int paper_width, int paper_height,
                        const TwipsMargins& border) {
  const int left = std::max(kPrintSideMargin, border.left);
  const int right = std::max(kPrintSideMargin, border.right);
  const int top = std::max(kPrintEndMargin, border.top);
  const int bottom = std::max(kPrintEndMargin, border.bottom);
  // The paper's top left corner lies at (-border.left, +border.top) of the
  // printable area's origin.
  TwipsRect page;
  page.left = left - border.left;
  page.right = paper_width - right - border.left;
  page.top = border.top - top;
  page.bottom = border.top - paper_height + bottom;
  return page;
}

PrintGrid ComputePrintGrid(const TwipsRect& page, int ave_char_width,
                           int text_height, int widest_item,
                           size_t item_count) {
  const int a = std::max(0, ave_char_width);
  const int gap = kColumnGapChars * a;
  const int widest = std::max(kMinColumnChars * a, widest_item);
  PrintGrid grid;
  grid.page = page;
  grid.line_height = std::max(1, text_height + kLineGap);
  const int pitch = std::max(1, widest + gap);
  const int body_height =
      (page.top - kPrintBodyTopOffset) - (page.bottom + kBodyBottomOffset);
  grid.columns = std::max(1, (page.width() + gap) / pitch);
  grid.rows = std::max(1, (body_height + kLineGap) / grid.line_height);
  // The columns share what is left over, so the last one ends at the
  // page's right edge (its spacing beyond it).
  grid.column_width = std::max(1, (page.width() + gap) / grid.columns);
  if (item_count > 0) {
    const int64_t pages =
        static_cast<int64_t>((item_count - 1) / WordsPerPage(grid)) + 1;
    grid.last_page = static_cast<int>(std::min<int64_t>(pages, INT32_MAX));
  }
  return grid;
}

size_t FirstItemOfPage(const PrintGrid& grid, int page) {
  if (page < 1) return 0;
  return static_cast<size_t>(page - 1) *
         static_cast<size_t>(WordsPerPage(grid));
}

std::vector<PrintCell> PageCells(const PrintGrid& grid, int page,
                                 size_t item_count) {
  std::vector<PrintCell> cells;
  if (page < 1) return cells;
  const int body_top = grid.page.top - kPrintBodyTopOffset;
  TwipsRect cell{grid.page.left, body_top, grid.page.left + grid.column_width,
                 body_top - grid.line_height};
  int column = 0;
  int in_column = 0;
  for (size_t item = FirstItemOfPage(grid, page); item < item_count; ++item) {
    if (in_column == grid.rows) {
      if (++column >= grid.columns) break;
      cell.left += grid.column_width;
      cell.right += grid.column_width;
      cell.top = body_top;
      cell.bottom = body_top - grid.line_height;
      in_column = 0;
    }
    const int room = std::min(cell.right, grid.page.right) - cell.left;
    cells.push_back({item, cell, room});
    cell.top -= grid.line_height;
    cell.bottom -= grid.line_height;
    ++in_column;
  }
  return cells;
}

double ShrinkToFit(int text_width, int room) {
  if (room <= 0 || text_width <= room) return 1.0;
  return static_cast<double>(room) / text_width;
}

PageFurniture PlacePageFurniture(const TwipsRect& page,
                                 const FurnitureHeights& heights) {
  PageFurniture furniture;
  TwipsRect rest = page;
  const auto take_top = [&rest](int height, int gap) {
    const TwipsRect line{rest.left, rest.top, rest.right, rest.top - height};
    rest.top -= height + gap;
    return line;
  };
  furniture.title = take_top(heights.title, kLineGap);
  furniture.subtitle = take_top(heights.subtitle, kLineGap);
  furniture.started = take_top(heights.started, 0);
  const int bottom = page.bottom + kFooterLift;
  furniture.footer = {page.left, bottom + heights.footer, page.right, bottom};
  return furniture;
}

std::string PrintSubtitle(const std::string& description,
                          const std::string& version) {
  return description + " " + version;
}

std::string FormatPrintStarted(std::time_t started) {
  std::tm local{};
  if (localtime_r(&started, &local) == nullptr) return {};
  char text[kMaxTimeText + 1];
  const size_t length = std::strftime(text, sizeof text, "%c", &local);
  return std::string(text, length);
}

std::string PrintPageFooter(int page) { return "Page " + std::to_string(page); }

}  // namespace vocor
