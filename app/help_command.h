// What a help request shows. The window's help call receives the command
// of the original platform's help interface; it is translated as that
// platform's frame did and then mapped onto the pages of our help window.
#ifndef VOCOR_APP_HELP_COMMAND_H_
#define VOCOR_APP_HELP_COMMAND_H_

namespace vocor {

inline constexpr unsigned kHelpContext = 1;         // topic by context id
inline constexpr unsigned kHelpIndex = 3;
inline constexpr unsigned kHelpContextPopup = 8;
inline constexpr unsigned kHelpFinder = 0x10001;    // Help Topics and F1

// The command as the help viewer takes it: 1 -> 15, 3 -> 2, 8 and 0x10001
// -> 1, anything else unchanged.
unsigned TranslateHelpCommand(unsigned command);

enum class HelpPage { kContents, kIndex, kTopic };
// The page for a translated command: 15 a topic, 2 the index, anything
// else the contents.
HelpPage HelpPageFor(unsigned translated_command);

}  // namespace vocor

#endif  // VOCOR_APP_HELP_COMMAND_H_
