// The binary dictionary file (.dic): constants, little-endian field access
// and the header and node decoders shared by the reader, the writer and the
// file checker. docs/dic-format.md describes the format for people.
//
// Layout. A .dic file is read in place, never parsed into other structures.
// It opens with a 288-byte header:
//
//     0  22  magic "VOCOR Dictionary File" and its NUL, compared whole
//    22  98  unused (zero when we write)
//   120   4  offset of the word endings, 0 = none (see
//            vocor_word_endings.h; zero in older files)
//   124   4  offset of the letter summaries, 0 = none (see
//            vocor_letter_summaries.h; zero in older files)
//   128 128  display name, NUL-terminated inside the field
//   256   4  format version, always 201
//   260   4  dictionary version in hundredths
//   264   4  language (Windows locale id, 0 = unknown)
//   268   4  size reported to the user (our writer: the file's size)
//   272   4  offset of the NUL-terminated notes text
//   276   4  offset of the root node
//   280   4  offset of the score section, 0 = none (zero in older files)
//   284   4  word count
//
// All fields are 32-bit little-endian; offsets are absolute. After the
// header come the nodes of a letter tree. A node is one 32-bit node word
// followed by n 32-bit child entries:
//
//   node word:  bits 0-6  n, the number of entries (0..127)
//               bit  7    terminal: a word ends at this node
//               bits 8-31 words strictly below this node
//   entry:      bits 0-23 offset of the child node
//               bits 24-31 the letter on the edge
//
// Child offsets have 24 bits, so every node reached through an entry lies
// in the first 16 MiB. Counts make the tree self-describing for progress:
// a node's below-count is the sum over its children of terminal + below,
// so a reader can pass over a whole subtree in one step and still know how
// many words it skipped. The same rule is what lets us reject cycles and
// exponential sharing in a damaged file cheaply: a node whose count does
// not add up is not trusted (see ReadVocorNode).
//
// Scores. An optional section holds one byte per word, the word's score
// (kMinScore..kMaxScore), in walk order: byte i belongs to the word with
// i words before it when the tree is walked depth first in entry order.
// The counts number the words without a search: a word's index is the sum,
// along its path, of the terminal flags passed and the all-counts of the
// siblings skipped before each entry taken. The section is
//
//     0   4  marker "SCOR"
//     4   4  number of scores, equal to the header's word count
//     8   n  the scores
//
// and the header field at 280, which readers before it never read and our
// writer always left zero, gives its offset. An older reader therefore
// reads a scored file as before, and a file without the field reads as
// unscored.
#ifndef VOCOR_DICTIONARY_VOCOR_FORMAT_H_
#define VOCOR_DICTIONARY_VOCOR_FORMAT_H_

#include <cstddef>
#include <cstdint>
#include <string>

#include "dictionary/text_words.h"
#include "engine/charset.h"

namespace vocor {

// ---- Header ----

constexpr char kVocorMagic[] = "VOCOR Dictionary File";
constexpr size_t kVocorMagicSize = sizeof(kVocorMagic);  // NUL included
constexpr size_t kVocorHeaderSize = 288;
constexpr size_t kVocorNameOffset = 128;
constexpr size_t kVocorNameFieldSize = 128;
constexpr size_t kVocorMaxNameLength = kVocorNameFieldSize - 1;
constexpr size_t kVocorFormatVersionOffset = 256;
constexpr size_t kVocorDictionaryVersionOffset = 260;
constexpr size_t kVocorLanguageOffset = 264;
constexpr size_t kVocorSizeOffset = 268;
constexpr size_t kVocorNotesOffsetOffset = 272;
constexpr size_t kVocorRootOffsetOffset = 276;
constexpr size_t kVocorScoresOffsetOffset = 280;
constexpr size_t kVocorWordCountOffset = 284;
constexpr int32_t kVocorFormatVersion = 201;

// ---- Score section ----

constexpr char kVocorScoreMarker[] = "SCOR";  // the NUL is not stored
constexpr size_t kVocorScoreMarkerSize = sizeof(kVocorScoreMarker) - 1;
constexpr size_t kVocorScoreHeaderSize = kVocorScoreMarkerSize + 4;

// ---- Tree ----

constexpr int kVocorMaxEntries = 127;
constexpr uint32_t kVocorNodeLimit = uint32_t{1} << 24;   // offsets below this
constexpr uint32_t kVocorCountLimit = uint32_t{1} << 23;  // counts below this
constexpr size_t kVocorNodeWordSize = 4;
constexpr size_t kVocorEntrySize = 4;
// Letters a file may hold: bytes 1 to 126, and the letters of the upper
// half of Windows-1252 (é, å, ß), so that languages keep their accents.
// 0 would end the word it is written into; the other upper bytes are no
// letters and could never be typed into a pattern. The engine counts
// letters in tables of all 256 bytes, so no byte here is out of its reach.
inline bool IsVocorLetter(unsigned letter) {
  return (letter >= 1 && letter <= 126) ||
         (letter >= 128 && letter <= 255 &&
          IsEngineLetter(static_cast<unsigned char>(letter)));
}
// Paths are assembled in a kWordBufferSize buffer, so at most
// kMaxWordLength letters deep.

// ---- Little-endian access ----

// `p` must point at 4 readable bytes.
inline uint32_t LoadLE32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 |
         uint32_t{b[3]} << 24;
}

// `p` must point at 4 writable bytes.
inline void StoreLE32(char* p, uint32_t value) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<char>(value >> (8 * i));
}

// ---- Optional sections ----

// The CRC-32 (zlib's) of the `size` bytes at `section` but the four at
// `checksum_at`, where the section stores it.
uint32_t SectionChecksum(const char* section, size_t size, size_t checksum_at);

// ---- Node words and entries ----

inline int NodeEntryCount(uint32_t node_word) {
  return static_cast<int>(node_word & 0x7f);
}
inline bool NodeIsTerminal(uint32_t node_word) {
  return (node_word & 0x80) != 0;
}
inline uint32_t NodeBelowCount(uint32_t node_word) { return node_word >> 8; }
// Words at and below the node: the terminal flag plus the below-count.
inline uint32_t NodeAllCount(uint32_t node_word) {
  return NodeBelowCount(node_word) + (NodeIsTerminal(node_word) ? 1 : 0);
}
// Preconditions: entry_count <= 127, below < 2^24.
inline uint32_t MakeNodeWord(int entry_count, bool terminal, uint32_t below) {
  return static_cast<uint32_t>(entry_count) | (terminal ? 0x80u : 0u) |
         below << 8;
}

inline uint32_t EntryChildOffset(uint32_t entry) { return entry & 0xffffff; }
inline unsigned char EntryLetter(uint32_t entry) {
  return static_cast<unsigned char>(entry >> 24);
}
// Precondition: child_offset < kVocorNodeLimit.
inline uint32_t MakeEntry(uint32_t child_offset, unsigned char letter) {
  return child_offset | uint32_t{letter} << 24;
}

// ---- Decoded header ----

struct VocorHeader {
  std::string name;
  int32_t format_version = 0;
  int32_t dictionary_version = 0;
  uint32_t language = 0;
  int32_t size = 0;
  std::string notes;
  uint32_t root_offset = 0;
  int32_t word_count = 0;
};

// Decodes and checks the header of the `size`-byte image at `data`: the
// image holds the whole header, the magic (NUL included) and the format
// version match, the name ends inside its field, the notes text starts
// inside the image and ends with a NUL before the image does, and the root
// node's word lies inside the image. The tree itself is not looked at.
// Returns false, leaving *header in an unspecified state, when a check
// fails.
bool ParseVocorHeader(const char* data, size_t size, VocorHeader* header);

// ---- Score section ----

enum class VocorScoreSection {
  kAbsent,   // the header names no section (offset 0)
  kForeign,  // the offset points at no marker: bytes of a writer that did
             // not know the field, taken as no section
  kDamaged,  // the head is cut off by the end of the image, or the marker
             // is there but the count or the bounds are wrong
  kPresent,  // the marker, a count equal to the word count, and the
             // scores inside the image
};

// Where the scores of a file begin. `data` holds the file's first `size`
// bytes, at least its header, which has passed ParseVocorHeader as
// *header; the file has `file_size` bytes in all. Looks at the section's
// 8-byte head only (which must lie in the first `size` bytes), never at
// the scores. On kPresent sets *first_score to the file offset of the
// first score (header.word_count of them follow inside the file);
// otherwise leaves it alone. On kDamaged, *reason (when not null) says
// why.
VocorScoreSection LocateVocorScores(const char* data, size_t size,
                                    size_t file_size, const VocorHeader& header,
                                    size_t* first_score,
                                    std::string* reason = nullptr);

// How many of a file's first bytes a reader needs at open, given its first
// `size` bytes and its size: all of them, except that scores forming the
// file's tail (our writer's layout) are left to be read when first used.
// A FileImage::LengthNeeded.
size_t VocorBytesNeededAtOpen(const char* first, size_t size, size_t file_size);

// ---- Checked node access ----

struct VocorNode {
  uint32_t offset = 0;
  uint32_t word = 0;  // the node word

  int entry_count() const { return NodeEntryCount(word); }
  bool terminal() const { return NodeIsTerminal(word); }
  uint32_t all() const { return NodeAllCount(word); }
};

// Reads the node at `offset` of the `size`-byte image at `data` and checks
// that it can be walked: its node word and all its entries lie inside the
// image, the node word of every child does too, and the below-count equals
// the sum of the children's all-counts. The count rule is what bounds a
// walk over a damaged file: a cycle or a blow-up of shared nodes cannot
// keep its counts consistent below 2^24 without holding no word at all.
// Returns false when a check fails.
bool ReadVocorNode(const char* data, size_t size, uint32_t offset,
                   VocorNode* node);

// Reads only what a lookup needs: the node word and the entries lie inside
// the image. Counts are not checked. Inline: lookups call it per letter.
inline bool ReadVocorNodeShallow(const char* data, size_t size, uint32_t offset,
                                 VocorNode* node) {
  // size_t arithmetic: offset < 2^32 and the node adds at most 512 bytes,
  // so nothing wraps on a 64-bit size_t.
  const size_t start = offset;
  if (start + kVocorNodeWordSize > size) return false;
  const uint32_t word = LoadLE32(data + start);
  const size_t end =
      start + kVocorNodeWordSize +
      kVocorEntrySize * static_cast<size_t>(NodeEntryCount(word));
  if (end > size) return false;
  node->offset = offset;
  node->word = word;
  return true;
}

// Entry `i` of a node read by one of the functions above from the same
// image. Precondition: 0 <= i < node.entry_count().
inline uint32_t VocorEntry(const char* data, const VocorNode& node, int i) {
  return LoadLE32(data + node.offset + kVocorNodeWordSize +
                  kVocorEntrySize * static_cast<size_t>(i));
}

// The index of the entry of `node` whose letter is `letter`, searched from
// the last entry to the first, or -1 when there is none.
inline int FindVocorEntry(const char* data, const VocorNode& node,
                          unsigned char letter) {
  int i = node.entry_count() - 1;
  while (i >= 0 && EntryLetter(VocorEntry(data, node, i)) != letter) --i;
  return i;
}

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_VOCOR_FORMAT_H_
