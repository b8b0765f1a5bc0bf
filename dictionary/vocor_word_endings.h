// The word endings of a .dic: a bit set that says which short endings (the
// last 3 to 6 letters, say) some word of the file has. A word whose
// reversal must be a word too ends, reversed, in the reversal of every one
// of its prefixes; a walk for such words therefore passes over every prefix
// whose reversal ends no word, without reading the subtree below it. Over
// a large English list that leaves a few percent of the tree to visit.
//
// The set is a filter with one hashed bit per ending: a clear bit proves
// that no word has the ending, a set bit only allows it. The section is
// optional and only ever narrows a walk: a file without it is read as
// before, and a reader that does not know it never reads its header field.
// Layout, all fields 32-bit little-endian, at the offset that header field
// 120 names:
//
//     0   4  marker "ENDS"
//     4   4  shortest: the shortest ending length held
//     8   4  longest: the longest ending length held
//    12   4  order: the set has 2^order bits
//    16   4  CRC-32 (zlib's) of the section's other bytes: 0 to 15, then
//            20 to its end
//    20      the bits, 2^order / 8 bytes: bit b is bit b % 8 of byte b / 8
//
// For each word and each length n from `shortest` to `longest` that the
// word reaches, the bit EndingBit(last n letters, order) is set.
#ifndef VOCOR_DICTIONARY_VOCOR_WORD_ENDINGS_H_
#define VOCOR_DICTIONARY_VOCOR_WORD_ENDINGS_H_

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace vocor {

constexpr size_t kVocorEndingsOffsetOffset = 120;  // header field
constexpr char kVocorEndingsMarker[] = "ENDS";     // the NUL is not stored
constexpr size_t kVocorEndingsHeadSize = 20;
// What our writer holds: endings of 3 to 6 letters, in a set of at least
// 6 bits per distinct ending (one in about 16 absent endings then passes
// the filter), at most 2^24 bits.
constexpr int kVocorEndingsShortest = 3;
constexpr int kVocorEndingsLongest = 6;
constexpr int kVocorEndingsBitsPerEnding = 6;
constexpr int kVocorEndingsLeastOrder = 6;
constexpr int kVocorEndingsGreatestOrder = 24;
// What a reader accepts from other writers.
constexpr int kVocorEndingsLongestAccepted = 16;
constexpr int kVocorEndingsOrderAccepted = 30;

// The bit of the `length`-byte ending at `letters` (in the word's order)
// in a set of 2^order bits: FNV-1a over the length and the bytes, spread
// by a multiplication, its top `order` bits.
inline uint32_t EndingBit(const unsigned char* letters, int length, int order) {
  uint32_t hash = 2166136261u ^ static_cast<uint32_t>(length);
  for (int i = 0; i < length; ++i) {
    hash = (hash ^ letters[i]) * 16777619u;
  }
  return (hash * 2654435769u) >> (32 - order);
}

// The section for `words` (each at most kMaxWordLength bytes), or nothing
// when no word is as long as the shortest ending.
std::string EncodeWordEndings(const std::vector<std::string>& words);

class VocorWordEndings {
 public:
  enum class Status { kAbsent, kDamaged, kPresent };

  // Finds the section that header field 120 of the `size`-byte image at
  // `data` names (the image holds at least the header) and checks it whole:
  // marker, lengths and order in range, the bits inside the image, and the
  // CRC. kAbsent when the field is 0 or does not lead to the marker (bytes
  // of another writer). On kDamaged *reason (when not null) says why. On
  // kPresent *endings is set; it reads the image in place, which must
  // outlive it.
  static Status Locate(const char* data, size_t size,
                       std::unique_ptr<VocorWordEndings>* endings,
                       std::string* reason);

  int shortest() const { return shortest_; }
  int longest() const { return longest_; }
  int order() const { return order_; }
  // Whether the set holds endings of `length` letters at all.
  bool Covers(int length) const {
    return length >= shortest_ && length <= longest_;
  }
  // False only when no word ends in the `length` bytes at `letters` (in
  // the word's order). `length` must be covered.
  bool MayEndAWord(const unsigned char* letters, int length) const {
    const uint32_t bit = EndingBit(letters, length, order_);
    return (static_cast<unsigned char>(bits_[bit / 8]) >> (bit % 8) & 1) != 0;
  }
  // The set's bytes, 2^order / 8 of them.
  std::string_view bits() const {
    return std::string_view(bits_, size_t{1} << (order_ - 3));
  }

 private:
  VocorWordEndings() = default;

  int shortest_ = 0;
  int longest_ = 0;
  int order_ = 0;
  const char* bits_ = nullptr;
};

// The file checker's part: when header field 120 of `bytes` (a whole file
// whose tree from `root` has passed its checks) names a section, checks it
// whole, and that its bits are exactly those of the words' endings. Sets
// *offset to the section's offset (0: none). Returns false with a one-line
// reason otherwise.
bool CheckWordEndings(std::string_view bytes, uint32_t root, uint32_t* offset,
                      std::string* reason);

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_WORD_ENDINGS_H_
