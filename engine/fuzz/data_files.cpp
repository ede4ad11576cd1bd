// Feeds arbitrary bytes to the two data-file readers, then through a tick's conversion and the
// moon forecast: nothing may crash, and the game fields must come out in their written forms.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

#include "engine/modGeneral.h"
#include "engine/modZRD.h"
#include "engine/testing/fake_clock.h"

namespace {

const std::filesystem::path& Folder() {
  static const std::filesystem::path folder = [] {
    auto path = std::filesystem::temp_directory_path() / "tarvex-fuzz-data-files";
    std::filesystem::create_directories(path);
    tarvex::SetProgramFolder(path.string());
    tarvex::SetDataFolder(path.string());
    return path;
  }();
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static tarvex::testing::FakeClock clock(-5 * 3600, true);
  tarvex::SetClock(&clock);
  const std::filesystem::path& folder = Folder();
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  std::ofstream(folder / "ZRDTIMES.DAT", std::ios::binary | std::ios::trunc) << bytes;
  std::ofstream(folder / "ZRDDIR.DAT", std::ios::binary | std::ios::trunc) << bytes;

  std::ignore = tarvex::ReadGamePath();  // only its safety counts
  const tarvex::CalibrationRecord record = tarvex::ReadCalibration().value;
  clock.Set(1796000000 + static_cast<std::int64_t>(size) * 7919);
  const tarvex::CalibrationRecord now = tarvex::GetZRDTime(record);
  const std::string time = now.ZRDTime.str();
  const std::string date = now.ZRDDate.str();
  if (time[2] != ':' || time[5] != ':' || date[2] != '/' || date[5] != '/') std::abort();
  if ((time + date).find('-') != std::string::npos) std::abort();
  (void)tarvex::TipLines(now);
  const std::int64_t day = tarvex::GameDayOfMonth(now);
  (void)tarvex::MoonPhaseIcon(static_cast<double>(day));
  (void)tarvex::MoonPhaseName(static_cast<double>(day));
  return 0;
}
