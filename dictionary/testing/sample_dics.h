// Sample binary dictionary images shared by the tests of the reader, the
// writer and the damage tests.
#ifndef VOCOR_DICTIONARY_TESTING_SAMPLE_DICS_H_
#define VOCOR_DICTIONARY_TESTING_SAMPLE_DICS_H_

#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "dictionary/vocor_file_writer.h"

namespace vocor::testing {

constexpr char kTwoWordName[] = "a and at";

// The smallest complete file of the words a and at, 309 bytes, typed in
// byte for byte: header, root at 288, a-node at 296, t-node at 304, empty
// notes at 308. Size field 309, dictionary version 100, language 0.
inline std::string TwoWordFileFromTable() {
  std::string file(309, '\0');
  auto put = [&file](size_t offset, std::initializer_list<unsigned char> b) {
    for (unsigned char c : b) file[offset++] = static_cast<char>(c);
  };
  std::memcpy(file.data(), "VOCOR Dictionary File", 22);  // NUL included
  std::memcpy(file.data() + 128, kTwoWordName, sizeof(kTwoWordName));
  put(256, {0xC9, 0x00, 0x00, 0x00});  // format version 201
  put(260, {0x64, 0x00, 0x00, 0x00});  // dictionary version 100
  put(268, {0x35, 0x01, 0x00, 0x00});  // size 309
  put(272, {0x34, 0x01, 0x00, 0x00});  // notes at 308
  put(276, {0x20, 0x01, 0x00, 0x00});  // root at 288
  put(284, {0x02, 0x00, 0x00, 0x00});  // two words
  put(288, {0x01, 0x02, 0x00, 0x00, 0x28, 0x01, 0x00, 0x61});  // root
  put(296, {0x81, 0x01, 0x00, 0x00, 0x30, 0x01, 0x00, 0x74});  // a
  put(304, {0x80, 0x00, 0x00, 0x00});                          // t
  return file;
}

// Compiles `words` with `scores` (one per word, or none for a file without
// scores); an empty string when the writer refuses them.
inline std::string CompileScoredWords(const std::vector<std::string>& words,
                                      const std::vector<uint8_t>& scores,
                                      const std::string& name = "Sample",
                                      const std::string& notes = "") {
  VocorFileInfo info;
  info.name = name;
  info.notes = notes;
  std::string file, error;
  if (!BuildVocorFile(words, scores, info, &file, nullptr, &error)) return "";
  return file;
}

// Compiles `words` without scores; an empty string when the writer refuses
// them.
inline std::string CompileWords(const std::vector<std::string>& words,
                                const std::string& name = "Sample",
                                const std::string& notes = "") {
  return CompileScoredWords(words, {}, name, notes);
}

// A few dozen words with shared prefixes and suffixes, extensions of other
// words, and a long word: every kind of node the writer makes.
inline std::vector<std::string> SampleWords() {
  return {"a",       "at",    "ate",    "cat",        "cats",  "catalogue",
          "dog",     "dogs",  "bat",    "bats",       "rat",   "rats",
          "tea",     "eat",   "eats",   "seat",       "seats", "east",
          "o'clock", "x-ray", "zebra",  "zebras",     "ion",   "lion",
          "lions",   "onion", "onions", "abracadabra"};
}

}  // namespace vocor::testing

#endif  // VOCOR_DICTIONARY_TESTING_SAMPLE_DICS_H_
