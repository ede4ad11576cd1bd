// The alarm settings and their file, TARVEX.INI in the data folder:
//
//   [Alarms]
//   GoodMoon=on
//   BadMoon=on
//   WarningMinutes=10
//   AtStart=on
//   Sound=on
//   Repeat=0
//   AtEnd=off
//   QuietFrom=
//   QuietTo=
//   GoodSound=
//   BadSound=
//
//   [Display]
//   ShowCurrentTime=on
//   ShowNextGoodMoon=on
//   ShowNextBadMoon=off
//   Clock=12
//
//   [Window]
//   Left=1200
//   Top=40
//   Shown=off
//   OnTop=off
//
// The keys from Repeat on, and Clock, are written only once they differ from their defaults, so
// that a file of an earlier version keeps its lines.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/result.h"

namespace tarvex {

inline constexpr int kMaxWarningMinutes = 1440;

// The warning minutes written as `value`: digits only, 0 to 1440; nothing otherwise. The repeat
// minutes are read alike.
std::optional<int> ReadWarningMinutes(std::string_view value);
// A local clock time written "HH:MM" or "H:MM", 00:00 to 23:59, as "HH:MM"; nothing otherwise.
std::optional<std::string> ReadClockTime(std::string_view value);
// A sound file's path: empty (the system's sound) or a path ending in ".wav" in any case, with no
// line break; nothing otherwise.
std::optional<std::string> ReadSoundPath(std::string_view value);

// What the dialog and the command line say of a value that cannot be taken.
inline constexpr std::string_view kRepeatFormat =
    "The repeat must be a whole number of minutes from 0 to 1440.";
inline constexpr std::string_view kQuietFormat =
    "The quiet hours must be two times of day from 00:00 to 23:59, or none.";
inline constexpr std::string_view kSoundFormat =
    "A sound must be the path of a WAV file (.wav), or empty for the system's sound.";

struct AlarmSettings {
  bool GoodMoon = true;     // alarms for the good moon (game day 15)
  bool BadMoon = true;      // alarms for the bad moon (game day 1)
  int WarningMinutes = 10;  // the warning, in real minutes before the moon; 0 none. [0, 1440]
  bool AtStart = true;      // an alert when the moon begins
  bool Sound = true;        // the alerts make the desktop's notification sound
  int RepeatMinutes = 0;    // the warning again every this many minutes until the moon; 0 none
  bool AtEnd = false;       // an alert when the moon ends
  std::string QuietFrom{};  // "HH:MM" local: alerts from then until QuietTo make no sound
  std::string QuietTo{};    // "HH:MM"; quiet hours only when both are set
  std::string GoodSound{};  // a WAV file for the good moon's alerts; empty for the system's
  std::string BadSound{};   // the same for the bad moon
  friend bool operator==(const AlarmSettings&, const AlarmSettings&) = default;
};

// What the tray's tip shows: the views chosen in its menu.
struct DisplaySettings {
  bool CurrentTime = true;
  bool NextGoodMoon = true;
  bool NextBadMoon = false;
  bool Clock24 = false;  // times of day as "17:33" rather than "5:33 PM" ([Display] Clock=24)
  friend bool operator==(const DisplaySettings&, const DisplaySettings&) = default;
};

// The clock window: where the player last put it, whether the player left it shown, and whether
// it stays on top of other windows.
struct WindowSettings {
  // The window's outer top-left corner in desktop pixels; none where the desktop places it. Each
  // is read as an optional minus and digits, within a million pixels of the origin.
  std::optional<int> Left;
  std::optional<int> Top;
  bool Shown = false;  // opened at start
  bool OnTop = false;  // above other windows, where the desktop allows it
  friend bool operator==(const WindowSettings&, const WindowSettings&) = default;
};

// A key of [Alarms] or [Display] whose value could not be read, so that the default stands in for
// it.
struct UnreadableSetting {
  std::string key;    // the key as this program writes it, e.g. "WarningMinutes"
  std::string value;  // the value as the file gives it, blanks around it dropped
  friend bool operator==(const UnreadableSetting&, const UnreadableSetting&) = default;
};

struct SettingsReading {
  AlarmSettings settings;
  DisplaySettings display;
  WindowSettings window;                      // values that cannot be read are left at default
  std::vector<UnreadableSetting> unreadable;  // in the order of the file
};

// Reads the settings of [Alarms] and [Display] from the text of TARVEX.INI. Lines end in CR LF, LF
// or CR; lines whose first non-blank character is ";" or "#" are comments; section names and keys
// are read in any case, with blanks around "=" ignored. A switch reads on/off, 1/0, true/false or
// yes/no in any case; WarningMinutes a whole number 0 to 1440. A missing key keeps its default, and
// so does a value that cannot be read, which is also listed. The first of two equal keys counts.
SettingsReading ParseSettings(std::string_view text);
// The text of TARVEX.INI holding `settings`, made from the file's present text `old`: the five
// keys of [Alarms] get the new values in place (the first of each, its spelling kept); missing
// keys are added at the end of [Alarms], and [Alarms] at the end of the text when it has none.
// Every other line (comments, unknown keys and sections) is kept; all lines end in CR LF.
std::string SettingsText(std::string_view old, const AlarmSettings& settings);
// The same for the three keys of [Display], holding `display`.
std::string DisplayText(std::string_view old, const DisplaySettings& display);

// The settings from TARVEX.INI in the data folder; the defaults when it is missing, and when it
// cannot be read (a failure naming it). Creates nothing.
Reading<SettingsReading> ReadSettings();
// Writes `settings` to TARVEX.INI (see SettingsText), replacing the file atomically and in the
// data files' encoding. Nothing is written when the file already reads as `settings` with no
// unreadable value, so a missing file stays missing until a setting differs from its default.
// A failure when the file cannot be written; the old file is then left as it was.
Result SaveSettings(const AlarmSettings& settings);
// Writes `display` to [Display] of TARVEX.INI as SaveSettings writes [Alarms]: nothing when the
// file already reads as `display`; every other line kept.
Result SaveDisplay(const DisplaySettings& display);

// [Window] of the text of TARVEX.INI, read as ParseSettings reads the other sections; a value
// that cannot be read keeps its default (a corner without both Left and Top is none).
WindowSettings ParseWindow(std::string_view text);
// The text of TARVEX.INI holding `window` in [Window], every other line kept, as DisplayText; Left
// and Top are written only when both are known.
std::string WindowText(std::string_view old, const WindowSettings& window);
// Writes `window` to [Window] of TARVEX.INI as SaveDisplay writes [Display].
Result SaveWindow(const WindowSettings& window);

// One line for standard error about an unreadable value, e.g.
// TARVEX.INI: WarningMinutes=abc cannot be read; the default 10 is used
std::string UnreadableSettingMessage(const UnreadableSetting& setting);

// Whether local clock time `minuteOfDay` ([0, 1440)) lies in the quiet hours of `settings`:
// QuietFrom <= t < QuietTo, running past midnight when QuietFrom is later than QuietTo. Never
// when either is unset or they are equal.
bool InQuietHours(const AlarmSettings& settings, int minuteOfDay);

// The result of applying command-line pairs: the new settings, or what was wrong.
struct SettingsEdit {
  AlarmSettings settings;
  std::string error;  // empty when every pair was applied
};
// Applies the command line's KEY=VALUE pairs to `settings`, in order. The keys are good, bad,
// warning, at-start, sound, repeat, at-end, good-sound and bad-sound (or the file's key names), in
// any case; the values are those of the file. quiet=HH:MM-HH:MM sets both quiet times, quiet=off
// clears them; pairs that leave one quiet time set without the other are refused. Every pair is
// checked before any is applied: on the first bad one (or none at all) the result holds `settings`
// unchanged and a message naming the pair.
SettingsEdit ApplySettingPairs(const AlarmSettings& settings, std::span<const std::string> pairs);

}  // namespace tarvex
