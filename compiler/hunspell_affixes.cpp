#include "compiler/hunspell_affixes.h"

#include <algorithm>
#include <charconv>

#include "compiler/hunspell_text.h"
#include "engine/charset.h"

namespace vocor::hunspell {
namespace {

// Largest flag number a spell checker accepts.
constexpr uint64_t kMaxFlagNumber = 65535;

// Reads the code points of a UTF-8 text (already checked well-formed).
std::vector<uint32_t> CodePoints(std::string_view text) {
  std::vector<uint32_t> points;
  size_t at = 0;
  while (at < text.size()) {
    uint32_t code_point = 0;
    int length = DecodeUtf8(text.substr(at), &code_point);
    if (length == 0) {
      code_point = static_cast<unsigned char>(text[at]);
      length = 1;
    }
    points.push_back(code_point);
    at += static_cast<size_t>(length);
  }
  return points;
}

bool ReadCount(std::string_view text, int64_t* count) {
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, *count);
  return error == std::errc() && stop == end && *count >= 0;
}

void SetBit(Condition::ByteSet* set, unsigned char c) {
  (*set)[c >> 6] |= uint64_t{1} << (c & 63);
}

// The flag values of a flag field, by the file's syntax.
bool FlagValues(std::string_view text, FlagSyntax syntax, bool utf8_files,
                std::vector<uint64_t>* values, std::string* reason) {
  values->clear();
  if (text.empty()) return true;
  std::vector<uint32_t> units;
  if (syntax == FlagSyntax::kNum) {
    size_t at = 0;
    while (at <= text.size()) {
      const size_t comma = std::min(text.find(',', at), text.size());
      const std::string_view number = text.substr(at, comma - at);
      int64_t value = 0;
      if (!ReadCount(number, &value) || value == 0 ||
          static_cast<uint64_t>(value) > kMaxFlagNumber) {
        *reason = "the flag '" + std::string(number) +
                  "' is no number from 1 to " + std::to_string(kMaxFlagNumber);
        return false;
      }
      values->push_back(static_cast<uint64_t>(value));
      at = comma + 1;
    }
    return true;
  }
  if (utf8_files && syntax != FlagSyntax::kUtf8) {
    for (char c : text) units.push_back(static_cast<unsigned char>(c));
  } else {
    units = CodePoints(text);
  }
  if (syntax != FlagSyntax::kLong) {
    values->assign(units.begin(), units.end());
    return true;
  }
  if (units.size() % 2 != 0) {
    *reason = "the long flags '" + std::string(text) +
              "' are not pairs of characters";
    return false;
  }
  for (size_t i = 0; i < units.size(); i += 2) {
    values->push_back(uint64_t{units[i]} << 32 | units[i + 1]);
  }
  return true;
}

// Directives whose value is one flag with a meaning for the expansion.
enum class Meaning { kNeedsAffix, kOnlyInCompound, kForbidden, kCircumfix,
                     kCompounds, kNone };

Meaning MeaningOfDirective(std::string_view keyword) {
  if (keyword == "NEEDAFFIX" || keyword == "PSEUDOROOT") {
    return Meaning::kNeedsAffix;
  }
  if (keyword == "ONLYINCOMPOUND") return Meaning::kOnlyInCompound;
  if (keyword == "FORBIDDENWORD") return Meaning::kForbidden;
  if (keyword == "CIRCUMFIX") return Meaning::kCircumfix;
  if (keyword == "COMPOUNDFLAG" || keyword == "COMPOUNDBEGIN" ||
      keyword == "COMPOUNDMIDDLE" || keyword == "COMPOUNDEND" ||
      keyword == "COMPOUNDFIRST" || keyword == "COMPOUNDLAST") {
    return Meaning::kCompounds;
  }
  return Meaning::kNone;
}

class AffixReader {
 public:
  AffixReader(std::string_view text, bool utf8_files, AffixRules* rules)
      : lines_(text), rules_(rules) {
    rules_->utf8_files = utf8_files;
  }

  bool Read(int64_t* line, std::string* reason) {
    std::string_view text;
    while (lines_.Next(&text)) {
      if (!ReadLine(text)) {
        *line = lines_.number();
        *reason = std::move(reason_);
        return false;
      }
    }
    Finish();
    return true;
  }

 private:
  // The next line that holds anything but a comment, split into fields.
  bool NextTableLine(std::vector<std::string_view>* fields) {
    std::string_view text;
    while (lines_.Next(&text)) {
      *fields = Fields(text);
      if (!fields->empty() && !fields->front().starts_with('#')) return true;
    }
    return false;
  }

  bool Fail(std::string reason) {
    reason_ = std::move(reason);
    return false;
  }

  FlagId Id(uint64_t value) {
    const auto [at, added] =
        rules_->ids.try_emplace(value, static_cast<FlagId>(rules_->ids.size()));
    return at->second;
  }

  bool Flags(std::string_view text, std::vector<FlagId>* flags) {
    std::vector<uint64_t> values;
    if (!FlagValues(text, rules_->syntax, rules_->utf8_files, &values,
                    &reason_)) {
      return false;
    }
    flags->clear();
    for (uint64_t value : values) flags->push_back(Id(value));
    std::sort(flags->begin(), flags->end());
    return true;
  }

  // A field naming one flag: a spell checker reads its first flag and
  // ignores the rest (so a class named by a two-byte character in a file
  // of one-byte flags is named by the first byte).
  bool OneFlag(std::string_view text, FlagId* flag) {
    std::vector<uint64_t> values;
    if (!FlagValues(text, rules_->syntax, rules_->utf8_files, &values,
                    &reason_)) {
      return false;
    }
    if (values.empty()) return Fail("a flag is missing");
    *flag = Id(values[0]);
    return true;
  }

  // A continuation field: flags, or an alias number when AF is in use.
  bool Continuation(std::string_view text, std::vector<FlagId>* flags) {
    if (rules_->aliases.empty()) return Flags(text, flags);
    return rules_->StemFlags(text, flags, &reason_);
  }

  bool ReadLine(std::string_view text) {
    const std::vector<std::string_view> fields = Fields(text);
    if (fields.empty() || fields[0].starts_with('#')) return true;
    const std::string_view keyword = fields[0];
    if (keyword.find("COMPOUND") != std::string_view::npos) {
      NoteCompoundDirective(keyword);
    }
    if (keyword == "PFX" || keyword == "SFX") return ReadClass(fields);
    if (keyword == "FLAG") return ReadSyntax(fields);
    if (keyword == "AF") return ReadAliases(fields);
    if (keyword == "COMPOUNDRULE") return ReadCompoundRules(fields);
    if (keyword == "ICONV") return ReadInputConversions(fields);
    if (keyword == "IGNORE" && fields.size() >= 2) {
      rules_->ignored = CodePoints(fields[1]);
      std::sort(rules_->ignored.begin(), rules_->ignored.end());
      return true;
    }
    if (keyword == "FULLSTRIP") rules_->full_strip = true;
    if (keyword == "COMPLEXPREFIXES") {
      return Fail(
          "COMPLEXPREFIXES (affixes read right to left) is not supported");
    }
    const Meaning meaning = MeaningOfDirective(keyword);
    if (meaning == Meaning::kNone) return true;
    if (fields.size() < 2) {
      return Fail(std::string(keyword) + " names no flag");
    }
    FlagId flag = 0;
    if (!OneFlag(fields[1], &flag)) return false;
    meanings_.push_back({flag, meaning});
    return true;
  }

  void NoteCompoundDirective(std::string_view keyword) {
    std::vector<std::string>& seen = rules_->compound_directives;
    if (std::find(seen.begin(), seen.end(), keyword) == seen.end()) {
      seen.emplace_back(keyword);
    }
  }

  bool ReadSyntax(const std::vector<std::string_view>& fields) {
    if (!rules_->ids.empty()) {
      return Fail("FLAG comes after flags were used");
    }
    const std::string_view kind = fields.size() >= 2 ? fields[1] : "";
    if (kind == "long") {
      rules_->syntax = FlagSyntax::kLong;
    } else if (kind == "num") {
      rules_->syntax = FlagSyntax::kNum;
    } else if (kind == "UTF-8") {
      rules_->syntax = FlagSyntax::kUtf8;
    } else {
      return Fail("FLAG '" + std::string(kind) +
                  "' is none of long, num and UTF-8");
    }
    return true;
  }

  // "AF N" and N lines "AF flags".
  bool ReadAliases(const std::vector<std::string_view>& fields) {
    int64_t count = 0;
    if (!rules_->aliases.empty() || fields.size() < 2 ||
        !ReadCount(fields[1], &count)) {
      return Fail("AF should first give the number of flag aliases");
    }
    std::vector<std::vector<FlagId>> aliases;
    std::vector<std::string_view> alias;
    for (int64_t i = 0; i < count; ++i) {
      if (!NextTableLine(&alias) || alias[0] != "AF") {
        return Fail("AF: " + std::to_string(count) + " aliases announced, " +
                    std::to_string(i) + " found");
      }
      std::vector<FlagId> flags;
      if (alias.size() >= 2 && !Flags(alias[1], &flags)) return false;
      aliases.push_back(std::move(flags));
    }
    rules_->aliases = std::move(aliases);
    return true;
  }

  // "ICONV N" and N lines "ICONV from to".
  bool ReadInputConversions(const std::vector<std::string_view>& fields) {
    int64_t count = 0;
    if (fields.size() < 2 || !ReadCount(fields[1], &count)) {
      return Fail("ICONV should first give the number of conversions");
    }
    std::vector<std::string_view> conversion;
    for (int64_t i = 0; i < count; ++i) {
      if (!NextTableLine(&conversion) || conversion[0] != "ICONV" ||
          conversion.size() < 3) {
        return Fail("ICONV: " + std::to_string(count) +
                    " conversions announced, " + std::to_string(i) + " found");
      }
      std::string from;
      std::string to;
      if (Utf8ToEngineText(conversion[1], &from) && !from.empty() &&
          (!Utf8ToEngineText(conversion[2], &to) || from != to)) {
        rules_->input_conversions.emplace_back(from, to);
      }
    }
    return true;
  }

  // "COMPOUNDRULE N" and N lines of rules, whose flags take part in
  // compounds.
  bool ReadCompoundRules(const std::vector<std::string_view>& fields) {
    int64_t count = 0;
    if (fields.size() < 2 || !ReadCount(fields[1], &count)) {
      return Fail("COMPOUNDRULE should first give the number of rules");
    }
    std::vector<std::string_view> rule;
    for (int64_t i = 0; i < count; ++i) {
      if (!NextTableLine(&rule) || rule[0] != "COMPOUNDRULE" ||
          rule.size() < 2) {
        return Fail("COMPOUNDRULE: " + std::to_string(count) +
                    " rules announced, " + std::to_string(i) + " found");
      }
      std::string flags;
      for (char c : rule[1]) {
        // Grouping and repetition marks; in long and num syntax the flags
        // are in parentheses.
        if (c == '*' || c == '?' || c == '(') continue;
        if (c == ')' && rules_->syntax == FlagSyntax::kNum) c = ',';
        if (c == ')') continue;
        flags += c;
      }
      if (!flags.empty() && flags.back() == ',') flags.pop_back();
      std::vector<FlagId> ids;
      if (!flags.empty() && !Flags(flags, &ids)) return false;
      for (FlagId flag : ids) meanings_.push_back({flag, Meaning::kCompounds});
    }
    return true;
  }

  // "PFX flag Y|N count" and count rules "PFX flag strip add[/flags]
  // [condition [morphology...]]".
  bool ReadClass(const std::vector<std::string_view>& header) {
    const bool prefix = header[0] == "PFX";
    int64_t count = 0;
    if (header.size() < 4 || !ReadCount(header[3], &count)) {
      return Fail(std::string(header[0]) +
                  ": the class should start with its flag, Y or N and the "
                  "number of rules");
    }
    FlagId flag = 0;
    if (!OneFlag(header[1], &flag)) return false;
    const std::string name =
        std::string(header[0]) + " " + std::string(header[1]);
    std::vector<std::string_view> fields;
    for (int64_t i = 0; i < count; ++i) {
      if (!NextTableLine(&fields) || fields[0] != header[0] ||
          fields.size() < 2 || fields[1] != header[1]) {
        return Fail(name + ": " + std::to_string(count) +
                    " rules announced, " + std::to_string(i) + " found");
      }
      if (fields.size() < 4) {
        return Fail(name + ": a rule needs what it strips and what it adds");
      }
      AffixRule rule;
      rule.flag = flag;
      rule.cross_product = header[2] == "Y";
      if (!ReadRule(fields, &rule)) {
        reason_ = name + ": " + reason_;
        return false;
      }
      (prefix ? rules_->prefixes : rules_->suffixes).push_back(std::move(rule));
    }
    return true;
  }

  bool ReadRule(const std::vector<std::string_view>& fields, AffixRule* rule) {
    std::string strip(fields[2] == "0" ? "" : fields[2]);
    std::string_view add_field = fields[3];
    const size_t slash = add_field.find('/');
    if (slash != std::string_view::npos) {
      if (!Continuation(add_field.substr(slash + 1), &rule->continuation)) {
        return false;
      }
      add_field = add_field.substr(0, slash);
    }
    std::string add(add_field == "0" ? "" : add_field);
    RemoveIgnored(rules_->ignored, &strip);
    RemoveIgnored(rules_->ignored, &add);
    rule->never = !Utf8ToEngineText(strip, &rule->strip);
    if (!Utf8ToEngineText(add, &rule->add)) {
      rule->foreign = true;
      // Its forms are only counted; '?' stands for what cannot be held.
      rule->add = Utf8ToEngine(add, '?');
    }
    rule->add_utf8 = add;
    const std::string_view condition = fields.size() >= 5 ? fields[4] : ".";
    return rule->condition.Read(condition, &reason_);
  }

  void Finish() {
    const size_t count = rules_->ids.size();
    rules_->prefix_rules.assign(count, {});
    rules_->suffix_rules.assign(count, {});
    for (auto* flags : {&rules_->needs_affix, &rules_->only_in_compound,
                        &rules_->forbidden, &rules_->circumfix,
                        &rules_->compounds}) {
      flags->assign(count, 0);
    }
    for (const auto& [flag, meaning] : meanings_) {
      switch (meaning) {
        case Meaning::kNeedsAffix: rules_->needs_affix[flag] = 1; break;
        case Meaning::kOnlyInCompound:
          rules_->only_in_compound[flag] = 1;
          rules_->compounds[flag] = 1;
          break;
        case Meaning::kForbidden: rules_->forbidden[flag] = 1; break;
        case Meaning::kCircumfix: rules_->circumfix[flag] = 1; break;
        case Meaning::kCompounds: rules_->compounds[flag] = 1; break;
        case Meaning::kNone: break;
      }
    }
    for (uint32_t i = 0; i < rules_->prefixes.size(); ++i) {
      AffixRule& rule = rules_->prefixes[i];
      rules_->prefix_rules[rule.flag].push_back(i);
      rule.meaning = rules_->MeaningOf(rule.continuation);
    }
    for (uint32_t i = 0; i < rules_->suffixes.size(); ++i) {
      AffixRule& rule = rules_->suffixes[i];
      rules_->suffix_rules[rule.flag].push_back(i);
      rule.meaning = rules_->MeaningOf(rule.continuation);
    }
  }

  LineReader lines_;
  AffixRules* rules_;
  std::vector<std::pair<FlagId, Meaning>> meanings_;
  std::string reason_;
};

}  // namespace

bool Condition::Read(std::string_view utf8, std::string* reason) {
  sets_.clear();
  dots_.clear();
  if (utf8 == ".") return true;
  const std::vector<uint32_t> points = CodePoints(utf8);
  for (size_t i = 0; i < points.size(); ++i) {
    ByteSet set{};
    if (points[i] == '.') {
      set.fill(~uint64_t{0});
    } else if (points[i] == '[') {
      const bool negated = i + 1 < points.size() && points[i + 1] == '^';
      size_t end = i + (negated ? 2 : 1);
      while (end < points.size() && points[end] != ']') {
        const int byte = UnicodeToEngine(points[end]);
        if (byte >= 0) SetBit(&set, static_cast<unsigned char>(byte));
        ++end;
      }
      if (end == points.size()) {
        *reason = "the condition '" + std::string(utf8) + "' has no ']'";
        return false;
      }
      if (negated) {
        for (uint64_t& word : set) word = ~word;
      }
      i = end;
    } else {
      const int byte = UnicodeToEngine(points[i]);
      if (byte >= 0) SetBit(&set, static_cast<unsigned char>(byte));
    }
    sets_.push_back(set);
    dots_.push_back(points[i] == '.');
  }
  return true;
}

bool Condition::MatchesStart(std::string_view word) const {
  if (word.size() < sets_.size()) return false;
  for (size_t i = 0; i < sets_.size(); ++i) {
    if (!Has(sets_[i], static_cast<unsigned char>(word[i]))) return false;
  }
  return true;
}

bool Condition::MatchesEnd(std::string_view word, bool utf8_steps) const {
  if (utf8_steps) return MatchesEndStepping(word);
  if (word.size() < sets_.size()) return false;
  const size_t start = word.size() - sets_.size();
  for (size_t i = 0; i < sets_.size(); ++i) {
    if (!Has(sets_[i], static_cast<unsigned char>(word[start + i]))) {
      return false;
    }
  }
  return true;
}

bool Condition::MatchesEndStepping(std::string_view word) const {
  ptrdiff_t at = static_cast<ptrdiff_t>(word.size()) - 1;
  for (size_t i = sets_.size(); i-- > 0;) {
    if (at < 0) return false;
    const auto c = static_cast<unsigned char>(word[at--]);
    if (!Has(sets_[i], c)) return false;
    if (dots_[i] && c < 0x80 && at >= 0 &&
        static_cast<unsigned char>(word[at]) >= 0x80) {
      --at;
    }
  }
  return true;
}

bool AffixRules::StemFlags(std::string_view field, std::vector<FlagId>* flags,
                           std::string* reason) const {
  flags->clear();
  if (field.empty()) return true;
  if (!aliases.empty()) {
    int64_t number = 0;
    if (!ReadCount(field, &number) || number < 1 ||
        static_cast<size_t>(number) > aliases.size()) {
      *reason = "the flag alias '" + std::string(field) +
                "' is no number from 1 to " + std::to_string(aliases.size());
      return false;
    }
    *flags = aliases[static_cast<size_t>(number - 1)];
    return true;
  }
  std::vector<uint64_t> values;
  if (!FlagValues(field, syntax, utf8_files, &values, reason)) return false;
  for (uint64_t value : values) {
    const auto known = ids.find(value);
    if (known != ids.end()) flags->push_back(known->second);
  }
  std::sort(flags->begin(), flags->end());
  return true;
}

bool AffixRules::LenientStemFlags(std::string_view field,
                                  std::vector<FlagId>* flags, bool* broken,
                                  std::string* reason) const {
  *broken = false;
  std::string ignored;
  if (!aliases.empty() || StemFlags(field, flags, &ignored)) {
    return StemFlags(field, flags, reason);
  }
  *broken = true;
  std::vector<std::string_view> pieces;
  if (syntax == FlagSyntax::kNum) {
    size_t at = 0;
    while (at <= field.size()) {
      const size_t comma = std::min(field.find(',', at), field.size());
      pieces.push_back(field.substr(at, comma - at));
      at = comma + 1;
    }
  } else {
    // Long flags of an odd count: the last character makes no pair.
    pieces.push_back(field.substr(0, field.size() - 1));
  }
  flags->clear();
  std::vector<FlagId> part;
  for (std::string_view piece : pieces) {
    if (StemFlags(piece, &part, &ignored)) {
      flags->insert(flags->end(), part.begin(), part.end());
    }
  }
  std::sort(flags->begin(), flags->end());
  return true;
}

FlagMeaning AffixRules::MeaningOf(const FlagId* begin,
                                  const FlagId* end) const {
  FlagMeaning meaning;
  for (const FlagId* at = begin; at != end; ++at) {
    const FlagId flag = *at;
    if (flag >= needs_affix.size()) continue;
    meaning.needs_affix |= needs_affix[flag] != 0;
    meaning.only_in_compound |= only_in_compound[flag] != 0;
    meaning.forbidden |= forbidden[flag] != 0;
    meaning.circumfix |= circumfix[flag] != 0;
    meaning.compounds |= compounds[flag] != 0;
  }
  return meaning;
}

bool ReadAffixRules(std::string_view text, bool utf8_files, AffixRules* rules,
                    int64_t* line, std::string* reason) {
  AffixReader reader(text, utf8_files, rules);
  return reader.Read(line, reason);
}

}  // namespace vocor::hunspell
