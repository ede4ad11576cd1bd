#include "cli/writers.h"

#include <nlohmann/json.hpp>

#include <string_view>

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

}  // namespace

int PhaseIcon(const CalibrationRecord& record) {
  return MoonPhaseIcon(LeadingNumber(Piece(record.ZRDDate, 4)));
}

std::string StatusText(const CalibrationRecord& record) {
  return record.ZRDTime.str() + " " + record.ZRDDate.str() + "\n" + "GOOD MOON " +
         GetNextMoon(record, kGoodMoonDay).Moment + "\n" + "BAD MOON " +
         GetNextMoon(record, kBadMoonDay).Moment + "\n";
}

std::string StatusJson(const CalibrationRecord& record) {
  const auto moon = [&record](int day) {
    const NextMoon next = GetNextMoon(record, day);
    return Json{{"countdown", next.Countdown}, {"moment", next.Moment}};
  };
  const Json status = {{"real_time", record.RealTime.str()}, {"real_date", record.RealDate.str()},
                       {"game_time", record.ZRDTime.str()},  {"game_date", record.ZRDDate.str()},
                       {"good_moon", moon(kGoodMoonDay)},    {"bad_moon", moon(kBadMoonDay)},
                       {"icon", PhaseIcon(record)}};
  std::string text;
  WriteJson(status, text);
  return text + "\n";
}

std::string MoonsText(const std::vector<Moon>& moons) {
  std::string text;
  for (const Moon& moon : moons) {
    text += (moon.good ? "GOOD MOON " : "BAD MOON  ") + LocalText(moon.start) + "\n";
  }
  return text;
}

std::string MoonsCalendar(const std::vector<Moon>& moons, std::int64_t now) {
  std::string text;
  const auto line = [&text](std::string_view name, const std::string& value) {
    text.append(name).append(":").append(value).append("\r\n");
  };
  line("BEGIN", "VCALENDAR");
  line("VERSION", "2.0");
  line("PRODID", std::string("-//Tarvex//Tarvex ") + kVersion + "//EN");
  line("CALSCALE", "GREGORIAN");
  for (const Moon& moon : moons) {
    const std::string kind = moon.good ? "good" : "bad";
    const std::string gameMonth = std::to_string(moon.gameYear) + "-" + TwoDigits(moon.gameMonth);
    const int gameDay = moon.good ? kGoodMoonDay : kBadMoonDay;
    line("BEGIN", "VEVENT");
    line("UID", kind + "-moon-" + gameMonth + "@tarvex");
    line("DTSTAMP", UtcStamp(now));
    line("DTSTART", UtcStamp(moon.start));
    line("DTEND", UtcStamp(moon.start + 4800));  // one game day
    line("SUMMARY", "Kestrune " + kind + " moon");
    line("DESCRIPTION", "Game day " + std::to_string(gameDay) + " of game month " + gameMonth);
    line("END", "VEVENT");
  }
  line("END", "VCALENDAR");
  return text;
}

}  // namespace tarvex
