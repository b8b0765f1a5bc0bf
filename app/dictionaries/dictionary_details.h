// The texts of the dictionary details dialog, decided without a widget.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_H_

#include <cstdint>
#include <string>

#include "app/dictionaries/dictionary_list_order.h"

namespace vocor {

class CDictionary;

// Every field in UTF-8.
struct DictionaryDetails {
  std::string caption;    // "<name> Details"
  std::string name;       // a binary dictionary adds "\nVersion 1.00\n"
  std::string file_name;  // "<Unknown>" for a set
  std::string type;       // "Vocor File (2.01)", "Text File" or "Unknown"
  std::string words;      // "12,345 words"
  std::string size;
  std::string language;
  std::string notes;
  DictionaryImage icon = DictionaryImage::kOther;
};

DictionaryDetails DescribeDictionary(const CDictionary& dictionary);

// "Unknown" for 0; else the English name of the Windows locale id's
// language and country as ICU knows it ("English (United States)" for
// 1033), at most 79 characters; else the id in lower-case hexadecimal.
std::string LanguageName(uint32_t lcid);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_H_
