#include "dictionary/vocor_format.h"

#include <cstring>

namespace vocor {
namespace {

int32_t LoadSigned(const char* data, size_t offset) {
  return static_cast<int32_t>(LoadLE32(data + offset));
}

// Whether a NUL-terminated text starts at `offset` and ends before `limit`.
bool TextEndsBefore(const char* data, size_t offset, size_t limit) {
  return offset < limit &&
         std::memchr(data + offset, '\0', limit - offset) != nullptr;
}

}  // namespace

bool ParseVocorHeader(const char* data, size_t size, VocorHeader* header) {
  if (size < kVocorHeaderSize) return false;
  if (std::memcmp(data, kVocorMagic, kVocorMagicSize) != 0) return false;
  header->format_version = LoadSigned(data, kVocorFormatVersionOffset);
  if (header->format_version != kVocorFormatVersion) return false;
  if (!TextEndsBefore(data, kVocorNameOffset,
                      kVocorNameOffset + kVocorNameFieldSize)) {
    return false;
  }
  const int32_t notes_offset = LoadSigned(data, kVocorNotesOffsetOffset);
  if (notes_offset < 0 ||
      !TextEndsBefore(data, static_cast<size_t>(notes_offset), size)) {
    return false;
  }
  const int32_t root_offset = LoadSigned(data, kVocorRootOffsetOffset);
  if (root_offset < 0 ||
      static_cast<size_t>(root_offset) + kVocorNodeWordSize > size) {
    return false;
  }
  header->name = data + kVocorNameOffset;
  header->dictionary_version = LoadSigned(data, kVocorDictionaryVersionOffset);
  header->language = LoadLE32(data + kVocorLanguageOffset);
  header->size = LoadSigned(data, kVocorSizeOffset);
  header->notes = data + notes_offset;
  header->root_offset = static_cast<uint32_t>(root_offset);
  header->word_count = LoadSigned(data, kVocorWordCountOffset);
  return true;
}

bool ReadVocorNode(const char* data, size_t size, uint32_t offset,
                   VocorNode* node) {
  VocorNode candidate;
  if (!ReadVocorNodeShallow(data, size, offset, &candidate)) return false;
  uint64_t below = 0;
  for (int i = 0; i < candidate.entry_count(); ++i) {
    const size_t child = EntryChildOffset(VocorEntry(data, candidate, i));
    if (child + kVocorNodeWordSize > size) return false;
    below += NodeAllCount(LoadLE32(data + child));
  }
  if (below != NodeBelowCount(candidate.word)) return false;
  *node = candidate;
  return true;
}

}  // namespace vocor
