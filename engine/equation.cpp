#include "engine/equation.h"

#include <algorithm>
#include <cstring>

#include "engine/equation_split.h"

namespace vocor {
namespace {

int VariablesIn(const EquationPattern& pattern, uint32_t* mask) {
  uint32_t bits = 0;
  for (const EquationItem& item : pattern.items) {
    if (item.variable >= 0) bits |= uint32_t{1} << item.variable;
  }
  if (mask != nullptr) *mask = bits;
  return __builtin_popcount(bits);
}

// Characters a pattern fixes: elements other than '*'.
int FixedElements(const EquationPattern& pattern) {
  int fixed = 0;
  for (const EquationItem& item : pattern.items) {
    fixed += item.variable < 0 && item.element != "*";
  }
  return fixed;
}

bool IsPatternSpecial(char c) { return std::strchr("[]@#{}:\\", c) != nullptr; }

// Appends `run` to pattern text, each special character escaped ('?' and
// '*' cannot be: they stay wildcards, and the split checks the word).
void AppendLiteral(const std::string& run, bool reversed, std::string* out) {
  const size_t n = run.size();
  for (size_t i = 0; i < n; ++i) {
    const char c = reversed ? run[n - 1 - i] : run[i];
    if (c != '\0' && IsPatternSpecial(c)) *out += '\\';
    *out += c;
  }
}

}  // namespace

std::vector<int> PlanEquationOrder(const Equation& equation) {
  const int n = static_cast<int>(equation.patterns.size());
  std::vector<int> order;
  std::vector<bool> taken(static_cast<size_t>(n), false);
  uint32_t bound = 0;
  for (int step = 0; step < n; ++step) {
    int best = -1;
    int best_key[3] = {};
    for (int p = 0; p < n; ++p) {
      if (taken[p]) continue;
      uint32_t mask;
      const int vars = VariablesIn(equation.patterns[p], &mask);
      const int unbound = __builtin_popcount(mask & ~bound);
      // First the pattern binding most, later the one leaving fewest
      // unbound; then more bound variables, then more fixed characters.
      const int key[3] = {step == 0 ? vars : -unbound,
                          __builtin_popcount(mask & bound),
                          FixedElements(equation.patterns[p])};
      if (best < 0 || std::lexicographical_compare(best_key, best_key + 3, key,
                                                   key + 3)) {
        best = p;
        std::copy(key, key + 3, best_key);
      }
    }
    taken[best] = true;
    order.push_back(best);
    uint32_t mask;
    VariablesIn(equation.patterns[best], &mask);
    bound |= mask;
  }
  return order;
}

// One pattern in the solving order, with how its words are found.
struct EquationLevel {
  int pattern = 0;
  // Whether the pattern is a single word once the levels before it have
  // bound their variables: every item a bound variable or a literal byte.
  bool lookup = false;
  std::unique_ptr<SplitPattern> split;
  std::unique_ptr<EquationSplitter> splitter;
  EnumPtr query;             // the words of a pattern query
  bool word_taken = false;   // a look-up's one word was tried
  bool splitting = false;    // the splitter has a word
};

struct CEnumResultsEquation::State {
  EnumPtr source;
  Equation equation;
  std::vector<int> order;
  std::vector<EquationLevel> levels;
  EquationBindings bindings;
  int depth = 0;
  bool prepared = false;
  bool done = false;
  std::string text;      // pattern text being built
  std::string solution;  // the result last returned

  // The pattern text of a level's pattern with the bindings written in and
  // each unbound variable as '?' times its minimum (then '*', or a fixed
  // run of '?' for a fixed length).
  std::string QueryText(int pattern) {
    const EquationPattern& p = equation.patterns[pattern];
    text.clear();
    text += FormatLengthRange(p.range);
    for (const EquationItem& item : p.items) {
      if (item.variable < 0) {
        text += item.element;
      } else if (bindings.bound[item.variable]) {
        AppendLiteral(bindings.value[item.variable], item.reversed, &text);
      } else {
        const int v = item.variable;
        const int fixed = std::min(equation.min_length[v], 1000);
        text.append(static_cast<size_t>(fixed), '?');
        if (equation.max_length[v] > equation.min_length[v]) text += '*';
      }
    }
    // A digit first would read as a length range.
    if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
      text.insert(0, "1-:");
    }
    return text;
  }

  // The word a look-up level asks for, or false when a wildcard in a bound
  // run makes it a pattern.
  bool LookupWord(int pattern) {
    text.clear();
    for (const EquationItem& item : equation.patterns[pattern].items) {
      if (item.variable < 0) {
        const char* e = item.element.c_str();
        text += e[0] == '\\' ? e[1] : e[0];
      } else {
        const std::string& run = bindings.value[item.variable];
        if (item.reversed) {
          text.append(run.rbegin(), run.rend());
        } else {
          text += run;
        }
      }
    }
    return text.find_first_of("?*") == std::string::npos;
  }

  void Build() {
    uint32_t bound = 0;
    for (const int p : order) {
      EquationLevel level;
      level.pattern = p;
      const EquationPattern& pattern = equation.patterns[p];
      level.lookup = true;
      for (const EquationItem& item : pattern.items) {
        const bool known =
            item.variable >= 0 ? (bound >> item.variable & 1) != 0
                               : item.element.size() == 1
                                     ? !std::strchr("?*@#", item.element[0])
                                     : item.element.size() == 2 &&
                                           item.element[0] == '\\';
        level.lookup = level.lookup && known;
      }
      uint32_t mask;
      VariablesIn(pattern, &mask);
      bound |= mask;
      level.split = std::make_unique<SplitPattern>(pattern, equation);
      level.splitter =
          std::make_unique<EquationSplitter>(level.split.get(), &bindings);
      levels.push_back(std::move(level));
    }
    if (EquationIsUnsatisfiable(equation)) {
      done = true;
      return;
    }
    Enter(0);
  }

  // Readies level `d` for its first word with the bindings so far.
  void Enter(int d) {
    EquationLevel& level = levels[d];
    level.word_taken = false;
    level.splitting = false;
    level.query = nullptr;
    if (level.lookup && LookupWord(level.pattern)) return;
    EnumPtr query = source->Clone();
    const std::string pattern_text = QueryText(level.pattern);
    level.query = query->Pattern(std::move(query), pattern_text.c_str());
  }

  // The next word of level `d`; null when there is none, with *suspended
  // set when the counter ran out first.
  const char* NextWord(EquationLevel& level, int* counter, bool* suspended) {
    *suspended = false;
    if (level.query == nullptr) {
      if (level.word_taken) return nullptr;
      if (counter != nullptr) {
        if (*counter <= 0) {
          *suspended = true;
          return nullptr;
        }
        --*counter;
      }
      level.word_taken = true;
      LookupWord(level.pattern);
      return source->Contains(text.c_str()) ? text.c_str() : nullptr;
    }
    const char* word = level.query->Next(counter);
    *suspended = word == nullptr && counter != nullptr && *counter == 0;
    return word;
  }

  void JoinSolution() {
    solution.clear();
    for (size_t p = 0; p < equation.patterns.size(); ++p) {
      if (p > 0) solution += ';';
      for (const EquationLevel& level : levels) {
        if (level.pattern == static_cast<int>(p)) {
          solution += level.splitter->word();
        }
      }
    }
  }

  const char* Next(int* counter) {
    while (!done) {
      EquationLevel& level = levels[depth];
      if (!level.splitting) {
        bool suspended;
        const char* word = NextWord(level, counter, &suspended);
        if (suspended) return nullptr;
        if (word == nullptr) {
          if (depth == 0) {
            done = true;
            return nullptr;
          }
          --depth;
          continue;
        }
        level.splitter->Start(word);
        level.splitting = true;
      }
      const auto outcome = level.splitter->Next(counter);
      if (outcome == EquationSplitter::kSuspended) return nullptr;
      if (outcome == EquationSplitter::kExhausted) {
        level.splitting = false;
        continue;
      }
      if (depth + 1 == static_cast<int>(levels.size())) {
        JoinSolution();
        return solution.c_str();
      }
      Enter(++depth);
    }
    return nullptr;
  }

  void Reset() {
    for (EquationLevel& level : levels) level.splitter->Clear();
    depth = 0;
    done = false;
    if (EquationIsUnsatisfiable(equation)) {
      done = true;
      return;
    }
    Enter(0);
  }
};

CEnumResultsEquation::CEnumResultsEquation(EnumPtr source,
                                           const Equation& equation)
    : state_(std::make_unique<State>()) {
  state_->source = std::move(source);
  state_->equation = equation;
  state_->order = PlanEquationOrder(state_->equation);
  state_->Build();
}

CEnumResultsEquation::~CEnumResultsEquation() = default;

EnumPtr CEnumResultsEquation::Clone() const {
  return std::make_unique<CEnumResultsEquation>(state_->source->Clone(),
                                                state_->equation);
}

void CEnumResultsEquation::Reset() { state_->Reset(); }

std::string CEnumResultsEquation::Describe(int indent) const {
  std::string out = DescribeIndent(indent) + "Equation " +
                    state_->equation.ToText() + ", solved in the order";
  for (const int p : state_->order) out += " " + std::to_string(p + 1);
  out += "\n";
  const EquationLevel& first = state_->levels.front();
  if (first.query != nullptr) out += first.query->Describe(indent + 1);
  return out;
}

bool CEnumResultsEquation::PrepareContains(int* counter) {
  return state_->source->PrepareContains(counter);
}

const char* CEnumResultsEquation::Next(int* counter) {
  if (!state_->prepared) {
    // Look-ups start at once; their index is readied first, in slices.
    if (!state_->source->PrepareContains(counter)) return nullptr;
    state_->prepared = true;
  }
  return state_->Next(counter);
}

int CEnumResultsEquation::GetPosition() const {
  const EquationLevel& first = state_->levels.front();
  if (state_->done) return GetExtent();
  return first.query != nullptr ? first.query->GetPosition() : 0;
}

int CEnumResultsEquation::GetExtent() const {
  const EquationLevel& first = state_->levels.front();
  return first.query != nullptr ? first.query->GetExtent() : 1;
}

const std::vector<int>& CEnumResultsEquation::order() const {
  return state_->order;
}

}  // namespace vocor
