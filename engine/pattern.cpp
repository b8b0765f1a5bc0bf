#include "engine/pattern.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/pattern_automaton.h"
#include "engine/saturate.h"

namespace vocor {

bool MatchPattern(const char* word, const char* pattern) {
  // The pattern of readers that absorbed none, asked on every lookup.
  if (*pattern != '\0' && IsStarsOnly(pattern)) return true;
  PatternAutomaton automaton(PatternProgram::Compile(pattern));
  return automaton.Matches(word);
}

namespace {

// One place of a pattern for the compatibility test: a star, or one
// character out of a set. A piece becomes one place per letter, each
// allowing any of its letters: a word matching the piece matches that,
// so the test may say "compatible" too often, never too rarely.
struct Place {
  bool star;
  ByteSet set;
};

std::vector<Place> PlacesOf(const PatternProgram& program) {
  std::vector<Place> places;
  for (const PatternElement& e : program.elements()) {
    switch (e.kind) {
      case PatternElement::kStar:
        places.push_back(Place{true, ByteSet()});
        break;
      case PatternElement::kByte: {
        ByteSet set;
        set.Add(e.byte);
        places.push_back(Place{false, set});
        break;
      }
      case PatternElement::kSet:
        places.push_back(Place{false, e.set});
        break;
      case PatternElement::kPiece: {
        ByteSet set;
        for (char c : e.piece) {
          if (c == '?') {
            set = LetterBytes();
            break;
          }
          set.Add(static_cast<unsigned char>(c));
        }
        places.insert(places.end(), e.piece.size(), Place{false, set});
        break;
      }
    }
  }
  return places;
}

bool RangesMeet(const LengthRange& a, const LengthRange& b) {
  const int low = std::max(a.min, b.min);
  if (a.max != kNoMaxLength && a.max < low) return false;
  if (b.max != kNoMaxLength && b.max < low) return false;
  return true;
}

}  // namespace

bool PatternsCompatible(const char* pattern_a, const char* pattern_b) {
  const auto program_a = PatternProgram::Compile(pattern_a);
  const auto program_b = PatternProgram::Compile(pattern_b);
  if (!program_a->valid() || !program_b->valid()) return false;
  if (!RangesMeet(program_a->range(), program_b->range())) return false;
  const std::vector<Place> a = PlacesOf(*program_a);
  const std::vector<Place> b = PlacesOf(*program_b);
  // compatible(i, j): some word matches both a[i..] and b[j..]. Filled from
  // the ends backwards, one row of b per place of a, so the cost is the
  // product of the lengths and the memory one row.
  const size_t n = a.size();
  const size_t m = b.size();
  std::vector<char> next(m + 1), row(m + 1);
  // Row for an exhausted a: b must be stars only from j on.
  next[m] = 1;
  for (size_t j = m; j-- > 0;) next[j] = b[j].star && next[j + 1];
  for (size_t i = n; i-- > 0;) {
    // Exhausted b: a must be stars only from i on.
    row[m] = a[i].star && next[m];
    for (size_t j = m; j-- > 0;) {
      bool ok;
      if (a[i].star && b[j].star) {
        ok = row[j + 1] || next[j] || next[j + 1];
      } else if (a[i].star || b[j].star) {
        // The star matches nothing here, or absorbs the other character.
        ok = row[j + 1] || next[j];
      } else {
        ok = a[i].set.Intersects(b[j].set) && next[j + 1];
      }
      row[j] = ok;
    }
    std::swap(row, next);
  }
  return next[0];
}

void CountWildcards(const char* pattern, int& stars, int& questions) {
  stars = questions = 0;
  LengthRange range;
  for (size_t i = ReadLengthRange(pattern, &range); pattern[i] != '\0';
       i = SkipPatternElement(pattern, i)) {
    if (pattern[i] == '*') ++stars;
    if (pattern[i] == '?') ++questions;
  }
}

namespace {

// What a pattern fixes, for ordering patterns by selectivity: a class, a
// vowel or consonant and a piece's letter count as letters, a piece's
// blanks as '?'.
struct Selectivity {
  int stars = 0;
  int fixed = 0;
  int questions = 0;
};

Selectivity SelectivityOf(const char* text) {
  Selectivity s;
  const auto program = PatternProgram::Compile(text);
  for (const PatternElement& e : program->elements()) {
    switch (e.kind) {
      case PatternElement::kStar:
        ++s.stars;
        break;
      case PatternElement::kPiece: {
        const auto blanks = static_cast<int>(
            std::count(e.piece.begin(), e.piece.end(), '?'));
        s.questions += blanks;
        s.fixed += static_cast<int>(e.piece.size()) - blanks;
        break;
      }
      case PatternElement::kSet:
        ++(e.text == "?" ? s.questions : s.fixed);
        break;
      case PatternElement::kByte:
        ++s.fixed;
        break;
    }
  }
  return s;
}

}  // namespace

int ComparePatternSpecificity(const char* a, const char* b) {
  const Selectivity sa = SelectivityOf(a);
  const Selectivity sb = SelectivityOf(b);
  if (sa.stars != sb.stars) return sa.stars < sb.stars ? -1 : 1;
  if (sa.fixed != sb.fixed) return sa.fixed > sb.fixed ? -1 : 1;
  if (sa.questions != sb.questions) return sa.questions < sb.questions ? -1 : 1;
  return 0;
}

namespace {

// Letters an element that is not '?', '*' or the length notation asks
// for: a piece its letters, anything else one.
int ElementLetters(const char* element, size_t length) {
  if (element[0] != '{') return 1;
  int letters = 0;
  for (size_t i = 1; i + 1 < length; ++i) {
    if (element[i] == '\\') ++i;
    ++letters;
  }
  return letters;
}

}  // namespace

void LengthSpecToPattern(const char* spec, std::string& out) {
  LengthRange range;
  const size_t prefix = ReadLengthRange(spec, &range);
  out.append(spec, prefix);
  spec += prefix;
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
    if (c == '[' || c == '{' || c == '\\') {
      // Classes, pieces and escapes are copied as they are: their digits
      // and dots are characters, not lengths.
      const size_t length = SkipPatternElement(spec, 0);
      if (piece_letters <= kMaxPieceLetters) {
        out.append(spec, length);
        piece_letters += ElementLetters(spec, length);
      }
      spec += length;
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
  LengthRange range;
  const size_t prefix = ReadLengthRange(pattern, &range);
  out.append(pattern, prefix);
  pattern += prefix;
  while (*pattern != '\0') {
    if (*pattern != '?' && *pattern != '*') {
      const size_t length = SkipPatternElement(pattern, 0);
      out.append(pattern, length);
      pattern += length;
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
  LengthRange range;
  for (size_t i = ReadLengthRange(pattern, &range); pattern[i] != '\0';) {
    const size_t next = SkipPatternElement(pattern, i);
    if (pattern[i] == ' ') {
      if (++pieces > kMaxPatternPieces) return true;
      letters = 0;
    } else if (pattern[i] != '*') {
      letters += ElementLetters(pattern + i, next - i);
      if (letters > kMaxPieceLetters) return true;
    }
    i = next;
  }
  return false;
}

int PatternMinLetters(const char* pattern) {
  LengthRange range;
  int letters = 0;
  for (size_t i = ReadLengthRange(pattern, &range); pattern[i] != '\0';) {
    const size_t next = SkipPatternElement(pattern, i);
    if (pattern[i] != ' ' && pattern[i] != '*') {
      letters = SaturatingAdd(letters, ElementLetters(pattern + i, next - i));
    }
    i = next;
  }
  return std::max(letters, range.min);
}

bool IsStarsOnly(const char* pattern) {
  for (; *pattern != '\0'; ++pattern) {
    if (*pattern != '*') return false;
  }
  return true;
}

CEnumResultsPattern::CEnumResultsPattern(EnumPtr child, const char* pattern)
    : CEnumResultsParent1(std::move(child)),
      pattern_(CollapseWildcardRuns(pattern)),
      automaton_(PatternProgram::Compile(pattern_.c_str())) {}

EnumPtr CEnumResultsPattern::Clone() const {
  return std::make_unique<CEnumResultsPattern>(child()->Clone(),
                                               pattern_.c_str());
}

std::string CEnumResultsPattern::Describe(int indent) const {
  return DescribeIndent(indent) + "Pattern(\"" + pattern_ + "\")\n" +
         CEnumResultsParent1::Describe(indent);
}

bool CEnumResultsPattern::Contains(const char* word) const {
  return automaton_.Matches(word) && child()->Contains(word);
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
  automaton_ = PatternAutomaton(PatternProgram::Compile(pattern_.c_str()));
  return CEnumResults::Pattern(std::move(self), outer.c_str());
}

const char* CEnumResultsPattern::Next(int* counter) {
  while (counter == nullptr || *counter > 0) {
    const char* word = child()->Next(counter);
    if (word == nullptr) return nullptr;
    if (automaton_.Matches(word)) return word;
  }
  return nullptr;
}

}  // namespace vocor
