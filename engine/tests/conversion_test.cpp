#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

class Conversion : public testing::EngineTest {
 protected:
  // The game fields after `elapsed` real seconds from a pair made at 2026-06-15 12:00:00.
  std::string After(std::int64_t elapsed, std::string_view gameTime, std::string_view gameDate) {
    clock_.Set(Local(6, 15, 12, 0) + elapsed);
    const CalibrationRecord result =
        GetZRDTime(Record("12:00:00", "06/15/2026", gameTime, gameDate));
    return result.ZRDTime.str() + " " + result.ZRDDate.str();
  }
};

TEST_F(Conversion, AddsEighteenGameSecondsForEachRealSecondBothWays) {
  // Real seconds elapsed; the pair's game time and date; the game time and date then.
  const std::tuple<std::int64_t, const char*, const char*, const char*> cases[] = {
      // Pieces are read by position, a missing number as 0: day 0 of year 0 lies before the
      // calendar's first moment.
      {0, "1:2:3", "1/2/3", "00:00:00 01/01/0000"},
      {4, "00:00:01", "01/01/0001", "00:01:13 01/01/0001"},
      {1, "23:59:59", "12/28/0001", "00:00:17 01/01/0002"},
      {0, "00:00:00", "12/30/0001", "00:00:00 01/02/0002"},
      {0, "24:10:00", "03/05/0002", "00:10:00 03/06/0002"},
      {0, "23:59:59", "12/28/9999", "23:59:59 12/28/9999"},
      {1, "23:59:59", "12/28/9999", "00:00:17 01/01/0000"},  // year 10000 is not written
      // 10/3 real seconds is one game minute; 4 real seconds add 1 minute 12 seconds.
      {0, "00:.5:00", "01/01/0001", "00:00:00 01/01/0001"},
      {4, "00:.5:00", "01/01/0001", "00:02:12 01/01/0001"},  // 0.5 + 1 = 1.5 -> 2
      // An earlier present moves the game clock back exactly.
      {-1, "00:00:17", "01/01/0002", "23:59:59 12/28/0001"},  // borrows through every unit
      {-2, "00:00:10", "01/01/0000", "00:00:00 01/01/0000"},  // the calendar starts at year 0
      {-1, "00:00:10", "05/30/0001", "23:59:52 06/01/0001"},  // day 30 is carried first
      // Negative game fields (a hand-edited file) borrow through every unit.
      {0, "00:-5:00", "01/01/0001", "23:55:00 12/28/0000"},
      {0, "00:00:-1", "01/01/0002", "23:59:59 12/28/0001"},
      {0, "-1:00:00", "03/15/0002", "23:00:00 03/14/0002"},
      {0, "00:00:00", "01/00/0003", "00:00:00 12/28/0002"},
      {0, "00:00:00", "00/05/0003", "00:00:00 12/05/0002"},
      // Before the calendar: its first moment.
      {0, "00:-5:00", "01/01/0000", "00:00:00 01/01/0000"},
      {0, "00:00:00", "01/01/-001", "00:00:00 01/01/0000"},
  };
  for (const auto& [elapsed, time, date, expected] : cases)
    EXPECT_EQ(After(elapsed, time, date), expected) << elapsed << " s from " << time << " " << date;
}

TEST_F(Conversion, RealFieldsThatNameNoMomentCountNothingAndRebase) {
  clock_.Set(Local(6, 15, 12, 0));
  const CalibrationRecord rebased = Record("12:00:00", "06/15/2026", "00:10:00", "03/04/0002");
  EXPECT_EQ(GetZRDTime(Record("24:00:00", "06/15/2026", "24:10:00", "02/31/0002")), rebased);
  EXPECT_EQ(GetZRDTime(Record("12:00:00", "02/29/2026", "24:10:00", "02/31/0002")), rebased);
}

}  // namespace
}  // namespace tarvex
