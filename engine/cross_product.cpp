#include "engine/cross_product.h"

#include <algorithm>

#include "engine/letters.h"
#include "engine/pattern.h"
#include "engine/pattern_syntax.h"

namespace vocor {

std::string SplitFirstWord(std::string& rest) {
  const size_t space = rest.find(' ');
  std::string first;
  if (space == std::string::npos) {
    first.swap(rest);
  } else {
    first = rest.substr(0, space);
    rest.erase(0, space + 1);
  }
  return first;
}

CEnumResultsCrossProduct::CEnumResultsCrossProduct() : starts_(1, 0) {}

void CEnumResultsCrossProduct::AppendComponent(EnumPtr component) {
  AppendChild(std::move(component));
  starts_.resize(std::max<size_t>(1, child_count()), 0);
}

EnumPtr CEnumResultsCrossProduct::Clone() const {
  auto copy = std::make_unique<CEnumResultsCrossProduct>();
  for (const EnumPtr& c : children()) copy->AppendComponent(c->Clone());
  return copy;
}

void CEnumResultsCrossProduct::Reset() {
  CEnumResultsParentN::Reset();
  current_ = 0;
  complete_ = false;
  starts_[0] = 0;
}

std::string CEnumResultsCrossProduct::Describe(int indent) const {
  return DescribeIndent(indent) + "CrossProduct\n" +
         CEnumResultsParentN::Describe(indent);
}

bool CEnumResultsCrossProduct::Contains(const char* text) const {
  std::string rest = text;
  bool first = true;
  for (const EnumPtr& component : children()) {
    if (!first && rest.empty()) return false;
    first = false;
    const std::string piece = SplitFirstWord(rest);
    if (!component->Contains(piece.c_str())) return false;
  }
  return rest.empty();
}

EnumPtr CEnumResultsCrossProduct::CrossProduct(EnumPtr self, EnumPtr other) {
  if (IsNone(other.get())) return other;
  if (auto* product = dynamic_cast<CEnumResultsCrossProduct*>(other.get())) {
    while (product->child_count() > 0) {
      AppendComponent(product->RemoveChild(0));
    }
    return self;
  }
  AppendComponent(std::move(other));
  return self;
}

EnumPtr BoundPhraseLength(EnumPtr query, const LengthRange& range) {
  if (!range.bounded() || IsNone(query.get())) return query;
  const std::string bound = FormatLengthRange(range) + "*";
  return std::make_unique<CEnumResultsPattern>(std::move(query), bound.c_str());
}

EnumPtr CEnumResultsCrossProduct::Pattern(EnumPtr self, const char* pattern) {
  // A length range bounds the whole phrase, not its first word.
  LengthRange range;
  pattern += ReadLengthRange(pattern, &range);
  if (range.bounded()) {
    if (*pattern != '\0') self = self->Pattern(std::move(self), pattern);
    return BoundPhraseLength(std::move(self), range);
  }
  std::string rest = pattern;
  bool first = true;
  for (EnumPtr& component : children()) {
    if (!first && rest.empty()) return std::make_unique<CEnumResultsNone>();
    first = false;
    const std::string piece = SplitFirstWord(rest);
    component = component->Pattern(std::move(component), piece.c_str());
    if (IsNone(component.get())) return std::make_unique<CEnumResultsNone>();
  }
  if (!rest.empty()) return std::make_unique<CEnumResultsNone>();
  return self;
}

EnumPtr CEnumResultsCrossProduct::Letters(EnumPtr self,
                                          const CLetterConstraint& constraint) {
  if (!constraint.HasAnyPart()) return self;
  if (!constraint.IsSatisfiable()) return std::make_unique<CEnumResultsNone>();
  CLetterConstraint per_word;
  per_word.hasMax = constraint.hasMax;
  std::copy(constraint.maxCount, constraint.maxCount + kLetterTableSize,
            per_word.maxCount);
  for (EnumPtr& component : children()) {
    component = component->Letters(std::move(component), per_word);
    if (IsNone(component.get())) return std::make_unique<CEnumResultsNone>();
  }
  return std::make_unique<CEnumResultsLetters>(std::move(self), constraint);
}

int CEnumResultsCrossProduct::Score() const {
  int score = kMaxScore;
  for (const EnumPtr& component : children()) {
    score = std::min(score, component->Score());
  }
  return score;
}

const char* CEnumResultsCrossProduct::Next(int* counter) {
  std::vector<EnumPtr>& components = children();
  if (components.empty()) return nullptr;
  const int last = static_cast<int>(components.size()) - 1;
  for (;;) {
    if (current_ < 0 || (counter != nullptr && *counter <= 0)) return nullptr;
    const char* word = components[current_]->Next(counter);
    if (word == nullptr) {
      if (counter != nullptr && *counter == 0) return nullptr;  // suspended
      if (!complete_) {
        // Empty right after a rewind: no combination can follow.
        current_ = -1;
        return nullptr;
      }
      --current_;
      continue;
    }
    text_.resize(starts_[current_]);
    text_ += word;
    if (current_ == last) {
      complete_ = true;
      return text_.c_str();
    }
    text_.push_back(' ');
    starts_[current_ + 1] = text_.size();
    components[current_ + 1]->Reset();
    ++current_;
    complete_ = false;
  }
}

int CEnumResultsCrossProduct::GetPosition() const {
  return child_count() == 0 ? 0 : child_at(0)->GetPosition();
}

int CEnumResultsCrossProduct::GetExtent() const {
  return child_count() == 0 ? 1 : child_at(0)->GetExtent();
}

// ---- Builders ----

EnumPtr ApplyWordPattern(EnumPtr source, const char* pattern) {
  std::string typed;
  LengthSpecToPattern(pattern, typed);
  // Before any work that grows with the pattern's length: cloning a
  // reader per piece, or comparing it with another pattern.
  if (PatternExceedsLimits(typed.c_str())) {
    return std::make_unique<CEnumResultsNone>();
  }
  std::string converted = CollapseWildcardRuns(typed.c_str());
  const bool is_product =
      dynamic_cast<CEnumResultsCrossProduct*>(source.get()) != nullptr;
  if (converted.find(' ') == std::string::npos || is_product) {
    return source->Pattern(std::move(source), converted.c_str());
  }
  LengthRange range;
  converted.erase(0, ReadLengthRange(converted.c_str(), &range));
  EnumPtr product = std::make_unique<CEnumResultsCrossProduct>();
  while (!converted.empty()) {
    const std::string piece = SplitFirstWord(converted);
    EnumPtr word = source->Clone();
    word = word->Pattern(std::move(word), piece.c_str());
    product = product->CrossProduct(std::move(product), std::move(word));
  }
  return BoundPhraseLength(std::move(product), range);
}

EnumPtr BuildAnagramQuery(EnumPtr source, const char* letters,
                          const char* length_text) {
  CLetterConstraint constraint(nullptr, letters);
  if (length_text != nullptr && *length_text != '\0') {
    EnumPtr query = ApplyWordPattern(std::move(source), length_text);
    return query->Letters(std::move(query), constraint);
  }
  const int n = constraint.hasMax ? SumLetterCounts(constraint.maxCount) : 0;
  EnumPtr query = source->Letters(std::move(source), constraint);
  const std::string pattern(std::min(n, kMaxLengthRun), '?');
  return query->Pattern(std::move(query), pattern.c_str());
}

}  // namespace vocor
