#include "engine/enum_results.h"

#include "engine/cross_product.h"
#include "engine/letters.h"
#include "engine/merge.h"
#include "engine/pattern.h"

namespace vocor {

std::string DescribeIndent(int indent) {
  return std::string(indent > 0 ? indent : 0, '\t');
}

bool IsNone(const CEnumResults* e) {
  return dynamic_cast<const CEnumResultsNone*>(e) != nullptr;
}

// ---- Defaults of CEnumResults ----

void CEnumResults::Reset() {}

bool CEnumResults::Contains(const char* word) const {
  EnumPtr probe = Clone();
  probe = probe->Pattern(std::move(probe), word);
  return probe->Next(nullptr) != nullptr;
}

bool CEnumResults::PrepareContains(int*) { return true; }

EnumPtr CEnumResults::TransformSurvivors(int, int) const { return nullptr; }

EnumPtr CEnumResults::MinScore(EnumPtr self, int floor) {
  if (floor <= kMinScore) return self;
  if (floor > kMaxScore) return std::make_unique<CEnumResultsNone>();
  return std::make_unique<CEnumResultsMinScore>(std::move(self), floor);
}

int CEnumResults::Score() const { return kDefaultScore; }

void CEnumResults::CountScores(ScoreCounts* counts) const {
  (*counts)[kDefaultScore] += 1;
}

bool CEnumResults::YieldsPhrases() const { return false; }

EnumPtr CEnumResults::Merge(EnumPtr self, EnumPtr other) {
  EnumPtr merged = std::make_unique<CEnumResultsMerge>();
  merged = merged->Merge(std::move(merged), std::move(self));
  return merged->Merge(std::move(merged), std::move(other));
}

EnumPtr CEnumResults::Demerge(EnumPtr self, EnumPtr other) {
  if (IsNone(other.get())) return self;
  return std::make_unique<CEnumResultsDemerge>(std::move(self),
                                               std::move(other));
}

EnumPtr CEnumResults::CrossProduct(EnumPtr self, EnumPtr other) {
  EnumPtr product = std::make_unique<CEnumResultsCrossProduct>();
  product = product->CrossProduct(std::move(product), std::move(self));
  return product->CrossProduct(std::move(product), std::move(other));
}

EnumPtr CEnumResults::Pattern(EnumPtr self, const char* pattern) {
  if (*pattern == '\0') return std::make_unique<CEnumResultsNone>();
  if (IsStarsOnly(pattern)) return self;
  return std::make_unique<CEnumResultsPattern>(std::move(self), pattern);
}

EnumPtr CEnumResults::Letters(EnumPtr self,
                              const CLetterConstraint& constraint) {
  if (!constraint.HasAnyPart()) return self;
  if (!constraint.IsSatisfiable()) return std::make_unique<CEnumResultsNone>();
  return std::make_unique<CEnumResultsLetters>(std::move(self), constraint);
}

// ---- CEnumResultsNone ----

EnumPtr CEnumResultsNone::Clone() const {
  return std::make_unique<CEnumResultsNone>();
}

std::string CEnumResultsNone::Describe(int indent) const {
  return DescribeIndent(indent) + "None\n";
}

bool CEnumResultsNone::Contains(const char*) const { return false; }

EnumPtr CEnumResultsNone::Merge(EnumPtr, EnumPtr other) { return other; }

EnumPtr CEnumResultsNone::Demerge(EnumPtr self, EnumPtr) { return self; }

EnumPtr CEnumResultsNone::CrossProduct(EnumPtr self, EnumPtr) { return self; }

EnumPtr CEnumResultsNone::Pattern(EnumPtr self, const char*) { return self; }

EnumPtr CEnumResultsNone::Letters(EnumPtr self, const CLetterConstraint&) {
  return self;
}

EnumPtr CEnumResultsNone::MinScore(EnumPtr self, int) { return self; }

const char* CEnumResultsNone::Next(int*) { return nullptr; }

void CEnumResultsNone::CountScores(ScoreCounts*) const {}

int CEnumResultsNone::GetPosition() const { return 0; }

int CEnumResultsNone::GetExtent() const { return 1; }

// ---- CEnumResultsParent1 ----

CEnumResultsParent1::CEnumResultsParent1(EnumPtr child)
    : child_(std::move(child)) {}

CEnumResultsParent1::~CEnumResultsParent1() = default;

void CEnumResultsParent1::Reset() { child_->Reset(); }

std::string CEnumResultsParent1::Describe(int indent) const {
  return child_->Describe(indent + 1);
}

int CEnumResultsParent1::GetPosition() const { return child_->GetPosition(); }

int CEnumResultsParent1::GetExtent() const { return child_->GetExtent(); }

bool CEnumResultsParent1::PrepareContains(int* counter) {
  return child_->PrepareContains(counter);
}

EnumPtr CEnumResultsParent1::MinScore(EnumPtr self, int floor) {
  if (floor <= kMinScore) return self;
  child_ = child_->MinScore(std::move(child_), floor);
  if (IsNone(child_.get())) return std::make_unique<CEnumResultsNone>();
  return self;
}

int CEnumResultsParent1::Score() const { return child_->Score(); }

void CEnumResultsParent1::CountScores(ScoreCounts* counts) const {
  child_->CountScores(counts);
}

bool CEnumResultsParent1::YieldsPhrases() const {
  return child_->YieldsPhrases();
}

// ---- CEnumResultsParent2 ----

CEnumResultsParent2::CEnumResultsParent2(EnumPtr first, EnumPtr second)
    : first_(std::move(first)), second_(std::move(second)) {}

CEnumResultsParent2::~CEnumResultsParent2() {
  first_.reset();
  second_.reset();
}

void CEnumResultsParent2::Reset() {
  first_->Reset();
  second_->Reset();
}

std::string CEnumResultsParent2::Describe(int indent) const {
  return first_->Describe(indent + 1) + second_->Describe(indent + 1);
}

bool CEnumResultsParent2::PrepareContains(int* counter) {
  return first_->PrepareContains(counter) && second_->PrepareContains(counter);
}

EnumPtr CEnumResultsParent2::MinScore(EnumPtr self, int floor) {
  if (floor <= kMinScore) return self;
  first_ = first_->MinScore(std::move(first_), floor);
  if (IsNone(first_.get())) return std::make_unique<CEnumResultsNone>();
  return self;
}

int CEnumResultsParent2::Score() const { return first_->Score(); }

void CEnumResultsParent2::CountScores(ScoreCounts* counts) const {
  first_->CountScores(counts);
}

bool CEnumResultsParent2::YieldsPhrases() const {
  return first_->YieldsPhrases();
}

// ---- CEnumResultsParentN ----

CEnumResultsParentN::~CEnumResultsParentN() {
  while (!children_.empty()) children_.pop_back();
}

void CEnumResultsParentN::Reset() {
  for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
    (*it)->Reset();
  }
}

std::string CEnumResultsParentN::Describe(int indent) const {
  std::string text;
  for (const EnumPtr& child : children_) text += child->Describe(indent + 1);
  return text;
}

bool CEnumResultsParentN::PrepareContains(int* counter) {
  for (const EnumPtr& child : children_) {
    if (!child->PrepareContains(counter)) return false;
  }
  return true;
}

EnumPtr CEnumResultsParentN::MinScore(EnumPtr self, int floor) {
  if (floor <= kMinScore) return self;
  for (EnumPtr& child : children_) {
    child = child->MinScore(std::move(child), floor);
    if (IsNone(child.get())) return std::make_unique<CEnumResultsNone>();
  }
  return self;
}

void CEnumResultsParentN::CountScores(ScoreCounts* counts) const {
  for (const EnumPtr& child : children_) child->CountScores(counts);
}

bool CEnumResultsParentN::YieldsPhrases() const {
  for (const EnumPtr& child : children_) {
    if (child->YieldsPhrases()) return true;
  }
  return false;
}

// ---- CEnumResultsMinScore ----

CEnumResultsMinScore::CEnumResultsMinScore(EnumPtr child, int floor)
    : CEnumResultsParent1(std::move(child)), floor_(floor) {}

EnumPtr CEnumResultsMinScore::Clone() const {
  return std::make_unique<CEnumResultsMinScore>(child()->Clone(), floor_);
}

std::string CEnumResultsMinScore::Describe(int indent) const {
  return DescribeIndent(indent) + "MinScore " + std::to_string(floor_) +
         "\n" + CEnumResultsParent1::Describe(indent);
}

EnumPtr CEnumResultsMinScore::MinScore(EnumPtr self, int floor) {
  if (floor > kMaxScore) return std::make_unique<CEnumResultsNone>();
  if (floor > floor_) floor_ = floor;
  return self;
}

const char* CEnumResultsMinScore::Next(int* counter) {
  while (counter == nullptr || *counter > 0) {
    const char* word = child()->Next(counter);
    if (word == nullptr) return nullptr;
    if (child()->Score() >= floor_) return word;
  }
  return nullptr;
}

EnumPtr CEnumResultsParentN::RemoveChild(int index) {
  EnumPtr child = std::move(children_[index]);
  children_.erase(children_.begin() + index);
  return child;
}

}  // namespace vocor
