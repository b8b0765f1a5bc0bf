// The stored text of a font (value "Font" under the window key): fourteen
// comma-separated fields in this order: height, width, escapement,
// orientation, weight, italic, underline, strike-out, character set,
// output precision, clipping precision, quality, pitch and family, and
// the face name last and unquoted (so it may hold commas and spaces).
// The Qt mapping is in font_mapping.h.
#ifndef VOCOR_APP_SHELL_FONT_TEXT_H_
#define VOCOR_APP_SHELL_FONT_TEXT_H_

#include <cstdint>
#include <string>

namespace vocor {

struct LogFont {
  int32_t height = 0;  // negative: character height in pixels
  int32_t width = 0;
  int32_t escapement = 0;
  int32_t orientation = 0;
  int32_t weight = 0;  // 400 normal, 700 bold
  uint8_t italic = 0;
  uint8_t underline = 0;
  uint8_t strike_out = 0;
  uint8_t char_set = 0;
  uint8_t out_precision = 0;
  uint8_t clip_precision = 0;
  uint8_t quality = 0;
  uint8_t pitch_and_family = 0;
  std::string face_name;  // at most 31 characters
};

// "%li,%li,%li,%li,%li,%i,%i,%i,%i,%i,%i,%i,%i,%s".
std::string FormatLogFont(const LogFont& font);
// Five longs and eight integers in "%i" notation (decimal, 0 octal, 0x
// hexadecimal; the small fields keep their low 8 bits), then a face name
// of at least one character running to the end of the text. *font is
// replaced only when all fourteen fields convert.
bool ParseLogFont(const std::string& text, LogFont* font);

// The font text over the settings store; the reader returns true only
// when *font was replaced.
bool WriteRegFont(int root, const char* key_path, const char* value_name,
                  const LogFont& font);
bool ReadRegFont(int root, const char* key_path, const char* value_name,
                 LogFont* font);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_FONT_TEXT_H_
