// What the commands print: the status as tool-tip lines, JSON or a status bar's JSON, the coming
// moons as lines, JSON or an iCalendar file, the coming alarms as lines or JSON. Moments are shown
// in the zone of the engine's current clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/alarms.h"
#include "engine/modZRD.h"
#include "engine/moons.h"

namespace tarvex {

// The three lines of the tool-tip: game time and date, the next good moon, the next bad moon;
// times of day on the 24-hour clock when `hours24`.
std::string StatusText(const CalibrationRecord& record, bool hours24 = false);
// The status as one line of JSON: the real and game time and date, each moon's countdown and
// moment, the phase icon, and last the game folder that an auto-run starts the game from.
std::string StatusJson(const CalibrationRecord& record, const std::string& gameFolder);
// The status as one line of JSON for a status bar (Waybar's custom module): "text" the game time
// and date, "tooltip" the three lines of the tool-tip, in full, joined by "\n", "class"
// "good-moon" on game day 15, "bad-moon" on game day 1, else "", and "alt" the moon's phase
// ("waxing gibbous"; "" on a day with none). The tooltip's times of day follow `hours24`.
std::string StatusWaybar(const CalibrationRecord& record, bool hours24 = false);

// One line a moon: its kind and the local moment it begins, "MM/DD/YYYY hh:mm:ss". The lines and
// the calendar show a moon's instants by the whole second before them (at or before), as they
// always have; the JSON below by the first whole second at or after them.
std::string MoonsText(const std::vector<Moon>& moons);
// An iCalendar file with one event a moon, stamped `now`. An event's identifier names the moon's
// kind and game month, so that it stays the same from run to run. With `alarms`, each event of a
// kind that is on under them carries a reminder (VALARM) for each stage that is on: the warning
// (TRIGGER:-PT{W}M, repeated every R minutes while before the begin), the start (TRIGGER:PT0M)
// and the end (TRIGGER;RELATED=END:PT0M).
std::string MoonsCalendar(const std::vector<Moon>& moons, std::int64_t now,
                          const AlarmSettings* alarms = nullptr);
// A JSON array, one object a line: "moon" ("good" or "bad"), "game_date" ("MM/DD/YYYY"), and
// "begins" and "ends" as local ISO 8601 times with the zone's offset at that instant.
std::string MoonsJson(const std::vector<Moon>& moons);

// One line an alert: its stage (WARNING, START or END), the local moment it fires and its words,
// "WARNING 12/07/2026 17:23:00 GOOD MOON IN 10 MINUTES, AT 5:33 PM".
std::string AlertsText(const std::vector<Alert>& alerts);
// A JSON array, one object a line: "moon", "stage" ("warning", "start" or "end"), "fires" and
// "begins" (local ISO 8601 times, as in MoonsJson), "game_date", and "quiet" (true when it fires
// in the quiet hours, without a sound).
std::string AlertsJson(const std::vector<Alert>& alerts);

// "2026-11-01T15:30:00-05:00": second `t` on the local wall clock, with the zone's offset then.
std::string IsoLocalText(std::int64_t t);

}  // namespace tarvex
