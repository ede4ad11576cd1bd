// What every Tarvex program does first: tell the engine its own folder and the data files' code
// page, and read its arguments as UTF-8.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace tarvex {

// Prepares the process and returns its arguments (without the program name) as UTF-8.
std::vector<std::string> StartProcess(int argc, char** argv);
// The full path of the running program, in UTF-8; empty when the system does not tell.
std::string RunningProgram();
// The per-user folder for the data files: %APPDATA%\Tarvex\ on Windows, $XDG_CONFIG_HOME/tarvex/
// or ~/.config/tarvex/ elsewhere; none when the environment names no such place.
std::optional<std::string> PerUserDataFolder();
// Whether this program was installed by the Debian package or the Windows setup program, which
// keeps its data in the per-user folder: on Linux its folder is <prefix>/bin beside
// <prefix>/share/applications/tarvex.desktop, on Windows its folder holds Uninstall.exe.
bool InstalledProgram();
// Whether the programs in `folder` were installed by the Linux package: `folder` is <prefix>/bin/
// and <prefix>/share/applications/tarvex.desktop exists. Never on Windows.
bool InstalledByPackage(const std::string& folder);
// Whether standard output is a terminal.
bool StandardOutputIsTerminal();
// Puts the platform's calls for saving the data files (the folder's lock, a temporary file
// flushed to the disk, the replace in one step) in place of the engine's portable ones;
// StartProcess does it.
void UsePlatformDataFileCalls();

}  // namespace tarvex
