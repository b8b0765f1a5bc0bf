// The help window: requests land on their pages, the contents list and
// the page follow each other, and every listed page is compiled in.
#include <QDesktopServices>
#include <QFile>
#include <QListWidget>
#include <QTest>
#include <QTextBrowser>

#include "app/shell/command_texts.h"
#include "app/shell/help_command.h"
#include "app/shell/help_window.h"

namespace vocor {

class HelpWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void everyListedPageIsCompiledInWithItsLinks() {
    for (const HelpPageInfo& page : kHelpPages) {
      QFile file(QStringLiteral(":/help/") + QLatin1String(page.file));
      QVERIFY2(file.open(QIODevice::ReadOnly), page.file);
      const QString html = QString::fromUtf8(file.readAll());
      // Links between pages must name pages that exist.
      qsizetype at = 0;
      while ((at = html.indexOf(QStringLiteral("href=\""), at)) >= 0) {
        at += 6;
        const QString target = html.mid(at, html.indexOf('"', at) - at);
        QVERIFY2(QFile::exists(QStringLiteral(":/help/") + target),
                 qPrintable(target));
      }
    }
  }

  void contentsRequestShowsTheContents() {
    ShowHelp(nullptr, kHelpFinder, 0);
    QWidget* window = HelpWindowIfOpen();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(Browser()->source().fileName(), QStringLiteral("index.html"));
    QVERIFY(Browser()->toPlainText().contains(QStringLiteral("Vocor")));
    QCOMPARE(Contents()->currentRow(), 0);
  }

  void topicRequestShowsItsPageAndSelectsItsEntry() {
    ShowHelp(nullptr, kHelpContext, kCmdAnagramSearch);
    QCOMPARE(Browser()->source().fileName(), QStringLiteral("anagram.html"));
    QCOMPARE(Contents()->currentItem()->text(),
             QStringLiteral("Anagram search"));
  }

  void choosingAnEntryShowsItsPage() {
    ShowHelp(nullptr, kHelpFinder, 0);
    Contents()->setCurrentRow(7);
    QCOMPARE(Browser()->source().fileName(), QLatin1String(kHelpPages[7].file));
  }

  // The About box's link to a page, opened as a link button opens it.
  void helpLinksOpenTheirPageElseTheContents() {
    QVERIFY(QDesktopServices::openUrl(HelpPageLink("palindromes.html")));
    QCOMPARE(Browser()->source().fileName(),
             QStringLiteral("palindromes.html"));
    QVERIFY(QDesktopServices::openUrl(HelpPageLink("missing.html")));
    QCOMPARE(Browser()->source().fileName(), QStringLiteral("index.html"));
  }

  void oneWindowServesEveryRequest() {
    ShowHelp(nullptr, kHelpIndex, 0);
    QWidget* first = HelpWindowIfOpen();
    QCOMPARE(Browser()->source().fileName(), QStringLiteral("keywords.html"));
    ShowHelp(nullptr, kHelpFinder, 0);
    QCOMPARE(HelpWindowIfOpen(), first);
    first->close();
    QTRY_VERIFY(HelpWindowIfOpen() == nullptr);
  }

 private:
  static QTextBrowser* Browser() {
    return HelpWindowIfOpen()->findChild<QTextBrowser*>("helpBrowser");
  }
  static QListWidget* Contents() {
    return HelpWindowIfOpen()->findChild<QListWidget*>("helpContents");
  }
};

}  // namespace vocor

QTEST_MAIN(vocor::HelpWindowTest)
#include "help_window_qtest.moc"
