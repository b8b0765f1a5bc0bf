// The printed results report without any toolkit: the page rectangle, the
// word grid and its pagination, the places of the title, subtitle, date
// and footer lines, and their texts. Everything is in twips (1/1440 inch)
// with y pointing up, so a rectangle's top is larger than its bottom; the
// print job measures the fonts on the printer and paints what these
// functions place.
#ifndef VOCOR_APP_PRINT_PRINT_LAYOUT_H_
#define VOCOR_APP_PRINT_PRINT_LAYOUT_H_

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

namespace vocor {

inline constexpr int kTwipsPerInch = 1440;
// Smallest margins from the paper's edges: left and right, top and bottom.
inline constexpr int kPrintSideMargin = 1080;
inline constexpr int kPrintEndMargin = 720;
// The word columns start this far below the page rectangle's top, leaving
// room for the title lines.
inline constexpr int kPrintBodyTopOffset = 1080;

// y up: top >= bottom for a rectangle that is not empty.
struct TwipsRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return top - bottom; }
  bool operator==(const TwipsRect&) const = default;
};

// Distances from the paper's edges, all >= 0.
struct TwipsMargins {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// `pixels` of a device with `pixels_per_inch` in twips, truncated; 0 for a
// device that reports no resolution.
int PixelsToTwips(int pixels, int pixels_per_inch);

// The page rectangle of a `paper_width` x `paper_height` sheet whose
// printable area starts `border.left` and `border.top` from its top left
// corner, in the coordinates of the printable area (its top left corner is
// the origin). Each margin is the larger of the smallest margin for that
// side and the printer's border there.
TwipsRect PrintPageRect(int paper_width, int paper_height,
                        const TwipsMargins& border);

// The word grid of one print job.
struct PrintGrid {
  TwipsRect page;
  int column_width = 1;  // horizontal pitch of the columns, >= 1
  int line_height = 1;   // vertical pitch of the lines, >= 1
  int columns = 1;       // >= 1
  int rows = 1;          // >= 1
  int last_page = 1;     // >= 1: an empty list still prints one page
};

// Lays out `item_count` words on `page` in the body font, whose average
// character width and text height are given; `widest_item` is the printed
// width of the widest word. Columns are at least 12 average widths wide
// plus 5 of spacing, and share the page width evenly.
PrintGrid ComputePrintGrid(const TwipsRect& page, int ave_char_width,
                           int text_height, int widest_item, size_t item_count);

// Index of the first word on page `page` (from 1).
size_t FirstItemOfPage(const PrintGrid& grid, int page);

struct PrintCell {
  size_t item = 0;  // index into the results list
  TwipsRect rect;   // one line, left-aligned text
  // The width the word may take from the cell's left edge: to the cell's
  // right edge or the page's, whichever is nearer. A word wider than the
  // page overflows its cell here and is shrunk to this width.
  int room = 0;
};

// The words of page `page` of a list of `item_count` words, filling each
// column top to bottom and the columns left to right. Empty for a page
// past the list.
std::vector<PrintCell> PageCells(const PrintGrid& grid, int page,
                                 size_t item_count);

// How much a text `text_width` wide is shrunk to fit in `room`: 1 when it
// fits (or when there is no room at all to fit it in), otherwise
// room / text_width, so that every letter lies inside the room.
double ShrinkToFit(int text_width, int room);

// Heights of the header and footer lines as drawn in their fonts.
struct FurnitureHeights {
  int title = 0;
  int subtitle = 0;
  int started = 0;
  int footer = 0;
};

// Where the centred one-line texts go: title, subtitle and start time one
// below the other at the page's top, the page number at its bottom.
struct PageFurniture {
  TwipsRect title;
  TwipsRect subtitle;
  TwipsRect started;
  TwipsRect footer;
};
PageFurniture PlacePageFurniture(const TwipsRect& page,
                                 const FurnitureHeights& heights);

// "Search Results".
extern const char kPrintTitle[];
// "%s %s" of the program's description and version texts.
std::string PrintSubtitle(const std::string& description,
                          const std::string& version);
// The local time `started` as strftime's "%c" in the current C locale;
// empty when it does not fit in 128 characters or cannot be converted.
std::string FormatPrintStarted(std::time_t started);
// "Page %i".
std::string PrintPageFooter(int page);

}  // namespace vocor

#endif  // VOCOR_APP_PRINT_PRINT_LAYOUT_H_
