// Test support: a binary dictionary whose header is sound, so that it
// opens, but whose root claims one word more than its one child holds,
// which only the full check of the file finds.
#ifndef VOCOR_DICTIONARY_TESTING_DAMAGED_DIC_H_
#define VOCOR_DICTIONARY_TESTING_DAMAGED_DIC_H_

#include <string>

#include "dictionary/testing/dic_assembler.h"

namespace vocor::testing {

inline std::string RootCountOneTooHigh() {
  DicAssembler dic("Damaged");
  const uint32_t leaf = dic.Node(true, {});
  return dic.Finish(dic.RawNode(MakeNodeWord(1, false, 2), {{'x', leaf}}));
}

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_DAMAGED_DIC_H_
