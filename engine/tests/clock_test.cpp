#include "engine/clock.h"

#include <gtest/gtest.h>

#include "engine/testing/fake_clock.h"

namespace tarvex {
namespace {

TEST(CivilCalendar, DaysRoundTripAcrossLeapRulesAndEras) {
  for (std::int64_t days = -800000; days <= 3000000; days += 37) {
    const CivilTime civil = CivilFromDays(days);
    ASSERT_EQ(DaysFromCivil(civil.year, civil.month, civil.day), days) << days;
  }
  EXPECT_EQ(DaysFromCivil(1970, 1, 1), 0);
  EXPECT_EQ(DaysFromCivil(2000, 3, 1) - DaysFromCivil(2000, 2, 28), 2);  // 2000 is a leap year
  EXPECT_EQ(DaysFromCivil(1900, 3, 1) - DaysFromCivil(1900, 2, 28), 1);  // 1900 is not
}

// The test zone: UTC-5, daylight saving from 2026-03-08 02:00 to 2026-11-01 02:00.
const testing::FakeClock kZone{-5 * 3600, true};

// 01:30 on 2026-11-01 shows at 05:30 UTC (daylight time) and again at 06:30 UTC (standard time);
// 02:30 on 2026-03-08 never shows: the clock jumps from 02:00 to 03:00 (07:00 UTC).
TEST(LocalTime, ReadingsShownTwiceOrNeverGiveTheMomentNearestTheReference) {
  const std::int64_t first = DaysFromCivil(2026, 11, 1) * 86400 + 5 * 3600 + 1800;
  const CivilTime reading{2026, 11, 1, 1, 30, 0};
  EXPECT_EQ(MomentOfLocal(kZone, reading, first - 10), first);
  EXPECT_EQ(MomentOfLocal(kZone, reading, first + 3610), first + 3600);
  EXPECT_EQ(LocalTime(kZone, first), reading);
  EXPECT_EQ(LocalTime(kZone, first + 3600), reading);
  const std::int64_t jump = DaysFromCivil(2026, 3, 8) * 86400 + 7 * 3600;
  EXPECT_NEAR(MomentOfLocal(kZone, {2026, 3, 8, 2, 30, 0}, jump), jump, 3600);
}

}  // namespace
}  // namespace tarvex
