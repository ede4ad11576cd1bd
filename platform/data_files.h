// The platform's calls for saving the data files: the folder's lock, a temporary file flushed to
// the disk, and the replace in one step.
#pragma once

namespace tarvex {

// Puts the platform's saving calls in place of the engine's portable ones (StartProcess does).
void UsePlatformDataFileWriting();

}  // namespace tarvex
