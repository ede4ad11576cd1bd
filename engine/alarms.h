// The moon alarms: when each alert fires, and its words.
//
// For each moon kind that is on there are two stages: the warning at begin − WarningMinutes (when
// WarningMinutes > 0) and the start alert at begin (when AtStart). Each tick decides from the
// present instant alone, never from a timer set earlier:
// - the warning fires at the first tick at or after its instant while its moon has not begun
//   (a late tick says the true minutes left);
// - the start alert fires at the first tick at or after the begin while the moon has not ended
//   (a tick a minute or more late says since when);
// - a moon that has ended fires nothing.
// Each (moon kind, game year and month, stage) fires at most once per run, and a warning never
// after its moon's start alert, whatever the clock or the calibration does meanwhile.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/modZRD.h"
#include "engine/moons.h"
#include "engine/settings.h"

namespace tarvex {

enum class AlarmStage { Warning, Start };

struct Alert {
  Moon moon;  // kind, game year and month, begin and end
  AlarmStage stage = AlarmStage::Warning;
  Instant due;          // the stage's instant: begin − WarningMinutes, or begin
  std::int64_t at = 0;  // the whole second at which it fires
  std::string text;     // e.g. "GOOD MOON IN 10 MINUTES, AT 5:33 PM"; under 64 characters
  friend bool operator==(const Alert&, const Alert&) = default;
};

// The words of an alert that fires at second `at`, in true local times of the current clock, the
// moon's instants shown as their first whole second (hours and minutes):
// - warning: "GOOD MOON IN 10 MINUTES, AT 5:33 PM"; the minutes left until the begin, rounded up
//   (so never 0), written "1 HOUR 5 MINUTES" from 60 on, and "TOMORROW AT" (or "TWO DAYS FROM NOW
//   AT") when the moon begins on a later local date;
// - start alert: "GOOD MOON NOW, UNTIL 6:53 PM"; from a minute after the begin on
//   "GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM".
std::string AlertText(const Moon& moon, AlarmStage stage, std::int64_t at);

// The alarm rule of one run of the program; it remembers what has fired.
class MoonAlarms {
 public:
  // The alerts to fire at the tick at second `now`, in order of their instants. `record` is the
  // calibration re-based to `now` in the same tick: GetZRDTime(Calibration, now). It reads no
  // clock unless an alert fires (for the local times of its text).
  std::vector<Alert> Check(std::int64_t now, const CalibrationRecord& record,
                           const AlarmSettings& settings);

 private:
  // The last stage fired for each moon, keyed by its game month and kind.
  std::map<std::int64_t, AlarmStage> fired_;
};

// The next `count` firings later than second `now`, in order, as a run ticking every second from
// now on would fire them (texts included), under `settings` and `record` (re-based to `now`).
// What is due at `now` itself is not among them.
std::vector<Alert> UpcomingAlerts(const CalibrationRecord& record, std::int64_t now,
                                  const AlarmSettings& settings, int count);

// A sample alert for the settings dialog's "Try It", shown at second `now`: "SAMPLE: " and the
// words that a moon beginning WarningMinutes from now would fire now, its warning ("SAMPLE: GOOD
// MOON IN 10 MINUTES, AT 11:40 AM"), or its start alert when WarningMinutes is 0. The moon is of
// the first kind that is on: the good moon, else the bad; the good moon when neither is.
std::string SampleAlertText(std::int64_t now, const AlarmSettings& settings);

}  // namespace tarvex
