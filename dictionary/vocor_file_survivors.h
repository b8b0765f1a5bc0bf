// The words of a binary dictionary that survive a letter-play
// transformation (engine/palindrome.h), found by a walk of the letter tree
// instead of by testing every word the plain walk yields.
//
// What it yields. Exactly what a CEnumResultsPalindrome over the plain
// reader yields: the same words in the same (walk) order, each word's
// progress position and score those of the plain walk, the floor of the
// reader applied, and the same end where the tree is damaged (the walk
// gives up at the same word, and the dictionary notes the damage). One
// exception: word endings that no longer describe a damaged tree can make
// a reversing walk pass over survivors that the damage spelled, and over
// the damage their lookups would have met; it still ends at the same word.
//
// Why it is faster.
// - Subtrees that cannot hold a survivor are passed in one step, their
//   words counted as passed: a letter without an image in the mode, a
//   letter that is not its own image where the order is kept (same word),
//   and, for words that must read as themselves backwards, every node
//   whose prefix q can end no such word. Such a word is q followed by a
//   suffix of length l below the node: for l > |q| that suffix ends in the
//   image of q (possible while the node holds a path that long, to a word
//   that ends in the image of q's first letter), for l <= |q| the word is
//   fixed by q and l and is looked up. Each node keeps its height (the
//   longest path below it) and the last letters of its words once judged,
//   so the minimal tree's shared subtrees are judged once for the whole
//   walk. A palindrome search so enters only the prefixes that have a word
//   at least twice as long ending in the right letter below them, a small
//   part of the tree.
// - In the reversing modes, a survivor's image is a word that ends in the
//   image of every prefix, last letter first. Where the file has word
//   endings (vocor_word_endings.h), every prefix whose image ends no word
//   is passed: for reversal pairs on a large English list that leaves a
//   few percent of the tree, and of the lookups.
// - A subtree is passed only once every node in it has been checked sound
//   (the reader's checks, letters rising from entry to entry, no path too
//   long); a damaged one is walked, so that the walk meets the damage where
//   the plain walk does.
// - Another-word lookups read the transformed text straight from the path
//   buffer, and start from the node their first three letters lead to,
//   remembered, where the plain lookup scans the three widest levels of
//   the tree.
//   They answer what the reader's Contains answers, damage included.
#ifndef VOCOR_DICTIONARY_VOCOR_FILE_SURVIVORS_H_
#define VOCOR_DICTIONARY_VOCOR_FILE_SURVIVORS_H_

#include <array>
#include <memory>
#include <vector>

#include "dictionary/file_image.h"
#include "dictionary/vocor_file_dictionary.h"

namespace vocor {

class CEnumResultsVocorFileSurvivors final : public CEnumResults {
 public:
  // Shares `file` (not null). `mode` must be 0 to 3; any non-zero
  // `another_word` is the another-word form. Words scoring below `floor`
  // are walked but not yielded, as by the plain reader.
  CEnumResultsVocorFileSurvivors(std::shared_ptr<const VocorFileContents> file,
                                 int floor, int mode, int another_word);
  ~CEnumResultsVocorFileSurvivors() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // One unit of work per node entered or left, as the plain walk.
  const char* Next(int* counter) override;
  int Score() const override;
  // Words passed so far, clamped to [0, GetExtent()].
  int GetPosition() const override;
  int GetExtent() const override;

 private:
  struct Frame {
    uint32_t node;
    int next;  // next entry, or kWalkUnvisited before the node's word
    int depth;
  };

  // What is known of the subtree at one node offset, in four bytes, so
  // that the judgements of a whole tree stay small. A subtree holding a
  // word too long for `height` is judged unsound: walked, never passed.
  struct Judgement {
    // The last letters of the words below, one bit per LastLetterBit.
    uint32_t last_letters : 24;
    uint32_t height : 6;  // the longest path below to a word
    uint32_t state : 2;   // unjudged, sound or unsound
  };

  const char* data() const { return file_->image->data(); }

  // Whether the word of the path (`length` letters) is kept.
  bool Survives(int length) const;
  // Whether the child reached by the path's `depth` letters holds no
  // survivor and is sound, so that the walk may pass it. Errs towards
  // false.
  bool Passable(uint32_t child, int depth);
  // For the same-word form of a reversing mode: whether a word that reads
  // as itself may lie below `node` (judged sound as `judgement`), reached
  // by the path's `length` letters. Errs towards true.
  bool MayHoldMirror(const Judgement& judgement, uint32_t node, int length);
  // Whether, reversing, the file's word endings show that no word ends in
  // the image of the path's `depth` letters, so that no survivor lies
  // below it.
  bool ImageEndsNoWord(int depth) const;
  // Whether the path's letters from `from` to `length` read as themselves.
  bool ReadsAsItselfFrom(int from, int length) const;
  // Whether the images of the path's first `count` letters, last first,
  // lead from `node` (in a sound subtree) to a word.
  bool ImageOfHeadBelow(uint32_t node, int count) const;
  // The judgement of the node at `offset`, made at `level` nodes below
  // the first node asked about.
  Judgement Judge(uint32_t offset, int level);
  // The judgement made for `offset` before, or one left unjudged.
  Judgement Remembered(uint32_t offset) const;
  // Whether the transformed path (`length` letters) is a word, answered as
  // the reader's Contains answers it.
  bool ImageIsWord(int length) const;
  // Where the reader's Contains stands: at a node offset, or at kNoNode
  // or kDamagedLookup (see the .cpp file). At the root, after one more
  // letter from `from`, and after the first two or three letters, which
  // are remembered.
  uint32_t RootOfLookup() const;
  uint32_t StepOfLookup(uint32_t from, unsigned char letter) const;
  uint32_t NodeAfterTwo(unsigned char first, unsigned char second) const;
  uint32_t NodeAfterThree(unsigned char first, unsigned char second,
                          unsigned char third) const;
  // Ends the walk: the tree is damaged beyond the current path.
  void GiveUp();
  bool ReachesFloor(uint32_t index) const {
    return floor_ <= kMinScore || file_->ScoreAt(index) >= floor_;
  }

  std::shared_ptr<const VocorFileContents> file_;
  int floor_;
  int mode_;
  bool another_word_;
  bool reversed_;
  std::array<unsigned char, 256> images_{};
  bool has_unimaged_letters_ = false;  // some letter has no image
  // Reversing, the file's word endings (null: none); valid while file_
  // lives.
  const VocorWordEndings* endings_ = nullptr;
  // Whether any subtree can be passed: not in the another-word form of a
  // mode where every letter has an image, unless the word endings rule
  // some out.
  bool may_pass_ = true;

  int64_t position_ = 0;
  uint32_t last_index_ = 0;
  std::vector<Frame> stack_;
  char word_[kWordBufferSize];

  // One judgement per 4-byte-aligned offset, allocated zeroed on first use.
  std::unique_ptr<Judgement, FreeDeleter> judgements_;
  // Lookup positions after two image letters (by the pair) and after
  // three (key above value, hashed), filled as asked.
  mutable std::vector<uint32_t> after_two_;
  mutable std::vector<uint64_t> after_three_;
  mutable size_t after_three_used_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_FILE_SURVIVORS_H_
