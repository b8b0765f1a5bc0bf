// The ordered member list of a dictionary set: an ordinary list of
// pointers with the few list-to-list operations that sets and the
// dictionary dialogs need. The list never owns what it points to.
#ifndef VOCOR_DICTIONARY_DICTIONARY_LIST_H_
#define VOCOR_DICTIONARY_DICTIONARY_LIST_H_

#include <algorithm>
#include <list>

namespace vocor {

template <typename TYPE, typename ARG_TYPE>
class CList2 {
 public:
  using iterator = typename std::list<TYPE>::iterator;
  using const_iterator = typename std::list<TYPE>::const_iterator;

  void AddHead(ARG_TYPE item) { items_.push_front(item); }
  void AddTail(ARG_TYPE item) { items_.push_back(item); }
  // Precondition: the list is not empty.
  TYPE RemoveHead() {
    TYPE item = items_.front();
    items_.pop_front();
    return item;
  }
  TYPE RemoveTail() {
    TYPE item = items_.back();
    items_.pop_back();
    return item;
  }
  void RemoveAll() { items_.clear(); }

  bool Find(ARG_TYPE item) const {
    return std::find(items_.begin(), items_.end(), item) != items_.end();
  }
  int GetCount() const { return static_cast<int>(items_.size()); }
  bool IsEmpty() const { return items_.empty(); }

  // Unlinks the first element equal to `item`; false when there is none.
  bool Remove(ARG_TYPE item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it == items_.end()) return false;
    items_.erase(it);
    return true;
  }
  // Removes every element of `other`; true only if all were present.
  bool RemoveList(const CList2& other) {
    bool all = true;
    for (const TYPE& item : other.items_) all = Remove(item) && all;
    return all;
  }
  // Puts the elements of `other` in front, keeping their order.
  void AddHeadList(const CList2& other) {
    items_.insert(items_.begin(), other.items_.begin(), other.items_.end());
  }
  void CopyFrom(const CList2& other) {
    if (&other == this) return;
    RemoveAll();
    AddHeadList(other);
  }

  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }
  std::list<TYPE>& items() { return items_; }

 private:
  std::list<TYPE> items_;
};

}  // namespace vocor

#endif  // VOCOR_DICTIONARY_DICTIONARY_LIST_H_
