#include "shell/tests/support/shell_fixture.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "engine/clock.h"
#include "engine/modGeneral.h"

namespace tarvex::testing {

void ShellTest::SetUp() {
  std::random_device random;
  const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
  std::string unique;
  for (const char c : name) unique += (std::isalnum(static_cast<unsigned char>(c)) ? c : '_');
  dir_ = std::filesystem::temp_directory_path() /
         ("tarvex-shell-" + unique + "-" + std::to_string(random()));
  std::filesystem::create_directories(dir_);
  SetProgramFolder(Folder());
  SetDataFolder(Folder());
  clock.SetLocal(2026, 12, 6, 10, 0, 0);
  SetClock(&clock);
  platform.Main = &main;
}

void ShellTest::TearDown() {
  SetClock(nullptr);
  std::error_code ignored;
  std::filesystem::remove_all(dir_, ignored);
}

std::string ShellTest::Folder() const {
  return dir_.string() + kPathSeparator;
}

void ShellTest::WriteCalibrationFile(std::string_view realTime, std::string_view realDate,
                                     std::string_view gameTime, std::string_view gameDate) const {
  std::ofstream file(dir_ / "ZRDTIMES.DAT", std::ios::binary);
  file << realTime << "\r\n" << realDate << "\r\n" << gameTime << "\r\n" << gameDate << "\r\n";
}

std::string ShellTest::ReadFile(std::string_view name) const {
  std::ifstream file(dir_ / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

bool ShellTest::FileExists(std::string_view name) const {
  return std::filesystem::exists(dir_ / name);
}

void ShellTest::Tick(int count) {
  for (int i = 0; i < count; ++i) {
    main.tmrUpdateTimes_Timer();
    if (++halves_ % 2 == 0) clock.Advance(1);
  }
}

void ShellTest::RunSeconds(int seconds) {
  Tick(2 * seconds);
}

void ShellTest::LoadWith(std::string_view gameTime, std::string_view gameDate) {
  WriteCalibrationFile("10:00:00", "12/06/2026", gameTime, gameDate);
  main.Form_Load();
}

std::string ShellTest::MakeGameFolder(bool withGame, std::string_view storedName) {
  const std::filesystem::path game = dir_ / "Kestrune (EU)";
  std::filesystem::create_directories(game);
  const std::string folder = game.string() + kPathSeparator;
  if (withGame) platform.Files[folder + "vrak.exe"] = std::string(storedName);
  platform.FilesToChoose.push_back(folder + "hero.zrd");
  main.mnuSetPath_Click();
  // Setting the folder is not what the tests that need one look at.
  platform.Messages.clear();
  platform.FileRequests.clear();
  platform.Log.clear();
  return folder;
}

std::string Shown(const tarvex::TrayIcon& icon) {
  std::string tip = icon.Tip.str();
  while (!tip.empty() && tip.back() == ' ') tip.pop_back();
  std::string shown;
  for (const char c : tip) {
    if (c == '\0') {
      shown += "\\0";
    } else if (c == '\r') {
      shown += "\\r";
    } else if (c == '\n') {
      shown += "\\n";
    } else {
      shown += c;
    }
  }
  return shown;
}

}  // namespace tarvex::testing
