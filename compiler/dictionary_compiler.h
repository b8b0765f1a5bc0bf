// The dictionary compiler shared by vocor-mkdic and the window's Build
// Dictionary dialog: reads word lists, gathers their storable words,
// builds the binary dictionary (or a cleaned text word list), checks it
// and replaces the output file atomically. It touches nothing but the files it
// is given, so it may run on any thread.
#ifndef VOCOR_COMPILER_DICTIONARY_COMPILER_H_
#define VOCOR_COMPILER_DICTIONARY_COMPILER_H_

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dictionary/vocor_file_writer.h"
#include "engine/score.h"
#include "compiler/hunspell_expand.h"
#include "compiler/word_collector.h"

namespace vocor {

enum class CompileStatus {
  kDone,
  kCancelled,   // stopped on request; the output was not touched
  kUnreadable,  // an input is missing, not a regular file, too large,
                // holds binary data or fails to read
  kNoWords,     // the inputs hold no storable word
  kRefused,     // the words or the header break a limit of the format
                // (a spell-checker dictionary expanding into more words
                // than a dictionary holds included)
  kMalformed,   // a spell-checker dictionary's file breaks its format
  kUnwritable,  // the output could not be written
};

// A word list whose every word gets `score` (kMinScore..kMaxScore), or
// its line's score where that is higher; see compiler/word_collector.h.
struct ScoredInput {
  std::string path;
  int score = kDefaultScore;
};

struct CompileRequest {
  std::vector<std::string> inputs;  // word lists, UTF-8 or Windows-1252
  // Read after `inputs`. A word's score is the highest that any of its
  // entries gets; with neither these nor a line's score anywhere, the
  // output stores no scores (every word has kDefaultScore).
  std::vector<ScoredInput> scored_inputs;
  // Spell-checker dictionaries, each expanded into its word forms (see
  // compiler/hunspell_expand.h), read after `inputs` and before
  // `scored_inputs` exactly as a word list is: the word choice applies
  // to the forms, and they score kDefaultScore.
  std::vector<HunspellPair> hunspell;
  HunspellOptions hunspell_options;
  // The most distinct words an expansion may bring: more is refused, never
  // cut short. 0 means what the format holds (kVocorCountLimit - 1); a text
  // list has no limit unless one is given.
  size_t expansion_word_limit = 0;
  std::string output;
  VocorFileInfo info;  // engine text (see MakeVocorFileInfo); unused by
                       // text lists
  // Which words to keep. keep_code_page is ignored: the output decides it.
  WordChoice words;
  // Write a UTF-8 word list, one word a line, instead of a binary
  // dictionary; it keeps every letter of the code page, accents included,
  // and writes each word as `word;score` when there are scores.
  bool text_list = false;
};

// A line skipped for a score that is no whole number from kMinScore to
// kMaxScore.
struct BadScoreReport {
  std::string file;
  int64_t line = 0;
  std::string text;  // the line as written
};

struct CompileCounts {
  int64_t read = 0;           // every entry found
  SkippedWords skipped;       // entries that are no storable words, by reason
  int64_t duplicates = 0;     // storable words seen again
  int64_t possessives = 0;    // left out by WordChoice::skip_possessives
  int64_t abbreviations = 0;  // left out by WordChoice::skip_abbreviations
  int64_t windows1252_lines = 0;  // input lines read so, not being UTF-8
  int64_t bad_score_lines = 0;    // lines skipped for their score
  std::vector<BadScoreReport> bad_scores;  // the first of them
  bool scored = false;                     // whether the output stores scores
  VocorFileStats file;  // what was stored; a text list has no nodes
  // The expansions of the spell-checker dictionaries, added up; all zero
  // without any.
  HunspellReport hunspell;
};

struct CompileOutcome {
  CompileStatus status = CompileStatus::kDone;
  CompileCounts counts;  // as far as the compile came
  std::string error;     // one line, naming the file, unless kDone/kCancelled
};

// Told how far the compile has come, in thousandths; returns false to stop
// it. Called on the compiling thread, often enough for a progress bar
// (building the letter tree is one step and cannot stop midway).
using CompileProgress = std::function<bool(int permille)>;

// The reasons of `skipped` that left anything out, as counts and
// phrases ("longer than 999 letters"), for reports that list them.
struct SkipReason {
  int64_t count;
  std::string phrase;
};
std::vector<SkipReason> SkipReasons(const SkippedWords& skipped);
// The reasons in parentheses after a space, "" when nothing was skipped:
// " (2 longer than 999 letters, 1 beginning or ending with a hyphen or
// apostrophe)".
std::string SkipReasonsNote(const SkippedWords& skipped);

// One bad score line as a user reads it: "words.txt:12: the score 'abc' is
// not a whole number from 1 to 100; the line was skipped".
std::string DescribeBadScore(const BadScoreReport& bad);

// Which characters make words, in terms a user knows (UTF-8), for the
// messages about lists that gave none: "Words are runs of letters, ...".
extern const char kAcceptedLettersNote[];

// Converts the UTF-8 `name` and `notes` to the header's engine text into
// *info (composed first; characters outside the code page become '?').
// Returns false with a one-line reason when the name is too long.
bool MakeVocorFileInfo(const std::string& name, const std::string& notes,
                       VocorFileInfo* info, std::string* error);

// Compiles `request.inputs` into `request.output`, a binary dictionary or
// with `text_list` a word list. Unless the outcome is
// kDone, no file was created or changed.
CompileOutcome CompileDictionary(const CompileRequest& request,
                                 const CompileProgress& progress = nullptr);

}  // namespace vocor

#endif  // VOCOR_COMPILER_DICTIONARY_COMPILER_H_
