// The word syntax of text word lists, shared by the text dictionary and the
// dictionary compiler.
//
// A word is a maximal run of word characters: letters, the hyphen and the
// apostrophe. Everything else separates words. The decoding is decided
// line by line (lines end at LF or CR): a line that is well-formed UTF-8
// is decoded as UTF-8, any other line is read as Windows-1252, so that one
// stray byte costs its own line and not the whole list. A byte-order mark
// at the start of the file is a separator. Words come out lower-cased in
// engine text (Windows-1252). A UTF-8 word with a character that
// Windows-1252 cannot hold is read in its composed form (NFC), so that a
// letter spelled as a base and combining marks counts as the precomposed
// letter. A run holding a letter that Windows-1252 cannot hold even then,
// or longer than kMaxWordLength characters, is no word: FindWord passes
// over it, FindRun reports it with the reason. Offsets are always byte
// offsets into the file.
//
// Scores. A line may end in a score, the way crossword constructors' lists
// give one: `word;score`. The words before the first ';' of the line score
// the number after it, which must be a whole number from kMinScore to
// kMaxScore (spaces and tabs around it are allowed); every other word
// scores kDefaultScore. A line whose score is anything else (empty, not a
// number, out of range, a second ';') is a bad score line: none of its
// runs is read, so that "word;abc" is never taken for the words "word"
// and "abc", and the finders pass over it whole. A list without ';' reads
// exactly as if scores did not exist, and costs nothing more.
#ifndef VOCOR_DICTIONARY_TEXT_WORDS_H_
#define VOCOR_DICTIONARY_TEXT_WORDS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "engine/score.h"

namespace vocor {

constexpr int kMaxWordLength = 999;
constexpr size_t kWordBufferSize = kMaxWordLength + 1;

// What a run of word characters turned out to be.
enum class RunKind {
  kWord,
  kTooLong,        // more than kMaxWordLength characters
  kForeignLetter,  // a letter that Windows-1252 cannot hold
};

// One run of word characters: its bytes [start, end) in the text, for
// a kWord the number of engine bytes written to the caller's buffer, and
// the score its line gives it (kDefaultScore on a line without one, where
// `scored` is false).
struct TextRun {
  size_t start = 0;
  size_t end = 0;
  int length = 0;
  RunKind kind = RunKind::kWord;
  int score = kDefaultScore;
  bool scored = false;
};

// A line whose score is not a whole number from kMinScore to kMaxScore:
// its number (the first line is 1; CR LF ends one line) and its text
// without the line end.
struct BadScoreLine {
  int64_t number = 0;
  std::string_view text;
};

class TextWordScanner {
 public:
  // `text` must outlive the scanner. Reads the text once to find the
  // lines that are not UTF-8.
  explicit TextWordScanner(std::string_view text);

  // The lines read as Windows-1252: those holding bytes that are not
  // well-formed UTF-8.
  int64_t windows1252_lines() const { return windows1252_lines_; }
  // Whether the byte at `pos` belongs to a line decoded as UTF-8. A line
  // of ASCII reads the same either way, and may be said to be either.
  bool IsUtf8At(size_t pos) const;

  // Whether any line gives a valid score.
  bool has_scores() const { return has_scores_; }
  // The bad score lines, in file order; their runs are never found.
  const std::vector<BadScoreLine>& bad_score_lines() const {
    return bad_score_lines_;
  }

  // Finds the first run of word characters starting at or after byte
  // `from`, word or not, into *run; for a word writes the lower-cased
  // word with a NUL into `buffer` (kWordBufferSize bytes). Returns false
  // when no run is left.
  bool FindRun(size_t from, TextRun* run, char* buffer) const;

  // Finds the first word (a run of kind kWord) starting at or after byte
  // `from`. On success stores its byte range in [*start, *end), writes
  // the lower-cased word with a NUL into `buffer` (kWordBufferSize bytes)
  // and its length into *length, its score into *score when that is not
  // null, and returns true. Returns false when no word is left.
  bool FindWord(size_t from, size_t* start, size_t* end, char* buffer,
                int* length, int* score = nullptr) const;

 private:
  // A stretch of the text read with one decoding, up to byte `end`.
  struct Stretch {
    bool utf8;
    size_t end;
  };
  // The byte ranges [first, second) read as Windows-1252, ascending and
  // disjoint. Pure ASCII lines between two such lines join their ranges,
  // so a Windows-1252 list is one range and a UTF-8 list none.
  using Range = std::pair<size_t, size_t>;
  // A line holding ';': its words, in [start, semicolon), score `score`
  // (0 on a bad score line, whose words are not read); the rest of it, up
  // to `end` (its line end), holds none.
  struct ScoredLine {
    size_t start;
    size_t semicolon;
    size_t end;
    int score;
  };

  void FindWindows1252Lines();
  void FindScoredLines();
  // Records the line [start, end) holding ';' at `semicolon`.
  void AddScoredLine(size_t start, size_t semicolon, size_t end,
                     int64_t number);
  // Where a run starting at `pos` is read: returns false, with *resume set
  // to the line end, when `pos` lies where no word is read; else sets
  // run->score and run->scored for the words there.
  bool ReadableAt(size_t pos, size_t* resume, TextRun* run) const;
  bool ScanRun(size_t from, TextRun* run, char* buffer) const;
  Stretch StretchAt(size_t pos) const;
  // Classifies the character at `pos`: returns its byte length and sets
  // *engine to its lower-cased engine byte, or to -1 for a letter that
  // Windows-1252 cannot hold; *is_word tells whether it belongs to words.
  int Classify(size_t pos, bool utf8, bool* is_word, int* engine) const;
  // Maps the composed form of the UTF-8 run `run` into `buffer`, setting
  // *length; returns the run's kind.
  static RunKind MapComposed(std::string_view run, char* buffer, int* length);

  std::string_view text_;
  std::vector<Range> windows1252_;
  int64_t windows1252_lines_ = 0;
  std::vector<ScoredLine> scored_lines_;  // ascending
  // Where the last look-up in scored_lines_ ended: only a hint, so that
  // reading in file order needs no search. Scanners are used by one thread
  // at a time, as everything over a text list is.
  mutable size_t line_hint_ = 0;
  std::vector<BadScoreLine> bad_score_lines_;
  bool has_scores_ = false;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORDS_H_
