#include "search/equation_request.h"

namespace vocor {

SearchRequestResult BuildEquationRequest(const std::string& equation,
                                         InputHistory* history,
                                         const CDictionary* dictionary) {
  (void)dictionary;
  if (history != nullptr) history->AddToHistory(equation);
  SearchRequestResult refused;
  refused.text = "Equations are not ready yet.";
  refused.input = 0;
  return refused;
}

std::string FormatEquationSolution(std::string_view line) {
  std::string out;
  out.reserve(line.size() + 8);
  size_t index = 0;
  for (const char c : line) {
    if (c != ';') {
      out += c;
      continue;
    }
    out += index++ == 0 ? " = " : " + ";
  }
  return out;
}

}  // namespace vocor
