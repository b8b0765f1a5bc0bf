// Writes the seed corpus of the dictionary-server database fuzzer: small
// databases in its input layout, plain and dictzip with chunks of a few
// sizes, each with a word to look up.
//
// Usage: make_dict_seeds OUTPUT_DIR
#include <iostream>
#include <string>
#include <vector>

#include "definitions/testing/dict_writer.h"

namespace {

using vocor::testing::MadeEntry;

// The fuzzer's input: flags, the index length, index, data, word, its length.
std::string Input(bool packed, const std::string& index,
                  const std::string& data, const std::string& word) {
  std::string input(1, static_cast<char>(packed ? 1 : 0));
  input.push_back(static_cast<char>(index.size() & 0xff));
  input.push_back(static_cast<char>(index.size() >> 8));
  return input + index + data + word + static_cast<char>(word.size());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make_dict_seeds OUTPUT_DIR\n";
    return 2;
  }
  const std::vector<std::vector<MadeEntry>> databases = {
      {{"00databaseshort", "Seed\n"}, {"cat", "cat\na small animal\n"}},
      {{"00-database-allchars", "\n"},
       {"00-database-short", "Seed all\n"},
       {"'tween", "'tween\nbetween\n"},
       {"Abat-jour", "abat-jour\nlampshade\n"},
       {"chat", "chat\ncat\n"},
       {"chat", "chat\ntalk\n"},
       {"\xc3\xa9" "cole", "\xc3\xa9" "cole\nschool, a place of learning "
                           "where many words are taught\n"}},
  };
  const char* words[] = {"cat", "CHAT", "\xc3\x89" "cole", "abat-jour", "x"};
  int written = 0;
  for (size_t d = 0; d < databases.size(); ++d) {
    const vocor::testing::MadeDatabase made =
        vocor::testing::MakeDatabase(databases[d]);
    for (size_t chunk : {0, 7, 64, 4096}) {
      const std::string data =
          chunk == 0 ? made.text : vocor::testing::Dictzip(made.text, chunk);
      for (const char* word : words) {
        // Throws, ending the program with a message, when it cannot write.
        vocor::testing::WriteFile(
            std::string(argv[1]) + "/dict-seed-" + std::to_string(written++),
            Input(chunk != 0, made.index, data, word));
      }
    }
  }
  std::cout << "make_dict_seeds: " << written << " seeds\n";
  return 0;
}
