// The dialogs through the real widgets, offscreen, with the presenters behind them: the window
// built from the control list, typing, clicking, Enter, Escape and the close box. Also the popup
// menu, the tray's icons and tip, and the file questions of the launch.
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QToolButton>

#include "dialogs/frmAlarms.h"
#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "engine/log.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "platform/qt/clock_window.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/game_process.h"
#include "platform/qt/notifications.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/tests/test_support.h"
#include "shell/frmTarvexMain.h"

namespace tarvex {
namespace {

// One of the dialogs in its window, shown and holding the focus so that keys reach it.
struct Open {
  explicit Open(DialogKind kind)
      : dialog(kind == DialogKind::AutoRun  ? static_cast<Dialog&>(autoRunDialog)
               : kind == DialogKind::Alarms ? static_cast<Dialog&>(alarmsDialog)
                                            : dateTimeDialog),
        window(dialog) {
    window.show();
    window.activateWindow();
    if (!QTest::qWaitForWindowActive(&window)) qFatal("the dialog took no focus");
  }
  QWidget* Find(const QString& name) { return window.Widget(name); }
  QLineEdit* Box(const QString& name) { return qobject_cast<QLineEdit*>(Find(name)); }
  void Type(const QString& box, const QString& text) { QTest::keyClicks(Find(box), text); }
  void Press(const QString& button) { QTest::mouseClick(Find(button), Qt::LeftButton); }

  QtPlatform platform;
  CalibrationRecord pair;
  AutoRunSettings armed;
  frmDateTime dateTimeDialog{platform, {}, [this](const CalibrationRecord& set) { pair = set; }};
  frmAutoRun autoRunDialog{platform, [this](const AutoRunSettings& set) { armed = set; }};
  frmAlarms alarmsDialog{platform, AlarmSettings{}, [](const AlarmSettings&) { return true; },
                         [](const AlarmSettings&) {}};
  Dialog& dialog;
  DialogWindow window;
};

// Makes `folder` the data folder, where the log is written.
void UseDataFolder(const QTemporaryDir& folder) {
  SetDataFolder(QDir::toNativeSeparators(folder.path() + "/").toStdString());
}

// What the log in data folder `folder` holds.
QString LogText(const QTemporaryDir& folder) {
  QFile log(folder.filePath(QString::fromUtf8(kLogFile.data(), kLogFile.size())));
  return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
}

}  // namespace

class DialogTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { testing::StartWatchdog(); }

  // Every control of the list is there with its caption, whole and aligned, in the list's tab
  // order, at least 7 dialog units from each edge, and placed so that "A<B" stand side by side,
  // "A^B" A above B, "A[B" A holds B.
  void windowIsBuiltFromTheControls_data() {
    QTest::addColumn<DialogKind>("kind");
    QTest::addColumn<QString>("rules");
    QTest::newRow("date and time")
        << DialogKind::DateTime
        << "Label2^Label1 Label1<txtRealTime Label3<txtRealDate Label4<txtZRDTime "
           "Label5<txtZRDDate txtRealTime^txtRealDate txtRealDate^txtZRDTime txtZRDTime^txtZRDDate "
           "txtZRDDate^cmdSetDateandTime cmdSetDateandTime<cmdCancel";
    QTest::newRow("auto-run")
        << DialogKind::AutoRun
        << "Frame1[optKSTime Frame1[optRLTime Frame1[Label1 Frame1[Label2 Frame1[txtTime "
           "Frame1[txtDate optKSTime<optRLTime Label1<txtTime Label2<txtDate Frame1^Label3 "
           "Label3^txtCharacterFile txtCharacterFile^cmdLoad Label4^txtPassword txtPassword^cmdOK "
           "cmdOK<cmdCancel";
    QTest::newRow("moon alarms")
        << DialogKind::Alarms
        << "chkGoodMoon^chkBadMoon chkBadMoon^chkWarn chkWarn<txtWarningMinutes "
           "txtWarningMinutes<Label1 chkWarn^Label2 Label2<txtRepeatMinutes "
           "txtRepeatMinutes<Label3 txtRepeatMinutes^chkAtStart chkAtStart^chkAtEnd "
           "chkAtEnd^chkSound chkSound^Label4 Label4<txtQuietFrom txtQuietFrom<Label5 "
           "Label5<txtQuietTo txtQuietTo<Label6 txtQuietFrom^Label7 Label7^txtGoodSound "
           "txtGoodSound<cmdGoodSound txtGoodSound^Label8 Label8^txtBadSound "
           "txtBadSound<cmdBadSound txtBadSound^cmdOK cmdOK<cmdCancel cmdCancel<cmdTryIt";
  }

  void windowIsBuiltFromTheControls() {
    QFETCH(DialogKind, kind);
    QFETCH(QString, rules);
    Open open(kind);
    QStringList tabOrder;
    const int sideways = 7 * open.window.width() / open.dialog.Width(),
              down = 7 * open.window.height() / open.dialog.Height();
    const QRect inside = open.window.rect().adjusted(sideways, down, -sideways, -down);
    for (const Control& control : open.dialog.Controls()) {
      const QString name = ToQString(ControlName(control.Id));
      QWidget* widget = open.Find(name);
      QVERIFY2(widget && inside.contains(widget->geometry()), qPrintable(name));
      if (widget->focusPolicy() & Qt::TabFocus) tabOrder << name;
      if (control.Kind == ControlKind::TextBox) continue;
      const QString caption = QString::fromUtf8(control.Caption);
      QCOMPARE(widget->property(control.Kind == ControlKind::Frame ? "title" : "text"), caption);
      if (auto* label = qobject_cast<QLabel*>(widget)) {
        const Qt::Alignment across[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
        QCOMPARE(label->alignment() & Qt::AlignHorizontal_Mask, across[int(control.Alignment)]);
        QVERIFY2(label->wordWrap()  // nothing is cut off
                     ? label->heightForWidth(label->width()) <= label->height()
                     : label->fontMetrics().horizontalAdvance(caption) <= label->width(),
                 qPrintable(name));
      }
      if (auto* box = qobject_cast<QCheckBox*>(widget)) {  // the box and its whole caption
        QVERIFY2(box->sizeHint().width() <= box->width(), qPrintable(name));
      }
    }
    for (const auto& rule : QRegularExpression(R"((\w+)([<^\[])(\w+))").globalMatch(rules)) {
      const QRect a = open.Find(rule.captured(1))->geometry(),
                  b = open.Find(rule.captured(3))->geometry();
      QVERIFY2(rule.captured(2) == "<"
                   ? a.right() < b.left() && qAbs(a.center().y() - b.center().y()) <= 3
               : rule.captured(2) == "^" ? a.bottom() < b.top()
                                         : a.contains(b),
               qPrintable(rule.captured()));
    }
    QStringList order;
    for (QWidget* focus; order.size() <= tabOrder.size(); QTest::keyClick(focus, Qt::Key_Tab))
      order << (focus = QApplication::focusWidget())->objectName();
    QCOMPARE(order, tabOrder << tabOrder.first());  // and round again
  }

  // The typed texts reach the presenter before a click, what it holds afterwards shows (the
  // option it selected, the file it was given, kept by a cancelled choice), and the password shows
  // as stars.
  void autoRunRoundTrip() {
    Open open(DialogKind::AutoRun);
    GamePath = "/games/";
    QStringList asked;
    open.platform.SetFileChooser([&](const QString& folder, const QString& filter) {
      asked << folder << filter;
      return asked.size() > 2 ? QString() : QStringLiteral("/games/hero one.zrd");  // cancelled
    });
    auto* ks = qobject_cast<QRadioButton*>(open.Find("optKSTime"));
    auto* rl = qobject_cast<QRadioButton*>(open.Find("optRLTime"));
    QVERIFY(ks->isChecked() && !rl->isChecked());
    for (int click = 0; click < 2; ++click) {  // a second click leaves it selected
      open.Press("optRLTime");
      QVERIFY(!ks->isChecked() && rl->isChecked());
    }
    open.Type("txtTime", "10:30:00");
    open.Type("txtDate", "03/14/2026");
    open.Type("txtPassword", "pa(ss");
    QCOMPARE(open.Box("txtPassword")->displayText(), "*****");
    open.Press("cmdLoad");
    open.Press("cmdLoad");
    QCOMPARE(asked.mid(0, 2), (QStringList{"/games/", "Kestrune Character Files (*.zrd)"}));
    QCOMPARE(open.Box("txtCharacterFile")->text(), "/games/hero one.zrd");
    testing::MessageAnswerer answerer;
    open.Press("cmdOK");
    QVERIFY(answerer.Messages.isEmpty() && open.dialog.Closed() && !open.window.isVisible());
    QVERIFY2(open.Box("txtPassword")->text().isEmpty(), "the password's box emptied on closing");
    QVERIFY(!open.armed.KSTime);
    QCOMPARE(open.armed.Time + open.armed.Date + std::string(open.armed.Password.view()),
             std::string("10:30:0003/14/2026pa(ss"));
  }

  // "…" beside a moon's sound opens the file dialog for *.wav at the box's file; the
  // file chosen shows in the box, and a cancelled choice keeps it.
  void alarmsSoundRoundTrip() {
    Open open(DialogKind::Alarms);
    QStringList asked;
    open.platform.SetFileChooser([&](const QString& folder, const QString& filter) {
      asked << folder << filter;
      return asked.size() > 2 ? QString() : QStringLiteral("/sounds/gong.wav");
    });
    open.Type("txtBadSound", "/old/bell.wav");
    open.Press("cmdBadSound");
    open.Press("cmdBadSound");
    QCOMPARE(asked, (QStringList{"/old/bell.wav", "Sound Files (*.wav)", "/sounds/gong.wav",
                                 "Sound Files (*.wav)"}));
    QCOMPARE(open.Box("txtBadSound")->text(), "/sounds/gong.wav");
    QCOMPARE(open.Box("txtGoodSound")->text(), "");
  }

  // The boxes refuse a 9th or 11th character. Enter presses the default button, which stores a
  // good pair or shows the presenter's message (a box titled Tarvex with one button and no icon)
  // and leaves the dialog open, the focus on the box at fault with its text selected. Cancel,
  // Escape and the close box cancel, storing nothing.
  void dateTimeKeys_data() {
    QTest::addColumn<QString>("how");
    QTest::addColumn<bool>("good");  // the pair typed
    QTest::newRow("Enter, bad pair") << "enter" << false;
    QTest::newRow("Enter, good pair") << "enter" << true;
    QTest::newRow("Cancel button") << "button" << true;
    QTest::newRow("Escape") << "escape" << true;
    QTest::newRow("close box") << "close" << true;
  }

  void dateTimeKeys() {
    QFETCH(QString, how);
    QFETCH(bool, good);
    const bool message = how == "enter" && !good;
    const bool stored = how == "enter" && good;
    Open open(DialogKind::DateTime);
    const QStringList boxes{"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate"};
    const QString gameTime = good ? "24:00:00" : "1:00";
    const QStringList kept{"12:00:00", "01/02/2025", gameTime, "02/28/2003"};
    for (int i = 0; i < 4; ++i) open.Type(boxes[i], kept[i] + (i < 2 ? "9" : ""));  // one too many
    for (int i = 0; i < 4; ++i) QCOMPARE(open.Box(boxes[i])->text(), kept[i]);
    testing::MessageAnswerer answerer;
    if (how == "button") open.Press("cmdCancel");
    if (how == "close") open.window.close();
    if (how == "enter") QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    if (how == "escape") QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(answerer.Messages, message ? QStringList{"Tarvex, 1 button, no icon"} : QStringList());
    QVERIFY(open.window.isVisible() == message && open.dialog.Closed() != message);
    if (message) {
      QCOMPARE(open.window.focusWidget(), open.Find("txtZRDTime"));
      QCOMPARE(open.Box("txtZRDTime")->selectedText(), gameTime);
    }
    QCOMPARE(open.pair.RealTime.str() + open.pair.RealDate.str(),  // blank until stored
             stored ? "12:00:0001/02/2025" : std::string(18, ' '));
  }

  // The label beside the minutes box counts the minutes as they are typed, before any button.
  void alarmsMinutesLabel() {
    Open open(DialogKind::Alarms);
    auto* label = qobject_cast<QLabel*>(open.Find("Label1"));
    QVERIFY(label);
    QStringList shown{label->text()};
    open.Box("txtWarningMinutes")->selectAll();
    for (const char* key : {"1", "5"}) {
      open.Type("txtWarningMinutes", key);
      shown << label->text();
    }
    QTest::keyClick(open.Box("txtWarningMinutes"), Qt::Key_Backspace);
    shown << label->text();
    QCOMPARE(shown.join(" | "), "minutes before | minute before | minutes before | minute before");
    QVERIFY(!open.dialog.Closed());
  }

  // The menu shows the captions, separators, check marks and greyed tip lines, follows a new tip
  // while it is open, keeping the item highlighted, and returns the item chosen. A message
  // without a title is Tarvex's.
  void popupMenuAndMessage() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    main.TrayIcon.Tip = std::string_view("14:05:33 03/15/0002\r\nGOOD MOON TODAY AT 3:05 PM\0", 48);
    QStringList shown;  // the menu as it opened, then with the new tip
    QTimer::singleShot(0, &platform, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      QVERIFY(menu);
      const auto draw = [&] {
        QStringList entries;
        for (QAction* action : menu->actions())
          entries << (action->isSeparator() ? "-"
                      : action->isEnabled() ? action->text() + (action->isChecked() ? " [x]" : "")
                                            : "(" + action->text() + ")");
        shown << entries.join(", ");
      };
      draw();
      QAction* const exit = menu->actions().last();
      menu->setActiveAction(exit);
      main.TrayIcon.Tip = std::string_view("14:05:51 03/15/0002\0", 20);
      platform.UpdateOpenMenu(main.PopupMenu());
      draw();
      QCOMPARE(menu->activeAction(), exit);  // the highlighted item stays
      QTest::mouseClick(menu, Qt::LeftButton, {},
                        menu->actionGeometry(menu->actions()[7]).center());
    });
    QCOMPARE(platform.ShowPopupMenu(main.PopupMenu()), std::optional(MenuItem::ShowNextBadMoon));
    const QString items =
        "-, Set Date and Time, Set Kestrune Path, -, Show Current Time [x], Show Next Good Moon "
        "[x], Show Next Bad Moon, -, Auto Run Kestrune, Moon Alarms..., Start at Log-in, Clock "
        "Window, 24-Hour Clock, -, Exit";
    QCOMPARE(shown, (QStringList{"(14:05:33 03/15/0002), (GOOD MOON TODAY AT 3:05 PM), " + items,
                                 "(14:05:51 03/15/0002), " + items}));
    testing::MessageAnswerer answerer;
    platform.ShowMessage("Plain text", "");
    QCOMPARE(answerer.Messages, QStringList{"Tarvex, 1 button, no icon"});
  }

  // Every moon phase (101 to 108) and the application (any other number, here 100 and 109) has
  // its own picture, large and small; the tray takes the picture and the tip, whose CR LF becomes
  // a line break.
  void trayIconsAndTip() {
    QtPlatform platform;
    for (int number = 100; number <= 108; ++number) {
      const QIcon icon = platform.IconFor(number);
      QVERIFY(!icon.pixmap(16).isNull() && !icon.pixmap(256).isNull());
      QVERIFY(icon.cacheKey() != platform.IconFor(number == 108 ? 100 : number + 1).cacheKey());
    }
    QCOMPARE(platform.IconFor(109).cacheKey(), platform.IconFor(1).cacheKey());
    const std::string_view tip("14:05:33 03/15/0002\r\nGOOD MOON TODAY AT 3:05 PM\0", 48);
    platform.NotifyIcon(TrayMessage::Modify, {.Icon = 105, .Tip = std::string(tip)});
    QCOMPARE(platform.tray().toolTip(), "14:05:33 03/15/0002\nGOOD MOON TODAY AT 3:05 PM");
    QCOMPARE(platform.tray().icon().cacheKey(), platform.IconFor(105).cacheKey());
  }

  // The clock window shows the face's lines whole, however long, and the moon's picture drawn
  // for the screen's pixels; its close box and right button go to the presenter.
  void clockWindowShowsEveryLineWhole() {
    int closes = 0, menus = 0;
    ClockWindow window({[&closes] { ++closes; }, [](WindowCorner) {}, [&menus] { ++menus; }});
    const ClockFace face{
        "SET THE DATE AND TIME FIRST",
        "14:05:33 03/15/0002",
        {"GOOD MOON IN 27 DAYS, 11 HOURS AND 58 MINUTES, AT 11:35 AM ON 01/02/2027",
         "BAD MOON TOMORROW AT 11:35 AM"},
        kFullMoonIcon};
    QtPlatform platform;
    window.Draw(face, platform.IconFor(face.Icon));
    window.show();
    QCOMPARE(window.windowTitle(), "Tarvex");
    QCOMPARE(window.Notice()->text(), "SET THE DATE AND TIME FIRST");
    QCOMPARE(window.Time()->text(), "14:05:33 03/15/0002");
    QCOMPARE(window.Moons()->text(), ToQString(face.Moons[0] + "\n" + face.Moons[1]));
    QVERIFY(window.Moons()->width() >= window.Moons()->sizeHint().width());  // never cut
    QVERIFY(!window.findChild<QLabel*>()->pixmap().isNull());
    window.Draw({"", "14:05:51 03/15/0002", {}, kFullMoonIcon}, platform.IconFor(kFullMoonIcon));
    QVERIFY(window.Notice()->isHidden());
    window.close();
    QVERIFY(window.isVisible());  // the presenter decides
    window.MenuButton()->click();
    QTRY_COMPARE(menus, 1);
    QCOMPARE(closes, 1);
  }

  // A plain file, by the name its folder stores; not one hidden, a folder, or missing.
  void findNormalFile() {
    QTemporaryDir folder;
    for (const char* name : {"vrak.exe", ".hidden.exe", "Other.EXE"})
      QVERIFY(QFile(folder.filePath(name)).open(QIODevice::WriteOnly));
    QVERIFY(QDir(folder.path()).mkdir("folder.exe") &&
            QFile::link(folder.filePath("vrak.exe"), folder.filePath("linked.exe")));
    QtPlatform platform;
    const std::pair<QString, bool> cases[] = {{"vrak.exe", true},    {"Other.EXE", true},
                                              {"linked.exe", true},  {".hidden.exe", false},
                                              {"folder.exe", false}, {"missing.exe", false}};
    for (const auto& [name, found] : cases) {
      QCOMPARE(platform.FindNormalFile(folder.filePath(name).toStdString()),
               found ? std::optional(name.toStdString()) : std::nullopt);
    }
  }

  // The Wine of TARVEX_WINE runs the game in the game's folder, quietly; a missing one is none. A
  // game folder that is gone starts nothing, and the log says why.
  void startProgramRunsWineInTheGameFolder() {
    QTemporaryDir folder;
    const QString game = folder.filePath("game dir");
    QFile script(folder.filePath("wine"));
    QVERIFY(QDir(folder.path()).mkdir("game dir") && script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\necho \"$1|$WINEDEBUG\" >record.tmp && mv record.tmp record\n");
    script.close();
    QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::ExeOwner));
    const auto recorded = [&] {  // what the Wine wrote into the folder it was started in
      QFile file(game + "/record");
      return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    };
    qputenv("TARVEX_WINE", QFile::encodeName(script.fileName()));
    QtPlatform platform;
    QVERIFY(platform.StartProgram((game + "/vrak.exe").toStdString(), game.toStdString() + "/", 2));
    QTRY_COMPARE_WITH_TIMEOUT(recorded(), game + "/vrak.exe|-all\n", 10000);
    UseDataFolder(folder);
    const QString gone = folder.filePath("gone");
    QVERIFY(
        !platform.StartProgram((gone + "/vrak.exe").toStdString(), gone.toStdString() + "/", 2));
    const QString failed = script.fileName() + " could not start " + gone + "/vrak.exe in " + gone;
    QVERIFY2(LogText(folder).contains(failed), qPrintable(LogText(folder)));
    qputenv("TARVEX_WINE", QFile::encodeName(folder.filePath("no-such-wine")));
    QVERIFY(FindWine().isEmpty());
  }

  // Typing needs an X display (X11's, or Xwayland's), whatever platform Qt draws on: without one
  // (none named, or one that cannot be opened) the log-in is refused, saying what is needed, and no
  // window has the focus. Qt runs offscreen here, as it runs on Wayland: not on X.
  void withoutAnXDisplayTheLogInIsRefused() {
    qputenv("TARVEX_WINE", "/bin/true");
    const QByteArray display = qgetenv("DISPLAY");
    QtPlatform platform;
    for (const char* name : {"", ":4093"}) {
      qputenv("DISPLAY", name);
      QCOMPARE(platform.KeystrokeLimitation(),
               std::string("Tarvex cannot type the log-in on this desktop: it needs an X display "
                           "(X11, or Xwayland on Wayland)."));
      QVERIFY(!platform.FocusBelongsTo(static_cast<ProcessId>(QCoreApplication::applicationPid())));
    }
    qputenv("DISPLAY", display);
  }

  // Where no notification server takes an alert (this test has no session bus), the tray icon
  // shows it, and the log in the data folder says so and why.
  void anAlertThatNoServerTookIsLogged() {
    QTemporaryDir folder;
    UseDataFolder(folder);
    std::vector<std::string> shown;
    DesktopNotifications notifications(
        [&shown](const MoonAlert& alert) { shown.push_back(alert.Text); });
    notifications.Show({"GOOD MOON IN 10 MINUTES, AT 5:33 PM", kGoodMoonIcon, false});
    QTRY_COMPARE(shown, std::vector<std::string>{"GOOD MOON IN 10 MINUTES, AT 5:33 PM"});
    const QString text = LogText(folder);
    QVERIFY2(
        QRegularExpression(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d The moon alarm "GOOD MOON IN 10 )"
                           R"(MINUTES, AT 5:33 PM" was shown as the tray icon's own message: )"
                           R"(no session bus can be reached\n$)")
            .match(text)
            .hasMatch(),
        qPrintable(text));
  }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::DialogTest)
#include "dialog_test.moc"
