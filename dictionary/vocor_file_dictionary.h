// Binary dictionary files (.dic, see dictionary/vocor_format.h) as
// dictionaries. The file is read whole at Open and only its header is
// checked then; the letter tree is walked in place by enumerators, which
// absorb pattern and letter constraints so that they never enter a subtree
// that cannot hold a match, and account for every skipped subtree in their
// progress from the counts stored in its node.
//
// Damaged files. Open refuses a file whose header is damaged (see
// ParseVocorHeader). Everything in the tree is checked as it is reached:
// a node that does not lie inside the file, whose counts do not add up, or
// that would make a path longer than kMaxWordLength letters ends the walk
// as if the dictionary were exhausted, and a lookup that meets one answers
// false; either way the dictionary remembers it (DamageSeen), so that the
// search can say its results are incomplete. Nothing outside the file
// image is ever read.
//
// Scores. A file may carry a score per word (see vocor_format.h). Open
// checks only the section's head (marker, count, bounds), never the
// scores, and leaves scores at the file's end (where our writer puts them)
// on disk until a word's score is first asked for, so that a scored file
// opens as fast as an unscored one; a file changed on disk by then keeps
// its words and loses its scores, as a damaged section does. The walk
// numbers its words from the tree's counts as it goes and reads a word's
// score by that number. A damaged section is ignored, never trusted, and
// the words are never lost to it: when its head is cut short or wrong the
// file opens without scores (every word at kDefaultScore) and DamageSeen is
// set at once; a score byte outside kMinScore..kMaxScore, or a word
// numbered past the section, reads as kDefaultScore and sets DamageSeen
// when met. A section offset that points at no section marker (outside the
// file, or at other bytes) is taken for the unread bytes of an older
// writer: the file reads as unscored, without damage.
#ifndef VOCOR_DICTIONARY_VOCOR_FILE_DICTIONARY_H_
#define VOCOR_DICTIONARY_VOCOR_FILE_DICTIONARY_H_

#include <memory>
#include <string>
#include <vector>

#include "dictionary/dictionary.h"
#include "dictionary/file_image.h"
#include "dictionary/vocor_format.h"
#include "dictionary/vocor_letter_summaries.h"
#include "dictionary/vocor_word_endings.h"
#include "engine/letters.h"
#include "engine/pattern_automaton.h"
#include "engine/score.h"

namespace vocor {

// An opened file: the image and its decoded header. Immutable; shared by a
// dictionary, its clones and every enumerator over it.
struct VocorFileContents {
  std::shared_ptr<const FileImage> image;
  VocorHeader header;
  // Takes the `count` scores at `scores`, inside `image`.
  void UseScores(const char* scores, uint32_t count);
  // Leaves the `count` scores at `offset` of the file at `path`, which
  // has `file_size` bytes, to be read on first use.
  void DeferScores(std::string path, size_t offset, uint32_t count,
                   size_t file_size);

  // Whether the file has a sound score section head (and, once read, its
  // scores could be read).
  bool has_scores() const { return scores_ != nullptr || deferred_; }

  // The score of the word numbered `index` in walk order: kDefaultScore
  // without a section, and for a damaged score (noted as damage).
  int ScoreAt(uint32_t index) const {
    if (scores_ == nullptr && (!deferred_ || !ReadDeferredScores())) {
      return kDefaultScore;
    }
    if (index < score_count_ && IsValidScore(scores_[index])) {
      return scores_[index];
    }
    NoteDamage();
    return kDefaultScore;
  }
  // How many words carry each score, read from the section on first use
  // and kept; without a section every word at kDefaultScore.
  const ScoreCounts& ScoreHistogram() const;

  // Whether a walk or lookup over this file has met a damaged node. Set by
  // readers as they meet one; read by whoever ran the search, to tell an
  // exhausted dictionary from a damaged one.
  bool damage_seen() const { return damage_seen_; }
  void NoteDamage() const { damage_seen_ = true; }

  // The file's letter summaries, found and checked on first use. Null when
  // the file has none, and when they are damaged (noted as damage: a walk
  // then goes without them and still finds every word). Valid while the
  // contents live.
  const VocorLetterSummaries* LetterSummaries() const;
  // The file's word endings, the same way.
  const VocorWordEndings* WordEndings() const;

  // The length of the longest word at or below the node at `offset`,
  // counted from the node (0: its own word only), remembered per node. A
  // node that fails its check, or lies too deep to judge, answers
  // kMaxWordLength: pruning by it never hides a word or a damaged node
  // from the walk.
  int LongestBelow(uint32_t offset) const { return LongestBelow(offset, 0); }

  // ReadVocorNode, remembered per node offset: shared subtrees bring a walk
  // back to the same nodes many times, and each sound one is checked once
  // per open file. Single-threaded, like every reader of the file.
  bool CheckNode(uint32_t offset, VocorNode* node) const {
    // The common case, a node already judged sound, stays inline.
    if (offset % 4 == 0 && sound_ != nullptr && offset < image->size() &&
        (sound_.get()[offset / 256] >> (offset / 4 % 64) & 1) != 0) {
      node->offset = offset;
      node->word = LoadLE32(image->data() + offset);
      return true;
    }
    return JudgeNode(offset, node);
  }

 private:
  bool JudgeNode(uint32_t offset, VocorNode* node) const;
  int LongestBelow(uint32_t offset, int depth) const;
  // Reads the deferred scores; false, with damage noted and the section
  // dropped, when the file no longer has them.
  bool ReadDeferredScores() const;

  // One bit per 4-byte-aligned offset, where writers put nodes: set once
  // the node there has been found sound. Other offsets, and damaged nodes,
  // are checked every time they are met (a walk gives up at the first).
  // Allocated zeroed on first use. A bit rather than a byte keeps the set
  // of a large file within the cache that the walk's nodes compete for.
  mutable std::unique_ptr<uint64_t, FreeDeleter> sound_;
  // LongestBelow + 1 per 4-byte-aligned offset (255: that or more), 0 not
  // yet known. Allocated zeroed on first use.
  mutable std::unique_ptr<uint8_t, FreeDeleter> longest_;
  mutable bool damage_seen_ = false;

  mutable const unsigned char* scores_ = nullptr;
  uint32_t score_count_ = 0;
  // Scores still on disk: where, and the file's size when it was opened.
  mutable bool deferred_ = false;
  std::string path_;
  size_t deferred_offset_ = 0;
  size_t file_size_ = 0;
  mutable std::shared_ptr<const FileImage> score_image_;  // once read

  mutable std::unique_ptr<ScoreCounts> score_histogram_;

  mutable bool summaries_looked_for_ = false;
  mutable std::unique_ptr<VocorLetterSummaries> summaries_;

  mutable bool endings_looked_for_ = false;
  mutable std::unique_ptr<VocorWordEndings> endings_;
};

class WalkLiveStates;
class WalkRequiredLetters;

class CDictionaryVocorFile : public CDictionary {
 public:
  CDictionaryVocorFile();
  ~CDictionaryVocorFile() override;

  // Shares the open file with this dictionary, if it is open.
  std::unique_ptr<CDictionary> Clone() const override;
  bool LoadFromRegistry(int root, const char* key_path) override;
  bool SaveToRegistry(int root, const char* key_path) const override;
  const char* GetTypeName() const override { return "VocorFile"; }
  bool IsOpen() const override;
  // Reads the file at the path; fails on a file that cannot be read, holds
  // 2 GiB or more, or whose header is not valid. Returns true at once when
  // already open.
  bool Open() override;
  // Opens `image` as if it had been read from the path, which is left as
  // it is (for files already in memory, and for fuzzing). Fails, staying
  // closed, when already open, `image` is null or its header is not valid.
  bool OpenImage(std::shared_ptr<const FileImage> image);
  // Drops this object's reference to the file; clones and enumerators
  // keep theirs.
  void Close() override;

  // The header's values; "", 0 or empty while closed. The name stays
  // valid while this object holds the file.
  const char* GetName() const override;
  int GetWordCount() const override;
  int GetSize() const override;
  uint32_t GetLanguage() const override;
  std::string GetNotes() const override;
  // Whether the open file has a sound score section head (see the file
  // comment for damaged sections).
  bool HasScores() const override;
  // Whether any walk or lookup over the open file (by this dictionary's
  // enumerators, its clones' or their clones') met damage. False while
  // closed.
  bool DamageSeen() const;
  // In hundredths, for the details dialog.
  int GetDictionaryVersion() const;
  int GetFormatVersion() const;

  // A reader with pattern "*" and no letter constraint. While closed, a
  // reader that yields nothing.
  EnumPtr CreateEnumerator() const override;

  virtual const char* GetFileName() const { return text_.c_str(); }
  // Fails (and keeps the old path) while open. A null path stores "".
  bool SetFileName(const char* path);

 private:
  // OpenImage; scores that `image` does not hold are read from `path`.
  bool OpenContents(std::shared_ptr<const FileImage> image,
                    const std::string& path);

  std::shared_ptr<const VocorFileContents> file_;
};

// The reader runs its pattern as a PatternAutomaton over a depth-first
// walk of the letter tree: one frame per node of the current path, each
// with the automaton's state after the path's letters. A child is entered
// only when its letter leads to a live state and the letter constraint
// allows it; a node's own word is yielded when its state accepts, the
// constraint's minimum is met and the word reaches the score floor. Where
// the state allows one letter only, that child is found by search; where
// it allows none, the children are passed in one step.
//
// Words come out in the order of each node's entries, a word before its
// extensions, each once. Progress counts words exactly, skipped subtrees
// by their stored counts, so the position is the next word's number in
// walk order, which is also what numbers a word for its score.
//
// Shared subtrees. A pair (node, state) below which no word matched is
// remembered for the enumerator's lifetime (see WalkDeadPairs) and never
// entered again, so no subtree is walked in vain twice: a walk costs in
// the order of the (node, state) pairs it meets plus the paths of the
// words it yields, however many paths share a subtree. (A subtree found
// dead is passed wherever it is met again, even deeper than a damaged
// file's paths may go: such damage shows only where a walk enters it.)
// The memo holds only while what matches below a pair depends on nothing
// else: a letter constraint with a minimum part or a bounded maximum count
// counts the letters of the path, and a walk under one keeps no memo.
// Scores belong to words, and a shared node ends different words on
// different paths, so a word below the floor still makes its pair live.
// Pattern and Letters start a new memo.
//
// One unit of work is one step of the top frame: its own word, one child
// entered (passing the refused entries before it), or leaving it. Next
// decrements the counter once per unit and returns null (suspended) when
// it finds it at 0.
class WalkDeadPairs;

class CEnumResultsDictionaryVocorFile final : public CEnumResults {
 public:
  // Shares `file` (null: yields nothing). `pattern` (engine text) may be
  // null ("*"); copies it and `constraint`. Positioned at the first word.
  CEnumResultsDictionaryVocorFile(std::shared_ptr<const VocorFileContents> file,
                                  const char* pattern,
                                  const CLetterConstraint& constraint);
  ~CEnumResultsDictionaryVocorFile() override;

  EnumPtr Clone() const override;
  void Reset() override;
  std::string Describe(int indent) const override;
  // A lookup in the tree (the word is taken literally), then the pattern
  // and the constraint as built; never moves the walk.
  bool Contains(const char* word) const override;
  // Absorbs the pattern, keeping the more selective of the two and putting
  // the other in a pattern node above, as the pattern node does. Restarts
  // the walk.
  EnumPtr Pattern(EnumPtr self, const char* pattern) override;
  // Absorbs the constraint. Restarts the walk.
  EnumPtr Letters(EnumPtr self, const CLetterConstraint& constraint) override;
  // Absorbs the floor: words scoring below it are walked (and charged) as
  // before but not yielded. The empty enumerator for a floor above
  // kMaxScore, or above kDefaultScore on a file without scores.
  EnumPtr MinScore(EnumPtr self, int floor) override;
  const char* Next(int* counter) override;
  // For a reader with no pattern and no constraint: a walk that passes the
  // subtrees without survivors (dictionary/vocor_file_survivors.h). Null
  // otherwise, and for a mode outside 0 to 3.
  EnumPtr TransformSurvivors(int mode, int another_word) const override;
  // The score of the word Next returned last, from the score section.
  int Score() const override;
  // The file's score histogram (read once per open file), from the floor
  // up; pattern and letters are not taken into account.
  void CountScores(ScoreCounts* counts) const override;
  // Words passed so far, clamped to [0, GetExtent()].
  int GetPosition() const override;
  // The header's word count, or 1 when the file claims none (the empty
  // enumerator's scale: a progress bar never divides by zero).
  int GetExtent() const override;

  const std::string& pattern() const { return pattern_; }
  const CLetterConstraint& constraint() const { return constraint_; }

 private:
  struct Frame {
    uint32_t node;  // offset of the node, checked when pushed
    int state;      // the automaton's state after the path's letters
    int next;       // the entry to try next, or kWalkUnvisited
    int depth;      // the path's length: where the next letter goes
    // Words after the one child of a node searched for its letter, passed
    // when the frame is left.
    uint32_t after;
    // The position when the frame was pushed. Leaving the frame moves the
    // position to start + the node's words: a walk over a file without
    // scores passes refused children without reading their counts, and
    // makes up for them here (nobody asks for a word's number there).
    uint32_t start;
    unsigned char min_taken;  // letter whose minimum was used, '?' or 0
    unsigned char max_taken;  // letter whose maximum was used, '?' or 0
    bool matched;  // a word at or below the node matched, whatever its score
  };

  // A frame of the plain walk (no pattern, no constraint): a node and the
  // next entry to take, or kWalkUnvisited before its own word was seen.
  struct PlainFrame {
    uint32_t node;
    int next;
    int depth;
  };

  const char* data() const { return file_->image->data(); }
  size_t size() const { return file_->image->size(); }
  VocorNode NodeAt(uint32_t offset) const;

  // The automaton of pattern_, compiled on first use: a reader that walks
  // plainly and is never asked about a word never needs one.
  PatternAutomaton& Automaton() const;
  // Whether the letter constraint keeps no count along a path, so that a
  // (node, state) pair yields the same words on every path.
  bool ConstraintIsStateless() const;

  // Whether the word numbered `index` scores at least the floor.
  bool ReachesFloor(uint32_t index) const {
    return floor_ <= kMinScore || file_->ScoreAt(index) >= floor_;
  }
  // The words below the entries of `node` before `entry`. Reads the
  // children's node words, from whichever end is nearer.
  uint32_t WordsBeforeEntry(const VocorNode& node, int entry) const;
  // Accounts `letter` in the minimum part: the letter's own count if any
  // is left, else one of the extra letters ('?'). Returns what was taken,
  // 0 for nothing.
  unsigned char TakeMinimum(unsigned char letter);
  // Whether the word on the path uses every letter the minimum part asks
  // for (judged with all its letters taken).
  bool MinimumMet() const;

  // The walk for a reader that absorbed no pattern and no constraint, the
  // root of every query that filters words itself (palindromes, text-like
  // scans): the same words in the same order, one unit of work per node
  // entered or left.
  const char* NextPlain(int* counter);

  // One unit of work on the top frame; returns a word when one is found.
  const char* Step();
  // The word JudgeLeaf left in word_, if any; clears the flag.
  const char* TakeLeafWord() {
    if (!leaf_word_ready_) return nullptr;
    leaf_word_ready_ = false;
    return word_;
  }
  // The top frame's own word, when it is to be yielded; counts it passed.
  const char* VisitOwnWord(Frame& top, uint32_t node_word);
  // Enters the one child whose letter the top frame's state allows, found
  // by search; passes the other children's words.
  void StepToOnlyChild(unsigned char letter);
  // Tries to enter child `entry` (the packed entry) of the top frame.
  // Returns false when the child is refused (its words are passed); true
  // when it was pushed, or the walk ended on damage (GiveUp).
  bool Enter(uint32_t entry);
  // Enter for a child below which no letter can follow, when the letter
  // leaves nothing to give back: only the child's own word can match, and
  // it is judged without entering the child (whose own entries are never
  // read, so are not checked). Sets leaf_word_ready_ when it matches.
  void JudgeLeaf(uint32_t child, unsigned char letter, int state);
  // Leaves the top frame: passes the words after its searched child, gives
  // back its letters and remembers a pair below which nothing matched.
  void Pop();
  // Ends the walk for good: the tree is damaged beyond the current path.
  void GiveUp();
  // Whether a word below `child`, reached in `state`, can match (true when
  // no live states are kept for this pattern).
  // Whether the child at `child`, with `child_words` words at and below
  // it, entered on `letter` in `state`, may lead to a match.
  bool MayMatchBelow(uint32_t child, uint32_t child_words,
                     unsigned char letter, int state);
  // The summary bits of the letters the constraint still needs below a
  // child entered on `letter`.
  uint32_t LettersTheConstraintNeeds(unsigned char letter) const;
  // Sets required_ and summaries_ when the file has summaries and the
  // pattern needs letters.
  void PrepareLetterSummaries();
  // The file's summaries, checked on first use; null when it has none.
  const VocorLetterSummaries* Summaries() const;

  std::shared_ptr<const VocorFileContents> file_;
  std::string pattern_;
  // Runs pattern_ (see Automaton); mutable because Contains may compile it
  // and its cache grows as it is used.
  mutable std::unique_ptr<PatternAutomaton> automaton_;
  CLetterConstraint constraint_;  // as built: for Contains, Clone, Describe
  CLetterConstraint working_;     // counts of the walk in progress
  int floor_ = kMinScore;         // words scoring below are not yielded
  uint32_t last_index_ = 0;       // the number of the word yielded last

  // Words passed so far in walk order: the next word's number.
  int64_t position_ = 0;
  std::vector<Frame> stack_;
  bool plain_ = false;  // walk with plain_stack_ instead of stack_
  std::vector<PlainFrame> plain_stack_;
  // Pairs below which nothing matches, for this pattern and constraint;
  // null when the constraint keeps counts, or before the first is found.
  std::unique_ptr<WalkDeadPairs> dead_;
  bool remember_dead_ = false;
  // For a pattern with a star and a small automaton: the states that lead
  // to a match below each node, so the walk enters no subtree in vain.
  // Made at the first walk after the pattern changes; null when the
  // automaton is too large, or the pattern has no star (a walk bounded by
  // the pattern's length never reaches most of the tree anyway).
  std::unique_ptr<WalkLiveStates> live_;
  bool live_tried_ = false;
  // For a file with letter summaries and a pattern that needs letters: the
  // letters each state needs, so the walk passes over nodes without them.
  // Made with live_.
  std::unique_ptr<WalkRequiredLetters> required_;
  // The letters the constraint's minimum names (blanks aside), each once.
  std::vector<unsigned char> needed_letters_;
  // The file's summaries, once a pattern or a minimum needs letters; null
  // before, and for a file without them.
  const VocorLetterSummaries* summaries_ = nullptr;
  bool leaf_word_ready_ = false;
  char word_[kWordBufferSize];
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_FILE_DICTIONARY_H_
