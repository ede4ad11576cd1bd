// The moon alarms in the tray: the dialog's checks and its file, and the alerts of the ticks.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <tuple>

#include "dialogs/frmAlarms.h"
#include "shell/tests/support/shell_fixture.h"

namespace tarvex::testing {
namespace {

using AlarmsTest = ShellTest;

// OK and "Try It" check alike: a refusal says why and puts the focus on the minutes box; a pass
// hands on the settings as the boxes show them.
TEST(frmAlarms, OkAndTryItCheckTheMinutesOnlyWhenTheWarningIsOn) {
  const char* bad =
      "Tarvex: The warning minutes must be a whole number from 0 to 1440.  Please "
      "fix it and try again.";
  // The minutes typed, whether the warning is on, and the minutes saved (-1: refused). They are
  // read as the file's WarningMinutes are (settings_test.cpp).
  const std::tuple<const char*, bool, int> cases[] = {
      {"10", true, 10}, {"0", true, 0},    {"1441", true, -1}, {"5 ", true, -1},
      {"", true, -1},   {"abc", false, 0}, {"", false, 0}};
  for (const auto& [typed, warn, minutes] : cases) {
    for (const ControlId button : {ControlId::cmdTryIt, ControlId::cmdOK}) {
      const std::string name = std::string("'") + typed + "'" + (warn ? " on " : " off ") +
                               std::string(ControlName(button));
      RecordingPlatform platform;
      AlarmSettings saved{false, false, -1, false, false}, tried = saved;
      frmAlarms dialog(
          platform, AlarmSettings{}, [&](const AlarmSettings& s) { return saved = s, true; },
          [&](const AlarmSettings& s) { tried = s; });
      if (!warn) dialog.Click(ControlId::chkWarn);
      dialog.Click(ControlId::chkSound);
      dialog.SetText(ControlId::txtWarningMinutes, typed);
      dialog.Click(button);
      EXPECT_EQ(dialog.Closed(), minutes >= 0 && button == ControlId::cmdOK) << name;
      EXPECT_EQ(platform.Lines("ShowMessage "), minutes >= 0 ? Texts{} : Texts{bad}) << name;
      EXPECT_EQ(dialog.TakeFocus(),
                minutes >= 0 ? std::nullopt : std::optional(ControlId::txtWarningMinutes))
          << name;
      const AlarmSettings none{false, false, -1, false, false};
      const AlarmSettings shown =
          minutes >= 0 ? AlarmSettings{true, true, minutes, true, false} : none;
      EXPECT_EQ(button == ControlId::cmdOK ? saved : tried, shown) << name;
      EXPECT_EQ(button == ControlId::cmdOK ? tried : saved, none) << name;
    }
  }
}

// The boxes of the later settings: what is typed, and what OK saves or says, and the box it then
// focuses. A repeat is read only while the warning is on; the quiet times go in pairs.
TEST(frmAlarms, OkChecksTheRepeatTheQuietHoursAndTheSounds) {
  const std::string fix = "  Please fix it and try again.";
  const std::string repeat =
      "Tarvex: The repeat must be a whole number of minutes from 0 to 1440." + fix;
  const std::string quiet =
      "Tarvex: The quiet hours must be two times of day from 00:00 to 23:59, or none." + fix;
  const std::string sound =
      "Tarvex: A sound must be the path of a WAV file (.wav), or empty for the system's sound." +
      fix;
  struct Case {
    ControlId box;
    const char* typed;
    std::string saved;  // the settings' later fields, or the message
    bool warn = true;
  };
  const Case cases[] = {
      {ControlId::txtRepeatMinutes, "5", "5 |-| |"},
      {ControlId::txtRepeatMinutes, "1441", repeat + " @txtRepeatMinutes"},
      {ControlId::txtRepeatMinutes, "x", "0 |-| |", false},
      {ControlId::txtQuietFrom, "22:00", quiet + " @txtQuietTo"},
      {ControlId::txtQuietFrom, "7:5", quiet + " @txtQuietFrom"},
      {ControlId::txtQuietTo, "24:00", quiet + " @txtQuietFrom"},
      {ControlId::txtGoodSound, "C:\\bell.wav", "0 |-|C:\\bell.wav |"},
      {ControlId::txtGoodSound, "bell", sound + " @txtGoodSound"},
      {ControlId::txtBadSound, "bell.mp3", sound + " @txtBadSound"},
  };
  for (const Case& c : cases) {
    RecordingPlatform platform;
    std::optional<AlarmSettings> saved;
    frmAlarms dialog(
        platform, AlarmSettings{}, [&](const AlarmSettings& s) { return saved = s, true; },
        [](const AlarmSettings&) {});
    if (!c.warn) dialog.Click(ControlId::chkWarn);
    dialog.SetText(c.box, c.typed);
    dialog.Click(ControlId::cmdOK);
    const std::string shown = saved ? std::to_string(saved->RepeatMinutes) + " " +
                                          saved->QuietFrom + "|-|" + saved->QuietTo +
                                          saved->GoodSound + " |" + saved->BadSound
                                    : platform.Lines("ShowMessage ").at(0) + " @" +
                                          std::string(ControlName(*dialog.TakeFocus()));
    EXPECT_EQ(shown, c.saved) << c.typed;
  }

  // Both quiet times, "When the moon ends", and a sound chosen with "…".
  RecordingPlatform platform;
  platform.FilesToChoose.push_back("/home/me/sounds/gong.wav");
  AlarmSettings saved;
  frmAlarms dialog(
      platform, AlarmSettings{.BadSound = "/home/me/old/bell.wav"},
      [&](const AlarmSettings& s) { return saved = s, true; }, [](const AlarmSettings&) {});
  dialog.SetText(ControlId::txtQuietFrom, "23:00");
  dialog.SetText(ControlId::txtQuietTo, "6:30");
  dialog.Click(ControlId::chkAtEnd);
  dialog.Click(ControlId::cmdBadSound);
  EXPECT_EQ(platform.Lines("ShowOpenFileDialog "),
            Texts{"'Moon Alarm Sound' 'bell.wav' in /home/me/old/ for 'Sound Files (*.wav) |*.wav' "
                  "or 'Sound Files (*.wav)'"});
  EXPECT_EQ(dialog.Text(ControlId::txtBadSound), "/home/me/sounds/gong.wav");
  dialog.Click(ControlId::cmdOK);
  EXPECT_EQ(saved, (AlarmSettings{.AtEnd = true,
                                  .QuietFrom = "23:00",
                                  .QuietTo = "06:30",
                                  .BadSound = "/home/me/sounds/gong.wav"}));
}

// The label beside the minutes box counts the minutes as the box reads them, as they are typed;
// a box that reads as no number leaves the plural.
TEST(frmAlarms, TheMinutesLabelCountsWhatTheBoxHolds) {
  // The minutes stored, what is typed into the box (nullptr: nothing, the box as it opens), and
  // the label.
  const std::tuple<int, const char*, const char*> cases[] = {
      {1, nullptr, "minute before"}, {10, nullptr, "minutes before"}, {10, "1", "minute before"},
      {1, "01", "minute before"},    {1, "0", "minutes before"},      {1, "11", "minutes before"},
      {1, "1 ", "minutes before"},   {1, "", "minutes before"},       {1, "x", "minutes before"}};
  for (const auto& [stored, typed, caption] : cases) {
    const std::string name = std::to_string(stored) + " '" + (typed ? typed : "(none)") + "'";
    RecordingPlatform platform;
    frmAlarms dialog(
        platform, AlarmSettings{true, true, stored, true, true},
        [](const AlarmSettings&) { return true; }, [](const AlarmSettings&) {});
    if (typed) dialog.Edited(ControlId::txtWarningMinutes, typed);
    EXPECT_EQ(dialog.LabelCaption(ControlId::Label1), caption) << name;
    EXPECT_EQ(dialog.LabelCaption(ControlId::chkWarn), "Warn") << name << ": others as laid out";
  }
}

TEST_F(AlarmsTest, TheDialogShowsTheFileAndOkSavesItWhileAFailedSaveSaysSo) {
  std::ofstream(Folder() + "TARVEX.INI", std::ios::binary)
      << "; mine\r\n[Alarms]\r\nBadMoon=no\r\nWarningMinutes=0\r\n";
  LoadWith("10:00:00", "03/14/0002");
  platform.DialogActions.push_back([](Dialog& dialog) {
    EXPECT_TRUE(dialog.Value(ControlId::chkGoodMoon));
    EXPECT_FALSE(dialog.Value(ControlId::chkBadMoon));
    EXPECT_FALSE(dialog.Value(ControlId::chkWarn));
    EXPECT_EQ(dialog.Text(ControlId::txtWarningMinutes), "10") << "offered when turned on";
    dialog.Click(ControlId::chkWarn);
    dialog.SetText(ControlId::txtWarningMinutes, "25");
    dialog.Click(ControlId::cmdOK);
  });
  main.MenuCommand(MenuItem::MoonAlarms);
  EXPECT_EQ(main.Alarms, (AlarmSettings{true, false, 25, true, true}));
  EXPECT_EQ(ReadFile("TARVEX.INI"),
            "; mine\r\n[Alarms]\r\nBadMoon=off\r\nWarningMinutes=25\r\n"
            "GoodMoon=on\r\nAtStart=on\r\nSound=on\r\n");

  SetDataFileCalls({.Replace = [](const std::filesystem::path&, const std::filesystem::path&) {
    return Result::Failure("the disk is full");  // no save can succeed now
  }});
  platform.DialogActions.push_back([](Dialog& dialog) {
    dialog.Click(ControlId::chkSound);
    dialog.Click(ControlId::cmdOK);
  });
  main.MenuCommand(MenuItem::MoonAlarms);
  EXPECT_FALSE(main.Alarms.Sound) << "in force for this run";
  EXPECT_EQ(platform.Lines("ShowMessage ").back(),
            "Tarvex: The moon alarms could not be saved to " + Folder() +
                "TARVEX.INI.  They hold until Tarvex closes.");
  EXPECT_NE(ReadFile("TARVEX.INI").find("Sound=on"), std::string::npos) << "the old file stays";
  SetDataFileCalls({});
}

// Game 23:59:00 on day 14: the good moon begins 3 1/3 real seconds later, so its warning is due at
// once. Each alert reaches the desktop once, with the moon's picture.
TEST_F(AlarmsTest, TicksFireEachAlertOnce) {
  LoadWith("23:59:00", "03/14/0002");
  Tick(20);
  EXPECT_EQ(platform.Lines("ShowAlert "), Texts({"105 sound: GOOD MOON IN 1 MINUTE, AT 10:00 AM",
                                                 "105 sound: GOOD MOON NOW, UNTIL 11:20 AM"}));
}

// "Try It" shows a sample of what the boxes hold, not of what is stored, marked transient so that
// no notification history keeps it; its time is now plus the box's minutes, whatever the moons
// do. A refused box shows no sample. The dialog stays open and nothing is stored.
TEST_F(AlarmsTest, TryItShowsATransientSampleOfTheBoxesMinutesFromNow) {
  LoadWith("10:00:00", "03/03/0002");
  Tick(20);  // 10:00:10
  // The minutes typed, whether the good moon and the sound are turned off, and what shows.
  const std::tuple<const char*, bool, std::string> cases[] = {
      {"1", false, "ShowAlert 105 sound transient: SAMPLE: GOOD MOON IN 1 MINUTE, AT 10:01 AM"},
      {"10", false, "ShowAlert 105 sound transient: SAMPLE: GOOD MOON IN 10 MINUTES, AT 10:10 AM"},
      {"75", true, "ShowAlert 101 transient: SAMPLE: BAD MOON IN 1 HOUR 15 MINUTES, AT 11:15 AM"},
      {"abc", false,
       "ShowMessage Tarvex: The warning minutes must be a whole number from 0 to 1440.  Please "
       "fix it and try again."}};
  for (const auto& [typed, badOnly, shown] : cases) {
    platform.DialogActions.push_back([&](Dialog& dialog) {
      if (badOnly) dialog.Click(ControlId::chkGoodMoon), dialog.Click(ControlId::chkSound);
      dialog.Edited(ControlId::txtWarningMinutes, typed);
      dialog.Click(ControlId::cmdTryIt);
      EXPECT_FALSE(dialog.Closed()) << typed;
    });
    platform.Log.clear();
    main.MenuCommand(MenuItem::MoonAlarms);  // closed by its close box: nothing changes
    EXPECT_EQ(platform.Log, Texts({"ShowDialog Alarms", shown})) << typed;
  }
  EXPECT_EQ(main.Alarms, AlarmSettings{});
}

// Game 21:00:00 on day 14: the good moon begins ten real minutes later, at 10:10:00, and ends at
// 11:30:00. The warning comes again every 4 minutes; the one in the quiet hours plays no sound;
// the player's own sound goes with the others, and the end has its alert. "24-Hour Clock" in the
// menu writes every time of day as 10:10 from then on and is kept in TARVEX.INI.
TEST_F(AlarmsTest, RepeatsQuietHoursOwnSoundsAndThe24HourClock) {
  const std::string bell = Folder() + "bell.wav";
  std::ofstream(bell, std::ios::binary) << "RIFF";
  std::ofstream(Folder() + "TARVEX.INI", std::ios::binary)
      << "[Alarms]\r\nRepeat=4\r\nAtEnd=on\r\nQuietFrom=10:05\r\nQuietTo=10:09\r\n"
      << "GoodSound=" << bell << "\r\nBadSound=" << Folder() << "gone.wav\r\n";
  LoadWith("21:00:00", "03/14/0002");
  EXPECT_FALSE(main.Checked(MenuItem::Clock24));
  const std::vector<MenuEntry> menu = main.PopupMenu();
  const auto item = std::find_if(menu.begin(), menu.end(),
                                 [](const MenuEntry& e) { return e.Item == MenuItem::Clock24; });
  ASSERT_NE(item, menu.end());
  EXPECT_EQ(std::next(item)->Item, MenuItem::Sep3) << "above the separator before Exit";
  EXPECT_EQ(item->Caption, "24-Hour Clock");
  EXPECT_TRUE(item->Checkable);
  main.MenuCommand(MenuItem::Clock24);
  EXPECT_TRUE(main.Checked(MenuItem::Clock24));
  EXPECT_NE(ReadFile("TARVEX.INI").find("[Display]\r\n"), std::string::npos);
  EXPECT_NE(ReadFile("TARVEX.INI").find("Clock=24\r\n"), std::string::npos);
  EXPECT_NE(VisibleTip(platform.Tray.back()).find("GOOD MOON TODAY AT 10:10"), std::string::npos)
      << "the tray is given the new tip at once";

  Tick(2 * 91 * 60);
  const std::string sound = "105 sound " + bell + ": ";
  EXPECT_EQ(
      platform.Lines("ShowAlert "),
      Texts({sound + "GOOD MOON IN 10 MINUTES, AT 10:10",
             sound + "GOOD MOON IN 6 MINUTES, AT 10:10", "105: GOOD MOON IN 2 MINUTES, AT 10:10",
             sound + "GOOD MOON NOW, UNTIL 11:30", sound + "GOOD MOON OVER AT 11:30"}));

  // A sound file that is gone: logged, and the desktop's sound instead.
  platform.DialogActions.push_back([](Dialog& dialog) {
    dialog.Click(ControlId::chkGoodMoon);
    dialog.Click(ControlId::cmdTryIt);
  });
  main.MenuCommand(MenuItem::MoonAlarms);
  EXPECT_EQ(platform.Lines("ShowAlert ").back(),
            "101 sound transient: SAMPLE: BAD MOON IN 10 MINUTES, AT 11:41");
  EXPECT_NE(ReadFile("tarvex.log").find("The sound file " + Folder() + "gone.wav cannot be found"),
            std::string::npos);
}

}  // namespace
}  // namespace tarvex::testing
