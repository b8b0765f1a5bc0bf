#include "engine/testing/reference.h"

#include <algorithm>
#include <climits>
#include <set>

#include "engine/charset.h"
#include "engine/cross_product.h"
#include "engine/letters.h"
#include "engine/palindrome.h"

namespace vocor::testing {
namespace {

using Words = std::vector<std::string>;

// ---- Independent reference pieces ----

bool MatchFrom(const std::string& w, size_t i, const std::string& p, size_t j) {
  if (j == p.size()) return i == w.size();
  if (p[j] == '*') {
    for (size_t k = i; k <= w.size(); ++k) {
      if (MatchFrom(w, k, p, j + 1)) return true;
    }
    return false;
  }
  if (i == w.size()) return false;
  return (p[j] == '?' || p[j] == w[i]) && MatchFrom(w, i + 1, p, j + 1);
}

struct Counts {
  long long n[256] = {};
};

bool Counted(unsigned char c) {
  return IsEngineLetter(c) || c == '\'' || c == '-' || c == '?';
}

Counts ParseCounts(const std::string& text) {
  Counts counts;
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (!Counted(c)) continue;
    long long& n = counts.n[c];
    const char next = i + 1 < text.size() ? text[i + 1] : '\0';
    if (next == '*') {
      n = INT_MAX;
    } else if (next >= '0' && next <= '9') {
      long long v = 0;
      for (size_t k = i + 1; k < text.size() && isdigit(text[k]); ++k) {
        v = std::min<long long>(v * 10 + (text[k] - '0'), INT_MAX - 1);
      }
      if (n != INT_MAX) n = std::min<long long>(n + v, INT_MAX - 1);
    } else if (n != INT_MAX) {
      ++n;
    }
  }
  return counts;
}

struct Constraint {
  bool has_min = false, has_max = false;
  Counts min, max;
};

Constraint MakeConstraint(const char* min_text, const char* max_text) {
  Constraint c;
  if (min_text != nullptr) {
    c.min = ParseCounts(min_text);
    for (int i = 1; i < 256; ++i) c.has_min |= c.min.n[i] != 0;
  }
  if (max_text != nullptr) {
    c.max = ParseCounts(max_text);
    c.has_max = true;
  }
  return c;
}

bool Satisfiable(const Constraint& c) {
  if (!c.has_max) return true;
  bool any = false;
  for (int i = 1; i < 256; ++i) {
    if (c.has_min && i != '?' && c.min.n[i] > c.max.n[i]) return false;
    any |= c.max.n[i] > 0;
  }
  return any;
}

bool Accepts(const Constraint& c, const std::string& word) {
  const Counts w = ParseCounts(word);
  if (c.has_min) {
    long long surplus = 0;
    for (int i = 1; i < 256; ++i) {
      if (i == '?') continue;
      if (w.n[i] < c.min.n[i]) return false;
      surplus += w.n[i] - c.min.n[i];
    }
    if (surplus < c.min.n['?']) return false;
  }
  if (c.has_max) {
    long long needed = 0;
    for (int i = 1; i < 256; ++i) {
      if (w.n[i] > c.max.n[i]) needed += w.n[i] - c.max.n[i];
    }
    if (needed > c.max.n['?']) return false;
  }
  return true;
}

std::string ConvertLengthSpec(const std::string& spec) {
  std::string out;
  for (size_t i = 0; i < spec.size(); ++i) {
    const char c = spec[i];
    if (isdigit(static_cast<unsigned char>(c))) {
      long long v = 0;
      while (i < spec.size() && isdigit(static_cast<unsigned char>(spec[i]))) {
        v = std::min<long long>(v * 10 + (spec[i] - '0'), 1000);
        ++i;
      }
      --i;
      out.append(v, '?');
    } else if (c == '.') {
      out += '?';
    } else if (c == ',') {
      out += ' ';
    } else if (!(c == '*' && i + 1 < spec.size() && spec[i + 1] == '*')) {
      out += c;
    }
  }
  return out;
}

// ---- Evaluation with the shape the engine gives a result ----

struct Result {
  Words words;
  bool product = false;
  std::vector<Words> components;  // when product
};

Words Odometer(const std::vector<Words>& comps) {
  Words out;
  if (comps.empty()) return out;
  std::vector<size_t> index(comps.size(), 0);
  for (const Words& c : comps) {
    if (c.empty()) return out;
  }
  for (;;) {
    std::string text;
    for (size_t i = 0; i < comps.size(); ++i) {
      if (i > 0) text += ' ';
      text += comps[i][index[i]];
    }
    out.push_back(text);
    size_t k = comps.size();
    while (k > 0) {
      --k;
      if (++index[k] < comps[k].size()) break;
      index[k] = 0;
      if (k == 0) return out;
    }
  }
}

Result Plain(Words words) {
  Result r;
  r.words = std::move(words);
  return r;
}

Result MakeProduct(std::vector<Words> comps) {
  Result r;
  r.product = true;
  r.components = std::move(comps);
  r.words = Odometer(r.components);
  return r;
}

Words FilterPattern(const Words& in, const std::string& pattern) {
  Words out;
  for (const auto& w : in) {
    if (RefMatch(w, pattern)) out.push_back(w);
  }
  return out;
}

std::vector<std::string> Pieces(std::string text) {
  std::vector<std::string> pieces;
  while (!text.empty()) pieces.push_back(SplitFirstWord(text));
  return pieces;
}

Result ApplyPatternTo(const Result& r, const std::string& pattern) {
  if (!r.product) return Plain(FilterPattern(r.words, pattern));
  // A product takes one piece per component.
  std::vector<std::string> pieces;
  std::string rest = pattern;
  for (size_t i = 0; i < r.components.size(); ++i) {
    if (i > 0 && rest.empty()) return Plain({});
    pieces.push_back(SplitFirstWord(rest));
  }
  if (!rest.empty()) return Plain({});
  std::vector<Words> comps;
  for (size_t i = 0; i < pieces.size(); ++i) {
    comps.push_back(FilterPattern(r.components[i], pieces[i]));
  }
  return MakeProduct(std::move(comps));
}

Result ApplyLettersTo(const Result& r, const Constraint& c) {
  if (!c.has_min && !c.has_max) return r;
  if (!Satisfiable(c)) return Plain({});
  Words out;
  for (const auto& w : r.words) {
    if (Accepts(c, w)) out.push_back(w);
  }
  return Plain(std::move(out));
}

Result WordPattern(const Words& source, const std::string& spec) {
  const std::string converted = ConvertLengthSpec(spec);
  if (converted.find(' ') == std::string::npos) {
    return Plain(FilterPattern(source, converted));
  }
  std::vector<Words> comps;
  for (const auto& piece : Pieces(converted)) {
    comps.push_back(FilterPattern(source, piece));
  }
  return MakeProduct(std::move(comps));
}

const char* Opt(bool present, const std::string& text) {
  return present ? text.c_str() : nullptr;
}

Result Eval(const RefQuery& q, const Words& source) {
  switch (q.kind) {
    case RefQuery::kSource:
      return Plain(source);
    case RefQuery::kPattern:
      return ApplyPatternTo(Eval(q.children[0], source), q.text);
    case RefQuery::kLetters:
      return ApplyLettersTo(
          Eval(q.children[0], source),
          MakeConstraint(Opt(q.has_min, q.text), Opt(q.has_max, q.text2)));
    case RefQuery::kMerge: {
      Words out = Eval(q.children[0], source).words;
      for (auto& w : Eval(q.children[1], source).words) out.push_back(w);
      return Plain(std::move(out));
    }
    case RefQuery::kDemerge: {
      const Words excluded = Eval(q.children[1], source).words;
      const std::set<std::string> set(excluded.begin(), excluded.end());
      Words out;
      for (auto& w : Eval(q.children[0], source).words) {
        if (!set.count(w)) out.push_back(w);
      }
      return Plain(std::move(out));
    }
    case RefQuery::kProduct: {
      std::vector<Words> comps;
      for (const RefQuery& child : q.children) {
        Result r = Eval(child, source);
        if (r.product) {
          for (auto& c : r.components) comps.push_back(c);
        } else {
          comps.push_back(r.words);
        }
      }
      return MakeProduct(std::move(comps));
    }
    case RefQuery::kPalindrome: {
      const std::set<std::string> set(source.begin(), source.end());
      Words out;
      std::string image;
      for (const auto& w : source) {
        if (!RefTransform(q.number, w, &image)) continue;
        if (q.number2 == 0 ? image == w : set.count(image) > 0) {
          out.push_back(w);
        }
      }
      return Plain(std::move(out));
    }
    case RefQuery::kWordPattern:
      return WordPattern(source, q.text);
    case RefQuery::kAnagram: {
      const Constraint c = MakeConstraint(nullptr, q.text.c_str());
      if (q.has_max && !q.text2.empty()) {
        return ApplyLettersTo(WordPattern(source, q.text2), c);
      }
      long long n = 0;
      for (int i = 0; i < 256; ++i) {
        if (c.max.n[i] != INT_MAX) n = std::min(n + c.max.n[i], 1000LL);
      }
      const Result r = ApplyLettersTo(Plain(source), c);
      return Plain(FilterPattern(r.words, std::string(n, '?')));
    }
    case RefQuery::kLettersQuery: {
      Result r = ApplyLettersTo(
          Plain(source),
          MakeConstraint(Opt(q.has_min, q.text), Opt(q.has_max, q.text2)));
      if (q.number < 2) return r;
      std::string pattern(std::min(q.number, 1000), '?');
      return Plain(FilterPattern(r.words, pattern + "*"));
    }
  }
  return Plain({});
}

// ---- Random queries ----

std::string RandomPattern(std::mt19937& rng, const std::string& alphabet) {
  std::uniform_int_distribution<int> len(0, 5), pick(0, 9);
  if (pick(rng) == 0) return "";
  std::string p;
  const int n = len(rng) + 1;
  for (int i = 0; i < n; ++i) {
    const int k = pick(rng);
    if (k < 3) {
      p += '?';
    } else if (k < 5) {
      p += '*';
    } else {
      p += alphabet[rng() % alphabet.size()];
    }
  }
  return p;
}

std::string RandomLetters(std::mt19937& rng, const std::string& alphabet) {
  std::uniform_int_distribution<int> len(0, 7), pick(0, 11);
  std::string t;
  const int n = len(rng);
  for (int i = 0; i < n; ++i) {
    const int k = pick(rng);
    if (k == 0) {
      t += '?';
    } else if (k == 1 && !t.empty()) {
      t += '*';
    } else if (k == 2 && !t.empty()) {
      t += static_cast<char>('1' + rng() % 3);
    } else {
      t += alphabet[rng() % alphabet.size()];
    }
  }
  return t;
}

RefQuery Node(RefQuery::Kind kind, std::vector<RefQuery> children = {}) {
  RefQuery q;
  q.kind = kind;
  q.children = std::move(children);
  return q;
}

bool HasLetters(const RefQuery& q) {
  if (q.kind == RefQuery::kLetters || q.kind == RefQuery::kAnagram ||
      q.kind == RefQuery::kLettersQuery) {
    return true;
  }
  for (const auto& c : q.children) {
    if (HasLetters(c)) return true;
  }
  return false;
}

void SetLetterTexts(std::mt19937& rng, const std::string& alphabet,
                    RefQuery* q) {
  q->has_min = rng() % 3 != 0;
  q->has_max = rng() % 3 != 0;
  q->text = RandomLetters(rng, alphabet);
  q->text2 = RandomLetters(rng, alphabet);
}

// A single-word query: filters, unions and exclusions over the source.
// Letter constraints are never stacked on one path, because two stacked
// constraints combine into one whose blanks behave differently from the
// two applied separately, which the reference does not model.
RefQuery RandomWordQuery(std::mt19937& rng, const std::string& alphabet,
                         int depth) {
  RefQuery q = Node(RefQuery::kSource);
  const int start = rng() % 8;
  if (start == 0) {
    q = Node(RefQuery::kPalindrome);
    q.number = rng() % 5;
    q.number2 = rng() % 2;
  } else if (start == 1) {
    q = Node(RefQuery::kLettersQuery);
    SetLetterTexts(rng, alphabet, &q);
    q.number = rng() % 5;
  }
  const int ops = rng() % 4;
  for (int i = 0; i < ops; ++i) {
    const int k = rng() % 6;
    if (k <= 1) {
      q = Node(RefQuery::kPattern, {q});
      q.text = RandomPattern(rng, alphabet);
    } else if (k == 2 && !HasLetters(q)) {
      q = Node(RefQuery::kLetters, {q});
      SetLetterTexts(rng, alphabet, &q);
    } else if (k == 3 && depth > 0) {
      q = Node(RefQuery::kMerge,
               {q, RandomWordQuery(rng, alphabet, depth - 1)});
    } else if (k == 4 && depth > 0) {
      q = Node(RefQuery::kDemerge,
               {q, RandomWordQuery(rng, alphabet, depth - 1)});
    }
  }
  return q;
}

std::string RandomLengthSpec(std::mt19937& rng, const std::string& alphabet) {
  static const char* const kSpecs[] = {"2,2", "1,3", "3",  "2.",   ".?,*",
                                       "**",  "2,",  ",2", "a*,?", "1,1,1"};
  std::string spec = kSpecs[rng() % 10];
  if (rng() % 3 == 0) spec += alphabet[rng() % alphabet.size()];
  return spec;
}

}  // namespace

bool RefMatch(const std::string& word, const std::string& pattern) {
  return MatchFrom(word, 0, pattern, 0);
}

bool RefAcceptsLetters(const std::string& word, const char* min_text,
                       const char* max_text) {
  return Accepts(MakeConstraint(min_text, max_text), word);
}

bool RefTransform(int mode, const std::string& word, std::string* out) {
  static const std::string kKeep[4] = {"", "ahimotuvwxy", "bcdehikoxmw",
                                       "hinosxzmw"};
  if (mode < 0 || mode > 3) return false;
  out->clear();
  for (size_t i = 0; i < word.size(); ++i) {
    char c = mode == 2 ? word[i] : word[word.size() - 1 - i];
    if (mode != 0) {
      if (kKeep[mode].find(c) == std::string::npos) return false;
      if (mode >= 2 && (c == 'm' || c == 'w')) c = c == 'm' ? 'w' : 'm';
    }
    *out += c;
  }
  return true;
}

std::string RefQuery::ToString() const {
  static const char* const kNames[] = {
      "Source",  "Pattern",    "Letters",     "Merge",   "Demerge",
      "Product", "Palindrome", "WordPattern", "Anagram", "LettersQuery"};
  std::string s = kNames[kind];
  s += "(";
  if (kind != kSource) {
    s += "'" + text + "'," + (has_min ? "min" : "-") + "," +
         (has_max ? "max" : "-") + ",'" + text2 + "'," +
         std::to_string(number) + "," + std::to_string(number2);
  }
  for (const auto& c : children) s += ";" + c.ToString();
  return s + ")";
}

std::vector<std::string> Evaluate(const RefQuery& query,
                                  const std::vector<std::string>& words) {
  return Eval(query, words).words;
}

EnumPtr Build(const RefQuery& q, const std::function<EnumPtr()>& source) {
  auto child = [&](int i) { return Build(q.children[i], source); };
  switch (q.kind) {
    case RefQuery::kSource:
      return source();
    case RefQuery::kPattern: {
      EnumPtr e = child(0);
      return e->Pattern(std::move(e), q.text.c_str());
    }
    case RefQuery::kLetters: {
      EnumPtr e = child(0);
      return e->Letters(
          std::move(e),
          CLetterConstraint(Opt(q.has_min, q.text), Opt(q.has_max, q.text2)));
    }
    case RefQuery::kMerge: {
      EnumPtr e = child(0);
      return e->Merge(std::move(e), child(1));
    }
    case RefQuery::kDemerge: {
      EnumPtr e = child(0);
      return e->Demerge(std::move(e), child(1));
    }
    case RefQuery::kProduct: {
      EnumPtr e = child(0);
      for (size_t i = 1; i < q.children.size(); ++i) {
        e = e->CrossProduct(std::move(e), child(static_cast<int>(i)));
      }
      return e;
    }
    case RefQuery::kPalindrome:
      return std::make_unique<CEnumResultsPalindrome>(source(), q.number,
                                                      q.number2);
    case RefQuery::kWordPattern:
      return ApplyWordPattern(source(), q.text.c_str());
    case RefQuery::kAnagram:
      return BuildAnagramQuery(source(), q.text.c_str(),
                               Opt(q.has_max, q.text2));
    case RefQuery::kLettersQuery:
      return BuildLettersQuery(source(), Opt(q.has_min, q.text),
                               Opt(q.has_max, q.text2), q.number);
  }
  return std::make_unique<CEnumResultsNone>();
}

RefQuery RandomQuery(std::mt19937& rng, const std::string& alphabet) {
  const int kind = rng() % 10;
  if (kind < 5) return RandomWordQuery(rng, alphabet, 2);
  if (kind == 5) {
    RefQuery q = Node(RefQuery::kWordPattern);
    q.text = RandomLengthSpec(rng, alphabet);
    return q;
  }
  if (kind == 6) {
    RefQuery q = Node(RefQuery::kAnagram);
    q.text = RandomLetters(rng, alphabet);
    q.has_max = rng() % 2 == 0;
    q.text2 = RandomLengthSpec(rng, alphabet);
    return q;
  }
  // A phrase: a product of single-word queries, then maybe a pattern with
  // one piece per word or a letter constraint over the whole phrase.
  RefQuery q = Node(RefQuery::kProduct, {RandomWordQuery(rng, alphabet, 0),
                                         RandomWordQuery(rng, alphabet, 0)});
  if (kind == 7 && !HasLetters(q)) {
    q = Node(RefQuery::kLetters, {q});
    SetLetterTexts(rng, alphabet, &q);
  } else if (kind == 8) {
    q = Node(RefQuery::kPattern, {q});
    q.text = RandomPattern(rng, alphabet);
    if (rng() % 4 != 0) q.text += " " + RandomPattern(rng, alphabet);
  }
  return q;
}

std::vector<std::string> RandomWords(std::mt19937& rng,
                                     const std::string& alphabet, int count,
                                     int max_length) {
  std::vector<std::string> words;
  std::uniform_int_distribution<int> len(1, max_length);
  for (int i = 0; i < count; ++i) {
    std::string w;
    const int n = len(rng);
    for (int k = 0; k < n; ++k) w += alphabet[rng() % alphabet.size()];
    words.push_back(w);
  }
  return words;
}

namespace {

struct PhraseSearch {
  const std::vector<std::string>& words;
  const std::vector<int>& scores;  // one per word
  const std::string& letters;
  const PhraseShape& shape;
  std::vector<std::pair<std::string, int>> out;

  bool KeepsWordsOnce(size_t depth) const {
    for (size_t j = 0; j < shape.pieces.size(); ++j) {
      if (shape.ascending[j] && shape.pieces[j] == shape.pieces[depth]) {
        return true;
      }
    }
    return false;
  }

  // Word i's score: where words are kept once, the highest its text has.
  int ScoreOf(size_t depth, size_t i) const {
    if (!KeepsWordsOnce(depth)) return scores[i];
    int best = scores[i];
    for (size_t j = i; j < words.size(); ++j) {
      if (words[j] == words[i]) best = std::max(best, scores[j]);
    }
    return best;
  }

  void Extend(size_t depth, const std::string& prefix, size_t floor,
              int score) {
    const std::string& piece = shape.pieces[depth];
    std::string min_pattern(shape.min_word_length, '?');
    min_pattern.push_back('*');
    for (size_t i = shape.ascending[depth] ? floor : 0; i < words.size(); ++i) {
      const std::string& w = words[i];
      // A repeat of an earlier word adds no combination of its own where
      // the piece's words take part in combinations.
      if (KeepsWordsOnce(depth) &&
          std::find(words.begin(), words.begin() + i, w) != words.begin() + i)
        continue;
      if (!RefMatch(w, piece) || !RefMatch(w, min_pattern)) continue;
      std::string phrase = prefix;
      if (!phrase.empty()) phrase.push_back(' ');
      phrase += w;
      if (!RefAcceptsLetters(phrase, nullptr, letters.c_str())) continue;
      const int phrase_score = std::min(score, ScoreOf(depth, i));
      const size_t count = depth + 1;
      const bool complete =
          static_cast<int>(count) >= shape.min_words &&
          (shape.use_all
               ? RefAcceptsLetters(phrase, letters.c_str(), letters.c_str())
               : count == shape.pieces.size());
      if (complete) out.emplace_back(phrase, phrase_score);
      if (count < shape.pieces.size()) Extend(count, phrase, i, phrase_score);
    }
  }
};

}  // namespace

std::vector<std::string> RefPhrases(const std::vector<std::string>& words,
                                    const std::string& letters,
                                    const PhraseShape& shape) {
  const std::vector<int> scores(words.size(), kDefaultScore);
  PhraseSearch search{words, scores, letters, shape, {}};
  if (!shape.pieces.empty()) search.Extend(0, "", 0, kMaxScore);
  std::vector<std::string> out;
  for (auto& [phrase, score] : search.out) out.push_back(std::move(phrase));
  return out;
}

std::vector<std::pair<std::string, int>> RefScoredPhrases(
    const std::vector<std::pair<std::string, int>>& scored,
    const std::string& letters, const PhraseShape& shape, int floor) {
  std::vector<std::string> words;
  std::vector<int> scores;
  for (const auto& [word, score] : scored) {
    if (score < floor) continue;
    words.push_back(word);
    scores.push_back(score);
  }
  PhraseSearch search{words, scores, letters, shape, {}};
  if (!shape.pieces.empty()) search.Extend(0, "", 0, kMaxScore);
  return search.out;
}

}  // namespace vocor::testing
