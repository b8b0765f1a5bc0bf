// The cryptic setter's helpers: hidden words across a phrase, letter
// selections of a phrase, and spoonerisms. Each is a query node like every
// other search, so that the results list, Stop, the result limit, Copy and
// Print treat them alike; what they yield are result lines, not words.
//
// Each node owns a word source (the root enumerator of a dictionary) and
// asks it only Contains, plus an anagram query per letter selection, so a
// binary dictionary answers every look-up with one walk down its letter
// tree and a text list from its index. Before the first look-up a node
// readies the source's Contains (PrepareContains) in slices of the work
// counter. One unit of work is one look-up (one candidate), one word read
// from an anagram query, or one selection finished; a node suspends like
// a leaf when the counter runs out.
//
// Phrases are engine text, lower case. Their letters are the bytes
// IsEngineLetter accepts; spaces, digits and punctuation only separate the
// phrase's words. A word is found only as the source stores it, so words
// stored with capitals (names) are not found from lower-case letters.
//
// Result lines (engine text), each yielded once:
//   hidden words:  "word" for a word read forwards, "word (reversed)" for
//                  one read backwards.
//   letters:       "first letters tp: not a word; anagrams pt", one line
//                  per selection (first, last, odd, even): its letters,
//                  whether they are a word ("a word" / "not a word"), and
//                  the other words of the same letters ("anagrams a, b" or
//                  "no anagrams"). An empty selection has no line.
//   spoonerisms:   "blushing crow -> crushing blow": the words, and the
//                  same words with two leading consonant groups swapped.
//
// Scores: every line has kDefaultScore.
#ifndef VOCOR_ENGINE_WORDPLAY_H_
#define VOCOR_ENGINE_WORDPLAY_H_

#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "engine/enum_results.h"

namespace vocor {

// The letters of `phrase` in order, everything else left out.
std::string PhraseLetters(std::string_view phrase);
// The words of `phrase`: its runs of letters.
std::vector<std::string> PhraseWords(std::string_view phrase);

// The length of the leading consonant group of `word`: the letters before
// its first vowel, where a vowel is one of the letters '@' matches in a
// pattern, or a y that follows a consonant (so "fly" is f-l-y, "yes" y-es),
// and a u after a leading q belongs to the group ("queen" is qu-een).
// std::string_view::npos for a word without a vowel.
size_t LeadingConsonants(std::string_view word);

// Swaps the leading consonant groups of `a` and `b` into *a_out and
// *b_out. False, leaving them untouched, when either word has no vowel or
// the groups are the same (both empty among them): there is nothing to
// swap.
bool Spoonerize(std::string_view a, std::string_view b, std::string* a_out,
                std::string* b_out);

// The common part of the helpers: the source, its readying, the lines
// made and not yet yielded, and the lines yielded (each once).
class CEnumResultsWordplay : public CEnumResults {
 public:
  ~CEnumResultsWordplay() override;
  void Reset() override;
  const char* Next(int* counter) override;
  int GetPosition() const override { return position_; }
  int GetExtent() const override;

 protected:
  // Takes `source`; `extent` is the number of progress steps.
  CEnumResultsWordplay(EnumPtr source, int extent);

  // One unit of work or more (charged to `counter` when not null; an
  // anagram query charges its own), adding any line found with Emit and
  // moving on with Advance. Returns false once there is nothing left.
  virtual bool Work(int* counter) = 0;
  // Back to the first step.
  virtual void Restart() = 0;

  CEnumResults* source() const { return source_.get(); }
  // Whether the source holds `word`, charged as one unit.
  bool LookUp(const std::string& word, int* counter) const;
  void Emit(std::string line);
  // One progress step done.
  void Advance() { ++position_; }
  std::string DescribeWith(const std::string& head, int indent) const;

 private:
  EnumPtr source_;
  int extent_;
  int position_ = 0;
  bool prepared_ = false;
  bool done_ = false;
  std::deque<std::string> pending_;
  std::unordered_set<std::string> yielded_;
  std::string current_;
};

// Every word of the source spelled by consecutive letters of the phrase,
// at least `min_length` long, forwards and, when `reversed`, backwards too;
// the phrase's own words are left out. Progress: one step per starting
// letter and direction.
class CEnumResultsHiddenWords final : public CEnumResultsWordplay {
 public:
  CEnumResultsHiddenWords(EnumPtr source, std::string_view phrase,
                          int min_length, bool reversed);
  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;

 protected:
  bool Work(int* counter) override;
  void Restart() override;

 private:
  // Moves to the next start (and direction); false when none is left.
  bool NextStart();

  std::string phrase_;
  int min_length_;
  bool reversed_;
  std::string letters_[2];  // forwards, backwards
  std::unordered_set<std::string> own_words_;
  int direction_ = 0;
  size_t start_ = 0;
  size_t length_ = 0;
};

// The first letters of the phrase's words, their last letters, the odd
// letters (first, third, ...) and the even letters of the phrase, each with
// whether it is a word and its anagrams. Progress: one step per selection.
class CEnumResultsLetterSelections final : public CEnumResultsWordplay {
 public:
  CEnumResultsLetterSelections(EnumPtr source, std::string_view phrase);
  ~CEnumResultsLetterSelections() override;
  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;

  // The four selections of `phrase` in order: first, last, odd, even.
  static std::vector<std::string> Selections(std::string_view phrase);

 protected:
  bool Work(int* counter) override;
  void Restart() override;

 private:
  void FinishSelection();

  std::string phrase_;
  std::vector<std::string> selections_;
  size_t index_ = 0;
  EnumPtr anagrams_;  // the current selection's query, once started
  bool is_word_ = false;
  std::vector<std::string> found_;
};

// Spoonerisms of a phrase: for two words or more, every pair of its words
// with their leading consonant groups swapped, when both new words are
// words; for a single word, every split of it into two words whose
// spoonerism is two words. Progress: one step per pair or split.
class CEnumResultsSpoonerisms final : public CEnumResultsWordplay {
 public:
  CEnumResultsSpoonerisms(EnumPtr source, std::string_view phrase);
  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;

 protected:
  bool Work(int* counter) override;
  void Restart() override;

 private:
  // The phrase's words after swapping the groups of words i and j, when
  // both results are words of the source.
  void TryPair(const std::vector<std::string>& words, size_t i, size_t j,
               int* counter);

  std::string phrase_;
  std::vector<std::string> words_;
  size_t first_ = 0;   // one word: the split point; else the pair's first
  size_t second_ = 1;  // the pair's second word
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_WORDPLAY_H_
