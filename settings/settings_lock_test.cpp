// Other connections holding the store's locks, and stores the user may
// only read: reads go on, writes fail as a whole and say why.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "settings/settings_store.h"
#include "settings/settings_test_support.h"
#include "settings/store_lock.h"

namespace vocor {
namespace {

using ::testing::ElementsAre;
using SettingsLockTest = SettingsTest;

constexpr const char* kKey = "Software\\Vocor\\Locked";

// Forces read-only opening for one test.
class ReadOnlyOpening {
 public:
  ReadOnlyOpening() {
    CloseSettingsStore();
    ForceSettingsStoreReadOnlyForTesting(true);
  }
  ~ReadOnlyOpening() {
    CloseSettingsStore();
    ForceSettingsStoreReadOnlyForTesting(false);
  }
};

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start)
      .count();
}

TEST_F(SettingsLockTest, ReadsGoOnWhileAnotherConnectionWrites) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Name", "kept"));
  ASSERT_TRUE(WriteRegDword(kCurrentUser, "Software\\Vocor\\Other", "A", 1));
  // The next call opens the store afresh, under the other's lock.
  ASSERT_TRUE(CloseSettingsStore());
  StoreLock lock;
  ASSERT_TRUE(lock.held());
  const auto start = std::chrono::steady_clock::now();
  const uint64_t failures = SettingsFailureCount();
  EXPECT_EQ(TextAt(kKey, "Name"), "kept");
  EXPECT_EQ(DwordAt(kKey, "Missing"), std::nullopt);
  std::vector<std::string> names;
  EXPECT_EQ(ListSubkeys(kCurrentUser, "Software\\Vocor", &names),
            KeyListing::kListed);
  EXPECT_THAT(names, ElementsAre("Locked", "Other"));
  {
    SettingsTransaction snapshot(SettingsTransaction::Mode::kRead);
    EXPECT_TRUE(snapshot.ok());
    EXPECT_EQ(TextAt(kKey, "Name"), "kept");
    // A snapshot creates no missing key, so it never waits for the lock.
    EXPECT_EQ(TextAt("Software\\Vocor\\Absent", "Name"), std::nullopt);
  }
  EXPECT_LT(SecondsSince(start), 1.0);
  // A value that is not there is no failure of the store.
  EXPECT_EQ(SettingsFailureCount(), failures);

  EXPECT_FALSE(WriteRegDword(kCurrentUser, kKey, "X", 1));
  EXPECT_EQ(SettingsFailureCount(), failures + 1);
  EXPECT_EQ(LastSettingsProblem(), SettingsProblem::kBusy);
}

TEST_F(SettingsLockTest, ATransactionThatCannotBeginWritesNothing) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "A", 1));
  const std::string before = DumpStore();
  StoreLock lock;
  ASSERT_TRUE(lock.held());
  {
    SettingsTransaction transaction;
    EXPECT_FALSE(transaction.ok());
    lock.Release();
    // With the other writer gone, calls must still not commit one by one.
    EXPECT_FALSE(WriteRegDword(kCurrentUser, kKey, "A", 2));
    EXPECT_FALSE(DeleteRegTree(kCurrentUser, kKey));
    {
      SettingsTransaction inner;
      EXPECT_FALSE(inner.ok());
      EXPECT_FALSE(WriteRegDword(kCurrentUser, kKey, "B", 2));
      EXPECT_FALSE(inner.Commit());
    }
    EXPECT_FALSE(transaction.Commit());
  }
  EXPECT_EQ(DumpStore(), before);
  EXPECT_TRUE(WriteRegDword(kCurrentUser, kKey, "A", 2));
}

TEST_F(SettingsLockTest, AStoreOpenedReadOnlyIsReadButNeverWritten) {
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Name", "kept"));
  ASSERT_TRUE(CloseSettingsStore());
  const std::string before = DumpStore();
  {
    ReadOnlyOpening read_only;
    EXPECT_EQ(TextAt(kKey, "Name"), "kept");
    // Reading below a missing key cannot create it, and is no failure.
    const uint64_t failures = SettingsFailureCount();
    EXPECT_EQ(TextAt("Software\\Vocor\\New", "Name"), std::nullopt);
    EXPECT_EQ(SettingsFailureCount(), failures);

    EXPECT_FALSE(WriteRegString(kCurrentUser, kKey, "Name", "changed"));
    EXPECT_EQ(LastSettingsProblem(), SettingsProblem::kReadOnly);
    SettingsTransaction transaction;
    EXPECT_FALSE(transaction.ok());
    EXPECT_EQ(LastSettingsProblem(), SettingsProblem::kReadOnly);
  }
  EXPECT_EQ(DumpStore(), before);
}

TEST_F(SettingsLockTest, AFolderTheUserCannotWriteIsOpenedReadOnly) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "root writes read-only folders; the forced read-only "
                    "test covers the read-only open";
  }
  ASSERT_TRUE(WriteRegString(kCurrentUser, kKey, "Name", "kept"));
  ASSERT_TRUE(CloseSettingsStore());
  const std::string folder =
      std::filesystem::path(SettingsStorePath()).parent_path();
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  EXPECT_EQ(TextAt(kKey, "Name"), "kept");
  EXPECT_FALSE(WriteRegString(kCurrentUser, kKey, "Name", "changed"));
  EXPECT_EQ(LastSettingsProblem(), SettingsProblem::kReadOnly);
  CloseSettingsStore();
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(TextAt(kKey, "Name"), "kept");
}

}  // namespace
}  // namespace vocor
