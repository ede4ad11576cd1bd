#include "engine/clock.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tarvex
