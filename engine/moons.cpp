#include "engine/moons.h"

#include <algorithm>
#include <string_view>

#include "engine/modGeneral.h"

namespace tarvex {
namespace {

constexpr std::int64_t kGameDay = 86400;
constexpr std::int64_t kDaysPerMonth = 28;

// The game moment of the record's game fields in game seconds since 00:00:00 on 01/01/0000. The
// sum is linear, so out-of-range fields (hour 24, day 29 to 31) carry as the game clock carries
// them. A year of at most four digits keeps it below 2.9 × 10^11.
std::int64_t GameSeconds(const CalibrationRecord& record) {
  const auto field = [](std::string_view text, std::size_t position, std::size_t count = 2) {
    return RoundHalfEven(LeadingNumber(Piece(text, position, count)));
  };
  const std::int64_t months = field(record.ZRDDate, 7, 4) * 12 + field(record.ZRDDate, 1) - 1;
  const std::int64_t days = months * kDaysPerMonth + field(record.ZRDDate, 4) - 1;
  const std::int64_t hours = days * 24 + field(record.ZRDTime, 1);
  return (hours * 60 + field(record.ZRDTime, 4)) * 60 + field(record.ZRDTime, 7);
}

// The moon of `kind` in game month `monthIndex` (year × 12 + month − 1).
Moon MoonOfMonth(Instant epoch, MoonKind kind, std::int64_t monthIndex) {
  Moon moon;
  moon.kind = kind;
  moon.gameYear = FloorDiv(monthIndex, 12);
  moon.gameMonth = static_cast<int>(monthIndex - moon.gameYear * 12 + 1);  // [1, 12]
  const std::int64_t day = monthIndex * kDaysPerMonth + MoonDay(kind) - 1;
  moon.begin = Instant{epoch.ticks + day * kGameDay};
  moon.end = Instant{moon.begin.ticks + kGameDay};
  return moon;
}

}  // namespace

Instant GameEpoch(const CalibrationRecord& record, std::int64_t now) {
  return Instant{Instant::AtSecond(now).ticks - GameSeconds(record)};
}

Moon MoonNotEnded(Instant epoch, MoonKind kind, Instant present) {
  // The game day in progress, counted from 01/01/0000; the moon's month is the first whose moon
  // day is that day or later.
  const std::int64_t today = FloorDiv(present.ticks - epoch.ticks, kGameDay);
  const std::int64_t monthIndex = -FloorDiv(MoonDay(kind) - 1 - today, kDaysPerMonth);
  return MoonOfMonth(epoch, kind, monthIndex);
}

Moon NextMoonAfter(Instant epoch, const Moon& moon) {
  return MoonOfMonth(epoch, moon.kind, moon.gameYear * 12 + moon.gameMonth);
}

Moon MoonBefore(Instant epoch, const Moon& moon) {
  return MoonOfMonth(epoch, moon.kind, moon.gameYear * 12 + moon.gameMonth - 2);
}

std::vector<Moon> NextMoons(const CalibrationRecord& record, std::int64_t now, int count) {
  const Instant epoch = GameEpoch(record, now);
  const Instant present = Instant::AtSecond(now);
  std::vector<Moon> moons;
  for (const MoonKind kind : {MoonKind::Good, MoonKind::Bad}) {
    Moon moon = MoonNotEnded(epoch, kind, present);
    if (moon.begin <= present) moon = NextMoonAfter(epoch, moon);
    for (int k = 0; k < count; ++k, moon = NextMoonAfter(epoch, moon)) moons.push_back(moon);
  }
  std::sort(moons.begin(), moons.end(),
            [](const Moon& a, const Moon& b) { return a.begin < b.begin; });
  return moons;
}

}  // namespace tarvex
