// Puts an equation's solutions in the order a sorted listing wants them.
//
// The solver finds the solutions of one first-pattern word after another,
// in the order the dictionary yields them, which for a letter tree is
// ascending (each word before its extensions). The lines, though, are
// "word;word;...", and ';' sorts after the characters some words go on
// with (an apostrophe, a hyphen, a digit, a space): "aaronson's;..." sorts
// before "aaronson;..." although the walk finds "aaronson" first. This
// keeps each word's solutions back, sorted, until the walk has passed the
// words that extend it with such a character, and gives them out behind
// those. A listing that prints results as they come (vocor-cli) then
// never has to fall back to holding and sorting them all.
//
// The order is a matter of speed only: a result out of order costs the
// listing a sort, never a result. A word with more than kMaxGroup
// solutions ends the reordering (everything is given out as it comes from
// then on), so that memory stays bounded.
#ifndef VOCOR_ENGINE_EQUATION_ORDER_H_
#define VOCOR_ENGINE_EQUATION_ORDER_H_

#include <deque>
#include <string>
#include <vector>

namespace vocor {

class SolutionOrder {
 public:
  static constexpr size_t kMaxGroup = 4096;

  // A solution of the first-pattern word `word` (engine text).
  void Add(const std::string& word, const std::string& line);
  // No more solutions: everything kept back may go.
  void Finish();
  // The next solution to give out, if any.
  bool Pop(std::string* line);
  void Clear();

 private:
  struct Group {
    std::string key;  // the word, lower-cased
    std::vector<std::string> lines;
  };
  // Gives out the groups that no later word can sort before.
  void Settle(const std::string& key);
  void Release(Group* group);

  bool ordering_ = true;
  std::string last_word_;  // the word of the last solution, as given
  std::vector<Group> stack_;
  std::deque<std::string> ready_;
};

}  // namespace vocor

#endif  // VOCOR_ENGINE_EQUATION_ORDER_H_
