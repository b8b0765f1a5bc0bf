// Random word lists whose lines mix UTF-8 and Windows-1252, and the
// reference reading of a list: every line transcoded to UTF-8 by its own
// encoding (UTF-8 when it is well-formed UTF-8, else Windows-1252), so
// that the whole can be read as one UTF-8 list.
#ifndef VOCOR_DICTIONARY_TESTING_MIXED_LISTS_H_
#define VOCOR_DICTIONARY_TESTING_MIXED_LISTS_H_

#include <cstdint>
#include <random>
#include <string>
#include <string_view>

#include "engine/charset.h"

namespace vocor::testing {

inline constexpr std::string_view kByteOrderMark = "\xef\xbb\xbf";

// The reference: each line (ending at LF or CR, its end included) kept
// when it is UTF-8 and converted from Windows-1252 otherwise; a leading
// byte-order mark is kept. Counts the converted lines in *windows1252.
inline std::string PerLineUtf8(std::string_view text, int64_t* windows1252) {
  std::string utf8;
  *windows1252 = 0;
  if (text.starts_with(kByteOrderMark)) {
    utf8 += kByteOrderMark;
    text.remove_prefix(kByteOrderMark.size());
  }
  while (!text.empty()) {
    const size_t end = text.find_first_of("\r\n");
    const size_t length = end == std::string_view::npos ? text.size() : end + 1;
    const std::string_view line = text.substr(0, length);
    if (IsValidUtf8(line)) {
      utf8 += line;
    } else {
      utf8 += EngineToUtf8(line);
      ++*windows1252;
    }
    text.remove_prefix(length);
  }
  return utf8;
}

enum class ListKind { kMixed, kUtf8Only, kWindows1252Only };

// Lists of random lines built from letters of the code page and outside
// it, combining marks, separators of both kinds, runs too long to be
// words, and stray bytes.
class MixedListMaker {
 public:
  explicit MixedListMaker(uint32_t seed) : rng_(seed) {}

  std::string List(ListKind kind) {
    std::string text = Chance(10) ? std::string(kByteOrderMark) : "";
    const int lines = static_cast<int>(rng_() % 12);
    for (int i = 0; i < lines; ++i) {
      const bool utf8 = kind == ListKind::kUtf8Only ||
                        (kind == ListKind::kMixed && Chance(2));
      text += utf8 ? Utf8Line() : Windows1252Line();
      static const char* const kEnds[] = {"\n", "\r\n", "\r", "\n\n"};
      if (i + 1 < lines || Chance(2)) text += kEnds[rng_() % 4];
    }
    return text;
  }

 private:
  bool Chance(uint32_t one_in) { return rng_() % one_in == 0; }

  std::u32string Characters() {
    static const std::u32string kPool =
        U"abcdefghijklmnopqrstuvwxyzABCXYZ-'-' \t,.19"
        U"\u00e9\u00c9\u00df\u00e5\u00f8\u0153\u0160\u00ff\u0178\u00b5"
        U"\u0142\u010d\u0436\u03b1\u0301\u20ac\u00ab\u00a0\u2192\ufeff";
    std::u32string line;
    const int length = static_cast<int>(rng_() % 30);
    for (int i = 0; i < length; ++i) line += kPool[rng_() % kPool.size()];
    if (Chance(25)) line += std::u32string(998 + rng_() % 3, U'q');
    return line;
  }

  std::string Utf8Line() {
    std::string line;
    for (char32_t c : Characters()) AppendUtf8(c, &line);
    return line;
  }

  // Code page characters as their bytes, the others as stray bytes; never
  // well-formed UTF-8 unless the line is pure ASCII.
  std::string Windows1252Line() {
    static const char kStray[] = "\x81\x8d\xc3\xe2\xf0\xff\xa9";
    std::string line;
    bool high = false;
    for (char32_t c : Characters()) {
      const int byte = UnicodeToEngine(c);
      line += byte >= 0 ? static_cast<char>(byte)
                        : kStray[rng_() % (sizeof kStray - 1)];
      high |= byte < 0 || byte >= 0x80;
    }
    if (high && IsValidUtf8(line)) line += "\xe9";  // é, then the line end
    return line;
  }

  static void AppendUtf8(char32_t c, std::string* out) {
    if (c < 0x80) {
      *out += static_cast<char>(c);
    } else if (c < 0x800) {
      *out += static_cast<char>(0xC0 | (c >> 6));
      *out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      *out += static_cast<char>(0xE0 | (c >> 12));
      *out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      *out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }

  std::mt19937 rng_;
};

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_MIXED_LISTS_H_
