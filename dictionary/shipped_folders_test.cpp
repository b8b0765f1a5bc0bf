#include "dictionary/shipped_folders.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/testing/scratch_dir.h"

namespace vocor {
namespace {

namespace fs = std::filesystem;

class ShippedFoldersTest : public ::testing::Test {
 protected:
  fs::path Make(const std::string& relative) {
    const fs::path path = fs::path(scratch_.path()) / relative;
    fs::create_directories(path);
    return path;
  }
  std::string Under(const std::string& relative) const {
    return (fs::path(scratch_.path()) / relative).string();
  }

  testing::ScratchDir scratch_;
};

TEST_F(ShippedFoldersTest, BuildTreeKeepsBothFoldersBesideTheProgram) {
  Make("build/bin/Data");
  Make("build/bin/Languages");
  const std::string bin = Under("build/bin");
  EXPECT_EQ(FindShippedFolder(bin, kDataFolderName), Under("build/bin/Data"));
  EXPECT_EQ(FindShippedFolder(bin, kLanguagesFolderName),
            Under("build/bin/Languages"));
}

TEST_F(ShippedFoldersTest, InstalledTreeIsFoundRelativeToWhereverItIsMoved) {
  Make("usr/bin");
  Make("usr/share/vocor/Data");
  Make("usr/share/vocor/Languages");
  EXPECT_EQ(FindShippedFolder(Under("usr/bin"), kDataFolderName),
            Under("usr/share/vocor/Data"));

  fs::rename(Under("usr"), Under("opt-vocor"));
  EXPECT_EQ(FindShippedFolder(Under("opt-vocor/bin"), kDataFolderName),
            Under("opt-vocor/share/vocor/Data"));
  EXPECT_EQ(FindShippedFolder(Under("opt-vocor/bin"), kLanguagesFolderName),
            Under("opt-vocor/share/vocor/Languages"));
}

TEST_F(ShippedFoldersTest, EachFolderIsLookedUpOnItsOwn) {
  // A build tree without the optional languages must not borrow them from
  // some share/vocor that happens to lie above it, nor the other way.
  Make("tree/bin/Data");
  Make("tree/share/vocor/Languages");
  const std::string bin = Under("tree/bin");
  EXPECT_EQ(FindShippedFolder(bin, kDataFolderName), Under("tree/bin/Data"));
  EXPECT_EQ(FindShippedFolder(bin, kLanguagesFolderName),
            Under("tree/share/vocor/Languages"));
}

TEST_F(ShippedFoldersTest, FilesAndMissingFoldersAreNotFolders) {
  Make("bin");
  scratch_.Write("bin/Data", "not a folder");
  Make("share/vocor");
  scratch_.Write("share/vocor/Data", "not a folder either");
  EXPECT_EQ(FindShippedFolder(Under("bin"), kDataFolderName),
            Under("bin/Data"));
  EXPECT_EQ(FindShippedFolder(Under("bin"), kLanguagesFolderName),
            Under("bin/Languages"));
}

TEST(ProgramFolderTest, IsTheFolderOfTheRunningTestProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(fs::exists(fs::path(folder) / "dictionary_tests"));
}

}  // namespace
}  // namespace vocor
