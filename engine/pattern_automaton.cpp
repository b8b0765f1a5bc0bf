#include "engine/pattern_automaton.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>

#include "engine/charset.h"

namespace vocor {

// ---- ByteSet ----

void ByteSet::AddRange(unsigned char lo, unsigned char hi) {
  for (int c = lo; c <= hi; ++c) Add(static_cast<unsigned char>(c));
}

void ByteSet::Invert() {
  for (uint64_t& word : bits_) word = ~word;
}

bool ByteSet::Intersects(const ByteSet& other) const {
  for (int i = 0; i < 4; ++i) {
    if ((bits_[i] & other.bits_[i]) != 0) return true;
  }
  return false;
}

bool ByteSet::Empty() const { return !Intersects(*this); }

int ByteSet::Count() const {
  int n = 0;
  for (uint64_t word : bits_) n += __builtin_popcountll(word);
  return n;
}

const ByteSet& LetterBytes() {
  static const ByteSet kLetters = [] {
    ByteSet set;
    for (int c = 1; c < 256; ++c) {
      if (IsEngineLetter(static_cast<unsigned char>(c))) {
        set.Add(static_cast<unsigned char>(c));
      }
    }
    return set;
  }();
  return kLetters;
}

// ---- Compiling ----

namespace {

ByteSet Vowels() {
  ByteSet set;
  for (unsigned char c : std::string("aeiouAEIOU\x9C\x8C")) set.Add(c);
  // The accented forms, both cases: a (with the ae ligature), e, i, o
  // (with o slash), u. Not c cedilla, eth, n tilde, y acute or thorn.
  for (int base : {0xC0, 0xE0}) {
    set.AddRange(base + 0x00, base + 0x06);  // a-forms, ae
    set.AddRange(base + 0x08, base + 0x0F);  // e-forms, i-forms
    set.AddRange(base + 0x12, base + 0x16);  // o-forms
    set.AddRange(base + 0x18, base + 0x1C);  // o slash, u-forms
  }
  return set;
}

ByteSet Consonants() {
  const ByteSet& set = LetterBytes();
  const ByteSet vowels = Vowels();
  ByteSet out;
  for (int c = 1; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    if (set.Contains(b) && !vowels.Contains(b)) out.Add(b);
  }
  return out;
}

ByteSet AnyByte() {
  ByteSet set;
  set.AddRange(1, 255);
  return set;
}

// Reads the class at text[i] ('['), already checked; returns the index
// past it.
size_t ReadClass(const char* text, size_t i, ByteSet* out) {
  size_t j = i + 1;
  const bool negated = text[j] == '^' || text[j] == '!';
  if (negated) ++j;
  ByteSet set;
  int previous = -1;
  while (text[j] != ']') {
    if (text[j] == '-' && previous >= 0 && text[j + 1] != ']') {
      size_t k = j + 1;
      if (text[k] == '\\') ++k;
      set.AddRange(static_cast<unsigned char>(previous),
                   static_cast<unsigned char>(text[k]));
      previous = -1;
      j = k + 1;
      continue;
    }
    if (text[j] == '\\') ++j;
    previous = static_cast<unsigned char>(text[j]);
    set.Add(static_cast<unsigned char>(previous));
    ++j;
  }
  if (negated) {
    // One letter outside the set: not a space, a digit or a hyphen.
    const ByteSet& letters = LetterBytes();
    ByteSet kept;
    for (int c = 1; c < 256; ++c) {
      const auto b = static_cast<unsigned char>(c);
      if (letters.Contains(b) && !set.Contains(b)) kept.Add(b);
    }
    set = kept;
  }
  *out = set;
  return j + 1;
}

size_t ReadPiece(const char* text, size_t i, std::string* out) {
  size_t j = i + 1;
  std::string letters;
  while (text[j] != '}') {
    if (text[j] == '\\') ++j;
    letters.push_back(text[j]);
    ++j;
  }
  std::sort(letters.begin(), letters.end(), [](char a, char b) {
    // Blanks first, then by byte.
    if ((a == '?') != (b == '?')) return a == '?';
    return static_cast<unsigned char>(a) < static_cast<unsigned char>(b);
  });
  *out = letters;
  return j + 1;
}

}  // namespace

const ByteSet& VowelBytes() {
  static const ByteSet kVowels = Vowels();
  return kVowels;
}

std::shared_ptr<const PatternProgram> PatternProgram::Compile(
    const char* text) {
  auto program = std::make_shared<PatternProgram>();
  if (!CheckPatternSyntax(text, nullptr)) return program;
  static const ByteSet kAny = AnyByte();
  static const ByteSet& kVowels = VowelBytes();
  static const ByteSet kConsonants = Consonants();
  size_t i = ReadLengthRange(text, &program->range_);
  const bool range_only = i > 0 && text[i] == '\0';
  std::vector<PatternElement>& elements = program->elements_;
  if (range_only) {
    PatternElement star;
    star.kind = PatternElement::kStar;
    star.text = "*";
    elements.push_back(star);
  }
  while (text[i] != '\0') {
    const size_t start = i;
    PatternElement element;
    switch (text[i]) {
      case '*':
        element.kind = PatternElement::kStar;
        ++i;
        if (!elements.empty() && elements.back().kind == element.kind) {
          continue;  // a run of stars is one star
        }
        break;
      case '?':
        element.kind = PatternElement::kSet;
        element.set = kAny;
        ++i;
        break;
      case '@':
        element.kind = PatternElement::kSet;
        element.set = kVowels;
        ++i;
        break;
      case '#':
        element.kind = PatternElement::kSet;
        element.set = kConsonants;
        ++i;
        break;
      case '[':
        element.kind = PatternElement::kSet;
        i = ReadClass(text, i, &element.set);
        break;
      case '{':
        element.kind = PatternElement::kPiece;
        i = ReadPiece(text, i, &element.piece);
        break;
      case '\\':
        element.byte = static_cast<unsigned char>(text[i + 1]);
        i += 2;
        break;
      default:
        element.byte = static_cast<unsigned char>(text[i]);
        ++i;
        break;
    }
    element.text.assign(text + start, i - start);
    elements.push_back(std::move(element));
  }
  for (const PatternElement& e : elements) {
    if (e.kind == PatternElement::kStar) {
      program->has_star_ = true;
    } else {
      program->min_characters_ +=
          e.kind == PatternElement::kPiece ? static_cast<int>(e.piece.size())
                                           : 1;
    }
  }
  program->valid_ = true;
  return program;
}

// ---- The automaton ----
//
// An item is a place in the pattern: the element index in the high half
// and, inside a piece, the id of the letters still to read in the low half
// (0: the piece not begun). A state is a sorted set of items with the
// letter count, closed under stars matching nothing.

struct PatternAutomaton::PieceStates {
  std::vector<std::string> remaining;  // id 0: the whole piece
  std::unordered_map<std::string, int> ids;

  int Intern(const std::string& letters) {
    auto [it, added] = ids.emplace(letters, static_cast<int>(remaining.size()));
    if (added) remaining.push_back(letters);
    return it->second;
  }
};

namespace {

uint64_t MakeItem(size_t element, int sub) {
  return (static_cast<uint64_t>(element) << 32) | static_cast<uint32_t>(sub);
}
size_t ItemElement(uint64_t item) { return static_cast<size_t>(item >> 32); }
int ItemSub(uint64_t item) { return static_cast<int>(item & 0xffffffffu); }

}  // namespace

PatternAutomaton::PatternAutomaton(
    std::shared_ptr<const PatternProgram> program)
    : program_(std::move(program)) {
  Build();
}

PatternAutomaton::PatternAutomaton(const PatternAutomaton& other)
    : program_(other.program_) {
  Build();
}

PatternAutomaton& PatternAutomaton::operator=(const PatternAutomaton& other) {
  if (this != &other) {
    PatternAutomaton copy(other);
    std::swap(program_, copy.program_);
    std::swap(start_, copy.start_);
    std::swap(columns_, copy.columns_);
    std::swap(column_of_, copy.column_of_);
    std::swap(column_byte_, copy.column_byte_);
    std::swap(transitions_, copy.transitions_);
    std::swap(accepting_, copy.accepting_);
    std::swap(universal_, copy.universal_);
    std::swap(only_byte_, copy.only_byte_);
    std::swap(continues_, copy.continues_);
    std::swap(min_left_, copy.min_left_);
    std::swap(min_chars_, copy.min_chars_);
    std::swap(items_, copy.items_);
    std::swap(counts_, copy.counts_);
    std::swap(ids_, copy.ids_);
    std::swap(restricted_, copy.restricted_);
    std::swap(pieces_, copy.pieces_);
    std::swap(min_rest_, copy.min_rest_);
  }
  return *this;
}

PatternAutomaton::~PatternAutomaton() = default;

void PatternAutomaton::Build() {
  if (!program_->valid()) return;
  const std::vector<PatternElement>& elements = program_->elements();
  const size_t n = elements.size();
  // Byte columns: two bytes share one when every element treats them
  // alike, and both are spaces or both are not (the letter count).
  const ByteSet& kLetters = LetterBytes();
  std::map<std::string, int> signatures;
  for (int c = 0; c < 256; ++c) {
    const auto b = static_cast<unsigned char>(c);
    std::string signature;
    signature.push_back(c == 0 ? 'z' : c == ' ' ? 's' : 'o');
    bool blanks = false;
    for (const PatternElement& e : elements) {
      switch (e.kind) {
        case PatternElement::kByte:
          signature.push_back(e.byte == b ? '1' : '0');
          break;
        case PatternElement::kSet:
          signature.push_back(e.set.Contains(b) ? '1' : '0');
          break;
        case PatternElement::kPiece:
          // Each letter of a piece is read differently ('?' in a piece
          // is a blank, never the byte itself).
          signature.push_back(
              b != '?' && e.piece.find(static_cast<char>(b)) !=
                              std::string::npos
                  ? static_cast<char>(b)
                  : '\0');
          blanks = blanks || e.piece.front() == '?';
          break;
        case PatternElement::kStar:
          break;
      }
    }
    if (blanks) signature.push_back(kLetters.Contains(b) ? 'L' : '-');
    auto [it, added] =
        signatures.emplace(signature, static_cast<int>(signatures.size()));
    if (added) column_byte_.push_back(b);
    column_of_[c] = static_cast<uint16_t>(it->second);
  }
  columns_ = static_cast<int>(signatures.size());
  pieces_.resize(n);
  min_rest_.assign(n + 1, 0);
  min_chars_.assign(n + 1, 0);
  for (size_t k = n; k-- > 0;) {
    const PatternElement& e = elements[k];
    min_chars_[k] = min_chars_[k + 1] +
                    (e.kind == PatternElement::kStar ? 0
                     : e.kind == PatternElement::kPiece
                         ? static_cast<int>(e.piece.size())
                         : 1);
    int letters = 0;
    if (e.kind == PatternElement::kPiece) {
      pieces_[k] = std::make_unique<PieceStates>();
      pieces_[k]->Intern(e.piece);
      letters = static_cast<int>(e.piece.size());
    } else if (e.kind == PatternElement::kByte) {
      letters = e.byte == ' ' ? 0 : 1;
    } else if (e.kind == PatternElement::kSet) {
      letters = e.set.Contains(' ') ? 0 : 1;
    }
    min_rest_[k] = min_rest_[k + 1] + letters;
  }
  start_ = Intern({MakeItem(0, 0)}, 0);
}

int PatternAutomaton::Intern(std::vector<uint64_t> items, int count,
                             bool closed) {
  const std::vector<PatternElement>& elements = program_->elements();
  const size_t n = elements.size();
  const LengthRange& range = program_->range();
  // Stars may match nothing: their places include the places after them.
  for (size_t k = 0; !closed && k < items.size(); ++k) {
    const size_t e = ItemElement(items[k]);
    if (e < n && elements[e].kind == PatternElement::kStar) {
      items.push_back(MakeItem(e + 1, 0));
    }
  }
  // Places that need more letters than the range still allows are dead.
  if (range.max != kNoMaxLength) {
    items.erase(
        std::remove_if(items.begin(), items.end(),
                       [&](uint64_t item) {
                         const size_t e = ItemElement(item);
                         int need = min_rest_[e];
                         if (e < n && elements[e].kind ==
                                          PatternElement::kPiece) {
                           need += static_cast<int>(
                                       pieces_[e]->remaining[ItemSub(item)]
                                           .size()) -
                                   static_cast<int>(elements[e].piece.size());
                         }
                         return count + need > range.max;
                       }),
        items.end());
  }
  if (items.empty()) return kDead;
  std::sort(items.begin(), items.end());
  items.erase(std::unique(items.begin(), items.end()), items.end());

  std::string key(reinterpret_cast<const char*>(&count), sizeof count);
  key.append(reinterpret_cast<const char*>(items.data()),
             items.size() * sizeof(uint64_t));
  auto [it, added] = ids_.emplace(std::move(key), state_count());
  if (!added) return it->second;

  bool accepting = false, universal = false, continues = false;
  int only = -2;  // -2 none seen yet, -1 several
  int min_left = INT_MAX;
  for (uint64_t item : items) {
    const size_t e = ItemElement(item);
    min_left = std::min(min_left, ItemNeeds(item));
    if (e == n) {
      accepting = true;
      continue;
    }
    continues = true;
    const PatternElement& element = elements[e];
    if (element.kind == PatternElement::kStar) {
      bool tail = true;
      for (size_t k = e; k < n && tail; ++k) {
        tail = elements[k].kind == PatternElement::kStar;
      }
      universal = universal || tail;
      only = -1;
    } else if (element.kind == PatternElement::kByte &&
               (only == -2 || only == element.byte)) {
      only = element.byte;
    } else {
      only = -1;
    }
  }
  const bool long_enough = count >= range.min;
  accepting = accepting && long_enough;
  universal = universal && long_enough && range.max == kNoMaxLength;
  accepting_.push_back(accepting);
  universal_.push_back(universal);
  only_byte_.push_back(static_cast<int16_t>(only < 0 ? -1 : only));
  continues_.push_back(continues);
  // Letters are characters too: a range not yet reached needs as many.
  min_left_.push_back(accepting ? 0 : std::max(min_left, range.min - count));
  items_.push_back(std::move(items));
  counts_.push_back(count);
  transitions_.resize(transitions_.size() + static_cast<size_t>(columns_),
                      kUnknown);
  return it->second;
}

int PatternAutomaton::ItemNeeds(uint64_t item) const {
  const std::vector<PatternElement>& elements = program_->elements();
  const size_t e = ItemElement(item);
  int needs = min_chars_[e];
  if (e < elements.size() && elements[e].kind == PatternElement::kPiece) {
    needs += static_cast<int>(pieces_[e]->remaining[ItemSub(item)].size()) -
             static_cast<int>(elements[e].piece.size());
  }
  return needs;
}

int PatternAutomaton::Restrict(int state, int max_left) {
  if (min_left_[state] > max_left) return kDead;
  const uint64_t key = uint64_t{static_cast<uint32_t>(state)} << 32 |
                       static_cast<uint32_t>(max_left);
  if (const auto it = restricted_.find(key); it != restricted_.end()) {
    return it->second;
  }
  std::vector<uint64_t> kept;
  for (uint64_t item : items_[state]) {
    if (ItemNeeds(item) <= max_left) kept.push_back(item);
  }
  const int count = counts_[state];
  const int to = kept.size() == items_[state].size()
                     ? state
                     : Intern(std::move(kept), count, /*closed=*/true);
  restricted_.emplace(key, to);
  return to;
}

int PatternAutomaton::ComputeStep(int state, unsigned char c) {
  const std::vector<PatternElement>& elements = program_->elements();
  const size_t n = elements.size();
  std::vector<uint64_t> next;
  for (uint64_t item : items_[state]) {
    const size_t e = ItemElement(item);
    if (e == n || c == 0) continue;
    const PatternElement& element = elements[e];
    switch (element.kind) {
      case PatternElement::kByte:
        if (element.byte == c) next.push_back(MakeItem(e + 1, 0));
        break;
      case PatternElement::kSet:
        if (element.set.Contains(c)) next.push_back(MakeItem(e + 1, 0));
        break;
      case PatternElement::kStar:
        next.push_back(MakeItem(e, 0));
        break;
      case PatternElement::kPiece: {
        PieceStates& piece = *pieces_[e];
        std::string rest = piece.remaining[ItemSub(item)];
        // A letter of its own before a blank: a blank can stand for any
        // letter, so keeping blanks never loses a match.
        size_t at = c == '?' ? std::string::npos
                             : rest.find(static_cast<char>(c));
        if (at == std::string::npos && IsEngineLetter(c) &&
            !rest.empty() && rest.front() == '?') {
          at = 0;
        }
        if (at == std::string::npos) break;
        rest.erase(at, 1);
        next.push_back(rest.empty() ? MakeItem(e + 1, 0)
                                    : MakeItem(e, piece.Intern(rest)));
        break;
      }
    }
  }
  const LengthRange& range = program_->range();
  int count = counts_[state];
  if (range.bounded() && c != ' ') {
    const int cap = range.max != kNoMaxLength ? range.max + 1 : range.min;
    count = std::min(count + 1, cap);
  }
  if (range.max != kNoMaxLength && count > range.max) next.clear();
  const int to = next.empty() ? kDead : Intern(std::move(next), count);
  transitions_[static_cast<size_t>(state) * columns_ + column_of_[c]] = to;
  return to;
}

bool PatternAutomaton::Matches(const char* word) {
  int state = start_;
  for (; state != kDead && *word != '\0'; ++word) {
    state = Step(state, static_cast<unsigned char>(*word));
  }
  return state != kDead && IsAccepting(state);
}

}  // namespace vocor
