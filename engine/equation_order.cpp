#include "engine/equation_order.h"

#include <algorithm>

#include "engine/charset.h"

namespace vocor {
namespace {

// Whether `word` goes on from `stem` with a character that sorts before
// ';', so that its lines sort before the stem's.
bool ExtendsBelowSeparator(const std::string& word, const std::string& stem) {
  return word.size() > stem.size() && word.compare(0, stem.size(), stem) == 0 &&
         static_cast<unsigned char>(word[stem.size()]) < ';';
}

std::string Lowered(const std::string& text) {
  std::string key = text;
  EngineLowerInPlace(&key);
  return key;
}

}  // namespace

void SolutionOrder::Release(Group* group) {
  if (group->lines.size() == 1) {
    ready_.push_back(std::move(group->lines.front()));
    return;
  }
  std::vector<std::pair<std::string, std::string*>> keyed;
  for (std::string& line : group->lines)
    keyed.emplace_back(Lowered(line), &line);
  std::stable_sort(keyed.begin(), keyed.end(),
                   [](const auto& a, const auto& b) {
                     return CompareByCodePoints(a.first, b.first) < 0;
                   });
  for (auto& entry : keyed) ready_.push_back(std::move(*entry.second));
}

void SolutionOrder::Settle(const std::string& key) {
  while (!stack_.empty() && !ExtendsBelowSeparator(key, stack_.back().key)) {
    Release(&stack_.back());
    stack_.pop_back();
  }
}

void SolutionOrder::Add(const std::string& word, const std::string& line) {
  if (!ordering_) {
    ready_.push_back(line);
    return;
  }
  if (stack_.empty() || word != last_word_) {
    last_word_ = word;
    std::string key = Lowered(word);
    if (stack_.empty() || stack_.back().key != key) {
      Settle(key);
      stack_.push_back(Group{std::move(key), {}});
    }
  }
  stack_.back().lines.push_back(line);
  if (stack_.back().lines.size() > kMaxGroup) {
    ordering_ = false;
    Finish();
  }
}

void SolutionOrder::Finish() {
  while (!stack_.empty()) {
    Release(&stack_.back());
    stack_.pop_back();
  }
}

bool SolutionOrder::Pop(std::string* line) {
  if (ready_.empty()) return false;
  *line = std::move(ready_.front());
  ready_.pop_front();
  return true;
}

void SolutionOrder::Clear() {
  ordering_ = true;
  last_word_.clear();
  stack_.clear();
  ready_.clear();
}

}  // namespace vocor
