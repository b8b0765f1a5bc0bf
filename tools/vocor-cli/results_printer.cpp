#include "tools/vocor-cli/results_printer.h"

#include <cstring>

#include "tools/common/checked_output.h"

namespace vocor::cli {
namespace {

// One write per 64 KiB; a word is at most a few KiB of UTF-8.
constexpr size_t kBufferLimit = size_t{1} << 16;

}  // namespace

ResultsPrinter::ResultsPrinter(bool stream, std::function<void()> before_write)
    : streaming_(stream), before_write_(std::move(before_write)) {
  buffer_.reserve(kBufferLimit * 2);
}

bool ResultsPrinter::AddResult(const char* word, int score) {
  if (!streaming_) {
    held_.AddResult(word, score);
    return true;
  }
  const std::string_view text(word, std::strlen(word));
  std::string key(text);
  EngineLowerInPlace(&key);
  if (printed_any_ && key == last_key_) return true;  // a repeat
  if (printed_any_ && CompareByCodePoints(last_key_, key) >= 0) {
    // Out of order: its place may lie among the words already printed.
    StopStreaming();
    held_.AddResult(word, score);
    return true;
  }
  if (HasBytesOf80To9F(key)) {
    // Results that sort before it by code points may still come.
    waiting_.emplace(std::move(key), Waiting{std::string(text), score});
    return true;
  }
  PrintWaitingBefore(&key);
  last_key_ = std::move(key);
  printed_any_ = true;
  Print(text);
  return true;
}

void ResultsPrinter::StopStreaming() {
  streaming_ = false;
  for (const auto& [key, held] : waiting_) {
    held_.AddResult(held.word.c_str(), held.score);
  }
  waiting_.clear();
}

void ResultsPrinter::PrintWaitingBefore(const std::string* key) {
  auto end = key == nullptr ? waiting_.end() : waiting_.lower_bound(*key);
  for (auto it = waiting_.begin(); it != end; ++it) Print(it->second.word);
  waiting_.erase(waiting_.begin(), end);
}

void ResultsPrinter::Print(std::string_view engine_word) {
  ++count_;
  buffer_ += EngineToUtf8(engine_word);
  buffer_ += '\n';
  if (buffer_.size() >= kBufferLimit) Flush();
}

void ResultsPrinter::Flush() {
  if (buffer_.empty()) return;
  if (before_write_) before_write_();
  tools::WriteOutput(buffer_);
  buffer_.clear();
}

bool ResultsPrinter::EndResults() {
  PrintWaitingBefore(nullptr);
  for (std::string_view word : held_.SortedViews()) {
    buffer_ += word;  // UTF-8 already
    buffer_ += '\n';
    if (buffer_.size() >= kBufferLimit) Flush();
  }
  Flush();
  return !tools::OutputFailed();
}

int ResultsPrinter::GetResultCount() const {
  return count_ + static_cast<int>(waiting_.size()) + held_.GetResultCount();
}

}  // namespace vocor::cli
