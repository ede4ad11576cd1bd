// What the shell tests run on: a recording desktop, and a fresh program for each test with its own
// data folder, a fake clock at real 10:00:00 on 12/06/2026 and an unloaded main window.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"
#include "engine/tests/temp_folder.h"
#include "shell/frmTarvexMain.h"
#include "shell/platform.h"

namespace tarvex::testing {

// The next answer of a script, or `none` when the script has run out.
template <typename T>
T Next(std::deque<T>& script, T none) {
  if (script.empty()) return none;
  T next = std::move(script.front());
  script.pop_front();
  return next;
}

// The pair of these four texts, real time and date, game time and date.
inline CalibrationRecord PairOf(std::string_view realTime, std::string_view realDate,
                                std::string_view gameTime, std::string_view gameDate) {
  return {realTime, realDate, gameTime, gameDate};
}

// A desktop for tests: it records the calls the presenters make, in order, and answers the modal
// ones (file dialog, dialogs, keyboard focus) from a script set up beforehand.
class RecordingPlatform final : public Platform {
 public:
  static constexpr ProcessId kGame = 4242;  // the process of every started program

  // --- Script ---------------------------------------------------------------------------------
  // What the user does in each dialog shown, in turn. A dialog still open afterwards is closed
  // with its close box, as a user would.
  std::deque<std::function<void(Dialog&)>> DialogActions;
  std::deque<std::string> FilesToChoose;  // in turn; empty (or none left) cancels
  std::deque<bool> NotifyResults;  // results of the tray calls in turn; true when none are left
  // Runs inside each message box and after each keystroke text, as the desktop runs events
  // nested in those waits.
  std::function<void()> During;
  std::optional<ProcessId> FocusOwner;       // the process whose window has the focus
  std::map<std::string, std::string> Files;  // normal files by path, with their stored names
  bool StartSucceeds = true;
  std::string Limitation;
  bool ShowsTip = false;                      // the answer of MenuShowsTip
  std::optional<std::size_t> TipChars = 127;  // the answer of TipLimit
  // The item chosen in each popup menu in turn; none (or none left) dismisses the menu.
  std::deque<std::optional<MenuItem>> MenuChoices;
  bool StayOnTopAllowed = true;     // the answer of CanStayOnTop
  std::vector<ScreenArea> Screens;  // the answer of ScreenAreas
  bool RunningAnswers = true;       // a running Tarvex brings its clock window forward
  bool LogInEntry = false;        // whether the log-in entry starts this program
  std::string LogInFailure;       // why changing the log-in entry fails; empty when it succeeds
  frmTarvexMain* Main = nullptr;  // unloaded when the main window is closed

  // --- Record ---------------------------------------------------------------------------------
  std::vector<std::string> Log;               // every call, one line each, e.g. "NotifyIcon Modify"
  std::vector<TrayIcon> Tray;                 // the record of each tray call
  std::vector<std::vector<MenuEntry>> Menus;  // each menu shown, and each redrawing of it
  std::vector<std::string> Keystrokes;
  std::vector<ClockFace> Faces;  // each face drawn in the clock window

  // The log lines that begin with `prefix`, without it; the message boxes are "ShowMessage ",
  // each as "title: text".
  std::vector<std::string> Lines(std::string_view prefix) const {
    std::vector<std::string> lines;
    for (const std::string& line : Log) {
      if (line.starts_with(prefix)) lines.push_back(line.substr(prefix.size()));
    }
    return lines;
  }
  std::size_t Count(std::string_view prefix) const { return Lines(prefix).size(); }

  // --- Platform -------------------------------------------------------------------------------
  void StartTimer(int ms) override { Log.push_back("StartTimer " + std::to_string(ms)); }
  void StopTimer() override { Log.push_back("StopTimer"); }
  bool NotifyIcon(TrayMessage message, const TrayIcon& icon) override {
    Log.push_back(std::string("NotifyIcon ") + kTrayNames[static_cast<int>(message)]);
    Tray.push_back(icon);
    return Next(NotifyResults, true);
  }
  void BringToForeground() override { Log.push_back("BringToForeground"); }
  // The ticks that come while the menu is open run in During.
  std::optional<MenuItem> ShowPopupMenu(std::span<const MenuEntry> items) override {
    Log.push_back("ShowPopupMenu");
    Menus.emplace_back(items.begin(), items.end());
    if (During) During();
    return Next(MenuChoices, std::optional<MenuItem>());
  }
  std::optional<std::size_t> TipLimit() override { return TipChars; }
  bool MenuShowsTip() override { return ShowsTip; }
  void UpdateOpenMenu(std::span<const MenuEntry> items) override {
    Log.push_back("UpdateOpenMenu");
    Menus.emplace_back(items.begin(), items.end());
  }
  void ShowMessage(std::string_view text, std::string_view title) override {
    Log.push_back("ShowMessage " + std::string(title) + ": " + std::string(text));
    if (During) During();
  }
  std::string ShowOpenFileDialog(const FileOpenRequest& request) override {
    Log.push_back("ShowOpenFileDialog '" + request.Title + "' '" + request.FileName + "' in " +
                  request.InitialFolder + " for '" + request.FilterDescription + "|" +
                  request.FilterPattern + "' or '" + request.FilterText + "'");
    return Next(FilesToChoose, std::string());
  }
  void ShowDialog(Dialog& dialog) override {
    Log.push_back("ShowDialog" + Kind(dialog.Kind()));
    open_.push_back(&dialog);
    if (const auto action = Next(DialogActions, {})) action(dialog);
    if (!dialog.Closed()) dialog.CloseBox();
    open_.erase(std::find(open_.begin(), open_.end(), &dialog));
  }
  void ActivateDialog(DialogKind kind) override { Log.push_back("ActivateDialog" + Kind(kind)); }
  void ActivateMessage(std::string_view title) override {
    Log.push_back("ActivateMessage " + std::string(title));
  }
  void CloseDialog(DialogKind kind) override {
    Log.push_back("CloseDialog" + Kind(kind));
    for (Dialog* dialog : open_) {
      if (dialog->Kind() == kind) dialog->Unload();
    }
  }
  void ShowAlert(const MoonAlert& alert) override {
    Log.push_back("ShowAlert " + std::to_string(alert.Icon) + (alert.Sound ? " sound" : "") +
                  (alert.SoundFile.empty() ? "" : " " + alert.SoundFile) +
                  (alert.Transient ? " transient" : "") + ": " + alert.Text);
  }
  void CloseMainWindow() override {
    Log.push_back("CloseMainWindow");
    if (Main) Main->Form_Unload();
  }
  std::string HomeFolder() override { return "/home/player/"; }
  std::optional<std::string> FindNormalFile(const std::string& path) override {
    Log.push_back("FindNormalFile " + path);
    const auto found = Files.find(path);
    return found == Files.end() ? std::nullopt : std::optional(found->second);
  }
  std::optional<ProcessId> StartProgram(const std::string& path, const std::string& workingFolder,
                                        int showWindow) override {
    Log.push_back("StartProgram " + path + " in " + workingFolder + " show " +
                  std::to_string(showWindow));
    return StartSucceeds ? std::optional(kGame) : std::nullopt;
  }
  std::string KeystrokeLimitation() override { return Limitation; }
  bool FocusBelongsTo(ProcessId process) override {
    Log.push_back("FocusBelongsTo " + std::to_string(process));
    return FocusOwner == process;
  }
  void PlayKeystrokes(std::string_view keys) override {
    Keystrokes.emplace_back(keys);
    if (During) During();
  }
  void ShowClockWindow(std::optional<WindowCorner> place, bool raise) override {
    Log.push_back("ShowClockWindow" +
                  (place ? " at " + std::to_string(place->Left) + "," + std::to_string(place->Top)
                         : std::string()) +
                  (raise ? " raised" : ""));
  }
  void HideClockWindow() override { Log.push_back("HideClockWindow"); }
  void DrawClockWindow(const ClockFace& face) override { Faces.push_back(face); }
  bool CanStayOnTop() override { return StayOnTopAllowed; }
  void SetClockWindowOnTop(bool onTop) override {
    Log.push_back(std::string("SetClockWindowOnTop ") + (onTop ? "on" : "off"));
  }
  std::vector<ScreenArea> ScreenAreas() override { return Screens; }
  bool BringRunningForward() override {
    Log.push_back("BringRunningForward");
    return RunningAnswers;
  }
  void ShowNotice(std::string_view text) override {
    Log.push_back("ShowNotice " + std::string(text));
  }
  bool StartsAtLogIn() override { return LogInEntry; }
  Result SetStartAtLogIn(bool on) override {
    Log.push_back(std::string("SetStartAtLogIn ") + (on ? "on" : "off"));
    if (LogInFailure.empty()) LogInEntry = on;
    return LogInFailure.empty() ? Result() : Result::Failure(LogInFailure);
  }

 private:
  static constexpr const char* kTrayNames[] = {"Add", "Modify", "Delete"};
  static std::string Kind(DialogKind kind) {
    static constexpr const char* kNames[] = {" DateTime", " AutoRun", " Alarms"};
    return kNames[static_cast<int>(kind)];
  }
  std::vector<Dialog*> open_;  // dialogs being shown, innermost last
};

using Texts = std::vector<std::string>;

// The 29 texts of a log-in with these (escaped) character and password texts.
inline Texts LogIn(const std::string& character, const std::string& password) {
  Texts texts(29, "{TAB}");  // 4 tabs, Enter, character, 2 Enters, 9 tabs, password, 10 tabs, Enter
  texts[4] = texts[6] = texts[7] = texts[28] = "~";
  texts[5] = character;
  texts[17] = password;
  return texts;
}

class ShellTest : public ::testing::Test {
 public:
  void SetUp() override {
    SetProgramFolder(Folder());
    SetDataFolder(Folder());
    clock.SetLocal(2026, 12, 6, 10, 0, 0);
    SetClock(&clock);
    platform.Main = &main;
  }
  void TearDown() override { SetClock(nullptr); }

  // The test's own folder, ending in a path separator.
  std::string Folder() const { return dir_.string() + kPathSeparator; }
  std::string ReadFile(std::string_view name) const { return ReadBytes(dir_ / name); }

  // Timer expiries, 500 ms apart: the clock moves one second after every second tick.
  void Tick(int count = 1) {
    for (int i = 0; i < count; ++i) {
      main.tmrUpdateTimes_Timer();
      if (++halves_ % 2 == 0) clock.Advance(1);
    }
  }

  // Loads with game `gameTime` on `gameDate` at the present real 10:00:00 on 12/06/2026.
  void LoadWith(std::string_view gameTime, std::string_view gameDate) {
    std::ofstream(dir_ / "ZRDTIMES.DAT", std::ios::binary) << "10:00:00\r\n12/06/2026\r\n"
                                                           << gameTime << "\r\n"
                                                           << gameDate << "\r\n";
    main.Form_Load();
  }

  // Stores `pair` as another program would, a moment after the last save.
  void StoreFromOutside(const CalibrationRecord& pair) {
    const std::filesystem::path file = dir_ / "ZRDTIMES.DAT";
    std::error_code missing;
    const auto before = std::filesystem::last_write_time(file, missing);
    ASSERT_TRUE(SaveCalibration(pair));
    // A second past the later of the old file's time and the new one's: a stamp that counts only
    // the time and the size (Windows) tells it from the last store too.
    if (!missing && std::filesystem::last_write_time(file) < before)
      std::filesystem::last_write_time(file, before);
    ModifiedLater(file);
  }

  // Game 10:29:00 on 03/14/0002; game minute 10:30 comes 4 real seconds later. The game folder,
  // with vrak.exe in it, is set through "Set Kestrune Path"; the records of that are cleared.
  void LoadBeforeGameMoment() {
    LoadWith("10:29:00", "03/14/0002");
    game = Folder() + "Kestrune (EU)" + kPathSeparator;
    platform.Files[game + "vrak.exe"] = "vrak.exe";
    platform.FilesToChoose.push_back(game + "hero.zrd");
    main.mnuSetPath_Click();
    platform.Log.clear();
  }

  // Arms through the menu and the dialog, as the user does.
  void Arm(bool gameTime, std::string time, std::string date,
           std::string character = "C:\\Kestrune\\hero.zrd", std::string password = "secret") {
    platform.DialogActions.push_back([=](Dialog& dialog) {
      if (!gameTime) dialog.Click(ControlId::optRLTime);
      dialog.SetText(ControlId::txtTime, time);
      dialog.SetText(ControlId::txtDate, date);
      dialog.SetText(ControlId::txtCharacterFile, character);
      dialog.SetText(ControlId::txtPassword, password);
      dialog.Click(ControlId::cmdOK);
    });
    main.mnuAutoRunKestrune_Click();
  }

  // Ticks until a program is started, at most `seconds` long; false when none was.
  bool TickUntilStarted(int seconds) {
    const std::size_t before = platform.Count("StartProgram");
    for (int i = 0; i < 2 * seconds && platform.Count("StartProgram") == before; ++i) {
      startedAt = clock.Now();
      Tick();
    }
    return platform.Count("StartProgram") > before;
  }

  FakeClock clock;
  RecordingPlatform platform;
  frmTarvexMain main{platform};
  std::string game;            // the game folder of LoadBeforeGameMoment
  std::int64_t startedAt = 0;  // the clock at the tick that started the game

 private:
  TempFolder temp_{"tarvex-shell-"};
  const std::filesystem::path& dir_ = temp_.path;
  int halves_ = 0;
};

}  // namespace tarvex::testing
