#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace vocor {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

using SettingsTransactionTest = SettingsTest;

constexpr const char* kKey = "Software\\Vocor\\Test";

TEST_F(SettingsTransactionTest, CommitKeepsEveryChange) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Software\\Old", "ID", 1));
  {
    SettingsTransaction transaction;
    ASSERT_TRUE(transaction.active());
    EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "A", 1));
    EXPECT_TRUE(WriteRegString(kCurrentUser, "Software\\Vocor\\Test\\Item-0",
                               "Name", "first"));
    EXPECT_TRUE(DeleteRegTree(kCurrentUser, "Software\\Old"));
    // Calls inside see the transaction's own changes.
    EXPECT_EQ(DwordAt(kKey, "A"), 1u);
    EXPECT_TRUE(transaction.Commit());
    EXPECT_FALSE(transaction.active());
  }
  ASSERT_TRUE(CloseSettingsStore());
  EXPECT_EQ(DwordAt(kKey, "A"), 1u);
  EXPECT_THAT(Subkeys(kKey), ElementsAre("Item-0"));
  EXPECT_THAT(Subkeys("Software"), ElementsAre("Vocor"));
}

TEST_F(SettingsTransactionTest, DestructionWithoutCommitUndoesEverything) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Software\\Kept", "ID", 1));
  {
    SettingsTransaction transaction;
    ASSERT_TRUE(transaction.active());
    EXPECT_TRUE(WriteRegDword(kCurrentUser, "Software\\Kept", "ID", 2));
    EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "A", 1));
    EXPECT_EQ(DwordAt("Software\\Created", "X"), std::nullopt);
    EXPECT_TRUE(DeleteRegTree(kCurrentUser, "Software\\Kept"));
  }
  EXPECT_EQ(DwordAt("Software\\Kept", "ID"), 1u);
  EXPECT_THAT(Subkeys("Software"), ElementsAre("Kept"));
}

TEST_F(SettingsTransactionTest, InnerTransactionJoinsOuter) {
  {
    SettingsTransaction outer;
    ASSERT_TRUE(outer.active());
    {
      SettingsTransaction inner;
      EXPECT_FALSE(inner.active());
      EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "Inner", 1));
      EXPECT_TRUE(inner.Commit());
    }
    // The inner commit made nothing durable on its own.
  }
  EXPECT_THAT(Subkeys("Software"), IsEmpty());
  {
    SettingsTransaction outer;
    {
      SettingsTransaction inner;
      EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "Inner", 2));
    }
    // Nor can an inner one undo the outer one's work.
    EXPECT_TRUE(outer.Commit());
  }
  EXPECT_EQ(DwordAt(kKey, "Inner"), 2u);
}

TEST_F(SettingsTransactionTest, FailedCallDoesNotSpoilTransaction) {
  SettingsTransaction transaction;
  EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "Before", 1));
  EXPECT_FALSE(DeleteRegTree(kCurrentUser, "Software\\Missing"));
  EXPECT_FALSE(WriteRegString(kCurrentUser, kKey, "Bad", nullptr));
  EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "After", 2));
  EXPECT_TRUE(transaction.Commit());
  EXPECT_EQ(DwordAt(kKey, "Before"), 1u);
  EXPECT_EQ(DwordAt(kKey, "After"), 2u);
}

TEST_F(SettingsTransactionTest, StaysOnItsStoreWhenEnvironmentChanges) {
  const std::string first = SettingsStorePath();
  const std::string other = home_.root() + "/other";
  {
    SettingsTransaction transaction;
    setenv("XDG_CONFIG_HOME", other.c_str(), 1);
    EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "Where", 1));
    EXPECT_FALSE(CloseSettingsStore());
    EXPECT_TRUE(transaction.Commit());
  }
  EXPECT_FALSE(std::filesystem::exists(SettingsStorePath()));
  setenv("XDG_CONFIG_HOME", (home_.root() + "/home/.config").c_str(), 1);
  EXPECT_EQ(SettingsStorePath(), first);
  EXPECT_EQ(DwordAt(kKey, "Where"), 1u);
}

}  // namespace
}  // namespace vocor
