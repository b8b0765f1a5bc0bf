#include "compiler/arguments.h"

#include <charconv>
#include <limits>

#include "engine/score.h"

namespace vocor {
namespace {

// Parses all of `text` as an unsigned number in `base`; from_chars alone
// would accept a sign-free prefix and stop at the first stray character.
bool ParseWhole(std::string_view text, int base, uint64_t* value) {
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, *value, base);
  return error == std::errc() && stop == end;
}

bool AllDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

}  // namespace

bool ParseDictionaryVersion(std::string_view text, int32_t* hundredths) {
  const size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction =
      dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
  if (!AllDigits(whole) || !AllDigits(fraction)) return false;
  if (dot != std::string_view::npos && fraction.empty()) return false;
  if (fraction.size() > 2) return false;
  uint64_t units = 0;
  // A long run of digits overflows from_chars, which ParseWhole refuses.
  if (!ParseWhole(whole, 10, &units)) return false;
  uint64_t cents = 0;
  if (!fraction.empty() && !ParseWhole(fraction, 10, &cents)) return false;
  if (fraction.size() == 1) cents *= 10;
  if (units > std::numeric_limits<int32_t>::max() / 100) return false;
  const uint64_t total = units * 100 + cents;
  if (total > std::numeric_limits<int32_t>::max()) return false;
  *hundredths = static_cast<int32_t>(total);
  return true;
}

bool ParseLanguageId(std::string_view text, uint32_t* lcid) {
  int base = 10;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  } else if (!AllDigits(text)) {
    return false;
  }
  uint64_t value = 0;
  if (!ParseWhole(text, base, &value)) return false;
  if (value > std::numeric_limits<uint32_t>::max()) return false;
  *lcid = static_cast<uint32_t>(value);
  return true;
}

bool ParseScoredList(std::string_view text, std::string* path, int* score) {
  const size_t equals = text.rfind('=');
  if (equals == std::string_view::npos || equals == 0) return false;
  const std::string_view number = text.substr(equals + 1);
  uint64_t value = 0;
  if (!AllDigits(number) || !ParseWhole(number, 10, &value)) return false;
  if (value < kMinScore || value > kMaxScore) return false;
  path->assign(text.substr(0, equals));
  *score = static_cast<int>(value);
  return true;
}

}  // namespace vocor
