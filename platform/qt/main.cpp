// tarvex: the tray utility on a Linux desktop.
//
//   tarvex                 runs in the tray (one instance per user session)
//   tarvex --check-tray    exits 0 when a system tray shows up within two seconds, else 1
#include <QApplication>
#include <QElapsedTimer>
#include <QSessionManager>
#include <QSystemTrayIcon>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/icons.h"
#include "engine/log.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/session.h"
#include "platform/qt/x11_input.h"
#include "platform/startup.h"
#include "shell/frmClock.h"
#include "shell/frmTarvexMain.h"
#include "tarvex_version.h"

namespace {

constexpr char kNoDisplay[] =
    "tarvex: no display; start it in a desktop session, or use tarvex-cli watch\n";
constexpr char kUsage[] =
    "usage: tarvex [--check-tray]\n"
    "  Tarvex runs in the system tray. Without a desktop, use tarvex-cli watch.\n";

bool HasEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value;
}

// Whether Qt can reach a display, decided before QApplication exists (it aborts without one).
bool DisplayAvailable() {
  if (HasEnvironment("QT_QPA_PLATFORM")) {
    const std::string chosen = std::getenv("QT_QPA_PLATFORM");
    const bool needsDisplay = chosen.rfind("xcb", 0) == 0 || chosen.rfind("wayland", 0) == 0;
    if (!needsDisplay) return true;  // offscreen, vnc, ...: no desktop display needed
  }
  if (HasEnvironment("WAYLAND_DISPLAY")) return true;
  return HasEnvironment("DISPLAY") && tarvex::x11::DisplayReachable();
}

// Waits up to two seconds for a system tray, so that a starter can tell a desktop with a tray
// from one without.
int CheckTray(QApplication& app) {
  if (QSystemTrayIcon::isSystemTrayAvailable()) return 0;
  QElapsedTimer waited;
  waited.start();
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, &app, [&] {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
      QApplication::exit(0);
    } else if (waited.elapsed() >= 2000) {
      QApplication::exit(1);
    }
  });
  poll.start(100);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string argument = argv[i];
    if (argument == "--help" || argument == "-h") {
      std::fputs(kUsage, stdout);
      return 0;
    }
  }
  if (!DisplayAvailable()) {
    std::fputs(kNoDisplay, stderr);
    return 1;
  }
  QApplication app(argc, argv);  // takes Qt's own options (-platform, -display) out of argv
  QApplication::setApplicationName(QString::fromUtf8(tarvex::kProductName));
  QApplication::setDesktopFileName(QStringLiteral("tarvex"));
  QApplication::setQuitOnLastWindowClosed(false);  // the dialogs come and go; the tray stays

  bool checkTray = false;
  for (const std::string& argument : tarvex::StartProcess(argc, argv)) {
    if (argument == "--check-tray") {
      checkTray = true;
    } else {
      std::fprintf(stderr, "tarvex: unknown option %s\n%s", argument.c_str(), kUsage);
      return 2;
    }
  }
  if (checkTray) return CheckTray(app);

  tarvex::SingleInstance instance(tarvex::InstanceLockPath());
  if (!instance.Acquire()) {  // the running instance carries on alone, brought forward
    tarvex::QtPlatform platform;
    tarvex::StartedWhileRunning(platform);
    return 0;
  }
  tarvex::ChooseDataFolder(tarvex::PerUserDataFolder(), tarvex::InstalledProgram());

  tarvex::QtPlatform platform;
  QApplication::setWindowIcon(platform.IconFor(tarvex::kProgramIcon));
  tarvex::frmTarvexMain window(platform);
  platform.Attach(window);
  std::ignore = platform.ListenForLaterStarts();  // logged; a later start then only says so

  tarvex::TerminationSignals terminations;
  QObject::connect(&terminations, &tarvex::TerminationSignals::Received, &platform,
                   [&platform](int) { platform.Shutdown(); });
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &platform,
                   [&platform] { platform.Shutdown(); });
  // The session may end the program without another word after this: the pair is saved now, and
  // a failure logged, since no unload may come to report it. Autostart brings Tarvex back at the
  // next login, so the session manager need not.
  QObject::connect(&app, &QGuiApplication::commitDataRequest, &platform,
                   [&window](QSessionManager& manager) {
                     manager.setRestartHint(QSessionManager::RestartNever);
                     std::ignore = window.SavePair();  // logged; the unload tries again
                   });

  window.Form_Load();
  const int status = QApplication::exec();
  platform.Shutdown();
  return status;
}
