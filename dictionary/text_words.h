// The word syntax of text word lists, shared by the text dictionary and the
// dictionary compiler.
//
// A word is a maximal run of word characters: letters, the hyphen and the
// apostrophe. Everything else separates words. A list that is well-formed
// UTF-8 (with or without a byte-order mark) is decoded; any other list is
// read as Windows-1252. Words come out lower-cased in engine text
// (Windows-1252). A UTF-8 word with a character that Windows-1252 cannot
// hold is read in its composed form (NFC), so that a letter spelled as a
// base and combining marks counts as the precomposed letter. A word
// holding a letter that Windows-1252 cannot hold even then, or longer
// than kMaxWordLength characters, is skipped: it is neither yielded nor
// counted. Offsets are always byte offsets into the file.
#ifndef VOCOR_DICTIONARY_TEXT_WORDS_H_
#define VOCOR_DICTIONARY_TEXT_WORDS_H_

#include <cstddef>
#include <string_view>

namespace vocor {

constexpr int kMaxWordLength = 999;
constexpr size_t kWordBufferSize = kMaxWordLength + 1;

class TextWordScanner {
 public:
  // `text` must outlive the scanner. `utf8` selects the decoding; use
  // DetectUtf8 to choose it for a file.
  TextWordScanner(std::string_view text, bool utf8);

  static bool DetectUtf8(std::string_view text);

  // Finds the first acceptable word starting at or after byte `from`.
  // On success stores its byte range in [*start, *end), writes the
  // lower-cased word with a NUL into `buffer` (kWordBufferSize bytes) and
  // its length into *length, and returns true. Returns false when no
  // acceptable word is left.
  bool FindWord(size_t from, size_t* start, size_t* end, char* buffer,
                int* length) const;

 private:
  // Classifies the character at `pos`: returns its byte length and sets
  // *engine to its lower-cased engine byte, or to -1 for a letter that
  // Windows-1252 cannot hold; *is_word tells whether it belongs to words.
  int Classify(size_t pos, bool* is_word, int* engine) const;
  // Maps the composed form of the UTF-8 word `run` into `buffer`, setting
  // *length; false when it still holds a character outside the code page
  // or is too long.
  static bool MapComposed(std::string_view run, char* buffer, int* length);

  std::string_view text_;
  bool utf8_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORDS_H_
