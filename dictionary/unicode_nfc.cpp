#include "dictionary/unicode_nfc.h"

#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "dictionary/icu_runtime.h"
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
  // ICU counts in int32_t; the callers' texts are below 2 GiB (dictionary
  // files), and a longer one is left as it is rather than cut.
  if (text.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
    return false;
  }
  const IcuRuntime* icu = Icu();
  if (icu == nullptr) return false;  // no ICU: leave the text as it is
  UErrorCode status = U_ZERO_ERROR;
  const UNormalizer2* nfc = icu->get_nfc_instance(&status);
  if (U_FAILURE(status)) return false;
  // UTF-8 never has fewer bytes than UTF-16 has units.
  std::vector<UChar> utf16(text.size());
  int32_t units = 0;
  icu->from_utf8(utf16.data(), static_cast<int32_t>(utf16.size()), &units,
                 text.data(), static_cast<int32_t>(text.size()), &status);
  if (U_FAILURE(status)) return false;
  if (icu->is_normalized(nfc, utf16.data(), units, &status) &&
      U_SUCCESS(status)) {
    return false;
  }
  status = U_ZERO_ERROR;
  std::vector<UChar> composed(static_cast<size_t>(units) + 16);
  int32_t length = icu->normalize(nfc, utf16.data(), units, composed.data(),
                                  static_cast<int32_t>(composed.size()),
                                  &status);
  if (status == U_BUFFER_OVERFLOW_ERROR) {
    status = U_ZERO_ERROR;
    composed.resize(static_cast<size_t>(length));
    length = icu->normalize(nfc, utf16.data(), units, composed.data(), length,
                            &status);
  }
  if (U_FAILURE(status)) return false;
  // Each UTF-16 unit becomes at most three UTF-8 bytes.
  std::string result(3 * static_cast<size_t>(length), '\0');
  int32_t bytes = 0;
  icu->to_utf8(result.data(), static_cast<int32_t>(result.size()), &bytes,
               composed.data(), length, &status);
  if (U_FAILURE(status)) return false;
  result.resize(static_cast<size_t>(bytes));
  *out = std::move(result);
  return true;
}

std::string ComposedUtf8(std::string_view text) {
  std::string composed;
  if (ComposeUtf8(text, &composed)) return composed;
  return std::string(text);
}

}  // namespace vocor
