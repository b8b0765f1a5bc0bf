// The query algebra. A search is a tree of enumerators: leaves read the
// words of a dictionary, inner nodes filter or combine their children's word
// streams. Trees are never assembled by hand; a query starts as a
// dictionary's root enumerator and is rewritten by the operations below,
// each of which lets the receiving node decide how a constraint is best
// applied to it (absorbed by a dictionary reader, distributed by a union,
// wrapped in a filter, or collapsed into CEnumResultsNone when provably
// empty).
//
// Ownership. Every node is held by an EnumPtr. The rewriting operations
// (Merge, Demerge, CrossProduct, Pattern, Letters) consume the node they
// are called on, passed as `self`, and return its replacement:
//
//   EnumPtr query = dictionary->CreateEnumerator();
//   query = query->Pattern(std::move(query), "c?t");
//
// `self` must own the object the call is made on. The result may be `self`
// itself, a new node that owns it, the argument, or a new CEnumResultsNone;
// the consumed node may already be gone. Enumerator arguments are consumed
// too. Pattern texts and constraints are borrowed; a node keeps a copy.
//
// Reading. Next(counter) returns the next word or null. The word belongs to
// the enumerator and stays valid until the next call of Next or Reset on it
// or on any enumerator above it, or until it is destroyed. The counter is a
// cooperative work budget: leaves decrement it per unit of work. A null
// result with a non-null counter equal to 0 means "suspended, call again";
// any other null means exhausted. Null counters never suspend.
//
// Scores. Every word a leaf yields carries a score (engine/score.h); a
// phrase scores as its weakest word. Score() reads the score of the word
// Next returned last, and MinScore is a rewriting operation like Pattern:
// leaves absorb it, filters pass it to what they filter, unions to every
// child, and a phrase to every word.
//
// Threading: none. An enumerator is used by one thread at a time.
#ifndef VOCOR_ENGINE_ENUM_RESULTS_H_
#define VOCOR_ENGINE_ENUM_RESULTS_H_

#include <memory>
#include <string>
#include <vector>

#include "engine/score.h"

namespace vocor {

class CEnumResults;
class CLetterConstraint;

using EnumPtr = std::unique_ptr<CEnumResults>;

class CEnumResults {
 public:
  CEnumResults() = default;
  CEnumResults(const CEnumResults&) = delete;
  CEnumResults& operator=(const CEnumResults&) = delete;
  virtual ~CEnumResults() = default;

  // A deep copy of the subtree with the same constraints, positioned at its
  // first word. Leaves this enumerator untouched.
  virtual EnumPtr Clone() const = 0;

  // Rewinds the subtree to its first word. The default does nothing.
  virtual void Reset();

  // The subtree as text: one line per node, `indent` TABs deeper per level.
  virtual std::string Describe(int indent) const = 0;

  // Whether the subtree would yield `word`. Never moves the position. The
  // default restricts a clone to `word` read as a pattern, so '?' and '*'
  // in it act as wildcards.
  virtual bool Contains(const char* word) const;

  // Union of this and `other`, this first.
  virtual EnumPtr Merge(EnumPtr self, EnumPtr other);
  // The words of this that `other` does not contain.
  virtual EnumPtr Demerge(EnumPtr self, EnumPtr other);
  // Multi-word combination: a word of this, a space, a word of `other`.
  virtual EnumPtr CrossProduct(EnumPtr self, EnumPtr other);
  // Restricted to the words matching `pattern` whole.
  virtual EnumPtr Pattern(EnumPtr self, const char* pattern);
  // Restricted to the words meeting `constraint`.
  virtual EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint);
  // Restricted to the results scoring at least `floor` (a phrase: every
  // one of its words). A floor at or below kMinScore changes nothing. The
  // default wraps this node in a filter that reads Score().
  virtual EnumPtr MinScore(EnumPtr self, int floor);

  // The next word or null; see the file comment for the counter protocol.
  virtual const char* Next(int* counter) = 0;

  // Progress so far and the total, on a scale chosen by the leaves.
  virtual int GetPosition() const = 0;
  virtual int GetExtent() const = 0;

  // The score of the result Next returned last; only meaningful while that
  // result is valid. The default, for leaves without scores, is
  // kDefaultScore.
  virtual int Score() const;

  // Adds how many of the subtree's words carry each score to *counts, for
  // planning best-first reading; filters and exclusions report their
  // source's counts, since only the shape of the distribution matters.
  // The default, for leaves without scores, counts one word at
  // kDefaultScore.
  virtual void CountScores(ScoreCounts* counts) const;

  // Whether a result may be several words (a phrase), so that the results
  // can outnumber the dictionary's words. Default false; parents ask their
  // children.
  virtual bool YieldsPhrases() const;

  // Readies Contains for the many calls a filter is about to make (a text
  // list builds its word index here), charging the work to `counter` like
  // Next does, so that no search step has to do it all at once. Returns
  // true once Contains is ready; false when the counter ran out first, in
  // which case a later call with a refilled counter goes on where this one
  // stopped. A null counter readies everything in one call. Contains gives
  // the same answers whether or not this was called; it is only faster.
  // The default has nothing to ready; parents ready their children.
  virtual bool PrepareContains(int* counter);

  // A source of exactly what a CEnumResultsPalindrome over this node would
  // yield in `mode` and form `another_word` (engine/palindrome.h): the same
  // words in the same order, with the same progress and scores, found
  // without testing every word. Null, the default, when this node knows no
  // faster way than the filter's; the filter then reads this node itself.
  virtual EnumPtr TransformSurvivors(int mode, int another_word) const;
};

// True when `e` is the empty enumerator.
bool IsNone(const CEnumResults* e);

// The empty enumerator: the result of every query proved to have no answer.
class CEnumResultsNone final : public CEnumResults {
 public:
  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  EnumPtr Merge(EnumPtr self, EnumPtr other) override;
  EnumPtr Demerge(EnumPtr self, EnumPtr other) override;
  EnumPtr CrossProduct(EnumPtr self, EnumPtr other) override;
  EnumPtr Pattern(EnumPtr self, const char* pattern) override;
  EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint) override;
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;
  int GetPosition() const override;
  int GetExtent() const override;
  void CountScores(ScoreCounts* counts) const override;
};

// A node with one owned child; progress is the child's.
class CEnumResultsParent1 : public CEnumResults {
 public:
  explicit CEnumResultsParent1(EnumPtr child);
  ~CEnumResultsParent1() override;
  void Reset() override;
  std::string Describe(int indent) const override;
  int GetPosition() const override;
  int GetExtent() const override;
  bool PrepareContains(int* counter) override;
  // Passed to the child; the child's score and counts are this node's.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  int Score() const override;
  void CountScores(ScoreCounts* counts) const override;
  bool YieldsPhrases() const override;

 protected:
  CEnumResults* child() const { return child_.get(); }

 private:
  EnumPtr child_;
};

// A node with two owned children, destroyed first, then second.
class CEnumResultsParent2 : public CEnumResults {
 public:
  CEnumResultsParent2(EnumPtr first, EnumPtr second);
  ~CEnumResultsParent2() override;
  void Reset() override;
  std::string Describe(int indent) const override;
  bool PrepareContains(int* counter) override;
  // The results are the first child's words: the floor goes to the first
  // child only (a word of the second still excludes whatever its score),
  // and the first child's score and counts are this node's.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  int Score() const override;
  void CountScores(ScoreCounts* counts) const override;
  bool YieldsPhrases() const override;

 protected:
  CEnumResults* first() const { return first_.get(); }
  CEnumResults* second() const { return second_.get(); }

 private:
  EnumPtr first_;
  EnumPtr second_;
};

// A node with an ordered array of owned children, destroyed last to first.
class CEnumResultsParentN : public CEnumResults {
 public:
  CEnumResultsParentN() = default;
  ~CEnumResultsParentN() override;
  void Reset() override;
  std::string Describe(int indent) const override;
  bool PrepareContains(int* counter) override;
  // Passed to every child; the empty enumerator once any child is empty
  // (subclasses where one empty child does not empty the whole override).
  EnumPtr MinScore(EnumPtr self, int floor) override;
  // The sum of the children's counts.
  void CountScores(ScoreCounts* counts) const override;
  bool YieldsPhrases() const override;

  int child_count() const { return static_cast<int>(children_.size()); }
  const CEnumResults* child_at(int i) const { return children_[i].get(); }

 protected:
  std::vector<EnumPtr>& children() { return children_; }
  const std::vector<EnumPtr>& children() const { return children_; }
  void AppendChild(EnumPtr child) { children_.push_back(std::move(child)); }
  // Removes the child at `index`, closing the gap, and returns it.
  EnumPtr RemoveChild(int index);
  // Replaces the child at `index`.
  void SetChild(int index, EnumPtr child) { children_[index] = std::move(child); }

 private:
  std::vector<EnumPtr> children_;
};

// Yields the results of its child that score at least a floor: the
// default MinScore of nodes that cannot absorb one.
class CEnumResultsMinScore final : public CEnumResultsParent1 {
 public:
  CEnumResultsMinScore(EnumPtr child, int floor);
  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  // A higher floor replaces this one; a lower one changes nothing.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;

 private:
  int floor_;
};

// `indent` TAB characters.
std::string DescribeIndent(int indent);

// Builders used by the search forms. Each consumes `source`.

// Hidden words: must use `min_text`, may use `max_text` (either may be
// null), at least `min_length` letters.
EnumPtr BuildLettersQuery(EnumPtr source, const char* min_text,
                          const char* max_text, int min_length);

// A pattern in word-length notation; a pattern with spaces becomes a cross
// product of clones of `source`, one per word, and a length range ahead of
// it bounds the letters of the whole phrase.
EnumPtr ApplyWordPattern(EnumPtr source, const char* pattern);

// Anagrams of `letters` ('?' a blank), shaped by `length_text` (word-length
// notation, may be null or empty).
EnumPtr BuildAnagramQuery(EnumPtr source, const char* letters,
                          const char* length_text);

}  // namespace vocor

#endif  // VOCOR_ENGINE_ENUM_RESULTS_H_
