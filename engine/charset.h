// Engine text is 8-bit Windows-1252. These tables classify and case-map its
// bytes without consulting the C library's locale, so results never depend
// on the environment the program was started in. Text enters and leaves the
// engine as UTF-8 through the converters below.
#ifndef VOCOR_ENGINE_CHARSET_H_
#define VOCOR_ENGINE_CHARSET_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vocor {

namespace charset_internal {

struct Tables {
  bool is_letter[256];
  unsigned char lower[256];
};

constexpr Tables BuildTables() {
  Tables t{};
  for (int c = 0; c < 256; ++c) t.lower[c] = static_cast<unsigned char>(c);
  for (int c = 'A'; c <= 'Z'; ++c) {
    t.is_letter[c] = t.is_letter[c + 32] = true;
    t.lower[c] = static_cast<unsigned char>(c + 32);
  }
  // f-hook, S/s caron, OE/oe, Z/z caron, Y diaeresis.
  for (int c : {0x83, 0x8A, 0x8C, 0x8E, 0x9A, 0x9C, 0x9E, 0x9F}) {
    t.is_letter[c] = true;
  }
  t.lower[0x8A] = 0x9A;
  t.lower[0x8C] = 0x9C;
  t.lower[0x8E] = 0x9E;
  t.lower[0x9F] = 0xFF;
  // Feminine and masculine ordinals and the micro sign are letters too.
  t.is_letter[0xAA] = t.is_letter[0xB5] = t.is_letter[0xBA] = true;
  for (int c = 0xC0; c <= 0xFF; ++c) {
    if (c == 0xD7 || c == 0xF7) continue;  // multiplication, division
    t.is_letter[c] = true;
    if (c <= 0xDE) t.lower[c] = static_cast<unsigned char>(c + 32);
  }
  return t;
}

// Built at compile time: the tables are consulted for every byte of every
// word read, and must cost no more than an array access.
inline constexpr Tables kTables = BuildTables();

}  // namespace charset_internal

// True for a byte whose Windows-1252 character is a Unicode letter
// (A-Z, a-z, the accented letters, and the few letters of 0x80-0x9F).
inline bool IsEngineLetter(unsigned char c) {
  return charset_internal::kTables.is_letter[c];
}

// Lower-case image of a byte: A-Z and the accented capitals of
// Windows-1252 map to their small letters; every other byte is unchanged.
inline unsigned char EngineToLower(unsigned char c) {
  return charset_internal::kTables.lower[c];
}

// Windows-1252 byte for a Unicode code point, or -1 when the code page has
// no such character. Bytes 0x81, 0x8D, 0x8F, 0x90 and 0x9D are unassigned
// in the code page and are never produced.
int UnicodeToEngine(uint32_t code_point);

// Unicode code point of a Windows-1252 byte (unassigned bytes map to the C1
// control of the same value, as most converters do).
uint32_t EngineToUnicode(unsigned char c);

// Decodes one UTF-8 sequence at the front of `text`. Returns its length in
// bytes (1 to 4) and stores the code point, or returns 0 when the bytes are
// not well-formed UTF-8 (overlong forms, surrogates and values above
// U+10FFFF are not well-formed). `text` must not be empty.
int DecodeUtf8(std::string_view text, uint32_t* code_point);

// True when the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Converts UTF-8 to engine text. A character that Windows-1252 cannot hold
// becomes `unmappable`; malformed bytes are taken as Windows-1252 bytes.
std::string Utf8ToEngine(std::string_view utf8, char unmappable = '\x7f');

// Appends the UTF-8 form of `code_point` (below 0x110000) to *out.
void AppendUtf8(uint32_t code_point, std::string* out);

// Converts engine text to UTF-8.
std::string EngineToUtf8(std::string_view engine);
// The same, appended to *out: no string of its own per word.
void AppendEngineAsUtf8(std::string_view engine, std::string* out);

// Lower-cases engine text in place with EngineToLower.
void EngineLowerInPlace(std::string* text);

// Compares engine text in the order of its characters' code points, which
// is the byte order of its UTF-8 form (the order of `LC_ALL=C sort`):
// negative, 0 or positive. It differs from the byte order of the engine
// text only where a byte of 0x80-0x9F is compared with one of 0xA0-0xFF,
// since most of 0x80-0x9F hold characters above U+00FF (š, œ, ž, ƒ).
int CompareByCodePoints(std::string_view a, std::string_view b);

// Whether `text` holds a byte of 0x80-0x9F. Text without one that sorts
// before any other text by bytes sorts before it by code points too.
bool HasBytesOf80To9F(std::string_view text);

}  // namespace vocor

#endif  // VOCOR_ENGINE_CHARSET_H_
