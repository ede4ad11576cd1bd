// The Win32 desktop behind the presenters: the tray icon, the popup menu, message boxes, the
// file-open dialog, the dialogs, and starting the game and typing into it.
#pragma once

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "platform/win32/clock_window.h"
#include "platform/win32/tray.h"
#include "shell/platform.h"

namespace tarvex::win32 {

class Win32Platform final : public Platform {
 public:
  explicit Win32Platform(HINSTANCE instance);

  // The hidden main window: owner of the timer, the tray icon and the popup menu.
  void Attach(HWND mainWindow) { main_ = mainWindow; }
  // Loads the pictures again at their next use (the icon sizes may have changed).
  void ReloadIcons();
  // Where the clock window's close box, moves and menu requests go.
  void SetClockEvents(ClockWindow::Events events) { clock_.SetEvents(std::move(events)); }
  ClockWindow& clockWindow() { return clock_; }

  void StartTimer(int intervalMs) override;
  void StopTimer() override;
  bool NotifyIcon(TrayMessage message, const TrayIcon& icon) override;
  void BringToForeground() override;
  std::optional<MenuItem> ShowPopupMenu(std::span<const MenuEntry> items) override;
  // NOTIFYICONDATAW's szTip: 127 characters and the closing NUL.
  std::optional<std::size_t> TipLimit() override { return kTipLimit; }
  // The notification area shows the tip as the icon's tool-tip.
  bool MenuShowsTip() override { return false; }
  // Never asked, since the menu holds no tip lines.
  void UpdateOpenMenu(std::span<const MenuEntry>) override {}
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
  std::string KeystrokeLimitation() override { return {}; }
  bool FocusBelongsTo(ProcessId process) override;
  void PlayKeystrokes(std::string_view keys) override;
  bool StartsAtLogIn() override;
  Result SetStartAtLogIn(bool on) override;
  void ShowClockWindow(std::optional<WindowCorner> place, bool raise) override {
    clock_.Show(place, raise);
  }
  void HideClockWindow() override { clock_.Hide(); }
  void DrawClockWindow(const ClockFace& face) override { clock_.Draw(face); }
  // Windows keeps a topmost window above the others.
  bool CanStayOnTop() override { return true; }
  void SetClockWindowOnTop(bool onTop) override { clock_.SetOnTop(onTop); }
  std::vector<ScreenArea> ScreenAreas() override;
  bool BringRunningForward() override;
  void ShowNotice(std::string_view text) override;

  // The timer's identifier on the main window.
  static constexpr UINT_PTR kTickTimer = 1;

 private:
  struct OpenDialog {
    DialogKind Kind;
    Dialog* Presenter;
    HWND Window;
  };
  // The window that a message box or the file dialog belongs to: the dialog opened last, so that
  // it waits for them; none when no dialog is open.
  HWND ModalOwner() const;

  HINSTANCE instance_;
  HWND main_ = nullptr;
  UINT trayId_ = 1;  // the tray icon's identifier, as the presenter gave it last
  IconCache icons_{instance_, IconCache::Size::Small};
  IconCache alertIcons_{instance_, IconCache::Size::Large};
  std::vector<OpenDialog> dialogs_;  // in the order they were opened
  ClockWindow clock_{instance_};
};

}  // namespace tarvex::win32
