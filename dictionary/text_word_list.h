// The shared, immutable state of an open text word list: the file image,
// its decoding, the counts found when it was opened, and the word index
// that answers Contains. Shared by a dictionary, its clones and its
// enumerators; the index is built on first use, or ahead of it in slices
// (single-threaded).
#ifndef VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
#define VOCOR_DICTIONARY_TEXT_WORD_LIST_H_

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "dictionary/file_image.h"
#include "dictionary/text_words.h"
#include "engine/score.h"

namespace vocor {

class TextWordList {
 public:
  // Scans `image` once: counts the words, by score too, and checks their
  // order (see CDictionaryTextFile::IsInAlphabeticOrder).
  explicit TextWordList(std::shared_ptr<const FileImage> image);

  std::string_view text() const {
    return std::string_view(image_->data(), image_->size());
  }
  const TextWordScanner& scanner() const { return scanner_; }
  int word_count() const { return word_count_; }
  bool in_order() const { return in_order_; }
  int size() const { return static_cast<int>(image_->size()); }
  // Whether a line gives a score (see text_words.h).
  bool has_scores() const { return scanner_.has_scores(); }
  // How many words of the file carry each score; a word listed twice
  // counts twice, with each line's score.
  const ScoreCounts& score_counts() const { return score_counts_; }

  // Whether the list holds `word` (engine text, compared exactly). Builds
  // whatever part of the word index is still missing first.
  bool HasWord(std::string_view word) const;

  // Builds the word index while `counter` is null or above 0, one unit per
  // word of the file, going on where the last call stopped. Returns whether
  // the index is complete. A search calls this in slices so that no step
  // indexes a whole large list.
  bool BuildIndex(int* counter) const;

 private:
  std::shared_ptr<const FileImage> image_;
  TextWordScanner scanner_;
  int word_count_ = 0;
  bool in_order_ = true;
  ScoreCounts score_counts_{};
  // The word index: every word once, NUL-terminated, in one arena, and an
  // open-addressing table over them (a flat array probed linearly, at most
  // half full), so a lookup touches one or two cache lines. Built by
  // BuildIndex, at the latest on the first HasWord. An all-zero slot is
  // empty, so the table comes zeroed from calloc, whose large blocks are
  // fresh pages: no slice pays for clearing all of it at once.
  struct IndexSlot {
    uint32_t hash;
    uint32_t word_plus_one;  // the word's offset in index_words_ plus 1
  };

  void AddToIndex(std::string_view word) const;

  mutable bool indexed_ = false;
  // Offset in the text where indexing goes on: the end of the last word
  // indexed.
  mutable size_t index_from_ = 0;
  mutable std::string index_words_;
  mutable std::unique_ptr<IndexSlot[], FreeDeleter> index_;
  mutable size_t index_mask_ = 0;  // slot count - 1, a power of 2
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_WORD_LIST_H_
