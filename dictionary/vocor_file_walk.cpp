// The walk of the binary dictionary reader: a depth-first descent of the
// letter tree that tests the pushed-down pattern and letter constraint as
// it goes, one unit of work per step, so that it can stop at any step and
// resume there.
#include <algorithm>
#include <cstdlib>

#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_live_states.h"
#include "dictionary/vocor_plain_walk.h"
#include "dictionary/vocor_required_letters.h"
#include "dictionary/vocor_walk_states.h"

namespace vocor {

bool VocorFileContents::JudgeNode(uint32_t offset, VocorNode* node) const {
  const char* data = image->data();
  const size_t size = image->size();
  if (offset % 4 != 0 || offset >= size) {
    return ReadVocorNode(data, size, offset, node);
  }
  if (sound_ == nullptr) {
    sound_.reset(
        static_cast<uint64_t*>(std::calloc(size / 256 + 1, sizeof(uint64_t))));
  }
  if (!ReadVocorNode(data, size, offset, node)) return false;
  if (sound_ != nullptr) {
    sound_.get()[offset / 256] |= uint64_t{1} << (offset / 4 % 64);
  }
  return true;
}

int VocorFileContents::LongestBelow(uint32_t offset, int depth) const {
  VocorNode node;
  if (offset % 4 != 0 || depth > kMaxWordLength || !CheckNode(offset, &node)) {
    return kMaxWordLength;
  }
  if (longest_ == nullptr) {
    longest_.reset(
        static_cast<uint8_t*>(std::calloc(image->size() / 4 + 1, 1)));
    if (longest_ == nullptr) return kMaxWordLength;
  }
  if (const uint8_t known = longest_.get()[offset / 4]; known != 0) {
    return known == 255 ? kMaxWordLength : known - 1;
  }
  // Checked nodes whose counts add up cannot lead back to themselves, and
  // the depth bound ends every path, so the recursion ends; each node is
  // judged once per open file, however many paths share it.
  int longest = 0;
  const char* data = image->data();
  for (int i = 0; i < node.entry_count(); ++i) {
    const uint32_t entry = VocorEntry(data, node, i);
    const uint32_t child = EntryChildOffset(entry);
    if (EntryLetter(entry) == 0 || NodeAllCount(LoadLE32(data + child)) == 0) {
      continue;
    }
    longest = std::max(longest, 1 + LongestBelow(child, depth + 1));
  }
  longest = std::min(longest, kMaxWordLength);
  longest_.get()[offset / 4] =
      static_cast<uint8_t>(longest >= 254 ? 255 : longest + 1);
  return longest;
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

const VocorLetterSummaries* VocorFileContents::LetterSummaries() const {
  if (!summaries_looked_for_) {
    summaries_looked_for_ = true;
    if (VocorLetterSummaries::Locate(image->data(), image->size(), &summaries_,
                                     nullptr) ==
        VocorLetterSummaries::Status::kDamaged) {
      NoteDamage();
    }
  }
  return summaries_.get();
}

const VocorWordEndings* VocorFileContents::WordEndings() const {
  if (!endings_looked_for_) {
    endings_looked_for_ = true;
    if (VocorWordEndings::Locate(image->data(), image->size(), &endings_,
                                 nullptr) ==
        VocorWordEndings::Status::kDamaged) {
      NoteDamage();
    }
  }
  return endings_.get();
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

const char* CEnumResultsDictionaryVocorFile::Step() {
  Frame& top = stack_.back();
  const uint32_t node_word = LoadLE32(data() + top.node);
  if (top.next == kWalkUnvisited) {
    top.next = 0;
    if (const char* word = VisitOwnWord(top, node_word)) return word;
  }
  if (!automaton_->CanContinue(top.state)) {
    // No letter can follow: the words below are passed in one step.
    position_ += NodeBelowCount(node_word);
    Pop();
    return nullptr;
  }
  if (top.next == 0) {
    const int only = automaton_->OnlyByte(top.state);
    if (only >= 0) {
      StepToOnlyChild(static_cast<unsigned char>(only));
      return TakeLeafWord();
    }
  }
  // The node passed CheckNode when it was entered: its entries and its
  // children's node words lie inside the file.
  const int n = NodeEntryCount(node_word);
  const char* entries = data() + top.node + kVocorNodeWordSize;
  while (stack_.back().next < n) {
    const int i = stack_.back().next++;
    if (Enter(LoadLE32(entries + kVocorEntrySize * static_cast<size_t>(i)))) {
      return nullptr;
    }
    if (const char* word = TakeLeafWord()) return word;
  }
  Pop();
  return nullptr;
}

const char* CEnumResultsDictionaryVocorFile::VisitOwnWord(Frame& top,
                                                          uint32_t node_word) {
  if (!NodeIsTerminal(node_word)) return nullptr;
  // Every word is counted as it is passed, every skipped subtree by its
  // count: the position is the word's number in walk order.
  const auto index = static_cast<uint32_t>(position_++);
  if (!automaton_->IsAccepting(top.state) || !MinimumMet()) return nullptr;
  // Scores belong to words, not to nodes: a shared node has other words
  // above it on other paths, so a pair is live if a word below matches,
  // whatever it scores.
  top.matched = true;
  if (!ReachesFloor(index)) return nullptr;
  last_index_ = index;
  word_[top.depth] = '\0';
  return word_;
}

void CEnumResultsDictionaryVocorFile::StepToOnlyChild(unsigned char letter) {
  Frame& top = stack_.back();
  const VocorNode node = NodeAt(top.node);
  const int n = node.entry_count();
  top.next = n;  // whatever comes of the search, no other entry is tried
  const int i = FindVocorEntry(data(), node, letter);
  if (i < 0) {
    position_ += NodeBelowCount(node.word);
  } else {
    const uint32_t entry = VocorEntry(data(), node, i);
    const uint32_t before = WordsBeforeEntry(node, i);
    const uint32_t child_words =
        NodeAllCount(LoadLE32(data() + EntryChildOffset(entry)));
    position_ += before;
    top.after = NodeBelowCount(node.word) - before - child_words;
    if (Enter(entry)) return;
  }
  Pop();
}

bool CEnumResultsDictionaryVocorFile::Enter(uint32_t entry) {
  const Frame& from = stack_.back();
  const unsigned char letter = EntryLetter(entry);
  const uint32_t child = EntryChildOffset(entry);
  // Below a state that accepts every continuation the state stays what it
  // is: the subtree is taken whole, without asking the automaton. A NUL
  // letter never matches.
  int state = from.state;
  if (letter == 0) {
    state = PatternAutomaton::kDead;
  } else if (!automaton_->AcceptsEverything(state)) {
    state = automaton_->Step(state, letter);
  }
  // Without scores no word's number is asked for: the refused child's words
  // are made up for when the frame is left, and its node is never read.
  if (state == PatternAutomaton::kDead && !file_->has_scores()) return false;
  // A letter that ends every match, without a constraint to count it: the
  // child's own word is all there is to judge, and reading it costs less
  // than asking whether the pair is dead or live.
  if (state != PatternAutomaton::kDead && !automaton_->CanContinue(state) &&
      !working_.HasAnyPart() && from.depth < kMaxWordLength) {
    JudgeLeaf(child, letter, state);
    return false;
  }
  const uint32_t child_words = NodeAllCount(LoadLE32(data() + child));
  // A subtree without words has nothing to find or to count.
  if (child_words == 0) return false;
  // A pattern whose states multiply (a piece after a star starts a new
  // place at every letter) is held to the places that can still end within
  // the longest word below; cheap patterns never pay for the lengths.
  if (state != PatternAutomaton::kDead &&
      automaton_->state_count() > kWalkRestrictStates &&
      !automaton_->AcceptsEverything(state)) {
    state = automaton_->Restrict(state, file_->LongestBelow(child));
  }
  if (state == PatternAutomaton::kDead ||
      (dead_ != nullptr && dead_->Contains(child, state)) ||
      !MayMatchBelow(child, child_words, letter, state)) {
    position_ += child_words;
    return false;
  }
  // Letters that a letter-count text does not count (digits, spaces) are
  // invisible to the constraint, as in Accepts.
  const bool counted = working_.HasAnyPart() && IsCountedCharacter(letter);
  const int max_taken = counted && working_.hasMax
                            ? working_.TakeLetter(static_cast<char>(letter))
                            : 0;
  if (max_taken < 0) {
    position_ += child_words;
    return false;
  }
  if (!automaton_->CanContinue(state) && max_taken == 0 && !working_.hasMin &&
      from.depth < kMaxWordLength) {
    JudgeLeaf(child, letter, state);
    return false;
  }
  VocorNode checked;
  if (from.depth >= kMaxWordLength || !file_->CheckNode(child, &checked)) {
    GiveUp();  // restores every count, the letter just taken included
    return true;
  }
  const unsigned char min_taken = counted ? TakeMinimum(letter) : 0;
  word_[from.depth] = static_cast<char>(letter);
  stack_.push_back(Frame{child, state, kWalkUnvisited, from.depth + 1, 0,
                         static_cast<uint32_t>(position_), min_taken,
                         static_cast<unsigned char>(max_taken), false});
  return true;
}

void CEnumResultsDictionaryVocorFile::JudgeLeaf(uint32_t child,
                                                unsigned char letter,
                                                int state) {
  // The parent's check covered its children's node words.
  const uint32_t child_word = LoadLE32(data() + child);
  // The child's own word comes first among its words.
  const auto index = static_cast<uint32_t>(position_);
  position_ += NodeAllCount(child_word);
  if (!NodeIsTerminal(child_word) || !automaton_->IsAccepting(state)) return;
  Frame& from = stack_.back();
  from.matched = true;
  if (!ReachesFloor(index)) return;
  last_index_ = index;
  word_[from.depth] = static_cast<char>(letter);
  word_[from.depth + 1] = '\0';
  leaf_word_ready_ = true;
}

void CEnumResultsDictionaryVocorFile::Pop() {
  const Frame top = stack_.back();
  stack_.pop_back();
  position_ = std::max<int64_t>(
      position_ + top.after,
      int64_t{top.start} + NodeAllCount(LoadLE32(data() + top.node)));
  if (top.min_taken != 0) ++working_.minCount[top.min_taken];
  if (top.max_taken != 0) working_.GiveBack(top.max_taken);
  if (top.matched) {
    if (!stack_.empty()) stack_.back().matched = true;
  } else if (remember_dead_) {
    if (dead_ == nullptr) dead_ = std::make_unique<WalkDeadPairs>(size());
    dead_->Insert(top.node, top.state);
  }
}

bool CEnumResultsDictionaryVocorFile::MayMatchBelow(uint32_t child,
                                                    uint32_t child_words,
                                                    unsigned char letter,
                                                    int state) {
  if (summaries_ != nullptr && child_words >= kSummaryWorthAsking) {
    uint32_t required = LettersTheConstraintNeeds(letter);
    if (required_ != nullptr) required |= required_->Of(state);
    if ((required & ~summaries_->LettersBelow(child)) != 0) return false;
  }
  // Below a state that takes everything, every subtree with words matches.
  if (automaton_->AcceptsEverything(state)) return true;
  return live_ == nullptr || live_->Live(child, state);
}

uint32_t CEnumResultsDictionaryVocorFile::LettersTheConstraintNeeds(
    unsigned char letter) const {
  uint32_t bits = 0;
  for (const unsigned char needed : needed_letters_) {
    if (working_.minCount[needed] > 0) bits |= LetterSummaryBit(needed);
  }
  // The letter on the way in may be one of them: it is taken after this
  // question, so its bit claims nothing.
  return bits & ~LetterSummaryBit(letter);
}

void CEnumResultsDictionaryVocorFile::GiveUp() {
  file_->NoteDamage();
  stack_.clear();
  plain_stack_.clear();
  working_ = constraint_;
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

}  // namespace vocor
