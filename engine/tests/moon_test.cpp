#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

// The words of each count and day are in the command line's recorded cases; here, the edge:
// with 15 game seconds left nothing is added, and the moment is the present real hour and minute.
TEST(GetNextMoon, WithLessThanARealSecondLeftCountsNothing) {
  for (const auto& [real, moment] :
       {std::pair{"00:05:00", "TODAY AT 12:05 AM"}, {"12:05:00", "TODAY AT 12:05 PM"}}) {
    const NextMoon moon = GetNextMoon(Record(real, "06/15/2026", "23:59:45", "01/14/0002"), 15);
    EXPECT_EQ(moon.Countdown + " | " + moon.Moment, std::string(" | ") + moment) << real;
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
