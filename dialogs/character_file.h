// The file-open dialog on the game's character files, shared by "Set Kestrune Path" and the
// auto-run dialog's "Load".
#pragma once

#include <string_view>

#include "dialogs/dialog.h"

namespace tarvex {

// Description, a blank, the bar, a blank, the pattern.
inline constexpr std::string_view kCharacterFileFilter = "Kestrune Character Files (*.zrd) | *.zrd";

// No file name, the given title and starting folder, and the filter split at its bar: the
// description keeps its trailing blank, the pattern loses its leading one (a pattern " *.zrd"
// would match no file on some desktops). The single text is the description alone, since it
// names the pattern already.
FileOpenRequest CharacterFileRequest(std::string_view folder, std::string_view title = {});

}  // namespace tarvex
