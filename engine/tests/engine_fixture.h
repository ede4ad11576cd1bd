// A fresh program folder, data folder and clock for each engine test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>

#include "engine/clock.h"
#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"
#include "engine/tests/temp_folder.h"

namespace tarvex {

inline CalibrationRecord Record(std::string_view realTime, std::string_view realDate,
                                std::string_view gameTime, std::string_view gameDate) {
  return {realTime, realDate, gameTime, gameDate};
}
// Failure messages show a record as its four texts.
inline void PrintTo(const CalibrationRecord& r, std::ostream* out) {
  *out << r.RealTime.str() << '|' << r.RealDate.str() << '|' << r.ZRDTime.str() << '|'
       << r.ZRDDate.str();
}

}  // namespace tarvex

namespace tarvex::testing {

// The test zones: UTC-5 with daylight saving an hour ahead, from 2026-03-08 02:00 (the hour from
// 02:00 is skipped) to 2026-11-01 02:00 (the hour from 01:00 shows twice); and UTC+10:30 with
// daylight saving half an hour ahead on the same days, from 02:00 (02:00 to 02:30 is skipped) and
// to 02:00 (the half hour from 01:30 shows twice). The first is the engine's clock unless a test
// puts the other in place.
class EngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetProgramFolder(folder_.string());
    SetDataFolder(folder_.string());
    SetClock(&clock_);
  }
  void TearDown() override {
    SetClock(nullptr);
    SetFileCodec({});
  }

  std::filesystem::path File(const std::string& name) const { return folder_ / name; }
  void Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(File(name), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& name) const { return ReadBytes(File(name)); }
  std::string Folder() const { return folder_.string() + kPathSeparator; }
  // A local reading of 2026 as a moment; the first of the two when it shows twice.
  std::int64_t Local(int month, int day, int hour, int minute, int second = 0) const {
    return LocalIn(clock_, month, day, hour, minute, second);
  }
  // A calibration pair: game `gameTime` on `gameDate` at moment `t` of the test clock.
  CalibrationRecord PairAt(std::int64_t t, std::string_view gameTime,
                           std::string_view gameDate) const {
    return PairIn(clock_, t, gameTime, gameDate);
  }
  // The same in `zone`; and the later of the two moments of a reading that shows twice.
  static std::int64_t LocalIn(const FakeClock& zone, int month, int day, int hour, int minute,
                              int second = 0) {
    return MomentOfLocal(zone, {2026, month, day, hour, minute, second}, INT64_MIN / 4);
  }
  static std::int64_t RepeatedIn(const FakeClock& zone, int month, int day, int hour, int minute,
                                 int second = 0) {
    return MomentOfLocal(zone, {2026, month, day, hour, minute, second}, INT64_MAX / 4);
  }
  static CalibrationRecord PairIn(const FakeClock& zone, std::int64_t t, std::string_view gameTime,
                                  std::string_view gameDate) {
    const CivilTime local = LocalTime(zone, t);
    return Record(TimeText(local.hour, local.minute, local.second),
                  DateText(local.month, local.day, local.year), gameTime, gameDate);
  }

  FakeClock clock_{-5 * 3600, true};
  FakeClock halfHour_{10 * 3600 + 1800, true, 1800};
  TempFolder temp_{"tarvex-engine-"};
  const std::filesystem::path folder_ = temp_.path;
};

}  // namespace tarvex::testing
