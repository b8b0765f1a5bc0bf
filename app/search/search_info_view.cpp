#include "app/search/search_info_view.h"

#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

#include "app/search/recent_text_cb.h"

namespace vocor {

namespace {

const char kPatternHelp[] =
    "A word pattern: ? stands for one letter, * for any number of letters. "
    "[abc] is one of a, b or c, [a-e] one of a to e, [^abc] any other "
    "letter; @ is a vowel and # a consonant; {abc} is a, b and c in any "
    "order (a ? inside is any letter). Digits give word lengths instead: 7 "
    "is any seven-letter word, 3,4 a three-letter and a four-letter word; "
    "5-7: ahead of a pattern allows five to seven letters. Put \\ before "
    "[ ] @ # { } : or \\ to match the character itself. Examples: "
    "c[aou]t, s{ta?}*, #@#@#, 8-:*ing.";

}  // namespace

CSearchInfoView::CSearchInfoView(const QString& caption,
                                 const LayoutUnits& units, QWidget* parent)
    : QWidget(parent), caption_(caption), units_(units) {}

int CSearchInfoView::GetFormHeight() const {
  return FormHeight(units_, static_cast<int>(RowPairs().size()));
}

int CSearchInfoView::MinimumFormWidth() const {
  return FormMinimumWidth(units_, RowPairs(),
                          SecondLabelWidth(units_, widest_second_label_)) +
         2 * kMargin;
}

std::vector<int> CSearchInfoView::RowPairs() const {
  std::vector<int> pairs(extra_rows_, 0);
  pairs.insert(pairs.end(), boxes_per_row_.begin(), boxes_per_row_.end());
  return pairs;
}

bool CSearchInfoView::CanSearch() const {
  return !boxes_.empty() && CanSearchWith(boxes_.front()->Text());
}

CRecentTextCB* CSearchInfoView::AddBoxRow(const QString& label,
                                          const QString& whats_this) {
  boxes_per_row_.push_back(0);
  return AddBoxBeside(label, whats_this);
}

CRecentTextCB* CSearchInfoView::AddBoxBeside(const QString& label,
                                             const QString& whats_this) {
  auto* box = new CRecentTextCB(this);
  QLabel* label_widget = NewLabel(label, box);
  box->setWhatsThis(whats_this);
  boxes_.push_back(box);
  if (++boxes_per_row_.back() == 2) {
    widest_second_label_ =
        std::max(widest_second_label_, label_widget->sizeHint().width());
  }
  AdoptControl(box);
  connect(box, &CRecentTextCB::enterPressed, this,
          &CSearchInfoView::searchRequested);
  connect(box, &QComboBox::editTextChanged, this,
          &CSearchInfoView::inputChanged);
  return box;
}

QLabel* CSearchInfoView::NewLabel(const QString& text, CRecentTextCB* box) {
  auto* label = new QLabel(text, this);
  label->setBuddy(box);
  labels_.push_back(label);
  return label;
}

void CSearchInfoView::AdoptControl(QWidget* widget) {
  controls_.push_back(widget);
  widget->installEventFilter(this);
}

void CSearchInfoView::ShowInputProblem(int input, int position) {
  if (input < 0 || input >= static_cast<int>(boxes_.size())) return;
  CRecentTextCB* box = boxes_[input];
  box->setFocus(Qt::OtherFocusReason);
  if (position <= 0) return;
  const int start = Utf16Offset(box->Text(), position - 1);
  const int end = Utf16Offset(box->Text(), position);
  box->lineEdit()->setSelection(start, end - start);
}

void CSearchInfoView::FocusForm() {
  if (QWidget* target = RememberedFocus()) {
    target->setFocus(Qt::OtherFocusReason);
  }
}

QWidget* CSearchInfoView::RememberedFocus() const {
  if (last_focus_ != nullptr) return last_focus_;
  return controls_.empty() ? nullptr : controls_.front();
}

bool CSearchInfoView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    last_focus_ = static_cast<QWidget*>(watched);
  }
  if (event->type() == QEvent::KeyPress) {
    // An open list takes Enter in its pop-up, which is no control here.
    auto* list = qobject_cast<QComboBox*>(watched);
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (list != nullptr && !list->isEditable() &&
        (key == Qt::Key_Return || key == Qt::Key_Enter)) {
      emit searchRequested();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void CSearchInfoView::Place(QWidget* widget, const LayoutRect& rect) const {
  int y = rect.y;
  int height = rect.height;
  // The arithmetic gives a drop-down box the height of its open list; a
  // Qt combo box is only its closed field, whose height the style knows.
  if (qobject_cast<QComboBox*>(widget) != nullptr) {
    height = widget->sizeHint().height();
  }
  // A label drawn from the top is moved down to line up with its box; a Qt
  // label centres its text, so it takes its box's top and height instead.
  const auto* label = qobject_cast<QLabel*>(widget);
  if (label != nullptr && label->buddy() != nullptr) {
    y -= kLabelDrop;
    height = label->buddy()->sizeHint().height();
  }
  widget->setGeometry(rect.x + kMargin, y + kMargin, rect.width, height);
}

void CSearchInfoView::LayOutRows() {
  const std::vector<FormRowLayout> pairs = LayOutFormRows(
      units_, RowPairs(), width() - 2 * kMargin, height() - 2 * kMargin,
      SecondLabelWidth(units_, widest_second_label_));
  for (size_t i = 0; i < boxes_.size(); ++i) {
    Place(labels_[i], pairs[i].label);
    Place(boxes_[i], pairs[i].box);
  }
}

void CSearchInfoView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayOutRows();
}

CSearchInfoCrosswordView::CSearchInfoCrosswordView(const LayoutUnits& units,
                                                   QWidget* parent)
    : CSearchInfoView(tr("Crossword"), units, parent) {
  pattern_ = AddBoxRow(tr("&Pattern:"), tr(kPatternHelp));
  and_pattern_ = AddBoxRow(
      tr("&and:"),
      tr("Optional: a second pattern that the same words must match too."));
  // Side by side, so that the form is no taller than the others.
  with_letters_ = AddBoxRow(
      tr("Must &contain:"),
      tr("Optional: letters every answer contains somewhere, in any order. "
         "A letter typed twice must appear twice. Example: xz with the "
         "pattern 6 finds six-letter words with both an x and a z."));
  without_letters_ = AddBoxBeside(
      tr("Must &not contain:"),
      tr("Optional: letters no answer contains anywhere. Example: e with "
         "the pattern #@#@# finds five-letter words that alternate "
         "consonants and vowels without any e."));
}

SearchRequestResult CSearchInfoCrosswordView::BuildQuery(
    const CDictionary* dictionary) {
  const CrosswordInputs inputs{pattern_->Text(), and_pattern_->Text(),
                               with_letters_->Text(), without_letters_->Text()};
  const CrosswordHistories histories{
      pattern_->history(), and_pattern_->history(), with_letters_->history(),
      without_letters_->history()};
  SearchRequestResult result =
      BuildCrosswordRequest(inputs, histories, dictionary);
  for (CRecentTextCB* box : boxes()) box->RefreshDropDown();
  return result;
}

CSearchInfoAnagramView::CSearchInfoAnagramView(const LayoutUnits& units,
                                               QWidget* parent)
    : CSearchInfoView(tr("Anagram"), units, parent) {
  letters_ = AddBoxRow(tr("&Letters:"),
                       tr("The letters every answer uses, each exactly once. "
                          "A ? is a blank tile that stands for any letter."));
  pattern_ = AddBoxRow(
      tr("&Pattern:"),
      tr("Optional: a pattern the answers must match, or word lengths such "
         "as 3,4 to find phrases of a three-letter and a four-letter word. "
         "A * between commas is a word of any length: *,* finds every "
         "two-word phrase of the letters, each pair of words once; 4,* a "
         "four-letter word and a word of the letters left. [abc], @, #, "
         "{abc} and 5-7: mean what they mean in a crossword pattern."));
  // The two numbers share a row, so that the form is no taller than the
  // hidden-word form and the tab pane no taller for any tab.
  max_words_ = AddBoxRow(
      tr("Max. &Words:"),
      tr("Optional: a number N to find every phrase of 1 to N words of any "
         "lengths, each combination of words once. Leave the pattern blank "
         "when you give it."));
  min_length_ = AddBoxBeside(
      tr("&Min. Length:"),
      tr("Optional: the shortest word wanted in an answer, as a positive "
         "number; it leaves out the short words that make phrases "
         "countless."));
}

SearchRequestResult CSearchInfoAnagramView::BuildQuery(
    const CDictionary* dictionary) {
  const AnagramInputs inputs{letters_->Text(), pattern_->Text(),
                             max_words_->Text(), min_length_->Text()};
  const AnagramHistories histories{letters_->history(), pattern_->history(),
                                   max_words_->history(),
                                   min_length_->history()};
  SearchRequestResult result =
      BuildAnagramRequest(inputs, histories, dictionary);
  for (CRecentTextCB* box : boxes()) box->RefreshDropDown();
  return result;
}

CSearchInfoHiddenView::CSearchInfoHiddenView(const LayoutUnits& units,
                                             QWidget* parent)
    : CSearchInfoView(tr("Hidden"), units, parent) {
  from_letters_ =
      AddBoxRow(tr("From &Letters:"),
                tr("The letters available: an answer uses each at most as "
                   "often as it appears here. A ? is a blank tile."));
  min_length_ = AddBoxRow(
      tr("&Min. Length:"),
      tr("Optional: the shortest answer wanted, as a positive number."));
  must_use_ = AddBoxRow(
      tr("Must &use:"),
      tr("Optional: letters every answer must contain (they must also be "
         "among the available letters)."));
}

SearchRequestResult CSearchInfoHiddenView::BuildQuery(
    const CDictionary* dictionary) {
  SearchRequestResult result = BuildHiddenRequest(
      from_letters_->Text(), min_length_->Text(), must_use_->Text(),
      from_letters_->history(), min_length_->history(), must_use_->history(),
      dictionary);
  from_letters_->RefreshDropDown();
  min_length_->RefreshDropDown();
  must_use_->RefreshDropDown();
  return result;
}

CSearchInfoPalindromeView::CSearchInfoPalindromeView(const LayoutUnits& units,
                                                     QWidget* parent)
    : CSearchInfoView(tr("Palindromes etc."), units, parent) {
  extra_rows_ = 1;
  which_label_ = new QLabel(tr("Find &words which"), this);
  transformation_ = new QComboBox(this);
  const char* const kModes[] = {"reverse", "reflect H", "reflect V", "rotate"};
  for (int mode = 0; mode < 4; ++mode) {
    transformation_->addItem(tr(kModes[mode]), mode);
  }
  transformation_->setWhatsThis(
      tr("How a word is transformed: reversed, mirrored left to right "
         "(reflect H), mirrored top to bottom (reflect V) or turned half a "
         "turn (rotate). Only letters that survive the transformation can "
         "appear in an answer."));
  which_label_->setBuddy(transformation_);
  AdoptControl(transformation_);
  produce_label_ = new QLabel(tr("to p&roduce the"), this);
  result_ = new QComboBox(this);
  result_->addItem(tr("same word"), 0);
  result_->addItem(tr("another word"), 1);
  result_->setWhatsThis(
      tr("Whether the transformed word must be the word itself (a "
         "palindrome) or another word of the dictionary."));
  produce_label_->setBuddy(result_);
  AdoptControl(result_);
  pattern_ = AddBoxRow(tr("&Pattern:"), tr(kPatternHelp));
}

bool CSearchInfoPalindromeView::CanSearch() const { return true; }

int CSearchInfoPalindromeView::MinimumFormWidth() const {
  return std::max(CSearchInfoView::MinimumFormWidth(),
                  PalindromeFirstRowMinimumWidth(units()) + 2 * kMargin);
}

SearchRequestResult CSearchInfoPalindromeView::BuildQuery(
    const CDictionary* dictionary) {
  SearchRequestResult result = BuildPalindromeRequest(
      transformation_->currentData().toInt(), result_->currentData().toInt(),
      pattern_->Text(), pattern_->history(), dictionary);
  pattern_->RefreshDropDown();
  return result;
}

void CSearchInfoPalindromeView::LayOutRows() {
  CSearchInfoView::LayOutRows();
  const PalindromeRowLayout row =
      LayOutPalindromeFirstRow(units(), width() - 2 * kMargin, 0);
  Place(which_label_, row.which_label);
  Place(transformation_, row.transform);
  Place(produce_label_, row.produce_label);
  Place(result_, row.result);
}

}  // namespace vocor
