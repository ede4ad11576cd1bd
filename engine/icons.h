// The pictures of the window and the tray, by number: the icon groups of Tarvex.exe (its resource
// script includes this header) and the pictures of the Qt front-end, named app and moon101 to
// moon108 after them. Plain #defines for the resource compiler, named constants for the sources.
#pragma once

// The program's own picture: Tarvex.exe's first icon group, which Explorer shows for the file;
// the window's icon, and the tray's until the first tick.
#define TARVEX_ICON_PROGRAM 1
// The moon's eight phases, in the order of the month (MoonPhaseIcon).
#define TARVEX_ICON_NEW_MOON 101
#define TARVEX_ICON_WAXING_CRESCENT 102
#define TARVEX_ICON_FIRST_QUARTER 103
#define TARVEX_ICON_WAXING_GIBBOUS 104
#define TARVEX_ICON_FULL_MOON 105
#define TARVEX_ICON_WANING_GIBBOUS 106
#define TARVEX_ICON_LAST_QUARTER 107
#define TARVEX_ICON_WANING_CRESCENT 108
// The application picture among the tray's pictures, the same as the program's: a day with no
// phase, and the off phase of the blink on the days of the good and the bad moon.
#define TARVEX_ICON_APPLICATION 109

#ifndef RC_INVOKED
namespace tarvex {

inline constexpr int kProgramIcon = TARVEX_ICON_PROGRAM;
inline constexpr int kNewMoonIcon = TARVEX_ICON_NEW_MOON;
inline constexpr int kFullMoonIcon = TARVEX_ICON_FULL_MOON;
inline constexpr int kWaningCrescentIcon = TARVEX_ICON_WANING_CRESCENT;
inline constexpr int kApplicationIcon = TARVEX_ICON_APPLICATION;

// The pictures of a moon alarm's alert and of the lit phase of the blink on its day.
inline constexpr int kGoodMoonIcon = kFullMoonIcon;
inline constexpr int kBadMoonIcon = kNewMoonIcon;

// Whether `icon` pictures a phase of the moon (kNewMoonIcon to kWaningCrescentIcon); every other
// number shows the application picture.
constexpr bool IsMoonIcon(int icon) {
  return icon >= kNewMoonIcon && icon <= kWaningCrescentIcon;
}

}  // namespace tarvex
#endif
