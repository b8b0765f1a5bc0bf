#include "dictionary/unicode_nfc.h"

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/stringpiece.h>

#include <cstdint>
#include <cstring>

#include "engine/charset.h"

namespace vocor {
namespace {

bool IsAscii(std::string_view text) {
  // Eight bytes at a time: word lists run to megabytes, and most are ASCII.
  const char* p = text.data();
  const char* end = p + text.size();
  for (; end - p >= 8; p += 8) {
    uint64_t chunk;
    std::memcpy(&chunk, p, sizeof chunk);
    if ((chunk & 0x8080808080808080ull) != 0) return false;
  }
  for (; p < end; ++p) {
    if (static_cast<unsigned char>(*p) >= 0x80) return false;
  }
  return true;
}

}  // namespace

bool ComposeUtf8(std::string_view text, std::string* out) {
  if (IsAscii(text) || !IsValidUtf8(text)) return false;
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return false;  // no data: leave the text as it is
  // ICU's string pieces are int32_t-sized; the callers' texts are below
  // 2 GiB (dictionary files), so this cast never truncates.
  const icu::StringPiece piece(text.data(), static_cast<int32_t>(text.size()));
  if (nfc->isNormalizedUTF8(piece, status) && U_SUCCESS(status)) return false;
  std::string composed;
  composed.reserve(text.size());
  icu::StringByteSink<std::string> sink(&composed);
  status = U_ZERO_ERROR;
  nfc->normalizeUTF8(0, piece, sink, nullptr, status);
  if (U_FAILURE(status)) return false;
  *out = std::move(composed);
  return true;
}

std::string ComposedUtf8(std::string_view text) {
  std::string composed;
  if (ComposeUtf8(text, &composed)) return composed;
  return std::string(text);
}

}  // namespace vocor
