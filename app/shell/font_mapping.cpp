#include "app/shell/font_mapping.h"

#include <QFontInfo>
#include <algorithm>

namespace vocor {

namespace {
constexpr int kMaxFaceChars = 31;
}  // namespace

LogFont LogFontFromFont(const QFont& font) {
  LogFont log_font;
  const int pixels =
      font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize();
  log_font.height = -pixels;
  // Qt's weights are on the same 100..900 scale as the stored record.
  log_font.weight = font.weight();
  log_font.italic = font.italic() ? 1 : 0;
  log_font.underline = font.underline() ? 1 : 0;
  log_font.strike_out = font.strikeOut() ? 1 : 0;
  log_font.face_name = font.family().left(kMaxFaceChars).toStdString();
  return log_font;
}

QFont FontFromLogFont(const LogFont& log_font) {
  QFont font;
  if (!log_font.face_name.empty()) {
    font.setFamily(QString::fromStdString(log_font.face_name));
  }
  if (log_font.height != 0) {
    const int64_t height = log_font.height;
    font.setPixelSize(static_cast<int>(height < 0 ? -height : height));
  }
  // 0 means "any weight" in the record.
  if (log_font.weight > 0) {
    font.setWeight(static_cast<QFont::Weight>(
        std::clamp<int32_t>(log_font.weight, 1, 1000)));
  }
  font.setItalic(log_font.italic != 0);
  font.setUnderline(log_font.underline != 0);
  font.setStrikeOut(log_font.strike_out != 0);
  return font;
}

}  // namespace vocor
