// The game clock: the conversion of real time into game time, the moon forecast with the tip's
// lines, and the moon's phase by game day.
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/clock.h"
#include "engine/icons.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"

namespace tarvex {

namespace {

// --- Game calendar -------------------------------------------------------------------------

constexpr std::int64_t kRate = kGameSecondsPerRealSecond;
constexpr std::int64_t kMinute = 60;
constexpr std::int64_t kHour = 60 * kMinute;
constexpr std::int64_t kDay = 24 * kHour;    // 86,400
constexpr std::int64_t kMonth = 28 * kDay;   // 2,419,200
constexpr std::int64_t kYear = 12 * kMonth;  // 29,030,400

struct GameMoment {
  std::int64_t year = 0, month = 1, day = 1, hour = 0, minute = 0, second = 0;
};

// The calibration's real fields as a wall-clock reading, when they name a moment of the calendar.
std::optional<CivilTime> RealReading(const CalibrationRecord& record) {
  if (!IsCalendarTime(record.RealTime) || !IsCalendarDate(record.RealDate)) return std::nullopt;
  const auto number = [](std::string_view text, std::size_t position, std::size_t count) {
    return static_cast<int>(LeadingNumber(Piece(text, position, count)));
  };
  return CivilTime{number(record.RealDate, 7, 4), number(record.RealDate, 1, 2),
                   number(record.RealDate, 4, 2), number(record.RealTime, 1, 2),
                   number(record.RealTime, 4, 2), number(record.RealTime, 7, 2)};
}

// The real moment of the calibration, when its real fields name a moment of the calendar; of a
// reading that shows twice, the one nearest `now`.
std::optional<std::int64_t> RealMoment(const CalibrationRecord& record, const Clock& clock,
                                       std::int64_t now) {
  const std::optional<CivilTime> reading = RealReading(record);
  if (!reading) return std::nullopt;
  return MomentOfLocal(clock, *reading, now);
}

// One step of the addition: the field plus what is added plus the carry, as a whole number in
// [low, limit]. It wraps at most once upwards; a sum below `low` (only from a hand-edited file)
// borrows from the next unit, as often as it takes, instead of being written with a minus sign.
std::int64_t AddUnit(double field, std::int64_t added, std::int64_t& carry, std::int64_t low,
                     std::int64_t limit, std::int64_t span) {
  std::int64_t sum = RoundHalfEven(field + static_cast<double>(added + carry));
  carry = 0;
  if (sum > limit) {
    sum -= span;
    carry = 1;
  } else if (sum < low) {
    const std::int64_t borrow = (low - sum + span - 1) / span;  // >= 1
    sum += borrow * span;
    carry = -borrow;
  }
  return sum;
}

// Adds `game` game seconds (zero or more) to the moment in the record's game fields, unit by
// unit from the smallest up.
GameMoment AddForward(const CalibrationRecord& record, std::int64_t game) {
  const std::int64_t years = game / kYear;
  game -= years * kYear;
  const std::int64_t months = game / kMonth;  // [0, 11]
  game -= months * kMonth;
  const std::int64_t days = game / kDay;  // [0, 27]
  game -= days * kDay;
  const std::int64_t hours = game / kHour;  // [0, 23]
  game -= hours * kHour;
  const std::int64_t minutes = game / kMinute;            // [0, 59]
  const std::int64_t seconds = game - minutes * kMinute;  // [0, 59]

  const auto field = [](std::string_view text, std::size_t position, std::size_t count = 2) {
    return LeadingNumber(Piece(text, position, count));
  };
  GameMoment m;
  std::int64_t carry = 0;
  m.second = AddUnit(field(record.ZRDTime, 7), seconds, carry, 0, 59, 60);
  m.minute = AddUnit(field(record.ZRDTime, 4), minutes, carry, 0, 59, 60);
  m.hour = AddUnit(field(record.ZRDTime, 1), hours, carry, 0, 23, 24);
  m.day = AddUnit(field(record.ZRDDate, 4), days, carry, 1, 28, 28);
  m.month = AddUnit(field(record.ZRDDate, 1), months, carry, 1, 12, 12);
  m.year = RoundHalfEven(field(record.ZRDDate, 7, 4) + static_cast<double>(years + carry));
  return m;
}

// The same moment `game` (negative) game seconds earlier, borrowing through every unit; none
// before the calendar's first moment, 00:00:00 on 01/01/0000.
std::optional<GameMoment> AddBackward(const GameMoment& from, std::int64_t game) {
  std::int64_t total =
      ((((from.year * 12 + from.month - 1) * 28 + from.day - 1) * 24 + from.hour) * 60 +
       from.minute) *
          60 +
      from.second + game;
  if (total < 0) return std::nullopt;
  GameMoment m;
  m.second = total % 60;
  total /= 60;
  m.minute = total % 60;
  total /= 60;
  m.hour = total % 24;
  total /= 24;
  m.day = total % 28 + 1;
  total /= 28;
  m.month = total % 12 + 1;
  m.year = total / 12;
  return m;
}

// The game moment `elapsed` real seconds after the record's game moment (before it when
// negative); none before the calendar's first moment.
std::optional<GameMoment> GameMomentAfter(const CalibrationRecord& record, std::int64_t elapsed) {
  const std::int64_t game = elapsed * kRate;
  const GameMoment moment = AddForward(record, game >= 0 ? game : 0);
  if (moment.year < 0) return std::nullopt;
  if (game < 0) return AddBackward(moment, game);
  return moment;
}

// The game moment the calibration reaches at second `now`; none before the calendar's first
// moment. Real fields that name no moment count no elapsed time: the pair is re-based as it stands.
std::optional<GameMoment> GameMomentAt(const CalibrationRecord& calibration, const Clock& clock,
                                       std::int64_t now) {
  const std::optional<std::int64_t> then = RealMoment(calibration, clock, now);
  return GameMomentAfter(calibration, then ? now - *then : 0);
}

// The pair of real moment `t` and game moment `moment`.
CalibrationRecord PairOf(const Clock& clock, std::int64_t t, const GameMoment& moment) {
  const CivilTime real = LocalTime(clock, t);
  CalibrationRecord pair;
  pair.RealTime = TimeText(real.hour, real.minute, real.second);
  pair.RealDate = DateText(real.month, real.day, real.year);
  pair.ZRDTime = TimeText(moment.hour, moment.minute, moment.second);
  pair.ZRDDate = DateText(moment.month, moment.day, moment.year);
  return pair;
}

// The last year a date's four digits hold: DateText writes a later one as 0000.
constexpr std::int64_t kLastYear = 9999;

// Whether the wall-clock reading of moment t shows at another moment too (in the hour repeated
// when daylight saving ends). As in MomentOfLocal, the offsets a day before and a day after the
// reading are the only ones that can give it.
bool ShowsTwice(const Clock& clock, std::int64_t t) {
  const std::int64_t wall = t + clock.UtcOffset(t);
  for (const std::int64_t offset : {clock.UtcOffset(wall - 86400), clock.UtcOffset(wall + 86400)}) {
    const std::int64_t other = wall - offset;
    if (other != t && clock.UtcOffset(other) == offset) return true;
  }
  return false;
}

}  // namespace

// --- Real clock ----------------------------------------------------------------------------

std::string GetRealTime() {
  const Clock& clock = CurrentClock();
  const CivilTime now = LocalTime(clock, clock.Now());
  return TimeText(now.hour, now.minute, now.second);
}

std::string GetRealDate() {
  const Clock& clock = CurrentClock();
  const CivilTime now = LocalTime(clock, clock.Now());
  return DateText(now.month, now.day, now.year);
}

// --- Game clock ----------------------------------------------------------------------------

CalibrationRecord GetZRDTime(const CalibrationRecord& calibration) {
  return GetZRDTime(calibration, CurrentClock().Now());  // the one reading of the present moment
}

CalibrationRecord GetZRDTime(const CalibrationRecord& calibration, std::int64_t now) {
  const Clock& clock = CurrentClock();
  // The calendar starts at 00:00:00 on 01/01/0000: an earlier moment stops there.
  return PairOf(clock, now, GameMomentAt(calibration, clock, now).value_or(GameMoment{}));
}

std::optional<CalibrationRecord> KeepablePair(const CalibrationRecord& pair, std::int64_t now) {
  const Clock& clock = CurrentClock();
  const std::optional<GameMoment> moment = GameMomentAt(pair, clock, now);
  if (!moment || moment->year > kLastYear) return std::nullopt;
  const std::int64_t year = LocalTime(clock, now).year;
  if (year < 0 || year > kLastYear) return std::nullopt;
  return PairOf(clock, now, *moment);
}

CalibrationRecord UnambiguousPair(const CalibrationRecord& pair, std::int64_t now) {
  const Clock& clock = CurrentClock();
  const std::optional<std::int64_t> then = RealMoment(pair, clock, now);
  if (!then || !ShowsTwice(clock, *then)) return pair;
  // The moments whose readings show twice form one stretch of at most a few hours through *then:
  // its end, the first moment whose reading shows once, is found by halving (*then, *then + 2 d].
  std::int64_t twice = *then, once = *then + 2 * 86400;
  if (ShowsTwice(clock, once)) return pair;
  while (once - twice > 1) {
    const std::int64_t middle = twice + (once - twice) / 2;
    (ShowsTwice(clock, middle) ? twice : once) = middle;
  }
  // Game fields beyond the calendar (a hand-edited file) cannot be re-based to the same clock.
  const std::optional<GameMoment> moment = GameMomentAfter(pair, once - *then);
  if (!moment || moment->year > kLastYear) return pair;
  return PairOf(clock, once, *moment);
}

// --- Moon forecast -------------------------------------------------------------------------

std::int64_t GameSecondsToMoon(const CalibrationRecord& calibration, int MoonDay) {
  const auto number = [](std::string_view text, std::size_t position) {
    return static_cast<std::int64_t>(LeadingNumber(Piece(text, position)));
  };
  const std::int64_t s = number(calibration.ZRDTime, 7);
  const std::int64_t m = number(calibration.ZRDTime, 4);
  const std::int64_t h = number(calibration.ZRDTime, 1);
  const std::int64_t d = number(calibration.ZRDDate, 4);
  std::int64_t left_s = 60 - s;                                         // [1, 60]
  std::int64_t left_m = 60 - m;                                         // [1, 60]
  std::int64_t left_h = 24 - h;                                         // [1, 24]
  std::int64_t left_d = d >= MoonDay ? 28 - d + MoonDay : MoonDay - d;  // [1, 28]
  if (left_s > 0 && left_m > 0) --left_m;
  if (left_s > 0 && left_h > 0) --left_h;
  if (left_s > 0 && left_d > 0) --left_d;
  return left_d * kDay + left_h * kHour + left_m * kMinute + left_s;
}

NextMoon GetNextMoon(const CalibrationRecord& calibration, int MoonDay, bool hours24) {
  const auto number = [](std::string_view text, std::size_t position) {
    return static_cast<std::int64_t>(LeadingNumber(Piece(text, position)));
  };
  const std::int64_t game = GameSecondsToMoon(calibration, MoonDay);

  // Real time left: [0, 134,400] seconds, so at most 1 day.
  const std::int64_t real = game / kRate;
  const std::int64_t days = real / 86400;
  const std::int64_t hours = real % 86400 / 3600;
  const std::int64_t minutes = real % 3600 / 60;
  const std::int64_t seconds = real % 60;

  NextMoon moon;
  const auto count = [&moon](std::int64_t n, const char* one, const char* many) {
    if (n > 0) moon.Countdown += std::to_string(n) + (n == 1 ? one : many);
  };
  count(days, " DAY  ", " DAY  ");
  count(hours, " HOUR  ", " HOURS  ");
  count(minutes, " MINUTE  ", " MINUTES  ");
  count(seconds, " SECOND", " SECONDS");

  // The real clock time at which it begins: the whole second at or before the true instant, on
  // the local wall clock, and its local date counted from the record's real date. Across a change
  // of daylight saving that is not the record's reading plus the time left.
  std::int64_t hour = 0, minute = 0, offset = 0;
  const Clock& clock = CurrentClock();
  if (const std::optional<CivilTime> reading = RealReading(calibration)) {
    const std::int64_t begin = MomentOfLocal(clock, *reading, clock.Now()) + real;
    const CivilTime local = LocalTime(clock, begin);
    hour = local.hour;
    minute = local.minute;
    offset = DaysFromCivil(local.year, local.month, local.day) -
             DaysFromCivil(reading->year, reading->month, reading->day);  // [-1, 2]
    // (-1 only for a hand-edited reading that the clock skips, taken with the earlier offset)
  } else {
    // Real fields that name no moment (a hand-edited file): the reading plus the time left, the
    // seconds only carrying.
    const std::int64_t rh = number(calibration.RealTime, 1);
    const std::int64_t rm = number(calibration.RealTime, 4);
    const std::int64_t rs = number(calibration.RealTime, 7);
    std::int64_t carry = rs + seconds > 59 ? 1 : 0;
    minute = rm + minutes + carry;
    carry = minute > 59 ? 1 : 0;
    minute -= carry * 60;
    hour = rh + hours + carry;
    carry = hour > 23 ? 1 : 0;
    hour -= carry * 24;
    offset = days + carry;  // [0, 2]
  }

  static constexpr const char* kDayWords[] = {"TODAY AT ", "TOMORROW AT ", "TWO DAYS FROM NOW AT "};
  if (offset >= 0 && offset <= 2) moon.Moment += kDayWords[offset];
  if (hours24) {
    moon.Moment += ClockWords(static_cast<int>(hour), static_cast<int>(minute), true);
    return moon;
  }
  if (hour == 0) {
    moon.Moment += "12:";
  } else if (hour >= 1 && hour <= 12) {
    moon.Moment += std::to_string(hour) + ":";
  } else if (hour >= 13 && hour <= 23) {
    moon.Moment += std::to_string(hour - 12) + ":";
  }
  moon.Moment += (minute >= 10 ? "" : "0") + std::to_string(minute);
  moon.Moment += hour < 12 ? " AM" : " PM";
  return moon;
}

std::string ClockWords(int hour, int minute, bool hours24) {
  if (hours24) return TwoDigits(hour) + ":" + TwoDigits(minute);
  const int twelve = hour % 12 == 0 ? 12 : hour % 12;  // [1, 12]
  return std::to_string(twelve) + ":" + TwoDigits(minute) + (hour < 12 ? " AM" : " PM");
}

std::vector<std::string> TipLines(const CalibrationRecord& record, TipViews views) {
  std::vector<std::string> lines;
  if (views.Time) lines.push_back(record.ZRDTime.str() + " " + record.ZRDDate.str());
  if (views.GoodMoon)
    lines.push_back("GOOD MOON " + GetNextMoon(record, kGoodMoonDay, views.Hours24).Moment);
  if (views.BadMoon)
    lines.push_back("BAD MOON " + GetNextMoon(record, kBadMoonDay, views.Hours24).Moment);
  return lines;
}

// --- The moon's phase ----------------------------------------------------------------------

std::int64_t GameDayOfMonth(const CalibrationRecord& record) {
  return RoundHalfEven(LeadingNumber(Piece(record.ZRDDate, 4, 2)));
}

namespace {

// The eight phases in the order of their pictures, from kNewMoonIcon, each with the last day it
// shows.
struct Phase {
  std::int64_t lastDay;
  std::string_view name;
};
constexpr Phase kPhases[] = {{1, "new moon"},        {5, "waxing crescent"}, {9, "first quarter"},
                             {14, "waxing gibbous"}, {15, "full moon"},      {19, "waning gibbous"},
                             {24, "last quarter"},   {28, "waning crescent"}};
static_assert(std::size(kPhases) == kWaningCrescentIcon - kNewMoonIcon + 1, "a picture a phase");

// The phase's place in kPhases, or -1 for a day with none.
int PhaseIndex(double day) {
  const std::int64_t d = RoundHalfEven(day);
  if (d < 1) return -1;
  for (int i = 0; i < static_cast<int>(std::size(kPhases)); ++i) {
    if (d <= kPhases[i].lastDay) return i;
  }
  return -1;
}

}  // namespace

int MoonPhaseIcon(double day) {
  const int phase = PhaseIndex(day);
  return phase < 0 ? kApplicationIcon : kNewMoonIcon + phase;
}

std::string_view MoonPhaseName(double day) {
  const int phase = PhaseIndex(day);
  return phase < 0 ? std::string_view() : kPhases[phase].name;
}

}  // namespace tarvex
