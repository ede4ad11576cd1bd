// The local wall clock, injectable so that nothing depends on the real time.
#pragma once

#include <cstdint>
#include <ctime>

namespace tarvex {

// A moment of the proleptic Gregorian calendar, on a wall clock.
struct CivilTime {
  std::int64_t year = 1970;  // any year; the data files hold 0 to 9999
  int month = 1;             // [1, 12]
  int day = 1;               // [1, days in month]
  int hour = 0;              // [0, 23]
  int minute = 0;            // [0, 59]
  int second = 0;            // [0, 59]
  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The source of the present moment and of the local time zone's rules.
class Clock {
 public:
  virtual ~Clock() = default;
  // The present moment, in whole seconds since 1970-01-01 00:00:00 UTC.
  virtual std::int64_t Now() const = 0;
  // The local wall clock's offset from UTC at moment t, in seconds (east positive).
  virtual std::int64_t UtcOffset(std::int64_t t) const = 0;
};

// How the system clock reads the local wall clock at a moment; false when it cannot. By default
// std::localtime, which looks at the time zone afresh at every reading; the platform's start-up
// puts its reentrant reader in place. nullptr restores the default.
using LocalReading = bool (*)(std::time_t when, std::tm& local);
void SetLocalReading(LocalReading reading);

// The system's clock and time zone.
const Clock& SystemClock();
// The clock the engine reads: the system clock unless a test or `--at` put another in place.
const Clock& CurrentClock();
// Puts `clock` in place of the system clock; nullptr restores the system clock.
// The clock must outlive its use.
void SetClock(const Clock* clock);

// a / b rounded towards negative infinity; b > 0.
constexpr std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  return a / b - (a % b < 0 ? 1 : 0);
}

// Days from 1970-01-01 to the given date of the proleptic Gregorian calendar, and back.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day);
CivilTime CivilFromDays(std::int64_t days);
// Days in the month of the given year (leap years included).
int DaysInMonth(std::int64_t year, int month);

// The wall-clock reading of moment t under `clock`'s time zone.
CivilTime LocalTime(const Clock& clock, std::int64_t t);
// The moment at which the wall clock reads `local`. A reading that occurs twice (the hour repeated
// when daylight saving ends) gives the candidate nearest to `near`; one that never occurs (the hour
// skipped when it starts) is read with the offset of either side, again the one nearest to `near`.
std::int64_t MomentOfLocal(const Clock& clock, const CivilTime& local, std::int64_t near);

}  // namespace tarvex
