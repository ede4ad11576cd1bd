// The live view: the status and the moon's phase, redrawn as the game clock runs, and the moon
// alarms as they fire.
#pragma once

#include <iosfwd>

#include "engine/settings.h"

namespace tarvex {

// Shows the status from the data folder's pair until SIGINT or SIGTERM, then saves the pair
// re-based to the present and returns 0, or 1 when it cannot be written. On a terminal the four
// lines are redrawn in place; elsewhere each change is one line, its parts joined by "|".
// Each alarm that fires under `settings` (as in the tray) is one line, "ALARM " and the alert's
// words; on a terminal it stands above the redrawn lines, and rings the bell when Sound is on.
int Watch(std::ostream& out, std::ostream& err, bool terminal, const AlarmSettings& settings);

}  // namespace tarvex
