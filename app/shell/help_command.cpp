#include "app/shell/help_command.h"

#include "app/shell/command_texts.h"
#include "app/dictionaries/dictionary_menu.h"

namespace vocor {

namespace {
// The viewer's commands.
constexpr unsigned kViewerTableOfContents = 1;
constexpr unsigned kViewerIndex = 2;
constexpr unsigned kViewerTopic = 15;
}  // namespace

unsigned TranslateHelpCommand(unsigned command) {
  switch (command) {
    case kHelpContext:
      return kViewerTopic;
    case kHelpIndex:
      return kViewerIndex;
    case kHelpContextPopup:
    case kHelpFinder:
      return kViewerTableOfContents;
    default:
      return command;
  }
}

HelpPage HelpPageFor(unsigned translated_command) {
  switch (translated_command) {
    case kViewerTopic:
      return HelpPage::kTopic;
    case kViewerIndex:
      return HelpPage::kIndex;
    default:
      return HelpPage::kContents;
  }
}

const char* HelpTopicFile(unsigned topic) {
  if (topic > kCommandHelpBase) topic -= kCommandHelpBase;
  switch (topic) {
    case kCmdCrosswordSearch:
      return "crossword.html";
    case kCmdAnagramSearch:
      return "anagram.html";
    case kCmdHiddenSearch:
      return "hidden.html";
    case kCmdSearch:
    case kCmdStop:
    case kCmdStopKey:
      return "patterns.html";
    case kCmdConfigureDictionaries:
    case kCmdBuildDictionary:
      return "dictionaries.html";
    case kCmdAbout:
      return "about.html";
    case kCmdOrderAlphabetical:
    case kCmdOrderByScore:
    case kCmdMinimumScore:
      return "scores.html";
    case kCmdViewDefinitions:
    case kCmdDefinitionsFrom:
      return "definitions.html";
    case kCmdUndo:
    case kCmdCut:
    case kCmdCopy:
    case kCmdPaste:
    case kCmdNextPane:
    case kCmdPrevPane:
      return "keyboard.html";
    default:
      if (topic >= kCmdLoadedDictionary && topic <= kLastDictionaryCommand) {
        return "dictionaries.html";
      }
      return kHelpPages[0].file;
  }
}

const char* HelpFileFor(unsigned command, unsigned data) {
  switch (HelpPageFor(TranslateHelpCommand(command))) {
    case HelpPage::kTopic:
      return HelpTopicFile(data);
    case HelpPage::kIndex:
      return "keywords.html";
    case HelpPage::kContents:
      break;
  }
  return kHelpPages[0].file;
}

}  // namespace vocor
