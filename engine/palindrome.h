// Letter-play transformations and the filter that keeps the words which
// survive them: as the same word, or as another word of the same source.
#ifndef VOCOR_ENGINE_PALINDROME_H_
#define VOCOR_ENGINE_PALINDROME_H_

#include <string>

#include "engine/enum_results.h"

namespace vocor {

enum PalindromeMode {
  kReverse = 0,   // letter order reversed, every character kept
  kReflectH = 1,  // mirror left-to-right: reversed, symmetric letters only
  kReflectV = 2,  // mirror top-to-bottom: order kept, m and w exchanged
  kRotate = 3,    // half turn: reversed, m and w exchanged
};

enum PalindromeForm {
  kSameWord = 0,
  kAnotherWord = 1,
};

// Writes the transformed `word` to `out` (same length plus a NUL; `out`
// must have room for it). Returns false when a character has no image in
// `mode`, or for a mode outside 0 to 3.
bool TransformWord(int mode, const char* word, char* out);

// What TransformWord writes for the byte `c` in `mode`: 0 when it has no
// image there, and for every byte of a mode outside 0 to 3.
unsigned char LetterImage(int mode, unsigned char c);

// Whether `mode` takes the letters from the last to the first (every mode
// but kReflectV).
bool ReversesOrder(int mode);

// Same as TransformWord giving `word` back unchanged, but compares as it
// goes and stops at the first difference, so most words cost one or two
// character tests.
bool ReadsAsItself(int mode, const char* word);

// Where the child has a faster way to find the surviving words
// (TransformSurvivors, as a binary dictionary's reader has), the filter
// reads those instead of testing every word of the child; the results,
// their order, progress and scores are the same either way.
class CEnumResultsPalindrome final : public CEnumResultsParent1 {
 public:
  // Takes ownership of `child` and keeps a clone of it to look up
  // transformed words without disturbing the child's position.
  CEnumResultsPalindrome(EnumPtr child, int mode, int another_word);
  ~CEnumResultsPalindrome() override;

  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  // In the another-word form, the first calls ready the lookups
  // (PrepareContains on the second child), charged to the counter, before
  // any word is read: they return null with the counter used up.
  const char* Next(int* counter) override;
  bool PrepareContains(int* counter) override;
  // Those of the source read: the child's survivors where it has them.
  void Reset() override;
  int GetPosition() const override;
  int Score() const override;
  // Passed to the child, whose survivors are asked for again.
  EnumPtr MinScore(EnumPtr self, int floor) override;

 private:
  // Transforms `word` into scratch_; false when it has no image.
  bool Transform(const char* word) const;
  bool Keeps(const char* word) const;

  int mode_;
  int another_word_;
  EnumPtr lookup_;
  // The child's own reading of the surviving words, or null.
  EnumPtr survivors_;
  bool lookup_ready_ = false;
  mutable std::string scratch_;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_PALINDROME_H_
