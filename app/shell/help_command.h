// What a help request shows. The window's help call receives the command
// of the original platform's help interface; it is translated as that
// platform's frame did and then mapped onto the pages of our help window.
#ifndef VOCOR_APP_SHELL_HELP_COMMAND_H_
#define VOCOR_APP_SHELL_HELP_COMMAND_H_

namespace vocor {

inline constexpr unsigned kHelpContext = 1;  // topic by context id
inline constexpr unsigned kHelpIndex = 3;
inline constexpr unsigned kHelpContextPopup = 8;
inline constexpr unsigned kHelpFinder = 0x10001;  // Help Topics and F1

// The command as the help viewer takes it: 1 -> 15, 3 -> 2, 8 and 0x10001
// -> 1, anything else unchanged.
unsigned TranslateHelpCommand(unsigned command);

enum class HelpPage { kContents, kIndex, kTopic };
// The page for a translated command: 15 a topic, 2 the index, anything
// else the contents.
HelpPage HelpPageFor(unsigned translated_command);

// The pages of the help, in the order of its contents list.
struct HelpPageInfo {
  const char* file;  // below ":/help/"
  const char* title;
};
inline constexpr HelpPageInfo kHelpPages[] = {
    {"index.html", "Contents"},
    {"crossword.html", "Crossword search"},
    {"anagram.html", "Anagram search"},
    {"hidden.html", "Hidden word search"},
    {"palindromes.html", "Palindromes etc."},
    {"patterns.html", "Patterns and lengths"},
    {"dictionaries.html", "Dictionaries and sets"},
    {"keyboard.html", "The keyboard"},
    {"tools.html", "Command-line tools"},
    {"keywords.html", "Index"},
};
// The page of a topic id: a command id, alone or as a help id of a
// command (0x10000 + id). Unknown ids give the contents page.
const char* HelpTopicFile(unsigned topic);
// The page a help request shows.
const char* HelpFileFor(unsigned command, unsigned data);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_HELP_COMMAND_H_
