#include "app/search/measuring_sink.h"

#include <QString>
#include <algorithm>

#include "engine/charset.h"

namespace vocor {

MeasuringSink::MeasuringSink(ResultsList* list, const QFontMetrics* metrics,
                             int* widest)
    : CResultsSinkListCtrl(list),
      list_(list),
      metrics_(metrics),
      widest_(widest) {}

bool MeasuringSink::AddResult(const char* word, int score) {
  const int before = list_->size();
  const bool result = CResultsSinkListCtrl::AddResult(word, score);
  if (list_->size() != before) {
    const QString text = QString::fromStdString(EngineToUtf8(word));
    *widest_ = std::max(*widest_, metrics_->horizontalAdvance(text));
  }
  return result;
}

}  // namespace vocor
