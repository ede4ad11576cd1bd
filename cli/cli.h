// The command line: the engine's calendar for scripts, planning and terminals without a desktop.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "engine/result.h"

namespace tarvex {

// Exit codes: 0 done, 1 a file could not be read or written, 2 bad arguments or texts.
enum ExitCode { kExitOk = 0, kExitIo = 1, kExitUsage = 2 };

// Runs one command line (without the program name). `watch` runs until interrupted and redraws
// in place when `terminal` is true. Output that `out` fails to take, once flushed, is a failure:
// it is said on `err`, and a command line that had done well exits 1.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool terminal = false);

// Says on `err` why a data file could not be written or read: "tarvex-cli: " and the failure's
// own words, which name the file and the cause. Returns kExitIo.
ExitCode FileFailure(std::ostream& err, const Result& failure);
// Says on `err` that TARVEX.INI could not be read, as FileFailure does, and that the 12-hour
// clock stands in for its [Display] Clock: the status lines are shown all the same.
ExitCode TwelveHourFallback(std::ostream& err, const Result& failure);

}  // namespace tarvex
