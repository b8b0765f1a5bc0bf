#include "search/input_history.h"

#include "engine/charset.h"

namespace vocor {
namespace {

// Lower-cases through the engine's code page where the character has a
// place in it, and keeps every other character as it is.
std::string FoldForComparison(const std::string& utf8) {
  std::string folded;
  std::string_view rest = utf8;
  while (!rest.empty()) {
    uint32_t cp = 0;
    int len = DecodeUtf8(rest, &cp);
    const int engine = len > 0 ? UnicodeToEngine(cp) : -1;
    if (len == 0) len = 1;  // a stray byte compares as itself
    if (engine >= 0) {
      folded += EngineToUtf8(std::string(
          1, static_cast<char>(
                 EngineToLower(static_cast<unsigned char>(engine)))));
    } else {
      folded.append(rest.substr(0, len));
    }
    rest.remove_prefix(len);
  }
  return folded;
}

}  // namespace

bool StartsWithIgnoringCase(const std::string& text,
                            const std::string& prefix) {
  const std::string folded_text = FoldForComparison(text);
  const std::string folded_prefix = FoldForComparison(prefix);
  return folded_text.compare(0, folded_prefix.size(), folded_prefix) == 0;
}

void InputHistory::AddToHistory(const std::string& text) {
  for (auto it = entries_.begin(); it != entries_.end(); ++it) {
    const bool match =
        text.empty() ? it->empty() : StartsWithIgnoringCase(*it, text);
    if (match) {
      entries_.erase(it);
      break;
    }
  }
  // The prefix rule removes only the first entry that begins with the
  // text, which may be a longer one ("cats" before "cat"); the same text
  // further down would then be listed twice.
  std::erase_if(entries_, [&text](const std::string& entry) {
    return entry.size() == text.size() && StartsWithIgnoringCase(entry, text);
  });
  entries_.insert(entries_.begin(), text);
  if (entries_.size() > static_cast<size_t>(kMaxEntries)) entries_.pop_back();
}

}  // namespace vocor
