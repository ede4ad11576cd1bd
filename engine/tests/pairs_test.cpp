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

}  // namespace
}  // namespace tarvex
