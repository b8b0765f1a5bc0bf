#include "search/search_run.h"

#include <gtest/gtest.h>

#include "engine/testing/vector_enum.h"
#include "search/messages.h"

namespace vocor {
namespace {

using testing::MakeVectorEnum;
using Words = std::vector<std::string>;

struct Recorder : SearchObserver {
  std::vector<int> refresh_counts;  // result count at every refresh
  int limit_reached = 0;
  int finished = 0;
  const CSearchRun* run = nullptr;
  void OnProgress(int) override {
    refresh_counts.push_back(run->sink()->GetResultCount());
  }
  void OnLimitReached() override { ++limit_reached; }
  void OnFinished() override { ++finished; }
};

// Runs to the end and returns the number of steps taken.
int Drive(CSearchRun* run) {
  int steps = 1;
  while (run->Step()) ++steps;
  return steps;
}

std::unique_ptr<CSearchRun> MakeRun(EnumPtr query, Recorder* recorder,
                                    int limit = CSearchRun::kDefaultLimit) {
  auto run = std::make_unique<CSearchRun>(
      std::move(query), std::make_unique<CResultsSinkSorted>(), recorder,
      limit);
  recorder->run = run.get();
  return run;
}

Words Results(const CSearchRun& run) {
  return static_cast<CResultsSinkSorted*>(run.sink())->SortedResults();
}

TEST(SearchRunTest, EmptyQueryEndsAtTheFirstStep) {
  Recorder recorder;
  auto run = MakeRun(std::make_unique<CEnumResultsNone>(), &recorder);
  EXPECT_EQ(run->extent(), 1);
  EXPECT_FALSE(run->Step());
  EXPECT_FALSE(run->running());
  EXPECT_EQ(recorder.finished, 1);
  EXPECT_EQ(run->sink()->GetResultCount(), 0);
}

TEST(SearchRunTest, DuplicatesAndCaseVariantsAreListedOnce) {
  Recorder recorder;
  auto run =
      MakeRun(MakeVectorEnum({"cat", "Dog", "CAT", "dog", "cat"}), &recorder);
  Drive(run.get());
  EXPECT_EQ(Results(*run), (Words{"Dog", "cat"}));

  // In order at first, then a repeat and a word from before.
  Recorder sorted_then_not;
  auto second = MakeRun(
      MakeVectorEnum({"ant", "bee", "bee", "cow", "Ant", "\xe9t\xe9", "dog"}),
      &sorted_then_not);
  Drive(second.get());
  EXPECT_EQ(Results(*second),
            (Words{"ant", "bee", "cow", "dog", "\xc3\xa9t\xc3\xa9"}));
}

TEST(SearchRunTest, SuspendsWhenASliceEndsWithoutAWordAndResumes) {
  // Each word costs 1500 units: every other step runs out of budget.
  Words words;
  for (int i = 0; i < 10; ++i) words.push_back("w" + std::string(i + 1, 'a'));
  Recorder recorder;
  auto run = MakeRun(MakeVectorEnum(words, 1500), &recorder);
  const int steps = Drive(run.get());
  EXPECT_EQ(run->sink()->GetResultCount(), 10);
  EXPECT_EQ(steps, 21);
  // A refresh after every suspended slice.
  EXPECT_EQ(recorder.refresh_counts.size(), 10u);
  EXPECT_EQ(recorder.finished, 1);
}

TEST(SearchRunTest, RefreshesEveryTwentyResults) {
  Words words;
  for (int i = 0; i < 75; ++i) words.push_back("w" + std::to_string(i));
  Recorder recorder;
  auto run = MakeRun(MakeVectorEnum(words), &recorder);
  Drive(run.get());
  EXPECT_EQ(recorder.refresh_counts, (std::vector<int>{20, 40, 60}));
}

TEST(SearchRunTest, StopsAtTheLimit) {
  Words words;
  for (int i = 0; i < 10050; ++i) words.push_back("w" + std::to_string(i));
  Recorder recorder;
  auto run = MakeRun(MakeVectorEnum(words), &recorder);
  Drive(run.get());
  EXPECT_EQ(run->sink()->GetResultCount(), 10000);
  EXPECT_EQ(recorder.limit_reached, 1);
  EXPECT_EQ(recorder.finished, 0);
  EXPECT_FALSE(run->running());
  EXPECT_NE(MessageText(kMsgMatchLimit), nullptr);

  Recorder small;
  auto limited = MakeRun(MakeVectorEnum(words), &small, 5);
  Drive(limited.get());
  EXPECT_EQ(limited->sink()->GetResultCount(), 5);
  EXPECT_EQ(small.limit_reached, 1);
}

TEST(SearchRunTest, StopInTheMiddleKeepsWhatWasFound) {
  Recorder recorder;
  auto run = MakeRun(MakeVectorEnum({"a", "b", "c", "d"}), &recorder);
  run->Step();
  run->Step();
  run->Stop();
  EXPECT_FALSE(run->running());
  EXPECT_FALSE(run->Step());
  EXPECT_EQ(Results(*run), (Words{"a", "b"}));
  EXPECT_EQ(recorder.finished, 0);
}

// A sink that leaves scores unused is not handed them: the run does not
// ask the query, whose scores may have to be read from disk.
TEST(SearchRunTest, ScoresGoOnlyToASinkThatUsesThem) {
  struct ScoreRecorder : CResultsSink {
    bool uses = true;
    std::vector<int> scores;
    bool AddResult(const char*, int score) override {
      scores.push_back(score);
      return true;
    }
    int GetResultCount() const override {
      return static_cast<int>(scores.size());
    }
    bool UsesScores() const override { return uses; }
  };
  for (bool uses : {true, false}) {
    auto sink = std::make_unique<ScoreRecorder>();
    sink->uses = uses;
    const ScoreRecorder* seen = sink.get();
    CSearchRun run(testing::MakeScoredVectorEnum({{"cat", 90}, {"dog", 10}}),
                   std::move(sink), nullptr);
    Drive(&run);
    const std::vector<int> expected =
        uses ? std::vector<int>{90, 10}
             : std::vector<int>{kDefaultScore, kDefaultScore};
    EXPECT_EQ(seen->scores, expected);
  }
}

}  // namespace
}  // namespace vocor
