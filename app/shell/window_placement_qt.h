// A top-level widget's placement over the stored "Position" text
// (window_placement.h): the normal rectangle from normalGeometry(), flags 2
// and show command 3 when maximized, show command 2 when minimized.
#ifndef VOCOR_APP_SHELL_WINDOW_PLACEMENT_QT_H_
#define VOCOR_APP_SHELL_WINDOW_PLACEMENT_QT_H_

class QWidget;

namespace vocor {

// Writes the placement text of `window` under root/key_path/value_name
// (the settings store's root ids). Returns whether the store took it.
bool SaveWindowPlacement(QWidget* window, int root, const char* key_path,
                         const char* value_name);
// Reads the placement text; when it is missing or malformed returns false
// and leaves the window alone. Otherwise sets the normal geometry, shows
// the window maximized or normal (a minimized window comes back
// restored), keeps it on screen and returns true. So the caller shows the
// window itself only when this returns false.
bool RestoreWindowPlacement(QWidget* window, int root, const char* key_path,
                            const char* value_name);
// Moves the window (without resizing) when its top-left corner lies off
// the available geometry of its screen, as KeepOnScreen decides.
void KeepWindowOnScreen(QWidget* window);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_WINDOW_PLACEMENT_QT_H_
