#include "app/search/wordplay_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>

#include "app/search/recent_text_cb.h"
#include "search/equation_request.h"
#include "search/wordplay_request.h"

namespace vocor {

CSearchInfoWordplayView::CSearchInfoWordplayView(const LayoutUnits& units,
                                                 QWidget* parent)
    : CSearchInfoView(tr("Wordplay"), units, parent) {
  kind_label_ = new QLabel(tr(kWordplayKindLabel), this);
  kind_ = new QComboBox(this);
  for (int i = 0; i < kWordplayKindCount; ++i) {
    kind_->addItem(tr(WordplayKindName(static_cast<WordplayKind>(i))), i);
  }
  kind_->setWhatsThis(
      tr("The kind of wordplay: word equations, words hidden in a phrase, "
         "the letters a phrase selects, or spoonerisms."));
  kind_label_->setBuddy(kind_);
  AdoptControl(kind_);
  // In the order of the boxes' indices (WordplayBoxIndex).
  const auto kind_box = [this](WordplayKind kind) {
    return AddBoxRow(tr(WordplayBoxLabel(kind)), tr(WordplayBoxHelp(kind)));
  };
  kind_boxes_.push_back(kind_box(WordplayKind::kEquation));
  kind_boxes_.push_back(kind_box(WordplayKind::kHiddenWords));
  min_length_ = AddBoxRow(
      tr(kWordplayMinimumLabel),
      tr("Optional: the shortest hidden word wanted, as a positive number "
         "(3 when left blank)."));
  kind_boxes_.push_back(kind_box(WordplayKind::kLetterSelections));
  kind_boxes_.push_back(kind_box(WordplayKind::kSpoonerism));
  reversed_ = new QCheckBox(tr(kWordplayReversedLabel), this);
  reversed_->setWhatsThis(
      tr("List the words hidden backwards in the phrase too, marked "
         "(reversed)."));
  AdoptControl(reversed_);
  connect(kind_, &QComboBox::currentIndexChanged, this, [this] {
    ShowKindControls();
    emit inputChanged();
  });
  ShowKindControls();
}

WordplayKind CSearchInfoWordplayView::kind() const {
  return static_cast<WordplayKind>(kind_->currentData().toInt());
}

void CSearchInfoWordplayView::SetKind(WordplayKind kind) {
  kind_->setCurrentIndex(static_cast<int>(kind));
}

CRecentTextCB* CSearchInfoWordplayView::box(WordplayKind kind) const {
  return kind_boxes_[static_cast<int>(kind)];
}

QLabel* CSearchInfoWordplayView::LabelOf(QWidget* box) const {
  for (QLabel* label : findChildren<QLabel*>()) {
    if (label->buddy() == box) return label;
  }
  return nullptr;
}

void CSearchInfoWordplayView::ShowKindControls() {
  const WordplayKind chosen = kind();
  for (int i = 0; i < kWordplayKindCount; ++i) {
    const bool shown = i == static_cast<int>(chosen);
    kind_boxes_[i]->setVisible(shown);
    LabelOf(kind_boxes_[i])->setVisible(shown);
  }
  const bool minimum = WordplayUsesMinimum(chosen);
  min_length_->setVisible(minimum);
  LabelOf(min_length_)->setVisible(minimum);
  reversed_->setVisible(minimum);
  LayOutRows();
}

int CSearchInfoWordplayView::GetFormHeight() const {
  return FormHeight(units(), static_cast<int>(Rows().size()));
}

int CSearchInfoWordplayView::SecondLabel() const {
  return SecondLabelWidth(units(), reversed_->sizeHint().width() / 2);
}

int CSearchInfoWordplayView::MinimumFormWidth() const {
  return FormMinimumWidth(units(), Rows(), SecondLabel()) + 2 * kMargin;
}

bool CSearchInfoWordplayView::CanSearch() const {
  return CanSearchWith(box(kind())->Text());
}

SearchRequestResult CSearchInfoWordplayView::BuildQuery(
    const CDictionary* dictionary) {
  const WordplayKind chosen = kind();
  CRecentTextCB* text = box(chosen);
  SearchRequestResult result;
  switch (chosen) {
    case WordplayKind::kEquation:
      result = BuildEquationRequest(text->Text(), text->history(), dictionary);
      if (!result.refused()) {
        result.query = FormatEquationResults(std::move(result.query));
      }
      break;
    case WordplayKind::kHiddenWords:
      result = BuildHiddenWordsRequest(
          text->Text(), min_length_->Text(), reversed_->isChecked(),
          text->history(), min_length_->history(), dictionary);
      break;
    case WordplayKind::kLetterSelections:
      result = BuildLetterSelectionsRequest(text->Text(), text->history(),
                                            dictionary);
      break;
    case WordplayKind::kSpoonerism:
      result =
          BuildSpoonerismRequest(text->Text(), text->history(), dictionary);
      break;
  }
  result.input = WordplayBoxIndex(chosen, result.input);
  for (CRecentTextCB* each : boxes()) each->RefreshDropDown();
  return result;
}

void CSearchInfoWordplayView::LayOutRows() {
  const std::vector<FormRowLayout> pairs =
      LayOutFormRows(units(), Rows(), width() - 2 * kMargin,
                     height() - 2 * kMargin, SecondLabel());
  Place(kind_label_, pairs[0].label);
  Place(kind_, pairs[0].box);
  for (CRecentTextCB* each : kind_boxes_) {
    Place(LabelOf(each), pairs[1].label);
    Place(each, pairs[1].box);
  }
  Place(LabelOf(min_length_), pairs[2].label);
  Place(min_length_, pairs[2].box);
  LayoutRect check = pairs[3].label;
  check.y = pairs[3].box.y;
  check.width = pairs[3].box.x + pairs[3].box.width - check.x;
  check.height = reversed_->sizeHint().height();
  Place(reversed_, check);
}

bool CSearchInfoWordplayView::eventFilter(QObject* watched, QEvent* event) {
  // A check box ignores Enter; here, as in a box, it starts the search.
  if (watched == reversed_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      emit searchRequested();
      return true;
    }
  }
  return CSearchInfoView::eventFilter(watched, event);
}

}  // namespace vocor
