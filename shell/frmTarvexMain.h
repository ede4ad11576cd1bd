// The hidden main window: the tray icon, the popup menu with its check marks, the half-second
// tick, the auto-run and its launch. A front-end delivers the desktop's events to these handlers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "dialogs/secret_text.h"
#include "engine/alarms.h"
#include "engine/live_data.h"
#include "engine/settings.h"
#include "shell/frmClock.h"
#include "shell/platform.h"

namespace tarvex {

// The tray callback's mouse event codes (the window's mouse messages). The right button's release
// opens the menu; the others do nothing.
inline constexpr float kLeftButtonUp = 514.0f;
inline constexpr float kLeftDoubleClick = 515.0f;
inline constexpr float kRightButtonUp = 517.0f;
inline constexpr float kMiddleButtonUp = 520.0f;

class frmTarvexMain {
 public:
  explicit frmTarvexMain(Platform& platform);

  // --- Events ---------------------------------------------------------------------------------
  void Form_Load();
  // Whatever ends the program comes here: saves the pair, closes the calibration dialog and
  // takes the icon away. Later calls do nothing.
  void Form_Unload();
  // Between Form_Load and Form_Unload: the ticks and the tray's events count only then.
  bool Running() const { return loaded_ && !unloaded_; }
  // The tray callback: X is the mouse event's code; kRightButtonUp opens the menu.
  void Form_MouseMove(int Button, int Shift, float X, float Y);
  void tmrUpdateTimes_Timer();
  // The desktop shell restarted (Windows: "TaskbarCreated"): the icon is added again.
  void TaskbarCreated();
  // The clock window: its close box, a move by the desktop, and its right button or menu button,
  // which opens the menu there.
  void ClockWindow_Close();
  void ClockWindow_Moved(WindowCorner place);
  void ClockWindow_Menu();
  // Another start of Tarvex in this session asked this one to come forward.
  void StartedAgain();

  void mnuSetDateandTime_Click();
  void mnuSetPath_Click();
  void mnuShowCurrentTime_Click();
  void mnuShowNextGoodMoon_Click();
  void mnuShowNextBadMoon_Click();
  void mnuAutoRunKestrune_Click();
  void mnuMoonAlarms_Click();
  void mnuStartAtLogIn_Click();
  void mnuClockWindow_Click();
  void mnuStayOnTop_Click();
  void mnu24HourClock_Click();
  void mnuExit_Click();
  // Runs the handler of a chosen menu item.
  void MenuCommand(MenuItem item);

  // The popup menu's items with their captions and present check marks; where the tray shows no
  // tool-tip, headed by the tip's present lines, greyed, and a separator. The clock window's menu
  // (`clockWindow`) has "Stay on Top" after "Clock Window" where the desktop allows it.
  std::vector<MenuEntry> PopupMenu(bool clockWindow = false) const;
  // What the clock window shows now.
  ClockFace Face() const;
  bool Checked(MenuItem item) const;
  void SetChecked(MenuItem item, bool checked);

  // --- State ----------------------------------------------------------------------------------
  tarvex::TrayIcon TrayIcon;  // qualified: the member hides the type inside the class
  int BlinkPhase = 1;         // 1 or 2
  bool AutoRunFired = false;

  // The auto-run settings, filled by the auto-run dialog.
  bool AutoRunKSTime = false;
  std::string AutoRunDate;
  std::string AutoRunTime;
  // Escaped once armed; given over to the launch, and wiped when disarmed or left unarmed.
  SecretText AutoRunPassword;
  std::string AutoRunCharacter;

  // The moon alarms' settings, from TARVEX.INI at start-up and whenever it changes, and from the
  // alarms dialog.
  AlarmSettings Alarms;

  // Saves the pair (re-based to the present) as the unload does, for a session that may end
  // the program without one. A file changed by another program meanwhile is taken up first.
  Result SavePair();

  Platform& platform() { return platform_; }

 private:
  void OpenMenu(bool clockWindow);
  // No pair is stored, and none may be in an unreadable file: the date and time are not set.
  bool PairNotSet() const;
  void ToggleView(MenuItem view, MenuItem other1, MenuItem other2);
  void ShowViews(const DisplaySettings& display);
  bool ActivateOpenMessage(MenuItem item);
  void ShowItemMessage(MenuItem item, std::string_view text, std::string_view title);
  void TakeUpChanges();
  void ComposeTip();
  void PickIcon();
  void UpdateTray();
  void UpdateOpenMenu();
  void TestAutoRun();
  void AskForPair();
  void SoundAlarms(std::int64_t now);
  static std::string PlayableSound(const std::string& path);
  void Launch();
  void ContinueLogIn();

  Platform& platform_;
  bool loaded_ = false;
  bool unloaded_ = false;
  std::array<bool, kMenuItemCount> checked_{};  // by MenuItem
  std::optional<tarvex::TrayIcon> shown_;       // what the tray was last given
  bool menuOpen_ = false;                       // while ShowPopupMenu waits
  bool menuOfClockWindow_ = false;              // the open menu is the clock window's
  std::vector<std::string> menuTip_;            // the tip's lines that the open menu shows
  bool dateTimeOpen_ = false;
  bool setPathOpen_ = false;
  // By MenuItem: the title of the message box that the item's command has open; empty for none.
  std::array<std::string, kMenuItemCount> openMessage_;
  bool askForPair_ = false;  // Set Date and Time is still to open by itself
  bool autoRunOpen_ = false;
  bool alarmsOpen_ = false;
  MoonAlarms alarms_;  // what has fired in this run
  LiveData live_;      // the data files: the pair kept, and changes made by other programs
  frmClock clock_{platform_, live_};

  // A launch waiting for the game's window to take the keyboard focus.
  struct PendingLogIn {
    ProcessId Process = 0;
    std::int64_t Deadline = 0;  // clock seconds
    std::string Character;      // the keystroke texts, as armed at the launch
    SecretText Password;        // wiped when the log-in ends, however it ends
  };
  std::optional<PendingLogIn> logIn_;
};

}  // namespace tarvex
