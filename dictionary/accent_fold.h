// Folding of Windows-1252 letters to plain ASCII, for English lists whose
// few loanwords should be found as they are typed on an English keyboard
// (cafe finds café only once café is stored as cafe). Accents
// are dropped (é becomes e) and ligatures and special letters are spelled
// out (æ becomes ae, ß ss, þ th). Case is kept: À becomes A.
#ifndef VOCOR_DICTIONARY_ACCENT_FOLD_H_
#define VOCOR_DICTIONARY_ACCENT_FOLD_H_

#include <string>
#include <string_view>

namespace vocor {

// The ASCII spelling of an engine byte: the byte itself below 128, one or
// two ASCII letters for a Windows-1252 letter above 127, and an empty view
// for any other byte (symbols, punctuation, unassigned bytes), which has
// no ASCII spelling.
std::string_view AsciiFoldOf(unsigned char c);

// Folds every byte of `word` (engine text) with AsciiFoldOf into *folded.
// Returns false, leaving *folded unspecified, when a byte has no ASCII
// spelling.
bool FoldToAscii(std::string_view word, std::string* folded);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_ACCENT_FOLD_H_
