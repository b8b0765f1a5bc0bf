// Texts the search front end shows, by their string-table ids.
#ifndef VOCOR_SEARCH_MESSAGES_H_
#define VOCOR_SEARCH_MESSAGES_H_

#include <string>

namespace vocor {

constexpr int kMsgMatchLimit = 1024;
constexpr int kMsgAnagramNeedsMoreLetters = 1048;
constexpr int kMsgPatternsExclusive = 1049;
constexpr int kMsgInvalidMinLength = 1050;
constexpr int kMsgInvalidMaxWords = 1051;
constexpr int kMsgMinWordLengthTooLong = 1052;
constexpr int kMsgLengthsAndMaxWords = 1053;
constexpr int kMsgLettersExclusive = 1054;

// The text of a message id, or null for an unknown id.
const char* MessageText(int id);

// The text that refuses a malformed pattern: which pattern (`which`, e.g.
// "pattern" or "second pattern"), what is wrong and where (`problem`, as
// CheckPatternSyntax words it), and how to match a special character
// itself.
std::string MalformedPatternText(const char* which, const std::string& problem);

}  // namespace vocor

#endif  // VOCOR_SEARCH_MESSAGES_H_
