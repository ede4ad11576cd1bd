#include "platform/startup.h"

#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <system_error>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/utf8.h"

namespace tarvex {

std::vector<std::string> StartProcess(int argc, char** argv) {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) SetProgramFolder(exe.parent_path().string());
  UsePlatformDataFileCalls();
  SetLocalReading([](std::time_t when, std::tm& local) {
    return localtime_r(&when, &local) != nullptr;
  });
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

std::string RunningProgram() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : Utf8FromPath(exe);
}

std::optional<std::string> PerUserDataFolder() {
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config != nullptr && *config == '/')
    return std::string(config) + "/tarvex/";
  if (const char* home = std::getenv("HOME"); home != nullptr && *home != 0)
    return std::string(home) + "/.config/tarvex/";
  return std::nullopt;
}

bool InstalledByPackage(const std::string& folder) {
  // "/usr/bin/" has the empty name after its last separator; its parent is "/usr/bin".
  std::filesystem::path bin = PathFromUtf8(folder);
  if (!bin.has_filename()) bin = bin.parent_path();
  std::error_code error;
  return bin.filename() == "bin" &&
         std::filesystem::is_regular_file(
             bin.parent_path() / "share" / "applications" / "tarvex.desktop", error);
}

bool InstalledProgram() {
  return InstalledByPackage(GetAppPath());
}

bool StandardOutputIsTerminal() {
  return isatty(STDOUT_FILENO) != 0;
}

}  // namespace tarvex
