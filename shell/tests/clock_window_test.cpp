// The clock window: what it shows, when it opens by itself, what its close box does, its menu
// item and "Stay on Top", its place kept in [Window] of TARVEX.INI, and a second start.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "shell/frmClock.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using ClockWindowTest = ShellTest;

// The captions of a menu from "Start at Log-in" to "Exit".
Texts MenuTail(const std::vector<MenuEntry>& menu) {
  Texts captions;
  auto start = std::find_if(menu.begin(), menu.end(),
                            [](const MenuEntry& e) { return e.Item == MenuItem::StartAtLogIn; });
  for (; start != menu.end(); ++start)
    captions.push_back(start->Separator ? "-" : start->Caption + (start->Checked ? " [x]" : ""));
  return captions;
}

// The whole tip, all three lines, whatever the views chosen; the time line refreshed each second
// and drawn only while the window is shown; the notice first while no pair is stored.
TEST_F(ClockWindowTest, ShowsTheTimeTheMoonAndEveryTipLineWhole) {
  std::ofstream(Folder() + "TARVEX.INI", std::ios::binary)
      << "[Display]\r\nShowCurrentTime=off\r\nShowNextGoodMoon=off\r\nShowNextBadMoon=on\r\n";
  LoadWith("12:00:00", "03/14/0002");
  Tick(2);
  EXPECT_TRUE(platform.Faces.empty()) << "nothing drawn while hidden";
  main.mnuClockWindow_Click();
  ASSERT_EQ(platform.Faces.size(), 1u);
  const ClockFace& face = platform.Faces.back();
  EXPECT_EQ(face.Notice, "");
  EXPECT_EQ(face.Time, "12:00:00 03/14/0002") << "as of the last tick";
  EXPECT_EQ(face.Moons, Texts({"GOOD MOON TODAY AT 10:40 AM", "BAD MOON TOMORROW AT 5:20 AM"}));
  EXPECT_EQ(face.Icon, MoonPhaseIcon(14));
  Tick(4);  // the clock moves twice: two new game times, 18 game seconds a real one
  ASSERT_EQ(platform.Faces.size(), 3u);
  EXPECT_EQ(platform.Faces.back().Time, "12:00:36 03/14/0002");

  RecordingPlatform desk;  // no pair stored
  frmTarvexMain tray(desk);
  std::filesystem::remove(Folder() + "ZRDTIMES.DAT");
  tray.Form_Load();
  tray.mnuClockWindow_Click();
  ASSERT_FALSE(desk.Faces.empty());
  EXPECT_EQ(desk.Faces.back().Notice, "SET THE DATE AND TIME FIRST");
}

// Three seconds after the start, a tray icon still not shown opens the window by itself, in
// front; it then stays open when a tray comes. With an icon shown by then, none opens.
TEST_F(ClockWindowTest, OpensByItselfOnlyWhenNoTrayShowsTheIconAfterThreeSeconds) {
  const struct {
    const char* name;
    int refusedAdds;  // the tray's adds refused, at the start and then once a tick
    int opensAtTick;  // 0: never
  } cases[] = {
      {"a tray at the start", 0, 0},
      {"a tray at the sixth tick", 6, 0},
      {"a tray at the seventh tick", 7, 6},
      {"no tray for a minute", 120, 6},
  };
  for (const auto& c : cases) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    desk.NotifyResults.assign(static_cast<std::size_t>(c.refusedAdds), false);
    tray.Form_Load();
    int opened = 0;
    for (int tick = 1; tick <= 20; ++tick) {
      tray.tmrUpdateTimes_Timer();
      if (!opened && desk.Count("ShowClockWindow")) opened = tick;
    }
    EXPECT_EQ(opened, c.opensAtTick) << c.name;
    EXPECT_EQ(desk.Lines("ShowClockWindow"), c.opensAtTick ? Texts{" raised"} : Texts{}) << c.name;
    EXPECT_EQ(desk.Count("HideClockWindow"), 0u) << c.name << ": stays open";
    EXPECT_EQ(tray.Checked(MenuItem::ClockWindow), c.opensAtTick != 0) << c.name;
    const std::vector<MenuEntry> menu = tray.PopupMenu();
    const bool greyed = std::find_if(menu.begin(), menu.end(), [](const MenuEntry& e) {
                          return e.Item == MenuItem::ClockWindow;
                        })->Disabled;
    EXPECT_EQ(greyed, c.opensAtTick != 0 && c.refusedAdds > 20)
        << c.name << ": the window cannot be hidden while it is the only door";
    tray.Form_Unload();
  }
  EXPECT_EQ(ReadFile("TARVEX.INI"), "") << "opening by itself is not the player's choice";
}

// Without a tray icon the window is the program's only door: its close box ends the program as
// Exit does, saving the pair, and the window opens again at the next start. With one, the close
// box hides it, and that is kept.
TEST_F(ClockWindowTest, TheCloseBoxEndsTheProgramOnlyWhileNoTrayIconIsShown) {
  for (const bool trayShown : {false, true}) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    desk.Main = &tray;
    desk.NotifyResults.assign(trayShown ? 0 : 100, false);
    std::ofstream(Folder() + "ZRDTIMES.DAT", std::ios::binary)
        << "10:00:00\r\n12/06/2026\r\n12:00:00\r\n03/14/0002\r\n";
    tray.Form_Load();
    tray.mnuClockWindow_Click();
    Tick(2);
    desk.Log.clear();
    tray.ClockWindow_Close();
    EXPECT_EQ(desk.Count("CloseMainWindow"), trayShown ? 0u : 1u) << trayShown;
    EXPECT_EQ(desk.Count("HideClockWindow"), 1u) << trayShown;
    EXPECT_EQ(tray.Running(), trayShown);
    if (!trayShown) {
      EXPECT_EQ(ReadFile("ZRDTIMES.DAT").substr(0, 8), "10:00:01") << "pair saved";
    }
    tray.Form_Unload();
    EXPECT_NE(ReadFile("TARVEX.INI").find(trayShown ? "Shown=off" : "Shown=on"), std::string::npos);
  }
}

// "Clock Window" follows "Start at Log-in", checked while the window is shown; the window's own
// menu adds "Stay on Top" where the desktop allows it. Both choices are kept and restored, and the
// place the window was moved to too, onto a screen attached now.
TEST_F(ClockWindowTest, MenuItemsShowTheWindowAndKeepItsPlaceAndStayOnTop) {
  platform.Screens = {{0, 0, 1920, 1050}, {1920, 0, 1280, 1000}};
  LoadWith("12:00:00", "03/14/0002");
  EXPECT_EQ(MenuTail(main.PopupMenu()),
            Texts({"Start at Log-in", "Clock Window", "24-Hour Clock", "-", "Exit"}));
  platform.MenuChoices = {MenuItem::ClockWindow};
  main.Form_MouseMove(0, 0, kRightButtonUp, 0);
  EXPECT_EQ(platform.Lines("ShowClockWindow"), Texts{" raised"});
  main.ClockWindow_Moved({2500, 300});
  Tick();
  platform.MenuChoices = {MenuItem::StayOnTop};
  platform.ShowsTip = true;
  platform.During = [this] { Tick(2); };  // its tip lines change while it is open
  main.ClockWindow_Menu();
  platform.During = nullptr;
  ASSERT_EQ(platform.Count("UpdateOpenMenu"), 1u);
  EXPECT_EQ(MenuTail(platform.Menus.back()), Texts({"Start at Log-in", "Clock Window [x]",
                                                    "Stay on Top", "24-Hour Clock", "-", "Exit"}))
      << "redrawn with the tip's new lines";
  EXPECT_EQ(platform.Lines("SetClockWindowOnTop"), Texts{" on"});
  EXPECT_EQ(ReadFile("TARVEX.INI"), "[Window]\r\nShown=on\r\nOnTop=on\r\nLeft=2500\r\nTop=300\r\n");
  main.mnuExit_Click();

  const struct {
    const char* name;
    std::vector<ScreenArea> screens;
    bool stayOnTop;
    Texts log;
  } restarts[] = {
      {"both screens",
       platform.Screens,
       true,
       {"SetClockWindowOnTop on", "ShowClockWindow at 2500,300"}},
      {"the right screen gone",
       {{0, 0, 1920, 1050}},
       true,
       {"SetClockWindowOnTop on", "ShowClockWindow at 1856,300"}},
      {"Wayland", {}, false, {"ShowClockWindow at 2500,300"}},
  };
  for (const auto& restart : restarts) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    desk.Screens = restart.screens;
    desk.StayOnTopAllowed = restart.stayOnTop;
    tray.Form_Load();
    Texts log;
    for (const std::string& line : desk.Log)
      if (line.find("ClockWindow") != std::string::npos) log.push_back(line);
    EXPECT_EQ(log, restart.log) << restart.name;
    EXPECT_EQ(MenuTail(tray.PopupMenu(true)).size(), restart.stayOnTop ? 6u : 5u) << restart.name;
    tray.Form_Unload();
  }
}

TEST(KeptOnScreen, APlaceOffEveryScreenMovesToTheNearest) {
  const std::vector<ScreenArea> screens = {{0, 0, 1920, 1050}, {-1280, 0, 1280, 1000}};
  const struct {
    WindowCorner place, kept;
  } cases[] = {
      {{100, 100}, {100, 100}},       // on the first screen
      {{-1000, 500}, {-1000, 500}},   // on the screen to the left
      {{1900, 100}, {1856, 100}},     // its title bar hanging off the right edge
      {{500, -40}, {500, 0}},         // above the top
      {{-3000, 2000}, {-1280, 976}},  // far off, nearest the left screen's bottom
      {{5000, 5000}, {1856, 1026}},
  };
  for (const auto& c : cases) EXPECT_EQ(KeptOnScreen(c.place, screens), c.kept) << c.place.Left;
  EXPECT_EQ(KeptOnScreen({9999, 9999}, {}), (WindowCorner{9999, 9999})) << "no screen known";
}

// A second start: the running Tarvex brings its window forward; where it does not answer, the new
// one says it runs.
TEST_F(ClockWindowTest, ASecondStartBringsTheRunningWindowForwardOrSaysItRuns) {
  for (const bool answers : {true, false}) {
    RecordingPlatform desk;
    desk.RunningAnswers = answers;
    StartedWhileRunning(desk);
    EXPECT_EQ(desk.Log,
              answers ? Texts{"BringRunningForward"}
                      : Texts({"BringRunningForward", "ShowNotice Tarvex is already running"}));
  }
  LoadWith("12:00:00", "03/14/0002");
  main.StartedAgain();
  main.StartedAgain();
  EXPECT_EQ(platform.Lines("ShowClockWindow"), Texts({" raised", " raised"}));
  EXPECT_EQ(ReadFile("TARVEX.INI"), "") << "a window brought forward is not the player's choice";
}

}  // namespace
}  // namespace tarvex::testing
