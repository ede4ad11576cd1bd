// Process start-up of every Windows program: the program's own folder, the data files' code page
// (and the short form of a game folder that the code page lacks), the log's lines to a debugger,
// UTF-8 console output, and the arguments from the wide command line.
#include "platform/startup.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>
#include <stdlib.h>

#include <ctime>

#include "engine/clock.h"
#include "engine/log.h"
#include "engine/modGeneral.h"
#include "platform/win32/text.h"

namespace tarvex {
namespace {

// The full path of the running executable, however long.
std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring FolderOf(const std::wstring& path) {
  const auto slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// A name of `folder` that the ANSI code page carries: the folder itself, else its short (8.3)
// form, which only a folder that exists has, and none where short names are turned off.
std::optional<std::string> AnsiFolder(std::string_view folder) {
  if (win32::Utf8ToAnsiExactly(folder)) return std::string(folder);
  const std::wstring wide = win32::Widen(folder);
  const DWORD size = GetShortPathNameW(wide.c_str(), nullptr, 0);  // with the closing NUL
  if (size == 0) return std::nullopt;
  std::wstring shortForm(size, L'\0');
  const DWORD length = GetShortPathNameW(wide.c_str(), shortForm.data(), size);
  if (length == 0 || length >= size) return std::nullopt;
  shortForm.resize(length);
  // Without short names Windows answers with the long form, which the code page still lacks.
  std::string text = win32::Narrow(shortForm);
  if (!win32::Utf8ToAnsiExactly(text)) return std::nullopt;
  return text;
}

}  // namespace

std::vector<std::string> StartProcess(int /*argc*/, char** /*argv*/) {
  const std::wstring folder = FolderOf(ModulePath());
  if (!folder.empty()) SetProgramFolder(win32::Narrow(folder));
  SetFileCodec({win32::AnsiToUtf8, win32::Utf8ToAnsiExactly, AnsiFolder});
  UsePlatformDataFileCalls();
  SetLocalReading([](std::time_t when, std::tm& local) { return localtime_s(&local, &when) == 0; });
  // A tray program has no console: a debugger, or DebugView, shows what it logs.
  SetDebugOutput([](std::string_view line) { OutputDebugStringW(win32::Widen(line).c_str()); });
  SetConsoleOutputCP(CP_UTF8);
  // Bytes as written: text mode would turn the CR LF lines of an iCalendar file into CR CR LF.
  _setmode(_fileno(stdout), _O_BINARY);

  // argv is in the ANSI code page and loses characters; the wide command line keeps them.
  std::vector<std::string> arguments;
  int count = 0;
  if (LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count)) {
    for (int i = 1; i < count; ++i) arguments.push_back(win32::Narrow(wide[i]));
    LocalFree(wide);
  }
  return arguments;
}

std::string RunningProgram() {
  return win32::Narrow(ModulePath());
}

std::optional<std::string> PerUserDataFolder() {
  const wchar_t* appData = _wgetenv(L"APPDATA");
  if (appData == nullptr || *appData == 0) return std::nullopt;
  return win32::Narrow(appData) + "\\Tarvex\\";
}

bool InstalledProgram() {
  const DWORD attributes = GetFileAttributesW(win32::Widen(GetAppPath() + "Uninstall.exe").c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool InstalledByPackage(const std::string& /*folder*/) {
  return false;  // the Windows setup program is no package of this kind
}

bool StandardOutputIsTerminal() {
  return _isatty(_fileno(stdout)) != 0;
}

}  // namespace tarvex
