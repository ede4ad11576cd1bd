// The diagnostic log: what failed, and when. A tray program has no console, so a short log beside
// the data files is where a player's "no alert came" gets its answer.
#pragma once

#include <cstddef>
#include <string_view>

namespace tarvex {

// The log file in the data folder. It is kept under kMaxLogBytes: when a line would take it past
// that, the older half of its lines is dropped.
inline constexpr std::string_view kLogFile = "tarvex.log";
inline constexpr std::size_t kMaxLogBytes = 64 * 1024;

// Logs `failure` (one sentence) as the line "YYYY-MM-DD hh:mm:ss failure", the system clock's
// local time: on standard error (unless turned off), in the log file, and to the platform's
// debug output where one is set.
void Warn(std::string_view failure);

// Where the platform shows a line for a debugger (Windows: OutputDebugStringW); none by default.
using DebugOutput = void (*)(std::string_view line);
void SetDebugOutput(DebugOutput output);
// Whether Warn writes to standard error; on by default. A program that tells its user of each
// failure in its own words there (tarvex-cli) turns it off.
void SetWarnOnStandardError(bool on);

}  // namespace tarvex
