// Plain text word lists as dictionaries. The file is read once at Open,
// scanned to count its words and to see whether they are in alphabetic
// order, and then walked in place by enumerators, one word per Next. Text
// lists have no index to prune with, so patterns and letter constraints
// wrap the enumerator in filter nodes; only Contains is answered from a
// hash index of the list's words, built on first use (or ahead of it, in
// slices, by PrepareContains) and shared by every clone of the dictionary
// and every enumerator over it.
//
// Scores come from the lines (`word;score`, see text_words.h): a word
// scores what its line gives, kDefaultScore without. A word listed twice
// is yielded twice, each time with its own line's score; the results
// sinks keep the highest. The enumerator absorbs MinScore by skipping the
// words under the floor as it reads.
#ifndef VOCOR_DICTIONARY_TEXT_FILE_DICTIONARY_H_
#define VOCOR_DICTIONARY_TEXT_FILE_DICTIONARY_H_

#include <memory>
#include <string>

#include "dictionary/dictionary.h"
#include "dictionary/text_words.h"

namespace vocor {

class TextWordList;

class CDictionaryTextFile : public CDictionary {
 public:
  CDictionaryTextFile();
  ~CDictionaryTextFile() override;

  // Shares the open list with this dictionary, if it is open.
  std::unique_ptr<CDictionary> Clone() const override;
  bool LoadFromRegistry(int root, const char* key_path) override;
  bool SaveToRegistry(int root, const char* key_path) const override;
  const char* GetTypeName() const override { return "TextFile"; }
  bool IsOpen() const override;
  // Fails on a file that cannot be read, is not a regular file, is empty,
  // is too large for a word list (kMaxWordListFileSize) or holds binary
  // data (see FileImage::ReadWordList).
  bool Open() override;
  // Drops this object's reference to the list; clones and enumerators keep
  // theirs.
  void Close() override;
  // The path after its last '/', decoded from UTF-8 (file names are) into
  // engine text, like every other text a dictionary shows.
  const char* GetName() const override;
  int GetWordCount() const override;
  int GetSize() const override;
  std::string GetNotes() const override;
  // Whether a line of the list gives a valid score.
  bool HasScores() const override;
  EnumPtr CreateEnumerator() const override;

  // Whether the list was found in alphabetic order when it was opened (the
  // fact GetNotes words): its lower-cased words ascending, all by their
  // bytes in Windows-1252 or all by their characters' code points (as
  // `LC_ALL=C sort` orders a UTF-8 list); the two differ only for the
  // letters of 0x80-0x9F (š, œ, ž, ƒ). Equal neighbours are in order.
  // False while closed.
  bool IsInAlphabeticOrder() const;

  // Fails (and keeps the old path) while open. A null path stores "".
  virtual bool SetFileName(const char* path);
  const char* GetFileName() const { return text_.c_str(); }

 private:
  std::shared_ptr<const TextWordList> list_;
  std::string name_;
};

class CEnumResultsDictionaryTextFile final : public CEnumResults {
 public:
  // Shares `list` (may be null: yields nothing); `name` is for Describe.
  CEnumResultsDictionaryTextFile(std::shared_ptr<const TextWordList> list,
                                 std::string name);
  ~CEnumResultsDictionaryTextFile() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // From the list's word index; words holding '?' or '*' are read as
  // patterns, as everywhere else.
  bool Contains(const char* word) const override;
  // Builds the list's word index in slices, one unit per word of the file.
  bool PrepareContains(int* counter) override;
  // Absorbed: the floor is kept here (the highest of those given), and the
  // empty enumerator comes back when no word of the list reaches it.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  // One word per call, whatever the counter says, decrementing it by one.
  // Under a floor, each word skipped costs one unit too, and the call
  // suspends (null, counter 0) once the counter is used up.
  const char* Next(int* counter) override;
  // Bytes of the file before the next word; the file size at the end.
  int GetPosition() const override;
  int GetExtent() const override;
  int Score() const override { return score_; }
  // The list's counts by score, from the floor up.
  void CountScores(ScoreCounts* counts) const override;

 private:
  // Finds the first word at or after `from` into the look-ahead buffer.
  void LookAhead(size_t from);

  std::shared_ptr<const TextWordList> list_;
  std::string name_;
  bool has_next_ = false;
  size_t next_start_ = 0;
  size_t next_end_ = 0;
  // The word last returned and the look-ahead word alternate between the
  // two buffers, so returning a word copies nothing.
  char buffers_[2][kWordBufferSize];
  int next_buffer_ = 0;
  int next_score_ = kDefaultScore;  // of the look-ahead word
  int score_ = kDefaultScore;       // of the word last returned
  int floor_ = kMinScore;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_TEXT_FILE_DICTIONARY_H_
