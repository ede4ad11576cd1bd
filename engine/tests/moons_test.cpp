#include "engine/moons.h"

#include <gtest/gtest.h>

#include <random>

#include "engine_fixture.h"

namespace tarvex {
namespace {

using MoonInstants = testing::EngineTest;

std::string Describe(const std::vector<Moon>& moons) {
  std::string text;
  for (const Moon& moon : moons) {
    text += std::string(text.empty() ? "" : " ") + (moon.kind == MoonKind::Good ? "G" : "B") +
            std::to_string(moon.gameYear) + "-" + TwoDigits(moon.gameMonth);
  }
  return text;
}

TEST_F(MoonInstants, BeginAtTheGameSecondOfMidnightAndShowItsFirstWholeSecond) {
  struct Case {
    const char* gameTime;
    const char* gameDate;
    MoonsFrom from;
    std::int64_t ticks;   // from the present to the first moon's begin
    std::int64_t second;  // from the present to the first whole second at or after it
  };
  const Case cases[] = {
      {"23:59:51", "01/14/0002", MoonsFrom::NotBegun, 9, 1},
      {"23:59:43", "01/14/0002", MoonsFrom::NotBegun, 17, 1},
      {"23:59:42", "01/14/0002", MoonsFrom::NotBegun, 18, 1},
      {"23:59:41", "01/14/0002", MoonsFrom::NotBegun, 19, 2},
      {"12:00:00", "01/28/0002", MoonsFrom::NotBegun, 43200, 2400},
      {"00:00:00", "01/15/0002", MoonsFrom::NotEnded, 0, 0},
      {"00:00:00", "01/15/0002", MoonsFrom::NotBegun, 14 * 86400, 67200},  // the bad one next
      {"23:59:59", "01/15/0002", MoonsFrom::NotEnded, -86399, -4799},
      {"00:00:00", "01/02/0002", MoonsFrom::NotEnded, 13 * 86400, 62400},  // the bad one ended
      {"24:00:00", "01/14/0002", MoonsFrom::NotEnded, 0, 0},  // hour 24 carries into day 15
  };
  const std::int64_t now = DaysFromCivil(2026, 6, 15) * 86400 + 12 * 3600;
  for (const Case& c : cases) {
    const auto moons = NextMoons(PairAt(now, c.gameTime, c.gameDate), now, 1, c.from);
    ASSERT_EQ(moons.size(), 2u);
    EXPECT_EQ(moons[0].begin.ticks - now * 18, c.ticks) << c.gameTime << " " << c.gameDate;
    EXPECT_EQ(moons[0].begin.FirstSecond() - now, c.second) << c.gameTime << " " << c.gameDate;
    EXPECT_EQ(moons[0].end.ticks - moons[0].begin.ticks, 4800 * 18);
  }
}

TEST_F(MoonInstants, ListInOrderFromTheMoonInProgressOrTheNextToBegin) {
  const std::tuple<const char*, MoonsFrom, const char*> cases[] = {
      {"03/15/0002", MoonsFrom::NotEnded, "G2-03 B2-04 G2-04 B2-05"},
      {"03/15/0002", MoonsFrom::NotBegun, "B2-04 G2-04 B2-05 G2-05"},
      {"12/20/0002", MoonsFrom::NotBegun, "B3-01 G3-01 B3-02 G3-02"},
      {"12/01/0002", MoonsFrom::NotEnded, "B2-12 G2-12 B3-01 G3-01"},
  };
  const std::int64_t now = DaysFromCivil(2026, 6, 15) * 86400;
  for (const auto& [date, from, expected] : cases) {
    const auto moons = NextMoons(PairAt(now, "10:00:00", date), now, 2, from);
    EXPECT_EQ(Describe(moons), expected) << date;
    ASSERT_EQ(moons.size(), 4u);
    EXPECT_EQ(moons[2].begin.ticks - moons[0].begin.ticks, 134400 * 18) << date;
  }
}

// The oracle: the game clock itself, re-based every second as the tray does, across the end of
// daylight saving. A moon begins at the first second whose game date is its day, and ends at the
// first second whose game date is not.
TEST_F(MoonInstants, AgreeWithTheGameClockSecondBySecond) {
  clock_ = testing::FakeClock(-5 * 3600, true);
  const std::int64_t fallBack = DaysFromCivil(2026, 11, 1) * 86400 + 6 * 3600;  // 02:00 EDT
  std::mt19937 random(20261101);
  for (int i = 0; i < 24; ++i) {
    const std::int64_t start = fallBack - 7200 + static_cast<std::int64_t>(random() % 14400);
    const MoonKind kind = random() % 2 == 0 ? MoonKind::Good : MoonKind::Bad;
    const std::int64_t before = 1 + random() % 5400;  // game seconds before the moon
    const std::int64_t year = 2 + random() % 5;
    const int month = 1 + static_cast<int>(random() % 12);
    const std::string date = DateText(month, kind == MoonKind::Good ? 14 : 28, year);
    const std::string context = date + " " + testing::TimeOfDay(86400 - before);

    CalibrationRecord record = PairAt(start, testing::TimeOfDay(86400 - before), date);
    Moon moon;
    for (const Moon& m : NextMoons(record, start, 1)) {
      if (m.kind == kind) moon = m;
    }
    std::int64_t begin = 0, t = start;
    for (bool onMoonDay = false; !onMoonDay;) {
      clock_.Set(++t);
      record = GetZRDTime(record);
      onMoonDay = LeadingNumber(Piece(record.ZRDDate, 4)) == MoonDay(kind);
      begin = t;
    }
    EXPECT_EQ(moon.begin.FirstSecond(), begin) << context;
    EXPECT_EQ(DateText(moon.gameMonth, MoonDay(kind), moon.gameYear), record.ZRDDate.str())
        << context;
    for (bool onMoonDay = true; onMoonDay;) {
      clock_.Set(++t);
      record = GetZRDTime(record);
      onMoonDay = LeadingNumber(Piece(record.ZRDDate, 4)) == MoonDay(kind);
    }
    EXPECT_EQ(moon.end.FirstSecond(), t) << context;
  }
}

}  // namespace
}  // namespace tarvex
