#include "app/search/wordplay_form.h"

namespace vocor {
namespace {

struct KindTexts {
  const char* name;
  const char* label;
  const char* help;
  int first_box;  // the box of the kind's first input
};

constexpr KindTexts kKinds[kWordplayKindCount] = {
    {"Equation", "E&quation:",
     "Word equations: upper-case letters are variables, each standing for "
     "the same run of letters wherever it appears; ~A is A reversed; "
     "lower-case letters, ? and * and the rest of the pattern language "
     "mean what they mean in a pattern. Patterns are separated by ; and "
     "each must be a word. Constraints follow the patterns: |A|=3, |A|>=3, "
     "|A|<=5, A!=B. Examples: AB;A;B (charades), A~A (even palindromes), "
     "AB;BA (rotations), AxB;AB (one letter inserted), ABC;AC;B "
     "(containers), A;~A (reversals), AA (doubled words), "
     "AB;A;B;|A|>=3;|B|>=3.",
     0},
    {"Hidden words", "&Phrase:",
     "A phrase: every word spelled by consecutive letters of it is listed, "
     "across its spaces and punctuation, at least as long as the minimum "
     "length (3 when left blank). A word that is one of the phrase's own "
     "words is left out. Reversed lists the words read backwards too.",
     1},
    {"Letter selections", "&Phrase:",
     "A phrase: its first letters, last letters, odd letters and even "
     "letters are listed, each with whether it is a word and the words "
     "that are its anagrams.",
     3},
    {"Spoonerism", "W&ords:",
     "Two words: their leading consonant groups (the letters before the "
     "first vowel; y after a consonant is a vowel, qu stays together) are "
     "swapped, and the result is listed when both are words. With more "
     "words, every pair is tried; with one word, every split of it into "
     "two words.",
     4},
};

const KindTexts& TextsOf(WordplayKind kind) {
  return kKinds[static_cast<int>(kind)];
}

}  // namespace

const char* WordplayKindName(WordplayKind kind) { return TextsOf(kind).name; }

const char* WordplayBoxLabel(WordplayKind kind) { return TextsOf(kind).label; }

const char* WordplayBoxHelp(WordplayKind kind) { return TextsOf(kind).help; }

bool WordplayUsesMinimum(WordplayKind kind) {
  return kind == WordplayKind::kHiddenWords;
}

std::vector<std::string> WordplayVisibleLabels(WordplayKind kind) {
  std::vector<std::string> labels = {kWordplayKindLabel,
                                     WordplayBoxLabel(kind)};
  if (WordplayUsesMinimum(kind)) {
    labels.push_back(kWordplayMinimumLabel);
    labels.push_back(kWordplayReversedLabel);
  }
  return labels;
}

char MnemonicOf(const std::string& label) {
  for (size_t i = 0; i + 1 < label.size(); ++i) {
    if (label[i] != '&') continue;
    const char c = label[i + 1];
    if (c == '&') {
      ++i;  // "&&" is a literal ampersand
      continue;
    }
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  }
  return 0;
}

int WordplayBoxIndex(WordplayKind kind, int input) {
  const int inputs = WordplayUsesMinimum(kind) ? 2 : 1;
  if (input < 0 || input >= inputs) return -1;
  return TextsOf(kind).first_box + input;
}

}  // namespace vocor
