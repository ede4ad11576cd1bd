// The moon alarms: when each alert fires, and its words.
//
// For each moon kind that is on there are these stages, in this order: the warning at begin − W
// (W = WarningMinutes, when W > 0) and its repeats at begin − W + kR (R = RepeatMinutes, when
// R > 0) strictly before the begin; the start alert at begin (when AtStart); the end alert at the
// moon's end (when AtEnd). Each tick decides from the present instant alone, never from a timer
// set earlier, and fires the latest stage due of a moon, if any:
// - a warning fires at the first tick at or after its instant while its moon has not begun (a
//   late tick says the true minutes left; one that slept over several repeats fires one);
// - the start alert fires at the first tick at or after the begin while the moon has not ended
//   (a tick a minute or more late says since when);
// - the end alert fires at the first tick at or after the end, up to one moon's length later;
//   after that a moon fires nothing.
// Each stage of a moon (kind, game year and month) fires at most once per run, and never after a
// later stage of the same moon, whatever the clock or the calibration does meanwhile.
//
// An alert is quiet when the local clock time of its firing lies in the quiet hours
// (InQuietHours): it is shown all the same, with no sound.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/modZRD.h"
#include "engine/moons.h"
#include "engine/settings.h"

namespace tarvex {

enum class AlarmStage { Warning, Start, End };

struct Alert {
  Moon moon;  // kind, game year and month, begin and end
  AlarmStage stage = AlarmStage::Warning;
  Instant due;          // the stage's instant: begin − W + kR, begin, or end
  std::int64_t at = 0;  // the whole second at which it fires
  std::string text;     // e.g. "GOOD MOON IN 10 MINUTES, AT 5:33 PM"; under 64 characters
  bool quiet = false;   // fired in the quiet hours: shown with no sound
  friend bool operator==(const Alert&, const Alert&) = default;
};

// The words of an alert that fires at second `at`, in true local times of the current clock, the
// moon's instants shown as their first whole second (hours and minutes):
// - warning: "GOOD MOON IN 10 MINUTES, AT 5:33 PM"; the minutes left until the begin, rounded up
//   (so never 0), written "1 HOUR 5 MINUTES" from 60 on, and "TOMORROW AT" (or "TWO DAYS FROM NOW
//   AT") when the moon begins on a later local date;
// - start alert: "GOOD MOON NOW, UNTIL 6:53 PM"; from a minute after the begin on
//   "GOOD MOON SINCE 5:33 PM, UNTIL 6:53 PM";
// - end alert: "GOOD MOON OVER AT 6:53 PM".
// With `hours24` the times of day read "17:33" in place of "5:33 PM".
std::string AlertText(const Moon& moon, AlarmStage stage, std::int64_t at, bool hours24 = false);

// The alarm rule of one run of the program; it remembers what has fired.
class MoonAlarms {
 public:
  // The alerts to fire at the tick at second `now`, in order of their instants (at equal
  // instants warning, start, end, the good moon's before the bad's). `record` is the calibration
  // re-based to `now` in the same tick: GetZRDTime(Calibration, now). It reads no clock unless an
  // alert fires (for the local times of its text and its quiet hours).
  std::vector<Alert> Check(std::int64_t now, const CalibrationRecord& record,
                           const AlarmSettings& settings, bool hours24 = false);

 private:
  // The rank of the last stage fired for each moon (see the .cpp), keyed by its game month and
  // kind.
  std::map<std::int64_t, int> fired_;
};

// The next `count` firings later than second `now`, in order, as a run ticking every second from
// now on would fire them (texts included), under `settings` and `record` (re-based to `now`).
// What is due at `now` itself is not among them.
std::vector<Alert> UpcomingAlerts(const CalibrationRecord& record, std::int64_t now,
                                  const AlarmSettings& settings, int count, bool hours24 = false);

// A sample alert for the settings dialog's "Try It", shown at second `now`: "SAMPLE: " and the
// words that a moon beginning WarningMinutes from now would fire now, its warning ("SAMPLE: GOOD
// MOON IN 10 MINUTES, AT 11:40 AM"), or its start alert when WarningMinutes is 0. The moon is of
// the first kind that is on: the good moon, else the bad; the good moon when neither is.
// With `hours24` its times of day read "17:33".
std::string SampleAlertText(std::int64_t now, const AlarmSettings& settings, bool hours24 = false);

}  // namespace tarvex
