#include "search/pattern_oracle.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/charset.h"

namespace vocor::testing {
namespace {

// The vowels by byte: a e i o u, their accented forms in both cases
// (à-å, è-ë, ì-ï, ò-ö, ø, ù-ü), æ and œ.
constexpr unsigned char kVowels[] =
    "aeiouAEIOU"
    "\xe0\xe1\xe2\xe3\xe4\xe5\xe6\xe8\xe9\xea\xeb\xec\xed\xee\xef"
    "\xf2\xf3\xf4\xf5\xf6\xf8\xf9\xfa\xfb\xfc\x9c"
    "\xc0\xc1\xc2\xc3\xc4\xc5\xc6\xc8\xc9\xca\xcb\xcc\xcd\xce\xcf"
    "\xd2\xd3\xd4\xd5\xd6\xd8\xd9\xda\xdb\xdc\x8c";

std::string Hex(unsigned char c) {
  char text[8];
  std::snprintf(text, sizeof text, "\\x%02x", c);
  return text;
}

// A bracket expression of exactly the bytes `accepted` says yes to.
template <typename Predicate>
std::string BracketOf(Predicate accepted) {
  std::string members;
  for (int c = 1; c < 256; ++c) {
    if (accepted(static_cast<unsigned char>(c))) {
      members += Hex(static_cast<unsigned char>(c));
    }
  }
  // No word holds byte 1: an empty set matches nothing.
  return members.empty() ? Hex(1) : "[" + members + "]";
}

std::string LetterBracket() {
  return BracketOf([](unsigned char c) { return IsEngineLetter(c); });
}

char PickChar(std::mt19937& rng, const std::string& text) {
  return text[rng() % text.size()];
}

bool IsEscapable(char c) { return std::strchr(kEscapable, c) != nullptr; }

// A byte as it stands in a class or a piece: escaped when special.
std::string Spelled(char c) {
  return IsEscapable(c) ? std::string("\\") + c : std::string(1, c);
}

// A byte for a class or a piece: mostly a letter of the alphabet, now and
// then a mark that words hold, or a special character when allowed.
char MemberByte(std::mt19937& rng, const OracleAlphabet& alphabet,
                const char* marks) {
  if (rng() % 6 == 0) {
    return alphabet.escapes && rng() % 2
               ? kEscapable[rng() % std::strlen(kEscapable)]
               : marks[rng() % std::strlen(marks)];
  }
  return PickChar(rng, alphabet.letters);
}

// A class: some members and ranges, perhaps negated; '-' stands for
// itself at the end.
void AppendClass(std::mt19937& rng, const OracleAlphabet& alphabet,
                 OraclePattern* pattern) {
  bool in_class[256] = {};
  std::string text = "[";
  const bool negated = rng() % 3 == 0;
  if (negated) text += rng() % 2 ? '^' : '!';
  for (int items = 1 + rng() % 3; items > 0; --items) {
    const auto first =
        static_cast<unsigned char>(MemberByte(rng, alphabet, "'?*"));
    if (rng() % 4 == 0) {  // a range of byte codes
      auto lo = first;
      auto hi = static_cast<unsigned char>(MemberByte(rng, alphabet, "'?*"));
      if (lo > hi) std::swap(lo, hi);
      text += Spelled(lo) + "-" + Spelled(hi);
      for (int c = lo; c <= hi; ++c) in_class[c] = true;
    } else {
      text += Spelled(first);
      in_class[first] = true;
    }
  }
  if (rng() % 8 == 0) {
    text += '-';
    in_class[static_cast<unsigned char>('-')] = true;
  }
  text += ']';
  pattern->text += text;
  pattern->regex += BracketOf([&](unsigned char c) {
    return negated ? IsEngineLetter(c) && !in_class[c] : in_class[c];
  });
}

// A piece: these bytes in any order, a '?' being any letter. Written as
// the alternation of the distinct orders.
void AppendPiece(std::mt19937& rng, const OracleAlphabet& alphabet,
                 OraclePattern* pattern) {
  std::string piece;
  for (int n = 1 + rng() % 4; n > 0; --n) {
    piece += rng() % 4 == 0 ? '?' : MemberByte(rng, alphabet, "-'");
  }
  pattern->text += "{";
  for (char c : piece) pattern->text += Spelled(c);
  pattern->text += "}";
  std::sort(piece.begin(), piece.end());
  std::string alternation;
  do {
    if (!alternation.empty()) alternation += '|';
    for (char c : piece) {
      alternation += c == '?' ? LetterBracket() : Hex(c);
    }
  } while (std::next_permutation(piece.begin(), piece.end()));
  pattern->regex += "(?:" + alternation + ")";
}

}  // namespace

bool OracleIsVowel(unsigned char c) {
  return c != 0 && std::memchr(kVowels, c, sizeof kVowels - 1) != nullptr;
}

bool OracleIsConsonant(unsigned char c) {
  return IsEngineLetter(c) && !OracleIsVowel(c);
}

bool OraclePattern::InRange(int length) const {
  return length >= min_length && (max_length < 0 || length <= max_length);
}

bool OraclePattern::Accepts(const std::string& word) const {
  if (!is_compiled) {
    compiled = std::regex(regex, std::regex::ECMAScript);
    is_compiled = true;
  }
  const int length =
      static_cast<int>(word.size() - std::count(word.begin(), word.end(), ' '));
  return InRange(length) && std::regex_match(word, compiled);
}

void AppendRandomElement(std::mt19937& rng, const OracleAlphabet& alphabet,
                         OraclePattern* pattern) {
  pattern->is_compiled = false;
  switch (rng() % 14) {
    case 0:
    case 1:
      pattern->text += '?';
      pattern->regex += '.';
      return;
    case 2:
    case 3:
      pattern->text += '*';
      pattern->regex += ".*";
      pattern->has_star = true;
      return;
    case 4:
      pattern->text += '@';
      pattern->regex += BracketOf(OracleIsVowel);
      return;
    case 5:
      pattern->text += '#';
      pattern->regex += BracketOf(OracleIsConsonant);
      return;
    case 6:
    case 7:
      AppendClass(rng, alphabet, pattern);
      return;
    case 8:
      AppendPiece(rng, alphabet, pattern);
      return;
    case 9:
      if (alphabet.escapes) {
        const char special = kEscapable[rng() % std::strlen(kEscapable)];
        pattern->text += '\\';
        pattern->text += special;
        pattern->regex += Hex(special);
        return;
      }
      [[fallthrough]];
    default: {
      const char letter = PickChar(rng, alphabet.letters);
      pattern->text += letter;
      pattern->regex += Hex(letter);
    }
  }
}

std::string RangeText(int min_length, int max_length) {
  const std::string low = min_length > 0 ? std::to_string(min_length) : "";
  if (max_length < 0) return low + "-:";
  if (min_length == max_length) return low + ":";
  return low + "-" + std::to_string(max_length) + ":";
}

OraclePattern RandomOraclePattern(std::mt19937& rng,
                                  const OracleAlphabet& alphabet, int elements,
                                  bool may_range) {
  OraclePattern pattern;
  if (may_range && rng() % 3 == 0) {
    pattern.min_length = static_cast<int>(rng() % 6);
    pattern.max_length =
        rng() % 3 == 0 ? -1 : pattern.min_length + static_cast<int>(rng() % 4);
    if (pattern.min_length == 0 && pattern.max_length <= 0) {
      pattern.min_length = 1;  // bounded, and never "0:"
      pattern.max_length = -1;
    }
    pattern.text = RangeText(pattern.min_length, pattern.max_length);
  }
  for (int i = 0; i < elements; ++i)
    AppendRandomElement(rng, alphabet, &pattern);
  return pattern;
}

}  // namespace vocor::testing
