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
#include "compiler/word_collector.h"

namespace vocor {

enum class CompileStatus {
  kDone,
  kCancelled,   // stopped on request; the output was not touched
  kUnreadable,  // an input is missing, not a regular file, too large,
                // holds binary data or fails to read
  kNoWords,     // the inputs hold no storable word
  kRefused,     // the words or the header break a limit of the format
  kUnwritable,  // the output could not be written
};

struct CompileRequest {
  std::vector<std::string> inputs;  // word lists, UTF-8 or Windows-1252
  std::string output;
  VocorFileInfo info;  // engine text (see MakeVocorFileInfo); unused by
                       // text lists
  // Which words to keep. keep_code_page is ignored: the output decides it.
  WordChoice words;
  // Write a UTF-8 word list, one word a line, instead of a binary
  // dictionary; it keeps every letter of the code page, accents included.
  bool text_list = false;
};

struct CompileCounts {
  int64_t read = 0;           // every entry found
  SkippedWords skipped;       // entries that are no storable words, by reason
  int64_t duplicates = 0;     // storable words seen again
  int64_t possessives = 0;    // left out by WordChoice::skip_possessives
  int64_t abbreviations = 0;  // left out by WordChoice::skip_abbreviations
  int64_t windows1252_lines = 0;  // input lines read so, not being UTF-8
  VocorFileStats file;            // what was stored; a text list has no nodes
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
