#include "compiler/hunspell_stems.h"

#include <algorithm>
#include <charconv>

#include "compiler/hunspell_text.h"

namespace vocor::hunspell {
namespace {

// Splits an entry "word/flags" at its first slash that is neither
// escaped ("\/" is a slash of the word) nor its first character (a word
// of its own); *word loses the escapes.
void SplitEntry(std::string_view entry, std::string* word,
                std::string_view* flags) {
  word->clear();
  *flags = {};
  for (size_t i = 0; i < entry.size(); ++i) {
    if (entry[i] == '\\' && i + 1 < entry.size() && entry[i + 1] == '/') {
      *word += '/';
      ++i;
    } else if (entry[i] == '/' && i > 0) {
      *flags = entry.substr(i + 1);
      return;
    } else {
      *word += entry[i];
    }
  }
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The entry of a line without its morphology: that starts at the first
// tab, or at a field "xx:" after a blank, blanks before it dropped. Blanks
// elsewhere belong to the entry ("ad hoc" is one entry).
std::string_view EntryOf(std::string_view line) {
  size_t colon = 0;
  while ((colon = line.find(':', colon)) != std::string_view::npos) {
    if (colon > 3 && IsBlank(line[colon - 3])) break;
    ++colon;
  }
  size_t end = line.find('\t');
  if (colon != std::string_view::npos && colon - 3 < end) {
    end = colon - 3;
    while (end > 0 && IsBlank(line[end - 1])) --end;
  }
  return line.substr(0, end);
}

bool ReadAnnounced(std::string_view line, int64_t* count) {
  const std::vector<std::string_view> fields = Fields(line);
  if (fields.empty()) return false;
  const std::string_view number = fields[0];
  const char* end = number.data() + number.size();
  const auto [stop, error] = std::from_chars(number.data(), end, *count);
  return error == std::errc() && stop == end && *count >= 0;
}

}  // namespace

bool ReadStemList(std::string_view text, const AffixRules& rules,
                  size_t max_examples, StemList* stems, int64_t* line,
                  std::string* reason) {
  LineReader lines(text);
  std::string_view first;
  if (!lines.Next(&first) || !ReadAnnounced(first, &stems->announced)) {
    *line = 1;
    *reason = "the first line should give the number of stems";
    return false;
  }
  stems->entries.reserve(static_cast<size_t>(
      std::min<int64_t>(stems->announced, int64_t{1} << 24)));
  std::string word;
  std::string engine;
  std::string_view flag_field;
  std::vector<FlagId> flags;
  std::string_view entry;
  while (lines.Next(&entry)) {
    entry = EntryOf(entry);
    // A line starting with a blank is a comment.
    if (entry.empty() || IsBlank(entry[0])) continue;
    SplitEntry(entry, &word, &flag_field);
    bool broken = false;
    if (!rules.LenientStemFlags(flag_field, &flags, &broken, reason)) {
      *line = lines.number();
      return false;
    }
    if (broken && stems->broken_flags++ < static_cast<int64_t>(max_examples)) {
      stems->broken_flag_lines.push_back(lines.number());
    }
    RemoveIgnored(rules.ignored, &word);
    if (word.empty()) continue;
    if (IsBlank(word.back())) {
      // Its word ends in a blank that no checked word ever has.
      ++stems->blank_ended;
      continue;
    }
    if (!Utf8ToEngineText(word, &engine)) {
      ++stems->foreign;
      if (stems->foreign_examples.size() < max_examples) {
        stems->foreign_examples.push_back(word);
      }
      continue;
    }
    stems->entries.push_back({static_cast<uint32_t>(stems->text.size()),
                              static_cast<uint32_t>(engine.size()),
                              static_cast<uint32_t>(stems->flags.size()),
                              static_cast<uint32_t>(flags.size())});
    stems->text += engine;
    stems->flags.insert(stems->flags.end(), flags.begin(), flags.end());
  }
  return true;
}

}  // namespace vocor::hunspell
