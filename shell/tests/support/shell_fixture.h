// A fresh program for each test: its own data folder, a fake clock at a fixed local moment, a
// recording desktop and an unloaded main window.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "engine/testing/fake_clock.h"
#include "shell/frmTarvexMain.h"
#include "shell/tests/support/recording_platform.h"

namespace tarvex::testing {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // The test's own folder, ending in a path separator; program and data files live there.
  std::string Folder() const;
  // Writes ZRDTIMES.DAT as the program would leave it: four CR LF lines.
  void WriteCalibrationFile(std::string_view realTime, std::string_view realDate,
                            std::string_view gameTime, std::string_view gameDate) const;
  // The whole contents of a file in the test's folder; empty when there is none.
  std::string ReadFile(std::string_view name) const;
  bool FileExists(std::string_view name) const;

  // One timer expiry; the ticks come every 500 ms, so the clock moves one second every second
  // tick (after it).
  void Tick(int count = 1);
  // Ticks until the clock has moved `seconds` further.
  void RunSeconds(int seconds);

  // Loads the window with the calibration file given (real 10:00:00 on 12/06/2026 is the present).
  void LoadWith(std::string_view gameTime, std::string_view gameDate);

  // A game folder with (or without) the game's executable, set through "Set Kestrune Path";
  // the records of the setting are cleared.
  std::string MakeGameFolder(bool withGame, std::string_view storedName = "vrak.exe");

  FakeClock clock;
  RecordingPlatform platform;
  frmTarvexMain main{platform};

 private:
  std::filesystem::path dir_;
  int halves_ = 0;
};

// The tip as a test reads it: the 64 characters with NUL shown as "\0" and the trailing blanks cut.
std::string Shown(const tarvex::TrayIcon& icon);

}  // namespace tarvex::testing
