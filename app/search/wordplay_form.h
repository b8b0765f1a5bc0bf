// What the Wordplay tab shows for each kind of wordplay, without any
// widget: the kinds in the order of its drop-down list, the label and help
// of the box each kind reads, which further inputs a kind needs, and where
// a request's input numbers lead among the tab's boxes.
//
// The tab's controls, top to bottom: the kind ("&Kind:"), the box of the
// chosen kind, and for hidden words the minimum length and the Reversed
// check box. Each kind has a box of its own with its own history; only the
// chosen kind's controls are shown.
#ifndef VOCOR_APP_SEARCH_WORDPLAY_FORM_H_
#define VOCOR_APP_SEARCH_WORDPLAY_FORM_H_

#include <string>
#include <vector>

namespace vocor {

enum class WordplayKind {
  kEquation = 0,
  kHiddenWords = 1,
  kLetterSelections = 2,
  kSpoonerism = 3,
};
inline constexpr int kWordplayKindCount = 4;

// The labels of the controls every kind shows.
inline constexpr const char* kWordplayKindLabel = "&Kind:";
inline constexpr const char* kWordplayMinimumLabel = "&Min. Length:";
inline constexpr const char* kWordplayReversedLabel = "&Reversed";

// The kind's entry in the drop-down list: "Equation", "Hidden words", ...
const char* WordplayKindName(WordplayKind kind);
// The label of the kind's box, with its mnemonic: "E&quation:", "&Phrase:".
const char* WordplayBoxLabel(WordplayKind kind);
// The What's This text of the kind's box.
const char* WordplayBoxHelp(WordplayKind kind);
// Whether the kind reads the minimum length and the Reversed check box.
bool WordplayUsesMinimum(WordplayKind kind);

// The labels shown together while `kind` is chosen, in tab order.
std::vector<std::string> WordplayVisibleLabels(WordplayKind kind);

// The letter a label's '&' marks, lower case; 0 for none.
char MnemonicOf(const std::string& label);

// The index among the tab's boxes (equation, hidden-word phrase, minimum,
// letter-selection phrase, spoonerism words) of input `input` of `kind`'s
// request; -1 for none.
int WordplayBoxIndex(WordplayKind kind, int input);

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_WORDPLAY_FORM_H_
