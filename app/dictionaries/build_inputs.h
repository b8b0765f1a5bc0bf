// The sources a dictionary is built from, as the Build Dictionary dialog
// lists them: plain word lists, and spell checkers' dictionaries, each a
// Hunspell pair of an affix file (LANG.aff) and a stem list (LANG.dic)
// side by side. The user adds either file of a pair, or both; a .dic file
// is a stem list when an .aff file of the same name lies beside it, and a
// word list otherwise.
#ifndef VOCOR_APP_DICTIONARIES_BUILD_INPUTS_H_
#define VOCOR_APP_DICTIONARIES_BUILD_INPUTS_H_

#include <string>
#include <vector>

#include "compiler/hunspell_expand.h"

namespace vocor {

// What one path of the dialog's list stands for.
enum class InputKind {
  kWordList,       // a plain word list
  kHunspellPair,   // one file of a spell checker's pair; the other exists
  kAffixWithout,   // an affix file whose stem list is missing
};

// Tells what `path` is, looking beside it for the other file of a pair;
// for a pair (and for kAffixWithout, the stem list expected) sets *pair.
// The extensions are told apart without regard to case, and the other
// file is looked for in the case of the first (de.AFF with de.DIC).
InputKind ClassifyInput(const std::string& path, HunspellPair* pair);

struct BuildInputs {
  std::vector<std::string> word_lists;
  std::vector<HunspellPair> hunspell;  // each pair once, in the order added
};

// Sorts the dialog's `paths` into word lists and pairs; both files of a
// pair named make the pair once. Returns false with the message that says
// what to add in *error when an affix file has no stem list beside it.
bool SortBuildInputs(const std::vector<std::string>& paths,
                     BuildInputs* inputs, std::string* error);

// Every file the inputs read: the word lists and both files of each pair,
// which the output must not overwrite.
std::vector<std::string> FilesRead(const BuildInputs& inputs);

// The text of `path` in the dialog's list: the path, and for a pair what
// it is read as: "/d/de_DE.aff (spell-checker dictionary with de_DE.dic)".
std::string InputLabel(const std::string& path);

// The lines that tell what an expansion of spell-checker dictionaries
// read and left out, for the dialog's report; "" when there was none.
std::string HunspellReportLines(const HunspellReport& report);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_BUILD_INPUTS_H_
