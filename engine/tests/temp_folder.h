// A fresh folder for a test, and the file helpers that the tests of every part share.
#pragma once

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <system_error>

namespace tarvex::testing {

// A new folder in the system's temporary folder, removed with all it holds at the end.
struct TempFolder {
  explicit TempFolder(const std::string& prefix)
      : path(std::filesystem::temp_directory_path() /
             (prefix + std::to_string(std::random_device()()))) {
    std::filesystem::create_directories(path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path path;
};

// The bytes of `file`; empty when there is none.
inline std::string ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Moves `file`'s modification time on by a second, as a save by another program a moment later
// would: the file system's clock moves in steps of some milliseconds, which a test's saves can
// fall within.
inline void ModifiedLater(const std::filesystem::path& file) {
  std::filesystem::last_write_time(file,
                                   std::filesystem::last_write_time(file) + std::chrono::seconds(1));
}

}  // namespace tarvex::testing
