// The shared, immutable state of an open text word list: the file image,
// its decoding, the counts found when it was opened, and the word index
// that answers Contains. Shared by a dictionary, its clones and its
// enumerators; the index is built on first use (single-threaded).
#ifndef VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
#define VOCOR_DICTIONARY_TEXT_WORD_LIST_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary/file_image.h"
#include "dictionary/text_words.h"

namespace vocor {

class TextWordList {
 public:
  // Scans `image` once: counts the words and checks their order (see
  // CDictionaryTextFile::IsInAlphabeticOrder).
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
  // The word index: every word once, NUL-terminated, in one arena, and an
  // open-addressing table over them (a flat array probed linearly, at most
  // half full), so a lookup touches one or two cache lines. Built on the
  // first HasWord.
  struct IndexSlot {
    uint32_t hash = 0;
    uint32_t offset = kEmptySlot;  // into index_words_
  };
  static constexpr uint32_t kEmptySlot = 0xFFFFFFFFu;

  void BuildIndex() const;

  mutable bool indexed_ = false;
  mutable std::string index_words_;
  mutable std::vector<IndexSlot> index_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
