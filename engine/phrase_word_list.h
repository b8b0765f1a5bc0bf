// One piece's words for the phrase enumerator: read once from the piece's
// word source with their scores, each word's letters counted against the
// budget's slots, so
// that fitting a word to what is left costs a few steps. Indexes built on
// first use answer "which words use exactly these letters" and "which
// words use only letters the budget still holds" without a scan.
#ifndef VOCOR_ENGINE_PHRASE_WORD_LIST_H_
#define VOCOR_ENGINE_PHRASE_WORD_LIST_H_

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/letter_key.h"
#include "engine/letters.h"

namespace vocor {

// One piece's words, read once, with their letters counted against the
// budget's slots so that fitting a word costs a few steps, not a table.
class PhraseWordList {
 public:
  static constexpr int kAbsent = -1;  // a letter the budget does not hold
  static bool IsLimited(int count) { return count != kUnlimited; }

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
    int score;
    int order;  // where the source gave the word, among all it gave
  };

  // With a layout, each word's letters are also kept as a key of it, and
  // the words that can fit the whole budget are listed and indexed by key.
  // `keys` must outlive the list.
  explicit PhraseWordList(const LetterKeyLayout* keys) : keys_(keys) {}

  // Keeps each word once: where order stands for a combination, a word
  // met again later (in a second member of a set) would otherwise let
  // the same words come in two orders. The word keeps the highest score
  // it was met with.
  void KeepWordsOnce() { unique_ = true; }
  void EndOfWords() { std::unordered_map<std::string, int>().swap(seen_); }

  void Add(const char* word, int score, const std::vector<int>& slot_of);

  // A copy holding only the words scoring `floor` or more, keyed by `keys`
  // (the same layout as this list's), as if the source had given only
  // those: a word kept once moves to where the source first gave it with
  // such a score. A list still being read goes on keeping words once.
  std::unique_ptr<PhraseWordList> Filtered(int floor,
                                           const LetterKeyLayout* keys) const;

  // Builds the indexes made on first use (for `slots` budget slots and the
  // blank), so that copies sharing the list only read it.
  void BuildIndexes(int slots);

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
  // Word i's runs: word(i).runs_size of them.
  const Run* runs(int i) const { return runs_.data() + words_[i].runs_begin; }
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
                         std::vector<int>* fits);

  // Counts above this cannot be keyed; such budgets take the scanning path.
  static constexpr int kMaxKeyedCount = 255;

  // The words using exactly the letters of `budget` (no blanks left, no
  // unlimited count, no count above kMaxKeyedCount), ascending; null when
  // none does.
  const std::vector<int>* ExactMatches(const std::vector<int>& budget);

 private:
  // A word with a count above kMaxKeyedCount is left out of the index:
  // no budget that uses the index can hold it.
  static bool KeyOf(const std::vector<int>& budget, std::string* key);

  static constexpr int kMaxGroupSlots = 30;

  void AddKey(const Word& w);

  // Bit s: the word uses slot s; bit `slots`: a letter the budget lacks.
  // The words are kept sorted by mask, then by index, one run per mask.
  void BuildGroups(int slots);

  static uint64_t HashOf(const std::vector<int>& budget);

  void BuildIndex(int slots);

  const LetterKeyLayout* keys_;
  std::vector<uint64_t> word_keys_;
  std::vector<int> candidates_;
  LetterKeyIndex by_letter_key_;
  std::string texts_;
  std::vector<Run> runs_;
  std::vector<Word> words_;
  int min_counted_ = 0;
  int max_counted_ = 0;
  // Appends word `i` of `from`, a list over the same slots, with the
  // occurrences scoring `floor` or more.
  void CopyWord(const PhraseWordList& from, int i, int floor);
  void Append(Word w);
  // Where the source first gave word i with `floor` or more; -1: never.
  int FirstOrderFrom(int i, int floor) const;

  bool unique_ = false;
  std::unordered_map<std::string, int> seen_;  // word to index
  int given_ = 0;  // words the source gave, kept or not
  // Words kept once that the source gave more than once: every (order,
  // score) it gave them with.
  std::unordered_map<int, std::vector<std::pair<int, int>>> repeats_;
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

}  // namespace vocor

#endif  // VOCOR_ENGINE_PHRASE_WORD_LIST_H_
