#include "app/dictionaries/dictionary_details_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

#include "app/dictionaries/dictionary_details.h"
#include "app/dictionaries/dictionary_list_ctrl.h"

namespace vocor {

namespace {

QLabel* Field(const std::string& text, const char* name) {
  auto* label = new QLabel(QString::fromStdString(text));
  label->setObjectName(QLatin1String(name));
  label->setTextFormat(Qt::PlainText);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  label->setWordWrap(true);
  return label;
}

QLayout* Header(const DictionaryDetails& details) {
  auto* icon = new QLabel;
  icon->setObjectName(QStringLiteral("icon"));
  icon->setPixmap(CDictionaryListCtrl::IconOf(details.icon).pixmap(32, 32));
  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  // The version line ends in a line break of its own; a label would show
  // it as an empty line.
  std::string name = details.name;
  while (!name.empty() && name.back() == '\n') name.pop_back();
  row->addWidget(Field(name, "name"), 1);
  return row;
}

// The notes can run to any length: they scroll, between the fields above
// and the Close button below, in whatever height the dialog has. The area
// takes the focus (Alt+T), so that the arrow and page keys scroll it.
QScrollArea* NotesArea(QLabel* notes) {
  notes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* area = new QScrollArea;
  area->setFocusPolicy(Qt::StrongFocus);
  area->setObjectName(QStringLiteral("notesArea"));
  area->setFrameShape(QFrame::NoFrame);
  area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  area->setWidgetResizable(true);
  area->setWidget(notes);
  return area;
}

}  // namespace

CDictionaryDetailsDlg::CDictionaryDetailsDlg(const CDictionary& dictionary,
                                             QWidget* parent)
    : QDialog(parent) {
  const DictionaryDetails details = DescribeDictionary(dictionary);
  setWindowTitle(QString::fromStdString(details.caption));
  auto* grid = new QGridLayout;
  const auto add_row = [grid](QLabel* label, QWidget* field) {
    const int row = grid->rowCount();
    grid->addWidget(label, row, 0, Qt::AlignLeft | Qt::AlignTop);
    grid->addWidget(field, row, 1);
  };
  const auto label = [](const char* text) {
    return new QLabel(QString::fromUtf8(text));
  };
  add_row(label("Filename:"), Field(details.file_name, "filename"));
  add_row(label("Type:"), Field(details.type, "type"));
  add_row(label("Words:"), Field(details.words, "words"));
  add_row(label("Size:"), Field(details.size, "size"));
  add_row(label("Language:"), Field(details.language, "language"));
  QLabel* notes = Field(details.notes, "notes");
  QLabel* notes_label = label("No&tes:");
  QScrollArea* notes_area = NotesArea(notes);
  notes_label->setBuddy(notes_area);
  add_row(notes_label, notes_area);
  grid->setRowStretch(grid->rowCount() - 1, 1);
  grid->setColumnStretch(1, 1);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Close"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(Header(details));
  layout->addLayout(grid, 1);
  layout->addWidget(buttons);
  const QFontMetrics metrics = fontMetrics();
  // 250 by 206 dialog units.
  resize(250 * metrics.averageCharWidth() / 4, 206 * metrics.height() / 8);
}

void ShowDictionaryDetails(const CDictionary& dictionary, QWidget* parent) {
  CDictionaryDetailsDlg dialog(dictionary, parent);
  dialog.exec();
}

}  // namespace vocor
