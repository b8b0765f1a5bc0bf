#include "engine/ranked.h"

#include <algorithm>

#include "engine/charset.h"

namespace vocor {
namespace {

int WordCount(const std::string& text) {
  return 1 + static_cast<int>(std::count(text.begin(), text.end(), ' '));
}

std::string KeyOf(const char* word) {
  std::string key(word);
  EngineLowerInPlace(&key);
  return key;
}

// A level is pruned once it holds this many more entries than it may
// yield, so that pruning costs amortised constant time per result.
constexpr size_t kPruneSlack = 4096;

// Up to this many distinct scores, each is a level of its own.
constexpr size_t kPlainLevels = 8;

}  // namespace

bool RanksBefore(const std::string& a, int a_score, const std::string& b,
                 int b_score) {
  if (a_score != b_score) return a_score > b_score;
  const int a_words = WordCount(a), b_words = WordCount(b);
  if (a_words != b_words) return a_words < b_words;
  return CompareByCodePoints(a, b) < 0;
}

CEnumResultsRanked::CEnumResultsRanked(EnumPtr query, int keep)
    : CEnumResultsParent1(std::move(query)), keep_(std::max(0, keep)) {}

CEnumResultsRanked::~CEnumResultsRanked() = default;

EnumPtr CEnumResultsRanked::Clone() const {
  return std::make_unique<CEnumResultsRanked>(child()->Clone(), keep_);
}

void CEnumResultsRanked::Reset() {
  CEnumResultsParent1::Reset();
  level_index_ = 0;
  level_.reset();
  entries_.clear();
  entry_of_.clear();
  yielded_keys_.clear();
  next_ready_ = 0;
  yielding_ = false;
  yielded_ = 0;
  done_ = false;
  if (planned_) StartLevel();
}

std::string CEnumResultsRanked::Describe(int indent) const {
  std::string line = DescribeIndent(indent) + "Ranked";
  if (keep_ > 0) line += " keep " + std::to_string(keep_);
  return line + "\n" + CEnumResultsParent1::Describe(indent);
}

bool CEnumResultsRanked::Contains(const char* word) const {
  return child()->Contains(word);
}

int CEnumResultsRanked::Score() const { return score_; }

std::vector<int> CEnumResultsRanked::PlanFloors(const ScoreCounts& counts,
                                                bool phrases) {
  int lowest = kMinScore;
  for (int s = kMinScore; s <= kMaxScore; ++s) {
    if (counts[s] > 0) {
      lowest = s;
      break;
    }
  }
  if (!phrases) return {kMinScore};
  std::vector<int> present;
  for (int s = kMaxScore; s >= lowest; --s) {
    if (counts[s] > 0) present.push_back(s);
  }
  // Phrases outnumber words by far more than words grow from one score to
  // the next, so a few distinct scores (word lists that come in sizes)
  // each get a level of their own; many distinct scores are grouped so
  // that each level holds at least twice the words of the one above.
  std::vector<int> floors;
  int64_t total = 0, at_last_floor = 0;
  for (int s : present) {
    total += counts[s];
    if (present.size() <= kPlainLevels || total >= 2 * at_last_floor) {
      floors.push_back(s);
      at_last_floor = total;
    }
  }
  // The last level reaches every result the query has, whatever score
  // the counts missed.
  if (floors.empty() || floors.back() != lowest) floors.push_back(lowest);
  floors.back() = kMinScore;
  return floors;
}

int CEnumResultsRanked::Remaining() const {
  return keep_ == 0 ? -1 : keep_ - yielded_;
}

void CEnumResultsRanked::StartLevel() {
  cutoff_ = kMinScore;
  entries_.clear();
  entry_of_.clear();
  next_ready_ = 0;
  yielding_ = false;
  if (floors_.size() == 1) {
    level_.reset();  // read the query itself
    return;
  }
  level_ = child()->Clone();
  level_ = level_->MinScore(std::move(level_), floors_[level_index_]);
}

void CEnumResultsRanked::Prune(size_t limit) {
  if (entries_.size() <= limit) return;
  auto better = [](const Entry& a, const Entry& b) {
    return RanksBefore(a.text, a.score, b.text, b.score);
  };
  std::nth_element(entries_.begin(), entries_.begin() + limit, entries_.end(),
                   better);
  entries_.resize(limit);
  // Every kept result now outranks whatever scores less than the weakest
  // of them, so such results need not even be looked at.
  cutoff_ = kMaxScore;
  for (const Entry& entry : entries_) cutoff_ = std::min(cutoff_, entry.score);
  entry_of_.clear();
  for (size_t i = 0; i < entries_.size(); ++i) {
    entry_of_.emplace(KeyOf(entries_[i].text.c_str()), i);
  }
}

void CEnumResultsRanked::Collect(const char* word, int score) {
  if (score < cutoff_) return;
  std::string key = KeyOf(word);
  if (yielded_keys_.count(key) != 0) return;
  auto [it, added] = entry_of_.emplace(std::move(key), entries_.size());
  if (!added) {
    Entry& held = entries_[it->second];
    held.score = std::max(held.score, score);
    return;
  }
  entries_.push_back(Entry{word, score});
  if (keep_ > 0) {
    const size_t limit = static_cast<size_t>(Remaining());
    if (entries_.size() >= 2 * limit + kPruneSlack) Prune(limit);
  }
}

bool CEnumResultsRanked::CollectLevel(int* counter) {
  CEnumResults* source = level_ ? level_.get() : child();
  const int ceiling =
      level_index_ == 0 ? kMaxScore + 1 : floors_[level_index_ - 1];
  // Like every filter, asks for a word only while the counter lasts: a
  // union below relies on never being called with an empty counter.
  while (counter == nullptr || *counter > 0) {
    const char* word = source->Next(counter);
    if (word == nullptr) return counter == nullptr || *counter != 0;
    const int score = source->Score();
    // Results at or above the level above's floor came in that level.
    if (score < ceiling) Collect(word, score);
  }
  return false;  // suspended
}

void CEnumResultsRanked::FinishLevel() {
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& a, const Entry& b) {
              return RanksBefore(a.text, a.score, b.text, b.score);
            });
  if (keep_ > 0 && entries_.size() > static_cast<size_t>(Remaining())) {
    entries_.resize(static_cast<size_t>(Remaining()));
  }
  entry_of_.clear();
  level_.reset();
  next_ready_ = 0;
  yielding_ = true;
}

const char* CEnumResultsRanked::Next(int* counter) {
  if (done_) return nullptr;
  if (!planned_) {
    ScoreCounts counts{};
    child()->CountScores(&counts);
    floors_ = PlanFloors(counts, child()->YieldsPhrases());
    planned_ = true;
    StartLevel();
  }
  for (;;) {
    if (yielding_) {
      if (next_ready_ < entries_.size() && Remaining() != 0) {
        const Entry& entry = entries_[next_ready_++];
        score_ = entry.score;
        ++yielded_;
        if (level_index_ + 1 < static_cast<int>(floors_.size())) {
          yielded_keys_.insert(KeyOf(entry.text.c_str()));
        }
        return entry.text.c_str();
      }
      ++level_index_;
      if (level_index_ >= static_cast<int>(floors_.size()) ||
          Remaining() == 0) {
        done_ = true;
        entries_.clear();
        return nullptr;
      }
      StartLevel();
    }
    if (!CollectLevel(counter)) return nullptr;  // suspended
    FinishLevel();
  }
}

int CEnumResultsRanked::GetExtent() const { return kRankedExtent; }

int CEnumResultsRanked::GetPosition() const {
  if (done_) return kRankedExtent;
  const int levels = std::max<int>(1, static_cast<int>(floors_.size()));
  const int share = kRankedExtent / levels;
  const int start = level_index_ * share;
  if (!planned_) return 0;
  if (yielding_) return start + share - 1;
  const CEnumResults* source = level_ ? level_.get() : child();
  const int extent = source->GetExtent();
  if (extent <= 0) return start;
  const int64_t done = static_cast<int64_t>(share - 1) *
                       std::clamp(source->GetPosition(), 0, extent) / extent;
  return start + static_cast<int>(done);
}

}  // namespace vocor
