#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace vocor {
namespace {

namespace fs = std::filesystem;

using SettingsDamageTest = SettingsTest;

constexpr const char* kKey = "Software\\Vocor\\Test";

void WriteFile(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Garbage(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(i * 37 + 11);
  return bytes;
}

// The files set aside next to the store, by name.
std::vector<fs::path> DamagedFiles() {
  std::vector<fs::path> found;
  fs::path store = SettingsStorePath();
  for (const fs::directory_entry& entry :
       fs::directory_iterator(store.parent_path())) {
    std::string name = entry.path().filename().string();
    bool companion = name.ends_with("-wal") || name.ends_with("-shm");
    if (name.starts_with("settings.sqlite.damaged-") && !companion) {
      found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

// Writes, reads back and reopens, proving the store is a working one.
void ExpectWorkingStore() {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Fresh", 42));
  ASSERT_TRUE(CloseSettingsStore());
  EXPECT_EQ(DwordAt(kKey, "Fresh"), 42u);
}

TEST_F(SettingsDamageTest, GarbageFileIsMovedAsideOnce) {
  for (size_t size : {5, 4096}) {
    SCOPED_TRACE(size);
    ASSERT_TRUE(CloseSettingsStore());
    fs::remove_all(fs::path(SettingsStorePath()).parent_path());
    WriteFile(SettingsStorePath(), Garbage(size));

    EXPECT_EQ(TextAt(kKey, "Fresh"), std::nullopt);
    ExpectWorkingStore();
    std::vector<fs::path> damaged = DamagedFiles();
    ASSERT_EQ(damaged.size(), 1u);
    EXPECT_EQ(ReadFile(damaged[0]), Garbage(size));
    EXPECT_NE(damaged[0].filename().string().find(".damaged-2"),
              std::string::npos);
  }
}

TEST_F(SettingsDamageTest, EachDamagedFileGetsItsOwnName) {
  WriteFile(SettingsStorePath(), "first garbage");
  ExpectWorkingStore();
  ASSERT_TRUE(CloseSettingsStore());
  WriteFile(SettingsStorePath(), "second garbage");
  ExpectWorkingStore();
  std::vector<fs::path> damaged = DamagedFiles();
  ASSERT_EQ(damaged.size(), 2u);
  std::vector<std::string> contents = {ReadFile(damaged[0]),
                                       ReadFile(damaged[1])};
  std::sort(contents.begin(), contents.end());
  EXPECT_EQ(contents[0], "first garbage");
  EXPECT_EQ(contents[1], "second garbage");
}

TEST_F(SettingsDamageTest, DatabaseOfAnotherLayoutIsMovedAside) {
  fs::create_directories(fs::path(SettingsStorePath()).parent_path());
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(SettingsStorePath().c_str(), &db), SQLITE_OK);
  ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE settings_keys(x)", nullptr, nullptr,
                         nullptr),
            SQLITE_OK);
  sqlite3_close(db);
  ExpectWorkingStore();
  EXPECT_EQ(DamagedFiles().size(), 1u);
}

TEST_F(SettingsDamageTest, DamagedPagesAreFoundAtOpen) {
  SettingsTransaction filling;
  for (int i = 0; i < 300; ++i) {
    std::string key = std::string(kKey) + "\\Item-" + std::to_string(i);
    ASSERT_TRUE(WriteRegString(kCurrentUser, key.c_str(), "Name",
                               "a fairly long value to fill pages"));
  }
  ASSERT_TRUE(filling.Commit());
  ASSERT_TRUE(CloseSettingsStore());  // The last close empties the WAL.
  std::string bytes = ReadFile(SettingsStorePath());
  ASSERT_GT(bytes.size(), 8192u);
  // Keep the header and the schema page; spoil the tables' pages.
  std::string spoiled = bytes.substr(0, 8192) + Garbage(bytes.size() - 8192);
  WriteFile(SettingsStorePath(), spoiled);

  ExpectWorkingStore();
  std::vector<fs::path> damaged = DamagedFiles();
  ASSERT_EQ(damaged.size(), 1u);
  EXPECT_EQ(ReadFile(damaged[0]), spoiled);
}

TEST_F(SettingsDamageTest, FileReplacedUnderOpenConnectionIsNoticed) {
  ASSERT_TRUE(WriteRegDword(kCurrentUser, kKey, "Old", 1));
  // What another process does on finding the file damaged, except that the
  // file left in its place is damaged too.
  const std::string store = SettingsStorePath();
  for (const char* suffix : {"", "-wal", "-shm"}) {
    fs::rename(store + suffix, store + ".elsewhere" + suffix);
  }
  WriteFile(store, Garbage(1000));

  EXPECT_EQ(DwordAt(kKey, "Old"), std::nullopt);
  ExpectWorkingStore();
  EXPECT_EQ(DamagedFiles().size(), 1u);
}

}  // namespace
}  // namespace vocor
