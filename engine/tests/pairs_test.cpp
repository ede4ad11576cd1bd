#include <gtest/gtest.h>

#include <optional>

#include "engine/moons.h"
#include "engine_fixture.h"

namespace tarvex {
namespace {

class Pairs : public testing::EngineTest {
 protected:
  // The game time and date of a pair, or "none".
  static std::string Game(const std::optional<CalibrationRecord>& pair) {
    return pair ? pair->ZRDTime.str() + " " + pair->ZRDDate.str() : "none";
  }
};

// --- The pair to keep ----------------------------------------------------------------------

TEST_F(Pairs, AreKeptOnlyWhenTheGameMomentLiesInsideTheCalendar) {
  const std::int64_t june = Local(6, 15, 12, 0);
  const CalibrationRecord nameless = Record("24:00:00", "06/15/2026", "10:00:00", "05/20/0003");
  struct Case {
    const char* name;
    CalibrationRecord pair;
    std::int64_t now;
    const char* game;  // what the kept pair holds, or "none"
  };
  const Case cases[] = {
      {"an hour on", PairAt(june, "10:00:00", "05/20/0003"), june + 3600, "04:00:00 05/21/0003"},
      {"the clock 60 days back, above year 0", PairAt(june, "00:00:00", "01/01/0005"),
       june - 60 * 86400, "00:00:00 10/13/0001"},
      {"the clock 60 days back, below year 0", PairAt(june, "12:00:00", "03/04/0002"),
       june - 60 * 86400, "none"},
      {"back to the calendar's first moment", PairAt(june, "00:00:18", "01/01/0000"), june - 1,
       "00:00:00 01/01/0000"},
      {"back a second past it", PairAt(june, "00:00:18", "01/01/0000"), june - 2, "none"},
      {"the last second of year 9999", PairAt(june, "23:59:42", "12/28/9999"), june,
       "23:59:42 12/28/9999"},
      {"on into year 10000", PairAt(june, "23:59:42", "12/28/9999"), june + 1, "none"},
      {"ten days past year 9999", PairAt(june, "21:00:00", "12/20/9999"), june + 10 * 86400,
       "none"},
      {"game fields before the calendar", PairAt(june, "00:00:00", "01/01/-001"), june, "none"},
      {"real fields that name no moment", nameless, june + 3600, "10:00:00 05/20/0003"},
      {"a real year past 9999", nameless, june + 8000LL * 365 * 86400, "none"},
  };
  for (const Case& c : cases) {
    clock_.Set(c.now);
    const std::optional<CalibrationRecord> kept = KeepablePair(c.pair, c.now);
    EXPECT_EQ(Game(kept), c.game) << c.name;
    if (kept) {
      EXPECT_EQ(*kept, GetZRDTime(c.pair, c.now)) << c.name;
    }
  }
}

TEST_F(Pairs, AKeptPairOutlastsAClockSetBackForAWhile) {
  // A tick every minute from the pair on, the clock set back 60 days at the third and put right
  // at the fourth: the game moment reached then is the one the pair has always given.
  const std::int64_t june = Local(6, 15, 12, 0);
  const CalibrationRecord pair = PairAt(june, "00:00:00", "03/01/0001");
  CalibrationRecord kept = pair;
  for (const std::int64_t now : {june + 60, june + 120, june + 180 - 60 * 86400, june + 240}) {
    clock_.Set(now);
    if (const std::optional<CalibrationRecord> next = KeepablePair(kept, now)) kept = *next;
  }
  EXPECT_EQ(kept, GetZRDTime(pair, june + 240));
  EXPECT_EQ(Game(kept), "01:12:00 03/01/0001");
}

// --- The pair to write ---------------------------------------------------------------------

TEST_F(Pairs, SavedInARepeatedHourAreRebasedToItsEndAndReadBackExactly) {
  testing::FakeClock& hour = clock_;     // daylight saving an hour ahead
  testing::FakeClock& half = halfHour_;  // half an hour ahead
  struct Case {
    const char* name;
    testing::FakeClock& zone;
    std::int64_t saved;   // the moment of the pair and of its saving
    const char* written;  // the pair written, real and game fields; "" when the pair itself
  };
  const Case cases[] = {
      {"hour, the first 01:00:00", hour, LocalIn(hour, 11, 1, 1, 0),
       "02:00:00 11/01/2026 22:00:00 05/21/0003"},
      {"hour, the first 01:30:00", hour, LocalIn(hour, 11, 1, 1, 30),
       "02:00:00 11/01/2026 13:00:00 05/21/0003"},
      {"hour, the second 01:30:00", hour, RepeatedIn(hour, 11, 1, 1, 30),
       "02:00:00 11/01/2026 19:00:00 05/20/0003"},
      {"hour, the second 01:59:59", hour, RepeatedIn(hour, 11, 1, 1, 59, 59),
       "02:00:00 11/01/2026 10:00:18 05/20/0003"},
      {"half, the first 01:30:00", half, LocalIn(half, 11, 1, 1, 30),
       "02:00:00 11/01/2026 04:00:00 05/21/0003"},
      {"half, the first 01:45:00", half, LocalIn(half, 11, 1, 1, 45),
       "02:00:00 11/01/2026 23:30:00 05/20/0003"},
      {"half, the second 01:45:00", half, RepeatedIn(half, 11, 1, 1, 45),
       "02:00:00 11/01/2026 14:30:00 05/20/0003"},
      // Readings that show once.
      {"hour, 00:59:59 before the repeated hour", hour, LocalIn(hour, 11, 1, 0, 59, 59), ""},
      {"hour, 02:00:00 after it", hour, LocalIn(hour, 11, 1, 2, 0), ""},
      {"hour, noon", hour, LocalIn(hour, 11, 1, 12, 0), ""},
      {"hour, 01:59:59 before the skipped hour", hour, LocalIn(hour, 3, 8, 1, 59, 59), ""},
      {"hour, 03:00:00 after it", hour, LocalIn(hour, 3, 8, 3, 0), ""},
      {"half, 01:29:59 before the repeated half hour", half, LocalIn(half, 11, 1, 1, 29, 59), ""},
      {"half, 02:00:00 after it", half, LocalIn(half, 11, 1, 2, 0), ""},
      {"half, 02:30:00 after the skipped half hour", half, LocalIn(half, 3, 8, 2, 30), ""},
  };
  for (const Case& c : cases) {
    SetClock(&c.zone);
    c.zone.Set(c.saved);
    const CalibrationRecord pair = PairIn(c.zone, c.saved, "10:00:00", "05/20/0003");
    const CalibrationRecord written = UnambiguousPair(pair, c.saved);
    const std::string fields = written.RealTime.str() + " " + written.RealDate.str() + " " +
                               written.ZRDTime.str() + " " + written.ZRDDate.str();
    EXPECT_EQ(written == pair ? "" : fields, c.written) << c.name;
    // Read back later, it gives the game moments of the moment it was saved at: the same epoch.
    const Instant epoch = GameEpoch(pair, c.saved);
    for (const std::int64_t later : {c.saved + 7200, c.saved + 7200 + 3617, c.saved + 3 * 86400}) {
      c.zone.Set(later);
      EXPECT_EQ(GameEpoch(GetZRDTime(written, later), later), epoch)
          << c.name << ", read " << later - c.saved << " s after";
    }
  }
}

TEST_F(Pairs, ThatCannotBeRebasedToTheSameClockAreWrittenAsTheyAre) {
  const std::int64_t repeated = Local(11, 1, 1, 30);
  clock_.Set(repeated);
  const CalibrationRecord cases[] = {
      Record("24:00:00", "11/01/2026", "10:00:00", "05/20/0003"),  // a real time of no moment
      PairAt(repeated, "10:00:00", "01/01/-001"),                  // before the calendar
      PairAt(repeated, "23:59:59", "12/28/9999"),                  // past it at 02:00:00
  };
  for (const CalibrationRecord& pair : cases)
    EXPECT_EQ(UnambiguousPair(pair, repeated), pair) << ::testing::PrintToString(pair);
}

}  // namespace
}  // namespace tarvex
