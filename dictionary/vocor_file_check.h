// A full check of a binary dictionary file (.dic) against every rule of its
// format, for the dictionary compiler's --check, for tests and for fuzzing.
// Opening a dictionary checks only the magic and the format version; this
// also proves that a reader can walk the whole tree without leaving the
// file, and that its counts and path lengths are what the reader assumes.
#ifndef VOCOR_DICTIONARY_VOCOR_FILE_CHECK_H_
#define VOCOR_DICTIONARY_VOCOR_FILE_CHECK_H_

#include <cstdint>
#include <string>
#include <string_view>

#include "dictionary/vocor_format.h"

namespace vocor {

// What a check learns about a file.
struct VocorFileFacts {
  VocorHeader header;        // name and notes in engine text
  int32_t notes_offset = 0;  // where the notes text starts
  // Found by walking the tree.
  int nodes = 0;         // distinct nodes reachable from the root
  int longest_path = 0;  // letters on the longest path from the root
  // The score section's offset; 0 when the file has none.
  uint32_t scores_offset = 0;
  // The letter summaries' offset; 0 when the file has none.
  uint32_t summaries_offset = 0;
  // The word endings' offset; 0 when the file has none.
  uint32_t endings_offset = 0;
};

// Checks `bytes`, the whole file: the header (magic with its NUL, format
// version 201, a NUL-terminated name within its 128 bytes, a size field
// equal to the file's length, a NUL-terminated notes text inside the file,
// a root node inside the file) and the tree reachable from the root (every
// node and its entries inside the file, letters only (IsVocorLetter) and none
// twice in a node, each node's count equal to the sum over its children of
// terminal flag plus count and below 2^23, the header's word count equal to the
// root's count plus its terminal flag, no path longer than 999 letters, no
// cycle), and the score section when the header names one (its marker
// inside the file, as many scores as words, all inside the file, each
// kMinScore..kMaxScore), and the letter summaries when the header names
// them (see CheckLetterSummaries), and the word endings when it names them
// (see CheckWordEndings). A node shared by several parents is checked once,
// so the check takes time linear in the file's size.
//
// Returns true when every rule holds. Otherwise returns false with a
// one-line reason in *reason. *facts receives the fields read before the
// failure; the others keep their defaults.
bool CheckVocorFile(std::string_view bytes, VocorFileFacts* facts,
                    std::string* reason);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_FILE_CHECK_H_
