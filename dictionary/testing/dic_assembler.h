// Hand-assembles binary dictionary images for tests that need trees the
// writer would never produce (shared nodes placed by hand, wide nodes,
// cycles, deep chains) or headers with chosen damage. Nodes are appended
// after the header in the order they are added, so children come first.
#ifndef VOCOR_DICTIONARY_TESTING_DIC_ASSEMBLER_H_
#define VOCOR_DICTIONARY_TESTING_DIC_ASSEMBLER_H_

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "dictionary/vocor_format.h"

namespace vocor::testing {

using DicEntries = std::vector<std::pair<unsigned char, uint32_t>>;

class DicAssembler {
 public:
  explicit DicAssembler(const std::string& name = "Test")
      : bytes_(kVocorHeaderSize, '\0') {
    std::memcpy(bytes_.data(), kVocorMagic, kVocorMagicSize);
    std::memcpy(bytes_.data() + kVocorNameOffset, name.data(), name.size());
    Set(kVocorFormatVersionOffset, kVocorFormatVersion);
  }

  // Appends a node whose below-count is the sum of its children's, as the
  // format requires; returns its offset.
  uint32_t Node(bool terminal, const DicEntries& entries) {
    uint32_t below = 0;
    for (const auto& entry : entries) {
      below += NodeAllCount(LoadLE32(bytes_.data() + entry.second));
    }
    return RawNode(
        MakeNodeWord(static_cast<int>(entries.size()), terminal, below),
        entries);
  }

  // Appends a node with the given node word whatever it says.
  uint32_t RawNode(uint32_t node_word, const DicEntries& entries) {
    const auto offset = static_cast<uint32_t>(bytes_.size());
    Append(node_word);
    for (const auto& [letter, child] : entries)
      Append(MakeEntry(child, letter));
    return offset;
  }

  // Overwrites the 32-bit field at `offset` (which must exist).
  void Set(size_t offset, uint32_t value) {
    StoreLE32(bytes_.data() + offset, value);
  }

  // Completes the header: root offset, word count = the root's words,
  // notes at the end, size field = the image's size. Returns the image.
  std::string Finish(uint32_t root, const std::string& notes = "") {
    Set(kVocorRootOffsetOffset, root);
    Set(kVocorWordCountOffset, NodeAllCount(LoadLE32(bytes_.data() + root)));
    Set(kVocorNotesOffsetOffset, static_cast<uint32_t>(bytes_.size()));
    bytes_ += notes;
    bytes_.push_back('\0');
    Set(kVocorSizeOffset, static_cast<uint32_t>(bytes_.size()));
    return bytes_;
  }

 private:
  void Append(uint32_t value) {
    char raw[4];
    StoreLE32(raw, value);
    bytes_.append(raw, 4);
  }

  std::string bytes_;
};

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_DIC_ASSEMBLER_H_
