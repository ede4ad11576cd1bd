// The two dialogs on their own: their checks in order with their messages, what they store, and
// the text boxes' limits.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "dialogs/frmAutoRun.h"
#include "dialogs/frmDateTime.h"
#include "engine/modZRD.h"
#include "shell/frmTarvexMain.h"
#include "shell/tests/support/recording_platform.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

constexpr const char* kRealTimeFormat =
    "The real time is not in the correct format.  Please fix it and try again.";
constexpr const char* kRealTimeCalendar =
    "The real time is not a valid time of day.  Please fix it and try again.";
constexpr const char* kRealDateFormat =
    "The real date is not in the correct format.  Please fix it and try again.";
constexpr const char* kRealDateCalendar =
    "The real date is not a valid calendar date.  Please fix it and try again.";
constexpr const char* kGameTimeFormat =
    "The Kestrune time is not in the correct format.  Please fix it and try again.";
constexpr const char* kGameDateFormat =
    "The Kestrune date is not in the correct format.  Please fix it and try again.";

CalibrationRecord Record(const char* realTime, const char* realDate, const char* gameTime,
                         const char* gameDate) {
  CalibrationRecord record;
  record.RealTime = realTime;
  record.RealDate = realDate;
  record.ZRDTime = gameTime;
  record.ZRDDate = gameDate;
  return record;
}

TEST(frmDateTime, ChecksTheFourBoxesInOrderAndNamesOnlyTheFirstBadOne) {
  struct Case {
    const char* RealTime;
    const char* RealDate;
    const char* GameTime;
    const char* GameDate;
    const char* Message;  // nullptr: stored
  };
  const Case cases[] = {
      {"", "", "", "", kRealTimeFormat},
      {"25:00:00", "12/06/2026", "10:00:00", "01/01/0001", kRealTimeFormat},
      {"12:30", "12/06/2026", "10:00:00", "01/01/0001", kRealTimeFormat},
      {"24:00:00", "12/06/2026", "10:00:00", "01/01/0001", kRealTimeCalendar},
      {"12:30:", "12/06/2026", "10:00:00", "01/01/0001", kRealTimeCalendar},
      {"ab:cd:ef", "12/06/2026", "10:00:00", "01/01/0001", kRealTimeCalendar},
      {"24:00:00", "bad", "bad", "bad", kRealTimeCalendar},
      {"10:00:00", "", "10:00:00", "01/01/0001", kRealDateFormat},
      {"10:00:00", "13/01/2026", "10:00:00", "01/01/0001", kRealDateFormat},
      {"10:00:00", "00/10/2026", "", "", kRealDateFormat},
      {"10:00:00", "02/29/2026", "10:00:00", "01/01/0001", kRealDateCalendar},
      {"10:00:00", "04/31/2026", "10:00:00", "01/01/0001", kRealDateCalendar},
      {"10:00:00", "01/01/abcd", "10:00:00", "01/01/0001", kRealDateCalendar},
      {"10:00:00", "01/02/03", "10:00:00", "01/01/0001", kRealDateCalendar},
      {"10:00:00", "02/31/2026", "", "", kRealDateCalendar},
      {"10:00:00", "02/29/2028", "", "01/01/0001", kGameTimeFormat},
      {"10:00:00", "12/06/2026", "12:60:00", "01/01/0001", kGameTimeFormat},
      {"10:00:00", "12/06/2026", "10:00:00", "", kGameDateFormat},
      {"10:00:00", "12/06/2026", "10:00:00", "00/10/2003", kGameDateFormat},
      {"10:00:00", "12/06/2026", "10:00:00", "01/32/0001", kGameDateFormat},
      // The game fields keep the plain rules.
      {"10:00:00", "12/06/2026", "24:00:00", "02/31/2003", nullptr},
      {"10:00:00", "12/06/2026", "12:30:", "01/02/03", nullptr},
      {"10:00:00", "12/06/2026", "ab:cd:ef", "01/01/0001", nullptr},
      {"23:59:59", "02/29/2028", "00:00:00", "12/28/9999", nullptr},
  };
  for (const Case& c : cases) {
    const std::string name =
        std::string(c.RealTime) + " | " + c.RealDate + " | " + c.GameTime + " | " + c.GameDate;
    RecordingPlatform platform;
    CalibrationRecord calibration = Record("01:01:01", "01/01/2001", "02:02:02", "02/02/0002");
    const CalibrationRecord before = calibration;
    frmDateTime dialog(platform, calibration);
    dialog.SetText("txtRealTime", c.RealTime);
    dialog.SetText("txtRealDate", c.RealDate);
    dialog.SetText("txtZRDTime", c.GameTime);
    dialog.SetText("txtZRDDate", c.GameDate);
    dialog.Click("cmdSetDateandTime");
    if (c.Message) {
      ASSERT_EQ(platform.Messages.size(), 1u) << name;
      EXPECT_EQ(platform.Messages[0].Text, c.Message) << name;
      EXPECT_EQ(platform.Messages[0].Title, "Tarvex") << name;
      EXPECT_EQ(calibration, before) << name << ": nothing stored";
      EXPECT_FALSE(dialog.Closed()) << name;
      EXPECT_EQ(dialog.Text("txtRealDate"), c.RealDate) << name << ": boxes as the user left them";
    } else {
      EXPECT_TRUE(platform.Messages.empty()) << name;
      EXPECT_EQ(calibration, Record(c.RealTime, c.RealDate, c.GameTime, c.GameDate)) << name;
      EXPECT_TRUE(dialog.Closed()) << name;
    }
  }
}

TEST(frmDateTime, TheBoxesTakeNoMoreThanTheirLimitInCharacters) {
  struct Case {
    const char* Box;
    std::string Typed;
    std::string Kept;
  };
  const std::string e = "\xC3\xA9";  // one character, two bytes
  const Case cases[] = {
      {"txtRealTime", "10:00:00x", "10:00:00"},
      {"txtZRDTime", "10:00:00", "10:00:00"},
      {"txtRealDate", "12/06/20261", "12/06/2026"},
      {"txtZRDDate", "12/06/2026", "12/06/2026"},
      {"txtRealTime", e + e + e + e + e + e + e + e + e, e + e + e + e + e + e + e + e},
      {"txtZRDDate", "", ""},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform;
    CalibrationRecord calibration;
    frmDateTime dialog(platform, calibration);
    dialog.SetText(c.Box, c.Typed);
    EXPECT_EQ(dialog.Text(c.Box), c.Kept) << c.Box << " typed " << c.Typed;
  }
}

TEST(frmDateTime, TextWrittenPastTheLimitIsCutBeforeItIsChecked) {
  RecordingPlatform platform;
  CalibrationRecord calibration;
  frmDateTime dialog(platform, calibration);
  dialog.txtRealTime = "10:00:00 and more";
  dialog.txtRealDate = "12/06/2026";
  dialog.txtZRDTime = "10:00:00";
  dialog.txtZRDDate = "01/01/0001";
  dialog.cmdSetDateandTime_Click();
  EXPECT_TRUE(platform.Messages.empty());
  EXPECT_EQ(calibration.RealTime.str(), "10:00:00");
  EXPECT_EQ(dialog.txtRealTime, "10:00:00");
}

TEST(frmDateTime, CancelAndTheCloseBoxStoreNothing) {
  for (const bool closeBox : {false, true}) {
    RecordingPlatform platform;
    CalibrationRecord calibration = Record("01:01:01", "01/01/2001", "02:02:02", "02/02/0002");
    const CalibrationRecord before = calibration;
    frmDateTime dialog(platform, calibration);
    dialog.SetText("txtRealTime", "10:00:00");
    dialog.SetText("txtRealDate", "bad");
    dialog.Click("cmdSetDateandTime");  // a failed attempt first
    dialog.SetText("txtRealDate", "12/06/2026");
    dialog.SetText("txtZRDTime", "10:00:00");
    dialog.SetText("txtZRDDate", "01/01/0001");
    if (closeBox) {
      dialog.CloseBox();
    } else {
      dialog.Click("cmdCancel");
    }
    EXPECT_TRUE(dialog.Closed()) << (closeBox ? "close box" : "Cancel");
    EXPECT_EQ(calibration, before) << (closeBox ? "close box" : "Cancel");
  }
}

// --- The auto-run dialog -----------------------------------------------------------------------

constexpr const char* kTimeFormat =
    "The time is not in the correct format.  Please fix it and try again.";
constexpr const char* kDateFormat =
    "The date is not in the correct format.  Please fix it and try again.";
constexpr const char* kNoCharacter = "You must load a character file.";

TEST(frmAutoRun, ChecksTimeThenDateThenCharacterFileAndRefusesMomentsThatCannotCome) {
  struct Case {
    const char* Time;
    const char* Date;
    const char* Character;
    const char* Message;  // nullptr: armed
  };
  const Case cases[] = {
      {"", "", "", kTimeFormat},
      {"25:00:00", "12/06/2026", "C:\\hero.zrd", kTimeFormat},
      {"12:30", "12/06/2026", "C:\\hero.zrd", kTimeFormat},
      {"24:00:00", "12/06/2026", "C:\\hero.zrd", kTimeFormat},  // no present hour is 24
      {"24:59:59", "12/06/2026", "C:\\hero.zrd", kTimeFormat},
      {"10:30:00", "", "C:\\hero.zrd", kDateFormat},
      {"10:30:00", "13/01/2026", "", kDateFormat},
      {"10:30:00", "01/02/03", "C:\\hero.zrd", kDateFormat},  // never equals a full date
      {"10:30:00", "01/02/203", "C:\\hero.zrd", kDateFormat},
      {"10:30:00", "01/02/2026 ", "C:\\hero.zrd", kDateFormat},
      {"10:30:00", " 1/02/2026", "C:\\hero.zrd", kDateFormat},
      {"10:30:00", "01/02/20x6", "C:\\hero.zrd", kDateFormat},
      {"10:30:00", "01/02/2026", "", kNoCharacter},
      {"23:59:00", "02/31/2003", "C:\\hero.zrd", nullptr},
      {"00:00:00", "12/28/0001", "any text at all", nullptr},
      {"10:30:", "01/02/2026", "C:\\hero.zrd", nullptr},
      {"10:30:00 pm", "01/02/2026", "C:\\hero.zrd", nullptr},
  };
  for (const Case& c : cases) {
    const std::string name = std::string(c.Time) + " | " + c.Date + " | " + c.Character;
    RecordingPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    dialog.SetText("txtTime", c.Time);
    dialog.SetText("txtDate", c.Date);
    dialog.SetText("txtCharacterFile", c.Character);
    dialog.Click("cmdOK");
    if (c.Message) {
      ASSERT_EQ(platform.Messages.size(), 1u) << name;
      EXPECT_EQ(platform.Messages[0].Text, c.Message) << name;
      EXPECT_EQ(platform.Messages[0].Title, "Tarvex") << name;
      EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune)) << name;
      EXPECT_EQ(main.AutoRunTime, "") << name << ": nothing stored";
      EXPECT_FALSE(dialog.Closed()) << name;
    } else {
      EXPECT_TRUE(platform.Messages.empty()) << name;
      EXPECT_TRUE(main.Checked(MenuItem::AutoRunKestrune)) << name;
      EXPECT_EQ(main.AutoRunTime, c.Time) << name;
      EXPECT_EQ(main.AutoRunDate, c.Date) << name;
      EXPECT_TRUE(dialog.Closed()) << name;
    }
  }
}

TEST(frmAutoRun, OkStoresTheRawTextsAndTheChosenKindOfTime) {
  for (const bool realTime : {false, true}) {
    RecordingPlatform platform;
    frmTarvexMain main(platform);
    frmAutoRun dialog(platform, main);
    EXPECT_TRUE(dialog.Value("optKSTime"));
    EXPECT_FALSE(dialog.Value("optRLTime"));
    if (realTime) dialog.Click("optRLTime");
    EXPECT_EQ(dialog.Value("optRLTime"), realTime);
    EXPECT_EQ(dialog.Value("optKSTime"), !realTime);
    dialog.SetText("txtTime", "10:30:00");
    dialog.SetText("txtDate", "03/14/0002");
    dialog.SetText("txtCharacterFile", "C:\\Games (x86)\\hero.zrd");
    dialog.SetText("txtPassword", "");
    dialog.Click("cmdOK");
    EXPECT_EQ(main.AutoRunKSTime, !realTime);
    EXPECT_EQ(main.AutoRunCharacter, "C:\\Games (x86)\\hero.zrd") << "escaped later, not here";
    EXPECT_EQ(main.AutoRunPassword, "");
    EXPECT_TRUE(main.Checked(MenuItem::AutoRunKestrune));
  }
}

TEST(frmAutoRun, LoadPutsTheChosenFileInTheBoxAndACancelKeepsIt) {
  RecordingPlatform platform;
  frmTarvexMain main(platform);
  frmAutoRun dialog(platform, main);
  GamePath = "C:\\Games\\Kestrune\\";
  dialog.SetText("txtCharacterFile", "typed by hand");
  platform.FilesToChoose = {"C:\\Games\\Kestrune\\hero.zrd", ""};
  dialog.Click("cmdLoad");
  EXPECT_EQ(dialog.Text("txtCharacterFile"), "C:\\Games\\Kestrune\\hero.zrd");
  dialog.Click("cmdLoad");
  EXPECT_EQ(dialog.Text("txtCharacterFile"), "C:\\Games\\Kestrune\\hero.zrd");
  ASSERT_EQ(platform.FileRequests.size(), 2u);
  EXPECT_EQ(platform.FileRequests[0].FileName, "");
  EXPECT_EQ(platform.FileRequests[0].InitialFolder, "C:\\Games\\Kestrune\\");
  EXPECT_EQ(platform.FileRequests[0].FilterDescription, "Kestrune Character Files (*.zrd) ");
  EXPECT_EQ(platform.FileRequests[0].FilterPattern, "*.zrd");
  EXPECT_TRUE(platform.Messages.empty());
  EXPECT_FALSE(dialog.Closed());
}

TEST(frmAutoRun, CancelAndTheCloseBoxStoreNothing) {
  for (const bool closeBox : {false, true}) {
    RecordingPlatform platform;
    frmTarvexMain main(platform);
    main.AutoRunTime = "09:00:00";
    frmAutoRun dialog(platform, main);
    dialog.SetText("txtTime", "10:30:00");
    dialog.SetText("txtDate", "03/14/0002");
    dialog.SetText("txtCharacterFile", "C:\\hero.zrd");
    if (closeBox) {
      dialog.CloseBox();
    } else {
      dialog.Click("cmdCancel");
    }
    EXPECT_TRUE(dialog.Closed());
    EXPECT_EQ(main.AutoRunTime, "09:00:00") << (closeBox ? "close box" : "Cancel");
    EXPECT_FALSE(main.Checked(MenuItem::AutoRunKestrune)) << (closeBox ? "close box" : "Cancel");
  }
}

}  // namespace
}  // namespace tarvex::testing
