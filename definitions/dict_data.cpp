#include "definitions/dict_data.h"

#include <zlib.h>

#include <vector>

#include "definitions/file_reader.h"

namespace vocor {

namespace {

constexpr unsigned char kGzipId1 = 0x1f, kGzipId2 = 0x8b, kDeflate = 8;
constexpr unsigned kFlagHeaderCrc = 0x02, kFlagExtra = 0x04,
                   kFlagName = 0x08, kFlagComment = 0x10, kFlagReserved = 0xe0;
constexpr size_t kFixedHeader = 10;
constexpr size_t kTrailer = 8;  // CRC-32 and the size modulo 2^32
// The header with its extra field and the longest file name and comment
// this reader accepts.
constexpr size_t kMaxHeader = kFixedHeader + 2 + 65535 + 8192;

unsigned Le16(const std::string& bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) |
         static_cast<unsigned>(static_cast<unsigned char>(bytes[at + 1])) << 8;
}

uint32_t Le32(const std::string& bytes, size_t at) {
  return Le16(bytes, at) | static_cast<uint32_t>(Le16(bytes, at + 2)) << 16;
}

std::string PastEnd(const std::string& name, uint64_t offset, uint64_t length,
                    uint64_t size) {
  return name + ": entry at " + std::to_string(offset) + " (" +
         std::to_string(length) + " bytes) lies past the end of the text (" +
         std::to_string(size) + " bytes)";
}

bool CheckRange(const std::string& name, uint64_t offset, uint64_t length,
                uint64_t size, std::string* error) {
  if (length > kMaxEntryLength) {
    *error = name + ": entry at " + std::to_string(offset) + " is " +
             std::to_string(length) + " bytes long, too long to be one";
    return false;
  }
  if (offset > size || length > size - offset) {
    *error = PastEnd(name, offset, length, size);
    return false;
  }
  return true;
}

class PlainData : public DictData {
 public:
  explicit PlainData(std::unique_ptr<FileReader> file)
      : file_(std::move(file)) {}
  uint64_t size() const override { return file_->size(); }
  bool Read(uint64_t offset, uint64_t length, std::string* out,
            std::string* error) override {
    if (!CheckRange(file_->name(), offset, length, size(), error)) return false;
    if (!file_->ReadExactly(offset, length, out)) {
      *error = file_->name() + ": cut short since it was opened";
      return false;
    }
    return true;
  }

 private:
  std::unique_ptr<FileReader> file_;
};

// The parts of a dictzip header this reader uses.
struct ChunkTable {
  size_t chunk_length = 0;
  std::vector<uint64_t> starts;  // file offset of each chunk, then the end
};

// Skips a zero-terminated field at *at; false when it does not end.
bool SkipString(const std::string& header, size_t* at) {
  const size_t end = header.find('\0', *at);
  if (end == std::string::npos) return false;
  *at = end + 1;
  return true;
}

// Reads the random-access subfield out of the extra field `extra`.
bool ParseRandomAccess(const std::string& extra, size_t data_start,
                       ChunkTable* table, std::string* what) {
  size_t at = 0;
  while (at + 4 <= extra.size()) {
    const unsigned length = Le16(extra, at + 2);
    if (at + 4 + length > extra.size()) break;
    if (extra[at] == 'R' && extra[at + 1] == 'A') {
      const std::string field = extra.substr(at + 4, length);
      if (length < 6 || Le16(field, 0) != 1) {
        *what = "unknown random-access table version";
        return false;
      }
      table->chunk_length = Le16(field, 2);
      const unsigned count = Le16(field, 4);
      if (table->chunk_length == 0 || count == 0 || length != 6 + 2 * count) {
        *what = "random-access table of the wrong size";
        return false;
      }
      uint64_t start = data_start;
      for (unsigned i = 0; i < count; ++i) {
        table->starts.push_back(start);
        start += Le16(field, 6 + 2 * i);
      }
      table->starts.push_back(start);
      return true;
    }
    at += 4 + length;
  }
  *what = "no random-access table in the gzip header (not made by dictzip)";
  return false;
}

// Reads the gzip header of `file` up to its compressed data.
bool ParseHeader(const FileReader& file, ChunkTable* table, std::string* what) {
  std::string header;
  if (!file.ReadAt(0, kMaxHeader, &header) || header.size() < kFixedHeader) {
    *what = "too short for a gzip header";
    return false;
  }
  const unsigned flags = static_cast<unsigned char>(header[3]);
  if (static_cast<unsigned char>(header[0]) != kGzipId1 ||
      static_cast<unsigned char>(header[1]) != kGzipId2 ||
      static_cast<unsigned char>(header[2]) != kDeflate ||
      (flags & kFlagReserved) != 0) {
    *what = "not a gzip file";
    return false;
  }
  if ((flags & kFlagExtra) == 0 || header.size() < kFixedHeader + 2) {
    *what = "no extra field in the gzip header (not made by dictzip)";
    return false;
  }
  const size_t extra_length = Le16(header, kFixedHeader);
  size_t at = kFixedHeader + 2 + extra_length;
  if (at > header.size()) {
    *what = "the gzip header's extra field is cut short";
    return false;
  }
  if (((flags & kFlagName) && !SkipString(header, &at)) ||
      ((flags & kFlagComment) && !SkipString(header, &at))) {
    *what = "the gzip header's file name or comment does not end";
    return false;
  }
  if (flags & kFlagHeaderCrc) at += 2;
  return ParseRandomAccess(header.substr(kFixedHeader + 2, extra_length), at,
                           table, what);
}

class DictzipData : public DictData {
 public:
  DictzipData(std::unique_ptr<FileReader> file, ChunkTable table,
              uint64_t size)
      : file_(std::move(file)), table_(std::move(table)), size_(size) {}

  uint64_t size() const override { return size_; }

  bool Read(uint64_t offset, uint64_t length, std::string* out,
            std::string* error) override {
    if (!CheckRange(file_->name(), offset, length, size_, error)) return false;
    out->clear();
    const size_t n = table_.chunk_length;
    for (uint64_t at = offset; at < offset + length;) {
      const size_t chunk = static_cast<size_t>(at / n);
      if (!Inflate(chunk, error)) return false;
      const size_t from = static_cast<size_t>(at - uint64_t{chunk} * n);
      const size_t take = static_cast<size_t>(
          std::min<uint64_t>(offset + length - at, cached_.size() - from));
      out->append(cached_, from, take);
      at += take;
    }
    return true;
  }

 private:
  size_t ChunkCount() const { return table_.starts.size() - 1; }

  // The text length of chunk `chunk`: the chunk length but for the last.
  size_t TextLength(size_t chunk) const {
    const uint64_t start = uint64_t{chunk} * table_.chunk_length;
    return static_cast<size_t>(
        std::min<uint64_t>(table_.chunk_length, size_ - start));
  }

  // Inflates chunk `chunk` into cached_ (unless it is there already).
  bool Inflate(size_t chunk, std::string* error) {
    if (cached_chunk_ == chunk) return true;
    cached_chunk_ = kNone;
    const std::string where =
        file_->name() + ": chunk " + std::to_string(chunk) + " of " +
        std::to_string(ChunkCount());
    std::string packed;
    const uint64_t start = table_.starts[chunk];
    if (!file_->ReadExactly(start, table_.starts[chunk + 1] - start, &packed)) {
      *error = where + " is cut short";
      return false;
    }
    cached_.assign(TextLength(chunk), '\0');
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) {
      *error = where + ": out of memory";
      return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(packed.data());
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(cached_.data());
    stream.avail_out = static_cast<uInt>(cached_.size());
    const int status = inflate(&stream, Z_SYNC_FLUSH);
    const size_t produced = cached_.size() - stream.avail_out;
    inflateEnd(&stream);
    if ((status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) ||
        produced != cached_.size()) {
      *error = where + " does not inflate" +
               (status == Z_DATA_ERROR ? " (damaged data)"
                                       : " (" + std::to_string(produced) +
                                             " of " +
                                             std::to_string(cached_.size()) +
                                             " bytes)");
      return false;
    }
    cached_chunk_ = chunk;
    return true;
  }

  static constexpr size_t kNone = ~size_t{0};
  std::unique_ptr<FileReader> file_;
  ChunkTable table_;
  uint64_t size_;
  // The last chunk inflated: look-ups of neighbouring words and entries
  // that span two chunks read it again.
  size_t cached_chunk_ = kNone;
  std::string cached_;
};

std::unique_ptr<DictData> OpenDictzip(std::unique_ptr<FileReader> file,
                                      std::string* error) {
  ChunkTable table;
  std::string what;
  if (!ParseHeader(*file, &table, &what)) {
    *error = file->name() + ": " + what;
    return nullptr;
  }
  const uint64_t chunks_end = table.starts.back();
  if (chunks_end + kTrailer > file->size()) {
    *error = file->name() + ": cut short (its chunks need " +
             std::to_string(chunks_end + kTrailer) + " bytes, the file has " +
             std::to_string(file->size()) + ")";
    return nullptr;
  }
  std::string trailer;
  if (!file->ReadExactly(file->size() - 4, 4, &trailer)) {
    *error = file->name() + ": cannot be read";
    return nullptr;
  }
  // The text fills every chunk but the last; the trailer holds its length
  // modulo 2^32 (no table can describe 4 GiB of text).
  const uint64_t size = Le32(trailer, 0);
  const uint64_t count = table.starts.size() - 1;
  if (size <= (count - 1) * table.chunk_length ||
      size > count * table.chunk_length) {
    *error = file->name() + ": the text length in the gzip trailer (" +
             std::to_string(size) + ") does not fit " + std::to_string(count) +
             " chunks of " + std::to_string(table.chunk_length) + " bytes";
    return nullptr;
  }
  return std::make_unique<DictzipData>(std::move(file), std::move(table), size);
}

}  // namespace

std::unique_ptr<DictData> DictData::Open(const std::filesystem::path& path,
                                         std::string* error) {
  std::unique_ptr<FileReader> file = FileReader::Open(path, error);
  if (!file) return nullptr;
  if (path.extension() == ".dz") return OpenDictzip(std::move(file), error);
  return std::make_unique<PlainData>(std::move(file));
}

}  // namespace vocor
