// The two dialogs through the real widgets, offscreen: typing, clicking, Escape and the close
// box, with the presenters behind them. Also the popup menu, the message box, the tray's icons
// and tip, and the file questions of the launch.
#include <unistd.h>

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "engine/modZRD.h"
#include "platform/qt/dialog_window.h"
#include "platform/qt/game_process.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/tests/test_support.h"
#include "shell/frmTarvexMain.h"

namespace tarvex {
namespace {

using testing::MessageAnswerer;

const char kRealTimeMessage[] =
    "The real time is not in the correct format.  Please fix it and try again.";
const char kRealDateMessage[] =
    "The real date is not in the correct format.  Please fix it and try again.";
const char kGameTimeMessage[] =
    "The Kestrune time is not in the correct format.  Please fix it and try again.";
const char kGameDateMessage[] =
    "The Kestrune date is not in the correct format.  Please fix it and try again.";

CalibrationRecord SomePair() {
  CalibrationRecord pair;
  pair.RealTime = "08:00:00";
  pair.RealDate = "01/02/2025";
  pair.ZRDTime = "10:00:00";
  pair.ZRDDate = "03/04/0005";
  return pair;
}

template <typename T>
T* Find(DialogWindow& window, const char* name) {
  T* widget = qobject_cast<T*>(window.Widget(QString::fromLatin1(name)));
  if (!widget) qWarning("no control %s", name);
  return widget;
}

void Type(DialogWindow& window, const char* box, const QString& text) {
  QLineEdit* edit = Find<QLineEdit>(window, box);
  edit->setFocus();
  QTest::keyClicks(edit, text);
}

void Press(DialogWindow& window, const char* button) {
  QTest::mouseClick(window.Widget(QString::fromLatin1(button)), Qt::LeftButton);
}

// Shows the window and waits until it holds the focus, so that keys reach it.
bool ShowActive(DialogWindow& window) {
  window.show();
  window.activateWindow();
  return QTest::qWaitForWindowActive(&window);
}

}  // namespace

class DialogTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { testing::StartWatchdog(); }

  // --- Calibration dialog ---

  void dateTimeLayout() {
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    QCOMPARE(window.windowTitle(), QStringLiteral("Set Date and Time"));

    const auto* instruction = Find<QLabel>(window, "Label2");
    QVERIFY(instruction->wordWrap());
    QVERIFY(instruction->text().startsWith(QStringLiteral("Enter times in 24 hour format.  ")));
    const struct {
      const char* Label;
      const char* Box;
      const char* Caption;
      int MaxLength;
    } rows[] = {{"Label1", "txtRealTime", "Real Time (HH:MM:SS)", 8},
                {"Label3", "txtRealDate", "Real Date (MM/DD/YYYY)", 10},
                {"Label4", "txtZRDTime", "Kestrune Time (HH:MM:SS)", 8},
                {"Label5", "txtZRDDate", "Kestrune Date (MM/DD/YYYY)", 10}};
    int above = instruction->geometry().bottom();
    for (const auto& row : rows) {
      const auto* label = Find<QLabel>(window, row.Label);
      const auto* box = Find<QLineEdit>(window, row.Box);
      QCOMPARE(label->text(), QString::fromLatin1(row.Caption));
      QVERIFY2(label->alignment() & Qt::AlignRight, row.Label);
      QVERIFY2(label->geometry().right() < box->geometry().left(), row.Label);
      QVERIFY2(qAbs(label->geometry().center().y() - box->geometry().center().y()) <= 3, row.Box);
      QVERIFY2(box->geometry().top() > above, row.Box);  // rows run top to bottom
      QCOMPARE(box->maxLength(), row.MaxLength);
      // The caption fits its label in this font: nothing is cut off.
      QVERIFY2(label->fontMetrics().horizontalAdvance(label->text()) <= label->width(), row.Label);
      above = box->geometry().bottom();
    }
    const auto* set = Find<QPushButton>(window, "cmdSetDateandTime");
    const auto* cancel = Find<QPushButton>(window, "cmdCancel");
    QCOMPARE(set->text(), QStringLiteral("Set Date and Times"));
    QCOMPARE(cancel->text(), QStringLiteral("Cancel"));
    QVERIFY(set->isDefault());
    QVERIFY(set->geometry().right() < cancel->geometry().left());
    QCOMPARE(set->geometry().top(), cancel->geometry().top());
    QVERIFY(set->geometry().top() > above);
    QVERIFY(window.rect().contains(cancel->geometry()));
  }

  void dateTimeTabOrderFollowsTheRows() {
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    QStringList order{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 6; ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      order << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(order, (QStringList{"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate",
                                 "cmdSetDateandTime", "cmdCancel", "txtRealTime"}));
  }

  void dateTimeBoxesRefuseExtraCharacters() {
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    Type(window, "txtRealTime", QStringLiteral("12:34:567"));
    Type(window, "txtRealDate", QStringLiteral("01/02/20034"));
    Type(window, "txtZRDTime", QStringLiteral("12:30:  x"));
    QCOMPARE(Find<QLineEdit>(window, "txtRealTime")->text(), QStringLiteral("12:34:56"));
    QCOMPARE(Find<QLineEdit>(window, "txtRealDate")->text(), QStringLiteral("01/02/2003"));
    QCOMPARE(Find<QLineEdit>(window, "txtZRDTime")->text(), QStringLiteral("12:30:  "));
  }

  void dateTimeSet_data() {
    QTest::addColumn<QStringList>("typed");  // real time, real date, game time, game date
    QTest::addColumn<QString>("message");    // empty when the pair is stored
    QTest::newRow("all empty") << QStringList{"", "", "", ""} << kRealTimeMessage;
    QTest::newRow("bad real date")
        << QStringList{"12:00:00", "13/01/2025", "", ""} << kRealDateMessage;
    QTest::newRow("bad game time")
        << QStringList{"12:00:00", "01/02/2025", "1:00", ""} << kGameTimeMessage;
    QTest::newRow("bad game date")
        << QStringList{"12:00:00", "01/02/2025", "24:00:00", "x"} << kGameDateMessage;
    QTest::newRow("stored") << QStringList{"12:00:00", "01/02/2025", "24:00:00", "02/31/2003"}
                            << QString();
    QTest::newRow("short game time stored")
        << QStringList{"12:00:00", "01/02/2025", "12:30:", "02/03/0004"} << QString();
  }

  // One press of "Set Date and Times": either one message and nothing stored, the dialog open
  // with the boxes as typed; or the pair stored blank-padded and the dialog gone.
  void dateTimeSet() {
    QFETCH(QStringList, typed);
    QFETCH(QString, message);
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    const char* boxes[] = {"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate"};
    for (int i = 0; i < 4; ++i) Type(window, boxes[i], typed[i]);

    MessageAnswerer answerer;
    Press(window, "cmdSetDateandTime");
    if (message.isEmpty()) {
      QVERIFY(answerer.Messages.isEmpty());
      QVERIFY(!window.isVisible());
      QVERIFY(dialog.Closed());
      QCOMPARE(QString::fromStdString(pair.ZRDTime.str()), typed[2].leftJustified(8));
      QCOMPARE(QString::fromStdString(pair.ZRDDate.str()), typed[3].leftJustified(10));
      QCOMPARE(QString::fromStdString(pair.RealTime.str()), typed[0]);
    } else {
      QCOMPARE(answerer.Messages.size(), 1);
      QCOMPARE(answerer.Messages[0].Text, message);
      QCOMPARE(answerer.Messages[0].Title, QStringLiteral("Tarvex"));
      QCOMPARE(answerer.Messages[0].Icon, QMessageBox::NoIcon);
      QCOMPARE(answerer.Messages[0].Buttons, 1);
      QVERIFY(window.isVisible());
      QVERIFY(!dialog.Closed());
      QVERIFY(pair == SomePair());
      for (int i = 0; i < 4; ++i) QCOMPARE(Find<QLineEdit>(window, boxes[i])->text(), typed[i]);
    }
  }

  void dateTimeEnterPressesSet() {
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    Type(window, "txtRealTime", QStringLiteral("12:00:00"));
    MessageAnswerer answerer;
    QTest::keyClick(Find<QLineEdit>(window, "txtRealTime"), Qt::Key_Return);
    QCOMPARE(answerer.Messages.size(), 1);
    QCOMPARE(answerer.Messages[0].Text, QString::fromLatin1(kRealDateMessage));
  }

  void dateTimeCancel_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "button";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("close box") << "close";
  }

  void dateTimeCancel() {
    QFETCH(QString, how);
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    const char* boxes[] = {"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate"};
    for (const char* box : boxes) Type(window, box, QStringLiteral("01:02:03"));
    if (how == "button") {
      Press(window, "cmdCancel");
    } else if (how == "escape") {
      QTest::keyClick(Find<QLineEdit>(window, "txtZRDDate"), Qt::Key_Escape);
    } else {
      QVERIFY(window.close());
    }
    QVERIFY(dialog.Closed());
    QVERIFY(!window.isVisible());
    QVERIFY(pair == SomePair());
  }

  // --- Auto-run dialog ---

  void autoRunLayout() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    QCOMPARE(window.windowTitle(), QStringLiteral("Auto Run Kestrune"));
    const auto* frame = Find<QGroupBox>(window, "Frame1");
    QCOMPARE(frame->title(), QStringLiteral("Auto Run Time"));
    for (const char* inside :
         {"optKSTime", "optRLTime", "Label1", "Label2", "txtTime", "txtDate"}) {
      QVERIFY2(frame->geometry().contains(window.Widget(QString::fromLatin1(inside))->geometry()),
               inside);
    }
    const auto* ks = Find<QRadioButton>(window, "optKSTime");
    const auto* rl = Find<QRadioButton>(window, "optRLTime");
    QCOMPARE(ks->text(), QStringLiteral("Kestrune Time"));
    QCOMPARE(rl->text(), QStringLiteral("Real Time"));
    QVERIFY(ks->geometry().right() < rl->geometry().left());
    QVERIFY(Find<QLabel>(window, "Label1")->geometry().right() <
            Find<QLineEdit>(window, "txtTime")->geometry().left());
    QVERIFY(Find<QLabel>(window, "Label1")->alignment() & Qt::AlignRight);

    const QRect character = Find<QLineEdit>(window, "txtCharacterFile")->geometry();
    QVERIFY(Find<QLabel>(window, "Label3")->geometry().bottom() < character.top());
    QVERIFY(character.top() > frame->geometry().bottom());
    QVERIFY(Find<QPushButton>(window, "cmdLoad")->geometry().top() > character.bottom());
    const auto* passwordLabel = Find<QLabel>(window, "Label4");
    const QRect password = Find<QLineEdit>(window, "txtPassword")->geometry();
    QVERIFY(passwordLabel->alignment() & Qt::AlignHCenter);
    QVERIFY(passwordLabel->geometry().bottom() < password.top());
    QVERIFY(qAbs(passwordLabel->geometry().center().x() - password.center().x()) <= 2);
    const QRect ok = Find<QPushButton>(window, "cmdOK")->geometry();
    const QRect cancel = Find<QPushButton>(window, "cmdCancel")->geometry();
    QVERIFY(ok.right() < cancel.left());
    QCOMPARE(ok.top(), cancel.top());
    QVERIFY(ok.top() > password.bottom());
    QVERIFY(window.rect().contains(cancel));
  }

  void autoRunOptionsFollowTheDialog() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    auto* ks = Find<QRadioButton>(window, "optKSTime");
    auto* rl = Find<QRadioButton>(window, "optRLTime");
    QVERIFY(ks->isChecked() && !rl->isChecked());
    QTest::mouseClick(rl, Qt::LeftButton);
    QVERIFY(!ks->isChecked() && rl->isChecked());
    QTest::mouseClick(rl, Qt::LeftButton);  // a second click does not unselect it
    QVERIFY(!ks->isChecked() && rl->isChecked());
    ks->setFocus();
    QTest::keyClick(ks, Qt::Key_Space);
    QVERIFY(ks->isChecked() && !rl->isChecked());
  }

  void autoRunPasswordShowsStars() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    Type(window, "txtPassword", QStringLiteral("s3cr(t"));
    const auto* password = Find<QLineEdit>(window, "txtPassword");
    QCOMPARE(password->echoMode(), QLineEdit::Password);
    QCOMPARE(password->text(), QStringLiteral("s3cr(t"));
    QCOMPARE(password->displayText(), QStringLiteral("******"));
    QCOMPARE(Find<QLineEdit>(window, "txtCharacterFile")->echoMode(), QLineEdit::Normal);
  }

  void autoRunLoadAsksForACharacterFile() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    GamePath = "/games/kestrune/";
    QStringList asked;
    QString answer = QStringLiteral("/games/kestrune/hero one.zrd");
    platform.SetFileChooser([&](const QString& folder, const QString& filter) {
      asked << folder << filter;
      return answer;
    });
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    Press(window, "cmdLoad");
    QCOMPARE(asked, (QStringList{"/games/kestrune/", "Kestrune Character Files (*.zrd) (*.zrd)"}));
    auto* character = Find<QLineEdit>(window, "txtCharacterFile");
    QCOMPARE(character->text(), answer);

    answer.clear();  // cancelled: the box keeps its text
    Press(window, "cmdLoad");
    QCOMPARE(character->text(), QStringLiteral("/games/kestrune/hero one.zrd"));
    QVERIFY(window.isVisible());
  }

  void autoRunOkArms() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    QTest::mouseClick(Find<QRadioButton>(window, "optRLTime"), Qt::LeftButton);
    Type(window, "txtTime", QStringLiteral("10:30:00"));
    Type(window, "txtDate", QStringLiteral("03/14/2026"));
    Type(window, "txtCharacterFile", QStringLiteral("/home/me/hero[1].zrd"));
    Type(window, "txtPassword", QStringLiteral("pa(ss"));
    MessageAnswerer answerer;
    Press(window, "cmdOK");
    QVERIFY(answerer.Messages.isEmpty());
    QVERIFY(dialog.Closed());
    QVERIFY(!window.isVisible());
    QVERIFY(main.Checked(MenuItem::AutoRunKestrune));
    QVERIFY(!main.AutoRunKSTime);
    QCOMPARE(main.AutoRunTime, std::string("10:30:00"));
    QCOMPARE(main.AutoRunDate, std::string("03/14/2026"));
    QCOMPARE(main.AutoRunCharacter, std::string("/home/me/hero[1].zrd"));  // raw until closed
    QCOMPARE(main.AutoRunPassword, std::string("pa(ss"));
  }

  void autoRunOkWithoutCharacterFile() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    DialogWindow window(dialog);
    QVERIFY(ShowActive(window));
    Type(window, "txtTime", QStringLiteral("10:30:00"));
    Type(window, "txtDate", QStringLiteral("03/14/2026"));
    MessageAnswerer answerer;
    Press(window, "cmdOK");
    QCOMPARE(answerer.Messages.size(), 1);
    QCOMPARE(answerer.Messages[0].Text, QStringLiteral("You must load a character file."));
    QVERIFY(window.isVisible());
    QVERIFY(!main.Checked(MenuItem::AutoRunKestrune));
    QCOMPARE(Find<QLineEdit>(window, "txtTime")->text(), QStringLiteral("10:30:00"));
  }

  // --- Platform: dialogs, menu, messages ---

  void showDialogReturnsWhenTheDialogCloses() {
    QtPlatform platform;
    CalibrationRecord pair = SomePair();
    frmDateTime dialog(platform, pair);
    bool sawWindow = false;
    QTimer::singleShot(0, &platform, [&] {
      DialogWindow* window = platform.OpenDialog(DialogKind::DateTime);
      sawWindow = window && window->isVisible() && window->parent() == nullptr;
      if (window) QTest::mouseClick(window->Widget(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    platform.ShowDialog(dialog);
    QVERIFY(sawWindow);
    QVERIFY(dialog.Closed());
    QVERIFY(!platform.OpenDialog(DialogKind::DateTime));
  }

  void closeDialogFromOutside() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    QTimer::singleShot(0, &platform, [&] {
      platform.CloseDialog(DialogKind::DateTime);  // not open: nothing happens
      if (platform.OpenDialog(DialogKind::AutoRun)) platform.CloseDialog(DialogKind::AutoRun);
    });
    platform.ShowDialog(dialog);
    QVERIFY(dialog.Closed());
    QVERIFY(!main.Checked(MenuItem::AutoRunKestrune));
  }

  void popupMenuShowsTheEntries() {
    QtPlatform platform;
    frmTarvexMain main(platform);
    const std::vector<MenuEntry> entries = main.PopupMenu();
    QStringList shown;
    QTimer::singleShot(0, &platform, [&] {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!menu) return;
      for (QAction* action : menu->actions()) {
        shown << (action->isSeparator() ? QStringLiteral("-")
                                        : action->text() + (action->isChecked() ? " [x]" : ""));
      }
      QAction* bad = menu->actions().at(5);
      QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(bad).center());
    });
    const std::optional<MenuItem> chosen = platform.ShowPopupMenu(entries);
    QCOMPARE(shown, (QStringList{"Set Date and Time", "Set Kestrune Path", "-",
                                 "Show Current Time [x]", "Show Next Good Moon [x]",
                                 "Show Next Bad Moon", "-", "Auto Run Kestrune", "-", "Exit"}));
    QVERIFY(chosen.has_value());
    QCOMPARE(*chosen, MenuItem::ShowNextBadMoon);

    QTimer::singleShot(0, &platform, [] {
      if (QWidget* menu = QApplication::activePopupWidget()) QTest::keyClick(menu, Qt::Key_Escape);
    });
    QVERIFY(!platform.ShowPopupMenu(entries).has_value());
  }

  void messageBoxHasOneOkAndNoIcon() {
    QtPlatform platform;
    MessageAnswerer answerer;
    platform.ShowMessage("To set the path, open a character file.", "Set Path");
    platform.ShowMessage("Plain <b>text</b>", "");
    QCOMPARE(answerer.Messages.size(), 2);
    QCOMPARE(answerer.Messages[0].Title, QStringLiteral("Set Path"));
    QCOMPARE(answerer.Messages[0].Buttons, 1);
    QCOMPARE(answerer.Messages[0].Icon, QMessageBox::NoIcon);
    QCOMPARE(answerer.Messages[1].Title, QStringLiteral("Tarvex"));
  }

  // --- Platform: tray ---

  void trayIconsAndTip() {
    QtPlatform platform;
    // Every moon phase has its own picture in every size; 109 is the application picture.
    for (int number = 101; number <= 108; ++number) {
      const QIcon icon = platform.IconFor(number);
      QVERIFY2(!icon.pixmap(16).isNull() && !icon.pixmap(256).isNull(),
               qPrintable(QString::number(number)));
      QCOMPARE(icon.availableSizes().size(), 8);
      QVERIFY(icon.cacheKey() != platform.IconFor(number == 108 ? 101 : number + 1).cacheKey());
      QCOMPARE(platform.IconFor(number).cacheKey(), icon.cacheKey());  // built once
    }
    QCOMPARE(platform.IconFor(109).cacheKey(), platform.IconFor(1).cacheKey());
    QVERIFY(!platform.IconFor(1).pixmap(32).isNull());

    TrayIcon icon;
    icon.Icon = 105;
    icon.Tip = std::string_view("14:05:33 03/15/0002\r\nGOOD MOON TODAY AT 3:05 PM\0", 48);
    platform.NotifyIcon(TrayMessage::Modify, icon);
    QCOMPARE(platform.tray().toolTip(),
             QStringLiteral("14:05:33 03/15/0002\nGOOD MOON TODAY AT 3:05 PM"));
    QCOMPARE(platform.tray().icon().cacheKey(), platform.IconFor(105).cacheKey());
  }

  // --- Platform: the launch ---

  void findNormalFile() {
    QTemporaryDir folder;
    const auto make = [&](const QString& name) {
      QFile file(folder.filePath(name));
      return file.open(QIODevice::WriteOnly);
    };
    QVERIFY(make("vrak.exe") && make(".hidden.exe") && make("Other.EXE"));
    QVERIFY(QDir(folder.path()).mkdir("folder.exe"));
    QVERIFY(QFile::link(folder.filePath("vrak.exe"), folder.filePath("linked.exe")));
    QtPlatform platform;
    const auto find = [&](const char* name) {
      return platform.FindNormalFile(folder.filePath(QString::fromLatin1(name)).toStdString());
    };
    QCOMPARE(find("vrak.exe"), std::optional<std::string>("vrak.exe"));
    QCOMPARE(find("Other.EXE"), std::optional<std::string>("Other.EXE"));
    QCOMPARE(find("linked.exe"), std::optional<std::string>("linked.exe"));
    QVERIFY(!find(".hidden.exe"));
    QVERIFY(!find("folder.exe"));
    QVERIFY(!find("missing.exe"));
  }

  void startProgramRunsWineInTheGameFolder() {
    QTemporaryDir folder;
    const QString wine = folder.filePath("fake-wine");
    const QString record = folder.filePath("record");
    {
      QFile script(wine);
      QVERIFY(script.open(QIODevice::WriteOnly));
      script.write(
          QStringLiteral("#!/bin/sh\necho \"$PWD|$1|$WINEDEBUG\" > '%1.tmp' && mv '%1.tmp' '%1'\n")
              .arg(record)
              .toUtf8());
      script.close();
      QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    QVERIFY(QDir(folder.path()).mkdir("game dir"));
    const QString game = folder.filePath("game dir");
    qputenv("TARVEX_WINE", wine.toUtf8());
    QtPlatform platform;
    QCOMPARE(
        platform.KeystrokeLimitation(),  // offscreen is no X11 session
        std::string("Tarvex cannot type the log-in on this desktop: it needs an X11 session."));
    const auto process =
        platform.StartProgram((game + "/vrak.exe").toStdString(), (game + "/").toStdString(), 2);
    QVERIFY(process.has_value());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 10000);
    QFile result(record);
    QVERIFY(result.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(result.readAll()).trimmed(), game + "|" + game + "/vrak.exe|-all");

    qputenv("TARVEX_WINE", QFile::encodeName(folder.filePath("no-such-wine")));
    QVERIFY(FindWine().isEmpty());
    QVERIFY(!platform.StartProgram((game + "/vrak.exe").toStdString(), game.toStdString(), 2));
    qunsetenv("TARVEX_WINE");
  }

  void processTree() {
    const auto self = static_cast<std::uint64_t>(::getpid());
    const auto parent = static_cast<std::uint64_t>(::getppid());
    QVERIFY(IsSameOrDescendant(self, self));
    QVERIFY(IsSameOrDescendant(self, parent));
    QVERIFY(!IsSameOrDescendant(parent, self));
    QVERIFY(!IsSameOrDescendant(self, 0));
  }
};

}  // namespace tarvex

QTEST_MAIN(tarvex::DialogTest)
#include "dialog_test.moc"
