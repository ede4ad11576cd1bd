// The tray and the data files that other programs change while it runs: what they store is in
// force at the next tick, a newer pair is what the exit saves, and a file that cannot be read is
// named once and never written over.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "engine/settings.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using LiveDataTest = ShellTest;

TEST_F(LiveDataTest, WhatAnotherProgramStoresIsInForceAtTheNextTickAndTheNewerPairIsSaved) {
  LoadWith("12:00:00", "03/10/0002");
  Tick(2);
  const CalibrationRecord stored = PairOf("10:00:01", "12/06/2026", "23:59:00", "03/14/0002");
  StoreFromOutside(stored);
  ASSERT_TRUE(SaveSettings({.GoodMoon = false, .WarningMinutes = 30}));
  ASSERT_TRUE(SaveGamePath(Folder() + "Games" + kPathSeparator + "hero.zrd"));
  ModifiedLater(Folder() + "ZRDDIR.DAT");
  Tick();
  EXPECT_EQ(Calibration.ZRDDate.str(), "03/14/0002");
  EXPECT_EQ(Calibration.ZRDTime.str(), "23:59:00");
  EXPECT_EQ(main.Alarms, (AlarmSettings{.GoodMoon = false, .WarningMinutes = 30}));
  EXPECT_EQ(GamePath, Folder() + "Games" + kPathSeparator);

  Tick(2);  // game 23:59:18 at real 10:00:02
  StoreFromOutside(stored);  // stored once more, after the last tick: the exit takes it up
  main.mnuExit_Click();
  EXPECT_EQ(ReadFile("ZRDTIMES.DAT"), "10:00:02\r\n12/06/2026\r\n23:59:18\r\n03/14/0002\r\n");
  EXPECT_EQ(platform.Count("ShowMessage "), 0u);
}

TEST_F(LiveDataTest, TheMoonAlarmsDialogOpensWithWhatTheFileHoldsNow) {
  main.Form_Load();
  ASSERT_TRUE(SaveSettings({.WarningMinutes = 45}));  // no tick between
  std::string shown;
  platform.DialogActions.push_back([&shown](Dialog& dialog) {
    shown = dialog.Text(ControlId::txtWarningMinutes);
  });
  main.mnuMoonAlarms_Click();
  EXPECT_EQ(shown, "45");
}

// A folder in the place of each file in turn: the start says so in one message naming it, the
// defaults stand in, and neither a new pair, nor a game folder, nor the exit writes over it.
TEST_F(LiveDataTest, AFileThatCannotBeReadIsNamedOnceAndNeverWrittenOver) {
  for (const std::string name : {"ZRDTIMES.DAT", "ZRDDIR.DAT", "TARVEX.INI"}) {
    RecordingPlatform desk;
    frmTarvexMain tray(desk);
    const std::string file = Folder() + name;
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    tray.Form_Load();
    EXPECT_EQ(desk.Lines("ShowMessage "),
              Texts{"Tarvex: " + file +
                    " cannot be read: it is a folder.  Tarvex runs on its defaults and does not "
                    "write over it."})
        << name;
    desk.Log.clear();
    desk.FilesToChoose.push_back(Folder() + "hero.zrd");
    tray.mnuSetPath_Click();
    tray.mnuExit_Click();
    tray.Form_Unload();
    EXPECT_TRUE(std::filesystem::is_directory(file)) << name;
    const Texts refused = {"The game folder could not be saved.  " + file +
                           " could not be read, so it is not written over."};
    EXPECT_EQ(desk.Lines("ShowMessage Tarvex: "), name == "ZRDDIR.DAT" ? refused : Texts{})
        << name;
    std::filesystem::remove(file);
  }
}

}  // namespace
}  // namespace tarvex::testing
