#include "engine/palindrome.h"

#include <array>
#include <cstring>

namespace vocor {
namespace {

// Image of each byte in one mode; 0 means "no image, refuse the word".
using ImageTable = std::array<unsigned char, 256>;

ImageTable BuildImages(const char* keep, bool swap_m_w) {
  ImageTable t{};
  for (const char* k = keep; *k != '\0'; ++k) {
    t[static_cast<unsigned char>(*k)] = static_cast<unsigned char>(*k);
  }
  if (swap_m_w) {
    t['m'] = 'w';
    t['w'] = 'm';
  }
  return t;
}

const ImageTable* ImagesFor(int mode) {
  static const ImageTable reflect_h = BuildImages("ahimotuvwxy", false);
  static const ImageTable reflect_v = BuildImages("bcdehikox", true);
  static const ImageTable rotate = BuildImages("hinosxz", true);
  switch (mode) {
    case kReflectH:
      return &reflect_h;
    case kReflectV:
      return &reflect_v;
    case kRotate:
      return &rotate;
    default:
      return nullptr;
  }
}

}  // namespace

namespace {

// Walks the images of `word` in `mode`, in the order of the transformed
// text, and hands each to `visit(i, image)`, which returns false to stop.
// Returns false when a character has no image, a mode is unknown, or
// `visit` stopped.
template <typename Visit>
bool ForEachImage(int mode, const char* word, size_t n, Visit visit) {
  if (mode < kReverse || mode > kRotate) return false;
  const ImageTable* images = ImagesFor(mode);
  const bool reversed = mode != kReflectV;
  for (size_t i = 0; i < n; ++i) {
    const auto c = static_cast<unsigned char>(word[reversed ? n - 1 - i : i]);
    const unsigned char image = images == nullptr ? c : (*images)[c];
    if (image == 0 || !visit(i, image)) return false;
  }
  return true;
}

}  // namespace

unsigned char LetterImage(int mode, unsigned char c) {
  if (mode < kReverse || mode > kRotate) return 0;
  const ImageTable* images = ImagesFor(mode);
  return images == nullptr ? c : (*images)[c];
}

bool ReversesOrder(int mode) { return mode != kReflectV; }

bool TransformWord(int mode, const char* word, char* out) {
  const size_t n = std::strlen(word);
  if (!ForEachImage(mode, word, n, [out](size_t i, unsigned char image) {
        out[i] = static_cast<char>(image);
        return true;
      })) {
    return false;
  }
  out[n] = '\0';
  return true;
}

bool ReadsAsItself(int mode, const char* word) {
  return ForEachImage(mode, word, std::strlen(word),
                      [word](size_t i, unsigned char image) {
                        return image == static_cast<unsigned char>(word[i]);
                      });
}

CEnumResultsPalindrome::CEnumResultsPalindrome(EnumPtr child, int mode,
                                               int another_word)
    : CEnumResultsParent1(std::move(child)),
      mode_(mode),
      another_word_(another_word) {
  lookup_ = this->child()->Clone();
  survivors_ = this->child()->TransformSurvivors(mode_, another_word_);
}

CEnumResultsPalindrome::~CEnumResultsPalindrome() {
  survivors_.reset();
  lookup_.reset();
}

EnumPtr CEnumResultsPalindrome::Clone() const {
  return std::make_unique<CEnumResultsPalindrome>(child()->Clone(), mode_,
                                                  another_word_);
}

std::string CEnumResultsPalindrome::Describe(int indent) const {
  return DescribeIndent(indent) + "Palindrome(" + std::to_string(mode_) + "," +
         std::to_string(another_word_) + ")\n" +
         CEnumResultsParent1::Describe(indent);
}

bool CEnumResultsPalindrome::Transform(const char* word) const {
  // One scratch buffer reused across words: the filter allocates only when
  // a word is longer than any before it.
  scratch_.resize(std::strlen(word) + 1);
  return TransformWord(mode_, word, scratch_.data());
}

bool CEnumResultsPalindrome::Keeps(const char* word) const {
  if (another_word_ == 0) return ReadsAsItself(mode_, word);
  if (!Transform(word)) return false;
  if (another_word_ != 0) return lookup_->Contains(scratch_.c_str());
  return std::strcmp(scratch_.c_str(), word) == 0;
}

bool CEnumResultsPalindrome::Contains(const char* word) const {
  if (!Transform(word)) return false;
  if (another_word_ == 0) {
    return std::strcmp(scratch_.c_str(), word) == 0 && child()->Contains(word);
  }
  return child()->Contains(word) && lookup_->Contains(scratch_.c_str());
}

bool CEnumResultsPalindrome::PrepareContains(int* counter) {
  return child()->PrepareContains(counter) && lookup_->PrepareContains(counter);
}

void CEnumResultsPalindrome::Reset() {
  CEnumResultsParent1::Reset();
  if (survivors_ != nullptr) survivors_->Reset();
}

int CEnumResultsPalindrome::GetPosition() const {
  return survivors_ != nullptr ? survivors_->GetPosition()
                               : CEnumResultsParent1::GetPosition();
}

int CEnumResultsPalindrome::Score() const {
  return survivors_ != nullptr ? survivors_->Score()
                               : CEnumResultsParent1::Score();
}

EnumPtr CEnumResultsPalindrome::MinScore(EnumPtr self, int floor) {
  EnumPtr result = CEnumResultsParent1::MinScore(std::move(self), floor);
  if (result.get() == this) {
    survivors_ = child()->TransformSurvivors(mode_, another_word_);
  }
  return result;
}

const char* CEnumResultsPalindrome::Next(int* counter) {
  if (survivors_ != nullptr) return survivors_->Next(counter);
  // Every word read asks the second child for its transformed text, so a
  // text list's word index must exist first; it is built here in slices
  // rather than by the first lookup, all in one step.
  if (another_word_ != 0 && !lookup_ready_) {
    lookup_ready_ = lookup_->PrepareContains(counter);
    if (!lookup_ready_) return nullptr;
  }
  while (counter == nullptr || *counter > 0) {
    const char* word = child()->Next(counter);
    if (word == nullptr) return nullptr;
    if (Keeps(word)) return word;
  }
  return nullptr;
}

}  // namespace vocor
