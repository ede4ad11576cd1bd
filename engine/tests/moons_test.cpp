#include "engine/moons.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

using MoonInstants = testing::EngineTest;

// The first moon begins at the game second of midnight; it is shown from the first whole second at
// or after it. The moons follow in order, a game month apart.
TEST_F(MoonInstants, ListFromTheMoonInProgressOrTheNextToBegin) {
  const auto N = MoonsFrom::NotEnded, B = MoonsFrom::NotBegun;
  // The pair's game time and date at the present; where the list starts; ticks from the present
  // to the first moon's begin, and seconds to the first whole second at or after it; the moons.
  const std::tuple<const char*, const char*, MoonsFrom, std::int64_t, std::int64_t, const char*>
      cases[] = {
          {"23:59:42", "01/14/0002", B, 18, 1, "G2-01 B2-02 G2-02 B2-03"},
          {"23:59:41", "01/14/0002", B, 19, 2, "G2-01 B2-02 G2-02 B2-03"},
          {"12:00:00", "01/28/0002", B, 43200, 2400, "B2-02 G2-02 B2-03 G2-03"},
          {"00:00:00", "01/15/0002", B, 14 * 86400, 67200, "B2-02 G2-02 B2-03 G2-03"},
          {"23:59:59", "01/15/0002", N, -86399, -4799, "G2-01 B2-02 G2-02 B2-03"},
          {"00:00:00", "01/02/0002", N, 13 * 86400, 62400, "G2-01 B2-02 G2-02 B2-03"},
          {"24:00:00", "01/14/0002", N, 0, 0, "G2-01 B2-02 G2-02 B2-03"},  // hour 24: day 15
          {"10:00:00", "12/20/0002", B, 741600, 41200, "B3-01 G3-01 B3-02 G3-02"},
          {"10:00:00", "12/01/0002", N, -36000, -2000, "B2-12 G2-12 B3-01 G3-01"},
      };
  const std::int64_t now = Local(6, 15, 12, 0);
  for (const auto& [time, date, from, ticks, second, expected] : cases) {
    SCOPED_TRACE(std::string(time) + " " + date);
    const auto moons = NextMoons(PairAt(now, time, date), now, 2, from);
    std::string listed;
    for (const Moon& m : moons) {
      listed += std::string(listed.empty() ? "" : " ") + (m.kind == MoonKind::Good ? "G" : "B") +
                std::to_string(m.gameYear) + "-" + TwoDigits(m.gameMonth);
    }
    EXPECT_EQ(listed, expected);
    ASSERT_EQ(moons.size(), 4u);
    EXPECT_EQ(moons[0].begin.ticks - now * 18, ticks);
    EXPECT_EQ(moons[0].begin.FirstSecond() - now, second);
    EXPECT_EQ(moons[2].begin.ticks - moons[0].begin.ticks, 134400 * 18);
  }
}

// The oracle: the game clock itself, re-based every second as the tray does, across the end of
// daylight saving. A moon begins at the first second whose game date is its day, and ends at the
// first second whose game date is not.
TEST_F(MoonInstants, AgreeWithTheGameClockSecondBySecond) {
  const std::int64_t fallBack = DaysFromCivil(2026, 11, 1) * 86400 + 6 * 3600;  // 02:00 EDT
  for (int i = 0; i < 24; ++i) {  // starts over four hours around it, moons of several months
    const std::int64_t start = fallBack - 7200 + i * 599;
    const MoonKind kind = i % 2 == 0 ? MoonKind::Good : MoonKind::Bad;
    const std::int64_t before = 1 + i * 233;  // game seconds before the moon
    const std::string date = DateText(1 + i % 12, kind == MoonKind::Good ? 14 : 28, 2 + i % 5);
    const std::string time = testing::TimeOfDay(86400 - before);
    CalibrationRecord record = PairAt(start, time, date);
    Moon moon;
    for (const Moon& m : NextMoons(record, start, 1)) {
      if (m.kind == kind) moon = m;
    }
    SCOPED_TRACE(date + " " + time);
    std::int64_t t = start;
    const auto nextSecondOnMoonDay = [&] {
      clock_.Set(++t);
      record = GetZRDTime(record);
      return LeadingNumber(Piece(record.ZRDDate, 4)) == MoonDay(kind);
    };
    while (!nextSecondOnMoonDay()) continue;
    EXPECT_EQ(moon.begin.FirstSecond(), t);
    EXPECT_EQ(DateText(moon.gameMonth, MoonDay(kind), moon.gameYear), record.ZRDDate.str());
    while (nextSecondOnMoonDay()) continue;
    EXPECT_EQ(moon.end.FirstSecond(), t);
  }
}

}  // namespace
}  // namespace tarvex
