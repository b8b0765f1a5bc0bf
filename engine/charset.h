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

// True for a byte whose Windows-1252 character is a Unicode letter
// (A-Z, a-z, the accented letters, and the few letters of 0x80-0x9F).
bool IsEngineLetter(unsigned char c);

// Lower-case image of a byte: A-Z and the accented capitals of
// Windows-1252 map to their small letters; every other byte is unchanged.
unsigned char EngineToLower(unsigned char c);

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

// Converts engine text to UTF-8.
std::string EngineToUtf8(std::string_view engine);

// Lower-cases engine text in place with EngineToLower.
void EngineLowerInPlace(std::string* text);

}  // namespace vocor

#endif  // VOCOR_ENGINE_CHARSET_H_
