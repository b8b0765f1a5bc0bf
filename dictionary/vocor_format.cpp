#include "dictionary/vocor_format.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <utility>

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

VocorScoreSection LocateVocorScores(const char* data, size_t size,
                                    size_t file_size, const VocorHeader& header,
                                    size_t* first_score, std::string* reason) {
  const size_t offset = LoadLE32(data + kVocorScoresOffsetOffset);
  if (offset == 0) return VocorScoreSection::kAbsent;
  const auto damaged = [reason](std::string why) {
    if (reason != nullptr) *reason = std::move(why);
    return VocorScoreSection::kDamaged;
  };
  if (offset < kVocorHeaderSize || offset > file_size) {
    return VocorScoreSection::kForeign;
  }
  // A head that starts in the file but runs past its end is a section cut
  // short: no other writer's bytes are this likely to land there.
  if (file_size - offset < kVocorScoreHeaderSize) {
    return damaged("the score section at offset " + std::to_string(offset) +
                   " is cut off by the end of the file");
  }
  if (offset + kVocorScoreHeaderSize > size ||
      std::memcmp(data + offset, kVocorScoreMarker, kVocorScoreMarkerSize) !=
          0) {
    return VocorScoreSection::kForeign;
  }
  const int64_t count = LoadSigned(data, offset + kVocorScoreMarkerSize);
  const size_t first = offset + kVocorScoreHeaderSize;
  if (count != header.word_count) {
    return damaged("the score section at offset " + std::to_string(offset) +
                   " holds " + std::to_string(count) +
                   " scores but the header says " +
                   std::to_string(header.word_count) + " words");
  }
  if (count < 0 || static_cast<uint64_t>(count) > file_size - first) {
    return damaged("the score section at offset " + std::to_string(offset) +
                   " with " + std::to_string(count) +
                   " scores runs past the end of the file");
  }
  *first_score = first;
  return VocorScoreSection::kPresent;
}

size_t VocorBytesNeededAtOpen(const char* first, size_t size,
                              size_t file_size) {
  if (size < kVocorHeaderSize) return file_size;
  const uint64_t offset = LoadLE32(first + kVocorScoresOffsetOffset);
  const int32_t words = LoadSigned(first, kVocorWordCountOffset);
  if (offset < kVocorHeaderSize || words < 0) return file_size;
  const uint64_t head_end = offset + kVocorScoreHeaderSize;
  if (head_end + static_cast<uint64_t>(words) != file_size) return file_size;
  return static_cast<size_t>(head_end);
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

uint32_t SectionChecksum(const char* section, size_t size, size_t checksum_at) {
  const auto add = [](uLong crc, const char* data, size_t length) {
    // zlib takes lengths as uInt; sections are far below 4 GiB, but stay
    // honest about it.
    while (length > 0) {
      const uInt chunk = static_cast<uInt>(std::min<size_t>(length, 1u << 30));
      crc = crc32(crc, reinterpret_cast<const Bytef*>(data), chunk);
      data += chunk;
      length -= chunk;
    }
    return crc;
  };
  uLong crc = crc32(0L, Z_NULL, 0);
  crc = add(crc, section, checksum_at);
  crc = add(crc, section + checksum_at + 4, size - checksum_at - 4);
  return static_cast<uint32_t>(crc);
}

}  // namespace vocor
