// Writes dictionary-server databases for tests, benchmarks and fuzz seeds:
// an index in the order given (the caller sorts) and the entry texts,
// plain or dictzip with any chunk length.
#ifndef VOCOR_DEFINITIONS_TESTING_DICT_WRITER_H_
#define VOCOR_DEFINITIONS_TESTING_DICT_WRITER_H_

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vocor::testing {

struct MadeEntry {
  std::string headword;
  std::string text;
};

struct MadeDatabase {
  std::string index;  // the .index file
  std::string text;   // the .dict file (uncompressed)
};

// A base-64 number as an index writes it (no leading "A" but for 0).
std::string Base64Number(uint64_t value);

// The index and text of `entries`, each text stored once after the other;
// entries with equal text share it.
MadeDatabase MakeDatabase(const std::vector<MadeEntry>& entries);

// `text` as a dictzip file with chunks of `chunk_length` bytes
// (1..65535), optionally with a file name in the header.
std::string Dictzip(std::string_view text, size_t chunk_length,
                    std::string_view file_name = {});

// Writes FOLDER/NAME.index and FOLDER/NAME.dict.dz (chunk_length > 0) or
// FOLDER/NAME.dict (chunk_length == 0).
void WriteDatabase(const std::filesystem::path& folder, const std::string& name,
                   const MadeDatabase& database, size_t chunk_length);

void WriteFile(const std::filesystem::path& path, std::string_view bytes);

}  // namespace vocor::testing

#endif  // VOCOR_DEFINITIONS_TESTING_DICT_WRITER_H_
