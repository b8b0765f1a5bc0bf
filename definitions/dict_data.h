// The entry texts of a database: NAME.dict (plain) or NAME.dict.dz
// (dictzip). A dictzip file is a gzip member whose header's extra field
// holds a subfield "RA": version 1, the uncompressed chunk length, the
// chunk count and each chunk's compressed size. Every chunk was deflated
// with a full flush before it, so it inflates on its own (raw deflate) and
// an entry costs the inflation of its own chunks only.
#ifndef VOCOR_DEFINITIONS_DICT_DATA_H_
#define VOCOR_DEFINITIONS_DICT_DATA_H_

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace vocor {

// Entries longer than this are taken for damage rather than read.
constexpr uint64_t kMaxEntryLength = uint64_t{16} << 20;

class DictData {
 public:
  // Opens a data file, a dictzip one when its name ends in ".dz". Checks
  // the dictzip header and that the file holds every chunk it lists; null
  // with *error ("NAME: what is wrong") otherwise.
  static std::unique_ptr<DictData> Open(const std::filesystem::path& path,
                                        std::string* error);
  virtual ~DictData() = default;

  // The size of the text (uncompressed).
  virtual uint64_t size() const = 0;

  // The `length` bytes of text at `offset`. False with *error when they
  // lie past the end, the file was cut short since it was opened, or a
  // chunk does not inflate.
  virtual bool Read(uint64_t offset, uint64_t length, std::string* out,
                    std::string* error) = 0;
};

}  // namespace vocor

#endif  // VOCOR_DEFINITIONS_DICT_DATA_H_
