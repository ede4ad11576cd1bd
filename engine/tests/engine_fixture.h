// A fresh program folder, data folder and clock for each engine test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <random>
#include <string>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"

namespace tarvex {

// Failure messages show a record as its four texts.
inline void PrintTo(const CalibrationRecord& record, std::ostream* out) {
  *out << '"' << record.RealTime.str() << "\" \"" << record.RealDate.str() << "\" \""
       << record.ZRDTime.str() << "\" \"" << record.ZRDDate.str() << '"';
}

}  // namespace tarvex

namespace tarvex::testing {

class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    folder_ = std::filesystem::temp_directory_path() /
              ("tarvex-engine-" + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(folder_);
    SetProgramFolder(folder_.string());
    SetDataFolder(folder_.string());
    SetClock(&clock_);
  }
  void TearDown() override {
    SetClock(nullptr);
    SetFileCodec({});
    std::filesystem::remove_all(folder_);
  }

  std::filesystem::path File(const std::string& name) const { return folder_ / name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const {
    std::ifstream in(File(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::string Folder() const { return folder_.string() + kPathSeparator; }
  // A calibration pair: game `gameTime` on `gameDate` at moment `t` of the test clock.
  CalibrationRecord PairAt(std::int64_t t, std::string_view gameTime,
                           std::string_view gameDate) const {
    const CivilTime local = LocalTime(clock_, t);
    CalibrationRecord record;
    record.RealTime = TimeText(local.hour, local.minute, local.second);
    record.RealDate = DateText(local.month, local.day, local.year);
    record.ZRDTime = gameTime;
    record.ZRDDate = gameDate;
    return record;
  }

  FakeClock clock_;
  std::filesystem::path folder_;
};

inline CalibrationRecord Record(std::string_view realTime, std::string_view realDate,
                                std::string_view gameTime, std::string_view gameDate) {
  CalibrationRecord record;
  record.RealTime = realTime;
  record.RealDate = realDate;
  record.ZRDTime = gameTime;
  record.ZRDDate = gameDate;
  return record;
}

// "hh:mm:ss" for a number of seconds since midnight.
inline std::string TimeOfDay(std::int64_t seconds) {
  const auto two = [](std::int64_t n) {
    return std::string(n < 10 ? "0" : "") + std::to_string(n);
  };
  return two(seconds / 3600) + ":" + two(seconds / 60 % 60) + ":" + two(seconds % 60);
}

}  // namespace tarvex::testing
