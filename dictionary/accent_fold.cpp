#include "dictionary/accent_fold.h"

#include <array>

namespace vocor {
namespace {

// Spellings of bytes 0x80 to 0xFF; null where the byte is not a letter.
// The sharp s and the ligatures take two letters because a single one
// would change the word beyond recognition (straße is strasse, not strase).
constexpr std::array<const char*, 128> kHighFolds = {
    // 0x80: ƒ Š Œ Ž
    nullptr, nullptr, nullptr, "f", nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, "S", nullptr, "OE", nullptr, "Z", nullptr,
    // 0x90: š œ ž Ÿ
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, "s", nullptr, "oe", nullptr, "z", "Y",
    // 0xA0: ª
    nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
    nullptr, nullptr, "a", nullptr, nullptr, nullptr, nullptr, nullptr,
    // 0xB0: µ º
    nullptr, nullptr, nullptr, nullptr, nullptr, "u", nullptr, nullptr, nullptr,
    nullptr, "o", nullptr, nullptr, nullptr, nullptr, nullptr,
    // 0xC0: À Á Â Ã Ä Å Æ Ç È É Ê Ë Ì Í Î Ï
    "A", "A", "A", "A", "A", "A", "AE", "C",  //
    "E", "E", "E", "E", "I", "I", "I", "I",
    // 0xD0: Ð Ñ Ò Ó Ô Õ Ö × Ø Ù Ú Û Ü Ý Þ ß
    "D", "N", "O", "O", "O", "O", "O", nullptr,  //
    "O", "U", "U", "U", "U", "Y", "TH", "ss",
    // 0xE0: à á â ã ä å æ ç è é ê ë ì í î ï
    "a", "a", "a", "a", "a", "a", "ae", "c",  //
    "e", "e", "e", "e", "i", "i", "i", "i",
    // 0xF0: ð ñ ò ó ô õ ö ÷ ø ù ú û ü ý þ ÿ
    "d", "n", "o", "o", "o", "o", "o", nullptr,  //
    "o", "u", "u", "u", "u", "y", "th", "y"};

// Views of the bytes 0 to 127 as themselves.
constexpr std::array<char, 128> kLowBytes = [] {
  std::array<char, 128> bytes{};
  for (int i = 0; i < 128; ++i) bytes[i] = static_cast<char>(i);
  return bytes;
}();

}  // namespace

std::string_view AsciiFoldOf(unsigned char c) {
  if (c < 0x80) return std::string_view(&kLowBytes[c], 1);
  const char* fold = kHighFolds[c - 0x80];
  return fold != nullptr ? std::string_view(fold) : std::string_view();
}

bool FoldToAscii(std::string_view word, std::string* folded) {
  folded->clear();
  folded->reserve(word.size());
  for (char c : word) {
    const std::string_view fold = AsciiFoldOf(static_cast<unsigned char>(c));
    if (fold.empty()) return false;
    folded->append(fold);
  }
  return true;
}

}  // namespace vocor
