// Expansion of a spell checker's dictionary (a Hunspell pair: an affix file
// LANG.aff and a stem list LANG.dic) into every word form it accepts, for
// the dictionary compiler to read as it reads a word list.
//
// What the expansion reads. The affix file's encoding (SET, converted
// with ICU; without one UTF-8 when the file is UTF-8, else ISO-8859-1),
// its flag syntax (FLAG: single characters,
// `long` pairs, `num` numbers, `UTF-8` characters), flag aliases (AF; AM
// morphology aliases are read past), the prefix and suffix classes (PFX,
// SFX: strip, add with continuation flags, condition, cross product), and
// the flags that say which forms are words on their own: NEEDAFFIX (and
// its old name PSEUDOROOT), ONLYINCOMPOUND, FORBIDDENWORD, CIRCUMFIX; and
// IGNORE (characters removed from stems and affixes), FULLSTRIP (a rule
// may strip a whole stem), ICONV (a form that the checker's input
// conversion changes is never matched as written, and is left out).
// KEEPCASE only limits how a checker accepts other cases of a word, so
// forms come out as the dictionary writes them. Where the checker reads
// the files in ways of its own, the expansion follows it, so that it
// accepts every form made: suffix conditions step through UTF-8 as it
// does (see Condition::MatchesEnd), and an entry ends at a tab or at its
// morphology ("word po:noun"); blanks before are part of the word.
//
// Which forms it makes, from a stem with flags F (a spell checker accepts
// all of them; it accepts a few more, such as a CIRCUMFIX prefix alone,
// which the affix files mean to forbid):
//   - the stem, unless F holds NEEDAFFIX, ONLYINCOMPOUND or FORBIDDENWORD;
//   - each suffix of a class in F whose condition the stem's end meets,
//     and on top of it a second suffix of a class in the first one's
//     continuation flags (two-level suffixes), unless the options leave
//     those out;
//   - each prefix of a class in F (or in a suffix's continuation flags)
//     on the stem, and on each suffixed form when both the prefix's and
//     the suffix's class allow the cross product (unless the options
//     leave those out), suffixes named by the prefix's continuation
//     included;
// and of those only the forms that are words on their own: an affix whose
// continuation flags hold NEEDAFFIX needs a further affix, a CIRCUMFIX
// prefix needs a CIRCUMFIX suffix and the other way round, an affix with
// ONLYINCOMPOUND makes no word, and no form spelled as a FORBIDDENWORD
// entry is made. A stem carrying ONLYINCOMPOUND or FORBIDDENWORD makes
// none at all.
//
// Compounding (COMPOUNDFLAG, COMPOUNDRULE, COMPOUNDBEGIN, ...) joins words
// without bound and is left out; the report counts the stems that could
// have taken part.
//
// Letters. Forms are engine text (Windows-1252), in the case the
// dictionary writes them. A stem with a character Windows-1252 cannot
// hold is skipped with all its forms, and so is a form that such a
// character reaches through an affix; the report counts both and keeps
// the first few.
//
// Damaged files. A missing file, an unknown encoding, bytes that do not
// decode as the file says (or a UTF-8 file declaring a one-byte
// encoding), a truncated or malformed rule or table, a flag of the affix
// file that breaks the flag syntax, a stem naming no alias, or a first
// line of the stem list that is no count: each is refused with the file,
// the line and the reason, before a single form is handed on. A stem's
// flags that break the syntax are read as far as they go, as the checker
// reads them, and counted. The count on the stem list's first line is a
// hint only: every line that is there is read.
#ifndef VOCOR_COMPILER_HUNSPELL_EXPAND_H_
#define VOCOR_COMPILER_HUNSPELL_EXPAND_H_

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

// One spell-checker dictionary: its affix file and its stem list.
struct HunspellPair {
  std::string affix_file;       // LANG.aff
  std::string dictionary_file;  // LANG.dic
};

struct HunspellOptions {
  // Makes the forms with a second suffix on top of the first. Some
  // languages make more forms that way than a dictionary holds; without
  // them the largest complete subset is built.
  bool two_level_suffixes = true;
  // Makes the forms with both a prefix and a suffix. Languages whose
  // prefixes are elided articles and prepositions (Italian "dell'")
  // multiply every form of a word by them; without, the words stand
  // alone with either.
  bool cross_products = true;
};

// What an expansion read and made.
struct HunspellReport {
  // Examples kept of each kind of thing skipped.
  static constexpr size_t kMaxExamples = 5;

  int64_t announced_stems = 0;  // the count on the stem list's first line
  int64_t stems = 0;            // entries read from the stem list
  // Forms handed on, stems included, duplicates included (the compiler
  // counts those).
  int64_t forms = 0;
  // Stems skipped for a character outside Windows-1252, with their forms.
  int64_t foreign_stems = 0;
  // Entries whose word ends in a space or tab ("Name " where the line
  // meant "Name"): a spell checker never matches them, so neither do we.
  int64_t blank_ended_stems = 0;
  // Entries whose flags break the flag syntax, read as a spell checker
  // reads them (the flags it can make out); the first few as "FILE:LINE".
  int64_t broken_flag_stems = 0;
  std::vector<std::string> broken_flag_examples;
  // Forms skipped for such a character brought in by an affix.
  int64_t foreign_forms = 0;
  // The first of the skipped stems and forms, UTF-8.
  std::vector<std::string> foreign_examples;
  // Forms that the spell checker never matches as written: its input
  // conversion (ICONV) changes them before it looks ("woordensmederij"
  // where the stems write "ĳ"), left out.
  int64_t converted_forms = 0;
  // Forms made by the rules that are no words on their own (NEEDAFFIX,
  // ONLYINCOMPOUND, FORBIDDENWORD, an unmatched CIRCUMFIX), left out.
  int64_t not_words = 0;
  // Forms with a second suffix left out by the options (each once, not
  // again with every prefix it could take).
  int64_t two_level_left_out = 0;
  // Forms with both a prefix and a suffix left out by the options.
  int64_t cross_products_left_out = 0;
  // Stems carrying a flag that lets them take part in compounds, whose
  // compounds are left out; and the compounding directives of the affix
  // file ("COMPOUNDRULE", "COMPOUNDBEGIN", ...), in file order, once each.
  int64_t compound_stems = 0;
  std::vector<std::string> compound_directives;
  // The compiler stopped the expansion: its forms passed the number of
  // words the dictionary may hold.
  bool over_limit = false;
  // Seconds the expansion took, reading the files included.
  double seconds = 0;

  // Adds the counts of another expansion (the examples up to the limit,
  // the directives once each).
  void Add(const HunspellReport& other);
};

enum class HunspellStatus {
  kDone,
  kStopped,     // the sink or the progress callback asked to stop
  kUnreadable,  // a file is missing or cannot be read
  kMalformed,   // a file breaks the format; nothing was handed on
};

// Receives each form (engine text, the dictionary's case); returns false
// to stop the expansion.
using HunspellFormSink = std::function<bool(std::string_view form)>;
// Told how many stems have been expanded out of how many; returns false
// to stop. Called every few thousand stems.
using HunspellProgress = std::function<bool(size_t done, size_t total)>;

// Expands `pair` into `sink`. On kUnreadable and kMalformed, *error is one
// line naming the file, and the line where there is one:
// "de.aff:12: SFX A: 3 rules announced, 2 found". The report holds what
// was read and made up to the end or the stop.
HunspellStatus ExpandHunspell(const HunspellPair& pair,
                              const HunspellOptions& options,
                              const HunspellFormSink& sink,
                              HunspellReport* report, std::string* error,
                              const HunspellProgress& progress = nullptr);

// The report as lines for a user (UTF-8, no final line end): stems and
// forms, what was skipped with the first examples, what was left out.
std::vector<std::string> DescribeHunspellReport(const HunspellReport& report);

}  // namespace vocor

#endif  // VOCOR_COMPILER_HUNSPELL_EXPAND_H_
