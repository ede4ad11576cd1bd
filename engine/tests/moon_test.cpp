#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

struct MoonCase {
  const char* realTime;
  const char* gameTime;
  const char* gameDate;
  int moonDay;
  const char* countdown;
  const char* moment;
};

TEST(GetNextMoon, CountsDownToTheNextMoonDay) {
  const MoonCase cases[] = {
      // A moon day names the moon 28 game days later: 1 day 13 hours 20 minutes of real time.
      {"10:00:00", "00:00:00", "01/15/0002", 15, "1 DAY  13 HOURS  20 MINUTES  ",
       "TOMORROW AT 11:20 PM"},
      {"10:00:00", "00:00:00", "01/14/0002", 15, "1 HOUR  20 MINUTES  ", "TODAY AT 11:20 AM"},
      {"10:00:00", "12:00:00", "01/28/0002", 1, "40 MINUTES  ", "TODAY AT 10:40 AM"},
      {"17:42:10", "23:59:45", "01/14/0002", 15, "", "TODAY AT 5:42 PM"},
      {"10:00:00", "23:59:42", "01/14/0002", 15, "1 SECOND", "TODAY AT 10:00 AM"},
      {"10:00:00", "23:59:24", "01/14/0002", 15, "2 SECONDS", "TODAY AT 10:00 AM"},
      {"10:00:00", "23:42:00", "01/14/0002", 15, "1 MINUTE  ", "TODAY AT 10:01 AM"},
      {"10:00:59", "23:41:42", "01/14/0002", 15, "1 MINUTE  1 SECOND", "TODAY AT 10:02 AM"},
      {"10:00:00", "21:00:00", "01/14/0002", 15, "10 MINUTES  ", "TODAY AT 10:10 AM"},
      {"10:00:00", "06:00:00", "01/14/0002", 15, "1 HOUR  ", "TODAY AT 11:00 AM"},
      {"10:00:00", "00:00:00", "01/01/0002", 1, "1 DAY  13 HOURS  20 MINUTES  ",
       "TOMORROW AT 11:20 PM"},
      {"10:00:00", "00:00:00", "01/16/0002", 15, "1 DAY  12 HOURS  ", "TOMORROW AT 10:00 PM"},
  };
  for (const auto& c : cases) {
    const NextMoon moon =
        GetNextMoon(testing::Record(c.realTime, "06/15/2026", c.gameTime, c.gameDate), c.moonDay);
    EXPECT_EQ(moon.Countdown, c.countdown)
        << c.gameTime << " " << c.gameDate << " day " << c.moonDay;
    EXPECT_EQ(moon.Moment, c.moment) << c.gameTime << " " << c.gameDate << " day " << c.moonDay;
  }
}

TEST(GetNextMoon, SecondsCarryIntoTheMinuteHourAndDay) {
  // 1 day 13 hours 19 minutes 30 seconds left at 23:30:40: 23:30:40 + 37:19:30 = 12:50:10 two days
  // later. Game time for that: 134,370 real seconds * 18 = 2,418,660 game seconds.
  const std::int64_t game = 134370 * 18;
  const std::int64_t sinceMidnight = 2419200 - game;  // game time of day on the moon day itself
  const std::string time = testing::TimeOfDay(sinceMidnight);
  const NextMoon moon = GetNextMoon(testing::Record("23:30:40", "", time, "01/15/0002"), 15);
  EXPECT_EQ(moon.Countdown, "1 DAY  13 HOURS  19 MINUTES  30 SECONDS");
  EXPECT_EQ(moon.Moment, "TWO DAYS FROM NOW AT 12:50 PM");
}

TEST(GetNextMoon, WritesTheHourInTwelveHourForm) {
  // With 15 game seconds left nothing is added: the moment is the present real hour and minute.
  const std::pair<const char*, const char*> cases[] = {{"00:05:00", "TODAY AT 12:05 AM"},
                                                       {"12:05:00", "TODAY AT 12:05 PM"},
                                                       {"13:05:00", "TODAY AT 1:05 PM"},
                                                       {"09:00:00", "TODAY AT 9:00 AM"},
                                                       {"23:59:59", "TODAY AT 11:59 PM"}};
  for (const auto& [real, moment] : cases) {
    EXPECT_EQ(GetNextMoon(testing::Record(real, "", "23:59:45", "01/14/0002"), 15).Moment, moment)
        << real;
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
