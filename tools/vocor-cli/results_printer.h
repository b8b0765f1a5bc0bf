// The results sink of vocor-cli: prints each result as soon as its place
// in the sorted output is certain, instead of holding every result until
// the search ends. A search with millions of results then runs in
// constant memory and shows its first results at once.
#ifndef VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_
#define VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "engine/charset.h"
#include "search/results_sink.h"

namespace vocor::cli {

// Output is one UTF-8 result per line, each word once (ignoring case; the
// first spelling wins), in ascending order of code points, the order of
// CResultsSinkSorted and of `LC_ALL=C sort`.
//
// Streaming applies while results arrive sorted, by code points or by the
// bytes of their engine text, as a single dictionary's query gives them
// (a letter tree is walked in byte order; a text list may be sorted either
// way). The two orders agree except for the letters of 0x80-0x9F (š, œ,
// ž, ƒ), whose code points lie above every other letter's: a result
// holding one waits, sorted, until a later result without one passes it,
// so that "cœur" is printed after "céder" although the walk finds it
// first. Only those results and the last printed one are kept.
//
// A result that arrives out of order ends streaming: it and every later
// result are held, de-duplicated and sorted, and printed after the
// streamed ones by EndResults. Queries that can repeat words out of order
// (a union of dictionaries, an unsorted list) must start holding, so that
// every repeat is found.
// What a line holds and in which order lines come.
struct PrintFormat {
  // Each result followed by a TAB and its score.
  bool show_scores = false;
  // The results are printed in the order they arrive, each once: the
  // query yields them ranked and without repeats (score order).
  bool as_ranked = false;
};

class ResultsPrinter : public CResultsSink {
 public:
  // `before_write` is called before each write to standard output (to
  // take a progress bar off the terminal); it may be empty.
  explicit ResultsPrinter(bool stream, std::function<void()> before_write = {},
                          PrintFormat format = PrintFormat());

  bool AddResult(const char* word, int score) override;
  // Prints what is held and flushes the printer's buffer.
  bool EndResults() override;
  int GetResultCount() const override;
  // Scores are printed, or ranked results arrive with theirs; otherwise a
  // repeat's higher score changes nothing that is printed.
  bool UsesScores() const override {
    return format_.show_scores || format_.as_ranked;
  }

  // Whether the results were all printed as they came so far.
  bool streaming() const { return streaming_; }

 private:
  struct CodePointLess {
    bool operator()(const std::string& a, const std::string& b) const {
      return CompareByCodePoints(a, b) < 0;
    }
  };

  // Sets key_ to the lower-cased `text`; true when the key holds a byte of
  // 0x80-0x9F, whose code points sort apart from their bytes.
  bool LowerIntoKey(std::string_view text);
  void StopStreaming();
  // Prints the last streamed result, held back until its score is final:
  // a repeat next to it may carry a higher one.
  void PrintPending();
  // Prints the waiting results that sort before `key` (all with null).
  void PrintWaitingBefore(const std::string* key);
  void Print(std::string_view engine_word, int score);
  void AppendScore(int score);
  void Flush();

  bool streaming_;
  std::function<void()> before_write_;
  PrintFormat format_;
  bool pending_ = false;
  std::string pending_word_;  // engine text
  int pending_score_ = 0;
  int count_ = 0;
  // Lower-cased engine text of the last result printed as it came.
  std::string last_key_;
  std::string key_;  // the key of the word being added
  bool printed_any_ = false;
  // Results holding a byte of 0x80-0x9F, by lower-cased engine text.
  struct Waiting {
    std::string word;
    int score;
  };
  std::map<std::string, Waiting, CodePointLess> waiting_;
  std::string buffer_;  // UTF-8 lines not yet written
  CResultsSinkSorted held_;
};

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_
