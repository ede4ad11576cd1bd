// The entry that starts the tray program when the user logs in: on Windows the value "Tarvex"
// under HKCU\Software\Microsoft\Windows\CurrentVersion\Run, elsewhere the XDG autostart file
// $XDG_CONFIG_HOME/autostart/tarvex.desktop (~/.config/autostart/ by default). The tray programs
// and tarvex-cli share it. Programs are full paths in UTF-8; a failure comes back as one sentence.
#pragma once

#include <string>

namespace tarvex {

// The tray program in the running program's folder: tarvex, or Tarvex.exe on Windows.
std::string TrayProgramBeside();
// Whether the log-in entry exists, is in force and starts `program`.
bool LogInEntryStarts(const std::string& program);
// Makes the log-in entry start `program`, replacing what it held; empty when done, else why not.
[[nodiscard]] std::string WriteLogInEntry(const std::string& program);
// Deletes the log-in entry, whatever it starts; empty when done or when there is none, else why
// not.
[[nodiscard]] std::string DeleteLogInEntry();

}  // namespace tarvex
