// Command texts, help requests and the version block.
#include <gtest/gtest.h>

#include "app/shell/command_texts.h"
#include "app/shell/help_command.h"
#include "app/shell/version_info.h"

namespace vocor {
namespace {

TEST(CommandTextsTest, PromptAndToolTipSplitAtTheFirstLineBreak) {
  EXPECT_EQ(CommandPrompt(kCmdSearch), "Start the search");
  EXPECT_EQ(CommandToolTip(kCmdSearch), "Start Search");
  EXPECT_EQ(CommandPrompt(kCmdHiddenSearch), "Switch to Hidden Word search");
  EXPECT_EQ(CommandToolTip(kCmdHiddenSearch), "Hidden Word Search");
  EXPECT_EQ(CommandPrompt(12345), "");
  EXPECT_EQ(CommandToolTip(12345), "");
}

TEST(CommandTextsTest, EveryToolBarAndMenuCommandHasATipAndAPrompt) {
  const unsigned commands[] = {kCmdSearch,
                               kCmdStop,
                               kCmdCopy,
                               kCmdPrint,
                               kCmdCrosswordSearch,
                               kCmdAnagramSearch,
                               kCmdHiddenSearch,
                               kCmdExit,
                               kCmdUndo,
                               kCmdCut,
                               kCmdPaste,
                               kCmdChangeFont,
                               kCmdAbout,
                               kCmdHelpTopics,
                               kCmdBuildDictionary,
                               kCmdConfigureDictionaries,
                               kCmdViewToolBar,
                               kCmdViewStatusBar,
                               kCmdOrderAlphabetical,
                               kCmdOrderByScore,
                               kCmdMinimumScore,
                               kCmdViewDefinitions,
                               kCmdDefinitionsFrom};
  for (unsigned command : commands) {
    EXPECT_FALSE(CommandPrompt(command).empty()) << command;
    EXPECT_FALSE(CommandToolTip(command).empty()) << command;
    EXPECT_FALSE(CommandMenuText(command).empty()) << command;
  }
  // The dictionary entries share the placeholder's prompt.
  EXPECT_EQ(CommandPrompt(kCmdLoadedDictionary + 5),
            CommandPrompt(kCmdLoadedDictionary));
}

// The reset question says why it is asked: the argument or the keys.
TEST(CommandTextsTest, ResetQuestionNamesHowItWasAsked) {
  const std::string by_argument =
      ResetSettingsQuestion(ResetRequest::kArgument);
  const std::string by_keys =
      ResetSettingsQuestion(ResetRequest::kShiftAndControl);
  EXPECT_NE(by_argument.find("--reset-settings"), std::string::npos);
  EXPECT_EQ(by_argument.find("Shift"), std::string::npos);
  EXPECT_NE(by_keys.find("Shift and Control"), std::string::npos);
  EXPECT_EQ(by_keys.find("--reset-settings"), std::string::npos);
  for (const std::string& question : {by_argument, by_keys}) {
    EXPECT_NE(question.find('?'), std::string::npos) << question;
  }
}

TEST(CommandTextsTest, PrintSetupSetsUpThePage) {
  EXPECT_NE(CommandPrompt(kCmdPrintSetup).find("page"), std::string::npos);
  EXPECT_EQ(CommandPrompt(kCmdPrintSetup).find("printer"), std::string::npos);
}

TEST(CommandTextsTest, MenuTextsKeepTheirKeyNameAfterATab) {
  EXPECT_EQ(CommandMenuText(kCmdSearch), "&Search\tF3");
  EXPECT_EQ(MenuTextWithoutKey(CommandMenuText(kCmdSearch)), "&Search");
  EXPECT_EQ(MenuTextWithoutKey(CommandMenuText(kCmdExit)), "E&xit");
}

TEST(HelpCommandTest, TranslationOfTheHelpCall) {
  EXPECT_EQ(TranslateHelpCommand(kHelpContext), 15u);
  EXPECT_EQ(TranslateHelpCommand(kHelpIndex), 2u);
  EXPECT_EQ(TranslateHelpCommand(kHelpContextPopup), 1u);
  EXPECT_EQ(TranslateHelpCommand(kHelpFinder), 1u);
  EXPECT_EQ(TranslateHelpCommand(7), 7u);
  EXPECT_EQ(HelpPageFor(15), HelpPage::kTopic);
  EXPECT_EQ(HelpPageFor(2), HelpPage::kIndex);
  EXPECT_EQ(HelpPageFor(1), HelpPage::kContents);
  EXPECT_EQ(HelpPageFor(7), HelpPage::kContents);
}

TEST(HelpCommandTest, RequestsShowTheirPages) {
  EXPECT_STREQ(HelpFileFor(kHelpFinder, 0), "index.html");
  EXPECT_STREQ(HelpFileFor(kHelpIndex, 0), "keywords.html");
  EXPECT_STREQ(HelpFileFor(kHelpContext, kCmdAnagramSearch), "anagram.html");
  EXPECT_STREQ(HelpFileFor(kHelpContext, 0x10000 + kCmdHiddenSearch),
               "hidden.html");
  EXPECT_STREQ(HelpFileFor(kHelpContext, kCmdLoadedDictionary + 3),
               "dictionaries.html");
  EXPECT_STREQ(HelpFileFor(kHelpContext, 999), "index.html");
  EXPECT_STREQ(HelpFileFor(kHelpContext, CommandHelpId(kCmdAbout)),
               "about.html");
  for (unsigned command :
       {kCmdOrderAlphabetical, kCmdOrderByScore, kCmdMinimumScore}) {
    EXPECT_STREQ(HelpFileFor(kHelpContext, CommandHelpId(command)),
                 "scores.html");
  }
  for (unsigned command : {kCmdViewDefinitions, kCmdDefinitionsFrom}) {
    EXPECT_STREQ(HelpFileFor(kHelpContext, CommandHelpId(command)),
                 "definitions.html");
  }
}

// Context help on any command of the window lands on a page of the help.
TEST(HelpCommandTest, EveryCommandsTopicIsAHelpPage) {
  for (unsigned command = kCmdStopKey; command <= kCmdViewStatusBar;
       ++command) {
    const std::string_view file =
        HelpFileFor(kHelpContext, CommandHelpId(command));
    bool listed = false;
    for (const HelpPageInfo& page : kHelpPages) listed |= file == page.file;
    EXPECT_TRUE(listed) << command << " " << file;
  }
}

TEST(VersionTextTest, ReadsTheGeneratedBlock) {
  CVersionInfo info;
  ASSERT_TRUE(
      ParseVersionText("FileDescription=Vocor\r\nFileVersion=2.6 (Build 127)\n"
                       "FileVersionNumber=2.6.127.0\nLegalCopyright=A = B\n",
                       &info));
  EXPECT_EQ(info.FileDescription, "Vocor");
  EXPECT_EQ(info.FileVersion, "2.6 (Build 127)");
  EXPECT_EQ(info.LegalCopyright, "A = B");
}

TEST(VersionTextTest, WithoutAVersionNothingIsTaken) {
  CVersionInfo info;
  info.FileDescription = "kept";
  EXPECT_FALSE(ParseVersionText("FileDescription=Other\n", &info));
  EXPECT_FALSE(ParseVersionText("", &info));
  EXPECT_EQ(info.FileDescription, "kept");
}

}  // namespace
}  // namespace vocor
