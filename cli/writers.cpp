#include "cli/writers.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

using Json = nlohmann::ordered_json;

// JSON on one line with ", " and ": " between items; nlohmann writes every scalar, so that the
// escaping is its own.
void WriteJson(const Json& value, std::string& text) {
  if (value.is_object()) {
    text += '{';
    for (auto item = value.begin(); item != value.end(); ++item) {
      if (item != value.begin()) text += ", ";
      text += Json(item.key()).dump() + ": ";
      WriteJson(item.value(), text);
    }
    text += '}';
  } else if (value.is_array()) {
    text += '[';
    for (auto item = value.begin(); item != value.end(); ++item) {
      if (item != value.begin()) text += ", ";
      WriteJson(*item, text);
    }
    text += ']';
  } else {
    text += value.dump();
  }
}

// A JSON array with one element a line: "[{...},\n {...}]".
std::string JsonLines(const std::vector<Json>& items) {
  std::string text = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i > 0) text += ",\n ";
    WriteJson(items[i], text);
  }
  return text + "]\n";
}

std::string KindName(MoonKind kind) {
  return kind == MoonKind::Good ? "good" : "bad";
}

// The moon's game day, "MM/DD/YYYY".
std::string GameDateText(const Moon& moon) {
  return DateText(moon.gameMonth, MoonDay(moon.kind), moon.gameYear);
}

// The whole second at or before an instant: the lines and the calendar of `moons` have always
// shown a moon by it.
std::int64_t SecondBefore(Instant instant) {
  return FloorDiv(instant.ticks, kGameSecondsPerRealSecond);
}

// "MM/DD/YYYY hh:mm:ss" on the local wall clock.
std::string LocalText(std::int64_t t) {
  const CivilTime local = LocalTime(CurrentClock(), t);
  return TwoDigits(local.month) + "/" + TwoDigits(local.day) + "/" + std::to_string(local.year) +
         " " + TimeText(local.hour, local.minute, local.second);
}

// "YYYYMMDDThhmmssZ" in UTC.
std::string UtcStamp(std::int64_t t) {
  const std::int64_t days = FloorDiv(t, 86400);
  const CivilTime utc = CivilFromDays(days);
  const std::int64_t second = t - days * 86400;  // [0, 86399]
  return std::to_string(utc.year) + TwoDigits(utc.month) + TwoDigits(utc.day) + "T" +
         TwoDigits(second / 3600) + TwoDigits(second / 60 % 60) + TwoDigits(second % 60) + "Z";
}

// "1 HOUR 5 MINUTES", "10 MINUTES", as the alerts count them.
std::string MinutesWords(std::int64_t minutes) {
  const auto count = [](std::int64_t n, const char* unit) {
    return std::to_string(n) + " " + unit + (n == 1 ? "" : "S");
  };
  if (minutes < 60) return count(minutes, "MINUTE");
  return count(minutes / 60, "HOUR") +
         (minutes % 60 > 0 ? " " + count(minutes % 60, "MINUTE") : "");
}

// The reminders of an event of `kind` under `settings`, each written by `line`.
template <class Line>
void Reminders(MoonKind kind, const AlarmSettings& settings, const Line& line) {
  if (!(kind == MoonKind::Good ? settings.GoodMoon : settings.BadMoon)) return;
  const std::string name = kind == MoonKind::Good ? "GOOD MOON" : "BAD MOON";
  const int warning = std::min(settings.WarningMinutes, kMaxWarningMinutes);
  // One VALARM: shown with `description` at `trigger`, and `more` lines before its end.
  const auto alarm = [&line](const std::string& description, std::string_view triggerName,
                             const std::string& trigger, const auto& more) {
    line("BEGIN", "VALARM");
    line("ACTION", "DISPLAY");
    line("DESCRIPTION", description);
    line(triggerName, trigger);
    more();
    line("END", "VALARM");
  };
  const auto nothing = [] {};
  if (warning > 0) {
    const int repeat = settings.RepeatMinutes;
    const int repeats = repeat > 0 ? (warning - 1) / repeat : 0;  // k·R < W
    alarm(name + (repeats > 0 ? " SOON" : " IN " + MinutesWords(warning)), "TRIGGER",
          "-PT" + std::to_string(warning) + "M", [&] {
            if (repeats == 0) return;
            line("REPEAT", std::to_string(repeats));
            line("DURATION", "PT" + std::to_string(repeat) + "M");
          });
  }
  if (settings.AtStart) alarm(name + " NOW", "TRIGGER", "PT0M", nothing);
  if (settings.AtEnd) alarm(name + " OVER", "TRIGGER;RELATED=END", "PT0M", nothing);
}

}  // namespace

std::string StatusText(const CalibrationRecord& record, bool hours24) {
  std::string text;
  for (const std::string& line : TipLines(record, {.Hours24 = hours24})) text += line + "\n";
  return text;
}

std::string StatusJson(const CalibrationRecord& record, const std::string& gameFolder) {
  const auto moon = [&record](int day) {
    const NextMoon next = GetNextMoon(record, day);
    return Json{{"countdown", next.Countdown}, {"moment", next.Moment}};
  };
  const int icon = MoonPhaseIcon(static_cast<double>(GameDayOfMonth(record)));
  const Json status = {{"real_time", record.RealTime.str()},
                       {"real_date", record.RealDate.str()},
                       {"game_time", record.ZRDTime.str()},
                       {"game_date", record.ZRDDate.str()},
                       {"good_moon", moon(kGoodMoonDay)},
                       {"bad_moon", moon(kBadMoonDay)},
                       {"icon", icon},
                       {"game_folder", gameFolder}};
  std::string text;
  WriteJson(status, text);
  return text + "\n";
}

std::string StatusWaybar(const CalibrationRecord& record, bool hours24) {
  const std::vector<std::string> lines = TipLines(record, {.Hours24 = hours24});
  std::string tooltip;
  for (const std::string& line : lines) tooltip += (tooltip.empty() ? "" : "\n") + line;
  const std::int64_t day = GameDayOfMonth(record);
  const Json status = {{"text", lines.front()},
                       {"tooltip", tooltip},
                       {"class", day == kGoodMoonDay  ? "good-moon"
                                 : day == kBadMoonDay ? "bad-moon"
                                                      : ""},
                       {"alt", MoonPhaseName(static_cast<double>(day))}};
  std::string text;
  WriteJson(status, text);
  return text + "\n";
}

std::string MoonsText(const std::vector<Moon>& moons) {
  std::string text;
  for (const Moon& moon : moons) {
    text += (moon.kind == MoonKind::Good ? "GOOD MOON " : "BAD MOON  ") +
            LocalText(SecondBefore(moon.begin)) + "\n";
  }
  return text;
}

std::string MoonsCalendar(const std::vector<Moon>& moons, std::int64_t now,
                          const AlarmSettings* alarms) {
  std::string text;
  const auto line = [&text](std::string_view name, const std::string& value) {
    text.append(name).append(":").append(value).append("\r\n");
  };
  line("BEGIN", "VCALENDAR");
  line("VERSION", "2.0");
  line("PRODID", std::string("-//") + kProductName + "//" + kProductName + " " + kVersion + "//EN");
  line("CALSCALE", "GREGORIAN");
  for (const Moon& moon : moons) {
    const std::string kind = KindName(moon.kind);
    const std::string gameMonth = std::to_string(moon.gameYear) + "-" + TwoDigits(moon.gameMonth);
    line("BEGIN", "VEVENT");
    line("UID", kind + "-moon-" + gameMonth + "@tarvex");
    line("DTSTAMP", UtcStamp(now));
    line("DTSTART", UtcStamp(SecondBefore(moon.begin)));
    line("DTEND", UtcStamp(SecondBefore(moon.end)));
    line("SUMMARY", "Kestrune " + kind + " moon");
    // The year (never below 0) in at least four digits, and whole beyond 9999. A comma of a text
    // value is written "\,"; the line stays within the 75 octets of a calendar line.
    std::string year = std::to_string(moon.gameYear);
    if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
    line("DESCRIPTION", "Kestrune " + kind + " moon: game day " +
                            std::to_string(MoonDay(moon.kind)) + "\\, month " +
                            TwoDigits(moon.gameMonth) + "\\, year " + year);
    if (alarms != nullptr) Reminders(moon.kind, *alarms, line);
    line("END", "VEVENT");
  }
  line("END", "VCALENDAR");
  return text;
}

std::string MoonsJson(const std::vector<Moon>& moons) {
  std::vector<Json> items;
  for (const Moon& moon : moons) {
    items.push_back({{"moon", KindName(moon.kind)},
                     {"game_date", GameDateText(moon)},
                     {"begins", IsoLocalText(moon.begin.FirstSecond())},
                     {"ends", IsoLocalText(moon.end.FirstSecond())}});
  }
  return JsonLines(items);
}

std::string AlertsText(const std::vector<Alert>& alerts) {
  std::string text;
  for (const Alert& alert : alerts) {
    text += (alert.stage == AlarmStage::Warning ? "WARNING "
             : alert.stage == AlarmStage::Start ? "START   "
                                                : "END     ") +
            LocalText(alert.at) + " " + alert.text + "\n";
  }
  return text;
}

std::string AlertsJson(const std::vector<Alert>& alerts) {
  std::vector<Json> items;
  for (const Alert& alert : alerts) {
    items.push_back({{"moon", KindName(alert.moon.kind)},
                     {"stage", alert.stage == AlarmStage::Warning ? "warning"
                               : alert.stage == AlarmStage::Start ? "start"
                                                                  : "end"},
                     {"fires", IsoLocalText(alert.at)},
                     {"begins", IsoLocalText(alert.moon.begin.FirstSecond())},
                     {"game_date", GameDateText(alert.moon)},
                     {"quiet", alert.quiet}});
  }
  return JsonLines(items);
}

std::string IsoLocalText(std::int64_t t) {
  const Clock& clock = CurrentClock();
  const CivilTime local = LocalTime(clock, t);
  // Years past 9999 (or before 0) in ISO 8601's expanded form, "+10000".
  std::string year = std::to_string(local.year < 0 ? -local.year : local.year);
  year.insert(0, year.size() < 4 ? 4 - year.size() : 0, '0');
  if (local.year < 0 || local.year > 9999) year.insert(0, local.year < 0 ? "-" : "+");
  const std::int64_t offset = clock.UtcOffset(t);
  const std::int64_t size = offset < 0 ? -offset : offset;  // [0, 86,399] in any real zone
  return year + "-" + TwoDigits(local.month) + "-" + TwoDigits(local.day) + "T" +
         TimeText(local.hour, local.minute, local.second) + (offset < 0 ? "-" : "+") +
         TwoDigits(size / 3600) + ":" + TwoDigits(size / 60 % 60) +
         (size % 60 != 0 ? ":" + TwoDigits(size % 60) : "");  // a zone's seconds, kept true
}

}  // namespace tarvex
