#include "tools/vocor-cli/results_printer.h"

#include <algorithm>
#include <cstring>

#include "engine/charset.h"
#include "tools/common/checked_output.h"

namespace vocor::cli {
namespace {

// One write per 64 KiB; a word is at most a few KiB of UTF-8.
constexpr size_t kBufferLimit = size_t{1} << 16;

}  // namespace

bool EngineTextLess(std::string_view a, std::string_view b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return EngineToUnicode(static_cast<unsigned char>(x)) <
               EngineToUnicode(static_cast<unsigned char>(y));
      });
}

ResultsPrinter::ResultsPrinter(bool stream) : streaming_(stream) {
  buffer_.reserve(kBufferLimit * 2);
}

bool ResultsPrinter::AddResult(const char* word) {
  if (!streaming_) {
    held_.AddResult(word);
    return true;
  }
  const std::string_view text(word, std::strlen(word));
  std::string key(text);
  EngineLowerInPlace(&key);
  if (printed_any_ && key == last_key_) return true;  // a repeat
  if (printed_any_ && !EngineTextLess(last_key_, key)) {
    // Out of order: its place may lie among the words already printed.
    streaming_ = false;
    held_.AddResult(word);
    return true;
  }
  last_key_ = std::move(key);
  printed_any_ = true;
  ++count_;
  Print(text);
  return true;
}

void ResultsPrinter::Print(std::string_view engine_word) {
  buffer_ += EngineToUtf8(engine_word);
  buffer_ += '\n';
  if (buffer_.size() >= kBufferLimit) Flush();
}

void ResultsPrinter::Flush() {
  tools::WriteOutput(buffer_);
  buffer_.clear();
}

bool ResultsPrinter::EndResults() {
  for (std::string_view word : held_.SortedViews()) {
    buffer_ += word;  // UTF-8 already
    buffer_ += '\n';
    if (buffer_.size() >= kBufferLimit) Flush();
  }
  Flush();
  return !tools::OutputFailed();
}

int ResultsPrinter::GetResultCount() const {
  return count_ + held_.GetResultCount();
}

}  // namespace vocor::cli
