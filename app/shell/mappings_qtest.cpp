// QFont and window placement over their stored texts.
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <string>

#include "app/shell/font_mapping.h"
#include "app/shell/font_text.h"
#include "app/shell/window_placement.h"
#include "app/shell/window_placement_qt.h"
#include "settings/settings_store.h"

namespace vocor {

namespace {
constexpr char kKey[] = "Software\\Vocor\\Vocor for Windows\\Window";
constexpr char kValue[] = "Position";

WindowPlacement StoredPlacement() {
  std::string text;
  WindowPlacement placement;
  placement.show_command = 0;
  if (ReadRegString(kCurrentUser, kKey, kValue, &text)) {
    ParseWindowPlacement(text, &placement);
  }
  return placement;
}
}  // namespace

class MappingsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { DeleteRegTree(kCurrentUser, kKey); }

  void fontRoundTripsThroughTheStoredText() {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(15);
    font.setWeight(QFont::Bold);
    font.setItalic(true);
    font.setUnderline(true);
    font.setStrikeOut(true);
    const LogFont log_font = LogFontFromFont(font);
    QCOMPARE(log_font.height, -15);
    QCOMPARE(log_font.weight, 700);
    QCOMPARE(int(log_font.italic), 1);
    QCOMPARE(log_font.face_name, std::string("DejaVu Sans"));

    LogFont read;
    QVERIFY(ParseLogFont(FormatLogFont(log_font), &read));
    const QFont back = FontFromLogFont(read);
    QCOMPARE(back.family(), font.family());
    QCOMPARE(back.pixelSize(), 15);
    QCOMPARE(back.weight(), QFont::Bold);
    QVERIFY(back.italic() && back.underline() && back.strikeOut());
  }

  void pointSizedFontIsStoredInPixels() {
    QFont font;
    font.setPointSize(12);
    const LogFont log_font = LogFontFromFont(font);
    QCOMPARE(log_font.height, -QFontInfo(font).pixelSize());
    QVERIFY(log_font.height < 0);
    QCOMPARE(log_font.weight, 400);
  }

  void recordDefaultsKeepTheToolkitsDefaults() {
    LogFont log_font;  // height 0, weight 0 ("any"), no face name
    const QFont font = FontFromLogFont(log_font);
    QCOMPARE(font.weight(), QFont().weight());
    QCOMPARE(font.family(), QFont().family());
    log_font.height = 20;  // a cell height
    log_font.weight = 5000;
    const QFont clamped = FontFromLogFont(log_font);
    QCOMPARE(clamped.pixelSize(), 20);
    QCOMPARE(int(clamped.weight()), 1000);
  }

  void normalWindowRoundTrips() {
    QWidget window;
    window.setGeometry(100, 120, 400, 300);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QVERIFY(SaveWindowPlacement(&window, kCurrentUser, kKey, kValue));
    const WindowPlacement stored = StoredPlacement();
    QCOMPARE(stored.flags, 0u);
    QCOMPARE(stored.show_command, kShowNormal);
    QCOMPARE(stored.right - stored.left, 400);
    QCOMPARE(stored.bottom - stored.top, 300);

    QWidget restored;
    QVERIFY(RestoreWindowPlacement(&restored, kCurrentUser, kKey, kValue));
    QVERIFY(restored.isVisible());
    QCOMPARE(restored.geometry().size(), QSize(400, 300));
    QCOMPARE(restored.geometry().topLeft(), window.geometry().topLeft());
  }

  void maximizedWindowKeepsItsNormalRectangle() {
    QWidget window;
    window.setGeometry(50, 60, 320, 240);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMaximized();
    QTRY_VERIFY(window.isMaximized());
    QVERIFY(SaveWindowPlacement(&window, kCurrentUser, kKey, kValue));
    const WindowPlacement stored = StoredPlacement();
    QCOMPARE(stored.flags, kPlacementRestoreToMaximized);
    QCOMPARE(stored.show_command, kShowMaximized);
    QCOMPARE(stored.right - stored.left, 320);

    QWidget restored;
    QVERIFY(RestoreWindowPlacement(&restored, kCurrentUser, kKey, kValue));
    QTRY_VERIFY(restored.isMaximized());
    restored.showNormal();
    QTRY_COMPARE(restored.geometry().size(), QSize(320, 240));
  }

  void minimizedWindowComesBackRestored() {
    QWidget window;
    window.setGeometry(50, 60, 320, 240);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.showMinimized();
    QTRY_VERIFY(window.isMinimized());
    QVERIFY(SaveWindowPlacement(&window, kCurrentUser, kKey, kValue));
    QCOMPARE(StoredPlacement().show_command, kShowMinimized);

    QWidget restored;
    QVERIFY(RestoreWindowPlacement(&restored, kCurrentUser, kKey, kValue));
    QVERIFY(restored.isVisible());
    QVERIFY(!restored.isMinimized());
    QVERIFY(!restored.isMaximized());
  }

  void missingOrMalformedPlacementLeavesTheWindowAlone() {
    QWidget window;
    window.setGeometry(10, 10, 200, 100);
    QVERIFY(!RestoreWindowPlacement(&window, kCurrentUser, kKey, kValue));
    QVERIFY(WriteRegString(kCurrentUser, kKey, kValue,
                           "0,1,-1,-1,-1,-1,10,20,810"));
    QVERIFY(!RestoreWindowPlacement(&window, kCurrentUser, kKey, kValue));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.geometry(), QRect(10, 10, 200, 100));
  }

  void windowFarOffScreenIsPulledBack() {
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    QVERIFY(WriteRegString(kCurrentUser, kKey, kValue,
                           "0,1,-1,-1,-1,-1,9000,40,9300,240"));
    QWidget window;
    QVERIFY(RestoreWindowPlacement(&window, kCurrentUser, kKey, kValue));
    QTRY_COMPARE(window.frameGeometry().left(),
                 screen.left() + screen.width() - 50);
    QCOMPARE(window.size(), QSize(300, 200));

    window.move(-5000, -5000);
    KeepWindowOnScreen(&window);
    QTRY_COMPARE(window.frameGeometry().topLeft(), screen.topLeft());
  }
};

}  // namespace vocor

QTEST_MAIN(vocor::MappingsTest)
#include "mappings_qtest.moc"
