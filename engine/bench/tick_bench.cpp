// The engine's work of one tick: re-base the calibration and forecast both moons.
#include <benchmark/benchmark.h>

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

}  // namespace

BENCHMARK_MAIN();
