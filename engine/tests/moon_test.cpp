#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "engine/moons.h"
#include "engine_fixture.h"

namespace tarvex {
namespace {

class TipMoment : public testing::EngineTest {
 protected:
  // The tip's moment of the good moon, seen at second `now` in `zone`, by a pair by which it begins
  // at `begin`: game 00:00:00 on 12/25/0001 a real day (18 game days) before.
  static std::string GoodMoonAt(testing::FakeClock& zone, std::int64_t begin, std::int64_t now) {
    SetClock(&zone);
    zone.Set(now);
    const CalibrationRecord pair = PairIn(zone, begin - 86400, "00:00:00", "12/25/0001");
    return GetNextMoon(GetZRDTime(pair, now), kGoodMoonDay).Moment;
  }
  // An instant as the tip shows it at second `now`: the whole second at or before it on the local
  // clock, in hours and minutes, with its local date counted from the present's.
  static std::string Shown(const Clock& zone, Instant instant, std::int64_t now) {
    const CivilTime at = LocalTime(zone, FloorDiv(instant.ticks, kGameSecondsPerRealSecond));
    const CivilTime today = LocalTime(zone, now);
    const std::int64_t days = DaysFromCivil(at.year, at.month, at.day) -
                              DaysFromCivil(today.year, today.month, today.day);
    static constexpr const char* kDays[] = {"TODAY", "TOMORROW", "TWO DAYS FROM NOW"};
    if (days < 0 || days > 2) return "a day " + std::to_string(days) + " away";
    return std::string(kDays[days]) + " AT " +
           std::to_string(at.hour % 12 == 0 ? 12 : at.hour % 12) + ":" + TwoDigits(at.minute) +
           (at.hour < 12 ? " AM" : " PM");
  }
};

// The 24-hour clock: "HH:MM" wherever the 12-hour clock writes "h:mm AM/PM".
TEST_F(TipMoment, ReadsHoursAndMinutesOnThe24HourClock) {
  const std::tuple<int, int, const char*, const char*> words[] = {{0, 5, "12:05 AM", "00:05"},
                                                                  {9, 0, "9:00 AM", "09:00"},
                                                                  {12, 30, "12:30 PM", "12:30"},
                                                                  {17, 33, "5:33 PM", "17:33"}};
  for (const auto& [hour, minute, twelve, twentyFour] : words) {
    EXPECT_EQ(ClockWords(hour, minute, false), twelve);
    EXPECT_EQ(ClockWords(hour, minute, true), twentyFour);
  }
  const std::int64_t now = Local(6, 14, 23, 50);
  const CalibrationRecord pair =
      GetZRDTime(PairAt(Local(6, 15, 0, 5) - 86400, "00:00:00", "12/25/0001"), now);
  const std::vector<std::string> lines = TipLines(pair, {.Time = false, .Hours24 = true});
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "GOOD MOON TOMORROW AT 00:05");
  EXPECT_EQ(lines[1].substr(0, 9), "BAD MOON ");
  EXPECT_EQ(TipLines(pair, {.Time = false})[0], "GOOD MOON TOMORROW AT 12:05 AM");
}

TEST_F(TipMoment, IsTheTrueLocalTimeBeforeAcrossAndAfterEachChange) {
  testing::FakeClock& hour = clock_;     // daylight saving an hour ahead
  testing::FakeClock& half = halfHour_;  // half an hour ahead
  struct Case {
    const char* name;
    testing::FakeClock& zone;
    std::int64_t now;
    std::int64_t begin;  // when the good moon begins
    const char* moment;
  };
  const Case cases[] = {
      // An hour: the autumn change.
      {"hour, the day before autumn", hour, LocalIn(hour, 10, 30, 12, 0),
       LocalIn(hour, 10, 31, 17, 33), "TOMORROW AT 5:33 PM"},
      {"hour, autumn, within the day", hour, LocalIn(hour, 11, 1, 0, 30),
       LocalIn(hour, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"hour, autumn, from the first 1:30", hour, LocalIn(hour, 11, 1, 1, 30),
       LocalIn(hour, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"hour, autumn, from the second 1:30", hour, RepeatedIn(hour, 11, 1, 1, 30),
       LocalIn(hour, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"hour, autumn, a moon in the repeated hour", hour, LocalIn(hour, 10, 31, 12, 0),
       RepeatedIn(hour, 11, 1, 1, 30), "TOMORROW AT 1:30 AM"},
      {"hour, autumn, to the late evening of the long day", hour, LocalIn(hour, 10, 31, 23, 30),
       LocalIn(hour, 11, 1, 23, 45), "TOMORROW AT 11:45 PM"},
      {"hour, autumn, over the long day", hour, LocalIn(hour, 10, 31, 22, 0),
       LocalIn(hour, 11, 2, 0, 10), "TWO DAYS FROM NOW AT 12:10 AM"},
      {"hour, the day after autumn", hour, LocalIn(hour, 11, 2, 10, 0), LocalIn(hour, 11, 3, 9, 0),
       "TOMORROW AT 9:00 AM"},
      // An hour: the spring change.
      {"hour, the day before spring", hour, LocalIn(hour, 3, 6, 8, 0), LocalIn(hour, 3, 7, 7, 5),
       "TOMORROW AT 7:05 AM"},
      {"hour, spring, within the day", hour, LocalIn(hour, 3, 8, 1, 0), LocalIn(hour, 3, 8, 5, 0),
       "TODAY AT 5:00 AM"},
      {"hour, spring, over the short day", hour, LocalIn(hour, 3, 7, 23, 30),
       LocalIn(hour, 3, 9, 0, 20), "TWO DAYS FROM NOW AT 12:20 AM"},
      {"hour, the day after spring", hour, LocalIn(hour, 3, 9, 12, 0), LocalIn(hour, 3, 9, 18, 0),
       "TODAY AT 6:00 PM"},
      // Half an hour: the autumn change.
      {"half, the day before autumn", half, LocalIn(half, 10, 30, 12, 0),
       LocalIn(half, 10, 31, 17, 33), "TOMORROW AT 5:33 PM"},
      {"half, autumn, within the day", half, LocalIn(half, 11, 1, 0, 30),
       LocalIn(half, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"half, autumn, from the first 1:45", half, LocalIn(half, 11, 1, 1, 45),
       LocalIn(half, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"half, autumn, from the second 1:45", half, RepeatedIn(half, 11, 1, 1, 45),
       LocalIn(half, 11, 1, 17, 33), "TODAY AT 5:33 PM"},
      {"half, autumn, a moon in the repeated half hour", half, LocalIn(half, 10, 31, 12, 0),
       RepeatedIn(half, 11, 1, 1, 45), "TOMORROW AT 1:45 AM"},
      {"half, autumn, to the late evening of the long day", half, LocalIn(half, 10, 31, 23, 50),
       LocalIn(half, 11, 1, 23, 40), "TOMORROW AT 11:40 PM"},
      {"half, the day after autumn", half, LocalIn(half, 11, 2, 10, 0), LocalIn(half, 11, 3, 9, 0),
       "TOMORROW AT 9:00 AM"},
      // Half an hour: the spring change.
      {"half, the day before spring", half, LocalIn(half, 3, 6, 8, 0), LocalIn(half, 3, 7, 7, 5),
       "TOMORROW AT 7:05 AM"},
      {"half, spring, within the day", half, LocalIn(half, 3, 8, 1, 0), LocalIn(half, 3, 8, 5, 0),
       "TODAY AT 5:00 AM"},
      {"half, spring, over the short day", half, LocalIn(half, 3, 7, 23, 45),
       LocalIn(half, 3, 9, 0, 5), "TWO DAYS FROM NOW AT 12:05 AM"},
      {"half, the day after spring", half, LocalIn(half, 3, 9, 12, 0), LocalIn(half, 3, 9, 18, 0),
       "TODAY AT 6:00 PM"},
  };
  for (const Case& c : cases) EXPECT_EQ(GoodMoonAt(c.zone, c.begin, c.now), c.moment) << c.name;
}

TEST_F(TipMoment, ShowsTheInstantsOfTheMoonsAtEveryMomentAroundEachChange) {
  const std::pair<const char*, testing::FakeClock*> zones[] = {{"UTC-5", &clock_},
                                                               {"UTC+10:30", &halfHour_}};
  // Game moments whose moons begin at different fractions of a real second.
  const std::pair<const char*, const char*> games[] = {
      {"00:00:00", "12/25/0001"}, {"07:13:29", "03/09/0004"}, {"23:59:59", "06/14/0100"}};
  int faults = 0;
  std::string shown;
  for (const auto& [name, zone] : zones) {
    SetClock(zone);
    for (const int month : {3, 11}) {
      // Pairs made at noon three days before the change; read every 997 seconds from two days
      // before it to two days after, each of their moons beginning up to a day and a half later.
      const std::int64_t made =
          month == 3 ? LocalIn(*zone, 3, 5, 12, 0) : LocalIn(*zone, 10, 29, 12, 0);
      for (const auto& [gameTime, gameDate] : games) {
        const CalibrationRecord pair = PairIn(*zone, made, gameTime, gameDate);
        for (std::int64_t now = made + 86400; now < made + 5 * 86400; now += 997) {
          zone->Set(now);
          const CalibrationRecord record = GetZRDTime(pair, now);
          for (const Moon& moon : NextMoons(record, now, 1)) {
            const std::string tip = GetNextMoon(record, MoonDay(moon.kind)).Moment;
            const std::string expected = Shown(*zone, moon.begin, now);
            if (tip == expected || ++faults > 5) continue;
            shown += std::string("\n") + name + " at " + record.RealDate.str() + " " +
                     record.RealTime.str() + " (offset " +
                     std::to_string(zone->UtcOffset(now) / 60) + " min), game " + gameTime + " " +
                     gameDate + ", " + (moon.kind == MoonKind::Good ? "good" : "bad") +
                     " moon: " + tip + ", expected " + expected;
          }
        }
      }
    }
  }
  EXPECT_EQ(faults, 0) << "the first of them:" << shown;
}

// The words of each count and day are in the command line's recorded cases; here, the edges.
TEST_F(TipMoment, AddsTheTimeLeftToTheReading) {
  const std::pair<CalibrationRecord, const char*> cases[] = {
      // With 15 game seconds left nothing is added: the present real hour and minute.
      {Record("00:05:00", "06/15/2026", "23:59:45", "01/14/0002"), " | TODAY AT 12:05 AM"},
      {Record("12:05:00", "06/15/2026", "23:59:45", "01/14/0002"), " | TODAY AT 12:05 PM"},
      // Real fields that name no moment (a hand-edited file) are read as they stand.
      {Record("24:00:00", "11/01/2026", "23:59:45", "01/14/0002"), " | TOMORROW AT 12:00 AM"},
      {Record("12:30:00", "02/29/2026", "12:00:00", "01/14/0002"),
       "40 MINUTES   | TODAY AT 1:10 PM"},
  };
  for (const auto& [record, words] : cases) {
    const NextMoon moon = GetNextMoon(record, kGoodMoonDay);
    EXPECT_EQ(moon.Countdown + " | " + moon.Moment, words) << ::testing::PrintToString(record);
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
