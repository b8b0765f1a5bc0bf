#include "dictionary/vocor_word_endings.h"

#include <cstring>
#include <string_view>
#include <unordered_set>

#include "dictionary/vocor_format.h"

namespace vocor {
namespace {

constexpr size_t kChecksumAt = 16;

// The smallest order whose set gives every distinct ending of `words`
// kVocorEndingsBitsPerEnding bits, within the writer's bounds.
int OrderFor(const std::vector<std::string>& words, int shortest, int longest) {
  std::unordered_set<std::string_view> endings;
  for (const std::string& word : words) {
    const std::string_view view(word);
    for (int n = shortest; n <= longest && n <= static_cast<int>(word.size());
         ++n) {
      endings.insert(view.substr(word.size() - n));
    }
  }
  int order = kVocorEndingsLeastOrder;
  while (order < kVocorEndingsGreatestOrder &&
         (uint64_t{1} << order) <
             kVocorEndingsBitsPerEnding * uint64_t{endings.size()}) {
    ++order;
  }
  return order;
}

// Sets the bits of `word`'s endings in `bits`, a set of 2^order bits.
void SetEndingBits(std::string_view word, int shortest, int longest, int order,
                   char* bits) {
  const auto* letters = reinterpret_cast<const unsigned char*>(word.data());
  for (int n = shortest; n <= longest && n <= static_cast<int>(word.size());
       ++n) {
    const uint32_t bit = EndingBit(letters + word.size() - n, n, order);
    bits[bit / 8] = static_cast<char>(bits[bit / 8] | 1 << (bit % 8));
  }
}

}  // namespace

std::string EncodeWordEndings(const std::vector<std::string>& words) {
  bool any = false;
  for (const std::string& word : words) {
    any = any || static_cast<int>(word.size()) >= kVocorEndingsShortest;
  }
  if (!any) return {};
  const int order =
      OrderFor(words, kVocorEndingsShortest, kVocorEndingsLongest);
  std::string section(kVocorEndingsHeadSize + (size_t{1} << (order - 3)), '\0');
  char* at = section.data();
  std::memcpy(at, kVocorEndingsMarker, 4);
  StoreLE32(at + 4, kVocorEndingsShortest);
  StoreLE32(at + 8, kVocorEndingsLongest);
  StoreLE32(at + 12, static_cast<uint32_t>(order));
  for (const std::string& word : words) {
    SetEndingBits(word, kVocorEndingsShortest, kVocorEndingsLongest, order,
                  at + kVocorEndingsHeadSize);
  }
  StoreLE32(at + kChecksumAt, SectionChecksum(at, section.size(), kChecksumAt));
  return section;
}

VocorWordEndings::Status VocorWordEndings::Locate(
    const char* data, size_t size, std::unique_ptr<VocorWordEndings>* endings,
    std::string* reason) {
  const uint64_t offset = LoadLE32(data + kVocorEndingsOffsetOffset);
  if (offset == 0) return Status::kAbsent;
  const auto damaged = [&](const std::string& why) {
    if (reason != nullptr) {
      *reason =
          "the word endings at offset " + std::to_string(offset) + " " + why;
    }
    return Status::kDamaged;
  };
  // The field lies in bytes other writers may have filled: without the
  // marker where it points, it is theirs, not a section.
  if (offset < kVocorHeaderSize || offset + kVocorEndingsHeadSize > size ||
      std::memcmp(data + offset, kVocorEndingsMarker, 4) != 0) {
    return Status::kAbsent;
  }
  const char* head = data + offset;
  const uint32_t shortest = LoadLE32(head + 4);
  const uint32_t longest = LoadLE32(head + 8);
  const uint32_t order = LoadLE32(head + 12);
  if (shortest < 1 || shortest > longest ||
      longest > kVocorEndingsLongestAccepted) {
    return damaged("hold lengths " + std::to_string(shortest) + " to " +
                   std::to_string(longest));
  }
  if (order < 3 || order > kVocorEndingsOrderAccepted) {
    return damaged("have 2^" + std::to_string(order) + " bits");
  }
  const uint64_t length = kVocorEndingsHeadSize + (uint64_t{1} << (order - 3));
  if (length > size - offset) return damaged("run past the end of the file");
  if (SectionChecksum(head, length, kChecksumAt) !=
      LoadLE32(head + kChecksumAt)) {
    return damaged("fail their checksum");
  }
  auto found = std::unique_ptr<VocorWordEndings>(new VocorWordEndings);
  found->shortest_ = static_cast<int>(shortest);
  found->longest_ = static_cast<int>(longest);
  found->order_ = static_cast<int>(order);
  found->bits_ = head + kVocorEndingsHeadSize;
  *endings = std::move(found);
  return Status::kPresent;
}

bool CheckWordEndings(std::string_view bytes, uint32_t root, uint32_t* offset,
                      std::string* reason) {
  *offset = 0;
  const uint32_t field = LoadLE32(bytes.data() + kVocorEndingsOffsetOffset);
  if (field == 0) return true;
  std::unique_ptr<VocorWordEndings> endings;
  switch (
      VocorWordEndings::Locate(bytes.data(), bytes.size(), &endings, reason)) {
    case VocorWordEndings::Status::kAbsent:
      *reason = "the word endings offset " + std::to_string(field) +
                " does not lead to the marker " + kVocorEndingsMarker +
                " inside the file";
      return false;
    case VocorWordEndings::Status::kDamaged:
      return false;
    case VocorWordEndings::Status::kPresent:
      break;
  }
  // Every word of the tree, which has passed its checks (inside the file,
  // no cycles, no path too long), spelled along a depth-first walk.
  std::string expected(endings->bits().size(), '\0');
  struct Frame {
    uint32_t node;
    int next;
  };
  std::vector<Frame> path = {{root, 0}};
  std::string word;
  const char* data = bytes.data();
  while (!path.empty()) {
    Frame& top = path.back();
    const uint32_t node_word = LoadLE32(data + top.node);
    if (top.next == 0 && NodeIsTerminal(node_word)) {
      SetEndingBits(word, endings->shortest(), endings->longest(),
                    endings->order(), expected.data());
    }
    if (top.next >= NodeEntryCount(node_word)) {
      path.pop_back();
      if (!word.empty()) word.pop_back();
      continue;
    }
    const uint32_t entry = LoadLE32(data + top.node + kVocorNodeWordSize +
                                    kVocorEntrySize * top.next++);
    word.push_back(static_cast<char>(EntryLetter(entry)));
    path.push_back(Frame{EntryChildOffset(entry), 0});
  }
  if (expected != endings->bits()) {
    *reason = "the word endings do not match the words of the tree";
    return false;
  }
  *offset = field;
  return true;
}

}  // namespace vocor
