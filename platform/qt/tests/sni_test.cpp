// The D-Bus tray (StatusNotifierItem), as GNOME's AppIndicator extension, KDE Plasma or a status
// bar shows it. On a private session bus this test plays the StatusNotifierWatcher with a host
// registered, starts tarvex (on the X display of with_desktop.sh), and reads its item and its
// menu (com.canonical.dbusmenu) as such a host does: the title, the tip as the tool-tip, and the
// menu headed by the tip's greyed lines, which follow the tip while the menu is open.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/tests/test_support.h"

namespace tarvex {
namespace {

// The watcher, with a host: Qt looks for both before it uses the D-Bus tray.
class Watcher final : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
  Q_PROPERTY(QStringList RegisteredStatusNotifierItems MEMBER items)
  Q_PROPERTY(bool IsStatusNotifierHostRegistered MEMBER host)

 public:
  QStringList items;  // the bus names of the items registered
  bool host = true;

 public slots:
  void RegisterStatusNotifierItem(const QString& service) { items << service; }
};

}  // namespace

class SniTest final : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    testing::StartWatchdog(60000);
    if (QStandardPaths::findExecutable("dbus-daemon").isEmpty()) {
      std::puts("skipped: dbus-daemon is not installed (tools/install-deps.sh desktop)");
      std::exit(77);
    }
    bus_.start("dbus-daemon", {"--session", "--nofork", "--print-address"});
    QVERIFY(bus_.waitForReadyRead(10000));
    address_ = QString::fromUtf8(bus_.readLine()).trimmed();
    connection_ = QDBusConnection::connectToBus(address_, "host");
    QVERIFY(connection_.registerObject("/StatusNotifierWatcher", &watcher_,
                                       QDBusConnection::ExportAllContents));
    QVERIFY(connection_.registerService("org.kde.StatusNotifierWatcher"));
  }

  // Game 10:00:00 on day 14: the tip shows the game time and date and the next good moon.
  void itemAndMenu() {
    QTemporaryDir app;
    const QString now = QDateTime::currentDateTime().toString("HH:mm:ss\r\nMM/dd/yyyy\r\n");
    Start(app, now + "10:00:00\r\n03/14/0002\r\n");

    QCOMPARE(Property("Title").toString(), "Tarvex");
    const QDBusArgument pictures = Property("IconPixmap").value<QDBusArgument>();  // a(iiay)
    pictures.beginArray();
    QVERIFY(!pictures.atEnd());
    // The tool-tip's title holds the tip, its lines broken by LF; its text stays empty.
    QStringList tip;
    QTRY_VERIFY((tip = ToolTip().split('\n')).size() == 2);
    const QRegularExpression time("^\\(?\\d\\d:\\d\\d:\\d\\d 03/14/0002\\)?$");
    QVERIFY2(time.match(tip[0]).hasMatch() &&
                 QRegularExpression("^GOOD MOON (TODAY|TOMORROW) AT \\d+:\\d\\d [AP]M$")
                     .match(tip[1])
                     .hasMatch(),
             qPrintable(tip.join(" | ")));

    // The host opens the menu: it begins with the tip's lines, greyed, and follows the clock.
    Call("AboutToShow", {0});
    const QString items =
        "Set Date and Time, Set Kestrune Path, -, Show Current Time [x], Show Next Good Moon "
        "[x], Show Next Bad Moon, -, Auto Run Kestrune, Moon Alarms..., Start at Log-in, Clock "
        "Window, 24-Hour Clock, -, Exit";
    const QStringList menu = Menu();
    QCOMPARE(menu.mid(1).join(", "), "(" + tip[1] + "), -, " + items);
    QVERIFY2(menu[0].startsWith('(') && time.match(menu[0]).hasMatch(), qPrintable(menu[0]));
    QTRY_VERIFY_WITH_TIMEOUT(Menu()[0] != menu[0], 3000);

    // "Show Current Time" chosen, the menu closed and opened again: the time line has gone.
    Click("Show Current Time [x]");
    Call("Event", {0, "closed", QVariant::fromValue(QDBusVariant(0)), 0u});
    Call("AboutToShow", {0});
    QTRY_COMPARE(Menu().join(", "),
                 "(" + tip[1] + "), -, " + QString(items).replace("Time [x]", "Time"));
    Click("Exit");
    QVERIFY(tarvex_.waitForFinished(10000));
    QCOMPARE(tarvex_.exitCode(), 0);
  }

  // No pair stored: the tip begins with "SET THE DATE AND TIME FIRST" and holds every line whole,
  // together longer than the 63 characters of the oldest trays; the menu begins with the same.
  void wholeLinesBeforeThePairIsSet() {
    QTemporaryDir app;
    Start(app);
    QStringList tip;
    QTRY_VERIFY((tip = ToolTip().split('\n')).size() == 3);
    QVERIFY2(tip[0] == "SET THE DATE AND TIME FIRST" &&
                 QRegularExpression("^\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d{4}$")
                     .match(tip[1])
                     .hasMatch() &&
                 QRegularExpression("^GOOD MOON (TODAY|TOMORROW) AT \\d+:\\d\\d [AP]M$")
                     .match(tip[2])
                     .hasMatch() &&
                 tip.join("\r\n").size() > 63,
             qPrintable(tip.join(" | ")));
    Call("AboutToShow", {0});
    QCOMPARE(Menu().mid(0, 4).join(", ").replace(QRegularExpression("\\d"), "9"),
             "(" + tip.join("), (").replace(QRegularExpression("\\d"), "9") + "), -");
    Click("Exit");
    QVERIFY(tarvex_.waitForFinished(10000));
    QCOMPARE(tarvex_.exitCode(), 0);
  }

 private:
  // Starts tarvex from the portable folder `app` on the private bus, until its item is registered.
  // Its data files sit beside it: the moon alarms off, and the pair `pair` unless it is empty.
  void Start(const QTemporaryDir& app, const QString& pair = {}) {
    QVERIFY(QFile::copy(TARVEX_PROGRAM, app.filePath("tarvex")));
    for (const auto& [name, text] :
         {std::pair{"TARVEX.INI", QString("[Alarms]\r\nGoodMoon=off\r\nBadMoon=off\r\n")},
          {"ZRDTIMES.DAT", pair}}) {
      QFile file(app.filePath(name));
      QVERIFY(text.isEmpty() ||
              (file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) == text.size()));
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("DBUS_SESSION_BUS_ADDRESS", address_);
    tarvex_.setProcessEnvironment(environment);
    tarvex_.setProcessChannelMode(QProcess::ForwardedChannels);
    const qsizetype before = watcher_.items.size();
    tarvex_.start(app.filePath("tarvex"), {});
    QTRY_COMPARE_WITH_TIMEOUT(watcher_.items.size(), before + 1, 10000);
    item_ = watcher_.items.back();
  }
  // A call to tarvex; the watcher's own calls are answered meanwhile.
  QDBusMessage Call(const QString& path, const QString& interface, const QString& method,
                    const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(item_, path, interface, method);
    call.setArguments(arguments);
    const QDBusMessage reply = connection_.call(call, QDBus::BlockWithGui, 5000);
    if (reply.type() != QDBusMessage::ReplyMessage) qWarning() << method << reply.errorMessage();
    return reply;
  }
  QDBusMessage Call(const QString& method, const QVariantList& arguments) {  // of the menu
    return Call("/MenuBar", "com.canonical.dbusmenu", method, arguments);
  }
  QVariant Property(const QString& name) {  // of the item
    const QDBusMessage reply = Call("/StatusNotifierItem", "org.freedesktop.DBus.Properties", "Get",
                                    {"org.kde.StatusNotifierItem", name});
    return reply.arguments().value(0).value<QDBusVariant>().variant();
  }

  // The title of the tool-tip, an (sa(iiay)ss): icon name, pictures, title, text; the text
  // follows after " | " when there is one.
  QString ToolTip() {
    const QDBusArgument argument = Property("ToolTip").value<QDBusArgument>();
    QString icon, title, text;
    argument.beginStructure();
    argument >> icon;
    argument.asVariant();  // the pictures
    argument >> title >> text;
    argument.endStructure();
    return text.isEmpty() ? title : title + " | " + text;
  }

  // The menu's entries as the host draws them: "-", "(greyed)", "checked [x]"; ids_ by entry.
  QStringList Menu() {
    const QDBusArgument root =
        Call("GetLayout", {0, 1, QStringList()}).arguments().value(1).value<QDBusArgument>();
    int id = 0;
    QVariantMap properties;
    QList<QDBusVariant> children;
    root.beginStructure();
    root >> id >> properties >> children;
    root.endStructure();
    QStringList entries;
    for (const QDBusVariant& child : children) {
      const QDBusArgument entry = child.variant().value<QDBusArgument>();
      entry.beginStructure();
      entry >> id >> properties;
      entry.endStructure();
      const QString label = properties.value("label").toString();
      entries << (properties.value("type").toString() == "separator" ? "-"
                  : !properties.value("enabled", true).toBool()      ? "(" + label + ")"
                  : properties.value("toggle-state").toInt() == 1    ? label + " [x]"
                                                                     : label);
      ids_[entries.back()] = id;
    }
    return entries;
  }
  void Click(const QString& entry) {
    QVERIFY2(ids_.contains(entry), qPrintable(entry));
    Call("Event", {ids_[entry], "clicked", QVariant::fromValue(QDBusVariant(0)), 0u});
  }

  QProcess bus_;  // ended after tarvex_ as the test ends
  QString address_;
  QDBusConnection connection_{QString()};
  Watcher watcher_;
  QProcess tarvex_;
  QString item_;            // the bus name of tarvex's item
  QMap<QString, int> ids_;  // the menu's entries by how Menu() draws them
};

}  // namespace tarvex

QTEST_MAIN(tarvex::SniTest)
#include "sni_test.moc"
