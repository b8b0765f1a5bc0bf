#include "search/wordplay_request.h"

#include "dictionary/dictionary.h"
#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"
#include "engine/wordplay.h"
#include "search/equation_request.h"
#include "search/messages.h"

namespace vocor {
namespace {

// The phrase as lower-case engine text, entered into `history` first.
std::string ReadPhrase(const std::string& typed, InputHistory* history) {
  if (history != nullptr) history->AddToHistory(typed);
  std::string text = Utf8ToEngine(ComposedUtf8(typed));
  EngineLowerInPlace(&text);
  return text;
}

SearchRequestResult Refusal(int message, std::string text, int input) {
  SearchRequestResult result;
  result.message = message;
  result.text = std::move(text);
  result.input = input;
  return result;
}

SearchRequestResult NoLetters() {
  return Refusal(0,
                 "The phrase holds no letter.  Please type a phrase: its "
                 "spaces and punctuation are left out.",
                 0);
}

// The root enumerator of an open dictionary, or null.
EnumPtr RootOf(const CDictionary* dictionary) {
  if (dictionary == nullptr || !dictionary->IsOpen()) return nullptr;
  return dictionary->CreateEnumerator();
}

SearchRequestResult Run(EnumPtr query) {
  SearchRequestResult result;
  result.query = std::move(query);
  return result;
}

// Reformats every line of its child for the window.
class CEnumResultsEquationLines final : public CEnumResultsParent1 {
 public:
  explicit CEnumResultsEquationLines(EnumPtr child)
      : CEnumResultsParent1(std::move(child)) {}
  EnumPtr Clone() const override {
    return std::make_unique<CEnumResultsEquationLines>(child()->Clone());
  }
  std::string Describe(int indent) const override {
    return DescribeIndent(indent) + "EquationLines\n" +
           CEnumResultsParent1::Describe(indent);
  }
  const char* Next(int* counter) override {
    const char* line = child()->Next(counter);
    if (line == nullptr) return nullptr;
    line_ = FormatEquationSolution(line);
    return line_.c_str();
  }

 private:
  std::string line_;
};

}  // namespace

SearchRequestResult BuildHiddenWordsRequest(const std::string& phrase,
                                            const std::string& min_length,
                                            bool reversed,
                                            InputHistory* phrase_history,
                                            InputHistory* min_length_history,
                                            const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refusal(0, "", -1);
  int minimum = kDefaultHiddenMinimum;
  if (!min_length.empty()) {
    minimum = ReadLeadingInteger(min_length);
    if (minimum <= 0) return Refusal(kMsgInvalidMinLength, "", 1);
  }
  const std::string text = ReadPhrase(phrase, phrase_history);
  if (min_length_history != nullptr) {
    min_length_history->AddToHistory(min_length);
  }
  if (PhraseLetters(text).empty()) return NoLetters();
  return Run(std::make_unique<CEnumResultsHiddenWords>(std::move(root), text,
                                                       minimum, reversed));
}

SearchRequestResult BuildLetterSelectionsRequest(
    const std::string& phrase, InputHistory* history,
    const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refusal(0, "", -1);
  const std::string text = ReadPhrase(phrase, history);
  if (PhraseLetters(text).empty()) return NoLetters();
  return Run(
      std::make_unique<CEnumResultsLetterSelections>(std::move(root), text));
}

SearchRequestResult BuildSpoonerismRequest(const std::string& words,
                                           InputHistory* history,
                                           const CDictionary* dictionary) {
  EnumPtr root = RootOf(dictionary);
  if (root == nullptr) return Refusal(0, "", -1);
  const std::string text = ReadPhrase(words, history);
  if (PhraseLetters(text).empty()) return NoLetters();
  return Run(std::make_unique<CEnumResultsSpoonerisms>(std::move(root), text));
}

EnumPtr FormatEquationResults(EnumPtr query) {
  if (query == nullptr || IsNone(query.get())) return query;
  return std::make_unique<CEnumResultsEquationLines>(std::move(query));
}

}  // namespace vocor
