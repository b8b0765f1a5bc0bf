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
    default:
      return nullptr;
  }
}

}  // namespace vocor
