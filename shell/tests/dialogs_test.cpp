// The menu commands that lead to dialogs ("Set Date and Time", "Set Kestrune Path", "Auto Run
// Kestrune"), and the two dialogs on their own: their checks in order with their messages.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using CommandsTest = ShellTest;

// The file dialog is titled after the command and starts in the game folder once one is stored,
// in the home folder before; its filter is shown as one text where the desktop shows one.
TEST_F(CommandsTest, SetPathExplainsItselfEachTimeAndKeepsTheFolderOfTheChosenFile) {
  main.Form_Load();
  const std::string folder = Folder() + "Kestrune" + kPathSeparator;
  platform.FilesToChoose = {folder + "hero.zrd", "", Folder() + "other.zrd"};
  main.mnuSetPath_Click();
  main.mnuSetPath_Click();  // cancelled
  EXPECT_EQ(GamePath, folder);
  EXPECT_EQ(ReadFile("ZRDDIR.DAT"), folder + "\r\n");
  // A folder that cannot be saved is reported, and the one on disk stays in use.
  std::filesystem::remove(std::filesystem::path(Folder()) / "ZRDDIR.DAT");
  std::filesystem::create_directory(std::filesystem::path(Folder()) / "ZRDDIR.DAT");
  main.mnuSetPath_Click();
  EXPECT_EQ(GamePath, folder);
  const std::string explain =
      "ShowMessage Set Path: To set the path, open a character file that resides in the same "
      "directory as the game.";
  const std::string open = "ShowOpenFileDialog 'Set Kestrune Path' '' in ";
  const std::string filter =
      " for 'Kestrune Character Files (*.zrd) |*.zrd' or 'Kestrune Character Files (*.zrd)'";
  EXPECT_EQ(platform.Log,
            Texts({"StartTimer 500", "NotifyIcon Add", explain, open + "/home/player/" + filter,
                   explain, open + folder + filter, explain, open + folder + filter,
                   "ShowMessage Tarvex: The game folder could not be saved.  " + Folder() +
                       "ZRDDIR.DAT could not be written: Is a directory."}));
}

// Each opening starts afresh (the auto-run's boxes empty); choosing the item again while it is open
// only activates it; Cancel and the close box leave everything as it was.
TEST_F(CommandsTest, AFreshDialogCancelledOrClosedLeavesEverythingAsItWas) {
  LoadBeforeGameMoment();
  Arm(true, "10:30:00", "03/14/0002", "C:\\k\\a(b).zrd", "{pw}");
  main.mnuAutoRunKestrune_Click();  // disarmed
  for (const MenuItem item : {MenuItem::SetDateandTime, MenuItem::AutoRunKestrune}) {
    for (const bool closeBox : {false, true}) {
      const std::string name =
          std::string(item == MenuItem::SetDateandTime ? "DateTime" : "AutoRun") +
          (closeBox ? " close box" : " Cancel");
      platform.DialogActions.push_back([&](Dialog& dialog) {
        EXPECT_EQ(dialog.Value(ControlId::optKSTime), item == MenuItem::AutoRunKestrune) << name;
        dialog.Click(ControlId::optRLTime);
        main.MenuCommand(item);
        for (const Control& control : dialog.Controls()) {  // texts that would pass the checks
          if (control.Kind != ControlKind::TextBox) continue;
          const std::string_view box = ControlName(control.Id);
          if (item == MenuItem::AutoRunKestrune) {
            EXPECT_EQ(dialog.Text(control.Id), "") << name;
          }
          dialog.SetText(control.Id, box.ends_with("Time")   ? "11:00:00"
                                     : box.ends_with("Date") ? "12/06/2026"
                                                             : "C:\\other.zrd");
        }
        if (!closeBox) dialog.Click(ControlId::cmdCancel);
      });
      const CalibrationRecord before = Calibration;
      main.AutoRunFired = true;  // spent, as after a launch
      main.MenuCommand(item);
      EXPECT_EQ(Calibration, before) << name;
      EXPECT_EQ(platform.Log.back(), "ActivateDialog " + name.substr(0, name.find(" ")));
      EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune)) << name;
      EXPECT_EQ(std::tie(main.AutoRunKSTime, main.AutoRunTime, main.AutoRunDate,
                         main.AutoRunCharacter, main.AutoRunPassword),
                std::make_tuple(true, "10:30:00", "03/14/0002", "C:\\k\\a{(}b{)}.zrd", ""))
          << name << ": not stored, nor escaped again; the password was wiped when disarmed";
      EXPECT_EQ(main.AutoRunFired, item == MenuItem::SetDateandTime) << name;
    }
  }
}

// The order of the checks and their words are the command line's too (its recorded calibrate
// cases). After a refusal the focus goes to the box at fault, its text selected.
TEST(frmDateTime, NamesOnlyTheFirstBadBoxAndFocusesItOrStoresTheFourTextsAsTyped) {
  // The four boxes, and the message (none: stored).
  const std::string format = ".  Please fix it and try again.";
  const std::string month =
      "The Kestrune date is not a valid Kestrune date.  A Kestrune month has 28 days.";
  using enum ControlId;
  const std::tuple<const char*, const char*, const char*, const char*, std::string, ControlId>
      cases[] = {
          {"24:00:00", "bad", "bad", "bad", "The real time is not a valid time of day" + format,
           txtRealTime},
          {"10:00:00", "02/30/2026", "bad", "bad",
           "The real date is not a valid calendar date" + format, txtRealDate},
          {"10:00:00", "12/06/2026", "10:00:00", "00/10/2003",
           "The Kestrune date is not in the correct format" + format, txtZRDDate},
          // The game date's day is one of the 28 of a Kestrune month, checked after its form.
          {"10:00:00", "12/06/2026", "10:00:00", "05/00/0003",
           "The Kestrune date is not in the correct format" + format, txtZRDDate},
          {"10:00:00", "12/06/2026", "10:00:00", "05/32/0003",
           "The Kestrune date is not in the correct format" + format, txtZRDDate},
          {"10:00:00", "12/06/2026", "25:00:00", "05/31/0003",
           "The Kestrune time is not in the correct format" + format, txtZRDTime},
          {"10:00:00", "12/06/2026", "10:00:00", "05/31/0003", month, txtZRDDate},
          {"10:00:00", "12/06/2026", "10:00:00", "05/29/0003", month, txtZRDDate},
          {"10:00:00", "12/06/2026", "10:00:00", "05/.5/0003", month, txtZRDDate},
          {"10:00:00", "12/06/2026", "10:00:00", "05/28/0003", "", cmdOK},
          {"10:00:00", "12/06/2026", "10:00:00", "05/1./0003", "", cmdOK},
          // Otherwise the game pair needs only the form: the game clock carries hour 24.
          {"23:59:59", "02/29/2028", "24:00:", "02/28/03", "", cmdOK}};
  for (const auto& [rt, rd, gt, gd, message, focus] : cases) {
    const std::string name = std::string(rt) + " | " + rd + " | " + gt + " | " + gd;
    RecordingPlatform platform;
    CalibrationRecord calibration, typed;
    frmDateTime dialog(platform, {}, [&](const CalibrationRecord& pair) { calibration = pair; });
    dialog.SetText(ControlId::txtRealTime, rt);
    dialog.SetText(ControlId::txtRealDate, rd);
    dialog.SetText(ControlId::txtZRDTime, gt);
    dialog.SetText(ControlId::txtZRDDate, gd);
    dialog.Click(ControlId::cmdSetDateandTime);
    if (message.empty()) {
      typed.RealTime = rt, typed.RealDate = rd;
      typed.ZRDTime = gt, typed.ZRDDate = gd;
    }
    EXPECT_EQ(calibration, typed) << name;
    EXPECT_EQ(dialog.Closed(), message.empty()) << name;
    EXPECT_EQ(platform.Lines("ShowMessage "),
              message.empty() ? Texts{} : Texts{"Tarvex: " + message})
        << name;
    EXPECT_EQ(dialog.TakeFocus(), message.empty() ? std::nullopt : std::optional(focus)) << name;
    EXPECT_EQ(dialog.Text(ControlId::txtRealDate), rd) << name << ": boxes as the user left them";
  }
}

// The dialog opens with the real moment it opened and, once the player has set a pair, the game
// clock of that moment; before, the game boxes are left to the player.
TEST_F(CommandsTest, SetDateAndTimeOpensWithTheMomentAndTheGameClockOnceAPairIsStored) {
  Texts shown;
  const auto read = [&shown](Dialog& dialog) {
    for (const ControlId box : {ControlId::txtRealTime, ControlId::txtRealDate,
                                ControlId::txtZRDTime, ControlId::txtZRDDate}) {
      shown.push_back(dialog.Text(box));
    }
  };
  main.Form_Load();  // no pair stored
  clock.Advance(3725);
  platform.DialogActions.push_back(read);
  main.MenuCommand(MenuItem::SetDateandTime);
  EXPECT_EQ(shown, Texts({"11:02:05", "12/06/2026", "", ""}));

  shown.clear();
  StoreFromOutside(PairOf("11:02:05", "12/06/2026", "18:00:00", "03/14/0002"));
  clock.Advance(20);  // six game minutes
  platform.DialogActions.push_back(read);
  main.MenuCommand(MenuItem::SetDateandTime);
  EXPECT_EQ(shown, Texts({"11:02:25", "12/06/2026", "18:06:00", "03/14/0002"}));
}

TEST(frmAutoRun, ChecksTimeThenDateThenCharacterFileAndRefusesMomentsThatCannotCome) {
  const char* timeMessage = "The time is not in the correct format.  Please fix it and try again.";
  const char* dateMessage = "The date is not in the correct format.  Please fix it and try again.";
  // Time, date, character file, and the message (none: armed).
  const std::tuple<const char*, const char*, const char*, const char*> cases[] = {
      {"", "", "", timeMessage},
      {"24:00:00", "12/06/2026", "C:\\hero.zrd", timeMessage},  // no present hour is 24
      {"10:30:00", "", "C:\\hero.zrd", dateMessage},
      {"10:30:00", "01/02/03", "C:\\hero.zrd", dateMessage},  // never equals a full date
      {"10:30:00", "01/02/2026", "", "You must load a character file."},
      {"23:59:00", "02/31/2003", "any text (at all)", nullptr},
      {"10:30:", "01/02/2026", "C:\\hero.zrd", nullptr}};
  for (const auto& [time, date, character, message] : cases) {
    const std::string name = std::string(time) + " | " + date + " | " + character;
    RecordingPlatform platform;
    AutoRunSettings armed;
    frmAutoRun dialog(platform, [&](const AutoRunSettings& settings) { armed = settings; });
    dialog.SetText(ControlId::txtTime, time);
    dialog.SetText(ControlId::txtDate, date);
    dialog.SetText(ControlId::txtCharacterFile, character);
    dialog.Click(ControlId::cmdOK);
    EXPECT_EQ(dialog.Closed(), !message) << name;
    EXPECT_EQ(armed.Time + " | " + armed.Date + " | " + armed.Character, message ? " |  | " : name)
        << "stored as typed, or not at all";
    EXPECT_EQ(platform.Lines("ShowMessage "),
              message ? Texts{std::string("Tarvex: ") + message} : Texts{})
        << name;
  }
}

}  // namespace
}  // namespace tarvex::testing
