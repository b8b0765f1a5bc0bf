// What the Build Dictionary dialog decides without a widget: the language
// choices, the checks of the form, and the texts that report a compile.
#ifndef VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_FORM_H_
#define VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_FORM_H_

#include <cstdint>
#include <string>
#include <vector>

#include "compiler/dictionary_compiler.h"

namespace vocor {

class DictionaryState;

struct LanguageChoice {
  uint32_t lcid;     // Windows locale id; 0 = unknown
  std::string name;  // UTF-8 (LanguageName)
};

// "Unknown" first, then the languages of common Windows locale ids,
// ordered by name.
std::vector<LanguageChoice> LanguageChoices();

// The dialog's fields, UTF-8.
struct BuildForm {
  std::string name;  // empty: the output file's base name
  std::string version;
  uint32_t language = 0;
  std::string notes;
  bool fold_accents = false;
  bool skip_possessives = false;
  bool skip_abbreviations = false;
  // Leaves out the forms of spell-checker dictionaries that take a suffix
  // on top of a suffix, for languages that make more forms than a
  // dictionary holds.
  bool skip_two_level_suffixes = false;
  // Leaves out their forms with both a prefix and a suffix, for languages
  // whose prefixes multiply every form (Italian dell').
  bool skip_cross_products = false;
  // Word lists and files of spell-checker dictionaries (see
  // app/dictionaries/build_inputs.h).
  std::vector<std::string> inputs;
  std::string output;
};

// Fills *request from `form`, or returns false with the message that says
// what to correct in *error. An affix file among the inputs adds its
// spell-checker dictionary; so does a stem list with its affix file beside
// it.
bool MakeCompileRequest(const BuildForm& form, CompileRequest* request,
                        std::string* error);

// The files of the installed dictionaries in `state`, those it could not
// open included.
std::vector<std::string> InstalledDictionaryFiles(const DictionaryState& state);

// Every file `request` reads: its word lists and both files of each
// spell-checker dictionary.
std::vector<std::string> FilesRead(const CompileRequest& request);

// Why the dialog must not write `output`, or "" when it may: it is one of
// `inputs` or one of the `installed` dictionaries' files (a word list
// compiled over itself would be lost, and an installed list replaced by a
// dictionary of another kind no longer opens as what was installed). A
// link or another spelling of the same path is the same file.
std::string OutputRefusal(const std::string& output,
                          const std::vector<std::string>& inputs,
                          const std::vector<std::string>& installed);

// The question asked before an existing `output` is replaced.
std::string ReplaceOutputQuestion(const std::string& output);

// The report of a finished compile: the counts (those of the filters only
// when they left something out, the expansion's only when spell-checker
// dictionaries were read), and for a failure what went wrong;
// UTF-8, `output` as given.
std::string BuildDoneText(const CompileCounts& counts,
                          const std::string& output);
// Empty for kDone and kCancelled.
std::string BuildFailureText(const CompileOutcome& outcome);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_BUILD_DICTIONARY_FORM_H_
