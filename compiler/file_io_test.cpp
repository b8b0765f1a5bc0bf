// Atomic replacement is tested through the program (vocor_mkdic_test.cpp);
// these are the reading limits that the program cannot easily reach.
#include "compiler/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dictionary/testing/scratch_dir.h"

namespace vocor {
namespace {

TEST(FileIoTest, ReadsWholeFilesUpToTheLimit) {
  testing::ScratchDir dir;
  const std::string big(200000, 'x');  // several read chunks
  const std::string path = dir.Write("big", big);
  std::string bytes = "stale";
  std::string error;
  ASSERT_EQ(ReadWholeFile(path, big.size(), &bytes, &error), ReadStatus::kRead);
  EXPECT_EQ(bytes, big);
  EXPECT_EQ(ReadWholeFile(path, big.size() - 1, &bytes, &error),
            ReadStatus::kTooLarge);
  EXPECT_NE(error.find(path), std::string::npos);
  ASSERT_EQ(ReadWholeFile(dir.Write("empty", ""), 0, &bytes, &error),
            ReadStatus::kRead);
  EXPECT_EQ(bytes, "");
}

TEST(FileIoTest, ReplaceTargetsFollowLinkChainsToRegularFilesOnly) {
  testing::ScratchDir dir;
  namespace fs = std::filesystem;
  const std::string file = dir.Write("file", "x");
  fs::create_symlink("file", dir.path() + "/one");
  fs::create_symlink(dir.path() + "/one", dir.path() + "/two");
  std::string target, error;
  ASSERT_TRUE(ResolveReplaceTarget(dir.path() + "/two", &target, &error));
  EXPECT_EQ(target, file);
  ASSERT_TRUE(ResolveReplaceTarget(dir.path() + "/new", &target, &error));
  EXPECT_EQ(target, dir.path() + "/new");
  fs::create_symlink("missing", dir.path() + "/dangling");
  ASSERT_TRUE(ResolveReplaceTarget(dir.path() + "/dangling", &target, &error));
  EXPECT_EQ(target, dir.path() + "/missing");
  fs::create_symlink("loop", dir.path() + "/loop");
  EXPECT_FALSE(ResolveReplaceTarget(dir.path() + "/loop", &target, &error));
  EXPECT_NE(error.find("symbolic links"), std::string::npos) << error;
  EXPECT_FALSE(ResolveReplaceTarget(dir.path(), &target, &error));
  EXPECT_NE(error.find("a folder"), std::string::npos);
}

TEST(FileIoTest, TheFirstChunkCheckSeesTheStartAndTheSize) {
  testing::ScratchDir dir;
  const std::string path = dir.Write("big", std::string(200000, 'x'));
  std::string bytes, error;
  size_t seen_first = 0, seen_size = 0;
  const auto refuse = [&](std::string_view first, size_t size,
                          std::string* reason) {
    seen_first = first.size();
    seen_size = size;
    *reason = "no thanks";
    return false;
  };
  EXPECT_EQ(ReadWholeFile(path, 1 << 20, &bytes, &error, refuse),
            ReadStatus::kRefused);
  EXPECT_EQ(seen_first, kFirstChunkSize);
  EXPECT_EQ(seen_size, 200000u);
  EXPECT_EQ(error, path + ": no thanks");
}

}  // namespace
}  // namespace vocor
