// The plain walk of a binary dictionary's letter tree, shared by the
// reader without pattern or constraint and by the walk for the palindrome
// filter: depth first, every word in entry order, a word before its
// extensions, one unit of work per node entered or left. Progress is
// counted word by word, every passed subtree included, so that the
// position at a word is its number in walk order (its score's index).
#ifndef VOCOR_DICTIONARY_VOCOR_PLAIN_WALK_H_
#define VOCOR_DICTIONARY_VOCOR_PLAIN_WALK_H_

#include <cstdint>
#include <vector>

#include "dictionary/vocor_file_dictionary.h"
#include "dictionary/vocor_walk_states.h"

namespace vocor {

// Walks on from `stack` until a word is
// kept, and returns it (in `word`, NUL-terminated), or null when the walk
// ends or the counter (null: none) runs out. A Frame is {node, next entry
// or kWalkUnvisited before the node's own word was seen, depth}; every node
// on the stack passed CheckNode. The path is assembled in
// `word`; `position` counts the words passed. Callbacks:
//   keeps(index, depth): whether to yield the word numbered `index`, of
//     `depth` letters;
//   passes(child, depth): whether to pass the sound subtree entered by the
//     path's `depth` letters, its words counted as passed;
//   give_up(): the tree is damaged beyond the path; the walk ends.
template <typename Frame, typename Keeps, typename Passes, typename GiveUp>
const char* RunPlainWalk(const VocorFileContents& file,
                         std::vector<Frame>& stack, char* word,
                         int64_t& position, int* counter, Keeps keeps,
                         Passes passes, GiveUp give_up) {
  const char* data = file.image->data();
  while (!stack.empty()) {
    if (counter != nullptr) {
      if (*counter <= 0) return nullptr;
      --*counter;
    }
    Frame& top = stack.back();
    const uint32_t node_word = LoadLE32(data + top.node);
    if (top.next == kWalkUnvisited) {
      top.next = 0;
      if (NodeIsTerminal(node_word)) {
        const auto index = static_cast<uint32_t>(position++);
        word[top.depth] = '\0';
        if (keeps(index, top.depth)) return word;
      }
      continue;
    }
    if (top.next >= NodeEntryCount(node_word)) {
      stack.pop_back();
      continue;
    }
    // The node passed CheckNode when it was entered: its entries and its
    // children's node words lie inside the file.
    const uint32_t entry =
        LoadLE32(data + top.node + kVocorNodeWordSize +
                 kVocorEntrySize * static_cast<size_t>(top.next++));
    const unsigned char letter = EntryLetter(entry);
    const uint32_t child = EntryChildOffset(entry);
    const uint32_t child_words = NodeAllCount(LoadLE32(data + child));
    if (child_words == 0) continue;
    if (letter == 0) {  // never matches; its words are passed
      position += child_words;
      continue;
    }
    VocorNode checked;
    if (top.depth >= kMaxWordLength || !file.CheckNode(child, &checked)) {
      give_up();
      return nullptr;
    }
    word[top.depth] = static_cast<char>(letter);
    const int depth = top.depth + 1;  // `top` dies with the push below
    if (passes(child, depth)) {
      position += child_words;
      continue;
    }
    stack.push_back(Frame{child, kWalkUnvisited, depth});
  }
  return nullptr;
}

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_PLAIN_WALK_H_
