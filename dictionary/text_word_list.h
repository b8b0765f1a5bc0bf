// The shared, immutable state of an open text word list: the file image,
// its decoding, the counts found when it was opened, and the word index
// that answers Contains. Shared by a dictionary, its clones and its
// enumerators; the index is built on first use (single-threaded).
#ifndef VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
#define VOCOR_DICTIONARY_TEXT_WORD_LIST_H_

#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>

#include "dictionary/file_image.h"
#include "dictionary/text_words.h"

namespace vocor {

class TextWordList {
 public:
  // Scans `image` once: counts the words and checks their order.
  explicit TextWordList(std::shared_ptr<const FileImage> image);

  std::string_view text() const {
    return std::string_view(image_->data(), image_->size());
  }
  const TextWordScanner& scanner() const { return scanner_; }
  int word_count() const { return word_count_; }
  bool in_order() const { return in_order_; }
  int size() const { return static_cast<int>(image_->size()); }

  // Whether the list holds `word` (engine text, compared exactly).
  bool HasWord(std::string_view word) const;

 private:
  std::shared_ptr<const FileImage> image_;
  TextWordScanner scanner_;
  int word_count_ = 0;
  bool in_order_ = true;
  mutable std::unique_ptr<std::unordered_set<std::string_view>> index_;
  mutable std::unique_ptr<std::string> index_text_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
