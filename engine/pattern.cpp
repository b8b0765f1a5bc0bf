#include "engine/pattern.h"

#include <cstring>
#include <vector>

#include "engine/saturate.h"

namespace vocor {

bool MatchPattern(const char* word, const char* pattern) {
  // Greedy matching that remembers the last star: when a later piece fails,
  // the star absorbs one more character and the piece is tried again. This
  // accepts exactly what full backtracking accepts, since an earlier star
  // never needs to absorb more once a later star has been reached.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*word != '\0') {
    if (*pattern == '*') {
      star = pattern++;
      resume = word;
    } else if (*pattern != '\0' && (*pattern == '?' || *pattern == *word)) {
      ++pattern;
      ++word;
    } else if (star != nullptr) {
      pattern = star + 1;
      word = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

bool PatternsCompatible(const char* a, const char* b) {
  // compatible(i, j): some word matches both a[i..] and b[j..]. Filled from
  // the ends backwards, one row of b per position of a, so the cost is the
  // product of the lengths and the memory one row.
  const size_t n = std::strlen(a);
  const size_t m = std::strlen(b);
  std::vector<char> next(m + 1), row(m + 1);
  // Row for an exhausted a: b must be stars only from j on.
  next[m] = 1;
  for (size_t j = m; j-- > 0;) next[j] = b[j] == '*' && next[j + 1];
  for (size_t i = n; i-- > 0;) {
    // Exhausted b: a must be stars only from i on.
    row[m] = a[i] == '*' && next[m];
    for (size_t j = m; j-- > 0;) {
      const char ca = a[i], cb = b[j];
      bool ok;
      if (ca == '*' && cb == '*') {
        ok = row[j + 1] || next[j] || next[j + 1];
      } else if (ca == '*' || cb == '*') {
        // The star matches nothing here, or absorbs the other character.
        ok = row[j + 1] || next[j];
      } else {
        ok = (ca == '?' || cb == '?' || ca == cb) && next[j + 1];
      }
      row[j] = ok;
    }
    std::swap(row, next);
  }
  return next[0];
}

void CountWildcards(const char* pattern, int& stars, int& questions) {
  stars = questions = 0;
  for (; *pattern != '\0'; ++pattern) {
    if (*pattern == '*') ++stars;
    if (*pattern == '?') ++questions;
  }
}

int ComparePatternSpecificity(const char* a, const char* b) {
  int stars_a, questions_a, stars_b, questions_b;
  CountWildcards(a, stars_a, questions_a);
  CountWildcards(b, stars_b, questions_b);
  if (stars_a != stars_b) return stars_a < stars_b ? -1 : 1;
  const size_t fixed_a = std::strlen(a) - stars_a - questions_a;
  const size_t fixed_b = std::strlen(b) - stars_b - questions_b;
  if (fixed_a != fixed_b) return fixed_a > fixed_b ? -1 : 1;
  if (questions_a != questions_b) return questions_a < questions_b ? -1 : 1;
  return 0;
}

void LengthSpecToPattern(const char* spec, std::string& out) {
  // Characters other than '*' that the current piece asks for; once past
  // the longest word, more of the piece changes nothing.
  int piece_letters = 0;
  int pieces = 1;
  while (*spec != '\0') {
    const char c = *spec;
    if (c >= '0' && c <= '9') {
      const int run = ParseSaturatedDecimal(&spec, kMaxLengthRun);
      const int room = kMaxPieceLetters + 1 - piece_letters;
      const int kept = run < room ? run : room;
      out.append(kept, '?');
      piece_letters += kept;
      continue;
    }
    ++spec;
    if (c == ',' || c == ' ') {
      if (++pieces > kMaxPatternPieces + 1) return;
      piece_letters = 0;
      out.push_back(' ');
    } else if (piece_letters > kMaxPieceLetters) {
      // The piece already matches nothing; its stars and letters too.
    } else if (c == '.') {
      out.push_back('?');
      ++piece_letters;
    } else if (c == '*') {
      // A run of stars collapses into its last star.
      if (*spec != '*') out.push_back(c);
    } else {
      out.push_back(c);
      ++piece_letters;
    }
  }
}

std::string CollapseWildcardRuns(const char* pattern) {
  std::string out;
  out.reserve(std::strlen(pattern));
  while (*pattern != '\0') {
    if (*pattern != '?' && *pattern != '*') {
      out.push_back(*pattern++);
      continue;
    }
    size_t questions = 0;
    bool star = false;
    for (; *pattern == '?' || *pattern == '*'; ++pattern) {
      if (*pattern == '?') ++questions;
      star = star || *pattern == '*';
    }
    out.append(questions, '?');
    if (star) out.push_back('*');
  }
  return out;
}

bool PatternExceedsLimits(const char* pattern) {
  int pieces = 1;
  int letters = 0;
  for (; *pattern != '\0'; ++pattern) {
    if (*pattern == ' ') {
      if (++pieces > kMaxPatternPieces) return true;
      letters = 0;
    } else if (*pattern != '*' && ++letters > kMaxPieceLetters) {
      return true;
    }
  }
  return false;
}

bool IsStarsOnly(const char* pattern) {
  for (; *pattern != '\0'; ++pattern) {
    if (*pattern != '*') return false;
  }
  return true;
}

CEnumResultsPattern::CEnumResultsPattern(EnumPtr child, const char* pattern)
    : CEnumResultsParent1(std::move(child)),
      pattern_(CollapseWildcardRuns(pattern)) {}

EnumPtr CEnumResultsPattern::Clone() const {
  return std::make_unique<CEnumResultsPattern>(child()->Clone(),
                                               pattern_.c_str());
}

std::string CEnumResultsPattern::Describe(int indent) const {
  return DescribeIndent(indent) + "Pattern(\"" + pattern_ + "\")\n" +
         CEnumResultsParent1::Describe(indent);
}

bool CEnumResultsPattern::Contains(const char* word) const {
  return MatchPattern(word, pattern_.c_str()) && child()->Contains(word);
}

bool SplitPatternPair(const std::string& own, const char* incoming,
                      std::string* inner, std::string* outer) {
  if (*incoming == '\0') return false;
  const std::string collapsed = CollapseWildcardRuns(incoming);
  if (!PatternsCompatible(collapsed.c_str(), own.c_str())) return false;
  if (own == "*") {
    *inner = collapsed;
    *outer = "*";
  } else if (ComparePatternSpecificity(collapsed.c_str(), own.c_str()) < 0) {
    *inner = collapsed;
    *outer = own;
  } else {
    *inner = own;
    *outer = collapsed;
  }
  return true;
}

EnumPtr CEnumResultsPattern::Pattern(EnumPtr self, const char* pattern) {
  std::string inner, outer;
  if (!SplitPatternPair(pattern_, pattern, &inner, &outer)) {
    return std::make_unique<CEnumResultsNone>();
  }
  pattern_ = std::move(inner);
  return CEnumResults::Pattern(std::move(self), outer.c_str());
}

const char* CEnumResultsPattern::Next(int* counter) {
  while (counter == nullptr || *counter > 0) {
    const char* word = child()->Next(counter);
    if (word == nullptr) return nullptr;
    if (MatchPattern(word, pattern_.c_str())) return word;
  }
  return nullptr;
}

}  // namespace vocor
