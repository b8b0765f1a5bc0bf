#include "engine/phrase.h"

#include <algorithm>

#include "engine/phrase_internal.h"
#include "engine/phrase_word_list.h"
#include "engine/saturate.h"

namespace vocor {

CEnumResultsPhrase::CEnumResultsPhrase(const CEnumResults& source,
                                       PhraseShape shape,
                                       const CLetterConstraint& budget)
    : shape_(std::move(shape)), budget_(budget) {
  CLetterConstraint per_word;
  per_word.hasMax = budget.hasMax;
  std::copy(budget.maxCount, budget.maxCount + kLetterTableSize,
            per_word.maxCount);
  for (const std::string& piece : MapPiecesToLists()) {
    EnumPtr list = source.Clone();
    list = list->Pattern(std::move(list), piece.c_str());
    if (shape_.min_word_length > 1) {
      const std::string min = MinLengthPattern(shape_.min_word_length);
      list = list->Pattern(std::move(list), min.c_str());
    }
    list = list->Letters(std::move(list), per_word);
    AppendChild(std::move(list));
  }
  Init();
}

CEnumResultsPhrase::CEnumResultsPhrase(std::vector<EnumPtr> lists,
                                       PhraseShape shape,
                                       const CLetterConstraint& budget)
    : shape_(std::move(shape)), budget_(budget) {
  MapPiecesToLists();
  for (EnumPtr& list : lists) AppendChild(std::move(list));
  Init();
}

CEnumResultsPhrase::~CEnumResultsPhrase() = default;

std::vector<std::string> CEnumResultsPhrase::MapPiecesToLists() {
  std::vector<std::string> distinct;
  list_of_piece_.clear();
  for (const std::string& piece : shape_.pieces) {
    auto it = std::find(distinct.begin(), distinct.end(), piece);
    list_of_piece_.push_back(static_cast<int>(it - distinct.begin()));
    if (it == distinct.end()) distinct.push_back(piece);
  }
  return distinct;
}

void CEnumResultsPhrase::Init() {
  // Slots: one per letter the budget holds, then one for the blanks.
  slot_of_.assign(kLetterTableSize, PhraseWordList::kAbsent);
  first_budget_.clear();
  first_remaining_ = 0;
  for (int c = 1; c < kLetterTableSize; ++c) {
    const int count = budget_.maxCount[c];
    if (c == kBlank || count == 0) continue;
    slot_of_[c] = static_cast<int>(first_budget_.size());
    first_budget_.push_back(count);
  }
  first_budget_.push_back(budget_.maxCount[kBlank]);
  for (int count : first_budget_) {
    if (PhraseWordList::IsLimited(count)) {
      first_remaining_ =
          SaturatingAdd(first_remaining_, count, kMaxLetterCount);
    } else {
      has_unlimited_ = true;
    }
  }
  // Without blanks or unlimited letters, a word fits or it does not, and
  // small budgets pack into a key: fitting and taking a word are then a
  // subtraction, and the last word is one lookup.
  keyed_ = !has_unlimited_ && first_budget_.back() == 0 &&
           keys_.Init(std::vector<int>(first_budget_.begin(),
                                       first_budget_.end() - 1));
  levels_.resize(shape_.pieces.size());
  starts_.assign(shape_.pieces.size(), 0);
  cover_ = IsCover();
  Reset();
}

bool CEnumResultsPhrase::SharesLists() const {
  return !lists_.empty() && collecting_ == child_count();
}

EnumPtr CEnumResultsPhrase::Clone() const {
  std::vector<EnumPtr> lists;
  for (const EnumPtr& child : children()) lists.push_back(child->Clone());
  auto copy = std::unique_ptr<CEnumResultsPhrase>(
      new CEnumResultsPhrase(std::move(lists), shape_, budget_));
  copy->floor_ = floor_;
  if (SharesLists()) {
    // Both copies only read the lists from now on.
    const int slots = static_cast<int>(first_budget_.size()) - 1;
    if (!keyed_) {
      for (const SharedList& list : lists_) list->BuildIndexes(slots);
    }
    copy->lists_ = lists_;
    copy->collecting_ = collecting_;
  }
  return copy;
}

EnumPtr CEnumResultsPhrase::MinScore(EnumPtr self, int floor) {
  if (floor > kMaxScore) return std::make_unique<CEnumResultsNone>();
  if (floor <= floor_) return self;
  floor_ = floor;
  if (lists_.empty())
    return CEnumResultsParentN::MinScore(std::move(self), floor);
  // Words already read: copies without the weaker ones, and the walk
  // starts over on them.
  for (SharedList& list : lists_) {
    list = list->Filtered(floor_, keyed_ ? &keys_ : nullptr);
  }
  depth_ = -1;
  descend_pending_ = false;
  return self;
}

int CEnumResultsPhrase::Score() const { return score_; }

void CEnumResultsPhrase::CountScores(ScoreCounts* counts) const {
  ScoreCounts most{};
  for (const EnumPtr& child : children()) {
    ScoreCounts own{};
    child->CountScores(&own);
    for (int s = floor_; s <= kMaxScore; ++s)
      most[s] = std::max(most[s], own[s]);
  }
  for (int s = floor_; s <= kMaxScore; ++s) (*counts)[s] += most[s];
}

void CEnumResultsPhrase::Reset() {
  // The word lists stay: they hold what the children would read again.
  if (collecting_ < static_cast<int>(lists_.size()) || lists_.empty()) {
    CEnumResultsParentN::Reset();
    lists_.clear();
    collecting_ = 0;
  }
  depth_ = -1;
  descend_pending_ = false;
  text_.clear();
}

std::string CEnumResultsPhrase::Describe(int indent) const {
  std::string pieces;
  for (size_t i = 0; i < shape_.pieces.size(); ++i) {
    if (i > 0) pieces += shape_.ascending[i] ? " <= " : " ";
    pieces += shape_.pieces[i];
  }
  return DescribeIndent(indent) + "Phrase(\"" + pieces + "\", " +
         std::to_string(shape_.min_words) + " words or more, " +
         (shape_.use_all ? "all letters" : "at most the letters") + ", \"" +
         FormatLetterCounts(budget_.maxCount) + "\"" +
         (floor_ > kMinScore ? ", score " + std::to_string(floor_) + " or more"
                             : "") +
         ")\n" + CEnumResultsParentN::Describe(indent);
}

bool CEnumResultsPhrase::Contains(const char* text) const {
  EnumPtr copy = Clone();
  for (const char* p = copy->Next(nullptr); p != nullptr;
       p = copy->Next(nullptr)) {
    if (std::string(p) == text) return true;
  }
  return false;
}

bool CEnumResultsPhrase::CollectLists(int* counter) {
  while (collecting_ < child_count()) {
    if (lists_.size() <= static_cast<size_t>(collecting_)) {
      lists_.push_back(
          std::make_shared<PhraseWordList>(keyed_ ? &keys_ : nullptr));
      for (size_t i = 0; i < shape_.pieces.size(); ++i) {
        if (shape_.ascending[i] && list_of_piece_[i] == collecting_) {
          lists_.back()->KeepWordsOnce();
        }
      }
    }
    CEnumResults* child = children()[collecting_].get();
    for (;;) {
      if (counter != nullptr && *counter <= 0) return false;
      const char* word = child->Next(counter);
      if (word == nullptr) break;
      const int score = child->Score();
      if (score >= floor_) lists_[collecting_]->Add(word, score, slot_of_);
    }
    if (counter != nullptr && *counter == 0) return false;  // suspended
    lists_[collecting_]->EndOfWords();
    ++collecting_;
  }
  return true;
}

// Takes the next fitting word at the current depth; returns the phrase when
// it is one to yield, null otherwise (with the state moved on).
const char* CEnumResultsPhrase::TryNextWord(int* counter) {
  Level& level = levels_[depth_];
  if (level.cursor >= level.fits.size()) {
    --depth_;
    if (depth_ < 0) depth_ = -2;
    return nullptr;
  }
  if (counter != nullptr) --*counter;
  const int i = level.fits[level.cursor++];
  const PhraseWordList& list = *lists_[list_of_piece_[depth_]];
  text_.resize(starts_[depth_]);
  list.AppendText(i, &text_);
  const int score = std::min(level.score, list.word(i).score);
  const int words = depth_ + 1;
  const bool has_next = words < static_cast<int>(shape_.pieces.size());
  int remaining = level.remaining;
  if (keyed_) {
    remaining -= list.word(i).counted;
    if (has_next) levels_[depth_ + 1].left = level.left - list.key(i);
  } else {
    std::vector<int>& budget = has_next ? levels_[depth_ + 1].budget : scratch_;
    budget = level.budget;
    list.Fit(i, &budget, &remaining, true);
  }
  if (has_next) {
    levels_[depth_ + 1].remaining = remaining;
    levels_[depth_ + 1].score = score;
  }
  descend_pending_ = CanContinue(depth_, i);
  if (!IsComplete(words, remaining)) return nullptr;
  score_ = score;
  return text_.c_str();
}

const char* CEnumResultsPhrase::Next(int* counter) {
  if (!CollectLists(counter)) return nullptr;
  return cover_ ? WalkCover(counter) : WalkPlaces(counter);
}

const char* CEnumResultsPhrase::WalkPlaces(int* counter) {
  for (;;) {
    if (depth_ == -2) return nullptr;
    if (counter != nullptr && *counter <= 0) return nullptr;
    if (depth_ == -1) {
      depth_ = 0;
      levels_[0].budget = first_budget_;
      levels_[0].left = keys_.full();
      levels_[0].remaining = first_remaining_;
      levels_[0].score = kMaxScore;
      StartLevel(0);
    } else if (descend_pending_) {
      descend_pending_ = false;
      text_.push_back(' ');
      ++depth_;
      StartLevel(depth_);
    }
    if (!levels_[depth_].filled && !FilterLevel(depth_, counter)) {
      return nullptr;
    }
    // Suspends with the counter at 0 exactly, never below: any other null
    // would read as the end.
    if (counter != nullptr && *counter <= 0) return nullptr;
    if (const char* phrase = TryNextWord(counter)) return phrase;
  }
}

int CEnumResultsPhrase::GetPosition() const {
  const int half = kPhraseExtent / 2;
  if (collecting_ < child_count()) {
    const CEnumResults* child = child_at(collecting_);
    const double part =
        child->GetExtent() > 0
            ? static_cast<double>(child->GetPosition()) / child->GetExtent()
            : 0.0;
    return static_cast<int>(half * (collecting_ + part) / child_count());
  }
  if (depth_ == -2) return kPhraseExtent;
  if (cover_) {
    if (depth_ == -1 || steps_.empty() || !steps_[0].expanded) return half;
    return half +
           static_cast<int>(static_cast<double>(half) * steps_[0].cursor /
                            (steps_[0].branch.size() + 1));
  }
  const Level& first = levels_[0];
  if (depth_ == -1 || first.fits.empty()) return half;
  return half + static_cast<int>(static_cast<double>(half) * first.cursor /
                                 (first.fits.size() + 1));
}

int CEnumResultsPhrase::GetExtent() const { return kPhraseExtent; }

}  // namespace vocor
