#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

TEST(GetNextMoon, CountsDownToTheNextMoonDay) {
  // Real time; game time and date; moon day; countdown; moment.
  const std::tuple<const char*, const char*, const char*, int, const char*, const char*> cases[] = {
      // A moon day names the moon 28 game days later: 1 day 13 hours 20 minutes of real time.
      {"10:00:00", "00:00:00", "01/15/0002", 15, "1 DAY  13 HOURS  20 MINUTES  ",
       "TOMORROW AT 11:20 PM"},
      {"10:00:00", "00:00:00", "01/14/0002", 15, "1 HOUR  20 MINUTES  ", "TODAY AT 11:20 AM"},
      {"10:00:00", "12:00:00", "01/28/0002", 1, "40 MINUTES  ", "TODAY AT 10:40 AM"},
      {"10:00:00", "23:59:42", "01/14/0002", 15, "1 SECOND", "TODAY AT 10:00 AM"},
      {"10:00:00", "23:59:24", "01/14/0002", 15, "2 SECONDS", "TODAY AT 10:00 AM"},
      {"10:00:00", "23:42:00", "01/14/0002", 15, "1 MINUTE  ", "TODAY AT 10:01 AM"},
      {"10:00:59", "23:41:42", "01/14/0002", 15, "1 MINUTE  1 SECOND", "TODAY AT 10:02 AM"},
      {"10:00:00", "06:00:00", "01/14/0002", 15, "1 HOUR  ", "TODAY AT 11:00 AM"},
      // 23:30:40 + 37:19:30 = 12:50:10 two days later.
      {"23:30:40", "00:09:00", "01/15/0002", 15, "1 DAY  13 HOURS  19 MINUTES  30 SECONDS",
       "TWO DAYS FROM NOW AT 12:50 PM"},
      // With 15 game seconds left nothing is added: the present real hour and minute.
      {"00:05:00", "23:59:45", "01/14/0002", 15, "", "TODAY AT 12:05 AM"},
      {"12:05:00", "23:59:45", "01/14/0002", 15, "", "TODAY AT 12:05 PM"},
  };
  for (const auto& [real, time, date, day, countdown, moment] : cases) {
    const NextMoon moon = GetNextMoon(Record(real, "06/15/2026", time, date), day);
    EXPECT_EQ(moon.Countdown + " | " + moon.Moment, std::string(countdown) + " | " + moment)
        << real << " " << time << " " << date << " day " << day;
  }
}

// Game 00:00:00 on day 15 at real 23:30:00: the good moon two days later at 12:50 PM, the bad
// moon tomorrow at 6:10 PM.
TEST(TipLines, HoldTheChosenViewsInOrder) {
  const std::string time = "00:00:00 01/15/0002", good = "GOOD MOON TWO DAYS FROM NOW AT 12:50 PM",
                    bad = "BAD MOON TOMORROW AT 6:10 PM";
  const std::tuple<TipViews, std::vector<std::string>> cases[] = {
      {{}, {time, good, bad}},
      {{true, false, false}, {time}},
      {{false, true, true}, {good, bad}},
      {{false, false, true}, {bad}},
      {{false, false, false}, {}}};
  const CalibrationRecord record = Record("23:30:00", "12/06/2026", "00:00:00", "01/15/0002");
  for (const auto& [views, lines] : cases) {
    EXPECT_EQ(TipLines(record, views), lines) << views.Time << views.GoodMoon << views.BadMoon;
  }
}

TEST(MoonPhase, PicksThePictureAndTheNameOfTheGameDay) {
  // Two days of each picture and its name; a half day is rounded to the even day.
  const std::tuple<double, double, int, std::string_view> cases[] = {
      {1, 1, 101, "new moon"},
      {1.5, 5, 102, "waxing crescent"},
      {6, 9, 103, "first quarter"},
      {10, 14.5, 104, "waxing gibbous"},
      {15, 15, 105, "full moon"},
      {16, 19, 106, "waning gibbous"},
      {20, 24, 107, "last quarter"},
      {25, 28, 108, "waning crescent"},
      {0.5, 29, 109, ""},
      {-1, 31, 109, ""}};
  for (const auto& [first, last, icon, name] : cases) {
    for (const double day : {first, last}) {
      EXPECT_EQ(MoonPhaseIcon(day), icon) << day;
      EXPECT_EQ(MoonPhaseName(day), name) << day;
    }
  }
  // The day of a game date: its characters 4 and 5 by the leading-number rule.
  const std::pair<const char*, std::int64_t> dates[] = {
      {"03/15/0002", 15}, {"03/ 7/0002", 7}, {"03/x5/0002", 0}, {"", 0}};
  for (const auto& [date, day] : dates) {
    EXPECT_EQ(GameDayOfMonth(Record("", "", "", date)), day) << date;
  }
}

}  // namespace
}  // namespace tarvex
