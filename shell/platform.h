// Everything the tray utility takes from the desktop, as one abstract interface. The presenters
// (frmTarvexMain and the dialogs) hold all state and behaviour; a front-end implements this
// interface and delivers the desktop's events to frmTarvexMain's handlers. No platform header is
// included here.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/dialog.h"
#include "engine/icons.h"
#include "engine/modZRD.h"

namespace tarvex {

// The tray-icon record that the main window hands to the platform on every add, modify and delete.
struct TrayIcon {
  std::uint32_t Size = 88;              // size of the shell's first-form record
  std::uint32_t ID = 1;                 // icon identifier
  std::uint32_t Flags = 7;              // callback message (1), icon (2) and tip (4) are valid
  std::uint32_t CallbackMessage = 512;  // the window's mouse-move message
  int Icon = kProgramIcon;              // a picture of engine/icons.h
  std::string Tip;  // the tip's whole lines, separated by CR LF; shown up to a NUL, if any
  friend bool operator==(const TrayIcon&, const TrayIcon&) = default;
};

// The tip as the tray shows it: up to its first NUL, if it has one.
std::string VisibleTip(const TrayIcon& icon);

enum class TrayMessage { Add = 0, Modify = 1, Delete = 2 };

// The items of the popup menu, in menu order.
enum class MenuItem {
  TipLine,  // a line of the tip, greyed, where the tray shows no tool-tip (one item for each)
  Sep0,     // the separator line under the tip's lines
  SetDateandTime,
  SetPath,
  Sep1,
  ShowCurrentTime,
  ShowNextGoodMoon,
  ShowNextBadMoon,
  Sep2,
  AutoRunKestrune,
  MoonAlarms,
  StartAtLogIn,
  ClockWindow,
  StayOnTop,  // in the clock window's menu only, where the desktop lets a window stay on top
  Clock24,    // "24-Hour Clock"
  Sep3,
  Exit,
};
inline constexpr std::size_t kMenuItemCount = static_cast<std::size_t>(MenuItem::Exit) + 1;

struct MenuEntry {
  MenuItem Item;
  std::string Caption;  // empty for a separator line
  bool Separator = false;
  bool Checkable = false;  // its check mark is state: drawn with room for the mark
  bool Checked = false;
  bool Disabled = false;  // drawn greyed; it cannot be chosen
  friend bool operator==(const MenuEntry&, const MenuEntry&) = default;
};

// A moon alarm's alert, as the desktop's notification titled with the product's name.
struct MoonAlert {
  std::string Text;          // e.g. "GOOD MOON IN 10 MINUTES, AT 5:33 PM"
  int Icon = kGoodMoonIcon;  // the moon's picture: kGoodMoonIcon or kBadMoonIcon
  bool Sound = true;         // with a sound: the desktop's notification sound, or SoundFile
  bool Transient = false;    // a sample: shown, but kept in no notification history
  // A WAV file to play in place of the desktop's sound when Sound is on; empty for the desktop's.
  // The presenter passes only a file that exists; one that cannot be played is logged (Warn) and
  // the desktop's sound is played instead.
  std::string SoundFile{};
  friend bool operator==(const MoonAlert&, const MoonAlert&) = default;
};

// What the clock window shows, each line whole.
struct ClockFace {
  std::string Notice;              // "SET THE DATE AND TIME FIRST" while no pair is stored, else ""
  std::string Time;                // the game time and date
  std::vector<std::string> Moons;  // the next good moon and the next bad moon
  int Icon = kProgramIcon;         // the moon's phase (a picture of engine/icons.h)
  friend bool operator==(const ClockFace&, const ClockFace&) = default;
};

// A window's top-left corner, in the desktop's pixels: the outer one where a window is placed by
// its frame (Windows), the inner one where the frame is the window manager's (X11).
struct WindowCorner {
  int Left = 0;
  int Top = 0;
  friend bool operator==(const WindowCorner&, const WindowCorner&) = default;
};

// A screen's work area (without its panels or taskbar), in the desktop's pixels.
struct ScreenArea {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// Show-window code 2: minimized and active.
inline constexpr int kShowMinimized = 2;

using ProcessId = std::uint64_t;

// Besides these, the dialogs' requests (DialogHost): message boxes and the file-open dialog.
class Platform : public DialogHost {
 public:
  // Calls frmTarvexMain::tmrUpdateTimes_Timer every `intervalMs` from now on, also while a menu,
  // message box or dialog is open.
  virtual void StartTimer(int intervalMs) = 0;
  // Stops the ticks for good.
  virtual void StopTimer() = 0;
  // Adds, modifies or deletes the tray icon; loads each icon picture once. False when the shell
  // refused (no tray yet); the caller may retry.
  [[nodiscard]] virtual bool NotifyIcon(TrayMessage message, const TrayIcon& icon) = 0;
  // Brings the hidden main window to the foreground, so that the popup menu closes on a click
  // elsewhere.
  virtual void BringToForeground() = 0;
  // Shows the popup menu at the mouse position and waits; the chosen item, or none when dismissed.
  virtual std::optional<MenuItem> ShowPopupMenu(std::span<const MenuEntry> items) = 0;
  // The most characters the tray's tip shows, or none where it shows a tip of any length.
  virtual std::optional<std::size_t> TipLimit() = 0;
  // Whether the popup menu should begin with the tip's lines: the tray may show no tool-tip.
  virtual bool MenuShowsTip() = 0;
  // Redraws the menu that ShowPopupMenu shows now with `items`, the same menu with the tip's new
  // lines; nothing when no menu is open. Asked only where MenuShowsTip is true.
  virtual void UpdateOpenMenu(std::span<const MenuEntry> items) = 0;
  // Shows `dialog` modally, owned by no window, and returns once dialog.Closed() is true.
  virtual void ShowDialog(Dialog& dialog) = 0;
  // Brings an open dialog of that kind to the front.
  virtual void ActivateDialog(DialogKind kind) = 0;
  // Brings the tray's open message box titled `title` to the front; nothing when none is open.
  virtual void ActivateMessage(std::string_view title) = 0;
  // Closes the open dialog of that kind (its ShowDialog returns); nothing when none is open.
  virtual void CloseDialog(DialogKind kind) = 0;
  // Shows `alert` as the desktop's notification beside the tray icon and returns at once.
  virtual void ShowAlert(const MoonAlert& alert) = 0;
  // Closes the main window: the front-end runs frmTarvexMain::Form_Unload and ends the program.
  virtual void CloseMainWindow() = 0;

  // The user's home folder, ending in a path separator.
  virtual std::string HomeFolder() = 0;
  // The stored name of the normal file at `path` (not hidden, not system, not a folder), or none.
  virtual std::optional<std::string> FindNormalFile(const std::string& path) = 0;
  // Starts the program at `path` in `workingFolder` with a show-window code, without waiting;
  // its process, or none when it could not be started.
  [[nodiscard]] virtual std::optional<ProcessId> StartProgram(const std::string& path,
                                                              const std::string& workingFolder,
                                                              int showWindow) = 0;
  // Why keystrokes cannot be typed into a started program on this desktop; empty when they can.
  virtual std::string KeystrokeLimitation() = 0;
  // Whether the window with the keyboard focus belongs to process `process`.
  virtual bool FocusBelongsTo(ProcessId process) = 0;
  // Types one keystroke text (see keystrokes.h) into the window with the focus and returns once
  // its keys have been processed. The text may be the password: nothing of it is kept past the
  // typing unless wiped first (see dialogs/secret_text.h).
  virtual void PlayKeystrokes(std::string_view keys) = 0;

  // Shows the clock window, titled with the product's name, with its top-left corner at
  // `place` (none: where the desktop puts a new window); a window shown already stays where it
  // is. Brings it to the front with the focus when `raise`.
  virtual void ShowClockWindow(std::optional<WindowCorner> place, bool raise) = 0;
  // Hides the clock window; nothing when it is hidden.
  virtual void HideClockWindow() = 0;
  // Draws `face` in the clock window, at the size its lines need, in the desktop's palette.
  virtual void DrawClockWindow(const ClockFace& face) = 0;
  // Whether a window may ask the desktop to keep it above the others (not on Wayland).
  virtual bool CanStayOnTop() = 0;
  // Keeps the clock window above other windows (on), or lets them cover it (off).
  virtual void SetClockWindowOnTop(bool onTop) = 0;
  // The work areas of the screens now attached; empty when the desktop does not tell.
  virtual std::vector<ScreenArea> ScreenAreas() = 0;

  // Asks the Tarvex already running in this session to show and raise its clock window; true
  // once it answered that it has. False when none answers so (a Tarvex without the window).
  virtual bool BringRunningForward() = 0;
  // Shows `text` as the desktop's notification, titled with the product's name, from a process
  // that has no tray icon; returns once the desktop has it.
  virtual void ShowNotice(std::string_view text) = 0;

  // Whether the user's log-in entry exists and starts this program.
  virtual bool StartsAtLogIn() = 0;
  // Makes the log-in entry start this program (on) or deletes it (off).
  virtual Result SetStartAtLogIn(bool on) = 0;
};

}  // namespace tarvex
