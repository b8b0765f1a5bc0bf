#include "tools/vocor-cli/cli_options.h"

#include <CLI/CLI.hpp>
#include <climits>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "engine/pattern.h"
#include "vocor/program_version.h"

namespace vocor::cli {
namespace {

// Whether `text` is a whole decimal number from `low` to `high`: digits
// only, with no sign, fraction, exponent or anything after them, so that
// the number searched with is exactly the one typed.
bool IsWholeNumberIn(const std::string& text, long long low, long long high) {
  if (text.empty()) return false;
  long long value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
    if (value > high) return false;  // before it could overflow
  }
  return value >= low;
}

std::string RangeText(long long low, long long high) {
  return "takes a whole number from " + std::to_string(low) + " to " +
         std::to_string(high);
}

// A usage error for anything but a whole number from `low` to `high`;
// CLI11 puts the option's name before the message.
CLI::Validator WholeNumber(long long low, long long high) {
  return CLI::Validator(
      [low, high](std::string& text) -> std::string {
        if (IsWholeNumberIn(text, low, high)) return "";
        return RangeText(low, high) + ", not '" + text + "'";
      },
      "", "whole number");
}

// A number of the clue, as the window's boxes take it.
struct ClueNumber {
  const CLI::Option* option;
  const std::string* text;
  int high;
  const char* invalid;  // what the window says of an invalid one
};

// Refuses the request, as the window does, when a number of the clue that
// was given (empty counts) is not a whole number from 1 to its maximum.
// Returns whether all are valid.
bool ClueNumbersValid(const std::vector<ClueNumber>& numbers) {
  for (const ClueNumber& n : numbers) {
    if (n.option->count() == 0 || IsWholeNumberIn(*n.text, 1, n.high)) {
      continue;
    }
    std::fprintf(stderr, "%s: %s %s, not '%s'.\n", n.invalid,
                 n.option->get_name().c_str(), RangeText(1, n.high).c_str(),
                 n.text->c_str());
    return false;
  }
  return true;
}

void AddSearchOptions(CLI::App* app, Options* o) {
  app->add_option("--dict", o->dict_paths,
                  "Search this dictionary file (binary or word list); "
                  "repeat to search several as one")
      ->type_name("PATH")
      ->allow_extra_args(false);  // one path per --dict, never the clue
  app->add_option("--limit", o->limit,
                  "Stop after N results, as the window stops at 10000")
      ->type_name("N")
      ->check(WholeNumber(1, INT_MAX));
  app->add_flag("--describe", o->describe,
                "Print the query tree instead of searching");
  const std::map<std::string, bool> orders = {{"alpha", false},
                                              {"score", true}};
  app->add_option("--sort", o->by_score,
                  "Order of the results: alpha (the default) or score "
                  "(best first: a limit keeps the best)")
      ->type_name("ORDER")
      ->transform(CLI::CheckedTransformer(orders, CLI::ignore_case));
  app->add_option("--min-score", o->min_score,
                  "Leave out words scoring under N (1 to 100), and phrases "
                  "holding one")
      ->type_name("N")
      ->check(WholeNumber(1, 100));
  app->add_flag("--show-scores", o->show_scores,
                "Print each result's score after a tab (a phrase's is its "
                "weakest word's)");
}

const char kPatternNotation[] =
    "Patterns: ? one letter, * any run (none too), [abc] one of the "
    "letters, [a-e] one of a range, [^abc] or [!abc] a letter not among "
    "them, @ a vowel (a e i o u, accented too), # a consonant, {abc} these "
    "letters in any order (? inside: any one letter), 7 seven letters, 3,4 "
    "a three-letter and a four-letter word, 5-7: ahead of a pattern five to "
    "seven letters (8-: eight or more, -4: four at most).\n"
    "The characters [ ] @ # { } : \\ now have these meanings; put a \\ "
    "before one to match it itself (\\#). A malformed pattern is refused "
    "with its problem and position (exit code 1).\n"
    "Examples: vocor-cli crossword 'c[aou]t'; vocor-cli crossword --without "
    "e '#@#@#'; vocor-cli crossword --with xz 6; vocor-cli crossword "
    "'s{ta?}*'; vocor-cli crossword '8-:*ing'";

const char kEquationNotation[] =
    "Equations: patterns separated by ';', each a word of the dictionary. "
    "Upper-case A to Z are variables, each a run of one or more letters, the "
    "same run wherever it stands; ~A is A reversed; lower-case letters, ?, "
    "*, [abc], @, # and {abc} mean what they mean in a pattern. Constraints "
    "follow the patterns: |A|=3, |A|>=3, |A|<=5, A!=B. Each solution is "
    "printed as the words of the patterns joined by ';'. A malformed "
    "equation is refused with its problem and position (exit code 1).\n"
    "Examples: vocor-cli equation 'AB;A;B;|A|>=3;|B|>=3' (charades); "
    "vocor-cli equation 'A~A' (even palindromes); vocor-cli equation "
    "'AB;BA' (rotations); vocor-cli equation 'A?B;AB' (one letter "
    "inserted; AxB;AB an x); vocor-cli equation 'ABC;AC;B' (containers); "
    "vocor-cli equation 'A;~A' (reversals); vocor-cli equation 'AA' "
    "(doubled words)";

}  // namespace

bool IsSearch(Command command) {
  switch (command) {
    case Command::kDictionariesList:
    case Command::kDictionariesInstall:
    case Command::kDictionariesUninstall:
    case Command::kDictionariesActivate:
    case Command::kDefine:
      return false;
    default:
      return true;
  }
}

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

  CLI::App* crossword = app.add_subcommand(
      "crossword",
      "Words matching a pattern ('?' one letter, '*' any run, [abc] one of "
      "a set, @ a vowel, # a consonant, {abc} these letters in any order, "
      "3,4 lengths, 5-7: a range of lengths)");
  crossword->add_option("PATTERN", o->text, "The pattern")->required();
  crossword->add_option("PATTERN2", o->text2,
                        "A second pattern the words must match too");
  crossword->footer(kPatternNotation);
  crossword
      ->add_option("--with", o->with_letters,
                   "Letters every word must contain, anywhere (ee: two e's)")
      ->type_name("LETTERS");
  crossword
      ->add_option("--without", o->without_letters,
                   "Letters no word may contain, in either case")
      ->type_name("LETTERS");

  CLI::App* anagram = app.add_subcommand(
      "anagram", "Words or phrases using exactly the letters ('?' a blank)");
  anagram->add_option("LETTERS", o->text, "The letters")->required();
  anagram->add_option("PATTERN", o->text2,
                      "A pattern or word lengths (3,4; * a word of any "
                      "length: *,* every two-word phrase; [abc], @, #, "
                      "{abc} and 5-7: as in crossword --help)");
  const char* const kInvalidMinimum =
      "The minimum length you have entered is invalid";
  std::vector<ClueNumber> numbers;
  CLI::Option* max_words =
      anagram->add_option("--max-words", o->max_words,
                          "Every phrase of 1 to N words of any lengths, each "
                          "combination of words once (N at most " +
                              std::to_string(kMaxPatternPieces) + ")");
  numbers.push_back({max_words->type_name("N"), &o->max_words,
                     kMaxPatternPieces,
                     "The number of words you have entered is invalid"});
  CLI::Option* min_word_length =
      anagram->add_option("--min-word-length", o->min_word_length,
                          "No word shorter than N letters (default 1)");
  numbers.push_back({min_word_length->type_name("N"), &o->min_word_length,
                     kMaxPieceLetters, kInvalidMinimum});

  CLI::App* hidden =
      app.add_subcommand("hidden", "Words spelled from some of the letters");
  hidden->add_option("LETTERS", o->text, "The letters available")->required();
  hidden->add_option("--must-use", o->must_use,
                     "Letters every word must contain");
  CLI::Option* min_length =
      hidden->add_option("--min-length", o->min_length, "Minimum word length");
  numbers.push_back({min_length->type_name("N"), &o->min_length,
                     kMaxPieceLetters, kInvalidMinimum});

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

  CLI::App* equation = app.add_subcommand(
      "equation",
      "Words that fit patterns sharing variables: A-Z a run of letters, ~A "
      "reversed (AB;A;B words made of two words)");
  equation->add_option("EQUATION", o->text, "The equation")->required();
  equation->footer(kEquationNotation);

  CLI::App* cryptic = app.add_subcommand(
      "cryptic", "Helpers for cryptic clues: hidden words, letter "
                 "selections, spoonerisms");
  cryptic->require_subcommand(1);
  CLI::App* cryptic_hidden = cryptic->add_subcommand(
      "hidden",
      "Words spelled by consecutive letters of a phrase, across its spaces "
      "and punctuation (the phrase's own words left out)");
  cryptic_hidden->add_option("PHRASE", o->text, "The phrase")->required();
  cryptic_hidden->add_flag("--reversed", o->reversed,
                           "Words read backwards in the phrase too");
  CLI::Option* hidden_minimum = cryptic_hidden->add_option(
      "--min-length", o->min_length, "Minimum word length (default 3)");
  numbers.push_back({hidden_minimum->type_name("N"), &o->min_length,
                     kMaxPieceLetters, kInvalidMinimum});
  CLI::App* cryptic_letters = cryptic->add_subcommand(
      "letters",
      "The first, last, odd and even letters of a phrase, each with "
      "whether it is a word and its anagrams");
  cryptic_letters->add_option("PHRASE", o->text, "The phrase")->required();
  CLI::App* cryptic_spoonerism = cryptic->add_subcommand(
      "spoonerism",
      "Swaps the leading consonant groups of two words (of every pair of "
      "several; of every two-word split of one word) where both results "
      "are words");
  cryptic_spoonerism->add_option("WORDS", o->text, "One word, or two or more")
      ->required();
  cryptic->footer(
      "A consonant group is the letters before a word's first vowel "
      "(a e i o u, accented too); y after a consonant is a vowel, and qu "
      "starts a group together. Examples: vocor-cli cryptic hidden 'the "
      "cat ached'; vocor-cli cryptic letters 'vast ill love ease'; "
      "vocor-cli cryptic spoonerism 'blushing crow'");

  for (CLI::App* sub : {crossword, anagram, hidden, palindrome, equation,
                        cryptic_hidden, cryptic_letters, cryptic_spoonerism}) {
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

  CLI::App* define = app.add_subcommand(
      "define",
      "The definitions of a word in the dictionary-server databases on the "
      "machine (dict-gcide, dict-wn, dict-freedict-*)");
  define->add_option("WORD", o->text, "The word, in any case")->required();
  define
      ->add_option("--database", o->databases,
                   "Look in this database only (gcide, wn, freedict-fra-eng, "
                   "...); repeat for several, in that order")
      ->type_name("NAME")
      ->allow_extra_args(false);
  define
      ->add_option("--folder", o->folders,
                   "Look for databases (NAME.index with NAME.dict.dz or "
                   "NAME.dict) in this folder too, before /usr/share/dictd")
      ->type_name("DIR")
      ->allow_extra_args(false);
  define->add_flag("--no-system-databases", o->no_system_databases,
                   "Do not look in /usr/share/dictd");
  define->footer(
      "Exit codes: 0 found, 1 no database holds the word, 2 no database is "
      "installed (or a usage error), 3 the databases could not be read.");

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
  if (*define) o->command = Command::kDefine;
  if (*equation) o->command = Command::kEquation;
  if (*cryptic_hidden) o->command = Command::kCrypticHidden;
  if (*cryptic_letters) o->command = Command::kCrypticLetters;
  if (*cryptic_spoonerism) o->command = Command::kCrypticSpoonerism;
  if (*dictionaries) {
    o->command = Command::kDictionariesList;
    if (*install) o->command = Command::kDictionariesInstall;
    if (*uninstall) o->command = Command::kDictionariesUninstall;
    if (*activate) o->command = Command::kDictionariesActivate;
  }
  return ClueNumbersValid(numbers) ? -1 : kExitRefused;
}

}  // namespace vocor::cli
