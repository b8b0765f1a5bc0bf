// Parsing of key paths and folding of key and value names.
#ifndef VOCOR_SETTINGS_KEY_PATH_H_
#define VOCOR_SETTINGS_KEY_PATH_H_

#include <string>
#include <string_view>
#include <vector>

namespace vocor {

// One level of a key path: the name as the caller spelled it (kept when the
// key is created) and its folded form (used for every comparison).
struct KeyLevel {
  std::string name;
  std::string folded;
};

// Splits `text` at its backslashes into *levels. Empty levels are dropped,
// so leading, trailing and doubled backslashes change nothing
// ("Software\Vocor\" names the same key as "Software\Vocor"). Returns false,
// leaving *levels empty, when `text` is null or names no level at all.
bool ParseKeyPath(const char* text, std::vector<KeyLevel>* levels);

// The form in which names are compared and ordered: ASCII letters in upper
// case, every other byte unchanged. Upper case rather than lower case
// because that is how the registry orders names: '_' sorts before letters.
std::string FoldName(std::string_view name);

}  // namespace vocor

#endif  // VOCOR_SETTINGS_KEY_PATH_H_
