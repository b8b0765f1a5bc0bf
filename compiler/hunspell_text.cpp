#include "compiler/hunspell_text.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <memory>

#include "dictionary/unicode_nfc.h"
#include "engine/charset.h"

namespace vocor::hunspell {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// The name ICU knows for a spell checker's encoding name.
std::string IcuName(const std::string& encoding) {
  const std::string upper = Upper(encoding);
  if (upper.starts_with("ISO8859-")) return "ISO-8859-" + upper.substr(8);
  if (upper.starts_with("MICROSOFT-CP")) return "windows-" + upper.substr(12);
  if (upper == "ISCII-DEVANAGARI") return "ISCII,version=0";
  return encoding;
}

bool HasMultiByteUtf8(std::string_view bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char c) {
    return static_cast<unsigned char>(c) > 127;
  });
}

int64_t LineOf(std::string_view text, size_t offset) {
  return 1 + std::count(text.begin(), text.begin() + offset, '\n');
}

// The first line of `bytes` that is not well-formed UTF-8, or 0.
int64_t FirstBadUtf8Line(std::string_view bytes) {
  size_t at = 0;
  while (at < bytes.size()) {
    const size_t end = std::min(bytes.find('\n', at), bytes.size());
    if (!IsValidUtf8(bytes.substr(at, end - at))) return LineOf(bytes, at);
    at = end + 1;
  }
  return 0;
}

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

// Decodes `bytes` with `converter` into UTF-16, stopping at a byte that
// has no character; false then.
bool ToUtf16(UConverter* converter, std::string_view bytes,
             std::u16string* text) {
  UErrorCode status = U_ZERO_ERROR;
  ucnv_reset(converter);
  text->resize(bytes.size() * 2 + 1);
  const int32_t length =
      ucnv_toUChars(converter, reinterpret_cast<UChar*>(text->data()),
                    static_cast<int32_t>(text->size()), bytes.data(),
                    static_cast<int32_t>(bytes.size()), &status);
  if (U_FAILURE(status)) return false;
  text->resize(static_cast<size_t>(length));
  return true;
}

void Utf16ToUtf8(const std::u16string& text, std::string* utf8) {
  utf8->clear();
  utf8->reserve(text.size() * 2);
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size()) {
      c = 0x10000 + ((c - 0xD800) << 10) + (text[++i] - 0xDC00);
    }
    AppendUtf8(c, utf8);
  }
}

bool DecodeOneByte(std::string_view bytes, const std::string& encoding,
                   std::string* utf8, std::string* reason) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(IcuName(encoding).c_str(), &status));
  if (U_FAILURE(status) || !converter) {
    *reason = "line 1: the encoding '" + encoding + "' is unknown";
    return false;
  }
  ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr,
                      nullptr, nullptr, &status);
  std::u16string text;
  if (!ToUtf16(converter.get(), bytes, &text)) {
    // Rare: find the line to name.
    size_t at = 0;
    while (at < bytes.size()) {
      const size_t end = std::min(bytes.find('\n', at), bytes.size());
      if (!ToUtf16(converter.get(), bytes.substr(at, end - at), &text)) break;
      at = end + 1;
    }
    *reason = "line " + std::to_string(LineOf(bytes, at)) +
              ": bytes that are not " + encoding + " text";
    return false;
  }
  Utf16ToUtf8(text, utf8);
  return true;
}

}  // namespace

std::string DeclaredEncoding(std::string_view affix_bytes) {
  if (affix_bytes.starts_with(kByteOrderMark)) {
    affix_bytes.remove_prefix(kByteOrderMark.size());
  }
  LineReader lines(affix_bytes);
  std::string_view line;
  while (lines.Next(&line)) {
    const std::vector<std::string_view> fields = Fields(line);
    if (fields.size() >= 2 && fields[0] == "SET") return std::string(fields[1]);
  }
  return "";
}

std::string EffectiveEncoding(const std::string& declared,
                              std::string_view affix_bytes) {
  if (!declared.empty()) return declared;
  return IsValidUtf8(affix_bytes) ? "UTF-8" : "ISO-8859-1";
}

bool IsUtf8Encoding(const std::string& encoding) {
  const std::string upper = Upper(encoding);
  return upper == "UTF-8" || upper == "UTF8";
}

bool DecodeToUtf8(std::string_view bytes, const std::string& encoding,
                  std::string* utf8, std::string* reason) {
  if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(3);
  if (IsUtf8Encoding(encoding)) {
    if (const int64_t bad = FirstBadUtf8Line(bytes); bad != 0) {
      *reason = "line " + std::to_string(bad) +
                ": bytes that are not UTF-8 text, which SET declares";
      return false;
    }
    utf8->assign(bytes);
    return true;
  }
  if (HasMultiByteUtf8(bytes) && IsValidUtf8(bytes)) {
    const size_t first = static_cast<size_t>(
        std::find_if(
            bytes.begin(), bytes.end(),
            [](char c) { return static_cast<unsigned char>(c) > 127; }) -
        bytes.begin());
    *reason = "line " + std::to_string(LineOf(bytes, first)) +
              ": the file is UTF-8 text, but SET declares " + encoding;
    return false;
  }
  return DecodeOneByte(bytes, encoding, utf8, reason);
}

bool LineReader::Next(std::string_view* line) {
  if (offset_ >= text_.size()) return false;
  size_t end = text_.find('\n', offset_);
  if (end == std::string_view::npos) end = text_.size();
  *line = text_.substr(offset_, end - offset_);
  if (!line->empty() && line->back() == '\r') line->remove_suffix(1);
  offset_ = end + 1;
  ++number_;
  return true;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t')) ++at;
    size_t end = at;
    while (end < line.size() && line[end] != ' ' && line[end] != '\t') ++end;
    if (end > at) fields.push_back(line.substr(at, end - at));
    at = end;
  }
  return fields;
}

bool Utf8ToEngineText(std::string_view text, std::string* engine) {
  engine->clear();
  size_t at = 0;
  while (at < text.size()) {
    const auto c = static_cast<unsigned char>(text[at]);
    if (c < 0x80) {
      *engine += static_cast<char>(c);
      ++at;
      continue;
    }
    uint32_t code_point = 0;
    const int length = DecodeUtf8(text.substr(at), &code_point);
    const int byte = length == 0 ? -1 : UnicodeToEngine(code_point);
    if (byte < 0) {
      // A base letter and a combining mark may compose into one letter.
      std::string composed;
      if (ComposeUtf8(text, &composed)) {
        return Utf8ToEngineText(composed, engine);
      }
      return false;
    }
    *engine += static_cast<char>(byte);
    at += static_cast<size_t>(length);
  }
  return true;
}

void RemoveIgnored(const std::vector<uint32_t>& ignored, std::string* text) {
  if (ignored.empty()) return;
  std::string kept;
  size_t at = 0;
  while (at < text->size()) {
    uint32_t code_point = 0;
    int length = DecodeUtf8(std::string_view(*text).substr(at), &code_point);
    if (length == 0) length = 1;
    if (!std::binary_search(ignored.begin(), ignored.end(), code_point)) {
      kept.append(*text, at, static_cast<size_t>(length));
    }
    at += static_cast<size_t>(length);
  }
  *text = std::move(kept);
}

}  // namespace vocor::hunspell
