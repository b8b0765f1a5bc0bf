#include "search/equation_request.h"

#include <memory>

#include "dictionary/dictionary.h"
#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"
#include "engine/equation.h"
#include "search/messages.h"

namespace vocor {
namespace {

// The typed equation as engine text: composed first (a base letter and a
// combining mark are one letter), then lower-cased except the variables.
// A character the code page cannot hold becomes DEL, which no word holds.
std::string EquationToEngine(const std::string& typed) {
  std::string text = Utf8ToEngine(ComposedUtf8(typed), '\x7f');
  for (char& c : text) {
    if (c < 'A' || c > 'Z') {
      c = static_cast<char>(EngineToLower(static_cast<unsigned char>(c)));
    }
  }
  return text;
}

}  // namespace

SearchRequestResult BuildEquationRequest(const std::string& equation,
                                         InputHistory* history,
                                         const CDictionary* dictionary) {
  SearchRequestResult result;
  if (dictionary == nullptr || !dictionary->IsOpen()) return result;
  if (history != nullptr) history->AddToHistory(equation);
  Equation parsed;
  PatternError error;
  if (!ParseEquation(EquationToEngine(equation).c_str(), &parsed, &error)) {
    result.text = MalformedPatternText("equation", EngineToUtf8(error.message));
    result.input = 0;
    result.position = error.position;
    return result;
  }
  result.query = std::make_unique<CEnumResultsEquation>(
      dictionary->CreateEnumerator(), parsed);
  return result;
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
