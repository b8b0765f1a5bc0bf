// vocor-cli define: wrapping checked against the words it must keep, and
// the built program run on databases the test makes, with each exit code.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "definitions/testing/dict_writer.h"
#include "dictionary/testing/scratch_dir.h"
#include "tools/vocor-cli/cli_define.h"

namespace vocor::cli {
namespace {

using ::testing::HasSubstr;

size_t CodePoints(const std::string& text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
  return count;
}

std::vector<std::string> Words(const std::string& text) {
  std::istringstream in(text);
  return {std::istream_iterator<std::string>(in), {}};
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// Random indented lines of random words (some of them accented, some longer
// than the line), wrapped at random widths: each input line becomes lines
// that hold the same words in the same order, start with its indentation,
// and fit the width unless they hold a single word.
TEST(DefineWrap, KeepsWordsIndentationAndWidth) {
  std::mt19937 random(42);
  const std::string pieces[] = {"a", "é", "word", "ü", "x", "long-ish"};
  for (int round = 0; round < 500; ++round) {
    const size_t width = 5 + random() % 40;
    const std::string margin(random() % 6, ' ');
    std::string line = margin;
    for (int words = random() % 30; words > 0; --words) {
      for (int n = 1 + random() % 6; n > 0; --n) line += pieces[random() % 6];
      line += std::string(1 + random() % 2, ' ');
    }
    const std::string wrapped = WrapText(line, width);
    SCOPED_TRACE("width " + std::to_string(width) + ": " + line);
    EXPECT_EQ(Words(wrapped), Words(line));
    for (const std::string& out : Lines(wrapped)) {
      EXPECT_TRUE(out.starts_with(margin)) << out;
      EXPECT_TRUE(CodePoints(out) <= width || Words(out).size() == 1) << out;
    }
  }
  EXPECT_EQ(WrapText("short\n\n  kept as it is", 20),
            "short\n\n  kept as it is\n");
  EXPECT_EQ(WrapText("  one two three four", 10), "  one two\n  three\n  four\n");
}

struct Outcome {
  int code = -1;
  std::string out, err;
};

std::string Read(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class DefineCommandTest : public ::testing::Test {
 protected:
  Outcome Run(const std::string& arguments) {
    const std::string out = files_.path() + "/out", err = files_.path() + "/err";
    const std::string command = "COLUMNS=38 '" VOCOR_CLI_PATH "' define " +
                                arguments + " >" + out + " 2>" + err;
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, Read(out), Read(err)};
  }

  void Make(const std::string& folder, const std::string& name,
            const std::vector<testing::MadeEntry>& entries) {
    std::filesystem::create_directories(folder);
    testing::WriteDatabase(folder, name, testing::MakeDatabase(entries), 50);
  }

  testing::ScratchDir files_;
};

TEST_F(DefineCommandTest, PrintsEntriesAndTellsEachFailureByItsCode) {
  const std::string made = files_.path() + "/made";
  Make(made, "freedict-fra-eng",
       {{"00databaseshort", "French-English\n"},
        {"chat", "chat /\xca\x83" "a/\ncat, a small domesticated carnivorous "
                 "mammal with soft fur\n"},
        {"\xc3\xa9" "cole", "\xc3\xa9" "cole\nschool\n"}});
  Make(made, "gcide", {{"Chat", "Chat\nInformal talk.\n"}});
  const std::string only = "--no-system-databases --folder '" + made + "' ";

  Outcome o = Run(only + "CHAT");
  EXPECT_EQ(o.code, kExitOk) << o.err;
  EXPECT_EQ(o.out,
            "From gcide [gcide]:\n"
            "\n"
            "  Chat\n"
            "  Informal talk.\n"
            "\n"
            "From French-English\n"
            "[freedict-fra-eng]:\n"
            "\n"
            "  chat /\xca\x83" "a/\n"
            "  cat, a small domesticated\n"
            "  carnivorous mammal with soft fur\n");
  o = Run(only + "--database freedict-fra-eng \xc3\x89" "COLE");
  EXPECT_EQ(o.code, kExitOk) << o.err;
  EXPECT_THAT(o.out, HasSubstr("  school\n"));
  EXPECT_EQ(Run(only + "--database gcide ecole").code, kExitNotDefined);
  o = Run(only + "zebra");
  EXPECT_EQ(o.code, kExitNotDefined);
  EXPECT_EQ(o.out, "");
  EXPECT_THAT(o.err, HasSubstr("zebra"));

  o = Run(only + "--database nosuch chat");
  EXPECT_EQ(o.code, kExitFailure);
  EXPECT_THAT(o.err, HasSubstr("freedict-fra-eng gcide"));

  o = Run("--no-system-databases --folder '" + files_.path() + "/none' chat");
  EXPECT_EQ(o.code, kExitNoDatabase);
  EXPECT_THAT(o.err, HasSubstr("dict-gcide"));

  // A damaged database is named; the others still answer.
  const std::string damaged = files_.path() + "/damaged";
  Make(damaged, "broken", {{"chat", "chat\n"}});
  testing::WriteFile(damaged + "/broken.dict.dz", "not gzip at all");
  o = Run("--no-system-databases --folder '" + damaged + "' chat");
  EXPECT_EQ(o.code, kExitDamaged);
  EXPECT_THAT(o.err, HasSubstr("broken.dict.dz: not a gzip file"));
  o = Run("--no-system-databases --folder '" + damaged + "' --folder '" +
          made + "' chat");
  EXPECT_EQ(o.code, kExitOk);
  EXPECT_THAT(o.err, HasSubstr("broken.dict.dz"));
  EXPECT_THAT(o.out, HasSubstr("  cat, a small"));
}

}  // namespace
}  // namespace vocor::cli
