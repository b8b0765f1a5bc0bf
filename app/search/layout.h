// Layout arithmetic of the main window and the search forms, without any
// widget: the one-dimensional space solver that every window shares, the
// length units measured from the application's font, and the rectangles of
// the search view and of a form's rows. The Qt classes only measure what
// the toolkit knows (the font, a tab control's frame) and move widgets to
// the rectangles computed here.
#ifndef VOCOR_APP_SEARCH_LAYOUT_H_
#define VOCOR_APP_SEARCH_LAYOUT_H_

#include <vector>

namespace vocor {

// One cell of a row or column handed to DistributeSpace.
struct LayoutCell {
  int pos = 0;       // result: start coordinate
  int size = 0;      // result: length
  int min = 0;       // smallest length the cell may be given
  int pref = 0;      // length the cell starts with
  int priority = 0;  // cells of higher priority give up length first
  int weight = 1;    // share within its priority group; must be > 0
};

// Preferred length of a cell that takes all free space.
inline constexpr int kLayoutFill = 1000000;
// Minimum of a filler cell that may become negative.
inline constexpr int kLayoutFillerMin = -1000000;

// Gives every cell its preferred length, then takes length away, highest
// priority group first, until the cells fit in `length` or every cell is at
// its minimum; cells never grow. Positions follow in array order from
// `start`. `cells` must hold `count` cells.
void DistributeSpace(LayoutCell* cells, int count, int length, int start);

// Text height and average character width of the application's font, the
// length units of the frame, the dictionary list and the search forms.
struct BaseTextMetrics {
  int height = 16;
  int ave_char_width = 7;
};

// Units derived from BaseTextMetrics. The dialog base units are the same
// font's average width (horizontal) and height (vertical).
struct LayoutUnits {
  int w = 7;    // average character width
  int h = 16;   // text height
  int r = 19;   // row height of a form: 12 * vertical base unit / 10
  int bw = 70;  // button width: 10 * horizontal base unit
  int bh = 22;  // button height: 14 * vertical base unit / 10
};
LayoutUnits ComputeLayoutUnits(const BaseTextMetrics& metrics);

// What the toolkit's own widgets ask for (their size hints), which with
// some styles exceeds the font-based units: a combo box is taller than
// 12h/10, a button wider or taller than its units.
struct WidgetSizeHints {
  int box_height = 0;     // the tallest closed combo box of the forms
  int button_width = 0;   // the wider of the Search and Stop buttons
  int button_height = 0;  // the taller of the two
};
// `units` with the row height raised to the box height and the button
// size to the buttons' hints where those are larger; w and h stay. A row
// then always holds its box whole, so rows never touch or overlap.
LayoutUnits FitUnitsToWidgets(const LayoutUnits& units,
                              const WidgetSizeHints& hints);

struct LayoutRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// The height a form with `rows` rows needs: rows * r plus a gap of 6
// pixels between rows.
int FormHeight(const LayoutUnits& units, int rows);

// The search view over a client area: the separator line along the top,
// the tab control, the column of the Search and Stop buttons, the results
// list. `tab_width` and `tab_height` are the size the tab control needs
// around a display area of 12 x (tallest form height + 12) pixels.
struct SearchViewLayout {
  LayoutRect separator;
  LayoutRect tabs;
  int buttons_x = 0;
  int buttons_width = 0;
  LayoutRect list;
};
SearchViewLayout LayOutSearchView(const LayoutUnits& units, int client_width,
                                  int client_height, int tab_width,
                                  int tab_height);
// The narrowest client width at which LayOutSearchView shows the tab
// control at `tab_width` and the buttons whole, with all its margins.
int SearchViewMinimumWidth(const LayoutUnits& units, int tab_width);

// The two buttons of the view, given the top of the tab control's display
// area (in the view's coordinates).
void PlaceSearchButtons(const LayoutUnits& units,
                        const SearchViewLayout& layout, int display_top,
                        LayoutRect* search, LayoutRect* stop);

// How far a label is moved down from its row's top, so that its text (drawn
// from the top) lines up with the text of the box beside it.
inline constexpr int kLabelDrop = 3;

// One row of a form: the label (moved kLabelDrop down, the row's height) and
// its box (at the row's top, 15h high: the height of the open drop-down;
// the closed field is h high).
struct FormRowLayout {
  LayoutRect label;
  LayoutRect box;
};
std::vector<FormRowLayout> LayOutForm(const LayoutUnits& units, int rows,
                                      int form_width, int form_height);

// A form whose rows hold one or two label-and-box pairs each:
// `boxes_per_row` gives 1 or 2 per row, or 0 for a row that the form lays
// out itself (the palindrome form's first). The result has one entry per
// pair, in row order. The first pair of every row has the columns of
// LayOutForm; a second pair follows a gap of 6 pixels, its label
// `second_label` pixels wide (0: 14w), and the two boxes share the rest
// equally.
std::vector<FormRowLayout> LayOutFormRows(const LayoutUnits& units,
                                          const std::vector<int>& boxes_per_row,
                                          int form_width, int form_height,
                                          int second_label = 0);
// The narrowest form width (without the form's margin) at which every row
// of LayOutFormRows keeps its labels and boxes at their minimums.
int FormMinimumWidth(const LayoutUnits& units,
                     const std::vector<int>& boxes_per_row,
                     int second_label = 0);
// The width of the labels of the rows' second boxes: 14w, or the widest
// of their texts (`widest_text` pixels) and a w of room when that is
// wider, so that no label is cut off or touches its box.
int SecondLabelWidth(const LayoutUnits& units, int widest_text);

// The first row of the palindrome form: "Find words which", the
// transformation list, "to produce the", the result list.
struct PalindromeRowLayout {
  LayoutRect which_label;
  LayoutRect transform;
  LayoutRect produce_label;
  LayoutRect result;
};
PalindromeRowLayout LayOutPalindromeFirstRow(const LayoutUnits& units,
                                             int form_width, int row_top);
// The narrowest form width that keeps that row's labels and lists whole.
int PalindromeFirstRowMinimumWidth(const LayoutUnits& units);

// Left edge of the search progress bar in the status line's message pane:
// 30 average character widths in from the pane's left edge, or the pane's
// middle when that is further left. The bar runs to the pane's right edge.
int ProgressBarLeft(int pane_left, int pane_right, int ave_char_width);

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_LAYOUT_H_
