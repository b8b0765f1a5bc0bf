#include "search/clipboard_text.h"

#include <algorithm>

namespace vocor {

std::string ClipboardText(const std::vector<std::string>& items,
                          const std::vector<int>& selected) {
  std::vector<int> order;
  for (int i : selected) {
    if (i >= 0 && i < static_cast<int>(items.size())) order.push_back(i);
  }
  std::sort(order.begin(), order.end());
  order.erase(std::unique(order.begin(), order.end()), order.end());
  if (order.empty()) {
    for (int i = 0; i < static_cast<int>(items.size()); ++i) order.push_back(i);
  }
  std::string text;
  for (int i : order) {
    text += items[i];
    text += '\n';
  }
  return text;
}

}  // namespace vocor
