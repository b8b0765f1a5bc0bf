// The walk of the binary dictionary reader: a depth-first descent of the
// letter tree that tests the pushed-down pattern and letter constraint as
// it goes, one unit of work per step, so that it can stop at any step and
// resume there.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_plain_walk.h"
#include "dictionary/vocor_walk_states.h"
#include "engine/pattern.h"

namespace vocor {

bool VocorFileContents::JudgeNode(uint32_t offset, VocorNode* node) const {
  const char* data = image->data();
  const size_t size = image->size();
  if (offset % 4 != 0) return ReadVocorNode(data, size, offset, node);
  if (verdicts_ == nullptr) {
    verdicts_.reset(static_cast<uint8_t*>(std::calloc(size / 4 + 1, 1)));
    if (verdicts_ == nullptr) return ReadVocorNode(data, size, offset, node);
  }
  if (offset >= size) return false;
  uint8_t& verdict = verdicts_.get()[offset / 4];
  if (verdict == kUnknown) {
    verdict = ReadVocorNode(data, size, offset, node) ? kSound : kDamaged;
    return verdict == kSound;
  }
  if (verdict == kDamaged) return false;
  node->offset = offset;
  node->word = LoadLE32(data + offset);
  return true;
}

void VocorFileContents::UseScores(const char* scores, uint32_t count) {
  scores_ = reinterpret_cast<const unsigned char*>(scores);
  score_count_ = count;
}

void VocorFileContents::DeferScores(std::string path, size_t offset,
                                    uint32_t count, size_t file_size) {
  deferred_ = true;
  path_ = std::move(path);
  deferred_offset_ = offset;
  score_count_ = count;
  file_size_ = file_size;
}

bool VocorFileContents::ReadDeferredScores() const {
  deferred_ = false;  // one try, whatever comes of it
  score_image_ =
      FileImage::ReadPart(path_, deferred_offset_, score_count_, file_size_);
  if (score_image_ == nullptr) {
    NoteDamage();
    return false;
  }
  scores_ = reinterpret_cast<const unsigned char*>(score_image_->data());
  return true;
}

const ScoreCounts& VocorFileContents::ScoreHistogram() const {
  if (score_histogram_ != nullptr) return *score_histogram_;
  auto histogram = std::make_unique<ScoreCounts>();
  histogram->fill(0);
  if (scores_ == nullptr && (!deferred_ || !ReadDeferredScores())) {
    (*histogram)[kDefaultScore] = std::max(header.word_count, 0);
  } else {
    for (uint32_t i = 0; i < score_count_; ++i) {
      // Damaged scores count where ScoreAt puts them.
      const int score = IsValidScore(scores_[i]) ? scores_[i] : kDefaultScore;
      if (score != scores_[i]) NoteDamage();
      ++(*histogram)[score];
    }
  }
  score_histogram_ = std::move(histogram);
  return *score_histogram_;
}

const char* CEnumResultsDictionaryVocorFile::NextPlain(int* counter) {
  if (plain_stack_.empty()) return nullptr;  // also when there is no file
  return RunPlainWalk(
      *file_, plain_stack_, word_, position_, counter,
      [this](uint32_t index, int) {
        if (!ReachesFloor(index)) return false;
        last_index_ = index;
        return true;
      },
      [](uint32_t, int) { return false; }, [this] { GiveUp(); });
}

// ---- The walk ----

VocorNode CEnumResultsDictionaryVocorFile::NodeAt(uint32_t offset) const {
  VocorNode node;
  node.offset = offset;
  node.word = LoadLE32(data() + offset);
  return node;
}

void CEnumResultsDictionaryVocorFile::Push(const Frame& frame) {
  stack_.push_back(frame);
}

void CEnumResultsDictionaryVocorFile::Pop() {
  const Frame& top = stack_.back();
  if (top.min_taken != 0) ++working_.minCount[top.min_taken];
  working_.GiveBack(top.max_taken);
  stack_.pop_back();
  if (numbered_) numbers_.pop_back();
}

void CEnumResultsDictionaryVocorFile::GiveUp() {
  file_->NoteDamage();
  stack_.clear();
  numbers_.clear();
  plain_stack_.clear();
  working_ = constraint_;
}

void CEnumResultsDictionaryVocorFile::Add(uint32_t words) {
  if (star_depth_ >= kWalkWeightedStarDepth || words == 0) return;
  // Outside every '*' a word weighs exactly one: no arithmetic needed.
  if (star_depth_ == 0) {
    position_ += words;
    return;
  }
  fraction_ += words;
  const double whole = std::floor(fraction_ * scale_);
  if (whole < 1.0) return;
  position_ += static_cast<int64_t>(whole);
  // Rounding may leave a hair below zero; a negative remainder would make
  // a later step move the position backwards.
  fraction_ = std::max(0.0, fraction_ - whole / scale_);
}

bool CEnumResultsDictionaryVocorFile::Descend(size_t parent, int entry,
                                              bool advance_pattern) {
  return numbered_ ? DescendTo<true>(parent, entry, advance_pattern)
                   : DescendTo<false>(parent, entry, advance_pattern);
}

template <bool kNumbered>
bool CEnumResultsDictionaryVocorFile::DescendTo(size_t parent, int entry,
                                                bool advance_pattern) {
  const Frame from = stack_[parent];
  const uint32_t packed = VocorEntry(data(), NodeAt(from.node), entry);
  const unsigned char letter = EntryLetter(packed);
  const uint32_t child = EntryChildOffset(packed);
  // The parent's check covered its children's node words.
  const uint32_t child_word = LoadLE32(data() + child);
  const uint32_t child_words = NodeAllCount(child_word);
  uint32_t child_index = 0;
  if constexpr (kNumbered) {
    child_index = numbers_[parent].child_index;
    numbers_[parent].child_index += child_words;
  }
  // A subtree without words has nothing to find or to count.
  if (child_words == 0) return true;
  // Letters that a letter-count text does not count (a NUL in a damaged
  // file, digits, spaces) are invisible to the constraint, as in Accepts.
  const bool counted = letter != 0 && IsCountedCharacter(letter);
  const int max_taken = counted && working_.hasMax
                            ? working_.TakeLetter(static_cast<char>(letter))
                            : 0;
  if (letter == 0 || max_taken < 0) {
    Add(child_words);
    return false;
  }
  VocorNode checked;
  if (from.word_pos >= static_cast<size_t>(kMaxWordLength) ||
      !file_->CheckNode(child, &checked)) {
    GiveUp();  // restores every count, the letter just taken included
    return false;
  }
  const unsigned char min_taken = counted ? TakeMinimum(letter) : 0;
  word_[from.word_pos] = static_cast<char>(letter);
  Push(Frame{child, kWalkUnvisited,
             from.pattern_pos + (advance_pattern ? 1 : 0), from.word_pos + 1,
             min_taken, static_cast<unsigned char>(max_taken)});
  if constexpr (kNumbered) NumberTop(child_index, child_word);
  return true;
}

uint32_t CEnumResultsDictionaryVocorFile::WordsBeforeEntry(
    const VocorNode& node, int entry) const {
  const auto child_words = [this, &node](int i) {
    return NodeAllCount(
        LoadLE32(data() + EntryChildOffset(VocorEntry(data(), node, i))));
  };
  const int n = node.entry_count();
  uint32_t sum = 0;
  if (entry <= n / 2) {
    for (int i = 0; i < entry; ++i) sum += child_words(i);
    return sum;
  }
  // The node passed ReadVocorNode: its below-count is its children's sum.
  for (int i = entry; i < n; ++i) sum += child_words(i);
  return NodeBelowCount(node.word) - sum;
}

unsigned char CEnumResultsDictionaryVocorFile::TakeMinimum(
    unsigned char letter) {
  // A '?' in a word is no letter toward the required ones, as in Accepts.
  if (!working_.hasMin || letter == kBlank) return 0;
  unsigned char taken = 0;
  if (working_.minCount[letter] >= 1) {
    taken = letter;
  } else if (working_.minCount[kBlank] >= 1) {
    taken = kBlank;  // counts as one of the extra letters required
  }
  if (taken != 0) --working_.minCount[taken];
  return taken;
}

bool CEnumResultsDictionaryVocorFile::MinimumMet() const {
  return !working_.hasMin ||
         std::all_of(working_.minCount, working_.minCount + kLetterTableSize,
                     [](int n) { return n == 0; });
}

const char* CEnumResultsDictionaryVocorFile::Step() {
  const size_t top = stack_.size() - 1;
  // pattern_[size()] is the terminating NUL.
  const auto ch = static_cast<unsigned char>(pattern_[stack_[top].pattern_pos]);
  switch (ch) {
    case '\0':
      return StepPatternEnd(top);
    case '*':
      if (pattern_[stack_[top].pattern_pos + 1] == '\0') {
        return StepTailStar(top);
      }
      StepStar(top);
      return nullptr;
    case '?':
      StepQuestion(top);
      return nullptr;
    default:
      StepLiteral(top, ch);
      return nullptr;
  }
}

const char* CEnumResultsDictionaryVocorFile::StepPatternEnd(size_t top) {
  const Frame frame = stack_[top];
  const VocorNode node = NodeAt(frame.node);
  Add(node.all());
  // Judged before Pop gives the last letter back.
  const bool accepted = node.terminal() && MinimumMet();
  if (accepted && numbered_) last_index_ = numbers_[top].index;
  Pop();
  if (!accepted) return nullptr;
  word_[frame.word_pos] = '\0';
  return word_;
}

void CEnumResultsDictionaryVocorFile::StepStar(size_t top) {
  const Frame frame = stack_[top];
  const int n = NodeAt(frame.node).entry_count();
  if (frame.state == kWalkUnvisited) {
    // The node is walked n + 1 ways: the empty match, then once per child.
    // Each way gets its share of a word's weight until the '*' is done.
    ++star_depth_;
    if (star_depth_ < kWalkWeightedStarDepth) {
      scale_ /= n + 1;
      fraction_ *= n + 1;
    }
    stack_[top].state = kWalkEmptyMatchTried;
    Push(Frame{frame.node, kWalkUnvisited, frame.pattern_pos + 1,
               frame.word_pos, 0, 0});
    if (numbered_) NumberTop(numbers_[top].index, NodeAt(frame.node).word);
    return;
  }
  int next = frame.state;
  if (next == kWalkEmptyMatchTried) {
    if (n > 0 && star_depth_ < kWalkWeightedStarDepth) {
      scale_ *= n;
      fraction_ /= n;
    }
    next = 0;
  }
  if (next < n) {
    stack_[top].state = next + 1;
    if (frame.pattern_pos == literal_tail_star_) {
      const uint32_t child =
          EntryChildOffset(VocorEntry(data(), NodeAt(frame.node), next));
      if (!TailLiveBelow(child, static_cast<int>(frame.word_pos) + 1)) {
        const uint32_t child_words = NodeAllCount(LoadLE32(data() + child));
        Add(child_words);
        if (numbered_) numbers_[top].child_index += child_words;
        return;
      }
    }
    Descend(top, next, false);
    return;
  }
  if (n > 0 && star_depth_ < kWalkWeightedStarDepth) {
    const double restore = (n + 1.0) / n;
    scale_ *= restore;
    fraction_ /= restore;
  }
  --star_depth_;
  if (star_depth_ == 0) {
    // Back outside every '*': drop the rounding left by the weights.
    scale_ = 1.0;
    fraction_ = 0.0;
  }
  Pop();
}

bool CEnumResultsDictionaryVocorFile::EndsWithTail(
    const VocorNode& start) const {
  VocorNode node = start;
  for (size_t p = literal_tail_star_ + 1; p < pattern_.size(); ++p) {
    const auto letter = static_cast<unsigned char>(pattern_[p]);
    const int i = FindVocorEntry(data(), node, letter);
    if (i < 0) return false;
    const uint32_t child = EntryChildOffset(VocorEntry(data(), node, i));
    if (!file_->CheckNode(child, &node)) return true;  // let the walk see it
  }
  return node.terminal();
}

bool CEnumResultsDictionaryVocorFile::TailLiveBelow(uint32_t offset,
                                                    int depth) {
  VocorNode node;
  if (offset % 4 != 0 || depth > kMaxWordLength ||
      !file_->CheckNode(offset, &node)) {
    return true;
  }
  if (tail_live_ == nullptr) {
    tail_live_.reset(
        static_cast<uint8_t*>(std::calloc(size() / 4 + 1, sizeof(uint8_t))));
    if (tail_live_ == nullptr) return true;
  }
  uint8_t& memo = tail_live_.get()[offset / 4];
  if (memo != 0) return memo == 1;
  // Checked nodes whose counts add up cannot lead back to themselves, and
  // the depth bound ends every path, so the recursion ends; each node is
  // judged once for the whole walk, however many paths share it.
  bool live = EndsWithTail(node);
  for (int i = 0; !live && i < node.entry_count(); ++i) {
    const uint32_t entry = VocorEntry(data(), node, i);
    const uint32_t child = EntryChildOffset(entry);
    if (EntryLetter(entry) == 0 ||
        NodeAllCount(LoadLE32(data() + child)) == 0) {
      continue;
    }
    live = TailLiveBelow(child, depth + 1);
  }
  memo = live ? 1 : 2;
  return live;
}

const char* CEnumResultsDictionaryVocorFile::StepTailStar(size_t top) {
  // Same words in the same order as the general '*' step (the empty match
  // comes first, then each child), in one frame per node instead of two.
  // Progress counts each word as it is passed, so it is exact here.
  const Frame frame = stack_[top];
  const VocorNode node = NodeAt(frame.node);
  if (frame.state == kWalkUnvisited) {
    stack_[top].state = 0;
    if (!node.terminal()) return nullptr;
    Add(1);
    if (!MinimumMet()) return nullptr;
    if (numbered_) last_index_ = numbers_[top].index;
    word_[frame.word_pos] = '\0';
    return word_;
  }
  if (frame.state < node.entry_count()) {
    stack_[top].state = frame.state + 1;
    Descend(top, frame.state, false);
    return nullptr;
  }
  Pop();
  return nullptr;
}

void CEnumResultsDictionaryVocorFile::StepQuestion(size_t top) {
  const Frame frame = stack_[top];
  const VocorNode node = NodeAt(frame.node);
  if (frame.state == kWalkUnvisited) {
    stack_[top].state = 0;
    // A word ending here is one letter short of the pattern.
    if (node.terminal()) Add(1);
  } else if (frame.state < node.entry_count()) {
    stack_[top].state = frame.state + 1;
    Descend(top, frame.state, true);
  } else {
    Pop();
  }
}

void CEnumResultsDictionaryVocorFile::StepLiteral(size_t top,
                                                  unsigned char letter) {
  const Frame frame = stack_[top];
  if (frame.state != kWalkUnvisited) {
    Pop();  // the one matching child has been walked or refused
    return;
  }
  const VocorNode node = NodeAt(frame.node);
  const int i = FindVocorEntry(data(), node, letter);
  if (i < 0) {
    stack_[top].state = kWalkNoSuchLetter;
    Add(node.all());
    Pop();
    return;
  }
  stack_[top].state = i;
  // Numbering the child's words needs the words of the entries before it;
  // without scores nobody asks for a number, and the literal step stays
  // one search of the entries.
  if (numbered_) numbers_[top].child_index += WordsBeforeEntry(node, i);
  const uint32_t child = EntryChildOffset(VocorEntry(data(), node, i));
  const uint32_t child_words = NodeAllCount(LoadLE32(data() + child));
  // Everything under this node outside the chosen child is passed.
  if (Descend(top, i, true)) Add(node.all() - child_words);
}

}  // namespace vocor
