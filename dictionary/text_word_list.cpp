#include "dictionary/text_word_list.h"

#include <cstring>
#include <vector>

namespace vocor {

TextWordList::TextWordList(std::shared_ptr<const FileImage> image)
    : image_(std::move(image)),
      scanner_(text(), TextWordScanner::DetectUtf8(text())) {
  // Only adjacent words are compared, so the check is linear however the
  // words repeat; equal neighbours are in order.
  char previous[kWordBufferSize];
  char current[kWordBufferSize];
  int previous_length = -1;
  size_t start, end = 0;
  int length;
  while (scanner_.FindWord(end, &start, &end, current, &length)) {
    ++word_count_;
    if (in_order_ && previous_length >= 0) {
      const int common = std::min(previous_length, length);
      const int cmp = std::memcmp(previous, current, common);
      if (cmp > 0 || (cmp == 0 && previous_length > length)) in_order_ = false;
    }
    std::memcpy(previous, current, length + 1);
    previous_length = length;
  }
}

bool TextWordList::HasWord(std::string_view word) const {
  if (index_ == nullptr) {
    // Words are stored once in an arena; the set holds views into it.
    auto arena = std::make_unique<std::string>();
    std::vector<std::pair<size_t, int>> spans;
    spans.reserve(word_count_);
    char buffer[kWordBufferSize];
    size_t start, end = 0;
    int length;
    while (scanner_.FindWord(end, &start, &end, buffer, &length)) {
      spans.emplace_back(arena->size(), length);
      arena->append(buffer, length);
    }
    auto index = std::make_unique<std::unordered_set<std::string_view>>();
    index->reserve(spans.size());
    for (const auto& [offset, len] : spans) {
      index->emplace(arena->data() + offset, len);
    }
    index_text_ = std::move(arena);
    index_ = std::move(index);
  }
  return index_->count(word) != 0;
}

}  // namespace vocor
