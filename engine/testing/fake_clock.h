// A clock for tests: the present moment is set by hand and the time zone is a fixed offset, or a
// zone with daylight saving time from the second Sunday of March to the first Sunday of November
// at 02:00 local time (as in much of North America), an hour ahead or by another shift.
#pragma once

#include <cstdint>

#include "engine/clock.h"

namespace tarvex::testing {

class FakeClock final : public Clock {
 public:
  // A zone `standardOffset` seconds east of UTC, with daylight saving when `daylightSaving`, the
  // clock then `shift` seconds ahead (an hour, or half an hour as in a few zones).
  explicit FakeClock(std::int64_t standardOffset = 0, bool daylightSaving = false,
                     std::int64_t shift = 3600)
      : standard_(standardOffset), dst_(daylightSaving), shift_(shift) {}

  std::int64_t Now() const override { return now_; }
  std::int64_t UtcOffset(std::int64_t t) const override {
    return standard_ + (dst_ && InDaylightSaving(t) ? shift_ : 0);
  }

  void Set(std::int64_t t) { now_ = t; }
  // Sets the present moment to a local wall-clock reading (the earlier one when it occurs twice).
  void SetLocal(std::int64_t year, int month, int day, int hour, int minute, int second) {
    now_ = MomentOfLocal(*this, {year, month, day, hour, minute, second}, INT64_MIN / 4);
  }
  void Advance(std::int64_t seconds) { now_ += seconds; }

 private:
  // Daylight saving runs from 02:00 standard time on the second Sunday of March to 02:00
  // daylight time (02:00 less the shift in standard time: 01:00 for an hour) on the first Sunday
  // of November.
  bool InDaylightSaving(std::int64_t t) const {
    const std::int64_t standardLocal = t + standard_;
    const std::int64_t year = CivilFromDays(FloorDiv(standardLocal, 86400)).year;
    const std::int64_t start = NthSunday(year, 3, 2) * 86400 + 2 * 3600;
    const std::int64_t end = NthSunday(year, 11, 1) * 86400 + 2 * 3600 - shift_;
    return standardLocal >= start && standardLocal < end;
  }
  // Days since 1970-01-01 of the n-th Sunday of the month.
  static std::int64_t NthSunday(std::int64_t year, int month, int n) {
    const std::int64_t first = DaysFromCivil(year, month, 1);
    const std::int64_t weekday = ((first % 7) + 7 + 4) % 7;  // 1970-01-01 was a Thursday; 0 Sunday
    return first + (7 - weekday) % 7 + 7 * (n - 1);
  }

  std::int64_t now_ = 0;
  std::int64_t standard_;
  bool dst_;
  std::int64_t shift_;  // (0, 2 h]: the change in November stays within the day
};

}  // namespace tarvex::testing
