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
#ifndef VOCOR_DICTIONARY_TEXT_WORDS_H_
#define VOCOR_DICTIONARY_TEXT_WORDS_H_

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace vocor {

constexpr int kMaxWordLength = 999;
constexpr size_t kWordBufferSize = kMaxWordLength + 1;

// What a run of word characters turned out to be.
enum class RunKind {
  kWord,
  kTooLong,        // more than kMaxWordLength characters
  kForeignLetter,  // a letter that Windows-1252 cannot hold
};

// One run of word characters: its bytes [start, end) in the text, and for
// a kWord the number of engine bytes written to the caller's buffer.
struct TextRun {
  size_t start = 0;
  size_t end = 0;
  int length = 0;
  RunKind kind = RunKind::kWord;
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

  // Finds the first run of word characters starting at or after byte
  // `from`, word or not, into *run; for a word writes the lower-cased
  // word with a NUL into `buffer` (kWordBufferSize bytes). Returns false
  // when no run is left.
  bool FindRun(size_t from, TextRun* run, char* buffer) const;

  // Finds the first word (a run of kind kWord) starting at or after byte
  // `from`. On success stores its byte range in [*start, *end), writes
  // the lower-cased word with a NUL into `buffer` (kWordBufferSize bytes)
  // and its length into *length, and returns true. Returns false when no
  // word is left.
  bool FindWord(size_t from, size_t* start, size_t* end, char* buffer,
                int* length) const;

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

  void FindWindows1252Lines();
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
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORDS_H_
