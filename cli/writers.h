// What the commands print: the status as tool-tip lines or JSON, the coming moons as lines or an
// iCalendar file. Moments are shown in the zone of the engine's current clock.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/modZRD.h"

namespace tarvex {

// One coming moon.
struct Moon {
  bool good;               // a good moon (game day 15) or a bad one (game day 1)
  std::int64_t start;      // the real moment it begins
  std::int64_t gameYear;   // the game month it falls in
  std::int64_t gameMonth;  // [1, 12]
};

// The tray picture of the game day's moon phase (MoonPhaseIcon), 101 to 109.
int PhaseIcon(const CalibrationRecord& record);

// The three lines of the tool-tip: game time and date, the next good moon, the next bad moon.
std::string StatusText(const CalibrationRecord& record);
// The status as one line of JSON: the real and game time and date, each moon's countdown and
// moment, and the phase icon.
std::string StatusJson(const CalibrationRecord& record);

// One line a moon: its kind and the local moment it begins, "MM/DD/YYYY hh:mm:ss".
std::string MoonsText(const std::vector<Moon>& moons);
// An iCalendar file with one event a moon, stamped `now`. An event's identifier names the moon's
// kind and game month, so that it stays the same from run to run.
std::string MoonsCalendar(const std::vector<Moon>& moons, std::int64_t now);

}  // namespace tarvex
