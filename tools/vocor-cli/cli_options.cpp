#include "tools/vocor-cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <map>

#include "vocor/program_version.h"

namespace vocor::cli {
namespace {

void AddSearchOptions(CLI::App* app, Options* o) {
  app->add_option("--dict", o->dict_paths,
                  "Search this dictionary file (binary or word list); "
                  "repeat to search several as one")
      ->type_name("PATH")
      ->allow_extra_args(false);  // one path per --dict, never the clue
  app->add_option("--limit", o->limit,
                  "Stop after N results, as the window stops at 10000")
      ->check(CLI::PositiveNumber);
  app->add_flag("--describe", o->describe,
                "Print the query tree instead of searching");
}

}  // namespace

int ParseOptions(int argc, char** argv, Options* o) {
  CLI::App app{
      "vocor-cli: lists every word of a dictionary that fits a word-puzzle "
      "clue.",
      "vocor-cli"};
  app.require_subcommand(1);
  std::string version = ProgramVersionText("vocor-cli");
  version.pop_back();  // CLI11 ends the text with its own newline
  app.set_version_flag("--version", version,
                       "Print the program's version and exit");
  AddSearchOptions(&app, o);

  CLI::App* crossword = app.add_subcommand("crossword",
                                           "Words matching a pattern ('?' one "
                                           "letter, '*' any run, 3,4 lengths)");
  crossword->add_option("PATTERN", o->text, "The pattern")->required();
  crossword->add_option("PATTERN2", o->text2,
                        "A second pattern the words must match too");

  CLI::App* anagram = app.add_subcommand(
      "anagram", "Words or phrases using exactly the letters ('?' a blank)");
  anagram->add_option("LETTERS", o->text, "The letters")->required();
  anagram->add_option("PATTERN", o->text2,
                      "A pattern or word lengths (3,4; * a word of any "
                      "length: *,* every two-word phrase)");
  anagram
      ->add_option("--max-words", o->max_words,
                   "Every phrase of 1 to N words of any lengths, each "
                   "combination of words once")
      ->type_name("N");
  anagram
      ->add_option("--min-word-length", o->min_word_length,
                   "No word shorter than N letters (default 1)")
      ->type_name("N");

  CLI::App* hidden =
      app.add_subcommand("hidden", "Words spelled from some of the letters");
  hidden->add_option("LETTERS", o->text, "The letters available")->required();
  hidden->add_option("--must-use", o->must_use,
                     "Letters every word must contain");
  hidden->add_option("--min-length", o->min_length, "Minimum word length");

  CLI::App* palindrome = app.add_subcommand(
      "palindrome",
      "Words that read as themselves or as another word after "
      "a transformation");
  const std::map<std::string, int> modes = {
      {"reverse", 0}, {"reflect-h", 1}, {"reflect-v", 2}, {"rotate", 3}};
  const std::map<std::string, int> results = {{"same", 0}, {"another", 1}};
  palindrome->add_option("--transform", o->mode, "The transformation")
      ->transform(CLI::CheckedTransformer(modes, CLI::ignore_case));
  palindrome
      ->add_option("--result", o->another_word,
                   "The same word, or another word of the dictionary")
      ->transform(CLI::CheckedTransformer(results, CLI::ignore_case));
  palindrome->add_option("PATTERN", o->text, "A pattern the words must match");

  for (CLI::App* sub : {crossword, anagram, hidden, palindrome}) {
    AddSearchOptions(sub, o);
  }

  CLI::App* dictionaries = app.add_subcommand(
      "dictionaries", "List, install, uninstall or activate dictionaries");
  dictionaries->add_subcommand("list", "List the installed dictionaries");
  CLI::App* install =
      dictionaries->add_subcommand("install", "Install dictionary files");
  install->add_option("PATH", o->install_paths, "Files to install")->required();
  CLI::App* uninstall = dictionaries->add_subcommand(
      "uninstall", "Uninstall dictionaries or sets by id");
  uninstall->add_option("ID", o->ids, "Ids to uninstall")->required();
  CLI::App* activate = dictionaries->add_subcommand(
      "activate", "Make a dictionary or set the active one");
  activate->add_option("ID", o->ids, "The id")->required()->expected(1);

  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& e) {
    const int code = app.exit(e);
    return code == 0 ? kExitOk : kExitFailure;
  }

  if (*crossword) o->command = Command::kCrossword;
  if (*anagram) o->command = Command::kAnagram;
  if (*hidden) o->command = Command::kHidden;
  if (*palindrome) o->command = Command::kPalindrome;
  if (*dictionaries) {
    o->command = Command::kDictionariesList;
    if (*install) o->command = Command::kDictionariesInstall;
    if (*uninstall) o->command = Command::kDictionariesUninstall;
    if (*activate) o->command = Command::kDictionariesActivate;
  }
  return -1;
}

}  // namespace vocor::cli
