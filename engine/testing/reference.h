// A brute-force reference for the query algebra, used only by tests. It
// evaluates a query description directly on a word vector, with its own
// simple (and slow) matcher, letter test and transformations, so that a
// fault in the engine's rewriting, push-down or suspension logic shows up
// as a difference between the two.
#ifndef VOCOR_ENGINE_TESTING_REFERENCE_H_
#define VOCOR_ENGINE_TESTING_REFERENCE_H_

#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "engine/enum_results.h"
#include "engine/phrase.h"

namespace vocor::testing {

struct RefQuery {
  enum Kind {
    kSource,        // every word of the source
    kPattern,       // children[0] restricted by text
    kLetters,       // children[0] restricted by (min, max); null parts absent
    kMerge,         // children[0] then children[1]
    kDemerge,       // children[0] without the words of children[1]
    kProduct,       // children[0] x children[1]
    kPalindrome,    // source words surviving transform `number` (form number2)
    kWordPattern,   // ApplyWordPattern(source, text)
    kAnagram,       // BuildAnagramQuery(source, text, has_max ? text2 : null)
    kLettersQuery,  // BuildLettersQuery(source, min, max, number)
  };
  Kind kind = kSource;
  std::string text, text2;
  bool has_min = false, has_max = false;
  int number = 0, number2 = 0;
  std::vector<RefQuery> children;

  std::string ToString() const;
};

// The words the query yields, in the order the engine must yield them.
std::vector<std::string> Evaluate(const RefQuery& query,
                                  const std::vector<std::string>& words);

// Builds the engine's tree for the query, taking a fresh source enumerator
// from `make_source` wherever the query names the source.
EnumPtr Build(const RefQuery& query,
              const std::function<EnumPtr()>& make_source);

// A random query over words drawn from `alphabet`.
RefQuery RandomQuery(std::mt19937& rng, const std::string& alphabet);

// A random word list: `count` words of 1 to `max_length` letters.
std::vector<std::string> RandomWords(std::mt19937& rng,
                                     const std::string& alphabet, int count,
                                     int max_length);

// Every phrase of `shape` made of `words` (in that order, the last word
// varying fastest) whose letters `letters` covers, all of them when the
// shape must use all: tried word by word, with no index and no budget.
std::vector<std::string> RefPhrases(const std::vector<std::string>& words,
                                    const std::string& letters,
                                    const PhraseShape& shape);

// The same with scores: the words scoring `floor` or more (each with its
// score), and each phrase with the lowest score of its words, a word kept
// once taking the highest score its text has.
std::vector<std::pair<std::string, int>> RefScoredPhrases(
    const std::vector<std::pair<std::string, int>>& scored,
    const std::string& letters, const PhraseShape& shape, int floor);

// Reference pieces, exposed for their own tests.
bool RefMatch(const std::string& word, const std::string& pattern);
bool RefAcceptsLetters(const std::string& word, const char* min_text,
                       const char* max_text);
bool RefTransform(int mode, const std::string& word, std::string* out);

}  // namespace vocor::testing

#endif  // VOCOR_ENGINE_TESTING_REFERENCE_H_
