// Union and exclusion of word streams.
#ifndef VOCOR_ENGINE_MERGE_H_
#define VOCOR_ENGINE_MERGE_H_

#include <cstdint>

#include "engine/enum_results.h"

namespace vocor {

// Yields all words of its first child, then all of the second, and so on;
// a word held by two children comes twice. Constraints are distributed
// into the children, and children proved empty are dropped. Progress is
// the sum of the children's scales.
class CEnumResultsMerge final : public CEnumResultsParentN {
 public:
  CEnumResultsMerge() = default;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  // Appends `other`; a union argument gives up its children instead.
  EnumPtr Merge(EnumPtr self, EnumPtr other) override;
  EnumPtr Pattern(EnumPtr self, const char* pattern) override;
  EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint) override;
  // Children left empty by the floor are dropped.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;
  int GetPosition() const override;
  int GetExtent() const override;
  // The score the yielding child gives; a word two children hold comes
  // twice, once with each child's score.
  int Score() const override;

 private:
  void Append(EnumPtr child);
  // Replaces every child by `rewrite(child)`, dropping the empty ones.
  // Returns the union, or the empty enumerator when no child is left.
  template <typename Rewrite>
  EnumPtr RewriteChildren(EnumPtr self, Rewrite rewrite);

  int current_ = 0;
  // Extents are kept wide so that many large children cannot overflow;
  // the reported values are clamped to int.
  int64_t finished_extent_ = 0;
  int64_t total_extent_ = 0;
};

// Yields the words of its first child that its second child does not
// contain. Constraints wrap the exclusion; they are not pushed inside.
// Before the first word it readies the second child's Contains
// (PrepareContains) in slices of the work counter, so that a text list's
// word index is not built inside one step.
class CEnumResultsDemerge final : public CEnumResultsParent2 {
 public:
  // Takes ownership of both.
  CEnumResultsDemerge(EnumPtr first, EnumPtr second);

  EnumPtr Clone() const override;
  std::string Describe(int indent) const override;
  bool Contains(const char* word) const override;
  const char* Next(int* counter) override;
  int GetPosition() const override;
  int GetExtent() const override;

 private:
  bool exclusion_ready_ = false;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_MERGE_H_
