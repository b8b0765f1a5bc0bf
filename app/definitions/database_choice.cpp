#include "app/definitions/database_choice.h"

#include <unicode/uloc.h>

#include <algorithm>

#include "settings/settings_store.h"

namespace vocor {

const char kDefinitionsKey[] =
    "Software\\Vocor\\Vocor for Windows\\Definitions";

namespace {

constexpr char kEnglish[] = "eng";

std::string Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(' ');
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

std::string LanguageCode(uint32_t language) {
  if (language == 0) return kEnglish;
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLocaleForLCID(language, locale, sizeof locale, &status);
  if (U_FAILURE(status)) return kEnglish;
  const std::string code = uloc_getISO3Language(locale);
  return code.empty() ? kEnglish : code;
}

std::string FreeDictName(uint32_t language) {
  const std::string code = LanguageCode(language);
  return code == kEnglish ? std::string() : code + "-" + kEnglish;
}

std::string FormatDatabaseChoice(const std::vector<std::string>& names) {
  std::string text;
  for (const std::string& name : names) {
    if (!text.empty()) text += ',';
    text += name;
  }
  return text;
}

std::vector<std::string> ParseDatabaseChoice(std::string_view text) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find(',', start);
    if (end == std::string_view::npos) end = text.size();
    std::string name = Trimmed(text.substr(start, end - start));
    if (!name.empty()) names.push_back(std::move(name));
    start = end + 1;
  }
  return names;
}

std::optional<std::vector<std::string>> LoadDatabaseChoice(uint32_t language) {
  std::string text;
  if (!ReadRegString(kCurrentUser, kDefinitionsKey,
                     LanguageCode(language).c_str(), &text)) {
    return std::nullopt;
  }
  return ParseDatabaseChoice(text);
}

bool SaveDatabaseChoice(uint32_t language,
                        const std::vector<std::string>& names) {
  return WriteRegString(kCurrentUser, kDefinitionsKey,
                        LanguageCode(language).c_str(),
                        FormatDatabaseChoice(names).c_str());
}

std::vector<std::string> ChosenDatabases(
    const std::optional<std::vector<std::string>>& stored,
    const std::vector<std::string>& defaults,
    const std::vector<std::string>& installed) {
  std::vector<std::string> chosen = stored.value_or(defaults);
  std::erase_if(chosen, [&](const std::string& name) {
    return std::find(installed.begin(), installed.end(), name) ==
           installed.end();
  });
  return chosen;
}

}  // namespace vocor
