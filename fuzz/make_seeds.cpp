// Writes the seed corpus of the .dic fuzzer: compiled word lists, each with
// a few queries appended in the fuzzer's input layout. Every list is written
// twice, without and with a score section, so that mutations reach the
// section's head and its scores.
//
// Usage: make_seeds OUTPUT_DIR [WORD_LIST]
// WORD_LIST (one word per line) adds a larger sample of real words; lines
// that are not plain lower-case ASCII are skipped.
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "dictionary/vocor_file_writer.h"

namespace {

std::vector<std::string> ReadWordList(const char* path, size_t limit) {
  std::vector<std::string> words;
  std::ifstream in(path);
  std::string line;
  while (words.size() < limit && std::getline(in, line)) {
    bool plain = !line.empty();
    for (char c : line) plain = plain && c >= 'a' && c <= 'z';
    if (plain) words.push_back(line);
  }
  return words;
}

// Appends `query` (fields separated by NUL) and its length byte.
std::string WithQuery(const std::string& image, const std::string& query) {
  return image + query + static_cast<char>(query.size());
}

// Scores spread over the whole range, so that floors split the words.
std::vector<uint8_t> SomeScores(size_t count) {
  std::vector<uint8_t> scores(count);
  for (size_t i = 0; i < count; ++i) {
    scores[i] = static_cast<uint8_t>(1 + (i * 37) % 100);
  }
  return scores;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: make_seeds OUTPUT_DIR [WORD_LIST]\n";
    return 2;
  }
  std::vector<std::vector<std::string>> lists = {
      {"a", "at"},
      {"a", "at", "cat", "cats", "bat", "bats", "rat", "rats", "tea", "eat",
       "eats", "seat", "east", "x-ray", "o'clock", "abracadabra"},
  };
  if (argc > 2) lists.push_back(ReadWordList(argv[2], 400));
  const std::string queries[] = {
      "",
      std::string("*"),
      std::string("c?t\0\0at?", 8),
      std::string("*a*\0s\0", 6),
      std::string("??*\0\0abcst\0???*\0cats", 21),
      std::string("*t\0e\0aeilnorst?\0*", 17),
      // The richer elements: classes, vowels and consonants, pieces,
      // ranges and escapes, beside a constraint and a second pattern.
      std::string("2-5:[a-c]*{ta?}\0\0\0#@*", 21),
      std::string("*[^aeiou]\\:?\0x\0abcdest*\0-4:*{s?}", 32),
  };
  int written = 0;
  for (size_t i = 0; i < 2 * lists.size(); ++i) {
    const std::vector<std::string>& words = lists[i / 2];
    if (words.empty()) continue;
    const bool scored = i % 2 == 1;
    std::string image, error;
    vocor::VocorFileInfo info;
    info.name = "Seed " + std::to_string(i);
    info.notes = "Seed corpus.";
    if (!vocor::BuildVocorFile(
            words, scored ? SomeScores(words.size()) : std::vector<uint8_t>(),
            info, &image, nullptr, &error)) {
      std::cerr << "make_seeds: " << error << "\n";
      return 1;
    }
    for (size_t q = 0; q < std::size(queries); ++q) {
      const std::string path = std::string(argv[1]) + "/seed-" +
                               std::to_string(i) + "-" + std::to_string(q);
      std::ofstream out(path, std::ios::binary);
      const std::string bytes = WithQuery(image, queries[q]);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
      if (!out) {
        std::cerr << "make_seeds: cannot write " << path << "\n";
        return 1;
      }
      ++written;
    }
  }
  std::cout << "make_seeds: " << written << " seeds\n";
  return 0;
}
