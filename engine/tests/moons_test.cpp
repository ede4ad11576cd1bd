#include "engine/moons.h"

#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

using MoonInstants = testing::EngineTest;

// A list starts from the moon in progress or beginning now, or from the next to begin; game
// fields out of their range (hour 24) carry as the game clock carries them.
TEST_F(MoonInstants, ListFromTheMoonInProgressOrTheNextToBegin) {
  const std::int64_t now = Local(6, 15, 12, 0);
  const CalibrationRecord record = PairAt(now, "24:00:00", "01/14/0002");
  const auto good = [now](int month, std::int64_t begin) {
    return Moon{MoonKind::Good, 2, month, Instant::AtSecond(now + begin),
                Instant::AtSecond(now + begin + 4800)};
  };
  EXPECT_EQ(NextMoons(record, now, 1, MoonsFrom::NotEnded).front(), good(1, 0));
  EXPECT_EQ(NextMoons(record, now, 1).back(), good(2, 134400));
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
    const std::int64_t at = 86400 - before;
    const std::string time = TimeText(at / 3600, at / 60 % 60, at % 60);
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
