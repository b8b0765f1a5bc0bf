// Word equations: patterns that share variables.
//
// The language. An equation is patterns separated by ';', then optional
// constraints, separated by ';' like them:
//
//   A-Z      a variable: a non-empty run of characters, the same run
//            wherever the variable appears (in every pattern)
//   ~A       the run of A read backwards
//   other    an element of the pattern language (engine/pattern_syntax.h):
//            a byte, '?', '*', a class, '@', '#', a piece, an escape; a
//            length range ("5-7:") may stand ahead of a pattern
//   spaces   ignored outside classes and pieces ("AB; A; B")
//   |A|=3  |A|>=3  |A|<=5      the length of a variable's run
//   A!=B                       two variables hold different runs
//
// Every pattern must be a word of the dictionary. So `AB;A;B` asks for the
// words that split into two words, `A~A` for the even palindromes. Digits
// outside a length range, and the characters | ! = < > outside a
// constraint, are refused: they are far likelier typing slips than letters
// of a word. Up to kMaxEquationPatterns patterns; 26 variables at most.
//
// The solver. Patterns are solved one after another, in an order fixed
// when the query is built: first the pattern with the most variables (the
// most selective on a tie), then repeatedly the pattern with the fewest
// variables still unbound. The first pattern's words come from the
// dictionary's reader with the pattern its elements and the variables'
// length bounds allow (a variable becomes '?' as often as its minimum,
// then '*'), so a binary reader prunes its walk by them. Each word is
// split over the pattern's variables by backtracking, every split binding
// the variables it meets. A later pattern whose variables are all bound
// and whose elements are letters is a single word: one Contains on the
// dictionary. One with unbound variables or wildcards left is a pattern
// query with the bound runs written in as letters, and its words are
// split in turn. A solution is one result: the words of the patterns in
// the order they were typed, joined by ';'.
//
// Cost. The first pattern's matches times their splits, each split paying
// for the look-ups it leads to; a split stops at the first look-up that
// fails. Work is charged to the counter per split step, per look-up and by
// the readers for their walks, and the search suspends between any two
// steps, so Stop answers at once whatever the equation.
//
// Results over a set: a word that several members hold is found once per
// member, so a solution can repeat; the results sinks keep each once.
#ifndef VOCOR_ENGINE_EQUATION_H_
#define VOCOR_ENGINE_EQUATION_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/enum_results.h"
#include "engine/pattern_syntax.h"

namespace vocor {

constexpr int kMaxEquationPatterns = 8;
constexpr int kEquationVariables = 26;
// An upper length bound that no word reaches.
constexpr int kUnboundedLength = 1 << 20;

// One item of a pattern: a variable (0 for A to 25 for Z), possibly
// reversed, or one element of the pattern language.
struct EquationItem {
  int variable = -1;  // -1: a pattern element
  bool reversed = false;
  std::string element;  // engine pattern text of the element
};

struct EquationPattern {
  LengthRange range;  // the length range typed ahead of it, if any
  std::vector<EquationItem> items;
};

struct Equation {
  std::vector<EquationPattern> patterns;
  // Per variable: the bounds its run's length must keep (at least 1).
  int min_length[kEquationVariables];
  int max_length[kEquationVariables];
  // Pairs of variables whose runs must differ.
  std::vector<std::pair<int, int>> distinct;
  // Bit v set when variable v appears in a pattern.
  uint32_t used = 0;

  Equation();
  // The equation as text, in a canonical spelling (for Describe).
  std::string ToText() const;
};

// Parses engine text (upper-case A-Z are variables; everything else as it
// goes into a pattern). On failure returns false and fills *error (may be
// null) with the problem and its 1-based position. Linear in the text.
bool ParseEquation(const char* text, Equation* equation, PatternError* error);

// Whether some constraint can never hold (a minimum above a maximum, a
// variable distinct from itself): the equation has no solution.
bool EquationIsUnsatisfiable(const Equation& equation);

// Yields the solutions of an equation over the words of a source.
class CEnumResultsEquation final : public CEnumResults {
 public:
  // Takes `source` (a dictionary's root enumerator, unrestricted: look-ups
  // ask its Contains, and pattern queries are built on its clones).
  CEnumResultsEquation(EnumPtr source, const Equation& equation);
  ~CEnumResultsEquation() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // Readies the source's look-ups.
  bool PrepareContains(int* counter) override;
  // The first call readies the source's look-ups, charged to the counter.
  const char* Next(int* counter) override;
  // The first pattern's reader: how far its words have been read.
  int GetPosition() const override;
  int GetExtent() const override;
  // A solution joins several words; there can be more than words.
  bool YieldsPhrases() const override { return true; }

  // The order patterns are solved in (indices into the equation's).
  const std::vector<int>& order() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// The order in which the solver takes the patterns (see the file comment).
std::vector<int> PlanEquationOrder(const Equation& equation);

}  // namespace vocor

#endif  // VOCOR_ENGINE_EQUATION_H_
