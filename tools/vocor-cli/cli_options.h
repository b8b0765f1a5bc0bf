// Command line of vocor-cli, parsed into plain values.
#ifndef VOCOR_TOOLS_VOCOR_CLI_CLI_OPTIONS_H_
#define VOCOR_TOOLS_VOCOR_CLI_CLI_OPTIONS_H_

#include <string>
#include <vector>

namespace vocor::cli {

// Exit codes.
constexpr int kExitOk = 0;
constexpr int kExitRefused = 1;  // the request was refused
constexpr int kExitFailure = 2;  // usage error, or a dictionary failed
constexpr int kExitInterrupted = 130;

enum class Command {
  kCrossword,
  kAnagram,
  kHidden,
  kPalindrome,
  kEquation,
  kCrypticHidden,
  kCrypticLetters,
  kCrypticSpoonerism,
  kDictionariesList,
  kDictionariesInstall,
  kDictionariesUninstall,
  kDictionariesActivate,
  kDefine,
};

// Whether `command` is a search (every command but the dictionaries ones).
bool IsSearch(Command command);

struct Options {
  Command command = Command::kCrossword;
  std::vector<std::string> dict_paths;  // --dict, in order
  int limit = 0;                        // 0: no limit
  bool describe = false;
  bool by_score = false;  // --sort score
  int min_score = 1;      // --min-score
  bool show_scores = false;

  // Search inputs, as typed (UTF-8). Which ones a kind reads:
  //   crossword: text (pattern), text2 (the "and" pattern), with_letters,
  //              without_letters
  //   anagram: text (letters), text2 (pattern), max_words, min_word_length
  //   hidden: text (from letters), must_use, min_length
  //   palindrome: text (pattern), mode, another_word
  //   equation: text (the equation)
  //   cryptic hidden: text (phrase), min_length, reversed
  //   cryptic letters, cryptic spoonerism: text (phrase or words)
  std::string text, text2, must_use, min_length;
  std::string max_words, min_word_length;  // as typed; empty when not given
  std::string with_letters, without_letters;
  int mode = 0;
  int another_word = 0;
  bool reversed = false;

  // define: the word is `text`.
  std::vector<std::string> databases;  // --database, in order; empty: all
  std::vector<std::string> folders;    // --folder, searched first
  bool no_system_databases = false;    // --no-system-databases

  std::vector<std::string> install_paths;
  std::vector<int> ids;  // uninstall, activate
};

// Parses argv. Returns -1 when the search or command should run, or the
// exit code to end with, the message already printed: 0 after --help,
// kExitFailure on a usage error (--limit not a whole number from 1 to
// INT_MAX among them), kExitRefused when --max-words, --min-word-length or
// --min-length is given but not a whole decimal number from 1 to the most
// a phrase or a word can have (as the window refuses its boxes).
int ParseOptions(int argc, char** argv, Options* options);

}  // namespace vocor::cli

#endif  // VOCOR_TOOLS_VOCOR_CLI_CLI_OPTIONS_H_
