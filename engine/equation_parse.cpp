// The equation language's parser: one pass over the parts between the
// top-level ';', each part a pattern or a constraint.
#include <algorithm>
#include <cstring>

#include "engine/charset.h"
#include "engine/equation.h"
#include "engine/saturate.h"

namespace vocor {
namespace {

bool IsVariable(char c) { return c >= 'A' && c <= 'Z'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
// Characters kept for constraints, refused inside patterns.
bool IsConstraintSign(char c) { return c != '\0' && std::strchr("|!=<>", c); }

std::string Quoted(char c) { return std::string("'") + c + "'"; }
std::string At(size_t i) { return " at position " + std::to_string(i + 1); }

// Reads the equation text, part by part, into an Equation.
class Parser {
 public:
  Parser(const char* text, Equation* out, PatternError* error)
      : text_(text), size_(std::strlen(text)), out_(out), error_(error) {}

  bool Parse() {
    size_t i = 0;
    bool any_part = false;
    for (;;) {
      const size_t end = PartEnd(i);
      if (!ParsePart(i, end, any_part)) return false;
      any_part = true;
      if (end >= size_) break;
      i = end + 1;
    }
    if (out_->patterns.empty()) return Fail(0, "the equation has no pattern");
    return CheckConstrainedVariablesUsed();
  }

 private:
  bool Fail(size_t i, std::string message) {
    if (error_ != nullptr) {
      error_->message = std::move(message);
      error_->position = static_cast<int>(i) + 1;
    }
    return false;
  }

  // The index of the ';' that ends the part starting at `i` (classes and
  // pieces may hold one), or the text's length.
  size_t PartEnd(size_t i) const {
    while (i < size_ && text_[i] != ';') i = SkipPatternElement(text_, i);
    return std::min(i, size_);
  }

  size_t SkipSpaces(size_t i, size_t end) const {
    while (i < end && text_[i] == ' ') ++i;
    return i;
  }

  bool ParsePart(size_t begin, size_t end, bool after_part) {
    const size_t i = SkipSpaces(begin, end);
    if (i == end) {
      if (begin == 0 && end == size_) return Fail(0, "the equation is empty");
      return Fail(begin == 0 ? 0 : begin - 1,
                  (after_part ? "an empty pattern after ';'"
                              : std::string("an empty pattern before ';'")) +
                      At(begin == 0 ? end : begin - 1));
    }
    if (text_[i] == '|') return ParseLength(i, end);
    const size_t next = SkipSpaces(i + 1, end);
    if (IsVariable(text_[i]) && next < end && text_[next] == '!') {
      return ParseDistinct(i, next, end);
    }
    if (constraints_seen_) {
      return Fail(i, "a pattern" + At(i) + " after the constraints");
    }
    if (out_->patterns.size() >= kMaxEquationPatterns) {
      return Fail(i, "more than " + std::to_string(kMaxEquationPatterns) +
                         " patterns: the next one starts" + At(i));
    }
    return ParsePattern(i, end);
  }

  // A number at text_[*i] (spaces skipped); false when there is none.
  bool ReadNumber(size_t* i, size_t end, int* value) {
    *i = SkipSpaces(*i, end);
    if (*i >= end || !IsDigit(text_[*i])) return false;
    const char* p = text_ + *i;
    *value = ParseSaturatedDecimal(&p, kUnboundedLength);
    *i = static_cast<size_t>(p - text_);
    return true;
  }

  bool ExpectEnd(size_t i, size_t end, const char* what) {
    i = SkipSpaces(i, end);
    if (i == end) return true;
    return Fail(i, Quoted(text_[i]) + At(i) + " after " + what);
  }

  // |A|=3, |A|>=3, |A|<=5.
  bool ParseLength(size_t start, size_t end) {
    constraints_seen_ = true;
    size_t i = SkipSpaces(start + 1, end);
    if (i >= end || !IsVariable(text_[i])) {
      return Fail(i < end ? i : start, "'|'" + At(start) +
                                           " must be followed by a variable "
                                           "and '|', as in |A|>=3");
    }
    const int v = text_[i] - 'A';
    NoteConstrained(v, i);
    i = SkipSpaces(i + 1, end);
    if (i >= end || text_[i] != '|') {
      return Fail(start, "the length" + At(start) + " is not closed by '|'");
    }
    i = SkipSpaces(i + 1, end);
    int op = 0;  // '=', '>' or '<'
    if (i < end && text_[i] == '=') {
      op = '=';
      ++i;
    } else if (i + 1 < end && (text_[i] == '>' || text_[i] == '<') &&
               text_[i + 1] == '=') {
      op = text_[i];
      i += 2;
    } else {
      return Fail(i < end ? i : start,
                  "the length" + At(start) + " needs =, >= or <= and a number");
    }
    int n = 0;
    if (!ReadNumber(&i, end, &n)) {
      return Fail(i < end ? i : start,
                  "the length" + At(start) + " needs a number after " +
                      (op == '=' ? "=" : op == '>' ? ">=" : "<="));
    }
    if (op != '<') out_->min_length[v] = std::max(out_->min_length[v], n);
    if (op != '>') out_->max_length[v] = std::min(out_->max_length[v], n);
    return ExpectEnd(i, end, "the length constraint");
  }

  // A!=B.
  bool ParseDistinct(size_t start, size_t bang, size_t end) {
    constraints_seen_ = true;
    NoteConstrained(text_[start] - 'A', start);
    size_t i = bang + 1;
    if (i >= end || text_[i] != '=') {
      return Fail(bang, "'!'" + At(bang) + " must be followed by '=', as in "
                                           "A!=B");
    }
    i = SkipSpaces(i + 1, end);
    if (i >= end || !IsVariable(text_[i])) {
      return Fail(i < end ? i : bang,
                  "'!='" + At(bang) + " must be followed by a variable");
    }
    NoteConstrained(text_[i] - 'A', i);
    out_->distinct.emplace_back(text_[start] - 'A', text_[i] - 'A');
    return ExpectEnd(i + 1, end, "the constraint");
  }

  void NoteConstrained(int v, size_t i) {
    if (constrained_at_[v] == 0) constrained_at_[v] = static_cast<int>(i) + 1;
  }

  bool CheckConstrainedVariablesUsed() {
    for (int v = 0; v < kEquationVariables; ++v) {
      if (constrained_at_[v] == 0 || (out_->used >> v & 1)) continue;
      const size_t i = static_cast<size_t>(constrained_at_[v] - 1);
      return Fail(i, "the variable " + std::string(1, char('A' + v)) + At(i) +
                         " is in no pattern");
    }
    return true;
  }

  // The text with everything but the pattern element at [begin, end)
  // written as '?', so that CheckPatternSyntax judges the element where
  // it stands and its messages count positions in the whole equation.
  bool CheckElement(size_t begin, size_t end) {
    std::string masked(size_, '?');
    masked.replace(begin, end - begin, text_ + begin, end - begin);
    PatternError error;
    if (CheckPatternSyntax(masked.c_str(), &error)) return true;
    return Fail(static_cast<size_t>(error.position - 1), error.message);
  }

  bool ParsePattern(size_t i, size_t end) {
    EquationPattern pattern;
    const size_t taken = ReadLengthRange(text_ + i, &pattern.range);
    if (taken > 0) {
      if (pattern.range.max != kNoMaxLength &&
          pattern.range.max < pattern.range.min) {
        return Fail(i, "the length range '" + std::string(text_ + i, taken) +
                           "'" + At(i) + " is reversed");
      }
      i += taken;
    }
    while ((i = SkipSpaces(i, end)) < end) {
      const char c = text_[i];
      EquationItem item;
      if (c == '~') {
        const size_t v = SkipSpaces(i + 1, end);
        if (v >= end || !IsVariable(text_[v])) {
          return Fail(i, "'~'" + At(i) + " must be followed by a variable");
        }
        item.variable = text_[v] - 'A';
        item.reversed = true;
        i = v + 1;
      } else if (IsVariable(c)) {
        item.variable = c - 'A';
        ++i;
      } else if (IsDigit(c)) {
        return Fail(i, Quoted(c) + At(i) +
                           ": lengths go in a constraint (|A|=3) or in a "
                           "range ahead of a pattern (5-7:)");
      } else if (IsConstraintSign(c)) {
        return Fail(i, Quoted(c) + At(i) +
                           " belongs in a constraint, after the patterns");
      } else {
        const size_t next = SkipPatternElement(text_, i);
        const size_t stop = std::min(next, end);
        if (!CheckElement(i, stop)) return false;
        item.element.assign(text_ + i, stop - i);
        // Inside classes and pieces upper case is a letter, not a variable.
        for (char& ch : item.element) {
          if (IsVariable(ch)) ch = static_cast<char>(ch - 'A' + 'a');
        }
        i = stop;
      }
      if (item.variable >= 0) out_->used |= uint32_t{1} << item.variable;
      pattern.items.push_back(std::move(item));
    }
    if (pattern.items.empty()) {
      return Fail(i - 1, "the length range ahead of the pattern" +
                             At(i - taken) + " has no pattern after it");
    }
    out_->patterns.push_back(std::move(pattern));
    return true;
  }

  const char* text_;
  size_t size_;
  Equation* out_;
  PatternError* error_;
  bool constraints_seen_ = false;
  int constrained_at_[kEquationVariables] = {};
};

void AppendLength(const Equation& e, int v, std::string* out) {
  const std::string name = "|" + std::string(1, char('A' + v)) + "|";
  if (e.min_length[v] == e.max_length[v]) {
    *out += ";" + name + "=" + std::to_string(e.min_length[v]);
    return;
  }
  if (e.min_length[v] > 1) {
    *out += ";" + name + ">=" + std::to_string(e.min_length[v]);
  }
  if (e.max_length[v] < kUnboundedLength) {
    *out += ";" + name + "<=" + std::to_string(e.max_length[v]);
  }
}

}  // namespace

Equation::Equation() {
  std::fill(std::begin(min_length), std::end(min_length), 1);
  std::fill(std::begin(max_length), std::end(max_length), kUnboundedLength);
}

std::string Equation::ToText() const {
  std::string out;
  for (const EquationPattern& pattern : patterns) {
    if (!out.empty()) out += ';';
    out += FormatLengthRange(pattern.range);
    for (const EquationItem& item : pattern.items) {
      if (item.variable < 0) {
        out += item.element;
        continue;
      }
      if (item.reversed) out += '~';
      out += static_cast<char>('A' + item.variable);
    }
  }
  for (int v = 0; v < kEquationVariables; ++v) AppendLength(*this, v, &out);
  for (const auto& [a, b] : distinct) {
    out += ";" + std::string(1, char('A' + a)) + "!=" + char('A' + b);
  }
  return out;
}

bool ParseEquation(const char* text, Equation* equation, PatternError* error) {
  *equation = Equation();
  return Parser(text, equation, error).Parse();
}

bool EquationIsUnsatisfiable(const Equation& equation) {
  for (int v = 0; v < kEquationVariables; ++v) {
    if (equation.min_length[v] > equation.max_length[v]) return true;
  }
  for (const auto& [a, b] : equation.distinct) {
    if (a == b) return true;
  }
  return false;
}

}  // namespace vocor
