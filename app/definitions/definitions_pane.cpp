#include "app/definitions/definitions_pane.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QItemSelectionModel>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/definitions/database_choice.h"
#include "app/definitions/database_choice_dlg.h"
#include "app/definitions/definition_page.h"
#include "app/dictionaries/dictionary_details.h"
#include "definitions/definitions.h"

namespace vocor {

namespace {

QUrl PageAddress(const std::string& word) {
  return QUrl(QString::fromStdString(DefineLink(word)));
}

void AppendNew(std::vector<std::string> from, std::vector<std::string>* to) {
  for (std::string& item : from) {
    if (std::find(to->begin(), to->end(), item) == to->end()) {
      to->push_back(std::move(item));
    }
  }
}

}  // namespace

// Opens the pane's own addresses by asking the pane for their pages; the
// browser keeps the history of the addresses it opened.
class CDefinitionsPane::Browser : public QTextBrowser {
 public:
  explicit Browser(CDefinitionsPane* pane) : QTextBrowser(pane), pane_(pane) {}

  QVariant loadResource(int type, const QUrl& name) override {
    std::string word;
    if (type == QTextDocument::HtmlResource &&
        WordOfDefineLink(name.toString(QUrl::FullyEncoded).toStdString(),
                         &word)) {
      QApplication::setOverrideCursor(Qt::WaitCursor);
      const std::string html = pane_->PageHtml(word);
      QApplication::restoreOverrideCursor();
      return QString::fromStdString(html);
    }
    return QTextBrowser::loadResource(type, name);
  }

 private:
  CDefinitionsPane* pane_;
};

CDefinitionsPane::CDefinitionsPane(std::function<uint32_t()> language,
                                   QWidget* parent)
    : QWidget(parent),
      language_(std::move(language)),
      folders_(SystemDatabaseFolders()) {
  CreateBrowser();
  ShowEmptyPage();
}

CDefinitionsPane::~CDefinitionsPane() = default;

void CDefinitionsPane::CreateBrowser() {
  browser_ = new Browser(this);
  browser_->setObjectName(QStringLiteral("definitions"));
  browser_->setOpenLinks(true);
  browser_->setOpenExternalLinks(false);
  // Headings a little larger than the text, not the document's defaults,
  // which take half the pane for the word and the database's name.
  browser_->document()->setDefaultStyleSheet(QStringLiteral(
      "h2 { font-size: large; margin-top: 0; margin-bottom: 4px; }"
      "h3 { font-size: medium; color: #1d4f91; margin-top: 8px;"
      " margin-bottom: 2px; }"
      "p { margin-top: 2px; margin-bottom: 6px; }"));
  browser_->setWhatsThis(
      tr("What the word selected in the results means, from the dictionary "
         "databases installed on this computer. Click an underlined word to "
         "see its meaning; Alt+Left goes back."));
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
}

void CDefinitionsPane::ShowEmptyPage() {
  browser_->setHtml(QString::fromStdString(EmptyPageHtml()));
}

void CDefinitionsPane::SetDatabaseFolders(
    std::vector<std::filesystem::path> folders) {
  folders_ = std::move(folders);
  library_.reset();
}

void CDefinitionsPane::FollowResults(QAbstractItemView* results) {
  QItemSelectionModel* selection = results->selectionModel();
  const auto follow = [this, selection] { FollowSelectedResult(*selection); };
  connect(selection, &QItemSelectionModel::currentChanged, this, follow);
  connect(selection, &QItemSelectionModel::selectionChanged, this, follow);
}

void CDefinitionsPane::FollowSelectedResult(
    const QItemSelectionModel& selection) {
  // Only a word the user selected: the list makes its first word current,
  // unselected, when it takes the focus, and a list emptied for a new
  // search keeps the page shown.
  const QModelIndex current = selection.currentIndex();
  if (!current.isValid() || !selection.isSelected(current)) return;
  wanted_ = current.data(Qt::DisplayRole).toString();
  if (isVisible() && !IsShown(wanted_)) ShowResult(wanted_);
}

void CDefinitionsPane::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (!wanted_.isEmpty() && !IsShown(wanted_)) ShowResult(wanted_);
}

void CDefinitionsPane::ShowResult(const QString& result) {
  wanted_ = result;
  const QUrl address = PageAddress(result.toStdString());
  if (browser_->source() == address) {
    browser_->reload();
  } else {
    browser_->setSource(address);
  }
  browser_->clearHistory();
}

bool CDefinitionsPane::IsShown(const QString& result) const {
  return shownWord() == result && shown_language_ == language_();
}

QString CDefinitionsPane::shownWord() const {
  std::string word;
  if (!WordOfDefineLink(
          browser_->source().toString(QUrl::FullyEncoded).toStdString(),
          &word)) {
    return QString();
  }
  return QString::fromStdString(word);
}

DefinitionLibrary* CDefinitionsPane::Library() {
  if (library_ == nullptr) {
    library_ = std::make_unique<DefinitionLibrary>(folders_);
  }
  return library_.get();
}

std::vector<std::string> CDefinitionsPane::InstalledDatabases() {
  std::vector<std::string> names;
  for (const DatabaseFiles& files : Library()->Databases()) {
    names.push_back(files.name);
  }
  return names;
}

std::vector<std::string> CDefinitionsPane::AnsweringDatabases(
    uint32_t language) {
  return ChosenDatabases(LoadDatabaseChoice(language),
                         DefaultDatabases(language, Library()->Databases()),
                         InstalledDatabases());
}

std::string CDefinitionsPane::PageHtml(const std::string& result) {
  const uint32_t language = language_();
  shown_language_ = language;
  const std::vector<std::string> databases = AnsweringDatabases(language);
  if (databases.empty()) {
    const auto stored = LoadDatabaseChoice(language);
    if (stored.has_value() && stored->empty() && !InstalledDatabases().empty())
      return NoDatabaseChosenHtml();
    return NoDatabaseAdviceHtml(FreeDictName(language));
  }
  std::vector<WordDefinitions> found;
  std::vector<std::string> errors;
  const std::vector<std::string> words = LookupWords(result);
  for (const std::string& word : words) {
    DefinitionLookup lookup = Library()->Lookup(word, databases);
    AppendNew(std::move(lookup.errors), &errors);
    if (!lookup.found.empty()) {
      found.push_back({word, std::move(lookup.found)});
    }
    // A phrase with entries of its own needs none of its words'.
    if (!found.empty() && found.front().word == words.front()) break;
  }
  return DefinitionPageHtml(result, found, databases, errors);
}

void CDefinitionsPane::ChooseDatabases() {
  const uint32_t language = language_();
  std::vector<DatabaseChoiceItem> items;
  for (const std::string& name : InstalledDatabases()) {
    items.push_back({name, Library()->Title(name)});
  }
  std::vector<std::string> chosen = AnsweringDatabases(language);
  const QString language_name =
      language == 0 ? QString()
                    : QString::fromStdString(LanguageName(language));
  if (!AskDatabaseChoice(this, language_name, items, &chosen)) {
    return;
  }
  SaveDatabaseChoice(language, chosen);
  if (!shownWord().isEmpty()) browser_->reload();
}

}  // namespace vocor
