// An oracle for the pattern language, used only by tests: random patterns
// built element by element, each element written twice, once as pattern
// text and once as a byte-wise ECMAScript regular expression over
// Windows-1252 text, with the length range kept beside the expression. The
// oracle knows the language from its definition (which bytes are vowels,
// which letters, what a piece means) and shares no code with the engine,
// so that a fault in the engine's parser, automaton or walks shows up as a
// word one side accepts and the other does not.
#ifndef VOCOR_SEARCH_PATTERN_ORACLE_H_
#define VOCOR_SEARCH_PATTERN_ORACLE_H_

#include <random>
#include <regex>
#include <string>
#include <vector>

namespace vocor::testing {

// The bytes that spell themselves only after a backslash.
inline constexpr char kEscapable[] = "[]@#{}:\\";

// a e i o u in both cases, their accented forms and the ae/oe ligatures.
bool OracleIsVowel(unsigned char c);
// Any other letter of the code page.
bool OracleIsConsonant(unsigned char c);

// A pattern and what it means.
struct OraclePattern {
  std::string text;       // engine pattern text
  std::string regex;      // ECMAScript; every byte written as \xHH
  int min_length = 0;     // characters but spaces
  int max_length = -1;    // -1: no bound
  bool has_star = false;  // a '*' element (not a '*' inside a class)

  // Whether `word` (engine text) matches: the expression and the range.
  bool Accepts(const std::string& word) const;
  bool InRange(int length) const;

  mutable std::regex compiled;
  mutable bool is_compiled = false;
};

// What random patterns may hold.
struct OracleAlphabet {
  std::string letters;   // letters for literals, classes and pieces
  bool escapes = false;  // escaped special characters, in and out of classes
};

// One element of a random pattern, appended to `pattern`.
void AppendRandomElement(std::mt19937& rng, const OracleAlphabet& alphabet,
                         OraclePattern* pattern);

// A random pattern of `elements` elements (stars come often), with a
// random length range ahead in about a third of the patterns when
// `may_range`.
OraclePattern RandomOraclePattern(std::mt19937& rng,
                                  const OracleAlphabet& alphabet, int elements,
                                  bool may_range);

// The range as typed ahead of a pattern ("5-7:", "-4:", "6:", "3-:").
std::string RangeText(int min_length, int max_length);

}  // namespace vocor::testing

#endif  // VOCOR_SEARCH_PATTERN_ORACLE_H_
