// Program folder, data folder, text rules: the leading-number rule, fixed-width fields, and the
// checks of date and time texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tarvex {

#ifdef _WIN32
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

// --- Folders -------------------------------------------------------------------------------

// The folder of the program's executable, always ending in one path separator.
std::string GetAppPath();
// Sets the folder that GetAppPath reports (front-ends at start-up, tests). Until it is called,
// the folder is found from the running executable where the standard library can tell.
void SetProgramFolder(std::string folder);

// The folder that holds ZRDTIMES.DAT and ZRDDIR.DAT, ending in a path separator.
std::string DataFolder();
// Uses `folder` for the data files (tests, `--data-dir`).
void SetDataFolder(std::string folder);
// Chooses the data folder once at start-up: the program folder when files can be created there
// (a portable install), else the per-user folder (%APPDATA%\Tarvex\, $XDG_CONFIG_HOME/tarvex/ or
// ~/.config/tarvex/), which is created. Returns the folder chosen.
std::string ChooseDataFolder();

// How the data files' bytes map to the UTF-8 text used inside. The default keeps UTF-8; the
// Windows front-ends put the system's 8-bit code page in place.
struct FileCodec {
  std::function<std::string(std::string_view)> FromFile;  // file bytes -> UTF-8
  std::function<std::string(std::string_view)> ToFile;    // UTF-8 -> file bytes
};
void SetFileCodec(FileCodec codec);
const FileCodec& CurrentFileCodec();

// --- Text rules --------------------------------------------------------------------------------

// Number of characters (code points) in UTF-8 text.
std::size_t CharCount(std::string_view text);
// The characters at 1-based positions [position, position + count), as far as the text reaches.
std::string_view Piece(std::string_view text, std::size_t position, std::size_t count = 2);
// Stores `text` into a field `width` characters wide: blank-padded on the right, or cut at
// `width` characters (never inside a character).
std::string FixedWidth(std::string_view text, std::size_t width);

// The leading-number rule: blanks, tabs and line feeds are ignored; then an optional sign,
// digits and at most one "." are read up to the first other character. Nothing readable gives 0.
double LeadingNumber(std::string_view text);
// Rounds to the nearest whole number, a tie going to the even one.
std::int64_t RoundHalfEven(double value);

// The time rules: hours [0, 24], minutes and seconds [0, 59], ":" at positions 3 and 6.
bool IsValidTime(std::string_view text);
// The date rules: month [1, 12], day [1, 31], "/" at positions 3 and 6; the year is not examined.
bool IsValidDate(std::string_view text);
// A real time of day in full form: "hh:mm:ss" in digits, hours 00 to 23.
bool IsCalendarTime(std::string_view text);
// A real calendar date in full form: "MM/DD/YYYY" in digits, a day that its month has.
bool IsCalendarDate(std::string_view text);

}  // namespace tarvex
