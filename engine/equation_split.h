// Splitting one word over a pattern of an equation: the backtracking step
// of the equation solver (engine/equation.h), kept resumable so that the
// search can suspend in the middle of a word.
#ifndef VOCOR_ENGINE_EQUATION_SPLIT_H_
#define VOCOR_ENGINE_EQUATION_SPLIT_H_

#include <memory>
#include <string>
#include <vector>

#include "engine/equation.h"
#include "engine/pattern_automaton.h"

namespace vocor {

// The runs bound to the variables so far, shared by every pattern.
struct EquationBindings {
  std::string value[kEquationVariables];
  bool bound[kEquationVariables] = {};
};

// A pattern prepared for splitting: its items with each element compiled.
class SplitPattern {
 public:
  SplitPattern(const EquationPattern& pattern, const Equation& equation);

  struct Item {
    int variable = -1;
    bool reversed = false;
    bool star = false;
    int width = 0;  // characters a fixed element takes
    // The element's automaton (null for variables and stars); each
    // splitter has its own copy, since matching grows its cache.
    std::shared_ptr<const PatternProgram> program;
    // The byte a one-byte literal element stands for, or -1.
    int literal = -1;
  };
  const std::vector<Item>& items() const { return items_; }
  const Equation& equation() const { return *equation_; }
  const LengthRange& range() const { return range_; }

 private:
  std::vector<Item> items_;
  const Equation* equation_;
  LengthRange range_;
};

// Enumerates the splits of one word over a pattern that agree with the
// bindings, binding the pattern's unbound variables for each split found
// and unbinding them as it moves on.
class EquationSplitter {
 public:
  enum Outcome { kFound, kExhausted, kSuspended };

  EquationSplitter(const SplitPattern* pattern, EquationBindings* bindings);

  // Starts on `word` (copied). Any split in progress is abandoned and its
  // bindings undone.
  void Start(const char* word);
  // The next split (the bindings hold it), kExhausted when there is no
  // other (all of this splitter's bindings undone), or kSuspended when
  // the counter (may be null) ran out first. One unit per step.
  Outcome Next(int* counter);
  // Abandons the word, undoing the bindings.
  void Clear();

  const std::string& word() const { return word_; }

 private:
  struct Frame {
    int item;
    int pos;
    int len;      // the next length to try
    int max_len;  // the last length to try
    bool binds;   // this frame bound its variable for the length tried
  };

  void Push(int item, int pos);
  // The fewest and most characters the items from `item` on can take.
  void Bounds(int item, int* least, int* most) const;
  bool ElementMatches(int item, int pos, int len);
  bool Distinct(int variable) const;
  void Unbind(Frame* frame);

  const SplitPattern* pattern_;
  EquationBindings* bindings_;
  std::vector<std::unique_ptr<PatternAutomaton>> automata_;  // per item
  std::string word_;
  std::vector<Frame> stack_;
  bool started_ = false;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_EQUATION_SPLIT_H_
