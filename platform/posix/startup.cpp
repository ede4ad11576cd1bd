#include "platform/startup.h"

#include <filesystem>
#include <system_error>

#include "engine/modGeneral.h"

namespace tarvex {

std::vector<std::string> StartProcess(int argc, char** argv) {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error) SetProgramFolder(exe.parent_path().string());
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace tarvex
