// Writes binary dictionary files (.dic): a minimized letter tree with word
// counts per node, in the layout that CDictionaryVocorFile reads (see
// docs/dic-format.md). Used by the dictionary compiler and by tests.
#ifndef VOCOR_DICTIONARY_VOCOR_FILE_WRITER_H_
#define VOCOR_DICTIONARY_VOCOR_FILE_WRITER_H_

#include <cstdint>
#include <string>
#include <vector>

namespace vocor {

struct VocorFileInfo {
  std::string name;             // at most 127 bytes, engine text
  int dictionary_version = 100;  // hundredths: 150 is shown as 1.50
  uint32_t language = 0;        // Windows locale id; 0 = unknown
  std::string notes;            // engine text, no NUL inside
};

struct VocorFileStats {
  int words = 0;  // words stored
  int nodes = 0;  // distinct nodes written
  int bytes = 0;  // size of the file
};

// Builds the whole file for `words` (engine text; each word 1 to 999
// letters, every letter an IsVocorLetter; duplicates are allowed and
// stored once; order does not matter: entries are written in ascending
// letter order, so the file yields its words sorted, each word before its
// extensions). Identical subtrees are stored once. Bytes the reader does
// not read are zero; the header's size field is the file's size.
//
// Returns false, with a one-line reason in *error and *out untouched, when
// the input breaks a rule or the result would break a limit of the format
// (no word at all, a bad letter or length, more than 127 different letters
// after one prefix, more than 16 MiB of nodes,
// counts beyond 24 bits, a name over 127 bytes).
bool BuildVocorFile(const std::vector<std::string>& words,
                    const VocorFileInfo& info, std::string* out,
                    VocorFileStats* stats, std::string* error);

// The same with scores: `scores[i]` (kMinScore..kMaxScore) is the score of
// `words[i]`, and a word given twice keeps its highest score. An empty
// `scores` writes the file above, without a score section; otherwise
// `scores` has one entry per word, and the file gets a score section after
// the notes (one byte per stored word, in the order the file yields them).
// Fails, as above, also when the scores do not match the words in number
// or one lies outside kMinScore..kMaxScore.
bool BuildVocorFile(const std::vector<std::string>& words,
                    const std::vector<uint8_t>& scores,
                    const VocorFileInfo& info, std::string* out,
                    VocorFileStats* stats, std::string* error);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_FILE_WRITER_H_
