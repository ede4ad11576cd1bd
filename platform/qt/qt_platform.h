// The Linux desktop under Qt 6 Widgets: a QSystemTrayIcon, QMenu, QMessageBox, QFileDialog and
// one generic dialog window; the alerts go to the desktop's notification server; the game runs
// under Wine and the log-in is typed through XTEST.
#pragma once

#include <QIcon>
#include <QMenu>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/qt/notifications.h"
#include "shell/frmTarvexMain.h"
#include "shell/platform.h"

namespace tarvex {

class ClockWindow;
class DialogWindow;
namespace x11 {
class Keyboard;
}

class QtPlatform final : public QObject, public Platform {
  Q_OBJECT

 public:
  QtPlatform();
  ~QtPlatform() override;

  // Delivers the timer's ticks and the tray's clicks to `main` from now on.
  void Attach(frmTarvexMain& main);
  // Whatever ends the program: frmTarvexMain::Form_Unload, then every event loop is left. Safe to
  // call again.
  void Shutdown();

  // Answers later starts of Tarvex in this session (see InstanceChannelPath) from now on. False,
  // and logged, when the channel cannot be opened.
  bool ListenForLaterStarts();

  // Replaces the modal file dialog (tests): given the starting folder and the Qt name filter,
  // gives the chosen path or an empty text.
  using FileChooser = std::function<QString(const QString& folder, const QString& filter)>;
  void SetFileChooser(FileChooser chooser) { chooser_ = std::move(chooser); }

  // The icon for a picture number of engine/icons.h: a moon's phase, or the application picture
  // for any other number. Each is built once, from every size there is.
  QIcon IconFor(int number);
  QSystemTrayIcon& tray() { return tray_; }
  ClockWindow& clockWindow() { return *clock_; }
  // The window of the open dialog of that kind, or nullptr.
  DialogWindow* OpenDialog(DialogKind kind) const;

  // --- Platform ---
  void StartTimer(int intervalMs) override;
  void StopTimer() override;
  bool NotifyIcon(TrayMessage message, const TrayIcon& icon) override;
  void BringToForeground() override;
  std::optional<MenuItem> ShowPopupMenu(std::span<const MenuEntry> items) override;
  // A Linux tray's tool-tip, where it shows one, takes any length.
  std::optional<std::size_t> TipLimit() override { return std::nullopt; }
  // A Linux tray often shows no tool-tip (GNOME's, StatusNotifierItem hosts such as bars).
  bool MenuShowsTip() override { return true; }
  void UpdateOpenMenu(std::span<const MenuEntry> items) override;
  void ShowMessage(std::string_view text, std::string_view title) override;
  std::string ShowOpenFileDialog(const FileOpenRequest& request) override;
  void ShowDialog(Dialog& dialog) override;
  void ActivateDialog(DialogKind kind) override;
  void ActivateMessage(std::string_view title) override;
  void CloseDialog(DialogKind kind) override;
  void ShowAlert(const MoonAlert& alert) override;
  void CloseMainWindow() override;
  std::string HomeFolder() override;
  std::optional<std::string> FindNormalFile(const std::string& path) override;
  std::optional<ProcessId> StartProgram(const std::string& path, const std::string& workingFolder,
                                        int showWindow) override;
  std::string KeystrokeLimitation() override;
  bool FocusBelongsTo(ProcessId process) override;
  void PlayKeystrokes(std::string_view keys) override;
  bool StartsAtLogIn() override;
  Result SetStartAtLogIn(bool on) override;
  void ShowClockWindow(std::optional<WindowCorner> place, bool raise) override;
  void HideClockWindow() override;
  void DrawClockWindow(const ClockFace& face) override;
  bool CanStayOnTop() override;
  void SetClockWindowOnTop(bool onTop) override;
  std::vector<ScreenArea> ScreenAreas() override;
  bool BringRunningForward() override;
  void ShowNotice(std::string_view text) override;

 private:
  void OnTrayActivated(QSystemTrayIcon::ActivationReason reason);
  // trayMenu_ as the presenter's menu is now, unless the presenter has it open.
  void DrawTrayMenu();
  // A D-Bus tray is about to show trayMenu_: for the presenter, the right button's release.
  void OnTrayMenuOpening();
  // Waits while a D-Bus tray shows trayMenu_, drawn with `items`; the item chosen in it, or none
  // when it closed.
  std::optional<MenuItem> WaitOnTrayMenu(std::span<const MenuEntry> items);
  // The main window has been unloaded: nothing new may wait for the user.
  bool Ending() const;
  // The end of a log-in: gives back the key codes borrowed for it and tells of a failure.
  void EndTyping();

  // The texts of one log-in are typed one after another within one turn of the event loop; the
  // log-in has ended once this long has passed without another. The borrowed key codes stay
  // mapped until then: Wine finds a key's character when the game takes the key from its queue,
  // with the mapping of that moment.
  static constexpr int kTypingEndMs = 3000;

  frmTarvexMain* main_ = nullptr;
  QTimer timer_;
  // The menu that a D-Bus tray (StatusNotifierItem) reads through com.canonical.dbusmenu and
  // shows itself; an X11 tray (XEmbed) leaves the menu to ShowPopupMenu and has none.
  QMenu trayMenu_;
  QSystemTrayIcon tray_;
  bool dbusMenu_ = false;         // trayMenu_ is the tray's
  bool trayMenuOpening_ = false;  // the presenter opens the menu that the D-Bus tray shows
  bool trayMenuWaiting_ = false;  // WaitOnTrayMenu waits
  QMenu* openMenu_ = nullptr;     // the menu that ShowPopupMenu waits on
  std::map<int, QIcon> icons_;
  DesktopNotifications notifications_;  // falls back on the tray's own message
  std::map<DialogKind, DialogWindow*> dialogs_;
  std::unique_ptr<ClockWindow> clock_;
  FileChooser chooser_;
  std::unique_ptr<x11::Keyboard> keyboard_;
  QTimer typingEnd_;
  std::string typingFailure_;  // why a text of the present log-in was not typed
};

}  // namespace tarvex
