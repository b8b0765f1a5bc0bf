// Requests of the cryptic helpers (engine/wordplay.h), and of the window's
// equation results: the bridge from what was typed to a query over the
// active dictionary, as search/search_request.h is for the other forms.
// Each request enters the texts it reads into their histories (as typed),
// converts them to lower-case engine text and builds the query; the result
// lines are described in engine/wordplay.h.
//
// Refusals. A minimum length that is not a positive integer is refused
// with message 1050 (input 1) before any history changes, as the Hidden
// form refuses its minimum. A phrase without a letter is refused with a
// text of its own naming input 0. Without a dictionary the refusal is
// silent, as for every form.
#ifndef VOCOR_SEARCH_WORDPLAY_REQUEST_H_
#define VOCOR_SEARCH_WORDPLAY_REQUEST_H_

#include <string>

#include "engine/enum_results.h"
#include "search/search_request.h"

namespace vocor {

class CDictionary;

// The hidden-word minimum when the box is left empty.
constexpr int kDefaultHiddenMinimum = 3;

// Hidden words in `phrase`, at least `min_length` letters long (empty:
// kDefaultHiddenMinimum), read backwards too when `reversed`.
SearchRequestResult BuildHiddenWordsRequest(const std::string& phrase,
                                            const std::string& min_length,
                                            bool reversed,
                                            InputHistory* phrase_history,
                                            InputHistory* min_length_history,
                                            const CDictionary* dictionary);

// The first, last, odd and even letters of `phrase`, with their anagrams.
SearchRequestResult BuildLetterSelectionsRequest(const std::string& phrase,
                                                 InputHistory* history,
                                                 const CDictionary* dictionary);

// Spoonerisms of `words`: two words or more, or one word to split.
SearchRequestResult BuildSpoonerismRequest(const std::string& words,
                                           InputHistory* history,
                                           const CDictionary* dictionary);

// `query` with every result line passed through FormatEquationSolution:
// how the window lists an equation's solutions.
EnumPtr FormatEquationResults(EnumPtr query);

}  // namespace vocor

#endif  // VOCOR_SEARCH_WORDPLAY_REQUEST_H_
