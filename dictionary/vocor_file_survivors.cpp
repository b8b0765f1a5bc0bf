#include "dictionary/vocor_file_survivors.h"

#include <algorithm>
#include <cstdlib>

#include "dictionary/vocor_plain_walk.h"
#include "dictionary/vocor_walk_states.h"
#include "engine/palindrome.h"

namespace vocor {
namespace {

constexpr uint8_t kUnjudged = 0;
constexpr uint8_t kSound = 1;
constexpr uint8_t kUnsound = 2;

// Heights a judgement can hold.
constexpr int kHeightLimit = 63;

// The bit that stands for `letter` among a judgement's last letters;
// letters share bits, so a set bit only says that one of them may be there.
uint32_t LastLetterBit(unsigned char letter) {
  return uint32_t{1} << (letter % 24);
}

// Where a lookup stands when it has no node: not asked yet, met damage
// (the reader's Contains notes it), or found no such letter. Node offsets
// lie below all three.
constexpr uint32_t kNotLookedUp = 0xffffffff;
constexpr uint32_t kNoNode = 0xfffffffe;
constexpr uint32_t kDamagedLookup = 0xfffffffd;

}  // namespace

CEnumResultsVocorFileSurvivors::CEnumResultsVocorFileSurvivors(
    std::shared_ptr<const VocorFileContents> file, int floor, int mode,
    int another_word)
    : file_(std::move(file)),
      floor_(floor),
      mode_(mode),
      another_word_(another_word != 0),
      reversed_(ReversesOrder(mode)) {
  for (int c = 1; c < 256; ++c) {
    images_[c] = LetterImage(mode, static_cast<unsigned char>(c));
    if (images_[c] == 0) has_unimaged_letters_ = true;
  }
  if (reversed_) endings_ = file_->WordEndings();
  may_pass_ = !another_word_ || has_unimaged_letters_ || endings_ != nullptr;
  stack_.reserve(kWalkReservedFrames);
  Reset();
}

CEnumResultsVocorFileSurvivors::~CEnumResultsVocorFileSurvivors() = default;

EnumPtr CEnumResultsVocorFileSurvivors::Clone() const {
  return std::make_unique<CEnumResultsVocorFileSurvivors>(file_, floor_, mode_,
                                                          another_word_);
}

void CEnumResultsVocorFileSurvivors::Reset() {
  position_ = 0;
  stack_.clear();
  word_[0] = '\0';
  const uint32_t root = file_->header.root_offset;
  VocorNode node;
  if (!ReadVocorNode(data(), file_->image->size(), root, &node)) {
    file_->NoteDamage();
    return;
  }
  stack_.push_back(Frame{root, kWalkUnvisited, 0});
}

std::string CEnumResultsVocorFileSurvivors::Describe(int indent) const {
  return DescribeIndent(indent) + "DictionaryVocorFileSurvivors(\"" +
         file_->header.name + "\"," + std::to_string(mode_) + "," +
         std::to_string(another_word_ ? 1 : 0) + ")\n";
}

const char* CEnumResultsVocorFileSurvivors::Next(int* counter) {
  return RunPlainWalk(
      *file_, stack_, word_, position_, counter,
      [this](uint32_t index, int depth) {
        if (!ReachesFloor(index) || !Survives(depth)) return false;
        last_index_ = index;
        return true;
      },
      [this](uint32_t child, int depth) {
        return may_pass_ && Passable(child, depth);
      },
      [this] { GiveUp(); });
}

bool CEnumResultsVocorFileSurvivors::Survives(int length) const {
  if (!another_word_) return ReadsAsItselfFrom(0, length);
  return ImageIsWord(length);
}

bool CEnumResultsVocorFileSurvivors::Passable(uint32_t child, int depth) {
  const auto letter = static_cast<unsigned char>(word_[depth - 1]);
  const unsigned char image = images_[letter];
  // A survivor's image is a word, which ends in the image of the path.
  const bool ends_no_word = image != 0 && ImageEndsNoWord(depth);
  // Same word, reversing: whether to pass depends on what lies below.
  const bool mirror = image != 0 && !another_word_ && reversed_;
  // Another word, or the order kept: the letter alone decides.
  if (!ends_no_word && !mirror && image != 0 &&
      (another_word_ || image == letter)) {
    return false;
  }
  Judgement judgement = Remembered(child);
  if (judgement.state == kUnjudged) judgement = Judge(child, 0);
  if (judgement.state != kSound ||
      depth + static_cast<int>(judgement.height) > kMaxWordLength) {
    return false;
  }
  return ends_no_word || !mirror || !MayHoldMirror(judgement, child, depth);
}

bool CEnumResultsVocorFileSurvivors::ImageEndsNoWord(int depth) const {
  // Reversing, the image of a word of the path's subtree ends in the
  // images of the path's letters, last letter first.
  if (endings_ == nullptr || !endings_->Covers(depth)) return false;
  unsigned char ending[kVocorEndingsLongestAccepted];
  for (int i = 0; i < depth; ++i) {
    ending[i] = images_[static_cast<unsigned char>(word_[depth - 1 - i])];
    if (ending[i] == 0) return false;
  }
  return !endings_->MayEndAWord(ending, depth);
}

bool CEnumResultsVocorFileSurvivors::MayHoldMirror(const Judgement& judgement,
                                                   uint32_t node, int length) {
  // A word more than `length` letters longer than the path ends in the
  // image of the path, somewhere below: possible while such words exist.
  const int height = judgement.height;
  const unsigned char last = images_[static_cast<unsigned char>(word_[0])];
  if (height > length && (judgement.last_letters & LastLetterBit(last)) != 0) {
    return true;
  }
  // Shorter: the path and the suffix length fix the word.
  for (int suffix = 0; suffix <= std::min(height, length); ++suffix) {
    if (ReadsAsItselfFrom(suffix, length) && ImageOfHeadBelow(node, suffix)) {
      return true;
    }
  }
  return false;
}

bool CEnumResultsVocorFileSurvivors::ReadsAsItselfFrom(int from,
                                                       int length) const {
  for (int i = from; i < length; ++i) {
    const int j = reversed_ ? from + length - 1 - i : i;
    if (static_cast<unsigned char>(word_[i]) !=
        images_[static_cast<unsigned char>(word_[j])]) {
      return false;
    }
  }
  return true;
}

bool CEnumResultsVocorFileSurvivors::ImageOfHeadBelow(uint32_t offset,
                                                      int count) const {
  // The subtree is sound: every node in it was checked, and among the
  // entries that hold words each letter leads to one child.
  uint32_t node_word = LoadLE32(data() + offset);
  for (int k = count - 1; k >= 0; --k) {
    const unsigned char image = images_[static_cast<unsigned char>(word_[k])];
    const int n = NodeEntryCount(node_word);
    uint32_t next = 0;
    bool found = false;
    for (int i = 0; i < n && !found; ++i) {
      const uint32_t entry =
          LoadLE32(data() + offset + kVocorNodeWordSize + kVocorEntrySize * i);
      next = EntryChildOffset(entry);
      found = EntryLetter(entry) == image &&
              NodeAllCount(LoadLE32(data() + next)) != 0;
    }
    if (!found) return false;
    offset = next;
    node_word = LoadLE32(data() + offset);
  }
  return NodeIsTerminal(node_word);
}

CEnumResultsVocorFileSurvivors::Judgement CEnumResultsVocorFileSurvivors::Judge(
    uint32_t offset, int level) {
  // For what cannot be judged, or not remembered: never passed.
  constexpr Judgement kUnjudgeable{0, 0, kUnsound};
  const size_t size = file_->image->size();
  // A node `kHeightLimit` levels below the first one asked about makes
  // that one too tall to judge; not descending further bounds the
  // recursion.
  if (offset % 4 != 0 || offset >= size || level >= kHeightLimit) {
    return kUnjudgeable;
  }
  if (judgements_ == nullptr) {
    judgements_.reset(
        static_cast<Judgement*>(std::calloc(size / 4 + 1, sizeof(Judgement))));
    if (judgements_ == nullptr) return kUnjudgeable;
  }
  Judgement& judgement = judgements_.get()[offset / 4];
  if (judgement.state != kUnjudged) return judgement;
  VocorNode node;
  // The reader's own check; its remembered verdicts are not asked for,
  // since this judgement is remembered instead.
  if (!ReadVocorNode(data(), size, offset, &node)) {
    judgement.state = kUnsound;
    return judgement;
  }
  // Checked nodes whose counts add up can still form a cycle of nodes
  // that never reach a word; the level bound ends the descent into one
  // (judging the nodes on the way unsound, which errs the safe way), and
  // each node is judged once for the whole walk.
  int height = 0;
  uint32_t last_letters = 0;
  // Letters must rise from entry to entry (as our writer stores them), so
  // that a path is spelled by one entry per node; a node that breaks this
  // is unsound, walked rather than passed.
  unsigned char previous = 0;
  for (int i = 0; i < node.entry_count(); ++i) {
    const uint32_t entry = VocorEntry(data(), node, i);
    const unsigned char letter = EntryLetter(entry);
    const uint32_t child = EntryChildOffset(entry);
    const uint32_t child_word = LoadLE32(data() + child);
    if (letter == 0 || NodeAllCount(child_word) == 0) continue;
    if (letter <= previous) {
      judgement.state = kUnsound;
      return judgement;
    }
    previous = letter;
    Judgement below = Remembered(child);
    if (below.state == kUnjudged) below = Judge(child, level + 1);
    if (below.state != kSound) {
      judgement.state = kUnsound;
      return judgement;
    }
    height = std::max(height, below.height + 1);
    last_letters |= below.last_letters;
    if (NodeIsTerminal(child_word)) last_letters |= LastLetterBit(letter);
  }
  if (height >= kHeightLimit) {
    judgement.state = kUnsound;
    return judgement;
  }
  judgement = Judgement{last_letters, static_cast<uint32_t>(height), kSound};
  return judgement;
}

CEnumResultsVocorFileSurvivors::Judgement
CEnumResultsVocorFileSurvivors::Remembered(uint32_t offset) const {
  // Most nodes are asked about again, through another parent.
  if (judgements_ == nullptr || offset % 4 != 0 ||
      offset >= file_->image->size()) {
    return Judgement{0, 0, kUnjudged};
  }
  return judgements_.get()[offset / 4];
}

bool CEnumResultsVocorFileSurvivors::ImageIsWord(int length) const {
  const auto image_at = [this, length](int i) {
    return images_[static_cast<unsigned char>(
        word_[reversed_ ? length - 1 - i : i])];
  };
  // The filter looks up only words that transform: a letter without an
  // image ends the test before any node is read.
  if (has_unimaged_letters_) {
    for (int i = 0; i < length; ++i) {
      if (image_at(i) == 0) return false;
    }
  }
  // The steps of the reader's Contains, the first ones remembered.
  int i = std::min(length, 3);
  uint32_t at = 0;
  switch (i) {
    case 3:
      at = NodeAfterThree(image_at(0), image_at(1), image_at(2));
      break;
    case 2:
      at = NodeAfterTwo(image_at(0), image_at(1));
      break;
    case 1:
      at = StepOfLookup(RootOfLookup(), image_at(0));
      break;
    default:
      at = RootOfLookup();
  }
  for (; i < length && at < kDamagedLookup; ++i) {
    at = StepOfLookup(at, image_at(i));
  }
  if (at == kDamagedLookup) file_->NoteDamage();
  return at < kDamagedLookup && NodeIsTerminal(LoadLE32(data() + at));
}

uint32_t CEnumResultsVocorFileSurvivors::RootOfLookup() const {
  VocorNode node;
  return ReadVocorNodeShallow(data(), file_->image->size(),
                              file_->header.root_offset, &node)
             ? file_->header.root_offset
             : kNoNode;
}

uint32_t CEnumResultsVocorFileSurvivors::StepOfLookup(
    uint32_t from, unsigned char letter) const {
  if (from >= kDamagedLookup) return from;
  // Every node a lookup stands on passed ReadVocorNodeShallow when it was
  // reached (the root in RootOfLookup, a child below).
  VocorNode node;
  node.offset = from;
  node.word = LoadLE32(data() + from);
  const int entry = FindVocorEntry(data(), node, letter);
  if (entry < 0) return kNoNode;
  const uint32_t child = EntryChildOffset(VocorEntry(data(), node, entry));
  return ReadVocorNodeShallow(data(), file_->image->size(), child, &node)
             ? child
             : kDamagedLookup;
}

uint32_t CEnumResultsVocorFileSurvivors::NodeAfterTwo(
    unsigned char first, unsigned char second) const {
  if (after_two_.empty()) after_two_.assign(256 * 256, kNotLookedUp);
  uint32_t& at = after_two_[first * 256 + second];
  if (at == kNotLookedUp) {
    at = StepOfLookup(StepOfLookup(RootOfLookup(), first), second);
  }
  return at;
}

uint32_t CEnumResultsVocorFileSurvivors::NodeAfterThree(
    unsigned char first, unsigned char second, unsigned char third) const {
  // Open addressing on the three letters, which are never all zero; a
  // table half full takes no more, and the rest is looked up each time.
  constexpr size_t kSlots = size_t{1} << 15;
  if (after_three_.empty()) after_three_.assign(kSlots, 0);
  const uint64_t key = first | uint64_t{second} << 8 | uint64_t{third} << 16;
  size_t slot = (key * 0x9E3779B97F4A7C15u) >> 49;
  for (; after_three_[slot] != 0; slot = (slot + 1) % kSlots) {
    if (after_three_[slot] >> 32 == key) {
      return static_cast<uint32_t>(after_three_[slot]);
    }
  }
  const uint32_t at = StepOfLookup(NodeAfterTwo(first, second), third);
  if (after_three_used_ < kSlots / 2) {
    after_three_[slot] = key << 32 | at;
    ++after_three_used_;
  }
  return at;
}

void CEnumResultsVocorFileSurvivors::GiveUp() {
  file_->NoteDamage();
  stack_.clear();
}

int CEnumResultsVocorFileSurvivors::Score() const {
  return file_->ScoreAt(last_index_);
}

int CEnumResultsVocorFileSurvivors::GetPosition() const {
  return static_cast<int>(
      std::clamp<int64_t>(position_, 0, static_cast<int64_t>(GetExtent())));
}

int CEnumResultsVocorFileSurvivors::GetExtent() const {
  return std::max(file_->header.word_count, 1);
}

}  // namespace vocor
