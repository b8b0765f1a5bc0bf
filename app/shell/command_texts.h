// The texts of the window's commands and of its string table: menu entry
// texts, the "prompt\ntool tip" string of each command (the status line
// shows the part before the line break, a tool tip the part after it) and
// the messages and questions of start-up and the frame. All texts are
// UTF-8; a Qt caller wraps them with QString::fromUtf8. This header does
// not depend on Qt, so the tables are tested without a widget.
#ifndef VOCOR_APP_SHELL_COMMAND_TEXTS_H_
#define VOCOR_APP_SHELL_COMMAND_TEXTS_H_

#include <string>
#include <string_view>

namespace vocor {

// Command ids, as the menus, the tool bar and the accelerators use them.
enum CommandId : unsigned {
  kCmdConfigureDictionaries = 32776,
  kCmdLoadedDictionary = 32778,  // placeholder of the dictionary entries
  kCmdStopKey = 32775,           // Esc
  kCmdBuildDictionary = 32810,
  kCmdCrosswordSearch = 32811,
  kCmdAnagramSearch = 32812,
  kCmdHiddenSearch = 32813,
  kCmdChangeFont = 32819,
  kCmdHelpTopics = 32822,
  kCmdOrderAlphabetical = 32823,  // View: the results' order, a radio pair
  kCmdOrderByScore = 32824,
  kCmdMinimumScore = 32825,
  kCmdViewDefinitions = 32840,  // View: the definitions pane, and its
  kCmdDefinitionsFrom = 32841,  // databases for the active dictionary
  kCmdSearch = 48004,
  kCmdStop = 48005,
  kCmdPrintSetup = 57606,
  kCmdPrint = 57607,
  kCmdPrintDirect = 57608,  // the tool bar's Print: no dialog
  kCmdPrintPreview = 57609,
  kCmdCopy = 57634,
  kCmdCut = 57635,
  kCmdPaste = 57637,
  kCmdUndo = 57643,
  kCmdAbout = 57664,
  kCmdExit = 57665,
  kCmdContextHelp = 57669,  // Shift+F1
  kCmdHelp = 57670,         // F1
  kCmdDefaultHelp = 57671,
  kCmdNextPane = 57680,  // F6
  kCmdPrevPane = 57681,  // Shift+F6
  kCmdViewToolBar = 59392,
  kCmdViewStatusBar = 59393,
};

// The menu entry text of a command, with its '&' mnemonic and, after a
// TAB, the name of its key ("&Search\tF3"); empty for a command that has
// no menu entry. The key name is informative only: the frame assigns the
// shortcuts itself, so a Qt menu may drop everything from the TAB on
// (MenuTextWithoutKey).
std::string_view CommandMenuText(unsigned command);
std::string_view MenuTextWithoutKey(std::string_view menu_text);

// The command's whole string ("Start the search\nStart Search"); empty for
// a command without one.
std::string_view CommandString(unsigned command);
// The status-line prompt: the string up to its first line break.
std::string_view CommandPrompt(unsigned command);
// The tool tip: the string after its first line break; empty without one.
std::string_view CommandToolTip(unsigned command);

// The menu captions in menu-bar order.
inline constexpr const char* kMenuFile = "&File";
inline constexpr const char* kMenuEdit = "&Edit";
inline constexpr const char* kMenuDictionaries = "&Dictionaries";
inline constexpr const char* kMenuView = "&View";
inline constexpr const char* kMenuHelp = "&Help";

// The application's title: message boxes and the main window's caption.
inline constexpr const char* kAppTitle = "Vocor";

// String-table texts.
inline constexpr unsigned kIdIdleMessage = 57345;
inline constexpr const char* kIdleMessage = "For Help, press F1";
inline constexpr unsigned kIdActiveDictionaryPane = 144;
// Width prototype of the active dictionary's pane.
inline constexpr const char* kActiveDictionaryPrototype =
    "Active Dictionary Name";
inline constexpr unsigned kIdFoundPane = 145;
// Width prototype of the found pane, and its format (with FormatCount).
inline constexpr const char* kFoundPrototype = "Found 999999";
inline constexpr const char* kFoundFormat = "Found %s";
// The message pane while a search runs.
inline constexpr const char* kSearchingStatus = "Searching...";
// The message pane after a search with no dictionary installed, which
// finds nothing whatever the clues.
inline constexpr const char* kNoDictionaryStatus =
    "No dictionary is installed: Dictionaries > Configure Dictionaries";
// The first-run question (string 1027).
inline constexpr unsigned kIdNoDictionariesQuestion = 1027;
inline constexpr const char* kNoDictionariesQuestion =
    "No dictionaries were loaded.  Would you like Vocor to search for and "
    "automatically install any dictionaries found in the Data folder?";
// How the user asked for the reset question at start-up.
enum class ResetRequest { kArgument, kShiftAndControl };
// The reset question; its second paragraph says why it is being asked:
// "--reset-settings" on the command line, or Shift and Control held while
// the program started.
std::string ResetSettingsQuestion(ResetRequest request);
// Shown when the settings store cannot be opened or read: the program
// then runs with its defaults and stores nothing.
inline constexpr const char* kSettingsUnreadableMessage =
    "Your Vocor settings could not be read.  Vocor will start with its "
    "default settings, and changes made in this session may not be saved.";

}  // namespace vocor

#endif  // VOCOR_APP_SHELL_COMMAND_TEXTS_H_
