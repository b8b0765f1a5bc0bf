// The rules of a Hunspell affix file, read into the shape the expander
// walks (see compiler/hunspell_expand.h for what they mean): strings in
// engine text (Windows-1252), conditions as byte sets, flags numbered
// densely so that a flag's class and meaning are array look-ups.
#ifndef VOCOR_COMPILER_HUNSPELL_AFFIXES_H_
#define VOCOR_COMPILER_HUNSPELL_AFFIXES_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace vocor::hunspell {

// A flag's dense number; every distinct flag of the affix file gets one.
using FlagId = uint32_t;

enum class FlagSyntax {
  kChar,  // one character a flag (the default)
  kLong,  // two characters a flag
  kNum,   // decimal numbers separated by commas
  kUtf8,  // one UTF-8 character a flag
};

// A condition: one set of engine bytes per character it tests, matched
// against the start of a word (prefixes) or its end (suffixes).
class Condition {
 public:
  using ByteSet = std::array<uint64_t, 4>;

  // Reads a condition ('.' any character, "[abc]", "[^abc]", a character)
  // in UTF-8; characters outside Windows-1252 match no engine byte.
  // False with a reason for an unclosed bracket.
  bool Read(std::string_view utf8, std::string* reason);

  size_t size() const { return sets_.size(); }
  bool MatchesStart(std::string_view word) const;
  // With `utf8_steps`, matches as a spell checker reading UTF-8 does: a
  // '.' that matches a letter of ASCII steps over the letter before it
  // as well when that one is not ASCII (several bytes in UTF-8), so the
  // next part of the condition tests the letter before that, and a
  // condition running past the word's start fails.
  bool MatchesEnd(std::string_view word, bool utf8_steps) const;

 private:
  static bool Has(const ByteSet& set, unsigned char c) {
    return (set[c >> 6] >> (c & 63)) & 1;
  }
  bool MatchesEndStepping(std::string_view word) const;

  std::vector<ByteSet> sets_;  // empty: matches anything
  std::vector<uint8_t> dots_;  // per set: it was written '.'
};

// What a set of flags (a stem's, or an affix's continuation) says beyond
// its affix classes.
struct FlagMeaning {
  bool needs_affix = false;       // NEEDAFFIX
  bool only_in_compound = false;  // ONLYINCOMPOUND
  bool forbidden = false;         // FORBIDDENWORD
  bool circumfix = false;         // CIRCUMFIX
  bool compounds = false;         // a flag of compounding
};

// One rule of a prefix or suffix class.
struct AffixRule {
  FlagId flag = 0;
  bool cross_product = false;
  std::string strip;  // engine text
  std::string add;    // engine text; see foreign
  // The text added holds a character Windows-1252 lacks: its forms are
  // skipped. `add_utf8` keeps it for the report.
  bool foreign = false;
  std::string add_utf8;
  // The strip holds such a character: no engine word ends (or starts)
  // with it, so the rule never applies.
  bool never = false;
  Condition condition;
  std::vector<FlagId> continuation;  // sorted
  FlagMeaning meaning;               // of the continuation
};

struct AffixRules {
  FlagSyntax syntax = FlagSyntax::kChar;
  // The pair is UTF-8: flags of one or two characters are read byte by
  // byte, and suffix conditions step through letters as a spell checker
  // reading UTF-8 does (see Condition::MatchesEnd).
  bool utf8_files = true;
  std::string encoding;
  // AF: flag sets named by number (1 first), already read.
  std::vector<std::vector<FlagId>> aliases;
  std::vector<uint32_t> ignored;  // IGNORE, code points, sorted
  // ICONV: what a spell checker replaces in every word it is asked about,
  // in engine text (pairs whose text Windows-1252 cannot hold are left
  // out: no form holds it).
  std::vector<std::pair<std::string, std::string>> input_conversions;
  bool full_strip = false;        // FULLSTRIP
  std::vector<std::string> compound_directives;

  // Indexed by FlagId: the rules of the prefix and suffix classes a flag
  // names (as indexes into `rules`), and what it means besides.
  std::vector<std::vector<uint32_t>> prefix_rules;
  std::vector<std::vector<uint32_t>> suffix_rules;
  std::vector<uint8_t> needs_affix, only_in_compound, forbidden, circumfix,
      compounds;
  std::vector<AffixRule> prefixes;
  std::vector<AffixRule> suffixes;

  // Every flag's id, by its value: the character, pair or number.
  std::unordered_map<uint64_t, FlagId> ids;

  // The flags of a flag field of the stem list (an alias number when AF
  // is in use) into *flags, sorted, dropping flags that the affix file
  // never names. False with a reason when the field breaks the syntax or
  // names no alias.
  bool StemFlags(std::string_view field, std::vector<FlagId>* flags,
                 std::string* reason) const;
  // As StemFlags, but a field that breaks the flag syntax is read as a
  // spell checker reads it, keeping the flags it can make out (the whole
  // numbers of a num field, the pairs of a long one), and sets *broken.
  // Only a missing alias fails. Stem lists hold such fields ('"A/S"' is
  // the word '"A' with the flags 'S"').
  bool LenientStemFlags(std::string_view field, std::vector<FlagId>* flags,
                        bool* broken, std::string* reason) const;
  FlagMeaning MeaningOf(const FlagId* begin, const FlagId* end) const;
  FlagMeaning MeaningOf(const std::vector<FlagId>& flags) const {
    return MeaningOf(flags.data(), flags.data() + flags.size());
  }
};

// Reads the affix file's UTF-8 `text` into *rules; `utf8_files` says
// whether the pair was UTF-8 before decoding. On failure *line and *reason
// say where and why.
bool ReadAffixRules(std::string_view text, bool utf8_files,
                    AffixRules* rules, int64_t* line, std::string* reason);

}  // namespace vocor::hunspell

#endif  // VOCOR_COMPILER_HUNSPELL_AFFIXES_H_
