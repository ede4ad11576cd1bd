// The live view: the status and the moon's phase, redrawn as the game clock runs.
#pragma once

#include <iosfwd>

namespace tarvex {

// Shows the status from the data folder's pair until SIGINT or SIGTERM, then saves the pair
// re-based to the present and returns 0, or 1 when it cannot be written. On a terminal the four
// lines are redrawn in place; elsewhere each change is one line, its parts joined by "|".
int Watch(std::ostream& out, std::ostream& err, bool terminal);

}  // namespace tarvex
