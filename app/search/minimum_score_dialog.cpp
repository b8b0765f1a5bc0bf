#include "app/search/minimum_score_dialog.h"

#include <QInputDialog>

#include "engine/score.h"

namespace vocor {

bool AskMinimumScore(QWidget* parent, int* score) {
  QInputDialog dialog(parent);
  dialog.setWindowTitle(QInputDialog::tr("Minimum Score"));
  dialog.setLabelText(QInputDialog::tr(
      "&Leave out words scoring under (1 to 100; 1 lists every word):"));
  dialog.setInputMode(QInputDialog::IntInput);
  dialog.setIntRange(kMinScore, kMaxScore);
  dialog.setIntValue(*score);
  if (dialog.exec() != QDialog::Accepted) return false;
  *score = dialog.intValue();
  return true;
}

}  // namespace vocor
