#include "engine/letters.h"

#include <algorithm>

#include "engine/charset.h"
#include "engine/pattern.h"
#include "engine/saturate.h"

namespace vocor {
namespace {

// Counts above this are written as a number: a word never holds that many
// of one letter, and spelling out billions of characters would exhaust
// memory for nothing.
constexpr int kMaxSpelledCount = 1000;

}  // namespace

bool IsCountedCharacter(unsigned char c) {
  return IsEngineLetter(c) || c == '\'' || c == '-' || c == kBlank;
}

void ParseLetterCounts(const char* text, int counts[kLetterTableSize]) {
  std::fill(counts, counts + kLetterTableSize, 0);
  const char* s = text;
  while (*s != '\0') {
    const auto c = static_cast<unsigned char>(*s++);
    if (!IsCountedCharacter(c)) continue;
    int& count = counts[c];
    if (*s == '*') {
      count = kUnlimited;
      ++s;
    } else if (*s >= '0' && *s <= '9') {
      int run = ParseSaturatedDecimal(&s, kMaxLetterCount);
      if (count != kUnlimited)
        count = SaturatingAdd(count, run, kMaxLetterCount);
    } else if (count != kUnlimited) {
      count = SaturatingAdd(count, 1, kMaxLetterCount);
    }
  }
}

std::string FormatLetterCounts(const int counts[kLetterTableSize]) {
  std::string out;
  for (int c = 1; c < kLetterTableSize; ++c) {
    const int count = counts[c];
    if (count <= 0) continue;
    if (count == kUnlimited) {
      out.push_back(static_cast<char>(c));
      out.push_back('*');
    } else if (count > kMaxSpelledCount) {
      out.push_back(static_cast<char>(c));
      out += std::to_string(count);
    } else {
      out.append(count, static_cast<char>(c));
    }
  }
  return out;
}

std::string DescribeLetterCounts(const int counts[kLetterTableSize]) {
  std::string left_out;
  int unlimited = 0;
  for (int c = 1; c < kLetterTableSize; ++c) {
    if (counts[c] == kUnlimited) {
      ++unlimited;
    } else if (counts[c] == 0) {
      left_out.push_back(static_cast<char>(c));
    } else {
      return FormatLetterCounts(counts);
    }
  }
  if (unlimited <= kLetterTableSize / 2) return FormatLetterCounts(counts);
  return "* but " + left_out;
}

int SumLetterCounts(const int counts[kLetterTableSize]) {
  int sum = 0;
  for (int c = 0; c < kLetterTableSize; ++c) {
    if (counts[c] != kUnlimited && counts[c] > 0) {
      sum = SaturatingAdd(sum, counts[c], kMaxLetterCount);
    }
  }
  return sum;
}

CLetterConstraint::CLetterConstraint() : hasMin(false), hasMax(false) {
  std::fill(minCount, minCount + kLetterTableSize, 0);
  std::fill(maxCount, maxCount + kLetterTableSize, kUnlimited);
}

CLetterConstraint::CLetterConstraint(const char* min_text, const char* max_text)
    : CLetterConstraint() {
  if (min_text != nullptr) {
    ParseLetterCounts(min_text, minCount);
    hasMin = std::any_of(minCount + 1, minCount + kLetterTableSize,
                         [](int n) { return n != 0; });
  }
  if (max_text != nullptr) {
    ParseLetterCounts(max_text, maxCount);
    hasMax = std::any_of(maxCount + 1, maxCount + kLetterTableSize,
                         [](int n) { return n != kUnlimited; });
  }
}

bool CLetterConstraint::IsSatisfiable() const {
  if (!hasMax) return true;
  bool any_allowed = false;
  for (int c = 1; c < kLetterTableSize; ++c) {
    // Blanks measure different things in the two parts (extra letters
    // required, tiles available), so they are not compared.
    if (hasMin && c != kBlank && minCount[c] > maxCount[c]) return false;
    if (maxCount[c] > 0) any_allowed = true;
  }
  return any_allowed;
}

void CLetterConstraint::CombineWith(const CLetterConstraint& other) {
  if (other.hasMin) {
    for (int c = 0; c < kLetterTableSize; ++c) {
      if (other.minCount[c] > minCount[c]) {
        minCount[c] = other.minCount[c];
        hasMin = true;
      }
    }
  }
  if (other.hasMax) {
    for (int c = 0; c < kLetterTableSize; ++c) {
      if (other.maxCount[c] < maxCount[c]) {
        maxCount[c] = other.maxCount[c];
        hasMax = true;
      }
    }
  }
}

bool CLetterConstraint::Accepts(const char* word) const {
  if (!hasMin && !hasMax) return true;
  int counts[kLetterTableSize];
  ParseLetterCounts(word, counts);
  if (hasMin) {
    long long surplus = 0;
    for (int c = 1; c < kLetterTableSize; ++c) {
      if (c == kBlank) continue;
      if (counts[c] < minCount[c]) return false;
      surplus += counts[c] - minCount[c];
    }
    if (surplus < minCount[kBlank]) return false;
  }
  if (hasMax) {
    const long long blanks = maxCount[kBlank];
    long long needed = 0;
    for (int c = 1; c < kLetterTableSize; ++c) {
      if (counts[c] > maxCount[c]) {
        needed += static_cast<long long>(counts[c]) - maxCount[c];
        if (needed > blanks) return false;
      }
    }
  }
  return true;
}

int CLetterConstraint::TakeLetter(char ch) {
  if (!hasMax) return 0;
  const auto c = static_cast<unsigned char>(ch);
  if (maxCount[c] == kUnlimited) return 0;
  if (maxCount[c] > 0) {
    --maxCount[c];
    return c;
  }
  if (maxCount[kBlank] == 0) return -1;
  if (maxCount[kBlank] == kUnlimited) return 0;
  --maxCount[kBlank];
  return kBlank;
}

void CLetterConstraint::GiveBack(int taken) {
  if (taken > 0) ++maxCount[taken];
}

CEnumResultsLetters::CEnumResultsLetters(EnumPtr child,
                                         const CLetterConstraint& constraint)
    : CEnumResultsParent1(std::move(child)), constraint_(constraint) {}

EnumPtr CEnumResultsLetters::Clone() const {
  return std::make_unique<CEnumResultsLetters>(child()->Clone(), constraint_);
}

std::string DescribeLetterParts(const CLetterConstraint& constraint) {
  const std::string min_text = constraint.hasMin
                                   ? DescribeLetterCounts(constraint.minCount)
                                   : "<null>";
  const std::string max_text = constraint.hasMax
                                   ? DescribeLetterCounts(constraint.maxCount)
                                   : "<null>";
  return "\"" + min_text + "\",\"" + max_text + "\"";
}

std::string CEnumResultsLetters::Describe(int indent) const {
  return DescribeIndent(indent) + "Letters(" +
         DescribeLetterParts(constraint_) + ")\n" +
         CEnumResultsParent1::Describe(indent);
}

bool CEnumResultsLetters::Contains(const char* word) const {
  return constraint_.Accepts(word) && child()->Contains(word);
}

EnumPtr CEnumResultsLetters::Letters(EnumPtr self,
                                     const CLetterConstraint& constraint) {
  constraint_.CombineWith(constraint);
  if (constraint_.IsSatisfiable()) return self;
  return std::make_unique<CEnumResultsNone>();
}

const char* CEnumResultsLetters::Next(int* counter) {
  while (counter == nullptr || *counter > 0) {
    const char* word = child()->Next(counter);
    if (word == nullptr) return nullptr;
    if (constraint_.Accepts(word)) return word;
  }
  return nullptr;
}

EnumPtr BuildLettersQuery(EnumPtr source, const char* min_text,
                          const char* max_text, int min_length) {
  CLetterConstraint constraint(min_text, max_text);
  EnumPtr query = source->Letters(std::move(source), constraint);
  if (min_length >= 2) {
    std::string pattern(std::min(min_length, kMaxLengthRun), '?');
    pattern.push_back('*');
    query = query->Pattern(std::move(query), pattern.c_str());
  }
  return query;
}

}  // namespace vocor
