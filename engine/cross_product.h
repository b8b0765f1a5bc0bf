// Multi-word combinations: one word from each component, joined by single
// spaces, the last component varying fastest.
#ifndef VOCOR_ENGINE_CROSS_PRODUCT_H_
#define VOCOR_ENGINE_CROSS_PRODUCT_H_

#include <string>
#include <vector>

#include "engine/enum_results.h"
#include "engine/pattern_syntax.h"

namespace vocor {

class CEnumResultsCrossProduct final : public CEnumResultsParentN {
 public:
  // No component yet. Only ever read once it has one.
  CEnumResultsCrossProduct();

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // Splits `text` at spaces, one piece per component.
  bool Contains(const char* text) const override;
  // Appends `other` as a component; a product argument gives up its
  // components instead.
  EnumPtr CrossProduct(EnumPtr self, EnumPtr other) override;
  // Splits the pattern at spaces, one piece per component; too few or too
  // many pieces make the product empty.
  EnumPtr Pattern(EnumPtr self, const char* pattern) override;
  // Each component gets the maximum part; the whole phrase is checked
  // against the full constraint by a letters node above the product.
  EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint) override;
  const char* Next(int* counter) override;
  int GetPosition() const override;
  int GetExtent() const override;
  // The lowest score among the phrase's words.
  int Score() const override;
  bool YieldsPhrases() const override { return true; }

 private:
  void AppendComponent(EnumPtr component);

  int current_ = 0;  // -1 once exhausted
  bool complete_ = false;
  std::string text_;
  std::vector<size_t> starts_;
};

// Splits off the text before the first space of `rest` and leaves in `rest`
// what follows that space; without a space, returns all of `rest` and
// empties it.
std::string SplitFirstWord(std::string& rest);

// `query` whose results (phrases) have a letter count in `range`, spaces
// not counted; `query` itself when the range bounds nothing.
EnumPtr BoundPhraseLength(EnumPtr query, const LengthRange& range);

}  // namespace vocor

#endif  // VOCOR_ENGINE_CROSS_PRODUCT_H_
