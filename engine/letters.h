// Letter constraints: the multiset of letters a word must use (minimum
// part) and may use (maximum part), with '?' as blank tiles. Count tables
// have one entry per byte value, so accented letters count like any other;
// entry 0 is never set. INT_MAX in a count means unlimited.
//
// Letter-count text: each letter, apostrophe, hyphen or '?' is counted; the
// character after it decides how: '*' makes the count unlimited, a digit run
// adds its value, anything else adds one. "e2s" is e=2, s=1; "aa3" is a=4;
// "a*" makes a unlimited. Counts saturate below INT_MAX, so no number typed
// can become "unlimited" by accident.
#ifndef VOCOR_ENGINE_LETTERS_H_
#define VOCOR_ENGINE_LETTERS_H_

#include <climits>
#include <string>

#include "engine/enum_results.h"

namespace vocor {

constexpr int kLetterTableSize = 256;
constexpr int kUnlimited = INT_MAX;
// The largest count a text can give; one below kUnlimited.
constexpr int kMaxLetterCount = INT_MAX - 1;
constexpr unsigned char kBlank = '?';

// Clears `counts` and counts the characters of `text` into it.
void ParseLetterCounts(const char* text, int counts[kLetterTableSize]);

// The table as text: codes 1 to 255 in ascending order, each character
// repeated count times, or followed by '*' when unlimited. A count too
// large to spell out is written as the character and its decimal value,
// which reads back to the same count.
std::string FormatLetterCounts(const int counts[kLetterTableSize]);

// The table as Describe shows it: FormatLetterCounts, except that a table
// in which most bytes are unlimited and the others 0 (letters left out) is
// shown by what it leaves out: "* but Ee?".
std::string DescribeLetterCounts(const int counts[kLetterTableSize]);

// Both parts of `constraint` for Describe, quoted and separated by a comma
// ("\"st\",\"* but ?Ee\""); a missing part reads <null>.
std::string DescribeLetterParts(const CLetterConstraint& constraint);

// Sum of the counts that are not unlimited, clamped at kMaxLetterCount.
int SumLetterCounts(const int counts[kLetterTableSize]);

// A plain value, copied wherever it is kept.
class CLetterConstraint {
 public:
  // No part: restricts nothing.
  CLetterConstraint();
  // Either text may be null (the part is then absent). An empty maximum
  // text allows no letter at all.
  CLetterConstraint(const char* min_text, const char* max_text);

  bool IsSatisfiable() const;
  // Intersects this constraint with `other` in place.
  void CombineWith(const CLetterConstraint& other);
  // Whether `word` meets both parts. Characters that are not counted (the
  // spaces of a multi-word result) are invisible to the test.
  bool Accepts(const char* word) const;
  // Accounts one letter of a word being built: returns what was taken (0
  // for nothing to give back, `c` itself, or '?' for a blank), or -1 when
  // neither the letter nor a blank is left. Give it back with GiveBack.
  int TakeLetter(char c);
  void GiveBack(int taken);

  bool has_min() const { return hasMin; }
  bool has_max() const { return hasMax; }
  bool HasAnyPart() const { return hasMin || hasMax; }

  bool hasMin;
  int minCount[kLetterTableSize];
  bool hasMax;
  int maxCount[kLetterTableSize];
};

// Filters its child's words by a letter constraint.
class CEnumResultsLetters final : public CEnumResultsParent1 {
 public:
  // Takes ownership of `child`; copies `constraint`.
  CEnumResultsLetters(EnumPtr child, const CLetterConstraint& constraint);

  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  // Narrows this node's constraint instead of stacking a second node.
  EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint) override;
  const char* Next(int* counter) override;

  const CLetterConstraint& constraint() const { return constraint_; }

 private:
  CLetterConstraint constraint_;
};

// True for the characters a letter-count text counts.
bool IsCountedCharacter(unsigned char c);

}  // namespace vocor

#endif  // VOCOR_ENGINE_LETTERS_H_
