#include "engine/settings.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <string>
#include <tuple>

#include "engine_fixture.h"

namespace tarvex {
namespace {

// The five values in the file's order, for short cases and failure messages: "on on 10 on on".
std::string Describe(const AlarmSettings& s) {
  const auto onOff = [](bool on) { return on ? "on" : "off"; };
  return std::string(onOff(s.GoodMoon)) + " " + onOff(s.BadMoon) + " " +
         std::to_string(s.WarningMinutes) + " " + onOff(s.AtStart) + " " + onOff(s.Sound);
}

constexpr const char* kDefaults = "on on 10 on on";

TEST(ParseSettings, ReadsTheAlarmsSectionAndFallsBackToDefaults) {
  // The file's text; the settings read; the values that cannot be read.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"[Alarms]\r\nGoodMoon=off\r\nBadMoon=0\r\nWarningMinutes=0025\r\nAtStart=False\r\nSound=NO",
       "off off 25 off off", ""},
      {"[alarms]\nGOODMOON = Yes\n  badMoon\t=\tOFF  \nwarningminutes=1440\rSound=TRUE",
       "on off 1440 on on", ""},
      {"[ Alarms ]\r\nAtStart=1\r\nSound=0\r\nWarningMinutes=0\r\n", "on on 0 on off", ""},
      {"; GoodMoon=off\r\n[Alarms]\r\n# BadMoon=off\r\n  ;WarningMinutes=5\r\n", kDefaults, ""},
      {"GoodMoon=off\r\n[Other]\r\nBadMoon=off\r\n[Alarms]\r\ngood=off\r\n", kDefaults, ""},
      {"[Alarms]\r\nGoodMoon=off\r\n[Other]\r\nBadMoon=off\r\n[ALARMS]\r\nSound=off\r\n",
       "off on 10 on off", ""},
      {"[Alarms]\r\nGoodMoon=off\r\nGoodMoon=on\r\nGoodMoon=bad\r\n", "off on 10 on on", ""},
      {"[Alarms]\r\nGoodMoon=maybe\r\nBadMoon=on ; always\r\nAtStart=\r\nSound=off\r\n",
       "on on 10 on off", "GoodMoon=maybe BadMoon=on ; always AtStart="},
      {"[Alarms]\r\nWarningMinutes=1441\r\n", kDefaults, "WarningMinutes=1441"},
      {"[Alarms]\r\nWarningMinutes=7.5\r\n", kDefaults, "WarningMinutes=7.5"},
      {"[Alarms]\r\nWarningMinutes=\r\n", kDefaults, "WarningMinutes="},
      {"[Alarms]\r\nWarningMinutes=99999999999\r\n", kDefaults, "WarningMinutes=99999999999"},
  };
  for (const auto& [text, settings, unreadable] : cases) {
    const SettingsReading reading = ParseSettings(text);
    std::string values;
    for (const auto& u : reading.unreadable)
      values += (values.empty() ? "" : " ") + u.key + "=" + u.value;
    EXPECT_EQ(Describe(reading.settings), settings) << text;
    EXPECT_EQ(values, unreadable) << text;
  }
}

TEST(SettingsText, ChangesTheFiveValuesAndKeepsEverythingElse) {
  const AlarmSettings changed{.GoodMoon = false, .WarningMinutes = 5};
  const std::pair<const char*, std::string> cases[] = {
      {"",
       "[Alarms]\r\nGoodMoon=off\r\nBadMoon=on\r\nWarningMinutes=5\r\nAtStart=on\r\nSound=on\r\n"},
      {"; Tarvex\n[alarms]\nGOODMOON = on\nColour=red\n\n; the game's own\n[Game]\nSound=loud\n"
       "[Alarms]\nWarningMinutes=ten\n",
       "; Tarvex\r\n[alarms]\r\nGOODMOON = off\r\nColour=red\r\nBadMoon=on\r\nAtStart=on\r\n"
       "Sound=on\r\n\r\n; the game's own\r\n[Game]\r\nSound=loud\r\n[Alarms]\r\n"
       "WarningMinutes=5\r\n"},
      {"[Game]\r\nX=1",
       "[Game]\r\nX=1\r\n\r\n[Alarms]\r\nGoodMoon=off\r\nBadMoon=on\r\nWarningMinutes=5\r\n"
       "AtStart=on\r\nSound=on\r\n"},
  };
  for (const auto& [old, text] : cases) {
    EXPECT_EQ(SettingsText(old, changed), text) << old;
    EXPECT_EQ(ParseSettings(text).settings, changed) << old;
  }
}

// [Display]: the tip's three views, read beside [Alarms] and written without touching it or any
// other line. Each case: the file's text; the views read (time, good moon, bad moon); the values
// that cannot be read; the text with the views time off, good on, bad on.
TEST(DisplaySettings, AreReadAndWrittenInTheirOwnSection) {
  const std::tuple<const char*, DisplaySettings, std::size_t, std::string> cases[] = {
      {"",
       {},
       0,
       "[Display]\r\nShowCurrentTime=off\r\nShowNextGoodMoon=on\r\nShowNextBadMoon=on\r\n"},
      {"[Alarms]\nGoodMoon=off\n; mine\n[display]\nSHOWNEXTBADMOON = yes\nShowCurrentTime=0\n",
       {false, true, true},
       0,
       "[Alarms]\r\nGoodMoon=off\r\n; mine\r\n[display]\r\nSHOWNEXTBADMOON = on\r\n"
       "ShowCurrentTime=off\r\nShowNextGoodMoon=on\r\n"},
      // Keys of one section are not read in the other.
      {"[Alarms]\nShowNextBadMoon=on\n[Display]\nGoodMoon=off\nShowNextGoodMoon=maybe\n",
       {},
       1,
       "[Alarms]\r\nShowNextBadMoon=on\r\n[Display]\r\nGoodMoon=off\r\nShowNextGoodMoon=on\r\n"
       "ShowCurrentTime=off\r\nShowNextBadMoon=on\r\n"},
  };
  const DisplaySettings changed{false, true, true};
  for (const auto& [old, display, unreadable, text] : cases) {
    const SettingsReading reading = ParseSettings(old);
    EXPECT_EQ(reading.display, display) << old;
    EXPECT_EQ(reading.unreadable.size(), unreadable) << old;
    EXPECT_EQ(reading.settings, ParseSettings(text).settings) << "the alarms stay: " << old;
    EXPECT_EQ(DisplayText(old, changed), text) << old;
    EXPECT_EQ(ParseSettings(text).display, changed) << old;
  }
}

// [Window]: the clock window's corner (both or none), shown, on top; a value that cannot be read
// keeps its default, and writing keeps every other line.
TEST(WindowSettings, AreReadAndWrittenInTheirOwnSection) {
  const std::tuple<const char*, WindowSettings, std::string> cases[] = {
      {"", {}, "[Window]\r\nLeft=-1280\r\nTop=40\r\nShown=on\r\nOnTop=off\r\n"},
      {"[window]\nleft = 10\ntop=-20\nshown=yes\nONTOP=1\nLeft=99\n[Alarms]\nSound=off\n",
       {10, -20, true, true},
       "[window]\r\nleft = -1280\r\ntop=40\r\nshown=on\r\nONTOP=off\r\nLeft=99\r\n"
       "[Alarms]\r\nSound=off\r\n"},
      {"[Window]\nLeft=12\nShown=maybe\n",
       {},
       "[Window]\r\nLeft=-1280\r\nShown=on\r\n"
       "Top=40\r\nOnTop=off\r\n"},  // no Top: no corner
      {"[Window]\nLeft=1000001\nTop=5\nOnTop=on\n",
       {{}, {}, false, true},
       "[Window]\r\nLeft=-1280\r\nTop=40\r\nOnTop=off\r\nShown=on\r\n"},
  };
  const WindowSettings changed{-1280, 40, true, false};
  for (const auto& [old, window, text] : cases) {
    EXPECT_EQ(ParseSettings(old).window, window) << old;
    EXPECT_EQ(WindowText(old, changed), text) << old;
    EXPECT_EQ(ParseWindow(text), changed) << old;
  }
  EXPECT_EQ(WindowText("", {{}, {}, true, false}), "[Window]\r\nShown=on\r\nOnTop=off\r\n")
      << "no corner known: none written";
}

using SettingsFile = testing::EngineTest;

TEST_F(SettingsFile, TheViewsAreWrittenOnlyWhenTheFileDoesNotReadAsThem) {
  EXPECT_TRUE(SaveDisplay(DisplaySettings{}));
  EXPECT_FALSE(std::filesystem::exists(File("TARVEX.INI")));
  Write("TARVEX.INI", "[Alarms]\nSound=off\n");
  ASSERT_TRUE(SaveDisplay({.NextBadMoon = true}));
  EXPECT_EQ(Read("TARVEX.INI"),
            "[Alarms]\r\nSound=off\r\n\r\n[Display]\r\nShowCurrentTime=on\r\n"
            "ShowNextGoodMoon=on\r\nShowNextBadMoon=on\r\n");
  EXPECT_EQ(ReadSettings().value.settings, AlarmSettings{.Sound = false});
}

// A failed save is among the data files' (files_test.cpp).
TEST_F(SettingsFile, IsWrittenOnlyWhenItDoesNotReadAsTheSettings) {
  EXPECT_EQ(ReadSettings().value.settings, AlarmSettings{});
  EXPECT_TRUE(SaveSettings(AlarmSettings{}));
  EXPECT_FALSE(std::filesystem::exists(File("TARVEX.INI")));
  ASSERT_TRUE(SaveSettings({.Sound = false}));
  EXPECT_EQ(ReadSettings().value.settings, AlarmSettings{.Sound = false});

  Write("TARVEX.INI", "[Alarms]\nSound=on\n");
  ASSERT_TRUE(SaveSettings({}));
  EXPECT_EQ(Read("TARVEX.INI"), "[Alarms]\nSound=on\n");
  Write("TARVEX.INI", "[Alarms]\r\nWarningMinutes=soon\r\n");
  ASSERT_TRUE(SaveSettings({}));
  EXPECT_TRUE(ReadSettings().value.unreadable.empty()) << Read("TARVEX.INI");
}

// Each case gives the settings after the pairs, or the first error, which leaves them as they
// were; the other errors' words are in the CLI's recorded transcript.
TEST(ApplySettingPairs, ChecksEveryPairBeforeApplyingAny) {
  const std::pair<std::vector<std::string>, const char*> cases[] = {
      {{"BAD = No", "At-Start=0", "SOUND=false", "warning=1440"}, "on off 1440 off off"},
      {{"GoodMoon=off", "WarningMinutes=3", "good=on"}, "on on 3 on on"},
      {{"good=off", "warning=abc", "bad=maybe"},
       "\"warning=abc\": warning takes a whole number of minutes from 0 to 1440"},
  };
  for (const auto& [pairs, expected] : cases) {
    const SettingsEdit edit = ApplySettingPairs(AlarmSettings{}, pairs);
    EXPECT_EQ(edit.error.empty() ? Describe(edit.settings) : edit.error, expected) << pairs[0];
    EXPECT_TRUE(edit.error.empty() || edit.settings == AlarmSettings{}) << pairs[0];
  }
}

// The keys added later: read and checked as the others, and written only once they differ from
// their defaults, so that an older file keeps its lines.
TEST(LaterKeys, AreReadCheckedAndWrittenOnlyOnceSet) {
  const SettingsReading read = ParseSettings(
      "[Alarms]\r\nRepeat=05\r\nAtEnd=yes\r\nQuietFrom=7:30\r\nQuietTo= 23:00\r\n"
      "GoodSound=C:\\Sounds\\Bell.WAV\r\nBadSound=\r\n[Display]\r\nClock=24\r\n");
  EXPECT_EQ(read.settings, (AlarmSettings{.RepeatMinutes = 5,
                                          .AtEnd = true,
                                          .QuietFrom = "07:30",
                                          .QuietTo = "23:00",
                                          .GoodSound = "C:\\Sounds\\Bell.WAV"}));
  EXPECT_TRUE(read.display.Clock24);
  EXPECT_TRUE(read.unreadable.empty());

  const SettingsReading bad = ParseSettings(
      "[Alarms]\nRepeat=1441\nAtEnd=later\nQuietFrom=24:00\nQuietTo=7.30\nGoodSound=bell.mp3\n"
      "BadSound=.wav\n[Display]\nClock=13\n");
  std::string keys;
  for (const UnreadableSetting& u : bad.unreadable) keys += u.key + " ";
  EXPECT_EQ(keys, "Repeat AtEnd QuietFrom QuietTo GoodSound BadSound Clock ");
  EXPECT_EQ(bad.settings, AlarmSettings{});
  EXPECT_FALSE(bad.display.Clock24);

  EXPECT_EQ(SettingsText("[Alarms]\r\nSound=off\r\n",
                         {.Sound = false, .QuietFrom = "22:00", .QuietTo = "06:30"}),
            "[Alarms]\r\nSound=off\r\nGoodMoon=on\r\nBadMoon=on\r\nWarningMinutes=10\r\n"
            "AtStart=on\r\nQuietFrom=22:00\r\nQuietTo=06:30\r\n");
  EXPECT_EQ(DisplayText("", {.Clock24 = true}),
            "[Display]\r\nShowCurrentTime=on\r\nShowNextGoodMoon=on\r\nShowNextBadMoon=off\r\n"
            "Clock=24\r\n");
  EXPECT_EQ(DisplayText("[Display]\r\nClock=24\r\n", {}),
            "[Display]\r\nClock=12\r\nShowCurrentTime=on\r\nShowNextGoodMoon=on\r\n"
            "ShowNextBadMoon=off\r\n");
}

TEST(InQuietHours, RunFromTheFirstTimeUpToTheSecondAcrossMidnightToo) {
  // From; to; the minutes of the day that are quiet among 0:00, 6:59, 7:00, 22:59, 23:00, 23:59.
  const std::tuple<const char*, const char*, const char*> cases[] = {
      {"07:00", "23:00", "-- -- 7:00 22:59 -- --"},
      {"23:00", "07:00", "0:00 6:59 -- -- 23:00 23:59"},
      {"07:00", "07:00", "-- -- -- -- -- --"},
      {"", "07:00", "-- -- -- -- -- --"},
  };
  const std::pair<int, const char*> minutes[] = {{0, "0:00"},     {419, "6:59"},   {420, "7:00"},
                                                 {1379, "22:59"}, {1380, "23:00"}, {1439, "23:59"}};
  for (const auto& [from, to, quiet] : cases) {
    std::string shown;
    for (const auto& [minute, name] : minutes) {
      shown += (shown.empty() ? "" : " ") +
               std::string(InQuietHours({.QuietFrom = from, .QuietTo = to}, minute) ? name : "--");
    }
    EXPECT_EQ(shown, quiet) << from << "-" << to;
  }
}

TEST(ApplySettingPairs, TakeTheLaterKeys) {
  const std::vector<std::string> good = {"repeat=5", "AT-END=on", "quiet=22:00-6:30",
                                         "good-sound=/home/me/bell.wav", "BadSound=x.WAV"};
  EXPECT_EQ(ApplySettingPairs({}, good).settings, (AlarmSettings{.RepeatMinutes = 5,
                                                                 .AtEnd = true,
                                                                 .QuietFrom = "22:00",
                                                                 .QuietTo = "06:30",
                                                                 .GoodSound = "/home/me/bell.wav",
                                                                 .BadSound = "x.WAV"}));
  const AlarmSettings quiet{.QuietFrom = "22:00", .QuietTo = "06:30"};
  EXPECT_EQ(ApplySettingPairs(quiet, std::vector<std::string>{"quiet=off"}).settings,
            AlarmSettings{});
  const std::pair<const char*, const char*> bad[] = {
      {"repeat=1441",
       "\"repeat=1441\": The repeat must be a whole number of minutes from 0 to 1440."},
      {"quiet=22:00",
       "\"quiet=22:00\": The quiet hours must be two times of day from 00:00 to "
       "23:59, or none."},
      {"quiet=22:00-24:00",
       "\"quiet=22:00-24:00\": The quiet hours must be two times of day from "
       "00:00 to 23:59, or none."},
      {"QuietTo=",
       "\"QuietTo=\": The quiet hours must be two times of day from 00:00 to 23:59, or none."},
      {"bad-sound=bell.mp3",
       "\"bad-sound=bell.mp3\": A sound must be the path of a WAV file "
       "(.wav), or empty for the system's sound."},
      {"at-end=soon", "\"at-end=soon\": at-end takes on or off (or 1/0, true/false, yes/no)"},
      {"=5",
       "\"=5\": unknown key (keys: good, bad, warning, at-start, sound, repeat, at-end, "
       "quiet, good-sound, bad-sound)"},
  };
  for (const auto& [pair, error] : bad) {
    const SettingsEdit edit = ApplySettingPairs(quiet, std::vector<std::string>{"repeat=3", pair});
    EXPECT_EQ(edit.error, error);
    EXPECT_EQ(edit.settings, quiet) << pair;
  }
}

}  // namespace
}  // namespace tarvex
