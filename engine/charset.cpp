#include "engine/charset.h"

#include <algorithm>

namespace vocor {
namespace {

// Unicode characters of bytes 0x80-0x9F; 0 marks the unassigned bytes.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

}  // namespace

uint32_t EngineToUnicode(unsigned char c) {
  if (c >= 0x80 && c <= 0x9F && kHighControls[c - 0x80] != 0) {
    return kHighControls[c - 0x80];
  }
  return c;
}

int CompareByCodePoints(std::string_view a, std::string_view b) {
  const size_t common = std::min(a.size(), b.size());
  for (size_t i = 0; i < common; ++i) {
    if (a[i] == b[i]) continue;
    const uint32_t x = EngineToUnicode(static_cast<unsigned char>(a[i]));
    const uint32_t y = EngineToUnicode(static_cast<unsigned char>(b[i]));
    return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool HasBytesOf80To9F(std::string_view text) {
  for (char c : text) {
    if ((static_cast<unsigned char>(c) & 0xE0) == 0x80) return true;
  }
  return false;
}

int UnicodeToEngine(uint32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i) {
    if (kHighControls[i] != 0 && kHighControls[i] == cp) return 0x80 + i;
  }
  return -1;
}

int DecodeUtf8(std::string_view text, uint32_t* code_point) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  const size_t n = text.size();
  if (s[0] < 0x80) {
    *code_point = s[0];
    return 1;
  }
  int len;
  uint32_t cp, min;
  if ((s[0] & 0xE0) == 0xC0) {
    len = 2, cp = s[0] & 0x1F, min = 0x80;
  } else if ((s[0] & 0xF0) == 0xE0) {
    len = 3, cp = s[0] & 0x0F, min = 0x800;
  } else if ((s[0] & 0xF8) == 0xF0) {
    len = 4, cp = s[0] & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (n < static_cast<size_t>(len)) return 0;
  for (int i = 1; i < len; ++i) {
    if ((s[i] & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (s[i] & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  *code_point = cp;
  return len;
}

bool IsValidUtf8(std::string_view text) {
  uint32_t cp;
  while (!text.empty()) {
    // ASCII runs are by far the common case; skip them without decoding.
    if (static_cast<unsigned char>(text[0]) < 0x80) {
      text.remove_prefix(1);
      continue;
    }
    int len = DecodeUtf8(text, &cp);
    if (len == 0) return false;
    text.remove_prefix(len);
  }
  return true;
}

std::string Utf8ToEngine(std::string_view utf8, char unmappable) {
  std::string out;
  out.reserve(utf8.size());
  uint32_t cp;
  while (!utf8.empty()) {
    int len = DecodeUtf8(utf8, &cp);
    if (len == 0) {
      out.push_back(utf8[0]);
      utf8.remove_prefix(1);
      continue;
    }
    int c = UnicodeToEngine(cp);
    out.push_back(c < 0 ? unmappable : static_cast<char>(c));
    utf8.remove_prefix(len);
  }
  return out;
}

std::string EngineToUtf8(std::string_view engine) {
  std::string out;
  out.reserve(engine.size());
  AppendEngineAsUtf8(engine, &out);
  return out;
}

void AppendUtf8(uint32_t code_point, std::string* out) {
  char bytes[4];
  size_t n;
  if (code_point < 0x80) {
    bytes[0] = static_cast<char>(code_point);
    n = 1;
  } else if (code_point < 0x800) {
    bytes[0] = static_cast<char>(0xC0 | (code_point >> 6));
    n = 2;
  } else if (code_point < 0x10000) {
    bytes[0] = static_cast<char>(0xE0 | (code_point >> 12));
    n = 3;
  } else {
    bytes[0] = static_cast<char>(0xF0 | (code_point >> 18));
    n = 4;
  }
  for (size_t i = n - 1; i > 0; --i, code_point >>= 6) {
    bytes[i] = static_cast<char>(0x80 | (code_point & 0x3F));
  }
  out->append(bytes, n);
}

void AppendEngineAsUtf8(std::string_view engine, std::string* out) {
  size_t i = 0;
  while (i < engine.size()) {
    // Runs of ASCII, most words whole, go in one append.
    size_t ascii_end = i;
    while (ascii_end < engine.size() &&
           static_cast<unsigned char>(engine[ascii_end]) < 0x80) {
      ++ascii_end;
    }
    out->append(engine.data() + i, ascii_end - i);
    if (ascii_end == engine.size()) break;
    AppendUtf8(EngineToUnicode(static_cast<unsigned char>(engine[ascii_end])),
               out);
    i = ascii_end + 1;
  }
}

void EngineLowerInPlace(std::string* text) {
  for (char& ch : *text) {
    ch = static_cast<char>(EngineToLower(static_cast<unsigned char>(ch)));
  }
}

}  // namespace vocor
