#include "engine/alarms.h"

#include <algorithm>
#include <tuple>

#include "engine/clock.h"
#include "engine/modGeneral.h"

namespace tarvex {
namespace {

constexpr MoonKind kKinds[] = {MoonKind::Good, MoonKind::Bad};

bool IsOn(MoonKind kind, const AlarmSettings& settings) {
  return kind == MoonKind::Good ? settings.GoodMoon : settings.BadMoon;
}

// The instant of a stage of `moon`; a warning of more than 1,440 minutes counts as 1,440.
Instant Due(const Moon& moon, AlarmStage stage, const AlarmSettings& settings) {
  if (stage == AlarmStage::Start) return moon.begin;
  const std::int64_t minutes = std::min(settings.WarningMinutes, kMaxWarningMinutes);
  return Instant{moon.begin.ticks - minutes * kTicksPerMinute};
}

// One number per moon: its game month counted from 01/01/0000, and its kind.
std::int64_t MoonKey(const Moon& moon) {
  return (moon.gameYear * 12 + moon.gameMonth - 1) * 2 + (moon.kind == MoonKind::Bad ? 1 : 0);
}

Alert MakeAlert(const Moon& moon, AlarmStage stage, Instant due, std::int64_t at) {
  return Alert{moon, stage, due, at, AlertText(moon, stage, at)};
}

// Alerts in the order they fire; at the same instant the good moon's first, the warning first.
void SortAlerts(std::vector<Alert>& alerts) {
  std::sort(alerts.begin(), alerts.end(), [](const Alert& a, const Alert& b) {
    return std::tuple(a.due, a.moon.kind, a.stage) < std::tuple(b.due, b.moon.kind, b.stage);
  });
}

// --- Words ---------------------------------------------------------------------------------

std::string Count(std::int64_t n, const char* unit) {
  return std::to_string(n) + " " + unit + (n == 1 ? "" : "S");
}

// "1 HOUR 5 MINUTES", "24 HOURS", "10 MINUTES".
std::string Duration(std::int64_t minutes) {
  if (minutes < 60) return Count(minutes, "MINUTE");
  return Count(minutes / 60, "HOUR") +
         (minutes % 60 > 0 ? " " + Count(minutes % 60, "MINUTE") : "");
}

// A wall-clock reading in 12-hour form, as the tool-tip writes it: "5:33 PM".
std::string ClockText(const CivilTime& time) {
  const int hour = time.hour % 12 == 0 ? 12 : time.hour % 12;  // [1, 12]
  return std::to_string(hour) + ":" + TwoDigits(time.minute) + (time.hour < 12 ? " AM" : " PM");
}

std::int64_t LocalDays(const CivilTime& time) {
  return DaysFromCivil(time.year, time.month, time.day);
}

}  // namespace

std::string AlertText(const Moon& moon, AlarmStage stage, std::int64_t at) {
  const Clock& clock = CurrentClock();
  const std::string name = moon.kind == MoonKind::Good ? "GOOD MOON" : "BAD MOON";
  const CivilTime begin = LocalTime(clock, moon.begin.FirstSecond());
  if (stage == AlarmStage::Warning) {
    const std::int64_t left = moon.begin.ticks - Instant::AtSecond(at).ticks;
    const std::int64_t minutes = std::max<std::int64_t>(1, -FloorDiv(-left, kTicksPerMinute));
    // At most 1,440 minutes ahead: the same local date, the next, or (across a day shortened by
    // daylight saving) the one after.
    const std::int64_t days = LocalDays(begin) - LocalDays(LocalTime(clock, at));
    const char* dayWords = days == 1 ? "TOMORROW AT " : days == 2 ? "TWO DAYS FROM NOW AT " : "AT ";
    return name + " IN " + Duration(minutes) + ", " + dayWords + ClockText(begin);
  }
  const std::string until = "UNTIL " + ClockText(LocalTime(clock, moon.end.FirstSecond()));
  if (Instant::AtSecond(at).ticks - moon.begin.ticks < kTicksPerMinute) {
    return name + " NOW, " + until;
  }
  return name + " SINCE " + ClockText(begin) + ", " + until;
}

std::vector<Alert> MoonAlarms::Check(std::int64_t now, const CalibrationRecord& record,
                                     const AlarmSettings& settings) {
  std::vector<Alert> alerts;
  if (!settings.GoodMoon && !settings.BadMoon) return alerts;
  if (!settings.AtStart && settings.WarningMinutes <= 0) return alerts;
  const Instant epoch = GameEpoch(record, now);
  const Instant present = Instant::AtSecond(now);
  for (const MoonKind kind : kKinds) {
    if (!IsOn(kind, settings)) continue;
    // Only this moon can be due: the next one's warning comes at least 48,000 real seconds after
    // the begin of this one (a month of 134,400 less a warning of at most 86,400), long after it
    // has ended.
    const Moon moon = MoonNotEnded(epoch, kind, present);
    AlarmStage stage = AlarmStage::Start;
    if (present >= moon.begin) {
      if (!settings.AtStart) continue;
    } else if (settings.WarningMinutes > 0 && present >= Due(moon, AlarmStage::Warning, settings)) {
      stage = AlarmStage::Warning;
    } else {
      continue;
    }
    const auto [fired, added] = fired_.try_emplace(MoonKey(moon), stage);
    if (!added) {
      // A stage fires once, and the warning never after the start alert.
      if (fired->second == AlarmStage::Start || stage == AlarmStage::Warning) continue;
      fired->second = stage;
    }
    alerts.push_back(MakeAlert(moon, stage, Due(moon, stage, settings), now));
  }
  SortAlerts(alerts);
  return alerts;
}

std::vector<Alert> UpcomingAlerts(const CalibrationRecord& record, std::int64_t now,
                                  const AlarmSettings& settings, int count) {
  std::vector<Alert> alerts;
  if (count <= 0) return alerts;
  const Instant epoch = GameEpoch(record, now);
  const Instant present = Instant::AtSecond(now);
  for (const MoonKind kind : kKinds) {
    if (!IsOn(kind, settings)) continue;
    // Each moon gives at least one firing, save the first, whose stages may have passed: count + 1
    // moons of one kind hold the first `count` firings.
    Moon moon = MoonNotEnded(epoch, kind, present);
    for (int k = 0; k <= count; ++k, moon = NextMoonAfter(epoch, moon)) {
      for (const AlarmStage stage : {AlarmStage::Warning, AlarmStage::Start}) {
        if (stage == AlarmStage::Warning ? settings.WarningMinutes <= 0 : !settings.AtStart) {
          continue;
        }
        // A stage due later than this second fires on time, at the first second at or after it:
        // a warning then, since it comes a whole minute before its moon, and a start alert too.
        const Instant due = Due(moon, stage, settings);
        if (due.FirstSecond() > now)
          alerts.push_back(MakeAlert(moon, stage, due, due.FirstSecond()));
      }
    }
  }
  SortAlerts(alerts);
  if (alerts.size() > static_cast<std::size_t>(count)) alerts.resize(count);
  return alerts;
}

std::string SampleAlertText(std::int64_t now, const AlarmSettings& settings) {
  const MoonKind kind = !settings.GoodMoon && settings.BadMoon ? MoonKind::Bad : MoonKind::Good;
  const std::int64_t minutes =
      std::clamp<std::int64_t>(settings.WarningMinutes, 0, kMaxWarningMinutes);
  const std::int64_t begin = now + minutes * 60;
  const Moon moon{kind, 0, 1, Instant::AtSecond(begin),
                  Instant::AtSecond(begin + kMoonRealSeconds)};
  return "SAMPLE: " + AlertText(moon, minutes > 0 ? AlarmStage::Warning : AlarmStage::Start, now);
}

}  // namespace tarvex
