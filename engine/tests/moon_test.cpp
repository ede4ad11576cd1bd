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

TEST(MoonPhaseIcon, PicksThePictureOfTheGameDay) {
  const std::pair<double, int> cases[] = {
      {1, 101},  {2, 102},  {5, 102},  {6, 103},  {9, 103},   {10, 104},  {14, 104},
      {15, 105}, {16, 106}, {19, 106}, {20, 107}, {24, 107},  {25, 108},  {28, 108},
      {0, 109},  {29, 109}, {31, 109}, {-1, 109}, {1.5, 102}, {0.5, 109}, {14.5, 104},
  };
  for (const auto& [day, icon] : cases) EXPECT_EQ(MoonPhaseIcon(day), icon) << day;
}

}  // namespace
}  // namespace tarvex
