// The results sink of vocor-cli: prints each result as soon as its place
// in the sorted output is certain, instead of holding every result until
// the search ends. A search with millions of results then runs in
// constant memory and shows its first results at once.
#ifndef VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_
#define VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_

#include <string>
#include <string_view>

#include "search/results_sink.h"

namespace vocor::cli {

// Output is one UTF-8 result per line, each word once (ignoring case; the
// first spelling wins), in ascending order of code points, the order of
// CResultsSinkSorted.
//
// Streaming applies while results arrive in that order, which a single
// dictionary's query gives: only the last result is kept, to drop repeats
// of it. A result that arrives out of order ends streaming: it and every
// later result are held, de-duplicated and sorted, and printed after the
// streamed ones by EndResults. Queries that can repeat words out of order
// (a union of dictionaries, an unsorted list) must start holding, so that
// every repeat is found.
class ResultsPrinter : public CResultsSink {
 public:
  explicit ResultsPrinter(bool stream);

  bool AddResult(const char* word) override;
  // Prints what is held and flushes the printer's buffer.
  bool EndResults() override;
  int GetResultCount() const override;

  // Whether the results were all printed as they came so far.
  bool streaming() const { return streaming_; }

 private:
  void Print(std::string_view engine_word);
  void Flush();

  bool streaming_;
  int count_ = 0;
  std::string last_key_;  // lower-cased engine text of the last printed
  bool printed_any_ = false;
  std::string buffer_;  // UTF-8 lines not yet written
  CResultsSinkSorted held_;
};

// Whether engine text `a` sorts before `b` once both are UTF-8, that is in
// the order of their characters' code points (not of their bytes: the
// code page's 0x80 to 0x9F hold characters above U+00FF).
bool EngineTextLess(std::string_view a, std::string_view b);

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_RESULTS_PRINTER_H_
