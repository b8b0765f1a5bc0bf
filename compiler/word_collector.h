// Gathers the words of the compiler's input lists: the word syntax and
// decoding of text dictionaries, lower-cased, each word kept once, and
// only words that the chosen output can store.
//
// Scores. A word's score is the highest of those its entries give: a line's
// own (`word;score`, see dictionary/text_words.h), and in a list given a
// score of its own (vocor-mkdic --score FILE=N) N, or the line's score
// where that is higher. A line without a score in an ordinary list gives
// kDefaultScore, as a text dictionary reads it, but only to a word that no
// list with a score of its own holds: such lists say how common their
// words are, so that `--score small=60 --score big=20 big` scores the
// words only in big 20, not 50. Nested lists (a small list inside a large
// one) thus score each word by the best list holding it.
#ifndef VOCOR_COMPILER_WORD_COLLECTOR_H_
#define VOCOR_COMPILER_WORD_COLLECTOR_H_

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "dictionary/text_words.h"

namespace vocor {

struct WordChoice {
  // Letters above 127 are spelled in ASCII (see dictionary/accent_fold.h)
  // instead of being stored as they are: for lists of one language that
  // borrow a few accented words, so that "cafe" finds café. Ignored with
  // keep_code_page.
  bool fold_accents = false;
  // Every byte a text word can hold is kept (text lists), not only those
  // a binary dictionary stores (IsVocorLetter).
  bool keep_code_page = false;
  // Leaves out entries ending in 's ("cat's", and contractions such as
  // "it's" with them): a solver should not offer them as answers.
  bool skip_possessives = false;
  // Leaves out entries of two or more letters written without a small
  // letter ("NASA", "CRT"); capitalised names ("Paris") stay. A word
  // written small that the lists score lower than its letters written so
  // ("nasa", found only in a complete list that holds "NASA" from a
  // smaller one on) is that abbreviation written small, and is left out
  // too (see WordCollector::Finish). Unscored lists score everything
  // alike, so there it leaves out no word written small.
  bool skip_abbreviations = false;
};

// A line whose score could not be read (its words were not read either),
// in the list given by its position among the AddList calls (0 first).
struct BadScore {
  int list = 0;
  int64_t line = 0;
  std::string text;  // the line as written, without its line end
};

// The scores a word's entries gave so far (see the file comment).
struct ScoreTally {
  uint8_t best = 0;     // the highest score given, 0 for none
  bool plain = false;   // a line of an ordinary list gave none
  bool listed = false;  // a list with a score of its own holds the word

  // What the entry of `run` gives, in a list scored `list_score` (0 for
  // an ordinary list).
  static ScoreTally Of(const TextRun& run, int list_score);
  void Add(const ScoreTally& entry);
  // The word's score.
  int Final() const;
};

// Entries found in a list that are no words a dictionary can hold, by
// reason. Every one of them is counted as read.
struct SkippedWords {
  // More than kMaxWordLength letters, as read or once folded.
  int64_t too_long = 0;
  // A letter outside Windows-1252 (or, folding, without an ASCII spelling).
  int64_t foreign_letters = 0;
  // Beginning or ending with a hyphen or an apostrophe: pieces of
  // abbreviations cut at their dots ("ch.-l." gives "-l"), quotes and
  // dashes, not words.
  int64_t fragments = 0;

  int64_t total() const { return too_long + foreign_letters + fragments; }
};

class WordCollector {
 public:
  explicit WordCollector(const WordChoice& choice) : choice_(choice) {}

  // Told how many bytes of the list have been scanned; returns false to
  // stop the scan.
  using ScanProgress = std::function<bool(size_t scanned)>;

  // Adds the words of one whole input list (UTF-8 or Windows-1252, told
  // apart line by line as text dictionaries do). `list_score` is 0 for an
  // ordinary list, or the score (kMinScore..kMaxScore) that every entry of
  // the list gets (see the file comment). With `progress`, it is asked
  // every few thousand words whether to go on; returns false when it said
  // no, with the words before that point added.
  bool AddList(std::string_view text, const ScanProgress& progress = nullptr,
               int list_score = 0);
  // Adds a further part of the list added last, for a list handed over in
  // parts (each part whole lines): the parts count as one list.
  void AddListPart(std::string_view text);

  // Applies what needs every list read: settles each word's score and
  // leaves out the abbreviations written small (see
  // WordChoice::skip_abbreviations). Call once, after the last AddList.
  void Finish();

  // Distinct storable words (engine text), in order of first appearance.
  const std::vector<std::string>& words() const { return words_; }
  // The score of each of words(), one per word, once Finish has run.
  const std::vector<uint8_t>& scores() const { return scores_; }
  // Whether a score was given anywhere: a list's own or a line's. Without,
  // every word has kDefaultScore and the output stores no scores.
  bool has_scores() const { return has_scores_; }
  // Lines skipped for a score that is no whole number from kMinScore to
  // kMaxScore: all of them counted, the first kMaxBadScoresKept kept.
  int64_t bad_score_lines() const { return bad_score_lines_; }
  const std::vector<BadScore>& bad_scores() const { return bad_scores_; }
  static constexpr size_t kMaxBadScoresKept = 20;
  // Every entry found (a run of letters, hyphens and apostrophes), the
  // skipped, duplicate and left-out ones included.
  int64_t read() const { return read_; }
  // Entries that are no storable words, by reason.
  const SkippedWords& skipped() const { return skipped_; }
  // Lines of the lists read as Windows-1252 because they are not UTF-8.
  int64_t windows1252_lines() const { return windows1252_lines_; }
  // Storable words seen again after their first appearance.
  int64_t duplicates() const { return duplicates_; }
  // Entries left out by skip_possessives and skip_abbreviations (Finish
  // adds the words it leaves out); an entry that is both counts as a
  // possessive.
  int64_t possessives() const { return possessives_; }
  int64_t abbreviations() const { return abbreviations_; }

 private:
  // Counts the run as skipped unless it is a word; returns whether it is.
  bool Acceptable(const TextRun& run, std::string_view word);
  // Whether an entry is left out by choice; `written` is its text as the
  // list spells it, `word` its lower-cased engine text.
  bool LeftOut(std::string_view written, bool utf8, std::string_view word,
               const ScoreTally& entry);
  // Tallies the scores of an abbreviation left out, by the stored form of
  // its letters.
  void NoteAbbreviation(std::string_view word, const ScoreTally& entry);
  // Brings `word` to its stored form in *stored; false, having counted
  // why, when it has none.
  bool StoredForm(std::string_view word, std::string* stored);

  // Adds the stored form of one entry with what it says of the score.
  void AddWord(const std::string& stored, const ScoreTally& entry);
  void NoteBadScores(const TextWordScanner& scanner);

  WordChoice choice_;
  std::vector<std::string> words_;
  std::vector<ScoreTally> tallies_;  // one per word until Finish
  std::vector<uint8_t> scores_;      // one per word after Finish
  // Each word's index in words_.
  std::unordered_map<std::string, size_t> seen_;
  bool has_scores_ = false;
  int lists_ = 0;
  int64_t bad_score_lines_ = 0;
  std::vector<BadScore> bad_scores_;
  std::unordered_map<std::string, ScoreTally> abbreviations_seen_;
  int64_t read_ = 0;
  SkippedWords skipped_;
  int64_t windows1252_lines_ = 0;
  int64_t duplicates_ = 0;
  int64_t possessives_ = 0;
  int64_t abbreviations_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_COMPILER_WORD_COLLECTOR_H_
