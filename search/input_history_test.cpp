#include "search/input_history.h"

#include <gtest/gtest.h>

#include "search/clipboard_text.h"

namespace vocor {
namespace {

using Entries = std::vector<std::string>;

Entries After(std::initializer_list<const char*> searches) {
  InputHistory history;
  for (const char* s : searches) history.AddToHistory(s);
  return history.entries();
}

TEST(InputHistoryTest, PrefixRemovalIgnoresCase) {
  EXPECT_EQ(After({"cat", "dog", "ca"}), (Entries{"ca", "dog"}));
  EXPECT_EQ(After({"cat", "Cat"}), (Entries{"Cat"}));
  EXPECT_EQ(After({"catalogue", "cat"}), (Entries{"cat"}));
  EXPECT_EQ(After({"cat", "catalogue"}), (Entries{"catalogue", "cat"}));
  // Only the first matching entry goes.
  EXPECT_EQ(After({"cab", "cat", "ca"}), (Entries{"ca", "cab"}));
  // A longer entry found first goes, and the same text is never listed
  // twice.
  EXPECT_EQ(After({"cat", "cats", "CAT"}), (Entries{"CAT"}));
  // Accented capitals fold too; texts stay as typed.
  EXPECT_EQ(After({"\xc3\xa9t\xc3\xa9", "\xc3\x89T"}), (Entries{"\xc3\x89T"}));
}

TEST(InputHistoryTest, EmptyTextsAndTheLimit) {
  EXPECT_EQ(After({"a", ""}), (Entries{"", "a"}));
  EXPECT_EQ(After({"", "a", ""}), (Entries{"", "a"}));
  InputHistory history;
  for (int i = 0; i < 17; ++i)
    history.AddToHistory("w" + std::to_string(i) + "x");
  ASSERT_EQ(history.entries().size(), 16u);
  EXPECT_EQ(history.entries().front(), "w16x");
  EXPECT_EQ(history.entries().back(), "w1x");
}

TEST(ClipboardTextTest, SelectedInListOrderElseAll) {
  const Entries items = {"ant", "bee", "cat"};
  EXPECT_EQ(ClipboardText(items, {2, 0}), "ant\ncat\n");
  EXPECT_EQ(ClipboardText(items, {}), "ant\nbee\ncat\n");
  EXPECT_EQ(ClipboardText({}, {}), "");
}

}  // namespace
}  // namespace vocor
