// The menu commands that lead to dialogs: "Set Date and Time", "Set Kestrune Path" and
// "Auto Run Kestrune".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/modZRD.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using CommandsTest = ShellTest;

TEST_F(CommandsTest, SetPathExplainsItselfThenOpensTheFileDialogInTheGameFolder) {
  main.Form_Load();
  platform.FilesToChoose = {""};  // cancelled
  main.mnuSetPath_Click();

  EXPECT_EQ(platform.Log, (std::vector<std::string>{
                              "StartTimer 500", "NotifyIcon Add",
                              "ShowMessage Set Path: To set the path, open a character file that "
                              "resides in the same directory as the game.",
                              "ShowOpenFileDialog"}));
  ASSERT_EQ(platform.FileRequests.size(), 1u);
  const FileOpenRequest& request = platform.FileRequests[0];
  EXPECT_EQ(request.FileName, "");
  EXPECT_EQ(request.InitialFolder, Folder()) << "no folder set yet: the program's own";
  EXPECT_EQ(request.FilterDescription, "Kestrune Character Files (*.zrd) ");
  EXPECT_EQ(request.FilterPattern, "*.zrd");
  EXPECT_EQ(GamePath, Folder()) << "cancelled: unchanged";
  EXPECT_EQ(ReadFile("ZRDDIR.DAT"), "");
}

TEST_F(CommandsTest, SetPathKeepsTheFolderOfTheChosenCharacterFile) {
  main.Form_Load();
  const std::string folder = Folder() + "Kestrune" + kPathSeparator;
  platform.FilesToChoose = {folder + "hero.zrd"};
  main.mnuSetPath_Click();
  EXPECT_EQ(GamePath, folder);
  EXPECT_EQ(ReadFile("ZRDDIR.DAT"), folder + "\r\n");

  platform.FilesToChoose = {""};
  main.mnuSetPath_Click();
  EXPECT_EQ(GamePath, folder) << "a cancel keeps the folder";
  EXPECT_EQ(ReadFile("ZRDDIR.DAT"), folder + "\r\n");
  EXPECT_EQ(platform.Messages.size(), 2u) << "the explanation comes every time";
  EXPECT_EQ(platform.FileRequests.back().InitialFolder, folder);
}

TEST_F(CommandsTest, AGameFolderThatCannotBeSavedIsReported) {
  main.Form_Load();
  std::filesystem::create_directory(std::filesystem::path(Folder()) / "ZRDDIR.DAT.tmp");
  platform.FilesToChoose = {Folder() + "Kestrune" + kPathSeparator + "hero.zrd"};
  main.mnuSetPath_Click();
  ASSERT_EQ(platform.Messages.size(), 2u);
  EXPECT_EQ(platform.Messages[1].Text,
            "The game folder could not be saved to " + Folder() + "ZRDDIR.DAT.");
  EXPECT_EQ(platform.Messages[1].Title, "Tarvex");
  EXPECT_EQ(GamePath, Folder()) << "the folder in use stays the one on disk";
}

TEST_F(CommandsTest, TheCalibrationDialogIsCreatedAfreshEachTime) {
  LoadWith("10:29:00", "03/14/0002");
  platform.DialogActions.push_back([](Dialog& dialog) {
    EXPECT_EQ(dialog.Caption(), "Set Date and Time");
    dialog.SetText("txtRealTime", "09:15:00");
    dialog.SetText("txtRealDate", "12/05/2026");
    dialog.SetText("txtZRDTime", "01:02:03");
    dialog.SetText("txtZRDDate", "05/06/0007");
    dialog.Click("cmdSetDateandTime");
  });
  main.MenuCommand(MenuItem::SetDateandTime);
  EXPECT_EQ(Calibration.RealTime.str(), "09:15:00");
  EXPECT_EQ(Calibration.ZRDDate.str(), "05/06/0007");

  platform.DialogActions.push_back([](Dialog& dialog) {
    for (const char* box : {"txtRealTime", "txtRealDate", "txtZRDTime", "txtZRDDate"}) {
      EXPECT_EQ(dialog.Text(box), "") << box << " is not pre-filled";
    }
  });
  main.MenuCommand(MenuItem::SetDateandTime);
  EXPECT_EQ(platform.DialogsShown.size(), 2u);
}

TEST_F(CommandsTest, AnOpenDialogIsBroughtForwardInsteadOfOpeningASecondOne) {
  struct Case {
    MenuItem Item;
    DialogKind Kind;
  };
  for (const Case c : {Case{MenuItem::SetDateandTime, DialogKind::DateTime},
                       Case{MenuItem::AutoRunKestrune, DialogKind::AutoRun}}) {
    platform.DialogsShown.clear();
    platform.DialogsActivated.clear();
    platform.DialogActions.push_back([&](Dialog& dialog) {
      main.MenuCommand(c.Item);  // chosen again from the tray while the dialog is open
      main.MenuCommand(c.Item);
      dialog.Click("cmdCancel");
    });
    main.MenuCommand(c.Item);
    EXPECT_EQ(platform.DialogsShown, std::vector<DialogKind>{c.Kind}) << Name(c.Kind);
    EXPECT_EQ(platform.DialogsActivated, std::vector<DialogKind>(2, c.Kind)) << Name(c.Kind);

    main.MenuCommand(c.Item);  // closed now: a new one opens
    EXPECT_EQ(platform.DialogsShown.size(), 2u) << Name(c.Kind);
  }
}

TEST_F(CommandsTest, TicksRunWhileTheCalibrationDialogIsOpenAndItsStoreWins) {
  LoadWith("10:29:00", "03/14/0002");
  platform.DialogActions.push_back([this](Dialog& dialog) {
    dialog.SetText("txtRealTime", "10:00:00");
    dialog.SetText("txtRealDate", "12/06/2026");
    dialog.SetText("txtZRDTime", "20:00:00");
    dialog.SetText("txtZRDDate", "07/07/0007");
    RunSeconds(3);  // the user takes a while
    EXPECT_EQ(Calibration.ZRDTime.str(), "10:29:36");
    dialog.Click("cmdSetDateandTime");
  });
  main.mnuSetDateandTime_Click();
  // The new pair says game 20:00:00 was at real 10:00:00; it is now 10:00:03.
  Tick();
  EXPECT_EQ(Calibration.ZRDTime.str(), "20:00:54");
  EXPECT_EQ(Calibration.ZRDDate.str(), "07/07/0007");
}

}  // namespace
}  // namespace tarvex::testing
