// Word equations: the request behind the Wordplay tab's Equation box and
// `vocor-cli equation`. An equation is patterns separated by ';' whose
// upper-case letters A-Z are variables, each a non-empty run of letters
// that is the same run wherever it appears; `~A` is A reversed; lower-case
// letters and every element of the pattern language mean what they mean in
// a pattern. Constraints on the variables follow the patterns: `|A|=3`,
// `|A|>=3`, `|A|<=5`, `A!=B`. The language and the solver are described in
// engine/equation.h.
//
//   AB;A;B;|A|>=3;|B|>=3   charades: rainbow = rain + bow
//   A~A                    even palindromes: redder
//   AB;BA                  rotations
//   A?B;AB                 one letter inserted (AxB;AB: an x)
//   ABC;AC;B               containers
//   A;~A                   reversals: evil = live
//   AA                     doubled words
//
// Each solution is one result: the words of the patterns, in pattern
// order, joined by ';' (`rainbow;rain;bow`).
#ifndef VOCOR_SEARCH_EQUATION_REQUEST_H_
#define VOCOR_SEARCH_EQUATION_REQUEST_H_

#include <string>
#include <string_view>

#include "search/search_request.h"

namespace vocor {

class CDictionary;

// Equation: the solutions of `equation` (UTF-8, as typed) over
// `dictionary`. The text is entered into `history` (may be null) as typed
// and converted to engine text; upper-case A-Z stay variables, every other
// character is lower-cased as in a pattern. A malformed equation is refused
// with its problem in `text` and the 1-based character position of the
// fault in `position` (input 0); an equation that can have no solution (a
// constraint no variable can meet) runs and finds nothing.
SearchRequestResult BuildEquationRequest(const std::string& equation,
                                         InputHistory* history,
                                         const CDictionary* dictionary);

// How one solution reads in the window: the first pattern's word, " = ",
// then the other patterns' words joined by " + ". So `rainbow;rain;bow`
// reads `rainbow = rain + bow`, `evil;live` (A;~A) reads `evil = live`,
// `tabs;stab` (AB;BA) `tabs = stab`, and a one-pattern solution (`A~A`,
// `AA`) is the word alone. Empty words are kept as they are.
std::string FormatEquationSolution(std::string_view line);

}  // namespace vocor

#endif  // VOCOR_SEARCH_EQUATION_REQUEST_H_
