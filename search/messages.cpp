#include "search/messages.h"

namespace vocor {

const char* MessageText(int id) {
  switch (id) {
    case kMsgMatchLimit:
      return "Stopping the search - The maximum number of matches has been "
             "reached.";
    case kMsgAnagramNeedsMoreLetters:
      return "Search criteria unsatisfiable:\nThe pattern you have entered "
             "requires more letters than are in the anagram word.";
    case kMsgPatternsExclusive:
      return "Search criteria unsatisfiable:\nThe two patterns are mutually "
             "exclusive.";
    case kMsgInvalidMinLength:
      return "The minimum length you have entered is invalid.  Please enter "
             "a positive integer, or leave the box blank.";
    case kMsgInvalidMaxWords:
      return "The number of words you have entered is invalid.  Please enter "
             "a positive integer, or leave the box blank.";
    case kMsgMinWordLengthTooLong:
      return "Search criteria unsatisfiable:\nThe anagram word has too few "
             "letters for words of the minimum length you have entered.";
    case kMsgLengthsAndMaxWords:
      return "Search criteria unsatisfiable:\nA pattern gives the words "
             "itself.  Please leave either the pattern or the number of "
             "words blank.";
    case kMsgLettersExclusive:
      return "Search criteria unsatisfiable:\nA letter that the words must "
             "contain is also one they must not contain.";
    default:
      return nullptr;
  }
}

std::string MalformedPatternText(const char* which,
                                 const std::string& problem) {
  const bool ends_sentence = !problem.empty() && problem.back() == '.';
  std::string sentence = problem;
  // A sentence of its own: "The class at position 1 holds no letter."
  if (!sentence.empty() && sentence[0] >= 'a' && sentence[0] <= 'z') {
    sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
  }
  return std::string("The ") + which + " is not understood:\n" + sentence +
         (ends_sentence ? "" : ".") +
         "\nTo match one of the characters [ ] @ # { } : \\ itself, put a "
         "\\ before it.";
}

}  // namespace vocor
