// Texts the search front end shows, by their string-table ids.
#ifndef VOCOR_SEARCH_MESSAGES_H_
#define VOCOR_SEARCH_MESSAGES_H_

namespace vocor {

constexpr int kMsgMatchLimit = 1024;
constexpr int kMsgAnagramNeedsMoreLetters = 1048;
constexpr int kMsgPatternsExclusive = 1049;
constexpr int kMsgInvalidMinLength = 1050;
constexpr int kMsgInvalidMaxWords = 1051;
constexpr int kMsgMinWordLengthTooLong = 1052;
constexpr int kMsgLengthsAndMaxWords = 1053;

// The text of a message id, or null for an unknown id.
const char* MessageText(int id);

}  // namespace vocor

#endif  // VOCOR_SEARCH_MESSAGES_H_
