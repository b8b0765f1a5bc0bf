// Test support: the names of a set's members, in list order.
#ifndef VOCOR_DICTIONARY_TESTING_MEMBER_NAMES_H_
#define VOCOR_DICTIONARY_TESTING_MEMBER_NAMES_H_

#include <string>
#include <vector>

#include "dictionary/dictionary_set.h"

namespace vocor::testing {

inline std::vector<std::string> MemberNames(const CDictionarySet& set) {
  std::vector<std::string> names;
  for (const CDictionary* d : set.members()) names.push_back(d->GetName());
  return names;
}

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_MEMBER_NAMES_H_
