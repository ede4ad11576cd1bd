// The log-in entry as the XDG autostart rules have it: a desktop entry named tarvex.desktop in
// $XDG_CONFIG_HOME/autostart/ (~/.config/autostart/ when XDG_CONFIG_HOME is unset or relative),
// which the desktop runs at log-in unless it is hidden or turned off.
#include "platform/autostart.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>

#include "engine/modGeneral.h"
#include "engine/utf8.h"
#include "platform/startup.h"
#include "tarvex_version.h"

namespace tarvex {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTrayProgram = "tarvex";
constexpr std::string_view kEntryName = "tarvex.desktop";

std::optional<fs::path> AutostartFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
    return fs::path(config) / "autostart";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0)
    return fs::path(home) / ".config" / "autostart";
  return std::nullopt;
}

// "PATH could not be written: Permission denied."
Result Failure(const fs::path& path, std::string_view what, const std::error_code& error) {
  return Result::Failure(Utf8FromPath(path) + " could not be " + std::string(what) + ": " +
                         error.message());
}

// The escapes of every string value in a desktop entry: "\\" for a backslash, "\n" and so on.
struct Escape {
  char character;
  char letter;
};
constexpr Escape kEscapes[] = {{'\\', '\\'}, {'\n', 'n'}, {'\r', 'r'}, {'\t', 't'}};

// The program as the first argument of Exec: "%" doubled; in double quotes when it holds a
// reserved character, with '"', '`', '$' and '\' escaped inside them; then, as in every string
// value, a backslash doubled and line breaks and tabs written as \n, \r and \t.
std::string ExecValue(std::string_view program) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::string argument;
  for (const char c : program) {
    if (c == '%') argument += '%';
    argument += c;
  }
  if (argument.find_first_of(kReserved) != std::string::npos) {
    std::string quoted = "\"";
    for (const char c : argument) {
      if (std::string_view("\"`$\\").find(c) != std::string_view::npos) quoted += '\\';
      quoted += c;
    }
    argument = quoted + '"';
  }
  std::string value;
  for (const char c : argument) {
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [c](const Escape& e) { return e.character == c; });
    if (escape == std::end(kEscapes)) {
      value += c;
    } else {
      value += {'\\', escape->letter};
    }
  }
  return value;
}

// A string value with its escapes undone; "\s" is a blank too.
std::string Unescaped(std::string_view value) {
  std::string text;
  for (std::size_t i = 0; i < value.size(); ++i) {
    const char letter = value[i] == '\\' && i + 1 < value.size() ? value[i + 1] : 0;
    const auto* escape = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                      [letter](const Escape& e) { return e.letter == letter; });
    if (letter == 's') {
      text += ' ';
    } else if (escape != std::end(kEscapes)) {
      text += escape->character;
    } else {
      text += value[i];
      continue;
    }
    ++i;
  }
  return text;
}

// The program that an Exec value starts: ExecValue read back.
std::string ExecProgram(std::string_view value) {
  const std::string text = Unescaped(value);
  std::size_t i = text.find_first_not_of(" \t");
  if (i == std::string::npos) return {};
  std::string argument;
  if (text[i] == '"') {
    for (++i; i < text.size() && text[i] != '"'; ++i) {
      if (text[i] == '\\' && i + 1 < text.size()) ++i;
      argument += text[i];
    }
  } else {
    argument = text.substr(i, text.find_first_of(" \t", i) - i);
  }
  std::string program;
  for (i = 0; i < argument.size(); ++i) {
    program += argument[i];
    if (argument[i] == '%' && i + 1 < argument.size() && argument[i + 1] == '%') ++i;
  }
  return program;
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string EntryText(const std::string& exec) {
  return "[Desktop Entry]\n"
         "Type=Application\n"
         "Name=" +
         std::string(kProductName) +
         "\n"
         "Comment=Game time, moon forecast and auto-run for Kestrune, in the system tray\n"
         "Exec=" +
         exec +
         "\n"
         "Icon=tarvex\n"
         "Terminal=false\n"
         "X-GNOME-Autostart-enabled=true\n";
}

// Whether `program` is the tray program that the package installed, which runs by its name.
bool PackagedTray(const fs::path& program) {
  return program.filename() == kTrayProgram &&
         InstalledByPackage(Utf8FromPath(program.parent_path()));
}

// Whether the Exec program `named` is `program`: the same path, the same file, or the plain name
// under which the package's program runs.
bool SameProgram(const std::string& named, const std::string& program) {
  if (named == program) return true;
  const fs::path path = PathFromUtf8(program);
  if (named == kTrayProgram) return PackagedTray(path);
  std::error_code error;
  return named.starts_with('/') && fs::equivalent(PathFromUtf8(named), path, error);
}

}  // namespace

std::string TrayProgramBeside() {
  return GetAppPath() + std::string(kTrayProgram);
}

bool LogInEntryStarts(const std::string& program) {
  const std::optional<fs::path> folder = AutostartFolder();
  if (!folder) return false;
  std::ifstream in(*folder / kEntryName);
  std::string line, exec;
  bool inEntry = false, off = false;
  while (std::getline(in, line)) {
    if (line.starts_with('[')) {
      inEntry = line == "[Desktop Entry]";
      continue;
    }
    const std::size_t equals = line.find('=');
    if (!inEntry || line.starts_with('#') || equals == std::string::npos) continue;
    const std::string_view key = Trimmed(std::string_view(line).substr(0, equals));
    const std::string_view value = Trimmed(std::string_view(line).substr(equals + 1));
    if (key == "Exec") exec = ExecProgram(value);
    if ((key == "Hidden" && value == "true") ||
        (key == "X-GNOME-Autostart-enabled" && value == "false"))
      off = true;
  }
  return !off && !exec.empty() && SameProgram(exec, program);
}

Result WriteLogInEntry(const std::string& program) {
  const std::optional<fs::path> folder = AutostartFolder();
  if (!folder)
    return Result::Failure("Neither XDG_CONFIG_HOME nor HOME names a folder for the log-in entry");
  std::error_code error;
  fs::create_directories(*folder, error);
  if (error) return Failure(*folder, "made", error);

  const std::string text = EntryText(PackagedTray(PathFromUtf8(program)) ? std::string(kTrayProgram)
                                                                         : ExecValue(program));
  // Through a file beside it, renamed over it: the desktop never reads half an entry.
  const fs::path entry = *folder / kEntryName;
  std::string temporary = (*folder / ".tarvex.desktop.XXXXXX").string();
  const int file = mkstemp(temporary.data());
  if (file < 0) return Failure(entry, "written", std::error_code(errno, std::generic_category()));
  bool written = fchmod(file, 0644) == 0 &&
                 write(file, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  int cause = errno;
  if (close(file) != 0 && written) {
    written = false;
    cause = errno;
  }
  if (written && rename(temporary.c_str(), entry.c_str()) != 0) {
    written = false;
    cause = errno;
  }
  if (written) return {};
  unlink(temporary.c_str());
  return Failure(entry, "written", std::error_code(cause, std::generic_category()));
}

Result DeleteLogInEntry() {
  const std::optional<fs::path> folder = AutostartFolder();
  if (!folder) return {};  // no folder for it, so no entry
  std::error_code error;
  fs::remove(*folder / kEntryName, error);
  return error ? Failure(*folder / kEntryName, "deleted", error) : Result();
}

}  // namespace tarvex
