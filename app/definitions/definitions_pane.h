// The definitions pane: what the word selected in the results list means,
// from the dictionary-server databases on the machine, as formatted text.
//
// The pane follows the word the user selects in the results list (its
// current word, when selected) while it is shown; a hidden pane looks
// nothing up until it is shown again. A search that refills the list
// selects nothing, so nothing is looked up while it runs unless the user
// selects a word. The databases are not touched
// before the first look-up: the library is made then, so that the pane
// adds nothing to the window's start-up.
//
// Each page has an address (definition_page.h: "define:yacht"): a
// cross-reference in an entry is a link to its word's page, and Alt+Left
// and Alt+Right go back and forth between the pages visited since the
// word was selected.
#ifndef VOCOR_APP_DEFINITIONS_DEFINITIONS_PANE_H_
#define VOCOR_APP_DEFINITIONS_DEFINITIONS_PANE_H_

#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractItemView;
class QItemSelectionModel;
class QTextBrowser;

namespace vocor {

class DefinitionLibrary;

class CDefinitionsPane : public QWidget {
  Q_OBJECT

 public:
  // `language` gives the Windows locale id of the active dictionary's
  // language (0 when unknown), asked at each look-up.
  explicit CDefinitionsPane(std::function<uint32_t()> language,
                            QWidget* parent = nullptr);
  ~CDefinitionsPane() override;

  // The folders searched for databases; by default the system's
  // (/usr/share/dictd). Takes effect at the next look-up.
  void SetDatabaseFolders(std::vector<std::filesystem::path> folders);
  // Follows the selected current word of `results` (borrowed; its model
  // may be reset and refilled, but not replaced).
  void FollowResults(QAbstractItemView* results);

  // Shows the page of `result` (a word or a phrase), looked up afresh,
  // starting a new history.
  void ShowResult(const QString& result);
  // Asks which installed databases answer for the active dictionary's
  // language (a dialog with a check box for each) and stores the choice;
  // the page shown is looked up again with it.
  void ChooseDatabases();

  QTextBrowser* browser() const { return browser_; }
  // The word or phrase whose page is shown; empty before the first.
  QString shownWord() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  class Browser;

  void CreateBrowser();
  void ShowEmptyPage();
  void FollowSelectedResult(const QItemSelectionModel& selection);
  // The page shown is `result`'s, made for the active dictionary's
  // language: a word of another language's dictionary needs its own.
  bool IsShown(const QString& result) const;
  DefinitionLibrary* Library();
  std::vector<std::string> InstalledDatabases();
  std::vector<std::string> AnsweringDatabases(uint32_t language);
  // The HTML of a page: the entries of `result`, or advice when no
  // database answers. Called by the browser as it opens an address.
  std::string PageHtml(const std::string& result);

  std::function<uint32_t()> language_;
  std::vector<std::filesystem::path> folders_;
  std::unique_ptr<DefinitionLibrary> library_;
  QTextBrowser* browser_ = nullptr;
  // The current word of the results list, shown once the pane is.
  QString wanted_;
  // The language the page shown was made for.
  uint32_t shown_language_ = 0;
};

}  // namespace vocor

#endif  // VOCOR_APP_DEFINITIONS_DEFINITIONS_PANE_H_
