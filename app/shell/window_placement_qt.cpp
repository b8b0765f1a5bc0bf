#include "app/shell/window_placement_qt.h"

#include <QScreen>
#include <QWidget>
#include <string>

#include "app/shell/window_placement.h"
#include "settings/settings_store.h"

namespace vocor {

namespace {

// The minimized and maximized positions: the window has none of its own,
// and -1, -1 says so in the stored text.
constexpr int kNoPosition = -1;

WindowPlacement PlacementOf(const QWidget* window) {
  WindowPlacement placement;
  const bool maximized = window->isMaximized();
  placement.flags = maximized ? kPlacementRestoreToMaximized : 0;
  placement.show_command = window->isMinimized() ? kShowMinimized
                           : maximized           ? kShowMaximized
                                                 : kShowNormal;
  placement.min_x = placement.min_y = kNoPosition;
  placement.max_x = placement.max_y = kNoPosition;
  QRect normal = window->normalGeometry();
  if (!normal.isValid()) normal = window->geometry();
  placement.left = normal.left();
  placement.top = normal.top();
  placement.right = normal.left() + normal.width();
  placement.bottom = normal.top() + normal.height();
  return placement;
}

}  // namespace

bool SaveWindowPlacement(QWidget* window, int root, const char* key_path,
                         const char* value_name) {
  const std::string text = FormatWindowPlacement(PlacementOf(window));
  return WriteRegString(root, key_path, value_name, text.c_str());
}

bool RestoreWindowPlacement(QWidget* window, int root, const char* key_path,
                            const char* value_name) {
  std::string text;
  WindowPlacement placement;
  if (!ReadRegString(root, key_path, value_name, &text) ||
      !ParseWindowPlacement(text, &placement)) {
    return false;
  }
  const unsigned show = RestoredShowCommand(placement.show_command);
  const int width = placement.right - placement.left;
  const int height = placement.bottom - placement.top;
  if (width > 0 && height > 0) {
    window->setGeometry(placement.left, placement.top, width, height);
  }
  // A window minimized from the maximized state comes back maximized.
  const bool maximized =
      show == kShowMaximized ||
      (show == kShowRestore &&
       (placement.flags & kPlacementRestoreToMaximized) != 0);
  if (maximized) {
    window->showMaximized();
  } else {
    window->showNormal();
  }
  KeepWindowOnScreen(window);
  return true;
}

void KeepWindowOnScreen(QWidget* window) {
  const QScreen* screen = window->screen();
  if (screen == nullptr) return;
  const QRect available = screen->availableGeometry();
  const QRect frame = window->frameGeometry();
  const QRect client = window->geometry();
  const int border_x = (frame.width() - client.width()) / 2;
  const int border_y = frame.bottom() - client.bottom();
  int left = frame.left() - available.left();
  int top = frame.top() - available.top();
  if (KeepOnScreen(&left, &top, available.width(), available.height(), border_x,
                   border_y)) {
    window->move(available.left() + left, available.top() + top);
  }
}

}  // namespace vocor
