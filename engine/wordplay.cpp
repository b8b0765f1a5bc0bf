#include "engine/wordplay.h"

#include <algorithm>
#include <set>

#include "engine/charset.h"
#include "engine/pattern_automaton.h"

namespace vocor {

namespace {

bool IsLetter(char c) { return IsEngineLetter(static_cast<unsigned char>(c)); }

bool IsVowel(char c) {
  return VowelBytes().Contains(static_cast<unsigned char>(c));
}

// A phrase for Describe: its bytes as typed, quoted.
std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

std::string PhraseLetters(std::string_view phrase) {
  std::string letters;
  for (char c : phrase) {
    if (IsLetter(c)) letters += c;
  }
  return letters;
}

std::vector<std::string> PhraseWords(std::string_view phrase) {
  std::vector<std::string> words;
  bool in_word = false;
  for (char c : phrase) {
    if (!IsLetter(c)) {
      in_word = false;
      continue;
    }
    if (!in_word) words.emplace_back();
    words.back() += c;
    in_word = true;
  }
  return words;
}

size_t LeadingConsonants(std::string_view word) {
  for (size_t i = 0; i < word.size(); ++i) {
    const bool vowel = IsVowel(word[i]) || (word[i] == 'y' && i > 0);
    const bool u_after_q = word[i] == 'u' && i == 1 && word[0] == 'q';
    if (vowel && !u_after_q) return i;
  }
  return std::string_view::npos;
}

bool Spoonerize(std::string_view a, std::string_view b, std::string* a_out,
                std::string* b_out) {
  const size_t ga = LeadingConsonants(a);
  const size_t gb = LeadingConsonants(b);
  if (ga == std::string_view::npos || gb == std::string_view::npos) {
    return false;
  }
  if (a.substr(0, ga) == b.substr(0, gb)) return false;
  *a_out = std::string(b.substr(0, gb)) + std::string(a.substr(ga));
  *b_out = std::string(a.substr(0, ga)) + std::string(b.substr(gb));
  return true;
}

// ---- The common part ----

CEnumResultsWordplay::CEnumResultsWordplay(EnumPtr source, int extent)
    : source_(std::move(source)), extent_(std::max(extent, 1)) {}

CEnumResultsWordplay::~CEnumResultsWordplay() = default;

void CEnumResultsWordplay::Reset() {
  source_->Reset();
  position_ = 0;
  done_ = false;
  pending_.clear();
  yielded_.clear();
  Restart();
}

int CEnumResultsWordplay::GetExtent() const { return extent_; }

const char* CEnumResultsWordplay::Next(int* counter) {
  if (!prepared_) {
    prepared_ = source_->PrepareContains(counter);
    if (!prepared_) return nullptr;
  }
  for (;;) {
    if (!pending_.empty()) {
      current_ = std::move(pending_.front());
      pending_.pop_front();
      return current_.c_str();
    }
    if (done_) return nullptr;
    if (counter != nullptr && *counter <= 0) return nullptr;
    if (!Work(counter)) {
      done_ = true;
      position_ = extent_;
    }
  }
}

bool CEnumResultsWordplay::LookUp(const std::string& word,
                                  int* counter) const {
  if (counter != nullptr && *counter > 0) --*counter;
  return !word.empty() && source_->Contains(word.c_str());
}

void CEnumResultsWordplay::Emit(std::string line) {
  if (yielded_.insert(line).second) pending_.push_back(std::move(line));
}

std::string CEnumResultsWordplay::DescribeWith(const std::string& head,
                                               int indent) const {
  return DescribeIndent(indent) + head + "\n" +
         source_->Describe(indent + 1);
}

// ---- Hidden words ----

CEnumResultsHiddenWords::CEnumResultsHiddenWords(EnumPtr source,
                                                 std::string_view phrase,
                                                 int min_length, bool reversed)
    : CEnumResultsWordplay(
          std::move(source),
          static_cast<int>(PhraseLetters(phrase).size()) * (reversed ? 2 : 1)),
      phrase_(phrase),
      min_length_(std::max(min_length, 1)),
      reversed_(reversed) {
  letters_[0] = PhraseLetters(phrase);
  letters_[1].assign(letters_[0].rbegin(), letters_[0].rend());
  for (std::string& word : PhraseWords(phrase)) {
    own_words_.insert(std::move(word));
  }
  Restart();
}

EnumPtr CEnumResultsHiddenWords::Clone() const {
  return std::make_unique<CEnumResultsHiddenWords>(source()->Clone(), phrase_,
                                                   min_length_, reversed_);
}

std::string CEnumResultsHiddenWords::Describe(int indent) const {
  return DescribeWith("HiddenWords(" + Quoted(phrase_) + "," +
                          std::to_string(min_length_) + "," +
                          (reversed_ ? "reversed" : "forwards") + ")",
                      indent);
}

void CEnumResultsHiddenWords::Restart() {
  direction_ = 0;
  start_ = 0;
  length_ = static_cast<size_t>(min_length_);
}

bool CEnumResultsHiddenWords::NextStart() {
  Advance();
  ++start_;
  length_ = static_cast<size_t>(min_length_);
  if (start_ < letters_[direction_].size()) return true;
  if (direction_ == 1 || !reversed_) return false;
  direction_ = 1;
  start_ = 0;
  return true;
}

bool CEnumResultsHiddenWords::Work(int* counter) {
  const std::string& letters = letters_[direction_];
  if (start_ + length_ > letters.size()) return NextStart();
  const std::string candidate = letters.substr(start_, length_);
  ++length_;
  if (own_words_.count(candidate) == 0 && LookUp(candidate, counter)) {
    Emit(direction_ == 0 ? candidate : candidate + " (reversed)");
  }
  return true;
}

// ---- Letter selections ----

namespace {

constexpr const char* kSelectionNames[] = {"first", "last", "odd", "even"};

}  // namespace

CEnumResultsLetterSelections::CEnumResultsLetterSelections(
    EnumPtr source, std::string_view phrase)
    : CEnumResultsWordplay(std::move(source), 4),
      phrase_(phrase),
      selections_(Selections(phrase)) {}

CEnumResultsLetterSelections::~CEnumResultsLetterSelections() = default;

std::vector<std::string> CEnumResultsLetterSelections::Selections(
    std::string_view phrase) {
  std::vector<std::string> result(4);
  for (const std::string& word : PhraseWords(phrase)) {
    result[0] += word.front();
    result[1] += word.back();
  }
  const std::string letters = PhraseLetters(phrase);
  for (size_t i = 0; i < letters.size(); ++i) result[2 + i % 2] += letters[i];
  return result;
}

EnumPtr CEnumResultsLetterSelections::Clone() const {
  return std::make_unique<CEnumResultsLetterSelections>(source()->Clone(),
                                                        phrase_);
}

std::string CEnumResultsLetterSelections::Describe(int indent) const {
  return DescribeWith("LetterSelections(" + Quoted(phrase_) + ")", indent);
}

void CEnumResultsLetterSelections::Restart() {
  index_ = 0;
  anagrams_.reset();
  found_.clear();
}

bool CEnumResultsLetterSelections::Work(int* counter) {
  if (index_ >= selections_.size()) return false;
  const std::string& letters = selections_[index_];
  if (letters.empty()) {
    FinishSelection();
    return true;
  }
  if (anagrams_ == nullptr) {
    is_word_ = LookUp(letters, counter);
    anagrams_ = BuildAnagramQuery(source()->Clone(), letters.c_str(), nullptr);
    return true;
  }
  const char* word = anagrams_->Next(counter);
  if (word != nullptr) {
    if (letters != word) found_.emplace_back(word);
    return true;
  }
  if (counter != nullptr && *counter == 0) return true;  // suspended
  FinishSelection();
  return true;
}

void CEnumResultsLetterSelections::FinishSelection() {
  const std::string& letters = selections_[index_];
  if (!letters.empty()) {
    std::sort(found_.begin(), found_.end());
    found_.erase(std::unique(found_.begin(), found_.end()), found_.end());
    std::string line = std::string(kSelectionNames[index_]) + " letters " +
                       letters + ": " + (is_word_ ? "a word" : "not a word");
    line += found_.empty() ? "; no anagrams" : "; anagrams ";
    for (size_t i = 0; i < found_.size(); ++i) {
      line += (i > 0 ? ", " : "") + found_[i];
    }
    Emit(std::move(line));
  }
  ++index_;
  anagrams_.reset();
  found_.clear();
  Advance();
}

// ---- Spoonerisms ----

namespace {

// The splits of one word, or the pairs of several.
int SpoonerismTrials(const std::vector<std::string>& words) {
  const size_t n = words.size();
  if (n == 1) return static_cast<int>(words[0].size()) - 1;
  return static_cast<int>(std::min<size_t>(n * (n - 1) / 2, 1 << 30));
}

}  // namespace

CEnumResultsSpoonerisms::CEnumResultsSpoonerisms(EnumPtr source,
                                                 std::string_view phrase)
    : CEnumResultsWordplay(std::move(source),
                           SpoonerismTrials(PhraseWords(phrase))),
      phrase_(phrase),
      words_(PhraseWords(phrase)) {
  Restart();
}

EnumPtr CEnumResultsSpoonerisms::Clone() const {
  return std::make_unique<CEnumResultsSpoonerisms>(source()->Clone(), phrase_);
}

std::string CEnumResultsSpoonerisms::Describe(int indent) const {
  return DescribeWith("Spoonerisms(" + Quoted(phrase_) + ")", indent);
}

void CEnumResultsSpoonerisms::Restart() {
  first_ = words_.size() == 1 ? 1 : 0;
  second_ = first_ + 1;
}

namespace {

std::string JoinWords(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words) {
    text += (text.empty() ? "" : " ") + word;
  }
  return text;
}

}  // namespace

void CEnumResultsSpoonerisms::TryPair(const std::vector<std::string>& words,
                                      size_t i, size_t j, int* counter) {
  std::vector<std::string> swapped = words;
  if (!Spoonerize(words[i], words[j], &swapped[i], &swapped[j])) return;
  if (LookUp(swapped[i], counter) && LookUp(swapped[j], counter)) {
    Emit(JoinWords(words) + " -> " + JoinWords(swapped));
  }
}

bool CEnumResultsSpoonerisms::Work(int* counter) {
  if (words_.size() == 1) {
    const std::string& word = words_[0];
    if (first_ >= word.size()) return false;
    const std::vector<std::string> halves = {word.substr(0, first_),
                                             word.substr(first_)};
    ++first_;
    Advance();
    if (LookUp(halves[0], counter) && LookUp(halves[1], counter)) {
      TryPair(halves, 0, 1, counter);
    }
    return true;
  }
  if (second_ >= words_.size()) {
    ++first_;
    second_ = first_ + 1;
    if (second_ >= words_.size()) return false;
  }
  TryPair(words_, first_, second_, counter);
  ++second_;
  Advance();
  return true;
}

}  // namespace vocor
