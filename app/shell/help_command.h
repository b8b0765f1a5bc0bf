// What a help request shows. A help request is a command and its data:
// Help Topics and F1 ask for the contents (kHelpFinder), context help asks
// for the topic of a command (kHelpContext with CommandHelpId(command)).
// The request is first translated into the help viewer's command (a topic,
// the index or the contents) and then mapped onto a page of the help.
#ifndef VOCOR_APP_SHELL_HELP_COMMAND_H_
#define VOCOR_APP_SHELL_HELP_COMMAND_H_

namespace vocor {

inline constexpr unsigned kHelpContext = 1;  // topic by context id
inline constexpr unsigned kHelpIndex = 3;
inline constexpr unsigned kHelpContextPopup = 8;
inline constexpr unsigned kHelpFinder = 0x10001;  // Help Topics and F1

// The topic id that context help asks for: the command id plus 0x10000.
// HelpTopicFile takes it, or the plain command id.
inline constexpr unsigned kCommandHelpBase = 0x10000;
inline constexpr unsigned CommandHelpId(unsigned command) {
  return kCommandHelpBase + command;
}

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
    {"wordplay.html", "Wordplay"},
    {"patterns.html", "Patterns and lengths"},
    {"dictionaries.html", "Dictionaries and sets"},
    {"scores.html", "Scores and order"},
    {"definitions.html", "Definitions"},
    {"keyboard.html", "The keyboard"},
    {"tools.html", "Command-line tools"},
    {"about.html", "About Vocor"},
    {"keywords.html", "Index"},
};
// The page of a topic id: a command id, alone or as a help id of a
// command (0x10000 + id). Unknown ids give the contents page.
const char* HelpTopicFile(unsigned topic);
// The page a help request shows.
const char* HelpFileFor(unsigned command, unsigned data);

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_HELP_COMMAND_H_
