#include "app/shell/help_window.h"

#include <QApplication>
#include <QListWidget>
#include <QPointer>
#include <QSplitter>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

#include "app/shell/help_command.h"

namespace vocor {

namespace {

QUrl PageUrl(const char* file) {
  return QUrl(QStringLiteral("qrc:/help/") + QLatin1String(file));
}

// A contents list beside the page. Choosing an entry shows its page; a
// link followed in the page selects its entry, so the two never disagree.
class HelpWindow : public QWidget {
 public:
  HelpWindow() {
    setWindowTitle(QStringLiteral("Vocor Help"));
    setObjectName(QStringLiteral("helpWindow"));
    contents_ = new QListWidget;
    contents_->setObjectName(QStringLiteral("helpContents"));
    for (const HelpPageInfo& page : kHelpPages) {
      contents_->addItem(QString::fromUtf8(page.title));
    }
    browser_ = new QTextBrowser;
    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenExternalLinks(true);
    auto* splitter = new QSplitter;
    splitter->addWidget(contents_);
    splitter->addWidget(browser_);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    const QFontMetrics metrics(font());
    const int w = metrics.averageCharWidth();
    resize(100 * w, 36 * metrics.height());
    splitter->setSizes({24 * w, 76 * w});

    connect(contents_, &QListWidget::currentRowChanged, this, [this](int row) {
      if (row >= 0) browser_->setSource(PageUrl(kHelpPages[row].file));
    });
    connect(browser_, &QTextBrowser::sourceChanged, this,
            [this](const QUrl& url) { SelectEntryOf(url); });
  }

  void ShowPage(const char* file) {
    browser_->setSource(PageUrl(file));
    show();
    raise();
    activateWindow();
  }

 private:
  void SelectEntryOf(const QUrl& url) {
    const QString file = url.fileName();
    for (int row = 0; row < contents_->count(); ++row) {
      if (file == QLatin1String(kHelpPages[row].file)) {
        const QSignalBlocker blocker(contents_);
        contents_->setCurrentRow(row);
        return;
      }
    }
  }

  QListWidget* contents_;
  QTextBrowser* browser_;
};

QPointer<HelpWindow>& TheHelpWindow() {
  static QPointer<HelpWindow> window;
  return window;
}

}  // namespace

void ShowHelp(QWidget* owner, unsigned command, unsigned data) {
  if (QWhatsThis::inWhatsThisMode()) QWhatsThis::leaveWhatsThisMode();
  QPointer<HelpWindow>& window = TheHelpWindow();
  if (window.isNull()) {
    // Top-level, so it stays usable beside the main window; it does not
    // count as a window that keeps the program running once the main
    // window closes.
    window = new HelpWindow;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    if (owner != nullptr) {
      const QWidget* top = owner->window();
      window->move(top->geometry().center() - window->rect().center());
    }
  }
  window->ShowPage(HelpFileFor(command, data));
}

void EnterWhatsThisMode() { QWhatsThis::enterWhatsThisMode(); }

QWidget* HelpWindowIfOpen() { return TheHelpWindow().data(); }

}  // namespace vocor
