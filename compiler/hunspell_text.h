// The text of a Hunspell pair's files: the encoding the affix file names,
// its conversion to UTF-8 (with ICU), the lines, the fields of a line, and
// the step from UTF-8 to engine text. Both files of a pair share the
// affix file's encoding.
#ifndef VOCOR_COMPILER_HUNSPELL_TEXT_H_
#define VOCOR_COMPILER_HUNSPELL_TEXT_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vocor::hunspell {

// The encoding an affix file names on its SET line ("" when it has none),
// read from its raw bytes (the name is ASCII in every encoding).
std::string DeclaredEncoding(std::string_view affix_bytes);

// The encoding both files are read in: the declared one, or without one
// UTF-8 when the affix file's bytes are UTF-8 and ISO-8859-1 (what a file
// without SET means to a spell checker) otherwise.
std::string EffectiveEncoding(const std::string& declared,
                              std::string_view affix_bytes);

// Whether `encoding` names UTF-8. In a UTF-8 file, flags of one or two
// characters are read byte by byte; in a file decoded from a one-byte
// encoding, character by character (each was one byte).
bool IsUtf8Encoding(const std::string& encoding);

// A file's bytes decoded from `encoding` into UTF-8. Fails with "line N: reason" in *reason when
// the encoding is unknown, when bytes do not decode as it says, and when a
// file declaring a one-byte encoding is UTF-8 with letters beyond ASCII (a
// file converted without its SET line changed, which would otherwise turn
// every accented letter into two wrong ones). A byte-order mark is dropped.
bool DecodeToUtf8(std::string_view bytes, const std::string& encoding,
                  std::string* utf8, std::string* reason);

// Walks the lines of a text (ending at LF, a CR before it dropped),
// numbering them from 1.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {}
  // The next line into *line; false at the end.
  bool Next(std::string_view* line);
  int64_t number() const { return number_; }
  size_t offset() const { return offset_; }  // bytes read so far

 private:
  std::string_view text_;
  size_t offset_ = 0;
  int64_t number_ = 0;
};

// The fields of a line, separated by spaces and tabs.
std::vector<std::string_view> Fields(std::string_view line);

// Writes the engine text of the UTF-8 `text` to *engine (composed first
// where that helps); false when a character has no Windows-1252 byte.
bool Utf8ToEngineText(std::string_view text, std::string* engine);

// Removes from the UTF-8 `text` every code point of `ignored` (sorted).
void RemoveIgnored(const std::vector<uint32_t>& ignored, std::string* text);

}  // namespace vocor::hunspell

#endif  // VOCOR_COMPILER_HUNSPELL_TEXT_H_
