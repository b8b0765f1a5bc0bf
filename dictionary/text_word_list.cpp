#include "dictionary/text_word_list.h"

#include <cstring>
#include <vector>

#include "engine/charset.h"

namespace vocor {

TextWordList::TextWordList(std::shared_ptr<const FileImage> image)
    : image_(std::move(image)),
      scanner_(text(), TextWordScanner::DetectUtf8(text())) {
  // Only adjacent words are compared, so the check is linear however the
  // words repeat; equal neighbours are in order.
  char previous[kWordBufferSize];
  char current[kWordBufferSize];
  int previous_length = -1;
  bool by_bytes = true, by_code_points = true;
  size_t start, end = 0;
  int length;
  while (scanner_.FindWord(end, &start, &end, current, &length)) {
    ++word_count_;
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

void TextWordList::BuildIndex() const {
  indexed_ = true;
  size_t slots = 64;
  while (slots < static_cast<size_t>(word_count_) * 2) slots *= 2;
  index_.assign(slots, IndexSlot());
  char buffer[kWordBufferSize];
  size_t start, end = 0;
  int length;
  while (scanner_.FindWord(end, &start, &end, buffer, &length)) {
    const std::string_view word(buffer, length);
    const auto hash =
        static_cast<uint32_t>(std::hash<std::string_view>()(word));
    size_t i = hash & (slots - 1);
    bool present = false;
    for (; index_[i].offset != kEmptySlot; i = (i + 1) & (slots - 1)) {
      if (index_[i].hash == hash &&
          std::strcmp(index_words_.c_str() + index_[i].offset, buffer) == 0) {
        present = true;
        break;
      }
    }
    if (present) continue;
    // Files are below 2 GiB and words shorter than their text, so offsets
    // fit 32 bits.
    index_[i] = IndexSlot{hash, static_cast<uint32_t>(index_words_.size())};
    index_words_.append(buffer, length + 1);  // with its NUL
  }
}

bool TextWordList::HasWord(std::string_view word) const {
  if (!indexed_) BuildIndex();
  const auto hash = static_cast<uint32_t>(std::hash<std::string_view>()(word));
  const size_t mask = index_.size() - 1;
  for (size_t i = hash & mask; index_[i].offset != kEmptySlot;
       i = (i + 1) & mask) {
    if (index_[i].hash != hash) continue;
    const char* stored = index_words_.c_str() + index_[i].offset;
    if (word.compare(0, word.size(), stored, std::strlen(stored)) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace vocor
