#include "engine/equation.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "engine/equation_order.h"
#include "engine/equation_split.h"
#include "engine/palindrome.h"
#include "engine/saturate.h"
#include "engine/word_hash_set.h"

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

// Look-ups asked of the dictionary itself before the search copies its
// words into a hash set: a search with few look-ups never pays for the
// copy, and one with many makes up for it many times over.
constexpr int kLookupsBeforeIndex = 65536;
// The most memory the copy may take; past it, look-ups stay with the
// dictionary.
constexpr size_t kMaxIndexBytes = size_t{256} << 20;
constexpr int kIndexWordsReserved = 1 << 20;

// Whether every word matching `pattern` reads the same backwards: its
// items mirror each other (a variable facing its own reversal, equal
// literal bytes) around a middle of at most one single character.
bool MatchesOnlyPalindromes(const EquationPattern& pattern) {
  const auto& items = pattern.items;
  const size_t n = items.size();
  for (size_t i = 0; i < n / 2; ++i) {
    const EquationItem& a = items[i];
    const EquationItem& b = items[n - 1 - i];
    if (a.variable >= 0) {
      if (b.variable != a.variable || b.reversed == a.reversed) return false;
    } else if (b.variable >= 0 || a.element != b.element ||
               a.element.size() != 1 ||
               std::strchr("?*@#", a.element[0]) != nullptr) {
      return false;
    }
  }
  if (n % 2 == 0) return true;
  const EquationItem& middle = items[n / 2];
  return middle.variable < 0 && middle.element != "*" &&
         middle.element[0] != '{';
}

// Whether two splits can give the same words: unless every variable is a
// pattern of its own (so that the words fix its run) and no pattern has a
// '*', different runs may spell the same words (AB over "aaa", a*a).
bool SplitsMayRepeatWords(const Equation& equation) {
  uint32_t alone = 0;
  for (const EquationPattern& pattern : equation.patterns) {
    for (const EquationItem& item : pattern.items) {
      if (item.variable < 0 && item.element == "*") return true;
    }
    if (pattern.items.size() == 1 && pattern.items[0].variable >= 0) {
      alone |= uint32_t{1} << pattern.items[0].variable;
    }
  }
  return (equation.used & ~alone) != 0;
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
      if (best < 0 ||
          std::lexicographical_compare(best_key, best_key + 3, key, key + 3)) {
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
  EnumPtr query;            // the words of a pattern query
  bool word_taken = false;  // a look-up's one word was tried
  bool splitting = false;   // the splitter has a word
  std::string word;         // a look-up's word, once found
  // The word a split's check last found in the dictionary for this level:
  // the level then need not look it up again.
  std::string checked;
  uint32_t variables = 0;  // bit v: the pattern holds variable v
  int begins_with = -1;    // the variable of its first item, unreversed

  const std::string& Word() const {
    return query == nullptr ? word : splitter->word();
  }
};

struct CEnumResultsEquation::State final : BindingCheck {
  EnumPtr source;
  Equation equation;
  std::vector<int> order;
  std::vector<EquationLevel> levels;
  EquationBindings bindings;
  int depth = 0;
  bool prepared = false;
  bool done = false;
  std::string text;  // pattern text being built
  int lookups = 0;
  // The dictionary's words, copied for fast look-ups once there are many;
  // `filler` reads them, in slices charged to the counter.
  std::unique_ptr<WordHashSet> index;
  EnumPtr filler;
  bool index_ready = false;
  bool index_abandoned = false;
  // The words' prefixes, read with the index when a split can use them.
  bool use_prefixes = false;
  bool prefixes_ready = false;
  PrefixFilter prefixes;

  bool IsWord(const std::string& word) {
    ++lookups;
    return index_ready ? index->Contains(word) : source->Contains(word.c_str());
  }

  // A split just bound `variable`: every later look-up pattern it leaves
  // with all its variables bound must be a word, and one that it begins
  // must begin with a run that begins a word.
  Verdict Allows(int variable, bool extends) override {
    for (size_t d = static_cast<size_t>(depth) + 1; d < levels.size(); ++d) {
      const EquationLevel& level = levels[d];
      if (!level.lookup || !(level.variables >> variable & 1)) continue;
      if (extends && prefixes_ready && level.begins_with == variable &&
          !prefixes.MayBegin(bindings.value[variable])) {
        return kRefusedLonger;
      }
      const bool complete = (level.variables & ~bindings.bound_mask) == 0;
      if (!complete || !LookupWord(level.pattern)) continue;
      if (!IsWord(text)) return kRefused;
      levels[d].checked = text;
    }
    return kAllowed;
  }

  // Whether some split would lengthen a variable's run that begins a
  // later look-up pattern, past a first item (whose runs begin the word
  // being split, a word): then the prefixes of the words prune it.
  bool PlanPrefixes() const {
    uint32_t bound = 0;
    for (size_t d = 0; d < levels.size(); ++d) {
      const auto& items = equation.patterns[levels[d].pattern].items;
      for (size_t i = 1; i + 1 < items.size(); ++i) {
        const int v = items[i].variable;
        if (v < 0 || items[i].reversed || (bound >> v & 1)) continue;
        for (size_t later = d + 1; later < levels.size(); ++later) {
          if (levels[later].lookup && levels[later].begins_with == v) {
            return true;
          }
        }
      }
      bound |= levels[d].variables;
    }
    return false;
  }

  // Goes on copying the words; false when the counter ran out first. A
  // copy that grows past kMaxIndexBytes is dropped for good (the look-ups
  // stay with the dictionary), and so is one that cannot hold a word.
  bool FillIndex(int* counter) {
    if (index_abandoned) return true;
    if (filler == nullptr) {
      filler = source->Clone();
      index = std::make_unique<WordHashSet>();
      // A binary file's extent is its word count; a text list's, its
      // bytes: room for that many words, within reason, saves regrowing.
      const auto reserved = static_cast<size_t>(
          std::clamp(filler->GetExtent(), 0, kIndexWordsReserved));
      index->Reserve(reserved);
      if (use_prefixes) prefixes.Reset(reserved);
    }
    for (;;) {
      const char* word = filler->Next(counter);
      if (word == nullptr) {
        if (counter != nullptr && *counter == 0) return false;
        index_ready = true;
        prefixes_ready = use_prefixes;
        filler = nullptr;
        return true;
      }
      if (use_prefixes) prefixes.AddWord(word);
      if (!index->Add(word) ||
          index->bytes() + prefixes.bytes() > kMaxIndexBytes) {
        index_abandoned = true;
        index = nullptr;
        prefixes = PrefixFilter();
        filler = nullptr;
        return true;
      }
    }
  }
  std::string solution;  // the result last found
  // With the first pattern solved first, its words come in the
  // dictionary's order, and `sorted` puts their lines in the order a
  // listing wants; `given_out` is the result last returned.
  bool ordered = false;
  SolutionOrder sorted;
  bool finished = false;
  std::string given_out;
  // The solutions given for the first level's word so far, when splits
  // may spell the same words twice: each is given once.
  bool may_repeat = false;
  std::unordered_set<std::string> given;

  // The pattern text of a level's pattern with the bindings written in and
  // each unbound variable as '?' times its minimum (then '*', or a fixed
  // run of '?' for a fixed length). Where the variables' maximum lengths
  // bound a pattern with a '*', a length range ahead says so, and a
  // binary reader leaves the longer words unwalked.
  std::string QueryText(const EquationLevel& level) {
    const EquationPattern& p = equation.patterns[level.pattern];
    const auto& split = level.split->items();
    text.clear();
    int most = 0;
    bool has_star = false;
    for (size_t i = 0; i < p.items.size(); ++i) {
      const EquationItem& item = p.items[i];
      const int v = item.variable;
      if (v < 0) {
        text += item.element;
        has_star = has_star || split[i].star;
        most = split[i].star ? kUnboundedLength
                             : SaturatingAdd(most, split[i].width);
      } else if (bindings.bound[v]) {
        AppendLiteral(bindings.value[v], item.reversed, &text);
        most = SaturatingAdd(most, static_cast<int>(bindings.value[v].size()));
      } else {
        const int fixed = std::min(equation.min_length[v], 1000);
        text.append(static_cast<size_t>(fixed), '?');
        if (equation.max_length[v] > equation.min_length[v]) {
          text += '*';
          has_star = true;
        }
        most = SaturatingAdd(most, equation.max_length[v]);
      }
      most = std::min(most, kUnboundedLength);
    }
    LengthRange range = p.range;
    if (has_star && most < kUnboundedLength &&
        (range.max == kNoMaxLength || most < range.max)) {
      range.max = std::max(most, range.min);
    }
    if (range.bounded()) {
      text.insert(0, FormatLengthRange(range));
    } else if (!text.empty() && text[0] >= '0' && text[0] <= '9') {
      text.insert(0, "1-:");  // a bound run's digit would read as a range
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
    for (const char c : text) {
      if (c == '?' || c == '*') return false;
    }
    return true;
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
                : item.element.size() == 2 && item.element[0] == '\\';
        level.lookup = level.lookup && known;
      }
      uint32_t mask;
      VariablesIn(pattern, &mask);
      bound |= mask;
      level.variables = mask;
      const EquationItem& first = pattern.items.front();
      if (first.variable >= 0 && !first.reversed) {
        level.begins_with = first.variable;
      }
      level.split = std::make_unique<SplitPattern>(pattern, equation);
      level.splitter = std::make_unique<EquationSplitter>(level.split.get(),
                                                          &bindings, this);
      levels.push_back(std::move(level));
    }
    may_repeat = SplitsMayRepeatWords(equation);
    ordered = order.front() == 0;
    use_prefixes = PlanPrefixes();
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
    if (d == 0 && MatchesOnlyPalindromes(equation.patterns[level.pattern])) {
      // The palindrome filter finds them without reading every word.
      query = std::make_unique<CEnumResultsPalindrome>(std::move(query),
                                                       kReverse, kSameWord);
    }
    const std::string pattern_text = QueryText(level);
    level.query = query->Pattern(std::move(query), pattern_text.c_str());
  }

  // The next word of `level`; null when there is none, with *suspended
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
      if (!LookupWord(level.pattern)) return nullptr;
      if (text != level.checked && !IsWord(text)) return nullptr;
      const LengthRange& range = equation.patterns[level.pattern].range;
      const int size = static_cast<int>(text.size());
      if (size < range.min || (range.max != kNoMaxLength && size > range.max)) {
        return nullptr;
      }
      level.word = text;
      return level.word.c_str();
    }
    // Readers may overdraw the counter; a call on an empty one would
    // read as an end.
    if (counter != nullptr && *counter <= 0) {
      *suspended = true;
      return nullptr;
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
          solution += level.Word();
        }
      }
    }
  }

  const char* Next(int* counter) {
    while (!done) {
      if (!index_ready && !index_abandoned && lookups >= kLookupsBeforeIndex &&
          !FillIndex(counter)) {
        return nullptr;
      }
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
        if (depth == 0) given.clear();
        if (level.query == nullptr) {
          // A look-up binds nothing: its word is its one split.
          if (!Advance() && IsNewSolution()) return solution.c_str();
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
      if (!Advance() && IsNewSolution()) return solution.c_str();
    }
    return nullptr;
  }

  bool IsNewSolution() { return !may_repeat || given.insert(solution).second; }

  // Goes on to the next level after a split of this one; false when this
  // was the last level and the solution is ready instead.
  bool Advance() {
    if (depth + 1 == static_cast<int>(levels.size())) {
      JoinSolution();
      return false;
    }
    Enter(++depth);
    return true;
  }

  void Reset() {
    for (EquationLevel& level : levels) level.splitter->Clear();
    given.clear();
    sorted.Clear();
    finished = false;
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
    if (!state_->source->PrepareContains(counter)) {
      *counter = 0;
      return nullptr;
    }
    state_->prepared = true;
  }
  State& s = *state_;
  for (;;) {
    if (s.sorted.Pop(&s.given_out)) return s.given_out.c_str();
    if (s.finished) return nullptr;
    const char* solution = s.Next(counter);
    if (solution == nullptr && !s.done) {
      // A suspension says so with the counter at exactly 0, however far a
      // reader below overdrew it.
      if (counter != nullptr) *counter = 0;
      return nullptr;
    }
    if (!s.ordered) return solution;
    if (solution == nullptr) {
      s.sorted.Finish();
      s.finished = true;
    } else {
      s.sorted.Add(s.levels.front().Word(), solution);
    }
  }
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

}  // namespace vocor
