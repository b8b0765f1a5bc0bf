#include "app/shell/help_window.h"

#include <QApplication>
#include <QDesktopServices>
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

constexpr char kHelpLinkScheme[] = "vocor-help";

QUrl PageUrl(const QString& file) {
  return QUrl(QStringLiteral("qrc:/help/") + file);
}
QUrl PageUrl(const char* file) { return PageUrl(QLatin1String(file)); }

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

  void ShowPage(const QUrl& page) {
    browser_->setSource(page);
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

void ShowPage(QWidget* owner, const QUrl& page) {
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
  window->ShowPage(page);
}

// Receives the links of kHelpLinkScheme from QDesktopServices for as long
// as the application lives.
class HelpLinkHandler : public QObject {
  Q_OBJECT

 public:
  HelpLinkHandler() : QObject(qApp) {
    QDesktopServices::setUrlHandler(QLatin1String(kHelpLinkScheme), this,
                                    "Open");
  }
  ~HelpLinkHandler() override {
    QDesktopServices::unsetUrlHandler(QLatin1String(kHelpLinkScheme));
  }

  // A page that is not in the help shows the contents. The help window
  // first appears over the window whose link was clicked.
  Q_INVOKABLE void Open(const QUrl& link) {
    const QString file = link.path();
    const char* shown = kHelpPages[0].file;
    for (const HelpPageInfo& page : kHelpPages) {
      if (file == QLatin1String(page.file)) shown = page.file;
    }
    ShowPage(QApplication::activeWindow(), PageUrl(shown));
  }
};

}  // namespace

void ShowHelp(QWidget* owner, unsigned command, unsigned data) {
  ShowPage(owner, PageUrl(HelpFileFor(command, data)));
}

QUrl HelpPageLink(const char* file) {
  static QPointer<HelpLinkHandler> handler;
  if (handler.isNull()) handler = new HelpLinkHandler;
  return QUrl(QLatin1String(kHelpLinkScheme) + QLatin1Char(':') +
              QLatin1String(file));
}

QWidget* HelpWindowIfOpen() { return TheHelpWindow().data(); }

}  // namespace vocor

#include "help_window.moc"
