// Canonical composition (Unicode NFC) of UTF-8 text at the edges where
// text enters the engine. Windows-1252 holds precomposed letters only, so
// a letter spelled as a base and a combining mark (e followed by U+0301)
// must be composed before it is mapped, or the mark makes its word
// unreadable. The engine itself never sees anything but Windows-1252.
#ifndef VOCOR_DICTIONARY_UNICODE_NFC_H_
#define VOCOR_DICTIONARY_UNICODE_NFC_H_

#include <string>
#include <string_view>

namespace vocor {

// When `text` is well-formed UTF-8 that is not in NFC, writes its NFC form
// to *out and returns true. Returns false, leaving *out alone, for text
// that needs no change: ASCII (judged by one cheap scan, so plain word
// lists pay nothing more), text already in NFC, and text that is not
// UTF-8 (read as Windows-1252 elsewhere, which has no combining marks).
bool ComposeUtf8(std::string_view text, std::string* out);

// `text` in NFC when ComposeUtf8 changes it, else `text` unchanged.
std::string ComposedUtf8(std::string_view text);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_UNICODE_NFC_H_
