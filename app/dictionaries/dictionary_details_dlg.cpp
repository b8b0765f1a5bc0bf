#include "app/dictionaries/dictionary_details_dlg.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
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

}  // namespace

CDictionaryDetailsDlg::CDictionaryDetailsDlg(const CDictionary& dictionary,
                                             QWidget* parent)
    : QDialog(parent) {
  const DictionaryDetails details = DescribeDictionary(dictionary);
  setWindowTitle(QString::fromStdString(details.caption));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Filename:"),
               Field(details.file_name, "filename"));
  form->addRow(QStringLiteral("Type:"), Field(details.type, "type"));
  form->addRow(QStringLiteral("Words:"), Field(details.words, "words"));
  form->addRow(QStringLiteral("Size:"), Field(details.size, "size"));
  form->addRow(QStringLiteral("Language:"),
               Field(details.language, "language"));
  QLabel* notes = Field(details.notes, "notes");
  auto* notes_label = new QLabel(QStringLiteral("No&tes:"));
  notes_label->setBuddy(notes);
  notes->setFocusPolicy(Qt::StrongFocus);
  form->addRow(notes_label, notes);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
  buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Close"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(Header(details));
  layout->addLayout(form);
  layout->addStretch(1);
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
