#include "app/shell/window_placement.h"

#include <cstdio>
#include <cstdlib>

namespace vocor {

namespace {

// One decimal number as formatted input reads it (leading blanks and a
// sign allowed), then the comma that separates it from the next.
bool ReadNumber(const char** cursor, bool comma_follows, long long* value) {
  char* end = nullptr;
  *value = std::strtoll(*cursor, &end, 10);
  if (end == *cursor) return false;
  if (comma_follows) {
    if (*end != ',') return false;
    ++end;
  }
  *cursor = end;
  return true;
}

}  // namespace

std::string FormatWindowPlacement(const WindowPlacement& p) {
  char text[200];
  std::snprintf(text, sizeof text, "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", p.flags,
                p.show_command, p.min_x, p.min_y, p.max_x, p.max_y, p.left,
                p.top, p.right, p.bottom);
  return text;
}

bool ParseWindowPlacement(const std::string& text, WindowPlacement* out) {
  const char* cursor = text.c_str();
  long long n[10];
  for (int i = 0; i < 10; ++i) {
    if (!ReadNumber(&cursor, i < 9, &n[i])) return false;
  }
  // Like formatted input, whatever follows the tenth number is ignored.
  WindowPlacement p;
  p.flags = static_cast<unsigned>(n[0]);
  p.show_command = static_cast<unsigned>(n[1]);
  int* fields[] = {&p.min_x, &p.min_y, &p.max_x, &p.max_y,
                   &p.left,  &p.top,   &p.right, &p.bottom};
  for (int i = 0; i < 8; ++i) *fields[i] = static_cast<int>(n[2 + i]);
  *out = p;
  return true;
}

unsigned RestoredShowCommand(unsigned show_command) {
  if (show_command == kShowMinimized || show_command == kShowMinimize) {
    return kShowRestore;
  }
  return show_command;
}

bool KeepOnScreen(int* left, int* top, int screen_width, int screen_height,
                  int border_x, int border_y) {
  auto pull = [](int edge, int border, int extent) {
    if (edge < -border) return 0;
    if (edge > extent - 50) return extent - 50;
    return edge;
  };
  const int new_left = pull(*left, border_x, screen_width);
  const int new_top = pull(*top, border_y, screen_height);
  const bool changed = new_left != *left || new_top != *top;
  *left = new_left;
  *top = new_top;
  return changed;
}

}  // namespace vocor
