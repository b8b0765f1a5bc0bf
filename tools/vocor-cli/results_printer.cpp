#include "tools/vocor-cli/results_printer.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "tools/common/checked_output.h"

namespace vocor::cli {
namespace {

// One write per 64 KiB; a word is at most a few KiB of UTF-8.
constexpr size_t kBufferLimit = size_t{1} << 16;

}  // namespace

ResultsPrinter::ResultsPrinter(bool stream, std::function<void()> before_write,
                               PrintFormat format)
    : streaming_(stream && !format.as_ranked),
      before_write_(std::move(before_write)),
      format_(format) {
  buffer_.reserve(kBufferLimit * 2);
}

bool ResultsPrinter::AddResult(const char* word, int score) {
  if (format_.as_ranked) {
    Print(word, score);
    return true;
  }
  if (!streaming_) {
    held_.AddResult(word, score);
    return true;
  }
  const std::string_view text(word, std::strlen(word));
  const bool high = LowerIntoKey(text);
  const std::string& key = key_;
  if (printed_any_ && key == last_key_) {  // a repeat
    if (pending_) pending_score_ = std::max(pending_score_, score);
    return true;
  }
  // The last key printed holds no byte of 0x80-0x9F: without one here too,
  // code point order is byte order (see HasBytesOf80To9F).
  if (printed_any_ && (high ? CompareByCodePoints(last_key_, key)
                            : std::string_view(last_key_).compare(key)) >= 0) {
    // Out of order: its place may lie among the words already printed.
    StopStreaming();
    held_.AddResult(word, score);
    return true;
  }
  if (high) {
    // Results that sort before it by code points may still come.
    auto [it, added] =
        waiting_.try_emplace(key, Waiting{std::string(text), score});
    if (!added) it->second.score = std::max(it->second.score, score);
    return true;
  }
  PrintPending();
  PrintWaitingBefore(&key);
  last_key_.swap(key_);  // both keep their capacity
  printed_any_ = true;
  if (!format_.show_scores) {
    Print(text, score);  // a repeat's score would change nothing printed
    return true;
  }
  pending_ = true;
  pending_word_.assign(text);
  pending_score_ = score;
  return true;
}

bool ResultsPrinter::LowerIntoKey(std::string_view text) {
  key_.resize(text.size());
  std::transform(text.begin(), text.end(), key_.begin(), [](char c) {
    return static_cast<char>(EngineToLower(static_cast<unsigned char>(c)));
  });
  return HasBytesOf80To9F(key_);
}

void ResultsPrinter::PrintPending() {
  if (!pending_) return;
  pending_ = false;
  Print(pending_word_, pending_score_);
}

void ResultsPrinter::StopStreaming() {
  streaming_ = false;
  PrintPending();
  for (const auto& [key, held] : waiting_) {
    held_.AddResult(held.word.c_str(), held.score);
  }
  waiting_.clear();
}

void ResultsPrinter::PrintWaitingBefore(const std::string* key) {
  auto end = key == nullptr ? waiting_.end() : waiting_.lower_bound(*key);
  for (auto it = waiting_.begin(); it != end; ++it) {
    Print(it->second.word, it->second.score);
  }
  waiting_.erase(waiting_.begin(), end);
}

void ResultsPrinter::AppendScore(int score) {
  if (!format_.show_scores) return;
  buffer_ += '\t';
  buffer_ += std::to_string(score);
}

void ResultsPrinter::Print(std::string_view engine_word, int score) {
  ++count_;
  AppendEngineAsUtf8(engine_word, &buffer_);
  AppendScore(score);
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
  PrintPending();
  PrintWaitingBefore(nullptr);
  held_.StopAdding();
  for (const ScoredView& result :
       held_.OrderedResults(ResultOrder::kAlphabetical)) {
    buffer_ += result.text;  // UTF-8 already
    AppendScore(result.score);
    buffer_ += '\n';
    if (buffer_.size() >= kBufferLimit) Flush();
  }
  Flush();
  return !tools::OutputFailed();
}

int ResultsPrinter::GetResultCount() const {
  return count_ + (pending_ ? 1 : 0) + static_cast<int>(waiting_.size()) +
         held_.GetResultCount();
}

}  // namespace vocor::cli
