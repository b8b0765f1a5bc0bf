#include "definitions/testing/dict_writer.h"

#include <zlib.h>

#include <fstream>
#include <map>
#include <stdexcept>

namespace vocor::testing {

namespace {

void PutLe16(std::string* out, unsigned value) {
  out->push_back(static_cast<char>(value & 0xff));
  out->push_back(static_cast<char>((value >> 8) & 0xff));
}

void PutLe32(std::string* out, uint32_t value) {
  PutLe16(out, value & 0xffff);
  PutLe16(out, value >> 16);
}

// Deflates `input` into the raw stream `stream` with `flush`, returning
// what came out.
std::string Deflate(z_stream* stream, std::string_view input, int flush) {
  std::string out;
  char buffer[4096];
  stream->next_in =
      reinterpret_cast<Bytef*>(const_cast<char*>(input.data()));
  stream->avail_in = static_cast<uInt>(input.size());
  do {
    stream->next_out = reinterpret_cast<Bytef*>(buffer);
    stream->avail_out = sizeof buffer;
    deflate(stream, flush);
    out.append(buffer, sizeof buffer - stream->avail_out);
  } while (stream->avail_out == 0);
  return out;
}

}  // namespace

std::string Base64Number(uint64_t value) {
  static constexpr char kDigits[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[value % 64]);
    value /= 64;
  } while (value != 0);
  return digits;
}

MadeDatabase MakeDatabase(const std::vector<MadeEntry>& entries) {
  MadeDatabase made;
  std::map<std::string, size_t> stored;
  for (const MadeEntry& entry : entries) {
    auto [it, added] = stored.emplace(entry.text, made.text.size());
    if (added) made.text += entry.text;
    made.index += entry.headword + "\t" + Base64Number(it->second) + "\t" +
                  Base64Number(entry.text.size()) + "\n";
  }
  return made;
}

std::string Dictzip(std::string_view text, size_t chunk_length,
                    std::string_view file_name) {
  z_stream stream{};
  deflateInit2(&stream, Z_BEST_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 9,
               Z_DEFAULT_STRATEGY);
  std::vector<std::string> chunks;
  for (size_t at = 0; at < text.size() || chunks.empty(); at += chunk_length) {
    const bool last = at + chunk_length >= text.size();
    chunks.push_back(Deflate(&stream, text.substr(at, chunk_length),
                             last ? Z_FINISH : Z_FULL_FLUSH));
  }
  deflateEnd(&stream);
  std::string header = "\x1f\x8b\x08";
  header.push_back(static_cast<char>(file_name.empty() ? 0x04 : 0x0c));
  header += std::string(4, '\0');  // no time
  header += "\x02\x03";            // best compression, Unix
  PutLe16(&header, 4 + 6 + 2 * chunks.size());
  header += "RA";
  PutLe16(&header, 6 + 2 * chunks.size());
  PutLe16(&header, 1);
  PutLe16(&header, chunk_length);
  PutLe16(&header, chunks.size());
  for (const std::string& chunk : chunks) {
    if (chunk.size() > 0xffff) throw std::length_error("chunk too large");
    PutLe16(&header, chunk.size());
  }
  if (!file_name.empty()) header += std::string(file_name) + '\0';
  std::string file = header;
  for (const std::string& chunk : chunks) file += chunk;
  PutLe32(&file, crc32(0, reinterpret_cast<const Bytef*>(text.data()),
                       static_cast<uInt>(text.size())));
  PutLe32(&file, static_cast<uint32_t>(text.size()));
  return file;
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

void WriteDatabase(const std::filesystem::path& folder, const std::string& name,
                   const MadeDatabase& database, size_t chunk_length) {
  WriteFile(folder / (name + ".index"), database.index);
  if (chunk_length == 0) {
    WriteFile(folder / (name + ".dict"), database.text);
  } else {
    WriteFile(folder / (name + ".dict.dz"),
              Dictzip(database.text, chunk_length, name + ".dict"));
  }
}

}  // namespace vocor::testing
