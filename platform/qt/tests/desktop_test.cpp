// On an X display with a system tray (run by with_desktop.sh): the tray icon docks and follows the
// ticks, unloading saves the pair, and the keystroke player types into the focused window.
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/tests/test_support.h"
#include "shell/frmTarvexMain.h"

namespace tarvex {

class DesktopTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    testing::StartWatchdog(90000);
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY(data_.isValid());
    SetDataFolder((data_.path() + QLatin1Char('/')).toStdString());
  }

  // A pair on game day 15: the icon blinks between the full moon and the application picture,
  // and the tip shows the game time with the good moon under it.
  void trayIconDocksAndFollowsTheTicks() {
    {
      QFile file(QDir(data_.path()).filePath("ZRDTIMES.DAT"));
      QVERIFY(file.open(QIODevice::WriteOnly));
      file.write(
          QStringLiteral("%1\r\n%2\r\n10:00:00\r\n03/15/0002\r\n")
              .arg(QString::fromStdString(GetRealTime()), QString::fromStdString(GetRealDate()))
              .toLatin1());
    }
    QtPlatform platform;
    frmTarvexMain main(platform);
    platform.Attach(main);
    main.Form_Load();
    QVERIFY(QSystemTrayIcon::isSystemTrayAvailable());
    QVERIFY(platform.tray().isVisible());
    QTRY_VERIFY(!platform.tray().geometry().isEmpty());  // docked into the tray

    QSet<QString> tips;
    QSet<qint64> icons;
    const auto sample = [&] {
      tips.insert(platform.tray().toolTip());
      icons.insert(platform.tray().icon().cacheKey());
      return tips.size() >= 3 && icons.size() >= 2;
    };
    QTRY_VERIFY_WITH_TIMEOUT(sample(), 8000);
    QCOMPARE(icons,
             (QSet<qint64>{platform.IconFor(105).cacheKey(), platform.IconFor(1).cacheKey()}));
    const QRegularExpression tip(
        QStringLiteral(R"(^\d\d:\d\d:\d\d 03/\d\d/0002\nGOOD MOON [A-Z ]+AT \d{1,2}:\d\d [AP]M$)"));
    for (const QString& text : tips) {
      if (text.isEmpty()) continue;  // the empty tip of the start, before the first tick
      QVERIFY2(tip.match(text).hasMatch(), qPrintable(text));
    }

    main.Form_Unload();
    QVERIFY(!platform.tray().isVisible());
    QFile saved(QDir(data_.path()).filePath("ZRDTIMES.DAT"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray pair = saved.readAll();
    QCOMPARE(pair.size(), 44);
    QVERIFY2(pair.contains("/0002\r\n") && !pair.contains("10:00:00"), pair.constData());
  }

  void keystrokesReachTheFocusedWindow() {
    QWidget window;
    auto* first = new QLineEdit(&window);
    auto* second = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(first);
    layout->addWidget(second);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first->setFocus();

    qputenv("TARVEX_WINE", "/bin/true");
    QtPlatform platform;
    QCOMPARE(platform.KeystrokeLimitation(), std::string());
    qunsetenv("TARVEX_WINE");
    // Our window belongs to this process, which descends from the one that started it.
    QVERIFY(platform.FocusBelongsTo(static_cast<ProcessId>(::getpid())));
    QVERIFY(platform.FocusBelongsTo(static_cast<ProcessId>(::getppid())));

    QSignalSpy entered(first, &QLineEdit::returnPressed);
    // Shifted letters, a braced command character, a blank, and characters that the US layout
    // lacks (typed on borrowed key codes).
    platform.PlayKeystrokes("Ab{(}x \xc3\xa9\xe2\x82\xac:~");
    QTRY_COMPARE(first->text(), QStringLiteral("Ab(x \u00e9\u20ac:"));
    QTRY_COMPARE(entered.count(), 1);
    platform.PlayKeystrokes("{TAB}");
    platform.PlayKeystrokes("z{[}{]}~");
    QTRY_COMPARE(second->text(), QStringLiteral("z[]"));
    QCOMPARE(first->text(), QStringLiteral("Ab(x \u00e9\u20ac:"));
  }

  void focusOfAnotherProcessIsNotOurs() {
    QWidget window;
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    QVERIFY(other.waitForStarted());
    QtPlatform platform;
    QVERIFY(!platform.FocusBelongsTo(static_cast<ProcessId>(other.processId())));
    other.kill();
    other.waitForFinished();
  }

 private:
  QTemporaryDir data_;
};

}  // namespace tarvex

QTEST_MAIN(tarvex::DesktopTest)
#include "desktop_test.moc"
