// Lists whose lines mix UTF-8 and Windows-1252 read as the reference reads
// them: every line transcoded to UTF-8 by its own encoding, the whole then
// read as UTF-8. A list of one encoding reads as that encoding read whole,
// which is how such lists were always read.
#include <gtest/gtest.h>

#include "dictionary/testing/mixed_lists.h"
#include "dictionary/testing/scratch_dir.h"
#include "dictionary/text_file_dictionary.h"
#include "dictionary/text_words.h"
#include "engine/testing/vector_enum.h"

namespace vocor {
namespace {

using testing::ListKind;

struct ScannedRun {
  TextRun run;
  std::string word;  // engine text, for kWord
};

std::vector<ScannedRun> RunsOf(const TextWordScanner& scanner) {
  std::vector<ScannedRun> runs;
  char buffer[kWordBufferSize];
  ScannedRun next;
  while (scanner.FindRun(next.run.end, &next.run, buffer)) {
    next.word.assign(buffer, next.run.length);
    runs.push_back(next);
  }
  return runs;
}

// The line holding byte `pos` (without a leading byte-order mark).
std::string_view LineAt(std::string_view text, size_t pos) {
  size_t begin = text.find_last_of("\r\n", pos);
  begin = begin == std::string_view::npos ? 0 : begin + 1;
  if (begin == 0 && text.starts_with(testing::kByteOrderMark)) begin = 3;
  const size_t end = text.find_first_of("\r\n", pos);
  return text.substr(begin, end == std::string_view::npos ? end : end - begin);
}

bool HasHighByte(std::string_view text) {
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  }
  return false;
}

// The words of `text` as the text dictionary yields them, its count and
// order check included.
struct DictionaryReading {
  std::vector<std::string> words;
  int count = -1;
  bool in_order = false;
};

DictionaryReading ReadAsDictionary(testing::ScratchDir& dir,
                                   const std::string& name,
                                   const std::string& text) {
  DictionaryReading reading;
  CDictionaryTextFile dict;
  dict.SetFileName(dir.Write(name, text).c_str());
  if (!dict.Open()) return reading;  // an empty list cannot be opened
  reading.count = dict.GetWordCount();
  reading.in_order = dict.IsInAlphabeticOrder();
  reading.words = testing::ReadAll(dict.CreateEnumerator().get());
  return reading;
}

TEST(TextLinesDifferentialTest, EachLineIsReadInItsOwnEncoding) {
  testing::ScratchDir dir;
  testing::MixedListMaker maker(1516);
  int windows1252_seen = 0;
  for (int round = 0; round < 900; ++round) {
    const auto kind = static_cast<ListKind>(round % 3);
    const std::string text = maker.List(kind);
    int64_t windows1252 = 0;
    const std::string reference = testing::PerLineUtf8(text, &windows1252);
    // The reference of a one-encoding list is that encoding read whole.
    if (kind == ListKind::kUtf8Only) {
      ASSERT_EQ(reference, text);
    }
    if (kind == ListKind::kWindows1252Only &&
        !text.starts_with(testing::kByteOrderMark)) {
      ASSERT_EQ(reference, EngineToUtf8(text));
    }

    const TextWordScanner scanner(text);
    const TextWordScanner reference_scanner(reference);
    ASSERT_EQ(scanner.windows1252_lines(), windows1252) << text;
    ASSERT_EQ(reference_scanner.windows1252_lines(), 0);
    windows1252_seen += windows1252 > 0;
    const std::vector<ScannedRun> runs = RunsOf(scanner);
    const std::vector<ScannedRun> expected = RunsOf(reference_scanner);
    ASSERT_EQ(runs.size(), expected.size()) << text;
    for (size_t i = 0; i < runs.size(); ++i) {
      const TextRun& run = runs[i].run;
      ASSERT_EQ(run.kind, expected[i].run.kind) << text;
      ASSERT_EQ(runs[i].word, expected[i].word) << text;
      // The run's bytes, decoded as the scanner says their line is, are
      // the reference's run: the offsets are the file's own.
      const std::string_view bytes =
          std::string_view(text).substr(run.start, run.end - run.start);
      const bool utf8 = scanner.IsUtf8At(run.start);
      ASSERT_EQ(utf8 ? std::string(bytes) : EngineToUtf8(bytes),
                reference.substr(expected[i].run.start,
                                 expected[i].run.end - expected[i].run.start))
          << text;
      // A line of ASCII reads the same either way.
      const std::string_view line = LineAt(text, run.start);
      if (HasHighByte(line)) {
        ASSERT_EQ(utf8, IsValidUtf8(line)) << text;
      }
    }

    const DictionaryReading read = ReadAsDictionary(dir, "list.txt", text);
    const DictionaryReading want =
        ReadAsDictionary(dir, "reference.txt", reference);
    ASSERT_EQ(read.count, want.count) << text;
    ASSERT_EQ(read.in_order, want.in_order) << text;
    ASSERT_EQ(read.words, want.words) << text;
  }
  EXPECT_GT(windows1252_seen, 300);  // the maker mixes, as it should
}

}  // namespace
}  // namespace vocor
