// Word patterns (the language is in engine/pattern_syntax.h): '?' is
// exactly one character (a space too), '*' any run, classes, vowels,
// consonants, anagram pieces and a length range; every other byte is
// itself, compared case-sensitively. A pattern describes the whole word.
// The empty pattern matches nothing; a pattern of stars only matches
// everything; a malformed pattern matches nothing.
#ifndef VOCOR_ENGINE_PATTERN_H_
#define VOCOR_ENGINE_PATTERN_H_

#include <string>

#include "engine/enum_results.h"
#include "engine/pattern_automaton.h"

namespace vocor {

// Digit runs of the word-length notation are capped at this many '?': no
// dictionary word is that long, so a larger request finds nothing either.
constexpr int kMaxLengthRun = 1000;

// Whether `word` matches `pattern` as a whole. Compiles the pattern on
// every call: a caller with many words keeps a PatternAutomaton.
bool MatchPattern(const char* word, const char* pattern);

// Whether some word can match both patterns. O(|a| * |b|). Classes meet
// when they share a letter; a piece is taken as that many places of any of
// its letters, so the answer may be "yes" for patterns no word matches
// (never "no" for patterns some word matches).
bool PatternsCompatible(const char* a, const char* b);

// Counts the '*' and '?' elements of `pattern` (not those inside classes
// and pieces).
void CountWildcards(const char* pattern, int& stars, int& questions);

// -1 when `a` is the more selective pattern, 1 when `b` is, 0 on a tie:
// fewer stars first, then more fixed characters (a class, '@', '#' and a
// piece's letters count as fixed), then fewer '?' (a piece's blanks too).
int ComparePatternSpecificity(const char* a, const char* b);

// No stored word is longer than this, so a pattern piece (the text
// between spaces) that asks for more characters matches nothing.
constexpr int kMaxPieceLetters = 999;
// A phrase pattern of more words than this is refused as matching nothing:
// every word costs a reader of its own, and no puzzle has that many.
constexpr int kMaxPatternPieces = 500;

// Appends the pattern form of the word-length notation `spec` to `out`:
// a digit run becomes that many '?' (at most kMaxLengthRun), '.' becomes
// '?', ',' a space, and a run of stars one star. A length range ahead,
// classes, pieces and escapes are copied as they are. The output stays bounded
// whatever `spec` holds: a piece stops growing once it asks for more than
// kMaxPieceLetters characters (it matches nothing either way), and the
// conversion stops after kMaxPatternPieces + 1 pieces. So the result
// matches exactly the words the full expansion would.
void LengthSpecToPattern(const char* spec, std::string& out);

// The same pattern with every run of '?' and '*' that holds a star
// written as its '?'s followed by one '*' ("*?*?" becomes "??*"). The
// same words match, but a matcher that branches on stars has only one way
// left to match each word instead of one per placement of the stars.
std::string CollapseWildcardRuns(const char* pattern);

// Whether no stored word can match `pattern`, judged without a dictionary:
// some piece asks for more than kMaxPieceLetters characters, or there are
// more than kMaxPatternPieces pieces. Linear in the pattern's length.
bool PatternExceedsLimits(const char* pattern);

// The characters a match of `pattern` needs at least, spaces not counted
// (a piece counts its letters, a class one), after its length range if it
// has one: at least the range's minimum. Element-aware, linear.
int PatternMinLetters(const char* pattern);

// True when `pattern` is made of '*' only (the empty text included).
bool IsStarsOnly(const char* pattern);

// Filters its child's words by a pattern.
class CEnumResultsPattern final : public CEnumResultsParent1 {
 public:
  // Takes ownership of `child`; copies `pattern` with its wildcard runs
  // collapsed.
  CEnumResultsPattern(EnumPtr child, const char* pattern);

  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  // Merges a second pattern: the more selective one stays nearest the
  // child, the other goes into a new node above.
  EnumPtr Pattern(EnumPtr self, const char* pattern) override;
  const char* Next(int* counter) override;

  const std::string& pattern() const { return pattern_; }

 private:
  std::string pattern_;
  // Matching grows its cache, even from Contains.
  mutable PatternAutomaton automaton_;
};

// Decides, for a node holding `own` that receives `incoming`, which pattern
// the node keeps and which goes outside (written to *inner and *outer).
// Returns false when the two patterns cannot match a common word. Shared by
// the pattern node and the dictionary readers that absorb patterns. The
// incoming pattern is kept with its wildcard runs collapsed.
bool SplitPatternPair(const std::string& own, const char* incoming,
                      std::string* inner, std::string* outer);

}  // namespace vocor

#endif  // VOCOR_ENGINE_PATTERN_H_
