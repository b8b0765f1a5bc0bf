#include "app/definitions/database_choice_dlg.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QVBoxLayout>
#include <algorithm>

namespace vocor {

namespace {

QString ItemText(const DatabaseChoiceItem& item) {
  const QString name = QString::fromStdString(item.name);
  const QString title = QString::fromStdString(item.title);
  return title.isEmpty() || title == name
             ? name
             : QStringLiteral("%1 (%2)").arg(title, name);
}

QListWidget* NewDatabaseList(const std::vector<DatabaseChoiceItem>& installed,
                             const std::vector<std::string>& chosen,
                             QWidget* parent) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QStringLiteral("databases"));
  for (const DatabaseChoiceItem& database : installed) {
    auto* item = new QListWidgetItem(ItemText(database), list);
    item->setData(Qt::UserRole, QString::fromStdString(database.name));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable |
                   Qt::ItemIsUserCheckable);
    const bool checked =
        std::find(chosen.begin(), chosen.end(), database.name) != chosen.end();
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
  }
  list->setCurrentRow(0);
  // Wide enough for the longest description, as far as the screen allows.
  const int frame = 2 * list->frameWidth();
  list->setMinimumWidth(
      std::min(list->sizeHintForColumn(0) + frame +
                   list->verticalScrollBar()->sizeHint().width(),
               parent->screen()->availableGeometry().width() * 2 / 3));
  return list;
}

std::vector<std::string> CheckedNames(const QListWidget* list) {
  std::vector<std::string> names;
  for (int row = 0; row < list->count(); ++row) {
    const QListWidgetItem* item = list->item(row);
    if (item->checkState() == Qt::Checked) {
      names.push_back(item->data(Qt::UserRole).toString().toStdString());
    }
  }
  return names;
}

QString ChoiceLabelText(const QString& language_name, bool none_installed) {
  if (none_installed) {
    return QObject::tr("No dictionary database is installed.");
  }
  const QString words = language_name.isEmpty()
                            ? QObject::tr("the active dictionary's words")
                            : QObject::tr("the active dictionary's words (%1)")
                                  .arg(language_name);
  return QObject::tr("Show the meaning of %1 from the &databases checked:")
      .arg(words);
}

}  // namespace

bool AskDatabaseChoice(QWidget* parent, const QString& language_name,
                       const std::vector<DatabaseChoiceItem>& installed,
                       std::vector<std::string>* chosen) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QObject::tr("Definitions From"));
  auto* label = new QLabel(&dialog);
  label->setWordWrap(true);
  label->setText(ChoiceLabelText(language_name, installed.empty()));
  QListWidget* list = NewDatabaseList(installed, *chosen, &dialog);
  label->setBuddy(list);
  auto* buttons = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog,
                   &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addWidget(label);
  layout->addWidget(list);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  *chosen = CheckedNames(list);
  return true;
}

}  // namespace vocor
