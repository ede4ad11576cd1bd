#include <gtest/gtest.h>

#include "engine_fixture.h"

namespace tarvex {
namespace {

class Conversion : public testing::EngineTest {
 protected:
  // The game fields after `elapsed` real seconds from a pair made at 2026-06-15 12:00:00.
  std::string After(std::int64_t elapsed, std::string_view gameTime, std::string_view gameDate) {
    clock_.SetLocal(2026, 6, 15, 12, 0, 0);
    clock_.Advance(elapsed);
    const CalibrationRecord result =
        GetZRDTime(testing::Record("12:00:00", "06/15/2026", gameTime, gameDate));
    return result.ZRDTime.str() + " " + result.ZRDDate.str();
  }
};

struct Case {
  std::int64_t elapsed;
  const char* time;
  const char* date;
  const char* expected;
};

TEST_F(Conversion, AddsEighteenGameSecondsForEachRealSecond) {
  const Case cases[] = {
      {0, "14:05:33", "03/12/0002", "14:05:33 03/12/0002"},
      // Pieces are read by position: day 0 of year 0 lies before the calendar's first moment.
      {0, "1:2:3", "1/2/3", "00:00:00 01/01/0000"},
      {0, "1:2:3", "1/2/0003", "01:00:00 12/28/0002"},
      {1, "00:00:01", "01/01/0001", "00:00:19 01/01/0001"},
      {4, "00:00:01", "01/01/0001", "00:01:13 01/01/0001"},
      {1, "23:59:59", "12/28/0001", "00:00:17 01/01/0002"},
      {4800, "10:20:30", "04/05/0006", "10:20:30 04/06/0006"},
      {86400, "10:20:30", "01/01/0005", "10:20:30 01/19/0005"},
      {1612800, "10:20:30", "04/05/0006", "10:20:30 04/05/0007"},
      {0, "00:00:00", "05/30/0001", "00:00:00 06/02/0001"},
      {0, "00:00:00", "12/30/0001", "00:00:00 01/02/0002"},
      {0, "24:10:00", "03/05/0002", "00:10:00 03/06/0002"},
      {0, "00:00:00", "01/02/03", "00:00:00 01/02/0003"},
      {0, "00:00:00", "01/01/9", "00:00:00 01/01/0009"},
      {0, "00:00:00", "01/01/99", "00:00:00 01/01/0099"},
      {0, "00:00:00", "01/01/999", "00:00:00 01/01/0999"},
      {0, "00:00:00", "01/01/1000", "00:00:00 01/01/1000"},
      {0, "23:59:59", "12/28/9999", "23:59:59 12/28/9999"},
      {1, "23:59:59", "12/28/9999", "00:00:17 01/01/0000"},  // year 10000 is not written
      {0, "ab:cd:ef", "xx/yy/zzzz", "00:00:00 01/01/0000"},  // no numbers: the first moment
  };
  for (const auto& c : cases) {
    EXPECT_EQ(After(c.elapsed, c.time, c.date), c.expected)
        << c.elapsed << " s from " << c.time << " " << c.date;
  }
}

TEST_F(Conversion, AMinuteOfOneHalfRoundsWithWhatIsAdded) {
  // 10/3 real seconds is one game minute; 4 real seconds add 1 minute 12 seconds.
  EXPECT_EQ(After(0, "00:.5:00", "01/01/0001"), "00:00:00 01/01/0001");
  EXPECT_EQ(After(4, "00:.5:00", "01/01/0001"), "00:02:12 01/01/0001");  // 0.5 + 1 = 1.5 -> 2
}

TEST_F(Conversion, RealFieldsAlwaysHoldThePresentMoment) {
  clock_.SetLocal(2026, 2, 3, 4, 5, 6);
  const CalibrationRecord result =
      GetZRDTime(testing::Record("04:05:06", "02/03/2026", "10:00:00", "01/01/0001"));
  EXPECT_EQ(result.RealTime.str(), "04:05:06");
  EXPECT_EQ(result.RealDate.str(), "02/03/2026");
  clock_.Advance(3600 * 24 * 400);
  EXPECT_EQ(GetZRDTime(result).RealDate.str(), "03/10/2027");
}

TEST_F(Conversion, TicksNeitherLoseNorCountASecondTwice) {
  clock_.SetLocal(2026, 6, 15, 12, 0, 0);
  CalibrationRecord record = testing::Record("12:00:00", "06/15/2026", "00:00:00", "01/01/0001");
  for (int tick = 0; tick < 2 * 4800; ++tick) {  // 80 real minutes at two ticks a second
    if (tick % 2 == 1) clock_.Advance(1);
    record = GetZRDTime(record);
  }
  EXPECT_EQ(record.ZRDTime.str() + " " + record.ZRDDate.str(), "00:00:00 01/02/0001");
}

TEST_F(Conversion, LongGapsUseSixtyFourBitArithmetic) {
  // Ten real years: far beyond a 32-bit count of game seconds.
  clock_.SetLocal(2036, 6, 15, 12, 0, 0);
  const std::int64_t elapsed = clock_.Now() - MomentOfLocal(clock_, {2026, 6, 15, 12, 0, 0}, 0);
  const std::int64_t game = elapsed * 18;
  const CalibrationRecord result =
      GetZRDTime(testing::Record("12:00:00", "06/15/2026", "00:00:00", "01/01/0001"));
  const std::int64_t years = game / 29030400;
  EXPECT_EQ(LeadingNumber(Piece(result.ZRDDate, 7, 4)), static_cast<double>(1 + years));
}

TEST_F(Conversion, AnEarlierPresentMovesTheGameClockBackExactly) {
  const Case cases[] = {
      {-1, "00:00:19", "01/01/0001", "00:00:01 01/01/0001"},
      {-1, "00:00:17", "01/01/0002", "23:59:59 12/28/0001"},  // borrows through every unit
      {-4800, "10:20:30", "04/06/0006", "10:20:30 04/05/0006"},
      {-1612800, "10:20:30", "04/05/0007", "10:20:30 04/05/0006"},
      {-2, "00:00:10", "01/01/0000", "00:00:00 01/01/0000"},  // the calendar starts at year 0
      {-1, "00:00:10", "05/30/0001", "23:59:52 06/01/0001"},  // day 30 is carried first
  };
  for (const auto& c : cases) {
    const std::string result = After(c.elapsed, c.time, c.date);
    EXPECT_EQ(result, c.expected) << c.elapsed << " s from " << c.time << " " << c.date;
    EXPECT_EQ(result.find('-'), std::string::npos);
  }
}

TEST_F(Conversion, ForwardThenBackwardComesHome) {
  for (const std::int64_t elapsed : {1, 17, 4800, 86399, 1612801, 99999999}) {
    clock_.SetLocal(2026, 6, 15, 12, 0, 0);
    const CalibrationRecord start =
        testing::Record("12:00:00", "06/15/2026", "13:14:15", "07/08/0123");
    clock_.Advance(elapsed);
    const CalibrationRecord later = GetZRDTime(start);
    clock_.Advance(-elapsed);
    const CalibrationRecord back = GetZRDTime(later);
    EXPECT_EQ(back, start) << elapsed;
  }
}

TEST_F(Conversion, RealFieldsThatNameNoMomentCountNothingAndRebase) {
  const char* bad[][2] = {{"24:00:00", "06/15/2026"}, {"12:00:00", "06/31/2026"},
                          {"12:00:00", "02/29/2026"}, {"ab:cd:ef", "06/15/2026"},
                          {"12:00:00", "xx/yy/zzzz"}, {"", ""}};
  for (const auto& real : bad) {
    clock_.SetLocal(2026, 6, 15, 12, 0, 0);
    const CalibrationRecord result =
        GetZRDTime(testing::Record(real[0], real[1], "24:10:00", "02/31/0002"));
    EXPECT_EQ(result, testing::Record("12:00:00", "06/15/2026", "00:10:00", "03/04/0002"))
        << real[0] << " " << real[1];
  }
}

TEST_F(Conversion, NegativeGameFieldsBorrowThroughEveryUnit) {
  const char* cases[][3] = {
      // game time, game date, the game moment it stands for
      {"00:-5:00", "01/01/0001", "23:55:00 12/28/0000"},
      {"00:00:-1", "01/01/0002", "23:59:59 12/28/0001"},
      {"-1:00:00", "03/15/0002", "23:00:00 03/14/0002"},
      {"00:00:00", "01/00/0003", "00:00:00 12/28/0002"},
      {"00:00:00", "00/05/0003", "00:00:00 12/05/0002"},
      {"00:-5:00", "01/01/0000", "00:00:00 01/01/0000"},  // before the calendar: its first moment
      {"00:00:00", "01/01/-001", "00:00:00 01/01/0000"},
  };
  for (const auto& c : cases) EXPECT_EQ(After(0, c[0], c[1]), c[2]) << c[0] << " " << c[1];
}

class DaylightSaving : public testing::EngineTest {
 protected:
  void SetUp() override {
    testing::EngineTest::SetUp();
    SetClock(&zone_);
  }
  testing::FakeClock zone_{-5 * 3600, true};
};

TEST_F(DaylightSaving, SpringForwardCountsTrueSeconds) {
  // 01:59:59 standard time, then one real second later the wall clock reads 03:00:00.
  zone_.SetLocal(2026, 3, 8, 1, 59, 59);
  CalibrationRecord record = testing::Record("01:59:59", "03/08/2026", "00:00:00", "01/01/0001");
  zone_.Advance(1);
  record = GetZRDTime(record);
  EXPECT_EQ(record.RealTime.str(), "03:00:00");
  EXPECT_EQ(record.ZRDTime.str(), "00:00:18");
}

TEST_F(DaylightSaving, FallBackNeitherJumpsNorStalls) {
  // 01:59:59 daylight time; one second later the wall clock reads 01:00:00 again.
  zone_.SetLocal(2026, 11, 1, 1, 59, 59);
  CalibrationRecord record = testing::Record("01:59:59", "11/01/2026", "00:00:00", "01/01/0001");
  for (int second = 1; second <= 4000; ++second) {
    zone_.Advance(1);
    record = GetZRDTime(record);
    ASSERT_EQ(LeadingNumber(Piece(record.ZRDTime, 7)) +
                  60 * LeadingNumber(Piece(record.ZRDTime, 4)) +
                  3600 * LeadingNumber(Piece(record.ZRDTime, 1)),
              static_cast<double>(18 * second))
        << "after " << second << " s: " << record.RealTime.str();
  }
}

}  // namespace
}  // namespace tarvex
