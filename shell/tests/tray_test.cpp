// The main window's life: start-up, the tray icon, the popup menu and its view options, shut-down.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "dialogs/frmDateTime.h"
#include "engine/modZRD.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using Lines = std::vector<std::string>;

std::string Blanks(std::size_t count) {
  return std::string(count, ' ');
}

using TrayTest = ShellTest;

TEST_F(TrayTest, FirstStartShowsTheApplicationPictureWithAnEmptyTip) {
  main.Form_Load();

  EXPECT_TRUE(FileExists("ZRDTIMES.DAT"));
  EXPECT_TRUE(FileExists("ZRDDIR.DAT"));
  EXPECT_EQ(GamePath, Folder());
  EXPECT_EQ(Calibration.RealTime.str(), "10:00:00");
  EXPECT_EQ(Calibration.RealDate.str(), "12/06/2026");
  EXPECT_EQ(Calibration.ZRDTime.str(), "00:00:01");
  EXPECT_EQ(Calibration.ZRDDate.str(), "01/01/0001");
  EXPECT_FALSE(main.AutoRunFired);
  EXPECT_EQ(main.BlinkPhase, 1);

  EXPECT_EQ(platform.Log, Lines({"StartTimer 500", "NotifyIcon Add"}));
  const tarvex::TrayIcon& added = platform.Tray.at(0).Icon;
  EXPECT_EQ(added.Size, 88u);
  EXPECT_EQ(added.ID, 1u);
  EXPECT_EQ(added.Flags, 7u);
  EXPECT_EQ(added.CallbackMessage, 512u);
  EXPECT_EQ(added.Icon, 1);
  EXPECT_EQ(added.Tip.str(), std::string(1, '\0') + Blanks(63));
  EXPECT_EQ(VisibleTip(added), "");
}

TEST_F(TrayTest, PopupMenuHasItsCaptionsSeparatorsAndDefaultChecksInOrder) {
  main.Form_Load();
  struct Line {
    MenuItem Item;
    std::string Caption;
    bool Separator;
    bool Checked;
  };
  const std::vector<Line> expected = {
      {MenuItem::SetDateandTime, "Set Date and Time", false, false},
      {MenuItem::SetPath, "Set Kestrune Path", false, false},
      {MenuItem::Sep1, "", true, false},
      {MenuItem::ShowCurrentTime, "Show Current Time", false, true},
      {MenuItem::ShowNextGoodMoon, "Show Next Good Moon", false, true},
      {MenuItem::ShowNextBadMoon, "Show Next Bad Moon", false, false},
      {MenuItem::Sep2, "", true, false},
      {MenuItem::AutoRunKestrune, "Auto Run Kestrune", false, false},
      {MenuItem::Sep3, "", true, false},
      {MenuItem::Exit, "Exit", false, false},
  };
  const std::vector<MenuEntry> menu = main.PopupMenu();
  ASSERT_EQ(menu.size(), expected.size());
  for (std::size_t i = 0; i < menu.size(); ++i) {
    EXPECT_EQ(menu[i].Item, expected[i].Item) << "position " << i + 1;
    EXPECT_EQ(menu[i].Caption, expected[i].Caption) << "position " << i + 1;
    EXPECT_EQ(menu[i].Separator, expected[i].Separator) << "position " << i + 1;
    EXPECT_EQ(menu[i].Checked, expected[i].Checked) << "position " << i + 1;
  }
}

TEST_F(TrayTest, OnlyReleasingTheRightButtonOpensTheMenu) {
  main.Form_Load();
  struct Case {
    float X;
    const char* Event;
    bool Opens;
  };
  const Case cases[] = {
      {512.0f, "move", false},       {513.0f, "left down", false},
      {514.0f, "left up", false},    {515.0f, "left double click", false},
      {516.0f, "right down", false}, {518.0f, "right double click", false},
      {517.0f, "right up", true},    {517.5f, "not exactly 517", false},
  };
  for (const Case& c : cases) {
    const std::size_t menusBefore = platform.MenusShown.size();
    const int foregroundBefore = platform.ForegroundCalls;
    main.Form_MouseMove(2, 0, c.X, 0.0f);
    EXPECT_EQ(platform.MenusShown.size() - menusBefore, c.Opens ? 1u : 0u) << c.Event;
    EXPECT_EQ(platform.ForegroundCalls - foregroundBefore, c.Opens ? 1 : 0) << c.Event;
  }
  // The window comes to the foreground before the menu, so a click elsewhere closes the menu.
  EXPECT_EQ(platform.Log.at(platform.Log.size() - 2), "BringToForeground");
  EXPECT_EQ(platform.Log.back(), "ShowPopupMenu");
}

TEST_F(TrayTest, TheChosenItemRunsItsCommandAndTheMenuShowsThePresentChecks) {
  main.Form_Load();
  platform.MenuChoices = {MenuItem::ShowCurrentTime, std::nullopt};
  main.Form_MouseMove(2, 0, 517.0f, 0.0f);
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  main.Form_MouseMove(2, 0, 517.0f, 0.0f);  // dismissed: nothing changes
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  ASSERT_EQ(platform.MenusShown.size(), 2u);
  EXPECT_TRUE(platform.MenusShown[0][3].Checked);
  EXPECT_FALSE(platform.MenusShown[1][3].Checked);
}

TEST_F(TrayTest, AThirdViewIsRefusedWithTheToolTipLimitationMessage) {
  main.Form_Load();
  main.mnuShowNextBadMoon_Click();
  EXPECT_FALSE(main.Checked(MenuItem::ShowNextBadMoon));
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Text,
            "Due to limitations on the length of the tool tip text, you can only choose 2 "
            "options to view.");
  EXPECT_EQ(platform.Messages[0].Title, "Tool Tip Limitation");

  main.mnuShowCurrentTime_Click();  // a checked view always unchecks, without a message
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  main.mnuShowNextBadMoon_Click();
  EXPECT_TRUE(main.Checked(MenuItem::ShowNextBadMoon));
  main.mnuShowCurrentTime_Click();  // now time is the third one
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  EXPECT_EQ(platform.Messages.size(), 2u);

  main.mnuShowNextGoodMoon_Click();
  main.mnuShowNextBadMoon_Click();
  EXPECT_FALSE(main.Checked(MenuItem::ShowCurrentTime));
  EXPECT_FALSE(main.Checked(MenuItem::ShowNextGoodMoon));
  EXPECT_FALSE(main.Checked(MenuItem::ShowNextBadMoon));
  EXPECT_EQ(platform.Messages.size(), 2u);
  EXPECT_EQ(platform.CountLog("NotifyIcon Modify"), 0u) << "the toggles leave the tray to the tick";
}

TEST_F(TrayTest, ExitClosesBothDialogsThenTheWindowAndSavesTheLastPairOnce) {
  LoadWith("10:29:00", "03/14/0002");
  RunSeconds(3);
  const CalibrationRecord lastTick = Calibration;
  platform.Log.clear();

  main.mnuExit_Click();

  EXPECT_EQ(platform.Log, Lines({"CloseDialog DateTime", "CloseDialog AutoRun", "CloseMainWindow",
                                 "NotifyIcon Delete"}));
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT"), lastTick.RealTime.str() + "\r\n" + lastTick.RealDate.str() +
                                          "\r\n" + lastTick.ZRDTime.str() + "\r\n" +
                                          lastTick.ZRDDate.str() + "\r\n");
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT").size(), 44u);

  // A second unload (the front-end's own close after Exit) neither saves nor deletes again.
  Calibration.ZRDTime = "01:02:03";
  main.Form_Unload();
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT").substr(22, 8), lastTick.ZRDTime.str());
  EXPECT_EQ(platform.CountLog("NotifyIcon Delete"), 1u);
}

TEST_F(TrayTest, ExitWhileTheCalibrationDialogIsOpenClosesItWithoutStoring) {
  LoadWith("10:29:00", "03/14/0002");
  Tick();
  platform.DialogActions.push_back([this](Dialog& dialog) {
    dialog.SetText("txtRealTime", "09:00:00");
    dialog.SetText("txtRealDate", "01/01/2026");
    dialog.SetText("txtZRDTime", "01:00:00");
    dialog.SetText("txtZRDDate", "01/01/0001");
    main.MenuCommand(MenuItem::Exit);  // from the tray menu, which works while a dialog is open
    EXPECT_TRUE(dialog.Closed());
  });
  const CalibrationRecord before = Calibration;
  main.mnuSetDateandTime_Click();
  EXPECT_EQ(Calibration, before);
  EXPECT_EQ(platform.CountLog("CloseDialog DateTime"), 1u) << "closed once, by Exit";
  EXPECT_EQ(platform.CountLog("NotifyIcon Delete"), 1u);
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT").substr(22, 8), before.ZRDTime.str());
}

TEST_F(TrayTest, UnloadFromOutsideClosesAnOpenCalibrationDialog) {
  LoadWith("10:29:00", "03/14/0002");
  platform.DialogActions.push_back([this](Dialog& dialog) {
    main.Form_Unload();  // e.g. the session ends
    EXPECT_TRUE(dialog.Closed());
  });
  main.mnuSetDateandTime_Click();
  const std::vector<std::string> tail(platform.Log.end() - 2, platform.Log.end());
  EXPECT_EQ(tail, Lines({"CloseDialog DateTime", "NotifyIcon Delete"}));
}

TEST_F(TrayTest, AFailedSaveAtUnloadIsReportedNamingTheFile) {
  LoadWith("10:29:00", "03/14/0002");
  Tick();
  // A data folder that cannot hold files: its path runs through an ordinary file.
  std::ofstream(Folder() + "blocker") << "x";
  const std::string unwritable = Folder() + "blocker" + kPathSeparator;
  SetDataFolder(unwritable);
  main.Form_Unload();
  ASSERT_EQ(platform.Messages.size(), 1u);
  EXPECT_EQ(platform.Messages[0].Title, "Tarvex");
  EXPECT_NE(platform.Messages[0].Text.find("could not be saved"), std::string::npos);
  EXPECT_NE(platform.Messages[0].Text.find(unwritable + "ZRDTIMES.DAT"), std::string::npos)
      << platform.Messages[0].Text;
  EXPECT_EQ(platform.Log.back(), "NotifyIcon Delete") << "the icon still leaves the tray";
}

TEST_F(TrayTest, NothingTouchesTheTrayAfterUnload) {
  LoadWith("10:29:00", "03/14/0002");
  Tick();
  main.Form_Unload();
  const std::size_t trayCalls = platform.Tray.size();
  const CalibrationRecord atUnload = Calibration;
  RunSeconds(5);
  main.TaskbarCreated();
  main.Form_MouseMove(2, 0, 517.0f, 0.0f);
  EXPECT_EQ(platform.Tray.size(), trayCalls);
  EXPECT_EQ(Calibration, atUnload);
  EXPECT_TRUE(platform.MenusShown.empty());
}

TEST_F(TrayTest, TheTrayIsModifiedOnlyWhenTipOrIconChanged) {
  LoadWith("10:29:00", "03/14/0002");  // day 14: a steady icon
  Tick();                              // the first tip: modified
  Tick();                              // same second, same game time: nothing
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 1u);
  RunSeconds(3);  // a new game time every real second
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 4u);
  for (const TrayCall& call : platform.TrayCalls(TrayMessage::Modify)) {
    EXPECT_EQ(call.Icon.Icon, 104);
  }
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).back().Icon, main.TrayIcon);

  main.mnuShowNextGoodMoon_Click();  // a view change shows at the next tick, and not before
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 4u);
  Tick();
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 5u);
  EXPECT_EQ(VisibleTip(platform.Tray.back().Icon),
            Calibration.ZRDTime.str() + " " + Calibration.ZRDDate.str());
}

TEST_F(TrayTest, ARefusedModifyIsTriedAgainAtTheNextTick) {
  LoadWith("10:29:00", "03/14/0002");
  platform.NotifyResults = {false};
  main.tmrUpdateTimes_Timer();  // refused
  main.tmrUpdateTimes_Timer();  // same tip, but the tray never took it
  ASSERT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 2u);
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 2u);
}

TEST_F(TrayTest, TheIconIsAddedAgainWhenTheDesktopShellRestarts) {
  LoadWith("10:29:00", "03/14/0002");
  main.tmrUpdateTimes_Timer();
  clock.Advance(1);
  main.tmrUpdateTimes_Timer();
  ASSERT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 2u);
  main.TaskbarCreated();
  ASSERT_EQ(platform.TrayCalls(TrayMessage::Add).size(), 2u);
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Add).back().Icon, main.TrayIcon)
      << "added with the present tip and icon";
  main.tmrUpdateTimes_Timer();  // same second: nothing new to show
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 2u);
}

TEST_F(TrayTest, AnIconThatCouldNotBeAddedIsAddedByTheFollowingTicks) {
  platform.NotifyResults = {false, false, true};  // no tray yet at logon
  LoadWith("10:29:00", "03/14/0002");
  main.tmrUpdateTimes_Timer();
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(platform.Log,
            Lines({"StartTimer 500", "NotifyIcon Add", "NotifyIcon Add", "NotifyIcon Add"}));
  EXPECT_EQ(platform.Tray.back().Icon, main.TrayIcon);
  EXPECT_EQ(VisibleTip(platform.Tray.back().Icon).substr(0, 19), "10:29:00 03/14/0002");
  main.tmrUpdateTimes_Timer();  // added and unchanged: no call
  EXPECT_EQ(platform.Tray.size(), 3u);
  clock.Advance(1);
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 1u);

  // A refused add after a shell restart is retried the same way.
  platform.NotifyResults = {false};
  main.TaskbarCreated();
  main.tmrUpdateTimes_Timer();
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Add).size(), 5u);
  EXPECT_EQ(platform.TrayCalls(TrayMessage::Modify).size(), 1u);
}

}  // namespace
}  // namespace tarvex::testing
