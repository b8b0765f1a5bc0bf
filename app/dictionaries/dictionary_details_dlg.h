// The details of one dictionary: its kind's icon, name (and version),
// file, kind, word count, size, language and notes, with a Close button.
#ifndef VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_DLG_H_
#define VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_DLG_H_

#include <QDialog>

namespace vocor {

class CDictionary;

class CDictionaryDetailsDlg : public QDialog {
  Q_OBJECT

 public:
  // `dictionary` is only read while the dialog is built. The fields are
  // QLabels named "name", "filename", "type", "words", "size", "language"
  // and "notes"; the icon is the label "icon". The notes scroll in the
  // QScrollArea "notesArea".
  CDictionaryDetailsDlg(const CDictionary& dictionary, QWidget* parent);
};

// Runs the details of `dictionary` modally.
void ShowDictionaryDetails(const CDictionary& dictionary, QWidget* parent);

}  // namespace vocor

#endif  // VOCOR_APP_DICTIONARIES_DICTIONARY_DETAILS_DLG_H_
