#include "app/search/layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <vector>

namespace vocor {
namespace {

LayoutCell Cell(int min, int pref, int priority, int weight = 1) {
  LayoutCell cell;
  cell.min = min;
  cell.pref = pref;
  cell.priority = priority;
  cell.weight = weight;
  return cell;
}

std::vector<int> Sizes(const std::vector<LayoutCell>& cells) {
  std::vector<int> sizes;
  for (const LayoutCell& cell : cells) sizes.push_back(cell.size);
  return sizes;
}

TEST(DistributeSpaceTest, CellsNeverGrowAndFollowEachOther) {
  std::vector<LayoutCell> cells = {Cell(0, 10, 0), Cell(0, 20, 0)};
  DistributeSpace(cells.data(), 2, 100, 5);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{10, 20}));
  EXPECT_EQ(cells[0].pos, 5);
  EXPECT_EQ(cells[1].pos, 15);
}

TEST(DistributeSpaceTest, HighestPriorityGivesUpFirstDownToItsMinimum) {
  std::vector<LayoutCell> cells = {Cell(5, 50, 1), Cell(5, 50, 2),
                                   Cell(5, 50, 0)};
  DistributeSpace(cells.data(), 3, 100, 0);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{45, 5, 50}));
}

TEST(DistributeSpaceTest, AGroupShrinksByWeight) {
  std::vector<LayoutCell> cells = {Cell(0, 100, 0, 1), Cell(0, 100, 0, 3)};
  DistributeSpace(cells.data(), 2, 120, 0);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{80, 40}));
}

TEST(DistributeSpaceTest, OddPixelsComeFromTheSelectionSortOrder) {
  // Three equal cells must give up 4 pixels: floor(4/3) = 1 each, then one
  // more from the first cell of the group in the sorted order. The
  // selection sort swaps the lower-priority cell at the front with the
  // last cell, so that cell comes first in its group and gives the extra
  // pixel (a stable sort would take it from cell 1).
  std::vector<LayoutCell> cells = {Cell(10, 10, 0), Cell(0, 10, 5),
                                   Cell(0, 10, 5), Cell(0, 10, 5)};
  DistributeSpace(cells.data(), 4, 36, 0);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{10, 9, 9, 8}));

  // In array order already: the walk starts at cell 0.
  std::vector<LayoutCell> alone = {Cell(0, 10, 5), Cell(0, 10, 5),
                                   Cell(0, 10, 5)};
  DistributeSpace(alone.data(), 3, 26, 0);
  EXPECT_EQ(Sizes(alone), (std::vector<int>{8, 9, 9}));
}

TEST(DistributeSpaceTest, AGroupThatCannotAbsorbTheExcessGoesToItsMinimum) {
  std::vector<LayoutCell> cells = {Cell(10, 30, 1), Cell(20, 30, 0)};
  DistributeSpace(cells.data(), 2, 25, 0);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{10, 20}));
  EXPECT_EQ(cells[1].pos, 10);
}

TEST(DistributeSpaceTest, NegativeFillerTakesWhatOthersCannotGive) {
  std::vector<LayoutCell> cells = {Cell(10, 10, 0),
                                   Cell(kLayoutFillerMin, 6, INT_MIN)};
  DistributeSpace(cells.data(), 2, 4, 0);
  EXPECT_EQ(Sizes(cells), (std::vector<int>{10, -6}));
}

class SearchLayoutTest : public ::testing::Test {
 protected:
  LayoutUnits units_ = ComputeLayoutUnits({16, 7});
};

TEST_F(SearchLayoutTest, UnitsComeFromTheFontWithTruncation) {
  const LayoutUnits units = ComputeLayoutUnits({13, 6});
  EXPECT_EQ(units.w, 6);
  EXPECT_EQ(units.h, 13);
  EXPECT_EQ(units.r, 15);  // 156 / 10
  EXPECT_EQ(units.bw, 60);
  EXPECT_EQ(units.bh, 18);  // 182 / 10
  EXPECT_EQ(FormHeight(units, 2), 2 * 15 + 6);
  EXPECT_EQ(FormHeight(units, 3), 3 * 15 + 12);
}

TEST_F(SearchLayoutTest, WideWindowGivesTheTabsTheRest) {
  const SearchViewLayout layout = LayOutSearchView(units_, 800, 600, 300, 120);
  EXPECT_EQ(layout.tabs.x, 6);
  EXPECT_EQ(layout.tabs.y, 6);
  EXPECT_EQ(layout.tabs.height, 120);
  // 800 = 6 + tabs + 6 + 70 + 6.
  EXPECT_EQ(layout.tabs.width, 712);
  EXPECT_EQ(layout.buttons_x, 724);
  EXPECT_EQ(layout.buttons_width, 70);
  EXPECT_EQ(layout.list.x, 0);
  EXPECT_EQ(layout.list.y, 132);
  EXPECT_EQ(layout.list.width, 800);
  EXPECT_EQ(layout.list.height, 468);
  EXPECT_EQ(layout.separator.width, 800);
  EXPECT_EQ(layout.separator.height, 2);
}

TEST_F(SearchLayoutTest, NarrowWindowKeepsTabsAndButtonsAndLosesTheMargin) {
  const SearchViewLayout layout = LayOutSearchView(units_, 200, 600, 300, 120);
  EXPECT_EQ(layout.tabs.width, 300);
  EXPECT_EQ(layout.buttons_x, 312);
  EXPECT_EQ(layout.buttons_width, 70);
}

TEST_F(SearchLayoutTest, LowWindowLeavesTheListEmptyNotTheTabs) {
  const SearchViewLayout layout = LayOutSearchView(units_, 800, 50, 300, 120);
  EXPECT_EQ(layout.tabs.y, 6);
  EXPECT_EQ(layout.tabs.height, 120);
  EXPECT_EQ(layout.list.y, 132);
  EXPECT_EQ(layout.list.height, 0);
}

TEST_F(SearchLayoutTest, ButtonsHangFromTheDisplayArea) {
  const SearchViewLayout layout = LayOutSearchView(units_, 800, 600, 300, 120);
  LayoutRect search, stop;
  PlaceSearchButtons(units_, layout, 40, &search, &stop);
  EXPECT_EQ(search.x, 724);
  EXPECT_EQ(search.y, 38);
  EXPECT_EQ(search.height, 22);
  EXPECT_EQ(stop.y, 40 + 22 + 4);
  EXPECT_EQ(stop.width, 70);
}

TEST_F(SearchLayoutTest, FormRowsPutLabelsAtSixteenWidthsAndBoxesAfter) {
  const std::vector<FormRowLayout> rows = LayOutForm(units_, 3, 400, 200);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].label.x, 0);
  EXPECT_EQ(rows[0].label.width, 16 * 7);
  EXPECT_EQ(rows[0].label.y, 3);
  EXPECT_EQ(rows[0].label.height, 19);
  EXPECT_EQ(rows[0].box.x, 16 * 7);
  EXPECT_EQ(rows[0].box.width, 400 - 16 * 7);
  EXPECT_EQ(rows[0].box.height, 15 * 16);
  EXPECT_EQ(rows[1].box.y, 19 + 6);
  EXPECT_EQ(rows[2].box.y, 2 * (19 + 6));
}

TEST_F(SearchLayoutTest, NarrowFormKeepsLabelAndBoxMinimums) {
  const std::vector<FormRowLayout> rows = LayOutForm(units_, 2, 50, 200);
  EXPECT_EQ(rows[0].label.width, 16 * 7);
  EXPECT_EQ(rows[0].box.width, 10 * 7);
  EXPECT_EQ(rows[0].box.x, 16 * 7);
}

TEST_F(SearchLayoutTest, PalindromeRowShrinksTheListsBeforeTheLabels) {
  const PalindromeRowLayout wide = LayOutPalindromeFirstRow(units_, 1000, 0);
  EXPECT_EQ(wide.which_label.width, 18 * 7);
  EXPECT_EQ(wide.transform.x, 18 * 7);
  EXPECT_EQ(wide.transform.width, 24 * 7);
  EXPECT_EQ(wide.produce_label.x, 42 * 7 + 6);
  EXPECT_EQ(wide.produce_label.y, 3);
  EXPECT_EQ(wide.result.width, 24 * 7);

  const PalindromeRowLayout narrow = LayOutPalindromeFirstRow(units_, 300, 0);
  EXPECT_EQ(narrow.transform.width, 18 * 7);
  EXPECT_EQ(narrow.produce_label.width, 16 * 7);
  EXPECT_EQ(narrow.result.width, 18 * 7);
}

TEST_F(SearchLayoutTest, WidgetHintsRaiseRowsAndButtonsButNeverLowerThem) {
  const LayoutUnits fitted = FitUnitsToWidgets(units_, {26, 84, 30});
  EXPECT_EQ(fitted.w, 7);
  EXPECT_EQ(fitted.h, 16);
  EXPECT_EQ(fitted.r, 26);
  EXPECT_EQ(fitted.bw, 84);
  EXPECT_EQ(fitted.bh, 30);
  const LayoutUnits kept = FitUnitsToWidgets(units_, {12, 40, 20});
  EXPECT_EQ(kept.r, 19);
  EXPECT_EQ(kept.bw, 70);
  EXPECT_EQ(kept.bh, 22);
  // The rows follow the raised height: boxes of 26 pixels never overlap.
  const std::vector<FormRowLayout> rows = LayOutForm(fitted, 3, 400, 200);
  EXPECT_EQ(rows[1].box.y, 26 + 6);
  EXPECT_EQ(rows[2].box.y, 2 * (26 + 6));
  EXPECT_EQ(FormHeight(fitted, 3), 3 * 26 + 12);
}

// A row of two pairs: the first label lines up with the other rows'
// labels, the second follows a gap, and the two boxes share the rest.
TEST_F(SearchLayoutTest, TwoPairsShareARow) {
  const std::vector<FormRowLayout> pairs =
      LayOutFormRows(units_, {0, 1, 2}, 600, 200);
  ASSERT_EQ(pairs.size(), 3u);
  const int row_top = 2 * (19 + 6);  // the third row
  EXPECT_EQ(pairs[0].box.y, 19 + 6);
  EXPECT_EQ(pairs[1].label.x, 0);
  EXPECT_EQ(pairs[1].label.width, 16 * 7);
  EXPECT_EQ(pairs[1].box.y, row_top);
  EXPECT_EQ(pairs[2].box.y, row_top);
  EXPECT_EQ(pairs[2].label.y, row_top + 3);
  EXPECT_EQ(pairs[1].box.x, 16 * 7);
  EXPECT_EQ(pairs[2].label.x, pairs[1].box.x + pairs[1].box.width + 6);
  EXPECT_EQ(pairs[2].label.width, 14 * 7);
  EXPECT_EQ(pairs[2].box.x, pairs[2].label.x + 14 * 7);
  EXPECT_EQ(pairs[2].box.x + pairs[2].box.width, 600);
  EXPECT_LE(std::abs(pairs[1].box.width - pairs[2].box.width), 1);
  // One pair per row is LayOutForm.
  const std::vector<FormRowLayout> single = LayOutForm(units_, 2, 600, 200);
  const std::vector<FormRowLayout> same =
      LayOutFormRows(units_, {1, 1}, 600, 200);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(same[i].box.x, single[i].box.x);
    EXPECT_EQ(same[i].box.width, single[i].box.width);
    EXPECT_EQ(same[i].label.y, single[i].label.y);
  }
}

// Over a range of widths: from the minimum on, every label and box of
// every kind of row lies inside the form and after the one before it;
// below it something is cut off.
TEST_F(SearchLayoutTest, FormMinimumWidthIsWhereNothingIsCutOff) {
  const std::vector<std::vector<int>> forms = {{1, 1}, {1, 1, 2}, {1, 1, 1}};
  for (const std::vector<int>& rows : forms) {
    const int minimum = FormMinimumWidth(units_, rows);
    for (int width = minimum - 40; width <= minimum + 300; ++width) {
      const std::vector<FormRowLayout> pairs =
          LayOutFormRows(units_, rows, width, 200);
      int right = 0;
      int widest = 0;
      int row_y = -1;
      for (const FormRowLayout& pair : pairs) {
        if (pair.box.y != row_y) right = 0;  // a new row
        row_y = pair.box.y;
        EXPECT_GE(pair.label.x, right);
        EXPECT_GE(pair.box.x, pair.label.x + pair.label.width);
        EXPECT_GE(pair.box.width, 10 * 7);
        right = pair.box.x + pair.box.width;
        widest = std::max(widest, right);
      }
      EXPECT_EQ(widest <= width, width >= minimum) << width;
    }
  }
  EXPECT_EQ(FormMinimumWidth(units_, {1, 1}), 26 * 7);
  EXPECT_EQ(FormMinimumWidth(units_, {0, 1, 2}), 50 * 7 + 6);
}

// A second label whose text is wider than 14w gets its text's width, in
// the layout and in the minimum width alike; a narrower one keeps 14w.
TEST_F(SearchLayoutTest, ASecondLabelIsNeverCutOff) {
  EXPECT_EQ(SecondLabelWidth(units_, 60), 14 * 7);
  EXPECT_EQ(SecondLabelWidth(units_, 113), 120);
  const int label = SecondLabelWidth(units_, 113);
  const std::vector<FormRowLayout> pairs =
      LayOutFormRows(units_, {1, 2}, 600, 200, label);
  ASSERT_EQ(pairs.size(), 3u);
  EXPECT_EQ(pairs[2].label.width, 120);
  EXPECT_EQ(pairs[2].box.x, pairs[2].label.x + 120);
  EXPECT_EQ(pairs[2].box.x + pairs[2].box.width, 600);
  EXPECT_EQ(pairs[0].label.width, 16 * 7);  // the first column stays
  EXPECT_EQ(FormMinimumWidth(units_, {1, 2}, label),
            FormMinimumWidth(units_, {1, 2}) + 120 - 14 * 7);
  EXPECT_EQ(FormMinimumWidth(units_, {1, 1}, label),
            FormMinimumWidth(units_, {1, 1}));
}

TEST(ProgressBarLeftTest, ThirtyWidthsInOrTheMiddleWhicheverIsFurtherLeft) {
  EXPECT_EQ(ProgressBarLeft(0, 1000, 7), 210);
  EXPECT_EQ(ProgressBarLeft(0, 300, 7), 150);
  EXPECT_EQ(ProgressBarLeft(10, 21, 7), 15);
}

}  // namespace
}  // namespace vocor
