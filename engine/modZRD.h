// The calibration record and its data files, the game clock and the moon forecast.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/icons.h"
#include "modGeneral.h"

namespace tarvex {

// A text field of fixed width in characters: what is stored is blank-padded or cut to fit.
template <std::size_t Width>
class FixedText {
 public:
  FixedText() : text_(Width, ' ') {}
  FixedText(std::string_view text) : text_(FixedWidth(text, Width)) {}  // NOLINT: stores like "="
  FixedText& operator=(std::string_view text) {
    text_ = FixedWidth(text, Width);
    return *this;
  }
  const std::string& str() const { return text_; }
  operator std::string_view() const { return text_; }  // NOLINT: reads as its text
  friend bool operator==(const FixedText&, const FixedText&) = default;

 private:
  std::string text_;
};

// One pair of moments that correspond: a real date and time, and the game's at that moment.
struct CalibrationRecord {
  FixedText<8> RealTime;   // "hh:mm:ss", local wall clock, 24-hour
  FixedText<10> RealDate;  // "MM/DD/YYYY"
  FixedText<8> ZRDTime;    // game time at the same moment
  FixedText<10> ZRDDate;   // game date at the same moment
  friend bool operator==(const CalibrationRecord&, const CalibrationRecord&) = default;
};

// The program's one calibration record and its game folder (as a rule ending in a separator).
extern CalibrationRecord Calibration;
extern std::string GamePath;

// The present local time "hh:mm:ss" and date "MM/DD/YYYY" of the current clock.
std::string GetRealTime();
std::string GetRealDate();

// The game folder from ZRDDIR.DAT (created empty when missing); the program folder when empty,
// and when the file cannot be read (a failure naming it).
Reading<std::string> ReadGamePath();
// Writes the folder of `path` (up to and including its last separator) to ZRDDIR.DAT, replacing
// the file atomically; in the form the file can carry (FileCodec::StoredFolder), in double quotes
// when it holds a comma or a line end. A failure when `path` is shorter than 3 characters, the
// folder has no name the file can carry or holds a double quote, or the file cannot be written;
// the old file is then left as it was.
Result SaveGamePath(std::string_view path);

// The record from ZRDTIMES.DAT (created empty when missing); the default record (the present
// real moment paired with game 00:00:01 on 01/01/0001) when the file is shorter than 11 bytes or
// holds fewer than four values, and when it cannot be read (a failure naming it). `held`, when
// given, tells whether the file held a pair.
Reading<CalibrationRecord> ReadCalibration(bool* held = nullptr);
// Writes the record to ZRDTIMES.DAT as four CR LF lines of 8, 10, 8 and 10 characters, replacing
// the file atomically. A failure when it cannot be written; the old file is then left as it was.
Result SaveCalibration(const CalibrationRecord& record);

// The calibration re-based to the present moment: the real fields hold the present real time and
// date, the game fields the game moment that corresponds to it.
CalibrationRecord GetZRDTime(const CalibrationRecord& calibration);
// The same, re-based to moment `now` of the current clock (a reading taken once for a whole tick).
CalibrationRecord GetZRDTime(const CalibrationRecord& calibration, std::int64_t now);

// GetZRDTime(pair, now) when its fields hold the same clock as `pair`: the game moment reached lies
// inside the calendar (game years 0 to 9999, not stopped at 00:00:00 on 01/01/0000, not written as
// year 0000 past 9999) and the present real year is 0 to 9999. None otherwise, as when the system
// clock is set far back for a while: a pair re-based then would keep the wrong game moment for
// good. A caller shows GetZRDTime(kept, now) and keeps the result, when there is one, as its pair.
std::optional<CalibrationRecord> KeepablePair(const CalibrationRecord& pair, std::int64_t now);

// The pair to write to the file in place of `pair`, which holds local times without their offset.
// When the pair's real fields (read as GetZRDTime reads them, nearest `now`) show a reading that
// occurs twice (the hour repeated when daylight saving ends), the same clock re-based to the first
// moment after it whose reading occurs once (as 02:00:00 standard time that night), so that it
// reads back as it was meant; otherwise, or when its game fields lie outside the calendar, `pair`.
CalibrationRecord UnambiguousPair(const CalibrationRecord& pair, std::int64_t now);

// How long until the next moon of game day `MoonDay` begins, and when, as tool-tip words. The
// moment is the true local time of the current clock, across a change of daylight saving too: the
// whole second at or before the instant, its hours and minutes, with its local date counted from
// the record's real date (real fields that show twice are read nearest the clock's present).
struct NextMoon {
  std::string Countdown;  // e.g. "1 HOUR  20 MINUTES  "
  std::string Moment;     // e.g. "TOMORROW AT 3:05 PM"
};
// With `hours24` the time of day reads "17:33" in place of "5:33 PM".
NextMoon GetNextMoon(const CalibrationRecord& calibration, int MoonDay, bool hours24 = false);
// A time of day as Tarvex writes it: "5:33 PM" and "12:05 AM", or with `hours24` "17:33" and
// "00:05".
std::string ClockWords(int hour, int minute, bool hours24);
// Game seconds from the record's game moment to 00:00:00 of the next day numbered `MoonDay`,
// never counting today: [1, 2,419,200] for a game moment in range.
std::int64_t GameSecondsToMoon(const CalibrationRecord& calibration, int MoonDay);

inline constexpr std::int64_t kGameSecondsPerRealSecond = 18;
inline constexpr std::int64_t kRealSecondsPerGameMonth = 134400;

inline constexpr int kGoodMoonDay = 15;
inline constexpr int kBadMoonDay = 1;

// The views a tip may show, each a line.
struct TipViews {
  bool Time = true;      // the game time and date
  bool GoodMoon = true;  // when the next good moon begins
  bool BadMoon = true;   // when the next bad moon begins
  bool Hours24 = false;  // the moments' times of day as "17:33" rather than "5:33 PM"
};
// The tip's lines for `views`, in this order: the game time and date ("14:05:33 03/12/0002"),
// "GOOD MOON " and the moment text of the next good moon, "BAD MOON " and that of the next bad
// moon ("BAD MOON TOMORROW AT 3:05 PM").
std::vector<std::string> TipLines(const CalibrationRecord& record, TipViews views = {});

// The day of the month of the record's game date (characters 4 and 5 by the leading-number rule,
// rounded): 1 to 28 for a date in range.
std::int64_t GameDayOfMonth(const CalibrationRecord& record);

// The tray picture of the moon's phase for a game day of the month (the day's leading-number
// value): kNewMoonIcon on day 1 ... kWaningCrescentIcon, kApplicationIcon for any other value.
// Days 1 and 15 give kBadMoonIcon and kGoodMoonIcon, the lit phase of their blink.
int MoonPhaseIcon(double day);
// The name of the phase that MoonPhaseIcon pictures: "new moon", "waxing crescent", "first
// quarter", "waxing gibbous", "full moon", "waning gibbous", "last quarter", "waning crescent";
// empty for a day with no phase.
std::string_view MoonPhaseName(double day);

}  // namespace tarvex
