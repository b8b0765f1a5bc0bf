// Patterns compiled for matching. A PatternProgram is the parsed pattern,
// immutable and shared; a PatternAutomaton runs it as a deterministic
// automaton built lazily (as RE2 does): a state is the set of places the
// pattern can be after the letters read so far, with the letters counted
// when a length range bounds them, and each state's transitions are worked
// out the first time they are asked for and then kept. Bytes that no part
// of the pattern tells apart share one column of the transition table.
//
// Readers that walk a letter tree carry a state per node on their path:
// a state id says everything the pattern still needs, so that a node
// reached again with the same state has the same matches below it.
#ifndef VOCOR_ENGINE_PATTERN_AUTOMATON_H_
#define VOCOR_ENGINE_PATTERN_AUTOMATON_H_

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/pattern_syntax.h"

namespace vocor {

// A set of bytes.
class ByteSet {
 public:
  bool Contains(unsigned char c) const {
    return (bits_[c >> 6] >> (c & 63)) & 1;
  }
  void Add(unsigned char c) { bits_[c >> 6] |= uint64_t{1} << (c & 63); }
  void AddRange(unsigned char lo, unsigned char hi);
  void Invert();
  bool Intersects(const ByteSet& other) const;
  bool Empty() const;
  int Count() const;

 private:
  uint64_t bits_[4] = {0, 0, 0, 0};
};

// The bytes IsEngineLetter accepts.
const ByteSet& LetterBytes();
// The bytes '@' matches: a e i o u in either case, the oe ligature and the
// accented vowels.
const ByteSet& VowelBytes();

// One element of a parsed pattern.
struct PatternElement {
  enum Kind : uint8_t {
    kByte,   // `byte` itself
    kSet,    // one byte of `set` ('?', '@', '#', a class)
    kStar,   // any run
    kPiece,  // `piece` in any order
  };
  Kind kind = kByte;
  unsigned char byte = 0;
  ByteSet set;
  // kPiece: its letters sorted by byte, the blanks ('?') first.
  std::string piece;
  // The element as pattern text, for Describe.
  std::string text;
};

class PatternProgram {
 public:
  // Compiles engine pattern text (after LengthSpecToPattern). Text that
  // CheckPatternSyntax refuses compiles to a program that matches
  // nothing, so a caller that skipped the check is never misled into a
  // literal match.
  static std::shared_ptr<const PatternProgram> Compile(const char* text);

  bool valid() const { return valid_; }
  const LengthRange& range() const { return range_; }
  const std::vector<PatternElement>& elements() const { return elements_; }
  // The fewest characters (spaces included) a match needs, and whether a
  // match has a fixed length (no '*').
  int min_characters() const { return min_characters_; }
  bool has_star() const { return has_star_; }

 private:
  bool valid_ = false;
  LengthRange range_;
  std::vector<PatternElement> elements_;
  int min_characters_ = 0;
  bool has_star_ = false;
};

// Runs a program. Not thread-safe (the cache grows as it is used); one per
// enumerator, copied with it. State ids stay valid for the automaton's
// lifetime.
class PatternAutomaton {
 public:
  static constexpr int kDead = -1;

  explicit PatternAutomaton(std::shared_ptr<const PatternProgram> program);
  // A copy shares the program and starts with an empty cache.
  PatternAutomaton(const PatternAutomaton& other);
  PatternAutomaton& operator=(const PatternAutomaton& other);
  ~PatternAutomaton();

  const PatternProgram& program() const { return *program_; }

  // The state before any letter; kDead for a program that matches nothing.
  int start() const { return start_; }
  // The state after `c`; kDead when no word with these letters can match.
  int Step(int state, unsigned char c) {
    const int cached = transitions_[static_cast<size_t>(state) * columns_ +
                                    column_of_[c]];
    return cached != kUnknown ? cached : ComputeStep(state, c);
  }
  // Whether the letters read so far make a match.
  bool IsAccepting(int state) const { return accepting_[state] != 0; }
  // Whether every continuation, the empty one included, is a match (as
  // after the last letter of "s*"): a walk may take a whole subtree.
  bool AcceptsEverything(int state) const { return universal_[state] != 0; }
  // The one byte that can lead anywhere but kDead, or -1 when there may
  // be several. Lets a walk find its one child by search.
  int OnlyByte(int state) const { return only_byte_[state]; }
  // Whether some letter can follow: false once every place the pattern
  // can be in is its end, so that a walk need not look at the children.
  bool CanContinue(int state) const { return continues_[state] != 0; }

  // The fewest characters that must still follow for a match (0 when the
  // state accepts): a walk that knows how deep the tree goes below a node
  // leaves it when it is not deep enough.
  int MinCharactersLeft(int state) const { return min_left_[state]; }

  // `state` without the places that need more than `max_left` further
  // characters; kDead when none is left. A walk that knows that no word
  // below a node is longer than `max_left` letters gets the same matches
  // from the smaller state, and meets far fewer states: a piece after a
  // star otherwise starts a new place at every letter. Cached.
  int Restrict(int state, int max_left);

  // Whether the whole word matches.
  bool Matches(const char* word);

  int state_count() const { return static_cast<int>(accepting_.size()); }

 private:
  static constexpr int kUnknown = -2;
  struct Item;
  struct StateKey;
  struct StateKeyHash;
  struct PieceStates;

  int ComputeStep(int state, unsigned char c);
  // The state of `items` closed under stars matching nothing (unless
  // `closed` says they already are, or must stay as restricted).
  int Intern(std::vector<uint64_t> items, int count, bool closed = false);
  // The fewest characters still needed from `item` on.
  int ItemNeeds(uint64_t item) const;
  void Build();

  std::shared_ptr<const PatternProgram> program_;
  int start_ = kDead;
  int columns_ = 1;
  uint16_t column_of_[256] = {};
  // One representative byte per column.
  std::vector<unsigned char> column_byte_;
  std::vector<int> transitions_;  // state * columns_ + column
  std::vector<uint8_t> accepting_;
  std::vector<uint8_t> universal_;
  std::vector<int16_t> only_byte_;
  std::vector<uint8_t> continues_;
  std::vector<int> min_left_;
  // Per state: its items (sorted) and its letter count.
  std::vector<std::vector<uint64_t>> items_;
  std::vector<int> counts_;
  std::unordered_map<std::string, int> ids_;
  std::unordered_map<uint64_t, int> restricted_;
  // Per piece element: the multisets still to read, interned.
  std::vector<std::unique_ptr<PieceStates>> pieces_;
  // Per element index: fewest letters, and fewest characters, from there
  // to the end.
  std::vector<int> min_rest_;
  std::vector<int> min_chars_;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_PATTERN_AUTOMATON_H_
