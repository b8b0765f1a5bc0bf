#include "app/search/wordplay_form.h"

#include <gtest/gtest.h>

#include <set>

#include "app/shell/command_texts.h"

namespace vocor {
namespace {

std::vector<WordplayKind> AllKinds() {
  std::vector<WordplayKind> kinds;
  for (int i = 0; i < kWordplayKindCount; ++i) {
    kinds.push_back(static_cast<WordplayKind>(i));
  }
  return kinds;
}

// Alt+letter must reach one control: none of the tab's labels shown
// together share a mnemonic, nor take one of the menu bar's or the Search
// and Stop buttons'.
TEST(WordplayFormTest, MnemonicsShownTogetherNeverClash) {
  std::set<char> taken;
  for (const char* menu :
       {kMenuFile, kMenuEdit, kMenuDictionaries, kMenuView, kMenuHelp}) {
    taken.insert(MnemonicOf(menu));
  }
  taken.insert(MnemonicOf("&Search"));
  for (WordplayKind kind : AllKinds()) {
    SCOPED_TRACE(WordplayKindName(kind));
    std::set<char> seen = taken;
    for (const std::string& label : WordplayVisibleLabels(kind)) {
      const char letter = MnemonicOf(label);
      EXPECT_NE(letter, 0) << label;
      EXPECT_TRUE(seen.insert(letter).second) << label;
    }
    EXPECT_NE(std::string(WordplayBoxHelp(kind)), "");
  }
  EXPECT_EQ(MnemonicOf("Fish && &Chips"), 'c');
  EXPECT_EQ(MnemonicOf("none"), 0);
}

// A refusal's input number leads to the box that holds the fault.
TEST(WordplayFormTest, RequestInputsLeadToTheKindsOwnBoxes) {
  std::set<int> boxes;
  for (WordplayKind kind : AllKinds()) {
    const int inputs = WordplayUsesMinimum(kind) ? 2 : 1;
    EXPECT_EQ(WordplayBoxIndex(kind, -1), -1);
    EXPECT_EQ(WordplayBoxIndex(kind, inputs), -1);
    for (int input = 0; input < inputs; ++input) {
      EXPECT_TRUE(boxes.insert(WordplayBoxIndex(kind, input)).second);
    }
  }
  EXPECT_EQ(boxes, (std::set<int>{0, 1, 2, 3, 4}));
  EXPECT_EQ(WordplayBoxIndex(WordplayKind::kHiddenWords, 1), 2);
}

}  // namespace
}  // namespace vocor
