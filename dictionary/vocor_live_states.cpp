#include "dictionary/vocor_live_states.h"

#include <algorithm>
#include <cstdlib>

#include "dictionary/vocor_file_dictionary.h"
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
                      const uint8_t* masks, size_t slots) {
  for (int i = 0; i < node.entry_count(); ++i) {
    const uint32_t child = EntryChildOffset(VocorEntry(data, node, i));
    if (child / 4 < slots) __builtin_prefetch(masks + child / 4);
  }
}

}  // namespace

WalkLiveStates::WalkLiveStates(const VocorFileContents* file,
                               size_t image_size)
    : file_(file), slots_(image_size / 4 + 1) {}

WalkLiveStates::~WalkLiveStates() = default;

std::unique_ptr<WalkLiveStates> WalkLiveStates::Create(
    PatternAutomaton* automaton, const VocorFileContents* file) {
  if (automaton->start() == PatternAutomaton::kDead) return nullptr;
  const std::vector<int> states = ReachableStates(automaton, kMaxStates);
  if (states.empty()) return nullptr;
  std::unique_ptr<WalkLiveStates> live(
      new WalkLiveStates(file, file->image->size()));
  int max_id = 0;
  for (int s : states) max_id = std::max(max_id, s);
  live->index_of_.assign(static_cast<size_t>(max_id) + 1, -1);
  for (size_t i = 0; i < states.size(); ++i) {
    live->index_of_[states[i]] = static_cast<int8_t>(i);
    if (automaton->IsAccepting(states[i])) live->accepting_ |= Mask{1} << i;
  }
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
  }
  live->masks_.reset(
      static_cast<uint8_t*>(std::calloc(live->slots_, 1)));
  if (live->masks_ == nullptr) return nullptr;
  return live;
}

bool WalkLiveStates::Live(uint32_t offset, int state) {
  if (state < 0 || static_cast<size_t>(state) >= index_of_.size() ||
      index_of_[state] < 0) {
    return true;  // a state the exploration never met: no claim
  }
  return ((MaskOf(offset) >> index_of_[state]) & 1) != 0;
}

WalkLiveStates::Mask WalkLiveStates::MaskOf(uint32_t offset) {
  if (offset % 4 != 0 || offset / 4 >= slots_) return kAllLive;
  const uint8_t known = masks_.get()[offset / 4];
  if (known == kInProgress) return kAllLive;
  if (known != 0) return static_cast<Mask>(known - 1);
  return ComputeSubtree(offset);
}

WalkLiveStates::Mask WalkLiveStates::ComputeSubtree(uint32_t offset) {
  struct Pending {
    VocorNode node;
    int next;
    uint8_t group;  // the class of the letter that led here
    Mask mask;
  };
  uint8_t* masks = masks_.get();
  const char* data = file_->image->data();
  const size_t size = file_->image->size();
  std::vector<Pending> stack;
  stack.reserve(64);
  VocorNode root;
  if (!ReadVocorNodeShallow(data, size, offset, &root)) return kAllLive;
  masks[offset / 4] = kInProgress;
  stack.push_back(Pending{root, 0, 0, 0});
  Mask result = kAllLive;
  while (!stack.empty()) {
    Pending& top = stack.back();
    const int n = top.node.entry_count();
    if (top.next == 0) PrefetchChildren(data, top.node, masks, slots_);
    bool descended = false;
    while (top.next < n) {
      const uint32_t entry = VocorEntry(data, top.node, top.next++);
      const unsigned char letter = EntryLetter(entry);
      if (letter == 0) continue;  // a NUL never matches
      const uint32_t child = EntryChildOffset(entry);
      const uint8_t group = group_of_[letter];
      const bool aligned = child % 4 == 0 && child / 4 < slots_;
      const uint8_t known = aligned ? masks[child / 4] : kInProgress;
      VocorNode node;
      if (known == 0 && stack.size() <= kMaxWordLength &&
          ReadVocorNodeShallow(data, size, child, &node)) {
        masks[child / 4] = kInProgress;
        stack.push_back(Pending{node, 0, group, 0});
        descended = true;
        break;
      }
      const Mask below = known == 0 || known == kInProgress
                             ? kAllLive
                             : static_cast<Mask>(known - 1);
      top.mask |= Contribution(group, below);
    }
    if (descended) continue;
    const Pending done = stack.back();
    stack.pop_back();
    const Mask mask = done.mask | (done.node.terminal() ? accepting_ : 0);
    masks[done.node.offset / 4] = static_cast<uint8_t>(mask + 1);
    if (stack.empty()) {
      result = mask;
    } else {
      stack.back().mask |= Contribution(done.group, mask);
    }
  }
  return result;
}

}  // namespace vocor
