// Definitions From: a small dialog listing the installed databases, each
// with a check box, checked for those that answer now.
#ifndef VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_DLG_H_
#define VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_DLG_H_

#include <QString>
#include <string>
#include <vector>

class QWidget;

namespace vocor {

struct DatabaseChoiceItem {
  std::string name;   // the database's name, stored in the choice
  std::string title;  // its description, shown beside the name
};

// Asks which of `installed` answer for the words of a dictionary of
// `language_name` (empty when unknown), starting with `chosen` checked. On OK
// sets `chosen` to the checked names in list order and returns true; Cancel
// leaves it. The list is named "databases" for tests.
bool AskDatabaseChoice(QWidget* parent, const QString& language_name,
                       const std::vector<DatabaseChoiceItem>& installed,
                       std::vector<std::string>* chosen);

}  // namespace vocor

#endif  // VOCOR_APP_DEFINITIONS_DATABASE_CHOICE_DLG_H_
