// Program folder, data folder, text rules: the leading-number rule, fixed-width fields, and the
// checks of date and time texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "engine/result.h"

namespace tarvex {

// The separator the host writes between folders: "\\" on Windows, "/" elsewhere. "/" separates
// folders everywhere.
inline constexpr char kPathSeparator = static_cast<char>(std::filesystem::path::preferred_separator);
inline constexpr bool IsPathSeparator(char c) {
  return c == '/' || c == kPathSeparator;
}

// --- Folders -------------------------------------------------------------------------------

// The folder of the program's executable, always ending in one path separator.
std::string GetAppPath();
// Sets the folder that GetAppPath reports (the platform's start-up code, tests). Until it is
// called, the process's working folder stands in.
void SetProgramFolder(std::string folder);

// The folder that holds ZRDTIMES.DAT, ZRDDIR.DAT and TARVEX.INI, ending in a path separator.
std::string DataFolder();
// Uses `folder` for the data files (tests, `--data-dir`).
void SetDataFolder(std::string folder);

// The data files: the calibration pair, the game folder and the settings (made only once a
// setting is changed).
inline constexpr std::string_view kCalibrationFile = "ZRDTIMES.DAT";
inline constexpr std::string_view kGamePathFile = "ZRDDIR.DAT";
inline constexpr std::string_view kSettingsFile = "TARVEX.INI";
inline constexpr std::string_view kDataFileNames[] = {kCalibrationFile, kGamePathFile,
                                                      kSettingsFile};
// Chooses the data folder once at start-up: the program folder when files can be created there
// and the program was not `installed` (a portable install), else `userFolder` (the platform's
// per-user folder), which is created. An installed program's folder may be writable (run as root
// or administrator) and still belongs to the system. A per-user folder that holds no data files
// yet first gets copies of the program folder's (a read-only portable folder, files placed by an
// installer), so that nothing set there is lost. Without a usable per-user folder the program
// folder is used. Returns the folder chosen.
std::string ChooseDataFolder(const std::optional<std::string>& userFolder, bool installed);

// How the data files' bytes map to the UTF-8 text used inside. The default keeps UTF-8; the
// Windows front-ends put the system's 8-bit code page in place.
struct FileCodec {
  // File bytes -> UTF-8.
  std::function<std::string(std::string_view)> FromFile = [](std::string_view bytes) {
    return std::string(bytes);
  };
  // UTF-8 -> file bytes; none when the text holds a character that the file cannot carry.
  std::function<std::optional<std::string>(std::string_view)> ToFile = [](std::string_view text) {
    return std::optional(std::string(text));
  };
  // A name of `folder` that ToFile carries: the folder itself when it can, else another name of
  // the same folder (on Windows its short 8.3 form); none when it has no such name.
  std::function<std::optional<std::string>(std::string_view folder)> StoredFolder =
      [](std::string_view folder) { return std::optional(std::string(folder)); };
};
void SetFileCodec(FileCodec codec);
const FileCodec& CurrentFileCodec();

// How a data file stood when it was looked at: enough to notice that it changed by one look at
// it, without reading it. Every save puts a new file in the old one's place, so its identity
// changes too where the system tells it.
struct FileStamp {
  bool present = false;
  std::uintmax_t size = 0;
  std::int64_t modified = 0;   // the file system's clock, in its own units
  std::uint64_t identity = 0;  // the file's number on its volume (an inode), 0 where unknown
  std::int64_t changed = 0;    // when its entry last changed, 0 where unknown
  friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// How data files are written and looked at: the platform's calls, so that a save survives a crash
// midway and a second writer at the same moment. A save takes the data folder's lock, writes a
// temporary file of its own beside the file, flushed to the disk, and puts it in the file's place
// in one step; a file that is a symbolic link is written through it, and the file's permissions
// are kept. The defaults use the standard library alone (no lock, no flush, two looks for a
// stamp); each program's start-up puts its platform's calls in place. Members left empty take the
// defaults.
struct DataFileCalls {
  // Holds the lock file `lockFile` for one writer at a time, waiting for another to let go, until
  // the handle is released; null when no lock can be had (the save then goes on without one).
  std::function<std::shared_ptr<void>(const std::filesystem::path& lockFile)> Lock =
      [](const std::filesystem::path&) { return std::shared_ptr<void>(); };
  // Creates the new file `path` (failing when it exists), writes `bytes` and flushes them to disk.
  std::function<Result(const std::filesystem::path& path, std::string_view bytes)> Write = {};
  // Puts file `from` in the place of `to` in one step, replacing it, flushed to the disk.
  std::function<Result(const std::filesystem::path& from, const std::filesystem::path& to)> Replace =
      {};
  // The stamp of the file at `path` (through a link), in one look; not present when it is missing.
  std::function<FileStamp(const std::filesystem::path& path)> Stamp = {};
};
void SetDataFileCalls(DataFileCalls writing);
// The lock file beside the data files that serialises their saves.
inline constexpr std::string_view kLockFile = "tarvex.lock";

// The stamp of data file `name`, for noticing that another program changed it.
FileStamp StampOf(std::string_view name);

// Data files are read up to this size; what lies beyond is not theirs.
inline constexpr std::size_t kMaxDataFileBytes = 64 * 1024;

// The text of data file `name` in UTF-8: decoded by CurrentFileCodec, or taken as UTF-8 when it
// begins with a UTF-8 byte-order mark, which is dropped; at most kMaxDataFileBytes of it. Empty
// and done when the file is missing (`create` then makes it, empty). A failure naming the file
// when it is present but cannot be read (no permission, a folder in its place, an I/O error).
Reading<std::string> ReadDataFile(std::string_view name, bool create = false);
// Replaces data file `name` with `text`, encoded for the file (see DataFileCalls). A failure,
// with the old contents left whole, when the text cannot be encoded or the file cannot be written.
Result ReplaceDataFile(std::string_view name, std::string_view text);

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
// A clock piece: "07" for 7, at least two digits.
std::string TwoDigits(std::int64_t n);  // n in [0, 99] for two digits
// "hh:mm:ss" and "MM/DD/YYYY" from their pieces; the year written in four digits, "0000" from
// 10000 on.
std::string TimeText(std::int64_t hour, std::int64_t minute, std::int64_t second);
std::string DateText(std::int64_t month, std::int64_t day, std::int64_t year);

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

// The message for the first of the four texts of a calibration pair that fails its check, in the
// order real time, real date, game time, game date; empty when all four pass. The real pair must
// also name a moment of the calendar, since the game clock counts from it; the game pair needs the
// form and a day from 1 to 28, the days of a Kestrune month. The game clock still carries any hour
// up to 24, and any day up to 31 in a file edited by hand.
std::string_view CalibrationProblem(std::string_view realTime, std::string_view realDate,
                                    std::string_view gameTime, std::string_view gameDate);
// Which text that message names: 0 real time, 1 real date, 2 game time, 3 game date; -1 when all
// four pass.
int CalibrationProblemField(std::string_view realTime, std::string_view realDate,
                            std::string_view gameTime, std::string_view gameDate);

// An auto-run time whose moment can come: it passes the time rules and its hour is not 24, which
// no present time ever shows (the present hour runs 00 to 23).
bool IsArmableTime(std::string_view text);
// An auto-run date whose moment can come: it passes the date rules and is written in the full
// form "MM/DD/YYYY" with digits at positions 1-2, 4-5 and 7-10, since the present date it is
// compared with is always written that way ("01/02/03" or " 1/02/2026" could never equal it).
bool IsArmableDate(std::string_view text);

}  // namespace tarvex
