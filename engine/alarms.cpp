#include "engine/alarms.h"

#include <algorithm>
#include <optional>
#include <tuple>

#include "engine/clock.h"
#include "engine/modGeneral.h"

namespace tarvex {
namespace {

constexpr MoonKind kKinds[] = {MoonKind::Good, MoonKind::Bad};

// A moon's stages are ranked in the order they fire: its warnings 0, 1, 2, … (at most 1,440),
// then the start alert, then the end alert.
constexpr int kStartRank = 1 << 20;
constexpr int kEndRank = kStartRank + 1;

// An end alert fires late up to one moon's length after the end.
constexpr std::int64_t kEndLateTicks = kMoonRealSeconds * kGameSecondsPerRealSecond;

bool IsOn(MoonKind kind, const AlarmSettings& settings) {
  return kind == MoonKind::Good ? settings.GoodMoon : settings.BadMoon;
}

// The warning in minutes; more than 1,440 counts as 1,440.
std::int64_t WarningMinutes(const AlarmSettings& settings) {
  return std::clamp<std::int64_t>(settings.WarningMinutes, 0, kMaxWarningMinutes);
}

// How many warnings a moon has: the first and its repeats strictly before the begin.
int WarningCount(const AlarmSettings& settings) {
  const std::int64_t w = WarningMinutes(settings);
  if (w == 0) return 0;
  if (settings.RepeatMinutes <= 0) return 1;
  return static_cast<int>((w - 1) / settings.RepeatMinutes + 1);  // k·R < W
}

struct Stage {
  AlarmStage stage;
  int rank;
  Instant due;
};

Stage WarningStage(const Moon& moon, int k, const AlarmSettings& settings) {
  const std::int64_t before = WarningMinutes(settings) - std::int64_t{k} * settings.RepeatMinutes;
  return {AlarmStage::Warning, k, Instant{moon.begin.ticks - before * kTicksPerMinute}};
}

// The latest stage of `moon` due at `present`, if one may fire then.
std::optional<Stage> LatestDue(const Moon& moon, Instant present, const AlarmSettings& settings) {
  if (present >= moon.end) {
    if (!settings.AtEnd || present.ticks - moon.end.ticks >= kEndLateTicks) return std::nullopt;
    return Stage{AlarmStage::End, kEndRank, moon.end};
  }
  if (present >= moon.begin) {
    if (!settings.AtStart) return std::nullopt;
    return Stage{AlarmStage::Start, kStartRank, moon.begin};
  }
  const int count = WarningCount(settings);
  if (count == 0) return std::nullopt;
  const std::int64_t since = present.ticks - WarningStage(moon, 0, settings).due.ticks;
  if (since < 0) return std::nullopt;
  const std::int64_t k =
      settings.RepeatMinutes > 0 ? since / (settings.RepeatMinutes * kTicksPerMinute) : 0;
  return WarningStage(moon, static_cast<int>(std::min<std::int64_t>(k, count - 1)), settings);
}

// One number per moon: its game month counted from 01/01/0000, and its kind.
std::int64_t MoonKey(const Moon& moon) {
  return (moon.gameYear * 12 + moon.gameMonth - 1) * 2 + (moon.kind == MoonKind::Bad ? 1 : 0);
}

Alert MakeAlert(const Moon& moon, const Stage& stage, std::int64_t at,
                const AlarmSettings& settings, bool hours24) {
  const CivilTime local = LocalTime(CurrentClock(), at);
  return Alert{moon,
               stage.stage,
               stage.due,
               at,
               AlertText(moon, stage.stage, at, hours24),
               InQuietHours(settings, local.hour * 60 + local.minute)};
}

// Alerts in the order they fire; at the same instant warning, start, end, the good moon's first.
void SortAlerts(std::vector<Alert>& alerts) {
  std::sort(alerts.begin(), alerts.end(), [](const Alert& a, const Alert& b) {
    return std::tuple(a.due, a.stage, a.moon.kind) < std::tuple(b.due, b.stage, b.moon.kind);
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

std::int64_t LocalDays(const CivilTime& time) {
  return DaysFromCivil(time.year, time.month, time.day);
}

}  // namespace

std::string AlertText(const Moon& moon, AlarmStage stage, std::int64_t at, bool hours24) {
  const Clock& clock = CurrentClock();
  const std::string name = moon.kind == MoonKind::Good ? "GOOD MOON" : "BAD MOON";
  const auto words = [hours24](const CivilTime& time) {
    return ClockWords(time.hour, time.minute, hours24);
  };
  const CivilTime begin = LocalTime(clock, moon.begin.FirstSecond());
  const CivilTime end = LocalTime(clock, moon.end.FirstSecond());
  if (stage == AlarmStage::Warning) {
    const std::int64_t left = moon.begin.ticks - Instant::AtSecond(at).ticks;
    const std::int64_t minutes = std::max<std::int64_t>(1, -FloorDiv(-left, kTicksPerMinute));
    // At most 1,440 minutes ahead: the same local date, the next, or (across a day shortened by
    // daylight saving) the one after.
    const std::int64_t days = LocalDays(begin) - LocalDays(LocalTime(clock, at));
    const char* dayWords = days == 1 ? "TOMORROW AT " : days == 2 ? "TWO DAYS FROM NOW AT " : "AT ";
    return name + " IN " + Duration(minutes) + ", " + dayWords + words(begin);
  }
  if (stage == AlarmStage::End) return name + " OVER AT " + words(end);
  const std::string until = "UNTIL " + words(end);
  if (Instant::AtSecond(at).ticks - moon.begin.ticks < kTicksPerMinute) {
    return name + " NOW, " + until;
  }
  return name + " SINCE " + words(begin) + ", " + until;
}

std::vector<Alert> MoonAlarms::Check(std::int64_t now, const CalibrationRecord& record,
                                     const AlarmSettings& settings, bool hours24) {
  std::vector<Alert> alerts;
  if (!settings.GoodMoon && !settings.BadMoon) return alerts;
  if (!settings.AtStart && !settings.AtEnd && settings.WarningMinutes <= 0) return alerts;
  const Instant epoch = GameEpoch(record, now);
  const Instant present = Instant::AtSecond(now);
  for (const MoonKind kind : kKinds) {
    if (!IsOn(kind, settings)) continue;
    // Only this moon and the one before (its end) can be due: the next one's warning comes at
    // least 48,000 real seconds after the begin of this one (a month of 134,400 less a warning
    // of at most 86,400), long after this one's end alert may fire.
    const Moon moon = MoonNotEnded(epoch, kind, present);
    for (const Moon& candidate : {MoonBefore(epoch, moon), moon}) {
      const std::optional<Stage> stage = LatestDue(candidate, present, settings);
      if (!stage) continue;
      const auto [fired, added] = fired_.try_emplace(MoonKey(candidate), stage->rank);
      if (!added) {
        // A stage fires once, and never after a later stage.
        if (fired->second >= stage->rank) continue;
        fired->second = stage->rank;
      }
      alerts.push_back(MakeAlert(candidate, *stage, now, settings, hours24));
    }
  }
  SortAlerts(alerts);
  return alerts;
}

std::vector<Alert> UpcomingAlerts(const CalibrationRecord& record, std::int64_t now,
                                  const AlarmSettings& settings, int count, bool hours24) {
  std::vector<Alert> alerts;
  if (count <= 0) return alerts;
  const int warnings = WarningCount(settings);
  if (warnings == 0 && !settings.AtStart && !settings.AtEnd) return alerts;
  const Instant epoch = GameEpoch(record, now);
  const Instant present = Instant::AtSecond(now);
  for (const MoonKind kind : kKinds) {
    if (!IsOn(kind, settings)) continue;
    // A stage due later than this second fires on time, at the first second at or after it: each
    // warning then, since it comes a whole minute before the next, the start and end alerts too.
    // The stages of one kind come in order, moon after moon: the first `count` are enough.
    std::size_t kindCount = 0;
    for (Moon moon = MoonNotEnded(epoch, kind, present);
         kindCount < static_cast<std::size_t>(count); moon = NextMoonAfter(epoch, moon)) {
      std::vector<Stage> stages;
      for (int k = 0; k < warnings; ++k) stages.push_back(WarningStage(moon, k, settings));
      if (settings.AtStart) stages.push_back({AlarmStage::Start, kStartRank, moon.begin});
      if (settings.AtEnd) stages.push_back({AlarmStage::End, kEndRank, moon.end});
      for (const Stage& stage : stages) {
        if (stage.due.FirstSecond() <= now || kindCount == static_cast<std::size_t>(count))
          continue;
        alerts.push_back(MakeAlert(moon, stage, stage.due.FirstSecond(), settings, hours24));
        ++kindCount;
      }
    }
  }
  SortAlerts(alerts);
  if (alerts.size() > static_cast<std::size_t>(count)) alerts.resize(count);
  return alerts;
}

std::string SampleAlertText(std::int64_t now, const AlarmSettings& settings, bool hours24) {
  const MoonKind kind = !settings.GoodMoon && settings.BadMoon ? MoonKind::Bad : MoonKind::Good;
  const std::int64_t minutes =
      std::clamp<std::int64_t>(settings.WarningMinutes, 0, kMaxWarningMinutes);
  const std::int64_t begin = now + minutes * 60;
  const Moon moon{kind, 0, 1, Instant::AtSecond(begin),
                  Instant::AtSecond(begin + kMoonRealSeconds)};
  return "SAMPLE: " +
         AlertText(moon, minutes > 0 ? AlarmStage::Warning : AlarmStage::Start, now, hours24);
}

}  // namespace tarvex
