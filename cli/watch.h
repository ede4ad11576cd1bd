// The live view: the status and the moon's phase, redrawn as the game clock runs, and the moon
// alarms as they fire.
#pragma once

#include <functional>
#include <iosfwd>

#include "engine/settings.h"

namespace tarvex {

enum class WatchView {
  Lines,     // each change one line, its parts joined by "|"
  Terminal,  // the four lines redrawn in place
  Waybar,    // each change one line of JSON, as `status --waybar` prints it
};

// Waits until the next tick is due; false when the watch is to end.
using NextTick = std::function<bool()>;

// Shows the status from the data folder's pair, tick after tick, then saves the pair re-based to
// the present and returns 0, or 1 when it cannot be written; 1 at once, with nothing shown, when
// the pair's file is present but cannot be read. The ticks come half a second apart
// until SIGINT or SIGTERM unless `nextTick` is given.
// Each alarm that fires under `settings` (as in the tray) is one line, "ALARM " and the alert's
// words; on a terminal it stands above the redrawn lines, and rings the bell when Sound is on.
// For a status bar (Waybar) there are no alarms and nothing is saved: a bar runs through the whole
// session beside the tray, so it takes up a pair stored meanwhile (by the tray or `calibrate`) at
// the next tick, and leaves the file to them.
int Watch(std::ostream& out, std::ostream& err, WatchView view, const AlarmSettings& settings,
          const NextTick& nextTick = {});

}  // namespace tarvex
