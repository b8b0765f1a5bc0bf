#include "engine/equation_split.h"

#include <algorithm>

#include "engine/saturate.h"

namespace vocor {

SplitPattern::SplitPattern(const EquationPattern& pattern,
                           const Equation& equation)
    : equation_(&equation), range_(pattern.range) {
  for (const EquationItem& source : pattern.items) {
    Item item;
    item.variable = source.variable;
    item.reversed = source.reversed;
    if (source.variable < 0) {
      if (source.element == "*") {
        item.star = true;
      } else {
        item.program = PatternProgram::Compile(source.element.c_str());
        const auto& elements = item.program->elements();
        item.width = item.program->min_characters();
        if (elements.size() == 1 &&
            elements[0].kind == PatternElement::kByte) {
          item.literal = elements[0].byte;
        }
      }
    }
    items_.push_back(std::move(item));
  }
}

EquationSplitter::EquationSplitter(const SplitPattern* pattern,
                                   EquationBindings* bindings)
    : pattern_(pattern), bindings_(bindings) {
  for (const SplitPattern::Item& item : pattern->items()) {
    automata_.push_back(item.program != nullptr && item.literal < 0
                            ? std::make_unique<PatternAutomaton>(item.program)
                            : nullptr);
  }
}

void EquationSplitter::Start(const char* word) {
  Clear();
  word_ = word;
}

void EquationSplitter::Clear() {
  while (!stack_.empty()) {
    Unbind(&stack_.back());
    stack_.pop_back();
  }
  started_ = false;
}

void EquationSplitter::Unbind(Frame* frame) {
  if (!frame->binds) return;
  bindings_->bound[pattern_->items()[frame->item].variable] = false;
  frame->binds = false;
}

void EquationSplitter::Bounds(int item, int* least, int* most) const {
  const auto& items = pattern_->items();
  const Equation& equation = pattern_->equation();
  *least = 0;
  *most = 0;
  for (size_t i = static_cast<size_t>(item); i < items.size(); ++i) {
    const SplitPattern::Item& it = items[i];
    int lo = it.width, hi = it.width;
    if (it.star) {
      lo = 0;
      hi = kUnboundedLength;
    } else if (it.variable >= 0) {
      if (bindings_->bound[it.variable]) {
        lo = hi = static_cast<int>(bindings_->value[it.variable].size());
      } else {
        lo = equation.min_length[it.variable];
        hi = equation.max_length[it.variable];
      }
    }
    *least = SaturatingAdd(*least, lo);
    *most = std::min(SaturatingAdd(*most, hi), kUnboundedLength);
  }
}

void EquationSplitter::Push(int item, int pos) {
  Frame frame{item, pos, 0, -1, false};
  const auto& items = pattern_->items();
  if (item == static_cast<int>(items.size())) {
    // The end: a split when the word is used up.
    if (pos == static_cast<int>(word_.size())) frame.max_len = 0;
    stack_.push_back(frame);
    return;
  }
  const SplitPattern::Item& it = items[item];
  const int rest = static_cast<int>(word_.size()) - pos;
  int least, most;
  Bounds(item + 1, &least, &most);
  int lo, hi;
  if (it.star || (it.variable >= 0 && !bindings_->bound[it.variable])) {
    const Equation& equation = pattern_->equation();
    lo = std::max(it.star ? 0 : equation.min_length[it.variable],
                  rest - most);
    hi = std::min(it.star ? rest : equation.max_length[it.variable],
                  rest - least);
  } else if (it.variable >= 0) {
    lo = hi = static_cast<int>(bindings_->value[it.variable].size());
  } else {
    lo = hi = it.width;
  }
  if (hi > rest - least) hi = -1;  // a fixed item that does not fit
  frame.len = lo;
  frame.max_len = hi;
  stack_.push_back(frame);
}

bool EquationSplitter::ElementMatches(int item, int pos, int len) {
  const SplitPattern::Item& it = pattern_->items()[item];
  const char* at = word_.data() + pos;
  if (it.literal >= 0) return static_cast<unsigned char>(*at) == it.literal;
  PatternAutomaton& automaton = *automata_[item];
  int state = automaton.start();
  for (int i = 0; i < len && state != PatternAutomaton::kDead; ++i) {
    state = automaton.Step(state, static_cast<unsigned char>(at[i]));
  }
  return state != PatternAutomaton::kDead && automaton.IsAccepting(state);
}

bool EquationSplitter::Distinct(int variable) const {
  for (const auto& [a, b] : pattern_->equation().distinct) {
    const int other = a == variable ? b : b == variable ? a : -1;
    if (other >= 0 && bindings_->bound[other] &&
        bindings_->value[other] == bindings_->value[variable]) {
      return false;
    }
  }
  return true;
}

EquationSplitter::Outcome EquationSplitter::Next(int* counter) {
  if (!started_) {
    started_ = true;
    const LengthRange& range = pattern_->range();
    const int size = static_cast<int>(word_.size());
    if (size < range.min || (range.max != kNoMaxLength && size > range.max)) {
      return kExhausted;
    }
    Push(0, 0);
  }
  const auto& items = pattern_->items();
  const int end = static_cast<int>(items.size());
  while (!stack_.empty()) {
    if (counter != nullptr && *counter <= 0) return kSuspended;
    if (counter != nullptr) --*counter;
    Frame& frame = stack_.back();
    Unbind(&frame);
    if (frame.len > frame.max_len) {
      stack_.pop_back();
      continue;
    }
    const int len = frame.len++;
    if (frame.item == end) return kFound;  // tried once: popped next time
    const SplitPattern::Item& it = items[frame.item];
    const char* at = word_.data() + frame.pos;
    if (it.variable < 0) {
      if (!it.star && !ElementMatches(frame.item, frame.pos, len)) continue;
    } else {
      std::string& value = bindings_->value[it.variable];
      if (bindings_->bound[it.variable]) {
        if (it.reversed ? !std::equal(value.rbegin(), value.rend(), at)
                        : value.compare(0, value.size(), at, len) != 0) {
          continue;
        }
      } else {
        value.assign(at, static_cast<size_t>(len));
        if (it.reversed) std::reverse(value.begin(), value.end());
        bindings_->bound[it.variable] = true;
        frame.binds = true;
        if (!Distinct(it.variable)) continue;
      }
    }
    const int next_item = frame.item + 1;
    const int next_pos = frame.pos + len;
    Push(next_item, next_pos);
  }
  return kExhausted;
}

}  // namespace vocor
