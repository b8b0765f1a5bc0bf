// Search requests: the bridge from what the user typed into one of the
// four search forms to a query tree over the active dictionary. Each
// request reads its inputs in a fixed order, enters each text it reads
// into that input's history (as typed), lower-cases it, validates it, and
// applies the algebra's builders to a fresh root enumerator.
//
// Typed text is UTF-8 and is converted to the engine's Windows-1252 here.
// A character that Windows-1252 cannot hold matches nothing: in a pattern
// it stands for a character no word has; among required letters (anagram
// letters, "must use") it makes the query empty; among letters a word may
// use ("from letters") it is a tile no word can play, and so is ignored.
#ifndef VOCOR_SEARCH_SEARCH_REQUEST_H_
#define VOCOR_SEARCH_SEARCH_REQUEST_H_

#include <string>

#include "engine/enum_results.h"
#include "engine/letters.h"
#include "search/input_history.h"

namespace vocor {

class CDictionary;

// What a request produced. With a query, the search runs (the query may be
// the empty enumerator: it then ends at once with no result). Without one,
// the request was refused: `message` is the id of the message to show, or
// `text` a message made for this refusal (a malformed pattern), or both
// are empty for a silent refusal.
struct SearchRequestResult {
  EnumPtr query;
  int message = 0;
  std::string text;
  // A refusal about one input names it: its index among the form's text
  // inputs in row order (-1 for none), and the 1-based character position
  // of the fault in the text as typed (0 for none). A letter typed as a
  // base and a combining mark counts as one character.
  int input = -1;
  int position = 0;

  bool refused() const { return query == nullptr; }
  // What a refusal says: `text`, else the text of `message`; "" when
  // silent.
  std::string RefusalText() const;
};

// The crossword form's inputs, as typed, and their histories (any may be
// null). The inputs are numbered in this order (SearchRequestResult::input).
struct CrosswordInputs {
  std::string pattern;
  std::string and_pattern;      // empty: none
  std::string with_letters;     // letters every answer contains; may be empty
  std::string without_letters;  // letters no answer contains; may be empty
};
struct CrosswordHistories {
  InputHistory* pattern = nullptr;
  InputHistory* and_pattern = nullptr;
  InputHistory* with_letters = nullptr;
  InputHistory* without_letters = nullptr;
};

// Crossword: words matching the pattern (word-length notation allowed),
// and the "and" pattern as well when that is not empty, that contain the
// `with_letters` (letter-count text: "ee" is two e's) and none of the
// `without_letters` in either case (LetterPresenceConstraint); over a
// phrase the letters count in the whole phrase. A malformed pattern is
// refused with its problem and position; a first pattern that can match
// nothing silently; a second one that excludes the first with message
// 1049; a letter both wanted and excluded with message 1054. Empty letter
// inputs are not read (their histories stay as they are).
SearchRequestResult BuildCrosswordRequest(const CrosswordInputs& inputs,
                                          const CrosswordHistories& histories,
                                          const CDictionary* dictionary);
// The form with the two patterns only.
SearchRequestResult BuildCrosswordRequest(const std::string& pattern,
                                          const std::string& and_pattern,
                                          InputHistory* pattern_history,
                                          InputHistory* and_history,
                                          const CDictionary* dictionary);

// The letter constraint of the crossword's letter inputs (engine text,
// lower case): `with` is the minimum part, as letter-count text; `without`
// makes a maximum part in which every byte is unlimited but the counted
// characters of `without` (IsCountedCharacter, the blank '?' aside) in
// both cases, and the blank itself, so that no blank stands in for an
// excluded letter. A text without such characters leaves its part absent.
CLetterConstraint LetterPresenceConstraint(const std::string& with,
                                           const std::string& without);

// Anagram: words (or phrases, with a multi-word pattern) using exactly the
// `letters`, '?' a blank, optionally shaped by `pattern`. A pattern needing
// more letters than given is refused with message 1048, a malformed one
// with its problem and position (input 1); one that no phrase
// can have (more than kMaxPatternPieces words, or a word longer than any
// stored word) is refused silently, as a crossword pattern is. The form
// without word choices of the overload below.
SearchRequestResult BuildAnagramRequest(const std::string& letters,
                                        const std::string& pattern,
                                        InputHistory* letters_history,
                                        InputHistory* pattern_history,
                                        const CDictionary* dictionary);

// The anagram form's inputs, as typed, and their histories (any may be
// null).
struct AnagramInputs {
  std::string letters;
  std::string pattern;
  std::string max_words;        // empty: single words, or the pattern's
  std::string min_word_length;  // empty: 1
};
struct AnagramHistories {
  InputHistory* letters = nullptr;
  InputHistory* pattern = nullptr;
  InputHistory* max_words = nullptr;
  InputHistory* min_word_length = nullptr;
};

// Anagram with the word choices: a `*` piece in a pattern of several
// pieces is a word of any length (the phrase then uses every letter), a
// number of words asks for every phrase of up to that many words, and no
// word is shorter than the minimum. A number that is not a positive
// integer is refused with message 1051 (words) or 1050 (minimum) and no
// history changes; a pattern with a number of words above 1 with 1053; a
// minimum that no word of a phrase can reach with 1052.
SearchRequestResult BuildAnagramRequest(const AnagramInputs& inputs,
                                        const AnagramHistories& histories,
                                        const CDictionary* dictionary);

// Hidden words: spelled from `from_letters`, containing `must_use`, at
// least `min_length` long (read like atoi; empty means no minimum). A
// minimum that is not a positive integer is refused with message 1050 and
// no history changes.
SearchRequestResult BuildHiddenRequest(const std::string& from_letters,
                                       const std::string& min_length,
                                       const std::string& must_use,
                                       InputHistory* from_history,
                                       InputHistory* min_length_history,
                                       InputHistory* must_use_history,
                                       const CDictionary* dictionary);

// Palindromes etc.: words that read as themselves (`another_word` 0) or
// as another word (1) after transformation `mode` (0 reverse, 1 reflect
// left-to-right, 2 reflect top-to-bottom, 3 rotate), optionally restricted
// by `pattern`. A malformed pattern is refused with its problem and
// position (input 0); one that can match nothing silently.
SearchRequestResult BuildPalindromeRequest(int mode, int another_word,
                                           const std::string& pattern,
                                           InputHistory* pattern_history,
                                           const CDictionary* dictionary);

// Whether the Search command is enabled for a form whose first input holds
// `first_input` (the palindrome form always can).
bool CanSearchWith(const std::string& first_input);

// Whether `dictionary` is "All Dictionaries" with no dictionary installed
// (or null): every request over it finds nothing, whatever the clues. An
// empty named set is not: dictionaries may be installed beside it.
bool IsNothingInstalled(const CDictionary* dictionary);

// The offset in UTF-16 units (as a text box counts) of the character after
// the first `characters` characters of `utf8`; the text's length in UTF-16
// units when it has fewer.
int Utf16Offset(const std::string& utf8, int characters);

// Reads the leading decimal integer of `text` as atoi does (blanks, an
// optional sign, digits), saturating instead of overflowing.
int ReadLeadingInteger(const std::string& text);

}  // namespace vocor

#endif  // VOCOR_SEARCH_SEARCH_REQUEST_H_
