// Which databases define the words of the active dictionary, without any
// widget. The user's choice is kept per language in the settings store,
// under kDefinitionsKey, one value per language named by its ISO 639-3
// code ("eng", "fra"), holding the database names separated by commas
// ("gcide,wn"); an empty value is a choice of none. Without a stored
// value the library's default for the language answers.
#ifndef VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_H_
#define VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

// "Software\Vocor\Vocor for Windows\Definitions"
extern const char kDefinitionsKey[];

// The ISO 639-3 code of a Windows locale id's language; "eng" for English,
// for 0 (unknown) and for an id that names no language, since English
// databases then answer.
std::string LanguageCode(uint32_t language);
// The name of the FreeDict database into English for a language
// ("fra-eng"); empty for English (LanguageCode "eng").
std::string FreeDictName(uint32_t language);

std::string FormatDatabaseChoice(const std::vector<std::string>& names);
// The names of a stored value, empty parts and spaces around names left
// out.
std::vector<std::string> ParseDatabaseChoice(std::string_view text);

// The stored choice for `language`, or nothing when none is stored.
std::optional<std::vector<std::string>> LoadDatabaseChoice(uint32_t language);
// Stores the choice for `language`; false when the store refused it.
bool SaveDatabaseChoice(uint32_t language,
                        const std::vector<std::string>& names);

// The databases that answer: the stored choice, or without one the
// default, each kept only when it is `installed`, in the order given.
std::vector<std::string> ChosenDatabases(
    const std::optional<std::vector<std::string>>& stored,
    const std::vector<std::string>& defaults,
    const std::vector<std::string>& installed);

}  // namespace vocor

#endif  // VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_H_
