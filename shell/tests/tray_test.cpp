// The main window's life: start-up, the tray icon and its tip, the popup menu and its views,
// shut-down.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <deque>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using TrayTest = ShellTest;

TEST_F(TrayTest, FirstStartShowsTheApplicationPictureWithAnEmptyTip) {
  main.Form_Load();
  EXPECT_EQ(platform.Tray.at(0).Icon, 1) << "the application picture";
  EXPECT_EQ(platform.Tray.at(0).Tip, "");
  // Only releasing the right button over the icon does anything: it opens the menu, in front.
  for (const float x : {512.0f, 513.0f, 514.0f, 515.0f, 516.0f, 518.0f, 517.5f, 517.0f}) {
    main.Form_MouseMove(2, 0, x, 0.0f);
    EXPECT_EQ(platform.Log.size(), x == 517.0f ? 4u : 2u) << "calls after mouse event " << x;
  }
}

// A menu entry as a line of text: "-" a separator, "(caption)" greyed, "caption [x]" checked.
std::string Drawn(const MenuEntry& entry) {
  if (entry.Separator) return "-";
  if (entry.Disabled) return "(" + entry.Caption + ")";
  return entry.Caption + (entry.Checked ? " [x]" : "");
}

// Where the tray shows no tool-tip, the menu begins with the tip's present lines, greyed, and a
// separator; choosing one does nothing. Game 12:00:00 on day 14 at real 10:00:00: the good moon
// begins 2,400 real seconds later, the bad moon 69,600.
TEST_F(TrayTest, WhereTheTrayShowsNoTipTheMenuBeginsWithTheTipsLines) {
  // whether the tray shows no tip, the views checked, and the menu's first entries
  const std::tuple<bool, const char*, Texts> cases[] = {
      {true,
       "TG",
       {"(12:00:00 03/14/0002)", "(GOOD MOON TODAY AT 10:40 AM)", "-", "Set Date and Time"}},
      {true, "B", {"(BAD MOON TOMORROW AT 5:20 AM)", "-", "Set Date and Time"}},
      {true, "", {"Set Date and Time", "Set Kestrune Path"}},  // an empty tip: no lines
      {false, "TG", {"Set Date and Time", "Set Kestrune Path"}}};
  LoadWith("12:00:00", "03/14/0002");
  for (const auto& [showsTip, views, first] : cases) {
    platform.ShowsTip = showsTip;
    const std::string checked = views;
    main.SetChecked(MenuItem::ShowCurrentTime, checked.find('T') != std::string::npos);
    main.SetChecked(MenuItem::ShowNextGoodMoon, checked.find('G') != std::string::npos);
    main.SetChecked(MenuItem::ShowNextBadMoon, checked.find('B') != std::string::npos);
    main.tmrUpdateTimes_Timer();  // no time passes between the cases
    platform.Log.clear();
    platform.MenuChoices = {MenuItem::TipLine};
    main.Form_MouseMove(2, 0, 517.0f, 0.0f);
    Texts drawn;
    for (const MenuEntry& entry : platform.Menus.back()) drawn.push_back(Drawn(entry));
    drawn.resize(first.size());
    EXPECT_EQ(drawn, first) << views;
    EXPECT_EQ(platform.Log, Texts({"BringToForeground", "ShowPopupMenu"})) << "chosen: nothing";
  }
}

// While the menu is open the ticks go on; each change of the tip's lines redraws it, where it
// shows them, and only while it is open.
TEST_F(TrayTest, AnOpenMenuShowsTheTipsLinesAsTheyChange) {
  LoadWith("12:00:00", "03/14/0002");
  Tick();
  std::vector<MenuEntry> last;  // the menu as it was when it closed
  platform.During = [&] {
    Tick(4);  // two seconds: 36 game seconds
    last = main.PopupMenu();
  };
  for (const bool showsTip : {false, true}) {
    platform.ShowsTip = showsTip;
    main.Form_MouseMove(2, 0, 517.0f, 0.0f);
  }
  EXPECT_EQ(platform.Menus.back(), last) << "the whole menu as it is now";
  platform.During = nullptr;
  Tick(4);  // closed
  Texts firsts;
  for (const auto& menu : platform.Menus) firsts.push_back(Drawn(menu.at(0)));
  EXPECT_EQ(firsts, Texts({"Set Date and Time", "(12:00:36 03/14/0002)", "(12:00:54 03/14/0002)",
                           "(12:01:12 03/14/0002)"}));
}

TEST_F(TrayTest, AtMostTwoViewsAreCheckedAndAThirdIsRefusedWithAMessage) {
  const MenuItem time = MenuItem::ShowCurrentTime, good = MenuItem::ShowNextGoodMoon,
                 bad = MenuItem::ShowNextBadMoon;
  // The view chosen, the views checked afterwards (T, G, B), and whether it was refused.
  const std::tuple<MenuItem, const char*, bool> steps[] = {
      {bad, "TG", true},  {time, "G", false}, {bad, "GB", false}, {time, "GB", true},
      {good, "B", false}, {bad, "", false},   {time, "T", false}};
  main.Form_Load();
  for (std::size_t i = 0; i < std::size(steps); ++i) {
    platform.Log.clear();
    const auto& [chosen, expected, refused] = steps[i];
    main.MenuCommand(chosen);
    const std::string checked = std::string(main.Checked(time) ? "T" : "") +
                                (main.Checked(good) ? "G" : "") + (main.Checked(bad) ? "B" : "");
    EXPECT_EQ(checked, expected) << "step " << i + 1;
    EXPECT_EQ(platform.Log, refused ? Texts{"ShowMessage Tool Tip Limitation: Due to "
                                            "limitations on the length of the tool tip "
                                            "text, you can only choose 2 options to view."}
                                    : Texts{})
        << "step " << i + 1 << ": a message, and the tray left to the tick";
  }
}

// The mark of "Start at Log-in" is the entry as it is when the menu opens (each row's entry
// differs from the mark the row before left) and after the change, which a failure leaves undone.
// The views chosen are kept in [Display] of TARVEX.INI: restored at the start, written at each
// change with the file's other lines, an edit another program made meanwhile among them, and
// taken up when another program changes them. Each case: the file at the start; the check marks
// then (time, good moon, bad moon); the view chosen; the [Display] lines afterwards.
TEST_F(TrayTest, TheViewsChosenAreKeptInTarvexIni) {
  const std::tuple<std::string, Texts, MenuItem, std::string> cases[] = {
      {"",
       {"on", "on", "off"},
       MenuItem::ShowCurrentTime,
       "ShowCurrentTime=off\r\nShowNextGoodMoon=on\r\nShowNextBadMoon=off\r\n"},
      {"[Display]\r\nShowCurrentTime=off\r\nShowNextBadMoon=on\r\n",
       {"off", "on", "on"},
       MenuItem::ShowNextGoodMoon,
       "ShowCurrentTime=off\r\nShowNextBadMoon=on\r\nShowNextGoodMoon=off\r\n"},
      {"[Display]\r\nShowNextGoodMoon=no\r\n",
       {"on", "off", "off"},
       MenuItem::ShowNextBadMoon,
       "ShowNextGoodMoon=off\r\nShowCurrentTime=on\r\nShowNextBadMoon=on\r\n"},
  };
  for (const auto& [file, marks, chosen, display] : cases) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    std::ofstream(Folder() + "TARVEX.INI", std::ios::binary) << file;
    tray.Form_Load();
    const auto mark = [&tray](MenuItem item) { return tray.Checked(item) ? "on" : "off"; };
    EXPECT_EQ((Texts{mark(MenuItem::ShowCurrentTime), mark(MenuItem::ShowNextGoodMoon),
                     mark(MenuItem::ShowNextBadMoon)}),
              marks)
        << file;
    ASSERT_TRUE(SaveSettings({.Sound = false}));  // another program's edit, no tick between
    tray.MenuCommand(chosen);
    const std::string written = ReadFile("TARVEX.INI");
    EXPECT_NE(written.find("[Display]\r\n" + display), std::string::npos) << written;
    EXPECT_NE(written.find("Sound=off"), std::string::npos) << written;
    EXPECT_EQ(desk.Count("ShowMessage "), 0u) << file;
    EXPECT_FALSE(tray.Alarms.Sound) << "the other program's edit is in force: " << file;
    tray.mnuExit_Click();
    tray.Form_Unload();
  }
  // Another program's change is taken up at the next tick.
  main.Form_Load();
  ASSERT_TRUE(SaveDisplay({.CurrentTime = false, .NextGoodMoon = false, .NextBadMoon = true}));
  Tick();
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  EXPECT_FALSE(main.Checked(MenuItem::ShowNextGoodMoon));
  EXPECT_TRUE(main.Checked(MenuItem::ShowNextBadMoon));
}

// While a menu item's message box is open, choosing that item again brings the box to the front
// instead of stacking a second one; another item still does its own work. Each case: the item
// whose box opens; the item chosen while it is open; what that choice does.
TEST_F(TrayTest, ChoosingAnItemAgainWhileItsMessageBoxIsOpenActivatesIt) {
  const std::string limit = "Tool Tip Limitation";
  const std::tuple<MenuItem, MenuItem, Texts> cases[] = {
      {MenuItem::ShowNextBadMoon, MenuItem::ShowNextBadMoon, {"ActivateMessage " + limit}},
      {MenuItem::ShowNextBadMoon, MenuItem::ShowNextGoodMoon, {}},  // unchecked: no box
      {MenuItem::SetPath, MenuItem::SetPath, {"ActivateMessage Set Path"}},
      {MenuItem::StartAtLogIn, MenuItem::StartAtLogIn, {"ActivateMessage Tarvex"}},
      {MenuItem::StartAtLogIn, MenuItem::ShowNextBadMoon, {"ShowMessage " + limit}},
  };
  for (const auto& [opened, again, done] : cases) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    tray.Form_Load();
    desk.LogInFailure = "No room";
    desk.Log.clear();
    Texts during;
    bool nested = false;
    desk.During = [&] {
      if (nested) return;  // the box of the second choice, if any, is not chosen into again
      nested = true;
      const std::size_t before = desk.Log.size();
      tray.MenuCommand(again);
      for (std::size_t i = before; i < desk.Log.size(); ++i) {
        if (desk.Log[i].starts_with("ShowMessage ") || desk.Log[i].starts_with("Activate"))
          during.push_back(desk.Log[i].substr(0, desk.Log[i].find(':')));
      }
    };
    tray.SetChecked(MenuItem::ShowCurrentTime, true);
    tray.SetChecked(MenuItem::ShowNextGoodMoon, true);
    tray.MenuCommand(opened);
    EXPECT_EQ(during, done) << static_cast<int>(opened) << " then " << static_cast<int>(again);
    desk.During = nullptr;
    // Once it is closed, the item opens its box again.
    desk.Log.clear();
    tray.SetChecked(MenuItem::ShowNextGoodMoon, true);
    tray.MenuCommand(opened);
    EXPECT_EQ(desk.Count("ShowMessage "), 1u) << static_cast<int>(opened);
    tray.mnuExit_Click();
  }
}

TEST_F(TrayTest, StartAtLogInShowsTheEntryAsItIsAndChoosingItTurnsItOverOrSaysWhyNot) {
  const std::string why = "/home/a/.config/autostart could not be made: Permission denied";
  const std::tuple<bool, std::string, std::string, bool> cases[] = {
      // the entry at the opening, why a change fails; the change asked for, the entry after
      {true, "", "off", false},
      {true, why, "off", true},
      {false, "", "on", true},
      {false, why, "on", false}};
  main.Form_Load();
  for (const auto& [entry, failure, change, after] : cases) {
    platform.Log.clear();
    platform.LogInEntry = entry;
    platform.LogInFailure = failure;
    platform.MenuChoices = {MenuItem::StartAtLogIn};
    main.Form_MouseMove(2, 0, 517.0f, 0.0f);
    const auto item =
        std::find_if(platform.Menus.back().begin(), platform.Menus.back().end(),
                     [](const MenuEntry& e) { return e.Item == MenuItem::StartAtLogIn; });
    ASSERT_NE(item, platform.Menus.back().end());
    EXPECT_TRUE(item->Checkable && item->Checked == entry) << "the mark at the opening: " << entry;
    EXPECT_EQ(platform.Lines("SetStartAtLogIn "), Texts{change});
    EXPECT_EQ(platform.LogInEntry, after);
    EXPECT_EQ(main.Checked(MenuItem::StartAtLogIn), after) << change << ", failing: " << failure;
    EXPECT_EQ(platform.Lines("ShowMessage "),
              failure.empty() ? Texts{}
                              : Texts{"Tarvex: Starting Tarvex at log-in could not be turned " +
                                      change + ".  " + why + "."});
  }
}

// Game 00:00:00 on day 15 at real 23:30:00: the good moon is two days later at 12:50 PM, the bad
// moon tomorrow at 6:10 PM. The tip holds the checked views' lines in order, separated by CR LF,
// as many whole lines as the tray's tip shows: a line that does not fit is left out, never cut.
TEST_F(TrayTest, TheTipHoldsTheCheckedViewsAsWholeLinesUpToTheTraysLimit) {
  const std::string time = "00:00:00 01/15/0002";                      // 19 characters
  const std::string good = "GOOD MOON TWO DAYS FROM NOW AT 12:50 PM";  // 39
  const std::string bad = "BAD MOON TOMORROW AT 6:10 PM";              // 28
  const std::optional<std::size_t> none;
  const std::tuple<std::optional<std::size_t>, bool, bool, bool, std::string> cases[] = {
      // the tray's limit; views time, good, bad; the tip
      {127, true, true, false, time + "\r\n" + good},
      {127, false, false, true, bad},
      {127, true, false, true, time + "\r\n" + bad},
      {127, false, true, true, good + "\r\n" + bad},  // 69 characters, past the oldest limit
      {127, false, false, false, ""},
      {none, false, true, true, good + "\r\n" + bad},
      {63, false, true, true, good},  // 69 would not fit: the bad moon's line is left out
      {63, true, false, true, time + "\r\n" + bad},
      {69, false, true, true, good + "\r\n" + bad},  // exactly the limit
      {68, false, true, true, good},
      {38, false, true, true, bad},  // the good moon's line alone is too long; the next one fits
      {18, true, true, false, ""}};
  clock.SetLocal(2026, 12, 6, 23, 30, 0);
  std::ofstream(Folder() + "ZRDTIMES.DAT", std::ios::binary)
      << "23:30:00\r\n12/06/2026\r\n00:00:00\r\n01/15/0002\r\n";
  main.Form_Load();
  for (const auto& [limit, withTime, withGood, withBad, tip] : cases) {
    platform.TipChars = limit;
    main.SetChecked(MenuItem::ShowCurrentTime, withTime);
    main.SetChecked(MenuItem::ShowNextGoodMoon, withGood);
    main.SetChecked(MenuItem::ShowNextBadMoon, withBad);
    main.tmrUpdateTimes_Timer();  // no time passes between the cases
    EXPECT_EQ(platform.Tray.back().Tip, tip) << limit.value_or(0) << " " << tip;
  }
}

TEST_F(TrayTest, TheIconShowsTheMoonsPhaseAndBlinksOnDaysOneAndFifteen) {
  // The game date, and the icons of three ticks in a row; the rows run in this order. Which
  // picture a day has is the engine's; the tray shows it and blinks.
  const std::tuple<const char*, int, int, int> cases[] = {
      {"03/15/0002", 105, 109, 105},
      // The blink rests on other days, and goes on where the last moon day left it.
      {"03/16/0002", 106, 106, 106},
      {"04/01/0002", 109, 101, 109},
      {"04/01/0002", 101, 109, 101}};
  LoadWith("12:00:00", "03/14/0002");
  for (const auto& [date, first, second, third] : cases) {
    // Stored by another program; the few game seconds that pass keep the day.
    CalibrationRecord stored = Calibration;
    stored.ZRDDate = date;
    StoreFromOutside(stored);
    std::vector<int> icons;
    for (int i = 0; i < 3; ++i) {
      Tick();
      icons.push_back(platform.Tray.back().Icon);
    }
    EXPECT_EQ(icons, std::vector<int>({first, second, third})) << date;
  }
}

TEST_F(TrayTest, TheTrayIsToldOnlyWhatChangedAndAnIconItDoesNotHoldIsAddedAgain) {
  // A tick `seconds` later; each real second is a new game time in the tip.
  const auto tick = [this](int seconds) {
    return [this, seconds] {
      clock.Advance(seconds);
      main.tmrUpdateTimes_Timer();
    };
  };
  // What happens, the results of the tray calls, and the one tray call made (or none).
  const std::tuple<const char*, std::function<void()>, std::deque<bool>, std::string> steps[] = {
      {"load without a tray", [this] { LoadWith("23:59:00", "03/14/0002"); }, {false}, "Add"},
      {"tick, still no tray", tick(0), {false}, "Add"},
      {"tick, a tray now", tick(0), {}, "Add"},
      {"tick, same second", tick(0), {}, ""},
      {"tick, next second", tick(1), {}, "Modify"},
      {"a view changed", [this] { main.mnuShowNextGoodMoon_Click(); }, {}, ""},
      {"tick after the view changed", tick(0), {}, "Modify"},
      {"modify refused", tick(1), {false}, "Modify"},
      {"tick after the refusal", tick(0), {}, "Modify"},
      {"shell restarted", [this] { main.TaskbarCreated(); }, {}, "Add"},
      {"tick after the restart", tick(0), {}, ""},
      {"shell restarted, add refused", [this] { main.TaskbarCreated(); }, {false}, "Add"},
      {"tick after the refused add", tick(0), {}, "Add"},
      {"game day 15 has come", tick(4), {}, "Modify"},
      {"day 15, same second: the blink", tick(0), {}, "Modify"}};
  for (const auto& [what, act, results, call] : steps) {
    platform.NotifyResults = results;
    const std::size_t before = platform.Tray.size();
    act();
    ASSERT_EQ(platform.Tray.size() - before, call.empty() ? 0u : 1u) << what;
    if (call.empty()) continue;
    EXPECT_EQ(platform.Lines("NotifyIcon ").back(), call) << what;
    EXPECT_EQ(platform.Tray.back(), main.TrayIcon) << what << ": the present tip and icon";
  }
}

TEST_F(TrayTest, ExitSavesTheLastPairOnceAndNothingRunsAfterwards) {
  LoadWith("10:29:00", "03/14/0002");
  platform.DialogActions.push_back([this](Dialog& dialog) {  // a new pair, set while ticking
    dialog.SetText(ControlId::txtRealTime, "10:00:00");
    dialog.SetText(ControlId::txtRealDate, "12/06/2026");
    dialog.SetText(ControlId::txtZRDTime, "20:00:00");
    dialog.SetText(ControlId::txtZRDDate, "07/07/0007");
    Tick(6);
    dialog.Click(ControlId::cmdSetDateandTime);
  });
  main.mnuSetDateandTime_Click();
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT"), "10:00:00\r\n12/06/2026\r\n20:00:00\r\n07/07/0007\r\n")
      << "a new pair is kept at once";
  Tick();
  EXPECT_EQ(Calibration.ZRDTime.str(), "20:00:54") << "real 10:00:03 is 54 game seconds later";
  const std::string pair = Calibration.RealTime.str() + "\r\n" + Calibration.RealDate.str() +
                           "\r\n" + Calibration.ZRDTime.str() + "\r\n" + Calibration.ZRDDate.str() +
                           "\r\n";
  platform.Log.clear();
  main.mnuExit_Click();
  EXPECT_EQ(platform.Log,
            Texts({"CloseDialog DateTime", "CloseDialog AutoRun", "CloseDialog Alarms",
                   "CloseMainWindow", "StopTimer", "NotifyIcon Delete"}));
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT"), pair);

  // The front-end's own close after Exit, ticks, a shell restart, a click: none does anything.
  platform.Log.clear();
  Calibration.ZRDTime = "01:02:03";
  main.Form_Unload();
  Tick(10);
  main.TaskbarCreated();
  main.Form_MouseMove(2, 0, 517.0f, 0.0f);
  EXPECT_EQ(platform.Log, Texts{});
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT"), pair);
}

TEST_F(TrayTest, AnUnloadFromOutsideClosesAnOpenDialogAndReportsAFailedSave) {
  LoadWith("10:29:00", "03/14/0002");
  std::ofstream(Folder() + "blocker") << "x";  // a data folder whose path runs through a file
  const std::string unwritable = Folder() + "blocker" + kPathSeparator;
  SetDataFolder(unwritable);
  platform.DialogActions.push_back([this](Dialog& dialog) {
    main.Form_Unload();  // e.g. the session ends
    EXPECT_TRUE(dialog.Closed());
  });
  main.mnuSetDateandTime_Click();
  // The file and the system's reason, in the system's words.
  const Texts messages = platform.Lines("ShowMessage ");
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_TRUE(messages[0].starts_with("Tarvex: " + unwritable +
                                      "ZRDTIMES.DAT could not be written: its temporary file "
                                      "cannot be created: ") &&
              messages[0].ends_with(".  The date and time set in Tarvex will be lost."))
      << messages[0];
  EXPECT_EQ(platform.Count("CloseDialog DateTime"), 1u);
  EXPECT_EQ(platform.Log.back(), "NotifyIcon Delete") << "the icon still leaves the tray";
}

}  // namespace
}  // namespace tarvex::testing
