#include "engine/clock.h"

#include <ctime>
#include <initializer_list>

namespace tarvex {
namespace {

// The portable reading: the one thread that reads the clock copies the result at once.
bool StandardLocalReading(std::time_t when, std::tm& local) {
  const std::tm* reading = std::localtime(&when);
  if (reading == nullptr) return false;
  local = *reading;
  return true;
}

LocalReading g_reading = StandardLocalReading;

class TheSystemClock final : public Clock {
 public:
  std::int64_t Now() const override { return static_cast<std::int64_t>(std::time(nullptr)); }

  std::int64_t UtcOffset(std::int64_t t) const override {
    std::tm local{};
    if (!g_reading(static_cast<std::time_t>(t), local)) return 0;
    const std::int64_t wall =
        DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) * 86400 +
        local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
    return wall - t;
  }
};

const Clock* g_clock = nullptr;

}  // namespace

const Clock& SystemClock() {
  static const TheSystemClock clock;
  return clock;
}

const Clock& CurrentClock() {
  return g_clock != nullptr ? *g_clock : SystemClock();
}

void SetLocalReading(LocalReading reading) {
  g_reading = reading != nullptr ? reading : StandardLocalReading;
}

void SetClock(const Clock* clock) {
  g_clock = clock;
}

// Howard Hinnant's algorithms: eras of 400 years, each of 146097 days.
std::int64_t DaysFromCivil(std::int64_t year, int month, int day) {
  year -= month <= 2;
  const std::int64_t era = FloorDiv(year, 400);
  const std::int64_t yoe = year - era * 400;                                          // [0, 399]
  const std::int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;  // [0, 365]
  const std::int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;                     // [0, 146096]
  return era * 146097 + doe - 719468;
}

CivilTime CivilFromDays(std::int64_t days) {
  days += 719468;
  const std::int64_t era = FloorDiv(days, 146097);
  const std::int64_t doe = days - era * 146097;                                    // [0, 146096]
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);                // [0, 365]
  const std::int64_t mp = (5 * doy + 2) / 153;                                     // [0, 11]
  CivilTime civil;
  civil.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);  // [1, 31]
  civil.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);   // [1, 12]
  civil.year = yoe + era * 400 + (civil.month <= 2);
  return civil;
}

int DaysInMonth(std::int64_t year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2) {
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return leap ? 29 : 28;
  }
  return kDays[month - 1];
}

CivilTime LocalTime(const Clock& clock, std::int64_t t) {
  const std::int64_t wall = t + clock.UtcOffset(t);
  const std::int64_t days = FloorDiv(wall, 86400);
  const std::int64_t second = wall - days * 86400;  // [0, 86399]
  CivilTime civil = CivilFromDays(days);
  civil.hour = static_cast<int>(second / 3600);
  civil.minute = static_cast<int>(second / 60 % 60);
  civil.second = static_cast<int>(second % 60);
  return civil;
}

std::int64_t MomentOfLocal(const Clock& clock, const CivilTime& local, std::int64_t near) {
  const std::int64_t wall = DaysFromCivil(local.year, local.month, local.day) * 86400 +
                            local.hour * 3600 + local.minute * 60 + local.second;
  // Offsets change at most once within a day, so the offsets a day before and a day after are
  // the only ones that can apply. A candidate is real when its own offset is the one it assumed.
  const std::int64_t before = clock.UtcOffset(wall - 86400);
  const std::int64_t after = clock.UtcOffset(wall + 86400);
  if (before == after) return wall - before;  // no change near: the one reading, as a rule
  std::int64_t best = 0;
  bool found = false;
  for (const bool realOnly : {true, false}) {
    for (const std::int64_t offset : {before, after}) {
      const std::int64_t candidate = wall - offset;
      if (realOnly && clock.UtcOffset(candidate) != offset) continue;
      const auto distance = [near](std::int64_t t) { return t > near ? t - near : near - t; };
      if (!found || distance(candidate) < distance(best)) best = candidate;
      found = true;
    }
    if (found) break;  // a skipped reading takes either side's offset only when none is real
  }
  return best;
}

}  // namespace tarvex
