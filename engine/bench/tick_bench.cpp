// The engine's work of one tick: re-base the calibration, forecast both moons, check the alarms.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <tuple>

#include "engine/alarms.h"
#include "engine/live_data.h"
#include "engine/clock.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"

namespace {

void Tick(benchmark::State& state, const tarvex::Clock& clock) {
  tarvex::SetClock(&clock);
  tarvex::CalibrationRecord calibration;
  calibration.RealTime = tarvex::GetRealTime();
  calibration.RealDate = tarvex::GetRealDate();
  calibration.ZRDTime = "13:14:15";
  calibration.ZRDDate = "07/08/0123";
  for (auto _ : state) {
    calibration = tarvex::GetZRDTime(calibration);
    benchmark::DoNotOptimize(tarvex::GetNextMoon(calibration, 15));
    benchmark::DoNotOptimize(tarvex::GetNextMoon(calibration, 1));
  }
  tarvex::SetClock(nullptr);
}

void BM_TickFakeClock(benchmark::State& state) {
  tarvex::testing::FakeClock clock(-5 * 3600, true);
  clock.SetLocal(2026, 11, 1, 1, 30, 0);
  Tick(state, clock);
}
BENCHMARK(BM_TickFakeClock);

void BM_TickSystemClock(benchmark::State& state) {
  Tick(state, tarvex::SystemClock());
}
BENCHMARK(BM_TickSystemClock);

// A tray's whole tick on the data files: one look at each of the three files (none changed), the
// kept pair re-based to the present, both moons forecast.
void BM_LiveTickSystemClock(benchmark::State& state) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tarvex-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(folder);
  tarvex::SetDataFolder(folder.string());
  tarvex::CalibrationRecord calibration;
  calibration.RealTime = tarvex::GetRealTime();
  calibration.RealDate = tarvex::GetRealDate();
  calibration.ZRDTime = "13:14:15";
  calibration.ZRDDate = "07/08/0123";
  if (!tarvex::SaveCalibration(calibration)) state.SkipWithError("no data folder");
  tarvex::LiveData live;
  std::ignore = live.Load();
  for (auto _ : state) {
    live.Refresh();
    calibration = live.Rebase(tarvex::SystemClock().Now(), true);
    benchmark::DoNotOptimize(tarvex::GetNextMoon(calibration, 15));
    benchmark::DoNotOptimize(tarvex::GetNextMoon(calibration, 1));
  }
  std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LiveTickSystemClock);

// One alarm check of a tick on the re-based record, with the clock half an hour before a warning
// (nothing fires), so that the measure is the check alone.
void AlarmCheck(benchmark::State& state, const tarvex::Clock& clock) {
  tarvex::SetClock(&clock);
  tarvex::CalibrationRecord calibration;
  calibration.RealTime = tarvex::GetRealTime();
  calibration.RealDate = tarvex::GetRealDate();
  calibration.ZRDTime = "12:00:00";
  calibration.ZRDDate = "07/14/0123";  // the good moon in 40 minutes
  calibration = tarvex::GetZRDTime(calibration);
  const std::int64_t now = clock.Now();
  const tarvex::AlarmSettings settings;
  tarvex::MoonAlarms alarms;
  for (auto _ : state) benchmark::DoNotOptimize(alarms.Check(now, calibration, settings));
  tarvex::SetClock(nullptr);
}

void BM_AlarmCheckFakeClock(benchmark::State& state) {
  tarvex::testing::FakeClock clock(-5 * 3600, true);
  clock.SetLocal(2026, 11, 1, 1, 30, 0);
  AlarmCheck(state, clock);
}
BENCHMARK(BM_AlarmCheckFakeClock);

void BM_AlarmCheckSystemClock(benchmark::State& state) {
  AlarmCheck(state, tarvex::SystemClock());
}
BENCHMARK(BM_AlarmCheckSystemClock);

}  // namespace

BENCHMARK_MAIN();
