// The four search forms shown on the tabs of the search view, and their
// common base. A form owns its input boxes, knows whether its inputs allow
// a search, and turns them into a search request over a dictionary; the
// view runs what it returns. Forms place their widgets themselves on every
// resize with the layout arithmetic of layout.h, inside a margin of 6
// pixels (the form fills the tab control's display area).
#ifndef VOCOR_APP_SEARCH_SEARCH_INFO_VIEW_H_
#define VOCOR_APP_SEARCH_SEARCH_INFO_VIEW_H_

#include <QWidget>
#include <vector>

#include "app/search/layout.h"
#include "search/search_request.h"

class QComboBox;
class QLabel;

namespace vocor {

class CDictionary;
class CRecentTextCB;

class CSearchInfoView : public QWidget {
  Q_OBJECT

 public:
  // The margin between the tab control's display area and the rows.
  static constexpr int kMargin = 6;

  // The tab's text, e.g. "Crossword".
  QString caption() const { return caption_; }
  // Height of the rows (without the margins).
  virtual int GetFormHeight() const;
  // The narrowest width (margins included) at which no label or box of
  // the form is cut off.
  virtual int MinimumFormWidth() const;
  // Whether the Search command may run: the first box is not empty.
  virtual bool CanSearch() const;
  // Reads the boxes (entering each text into its history) and builds the
  // request over `dictionary`, which must stay open while the query lives.
  virtual SearchRequestResult BuildQuery(const CDictionary* dictionary) = 0;

  // The input boxes in row order; owned by the form.
  const std::vector<CRecentTextCB*>& boxes() const { return boxes_; }
  // Puts the focus into input box `input` (an index into boxes()) and
  // selects its character at `position` (1-based, in characters as
  // typed; none for 0), so that a refusal shows where the fault is.
  void ShowInputProblem(int input, int position);
  // Gives the focus to the control that last had it, else the first one.
  void FocusForm();
  // The control that last had the focus (or the first control).
  QWidget* RememberedFocus() const;

 signals:
  // Enter was pressed in one of the boxes.
  void searchRequested();
  // The text of a box changed (CanSearch may have changed).
  void inputChanged();

 protected:
  CSearchInfoView(const QString& caption, const LayoutUnits& units,
                  QWidget* parent);

  // Appends a row of a label and its box; the label's mnemonic moves the
  // focus to the box.
  CRecentTextCB* AddBoxRow(const QString& label, const QString& whats_this);
  // Adds a second label and box to the last row (LayOutFormRows).
  CRecentTextCB* AddBoxBeside(const QString& label, const QString& whats_this);
  // Makes `widget` a control of the form: the form remembers when it has
  // the focus, and Enter in it asks for a search (a box does so itself;
  // a drop-down list, whose Enter Qt ignores outside a dialog, through
  // the form).
  void AdoptControl(QWidget* widget);
  // Places the rows; forms with a row of their own extend it.
  virtual void LayOutRows();
  const LayoutUnits& units() const { return units_; }
  // A label's or box's rectangle from the arithmetic, moved into the
  // margin. A combo box keeps the height of its closed field.
  void Place(QWidget* widget, const LayoutRect& rect) const;

  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Rows before the label-and-box rows (the palindrome form's first row).
  int extra_rows_ = 0;

 private:
  // The rows' label-and-box pairs in layout order (the extra rows first,
  // with 0 pairs), one entry per row.
  std::vector<int> RowPairs() const;
  QLabel* NewLabel(const QString& text, CRecentTextCB* box);

  QString caption_;
  LayoutUnits units_;
  // The number of label-and-box pairs of each row.
  std::vector<int> boxes_per_row_;
  std::vector<QLabel*> labels_;
  std::vector<CRecentTextCB*> boxes_;
  // The widest text of a label beside a row's first box, in pixels.
  int widest_second_label_ = 0;
  std::vector<QWidget*> controls_;
  QWidget* last_focus_ = nullptr;
};

class CSearchInfoCrosswordView : public CSearchInfoView {
  Q_OBJECT
 public:
  CSearchInfoCrosswordView(const LayoutUnits& units, QWidget* parent);
  SearchRequestResult BuildQuery(const CDictionary* dictionary) override;

 private:
  CRecentTextCB* pattern_;
  CRecentTextCB* and_pattern_;
  CRecentTextCB* with_letters_;
  CRecentTextCB* without_letters_;
};

class CSearchInfoAnagramView : public CSearchInfoView {
  Q_OBJECT
 public:
  CSearchInfoAnagramView(const LayoutUnits& units, QWidget* parent);
  SearchRequestResult BuildQuery(const CDictionary* dictionary) override;

 private:
  CRecentTextCB* letters_;
  CRecentTextCB* pattern_;
  CRecentTextCB* max_words_;
  CRecentTextCB* min_length_;
};

class CSearchInfoHiddenView : public CSearchInfoView {
  Q_OBJECT
 public:
  CSearchInfoHiddenView(const LayoutUnits& units, QWidget* parent);
  SearchRequestResult BuildQuery(const CDictionary* dictionary) override;

 private:
  CRecentTextCB* from_letters_;
  CRecentTextCB* min_length_;
  CRecentTextCB* must_use_;
};

class CSearchInfoPalindromeView : public CSearchInfoView {
  Q_OBJECT
 public:
  CSearchInfoPalindromeView(const LayoutUnits& units, QWidget* parent);
  bool CanSearch() const override;
  int MinimumFormWidth() const override;
  SearchRequestResult BuildQuery(const CDictionary* dictionary) override;

  // The two drop-down lists of the first row; their item data are the
  // transformation mode and the another-word flag.
  QComboBox* transformation() const { return transformation_; }
  QComboBox* result() const { return result_; }

 protected:
  void LayOutRows() override;

 private:
  QLabel* which_label_;
  QComboBox* transformation_;
  QLabel* produce_label_;
  QComboBox* result_;
  CRecentTextCB* pattern_;
};

}  // namespace vocor

#endif  // VOCOR_APP_SEARCH_SEARCH_INFO_VIEW_H_
