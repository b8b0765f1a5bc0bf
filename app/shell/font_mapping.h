// QFont <-> the stored logical font record (font_text.h). The record keeps
// the character height in pixels as a negative height, the weight on the
// 0..1000 scale (400 normal, 700 bold), the italic, underline and
// strike-out bytes and the face name; the other fields are written as
// zero and ignored when read.
#ifndef VOCOR_APP_SHELL_FONT_MAPPING_H_
#define VOCOR_APP_SHELL_FONT_MAPPING_H_

#include <QFont>

#include "app/shell/font_text.h"

namespace vocor {

// Needs a QGuiApplication when `font` was set in points (its pixel size
// is then measured). A face name longer than 31 characters is cut.
LogFont LogFontFromFont(const QFont& font);
// A zero height keeps the toolkit's default size; an empty face name the
// default family. A positive height (cell height) is taken as the pixel
// size too, close enough for a font chooser's result.
QFont FontFromLogFont(const LogFont& log_font);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_FONT_MAPPING_H_
