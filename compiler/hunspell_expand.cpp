#include "compiler/hunspell_expand.h"

#include <algorithm>
#include <chrono>
#include <unordered_set>

#include "compiler/file_io.h"
#include "compiler/hunspell_affixes.h"
#include "compiler/hunspell_stems.h"
#include "compiler/hunspell_text.h"
#include "dictionary/file_image.h"
#include "engine/charset.h"

namespace vocor {
namespace {

using hunspell::AffixRule;
using hunspell::AffixRules;
using hunspell::FlagId;
using hunspell::StemList;

// Stems between two progress calls.
constexpr size_t kStemsPerReport = 4096;

struct StringHash {
  using is_transparent = void;
  size_t operator()(std::string_view text) const {
    return std::hash<std::string_view>()(text);
  }
};
using WordSet = std::unordered_set<std::string, StringHash, std::equal_to<>>;

bool Holds(const std::vector<FlagId>& sorted, FlagId flag) {
  return std::binary_search(sorted.begin(), sorted.end(), flag);
}

bool Holds(const FlagId* begin, const FlagId* end, FlagId flag) {
  return std::binary_search(begin, end, flag);
}

// A form made with one suffix, or two: its text in the expander's arena.
struct Suffixed {
  uint32_t begin;
  uint32_t length;
  const AffixRule* first;
  const AffixRule* second;  // null for one suffix
  bool foreign;             // a suffix added a foreign character
};

// Makes the forms of one stem after another (see the header for which).
class Expander {
 public:
  Expander(const AffixRules& rules, const HunspellOptions& options,
           const WordSet& forbidden, const HunspellFormSink& sink,
           HunspellReport* report)
      : rules_(rules),
        options_(options),
        forbidden_(forbidden),
        sink_(sink),
        report_(report) {}

  // False when the sink asked to stop.
  bool Expand(std::string_view stem, const FlagId* flags, size_t count) {
    begin_ = flags;
    end_ = flags + count;
    const hunspell::FlagMeaning meaning = rules_.MeaningOf(begin_, end_);
    if (meaning.compounds) ++report_->compound_stems;
    if (meaning.forbidden || meaning.only_in_compound) return true;
    if (meaning.needs_affix) {
      ++report_->not_words;
    } else if (!Emit(stem, false)) {
      return false;
    }
    arena_.clear();
    suffixed_.clear();
    for (const FlagId* flag = begin_; flag != end_; ++flag) {
      AddSuffixed(stem, *flag, false, &suffixed_);
    }
    for (const Suffixed& form : suffixed_) {
      if (!EmitSuffixed(form)) return false;
    }
    return ExpandPrefixes(stem) && PrefixesOfSuffixes();
  }

 private:
  bool InStem(FlagId flag) const { return Holds(begin_, end_, flag); }

  std::string_view Text(const Suffixed& form) const {
    return std::string_view(arena_).substr(form.begin, form.length);
  }

  bool StripsFit(const AffixRule& rule, std::string_view base) const {
    if (rule.never) return false;
    return base.size() > rule.strip.size() ||
           (rules_.full_strip && base.size() == rule.strip.size());
  }

  bool SuffixApplies(const AffixRule& rule, std::string_view base) const {
    return StripsFit(rule, base) && base.ends_with(rule.strip) &&
           rule.condition.MatchesEnd(base, rules_.utf8_files);
  }

  bool PrefixApplies(const AffixRule& rule, std::string_view base) const {
    return StripsFit(rule, base) && base.starts_with(rule.strip) &&
           rule.condition.MatchesStart(base);
  }

  // Appends `base` with `rule` applied to the arena; returns its place.
  uint32_t AppendSuffixed(std::string_view base, const AffixRule& rule) {
    const auto begin = static_cast<uint32_t>(arena_.size());
    arena_.append(base.substr(0, base.size() - rule.strip.size()));
    arena_ += rule.add;
    return begin;
  }

  // Adds to *out the forms of `base` with a suffix of class `flag`, and
  // with a second suffix on top where the options allow (only those whose
  // suffixes allow the cross product with `cross_only`).
  void AddSuffixed(std::string_view base, FlagId flag, bool cross_only,
                   std::vector<Suffixed>* out) {
    for (uint32_t index : rules_.suffix_rules[flag]) {
      const AffixRule& rule = rules_.suffixes[index];
      if (cross_only && !rule.cross_product) continue;
      if (rule.meaning.only_in_compound || !SuffixApplies(rule, base)) {
        continue;
      }
      const uint32_t begin = AppendSuffixed(base, rule);
      const auto length = static_cast<uint32_t>(arena_.size() - begin);
      const Suffixed first{begin, length, &rule, nullptr, rule.foreign};
      out->push_back(first);
      AddSecondSuffixes(first, out);
    }
  }

  void AddSecondSuffixes(const Suffixed& first, std::vector<Suffixed>* out) {
    // The arena grows below: work on a copy of the first form.
    scratch_.assign(Text(first));
    for (FlagId flag : first.first->continuation) {
      for (uint32_t index : rules_.suffix_rules[flag]) {
        const AffixRule& rule = rules_.suffixes[index];
        if (rule.meaning.only_in_compound || !SuffixApplies(rule, scratch_)) {
          continue;
        }
        if (!options_.two_level_suffixes) {
          ++report_->two_level_left_out;
          continue;
        }
        const uint32_t begin = AppendSuffixed(scratch_, rule);
        const auto length = static_cast<uint32_t>(arena_.size() - begin);
        out->push_back({begin, length, first.first, &rule,
                        first.foreign || rule.foreign});
      }
    }
  }

  // A suffixed form without a prefix is a word unless a suffix needs one:
  // a CIRCUMFIX suffix, or a single suffix with NEEDAFFIX.
  bool EmitSuffixed(const Suffixed& form) {
    const bool word =
        form.second == nullptr
            ? !form.first->meaning.needs_affix && !form.first->meaning.circumfix
            : !form.first->meaning.circumfix && !form.second->meaning.circumfix;
    if (!word) {
      ++report_->not_words;
      return true;
    }
    return Emit(Text(form), form.foreign, form.first, form.second);
  }

  bool ExpandPrefixes(std::string_view stem) {
    for (const FlagId* flag = begin_; flag != end_; ++flag) {
      for (uint32_t index : rules_.prefix_rules[*flag]) {
        const AffixRule& prefix = rules_.prefixes[index];
        if (prefix.meaning.only_in_compound) continue;
        if (PrefixApplies(prefix, stem)) {
          const bool word =
              !prefix.meaning.needs_affix && !prefix.meaning.circumfix;
          if (!word) {
            ++report_->not_words;
          } else if (!EmitPrefixed(prefix, stem, prefix.foreign, nullptr)) {
            return false;
          }
        }
        if (!prefix.cross_product) continue;
        for (const Suffixed& form : suffixed_) {
          if (!PrefixSuffixed(prefix, form)) return false;
        }
        if (!SuffixesOfPrefix(prefix, stem)) return false;
      }
    }
    return true;
  }

  // The forms of a prefix whose continuation names suffix classes that
  // the stem does not: those suffixes apply only under the prefix.
  bool SuffixesOfPrefix(const AffixRule& prefix, std::string_view stem) {
    enabled_.clear();
    const size_t arena_size = arena_.size();
    for (FlagId flag : prefix.continuation) {
      if (!InStem(flag)) AddSuffixed(stem, flag, true, &enabled_);
    }
    for (const Suffixed& form : enabled_) {
      if (!PrefixSuffixed(prefix, form)) return false;
    }
    arena_.resize(arena_size);
    return true;
  }

  // Prefixes named by a suffix's continuation and not by the stem.
  bool PrefixesOfSuffixes() {
    for (const Suffixed& form : suffixed_) {
      for (const AffixRule* suffix : {form.first, form.second}) {
        if (suffix == nullptr) continue;
        for (FlagId flag : suffix->continuation) {
          if (InStem(flag)) continue;
          for (uint32_t index : rules_.prefix_rules[flag]) {
            const AffixRule& prefix = rules_.prefixes[index];
            if (!prefix.cross_product || prefix.meaning.only_in_compound) {
              continue;
            }
            if (!PrefixSuffixed(prefix, form)) return false;
          }
        }
      }
    }
    return true;
  }

  // Whether a prefix joins a suffixed form, and the form then is a word.
  // One suffix: both allow the cross product, and NEEDAFFIX on both
  // leaves it wanting, and CIRCUMFIX on one needs it on the other. Two:
  // the outer one allows the cross product; the prefix pairs with the
  // outer suffix when that names it, else with the inner one, which must
  // allow the cross product too; CIRCUMFIX pairs the prefix with the
  // suffix it goes with, and the other suffix must not need one.
  bool PrefixSuffixed(const AffixRule& prefix, const Suffixed& form) {
    const AffixRule& first = *form.first;
    bool joins = false;
    bool word = false;
    const bool circumfix = prefix.meaning.circumfix;
    if (form.second == nullptr) {
      joins = first.cross_product;
      word = !(prefix.meaning.needs_affix && first.meaning.needs_affix) &&
             circumfix == first.meaning.circumfix;
    } else {
      const AffixRule& second = *form.second;
      const bool with_outer = Holds(second.continuation, prefix.flag);
      joins = second.cross_product && (with_outer || first.cross_product);
      word = with_outer ? circumfix == second.meaning.circumfix &&
                              !first.meaning.circumfix
                        : circumfix == first.meaning.circumfix &&
                              !second.meaning.circumfix;
    }
    const std::string_view text = Text(form);
    if (!joins || !PrefixApplies(prefix, text)) return true;
    if (!word) {
      ++report_->not_words;
      return true;
    }
    if (!options_.cross_products) {
      ++report_->cross_products_left_out;
      return true;
    }
    return EmitPrefixed(prefix, text, form.foreign || prefix.foreign, &form);
  }

  bool EmitPrefixed(const AffixRule& prefix, std::string_view base,
                    bool foreign, const Suffixed* form) {
    prefixed_.assign(prefix.add);
    prefixed_.append(base.substr(prefix.strip.size()));
    return Emit(prefixed_, foreign, &prefix, form ? form->first : nullptr);
  }

  // Hands a form on, or counts it as skipped; false when the sink says
  // stop. `a` and `b` are affixes that made it, for the report's example
  // of a foreign form.
  bool Emit(std::string_view form, bool foreign, const AffixRule* a = nullptr,
            const AffixRule* b = nullptr) {
    if (foreign) {
      ++report_->foreign_forms;
      NoteForeign(form, a, b);
      return true;
    }
    if (!forbidden_.empty() && forbidden_.contains(form)) {
      ++report_->not_words;
      return true;
    }
    for (const auto& [from, to] : rules_.input_conversions) {
      if (form.find(from) != std::string_view::npos) {
        ++report_->converted_forms;
        return true;
      }
    }
    ++report_->forms;
    return sink_(form);
  }

  void NoteForeign(std::string_view form, const AffixRule* a,
                   const AffixRule* b) {
    if (report_->foreign_examples.size() >= HunspellReport::kMaxExamples) {
      return;
    }
    // The form with its foreign piece as the affix file writes it, where
    // that piece is at an end; else marked out in parentheses.
    for (const AffixRule* rule : {b, a}) {
      if (rule == nullptr || !rule->foreign) continue;
      std::string example;
      if (form.ends_with(rule->add)) {
        example = EngineToUtf8(form.substr(0, form.size() - rule->add.size())) +
                  rule->add_utf8;
      } else if (form.starts_with(rule->add)) {
        example = rule->add_utf8 + EngineToUtf8(form.substr(rule->add.size()));
      } else {
        example = EngineToUtf8(form) + " (" + rule->add_utf8 + ")";
      }
      report_->foreign_examples.push_back(example);
      return;
    }
  }

  const AffixRules& rules_;
  const HunspellOptions& options_;
  const WordSet& forbidden_;
  const HunspellFormSink& sink_;
  HunspellReport* report_;
  const FlagId* begin_ = nullptr;
  const FlagId* end_ = nullptr;
  std::string arena_;
  std::vector<Suffixed> suffixed_;
  std::vector<Suffixed> enabled_;
  std::string scratch_;
  std::string prefixed_;
};

// The words of the entries carrying FORBIDDENWORD.
WordSet ForbiddenWords(const AffixRules& rules, const StemList& stems) {
  WordSet words;
  for (const StemList::Entry& entry : stems.entries) {
    for (uint32_t i = 0; i < entry.flags_count; ++i) {
      if (rules.forbidden[stems.flags[entry.flags_begin + i]]) {
        words.emplace(stems.Stem(entry));
        break;
      }
    }
  }
  return words;
}

HunspellStatus ReadFile(const std::string& path, std::string* bytes,
                        std::string* error) {
  return ReadWholeFile(path, kMaxWordListFileSize, bytes, error) ==
                 ReadStatus::kRead
             ? HunspellStatus::kDone
             : HunspellStatus::kUnreadable;
}

HunspellStatus Malformed(const std::string& path, int64_t line,
                         const std::string& reason, std::string* error) {
  *error = path + ":" + std::to_string(line) + ": " + reason;
  return HunspellStatus::kMalformed;
}

// "line N: reason" from the decoder into "path:N: reason".
HunspellStatus Undecodable(const std::string& path, const std::string& reason,
                           std::string* error) {
  const size_t colon = reason.find(':');
  *error = path + ":" + reason.substr(5, colon - 5) + reason.substr(colon);
  return HunspellStatus::kMalformed;
}

// Reads both files of the pair; on failure returns the status to report.
HunspellStatus ReadPair(const HunspellPair& pair, AffixRules* rules,
                        StemList* stems, std::string* error) {
  std::string affix_bytes;
  std::string stem_bytes;
  if (ReadFile(pair.affix_file, &affix_bytes, error) != HunspellStatus::kDone ||
      ReadFile(pair.dictionary_file, &stem_bytes, error) !=
          HunspellStatus::kDone) {
    return HunspellStatus::kUnreadable;
  }
  const std::string encoding = hunspell::EffectiveEncoding(
      hunspell::DeclaredEncoding(affix_bytes), affix_bytes);
  std::string text;
  std::string reason;
  if (!hunspell::DecodeToUtf8(affix_bytes, encoding, &text, &reason)) {
    return Undecodable(pair.affix_file, reason, error);
  }
  int64_t line = 0;
  rules->encoding = encoding;
  if (!hunspell::ReadAffixRules(text, hunspell::IsUtf8Encoding(encoding),
                                rules, &line, &reason)) {
    return Malformed(pair.affix_file, line, reason, error);
  }
  affix_bytes.clear();
  if (!hunspell::DecodeToUtf8(stem_bytes, encoding, &text, &reason)) {
    return Undecodable(pair.dictionary_file, reason, error);
  }
  stem_bytes.clear();
  if (!hunspell::ReadStemList(text, *rules, HunspellReport::kMaxExamples,
                              stems, &line, &reason)) {
    return Malformed(pair.dictionary_file, line, reason, error);
  }
  return HunspellStatus::kDone;
}

std::string Joined(const std::vector<std::string>& items) {
  std::string text;
  for (const std::string& item : items) {
    text += (text.empty() ? "" : ", ") + item;
  }
  return text;
}

}  // namespace

void HunspellReport::Add(const HunspellReport& other) {
  announced_stems += other.announced_stems;
  stems += other.stems;
  forms += other.forms;
  foreign_stems += other.foreign_stems;
  blank_ended_stems += other.blank_ended_stems;
  broken_flag_stems += other.broken_flag_stems;
  for (const std::string& example : other.broken_flag_examples) {
    if (broken_flag_examples.size() < kMaxExamples) {
      broken_flag_examples.push_back(example);
    }
  }
  foreign_forms += other.foreign_forms;
  for (const std::string& example : other.foreign_examples) {
    if (foreign_examples.size() < kMaxExamples) {
      foreign_examples.push_back(example);
    }
  }
  not_words += other.not_words;
  converted_forms += other.converted_forms;
  two_level_left_out += other.two_level_left_out;
  cross_products_left_out += other.cross_products_left_out;
  compound_stems += other.compound_stems;
  for (const std::string& directive : other.compound_directives) {
    if (std::find(compound_directives.begin(), compound_directives.end(),
                  directive) == compound_directives.end()) {
      compound_directives.push_back(directive);
    }
  }
  over_limit = over_limit || other.over_limit;
  seconds += other.seconds;
}

HunspellStatus ExpandHunspell(const HunspellPair& pair,
                              const HunspellOptions& options,
                              const HunspellFormSink& sink,
                              HunspellReport* report, std::string* error,
                              const HunspellProgress& progress) {
  const auto start = std::chrono::steady_clock::now();
  AffixRules rules;
  StemList stems;
  const HunspellStatus read = ReadPair(pair, &rules, &stems, error);
  if (read != HunspellStatus::kDone) return read;
  report->announced_stems = stems.announced;
  report->stems = stems.read();
  report->foreign_stems = stems.foreign;
  report->blank_ended_stems = stems.blank_ended;
  report->broken_flag_stems = stems.broken_flags;
  for (int64_t line : stems.broken_flag_lines) {
    report->broken_flag_examples.push_back(pair.dictionary_file + ":" +
                                           std::to_string(line));
  }
  report->foreign_examples = stems.foreign_examples;
  report->compound_directives = rules.compound_directives;
  const WordSet forbidden = ForbiddenWords(rules, stems);
  Expander expander(rules, options, forbidden, sink, report);
  HunspellStatus status = HunspellStatus::kDone;
  const size_t total = stems.entries.size();
  for (size_t i = 0; i < total; ++i) {
    if (progress && i % kStemsPerReport == 0 && !progress(i, total)) {
      status = HunspellStatus::kStopped;
      break;
    }
    const StemList::Entry& entry = stems.entries[i];
    if (!expander.Expand(stems.Stem(entry),
                         stems.flags.data() + entry.flags_begin,
                         entry.flags_count)) {
      status = HunspellStatus::kStopped;
      break;
    }
  }
  if (status == HunspellStatus::kDone && progress) progress(total, total);
  report->seconds = std::chrono::duration<double>(
                        std::chrono::steady_clock::now() - start)
                        .count();
  return status;
}

std::vector<std::string> DescribeHunspellReport(const HunspellReport& report) {
  std::vector<std::string> lines;
  lines.push_back("stems read " + std::to_string(report.stems) +
                  " (the stem list announces " +
                  std::to_string(report.announced_stems) + "), forms made " +
                  std::to_string(report.forms));
  if (report.foreign_stems + report.foreign_forms > 0) {
    lines.push_back("skipped for letters outside Windows-1252: " +
                    std::to_string(report.foreign_stems) + " stems, " +
                    std::to_string(report.foreign_forms) + " forms (" +
                    Joined(report.foreign_examples) + ")");
  }
  if (report.blank_ended_stems > 0) {
    lines.push_back("skipped for a word ending in a space or tab: " +
                    std::to_string(report.blank_ended_stems) + " stems");
  }
  if (report.broken_flag_stems > 0) {
    lines.push_back("stems whose flags break the flag syntax, read as far as "
                    "they go: " +
                    std::to_string(report.broken_flag_stems) + " (" +
                    Joined(report.broken_flag_examples) + ")");
  }
  if (report.not_words > 0) {
    lines.push_back("left out as no words on their own (NEEDAFFIX, "
                    "ONLYINCOMPOUND, FORBIDDENWORD, CIRCUMFIX): " +
                    std::to_string(report.not_words) + " forms");
  }
  if (report.converted_forms > 0) {
    lines.push_back("left out as the spell checker's input conversion "
                    "(ICONV) changes them: " +
                    std::to_string(report.converted_forms) + " forms");
  }
  if (report.two_level_left_out > 0) {
    lines.push_back("left out by choice, with a second suffix: " +
                    std::to_string(report.two_level_left_out) + " forms");
  }
  if (report.cross_products_left_out > 0) {
    lines.push_back("left out by choice, with both a prefix and a suffix: " +
                    std::to_string(report.cross_products_left_out) + " forms");
  }
  if (!report.compound_directives.empty() || report.compound_stems > 0) {
    lines.push_back("compounds left out: " +
                    std::to_string(report.compound_stems) +
                    " stems could take part in them" +
                    (report.compound_directives.empty()
                         ? std::string()
                         : " (" + Joined(report.compound_directives) + ")"));
  }
  char seconds[32];
  std::snprintf(seconds, sizeof seconds, "%.2f", report.seconds);
  lines.push_back(std::string("expanded in ") + seconds + " s");
  return lines;
}

}  // namespace vocor
