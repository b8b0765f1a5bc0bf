// The dictionary list's row order: header-click sorting and the list's own
// placement of new rows by name.
#include "app/dictionaries/dictionary_list_order.h"

#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/dictionary_set.h"

namespace vocor {
namespace {

class FakeDictionary : public CDictionary {
 public:
  FakeDictionary(std::string name, int words, int size)
      : name_(std::move(name)), words_(words), size_(size) {}
  std::unique_ptr<CDictionary> Clone() const override {
    return std::make_unique<FakeDictionary>(name_, words_, size_);
  }
  const char* GetTypeName() const override { return "Fake"; }
  bool IsOpen() const override { return true; }
  bool Open() override { return true; }
  void Close() override {}
  const char* GetName() const override { return name_.c_str(); }
  int GetWordCount() const override { return words_; }
  int GetSize() const override { return size_; }
  EnumPtr CreateEnumerator() const override { return nullptr; }

 private:
  std::string name_;
  int words_;
  int size_;
};

class DictionaryListOrderTest : public ::testing::Test {
 protected:
  CDictionary* Add(const std::string& name, int words = 0, int size = 0) {
    owned_.push_back(std::make_unique<FakeDictionary>(name, words, size));
    rows_.push_back(owned_.back().get());
    return rows_.back();
  }
  std::vector<std::string> RowNames() const {
    std::vector<std::string> names;
    for (const CDictionary* row : rows_) names.push_back(row->GetName());
    return names;
  }

  std::vector<std::unique_ptr<CDictionary>> owned_;
  std::vector<CDictionary*> rows_;
};

using Names = std::vector<std::string>;

TEST_F(DictionaryListOrderTest, ClicksCycleAscendingDescendingAscending) {
  Add("b", 30, 1);
  Add("a", 10, 3);
  Add("c", 20, 2);
  uint32_t state = kUnsortedState;
  state = NextSortState(state, kWordsColumn);
  SortRows(&rows_, state);
  EXPECT_EQ(RowNames(), (Names{"a", "c", "b"}));
  state = NextSortState(state, kWordsColumn);
  EXPECT_EQ(state, kWordsColumn | kDescendingSort);
  SortRows(&rows_, state);
  EXPECT_EQ(RowNames(), (Names{"b", "c", "a"}));
  state = NextSortState(state, kWordsColumn);
  EXPECT_EQ(state, kWordsColumn);
  state = NextSortState(state, kNameColumn);
  SortRows(&rows_, state);
  EXPECT_EQ(RowNames(), (Names{"a", "b", "c"}));
  state = NextSortState(state, kSizeColumn);
  SortRows(&rows_, state);
  EXPECT_EQ(RowNames(), (Names{"b", "c", "a"}));
}

TEST_F(DictionaryListOrderTest, NamesCompareAsUnsignedBytesWithCase) {
  Add("apple");
  Add("Zebra");
  Add("\xE9t\xE9");  // "été" in the engine's code page: after every ASCII
  Add("app");
  SortRows(&rows_, kNameColumn);
  EXPECT_EQ(RowNames(), (Names{"Zebra", "app", "apple", "\xE9t\xE9"}));
  SortRows(&rows_, kNameColumn | kDescendingSort);
  EXPECT_EQ(RowNames(), (Names{"\xE9t\xE9", "apple", "app", "Zebra"}));
}

TEST_F(DictionaryListOrderTest, CountsAndSizesCompareWithoutOverflow) {
  const CDictionary* big = Add("big", INT_MAX, INT_MAX);
  const CDictionary* none = Add("none", 0, 0);
  EXPECT_EQ(CompareDictionaries(*big, *none, kWordsColumn), 1);
  EXPECT_EQ(CompareDictionaries(*none, *big, kSizeColumn), -1);
  EXPECT_EQ(CompareDictionaries(*none, *big, kSizeColumn | kDescendingSort), 1);
  EXPECT_EQ(CompareDictionaries(*big, *big, kWordsColumn), 0);
}

TEST_F(DictionaryListOrderTest, TheUnsortedStateKeepsTheOrder) {
  Add("c", 1, 1);
  Add("a", 3, 3);
  Add("b", 2, 2);
  SortRows(&rows_, kUnsortedState);
  EXPECT_EQ(RowNames(), (Names{"c", "a", "b"}));
}

TEST(RowInsertPositionTest, PlacesNewRowsByNameIgnoringCase) {
  std::vector<std::string_view> names;
  for (std::string_view name : {"Beta", "alpha", "GAMMA", "beta", "Alpha"}) {
    names.insert(names.begin() + RowInsertPosition(names, name), name);
  }
  // Equal names keep the order they came in.
  EXPECT_EQ(names, (std::vector<std::string_view>{"alpha", "Alpha", "Beta",
                                                  "beta", "GAMMA"}));
  // Accented capitals fold too, in the engine's code page.
  EXPECT_EQ(CompareRowTexts("\xC9t\xE9", "\xE9T\xC9"), 0);
  EXPECT_EQ(CompareRowTexts("ab", "AB c"), -1);
}

TEST(RowInsertPositionTest, AfterAColumnSortGoesBeforeTheFirstLaterName) {
  // Rows sorted by count: not in name order.
  const std::vector<std::string_view> names = {"m", "z", "a"};
  EXPECT_EQ(RowInsertPosition(names, "b"), 0);
  EXPECT_EQ(RowInsertPosition(names, "n"), 1);
  EXPECT_EQ(RowInsertPosition(names, "zz"), 3);
}

TEST(DictionaryImageTest, SetsAndUnknownKinds) {
  CDictionarySet set;
  FakeDictionary other("x", 0, 0);
  EXPECT_EQ(ImageOfDictionary(set), DictionaryImage::kSet);
  EXPECT_EQ(ImageOfDictionary(other), DictionaryImage::kOther);
}

}  // namespace
}  // namespace vocor
