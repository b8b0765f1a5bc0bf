#include "dictionary/vocor_live_states.h"

#include <algorithm>
#include <cstdlib>

#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_letter_summaries.h"
#include "dictionary/vocor_required_letters.h"
#include "engine/pattern_automaton.h"

namespace vocor {

namespace {

// The automaton's states reachable from its start, in the order found;
// empty when there are more than `limit`.
std::vector<int> ReachableStates(PatternAutomaton* automaton, size_t limit) {
  std::vector<int> states = {automaton->start()};
  std::vector<bool> seen(static_cast<size_t>(automaton->start()) + 1);
  seen[automaton->start()] = true;
  for (size_t i = 0; i < states.size(); ++i) {
    for (int c = 1; c < 256; ++c) {
      const int next = automaton->Step(states[i], static_cast<unsigned char>(c));
      if (next == PatternAutomaton::kDead) continue;
      if (static_cast<size_t>(next) >= seen.size()) seen.resize(next + 1);
      if (seen[next]) continue;
      if (states.size() == limit) return {};
      seen[next] = true;
      states.push_back(next);
    }
  }
  return states;
}

// Shared children lie anywhere in the file: asking for all their sets at
// once lets the memory system fetch them together instead of one by one.
void PrefetchChildren(const char* data, const VocorNode& node,
                      const void* sets, size_t slots) {
  const auto* bytes = static_cast<const char*>(sets);
  for (int i = 0; i < node.entry_count(); ++i) {
    const uint32_t child = EntryChildOffset(VocorEntry(data, node, i));
    if (child / 4 < slots) __builtin_prefetch(bytes + child / 4 * 2);
  }
}

// How far into the image nodes can lie: our writer puts the notes, and the
// sections after them, behind the last node, so the sets need not cover
// them. Nodes elsewhere get no sets, and so no claims.
size_t NodeBytes(const VocorFileContents& file) {
  const size_t notes = LoadLE32(file.image->data() + kVocorNotesOffsetOffset);
  return notes > file.header.root_offset && notes < file.image->size()
             ? notes
             : file.image->size();
}

}  // namespace

WalkLiveStates::WalkLiveStates(const VocorFileContents* file,
                               size_t node_bytes)
    : file_(file), slots_(node_bytes / 4 + 1) {}

WalkLiveStates::~WalkLiveStates() = default;

std::unique_ptr<WalkLiveStates> WalkLiveStates::Create(
    PatternAutomaton* automaton, const VocorFileContents* file,
    const WalkRequiredLetters* required,
    const VocorLetterSummaries* summaries) {
  if (automaton->start() == PatternAutomaton::kDead) return nullptr;
  const std::vector<int> states = ReachableStates(automaton, kMaxStates);
  if (states.empty()) return nullptr;
  std::unique_ptr<WalkLiveStates> live(
      new WalkLiveStates(file, NodeBytes(*file)));
  int max_id = 0;
  for (int s : states) max_id = std::max(max_id, s);
  live->index_of_.assign(static_cast<size_t>(max_id) + 1, -1);
  live->index_count_ = states.size();
  for (size_t i = 0; i < states.size(); ++i) {
    live->index_of_[states[i]] = static_cast<int8_t>(i);
    if (automaton->IsAccepting(states[i])) live->accepting_ |= Mask{1} << i;
    if (automaton->AcceptsEverything(states[i])) {
      live->takes_everything_ |= Mask{1} << i;
    }
    if (required != nullptr) live->required_[i] = required->Of(states[i]);
  }
  if (required != nullptr) live->summaries_ = summaries;
  live->needs_reading_ = static_cast<Mask>(
      ((1u << states.size()) - 1) & ~unsigned{live->takes_everything_});
  // A byte's class is the states it leads to from each state; a NUL never
  // matches, as in the walk.
  std::vector<std::array<int8_t, kMaxStates>> steps;
  for (int c = 0; c < 256; ++c) {
    std::array<int8_t, kMaxStates> step;
    step.fill(-1);
    for (size_t i = 0; c != 0 && i < states.size(); ++i) {
      const int next = automaton->Step(states[i], static_cast<unsigned char>(c));
      if (next != PatternAutomaton::kDead) step[i] = live->index_of_[next];
    }
    size_t group = 0;
    while (group < steps.size() && steps[group] != step) ++group;
    if (group == steps.size()) steps.push_back(step);
    live->group_of_[c] = static_cast<uint8_t>(group);
  }
  live->contributions_.resize(steps.size());
  live->reached_.resize(steps.size());
  for (size_t g = 0; g < steps.size(); ++g) {
    for (int below = 0; below < 256; ++below) {
      Mask mask = 0;
      for (size_t i = 0; i < states.size(); ++i) {
        if (steps[g][i] >= 0 && ((below >> steps[g][i]) & 1) != 0) {
          mask |= Mask{1} << i;
        }
      }
      live->contributions_[g][below] = mask;
    }
    for (int want = 0; want < 128; ++want) {
      Mask reached = 0;
      for (size_t i = 0; i < states.size(); ++i) {
        if ((want >> i & 1) != 0 && steps[g][i] >= 0) {
          reached |= Mask{1} << steps[g][i];
        }
      }
      live->reached_[g][want] = reached;
    }
  }
  // A walk with a star reaches nodes all over the file.
  live->sets_.reset(reinterpret_cast<NodeSets*>(
      AllocateBackedZeroes(live->slots_ * sizeof(NodeSets)).release()));
  if (live->sets_ == nullptr) return nullptr;
  return live;
}

bool WalkLiveStates::Live(uint32_t offset, int state) {
  if (state < 0 || static_cast<size_t>(state) >= index_of_.size() ||
      index_of_[state] < 0) {
    return true;  // a state the exploration never met: no claim
  }
  if (offset % 4 != 0 || offset / 4 >= slots_) return true;
  const Mask want = Mask{1} << index_of_[state];
  const NodeSets& sets = sets_.get()[offset / 4];
  if ((sets.known & (want | kInProgress)) == 0) Compute(offset, want);
  if ((sets.known & kInProgress) != 0 || (sets.known & want) == 0) return true;
  return (sets.live & want) != 0;
}

WalkLiveStates::Mask WalkLiveStates::Resolve(uint32_t child, Mask wanted,
                                             bool* descend) {
  *descend = false;
  const char* data = file_->image->data();
  const size_t size = file_->image->size();
  if (child % 4 != 0 || child / 4 >= slots_ ||
      child + kVocorNodeWordSize > size) {
    return kAllLive;  // the walk meets whatever is there itself
  }
  uint8_t& known = sets_.get()[child / 4].known;
  uint8_t& live = sets_.get()[child / 4].live;
  if ((known & kInProgress) != 0) return kAllLive;  // a cycle
  Mask missing = wanted & ~known;
  if (missing == 0) return live;
  // A state that takes everything matches wherever there is a word.
  const bool counted = (missing & takes_everything_) != 0 || summaries_;
  const uint32_t all = counted ? NodeAllCount(LoadLE32(data + child)) : 0;
  const Mask everything = missing & takes_everything_;
  known |= everything;
  if (all > 0) live |= everything;
  missing &= ~everything;
  if (missing == 0) return live;
  const Mask open = summaries_ ? StatesLeftOpen(child, all) : needs_reading_;
  known |= missing & ~open;  // ruled out by the summary: no match below
  missing &= open;
  if (missing == 0) return live;
  // Where the summary rules nothing out, other parents will most likely ask
  // about the other states too: one pass over the subtree answers all.
  if (open == needs_reading_) missing |= needs_reading_ & ~known;
  *descend = true;
  return missing;
}

WalkLiveStates::Mask WalkLiveStates::StatesLeftOpen(uint32_t offset,
                                                    uint32_t all) const {
  if (summaries_ == nullptr || all < kSummaryWorthAsking) {
    return needs_reading_;
  }
  const uint32_t letters = summaries_->LettersBelow(offset);
  Mask open = 0;
  for (size_t i = 0; i < index_count_; ++i) {
    if ((required_[i] & ~letters) == 0) open |= Mask{1} << i;
  }
  return open & needs_reading_;
}


void WalkLiveStates::Compute(uint32_t offset, Mask want) {
  struct Pending {
    VocorNode node;
    int next;
    uint8_t group;  // the class of the letter that led here
    Mask want;      // the states asked about
    Mask live;      // those found to lead to a match so far
  };
  const char* data = file_->image->data();
  const size_t size = file_->image->size();
  NodeSets* sets = sets_.get();
  std::vector<Pending> stack;
  stack.reserve(64);
  VocorNode root;
  if (!ReadVocorNodeShallow(data, size, offset, &root)) return;
  sets[offset / 4].known |= kInProgress;
  stack.push_back(Pending{root, 0, 0, want, 0});
  while (!stack.empty()) {
    Pending& top = stack.back();
    const int n = top.node.entry_count();
    if (top.next == 0) PrefetchChildren(data, top.node, sets, slots_);
    bool descended = false;
    while (top.next < n) {
      const uint32_t entry = VocorEntry(data, top.node, top.next++);
      const unsigned char letter = EntryLetter(entry);
      if (letter == 0) continue;  // a NUL never matches
      const uint8_t group = group_of_[letter];
      const Mask reached = reached_[group][top.want];
      if (reached == 0) continue;
      const uint32_t child = EntryChildOffset(entry);
      bool descend = false;
      Mask below = Resolve(child, reached, &descend);
      VocorNode node;
      if (descend) {
        if (stack.size() <= kMaxWordLength &&
            ReadVocorNodeShallow(data, size, child, &node)) {
          sets[child / 4].known |= kInProgress;
          stack.push_back(Pending{node, 0, group, below, 0});
          descended = true;
          break;
        }
        below = kAllLive;  // too deep or cut off: the walk will see
      }
      top.live |= Contribution(group, below) & top.want;
    }
    if (descended) continue;
    const Pending done = stack.back();
    stack.pop_back();
    const Mask found =
        done.live | (done.node.terminal() ? accepting_ & done.want : 0);
    NodeSets& settled = sets[done.node.offset / 4];
    settled.known =
        static_cast<uint8_t>((settled.known & ~kInProgress) | done.want);
    settled.live |= found;
    if (!stack.empty()) {
      Pending& parent = stack.back();
      parent.live |= Contribution(done.group, settled.live) & parent.want;
    }
  }
}

}  // namespace vocor
