// The true instants at which moons begin and end.
#pragma once

#include <compare>
#include <cstdint>
#include <vector>

#include "engine/clock.h"
#include "engine/modZRD.h"

namespace tarvex {

// A true instant to the game second: 18 ticks a real second, counted from 1970-01-01 00:00:00 UTC
// on the engine's elapsed time (aware of daylight saving, never wall-clock arithmetic). A tick is
// one game second, so a game moment always falls on a whole tick, while it falls on a whole real
// second only one time in 18. The real seconds of `ticks` are FloorDiv(ticks, 18); the rest,
// [0, 17], is the game seconds past that real second.
struct Instant {
  std::int64_t ticks = 0;

  // The instant of a whole real second.
  static constexpr Instant AtSecond(std::int64_t second) {
    return {second * kGameSecondsPerRealSecond};
  }
  // The first whole real second at or after the instant: the second a tick at or after it sees.
  constexpr std::int64_t FirstSecond() const {
    return -FloorDiv(-ticks, kGameSecondsPerRealSecond);
  }
  friend constexpr auto operator<=>(const Instant&, const Instant&) = default;
};

inline constexpr std::int64_t kTicksPerMinute = 60 * kGameSecondsPerRealSecond;  // 1,080
inline constexpr std::int64_t kMoonRealSeconds = 4800;                           // one game day

enum class MoonKind { Good, Bad };
// The game day of the month the moon falls on: 15 for the good moon, 1 for the bad.
constexpr int MoonDay(MoonKind kind) {
  return kind == MoonKind::Good ? kGoodMoonDay : kBadMoonDay;
}

// One moon: from game 00:00:00 on its day until the next game day begins.
struct Moon {
  MoonKind kind = MoonKind::Good;
  std::int64_t gameYear = 0;
  int gameMonth = 1;  // [1, 12]
  Instant begin;
  Instant end;  // begin + 4,800 real seconds
  friend bool operator==(const Moon&, const Moon&) = default;
};

// The instant at which the game clock read 00:00:00 on 01/01/0000, by `record` re-based to second
// `now` (GetZRDTime(calibration, now), one clock reading for both): every game moment lies that
// many game seconds (ticks) after it. It stays the same from tick to tick until a recalibration.
Instant GameEpoch(const CalibrationRecord& record, std::int64_t now);

// The moon of `kind` that has not ended at `present`: the one in progress, else the next.
Moon MoonNotEnded(Instant epoch, MoonKind kind, Instant present);
// The moon of `kind` that follows `moon` (one game month later).
Moon NextMoonAfter(Instant epoch, const Moon& moon);
// The moon of `kind` that comes before `moon` (one game month earlier).
Moon MoonBefore(Instant epoch, const Moon& moon);

// The next `count` moons of each kind to begin after second `now`, by `record` re-based to it,
// 2 × `count` in all, in order of their beginning.
std::vector<Moon> NextMoons(const CalibrationRecord& record, std::int64_t now, int count);

}  // namespace tarvex
