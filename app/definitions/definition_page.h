// What the definitions pane shows, decided without a widget: the HTML of a
// page of entries, the links of cross-references inside an entry, the
// words looked up for a result, and the advice shown when no database is
// installed.
//
// Entries of a dictionary-server database are preformatted plain text
// (UTF-8) whose line breaks and indentation carry meaning; the page keeps
// them (white-space: pre-wrap) and escapes every character that HTML would
// take as markup. A cross-reference is a word or phrase in braces,
// `{yacht}`, possibly broken over lines; it becomes a link to that word's
// page, whose address is kDefineScheme followed by the word, its spaces
// collapsed and its bytes percent-encoded.
#ifndef VOCOR_APP_DEFINITIONS_DEFINITION_PAGE_H_
#define VOCOR_APP_DEFINITIONS_DEFINITION_PAGE_H_

#include <string>
#include <string_view>
#include <vector>

#include "definitions/definitions.h"

namespace vocor {

// The scheme of the pane's own pages: "define:yacht".
inline constexpr char kDefineScheme[] = "define";

// The address of `word`'s page: "define:" and the word percent-encoded
// (every byte but ASCII letters, digits and "-._~").
std::string DefineLink(std::string_view word);
// The word of a page address made by DefineLink; false for any other
// address (another scheme, a broken escape).
bool WordOfDefineLink(std::string_view link, std::string* word);

// `text` with &, <, > and " written as entities.
std::string EscapeHtml(std::string_view text);
// The HTML of one entry's text: escaped, with each `{reference}` turned
// into a link to its page (the braces dropped). A brace without its match,
// or an empty pair, stays as it is.
std::string EntryHtml(std::string_view entry_text);

// What was found for one word: the databases holding it, each with its
// title and entries (definitions/definitions.h).
struct WordDefinitions {
  std::string word;
  std::vector<DatabaseEntries> databases;
};

// The words to look up for a result: the result itself first; for a
// phrase ("ice cream") then each of its words once, in order, for when the
// phrase has no entry of its own.
std::vector<std::string> LookupWords(std::string_view result);

// The page of a result: `found` holds, in LookupWords order, the words
// that gave entries. A result with entries of its own shows only those; a
// phrase without them shows its words' entries under a line saying so;
// with none at all, the page says that the chosen databases (named in
// `searched`) do not hold the word. `errors` (databases refused as
// damaged) follow in a note.
std::string DefinitionPageHtml(std::string_view result,
                               const std::vector<WordDefinitions>& found,
                               const std::vector<std::string>& searched,
                               const std::vector<std::string>& errors = {});

// The page before any word is selected.
std::string EmptyPageHtml();

// Whether Debian packages the FreeDict database `freedict_name`
// ("fra-eng") as dict-freedict-fra-eng.
bool DebianHasFreeDict(std::string_view freedict_name);
// The Debian packages that provide databases for a dictionary whose
// FreeDict database into English would be `freedict_name` ("fra-eng";
// empty for an English dictionary): dict-gcide and dict-wn, then
// dict-freedict-fra-eng where Debian has it.
std::vector<std::string> AdvisedPackages(std::string_view freedict_name);
// The page shown when no database for the active dictionary's language is
// installed: the packages to install and the command that installs them,
// and, for a language that Debian has no FreeDict database of, that
// View > Definitions From can choose another.
std::string NoDatabaseAdviceHtml(std::string_view freedict_name);
// The page shown when databases are installed but the user chose none for
// the active dictionary's language.
std::string NoDatabaseChosenHtml();

}  // namespace vocor

#endif  // VOCOR_APP_DEFINITIONS_DEFINITION_PAGE_H_
