// On an X display (run by with_desktop.sh): the keystroke player knows whose window has the focus
// and types into it, a text whole or not at all; the file dialog shows what it is asked to.
#include <unistd.h>

#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QProcess>
#include <QScreen>
#include <QSignalSpy>
#include <QTimer>

#include "dialogs/character_file.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/tests/test_support.h"
#include "platform/qt/x11_input.h"
#include "shell/keystrokes.h"

namespace tarvex {

class DesktopTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    testing::StartWatchdog(90000);
    QVERIFY(QGuiApplication::platformName() == "xcb");
  }

  // The focused window is known as this process's (and its parent's), not another's, and the
  // keys typed reach it: shifted letters, a braced command character, a blank, characters that
  // the US layout lacks (typed on borrowed key codes), Enter and Tab.
  void keystrokesReachTheFocusedWindow() {
    QWidget window;
    QLineEdit first(&window);
    QLineEdit second(&window);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    first.setFocus();

    qputenv("TARVEX_WINE", "/bin/true");  // a Wine, for the game could not start without one
    QtPlatform platform;
    QCOMPARE(platform.KeystrokeLimitation(), std::string());
    QVERIFY(platform.FocusBelongsTo(::getpid()) && platform.FocusBelongsTo(::getppid()));
    QProcess other;
    other.start("sleep", {"30"});
    QVERIFY(other.waitForStarted());
    QVERIFY(!platform.FocusBelongsTo(static_cast<ProcessId>(other.processId())));
    other.close();  // ends it

    QSignalSpy entered(&first, &QLineEdit::returnPressed);
    platform.PlayKeystrokes("Ab{(}x \xc3\xa9\xe2\x82\xac:~{TAB}z{[}{]}");
    QTRY_COMPARE(second.text(), "z[]");
    QCOMPARE(first.text(), "Ab(x \u00e9\u20ac:");
    QCOMPARE(entered.count(), 1);
  }

  // A text that cannot be typed whole is not typed at all: this one has more characters that no
  // key carries than the keyboard has key codes to borrow. What comes next is typed as usual.
  void textThatCannotBeTypedWholeTypesNothing() {
    QLineEdit edit;
    edit.show();
    edit.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&edit));
    std::vector<Keystroke> keys{{Keystroke::Kind::Character, U'a'}};
    for (char32_t c = U'\u4e00'; c < U'\u4f00'; ++c)
      keys.push_back({Keystroke::Kind::Character, c});
    x11::Keyboard keyboard;
    QVERIFY(!keyboard.Type(keys).empty());
    const Keystroke b{Keystroke::Kind::Character, U'b'};
    QVERIFY(keyboard.Type({&b, 1}).empty());
    QTRY_COMPARE(edit.text(), "b");
  }

  // Qt's own file dialog (no desktop's stands in here): the title, starting folder and the one
  // filter text asked for, in the middle of the screen; cancelled, it gives no file.
  void fileDialogShowsTheRequestInTheMiddleOfTheScreen() {
    QtPlatform platform;
    QString title, folder;
    QStringList filters;
    QPoint centre, screen;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      if (!dialog) return;
      title = dialog->windowTitle();
      folder = dialog->directory().absolutePath();
      filters = dialog->nameFilters();
      centre = dialog->frameGeometry().center();
      screen = QGuiApplication::primaryScreen()->availableGeometry().center();
      dialog->reject();
    });
    const std::string chosen = platform.ShowOpenFileDialog(
        CharacterFileRequest(QDir::tempPath().toStdString() + "/", "Set Kestrune Path"));
    QCOMPARE(chosen, std::string());
    QCOMPARE(title, "Set Kestrune Path");
    QCOMPARE(folder, QDir::tempPath());
    QCOMPARE(filters, QStringList{"Kestrune Character Files (*.zrd)"});
    QVERIFY2((centre - screen).manhattanLength() <= 4,
             qPrintable(QStringLiteral("centred at %1,%2, the screen's middle at %3,%4")
                            .arg(centre.x())
                            .arg(centre.y())
                            .arg(screen.x())
                            .arg(screen.y())));
  }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::DesktopTest)
#include "desktop_test.moc"
