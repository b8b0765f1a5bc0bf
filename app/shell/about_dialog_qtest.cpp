// The About box and its link buttons.
#include <QDesktopServices>
#include <QDialog>
#include <QLabel>
#include <QTest>
#include <QTextBrowser>
#include <QUrl>

#include "app/shell/about_dialog.h"
#include "app/shell/help_window.h"
#include "app/shell/url_button.h"
#include "app/shell/version_info.h"

namespace vocor {

class AboutDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(ReadVersionInfo());
    CURLButton::SetOpener([this](const QUrl& url) { opened_ << url; });
  }

  void init() { opened_.clear(); }

  void versionBlockIsCompiledIn() {
    QCOMPARE(QString::fromStdString(VersionInfo().FileVersion),
             QStringLiteral("2.6 (Build 127)"));
    QVERIFY(!ReadVersionInfo(":/version/missing.txt"));
    QCOMPARE(QString::fromStdString(VersionInfo().FileDescription),
             QStringLiteral("Vocor"));
  }

  void boxShowsCaptionVersionAndNotice() {
    QDialog* box = CreateAboutBox(nullptr);
    QCOMPARE(box->windowTitle(), QStringLiteral("About Vocor"));
    QCOMPARE(box->findChild<QLabel*>("version")->text(),
             QStringLiteral("2.6 (Build 127)"));
    QVERIFY(box->findChild<QLabel*>("copyright")
                ->text()
                .contains(QStringLiteral("The Vocor developers")));
    QVERIFY(!box->findChild<QLabel*>("postal")->text().isEmpty());

    delete box;
  }

  // No link leads nowhere: there is no e-mail row without an address, and
  // the other link opens the help's About page.
  void everyLinkLeadsSomewhere() {
    QDialog* box = CreateAboutBox(nullptr);
    QVERIFY(box->findChild<CURLButton*>("email") == nullptr);
    for (const QLabel* label : box->findChildren<QLabel*>()) {
      QVERIFY2(!label->text().contains(QStringLiteral("mail:")) &&
                   !label->text().contains(QStringLiteral("e-mail")),
               qPrintable(label->text()));
    }
    for (const CURLButton* link : box->findChildren<CURLButton*>()) {
      QVERIFY2(!link->target().contains(QStringLiteral("example")),
               qPrintable(link->target()));
    }
    auto* more = box->findChild<CURLButton*>("more");
    QVERIFY(more != nullptr);
    QVERIFY(!more->label().isEmpty());
    // Opened as the button opens it without a test opener.
    QVERIFY(QDesktopServices::openUrl(QUrl(more->target())));
    QWidget* help = HelpWindowIfOpen();
    QVERIFY(help != nullptr && help->isVisible());
    auto* page = help->findChild<QTextBrowser*>("helpBrowser");
    QCOMPARE(page->source().fileName(), QStringLiteral("about.html"));
    QVERIFY(page->toPlainText().contains(QStringLiteral("README")));
    help->close();

    // Clicked, the link closes the box, which would keep the help window
    // from taking input.
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTest::mouseClick(more, Qt::LeftButton, {}, QPoint(2, 2));
    QCOMPARE(opened_, QList<QUrl>{QUrl(more->target())});
    QVERIFY(!box->isVisible());
    QCOMPARE(box->result(), int(QDialog::Accepted));
    delete box;
  }

  void okClosesTheBox() {
    QDialog* box = CreateAboutBox(nullptr);
    box->show();
    QVERIFY(QTest::qWaitForWindowExposed(box));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->result(), int(QDialog::Accepted));
    delete box;
  }

  void linkSplitsLabelAndTargetAtTheFirstLineBreak() {
    CURLButton plain(QStringLiteral("https://vocor.example.org/"));
    QCOMPARE(plain.label(), plain.target());
    CURLButton two(QStringLiteral("label\nfirst\nsecond"));
    QCOMPARE(two.label(), QStringLiteral("label"));
    QCOMPARE(two.target(), QStringLiteral("first\nsecond"));
  }

  void clickAndSpaceOpenTheTarget() {
    CURLButton link(QStringLiteral("write to us\nmailto:vocor@example.org"));
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    QTest::mouseClick(&link, Qt::LeftButton, {}, QPoint(2, 2));
    link.setFocus();
    QTest::keyClick(&link, Qt::Key_Space);
    QCOMPARE(opened_.size(), 2);
    QCOMPARE(opened_[0], QUrl(QStringLiteral("mailto:vocor@example.org")));
    QCOMPARE(link.cursor().shape(), Qt::PointingHandCursor);
  }

  void focusRectangleIsTheLabelsExtent() {
    CURLButton link(QStringLiteral("vocor@example.org\nmailto:x"));
    link.resize(300, 60);
    const QFontMetrics metrics(link.font());
    QCOMPARE(
        link.labelRect(),
        QRect(0, 0,
              metrics.horizontalAdvance(QStringLiteral("vocor@example.org")),
              metrics.height()));

    // Painted: blue pixels only inside the label, nothing else drawn.
    link.show();
    QVERIFY(QTest::qWaitForWindowExposed(&link));
    link.setFocus();
    const QImage image = link.grab().toImage();
    const QRect label = link.labelRect();
    bool blue_inside = false;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QColor c = image.pixelColor(x, y);
        const bool blue = c.blue() > 200 && c.red() < 80 && c.green() < 80;
        if (blue) {
          QVERIFY2(label.contains(x, y), "blue outside the label");
          blue_inside = true;
        }
      }
    }
    QVERIFY(blue_inside);
  }

 private:
  QList<QUrl> opened_;
};

}  // namespace vocor

QTEST_MAIN(vocor::AboutDialogTest)
#include "about_dialog_qtest.moc"
