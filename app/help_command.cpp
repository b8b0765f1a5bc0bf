#include "app/help_command.h"

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

}  // namespace vocor
