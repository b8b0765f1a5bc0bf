#include "engine/pattern_syntax.h"

#include <cstring>

#include "engine/saturate.h"

namespace vocor {

namespace {

// Length bounds saturate here: no word is this long, so a larger number
// means the same.
constexpr int kMaxRangeNumber = 100000;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

bool IsEscapable(char c) { return c != '\0' && std::strchr("[]@#{}:\\", c); }

std::string At(char what, size_t i) {
  return std::string("'") + what + "' at position " + std::to_string(i + 1);
}

bool Fail(PatternError* error, size_t i, std::string message) {
  if (error != nullptr) {
    error->message = std::move(message);
    error->position = static_cast<int>(i) + 1;
  }
  return false;
}

// Checks the class that starts at text[i] ('['); on success *end is past
// its ']'.
bool CheckClass(const char* text, size_t i, size_t* end, PatternError* e) {
  size_t j = i + 1;
  if (text[j] == '^' || text[j] == '!') ++j;
  int members = 0;
  int previous = -1;  // the last single member, for a range
  while (text[j] != ']') {
    const char c = text[j];
    if (c == '\0') return Fail(e, i, At('[', i) + " is not closed");
    if (c == ' ') {
      return Fail(e, j, "a space at position " + std::to_string(j + 1) +
                            " cannot stand inside '[ ]'");
    }
    if (c == '-' && previous >= 0 && text[j + 1] != ']' &&
        text[j + 1] != '\0') {
      size_t k = j + 1;
      unsigned char hi = static_cast<unsigned char>(text[k]);
      if (text[k] == '\\') {
        if (!IsEscapable(text[k + 1]) && text[k + 1] != '-') {
          return Fail(e, k, At('\\', k) + " must come before one of [ ] @ # "
                                          "{ } : \\ -");
        }
        hi = static_cast<unsigned char>(text[++k]);
      }
      if (hi < previous) {
        return Fail(e, j - 1,
                    "the range '" + std::string(text + j - 1, k - j + 2) +
                        "' at position " + std::to_string(j) +
                        " is reversed");
      }
      previous = -1;
      j = k + 1;
      continue;
    }
    if (c == '\\') {
      if (!IsEscapable(text[j + 1]) && text[j + 1] != '-') {
        return Fail(e, j, At('\\', j) + " must come before one of [ ] @ # "
                                        "{ } : \\ -");
      }
      ++j;
    }
    previous = static_cast<unsigned char>(text[j]);
    ++members;
    ++j;
  }
  if (members == 0) {
    return Fail(e, i, "the class at position " + std::to_string(i + 1) +
                          " holds no letter");
  }
  *end = j + 1;
  return true;
}

// Checks the piece that starts at text[i] ('{').
bool CheckPiece(const char* text, size_t i, size_t* end, PatternError* e) {
  size_t j = i + 1;
  int members = 0;
  while (text[j] != '}') {
    const char c = text[j];
    if (c == '\0') return Fail(e, i, At('{', i) + " is not closed");
    if (c == ' ' || c == '*' || c == '[' || c == '{') {
      return Fail(e, j,
                  (c == ' ' ? std::string("a space at position ") +
                                  std::to_string(j + 1)
                            : At(c, j)) +
                      " cannot stand inside '{ }'");
    }
    if (c == '\\') {
      if (!IsEscapable(text[j + 1])) {
        return Fail(e, j, At('\\', j) + " must come before one of [ ] @ # "
                                        "{ } : \\");
      }
      ++j;
    }
    ++members;
    ++j;
  }
  if (members == 0) {
    return Fail(e, i, "'{}' at position " + std::to_string(i + 1) +
                          " holds no letter");
  }
  *end = j + 1;
  return true;
}

}  // namespace

size_t ReadLengthRange(const char* pattern, LengthRange* range) {
  const char* p = pattern;
  const bool has_min = IsDigit(*p);
  const int min = has_min ? ParseSaturatedDecimal(&p, kMaxRangeNumber) : 0;
  bool dash = false;
  if (*p == '-') {
    dash = true;
    ++p;
  }
  const bool has_max = IsDigit(*p);
  const int max = has_max ? ParseSaturatedDecimal(&p, kMaxRangeNumber) : 0;
  if (*p != ':' || (!has_min && !has_max)) return 0;
  range->min = min;
  if (has_max) {
    range->max = max;
  } else {
    range->max = dash ? kNoMaxLength : min;  // "6:" is exactly 6
  }
  return static_cast<size_t>(p + 1 - pattern);
}

std::string FormatLengthRange(const LengthRange& range) {
  if (!range.bounded()) return "";
  if (range.max == range.min) return std::to_string(range.min) + ":";
  std::string out = range.min > 0 ? std::to_string(range.min) : "";
  out += '-';
  if (range.max != kNoMaxLength) out += std::to_string(range.max);
  return out + ":";
}

size_t SkipPatternElement(const char* pattern, size_t i) {
  const char c = pattern[i];
  if (c == '\0') return i;
  if (c == '\\') return pattern[i + 1] == '\0' ? i + 1 : i + 2;
  if (c != '[' && c != '{') return i + 1;
  const char close = c == '[' ? ']' : '}';
  size_t j = i + 1;
  // A class may hold ']' right after its negation only when escaped, so
  // the first unescaped closer ends it.
  while (pattern[j] != '\0' && pattern[j] != close) {
    if (pattern[j] == '\\' && pattern[j + 1] != '\0') ++j;
    ++j;
  }
  return pattern[j] == '\0' ? j : j + 1;
}

bool CheckPatternSyntax(const char* typed, PatternError* error) {
  LengthRange range;
  size_t i = ReadLengthRange(typed, &range);
  if (i > 0 && range.max != kNoMaxLength && range.max < range.min) {
    return Fail(error, 0,
                "the length range '" + std::string(typed, i) +
                    "' at position 1 is reversed");
  }
  while (typed[i] != '\0') {
    const char c = typed[i];
    size_t end = i + 1;
    switch (c) {
      case '[':
        if (!CheckClass(typed, i, &end, error)) return false;
        break;
      case '{':
        if (!CheckPiece(typed, i, &end, error)) return false;
        break;
      case ']':
        return Fail(error, i, At(c, i) + " has no '[' before it");
      case '}':
        return Fail(error, i, At(c, i) + " has no '{' before it");
      case ':':
        return Fail(error, i,
                    At(c, i) + " does not end a length range such as 5-7:");
      case '\\':
        if (!IsEscapable(typed[i + 1])) {
          return Fail(error, i,
                      At(c, i) + " must come before one of [ ] @ # { } : \\");
        }
        end = i + 2;
        break;
      default:
        break;
    }
    i = end;
  }
  if (error != nullptr) *error = PatternError();
  return true;
}

}  // namespace vocor
