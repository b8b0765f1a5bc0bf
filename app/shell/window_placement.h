// The stored text of a window's placement (value "Position"): ten
// comma-separated numbers in this order: flags, show command, the
// minimized position (x, y), the maximized position (x, y) and the normal
// rectangle (left, top, right, bottom); and the arithmetic that keeps a
// restored window on the screen. The Qt mapping is in window_placement_qt.h.
#ifndef VOCOR_APP_SHELL_WINDOW_PLACEMENT_H_
#define VOCOR_APP_SHELL_WINDOW_PLACEMENT_H_

#include <string>

namespace vocor {

inline constexpr unsigned kPlacementRestoreToMaximized = 2;  // flags
inline constexpr unsigned kShowNormal = 1;
inline constexpr unsigned kShowMinimized = 2;
inline constexpr unsigned kShowMaximized = 3;
inline constexpr unsigned kShowMinimize = 6;
inline constexpr unsigned kShowRestore = 9;

struct WindowPlacement {
  unsigned flags = 0;
  unsigned show_command = kShowNormal;
  int min_x = 0, min_y = 0;
  int max_x = 0, max_y = 0;
  int left = 0, top = 0, right = 0, bottom = 0;  // the normal rectangle
};

// "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
std::string FormatWindowPlacement(const WindowPlacement& placement);
// Accepts the text only when all ten numbers convert; *out is untouched
// otherwise.
bool ParseWindowPlacement(const std::string& text, WindowPlacement* out);
// A window is never restored minimized: 2 and 6 become 9 (restore).
unsigned RestoredShowCommand(unsigned show_command);
// Pulls a window's top-left corner back onto a screen of the given size:
// a left edge further left than -border_x becomes 0, one further right
// than screen_width - 50 becomes screen_width - 50; the top likewise.
// Returns whether anything changed.
bool KeepOnScreen(int* left, int* top, int screen_width, int screen_height,
                  int border_x, int border_y);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_WINDOW_PLACEMENT_H_
