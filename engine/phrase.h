// Phrase anagrams: phrases whose words together use the letters of a
// budget, found by walking the dictionary once per distinct word shape
// with the whole budget pushed down, then combining the words in memory
// with what is left of the budget after each word. No branch is entered
// that cannot lead to a phrase, so the cost follows the number of partial
// phrases that fit, not the n-to-the-k combinations a cross product reads.
//
// Phrases of interchangeable words (every piece the same, each word not
// before the one before it: the phrases of any lengths) are combinations,
// found as an exact cover of the budget: every phrase holds a word with
// the letter left that the fewest candidate words can supply, so only
// those words are tried at each step, and a letter no candidate supplies
// ends the branch at once. Branch i leaves the first i - 1 of those words
// out of its whole subtree, so each combination comes once. Other shapes
// take their words place by place.
//
// A phrase scores as its weakest word. A minimum score is pushed into the
// word sources before they are read, or filters the lists already read.
#ifndef VOCOR_ENGINE_PHRASE_H_
#define VOCOR_ENGINE_PHRASE_H_

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/enum_results.h"
#include "engine/letter_key.h"
#include "engine/letters.h"

namespace vocor {

class PhraseWordList;

// What a phrase looks like. Piece i is the pattern of the phrase's i-th
// word; a phrase has min_words to pieces.size() words. Where `ascending[i]`
// is set, word i is never before word i - 1 in dictionary order, so a
// combination of interchangeable words comes once, not once per order.
struct PhraseShape {
  std::vector<std::string> pieces;
  std::vector<bool> ascending;
  int min_words = 1;
  // No word shorter than this many characters.
  int min_word_length = 1;
  // Every limited letter and blank of the budget must be used; otherwise a
  // phrase may leave some over (only full-length phrases are yielded then).
  bool use_all = true;
};

// Yields each phrase as its words joined by single spaces, each word from
// a list of interchangeable words in dictionary order. Shapes of places
// yield, for every word of the first piece in dictionary order, the
// phrases continuing it, the shorter phrase before its continuations;
// combinations come in the order the cover finds them.
//
// Reading happens in two stages, both suspendable with the work counter:
// first each distinct piece's word list is read from its child (the
// source's clone restricted by the piece and the budget), then the lists
// are combined, one unit of work per word tried (and one per candidate a
// step of the cover looks at). The lists are kept across Reset, and a
// clone made once they are read shares them (they are not changed after).
// Contains reads a clone to its end, so it costs a full search.
class CEnumResultsPhrase final : public CEnumResultsParentN {
 public:
  // Clones `source` once per distinct piece of `shape`; `budget` must have
  // a maximum part. Use BuildPhraseQuery, which proves emptiness first.
  CEnumResultsPhrase(const CEnumResults& source, PhraseShape shape,
                     const CLetterConstraint& budget);
  ~CEnumResultsPhrase() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  bool Contains(const char* text) const override;
  // Pushed into the word sources while none is read; afterwards the lists
  // read keep only the words scoring the floor or more.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;
  // The lowest score of the phrase's words.
  int Score() const override;
  // The counts of the word sources (the most any of them gives for each
  // score), from the floor up.
  void CountScores(ScoreCounts* counts) const override;
  bool YieldsPhrases() const override { return true; }
  // On a scale of kPhraseExtent: the first half reads the word lists, the
  // second follows the first word's progress through its list.
  int GetPosition() const override;
  int GetExtent() const override;

  static constexpr int kPhraseExtent = 10000;

 private:
  struct Level;
  struct CoverStep;
  struct CoverEntry;
  using SharedList = std::shared_ptr<PhraseWordList>;
  CEnumResultsPhrase(std::vector<EnumPtr> lists, PhraseShape shape,
                     const CLetterConstraint& budget);
  // Pieces with the same pattern share a word list; returns the patterns
  // of the lists in order.
  std::vector<std::string> MapPiecesToLists();
  void Init();
  bool CollectLists(int* counter);
  bool FilterLevel(int depth, int* counter);
  void StartLevel(int depth);
  // Whether a next word may follow `word`, just taken at `depth`, given the
  // next level's budget.
  bool CanContinue(int depth, int word);
  bool IsComplete(int words, int remaining) const;
  // Keyed: whether `word` at `depth` ends a phrase or may be continued.
  // Sets the next level's budget, which is only read once it is set anew.
  bool LeadsOn(int depth, int word);
  // Whether the last word, at `depth`, must use exactly what is left, so
  // that the letter index finds it without a scan.
  bool UsesIndex(int depth) const;
  bool ScanByKeys(int depth, const std::vector<int>& from,
                  long long min_counted, long long max_counted, int* counter);
  const char* TryNextWord(int* counter);
  const char* WalkPlaces(int* counter);
  bool SharesLists() const;

  // The exact cover (phrase_cover.cpp), for shapes of interchangeable
  // words.
  bool IsCover() const;
  const char* WalkCover(int* counter);
  void StartCover();
  void ExpandStep(int depth, int* counter);
  bool FilterCandidates(int depth, int* counter);
  void BranchFromBuckets(int depth, int* counter);
  void FilterNearBuckets(int depth, const CoverStep& before, int* counter);
  // The limited letter left in `budget` held by the fewest words,
  // `size_of(slot)` of them; -1 when every letter need not be used or
  // none is left.
  template <typename SizeOf>
  int BranchSlot(const std::vector<int>& budget, SizeOf size_of) const;
  // Whether the word is not left out and fits what `step` left.
  bool Fits(const CoverEntry& entry, const CoverStep& step) const;
  static void Charge(int* counter, long long work);
  // Word `word` with what the scans read of it. Keyed budgets have at most
  // 32 slots (a key gives each two bits or more).
  CoverEntry EntryOf(int word) const;
  template <typename Visit>
  void ForEachSlot(const CoverEntry& entry, Visit visit) const;
  // The last step before `depth` that filled its candidates.
  int MaterializedBefore(int depth) const;
  void LookUpLastWord(int depth);
  void TakeWord(int depth, int word);
  void LeaveStep(int depth);
  const char* CoverPhrase();

  PhraseShape shape_;
  CLetterConstraint budget_;
  std::vector<int> list_of_piece_;
  std::vector<SharedList> lists_;
  int floor_ = kMinScore;
  int score_ = kDefaultScore;
  std::vector<int> slot_of_;  // per byte: its budget slot, or -1
  std::vector<int> first_budget_;
  int first_remaining_ = 0;
  bool has_unlimited_ = false;
  // Set when the budget packs into letter keys; the lists then keep keys.
  bool keyed_ = false;
  LetterKeyLayout keys_;
  int collecting_ = 0;  // the list being read; lists_.size() once all are
  std::vector<Level> levels_;
  int depth_ = -1;  // -1 before the first word; -2 once exhausted
  bool descend_pending_ = false;
  std::vector<int> scratch_;  // the budget after a phrase's last word
  std::string text_;
  std::vector<size_t> starts_;
  // The cover's state: its steps (one per word taken, plus the first),
  // the words taken, and the words left out of the current subtree.
  std::vector<CoverStep> steps_;
  std::vector<int> taken_;
  std::vector<uint8_t> left_out_;
  std::vector<int> sorted_;
  std::vector<int> slot_counts_;  // per budget slot: candidates using it
  bool cover_ = false;
};

// Phrases of `shape` using the letters of `letters` (letter-count text,
// '?' a blank). Consumes `source`. Returns CEnumResultsNone when a piece
// can match nothing or the letters cannot fill the shortest phrase.
EnumPtr BuildPhraseQuery(EnumPtr source, const char* letters,
                         PhraseShape shape);

// Anagrams of `letters` with the word choices of the anagram search:
// `length_text` in word-length notation (may be null or empty), or, with
// no length text, `max_words` above 1 for every phrase of 1 to that many
// words of any lengths (at most one per letter, and kMaxPatternPieces); no
// word shorter than `min_word_length`. A length
// text of several pieces where one holds a star gives phrases using every
// letter, neighbouring plain stars each combination once; one without a
// star gives the phrases of BuildAnagramQuery in its order.
EnumPtr BuildAnagramPhraseQuery(EnumPtr source, const char* letters,
                                const char* length_text, int max_words,
                                int min_word_length);

// The shape of every phrase of 1 to `max_words` words of any lengths, each
// word at least `min_word_length` letters, each combination once.
PhraseShape AnyPhraseShape(int max_words, int min_word_length);

}  // namespace vocor

#endif  // VOCOR_ENGINE_PHRASE_H_
