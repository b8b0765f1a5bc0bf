#include "engine/testing/vector_enum.h"

#include <algorithm>

namespace vocor::testing {

VectorEnum::VectorEnum(std::vector<std::string> words, int cost,
                       std::string name)
    : words_(
          std::make_shared<const std::vector<std::string>>(std::move(words))),
      cost_(cost),
      name_(std::move(name)) {}

void VectorEnum::SetScores(std::vector<int> scores) {
  scores_ = std::make_shared<const std::vector<int>>(std::move(scores));
}

EnumPtr VectorEnum::Clone() const {
  auto copy =
      std::make_unique<VectorEnum>(std::vector<std::string>(), cost_, name_);
  copy->words_ = words_;
  copy->scores_ = scores_;
  copy->floor_ = floor_;
  return copy;
}

EnumPtr VectorEnum::MinScore(EnumPtr self, int floor) {
  if (floor > kMaxScore) return std::make_unique<CEnumResultsNone>();
  floor_ = std::max(floor_, floor);
  return self;
}

int VectorEnum::Score() const { return score_; }

void VectorEnum::CountScores(ScoreCounts* counts) const {
  for (size_t i = 0; i < words_->size(); ++i) {
    (*counts)[scores_ ? (*scores_)[i] : kDefaultScore] += 1;
  }
}

void VectorEnum::Reset() {
  index_ = 0;
  units_done_ = 0;
}

std::string VectorEnum::Describe(int indent) const {
  return DescribeIndent(indent) + "Vector(\"" + name_ + "\")\n";
}

const char* VectorEnum::Next(int* counter) {
  for (;;) {
    if (index_ >= words_->size()) return nullptr;
    while (units_done_ < cost_) {
      if (counter != nullptr) {
        if (*counter <= 0) return nullptr;
        --*counter;
      }
      ++units_done_;
    }
    units_done_ = 0;
    const size_t at = index_++;
    score_ = scores_ ? (*scores_)[at] : kDefaultScore;
    if (score_ < floor_) continue;
    ++words_read_;
    return (*words_)[at].c_str();
  }
}

int VectorEnum::GetPosition() const { return static_cast<int>(index_); }

int VectorEnum::GetExtent() const { return static_cast<int>(words_->size()); }

EnumPtr MakeVectorEnum(std::vector<std::string> words, int cost,
                       std::string name) {
  return std::make_unique<VectorEnum>(std::move(words), cost, std::move(name));
}

EnumPtr MakeScoredVectorEnum(
    const std::vector<std::pair<std::string, int>>& scored, int cost,
    std::string name) {
  std::vector<std::string> words;
  std::vector<int> scores;
  for (const auto& [word, score] : scored) {
    words.push_back(word);
    scores.push_back(score);
  }
  auto leaf =
      std::make_unique<VectorEnum>(std::move(words), cost, std::move(name));
  leaf->SetScores(std::move(scores));
  return leaf;
}

std::vector<std::string> ReadAll(CEnumResults* e) {
  std::vector<std::string> out;
  while (const char* w = e->Next(nullptr)) out.emplace_back(w);
  return out;
}

std::vector<std::string> ReadAllInSlices(CEnumResults* e, int slice,
                                         int* suspensions) {
  std::vector<std::string> out;
  int suspended = 0;
  for (;;) {
    int counter = slice;
    const char* w = e->Next(&counter);
    if (w != nullptr) {
      out.emplace_back(w);
    } else if (counter == 0) {
      ++suspended;
    } else {
      break;
    }
  }
  if (suspensions != nullptr) *suspensions = suspended;
  return out;
}

std::vector<std::pair<std::string, int>> ReadScoredInSlices(CEnumResults* e,
                                                            int slice) {
  std::vector<std::pair<std::string, int>> out;
  for (;;) {
    int counter = slice;
    const char* w = e->Next(&counter);
    if (w != nullptr) {
      out.emplace_back(w, e->Score());
    } else if (counter != 0) {
      return out;
    }
  }
}

}  // namespace vocor::testing
