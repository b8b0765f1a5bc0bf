#include "app/search/layout.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

namespace vocor {

namespace {

// The order in which the groups give up length. The selection sort is kept
// as it is (not replaced by a stable sort) because it fixes which cell of
// a priority group gives up the last odd pixels.
std::vector<int> OrderByPriority(const LayoutCell* cells, int count) {
  std::vector<int> order(count);
  std::iota(order.begin(), order.end(), 0);
  for (int p = count - 1; p >= 1; --p) {
    int lowest = p;
    for (int i = p - 1; i >= 0; --i) {
      if (cells[order[i]].priority < cells[order[lowest]].priority) {
        lowest = i;
      }
    }
    std::swap(order[lowest], order[p]);
  }
  return order;
}

// Shrinks the cells order[first, last) (one priority group) while the
// total exceeds `length`.
void ShrinkGroup(LayoutCell* cells, const std::vector<int>& order, int first,
                 int last, int length, long long* total) {
  while (*total > length) {
    long long slack_sum = 0;
    long long weight_sum = 0;
    double ratio = 1e30;
    for (int k = first; k < last; ++k) {
      const LayoutCell& cell = cells[order[k]];
      if (cell.size <= cell.min) continue;
      const int slack = cell.size - cell.min;
      slack_sum += slack;
      weight_sum += cell.weight;
      ratio = std::min(ratio, static_cast<double>(slack) / cell.weight);
    }
    if (*total - slack_sum > length) {
      for (int k = first; k < last; ++k) {
        LayoutCell& cell = cells[order[k]];
        *total -= cell.size - cell.min;
        cell.size = cell.min;
      }
      return;
    }
    const double f =
        std::min(ratio, static_cast<double>(*total - length) / weight_sum);
    bool gave = false;
    for (int k = first; k < last; ++k) {
      LayoutCell& cell = cells[order[k]];
      if (cell.size == cell.min) continue;
      const int give = static_cast<int>(std::floor(f * cell.weight));
      if (give > 0) {
        cell.size -= give;
        *total -= give;
        gave = true;
      }
    }
    if (gave) continue;
    for (int k = first; k < last && *total != length; ++k) {
      LayoutCell& cell = cells[order[k]];
      if (cell.size == cell.min) continue;
      --cell.size;
      --*total;
    }
  }
}

LayoutCell Cell(int min, int pref, int priority) {
  LayoutCell cell;
  cell.min = min;
  cell.pref = pref;
  cell.priority = priority;
  return cell;
}

// The sum of the minimums of every cell but the fillers, which may become
// negative: the length at which nothing is cut off yet.
int MinimumLength(const std::vector<LayoutCell>& cells) {
  int length = 0;
  for (const LayoutCell& cell : cells) {
    if (cell.priority != INT_MIN) length += cell.min;
  }
  return length;
}

// The columns of a form row: label, box, and with `pairs` 2 a gap, a
// second label (`second_label` pixels, 0 for 14w) and a second box; then
// the filler.
std::vector<LayoutCell> FormRowColumns(const LayoutUnits& units, int pairs,
                                       int second_label) {
  std::vector<LayoutCell> columns = {Cell(16 * units.w, 18 * units.w, 0),
                                     Cell(10 * units.w, kLayoutFill, 0)};
  if (pairs == 2) {
    const int label = second_label > 0 ? second_label : 14 * units.w;
    columns.push_back(Cell(6, 6, 0));
    columns.push_back(Cell(label, label, 0));
    columns.push_back(Cell(10 * units.w, kLayoutFill, 0));
  }
  columns.push_back(Cell(kLayoutFillerMin, 0, INT_MIN));
  return columns;
}

std::vector<LayoutCell> PalindromeRowColumns(const LayoutUnits& units) {
  const int w = units.w;
  return {Cell(18 * w, 18 * w, 0),
          Cell(18 * w, 24 * w, 0),
          Cell(6, 6, 0),
          Cell(16 * w, 16 * w, 0),
          Cell(18 * w, 24 * w, 0),
          Cell(0, kLayoutFill, 10),
          Cell(kLayoutFillerMin, 0, INT_MIN)};
}

}  // namespace

void DistributeSpace(LayoutCell* cells, int count, int length, int start) {
  long long total = 0;
  for (int i = 0; i < count; ++i) {
    cells[i].size = cells[i].pref;
    total += cells[i].size;
  }
  if (total > length) {
    const std::vector<int> order = OrderByPriority(cells, count);
    for (int first = 0; first < count && total > length;) {
      int last = first + 1;
      while (last < count &&
             cells[order[last]].priority == cells[order[first]].priority) {
        ++last;
      }
      ShrinkGroup(cells, order, first, last, length, &total);
      first = last;
    }
  }
  int pos = start;
  for (int i = 0; i < count; ++i) {
    cells[i].pos = pos;
    pos += cells[i].size;
  }
}

LayoutUnits ComputeLayoutUnits(const BaseTextMetrics& metrics) {
  LayoutUnits units;
  units.w = metrics.ave_char_width;
  units.h = metrics.height;
  units.r = 12 * metrics.height / 10;
  units.bw = 10 * metrics.ave_char_width;
  units.bh = 14 * metrics.height / 10;
  return units;
}

LayoutUnits FitUnitsToWidgets(const LayoutUnits& units,
                              const WidgetSizeHints& hints) {
  LayoutUnits fitted = units;
  fitted.r = std::max(units.r, hints.box_height);
  fitted.bw = std::max(units.bw, hints.button_width);
  fitted.bh = std::max(units.bh, hints.button_height);
  return fitted;
}

int FormHeight(const LayoutUnits& units, int rows) {
  return rows * units.r + (rows - 1) * 6;
}

SearchViewLayout LayOutSearchView(const LayoutUnits& units, int client_width,
                                  int client_height, int tab_width,
                                  int tab_height) {
  enum { kLeft, kTabs, kGap, kButtons, kRightFiller };
  LayoutCell columns[] = {Cell(6, 6, 0), Cell(tab_width, kLayoutFill, INT_MAX),
                          Cell(6, 6, 0), Cell(units.bw, units.bw, 0),
                          Cell(kLayoutFillerMin, 6, INT_MIN)};
  DistributeSpace(columns, 5, client_width, 0);

  enum { kTop, kTabRow, kRowGap, kList, kBottomFiller };
  LayoutCell rows[] = {Cell(6, 6, 0), Cell(tab_height, tab_height, 0),
                       Cell(6, 6, 0), Cell(0, kLayoutFill, INT_MAX),
                       Cell(kLayoutFillerMin, 0, INT_MIN)};
  DistributeSpace(rows, 5, client_height, 0);

  SearchViewLayout layout;
  layout.separator = {0, 0, client_width, 2};
  layout.tabs = {columns[kTabs].pos, rows[kTabRow].pos, columns[kTabs].size,
                 rows[kTabRow].size};
  layout.buttons_x = columns[kButtons].pos;
  layout.buttons_width = columns[kButtons].size;
  layout.list = {0, rows[kList].pos, client_width, rows[kList].size};
  return layout;
}

int SearchViewMinimumWidth(const LayoutUnits& units, int tab_width) {
  // The left margin, the tabs, the gap, the buttons and a right margin as
  // wide as the left one.
  return 6 + tab_width + 6 + units.bw + 6;
}

void PlaceSearchButtons(const LayoutUnits& units,
                        const SearchViewLayout& layout, int display_top,
                        LayoutRect* search, LayoutRect* stop) {
  *search = {layout.buttons_x, display_top - 2, layout.buttons_width, units.bh};
  *stop = {layout.buttons_x, display_top + units.bh + 4, layout.buttons_width,
           units.bh};
}

std::vector<FormRowLayout> LayOutForm(const LayoutUnits& units, int rows,
                                      int form_width, int form_height) {
  return LayOutFormRows(units, std::vector<int>(rows, 1), form_width,
                        form_height);
}

std::vector<FormRowLayout> LayOutFormRows(const LayoutUnits& units,
                                          const std::vector<int>& boxes_per_row,
                                          int form_width, int form_height,
                                          int second_label) {
  const int rows = static_cast<int>(boxes_per_row.size());
  // Row, then (gap, row) per further row, then the filler.
  std::vector<LayoutCell> cells;
  cells.push_back(Cell(units.r, units.r, 0));
  for (int i = 1; i < rows; ++i) {
    cells.push_back(Cell(6, 6, 0));
    cells.push_back(Cell(units.r, units.r, 0));
  }
  cells.push_back(Cell(kLayoutFillerMin, kLayoutFill, 0));
  DistributeSpace(cells.data(), static_cast<int>(cells.size()), form_height, 0);

  std::vector<FormRowLayout> result;
  for (int i = 0; i < rows; ++i) {
    const int pairs = boxes_per_row[i];
    if (pairs == 0) continue;
    std::vector<LayoutCell> columns =
        FormRowColumns(units, pairs, second_label);
    DistributeSpace(columns.data(), static_cast<int>(columns.size()),
                    form_width, 0);
    const LayoutCell& row = cells[2 * i];
    for (int pair = 0; pair < pairs; ++pair) {
      // The second pair's label and box follow the gap.
      const LayoutCell& label = columns[pair == 0 ? 0 : 3];
      const LayoutCell& box = columns[pair == 0 ? 1 : 4];
      FormRowLayout place;
      place.label = {label.pos, row.pos + kLabelDrop, label.size, row.size};
      place.box = {box.pos, row.pos, box.size, 15 * units.h};
      result.push_back(place);
    }
  }
  return result;
}

int FormMinimumWidth(const LayoutUnits& units,
                     const std::vector<int>& boxes_per_row, int second_label) {
  int width = 0;
  for (const int pairs : boxes_per_row) {
    if (pairs > 0) {
      width = std::max(
          width, MinimumLength(FormRowColumns(units, pairs, second_label)));
    }
  }
  return width;
}

int SecondLabelWidth(const LayoutUnits& units, int widest_text) {
  // One average width of room between the text and the box.
  return std::max(14 * units.w, widest_text + units.w);
}

PalindromeRowLayout LayOutPalindromeFirstRow(const LayoutUnits& units,
                                             int form_width, int row_top) {
  enum { kWhich, kTransform, kGap, kProduce, kResult };
  std::vector<LayoutCell> columns = PalindromeRowColumns(units);
  DistributeSpace(columns.data(), static_cast<int>(columns.size()), form_width,
                  0);

  auto label = [&](int column) {
    return LayoutRect{columns[column].pos, row_top + kLabelDrop,
                      columns[column].size, units.r};
  };
  auto list = [&](int column) {
    return LayoutRect{columns[column].pos, row_top, columns[column].size,
                      15 * units.h};
  };
  PalindromeRowLayout layout;
  layout.which_label = label(kWhich);
  layout.transform = list(kTransform);
  layout.produce_label = label(kProduce);
  layout.result = list(kResult);
  return layout;
}

int PalindromeFirstRowMinimumWidth(const LayoutUnits& units) {
  return MinimumLength(PalindromeRowColumns(units));
}

int ProgressBarLeft(int pane_left, int pane_right, int ave_char_width) {
  const int left = pane_left + 30 * ave_char_width;
  const int middle = (pane_left + pane_right) / 2;
  return std::min(left, middle);
}

}  // namespace vocor
