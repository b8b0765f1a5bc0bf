// Opens arbitrary bytes as a dictionary-server database (an index and a
// data file, plain or dictzip) and looks words up in it. Finds reads
// outside buffers, runaway loops and crashes on damaged headers, chunk
// tables, base-64 numbers and compressed chunks.
//
// Input: [flags][index length, 2 bytes little-endian][index][data][word]
// [n]. The last byte n is the length of the word (cut to what is there);
// bit 0 of flags writes the data as NAME.dict.dz (dictzip), else NAME.dict.
// The word is looked up, then the headwords of the index's first lines.
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "definitions/definitions.h"

namespace vocor {
namespace {

constexpr int kHeadwordsLookedUp = 8;

// One folder for the whole run, made on first use and removed at exit.
struct ScratchFolder {
  ScratchFolder() {
    std::string pattern = std::filesystem::temp_directory_path().string() +
                          "/vocor-dict-fuzz-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

const std::filesystem::path& Folder() {
  static const ScratchFolder folder;
  return folder.path;
}

void Write(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void Check(bool condition) {
  if (!condition) std::abort();
}

void Run(bool packed, std::string_view index, std::string_view data,
         std::string_view word) {
  const std::filesystem::path& folder = Folder();
  std::error_code ignored;
  std::filesystem::remove(folder / "f.dict", ignored);
  std::filesystem::remove(folder / "f.dict.dz", ignored);
  Write(folder / "f.index", index);
  Write(folder / (packed ? "f.dict.dz" : "f.dict"), data);

  DefinitionLibrary library({folder});
  const auto look_up = [&](std::string_view w) {
    const DefinitionLookup lookup = library.Lookup(w, {"f"});
    Check(lookup.found.size() + lookup.errors.size() <= 1);
    for (const std::string& error : lookup.errors) {
      Check(error.starts_with("f.index: ") || error.starts_with("f.dict"));
    }
  };
  look_up(word);
  size_t at = 0;
  for (int i = 0; i < kHeadwordsLookedUp && at < index.size(); ++i) {
    const size_t end = std::min(index.find('\n', at), index.size());
    const std::string_view line = index.substr(at, end - at);
    look_up(line.substr(0, line.find('\t')));
    at = end + 1;
  }
  library.Title("f");
}

}  // namespace
}  // namespace vocor

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  const bool packed = (data[0] & 1) != 0;
  const size_t index_length = data[1] | size_t{data[2]} << 8;
  std::string_view rest(reinterpret_cast<const char*>(data) + 3, size - 4);
  const size_t word_length = std::min<size_t>(data[size - 1], rest.size());
  const std::string_view word = rest.substr(rest.size() - word_length);
  rest.remove_suffix(word_length);
  const std::string_view index = rest.substr(0, index_length);
  const std::string_view text = rest.substr(index.size());
  vocor::Run(packed, index, text, word);
  return 0;
}
