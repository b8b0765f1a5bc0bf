// Other processes sharing the store: concurrent writers, and writers killed
// in the middle of their work.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <random>
#include <string>

#include "settings/settings_store.h"
#include "settings/settings_test_support.h"

namespace vocor {
namespace {

using SettingsConcurrencyTest = SettingsTest;

constexpr const char* kShared = "Software\\Vocor\\Shared";
constexpr const char* kTree = "Software\\Vocor\\Tree";

// Runs `body` in a child process, whose exit status is what `body` returns.
// The caller must have no store connection open (see CloseSettingsStore).
pid_t StartChild(const std::function<int()>& body) {
  pid_t pid = fork();
  if (pid == 0) _exit(body());
  return pid;
}

int ExitStatus(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// Writes values of its own and increments the shared counter in
// transactions; returns how many calls failed.
int WriteMany(const std::string& who, int rounds) {
  std::string own = std::string(kShared) + "\\" + who;
  int failures = 0;
  for (int i = 0; i < rounds; ++i) {
    std::string name = "Value-" + std::to_string(i);
    if (!WriteRegDword(kCurrentUser, own.c_str(), name.c_str(), i)) {
      ++failures;
    }
    SettingsTransaction transaction;
    uint32_t count = 0;
    ReadRegDword(kCurrentUser, kShared, "Counter", &count);
    // Work between the read and the write widens the window in which an
    // unisolated increment would be lost.
    if (!WriteRegDword(kCurrentUser, own.c_str(), "Last", i) ||
        !WriteRegDword(kCurrentUser, kShared, "Counter", count + 1) ||
        !transaction.Commit()) {
      ++failures;
    }
  }
  return failures;
}

TEST_F(SettingsConcurrencyTest, TwoProcessesWriteAtOnce) {
  constexpr int kRounds = 100;
  // Both processes start on a store that does not exist yet.
  pid_t child = StartChild([] { return WriteMany("Child", kRounds); });
  ASSERT_GT(child, 0);
  EXPECT_EQ(WriteMany("Parent", kRounds), 0);
  EXPECT_EQ(ExitStatus(child), 0);

  EXPECT_EQ(DwordAt(kShared, "Counter"), 2u * kRounds);
  for (const char* who : {"Child", "Parent"}) {
    std::string own = std::string(kShared) + "\\" + who;
    for (int i = 0; i < kRounds; ++i) {
      std::string name = "Value-" + std::to_string(i);
      EXPECT_EQ(DwordAt(own.c_str(), name.c_str()), static_cast<uint32_t>(i));
    }
  }
}

// Generation `g` of the tree has this many items, so a mix of two
// generations shows in the count as well as in the values.
int ItemCount(uint32_t generation) { return 2 + generation % 5; }

std::string ItemPath(int index) {
  return std::string(kTree) + "\\Item-" + std::to_string(index);
}

std::string ItemName(uint32_t generation, int index) {
  return "item " + std::to_string(generation) + "." + std::to_string(index);
}

// Rewrites the whole tree as the next generation, the way a container
// saves its members, until killed.
int RewriteTreeForever() {
  for (;;) {
    SettingsTransaction transaction;
    uint32_t generation = 0;
    ReadRegDword(kCurrentUser, kTree, "Gen", &generation);
    ++generation;
    DeleteRegTree(kCurrentUser, kTree);
    bool ok = WriteRegDword(kCurrentUser, kTree, "Gen", generation);
    for (int i = 0; ok && i < ItemCount(generation); ++i) {
      ok =
          WriteRegDword(kCurrentUser, ItemPath(i).c_str(), "Gen", generation) &&
          WriteRegString(kCurrentUser, ItemPath(i).c_str(), "Name",
                         ItemName(generation, i).c_str());
    }
    if (!ok || !transaction.Commit()) return 1;
  }
}

// Checks that the tree is one whole generation; returns that generation.
uint32_t ExpectWholeGeneration() {
  uint32_t generation = 0;
  if (!ReadRegDword(kCurrentUser, kTree, "Gen", &generation)) {
    EXPECT_TRUE(Subkeys(kTree).empty());
    return 0;
  }
  EXPECT_EQ(Subkeys(kTree).size(), static_cast<size_t>(ItemCount(generation)));
  for (int i = 0; i < ItemCount(generation); ++i) {
    uint32_t item_generation = 0;
    std::string name;
    EXPECT_TRUE(ReadRegDword(kCurrentUser, ItemPath(i).c_str(), "Gen",
                             &item_generation));
    EXPECT_TRUE(
        ReadRegString(kCurrentUser, ItemPath(i).c_str(), "Name", &name));
    EXPECT_EQ(item_generation, generation);
    EXPECT_EQ(name, ItemName(generation, i));
  }
  return generation;
}

TEST_F(SettingsConcurrencyTest, KilledWriterLeavesOldOrNewTree) {
  std::random_device device;
  const unsigned seed = device();
  SCOPED_TRACE("seed " + std::to_string(seed));
  std::mt19937 random(seed);
  std::uniform_int_distribution<long> delay_us(0, 20000);

  uint32_t last = 0;
  for (int round = 0; round < 25; ++round) {
    ASSERT_TRUE(CloseSettingsStore());
    pid_t child = StartChild(RewriteTreeForever);
    ASSERT_GT(child, 0);
    struct timespec pause = {0, delay_us(random) * 1000};
    nanosleep(&pause, nullptr);
    kill(child, SIGKILL);
    ASSERT_EQ(ExitStatus(child), 128 + SIGKILL) << "writer failed a call";

    uint32_t generation = ExpectWholeGeneration();
    EXPECT_GE(generation, last);
    last = generation;
    if (HasFailure()) break;
  }
  EXPECT_GT(last, 0u) << "the writer never committed";
  for (const auto& entry : std::filesystem::directory_iterator(
           std::filesystem::path(SettingsStorePath()).parent_path())) {
    EXPECT_EQ(entry.path().filename().string().find("damaged"),
              std::string::npos);
  }
}

}  // namespace
}  // namespace vocor
