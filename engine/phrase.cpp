#include "engine/phrase.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <unordered_map>
#include <unordered_set>

#include "engine/cross_product.h"
#include "engine/letter_key.h"
#include "engine/pattern.h"
#include "engine/saturate.h"

namespace vocor {
namespace {

constexpr int kAbsent = -1;  // a letter the budget does not hold

bool IsLimited(int count) { return count != kUnlimited; }

std::string MinLengthPattern(int min_word_length) {
  std::string pattern(std::min(min_word_length, kMaxLengthRun), '?');
  pattern.push_back('*');
  return pattern;
}

}  // namespace

// One piece's words, read once, with their letters counted against the
// budget's slots so that fitting a word costs a few steps, not a table.
class PhraseWordList {
 public:
  struct Run {
    int slot;  // kAbsent: the whole count needs blanks
    int count;
  };
  struct Word {
    uint32_t text_begin;
    uint32_t text_size;
    uint32_t runs_begin;
    uint32_t runs_size;
    int counted;  // counted characters: the letters the word uses
  };

  // With a layout, each word's letters are also kept as a key of it, and
  // the words that can fit the whole budget are listed and indexed by key.
  // `keys` must outlive the list.
  explicit PhraseWordList(const LetterKeyLayout* keys) : keys_(keys) {}

  // Keeps each word once: where order stands for a combination, a word
  // met again later (in a second member of a set) would otherwise let
  // the same words come in two orders.
  void KeepWordsOnce() { unique_ = true; }
  void EndOfWords() { std::unordered_set<std::string>().swap(seen_); }

  void Add(const char* word, const std::vector<int>& slot_of) {
    if (unique_ && !seen_.insert(word).second) return;
    Word w{static_cast<uint32_t>(texts_.size()), 0,
           static_cast<uint32_t>(runs_.size()), 0, 0};
    int counts[kLetterTableSize] = {};
    for (const char* p = word; *p != '\0'; ++p) {
      const auto c = static_cast<unsigned char>(*p);
      if (IsCountedCharacter(c)) ++counts[c];
      texts_.push_back(*p);
    }
    w.text_size = static_cast<uint32_t>(texts_.size()) - w.text_begin;
    for (int c = 1; c < kLetterTableSize; ++c) {
      if (counts[c] == 0) continue;
      runs_.push_back({slot_of[c], counts[c]});
      w.counted += counts[c];
    }
    w.runs_size = static_cast<uint32_t>(runs_.size()) - w.runs_begin;
    if (keys_ != nullptr) AddKey(w);
    min_counted_ =
        words_.empty() ? w.counted : std::min(min_counted_, w.counted);
    max_counted_ = std::max(max_counted_, w.counted);
    words_.push_back(w);
  }

  int size() const { return static_cast<int>(words_.size()); }
  // Keyed lists only: word i's key (LetterKeyLayout::kNever when it cannot
  // fit the budget), the words that can, ascending, and those whose letters
  // are exactly `left`.
  uint64_t key(int i) const { return word_keys_[i]; }
  const std::vector<int>& candidates() const { return candidates_; }
  LetterKeyIndex::Range WithKey(uint64_t left) const {
    return by_letter_key_.Find(left);
  }
  int NextWithKey(int i) const { return by_letter_key_.NextOf(i); }
  const Word& word(int i) const { return words_[i]; }
  int min_counted() const { return min_counted_; }
  int max_counted() const { return max_counted_; }
  void AppendText(int i, std::string* out) const {
    out->append(texts_, words_[i].text_begin, words_[i].text_size);
  }

  // Whether word `i` fits `budget`; if so and `take`, takes its letters.
  bool Fit(int i, std::vector<int>* budget, int* remaining, bool take) const {
    const Word& w = words_[i];
    std::vector<int>& b = *budget;
    const int blank_slot = static_cast<int>(b.size()) - 1;
    long long deficit = 0;
    for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
      const Run& run = runs_[r];
      const int have = run.slot == kAbsent ? 0 : b[run.slot];
      if (IsLimited(have) && run.count > have) deficit += run.count - have;
    }
    const int blanks = b[blank_slot];
    if (IsLimited(blanks) && deficit > blanks) return false;
    if (!take) return true;
    for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
      const Run& run = runs_[r];
      if (run.slot == kAbsent || !IsLimited(b[run.slot])) continue;
      const int used = std::min(run.count, b[run.slot]);
      b[run.slot] -= used;
      *remaining -= used;
    }
    if (IsLimited(blanks)) {
      b[blank_slot] -= static_cast<int>(deficit);
      *remaining -= static_cast<int>(deficit);
    }
    return true;
  }

  // Fills `fits` with the words from `floor` on, with [min_counted,
  // max_counted] counted letters, that fit `budget`, which must have no
  // blank left. Only the groups of words whose letters the budget still
  // holds are looked at. Returns the work done, or -1 when the budget has
  // too many letters for groups (then scan instead).
  long long FitsByGroups(const std::vector<int>& budget, int floor,
                         long long min_counted, long long max_counted,
                         std::vector<int>* fits) {
    const int slots = static_cast<int>(budget.size()) - 1;
    if (slots > kMaxGroupSlots) return -1;
    if (!grouped_) BuildGroups(slots);
    uint32_t avail = 0;
    for (int s = 0; s < slots; ++s) {
      if (budget[s] != 0) avail |= 1u << s;
    }
    long long work = 0;
    std::vector<int> scratch = budget;
    int remaining = 0;
    auto take_group = [&](size_t g) {
      const auto end = grouped_words_.begin() + group_begin_[g + 1];
      auto it = std::lower_bound(grouped_words_.begin() + group_begin_[g], end,
                                 floor);
      for (; it != end; ++it) {
        ++work;
        const int counted = words_[*it].counted;
        if (counted < min_counted || counted > max_counted) continue;
        if (Fit(*it, &scratch, &remaining, false)) fits->push_back(*it);
      }
    };
    const int bits = std::popcount(avail);
    if (bits < 20 && (size_t{1} << bits) < group_masks_.size()) {
      for (uint32_t sub = avail;; sub = (sub - 1) & avail) {
        ++work;
        const auto found =
            std::lower_bound(group_masks_.begin(), group_masks_.end(), sub);
        if (found != group_masks_.end() && *found == sub) {
          take_group(found - group_masks_.begin());
        }
        if (sub == 0) break;
      }
    } else {
      for (size_t g = 0; g < group_masks_.size(); ++g) {
        ++work;
        if ((group_masks_[g] & ~avail) == 0) take_group(g);
      }
    }
    std::sort(fits->begin(), fits->end());
    return work;
  }

  // Counts above this cannot be keyed; such budgets take the scanning path.
  static constexpr int kMaxKeyedCount = 255;

  // The words using exactly the letters of `budget` (no blanks left, no
  // unlimited count, no count above kMaxKeyedCount), ascending; null when
  // none does.
  const std::vector<int>* ExactMatches(const std::vector<int>& budget) {
    if (!indexed_) BuildIndex(static_cast<int>(budget.size()));
    // Most budgets asked about are no word's letters: a bit per hash
    // answers those without the map.
    const uint64_t hash = HashOf(budget);
    if (!(seen_hashes_[(hash >> 6) & kHashWordMask] & (1ull << (hash & 63)))) {
      return nullptr;
    }
    if (!KeyOf(budget, &key_)) return nullptr;
    const auto it = by_key_.find(key_);
    return it == by_key_.end() ? nullptr : &it->second;
  }

 private:
  // A word with a count above kMaxKeyedCount is left out of the index:
  // no budget that uses the index can hold it.
  static bool KeyOf(const std::vector<int>& budget, std::string* key) {
    key->assign(budget.size() - 1, '\0');
    for (size_t s = 0; s + 1 < budget.size(); ++s) {
      if (budget[s] > kMaxKeyedCount) return false;
      (*key)[s] = static_cast<char>(budget[s]);
    }
    return true;
  }

  static constexpr int kMaxGroupSlots = 30;

  void AddKey(const Word& w) {
    uint64_t key = 0;
    for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
      const Run& run = runs_[r];
      key = run.slot == kAbsent ? LetterKeyLayout::kNever
                                : keys_->Add(key, run.slot, run.count);
    }
    const int index = static_cast<int>(words_.size());
    word_keys_.push_back(key);
    if (key == LetterKeyLayout::kNever) return;
    candidates_.push_back(index);
    by_letter_key_.Add(key, index);
  }

  // Bit s: the word uses slot s; bit `slots`: a letter the budget lacks.
  // The words are kept sorted by mask, then by index, one run per mask.
  void BuildGroups(int slots) {
    grouped_ = true;
    std::vector<std::pair<uint32_t, int>> by_mask;
    by_mask.reserve(words_.size());
    for (int i = 0; i < size(); ++i) {
      const Word& w = words_[i];
      uint32_t mask = 0;
      for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
        const int slot = runs_[r].slot;
        mask |= 1u << (slot == kAbsent ? slots : slot);
      }
      by_mask.emplace_back(mask, i);
    }
    std::sort(by_mask.begin(), by_mask.end());
    for (size_t k = 0; k < by_mask.size(); ++k) {
      if (k == 0 || by_mask[k].first != by_mask[k - 1].first) {
        group_masks_.push_back(by_mask[k].first);
        group_begin_.push_back(static_cast<uint32_t>(k));
      }
      grouped_words_.push_back(by_mask[k].second);
    }
    group_begin_.push_back(static_cast<uint32_t>(by_mask.size()));
  }

  static uint64_t HashOf(const std::vector<int>& budget) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (size_t s = 0; s + 1 < budget.size(); ++s) {
      hash = (hash ^ static_cast<uint64_t>(budget[s])) * 0x100000001b3ull;
    }
    return hash ^ (hash >> 29);
  }

  void BuildIndex(int slots) {
    indexed_ = true;
    seen_hashes_.assign(kHashWordMask + 1, 0);
    std::vector<int> letters(slots, 0);
    for (int i = 0; i < size(); ++i) {
      const Word& w = words_[i];
      std::fill(letters.begin(), letters.end(), 0);
      bool keyed = true;
      for (uint32_t r = w.runs_begin; r < w.runs_begin + w.runs_size; ++r) {
        if (runs_[r].slot == kAbsent) keyed = false;
        if (keyed) letters[runs_[r].slot] = runs_[r].count;
      }
      std::string key;
      if (keyed && KeyOf(letters, &key)) {
        by_key_[key].push_back(i);
        const uint64_t hash = HashOf(letters);
        seen_hashes_[(hash >> 6) & kHashWordMask] |= 1ull << (hash & 63);
      }
    }
  }

  const LetterKeyLayout* keys_;
  std::vector<uint64_t> word_keys_;
  std::vector<int> candidates_;
  LetterKeyIndex by_letter_key_;
  std::string texts_;
  std::vector<Run> runs_;
  std::vector<Word> words_;
  int min_counted_ = 0;
  int max_counted_ = 0;
  bool unique_ = false;
  std::unordered_set<std::string> seen_;
  bool indexed_ = false;
  std::unordered_map<std::string, std::vector<int>> by_key_;
  std::string key_;  // reused: a lookup allocates nothing
  static constexpr uint64_t kHashWordMask = (1u << 14) - 1;  // 2^20 bits
  std::vector<uint64_t> seen_hashes_;
  bool grouped_ = false;
  std::vector<uint32_t> group_masks_;  // ascending
  std::vector<uint32_t> group_begin_;  // per mask, into grouped_words_
  std::vector<int> grouped_words_;
};

struct CEnumResultsPhrase::Level {
  std::vector<int> fits;  // indices into the piece's list, ascending
  size_t cursor = 0;      // next entry of `fits` to try
  size_t source_at = 0;   // progress while filling `fits`
  bool filled = false;
  bool scanning = false;    // filling by a scan of the source, not by groups
  std::vector<int> budget;  // what the words before this one left
  uint64_t left = 0;        // the same as a letter key, when keyed
  int remaining = 0;        // limited letters and blanks in `budget`
};

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
  slot_of_.assign(kLetterTableSize, kAbsent);
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
    if (IsLimited(count)) {
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
  Reset();
}

EnumPtr CEnumResultsPhrase::Clone() const {
  std::vector<EnumPtr> lists;
  for (const EnumPtr& child : children()) lists.push_back(child->Clone());
  return EnumPtr(new CEnumResultsPhrase(std::move(lists), shape_, budget_));
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
         FormatLetterCounts(budget_.maxCount) + "\")\n" +
         CEnumResultsParentN::Describe(indent);
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
          std::make_unique<PhraseWordList>(keyed_ ? &keys_ : nullptr));
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
      lists_[collecting_]->Add(word, slot_of_);
    }
    if (counter != nullptr && *counter == 0) return false;  // suspended
    lists_[collecting_]->EndOfWords();
    ++collecting_;
  }
  return true;
}

bool CEnumResultsPhrase::CanContinue(int depth, int word) {
  if (depth + 1 >= static_cast<int>(shape_.pieces.size())) return false;
  // Once the limited letters are spent, only words using none could follow.
  const Level& next = levels_[depth + 1];
  if (next.remaining == 0 && !has_unlimited_ &&
      lists_[list_of_piece_[depth + 1]]->min_counted() > 0) {
    return false;
  }
  // Most partial phrases have no last word: ask the index before
  // descending rather than after.
  if (!UsesIndex(depth + 1)) return true;
  PhraseWordList& list = *lists_[list_of_piece_[depth + 1]];
  const int floor = shape_.ascending[depth + 1] ? word : 0;
  if (keyed_) return list.WithKey(next.left).last >= floor;
  const std::vector<int>* matches = list.ExactMatches(next.budget);
  return matches != nullptr && matches->back() >= floor;
}

bool CEnumResultsPhrase::UsesIndex(int depth) const {
  const Level& level = levels_[depth];
  if (depth + 1 != static_cast<int>(shape_.pieces.size())) return false;
  if (!keyed_) {
    if (has_unlimited_ || level.budget.back() != 0) return false;
    for (int count : level.budget) {
      if (count > PhraseWordList::kMaxKeyedCount) return false;
    }
  }
  return shape_.use_all ||
         lists_[list_of_piece_[depth]]->min_counted() >= level.remaining;
}

void CEnumResultsPhrase::StartLevel(int depth) {
  Level& level = levels_[depth];
  level.fits.clear();
  level.cursor = 0;
  level.source_at = 0;
  level.filled = false;
  level.scanning = false;
  starts_[depth] = text_.size();
}

// Fills levels_[depth].fits with the words of its piece that fit its
// budget: from the previous level's candidates at and after its word when
// the order is ascending (a smaller budget fits a subset of them), by the
// letter index when the word must use exactly what is left.
bool CEnumResultsPhrase::FilterLevel(int depth, int* counter) {
  Level& level = levels_[depth];
  PhraseWordList& list = *lists_[list_of_piece_[depth]];
  const bool ascending = depth > 0 && shape_.ascending[depth];
  const int floor =
      ascending ? levels_[depth - 1].fits[levels_[depth - 1].cursor - 1] : 0;
  if (UsesIndex(depth)) {
    if (keyed_) {
      for (int i = list.WithKey(level.left).first; i >= 0;
           i = list.NextWithKey(i)) {
        if (i >= floor) level.fits.push_back(i);
      }
    } else if (const std::vector<int>* exact =
                   list.ExactMatches(level.budget)) {
      for (int i : *exact) {
        if (i >= floor) level.fits.push_back(i);
      }
    }
    if (counter != nullptr) --*counter;
    level.filled = true;
    return true;
  }
  const std::vector<int>* from = ascending ? &levels_[depth - 1].fits
                                 : keyed_  ? &list.candidates()
                                           : nullptr;
  const size_t end = from != nullptr ? from->size() : list.size();
  // In a phrase that must use every letter, a word may leave no fewer
  // letters than the shortest words still required need, and no more than
  // the longest words that may still follow can take.
  long long cap = INT_MAX;
  long long floor_length = 0;
  if (shape_.use_all && !has_unlimited_) {
    cap = level.remaining;
    floor_length = level.remaining;
    for (int d = depth + 1; d < static_cast<int>(shape_.pieces.size()); ++d) {
      const PhraseWordList& later = *lists_[list_of_piece_[d]];
      if (d < shape_.min_words) cap -= later.min_counted();
      floor_length -= later.max_counted();
    }
  }
  if (!level.scanning) {
    if (floor_length > list.max_counted()) {
      level.filled = true;
      return true;
    }
    // Groups need a budget without blanks; keyed lists scan instead, at a
    // subtraction a word.
    const long long work =
        keyed_ || level.budget.back() != 0
            ? -1
            : list.FitsByGroups(level.budget, floor, floor_length, cap,
                                &level.fits);
    if (work >= 0) {
      if (counter != nullptr) {
        *counter = static_cast<int>(std::max<long long>(0, *counter - work));
      }
      level.filled = true;
      return true;
    }
    level.scanning = true;
    if (ascending) level.source_at = levels_[depth - 1].cursor - 1;
  }
  if (keyed_) return ScanByKeys(depth, *from, floor_length, cap, counter);
  std::vector<int> scratch = level.budget;
  int scratch_remaining = level.remaining;
  while (level.source_at < end) {
    if (counter != nullptr && *counter <= 0) return false;
    if (counter != nullptr) --*counter;
    const int i = from != nullptr ? (*from)[level.source_at]
                                  : static_cast<int>(level.source_at);
    ++level.source_at;
    const int counted = list.word(i).counted;
    if (counted > cap || counted < floor_length) continue;
    if (list.Fit(i, &scratch, &scratch_remaining, false)) {
      level.fits.push_back(i);
    }
  }
  level.filled = true;
  return true;
}

// Fills the level's fits from `from` by key, a slice of at most the
// counter's units at a time. A word that neither ends a phrase nor can be
// continued is left out here, where it costs a subtraction and a lookup,
// rather than tried: most words before a last word are such.
bool CEnumResultsPhrase::ScanByKeys(int depth, const std::vector<int>& from,
                                    long long min_counted,
                                    long long max_counted, int* counter) {
  Level& level = levels_[depth];
  const PhraseWordList& list = *lists_[list_of_piece_[depth]];
  const bool has_next = depth + 1 < static_cast<int>(shape_.pieces.size());
  while (level.source_at < from.size()) {
    if (counter != nullptr && *counter <= 0) return false;
    size_t end = from.size();
    if (counter != nullptr) {
      end = std::min(end, level.source_at + static_cast<size_t>(*counter));
      *counter -= static_cast<int>(end - level.source_at);
    }
    for (size_t k = level.source_at; k < end; ++k) {
      const int i = from[k];
      const int counted = list.word(i).counted;
      if (counted < min_counted || counted > max_counted ||
          !keys_.Fits(list.key(i), level.left)) {
        continue;
      }
      if (!has_next || LeadsOn(depth, i)) level.fits.push_back(i);
    }
    level.source_at = end;
  }
  level.filled = true;
  return true;
}

bool CEnumResultsPhrase::IsComplete(int words, int remaining) const {
  return words >= shape_.min_words &&
         (shape_.use_all ? remaining == 0
                         : words == static_cast<int>(shape_.pieces.size()));
}

bool CEnumResultsPhrase::LeadsOn(int depth, int word) {
  const PhraseWordList& list = *lists_[list_of_piece_[depth]];
  Level& next = levels_[depth + 1];
  next.remaining = levels_[depth].remaining - list.word(word).counted;
  next.left = levels_[depth].left - list.key(word);
  return IsComplete(depth + 1, next.remaining) || CanContinue(depth, word);
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
  if (has_next) levels_[depth_ + 1].remaining = remaining;
  descend_pending_ = CanContinue(depth_, i);
  return IsComplete(words, remaining) ? text_.c_str() : nullptr;
}

const char* CEnumResultsPhrase::Next(int* counter) {
  if (!CollectLists(counter)) return nullptr;
  for (;;) {
    if (depth_ == -2) return nullptr;
    if (counter != nullptr && *counter <= 0) return nullptr;
    if (depth_ == -1) {
      depth_ = 0;
      levels_[0].budget = first_budget_;
      levels_[0].left = keys_.full();
      levels_[0].remaining = first_remaining_;
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
  const Level& first = levels_[0];
  if (depth_ == -1 || first.fits.empty()) return half;
  return half + static_cast<int>(static_cast<double>(half) * first.cursor /
                                 (first.fits.size() + 1));
}

int CEnumResultsPhrase::GetExtent() const { return kPhraseExtent; }

PhraseShape AnyPhraseShape(int max_words, int min_word_length) {
  PhraseShape shape;
  shape.pieces.assign(std::max(1, max_words), "*");
  shape.ascending.assign(shape.pieces.size(), true);
  shape.ascending[0] = false;
  shape.min_words = 1;
  shape.min_word_length = min_word_length;
  shape.use_all = true;
  return shape;
}

EnumPtr BuildPhraseQuery(EnumPtr source, const char* letters,
                         PhraseShape shape) {
  CLetterConstraint budget(nullptr, letters);
  if (!budget.IsSatisfiable() || shape.pieces.empty()) {
    return std::make_unique<CEnumResultsNone>();
  }
  shape.ascending.resize(shape.pieces.size(), false);
  if (!shape.ascending.empty()) shape.ascending[0] = false;
  auto phrase =
      std::make_unique<CEnumResultsPhrase>(*source, std::move(shape), budget);
  for (int i = 0; i < phrase->child_count(); ++i) {
    if (IsNone(phrase->child_at(i)))
      return std::make_unique<CEnumResultsNone>();
  }
  return phrase;
}

namespace {

// Single words: today's anagram query, with the minimum as one more
// pattern.
EnumPtr SingleWordAnagrams(EnumPtr source, const char* letters,
                           const char* length_text, int min_word_length) {
  EnumPtr query = BuildAnagramQuery(std::move(source), letters, length_text);
  if (min_word_length <= 1) return query;
  const std::string min = MinLengthPattern(min_word_length);
  return query->Pattern(std::move(query), min.c_str());
}

PhraseShape ShapeOfPieces(std::string converted, int min_word_length) {
  PhraseShape shape;
  bool any_star = false;
  while (!converted.empty()) {
    const std::string piece = SplitFirstWord(converted);
    const bool plain_star = piece == "*";
    shape.ascending.push_back(plain_star && !shape.pieces.empty() &&
                              shape.pieces.back() == "*");
    any_star = any_star || piece.find('*') != std::string::npos;
    shape.pieces.push_back(piece);
  }
  shape.min_words = static_cast<int>(shape.pieces.size());
  shape.min_word_length = min_word_length;
  shape.use_all = any_star;
  return shape;
}

}  // namespace

EnumPtr BuildAnagramPhraseQuery(EnumPtr source, const char* letters,
                                const char* length_text, int max_words,
                                int min_word_length) {
  const bool has_length = length_text != nullptr && *length_text != '\0';
  if (!has_length) {
    if (max_words <= 1) {
      return SingleWordAnagrams(std::move(source), letters, nullptr,
                                min_word_length);
    }
    // Each word takes a letter at least (words of digits alone aside), so
    // more words than letters would add nothing but levels to walk.
    int counts[kLetterTableSize];
    ParseLetterCounts(letters, counts);
    const int total = SumLetterCounts(counts);
    const int most =
        std::min(total > 0 ? total : kMaxPatternPieces, kMaxPatternPieces);
    return BuildPhraseQuery(
        std::move(source), letters,
        AnyPhraseShape(std::min(max_words, most), min_word_length));
  }
  std::string typed;
  LengthSpecToPattern(length_text, typed);
  if (PatternExceedsLimits(typed.c_str())) {
    return std::make_unique<CEnumResultsNone>();
  }
  std::string converted = CollapseWildcardRuns(typed.c_str());
  if (converted.find(' ') == std::string::npos) {
    return SingleWordAnagrams(std::move(source), letters, length_text,
                              min_word_length);
  }
  return BuildPhraseQuery(std::move(source), letters,
                          ShapeOfPieces(std::move(converted), min_word_length));
}

}  // namespace vocor
