#include "app/dictionaries/dictionary_details.h"

#include <unicode/uloc.h>
#include <unicode/ustring.h>

#include <cstdio>

#include "app/dictionaries/dictionary_menu.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/vocor_file_dictionary.h"
#include "engine/charset.h"

namespace vocor {

namespace {

constexpr char kUnknownText[] = "Unknown";
constexpr char kUnknownFile[] = "<Unknown>";
constexpr size_t kMaxLanguageChars = 79;

std::string Hundredths(int value) {
  char text[32];
  std::snprintf(text, sizeof text, "%0.2f", value / 100.0);
  return text;
}

// ICU's locale id for a Windows one, or "" when it knows none.
std::string IcuLocaleOf(uint32_t lcid) {
  char locale[ULOC_FULLNAME_CAPACITY] = {};
  UErrorCode status = U_ZERO_ERROR;
  const int32_t length =
      uloc_getLocaleForLCID(lcid, locale, sizeof locale, &status);
  if (U_FAILURE(status) || length <= 0) return {};
  return std::string(locale, static_cast<size_t>(length));
}

// The display name in English, the language of the rest of the window,
// so that it does not depend on the locale the program was started in.
std::string EnglishDisplayName(const std::string& locale) {
  UChar name[kMaxLanguageChars + 1] = {};
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = uloc_getDisplayName(locale.c_str(), "en", name,
                                       kMaxLanguageChars, &status);
  // A longer name is shown cut to kMaxLanguageChars characters rather
  // than not at all.
  if (status == U_BUFFER_OVERFLOW_ERROR ||
      status == U_STRING_NOT_TERMINATED_WARNING) {
    status = U_ZERO_ERROR;
    length = static_cast<int32_t>(kMaxLanguageChars);
  }
  if (U_FAILURE(status) || length <= 0) return {};
  char utf8[4 * kMaxLanguageChars + 1];
  int32_t utf8_length = 0;
  u_strToUTF8(utf8, sizeof utf8, &utf8_length, name, length, &status);
  if (U_FAILURE(status)) return {};
  return std::string(utf8, static_cast<size_t>(utf8_length));
}

constexpr char kUnavailableNotes[] =
    "The file could not be opened when Vocor started. The dictionary stays "
    "installed but is not searched; once the file is back, the next start "
    "opens it again. Uninstall removes it.";

void DescribeKind(const CDictionary& dictionary, DictionaryDetails* details) {
  details->icon = ImageOfDictionary(dictionary);
  if (IsUnavailable(dictionary)) {
    details->type = dynamic_cast<const CDictionaryTextFile*>(&dictionary)
                        ? "Text File (unavailable)"
                        : "Vocor File (unavailable)";
    details->file_name = DictionaryFileName(dictionary);
    details->notes = kUnavailableNotes;
  } else if (const auto* text =
                 dynamic_cast<const CDictionaryTextFile*>(&dictionary)) {
    details->type = "Text File";
    details->file_name = text->GetFileName();
  } else if (const auto* binary =
                 dynamic_cast<const CDictionaryVocorFile*>(&dictionary)) {
    details->name +=
        "\nVersion " + Hundredths(binary->GetDictionaryVersion()) + "\n";
    details->type =
        "Vocor File (" + Hundredths(binary->GetFormatVersion()) + ")";
    details->file_name = binary->GetFileName();
  } else {
    details->icon = DictionaryImage::kSet;
    details->type = kUnknownText;
    details->file_name = kUnknownFile;
  }
}

}  // namespace

std::string LanguageName(uint32_t lcid) {
  if (lcid == 0) return kUnknownText;
  const std::string locale = IcuLocaleOf(lcid);
  std::string name = locale.empty() ? "" : EnglishDisplayName(locale);
  if (!name.empty()) return name;
  char hex[16];
  std::snprintf(hex, sizeof hex, "%x", lcid);
  return hex;
}

DictionaryDetails DescribeDictionary(const CDictionary& dictionary) {
  DictionaryDetails details;
  // A text list's own file name, whatever letters it holds.
  const std::string name = DictionaryDisplayName(&dictionary);
  details.caption = name + " Details";
  details.name = name;
  details.words = FormatCount(dictionary.GetWordCount()) + " words";
  details.size = FormatSize(dictionary.GetSize());
  details.notes = EngineToUtf8(dictionary.GetNotes());
  details.language = LanguageName(dictionary.GetLanguage());
  DescribeKind(dictionary, &details);
  return details;
}

}  // namespace vocor
