// Opens arbitrary bytes as a binary dictionary and walks them under a
// query taken from the same input, and under the letter-play filters. Finds reads outside the image, runaway
// walks and broken invariants of the reader.
//
// Input: [image][query][n]. The last byte n is the length of the query
// part (cut to what is there); everything before the query is the file
// image. The query part is split at NUL bytes into up to five fields:
// a pattern, the minimum and maximum texts of a letter constraint, a
// second pattern and a word to look up. A missing field is not applied
// (a missing text is an absent part of the constraint).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/vocor_file_dictionary.h"
#include "engine/palindrome.h"

namespace vocor {
namespace {

// Enough for every walk of a small valid file; a longer one is cut off
// without complaint (a few kilobytes of nodes can hold millions of words
// through shared subtrees).
constexpr int kUnitBudget = 200'000;

struct Query {
  std::optional<std::string> fields[5];
};

Query SplitQuery(std::string_view bytes) {
  Query query;
  size_t field = 0;
  while (field < 5 && !bytes.empty()) {
    const size_t end = bytes.find('\0');
    query.fields[field++] = std::string(bytes.substr(0, end));
    bytes = end == std::string_view::npos ? "" : bytes.substr(end + 1);
  }
  return query;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

// Reads in slices until exhausted or out of budget, checking what every
// reader promises whatever the file holds.
void Walk(CEnumResults* e, int budget) {
  int last_position = e->GetPosition();
  while (budget > 0) {
    int counter = 100;
    const char* word = e->Next(&counter);
    budget -= 100 - counter;
    Check(counter >= 0);
    const int position = e->GetPosition();
    Check(position >= last_position);
    Check(position >= 0 && position <= e->GetExtent());
    last_position = position;
    if (word != nullptr) {
      Check(std::strlen(word) <= static_cast<size_t>(kMaxWordLength));
      Check(IsValidScore(e->Score()));
    } else if (counter != 0) {
      return;
    }
  }
}

void Run(std::string_view image, const Query& query) {
  CDictionaryVocorFile dict;
  if (!dict.OpenImage(FileImage::FromBytes(std::string(image)))) return;
  dict.GetName();
  dict.GetNotes();
  EnumPtr e = dict.CreateEnumerator();
  const auto& [pattern, min_text, max_text, second_pattern, probe] =
      query.fields;
  if (pattern) e = e->Pattern(std::move(e), pattern->c_str());
  if (min_text || max_text) {
    const CLetterConstraint constraint(min_text ? min_text->c_str() : nullptr,
                                       max_text ? max_text->c_str() : nullptr);
    e = e->Letters(std::move(e), constraint);
  }
  if (second_pattern) e = e->Pattern(std::move(e), second_pattern->c_str());
  e->Describe(0);
  ScoreCounts counts{};
  e->CountScores(&counts);
  EnumPtr clone = e->Clone();
  // The clone walks only the words scoring at least 60.
  clone = clone->MinScore(std::move(clone), 60);
  Walk(e.get(), kUnitBudget);
  if (probe) e->Contains(probe->c_str());
  e->Contains("a");
  e->Reset();
  Walk(e.get(), 1000);
  Walk(clone.get(), 1000);
  // The letter-play walks judge and pass whole subtrees, and the
  // reversing ones trust the word endings.
  for (int mode : {kReverse, kRotate}) {
    for (int form : {kSameWord, kAnotherWord}) {
      CEnumResultsPalindrome survivors(dict.CreateEnumerator(), mode, form);
      Walk(&survivors, kUnitBudget / 10);
    }
  }
}

}  // namespace
}  // namespace vocor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const std::string_view input(reinterpret_cast<const char*>(data), size - 1);
  const size_t query_size = std::min<size_t>(data[size - 1], input.size());
  vocor::Run(input.substr(0, input.size() - query_size),
             vocor::SplitQuery(input.substr(input.size() - query_size)));
  return 0;
}
