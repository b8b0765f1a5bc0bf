#include "app/dictionaries/dictionary_menu.h"

#include <algorithm>

#include "app/dictionaries/configure_dictionaries_texts.h"
#include "dictionary/dictionary_set.h"
#include "dictionary/text_file_dictionary.h"
#include "engine/charset.h"

namespace vocor {

namespace {

class MenuBuilder {
 public:
  MenuBuilder(const CDictionary* active, bool searching)
      : active_(active),
        active_set_(dynamic_cast<const CDictionarySet*>(active)),
        searching_(searching) {}

  bool full() const { return number_ > kMaxMenuNumber; }

  void Add(CDictionary* dictionary) {
    DictionaryMenuEntry entry = Next(dictionary);
    entry.text =
        DictionaryMenuText(number_++, DictionaryDisplayName(dictionary));
    if (dictionary == active_) {
      entry.mark = MenuMark::kActive;
    } else if (active_set_ != nullptr &&
               active_set_->members().Find(dictionary)) {
      entry.mark = MenuMark::kSetMember;
    }
    entries_.push_back(std::move(entry));
  }

  // A separator takes a command id but no number.
  void AddSeparator() { entries_.push_back(Next(nullptr)); }

  std::vector<DictionaryMenuEntry> Take() { return std::move(entries_); }

 private:
  DictionaryMenuEntry Next(CDictionary* dictionary) const {
    DictionaryMenuEntry entry;
    entry.command = kFirstDictionaryCommand + static_cast<int>(entries_.size());
    entry.dictionary = dictionary;
    entry.enabled = !searching_;
    return entry;
  }

  const CDictionary* active_;
  const CDictionarySet* active_set_;
  bool searching_;
  int number_ = 1;
  std::vector<DictionaryMenuEntry> entries_;
};

}  // namespace

std::vector<DictionaryMenuEntry> BuildDictionaryMenu(
    CDictionarySet* all_dictionaries, CDictionarySet* all_sets,
    const CDictionary* active, bool searching) {
  MenuBuilder menu(active, searching);
  menu.Add(all_dictionaries);
  all_sets->SortByName();
  for (CDictionary* set : all_sets->members()) {
    if (menu.full()) break;
    menu.Add(set);
  }
  // Dictionaries whose files could not be opened cannot be searched.
  const auto& members = all_dictionaries->members();
  if (std::any_of(members.begin(), members.end(),
                  [](const CDictionary* d) { return !IsUnavailable(*d); })) {
    menu.AddSeparator();
  }
  all_dictionaries->SortByName();
  for (CDictionary* dictionary : all_dictionaries->members()) {
    if (menu.full()) break;
    if (!IsUnavailable(*dictionary)) menu.Add(dictionary);
  }
  return menu.Take();
}

std::string DictionaryDisplayName(const CDictionary* dictionary) {
  if (IsUnavailable(*dictionary)) {
    return UnavailableDisplayName(DictionaryFileName(*dictionary));
  }
  return DictionaryShownName(*dictionary);
}

std::string DictionaryMenuText(int number, const std::string& utf8_name) {
  std::string text;
  if (number < 10) {
    text = "&" + std::to_string(number) + " ";
  } else {
    text =
        std::to_string(number / 10) + "&" + std::to_string(number % 10) + " ";
  }
  for (char c : utf8_name) {
    if (c == '&') text += '&';
    text += c;
  }
  return text;
}

}  // namespace vocor
