#include "app/print/print_layout.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace vocor {
namespace {

constexpr int kLetterWidth = 12240;   // 8.5 in
constexpr int kLetterHeight = 15840;  // 11 in

TEST(PrintPageRectTest, SmallestMarginsOnAPrinterWithoutBorder) {
  const TwipsRect page = PrintPageRect(kLetterWidth, kLetterHeight, {});
  EXPECT_EQ(page, (TwipsRect{1080, -720, kLetterWidth - 1080,
                             -(kLetterHeight - 720)}));
}

TEST(PrintPageRectTest, WiderBorderIsTheMarginAndMovesTheOrigin) {
  // Coordinates are relative to the printable area, which starts at the
  // border: a margin that equals the border lies on the origin.
  const TwipsRect page =
      PrintPageRect(kLetterWidth, kLetterHeight, {1440, 900, 300, 100});
  EXPECT_EQ(page.left, 0);
  EXPECT_EQ(page.top, 0);
  EXPECT_EQ(page.right, kLetterWidth - 1080 - 1440);
  EXPECT_EQ(page.bottom, 900 - (kLetterHeight - 720));
  EXPECT_EQ(page.width(), kLetterWidth - 1440 - 1080);
  EXPECT_EQ(page.height(), kLetterHeight - 900 - 720);
}

// A page of 2 columns of 50 rows with a = 100 and t = 200: lines 240 apart,
// the body 12000 high, columns at least 1200 + 500 apart.
TwipsRect TwoByFiftyPage() { return {0, 0, 3400, -13800}; }

TEST(PrintGridTest, ColumnsRowsAndSpreadFromTheFontAndPage) {
  const PrintGrid grid = ComputePrintGrid(TwoByFiftyPage(), 100, 200, 0, 250);
  EXPECT_EQ(grid.line_height, 240);
  EXPECT_EQ(grid.rows, 50);
  EXPECT_EQ(grid.columns, 2);
  // The spare width is shared: (3400 + 500) / 2.
  EXPECT_EQ(grid.column_width, 1950);
  EXPECT_EQ(grid.last_page, 3);
  EXPECT_EQ(FirstItemOfPage(grid, 1), 0u);
  EXPECT_EQ(FirstItemOfPage(grid, 2), 100u);
}

TEST(PrintGridTest, EmptyListAndFullPagesCountPagesExactly) {
  const TwipsRect page = TwoByFiftyPage();
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 0, 0).last_page, 1);
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 0, 1).last_page, 1);
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 0, 100).last_page, 1);
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 0, 101).last_page, 2);
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 0, 200).last_page, 2);
}

TEST(PrintGridTest, EmptyListOnAOneWordPageStillPrintsOnePage) {
  // Without a floor, (0 - 1) / 1 + 1 would give no page at all.
  const TwipsRect tiny{0, 0, 10, -10};
  const PrintGrid grid = ComputePrintGrid(tiny, 100, 200, 0, 0);
  EXPECT_EQ(grid.columns, 1);
  EXPECT_EQ(grid.rows, 1);
  EXPECT_EQ(grid.last_page, 1);
  EXPECT_TRUE(PageCells(grid, 1, 0).empty());
}

TEST(PrintGridTest, LongWordsWidenTheColumnsShortOnesDoNot) {
  const TwipsRect page = TwoByFiftyPage();
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 1100, 1).columns, 2);
  const PrintGrid wide = ComputePrintGrid(page, 100, 200, 2000, 1);
  EXPECT_EQ(wide.columns, 1);
  EXPECT_EQ(wide.column_width, 3900);
  EXPECT_EQ(ComputePrintGrid(page, 100, 200, 2000, 101).last_page, 3);
}

TEST(PrintGridTest, FontWithoutWidthNeverDividesByZero) {
  const PrintGrid grid = ComputePrintGrid(TwoByFiftyPage(), 0, -40, 0, 5);
  EXPECT_GE(grid.column_width, 1);
  EXPECT_GE(grid.line_height, 1);
  EXPECT_GE(grid.last_page, 1);
}

TEST(PageCellsTest, ColumnsFillTopToBottomThenLeftToRight) {
  const PrintGrid grid = ComputePrintGrid(TwoByFiftyPage(), 100, 200, 0, 250);
  const std::vector<PrintCell> page2 = PageCells(grid, 2, 250);
  ASSERT_EQ(page2.size(), 100u);
  // The 101st word at the top left of page 2, below the header room.
  EXPECT_EQ(page2[0].item, 100u);
  EXPECT_EQ(page2[0].rect, (TwipsRect{0, -1080, 1950, -1320}));
  EXPECT_EQ(page2[1].rect.top, -1320);
  EXPECT_EQ(page2[49].item, 149u);
  EXPECT_EQ(page2[49].rect.top, -1080 - 49 * 240);
  EXPECT_EQ(page2[50].item, 150u);
  EXPECT_EQ(page2[50].rect, (TwipsRect{1950, -1080, 3900, -1320}));
  EXPECT_EQ(page2[99].item, 199u);

  const std::vector<PrintCell> page3 = PageCells(grid, 3, 250);
  ASSERT_EQ(page3.size(), 50u);
  EXPECT_EQ(page3.front().item, 200u);
  EXPECT_EQ(page3.back().item, 249u);
  EXPECT_EQ(page3.back().rect.left, 0);
  EXPECT_TRUE(PageCells(grid, 4, 250).empty());
  EXPECT_TRUE(PageCells(grid, 0, 250).empty());
}

TEST(PageCellsTest, RoomEndsAtTheCellOrThePageWhicheverIsNearer) {
  const PrintGrid grid = ComputePrintGrid(TwoByFiftyPage(), 100, 200, 0, 100);
  const std::vector<PrintCell> cells = PageCells(grid, 1, 100);
  EXPECT_EQ(cells.front().room, 1950);
  // The last column's spacing lies beyond the page's right edge.
  EXPECT_EQ(cells.back().room, 3400 - 1950);

  // A word wider than the page gets one column, and the page's width.
  const PrintGrid wide = ComputePrintGrid(TwoByFiftyPage(), 100, 200, 9000, 3);
  for (const PrintCell& cell : PageCells(wide, 1, 3)) {
    EXPECT_EQ(cell.room, 3400);
  }
}

TEST(ShrinkToFitTest, OnlyTextsWiderThanTheRoomShrinkAndThenFitExactly) {
  EXPECT_EQ(ShrinkToFit(0, 3400), 1.0);
  EXPECT_EQ(ShrinkToFit(3400, 3400), 1.0);
  EXPECT_DOUBLE_EQ(ShrinkToFit(6800, 3400), 0.5);
  for (int width : {3401, 9999, 123457, 2000000000}) {
    const double scale = ShrinkToFit(width, 3400);
    EXPECT_LT(scale, 1.0);
    EXPECT_LE(width * scale, 3400.0 + 1e-6) << width;
    EXPECT_GT(width * scale, 3399.0) << width;
  }
  // Nothing fits in no room: the text is left as it is.
  EXPECT_EQ(ShrinkToFit(500, 0), 1.0);
  EXPECT_EQ(ShrinkToFit(500, -20), 1.0);
}

TEST(PageFurnitureTest, HeaderLinesStackDownFooterSitsAboveTheBottom) {
  const TwipsRect page{1080, -720, 11160, -15120};
  const PageFurniture furniture =
      PlacePageFurniture(page, {/*title=*/380, /*subtitle=*/190,
                                /*started=*/190, /*footer=*/190});
  EXPECT_EQ(furniture.title, (TwipsRect{1080, -720, 11160, -1100}));
  EXPECT_EQ(furniture.subtitle, (TwipsRect{1080, -1140, 11160, -1330}));
  EXPECT_EQ(furniture.started, (TwipsRect{1080, -1370, 11160, -1560}));
  EXPECT_EQ(furniture.footer, (TwipsRect{1080, -14910, 11160, -15100}));
}

TEST(PrintTextsTest, TitleSubtitleFooterAndStartTime) {
  EXPECT_STREQ(kPrintTitle, "Search Results");
  EXPECT_EQ(PrintSubtitle("Vocor", "2.6 (Build 127)"), "Vocor 2.6 (Build 127)");
  EXPECT_EQ(PrintPageFooter(1), "Page 1");
  EXPECT_EQ(PrintPageFooter(120), "Page 120");
  setenv("TZ", "UTC", 1);
  tzset();
  EXPECT_EQ(FormatPrintStarted(0), "Thu Jan  1 00:00:00 1970");
}

TEST(PrintUnitsTest, ScreenPixelsToTwipsTruncates) {
  EXPECT_EQ(PixelsToTwips(16, 96), 240);
  EXPECT_EQ(PixelsToTwips(13, 96), 195);
  EXPECT_EQ(PixelsToTwips(1, 72), 20);
  EXPECT_EQ(PixelsToTwips(7, 0), 0);
}

}  // namespace
}  // namespace vocor
