// The pattern language, as typed and as the engine keeps it.
//
//   ?        one character (a space too)       *      any run, empty included
//   [abc]    one of these bytes; [a-e] a range of byte codes; [^abc] or
//            [!abc] one letter that is none of them
//   @        one vowel: a e i o u in either case with their accented forms
//            (and ae/oe ligatures); never y
//   #        one consonant: any other letter (IsEngineLetter)
//   {abc}    exactly these letters, in any order; '?' inside is any letter
//   \c       the character c itself, for c one of [ ] @ # { } : and the
//            backslash
//   N-M:     ahead of the rest, a range of lengths: "5-7:", "8-:", "-4:",
//            "6:". It counts every character but spaces, so ahead of a
//            multi-word pattern it bounds the whole phrase.
//   other    the byte itself
//
// Typed text may also hold the word-length notation at the top level
// (digit runs for that many '?', ',' for a space, '.' for '?');
// LengthSpecToPattern turns it into engine text, leaving classes, pieces,
// escapes and the range alone. A space may not stand inside a class or a
// piece, so the words of a phrase pattern are always its space-separated
// pieces.
#ifndef VOCOR_ENGINE_PATTERN_SYNTAX_H_
#define VOCOR_ENGINE_PATTERN_SYNTAX_H_

#include <string>

namespace vocor {

// Why a pattern is malformed, for the person who typed it.
struct PatternError {
  // "'[' at position 4 is not closed"; empty when well formed.
  std::string message;
  // 1-based character position of the fault in the typed text; 0 when
  // well formed.
  int position = 0;
};

// Whether `typed` (engine text; the length notation allowed) is a well
// formed pattern. On failure fills *error (may be null). Linear.
bool CheckPatternSyntax(const char* typed, PatternError* error);

// The length range ahead of a pattern. Absent: 0 and kNoMaxLength.
constexpr int kNoMaxLength = -1;
struct LengthRange {
  int min = 0;
  int max = kNoMaxLength;
  bool bounded() const { return min > 0 || max != kNoMaxLength; }
};

// Splits a leading "N-M:" (or "N:") off `pattern`: returns the number of
// bytes it takes (0 when there is none) and stores the range in *range.
// Numbers saturate well above any word's length.
size_t ReadLengthRange(const char* pattern, LengthRange* range);

// The range as pattern text ("5-7:", "8-:", "-4:", "6:"); "" when
// unbounded.
std::string FormatLengthRange(const LengthRange& range);

// The index just past the element that starts at `pattern[i]` (a class,
// a piece and an escape are one element each); i itself at the end. Never
// reads past the terminating NUL, whatever the text holds.
size_t SkipPatternElement(const char* pattern, size_t i);

}  // namespace vocor

#endif  // VOCOR_ENGINE_PATTERN_SYNTAX_H_
