// The drop-down history of one text input of a search form: the texts that
// were searched with it, most recent first, at most kMaxEntries. Texts are
// kept as typed (UTF-8). The window's combo box wraps one of these; the
// history lives as long as the box and is never stored.
#ifndef VOCOR_SEARCH_INPUT_HISTORY_H_
#define VOCOR_SEARCH_INPUT_HISTORY_H_

#include <string>
#include <vector>

namespace vocor {

class InputHistory {
 public:
  static constexpr int kMaxEntries = 16;

  // Removes the first entry that begins with `text` (letters compared
  // without regard to case), puts `text` first, and drops the oldest entry
  // beyond kMaxEntries. An empty text is entered like any other; as a
  // prefix it matches only an empty entry, so it never pushes a real
  // entry out.
  void AddToHistory(const std::string& text);

  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
};

// Whether `text` begins with `prefix`, comparing letters without regard to
// case (both UTF-8; letters outside Windows-1252 compare exactly).
bool StartsWithIgnoringCase(const std::string& text, const std::string& prefix);

}  // namespace vocor

#endif  // VOCOR_SEARCH_INPUT_HISTORY_H_
