// The live view: the status and the moon's phase, redrawn as the game clock runs, and the moon
// alarms as they fire.
#pragma once

#include <functional>
#include <iosfwd>


namespace tarvex {

enum class WatchView {
  Lines,     // each change one line, its parts joined by "|"
  Terminal,  // the four lines redrawn in place
  Waybar,    // each change one line of JSON, as `status --waybar` prints it
};

// Waits until the next tick is due; false when the watch is to end.
using NextTick = std::function<bool()>;

// Shows the status from the data folder's pair, tick after tick, then saves the pair re-based to
// the present and returns 0, or 1 when it cannot be written. The ticks come half a second apart
// until SIGINT or SIGTERM unless `nextTick` is given. A pair or settings stored meanwhile by
// another program (the tray, `calibrate`, `alarms set`) are taken up at the next tick, and a pair
// newer on disk than the one kept is what is saved. When the present is pretended (`realPresent`
// false, under --at) nothing is kept or saved. A data file that cannot be read ends the watch at
// once with 1, before anything is shown.
// Each alarm that fires under the settings (as in the tray) is one line, "ALARM " and the alert's
// words; on a terminal it stands above the redrawn lines, and rings the bell when Sound is on.
// For a status bar (Waybar) there are no alarms and nothing is saved: a bar runs through the whole
// session beside the tray, and leaves the file to it.
int Watch(std::ostream& out, std::ostream& err, WatchView view, bool realPresent,
          const NextTick& nextTick = {});

}  // namespace tarvex
