#include "engine/alarms.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

class Alarms : public testing::EngineTest {
 protected:
  // A calibration pair by which the good moon of game month 0002-01 begins at `begin`: game
  // 00:00:00 on 12/25/0001 a real day (18 game days) before.
  CalibrationRecord PairForMoon(std::int64_t begin) const {
    return PairAt(begin - 86400, "00:00:00", "12/25/0001");
  }
};

// --- The firing rule, as scenarios ---------------------------------------------------------

enum Action {
  kJump,         // one tick at `at`: a start, a sleep, or the clock set forward or back
  kRun,          // a tick every second up to `at`
  kRecalibrate,  // a new pair, by which the moon begins at `at`; one tick at the same second
};
struct Step {
  std::int64_t at;          // seconds from the moon's first begin
  std::string alerts = "";  // what fires, each as the second it fires at and its text
  Action action = kJump;
};
struct Scenario {
  const char* name;
  std::vector<Step> steps;
  AlarmSettings settings = {};
  std::int64_t begin = 0;  // when the good moon of game month 0002-01 begins; 0: the June one
};

TEST_F(Alarms, FireByTheRuleWhateverTheClockDoes) {
  const std::string warning = "-600 GOOD MOON IN 10 MINUTES, AT 5:33 PM";
  const std::string start = "0 GOOD MOON NOW, UNTIL 6:53 PM", both = warning + " | " + start;
  const std::string oneThirty =
      "-600 GOOD MOON IN 10 MINUTES, AT 1:30 AM | 0 GOOD MOON NOW, UNTIL ";
  const std::int64_t june = Local(6, 15, 17, 33);  // a Monday, in daylight saving time
  // 01:30 on 2026-11-01 in daylight time: the hour from 01:00 shows again, in standard time.
  const std::int64_t firstOneThirty = Local(11, 1, 1, 30), secondOneThirty = firstOneThirty + 3600;
  const Scenario scenarios[] = {
      {"on time", {{-700}, {4900, both, kRun}}},
      {"a sleep over the warning",
       {{-700}, {-125, "-125 GOOD MOON IN 3 MINUTES, AT 5:33 PM"}, {4900, start, kRun}}},
      {"a sleep over the start into the moon's last second",
       {{-700}, {4799, "4799 GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM"}, {4900, "", kRun}}},
      {"a sleep over the whole moon", {{-700}, {4800}, {4900, "", kRun}}},
      {"started inside the warning",
       {{-300, "-300 GOOD MOON IN 5 MINUTES, AT 5:33 PM"}, {4900, start, kRun}}},
      {"the clock set back after the warning, then after the start",
       {{-700}, {-600, warning, kRun}, {-1200}, {0, start, kRun}, {-900}, {4900, "", kRun}}},
      {"ticking through the repeated hour",
       {{-700}, {7300, oneThirty + "1:50 AM", kRun}},
       {},
       firstOneThirty},
      {"a moon in the repeated hour",
       {{-4300}, {4900, oneThirty + "2:50 AM", kRun}},
       {},
       secondOneThirty},
      {"recalibrated back after the warning",
       {{-700},
        {-590, warning, kRun},
        {1800, "", kRecalibrate},
        {6700, "1800 GOOD MOON NOW, UNTIL 7:23 PM", kRun}}},
      {"recalibrated forward over the warning",
       {{-900},
        {-600, "-900 GOOD MOON IN 5 MINUTES, AT 5:23 PM", kRecalibrate},
        {4300, "-600 GOOD MOON NOW, UNTIL 6:43 PM", kRun}}},
      {"good moon off", {{-700}, {4900, "", kRun}}, {.GoodMoon = false}},
      {"start alert off", {{-700}, {4900, warning, kRun}}, {.AtStart = false}},
      {"no warning", {{-700}, {4900, start, kRun}}, {.WarningMinutes = 0}},
      {"a warning a day ahead",
       {{-86401, "-86401 BAD MOON IN 5 HOURS 21 MINUTES, AT 10:53 PM"},
        {-86399, "-86400 GOOD MOON IN 24 HOURS, TOMORROW AT 5:33 PM", kRun},
        {-700, "-700 BAD MOON IN 18 HOURS 52 MINUTES, TOMORROW AT 12:13 PM"},
        {10, start, kRun}},
       {.WarningMinutes = 1440}},
  };
  for (const Scenario& s : scenarios) {
    const std::int64_t begin = s.begin != 0 ? s.begin : june;
    MoonAlarms alarms;
    CalibrationRecord calibration = PairForMoon(begin);
    std::int64_t now = begin + s.steps.front().at;
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
      const Step& step = s.steps[i];
      std::string fired;
      const auto tick = [&](std::int64_t t) {  // `t` is the present; the clock gives the zone
        calibration = GetZRDTime(calibration, t);
        for (const Alert& alert : alarms.Check(t, calibration, s.settings))
          fired += (fired.empty() ? "" : " | ") + std::to_string(t - begin) + " " + alert.text;
      };
      if (step.action == kRecalibrate) calibration = PairForMoon(begin + step.at);
      const std::int64_t last = step.action == kRecalibrate ? now : begin + step.at;
      if (step.action != kRun) now = last - 1;  // a single tick
      while (now < last) tick(++now);
      EXPECT_EQ(fired, step.alerts) << s.name << ", step " << i + 1;
    }
  }
}

// --- Words ---------------------------------------------------------------------------------

// The scenarios above show most words; these are the edges.
TEST_F(Alarms, TextsCountTheMinutesLeftUpAndShowLocalClockTimes) {
  const auto W = AlarmStage::Warning, S = AlarmStage::Start;
  const std::int64_t june = Local(6, 15, 17, 33);
  // When the good moon begins; the stage; seconds from the begin; the words, under 64 characters.
  const std::tuple<std::int64_t, AlarmStage, std::int64_t, const char*> cases[] = {
      {june, W, -3600, "GOOD MOON IN 1 HOUR, AT 5:33 PM"},
      {june, W, -7260, "GOOD MOON IN 2 HOURS 1 MINUTE, AT 5:33 PM"},
      {june, S, 59, "GOOD MOON NOW, UNTIL 6:53 PM"},
      {june, S, 60, "GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM"},
      {Local(6, 15, 0, 5), W, -300, "GOOD MOON IN 5 MINUTES, AT 12:05 AM"},
      {Local(6, 15, 11, 40), S, 0, "GOOD MOON NOW, UNTIL 1:00 PM"},
      // From Saturday 23:01 the clock skips an hour on Sunday: a day of 23 hours.
      {Local(3, 9, 0, 0), W, -86340,
       "GOOD MOON IN 23 HOURS 59 MINUTES, TWO DAYS FROM NOW AT 12:00 AM"},
  };
  for (const auto& [begin, stage, at, text] : cases) {
    const Moon moon{MoonKind::Good, 2, 1, Instant::AtSecond(begin),
                    Instant::AtSecond(begin + 4800)};
    EXPECT_EQ(AlertText(moon, stage, begin + at), text);
  }
}

// The sample says it is one, and counts the minutes from now, whatever the calibration says.
TEST_F(Alarms, SampleTextIsAWarningOfTheSettingsMinutesFromNow) {
  const std::int64_t now = Local(6, 15, 11, 30);
  const std::pair<AlarmSettings, const char*> cases[] = {
      {{}, "SAMPLE: GOOD MOON IN 10 MINUTES, AT 11:40 AM"},
      {{.WarningMinutes = 1}, "SAMPLE: GOOD MOON IN 1 MINUTE, AT 11:31 AM"},
      {{.WarningMinutes = 90}, "SAMPLE: GOOD MOON IN 1 HOUR 30 MINUTES, AT 1:00 PM"},
      {{.WarningMinutes = 1440}, "SAMPLE: GOOD MOON IN 24 HOURS, TOMORROW AT 11:30 AM"},
      {{.WarningMinutes = 0}, "SAMPLE: GOOD MOON NOW, UNTIL 12:50 PM"},
      {{.GoodMoon = false}, "SAMPLE: BAD MOON IN 10 MINUTES, AT 11:40 AM"},
      {{.GoodMoon = false, .BadMoon = false}, "SAMPLE: GOOD MOON IN 10 MINUTES, AT 11:40 AM"},
  };
  for (const auto& [settings, text] : cases)
    EXPECT_EQ(SampleAlertText(now, settings), text) << text;
}

}  // namespace
}  // namespace tarvex
