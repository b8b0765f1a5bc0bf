#include "engine/merge.h"

#include <climits>

#include "engine/letters.h"
#include "engine/pattern.h"

namespace vocor {
namespace {

int ClampToInt(int64_t value) {
  if (value > INT_MAX) return INT_MAX;
  if (value < 0) return 0;
  return static_cast<int>(value);
}

}  // namespace

// ---- CEnumResultsMerge ----

void CEnumResultsMerge::Append(EnumPtr child) {
  total_extent_ += child->GetExtent();
  AppendChild(std::move(child));
}

EnumPtr CEnumResultsMerge::Clone() const {
  auto copy = std::make_unique<CEnumResultsMerge>();
  for (const EnumPtr& child : children()) copy->Append(child->Clone());
  return copy;
}

void CEnumResultsMerge::Reset() {
  CEnumResultsParentN::Reset();
  current_ = 0;
  finished_extent_ = 0;
}

std::string CEnumResultsMerge::Describe(int indent) const {
  return DescribeIndent(indent) + "Merge\n" +
         CEnumResultsParentN::Describe(indent);
}

bool CEnumResultsMerge::Contains(const char* word) const {
  for (const EnumPtr& child : children()) {
    if (child->Contains(word)) return true;
  }
  return false;
}

EnumPtr CEnumResultsMerge::Merge(EnumPtr self, EnumPtr other) {
  if (IsNone(other.get())) return self;
  if (auto* other_union = dynamic_cast<CEnumResultsMerge*>(other.get())) {
    while (other_union->child_count() > 0) {
      EnumPtr child = other_union->RemoveChild(0);
      other_union->total_extent_ -= child->GetExtent();
      Append(std::move(child));
    }
    return self;
  }
  Append(std::move(other));
  return self;
}

template <typename Rewrite>
EnumPtr CEnumResultsMerge::RewriteChildren(EnumPtr self, Rewrite rewrite) {
  std::vector<EnumPtr>& kids = children();
  for (size_t i = 0; i < kids.size();) {
    const int extent = kids[i]->GetExtent();
    kids[i] = rewrite(std::move(kids[i]));
    if (IsNone(kids[i].get())) {
      total_extent_ -= extent;
      RemoveChild(static_cast<int>(i));
    } else {
      total_extent_ += kids[i]->GetExtent() - extent;
      ++i;
    }
  }
  if (kids.empty()) return std::make_unique<CEnumResultsNone>();
  return self;
}

EnumPtr CEnumResultsMerge::Pattern(EnumPtr self, const char* pattern) {
  if (*pattern == '\0') return std::make_unique<CEnumResultsNone>();
  if (IsStarsOnly(pattern)) return self;
  return RewriteChildren(std::move(self), [pattern](EnumPtr child) {
    return child->Pattern(std::move(child), pattern);
  });
}

EnumPtr CEnumResultsMerge::Letters(EnumPtr self,
                                   const CLetterConstraint& constraint) {
  if (!constraint.HasAnyPart()) return self;
  if (!constraint.IsSatisfiable()) return std::make_unique<CEnumResultsNone>();
  return RewriteChildren(std::move(self), [&constraint](EnumPtr child) {
    return child->Letters(std::move(child), constraint);
  });
}

EnumPtr CEnumResultsMerge::MinScore(EnumPtr self, int floor) {
  if (floor <= kMinScore) return self;
  return RewriteChildren(std::move(self), [floor](EnumPtr child) {
    return child->MinScore(std::move(child), floor);
  });
}

int CEnumResultsMerge::Score() const {
  if (current_ >= child_count()) return kDefaultScore;
  return child_at(current_)->Score();
}

const char* CEnumResultsMerge::Next(int* counter) {
  std::vector<EnumPtr>& kids = children();
  while (current_ < static_cast<int>(kids.size())) {
    const char* word = kids[current_]->Next(counter);
    if (word != nullptr) return word;
    if (counter != nullptr && *counter == 0) return nullptr;  // suspended
    finished_extent_ += kids[current_]->GetExtent();
    ++current_;
  }
  return nullptr;
}

int CEnumResultsMerge::GetPosition() const {
  if (current_ >= child_count()) return ClampToInt(total_extent_);
  return ClampToInt(finished_extent_ + child_at(current_)->GetPosition());
}

int CEnumResultsMerge::GetExtent() const { return ClampToInt(total_extent_); }

// ---- CEnumResultsDemerge ----

CEnumResultsDemerge::CEnumResultsDemerge(EnumPtr first, EnumPtr second)
    : CEnumResultsParent2(std::move(first), std::move(second)) {}

EnumPtr CEnumResultsDemerge::Clone() const {
  return std::make_unique<CEnumResultsDemerge>(first()->Clone(),
                                               second()->Clone());
}

std::string CEnumResultsDemerge::Describe(int indent) const {
  return DescribeIndent(indent) + "Demerge\n" +
         CEnumResultsParent2::Describe(indent);
}

bool CEnumResultsDemerge::Contains(const char* word) const {
  return first()->Contains(word) && !second()->Contains(word);
}

const char* CEnumResultsDemerge::Next(int* counter) {
  if (!exclusion_ready_) {
    exclusion_ready_ = second()->PrepareContains(counter);
    if (!exclusion_ready_) return nullptr;
  }
  while (counter == nullptr || *counter > 0) {
    const char* word = first()->Next(counter);
    if (word == nullptr) return nullptr;
    if (!second()->Contains(word)) return word;
  }
  return nullptr;
}

int CEnumResultsDemerge::GetPosition() const { return first()->GetPosition(); }

int CEnumResultsDemerge::GetExtent() const { return first()->GetExtent(); }

}  // namespace vocor
