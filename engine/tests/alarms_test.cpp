#include "engine/alarms.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

// The test zone: UTC-5 with daylight saving, which ends on 2026-11-01 at 02:00 (the hour from
// 01:00 to 02:00 shows twice) and starts on 2026-03-08 at 02:00.
class Alarms : public testing::EngineTest {
 protected:
  void SetUp() override {
    EngineTest::SetUp();
    clock_ = testing::FakeClock(-5 * 3600, true);
  }
  // A local reading; the first of the two when it shows twice.
  std::int64_t Local(int month, int day, int hour, int minute) const {
    return MomentOfLocal(clock_, {2026, month, day, hour, minute, 0}, INT64_MIN / 4);
  }
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
  Action action;
  std::int64_t at;     // seconds from the moon's first begin
  const char* alerts;  // what fires, each as the second it fires at and its text
};
// When the good moon of game month 0002-01 begins.
enum Begin {
  kJune,            // 17:33 on Monday 2026-06-15, in daylight saving time
  kFirstOneThirty,  // 01:30 on 2026-11-01, daylight time: the hour from 01:00 shows again
  kSecondOneThirty  // the same reading an hour later, standard time
};
struct Scenario {
  const char* name;
  std::vector<Step> steps;
  AlarmSettings settings = {};
  Begin begin = kJune;
};

TEST_F(Alarms, FireByTheRuleWhateverTheClockDoes) {
  const char* warning = "-600 GOOD MOON IN 10 MINUTES, AT 5:33 PM";
  const char* start = "0 GOOD MOON NOW, UNTIL 6:53 PM";
  const std::string both = std::string(warning) + " | " + start;
  const Scenario scenarios[] = {
      {"on time", {{kJump, -700, ""}, {kRun, 4900, both.c_str()}}},
      {"a sleep over the warning",
       {{kJump, -700, ""},
        {kJump, -125, "-125 GOOD MOON IN 3 MINUTES, AT 5:33 PM"},
        {kRun, 4900, start}}},
      {"a sleep over the start",
       {{kJump, -700, ""},
        {kJump, 300, "300 GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM"},
        {kRun, 4900, ""}}},
      {"a warning, then a sleep less than a minute into the moon",
       {{kJump, -700, ""}, {kRun, -590, warning}, {kJump, 59, "59 GOOD MOON NOW, UNTIL 6:53 PM"}}},
      {"a sleep over the whole moon", {{kJump, -700, ""}, {kJump, 4800, ""}, {kRun, 4900, ""}}},
      {"started inside the warning",
       {{kJump, -300, "-300 GOOD MOON IN 5 MINUTES, AT 5:33 PM"}, {kRun, 4900, start}}},
      {"started in the moon's last second",
       {{kJump, 4799, "4799 GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM"}, {kRun, 4900, ""}}},
      {"the clock set back after the warning",
       {{kJump, -700, ""}, {kRun, -590, warning}, {kJump, -1200, ""}, {kRun, 10, start}}},
      {"the clock set back after the start",
       {{kJump, -700, ""}, {kRun, 10, both.c_str()}, {kJump, -900, ""}, {kRun, 4900, ""}}},
      {"the same second again and again",
       {{kJump, -600, warning},
        {kJump, -600, ""},
        {kJump, -599, ""},
        {kJump, 0, start},
        {kJump, 0, ""},
        {kJump, -600, ""}}},
      {"ticking through the repeated hour",
       {{kJump, -700, ""},
        {kRun, 7300, "-600 GOOD MOON IN 10 MINUTES, AT 1:30 AM | 0 GOOD MOON NOW, UNTIL 1:50 AM"}},
       {},
       kFirstOneThirty},
      {"a moon in the repeated hour",
       {{kJump, -4300, ""},
        {kRun, 4900, "-600 GOOD MOON IN 10 MINUTES, AT 1:30 AM | 0 GOOD MOON NOW, UNTIL 2:50 AM"}},
       {},
       kSecondOneThirty},
      {"recalibrated back after the warning",
       {{kJump, -700, ""},
        {kRun, -590, warning},
        {kRecalibrate, 1800, ""},
        {kRun, 6700, "1800 GOOD MOON NOW, UNTIL 7:23 PM"}}},
      {"recalibrated back after the start",
       {{kJump, -700, ""}, {kRun, 10, both.c_str()}, {kRecalibrate, 1800, ""}, {kRun, 6700, ""}}},
      {"recalibrated forward over the warning",
       {{kJump, -900, ""},
        {kRecalibrate, -600, "-900 GOOD MOON IN 5 MINUTES, AT 5:23 PM"},
        {kRun, 4300, "-600 GOOD MOON NOW, UNTIL 6:43 PM"}}},
      {"recalibrated forward into the moon",
       {{kJump, -700, ""},
        {kRecalibrate, -1000, "-700 GOOD MOON SINCE 5:16 PM, UNTIL 6:36 PM"},
        {kRun, 4900, ""}}},
      {"good moon off", {{kJump, -700, ""}, {kRun, 4900, ""}}, {.GoodMoon = false}},
      {"both moons off",
       {{kJump, -700, ""}, {kRun, 4900, ""}},
       {.GoodMoon = false, .BadMoon = false}},
      {"start alert off", {{kJump, -700, ""}, {kRun, 4900, warning}}, {.AtStart = false}},
      {"start alert off, a sleep into the moon",
       {{kJump, -700, ""}, {kJump, 100, ""}, {kRun, 4900, ""}},
       {.AtStart = false}},
      {"no warning", {{kJump, -700, ""}, {kRun, 4900, start}}, {.WarningMinutes = 0}},
      {"a warning a day ahead",
       {{kJump, -86401, "-86401 BAD MOON IN 5 HOURS 21 MINUTES, AT 10:53 PM"},
        {kRun, -86399, "-86400 GOOD MOON IN 24 HOURS, TOMORROW AT 5:33 PM"},
        {kJump, -700, "-700 BAD MOON IN 18 HOURS 52 MINUTES, TOMORROW AT 12:13 PM"},
        {kRun, 10, start}},
       {.WarningMinutes = 1440}},
  };
  const std::int64_t firstOneThirty = Local(11, 1, 1, 30);
  const std::int64_t begins[] = {Local(6, 15, 17, 33), firstOneThirty, firstOneThirty + 3600};
  for (const Scenario& s : scenarios) {
    const std::int64_t begin = begins[s.begin];
    MoonAlarms alarms;
    CalibrationRecord calibration = PairForMoon(begin);
    std::int64_t now = begin + s.steps.front().at;
    for (std::size_t i = 0; i < s.steps.size(); ++i) {
      const Step& step = s.steps[i];
      std::string fired;
      const auto tick = [&](std::int64_t t) {
        clock_.Set(t);
        calibration = GetZRDTime(calibration, t);
        for (const Alert& alert : alarms.Check(t, calibration, s.settings)) {
          fired += (fired.empty() ? "" : " | ") + std::to_string(t - begin) + " " + alert.text;
          EXPECT_LT(alert.text.size(), 64u) << alert.text;
          EXPECT_TRUE(alert.due <= Instant::AtSecond(t) && Instant::AtSecond(t) < alert.moon.end)
              << s.name << ": " << alert.text;
        }
      };
      if (step.action == kRecalibrate) calibration = PairForMoon(begin + step.at);
      if (step.action == kRun) {
        while (now < begin + step.at) tick(++now);
      } else {
        if (step.action == kJump) now = begin + step.at;
        tick(now);
      }
      EXPECT_EQ(fired, step.alerts) << s.name << ", step " << i + 1;
    }
  }
}

// --- Words ---------------------------------------------------------------------------------

TEST_F(Alarms, TextsCountTheMinutesLeftUpAndShowLocalClockTimes) {
  struct Case {
    MoonKind kind;
    int month, day, hour, minute;  // when the moon begins, local time
    AlarmStage stage;
    std::int64_t at;  // seconds from the begin
    const char* text;
  };
  const auto W = AlarmStage::Warning;
  const auto S = AlarmStage::Start;
  const auto G = MoonKind::Good;
  const Case cases[] = {
      {G, 6, 15, 17, 33, W, -600, "GOOD MOON IN 10 MINUTES, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -541, "GOOD MOON IN 10 MINUTES, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -540, "GOOD MOON IN 9 MINUTES, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -61, "GOOD MOON IN 2 MINUTES, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -60, "GOOD MOON IN 1 MINUTE, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -1, "GOOD MOON IN 1 MINUTE, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -3600, "GOOD MOON IN 1 HOUR, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -3661, "GOOD MOON IN 1 HOUR 2 MINUTES, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -7260, "GOOD MOON IN 2 HOURS 1 MINUTE, AT 5:33 PM"},
      {G, 6, 15, 17, 33, W, -86400, "GOOD MOON IN 24 HOURS, TOMORROW AT 5:33 PM"},
      {G, 6, 15, 17, 33, S, 0, "GOOD MOON NOW, UNTIL 6:53 PM"},
      {G, 6, 15, 17, 33, S, 59, "GOOD MOON NOW, UNTIL 6:53 PM"},
      {G, 6, 15, 17, 33, S, 60, "GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM"},
      {MoonKind::Bad, 6, 15, 0, 5, W, -300, "BAD MOON IN 5 MINUTES, AT 12:05 AM"},
      {MoonKind::Bad, 6, 15, 11, 40, S, 0, "BAD MOON NOW, UNTIL 1:00 PM"},
      // From Saturday 23:01 the clock skips an hour on Sunday: a day of 23 hours.
      {G, 3, 9, 0, 0, W, -86340, "GOOD MOON IN 23 HOURS 59 MINUTES, TWO DAYS FROM NOW AT 12:00 AM"},
  };
  for (const Case& c : cases) {
    const std::int64_t begin = Local(c.month, c.day, c.hour, c.minute);
    const Moon moon{c.kind, 2, 1, Instant::AtSecond(begin), Instant::AtSecond(begin + 4800)};
    const std::string text = AlertText(moon, c.stage, begin + c.at);
    EXPECT_EQ(text, c.text);
    EXPECT_LT(text.size(), 64u) << text;
  }
}

TEST_F(Alarms, SampleTextIsTheNextMoonsFirstAlert) {
  const std::int64_t begin = Local(6, 15, 17, 33);
  const std::pair<AlarmSettings, const char*> cases[] = {
      {{}, "GOOD MOON IN 10 MINUTES, AT 5:33 PM"},
      {{.WarningMinutes = 0}, "GOOD MOON NOW, UNTIL 6:53 PM"},
      {{.WarningMinutes = 30}, "GOOD MOON IN 12 MINUTES, AT 5:33 PM"},  // due already
      {{.GoodMoon = false}, "BAD MOON IN 10 MINUTES, AT 12:13 PM"},
      {{.GoodMoon = false, .BadMoon = false}, "GOOD MOON IN 10 MINUTES, AT 5:33 PM"},
  };
  clock_.Set(begin - 700);
  const CalibrationRecord record = GetZRDTime(PairForMoon(begin));
  for (const auto& [settings, text] : cases) {
    EXPECT_EQ(SampleAlertText(record, begin - 700, settings), text);
  }
}

// The listing agrees with a run that ticks every second from the present on.
TEST_F(Alarms, UpcomingAlertsAreWhatARunFires) {
  const std::int64_t begin = Local(6, 15, 17, 33);
  const std::int64_t now = begin - 700;
  const std::pair<AlarmSettings, std::size_t> variants[] = {
      {{}, 2},
      {{.WarningMinutes = 1440}, 1},  // two warnings due already: they fire now, unlisted
      {{.WarningMinutes = 1120}, 2},  // the bad moon's warning at the good moon's start
      {{.GoodMoon = false, .AtStart = false}, 1},  // the bad moon's warning, 18 hours on
  };
  for (const auto& [settings, count] : variants) {
    clock_.Set(now);
    CalibrationRecord calibration = GetZRDTime(PairForMoon(begin));
    const std::vector<Alert> listed =
        UpcomingAlerts(calibration, now, settings, static_cast<int>(count));

    MoonAlarms alarms;
    alarms.Check(now, calibration, settings);
    std::vector<Alert> fired;
    for (std::int64_t t = now + 1; fired.size() < count && t < now + 2 * 86400; ++t) {
      clock_.Set(t);
      calibration = GetZRDTime(calibration);
      for (Alert& alert : alarms.Check(t, calibration, settings)) fired.push_back(alert);
    }
    if (fired.size() > count) fired.resize(count);
    EXPECT_EQ(listed, fired) << "warning " << settings.WarningMinutes;
    EXPECT_EQ(listed.size(), count);
  }
}

}  // namespace
}  // namespace tarvex
