#include "app/shell/font_text.h"

#include <cstdio>
#include <cstdlib>

#include "settings/settings_store.h"

namespace vocor {

namespace {

// The record holds 31 characters and a terminating zero; the stored text
// is UTF-8, so characters are counted, not bytes.
constexpr size_t kMaxFaceName = 31;

bool IsContinuationByte(char c) { return (c & 0xC0) == 0x80; }

// How many bytes of `text` its first `max_chars` characters take.
size_t Utf8PrefixLength(const std::string& text, size_t max_chars) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (IsContinuationByte(text[i])) continue;
    if (chars++ == max_chars) return i;
  }
  return text.size();
}

// One number in the "%i" notation of formatted input (leading blanks, a
// sign, then decimal, 0 octal or 0x hexadecimal digits), followed by a
// comma. Numbers beyond 64 bits saturate, as strtoll does; the callers
// keep the low bits they have room for.
bool ReadNumberAndComma(const char** cursor, long long* value) {
  char* end = nullptr;
  *value = std::strtoll(*cursor, &end, 0);
  if (end == *cursor || *end != ',') return false;
  *cursor = end + 1;
  return true;
}

}  // namespace

std::string FormatLogFont(const LogFont& font) {
  char text[128];
  std::snprintf(
      text, sizeof text, "%li,%li,%li,%li,%li,%i,%i,%i,%i,%i,%i,%i,%i,",
      static_cast<long>(font.height), static_cast<long>(font.width),
      static_cast<long>(font.escapement), static_cast<long>(font.orientation),
      static_cast<long>(font.weight), font.italic, font.underline,
      font.strike_out, font.char_set, font.out_precision, font.clip_precision,
      font.quality, font.pitch_and_family);
  return text + font.face_name.substr(
                    0, Utf8PrefixLength(font.face_name, kMaxFaceName));
}

bool ParseLogFont(const std::string& text, LogFont* font) {
  const char* cursor = text.c_str();
  long long numbers[13];
  for (long long& number : numbers) {
    if (!ReadNumberAndComma(&cursor, &number)) return false;
  }
  // The face name runs to the end: spaces and commas belong to it.
  const std::string face(cursor);
  if (face.empty() || Utf8PrefixLength(face, kMaxFaceName) != face.size()) {
    return false;
  }

  LogFont parsed;
  int32_t* longs[] = {&parsed.height, &parsed.width, &parsed.escapement,
                      &parsed.orientation, &parsed.weight};
  for (int i = 0; i < 5; ++i) *longs[i] = static_cast<int32_t>(numbers[i]);
  uint8_t* bytes[] = {&parsed.italic,        &parsed.underline,
                      &parsed.strike_out,    &parsed.char_set,
                      &parsed.out_precision, &parsed.clip_precision,
                      &parsed.quality,       &parsed.pitch_and_family};
  for (int i = 0; i < 8; ++i) *bytes[i] = static_cast<uint8_t>(numbers[5 + i]);
  parsed.face_name = face;
  *font = parsed;
  return true;
}

bool WriteRegFont(int root, const char* key_path, const char* value_name,
                  const LogFont& font) {
  return WriteRegString(root, key_path, value_name,
                        FormatLogFont(font).c_str());
}

bool ReadRegFont(int root, const char* key_path, const char* value_name,
                 LogFont* font) {
  std::string text;
  if (!ReadRegString(root, key_path, value_name, &text)) return false;
  return ParseLogFont(text, font);
}

}  // namespace vocor
