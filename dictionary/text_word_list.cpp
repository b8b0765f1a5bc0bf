#include "dictionary/text_word_list.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/charset.h"

namespace vocor {

TextWordList::TextWordList(std::shared_ptr<const FileImage> image)
    : image_(std::move(image)), scanner_(text()) {
  // Only adjacent words are compared, so the check is linear however the
  // words repeat; equal neighbours are in order.
  char previous[kWordBufferSize];
  char current[kWordBufferSize];
  int previous_length = -1;
  bool by_bytes = true, by_code_points = true;
  size_t start, end = 0;
  int length;
  int score;
  while (scanner_.FindWord(end, &start, &end, current, &length, &score)) {
    ++word_count_;
    ++score_counts_[score];
    if ((by_bytes || by_code_points) && previous_length >= 0) {
      const std::string_view before(previous, previous_length);
      const std::string_view word(current, length);
      if (by_bytes && before > word) by_bytes = false;
      if (by_code_points && CompareByCodePoints(before, word) > 0) {
        by_code_points = false;
      }
    }
    std::memcpy(previous, current, length + 1);
    previous_length = length;
  }
  in_order_ = by_bytes || by_code_points;
}

bool TextWordList::BuildIndex(int* counter) const {
  if (indexed_) return true;
  if (index_ == nullptr) {
    size_t slots = 64;
    while (slots < static_cast<size_t>(word_count_) * 2) slots *= 2;
    index_.reset(
        static_cast<IndexSlot*>(std::calloc(slots, sizeof(IndexSlot))));
    if (index_ == nullptr) throw std::bad_alloc();
    index_mask_ = slots - 1;
    // Words and their NULs take no more room than the text: every word is
    // followed by a separator or the end. Reserved once, so that no slice
    // copies everything indexed so far to grow it.
    index_words_.reserve(image_->size() + 1);
  }
  char buffer[kWordBufferSize];
  size_t start;
  int length;
  while (counter == nullptr || *counter > 0) {
    if (!scanner_.FindWord(index_from_, &start, &index_from_, buffer,
                           &length)) {
      indexed_ = true;
      return true;
    }
    AddToIndex(std::string_view(buffer, length));
    if (counter != nullptr) --*counter;
  }
  return false;
}

// `word` must be followed by a NUL in memory (the scanner's buffer is).
void TextWordList::AddToIndex(std::string_view word) const {
  const auto hash = static_cast<uint32_t>(std::hash<std::string_view>()(word));
  size_t i = hash & index_mask_;
  for (; index_[i].word_plus_one != 0; i = (i + 1) & index_mask_) {
    if (index_[i].hash == hash &&
        std::strcmp(index_words_.c_str() + index_[i].word_plus_one - 1,
                    word.data()) == 0) {
      return;
    }
  }
  // Files are below 2 GiB and words shorter than their text, so offsets
  // fit 32 bits.
  index_[i] = IndexSlot{hash, static_cast<uint32_t>(index_words_.size() + 1)};
  index_words_.append(word.data(), word.size() + 1);  // with its NUL
}

bool TextWordList::HasWord(std::string_view word) const {
  if (!indexed_) BuildIndex(nullptr);
  const auto hash = static_cast<uint32_t>(std::hash<std::string_view>()(word));
  for (size_t i = hash & index_mask_; index_[i].word_plus_one != 0;
       i = (i + 1) & index_mask_) {
    if (index_[i].hash != hash) continue;
    const char* stored = index_words_.c_str() + index_[i].word_plus_one - 1;
    if (word.compare(0, word.size(), stored, std::strlen(stored)) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace vocor
