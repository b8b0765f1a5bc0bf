#include "app/shell/command_texts.h"

#include "app/dictionaries/dictionary_menu.h"

namespace vocor {

namespace {

struct CommandText {
  unsigned command;
  const char* menu;    // "" when the command has no menu entry
  const char* string;  // "prompt\ntool tip"
};

constexpr CommandText kCommands[] = {
    {kCmdSearch, "&Search\tF3", "Start the search\nStart Search"},
    {kCmdStop, "&Stop Search\tEsc", "Stop the search\nStop Search"},
    {kCmdStopKey, "", "Stop the search\nStop Search"},
    {kCmdCrosswordSearch, "Crossword Search",
     "Switch to Crossword style search\nCrossword Search"},
    {kCmdAnagramSearch, "Anagram Search",
     "Switch to Anagram search\nAnagram Search"},
    {kCmdHiddenSearch, "Hidden Word Search",
     "Switch to Hidden Word search\nHidden Word Search"},
    {kCmdPrint, "&Print...\tCtrl+P", "Print the results list\nPrint"},
    {kCmdPrintDirect, "", "Print the results list\nPrint"},
    {kCmdPrintPreview, "Print Pre&view",
     "Show the printed results on screen\nPrint Preview"},
    {kCmdPrintSetup, "P&rint Setup...",
     "Set up the printed page: paper, orientation and margins\nPrint Setup"},
    {kCmdExit, "E&xit", "Quit Vocor\nExit"},
    {kCmdUndo, "&Undo\tCtrl+Z", "Undo the last change in the box\nUndo"},
    {kCmdCut, "Cu&t\tCtrl+X",
     "Cut the selection and put it on the Clipboard\nCut"},
    {kCmdCopy, "&Copy\tCtrl+C",
     "Copy the selection, or the results, to the Clipboard\nCopy"},
    {kCmdPaste, "&Paste\tCtrl+V", "Insert the Clipboard's text\nPaste"},
    {kCmdConfigureDictionaries, "&Configure Dictionaries...",
     "Install, remove and inspect dictionaries\nConfigure Dictionaries"},
    {kCmdBuildDictionary, "&Build Dictionary...",
     "Build a dictionary from a word list\nBuild Dictionary"},
    {kCmdLoadedDictionary, "Loaded Dictionary",
     "Search this dictionary or set\nActive Dictionary"},
    {kCmdChangeFont, "&Change Font...",
     "Choose the font of the results list\nChange Font"},
    {kCmdOrderAlphabetical, "&Alphabetical",
     "List the results in alphabetical order\nAlphabetical Order"},
    {kCmdOrderByScore, "&Best First",
     "List the results best first: the highest score first\nBest First"},
    {kCmdMinimumScore, "&Minimum Score...",
     "Leave out the words scoring under a minimum\nMinimum Score"},
    {kCmdViewToolBar, "&Toolbar", "Show or hide the toolbar\nToggle Toolbar"},
    {kCmdViewStatusBar, "&Status Bar",
     "Show or hide the status bar\nToggle Status Bar"},
    {kCmdViewDefinitions, "&Definitions",
     "Show or hide the meaning of the selected word\nToggle Definitions"},
    {kCmdDefinitionsFrom, "Definitions &From...",
     "Choose the databases that give the meaning of the active dictionary's "
     "words\nDefinitions From"},
    {kCmdHelpTopics, "&Help Topics", "List the Help topics\nHelp Topics"},
    {kCmdAbout, "&About Vocor...",
     "Show the program's version and copyright\nAbout"},
    {kCmdHelp, "", "Show help on the current task or command\nHelp"},
    {kCmdContextHelp, "",
     "Show help on a button, menu or window you click\nHelp"},
    {kCmdDefaultHelp, "", "Show help on the current task or command\nHelp"},
    {kCmdNextPane, "", "Move to the next pane\nNext Pane"},
    {kCmdPrevPane, "", "Move back to the previous pane\nPrevious Pane"},
};

const CommandText* Find(unsigned command) {
  // Every entry of the Dictionaries menu shares the placeholder's prompt.
  if (command > kCmdLoadedDictionary &&
      command <= static_cast<unsigned>(kLastDictionaryCommand)) {
    command = kCmdLoadedDictionary;
  }
  for (const CommandText& text : kCommands) {
    if (text.command == command) return &text;
  }
  return nullptr;
}

}  // namespace

std::string_view CommandMenuText(unsigned command) {
  const CommandText* text = Find(command);
  return text != nullptr ? text->menu : "";
}

std::string ResetSettingsQuestion(ResetRequest request) {
  std::string question =
      "Do you wish to reset all your Vocor settings?  Vocor then forgets the "
      "installed dictionaries, the active one and the window's place, font, "
      "bars, order of results and minimum score.\n\n(This question is asked "
      "because ";
  question += request == ResetRequest::kArgument
                  ? "Vocor was started with --reset-settings.)"
                  : "Shift and Control were held while Vocor started.)";
  return question;
}

std::string_view MenuTextWithoutKey(std::string_view menu_text) {
  return menu_text.substr(0, menu_text.find('\t'));
}

std::string_view CommandString(unsigned command) {
  const CommandText* text = Find(command);
  return text != nullptr ? text->string : "";
}

std::string_view CommandPrompt(unsigned command) {
  const std::string_view string = CommandString(command);
  return string.substr(0, string.find('\n'));
}

std::string_view CommandToolTip(unsigned command) {
  const std::string_view string = CommandString(command);
  const size_t line_break = string.find('\n');
  if (line_break == std::string_view::npos) return {};
  return string.substr(line_break + 1);
}

}  // namespace vocor
