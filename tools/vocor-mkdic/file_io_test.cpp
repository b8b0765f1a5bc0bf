// Atomic replacement is tested through the program (vocor_mkdic_test.cpp);
// these are the reading limits that the program cannot easily reach.
#include "tools/vocor-mkdic/file_io.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace vocor
